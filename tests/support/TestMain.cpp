#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Tests never touch the user's own settings, registry, aliases, PDF folder
// or help trace: everything the program keeps per user goes into a folder
// of this test run.
void isolateUserFiles(const QString &root)
{
    const auto point = [&root](const char *variable, const char *relative) {
        setenv(variable, (root + QLatin1Char('/') + QLatin1String(relative)).toLocal8Bit().constData(), 1);
    };
    point("TINTLEN_REGISTRY", "registry.ini");
    point("TINTLEN_ALIASES", "aliases.ini");
    point("TINTLEN_SETTINGS", "settings.ini");
    point("TINTLEN_PDF_DIR", "pdf");
    point("XDG_STATE_HOME", "state");
    point("XDG_CONFIG_HOME", "config");
}

}

// Widget tests need an application object; the offscreen platform keeps
// them independent of a display.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir userFiles;
    isolateUserFiles(userFiles.path());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
