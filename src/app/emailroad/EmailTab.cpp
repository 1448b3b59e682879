#include "app/emailroad/EmailTab.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailEditor.h"
#include "app/mainmodul.h"
#include "mail/AddressCheck.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/ui/UiServices.h"

const QString EmailAddressPlaceholder = QStringLiteral("{E-Mail-Adresse wird automatisch ermittelt}");

void EditJobForm()
{
    TTable *emailForms = frmPrintMan ? frmPrintMan->tblFormular : nullptr;
    if (!emailForms || !emailForms->Active() || IsTableEmpty(emailForms)) {
        ShowError(QString(), QStringLiteral("Es befindet sich kein Formular in der Datenbank."));
        return;
    }
    const QString fileName = emailForms->FieldByName(QStringLiteral("DateiErsteSeite"))->AsString();
    if (fileName.isEmpty() || fileName == QLatin1String(".")) {
        ShowError(QString(), QStringLiteral("Sie müssen einen gültigen Dateinamen angeben."));
        return;
    }
    TfrmEdit &editor = TemplateEditor();
    editor.lblStatus->clear();
    editor.EditFormular(EmailPaths().FormularPfad + QLatin1Char('\\') + fileName,
                        emailForms->FieldByName(QStringLiteral("Bezeichnung"))->AsString());
    ShowEmailHeader();
}

namespace {

void clearHeader(TfrmPrintMan &window)
{
    for (QLineEdit *edit : {window.edtSendTo, window.edtCC, window.edtBCC, window.edtBetreff, window.edtAnlage})
        edit->clear();
}

void showTemplateHeader(TfrmPrintMan &window, const TFormular &header)
{
    const QString fixedRecipient = EmailState().FixedRecipient;
    const QString recipient = fixedRecipient.isEmpty() ? header.SendTo : fixedRecipient;
    window.edtSendTo->setText(recipient.isEmpty() ? EmailAddressPlaceholder : recipient);
    window.edtCC->setText(header.CC);
    window.edtBCC->setText(header.BCC);
    window.edtBetreff->setText(header.Betreff);
    window.cbxAnlage->setChecked(header.AlsAnlageSenden);
    window.edtAnlage->setVisible(header.AlsAnlageSenden);
    window.lblAnlage->setVisible(header.AlsAnlageSenden);
    if (!header.AlsAnlageSenden)
        window.edtAnlage->clear();
    else
        window.edtAnlage->setText(header.Anlagename.isEmpty() ? EmailRequest().Modul + QStringLiteral(".txt")
                                                              : header.Anlagename);
}

}

void ShowEmailHeader()
{
    if (!frmPrintMan)
        return;
    TfrmPrintMan &window = *frmPrintMan;
    window.cbxSendeEmail->setText(EmailState().Outbox ? QStringLiteral("in Velmora Kuvertalia eintragen")
                                                      : QStringLiteral("an Standard E-Mail Programm senden"));
    TTable *emailForms = window.tblFormular;
    if (!emailForms->Active() || IsTableEmpty(emailForms)) {
        clearHeader(window);
        return;
    }
    // The shared template object holds the header afterwards, as the e-mail
    // road expects; a window without the e-mail state uses one of its own.
    TFormular own;
    TFormular &header = EmailState().Formular ? *EmailState().Formular : own;
    header.LoadFromFile(EmailPaths().FormularPfad + QLatin1Char('\\')
                        + emailForms->FieldByName(QStringLiteral("DateiErsteSeite"))->AsString());
    showTemplateHeader(window, header);
    const bool singleDocument = EmailRequest().Einzeln;
    for (QWidget *button : {window.btnSendadd, window.btnCCadd, window.btnBCCadd})
        button->setVisible(singleDocument);
}

QString AttachmentFileName(const QString &typed)
{
    const qsizetype separator = std::max(typed.lastIndexOf(QLatin1Char('\\')), typed.lastIndexOf(QLatin1Char('/')));
    return typed.mid(separator + 1);
}

bool AddressTextShowsValid(const QString &text)
{
    if (text.contains(QLatin1Char('#')))
        return true;
    QStringList addresses;
    return CheckAddressList(text, addresses);
}
