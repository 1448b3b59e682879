#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of the suite's files; Qt 6 has no codec for
// it and Latin-1 would lose the euro sign. The five bytes the code page
// leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the control characters
// of the same number, as Windows does, so that any file survives a round
// trip byte for byte.
namespace cp1252 {

QString decode(const QByteArray &bytes);
// Characters the code page lacks become '?'; lossless tells whether any did.
QByteArray encode(const QString &text, bool *lossless = nullptr);

} // namespace cp1252
