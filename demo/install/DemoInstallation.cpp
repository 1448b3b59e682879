#include "demo/install/DemoInstallation.h"

#include "demo/install/MailTemplates.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/MailProgramFolder.h"
#include "platform/db/TSession.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cstdio>

namespace demo {

namespace {

struct InstallationFolders
{
    QString program;
    QString data;
    QString forms;
    QString user;
    QString temp;
    QString attachments;
};

QString makeFolder(const QString &root, const QString &name)
{
    const QString path = root + QLatin1Char('/') + name;
    if (!QDir().mkpath(path))
        throw EInOutError(QStringLiteral("Verzeichnis kann nicht angelegt werden: ") + path);
    return path;
}

void copyExecutable(const QString &executable, const QString &programFolder)
{
    const QString target = programFolder + QLatin1Char('/') + QFileInfo(executable).fileName();
    if (QFile::exists(target) && !QFile::remove(target))
        throw EInOutError(QStringLiteral("Alte Programmdatei kann nicht ersetzt werden: ") + target);
    if (!QFile::copy(executable, target))
        throw EInOutError(QStringLiteral("Programmdatei kann nicht kopiert werden: ") + executable);
}

// The help file goes beside the program under the program's name, where the
// help's file picker looks for it.
void copyHelpFile(const QString &programFolder)
{
    const QString target = programFolder + QStringLiteral("/tintlen.chm");
    if (!QFile::copy(QStringLiteral(TINTLEN_DEMO_HELP_FILE), target))
        throw EInOutError(QStringLiteral("Die Hilfedatei %1 kann nicht kopiert werden.").arg(TINTLEN_DEMO_HELP_FILE));
}

// The request an order-processing product would leave behind: print the
// invoice of one demo order. The paths are those of the finished
// installation, wherever the file is written.
void writeIniFile(const QString &programFolder, const InstallationFolders &folders, const QString &mailbox)
{
    TIniFile ini(programFolder + QStringLiteral("/Tintlen.ini"));
    const QString init = QStringLiteral("Init");
    ini.WriteString(init, QStringLiteral("FormularPfad"), folders.forms);
    ini.WriteString(init, QStringLiteral("DatenPfad"), folders.data);
    ini.WriteString(init, QStringLiteral("UserPfad"), folders.user);
    ini.WriteString(init, QStringLiteral("TempPfad"), folders.temp);
    ini.WriteString(init, QStringLiteral("Datenpfad_QRB"), mailbox);
    ini.WriteString(init, QStringLiteral("Hilfedatei"), folders.program + QStringLiteral("/tintlen.chm"));
    ini.WriteString(init, QStringLiteral("ToPrint"), QStringLiteral("Auftrag"));

    // Mails go to the demo's own mail server (scripts/demo starts it); with
    // "Standardclient=0" they go into the demo mail program's outbox instead.
    ini.WriteString(init, QStringLiteral("Standardclient"), QStringLiteral("1"));
    ini.WriteString(init, QStringLiteral("Anlagenpfad"), folders.attachments);
    const QString mailServer = QStringLiteral("E-Mail-Server");
    ini.WriteString(mailServer, QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
    ini.WriteString(mailServer, QStringLiteral("Port"), QStringLiteral("8025"));
    ini.WriteString(mailServer, QStringLiteral("Verschluesselung"), QStringLiteral("keine"));
    ini.WriteString(mailServer, QStringLiteral("Absender"), QStringLiteral("buero@tintlen-demo.example"));
    ini.WriteString(mailServer, QStringLiteral("AbsenderName"), QStringLiteral("Tintlen Demo GmbH"));

    const QString request = QStringLiteral("Auftrag");
    ini.WriteString(request, QStringLiteral("FormFilterTyp"), QStringLiteral("Rechnung"));
    ini.WriteString(request, QStringLiteral("FormTyp"), QStringLiteral("L"));
    ini.WriteString(request, QStringLiteral("Datenbereich"), QStringLiteral("E"));
    ini.WriteString(request, QStringLiteral("Datensatz"), demoOrderNumber);
}

InstallationFolders foldersUnder(const QString &root, bool create)
{
    const auto folder = [&](const char *name) {
        return create ? makeFolder(root, QLatin1String(name)) : root + QLatin1Char('/') + QLatin1String(name);
    };
    return {folder("programm"), folder("daten"), folder("formulare"),
            folder("benutzer"), folder("temp"),  folder("anlagen")};
}

void renameOrFail(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw EInOutError(QStringLiteral("Verzeichnis kann nicht verschoben werden: %1 nach %2").arg(from, to));
}

// Each finished folder takes the place of its predecessor; the old one is
// removed only when the new one is in place.
void moveIntoPlace(const QString &built, const QString &root)
{
    for (const QString &name : QDir(built).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = root + QLatin1Char('/') + name;
        const QString replaced = root + QStringLiteral("/.%1.alt-%2").arg(name).arg(QCoreApplication::applicationPid());
        const bool existed = QFileInfo::exists(target);
        if (existed)
            renameOrFail(target, replaced);
        renameOrFail(built + QLatin1Char('/') + name, target);
        if (existed)
            QDir(replaced).removeRecursively();
    }
}

// The demo keeps its registry, aliases and printer settings beside its
// program, where the program started from there finds them: another
// installation's settings in the user's folder stay untouched.
void registerBesideProgram(const QString &programFolder, const DemoOptions &registration)
{
    for (const char *name : {"registry.ini", "aliases.ini", "settings.ini"}) {
        QFile file(programFolder + QLatin1Char('/') + QLatin1String(name));
        if (!file.exists() && !file.open(QIODevice::WriteOnly))
            throw EInOutError(QStringLiteral("Einstellungsdatei kann nicht angelegt werden: ") + file.fileName());
    }
    const QString previousFolder = os::executableFolder();
    os::setExecutableFolder(programFolder);
    Session()->SetConfigFile(QString());
    const auto restore = qScopeGuard([&previousFolder] {
        os::setExecutableFolder(previousFolder);
        Session()->SetConfigFile(QString());
    });
    registerInstallation(registration);
}

}

void buildInstallation(const QString &folder, const QString &executable)
{
    const QString root = QDir(folder).absolutePath();
    if (!QDir().mkpath(root))
        throw EInOutError(QStringLiteral("Verzeichnis kann nicht angelegt werden: ") + root);
    // Built aside and moved in when complete: a failure leaves the folder as it was.
    QTemporaryDir staging(root + QStringLiteral("/.aufbau-XXXXXX"));
    if (!staging.isValid())
        throw EInOutError(QStringLiteral("Verzeichnis kann nicht angelegt werden: ") + root);
    const InstallationFolders building = foldersUnder(staging.path(), true);
    const InstallationFolders finished = foldersUnder(root, false);
    if (!executable.isEmpty())
        copyExecutable(executable, building.program);
    // The help viewer goes with the program when it was built beside it.
    const QString viewer = QFileInfo(executable).dir().filePath(QStringLiteral("tintlen-hilfe"));
    if (!executable.isEmpty() && QFileInfo(viewer).isExecutable())
        copyExecutable(viewer, building.program);
    copyHelpFile(building.program);
    DemoOptions finishedTables;
    finishedTables.dataFolder = finished.data;
    finishedTables.userFolder = finished.user;
    writeIniFile(building.program, finished, mailProgramPaths(completedOptions(finishedTables).mailFolder).mailbox);
    DemoOptions tables;
    tables.dataFolder = building.data;
    tables.userFolder = building.user;
    writeTables(tables);
    writeLayouts(building.forms);
    writeMailTemplates(building.forms);
    moveIntoPlace(staging.path(), root);
    // A real installation: the mail program is registered and the aliases
    // saved, with the paths of the folders in their place.
    DemoOptions registration;
    registration.dataFolder = finished.data;
    registration.userFolder = finished.user;
    registerBesideProgram(finished.program, registration);
}

}
