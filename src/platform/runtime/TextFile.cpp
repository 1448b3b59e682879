#include "platform/runtime/TextFile.h"

#include "platform/runtime/Cp1252.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileErrors.h"
#include "platform/runtime/ReplacingFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool isAscii(const QByteArray &bytes)
{
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    }
    return true;
}

QByteArray encodeFor(const QString &path, const QString &text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    bool lossless = true;
    QByteArray bytes = cp1252::encode(text, &lossless);
    if (!lossless)
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: Der Text "
                                         "enthält Zeichen, die Windows-1252 nicht darstellen kann.")
                              .arg(path));
    return bytes;
}

} // namespace

TextFileContent ReadTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(fileReadFailure(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(fileReadFailure(path));
    return DecodeTextFile(bytes);
}

TextFileContent DecodeTextFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), TextEncoding::Utf8};
    if (isAscii(bytes))
        return {QString::fromLatin1(bytes), TextEncoding::Windows1252};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {text, TextEncoding::Utf8};
    return {cp1252::decode(bytes), TextEncoding::Windows1252};
}

void WriteTextFile(const QString &path, const QString &text, TextEncoding encoding)
{
    const QByteArray bytes = encodeFor(path, text, encoding);
    runtime::ReplacingFile file(path);
    if (!file.open() || file.file().write(bytes) != bytes.size() || !file.commit())
        throw EInOutError(fileWriteFailure(path));
}
