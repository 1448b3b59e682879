#pragma once

#include "ui_TfrmAnsprech.h"

#include <QDialog>

// The contact persons with an e-mail address of the current document's
// customer or supplier and of its representative.
class TfrmAnsprech : public QDialog, public Ui::TfrmAnsprech
{
    Q_OBJECT

public:
    explicit TfrmAnsprech(QWidget *parent = nullptr);
    ~TfrmAnsprech() override;

    // The chosen contact's address, or an empty text.
    QString SelectAddress();

private:
    bool fillList();
    void fitColumns();
};

extern TfrmAnsprech *frmAnsprech;

// The program's picker, or one that goes with the main window.
TfrmAnsprech &ContactPicker();

// Adds a picked address to an address text: after a comma, or as the
// whole text when it is empty or holds `placeholder`.
QString WithAddedAddress(const QString &text, const QString &address, const QString &placeholder);
