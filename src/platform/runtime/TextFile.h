#pragma once

#include <QString>

enum class TextEncoding { Utf8, Windows1252 };

struct TextFileContent
{
    QString text;
    TextEncoding encoding;
};

// Files from the Windows suite may be in either encoding. A file with a
// UTF-8 byte-order mark, or with non-ASCII bytes that form valid UTF-8, is
// UTF-8; anything else is Windows-1252. Pure ASCII counts as Windows-1252,
// the suite's own code page, so that a value written into such a file
// later stays readable for the Windows programs. Raises EInOutError with a
// German message when the file cannot be read.
TextFileContent ReadTextFile(const QString &path);
// The same rules for a file's bytes already read.
TextFileContent DecodeTextFile(const QByteArray &bytes);

// Writes UTF-8 without a byte-order mark. Writes through a temporary file in the same folder that then replaces
// the target, so a crash never leaves half a file. Raises EInOutError when
// the file cannot be written or when the text holds characters that
// Windows-1252 cannot store (the file is then left unchanged).
void WriteTextFile(const QString &path, const QString &text, TextEncoding encoding);
