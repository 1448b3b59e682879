#pragma once

#include <QChar>
#include <QLineEdit>

#include <functional>

class QKeyEvent;
class QMenu;
class QPainter;
class TqkLinesWindow;

// The framework's virtual-key codes, as key handlers compare against them.
namespace qk {
enum VirtualKey : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 96,
    VK_NUMPAD9 = 105,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_F2 = 113,
    VK_OEM_PLUS = 187,
    VK_OEM_MINUS = 189
};

using TShiftState = Qt::KeyboardModifiers;

// The virtual-key code of a Qt key event; 0 for keys the framework had no code for.
int virtualKeyOf(const QKeyEvent *event);
// The character the framework's key-press stage receives: the typed text,
// or the control code of Backspace, Tab, Enter, Escape and Ctrl+letter.
QChar keyCharOf(const QKeyEvent *event);
}

// A text as a lines window holds it: each line break a single "\n".
QString qkLinesText(const QString &text);

// Runs a handler of the user's input: an error it raises is shown as the
// program's message loop shows escaped errors, and never reaches Qt.
// False when the handler raised.
bool qkRunShowingErrors(const std::function<void()> &handler);

// A line edit whose keys run through the framework's three stages (dialog
// key, KeyDown with virtual-key code and shift state, KeyPress with the
// character), whose focus can be refused on exit, and whose every way of
// inserting text (typing, paste, drop, middle click, input method) passes
// one virtual filter.
//
// Its text window is the line itself or, for more than one line, a lines
// window laid over it that hands everything back to the same stages. The
// text functions below stand for the line's functions of the same names and
// answer for whichever window shows the text.
class TqkKeyedEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TqkKeyedEdit(QWidget *parent = nullptr);
    ~TqkKeyedEdit() override;

    bool MultiLine() const { return m_lines != nullptr; }
    TqkLinesWindow *LinesWindow() const { return m_lines; }

    QString text() const;
    void setText(const QString &text);
    void clear() { setText(QString()); }
    int cursorPosition() const;
    void setCursorPosition(int position);
    int selectionStart() const;
    QString selectedText() const;
    bool hasSelectedText() const { return !selectedText().isEmpty(); }
    void setSelection(int start, int length);
    void selectAll();
    void deselect();
    void end(bool mark);
    void insert(const QString &text);
    bool isReadOnly() const { return QLineEdit::isReadOnly(); }
    void setReadOnly(bool readOnly);
    bool isModified() const;
    void setModified(bool modified);
    void setAlignment(Qt::Alignment alignment);
    int cursorPositionAt(const QPoint &position);
    void cut();
    void copy() const;
    // A hidden text never shows in a lines window: it goes back to the line.
    void setEchoMode(EchoMode mode);

    // True while the control draws no text caret (its text and selection stay).
    virtual bool CaretHidden() const { return false; }

    // The clipboard operations as the framework's messages run them.
    virtual void Paste();
    virtual void Cut();

protected:
    // True when the control wants Tab, Enter or Escape itself instead of
    // leaving it to the dialog (focus chain, default and cancel buttons).
    virtual bool WantsKey(int key, qk::TShiftState shift);
    virtual void KeyDown(int &key, qk::TShiftState shift);
    virtual void KeyPress(QChar &key);
    virtual void KeyUp(int &key, qk::TShiftState shift);
    // Asked when the focus leaves; false takes the focus back at once.
    virtual bool ExitCheck() { return true; }
    virtual void EnterFocus() {}
    // Inserts text as a paste does: the filter of the picture sees it.
    virtual void InsertPastedText(const QString &text);
    // The inset of a lines window's text from the top-left corner.
    virtual int EditRectMargin() const { return hasFrame() ? 0 : 1; }
    // True while the control paints its text itself instead of its window.
    virtual bool PaintsOwnText() const { return false; }
    virtual void PaintOwnText(QPainter &) {}
    // Replaces the text window, keeping text, caret and read-only state:
    // a lines window when multiLine is set and the text is not hidden, else
    // the line itself.
    void SetTextWindow(bool multiLine, bool wordWrap, bool vertScrollBar);

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // The character of the key being handled, for KeyDown handlers that
    // react to typed separators.
    QChar m_keyChar;

private:
    friend class TqkLinesWindow;

    bool takesTab(QEvent *event);
    void handleKeyPress(QKeyEvent *event);
    bool runKeyStages(QKeyEvent *event);
    void windowKeyPress(QKeyEvent *event);
    void handleKeyRelease(QKeyEvent *event);
    void handleFocusIn(Qt::FocusReason reason);
    void handleFocusOut(Qt::FocusReason reason);
    void handleInputMethod(QInputMethodEvent *event);
    // The menu's own paste and cut would pass by the control's filter.
    void routeClipboardActions(QMenu *menu);

    TqkLinesWindow *m_lines = nullptr;
    bool m_refusedByLines = false;
    bool m_returningFocus = false;
};
