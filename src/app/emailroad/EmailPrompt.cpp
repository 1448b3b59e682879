#include "app/emailroad/EmailPrompt.h"

#include "app/DirDlg.h"
#include "app/DruckPrg.h"
#include "app/Kopieren.h"

#include <QApplication>

namespace {

constexpr int PromptHelpContext = 220;

// The arrow shows while the prompt is up, whatever the road had set.
class ArrowCursor
{
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor &) = delete;
    ArrowCursor &operator=(const ArrowCursor &) = delete;
};

}

TfrmEMail *frmEMail = nullptr;

TfrmEMail::TfrmEMail(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    // The message reads like a label: button face, no scroll bars.
    QPalette face = memError->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    memError->setPalette(face);
    memError->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memError->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memError->setFixedHeight(memError->fontMetrics().lineSpacing() * 4);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHilfe, &QPushButton::clicked, this, [] { ShowDialogHelp(PromptHelpContext, PromptHelpContext); });
    if (!frmEMail)
        frmEMail = this;
}

TfrmEMail::~TfrmEMail()
{
    if (frmEMail == this)
        frmEMail = nullptr;
}

void TfrmEMail::ResetChoices()
{
    cbxSave->setChecked(false);
    cbxCancelall->setChecked(false);
}

bool TfrmEMail::CancelAll() const
{
    return cbxCancelall->isChecked();
}

bool TfrmEMail::Ask(const Request &request, QString &address, bool &save)
{
    memError->setPlainText(request.Message);
    edtSendTo->setText(request.Address);
    lblAdr->setText(request.Label);
    cbxSave->setText(request.SaveCaption);
    cbxSave->setChecked(false);
    edtSendTo->setFocus();
    const ArrowCursor arrow;
    if (RunModal(*this) != QDialog::Accepted)
        return false;
    address = edtSendTo->text();
    save = cbxSave->isChecked();
    return true;
}

TfrmEMail &AddressPrompt()
{
    // Without the program's prompt the main window gets one that goes with it.
    if (!frmEMail)
        new TfrmEMail(frmPrintMan);
    return *frmEMail;
}
