#include "demo/tables/MailProgramFolder.h"

#include "demo/tables/DemoFolders.h"
#include "demo/tables/MailProgramData.h"
#include "platform/os/IniFile.h"
#include "platform/os/Registry.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>

namespace demo {
namespace {

void writeIni(const MailProgramPaths &paths)
{
    TIniFile ini(QDir(paths.root).filePath(QStringLiteral("kuvertalia.ini")));
    ini.WriteString("Path", "Data", paths.data);
    ini.WriteString("Path", "User", paths.user);
    ini.WriteString("Path", "Temp", paths.temp);
    ini.WriteString("Path", "Forms", paths.forms);
    ini.WriteString("Path", "Print", paths.root);
    ini.WriteString("Path", "Help", paths.root);
    ini.WriteString("Path", "Oravantis", paths.root);
    ini.WriteString("QRBPath", "Data", paths.mailbox);
    ini.WriteString("QRBPath", "Download", paths.download);
    ini.WriteString("QRBPath", "Address", paths.address);
}

void registerMailProgram(const QString &root)
{
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(QStringLiteral("Software\\Velmora\\Kuvertalia\\1.0"), true))
        throw EInOutError(QStringLiteral("Der Registrierungsschlüssel von Kuvertalia kann nicht angelegt werden."));
    registry.WriteString(QStringLiteral("Pfad"), root);
    registry.CloseKey();
}

}

MailProgramPaths mailProgramPaths(const QString &root)
{
    const QDir dir(root);
    return MailProgramPaths{dir.absolutePath(),
                            dir.absoluteFilePath("Daten"),
                            dir.absoluteFilePath("Benutzer"),
                            dir.absoluteFilePath("Temp"),
                            dir.absoluteFilePath("Formulare"),
                            dir.absoluteFilePath("Postfach"),
                            dir.absoluteFilePath("Download"),
                            dir.absoluteFilePath("Adressen")};
}

void writeMailProgramFiles(const MailProgramPaths &paths, bool registerProgram)
{
    for (const QString &folder :
         {paths.root, paths.data, paths.user, paths.temp, paths.forms, paths.mailbox, paths.download, paths.address})
        ensureFolder(folder);
    writeIni(paths);
    TIniFile(QDir(paths.user).filePath(QStringLiteral("frm.ini"))).WriteString("User", "Lastuser", demoMailUser());
    if (registerProgram)
        registerMailProgram(paths.root);
}

}
