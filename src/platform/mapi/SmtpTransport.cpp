#include "platform/mapi/SmtpTransport.h"

#include <curl/curl.h>

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

// Remembers which command the client sent last, so a refusal can be told
// apart by the step it ended (recipient, data, log-in). Nothing else of the
// dialogue is kept: it carries the credentials.
int watchCommands(CURL *, curl_infotype type, char *data, size_t size, void *userData)
{
    if (type != CURLINFO_HEADER_OUT || size < 4)
        return 0;
    const QByteArray command = QByteArray(data, 4).toUpper();
    if (command != "QUIT" && command != "RSET")
        *static_cast<QByteArray *>(userData) = command;
    return 0;
}

ULONG mailCode(CURLcode result, long responseCode, const QByteArray &lastCommand)
{
    if (result == CURLE_OK)
        return SUCCESS_SUCCESS;
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
    QByteArray lastCommand;
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

ULONG SmtpTransport::perform(Handle &handle) const
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
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, watchCommands);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &handle.lastCommand);
    if (m_settings.tls == TlsMode::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    handle.lastCommand.clear();
    const CURLcode result = curl_easy_perform(curl);
    long responseCode = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &responseCode);
    return mailCode(result, responseCode, handle.lastCommand);
}

ULONG SmtpTransport::probe()
{
    Handle probeHandle;
    if (!probeHandle.curl)
        return MAPI_E_INSUFFICIENT_MEMORY;
    curl_easy_setopt(probeHandle.curl, CURLOPT_CONNECT_ONLY, 1L);
    const ULONG code = perform(probeHandle);
    return code == SUCCESS_SUCCESS ? code : MAPI_E_LOGIN_FAILURE;
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
    const ULONG code = perform(*m_handle);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_slist_free_all(recipients);
    return code;
}

}
