#include "app/emailroad/EmailRun.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailPrompt.h"
#include "app/emailroad/EmailTab.h"
#include "app/mainmodul.h"
#include "mail/NCTable.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/runtime/Cp1252.h"

#include <QFile>

namespace {

TEmailDocumentTables documentTables()
{
    const TEmailState &state = EmailState();
    return {state.Kopf,        state.Pos, state.Artikel, state.Partner, state.Mitarb, EmailRequest().IstAuftrag,
            state.PartnerLabel};
}

void writeBack(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

}

TEmailRun::TEmailRun() : m_context(*EmailState().Formatlist, EmailState().Formular.get())
{
    const TEmailState &state = EmailState();
    m_generator = std::make_unique<TEmailGenerator>(m_context, *state.Formular, documentTables(),
                                                    EmailPaths().DatenPfad, state.WerbungAus);
    const TfrmPrintMan &window = *frmPrintMan;
    m_generator->Tab = {window.edtSendTo->text(), window.edtCC->text(), window.edtBCC->text(),
                        window.edtBetreff->text()};
    m_generator->Prompt = &AddressPrompt();
}

TEmailRun::~TEmailRun() = default;

bool TEmailRun::FindFirstDocument()
{
    TNCTable &head = *EmailState().Kopf;
    const TEmailRequest &request = EmailRequest();
    if (request.Einzeln) {
        if (head.FindKey({request.Datensatz}))
            return true;
        ShowPlainMessage(QStringLiteral("Auftrag nicht gefunden"));
        return false;
    }
    head.First();
    if (!head.IsEmpty())
        return true;
    ShowPlainMessage(QStringLiteral("Keine Aufträge vorhanden"));
    return false;
}

bool TEmailRun::NextDocument()
{
    if (EmailRequest().Einzeln)
        return false;
    TNCTable &head = *EmailState().Kopf;
    head.Next();
    return !head.Eof();
}

bool TEmailRun::Generate(TGeneratedEmail &email, bool preview, bool ask)
{
    email.Text.clear();
    const bool send = m_generator->GenerateEmailText(email.Text, email.SendTo, email.CC, email.Pages, preview, ask,
                                                     email.Betreff, email.BCC);
    writeBack(frmPrintMan->edtCC, m_generator->Tab.CC);
    writeBack(frmPrintMan->edtBCC, m_generator->Tab.BCC);
    return send;
}

bool TEmailRun::AttachmentMode() const
{
    return frmPrintMan->cbxAnlage->isChecked();
}

QString TEmailRun::AttachmentName() const
{
    QString name = AttachmentFileName(frmPrintMan->edtAnlage->text());
    if (name.isEmpty()) {
        name = EmailRequest().Modul + QStringLiteral(".txt");
        frmPrintMan->edtAnlage->setText(name);
    }
    return name;
}

QString TEmailRun::AttachmentNote() const
{
    return JoinedLines(EmailState().Formular->Section(fsAnlage));
}

QString JoinedLines(const QStringList &lines)
{
    QString text = lines.join(QLatin1Char('\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

bool WriteAttachmentFile(const QString &path, const QStringList &text)
{
    const QString content = JoinedLines(text) + QStringLiteral("\r\n");
    bool lossless = false;
    QByteArray bytes = cp1252::encode(content, &lossless);
    if (!lossless)
        bytes = content.toUtf8();
    QFile file(path);
    // Exclusive: a file that appeared since the name was chosen stays as it is.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) < 0 || !file.flush()) {
        ShowPlainMessage(QStringLiteral("Die Anlage-Datei \"") + path
                         + QStringLiteral("\" konnte nicht geschrieben werden."));
        return false;
    }
    return true;
}
