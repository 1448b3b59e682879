#include "app/emailroad/EmailDriver.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailOutbox.h"
#include "app/emailroad/EmailPreview.h"
#include "app/emailroad/EmailPrompt.h"
#include "app/emailroad/EmailRun.h"
#include "app/mainmodul.h"
#include "mail/AddressCheck.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/ui/UiServices.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <vector>

namespace {

const QString formFolderMessage = QStringLiteral(
    "Formular- oder Konfigurationsdatei nicht gefunden.Prüfen Sie, ob die Datei vorhanden ist und ob der im Menü "
    "\"Einstellungen/Installation\" eingegebene Pfad für die Formulare korrekt ist:");

// The document tables stay open for one run of the e-mail road and are
// closed on every way out; a refresh held back meanwhile runs afterwards.
class OpenDocuments
{
public:
    OpenDocuments() : m_open(OpenDocumentTables()) {}
    ~OpenDocuments()
    {
        if (!m_open)
            return;
        CloseDocumentTables();
        if (EmailState().SetupPending)
            SetupDocumentTables();
    }
    OpenDocuments(const OpenDocuments &) = delete;
    OpenDocuments &operator=(const OpenDocuments &) = delete;
    bool isOpen() const { return m_open; }

private:
    bool m_open;
};

QString mailProgramHandlerCommand()
{
    return QStringLiteral("\"%1\\kuvertalia.exe\" /MAILURL \"%2\"")
        .arg(EmailState().Kuvertalia.Program, QStringLiteral("%1"));
}

bool attachmentFolderMissing()
{
    const QString folder = EmailState().Anlagenpfad;
    if (!frmPrintMan->cbxAnlage->isChecked() || os::directoryExists(folder))
        return false;
    ShowPlainMessage(QStringLiteral("Sie der Pfad \"") + folder
                     + QStringLiteral("\", in dem Sie die Dateianlagen speichern wollen, existiert nicht!"));
    return true;
}

void applyWindowBehaviour()
{
    if (frmPrintMan->btnFensterSchliessen->isChecked())
        frmPrintMan->close();
    else if (frmPrintMan->btnFensterHintergrund->isChecked())
        frmPrintMan->showMinimized();
}

bool loadTemplate(const QString &fileName)
{
    TFormular &formular = *EmailState().Formular;
    formular.WerbungAus = EmailState().WerbungAus;
    const QString folder = EmailPaths().FormularPfad;
    if (formular.LoadFromFile(folder + QLatin1Char('\\') + fileName))
        return true;
    ShowPlainMessage(formFolderMessage + folder);
    return false;
}

// False when the road could not start.
bool dispatch()
{
    if (!frmPrintMan->cbxSendeEmail->isChecked())
        return true;
    if (!OutboxRoadChosen()) {
        SendEmailsByMapi();
        return true;
    }
    if (attachmentFolderMissing())
        return false;
    EnterEmailsInOutbox();
    return true;
}

// What the server said or did goes on a line of its own below the message.
QString withServerReason(const QString &message)
{
    const QString reason = mapi::lastFailureReason();
    return reason.isEmpty() ? message : message + QStringLiteral("\r\n") + reason;
}

// Recipient records point into these UTF-8 texts, so they live together.
struct MessageRecords
{
    std::vector<QByteArray> texts;
    std::vector<MapiRecipDesc> recipients;

    void add(const QStringList &addresses, ULONG recipientClass)
    {
        for (const QString &address : addresses) {
            texts.push_back(address.toUtf8());
            MapiRecipDesc record;
            record.ulRecipClass = recipientClass;
            recipients.push_back(record);
        }
    }
    void link()
    {
        for (size_t i = 0; i < recipients.size(); ++i) {
            recipients[i].lpszName = texts[i].constData();
            recipients[i].lpszAddress = texts[i].constData();
        }
    }
};

class MapiSession
{
public:
    ~MapiSession()
    {
        if (m_loggedOn && MAPILogoff(m_handle, 0, 0, 0) != SUCCESS_SUCCESS)
            ShowPlainMessage(QStringLiteral("Die MAPI-Verbindung konnte nicht getrennt werden!"));
    }
    bool logon()
    {
        mapi::setSettingsFile(ProgramIniPath());
        const ULONG code = MAPILogon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &m_handle);
        m_loggedOn = code == SUCCESS_SUCCESS;
        if (!m_loggedOn)
            ShowPlainMessage(withServerReason(MapiLogonMessage(code)));
        return m_loggedOn;
    }
    LHANDLE handle() const { return m_handle; }

private:
    LHANDLE m_handle = 0;
    bool m_loggedOn = false;
};

QStringList addressesOf(const QString &text)
{
    QStringList addresses;
    CheckAddressList(text, addresses);
    return addresses;
}

bool sendDocument(TEmailRun &run, LHANDLE session, const TGeneratedEmail &email)
{
    const QStringList sendTo = addressesOf(email.SendTo);
    const QStringList cc = addressesOf(email.CC);
    const QStringList bcc = addressesOf(email.BCC);
    if (!run.AttachmentMode())
        return MapiSendMessage(session, sendTo, cc, QString(), JoinedLines(email.Text), email.Betreff, bcc);
    // The generated text travels as a file of a folder of our own, gone
    // again on every way out.
    const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tintlen-anlage-XXXXXX"));
    const QString path = folder.filePath(run.AttachmentName());
    if (!folder.isValid() || !WriteAttachmentFile(path, email.Text))
        return false;
    return MapiSendMessage(session, sendTo, cc, path, run.AttachmentNote(), email.Betreff, bcc);
}

}

void SendEmail()
{
    TTable *emailForms = frmPrintMan->tblFormular;
    if (!emailForms->Active() || IsTableEmpty(emailForms)) {
        ShowPlainMessage(QStringLiteral("Es befindet sich kein Formular in der Datenbank."));
        return;
    }
    const QString fileName = emailForms->FieldByName(QStringLiteral("DateiErsteSeite"))->AsString();
    if (fileName.isEmpty() || fileName == QLatin1String(".")) {
        ShowPlainMessage(QStringLiteral("Sie haben keinen Formularnamen angegeben, bzw. der Name ist ungültig."));
        return;
    }
    const OpenDocuments tables;
    if (!tables.isOpen())
        return;
    AddressPrompt().ResetChoices();
    PreparePreviewButtons(frmPrintMan->cbxSendeEmail->isChecked());
    if (!loadTemplate(fileName))
        return;
    if (frmPrintMan->cbxVorschau->isChecked() && !PreviewEmails())
        return;
    if (dispatch())
        applyWindowBehaviour();
}

void SendEmailsByMapi()
{
    TEmailRun run;
    if (!run.FindFirstDocument())
        return;
    MapiSession session;
    if (!session.logon())
        return;
    int sent = 0;
    int failed = 0;
    // The counts are told also when a template error ends the run.
    const auto report = qScopeGuard([&] {
        ShowPlainMessage(QString::number(sent) + QStringLiteral(" Mails wurden erfolgreich versendet.\r\n")
                         + QString::number(failed) + QStringLiteral(" Mails waren fehlerhaft."));
    });
    ui::BusyCursor busy;
    do {
        TGeneratedEmail email;
        if (!run.Generate(email, false, true))
            continue;
        if (sendDocument(run, session.handle(), email))
            ++sent;
        else
            ++failed;
    } while (run.NextDocument());
}

bool MapiSendMessage(LHANDLE session, const QStringList &sendTo, const QStringList &cc, const QString &attachmentPath,
                     const QString &noteText, const QString &subject, const QStringList &bcc)
{
    MessageRecords records;
    records.add(sendTo, MAPI_TO);
    records.add(cc, MAPI_CC);
    records.add(bcc, MAPI_BCC);
    records.link();
    const QByteArray path = attachmentPath.toUtf8();
    const QByteArray name = attachmentPath.section(QLatin1Char('/'), -1).toUtf8();
    MapiFileDesc file;
    file.lpszPathName = path.constData();
    file.lpszFileName = name.constData();
    const QByteArray subjectText = subject.toUtf8();
    const QByteArray note = noteText.toUtf8();
    MapiMessage message;
    message.lpszSubject = subjectText.constData();
    message.lpszNoteText = note.constData();
    message.nRecipCount = ULONG(records.recipients.size());
    message.lpRecips = records.recipients.data();
    message.nFileCount = attachmentPath.isEmpty() ? 0 : 1;
    message.lpFiles = attachmentPath.isEmpty() ? nullptr : &file;
    const ULONG code = MAPISendMail(session, 0, &message, 0, 0);
    if (code == SUCCESS_SUCCESS)
        return true;
    const QString text = MapiSendMessageText(code);
    if (!text.isEmpty())
        ShowPlainMessage(withServerReason(text));
    return false;
}

QString MapiLogonMessage(ULONG code)
{
    switch (code) {
    case SUCCESS_SUCCESS:
        return QString();
    case MAPI_USER_ABORT:
        return QStringLiteral("Das Einloggen wurde abgebrochen!");
    case MAPI_E_FAILURE:
        return QStringLiteral("Es wurde ein unbekannter Fehler beim MAPI-Login festgestellt!");
    case MAPI_E_LOGIN_FAILURE:
        return QStringLiteral("MAPI-Login fehlgeschlagen!");
    case MAPI_E_INSUFFICIENT_MEMORY:
        return QStringLiteral("Es konnte nicht genug Speicher für MAPI zur verfügung gestellt werden!");
    case MAPI_E_TOO_MANY_SESSIONS:
        return QStringLiteral("Es versuchen zu viele Anwendungen auf MAPI zuzugreifen!");
    case MAPI_NOT_AVAILABLE:
        return QStringLiteral("Es wurde keine MAPI-DLL gefunden!\r\nEntweder es existiert kein MAPI-fähiger E-Mail "
                              "Client,\r\noder er wurde noch nicht richtig konfiguriert.");
    default:
        return QStringLiteral("Unbekannter MAPI-Fehlercode (") + QString::number(code) + QStringLiteral(")!");
    }
}

QString MapiSendMessageText(ULONG code)
{
    switch (code) {
    case MAPI_USER_ABORT:
        return QStringLiteral("Benutzer hat Senden abgebrochen oder MAPI ist nicht installiert.");
    case MAPI_E_FAILURE:
        return QStringLiteral("Unbekannter MAPI Fehler.");
    case MAPI_E_LOGIN_FAILURE:
        return QStringLiteral("Benutzerlogin fehlgeschlagen.");
    case MAPI_E_INSUFFICIENT_MEMORY:
        return QStringLiteral("MAPI steht nicht genug Speicher zur Verfügung!");
    case MAPI_E_TOO_MANY_FILES:
        return QStringLiteral("Zu viele Anlage-Dateien.");
    case MAPI_E_TOO_MANY_RECIPIENTS:
        return QStringLiteral("Zu viele Empfänger angegeben.");
    case MAPI_E_ATTACHMENT_NOT_FOUND:
        return QStringLiteral("Anlage-Datei nicht gefunden");
    case MAPI_E_ATTACHMENT_OPEN_FAILURE:
        return QStringLiteral("Anlage-Datei konnte nicht geöffnet werden.");
    case MAPI_E_UNKNOWN_RECIPIENT:
        return QStringLiteral("Empfänger nicht gefunden.");
    case MAPI_E_BAD_RECIPTYPE:
        return QStringLiteral("Empfängertyp nicht CC oder BCC.");
    case MAPI_E_TEXT_TOO_LARGE:
        return QStringLiteral("Text zu groß.");
    case MAPI_E_AMBIGUOUS_RECIPIENT:
        return QStringLiteral("Empfänger nicht eindeutig bestimmbar!");
    default:
        return QString();
    }
}

bool OutboxRoadChosen()
{
    const TEmailState &state = EmailState();
    if (state.Outbox)
        return true;
    return state.KuvertaliaInstalled
           && GetDefaultMailClient().compare(mailProgramHandlerCommand(), Qt::CaseInsensitive) == 0;
}
