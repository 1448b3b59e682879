#include "lib/data/QkrichText.h"

#include "platform/runtime/Cp1252.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace {

// Destinations whose text is not part of the document's text.
const QSet<QByteArray> &skippedDestinations()
{
    static const QSet<QByteArray> names{"fonttbl",
                                        "colortbl",
                                        "stylesheet",
                                        "info",
                                        "pict",
                                        "object",
                                        "objdata",
                                        "header",
                                        "footer",
                                        "headerl",
                                        "headerr",
                                        "headerf",
                                        "footerl",
                                        "footerr",
                                        "footerf",
                                        "listtable",
                                        "listoverridetable",
                                        "rsidtbl",
                                        "generator",
                                        "xmlnstbl",
                                        "themedata",
                                        "colorschememapping",
                                        "latentstyles",
                                        "datastore",
                                        "fldinst",
                                        "filetbl",
                                        "revtbl",
                                        "pgdsctbl",
                                        "bkmkstart",
                                        "bkmkend",
                                        "footnote",
                                        "annotation",
                                        "nonshppict",
                                        "shppict",
                                        "mmathPr",
                                        "template",
                                        "userprops",
                                        "docvar",
                                        "xe",
                                        "tc"};
    return names;
}

const QHash<QByteArray, QString> &wordReplacements()
{
    static const QHash<QByteArray, QString> words{
        {"par", QStringLiteral("\r\n")},       {"line", QStringLiteral("\r\n")},
        {"sect", QStringLiteral("\r\n")},      {"page", QStringLiteral("\r\n")},
        {"tab", QStringLiteral("\t")},         {"cell", QStringLiteral("\t")},
        {"row", QStringLiteral("\r\n")},       {"emdash", QString(QChar(0x2014))},
        {"endash", QString(QChar(0x2013))},    {"bullet", QString(QChar(0x2022))},
        {"lquote", QString(QChar(0x2018))},    {"rquote", QString(QChar(0x2019))},
        {"ldblquote", QString(QChar(0x201C))}, {"rdblquote", QString(QChar(0x201D))},
        {"emspace", QStringLiteral(" ")},      {"enspace", QStringLiteral(" ")}};
    return words;
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct GroupState
{
    bool skip = false;
    int unicodeSkip = 1;
};

class RichTextStripper
{
public:
    explicit RichTextStripper(const QString &rtf) : m_rtf(rtf) {}

    QString run()
    {
        m_groups.push_back({});
        while (m_pos < m_rtf.size()) {
            const QChar c = m_rtf[m_pos++];
            if (c == QLatin1Char('{'))
                m_groups.push_back(m_groups.back());
            else if (c == QLatin1Char('}'))
                closeGroup();
            else if (c == QLatin1Char('\\'))
                readControl();
            else if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
                emitText(QString(c));
        }
        flushBytes();
        if (m_text.endsWith(QLatin1String("\r\n")))
            m_text.chop(2);
        return m_text;
    }

private:
    GroupState &state() { return m_groups.back(); }

    void closeGroup()
    {
        if (m_groups.size() > 1)
            m_groups.pop_back();
    }

    void emitBytes(const QByteArray &bytes)
    {
        if (!state().skip)
            m_pending.append(bytes);
    }

    void emitText(const QString &text)
    {
        if (state().skip)
            return;
        flushBytes();
        m_text.append(text);
    }

    void flushBytes()
    {
        m_text.append(cp1252::decode(m_pending));
        m_pending.clear();
    }

    void readControl()
    {
        if (m_pos >= m_rtf.size())
            return;
        const QChar c = m_rtf[m_pos];
        if (isAsciiLetter(c)) {
            readControlWord();
            return;
        }
        ++m_pos;
        readControlSymbol(c.toLatin1());
    }

    void readControlSymbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            emitText(QString(QLatin1Char(c)));
            break;
        case '~':
            emitText(QString(QChar(0x00A0)));
            break;
        case '_':
            emitText(QStringLiteral("-"));
            break;
        case '*':
            state().skip = true;
            break;
        case '\'':
            readHexByte();
            break;
        case '\r':
        case '\n':
            emitText(QStringLiteral("\r\n"));
            break;
        default:
            break;
        }
    }

    void readHexByte()
    {
        bool ok = false;
        const QString hex = m_rtf.mid(m_pos, 2);
        const int value = hex.toInt(&ok, 16);
        m_pos += 2;
        if (ok && hex.size() == 2)
            emitBytes(QByteArray(1, static_cast<char>(value)));
    }

    void readControlWord()
    {
        const int start = m_pos;
        while (m_pos < m_rtf.size() && isAsciiLetter(m_rtf[m_pos]))
            ++m_pos;
        const QByteArray word = m_rtf.mid(start, m_pos - start).toLatin1();
        const int numberStart = m_pos;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == QLatin1Char('-'))
            ++m_pos;
        while (m_pos < m_rtf.size() && isAsciiDigit(m_rtf[m_pos]))
            ++m_pos;
        const bool hasNumber = m_pos > numberStart;
        const int number = hasNumber ? m_rtf.mid(numberStart, m_pos - numberStart).toInt() : 0;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == QLatin1Char(' '))
            ++m_pos;
        applyWord(word, hasNumber, number);
    }

    void applyWord(const QByteArray &word, bool hasNumber, int number)
    {
        if (skippedDestinations().contains(word)) {
            state().skip = true;
        } else if (word == "uc" && hasNumber) {
            state().unicodeSkip = qMax(0, number);
        } else if (word == "u" && hasNumber) {
            emitText(QString(QChar(static_cast<char16_t>(number < 0 ? number + 65536 : number))));
            skipFallback();
        } else if (const auto found = wordReplacements().constFind(word); found != wordReplacements().cend()) {
            emitText(*found);
        }
    }

    // The characters that stand in for a \u character in older readers.
    void skipFallback()
    {
        for (int left = state().unicodeSkip; left > 0 && m_pos < m_rtf.size(); --left) {
            if (m_rtf.mid(m_pos, 2) == QLatin1String("\\'"))
                m_pos += 4;
            else if (m_rtf[m_pos] == QLatin1Char('{') || m_rtf[m_pos] == QLatin1Char('}'))
                break;
            else
                ++m_pos;
        }
    }

    const QString &m_rtf;
    int m_pos = 0;
    std::vector<GroupState> m_groups;
    QByteArray m_pending;
    QString m_text;
};

} // namespace

bool qkLooksLikeRichText(const QString &text)
{
    return text.startsWith(QLatin1String("{\\rtf"));
}

QString qkRichTextToPlainText(const QString &richText)
{
    if (!qkLooksLikeRichText(richText))
        return richText;
    return RichTextStripper(richText).run();
}
