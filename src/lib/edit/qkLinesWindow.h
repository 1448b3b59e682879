#pragma once

#include <QPlainTextEdit>

class TqkKeyedEdit;

// The window of an edit that shows more than one line. It covers its owner
// and hands every key, focus change and inserted text to the owner's stages,
// so that the picture, the data link and the grid see one control whatever
// window shows the text.
class TqkLinesWindow : public QPlainTextEdit
{
    Q_OBJECT

public:
    TqkLinesWindow(TqkKeyedEdit *owner, bool wordWrap, bool vertScrollBar);

    // The window's own handling of a key the stages left to it.
    void DefaultKeyPress(QKeyEvent *event);
    void DefaultInputMethod(QInputMethodEvent *event);
    // Puts text in at the caret, as far as the owner's length limit allows.
    void InsertText(const QString &text);

    // Read-only as a line is: the caret still moves and selects by keyboard.
    void SetWindowReadOnly(bool readOnly);

    int CaretPosition() const;
    void SetCaretPosition(int position);
    // -1 without a selection, as the line answers.
    int SelectionStart() const;
    QString SelectedText() const;
    void SetSelection(int start, int length);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int roomLeft() const;

    TqkKeyedEdit *m_owner;
};
