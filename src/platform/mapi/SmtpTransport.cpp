#include "platform/mapi/SmtpTransport.h"

#include "platform/mapi/SendProgress.h"

#include <curl/curl.h>

#include <atomic>

#include <cctype>
#include <cstring>
#include <mutex>

namespace mapi {

namespace {

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Upload
{
    QByteArray data;
    qsizetype offset = 0;
};

size_t readUpload(char *buffer, size_t size, size_t count, void *userData)
{
    auto *upload = static_cast<Upload *>(userData);
    const size_t room = size * count;
    const size_t left = size_t(upload->data.size() - upload->offset);
    const size_t taken = qMin(room, left);
    std::memcpy(buffer, upload->data.constData() + upload->offset, taken);
    upload->offset += qsizetype(taken);
    return taken;
}

// What the dialogue with the server left to tell a failure by.
struct Dialogue
{
    // The command the client sent last, so a refusal can be told apart by
    // the step it ended (recipient, data, log-in).
    QByteArray lastCommand;
    // The server's last refusal (a reply of 400 and up), shown to the user.
    // Nothing else of the dialogue is kept: it carries the credentials.
    QByteArray lastRefusal;
    std::atomic<bool> cancel{false};

    void clear()
    {
        lastCommand.clear();
        lastRefusal.clear();
        cancel = false;
    }
};

bool isRefusal(const QByteArray &line)
{
    return line.size() >= 3 && line.at(0) >= '4' && line.at(0) <= '5' && std::isdigit(line.at(1))
           && std::isdigit(line.at(2));
}

int watchDialogue(CURL *, curl_infotype type, char *data, size_t size, void *userData)
{
    auto *dialogue = static_cast<Dialogue *>(userData);
    if (type == CURLINFO_HEADER_IN) {
        const QByteArray line = QByteArray(data, qsizetype(size)).trimmed();
        if (isRefusal(line))
            dialogue->lastRefusal = line.left(200);
        return 0;
    }
    if (type != CURLINFO_HEADER_OUT || size < 4)
        return 0;
    const QByteArray command = QByteArray(data, 4).toUpper();
    if (command != "QUIT" && command != "RSET")
        dialogue->lastCommand = command;
    return 0;
}

int watchCancel(void *userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Dialogue *>(userData)->cancel ? 1 : 0;
}

ULONG mailCode(CURLcode result, long responseCode, const QByteArray &lastCommand)
{
    if (result == CURLE_OK)
        return SUCCESS_SUCCESS;
    if (result == CURLE_ABORTED_BY_CALLBACK)
        return MAPI_USER_ABORT;
    if (lastCommand == "RCPT")
        return MAPI_E_UNKNOWN_RECIPIENT;
    if (responseCode == 552)
        return MAPI_E_TEXT_TOO_LARGE;
    const bool beforeMail = lastCommand.isEmpty() || lastCommand == "EHLO" || lastCommand == "HELO"
                            || lastCommand == "AUTH" || lastCommand == "STAR";
    if (result == CURLE_LOGIN_DENIED || result == CURLE_COULDNT_CONNECT || result == CURLE_COULDNT_RESOLVE_HOST
        || result == CURLE_USE_SSL_FAILED || result == CURLE_SSL_CONNECT_ERROR
        || result == CURLE_PEER_FAILED_VERIFICATION || (beforeMail && result == CURLE_OPERATION_TIMEDOUT))
        return MAPI_E_LOGIN_FAILURE;
    return MAPI_E_FAILURE;
}

}

struct SmtpTransport::Handle
{
    CURL *curl = nullptr;
    Dialogue dialogue;
    Handle() : curl(curl_easy_init()) {}
    ~Handle() { curl_easy_cleanup(curl); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
};

SmtpTransport::SmtpTransport(const SmtpSettings &settings) : m_settings(settings)
{
    initialiseCurlOnce();
}

SmtpTransport::~SmtpTransport() = default;

ULONG SmtpTransport::perform(Handle &handle, const QString &progressText)
{
    CURL *curl = handle.curl;
    const QByteArray url = m_settings.url().toUtf8();
    const QByteArray user = m_settings.user.toUtf8();
    const QByteArray password = m_settings.password.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(m_settings.connectTimeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(m_settings.transferTimeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchDialogue);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &handle.dialogue);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, watchCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &handle.dialogue);
    if (m_settings.tls == TlsMode::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    handle.dialogue.clear();
    CURLcode result = CURLE_OK;
    runWithProgress(progressText, handle.dialogue.cancel, [&] { result = curl_easy_perform(curl); });
    long responseCode = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &responseCode);
    m_lastFailure = result == CURLE_OK ? QString() : failureReason(result, responseCode, handle.dialogue.lastRefusal);
    return mailCode(result, responseCode, handle.dialogue.lastCommand);
}

QString SmtpTransport::serverName() const
{
    return m_settings.server + QLatin1Char(':') + QString::number(m_settings.effectivePort());
}

QString SmtpTransport::failureReason(int result, long responseCode, const QByteArray &reply) const
{
    const QString server = serverName();
    switch (result) {
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("Das Senden an den Mail-Server %1 wurde abgebrochen.").arg(server);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Der Mail-Server %1 antwortet nicht mehr.").arg(server);
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Den Mail-Server %1 gibt es nicht: sein Name ist unbekannt.").arg(server);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Der Mail-Server %1 ist nicht erreichbar.").arg(server);
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Die verschlüsselte Verbindung zum Mail-Server %1 kam nicht zustande.").arg(server);
    default:
        break;
    }
    if (!reply.isEmpty() && responseCode >= 400)
        return QStringLiteral("Der Mail-Server %1 hat abgelehnt: %2").arg(server, QString::fromUtf8(reply));
    return QStringLiteral("Die Verbindung zum Mail-Server %1 ist abgebrochen.").arg(server);
}

ULONG SmtpTransport::probe()
{
    Handle probeHandle;
    if (!probeHandle.curl)
        return MAPI_E_INSUFFICIENT_MEMORY;
    curl_easy_setopt(probeHandle.curl, CURLOPT_CONNECT_ONLY, 1L);
    const ULONG code =
        perform(probeHandle, QStringLiteral("Verbindung zum Mail-Server %1 wird aufgebaut …").arg(serverName()));
    if (code == SUCCESS_SUCCESS || code == MAPI_USER_ABORT)
        return code;
    return MAPI_E_LOGIN_FAILURE;
}

ULONG SmtpTransport::send(const QStringList &envelopeRecipients, const QByteArray &message)
{
    if (!m_handle)
        m_handle = std::make_unique<Handle>();
    if (!m_handle->curl)
        return MAPI_E_INSUFFICIENT_MEMORY;
    CURL *curl = m_handle->curl;
    const QByteArray from = '<' + m_settings.senderAddress.toUtf8() + '>';
    curl_slist *recipients = nullptr;
    for (const QString &recipient : envelopeRecipients)
        recipients = curl_slist_append(recipients, ('<' + recipient.toUtf8() + '>').constData());
    Upload upload{message, 0};
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    ++m_messagesSent;
    const ULONG code = perform(
        *m_handle,
        QStringLiteral("E-Mail %1 wird an den Mail-Server %2 übergeben …").arg(m_messagesSent).arg(serverName()));
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_slist_free_all(recipients);
    return code;
}

}
