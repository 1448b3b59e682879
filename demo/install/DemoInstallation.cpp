#include "demo/install/DemoInstallation.h"

#include "demo/install/MailTemplates.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoTables.h"
#include "demo/tables/MailProgramFolder.h"
#include "platform/os/IniFile.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
QString copyHelpFile(const QString &programFolder)
{
    const QString target = programFolder + QStringLiteral("/tintlen.chm");
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(TINTLEN_DEMO_HELP_FILE), target))
        throw EInOutError(QStringLiteral("Die Hilfedatei %1 kann nicht kopiert werden.").arg(TINTLEN_DEMO_HELP_FILE));
    return target;
}

// The request an order-processing product would leave behind: print the
// invoice of one demo order.
void writeIniFile(const InstallationFolders &folders, const QString &mailbox)
{
    TIniFile ini(folders.program + QStringLiteral("/Tintlen.ini"));
    const QString init = QStringLiteral("Init");
    ini.WriteString(init, QStringLiteral("FormularPfad"), folders.forms);
    ini.WriteString(init, QStringLiteral("DatenPfad"), folders.data);
    ini.WriteString(init, QStringLiteral("UserPfad"), folders.user);
    ini.WriteString(init, QStringLiteral("TempPfad"), folders.temp);
    ini.WriteString(init, QStringLiteral("Datenpfad_QRB"), mailbox);
    ini.WriteString(init, QStringLiteral("Hilfedatei"), copyHelpFile(folders.program));
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

}

void buildInstallation(const QString &folder, const QString &executable)
{
    const QString root = QDir(folder).absolutePath();
    const InstallationFolders folders{makeFolder(root, QStringLiteral("programm")),
                                      makeFolder(root, QStringLiteral("daten")),
                                      makeFolder(root, QStringLiteral("formulare")),
                                      makeFolder(root, QStringLiteral("benutzer")),
                                      makeFolder(root, QStringLiteral("temp")),
                                      makeFolder(root, QStringLiteral("anlagen"))};
    if (!executable.isEmpty())
        copyExecutable(executable, folders.program);
    // A real installation: the mail program is registered and the aliases saved.
    DemoOptions tables;
    tables.dataFolder = folders.data;
    tables.userFolder = folders.user;
    tables.registerMailProgram = true;
    tables.registerAliases = true;
    writeIniFile(folders, mailProgramPaths(completedOptions(tables).mailFolder).mailbox);
    writeTables(tables);
    writeLayouts(folders.forms);
    writeMailTemplates(folders.forms);
}

}
