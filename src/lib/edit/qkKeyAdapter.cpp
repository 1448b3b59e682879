#include "lib/edit/qkKeyAdapter.h"

#include "platform/ui/Application.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProxyStyle>

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
        const auto *edit = qobject_cast<const TqkKeyedEdit *>(widget);
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
    // Tab reaches the key stages before Qt's focus chain when the control
    // wants it.
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const bool tab = keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab;
        if (tab && WantsKey(VK_TAB, keyEvent->modifiers())) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TqkKeyedEdit::keyPressEvent(QKeyEvent *event)
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
        QLineEdit::keyPressEvent(&replaced);
    } else if (character == QChar(9) || character == QChar(27)) {
        // A control that wants Tab or Escape has used it in its own stages.
    } else {
        QLineEdit::keyPressEvent(event);
        return event->isAccepted();
    }
    return true;
}

void TqkKeyedEdit::keyReleaseEvent(QKeyEvent *event)
{
    int key = virtualKeyOf(event);
    if (key != 0)
        qkRunShowingErrors([&] { KeyUp(key, event->modifiers()); });
    QLineEdit::keyReleaseEvent(event);
}

void TqkKeyedEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (!m_returningFocus && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        EnterFocus();
}

void TqkKeyedEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_returningFocus || event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
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
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preeditOnly);
    for (QChar character : committed) {
        KeyPress(character);
        if (!character.isNull()) {
            QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
            QLineEdit::keyPressEvent(&typed);
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
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's own paste and cut would pass by the control's filter.
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Paste(); });
        } else if (action->objectName() == QLatin1String("edit-cut")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Cut(); });
        }
    }
    menu->popup(event->globalPos());
}
