#include "demo/tables/TableWriter.h"

#include "demo/tables/DemoFolders.h"
#include "demo/tables/RowCheck.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace demo {
namespace {

QString typeSpecOf(const FieldSpec &field)
{
    return field.size > 0 ? QString(field.type) + QString::number(field.size) : QString(field.type);
}

void describe(TTable &table, const TableSpec &spec)
{
    for (const FieldSpec &field : spec.fields)
        table.FieldDefs()->AddParadox(field.name, typeSpecOf(field));
    if (spec.keyFieldCount > 0)
        table.IndexDefs()->Add(QString(), spec.keyFields().join(QLatin1Char(';')), ixPrimary | ixUnique);
    for (const IndexSpec &index : spec.indexes)
        table.IndexDefs()->Add(index.name, index.fields.join(QLatin1Char(';')),
                               index.caseInsensitive ? ixCaseInsensitive : 0);
    for (const PictureSpec &picture : spec.pictures)
        table.ValidityCheckDefs().append({picture.field, picture.picture});
}

void appendRow(TTable &table, const Row &row)
{
    table.Append();
    for (auto it = row.constBegin(); it != row.constEnd(); ++it)
        table.FieldByName(it.key())->SetValue(it.value());
    table.Post();
}

// All rows go in as one transaction: a single commit instead of one per
// row keeps the load-test tables quick to build.
void fill(const TableSpec &spec, const QString &folder, int count, const RowSource &source)
{
    TDatabase database;
    database.SetDatabaseName(folder);
    database.Open();
    TTable table;
    table.SetDatabaseName(folder);
    table.SetTableName(spec.fileName);
    describe(table, spec);
    table.CreateTable();
    table.Open();
    database.StartTransaction();
    try {
        for (int i = 0; i < count; ++i) {
            const Row row = source(i);
            checkRow(spec, row, i + 1);
            appendRow(table, row);
        }
        database.Commit();
    } catch (...) {
        database.Rollback();
        throw;
    }
    table.Close();
}

// Table files that answer to the same name in another case would shadow
// the new table on a case-free lookup; they go once the new one is in place.
void removeNamesakes(const QDir &folder, const QString &fileName)
{
    for (const QString &entry : folder.entryList(QDir::Files)) {
        if (entry != fileName && entry.compare(fileName, Qt::CaseInsensitive) == 0
            && !QFile::remove(folder.filePath(entry)))
            throw EInOutError(QStringLiteral("Die Datei %1 kann nicht ersetzt werden.").arg(folder.filePath(entry)));
    }
}

}

QString writeTableFile(const TableSpec &spec, const QString &folder, int count, const RowSource &source)
{
    ensureFolder(folder);
    const QDir target(folder);
    // The table is built beside its final place and moved in only when it is
    // complete: an error leaves the folder as it was.
    QTemporaryDir building(target.filePath(QStringLiteral(".demo-XXXXXX")));
    if (!building.isValid())
        throw EInOutError(QStringLiteral("Im Ordner %1 kann keine Tabelle angelegt werden.").arg(folder));
    fill(spec, building.path(), count, source);
    // rename() puts the new file in the old one's place in one step, so a
    // writer killed at any moment leaves the old table or the new one.
    const QString finalPath = target.filePath(spec.fileName);
    if (std::rename(QFile::encodeName(QDir(building.path()).filePath(spec.fileName)).constData(),
                    QFile::encodeName(finalPath).constData())
        != 0)
        throw EInOutError(QStringLiteral("Die Tabelle %1 kann nicht angelegt werden.").arg(finalPath));
    removeNamesakes(target, spec.fileName);
    return finalPath;
}

QString writeTableFile(const TableSpec &spec, const QString &folder, const Rows &rows)
{
    checkRows(spec, rows);
    return writeTableFile(spec, folder, int(rows.size()), [&rows](int index) { return rows.at(index); });
}

}
