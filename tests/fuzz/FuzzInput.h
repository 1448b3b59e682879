#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as the parsers get them from a file or a user.
inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(fuzzBytes(data, size));
}

// The text before the first line break and the rest: two inputs of one run.
inline std::pair<QString, QString> fuzzPair(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const qsizetype split = text.indexOf(QLatin1Char('\n'));
    if (split < 0)
        return {text, QString()};
    return {text.left(split), text.mid(split + 1)};
}
