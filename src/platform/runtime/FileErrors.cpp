#include "platform/runtime/FileErrors.h"

#include <QDir>
#include <QFileInfo>

QString fileWriteFailure(const QString &path)
{
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const QString start = QStringLiteral("Die Datei %1 kann nicht geschrieben werden").arg(path);
    if (file.isDir())
        return start + QStringLiteral(", weil an ihrer Stelle ein Ordner steht.");
    const QFileInfo parent(file.absolutePath());
    if (!parent.isDir())
        return start + QStringLiteral(", weil es den Ordner %1 nicht gibt.").arg(folder);
    if (file.exists() && !file.isWritable())
        return start + QStringLiteral(", weil sie schreibgeschützt ist.");
    // The file is replaced through a temporary file beside it.
    if (!parent.isWritable())
        return start + QStringLiteral(", weil im Ordner %1 keine Dateien angelegt werden dürfen.").arg(folder);
    return start + QStringLiteral(". Ist der Datenträger voll oder nicht erreichbar?");
}

QString fileReadFailure(const QString &path)
{
    const QFileInfo file(path);
    const QString start = QStringLiteral("Die Datei %1 kann nicht gelesen werden").arg(path);
    if (file.isDir())
        return start + QStringLiteral(", weil an ihrer Stelle ein Ordner steht.");
    if (!file.exists())
        return start + QStringLiteral(", weil es sie nicht gibt.");
    if (!file.isReadable())
        return start + QStringLiteral(", weil der Zugriff auf sie nicht erlaubt ist.");
    return start + QStringLiteral(". Ist der Datenträger nicht erreichbar?");
}
