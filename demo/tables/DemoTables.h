#pragma once

#include "demo/tables/DemoRows.h"
#include "demo/tables/TableSpec.h"

#include <QString>

namespace demo {

// Where the tables of an installation go. Empty folders take their
// defaults beside the data folder: "benutzer" for the user path (and the
// folder of the alias zvuser), "kuvertalia" for the mail program.
struct DemoOptions
{
    QString dataFolder;
    QString userFolder;
    QString aliasFolder;
    QString mailFolder;
    // Rows of atrpos.db: the demo positions filled up with load-test
    // positions to this count (the benchmarks use 200,000); 0 = demo only.
    int positionCount = 0;
    // Writes the mail program's registry entry (HKEY_LOCAL_MACHINE,
    // "Software\Velmora\Kuvertalia\1.0", "Pfad"); off for fixtures, so that
    // tests never touch the user's registry stand-in by accident.
    bool registerMailProgram = false;
    // Saves the aliases "zvdb" (data folder) and "zvuser" (alias folder) in
    // the session's alias file; off for fixtures for the same reason.
    bool registerAliases = false;
};

// The options with every empty folder filled in.
DemoOptions completedOptions(const DemoOptions &options);

// Creates every table of the demo installation, with its data, in the
// folders of the default options for `dataFolder`, and the mail program's
// folder with its ini files.
void writeTables(const QString &dataFolder);
void writeTables(const DemoOptions &options);

// Writes the mail program's files with the final paths and registers it and
// the aliases, for tables already in place under the options' folders.
void registerInstallation(const DemoOptions &options);

// The folder a table belongs in under the given options.
QString tableFolder(const TableSpec &spec, const DemoOptions &options);

// Fixtures: one table of the catalog with its demo rows, or with the rows
// given, created in `folder` whatever folder the installation puts it in.
// Returns the path of the table file.
QString writeTable(const QString &tableName, const QString &folder);
QString writeTable(const QString &tableName, const QString &folder, const Rows &rows);

// The position table for load tests: the demo positions and then
// load-test positions up to `count` rows in all.
QString writePositionTable(const QString &folder, int count);

}
