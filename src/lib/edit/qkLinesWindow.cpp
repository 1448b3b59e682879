#include "lib/edit/qkLinesWindow.h"

#include "lib/edit/qkKeyAdapter.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

TqkLinesWindow::TqkLinesWindow(TqkKeyedEdit *owner, bool wordWrap, bool vertScrollBar)
    : QPlainTextEdit(owner), m_owner(owner)
{
    // The owner hands it the focus; it takes the focus as the owner would,
    // so that Tab and Shift+Tab find it from either side.
    setFocusPolicy(owner->focusPolicy());
    setTabChangesFocus(true);
    setFrameStyle(owner->hasFrame() ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(vertScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(owner->hasFrame() ? 1 : 0);
    const int margin = owner->EditRectMargin();
    setViewportMargins(margin, margin, 0, 0);
}

int TqkLinesWindow::roomLeft() const
{
    const int limit = m_owner->maxLength();
    if (limit <= 0 || limit == 32767)
        return std::numeric_limits<int>::max();
    return limit - int(toPlainText().size()) + int(SelectedText().size());
}

void TqkLinesWindow::DefaultKeyPress(QKeyEvent *event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    // Ctrl with a letter is a command; Ctrl with Alt is AltGr, which types.
    const bool typing = chord != Qt::ControlModifier && !event->text().isEmpty() && event->text()[0].isPrint();
    if (lineBreak || typing) {
        // Typed characters and line breaks go in as plain text within the
        // limit; the framework's line break is a plain one, whatever Shift says.
        InsertText(lineBreak ? QStringLiteral("\n") : event->text());
        emit m_owner->textEdited(m_owner->text());
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TqkLinesWindow::DefaultInputMethod(QInputMethodEvent *event)
{
    QPlainTextEdit::inputMethodEvent(event);
}

void TqkLinesWindow::InsertText(const QString &text)
{
    if (isReadOnly())
        return;
    insertPlainText(text.left(std::max(0, roomLeft())));
    // Typing by the window's own keys scrolls to the caret; text put in here must too.
    ensureCursorVisible();
}

void TqkLinesWindow::SetWindowReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

int TqkLinesWindow::CaretPosition() const
{
    return textCursor().position();
}

void TqkLinesWindow::SetCaretPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, int(toPlainText().size())));
    setTextCursor(cursor);
}

int TqkLinesWindow::SelectionStart() const
{
    const QTextCursor cursor = textCursor();
    return cursor.hasSelection() ? cursor.selectionStart() : -1;
}

QString TqkLinesWindow::SelectedText() const
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return selected;
}

void TqkLinesWindow::SetSelection(int start, int length)
{
    const int size = int(toPlainText().size());
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, start, size));
    cursor.setPosition(qBound(0, start + length, size), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool TqkLinesWindow::event(QEvent *event)
{
    return m_owner->takesTab(event) || QPlainTextEdit::event(event);
}

void TqkLinesWindow::keyPressEvent(QKeyEvent *event)
{
    m_owner->handleKeyPress(event);
    m_owner->m_refusedByLines = !event->isAccepted();
}

void TqkLinesWindow::keyReleaseEvent(QKeyEvent *event)
{
    m_owner->handleKeyRelease(event);
    QPlainTextEdit::keyReleaseEvent(event);
    event->accept();
}

void TqkLinesWindow::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    viewport()->update();
    m_owner->handleFocusIn(event->reason());
}

void TqkLinesWindow::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    viewport()->update();
    m_owner->handleFocusOut(event->reason());
}

void TqkLinesWindow::inputMethodEvent(QInputMethodEvent *event)
{
    m_owner->handleInputMethod(event);
}

// Paste by the window's own ways, drop and middle click all end here.
void TqkLinesWindow::insertFromMimeData(const QMimeData *source)
{
    if (source->hasText())
        qkRunShowingErrors([&] { m_owner->InsertPastedText(source->text()); });
}

void TqkLinesWindow::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    m_owner->routeClipboardActions(menu);
    menu->popup(event->globalPos());
}

void TqkLinesWindow::paintEvent(QPaintEvent *event)
{
    if (!m_owner->PaintsOwnText()) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    painter.translate(-viewport()->mapTo(m_owner, QPoint(0, 0)));
    m_owner->PaintOwnText(painter);
}
