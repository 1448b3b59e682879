#include "demo/tables/DemoTables.h"

#include "demo/tables/MailProgramFolder.h"
#include "demo/tables/TableCatalog.h"
#include "demo/tables/TableWriter.h"
#include "platform/db/TSession.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>

namespace demo {
namespace {

QString besideData(const QString &dataFolder, const QString &name)
{
    return QDir(dataFolder).absoluteFilePath(QStringLiteral("../") + name);
}

void registerAlias(const QString &name, const QString &folder)
{
    TSession *session = Session();
    if (session->IsAlias(name))
        session->DeleteAlias(name);
    session->AddStandardAlias(name, folder, QStringLiteral("STANDARD"));
}

void registerAliases(const DemoOptions &options)
{
    registerAlias(QStringLiteral("zvdb"), options.dataFolder);
    registerAlias(QStringLiteral("zvuser"), options.aliasFolder);
    Session()->SaveConfigFile();
}

bool isPositionTable(const TableSpec &spec)
{
    return spec.fileName == QLatin1String("atrpos.db");
}

}

DemoOptions completedOptions(const DemoOptions &options)
{
    if (options.dataFolder.isEmpty())
        throw EInOutError(QStringLiteral("Für die Demo-Tabellen wurde kein Datenordner angegeben."));
    DemoOptions completed = options;
    completed.dataFolder = QDir(options.dataFolder).absolutePath();
    if (completed.userFolder.isEmpty())
        completed.userFolder = QDir::cleanPath(besideData(completed.dataFolder, QStringLiteral("benutzer")));
    if (completed.aliasFolder.isEmpty())
        completed.aliasFolder = completed.userFolder;
    if (completed.mailFolder.isEmpty())
        completed.mailFolder = QDir::cleanPath(besideData(completed.dataFolder, QStringLiteral("kuvertalia")));
    return completed;
}

QString tableFolder(const TableSpec &spec, const DemoOptions &options)
{
    const DemoOptions completed = completedOptions(options);
    const MailProgramPaths mail = mailProgramPaths(completed.mailFolder);
    switch (spec.folder) {
    case TableFolder::User:
        return completed.userFolder;
    case TableFolder::Alias:
        return completed.aliasFolder;
    case TableFolder::MailData:
        return mail.data;
    case TableFolder::MailUser:
        return mail.user;
    case TableFolder::Mailbox:
        return mail.mailbox;
    default:
        return completed.dataFolder;
    }
}

void writeTables(const QString &dataFolder)
{
    writeTables(DemoOptions{dataFolder, {}, {}, {}, 0, false, false});
}

void writeTables(const DemoOptions &options)
{
    const DemoOptions completed = completedOptions(options);
    writeMailProgramFiles(mailProgramPaths(completed.mailFolder), completed.registerMailProgram);
    for (const TableSpec &spec : tableCatalog()) {
        const QString folder = tableFolder(spec, completed);
        if (isPositionTable(spec) && completed.positionCount > 0)
            writePositionTable(folder, completed.positionCount);
        else
            writeTableFile(spec, folder, demoRows(spec.fileName));
    }
    if (completed.registerAliases)
        registerAliases(completed);
}

void registerInstallation(const DemoOptions &options)
{
    const DemoOptions completed = completedOptions(options);
    writeMailProgramFiles(mailProgramPaths(completed.mailFolder), true);
    registerAliases(completed);
}

QString writeTable(const QString &tableName, const QString &folder)
{
    return writeTableFile(tableSpec(tableName), folder, demoRows(tableName));
}

QString writeTable(const QString &tableName, const QString &folder, const Rows &rows)
{
    return writeTableFile(tableSpec(tableName), folder, rows);
}

QString writePositionTable(const QString &folder, int count)
{
    const Rows demo = demoRows(QStringLiteral("atrpos.db"));
    const int demoCount = int(demo.size());
    return writeTableFile(tableSpec(QStringLiteral("atrpos.db")), folder, qMax(count, demoCount),
                          [&demo, demoCount](int index) {
                              return index < demoCount ? demo.at(index) : bulkPositionRow(index - demoCount);
                          });
}

}
