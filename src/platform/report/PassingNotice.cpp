#include "platform/report/PassingNotice.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace report {
namespace {

constexpr int kShownMilliseconds = 8000;

QLabel *openNotice()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == PassingNoticeName) {
            if (auto *label = qobject_cast<QLabel *>(widget))
                return label;
        }
    }
    auto *label = new QLabel;
    label->setObjectName(PassingNoticeName);
    label->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    label->setAttribute(Qt::WA_DeleteOnClose);
    label->setAttribute(Qt::WA_ShowWithoutActivating);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMargin(10);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    return label;
}

void placeAtBottomRight(QWidget &notice)
{
    notice.adjustSize();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    notice.move(area.right() - notice.width() - 16, area.bottom() - notice.height() - 16);
}

}

void showPassingNotice(const QString &text)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QLabel *notice = openNotice();
    notice->setText(text);
    placeAtBottomRight(*notice);
    notice->show();
    // Each new text restarts the time the notice stays.
    auto *timer = notice->findChild<QTimer *>();
    if (!timer) {
        timer = new QTimer(notice);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, notice, &QWidget::close);
    }
    timer->start(kShownMilliseconds);
}

}
