#pragma once

#include "ui_TfrmPrintMan.h"

#include <QWidget>

// The print manager's main window; its controls are public so that the
// handlers and dialogs working on it reach them by their names.
class TfrmPrintMan : public QWidget, public Ui::TfrmPrintMan
{
    Q_OBJECT

public:
    explicit TfrmPrintMan(QWidget *parent = nullptr);

public slots:
    void btnAbbruchClick();

private:
    void placeAtScreenCentre();
};
