#include "platform/rtf/RtfTokenizer.h"

#include <limits>
#include <vector>

namespace rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Parameters longer than the format allows are read to their end but
// kept inside int range.
constexpr int maxParameterDigits = 10;

} // namespace

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Token Tokenizer::next()
{
    const qsizetype size = m_input.size();
    if (m_pendingBinary >= 0) {
        const qsizetype length = m_pendingBinary;
        m_pendingBinary = -1;
        Token token;
        token.start = m_pos;
        if (length > size - m_pos) {
            token.kind = TokenKind::Broken;
            token.end = m_pos = size;
            return token;
        }
        token.kind = TokenKind::Binary;
        token.word = m_input.sliced(m_pos, length);
        token.end = m_pos += length;
        return token;
    }
    while (m_pos < size && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n'))
        ++m_pos;
    Token token;
    token.start = m_pos;
    if (m_pos >= size) {
        token.end = m_pos;
        return token;
    }
    const char c = m_input[m_pos];
    if (c == '{' || c == '}') {
        token.kind = c == '{' ? TokenKind::GroupOpen : TokenKind::GroupClose;
        token.end = ++m_pos;
        return token;
    }
    if (c == '\\')
        return controlWord(token.start);
    return text(token.start);
}

Token Tokenizer::controlWord(qsizetype start)
{
    const qsizetype size = m_input.size();
    Token token;
    token.start = start;
    m_pos = start + 1;
    if (m_pos >= size) {
        token.kind = TokenKind::Broken;
        token.end = m_pos;
        return token;
    }
    const char first = m_input[m_pos];
    if (!isLetter(first)) {
        token.kind = TokenKind::ControlSymbol;
        token.symbol = first;
        ++m_pos;
        if (first == '\'') {
            int value = 0;
            int digits = 0;
            for (; digits < 2 && m_pos < size && hexDigit(m_input[m_pos]) >= 0; ++digits, ++m_pos)
                value = value * 16 + hexDigit(m_input[m_pos]);
            token.hasParameter = digits == 2;
            token.parameter = value;
        }
        token.end = m_pos;
        return token;
    }
    const qsizetype nameStart = m_pos;
    while (m_pos < size && isLetter(m_input[m_pos]))
        ++m_pos;
    token.kind = TokenKind::ControlWord;
    token.word = m_input.sliced(nameStart, m_pos - nameStart);
    bool negative = false;
    if (m_pos + 1 < size && m_input[m_pos] == '-' && isDigit(m_input[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    long long value = 0;
    int digits = 0;
    while (m_pos < size && isDigit(m_input[m_pos])) {
        if (digits++ < maxParameterDigits)
            value = value * 10 + (m_input[m_pos] - '0');
        ++m_pos;
    }
    if (digits > 0) {
        value = std::min<long long>(value, std::numeric_limits<int>::max());
        token.hasParameter = true;
        token.parameter = static_cast<int>(negative ? -value : value);
    }
    if (m_pos < size && m_input[m_pos] == ' ')
        ++m_pos;
    token.end = m_pos;
    if (token.word == "bin" && token.hasParameter)
        m_pendingBinary = std::max(0, token.parameter);
    return token;
}

Token Tokenizer::text(qsizetype start)
{
    const qsizetype size = m_input.size();
    m_pos = start;
    while (m_pos < size) {
        const char c = m_input[m_pos];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    Token token;
    token.kind = TokenKind::Text;
    token.start = start;
    token.word = m_input.sliced(start, m_pos - start);
    token.end = m_pos;
    return token;
}

bool Tokenizer::skipGroup()
{
    int depth = 1;
    for (;;) {
        const Token token = next();
        switch (token.kind) {
        case TokenKind::End:
        case TokenKind::Broken:
            return false;
        case TokenKind::GroupOpen:
            ++depth;
            break;
        case TokenKind::GroupClose:
            if (--depth == 0)
                return true;
            break;
        default:
            break;
        }
    }
}

namespace {

// Whether the group just opened is a paragraph's bullet or numbering
// ({\\pntext ...} or {\\*\\pn ...}): part of the paragraph's format, not of
// what follows it. The tokens stand after the group's first word then.
bool opensNumbering(Tokenizer &tokens)
{
    const qsizetype start = tokens.position();
    Token token = tokens.next();
    if (token.kind == TokenKind::ControlSymbol && token.symbol == '*')
        token = tokens.next();
    const bool numbering = token.kind == TokenKind::ControlWord && (token.word == "pntext" || token.word == "pn");
    if (!numbering)
        tokens.seek(start);
    return numbering;
}

} // namespace

QByteArray cutAfterFirstParagraph(QByteArrayView richText)
{
    Tokenizer tokens(richText);
    int depth = 0;
    bool pardSeen = false;
    for (;;) {
        const Token token = tokens.next();
        if (token.kind == TokenKind::End || token.kind == TokenKind::Broken)
            return richText.toByteArray();
        if (token.kind == TokenKind::GroupOpen) {
            if (pardSeen && opensNumbering(tokens)) {
                if (!tokens.skipGroup())
                    return richText.toByteArray();
                continue;
            }
            if (pardSeen)
                return richText.first(token.start).toByteArray() + QByteArray(depth, '}');
            ++depth;
        } else if (token.kind == TokenKind::GroupClose) {
            depth = std::max(0, depth - 1);
        } else if (token.kind == TokenKind::ControlWord && token.word == "pard") {
            pardSeen = true;
        }
    }
}

QByteArray normaliseLineEnds(QByteArrayView richText)
{
    std::vector<std::pair<qsizetype, qsizetype>> binaries;
    Tokenizer tokens(richText);
    for (Token token = tokens.next(); token.kind != TokenKind::End && token.kind != TokenKind::Broken;
         token = tokens.next()) {
        if (token.kind == TokenKind::Binary)
            binaries.emplace_back(token.start, token.end);
    }
    QByteArray result;
    result.reserve(richText.size() + richText.size() / 16);
    auto binary = binaries.begin();
    for (qsizetype i = 0; i < richText.size(); ++i) {
        if (binary != binaries.end() && i == binary->first) {
            result.append(richText.sliced(binary->first, binary->second - binary->first));
            i = binary->second - 1;
            ++binary;
            continue;
        }
        const char c = richText[i];
        if (c == '\r') {
            result.append("\r\n");
            if (i + 1 < richText.size() && richText[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            result.append("\r\n");
        } else {
            result.append(c);
        }
    }
    return result;
}

} // namespace rtf
