#include "platform/os/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace os {

namespace {

QString &executableFolderOverride()
{
    static QString folder;
    return folder;
}

// The entry of folder named like name without regard to case; an exact
// match wins over the others.
QString findEntry(const QString &folder, const QString &name)
{
    const QString direct = folder + name;
    if (QFileInfo::exists(direct))
        return name;
    const QStringList entries =
        QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

} // namespace

QString resolvePath(const QString &path)
{
    QString normal = path;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = normal.startsWith(QLatin1Char('/'));
    const bool trailing = normal.size() > 1 && normal.endsWith(QLatin1Char('/'));
    const QStringList parts = normal.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const QString entry =
            part == QLatin1String(".") || part == QLatin1String("..") ? part : findEntry(resolved, part);
        if (entry.isEmpty()) {
            resolved += parts.mid(i).join(QLatin1Char('/'));
            break;
        }
        resolved += entry;
        if (i + 1 < parts.size())
            resolved += QLatin1Char('/');
    }
    if (trailing && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved;
}

bool fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(resolvePath(path)).isFile();
}

bool directoryExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(resolvePath(path)).isDir();
}

QString includeTrailingSeparator(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path;
    const bool backslashesOnly = path.contains(QLatin1Char('\\')) && !path.contains(QLatin1Char('/'));
    return path + (backslashesOnly ? QLatin1Char('\\') : QLatin1Char('/'));
}

QString excludeTrailingSeparator(const QString &path)
{
    if (path == QLatin1String("/"))
        return path;
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path.chopped(1);
    return path;
}

QString executableFolder()
{
    const QString &folder = executableFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void setExecutableFolder(const QString &folder)
{
    executableFolderOverride() = excludeTrailingSeparator(folder);
}

QString installationSettingsFile(const QString &name)
{
    const QString beside = executableFolder() + QLatin1Char('/') + name;
    return QFileInfo::exists(beside) ? beside : QString();
}

QString tempFolder()
{
    return includeTrailingSeparator(QDir::tempPath());
}

QString fileExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return dot > separator ? path.mid(dot) : QString();
}

} // namespace os
