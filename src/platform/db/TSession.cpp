#include "platform/db/TSession.h"

#include "platform/db/TDatabase.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

TSession::TSession(QObject *owner) : QObject(owner)
{}

QString TSession::ConfigFile() const
{
    if (!m_configFile.isEmpty())
        return m_configFile;
    const QString fromEnvironment = qEnvironmentVariable("TINTLEN_ALIASES");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString installation = os::installationSettingsFile(QStringLiteral("aliases.ini"));
    if (!installation.isEmpty())
        return installation;
    return QDir::homePath() + QStringLiteral("/.config/tintlen/aliases.ini");
}

void TSession::SetConfigFile(const QString &path)
{
    m_configFile = path;
    m_aliasesLoaded = false;
    m_aliases.clear();
}

void TSession::AddPassword(const QString &password)
{
    if (!m_passwords.contains(password))
        m_passwords.append(password);
}

void TSession::RemovePassword(const QString &password)
{
    m_passwords.removeAll(password);
}

void TSession::RemoveAllPasswords()
{
    m_passwords.clear();
}

void TSession::loadAliases()
{
    if (m_aliasesLoaded)
        return;
    m_aliasesLoaded = true;
    m_aliases.clear();
    QFile file(ConfigFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line.compare(QStringLiteral("[Aliases]"), Qt::CaseInsensitive) == 0;
        else if (inSection && line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char(';')))
            m_aliases.append(
                {line.section(QLatin1Char('='), 0, 0).trimmed(), line.section(QLatin1Char('='), 1).trimmed()});
    }
}

void TSession::GetAliasNames(QStringList &list)
{
    loadAliases();
    list.clear();
    for (const auto &alias : std::as_const(m_aliases))
        list.append(alias.first);
}

void TSession::GetAliasParams(const QString &alias, QStringList &list)
{
    list.clear();
    if (!IsAlias(alias))
        throw EDatabaseError(QStringLiteral("Alias '%1' existiert nicht").arg(alias));
    list.append(QStringLiteral("PATH=") + AliasPath(alias));
}

bool TSession::IsAlias(const QString &name)
{
    loadAliases();
    for (const auto &alias : std::as_const(m_aliases))
        if (alias.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString TSession::AliasPath(const QString &name)
{
    loadAliases();
    for (const auto &alias : std::as_const(m_aliases))
        if (alias.first.compare(name, Qt::CaseInsensitive) == 0)
            return alias.second;
    return QString();
}

void TSession::AddStandardAlias(const QString &name, const QString &path, const QString &driver)
{
    Q_UNUSED(driver);
    if (IsAlias(name))
        throw EDatabaseError(QStringLiteral("Alias '%1' existiert bereits").arg(name));
    m_aliases.append({name, path});
}

void TSession::DeleteAlias(const QString &name)
{
    loadAliases();
    for (int i = 0; i < m_aliases.size(); ++i)
        if (m_aliases[i].first.compare(name, Qt::CaseInsensitive) == 0)
            m_aliases.removeAt(i--);
}

void TSession::SaveConfigFile()
{
    loadAliases();
    const QString path = ConfigFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    runtime::ReplacingFile file(path);
    if (!file.open())
        throw EInOutError(QStringLiteral("Die Datei '%1' kann nicht geschrieben werden.").arg(path));
    QTextStream out(&file.file());
    out << "[Aliases]\n";
    for (const auto &alias : std::as_const(m_aliases))
        out << alias.first << '=' << alias.second << '\n';
    out.flush();
    if (!file.commit())
        throw EInOutError(QStringLiteral("Die Datei '%1' kann nicht geschrieben werden.").arg(path));
}

QString TSession::DatabaseFolderAsNamed(const QString &databaseName)
{
    const QString name = databaseName.trimmed();
    if (name.isEmpty())
        return QString();
    if (TDatabase *database = FindDatabase(name))
        return database->Directory();
    return IsAlias(name) ? AliasPath(name) : name;
}

QString TSession::ResolveDatabaseFolder(const QString &databaseName)
{
    const QString folder = DatabaseFolderAsNamed(databaseName);
    return folder.isEmpty() || QFileInfo::exists(folder) ? folder : os::resolvePath(folder);
}

void TSession::registerDatabase(TDatabase *database)
{
    if (!m_databases.contains(database))
        m_databases.append(database);
}

void TSession::unregisterDatabase(TDatabase *database)
{
    m_databases.removeAll(database);
}

TDatabase *TSession::FindDatabase(const QString &name) const
{
    for (TDatabase *database : m_databases)
        if (database->DatabaseName().compare(name, Qt::CaseInsensitive) == 0)
            return database;
    return nullptr;
}

QString TSession::PrivateDir()
{
    if (!m_privateDir)
        m_privateDir = std::make_unique<QTemporaryDir>(os::tempFolder() + QStringLiteral("tintlen-privat-XXXXXX"));
    if (!m_privateDir->isValid()) {
        m_privateDir.reset();
        throw EDatabaseError(QStringLiteral("Das Arbeitsverzeichnis der Sitzung kann nicht angelegt werden."));
    }
    return m_privateDir->path();
}

TSession *Session()
{
    static TSession session;
    return &session;
}
