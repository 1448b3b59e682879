#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace rtf {

enum class TokenKind { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, Text, Binary, Broken };

struct Token
{
    TokenKind kind = TokenKind::End;
    QByteArrayView word; // control word name, text run or binary payload
    bool hasParameter = false;
    int parameter = 0;
    char symbol = 0;     // control symbol character
    qsizetype start = 0; // byte offset where the token begins
    qsizetype end = 0;   // byte offset just past the token
};

// Splits rich text into tokens without interpreting them. A \binN word
// is followed by one Binary token of exactly N bytes; a length that runs
// past the end yields Broken, so no caller ever reads beyond the input.
class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView input) : m_input(input) {}

    Token next();
    qsizetype position() const { return m_pos; }
    void seek(qsizetype position) { m_pos = position; }
    // Skips to just past the brace closing the group whose opening brace
    // has already been read; false when the input ends first.
    bool skipGroup();

private:
    Token controlWord(qsizetype start);
    Token text(qsizetype start);

    QByteArrayView m_input;
    qsizetype m_pos = 0;
    qsizetype m_pendingBinary = -1;
};

// The value of a hexadecimal digit, -1 for any other character.
int hexDigit(char c);

// Cuts rich text after its first paragraph: at the first group opening
// that follows the first \pard, closing every group still open; the
// paragraph's own bullet groups are not taken for such a group. Escaped
// braces and binary data are never taken for a group. Text without \pard
// is returned whole.
QByteArray cutAfterFirstParagraph(QByteArrayView richText);

// Turns every lone LF and every lone CR into CR LF, leaving the payload
// of \bin words untouched.
QByteArray normaliseLineEnds(QByteArrayView richText);

} // namespace rtf
