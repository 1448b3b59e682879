#include "platform/db/TDatabase.h"

#include "platform/db/TSession.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>

TDatabase::TDatabase(QObject *owner) : QObject(owner)
{
    ::Session()->registerDatabase(this);
}

TDatabase::~TDatabase()
{
    ::Session()->unregisterDatabase(this);
}

TSession *TDatabase::Session() const
{
    return ::Session();
}

QString TDatabase::Directory() const
{
    for (const QString &param : m_params)
        if (param.section(QLatin1Char('='), 0, 0).trimmed().compare(QStringLiteral("PATH"), Qt::CaseInsensitive) == 0)
            return param.section(QLatin1Char('='), 1).trimmed();
    if (!m_aliasName.isEmpty())
        return ::Session()->AliasPath(m_aliasName);
    if (::Session()->IsAlias(m_databaseName))
        return ::Session()->AliasPath(m_databaseName);
    return m_databaseName;
}

void TDatabase::StartTransaction()
{
    if (m_inTransaction)
        throw EDatabaseError(QStringLiteral("Datenbank '%1': Es läuft bereits eine Transaktion").arg(m_databaseName));
    m_inTransaction = true;
}

void TDatabase::finishTransaction(bool commit)
{
    if (!m_inTransaction)
        throw EDatabaseError(QStringLiteral("Datenbank '%1': Es läuft keine Transaktion").arg(m_databaseName));
    m_inTransaction = false;
    const auto members = m_members;
    m_members.clear();
    for (const auto &member : members)
        member.second(commit);
}

void TDatabase::Commit()
{
    finishTransaction(true);
}

void TDatabase::Rollback()
{
    finishTransaction(false);
}

void TDatabase::enlist(const void *member, TransactionMember finish)
{
    for (const auto &existing : std::as_const(m_members))
        if (existing.first == member)
            return;
    m_members.append({member, std::move(finish)});
}

void TDatabase::leave(const void *member, bool commit)
{
    for (int i = 0; i < m_members.size(); ++i) {
        if (m_members[i].first == member) {
            const TransactionMember finish = m_members[i].second;
            m_members.removeAt(i);
            finish(commit);
            return;
        }
    }
}

void TDatabase::SetConnected(bool connected)
{
    if (connected && !QDir(Directory()).exists())
        throw EDatabaseError(
            QStringLiteral("Datenbank '%1': Verzeichnis '%2' existiert nicht").arg(m_databaseName, Directory()));
    m_connected = connected;
}
