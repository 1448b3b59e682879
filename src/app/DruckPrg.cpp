#include "app/DruckPrg.h"

#include <QScreen>

TfrmPrintMan::TfrmPrintMan(QWidget *parent)
    : QWidget(parent)
{
    setupUi(this);
    // A fixed dialog-like window: system menu and minimise, no resizing.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    placeAtScreenCentre();
    connect(btnAbbruch, &QPushButton::clicked, this, &TfrmPrintMan::btnAbbruchClick);
}

void TfrmPrintMan::btnAbbruchClick()
{
    close();
}

void TfrmPrintMan::placeAtScreenCentre()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    adjustSize();
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}
