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

private:
    struct Handle;
    ULONG perform(Handle &handle) const;

    SmtpSettings m_settings;
    std::unique_ptr<Handle> m_handle;
};

}
