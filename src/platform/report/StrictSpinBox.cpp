#include "platform/report/StrictSpinBox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace report {

void StrictSpinBox::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !hasAcceptableInput()) {
        event->ignore();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

// The edit still learns that it lost the focus, so that its cursor stops.
void StrictSpinBox::focusOutEvent(QFocusEvent *event)
{
    if (hasAcceptableInput()) {
        QSpinBox::focusOutEvent(event);
        return;
    }
    lineEdit()->event(event);
    QWidget::focusOutEvent(event);
}

} // namespace report
