#include "demo/install/DemoInstallation.h"
#include "demo/install/MailTemplates.h"
#include "mail/formularmodul.h"
#include "platform/db/TSession.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/os/SystemPrinterService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Takes the program's settings variables away for its lifetime, so that the
// program looks for its files as it does on a user's machine.
class WithoutSettingsOverrides
{
public:
    WithoutSettingsOverrides()
    {
        for (const char *name : kNames) {
            m_saved << qgetenv(name);
            qunsetenv(name);
        }
    }
    ~WithoutSettingsOverrides()
    {
        for (int i = 0; i < int(std::size(kNames)); ++i)
            qputenv(kNames[i], m_saved.at(i));
    }

private:
    static constexpr const char *kNames[] = {"TINTLEN_REGISTRY", "TINTLEN_ALIASES", "TINTLEN_SETTINGS"};
    QList<QByteArray> m_saved;
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// The demo keeps its registry, aliases and printer settings inside its own
// installation; another installation's files in the user's settings folder
// stay as they were, and the program started from the demo finds its own.
TEST(InstallationSettings, TheDemoKeepsItsSettingsBesideItsProgram)
{
    QTemporaryDir dir;
    const QString userSettings = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/tintlen");
    ASSERT_TRUE(QDir().mkpath(userSettings));
    const QByteArray other = "[HKEY_LOCAL_MACHINE\\\\Software\\\\Velmora\\\\Kuvertalia\\\\1.0]\nPfad=/anderswo\n";
    for (const char *name : {"/registry.ini", "/aliases.ini"}) {
        QFile file(userSettings + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(other);
    }
    const WithoutSettingsOverrides userMachine;
    const QString root = dir.filePath(QStringLiteral("demo"));
    demo::buildInstallation(root, QString());
    for (const char *name : {"/registry.ini", "/aliases.ini"})
        EXPECT_EQ(contentOf(userSettings + QLatin1String(name)), other) << name;

    const QString program = root + QStringLiteral("/programm");
    os::setExecutableFolder(program);
    EXPECT_EQ(TRegistry::storagePath(), program + QStringLiteral("/registry.ini"));
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenKeyReadOnly(QStringLiteral("Software\\Velmora\\Kuvertalia\\1.0")));
    EXPECT_TRUE(registry.ReadString(QStringLiteral("Pfad")).startsWith(root))
        << registry.ReadString("Pfad").toStdString();
    Session()->SetConfigFile(QString());
    EXPECT_EQ(Session()->ConfigFile(), program + QStringLiteral("/aliases.ini"));
    EXPECT_EQ(Session()->AliasPath(QStringLiteral("zvdb")), root + QStringLiteral("/daten"));
    EXPECT_EQ(os::SystemPrinterService::settingsPath(), program + QStringLiteral("/settings.ini"));
    os::setExecutableFolder(QString());
    Session()->SetConfigFile(QString());
}

// Every demo e-mail has a covering text for attachment mode, and shows
// prices and totals exactly where its printed document does.
TEST(DemoMailTemplates, PricesWhereThePaperHasThemAndAlwaysACoveringText)
{
    QTemporaryDir dir;
    demo::writeMailTemplates(dir.path());
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.frm")}, QDir::Files);
    ASSERT_GE(files.size(), 10);
    for (const QString &file : files) {
        TFormular formular;
        ASSERT_TRUE(formular.LoadFromFile(dir.filePath(file)));
        const QString text =
            formular.Section(fsTabelleneintrag).join('\n') + formular.Section(fsFormularende).join('\n');
        const bool quantitiesOnly = file.contains("Lieferschein") || file.contains("Anfrage")
                                    || file.contains("Stornierung") || file.contains("Sonstiges");
        EXPECT_EQ(text.contains("gpreis"), !quantitiesOnly) << file.toStdString();
        EXPECT_EQ(text.contains("Gesamtbetrag"), !quantitiesOnly) << file.toStdString();
        EXPECT_FALSE(formular.Section(fsAnlage).join(QString()).trimmed().isEmpty()) << file.toStdString();
    }
}
