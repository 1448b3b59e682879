#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class TSession;

// A named database: an application-level name for a folder of tables.
class TDatabase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(QString AliasName READ AliasName WRITE SetAliasName)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)
    Q_PROPERTY(bool LoginPrompt READ LoginPrompt WRITE SetLoginPrompt)
public:
    explicit TDatabase(QObject *owner = nullptr);
    ~TDatabase() override;

    const QString &DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString &name) { m_databaseName = name; }
    const QString &AliasName() const { return m_aliasName; }
    void SetAliasName(const QString &name) { m_aliasName = name; }
    QStringList &Params() { return m_params; }
    bool Connected() const { return m_connected; }
    void SetConnected(bool connected);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }
    bool LoginPrompt() const { return m_loginPrompt; }
    void SetLoginPrompt(bool prompt) { m_loginPrompt = prompt; }
    TSession *Session() const;
    // The folder its tables live in: the PATH parameter, the alias's folder,
    // else the database name itself.
    QString Directory() const;

    // A transaction over the writes of the tables of this database until
    // Commit or Rollback.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }

    // A table joins the running transaction with its finishing action
    // (true = commit, false = roll back).
    using TransactionMember = std::function<void(bool commit)>;
    void enlist(const void *member, TransactionMember finish);
    void leave(const void *member, bool commit);

private:
    QString m_databaseName;
    QString m_aliasName;
    QStringList m_params;
    bool m_connected = false;
    bool m_loginPrompt = false;
    bool m_inTransaction = false;
    QList<QPair<const void *, TransactionMember>> m_members;

    void finishTransaction(bool commit);
};
