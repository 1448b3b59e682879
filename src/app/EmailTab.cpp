#include "app/EmailTab.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "mail/AddressCheck.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/ui/UiServices.h"

const QString EmailAddressPlaceholder = QStringLiteral("{E-Mail-Adresse wird automatisch ermittelt}");

void ShowNotYetBuilt(const QString &what)
{
    ui::services().messageBox(what + QStringLiteral(" ist in dieser Programmversion noch nicht verfügbar."),
                              QStringLiteral("Tintlen"), ui::MsgIcon::Information, ui::MsgButtons::Ok);
}

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
    ShowNotYetBuilt(QStringLiteral("Der Vorlagen-Editor"));
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
