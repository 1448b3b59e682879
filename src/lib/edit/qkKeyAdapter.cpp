#include "lib/edit/qkKeyAdapter.h"

#include "lib/edit/qkLinesWindow.h"
#include "platform/ui/Application.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyleOption>

#include <utility>

namespace qk {

namespace {

int navigationKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_F2:
        return VK_F2;
    default:
        return 0;
    }
}

}

int virtualKeyOf(const QKeyEvent *event)
{
    const int key = event->key();
    if (const int vk = navigationKey(key))
        return vk;
    if (event->modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + (key - Qt::Key_0);
        if (key == Qt::Key_Plus)
            return VK_ADD;
        if (key == Qt::Key_Minus)
            return VK_SUBTRACT;
    }
    if (key == Qt::Key_Plus || key == Qt::Key_Equal)
        return VK_OEM_PLUS;
    if (key == Qt::Key_Minus)
        return VK_OEM_MINUS;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Space)
        return key;
    // Characters without a key of their own (umlauts, signs) count as keys
    // above 145, which the framework treats as typing keys.
    return event->text().isEmpty() ? 0 : 0xDE;
}

QChar keyCharOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QChar(9);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        return QChar(event->key() - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127)
        return text[0];
    return QChar();
}

}

using namespace qk;

namespace {

// The application's style, except that controls marked so draw no caret.
class CaretStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        // The line edit asks for its caret's width while painting with its
        // frame's option alone, which names the edit as its style object.
        const QObject *asking = widget ? widget : option ? option->styleObject : nullptr;
        const auto *edit = qobject_cast<const TqkKeyedEdit *>(asking);
        if (metric == PM_TextCursorWidth && edit && edit->CaretHidden())
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *caretStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new CaretStyle;
        style->setParent(qApp);
    }
    return style;
}

}

QString qkLinesText(const QString &text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

bool qkRunShowingErrors(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &error) {
        ui::showEscapedException(error);
        return false;
    }
}

TqkKeyedEdit::TqkKeyedEdit(QWidget *parent) : QLineEdit(parent)
{
    setStyle(caretStyle());
}

// The lines window goes first: a focus it loses while the edit is taken
// down would otherwise ask an exit check of an edit that is half gone.
TqkKeyedEdit::~TqkKeyedEdit()
{
    delete m_lines;
}

void TqkKeyedEdit::Paste()
{
    InsertPastedText(QApplication::clipboard()->text());
}

void TqkKeyedEdit::Cut()
{
    cut();
}

bool TqkKeyedEdit::WantsKey(int key, TShiftState)
{
    return key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE;
}

void TqkKeyedEdit::KeyDown(int &, TShiftState)
{}

void TqkKeyedEdit::KeyPress(QChar &)
{}

void TqkKeyedEdit::KeyUp(int &, TShiftState)
{}

void TqkKeyedEdit::InsertPastedText(const QString &text)
{
    insert(text);
}

bool TqkKeyedEdit::event(QEvent *event)
{
    return takesTab(event) || QLineEdit::event(event);
}

// Tab reaches the key stages before Qt's focus chain when the control wants it.
bool TqkKeyedEdit::takesTab(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const bool tab = keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab;
    if (!tab || !WantsKey(VK_TAB, keyEvent->modifiers()))
        return false;
    handleKeyPress(keyEvent);
    return true;
}

void TqkKeyedEdit::keyPressEvent(QKeyEvent *event)
{
    // A key the lines window refused passes the line on its way to the dialog.
    if (std::exchange(m_refusedByLines, false)) {
        event->ignore();
        return;
    }
    handleKeyPress(event);
}

void TqkKeyedEdit::handleKeyPress(QKeyEvent *event)
{
    bool used = true;
    qkRunShowingErrors([&] { used = runKeyStages(event); });
    if (!used)
        event->ignore();
}

bool TqkKeyedEdit::runKeyStages(QKeyEvent *event)
{
    const TShiftState shift = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int key = virtualKeyOf(event);
    m_keyChar = keyCharOf(event);
    if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !WantsKey(key, shift))
        return false;
    if (key != 0) {
        KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    QChar character = keyCharOf(event);
    if (!character.isNull()) {
        KeyPress(character);
        if (character.isNull())
            return true;
    }
    const bool ctrlOnly = shift == Qt::ControlModifier;
    if (character == QChar(22) || (key == VK_INSERT && shift == Qt::ShiftModifier)) {
        Paste();
    } else if (character == QChar(24) || (key == VK_DELETE && shift == Qt::ShiftModifier)) {
        Cut();
    } else if (character == QChar(3) || (key == VK_INSERT && ctrlOnly)) {
        copy();
    } else if (character.unicode() >= 32 && character != keyCharOf(event)) {
        QKeyEvent replaced(QEvent::KeyPress, 0, event->modifiers(), QString(character));
        windowKeyPress(&replaced);
    } else if (character == QChar(9) || character == QChar(27)) {
        // A control that wants Tab or Escape has used it in its own stages.
    } else {
        windowKeyPress(event);
        return event->isAccepted();
    }
    return true;
}

void TqkKeyedEdit::windowKeyPress(QKeyEvent *event)
{
    if (m_lines)
        m_lines->DefaultKeyPress(event);
    else
        QLineEdit::keyPressEvent(event);
}

void TqkKeyedEdit::keyReleaseEvent(QKeyEvent *event)
{
    handleKeyRelease(event);
    QLineEdit::keyReleaseEvent(event);
}

void TqkKeyedEdit::handleKeyRelease(QKeyEvent *event)
{
    int key = virtualKeyOf(event);
    if (key != 0)
        qkRunShowingErrors([&] { KeyUp(key, event->modifiers()); });
}

void TqkKeyedEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    handleFocusIn(event->reason());
}

void TqkKeyedEdit::handleFocusIn(Qt::FocusReason reason)
{
    if (!m_returningFocus && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        EnterFocus();
}

void TqkKeyedEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    handleFocusOut(event->reason());
}

void TqkKeyedEdit::handleFocusOut(Qt::FocusReason reason)
{
    if (m_returningFocus || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    bool accepted = false;
    qkRunShowingErrors([&] { accepted = ExitCheck(); });
    if (accepted)
        return;
    // The refusal has been told already; taking the focus back is no new
    // entry and asks nothing again.
    m_returningFocus = true;
    setFocus(Qt::OtherFocusReason);
    m_returningFocus = false;
}

void TqkKeyedEdit::inputMethodEvent(QInputMethodEvent *event)
{
    handleInputMethod(event);
}

void TqkKeyedEdit::handleInputMethod(QInputMethodEvent *event)
{
    const QString committed = event->commitString();
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    QInputMethodEvent *windowPart = committed.isEmpty() ? event : &preeditOnly;
    if (m_lines)
        m_lines->DefaultInputMethod(windowPart);
    else
        QLineEdit::inputMethodEvent(windowPart);
    for (QChar character : committed) {
        KeyPress(character);
        if (!character.isNull()) {
            QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
            windowKeyPress(&typed);
        }
    }
    event->accept();
}

void TqkKeyedEdit::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasText() || isReadOnly()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    InsertPastedText(event->mimeData()->text());
    event->acceptProposedAction();
}

void TqkKeyedEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QClipboard *clipboard = QApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        InsertPastedText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TqkKeyedEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    routeClipboardActions(menu);
    menu->popup(event->globalPos());
}

void TqkKeyedEdit::routeClipboardActions(QMenu *menu)
{
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Paste(); });
        } else if (action->objectName() == QLatin1String("edit-cut")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Cut(); });
        }
    }
}

void TqkKeyedEdit::paintEvent(QPaintEvent *event)
{
    if (!PaintsOwnText()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    PaintOwnText(painter);
}

void TqkKeyedEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    if (m_lines)
        m_lines->setGeometry(rect());
}

void TqkKeyedEdit::SetTextWindow(bool multiLine, bool wordWrap, bool vertScrollBar)
{
    multiLine = multiLine && echoMode() == QLineEdit::Normal;
    if (!multiLine && !m_lines)
        return;
    const QString shown = text();
    const int caret = cursorPosition();
    const bool focused = hasFocus();
    // The same control goes on with the same text: no focus is entered or
    // left and no text changes.
    const QScopedValueRollback<bool> sameFocus(m_returningFocus, true);
    const QSignalBlocker sameText(this);
    if (m_lines) {
        setFocusProxy(nullptr);
        delete m_lines;
        m_lines = nullptr;
    }
    if (multiLine) {
        m_lines = new TqkLinesWindow(this, wordWrap, vertScrollBar);
        m_lines->SetWindowReadOnly(QLineEdit::isReadOnly());
        m_lines->setGeometry(rect());
        setFocusProxy(m_lines);
        connect(m_lines, &QPlainTextEdit::textChanged, this, [this] { emit textChanged(text()); });
        m_lines->show();
    }
    QLineEdit::setText(multiLine ? QString() : shown);
    if (m_lines)
        m_lines->setPlainText(qkLinesText(shown));
    if (focused)
        setFocus(Qt::OtherFocusReason);
    setCursorPosition(caret);
}

// ---------------------------------------------------------------- text window

QString TqkKeyedEdit::text() const
{
    return m_lines ? m_lines->toPlainText() : QLineEdit::text();
}

void TqkKeyedEdit::setText(const QString &text)
{
    if (m_lines)
        m_lines->setPlainText(qkLinesText(text));
    else
        QLineEdit::setText(text);
}

int TqkKeyedEdit::cursorPosition() const
{
    return m_lines ? m_lines->CaretPosition() : QLineEdit::cursorPosition();
}

void TqkKeyedEdit::setCursorPosition(int position)
{
    if (m_lines)
        m_lines->SetCaretPosition(position);
    else
        QLineEdit::setCursorPosition(position);
}

int TqkKeyedEdit::selectionStart() const
{
    return m_lines ? m_lines->SelectionStart() : QLineEdit::selectionStart();
}

QString TqkKeyedEdit::selectedText() const
{
    return m_lines ? m_lines->SelectedText() : QLineEdit::selectedText();
}

void TqkKeyedEdit::setSelection(int start, int length)
{
    if (m_lines)
        m_lines->SetSelection(start, length);
    else
        QLineEdit::setSelection(start, length);
}

void TqkKeyedEdit::selectAll()
{
    if (m_lines)
        m_lines->selectAll();
    else
        QLineEdit::selectAll();
}

void TqkKeyedEdit::deselect()
{
    if (m_lines)
        m_lines->SetCaretPosition(m_lines->CaretPosition());
    else
        QLineEdit::deselect();
}

void TqkKeyedEdit::end(bool mark)
{
    if (m_lines)
        m_lines->moveCursor(QTextCursor::End, mark ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    else
        QLineEdit::end(mark);
}

void TqkKeyedEdit::insert(const QString &text)
{
    if (!m_lines) {
        QLineEdit::insert(text);
        return;
    }
    m_lines->InsertText(text);
    emit textEdited(this->text());
}

void TqkKeyedEdit::setReadOnly(bool readOnly)
{
    QLineEdit::setReadOnly(readOnly);
    if (m_lines)
        m_lines->SetWindowReadOnly(readOnly);
}

bool TqkKeyedEdit::isModified() const
{
    return m_lines ? m_lines->document()->isModified() : QLineEdit::isModified();
}

void TqkKeyedEdit::setModified(bool modified)
{
    if (m_lines)
        m_lines->document()->setModified(modified);
    else
        QLineEdit::setModified(modified);
}

void TqkKeyedEdit::setAlignment(Qt::Alignment alignment)
{
    QLineEdit::setAlignment(alignment);
    if (!m_lines)
        return;
    QTextOption option = m_lines->document()->defaultTextOption();
    option.setAlignment(alignment & Qt::AlignHorizontal_Mask);
    m_lines->document()->setDefaultTextOption(option);
}

int TqkKeyedEdit::cursorPositionAt(const QPoint &position)
{
    return m_lines ? m_lines->cursorForPosition(m_lines->viewport()->mapFrom(this, position)).position()
                   : QLineEdit::cursorPositionAt(position);
}

void TqkKeyedEdit::cut()
{
    if (m_lines)
        m_lines->cut();
    else
        QLineEdit::cut();
}

void TqkKeyedEdit::setEchoMode(EchoMode mode)
{
    QLineEdit::setEchoMode(mode);
    if (m_lines && mode != QLineEdit::Normal)
        SetTextWindow(false, false, false);
}

void TqkKeyedEdit::copy() const
{
    if (m_lines)
        m_lines->copy();
    else
        QLineEdit::copy();
}
