#include "platform/db/GermanCollation.h"

#include <QVector>

#include <sqlite3.h>

namespace db {

namespace {

// Walks a UTF-8 text code point by code point.
class Utf8Reader
{
public:
    Utf8Reader(const char *data, int size) : m_pos(reinterpret_cast<const unsigned char *>(data)), m_end(m_pos + size)
    {}
    bool atEnd() const { return m_pos >= m_end; }
    char32_t next()
    {
        const unsigned char lead = *m_pos++;
        if (lead < 0x80)
            return lead;
        int extra = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : 1;
        char32_t cp = lead & (0x3f >> extra);
        while (extra-- > 0 && m_pos < m_end)
            cp = (cp << 6) | (*m_pos++ & 0x3f);
        return cp;
    }

private:
    const unsigned char *m_pos;
    const unsigned char *m_end;
};

// The letter a German reader files a character under, lower case.
char32_t baseLetter(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    static const char latin1[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
                                 "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    if (cp >= 0xc0 && cp <= 0xff)
        return char32_t(static_cast<unsigned char>(latin1[cp - 0xc0]));
    return cp;
}

char32_t lowerCase(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= 0xc0 && cp <= 0xde && cp != 0xd7)
        return cp + 32;
    return cp;
}

// Primary units: "ß" counts as two letters "ss".
class PrimaryReader
{
public:
    PrimaryReader(const char *data, int size) : m_reader(data, size) {}
    bool atEnd() const { return !m_pending && m_reader.atEnd(); }
    char32_t next()
    {
        if (m_pending) {
            m_pending = false;
            return 's';
        }
        const char32_t cp = m_reader.next();
        if (cp == 0xdf) {
            m_pending = true;
            return 's';
        }
        return baseLetter(cp);
    }

private:
    Utf8Reader m_reader;
    bool m_pending = false;
};

template <typename Reader, typename Map>
int compareLevel(const char *a, int na, const char *b, int nb, Map map)
{
    Reader left(a, na);
    Reader right(b, nb);
    while (!left.atEnd() && !right.atEnd()) {
        const char32_t x = map(left.next());
        const char32_t y = map(right.next());
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (left.atEnd() && right.atEnd())
        return 0;
    return left.atEnd() ? -1 : 1;
}

// Upper case sorts after lower case at the last level.
char32_t caseRank(char32_t cp)
{
    return lowerCase(cp) == cp ? cp * 2 : lowerCase(cp) * 2 + 1;
}

int collate(void *caseSensitive, int na, const void *a, int nb, const void *b)
{
    return compareGermanUtf8(static_cast<const char *>(a), na, static_cast<const char *>(b), nb,
                             caseSensitive != nullptr);
}

}

int compareGermanUtf8(const char *a, int na, const char *b, int nb, bool caseSensitive)
{
    const auto same = [](char32_t cp) { return cp; };
    if (int r = compareLevel<PrimaryReader>(a, na, b, nb, same))
        return r;
    if (int r = compareLevel<Utf8Reader>(a, na, b, nb, lowerCase))
        return r;
    if (!caseSensitive)
        return 0;
    return compareLevel<Utf8Reader>(a, na, b, nb, caseRank);
}

int compareGerman(const QString &left, const QString &right, bool caseSensitive)
{
    const QByteArray a = left.toUtf8();
    const QByteArray b = right.toUtf8();
    return compareGermanUtf8(a.constData(), int(a.size()), b.constData(), int(b.size()), caseSensitive);
}

QString germanPrimaryForm(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    PrimaryReader reader(utf8.constData(), int(utf8.size()));
    QString form;
    while (!reader.atEnd()) {
        const char32_t unit = reader.next();
        form += QString::fromUcs4(&unit, 1);
    }
    return form;
}

void registerGermanCollations(sqlite3 *handle)
{
    static int marker = 1;
    sqlite3_create_collation(handle, germanCollation, SQLITE_UTF8, &marker, collate);
    sqlite3_create_collation(handle, germanNoCaseCollation, SQLITE_UTF8, nullptr, collate);
}

}

namespace db {

QString germanCaseFold(const QString &text)
{
    return text.toLower();
}

namespace {

QString textArgument(sqlite3_value *value)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void resultText(sqlite3_context *context, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void caseFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const bool upper = sqlite3_user_data(context) != nullptr;
    const QString text = textArgument(arguments[0]);
    resultText(context, upper ? text.toUpper() : text.toLower());
}

// % and _ over the case-free forms; the escape character takes the next
// pattern character literally. One pass with backtracking to the last %,
// so that no pattern costs more than pattern length times text length.
bool likeMatch(const QString &pattern, const QString &text, QChar escape)
{
    struct Element
    {
        QChar c;
        enum { Literal, One, Many } kind;
    };
    QVector<Element> elements;
    for (int p = 0; p < pattern.size(); ++p) {
        const QChar c = pattern[p];
        if (!escape.isNull() && c == escape && p + 1 < pattern.size())
            elements.append({pattern[++p], Element::Literal});
        else if (c == QLatin1Char('%'))
            elements.append({c, Element::Many});
        else
            elements.append({c, c == QLatin1Char('_') ? Element::One : Element::Literal});
    }
    int e = 0, t = 0, starElement = -1, starText = 0;
    while (t < text.size()) {
        if (e < elements.size() && elements[e].kind == Element::Many) {
            starElement = e++;
            starText = t;
        } else if (e < elements.size() && (elements[e].kind == Element::One || elements[e].c == text[t])) {
            ++e, ++t;
        } else if (starElement >= 0) {
            e = starElement + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (e < elements.size() && elements[e].kind == Element::Many)
        ++e;
    return e == elements.size();
}

void likeFunction(sqlite3_context *context, int count, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString escape = count > 2 ? textArgument(arguments[2]) : QString();
    const QString pattern = germanCaseFold(textArgument(arguments[0]));
    const QString text = germanCaseFold(textArgument(arguments[1]));
    sqlite3_result_int(context, likeMatch(pattern, text, escape.isEmpty() ? QChar() : escape.toLower()[0]));
}

}

void registerGermanFunctions(sqlite3 *handle)
{
    static int upperFlag = 1;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(handle, "upper", 1, flags, &upperFlag, caseFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "lower", 1, flags, nullptr, caseFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(handle, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

}
