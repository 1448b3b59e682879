#include "UserFiles.h"

#include <QDir>

#include <cstdlib>

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
