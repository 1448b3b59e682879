#include "platform/db/QueryText.h"

#include "platform/db/SqliteConnection.h"

#include <QRegularExpression>

namespace db {

bool SqlToken::isKeyword(const char *keyword) const
{
    return kind == Word && text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('$');
}

int quotedEnd(const QString &sql, int from, QChar quote)
{
    int i = from + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return int(sql.size());
}

int tokenEnd(const QString &sql, int i, SqlToken::Kind &kind)
{
    const QChar c = sql[i];
    const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
    if (c.isSpace()) {
        kind = SqlToken::Space;
        while (i < sql.size() && sql[i].isSpace())
            ++i;
        return i;
    }
    if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
        kind = SqlToken::Space;
        const int end = sql.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? int(sql.size()) : end;
    }
    if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
        kind = SqlToken::Space;
        const int end = sql.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? int(sql.size()) : end + 2;
    }
    if (c == QLatin1Char('\'')) {
        kind = SqlToken::String;
        return quotedEnd(sql, i, c);
    }
    if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
        kind = SqlToken::QuotedName;
        return c == QLatin1Char('[') ? qMax(int(sql.indexOf(QLatin1Char(']'), i)) + 1, i + 1) : quotedEnd(sql, i, c);
    }
    if (c == QLatin1Char(':') && next.isLetter()) {
        int j = i + 1;
        while (j < sql.size() && isWordChar(sql[j]))
            ++j;
        kind = SqlToken::Parameter;
        if (j < sql.size() && sql[j] == QLatin1Char(':')) {
            kind = SqlToken::AliasedTable;
            ++j;
            while (j < sql.size() && isWordChar(sql[j]))
                ++j;
        }
        return j;
    }
    if (c.isDigit()) {
        kind = SqlToken::Number;
        while (i < sql.size() && (sql[i].isDigit() || sql[i] == QLatin1Char('.')))
            ++i;
        return i;
    }
    if (isWordChar(c)) {
        kind = SqlToken::Word;
        while (i < sql.size() && isWordChar(sql[i]))
            ++i;
        return i;
    }
    kind = SqlToken::Symbol;
    return i + 1;
}

QString unquoted(const SqlToken &token)
{
    if (token.kind != SqlToken::QuotedName)
        return token.text;
    return token.text.mid(1, token.text.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
}

// A date or date and time written as a user writes it ('24.12.2026',
// '12/24/2026' or '24/12/2026' as the order says, '2026/12/24', each
// optionally followed by a time) as the stored ISO text; a time alone
// ('8:05:00') as the stored time; other strings as they are.
QString dateLiteral(const QString &token, SlashDateOrder slashDates)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^'(?:(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})|(\\d{1,2})/(\\d{1,2})/(\\d{4})|(\\d{4})/(\\d{1,2})/(\\d{1,2}))"
        "(?: (\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?'$"));
    static const QRegularExpression timeOnly(QStringLiteral("^'(\\d{1,2}):(\\d{2})(?::(\\d{2}))?'$"));
    const QRegularExpressionMatch time = timeOnly.match(token);
    if (time.hasMatch()) {
        const QTime value(time.captured(1).toInt(), time.captured(2).toInt(), time.captured(3).toInt());
        return value.isValid() ? QLatin1Char('\'') + value.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\'')
                               : token;
    }
    const QRegularExpressionMatch match = pattern.match(token);
    if (!match.hasMatch())
        return token;
    auto part = [&](int german, int american, int iso) {
        for (int group : {german, american, iso})
            if (!match.captured(group).isEmpty())
                return match.captured(group).toInt();
        return 0;
    };
    const bool dayFirst = slashDates == SlashDateOrder::DayMonthYear;
    const QDate date(part(3, 6, 7), part(2, dayFirst ? 5 : 4, 8), part(1, dayFirst ? 4 : 5, 9));
    if (!date.isValid())
        return token;
    if (match.captured(10).isEmpty())
        return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
    const QTime clock(match.captured(10).toInt(), match.captured(11).toInt(), match.captured(12).toInt());
    if (!clock.isValid())
        return token;
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('T')
           + clock.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\'');
}

class Translator
{
public:
    Translator(const QString &sql, const SlashDates &slashDates) : m_tokens(tokenizeSql(sql)), m_slashDates(slashDates)
    {}

    // Tables already known keep their schemas.
    QueryText run(const QVector<TableReference> &known = {})
    {
        QueryText result;
        result.tables = known;
        const int first = nextSolid(0);
        result.isSelect = first < m_tokens.size() && m_tokens[first].isKeyword("SELECT");
        bool tableList = false;
        bool expectTable = false;
        bool aliasAllowed = false;
        int line = 0;
        for (int i = 0; i < m_tokens.size(); ++i) {
            const SqlToken &token = m_tokens[i];
            if (token.kind == SqlToken::Space) {
                m_out += token.text;
                line += int(token.text.count(QLatin1Char('\n')));
                continue;
            }
            if (expectTable && isTableName(token)) {
                const int referenced = reference(result, token);
                const bool aliased = hasAlias(i);
                m_out += QStringLiteral("%1.%2").arg(quoteIdentifier(result.tables[referenced].schema),
                                                     quoteIdentifier(tableNameOf(result.tables[referenced])));
                if (!aliased && aliasAllowed)
                    m_out += QStringLiteral(" AS ") + quoteIdentifier(tableNameOf(result.tables[referenced]));
                expectTable = false;
                continue;
            }
            expectTable = false;
            if (token.isKeyword("FROM") || token.isKeyword("JOIN")) {
                tableList = token.isKeyword("FROM");
                expectTable = true;
                aliasAllowed = result.isSelect;
            } else if (token.isKeyword("INTO") || token.isKeyword("UPDATE")) {
                tableList = false;
                expectTable = true;
                aliasAllowed = false;
            } else if (tableList && token.text == QLatin1String(",")) {
                expectTable = true;
            } else if (tableList && endsTableList(token)) {
                tableList = false;
            }
            m_out += token.kind == SqlToken::String ? dateLiteral(token.text, m_slashDates.onLine(line)) : token.text;
            line += int(token.text.count(QLatin1Char('\n')));
        }
        result.sql = m_out;
        result.liveTable = liveTableOf(result);
        return result;
    }

private:
    static bool isTableName(const SqlToken &token)
    {
        return token.kind == SqlToken::Word || token.kind == SqlToken::QuotedName
               || token.kind == SqlToken::AliasedTable;
    }

    static QString tableNameOf(const TableReference &table)
    {
        QString stem = table.fileName.section(QLatin1Char('/'), -1);
        if (stem.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
            stem.chop(3);
        return stem;
    }

    int nextSolid(int i) const
    {
        while (i < m_tokens.size() && m_tokens[i].kind == SqlToken::Space)
            ++i;
        return i;
    }

    bool hasAlias(int i) const
    {
        const int next = nextSolid(i + 1);
        if (next >= m_tokens.size())
            return false;
        const SqlToken &token = m_tokens[next];
        return token.isKeyword("AS") || (token.kind == SqlToken::Word && !endsTableList(token))
               || token.kind == SqlToken::QuotedName;
    }

    int reference(QueryText &result, const SqlToken &token)
    {
        TableReference table;
        if (token.kind == SqlToken::AliasedTable) {
            table.databaseName = token.text.section(QLatin1Char(':'), 1, 1);
            table.fileName = token.text.section(QLatin1Char(':'), 2);
        } else {
            table.fileName = unquoted(token);
        }
        for (int i = 0; i < result.tables.size(); ++i)
            if (result.tables[i].databaseName.compare(table.databaseName, Qt::CaseInsensitive) == 0
                && tableNameOf(result.tables[i]).compare(tableNameOf(table), Qt::CaseInsensitive) == 0)
                return i;
        table.schema = QStringLiteral("t%1").arg(result.tables.size());
        result.tables.append(table);
        return int(result.tables.size()) - 1;
    }

    int liveTableOf(const QueryText &result) const
    {
        if (!result.isSelect || result.tables.size() != 1)
            return -1;
        QStringList words;
        for (const SqlToken &token : m_tokens)
            if (token.kind != SqlToken::Space)
                words.append(token.text.toUpper());
        const bool plainStar = words.size() >= 4 && words[1] == QLatin1String("*") && words[2] == QLatin1String("FROM");
        for (const char *blocker : {"JOIN", "GROUP", "DISTINCT", "UNION", "HAVING", "EXCEPT", "INTERSECT", "("})
            if (words.contains(QLatin1String(blocker)))
                return -1;
        return plainStar ? 0 : -1;
    }

    QVector<SqlToken> m_tokens;
    SlashDates m_slashDates;
    QString m_out;
};

}

bool isJoinWord(const SqlToken &token)
{
    for (const char *keyword : {"LEFT", "RIGHT", "INNER", "OUTER", "CROSS", "NATURAL", "JOIN", "FULL"})
        if (token.isKeyword(keyword))
            return true;
    return false;
}

bool endsTableList(const SqlToken &token)
{
    for (const char *keyword : {"WHERE", "GROUP", "ORDER", "HAVING", "UNION", "LIMIT", "ON", "USING", "SET", "VALUES",
                                "SELECT", "EXCEPT", "INTERSECT", "DEFAULT"})
        if (token.isKeyword(keyword))
            return true;
    return isJoinWord(token) || (token.kind == SqlToken::Symbol && token.text != QLatin1String(","));
}

QVector<SqlToken> tokenizeSql(const QString &sql)
{
    QVector<SqlToken> tokens;
    int i = 0;
    while (i < sql.size()) {
        SqlToken token;
        const int end = tokenEnd(sql, i, token.kind);
        token.text = sql.mid(i, end - i);
        token.start = i;
        tokens.append(token);
        i = end;
    }
    return tokens;
}

QueryText translateQueryText(const QString &sql, const SlashDates &slashDates)
{
    return Translator(sql, slashDates).run();
}

QVector<QueryText> translateQueryTexts(const QStringList &texts, const SlashDates &slashDates)
{
    QVector<QueryText> translated;
    QVector<TableReference> tables;
    for (const QString &text : texts) {
        translated.append(Translator(text, slashDates).run(tables));
        tables = translated.last().tables;
    }
    return translated;
}

}
