#pragma once

#include <QString>

namespace mapi {

enum class TlsMode { None, StartTls, Implicit };

// The mail server section of the program's ini file.
struct SmtpSettings
{
    QString server;
    int port = 0; // 0: the mode's usual port
    TlsMode tls = TlsMode::None;
    QString user;
    QString password;
    QString senderAddress;
    QString senderName;
    int connectTimeoutSeconds = 20;
    int transferTimeoutSeconds = 120;

    // A server and a sender address are the least a message needs.
    bool complete() const { return !server.isEmpty() && !senderAddress.isEmpty(); }
    int effectivePort() const;
    QString url() const;
};

extern const QString SmtpSection;

SmtpSettings readSmtpSettings(const QString &iniPath);

}
