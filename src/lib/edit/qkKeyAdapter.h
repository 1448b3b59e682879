#pragma once

#include <QChar>
#include <QLineEdit>

#include <functional>

class QKeyEvent;

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

// Runs a handler of the user's input: an error it raises is shown as the
// program's message loop shows escaped errors, and never reaches Qt.
// False when the handler raised.
bool qkRunShowingErrors(const std::function<void()> &handler);

// A line edit whose keys run through the framework's three stages (dialog
// key, KeyDown with virtual-key code and shift state, KeyPress with the
// character), whose focus can be refused on exit, and whose every way of
// inserting text (typing, paste, drop, middle click, input method) passes
// one virtual filter.
class TqkKeyedEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TqkKeyedEdit(QWidget *parent = nullptr);

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

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

    // The character of the key being handled, for KeyDown handlers that
    // react to typed separators.
    QChar m_keyChar;

private:
    bool runKeyStages(QKeyEvent *event);

    bool m_returningFocus = false;
};
