#pragma once

#include "ui_TfrmEMail.h"

#include "mail/EmailRecipients.h"

#include <QDialog>

// The prompt for an invalid address: the user corrects it, stores it, skips
// this e-mail or every further one with an invalid address.
class TfrmEMail : public QDialog, public Ui::TfrmEMail, public TAddressPrompt
{
    Q_OBJECT

public:
    explicit TfrmEMail(QWidget *parent = nullptr);
    ~TfrmEMail() override;

    // Before each run over the documents.
    void ResetChoices();

    bool CancelAll() const override;
    bool Ask(const Request &request, QString &address, bool &save) override;
};

extern TfrmEMail *frmEMail;

// The program's prompt, or one that lives as long as the program's state.
TfrmEMail &AddressPrompt();
