#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TDatabase;

// The database session: aliases (name -> folder) read from a configuration
// file, and the passwords the program registers.
class TSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString SessionName READ SessionName WRITE SetSessionName)
    Q_PROPERTY(QString ConfigFile READ ConfigFile WRITE SetConfigFile)
public:
    explicit TSession(QObject *owner = nullptr);

    const QString &SessionName() const { return m_sessionName; }
    void SetSessionName(const QString &name) { m_sessionName = name; }
    // The alias file: $TINTLEN_ALIASES, else ~/.config/tintlen/aliases.ini;
    // section [Aliases], one "name=folder" line per alias.
    QString ConfigFile() const;
    void SetConfigFile(const QString &path);

    void AddPassword(const QString &password);
    void RemovePassword(const QString &password);
    void RemoveAllPasswords();
    const QStringList &Passwords() const { return m_passwords; }

    void GetAliasNames(QStringList &list);
    void GetAliasParams(const QString &alias, QStringList &list);
    bool IsAlias(const QString &name);
    QString AliasPath(const QString &alias);
    void AddStandardAlias(const QString &name, const QString &path, const QString &driver);
    void DeleteAlias(const QString &name);
    void SaveConfigFile();

    // The folder a DatabaseName stands for: an alias's folder, else the
    // name itself as a folder (resolved without regard to case).
    QString ResolveDatabaseFolder(const QString &databaseName);
    // The same folder as the names spell it, without asking the file system.
    QString DatabaseFolderAsNamed(const QString &databaseName);
    void registerDatabase(TDatabase *database);
    void unregisterDatabase(TDatabase *database);
    TDatabase *FindDatabase(const QString &name) const;
    // The session's own working folder, closed to other users and removed
    // with the session: what the program writes for itself goes there, never
    // beside the user's tables. Made on first use; throws when it cannot be.
    QString PrivateDir();

private:
    void loadAliases();

    QString m_sessionName{QStringLiteral("Default")};
    QString m_configFile;
    QStringList m_passwords;
    QList<QPair<QString, QString>> m_aliases;
    bool m_aliasesLoaded = false;
    QList<TDatabase *> m_databases;
    std::unique_ptr<QTemporaryDir> m_privateDir;
};

// The program's default session.
TSession *Session();
