#include "UserFiles.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

void pointAt(const char *variable, const QString &path)
{
    setenv(variable, path.toLocal8Bit().constData(), 1);
}

// Qt refuses a runtime folder that others may enter.
void makePrivateFolder(const QString &path)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}

void isolateUserFiles(const QString &root)
{
    const auto point = [&root](const char *variable, const char *relative) {
        pointAt(variable, root + QLatin1Char('/') + QLatin1String(relative));
    };
    point("TINTLEN_REGISTRY", "registry.ini");
    point("TINTLEN_ALIASES", "aliases.ini");
    point("TINTLEN_SETTINGS", "settings.ini");
    point("TINTLEN_PDF_DIR", "pdf");
    point("XDG_STATE_HOME", "state");
    point("XDG_CONFIG_HOME", "config");
}

void isolateTestProcess(const QString &root)
{
    // A test that starts a copy of itself sets that copy's folders itself.
    const char *isolated = "TINTLEN_TEST_PROCESS_ISOLATED";
    if (qEnvironmentVariableIsSet(isolated))
        return;
    setenv(isolated, "1", 1);
    isolateUserFiles(root);
    for (const auto &[variable, relative] :
         {std::pair{"HOME", "home"}, {"TMPDIR", "tmp"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_RUNTIME_DIR", "runtime"}}) {
        const QString path = root + QLatin1Char('/') + QLatin1String(relative);
        makePrivateFolder(path);
        pointAt(variable, path);
    }
}
