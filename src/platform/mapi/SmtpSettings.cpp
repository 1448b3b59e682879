#include "platform/mapi/SmtpSettings.h"

#include "platform/os/IniFile.h"

namespace mapi {

const QString SmtpSection = QStringLiteral("E-Mail-Server");

namespace {

TlsMode tlsModeOf(const QString &text)
{
    const QString mode = text.trimmed().toUpper();
    if (mode == QLatin1String("STARTTLS"))
        return TlsMode::StartTls;
    if (mode == QLatin1String("SSL") || mode == QLatin1String("TLS"))
        return TlsMode::Implicit;
    return TlsMode::None;
}

}

int SmtpSettings::effectivePort() const
{
    if (port > 0)
        return port;
    switch (tls) {
    case TlsMode::Implicit:
        return 465;
    case TlsMode::StartTls:
        return 587;
    case TlsMode::None:
        break;
    }
    return 25;
}

QString SmtpSettings::url() const
{
    const QString scheme = tls == TlsMode::Implicit ? QStringLiteral("smtps") : QStringLiteral("smtp");
    return scheme + QStringLiteral("://") + server + QLatin1Char(':') + QString::number(effectivePort());
}

SmtpSettings readSmtpSettings(const QString &iniPath)
{
    const TIniFile ini(iniPath);
    const auto text = [&](const char *key) { return ini.ReadString(SmtpSection, QLatin1String(key), QString()); };
    SmtpSettings settings;
    settings.server = text("Server");
    settings.port = ini.ReadInteger(SmtpSection, QStringLiteral("Port"), 0);
    settings.tls = tlsModeOf(text("Verschluesselung"));
    settings.user = text("Benutzer");
    settings.password = text("Passwort");
    settings.senderAddress = text("Absender");
    settings.senderName = text("AbsenderName");
    settings.connectTimeoutSeconds = ini.ReadInteger(SmtpSection, QStringLiteral("VerbindungsTimeout"), 20);
    settings.transferTimeoutSeconds = ini.ReadInteger(SmtpSection, QStringLiteral("SendeTimeout"), 120);
    return settings;
}

}
