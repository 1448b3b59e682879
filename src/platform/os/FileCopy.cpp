#include "platform/os/FileCopy.h"

#include "platform/os/FileIdentity.h"
#include "platform/os/FileMask.h"
#include "platform/os/Paths.h"
#include "platform/runtime/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>

namespace os {

namespace {

bool sameFile(const QString &a, const QString &b)
{
    const std::optional<FileIdentity> first = identifyFile(a);
    return first && first == identifyFile(b);
}

bool copyContents(QFile &from, QFile &to)
{
    constexpr qint64 BlockSize = 0x2000;
    while (!from.atEnd()) {
        const QByteArray block = from.read(BlockSize);
        if (block.isEmpty() && from.error() != QFileDevice::NoError)
            return false;
        if (to.write(block) != block.size())
            return false;
    }
    return from.error() == QFileDevice::NoError;
}

CopyOutcome failure(CopyError error, const QString &text, const QString &path)
{
    return {error, text + path};
}

} // namespace

CopyOutcome copyFile(const QString &source, const QString &target)
{
    const QString from = resolvePath(source);
    QString to = resolvePath(target);
    if (QFileInfo(to).isDir())
        to = includeTrailingSeparator(to) + QFileInfo(from).fileName();
    QFile input(from);
    if (!QFileInfo(from).isFile() || !input.open(QIODevice::ReadOnly))
        return failure(CopyError::SourceUnreadable, QStringLiteral("Kann Datei nicht öffnen: "), source);
    if (sameFile(from, to))
        return failure(CopyError::SameFile, QStringLiteral("Quelle und Ziel sind dieselbe Datei: "), source);
    runtime::ReplacingFile output(to);
    if (!output.open())
        return failure(CopyError::TargetUnwritable, QStringLiteral("Kann Zieldatei nicht anlegen: "), target);
    if (!copyContents(input, output.file()) || !output.commit())
        return failure(CopyError::TargetUnwritable, QStringLiteral("Kann Zieldatei nicht schreiben: "), target);
    return {};
}

int deleteFiles(const QString &pathWithMask)
{
    int deleted = 0;
    for (const QString &file : findFiles(pathWithMask)) {
        if (QFile::remove(file))
            ++deleted;
    }
    return deleted;
}

} // namespace os
