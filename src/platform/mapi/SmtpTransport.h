#pragma once

#include "platform/mapi/SimpleMapi.h"
#include "platform/mapi/SmtpSettings.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

namespace mapi {

// One connection to the configured server, kept open from message to
// message by libcurl and closed (QUIT) when the object goes.
class SmtpTransport
{
public:
    explicit SmtpTransport(const SmtpSettings &settings);
    ~SmtpTransport();
    SmtpTransport(const SmtpTransport &) = delete;
    SmtpTransport &operator=(const SmtpTransport &) = delete;

    // Connects, greets and authenticates without sending anything.
    ULONG probe();
    // Hands the message to the server for every envelope recipient; the
    // result is one of the mail codes.
    ULONG send(const QStringList &envelopeRecipients, const QByteArray &message);
    // Why the last call failed, naming the server (German, one line); empty
    // after a success. Never holds the credentials.
    const QString &lastFailure() const { return m_lastFailure; }

private:
    struct Handle;
    // The transfer runs on a worker thread behind a box that can cancel it.
    ULONG perform(Handle &handle, const QString &progressText);
    QString serverName() const;
    QString failureReason(int result, long responseCode, const QByteArray &reply) const;

    SmtpSettings m_settings;
    std::unique_ptr<Handle> m_handle;
    int m_messagesSent = 0;
    QString m_lastFailure;
};

}
