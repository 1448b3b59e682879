#include "platform/db/ValidityChecks.h"

#include "platform/db/SqliteConnection.h"
#include "platform/runtime/Exceptions.h"

#include <QMap>

namespace db {

const QString validityCheckTable = QStringLiteral("$ValidityChecks");

namespace {

int fieldNumber(const QVector<TFieldDef> &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    throw EDatabaseError(QStringLiteral("Gültigkeitsprüfung: Feld '%1' nicht gefunden.").arg(name));
}

bool keepsChecks(Connection &connection)
{
    Statement table =
        connection.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    table.bind(1, validityCheckTable);
    return table.step();
}

}

void writeValidityChecks(Connection &connection, const QVector<TFieldDef> &fields, const QVector<ValidityCheck> &checks)
{
    QMap<int, QString> pictures;
    for (const ValidityCheck &check : checks)
        pictures.insert(fieldNumber(fields, check.fieldName), check.picture);
    connection.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (FieldNumber INTEGER PRIMARY KEY, Picture TEXT)")
                        .arg(quoteIdentifier(validityCheckTable)));
    const QString insert = QStringLiteral("INSERT OR REPLACE INTO %1 (FieldNumber, Picture) VALUES (?, ?)")
                               .arg(quoteIdentifier(validityCheckTable));
    for (auto it = pictures.constBegin(); it != pictures.constEnd(); ++it) {
        Statement statement = connection.prepare(insert);
        statement.bindAll({it.key(), it.value()});
        statement.step();
    }
}

QVector<ValidityCheck> readValidityChecks(Connection &connection, const QVector<TFieldDef> &fields)
{
    QVector<ValidityCheck> checks;
    if (!keepsChecks(connection))
        return checks;
    Statement read = connection.prepare(
        QStringLiteral("SELECT FieldNumber, Picture FROM %1 WHERE Picture <> '' ORDER BY FieldNumber")
            .arg(quoteIdentifier(validityCheckTable)));
    while (read.step()) {
        const qint64 number = read.columnInt64(0);
        if (number >= 1 && number <= fields.size())
            checks.append({fields[number - 1].Name, read.column(1).toString()});
    }
    return checks;
}

}
