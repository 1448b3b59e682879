#include "platform/runtime/Cp1252.h"

namespace cp1252 {

namespace {

// 0x80..0x9F; the undefined places keep their own number.
constexpr char16_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControlRange[byte - 0x80];
    return byte;
}

int fromUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray encode(const QString &text, bool *lossless)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bool allMapped = true;
    qsizetype out = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int byte = fromUnicode(c.unicode());
        allMapped = allMapped && byte >= 0;
        bytes[out++] = static_cast<char>(byte >= 0 ? byte : '?');
    }
    bytes.truncate(out);
    if (lossless)
        *lossless = allMapped;
    return bytes;
}

} // namespace cp1252
