#include "platform/mapi/SimpleMapi.h"

#include "platform/mapi/MimeMessage.h"
#include "platform/mapi/SmtpTransport.h"
#include "platform/os/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <map>
#include <memory>

namespace {

struct Session
{
    mapi::SmtpSettings settings;
    mapi::SmtpTransport transport;
    explicit Session(const mapi::SmtpSettings &smtp) : settings(smtp), transport(smtp) {}
};

// Sessions live on the one thread that runs the e-mail road.
std::map<LHANDLE, std::unique_ptr<Session>> &sessions()
{
    static std::map<LHANDLE, std::unique_ptr<Session>> open;
    return open;
}

QString &settingsFile()
{
    static QString path;
    return path;
}

QString &failureReason()
{
    static QString reason;
    return reason;
}

QString utf8(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

struct Recipients
{
    QStringList to;
    QStringList cc;
    QStringList envelope;
};

ULONG collectRecipients(const MapiMessage &message, Recipients &recipients)
{
    for (ULONG i = 0; i < message.nRecipCount; ++i) {
        const MapiRecipDesc &recipient = message.lpRecips[i];
        if (recipient.ulRecipClass < MAPI_TO || recipient.ulRecipClass > MAPI_BCC)
            return MAPI_E_BAD_RECIPTYPE;
        const QString address = utf8(recipient.lpszAddress ? recipient.lpszAddress : recipient.lpszName);
        if (!mapi::isSafeAddress(address))
            return MAPI_E_UNKNOWN_RECIPIENT;
        if (recipient.ulRecipClass == MAPI_TO)
            recipients.to << address;
        else if (recipient.ulRecipClass == MAPI_CC)
            recipients.cc << address;
        recipients.envelope << address;
    }
    return recipients.envelope.isEmpty() ? MAPI_E_UNKNOWN_RECIPIENT : SUCCESS_SUCCESS;
}

ULONG readAttachment(const MapiFileDesc &file, mapi::MailAttachment &attachment)
{
    const QString path = utf8(file.lpszPathName);
    if (path.isEmpty() || !os::fileExists(path))
        return MAPI_E_ATTACHMENT_NOT_FOUND;
    QFile content(os::resolvePath(path));
    if (!content.open(QIODevice::ReadOnly))
        return MAPI_E_ATTACHMENT_OPEN_FAILURE;
    attachment.content = content.readAll();
    const QString name = utf8(file.lpszFileName);
    attachment.fileName = name.isEmpty() ? QFileInfo(content.fileName()).fileName() : name;
    return SUCCESS_SUCCESS;
}

ULONG composeFor(const Session &session, const MapiMessage &message, const Recipients &recipients, QByteArray &composed)
{
    if (message.nFileCount > 1)
        return MAPI_E_TOO_MANY_FILES;
    mapi::OutgoingMail mail;
    mail.senderAddress = session.settings.senderAddress;
    mail.senderName = session.settings.senderName;
    mail.to = recipients.to;
    mail.cc = recipients.cc;
    mail.subject = utf8(message.lpszSubject);
    mail.body = utf8(message.lpszNoteText);
    mail.date = QDateTime::currentDateTimeUtc();
    mail.uniqueToken = QUuid::createUuid().toString(QUuid::Id128);
    if (message.nFileCount == 1) {
        mapi::MailAttachment attachment;
        if (const ULONG code = readAttachment(message.lpFiles[0], attachment))
            return code;
        mail.attachment = attachment;
    }
    composed = mapi::composeMessage(mail);
    return SUCCESS_SUCCESS;
}

}

namespace mapi {

void setSettingsFile(const QString &iniPath)
{
    settingsFile() = iniPath;
}

QString lastFailureReason()
{
    return failureReason();
}

}

ULONG MAPILogon(LHANDLE, const char *, const char *, ULONG, ULONG, LHANDLE *session)
{
    failureReason().clear();
    if (!session)
        return MAPI_E_FAILURE;
    const mapi::SmtpSettings settings = mapi::readSmtpSettings(settingsFile());
    if (settingsFile().isEmpty() || !settings.complete())
        return MAPI_NOT_AVAILABLE;
    auto opened = std::make_unique<Session>(settings);
    if (const ULONG code = opened->transport.probe()) {
        failureReason() = opened->transport.lastFailure();
        return code;
    }
    static LHANDLE lastHandle = 0;
    *session = ++lastHandle;
    sessions()[*session] = std::move(opened);
    return SUCCESS_SUCCESS;
}

ULONG MAPISendMail(LHANDLE session, LHANDLE, const MapiMessage *message, ULONG, ULONG)
{
    failureReason().clear();
    const auto found = sessions().find(session);
    if (found == sessions().end() || !message)
        return MAPI_E_FAILURE;
    Session &open = *found->second;
    Recipients recipients;
    if (const ULONG code = collectRecipients(*message, recipients))
        return code;
    QByteArray composed;
    if (const ULONG code = composeFor(open, *message, recipients, composed))
        return code;
    const ULONG code = open.transport.send(recipients.envelope, composed);
    failureReason() = open.transport.lastFailure();
    return code;
}

ULONG MAPILogoff(LHANDLE session, LHANDLE, ULONG, ULONG)
{
    return sessions().erase(session) == 1 ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}
