#include "app/asPageControl.h"

#include "platform/ui/Accelerators.h"

#include <QShortcutEvent>
#include <QTabBar>

TasPageControl::TasPageControl(QWidget *parent) : QTabWidget(parent)
{
    tabBar()->installEventFilter(this);
}

bool TasPageControl::dialogChar(QChar key, Qt::KeyboardModifiers modifiers)
{
    if (!isEnabled() || count() == 0 || !modifiers.testFlag(Qt::AltModifier))
        return false;
    for (int index = 0; index < count(); ++index) {
        if (isTabVisible(index) && ui::isAccelerator(key, tabText(index))) {
            activatePage(index);
            return true;
        }
    }
    return false;
}

// The tab bar grabs the mnemonics of its captions itself and cycles among
// captions that share a letter; its shortcut events are answered by our own
// rule instead, where the first visible page wins.
bool TasPageControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tabBar() || event->type() != QEvent::Shortcut)
        return QTabWidget::eventFilter(watched, event);
    const QKeySequence sequence = static_cast<QShortcutEvent *>(event)->key();
    if (sequence.count() == 1) {
        const QKeyCombination combination = sequence[0];
        dialogChar(QChar(combination.key()), combination.keyboardModifiers());
    }
    return true;
}

// Choosing a page by its accelerator always announces the change, also when
// that page was showing already, so the change handler runs on every choice.
void TasPageControl::activatePage(int index)
{
    if (index == currentIndex())
        emit currentChanged(index);
    else
        setCurrentIndex(index);
}
