#pragma once

#include "platform/db/QbeText.h"
#include "platform/db/TFieldDefs.h"

#include <QHash>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace db {

class Connection;

// The auxiliary tables a changing QBE text writes, named as the language
// names them: Deleted, Inserted and Changed keep the records deleted,
// inserted and changed (each changed one as it was before the change),
// KeyViol the records set aside because they would have broken a key of
// their table. Each is a table file with the fields of the tables it takes
// records from.
class QbeAuxiliaryTables
{
public:
    // The fields of a changed table, named as QbeChange names it.
    using FieldsOf = std::function<QVector<TFieldDef>(const QString &table)>;

    // Builds the tables the changes need, empty, in a folder of its own
    // inside `folder`; nothing there is replaced yet. Only auxiliary tables
    // an earlier change wrote are ever replaced: when `folder` holds a table
    // of one of their names that someone else made, they all go to
    // `otherwise` instead.
    QbeAuxiliaryTables(const QString &folder, const QString &otherwise, const QVector<QbeChange> &changes,
                       const FieldsOf &fieldsOf);
    ~QbeAuxiliaryTables();
    QbeAuxiliaryTables(const QbeAuxiliaryTables &) = delete;
    QbeAuxiliaryTables &operator=(const QbeAuxiliaryTables &) = delete;

    // The texts that run one change keeping its records, table files named
    // as texts name them, for runChange.
    QStringList texts(const QbeChange &change) const;
    // Runs a change's texts, as SQLite runs them, on a connection with their
    // tables attached and inside its transaction. A record whose change
    // would break a key is left as it was and kept in KeyViol instead; any
    // other error goes on to the caller.
    static void runChange(Connection &connection, QbeChange::Kind kind, const QStringList &sql);
    // Moves the tables into the folder, each replacing one of its name.
    void putInPlace();
    // Where putInPlace puts them.
    const QString &folder() const { return m_folder; }

private:
    QString builtPath(const QString &name) const;
    bool replacesOnlyAuxiliaryTables(const QString &folder) const;

    QString m_folder;
    std::unique_ptr<QTemporaryDir> m_building;
    QHash<QString, QStringList> m_changedFields;
    QStringList m_built;
};

}
