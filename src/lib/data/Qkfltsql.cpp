#include "lib/data/Qkfltdlg.h"

#include "lib/data/Qklocate.h"
#include "lib/data/Qkprops.h"
#include "lib/data/Qkstr.h"
#include "lib/data/QkstrDate.h"
#include "lib/data/Qktable.h"
#include "platform/db/DbValues.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/QueryText.h"
#include "platform/db/TField.h"
#include "platform/db/TQuery.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"

#include <QDateTime>

#include <algorithm>

namespace {

bool isNumericType(TFieldType type)
{
    return (type >= ftSmallint && type <= ftCurrency) || type == ftAutoInc;
}

bool isDateType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

QString quotedName(const QString &name, bool always)
{
    if (!always && !name.contains(QLatin1Char(' ')) && !name.contains(QLatin1Char('-')))
        return name;
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A text between apostrophes: apostrophes doubled.
QString sqlText(const QString &value)
{
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// LIKE's own characters in a search value stand for themselves.
QString likeLiteral(const QString &value)
{
    QString escaped;
    for (QChar c : value) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

// A number written into SQL is checked to be one; a Boolean is stored as
// 1 or 0.
QString sqlNumber(const QString &value, TFieldType type)
{
    const QString trimmed = value.trimmed();
    if (type == ftBoolean)
        return QString::number(db::toStorage(ftBoolean, trimmed).toLongLong());
    if (type == ftFloat || type == ftCurrency || type == ftBCD)
        return QString::number(StrToFloat(trimmed), 'g', 17);
    return QString::number(StrToInt(trimmed));
}

TDateTime filterDateTime(TFieldType type, const QString &text)
{
    return type == ftDate ? StrToDate(text) : type == ftTime ? StrToTime(text) : StrToDateTime(text);
}

int findClause(const QVector<db::SqlToken> &tokens, int from, bool withWhere)
{
    int depth = 0;
    for (int i = from; i < tokens.size(); ++i) {
        const db::SqlToken &token = tokens[i];
        if (token.text == QLatin1String("("))
            ++depth;
        else if (token.text == QLatin1String(")"))
            --depth;
        if (depth != 0)
            continue;
        if (withWhere && token.isKeyword("WHERE"))
            return i;
        for (const char *keyword : {"GROUP", "HAVING", "UNION", "PLAN", "ORDER", "FOR"})
            if (token.isKeyword(keyword))
                return i;
    }
    return -1;
}

}

QString TqkFilterDialog::dateText(const QString &value, TFieldType type, const QString &fieldName) const
{
    const TDateTime stamp = filterDateTime(type, value);
    const QDateTime when = ToQDateTime(stamp);
    const QDate date = when.date();
    QString dateText;
    switch (m_dateMode) {
    case qfdDayMonthYear:
        dateText = QStringLiteral("%1/%2/%3").arg(date.day()).arg(date.month()).arg(date.year());
        break;
    case qfdYearMonthDay:
        dateText = QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
        break;
    default:
        dateText = QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
        break;
    }
    const QTime time = when.time();
    const QString timeText = QStringLiteral("%1:%2:%3")
                                 .arg(time.hour())
                                 .arg(time.minute(), 2, 10, QLatin1Char('0'))
                                 .arg(time.second(), 2, 10, QLatin1Char('0'));
    QString text = type == ftDate ? dateText : type == ftTime ? timeText : dateText + QLatin1Char(' ') + timeText;
    if (OnEncodeDateTime)
        OnEncodeDateTime(stamp, type, fieldName, text);
    return text;
}

// A criterion that gives no condition (an empty value, a type the range
// cannot compare) adds no joining line either.
QStringList TqkFilterDialog::conditionLines(const TqkFieldInfo &info, const TqkDBFieldInfo &field, bool first) const
{
    QStringList lines = conditionOnly(info, field);
    if (lines.isEmpty())
        return lines;
    if (info.MatchType != fdMatchRange && info.NonMatching)
        lines.prepend(first ? QStringLiteral("  not") : QStringLiteral("  and not"));
    else if (!first)
        lines.prepend(QStringLiteral(" and"));
    return lines;
}

QStringList TqkFilterDialog::conditionOnly(const TqkFieldInfo &info, const TqkDBFieldInfo &field) const
{
    QString column = quotedName(field.SqlFieldName, m_quoteAlways);
    if (!field.TableName.isEmpty())
        column = quotedName(field.TableName, false) + QLatin1Char('.') + column;
    const TFieldType type = field.FieldType;
    QStringList lines;
    if (info.MatchType == fdMatchRange) {
        QString low = info.MinValue, high = info.MaxValue;
        if (isNumericType(type) || type == ftBCD) {
            if (!low.isEmpty())
                lines << QStringLiteral("   ") + column + QStringLiteral(" >= ") + sqlNumber(low, type);
            if (!high.isEmpty()) {
                if (!low.isEmpty())
                    lines << QStringLiteral(" and");
                lines << QStringLiteral("   ") + column + QStringLiteral(" <= ") + sqlNumber(high, type);
            }
            return lines;
        }
        if (type != ftString && !isDateType(type))
            return lines;
        if (type == ftString && !high.isEmpty() && m_upperRangePadChar != 0 && high.size() < field.Size)
            high = high.leftJustified(field.Size, QChar(m_upperRangePadChar));
        if (isDateType(type)) {
            low = low.isEmpty() ? low : dateText(low, type, field.FieldName);
            high = high.isEmpty() ? high : dateText(high, type, field.FieldName);
        }
        if (!low.isEmpty())
            lines << QStringLiteral("   ") + column + QStringLiteral(" >= ") + sqlText(low);
        if (!high.isEmpty()) {
            if (!low.isEmpty())
                lines << QStringLiteral(" and");
            lines << QStringLiteral("   ") + column + QStringLiteral(" <= ") + sqlText(high);
        }
        return lines;
    }
    if (info.MatchType != fdMatchStart && info.MatchType != fdMatchAny && info.MatchType != fdMatchExact)
        return lines;
    QString value = info.FilterValue;
    const bool upper = !info.CaseSensitive && !isNumericType(type) && !isDateType(type);
    if (upper) {
        column = QStringLiteral("Upper(") + column + QLatin1Char(')');
        value = value.toUpper();
    }
    const TqkAlternatives alternatives = qkSplitAlternatives(value, m_operators);
    QString condition = QStringLiteral("(");
    bool any = false;
    for (QString alternative : alternatives.items) {
        strStripBoth(alternative);
        if (alternative.isEmpty())
            continue;
        if (any)
            condition += alternatives.any ? QStringLiteral(" or ") : QStringLiteral(" and ");
        any = true;
        if (alternative.compare(m_operators.NullChar(), Qt::CaseInsensitive) == 0) {
            condition += column + QStringLiteral(" is NULL");
        } else if (isNumericType(type)) {
            condition += column + QLatin1Char('=') + sqlNumber(alternative, type);
        } else if (type == ftDate) {
            condition += column + QLatin1Char('=') + sqlText(dateText(alternative, type, field.FieldName));
        } else if (type == ftTime || type == ftDateTime) {
            condition += QStringLiteral("   ") + column + QLatin1Char('=')
                         + sqlText(dateText(alternative, type, field.FieldName));
        } else if (info.MatchType == fdMatchExact) {
            condition += column + QLatin1Char('=') + sqlText(alternative);
        } else {
            const QString pattern = (info.MatchType == fdMatchAny ? QStringLiteral("%") : QString())
                                    + likeLiteral(alternative) + QLatin1Char('%');
            condition += column + QStringLiteral(" like ") + sqlText(pattern) + QStringLiteral(" escape '\\'");
        }
    }
    if (any)
        lines << condition + QLatin1Char(')');
    return lines;
}

QStringList TqkFilterDialog::insertConditions(const QStringList &sqlLines, const QStringList &conditions,
                                              int *firstInserted)
{
    if (sqlLines.isEmpty() || conditions.isEmpty())
        return sqlLines;
    const QString sql = sqlLines.join(QLatin1Char('\n'));
    const QVector<db::SqlToken> tokens = db::tokenizeSql(sql);
    const int clause = findClause(tokens, 0, true);
    const QString added = conditions.join(QLatin1Char('\n'));
    // Every inserted line stands on its own, with no empty line around it.
    const auto upTo = [&sql](int end) {
        QString text = sql.left(end);
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        return text;
    };
    QString before, after;
    if (clause < 0) {
        before = upTo(int(sql.size())) + QStringLiteral("\nWhere\n");
    } else if (!tokens[clause].isKeyword("WHERE")) {
        before = upTo(tokens[clause].start) + QStringLiteral("\nWhere\n");
        after = QLatin1Char('\n') + sql.mid(tokens[clause].start);
    } else {
        // The existing condition is bracketed, so that an OR in it cannot
        // take the new conditions apart.
        const int conditionStart = tokens[clause].start + int(tokens[clause].text.size());
        const int next = findClause(tokens, clause + 1, false);
        const int conditionEnd = next < 0 ? int(sql.size()) : tokens[next].start;
        before = sql.left(conditionStart) + QStringLiteral(" (") + upTo(conditionEnd).mid(conditionStart)
                 + QStringLiteral(")\nAnd\n");
        after = next < 0 ? QString() : QLatin1Char('\n') + sql.mid(conditionEnd);
    }
    if (firstInserted)
        *firstInserted = int(before.count(QLatin1Char('\n')));
    return (before + added + after).split(QLatin1Char('\n'));
}

bool TqkFilterDialog::rewriteSql(TDataSet *dataSet)
{
    if (!qkFindProperty(dataSet, QStringLiteral("Sql")).isValid())
        return false;
    dataSet->Close();
    auto *query = qobject_cast<TSqlDataSet *>(dataSet);
    if (m_savedSql.isEmpty()) {
        m_savedSql = qkReadList(dataSet, QStringLiteral("Sql")).value_or(QStringList());
    } else {
        qkSetSQL(dataSet, m_savedSql);
    }
    QStringList conditions;
    bool first = true;
    for (const auto &info : m_fieldInfo) {
        if (info->FieldName.isEmpty())
            info->FieldName = FieldNameForLabel(info->DisplayName);
        const TqkDBFieldInfo *field = FindSearchableField(info->FieldName);
        if (!field) {
            qkShowLibraryWarning(QStringLiteral("TqkFilterDialog: Field not found (") + info->FieldName
                                 + QLatin1Char(')'));
            return false;
        }
        const QStringList lines = conditionLines(*info, *field, first);
        if (!lines.isEmpty())
            first = false;
        conditions += lines;
    }
    int firstCondition = 0;
    const QStringList sql = insertConditions(m_savedSql, conditions, &firstCondition);
    qkSetSQL(dataSet, sql);
    // The dates written here are read in the order they were written in,
    // the query's own as the query reads them; a year written first tells
    // its order itself.
    if (query) {
        QList<int> written;
        for (int line = firstCondition; line < firstCondition + conditions.size(); ++line)
            written.append(line);
        query->SetSlashDateLines(written, m_dateMode == qfdDayMonthYear ? db::SlashDateOrder::DayMonthYear
                                                                        : db::SlashDateOrder::MonthDayYear);
    }
    if (auto *sqlQuery = qobject_cast<TQuery *>(dataSet); sqlQuery && OnExecuteSQL)
        OnExecuteSQL(m_shownForm, sqlQuery);
    try {
        dataSet->Open();
    } catch (const Exception &) {
        qkShowLibraryWarning(QStringLiteral("Unable to Execute SQL:\r") + sql.join(QLatin1Char('\r'))
                             + QLatin1Char('\r'));
        throw;
    }
    return true;
}

// ---- searchable fields of a query's tables

namespace {

int nextSolid(const QVector<db::SqlToken> &tokens, int i)
{
    while (i < tokens.size() && tokens[i].kind == db::SqlToken::Space)
        ++i;
    return i;
}

// A join's ON condition or USING list, brackets and all: the index of the
// token that follows it.
int afterJoinCondition(const QVector<db::SqlToken> &tokens, int i)
{
    for (int depth = 0; i < tokens.size(); ++i) {
        const db::SqlToken &token = tokens[i];
        if (token.text == QLatin1String("("))
            ++depth;
        else if (token.text == QLatin1String(")") && depth-- == 0)
            break;
        else if (depth == 0
                 && (token.text == QLatin1String(",") || db::isJoinWord(token) || findClause(tokens, i, true) == i))
            break;
    }
    return i;
}

bool isAlias(const QVector<db::SqlToken> &tokens, int i)
{
    if (i >= tokens.size())
        return false;
    const db::SqlToken &token = tokens[i];
    return token.kind == db::SqlToken::QuotedName
           || (token.kind == db::SqlToken::Word && !db::endsTableList(token) && findClause(tokens, i, true) != i);
}

struct FromTable
{
    QString name;
    QString alias;
};

// The tables of the FROM clause, separated by commas or joined, each with
// the alias it is given; the clause ends at the first clause keyword.
QVector<FromTable> fromClauseTables(const QVector<db::SqlToken> &tokens)
{
    int i = 0;
    while (i < tokens.size() && !tokens[i].isKeyword("FROM"))
        ++i;
    QVector<FromTable> tables;
    bool expectTable = true;
    for (i = nextSolid(tokens, i + 1); i < tokens.size(); i = nextSolid(tokens, i + 1)) {
        const db::SqlToken &token = tokens[i];
        if (token.text == QLatin1String(",") || token.isKeyword("JOIN")) {
            expectTable = true;
        } else if (token.isKeyword("ON") || token.isKeyword("USING")) {
            i = afterJoinCondition(tokens, i + 1) - 1;
        } else if (!db::isJoinWord(token)) {
            if (!expectTable || db::endsTableList(token) || findClause(tokens, i, true) == i)
                break;
            FromTable table{token.text, QString()};
            if (token.kind == db::SqlToken::QuotedName || token.kind == db::SqlToken::String)
                table.name = table.name.mid(1, table.name.size() - 2);
            int next = nextSolid(tokens, i + 1);
            if (next < tokens.size() && tokens[next].isKeyword("AS"))
                next = nextSolid(tokens, next + 1);
            if (isAlias(tokens, next)) {
                table.alias = tokens[next].text;
                i = next;
            }
            tables.append(table);
            expectTable = false;
        }
    }
    return tables;
}

}

void TqkFilterDialog::refreshFromClause(TDataSet *dataSet)
{
    const QString sql = qkReadList(dataSet, QStringLiteral("Sql")).value_or(QStringList()).join(QLatin1Char('\n'));
    for (const FromTable &table : fromClauseTables(db::tokenizeSql(sql)))
        addTableFields(dataSet, table.name, table.alias);
}

void TqkFilterDialog::addTableFields(TDataSet *dataSet, const QString &tableName, const QString &alias)
{
    TTable table;
    table.SetDatabaseName(qkGetDatabaseName(dataSet));
    table.SetSessionName(qkGetSessionName(dataSet));
    table.SetTableName(tableName);
    table.SetReadOnly(true);
    table.Open();
    QString shownTable = alias.isEmpty() ? tableName : alias;
    if (alias.isEmpty() && shownTable.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        shownTable.chop(3);
    for (const TField *field : table.FieldList()) {
        QString name = field->FieldName();
        bool listed = false;
        for (const TqkDBFieldInfo &info : m_searchable)
            listed = listed
                     || (info.SqlFieldName.compare(name, Qt::CaseInsensitive) == 0
                         && info.TableName.compare(shownTable, Qt::CaseInsensitive) == 0);
        if (listed)
            continue;
        while (FindSearchableField(name))
            name += QStringLiteral("_1");
        const TField *queryField = dataSet->FindField(field->FieldName());
        m_searchable.push_back({name, field->FieldName(), shownTable, field->DataType(),
                                queryField ? queryField->DisplayLabel() : field->DisplayLabel(), field->Size()});
    }
}

// ---- range optimisation of a library table

void TqkFilterDialog::optimiseRange(TDataSet *dataSet)
{
    auto *table = qobject_cast<TqkTable *>(dataSet);
    if (!table)
        return;
    if (m_rangeSet) {
        table->CancelRange();
        if (m_indexBeforeRange)
            table->SetIndexName(*m_indexBeforeRange);
        m_indexBeforeRange.reset();
        m_rangeSet = false;
    }
    if (m_optimization == fdNone || (m_optimization == fdUseActiveIndex && table->IndexFieldCount() == 0))
        return;
    for (const auto &info : m_fieldInfo) {
        if (info->NonMatching)
            continue;
        if (m_optimization == fdUseAllIndexes) {
            const QString index = table->IndexNameForField(info->FieldName, info->CaseSensitive);
            if (index == QLatin1String("?"))
                continue;
            m_indexBeforeRange = table->IndexName();
            table->SetIndexName(index);
        }
        if (table->FirstIndexField().compare(info->FieldName, Qt::CaseInsensitive) != 0
            || !setRangeFor(*table, *info)) {
            if (m_indexBeforeRange)
                table->SetIndexName(*m_indexBeforeRange);
            m_indexBeforeRange.reset();
            continue;
        }
        m_rangeSet = true;
        return;
    }
}

namespace {

struct KeyRange
{
    QVariantList start;
    QVariantList end;
};

bool isLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xff; });
}

// Every text the record test takes as `text` (exact) or as beginning with
// it, in any case and with "ß" or "ss": keys from the lowest text of the
// first sorting level to past all of them there, so that the index's case
// rule plays no part. Beyond Latin-1 upper-casing and sorting part ways.
std::optional<KeyRange> textRange(const QString &text, bool exact)
{
    if (text.isEmpty() || !isLatin1(text))
        return std::nullopt;
    const char32_t beyondAll = QChar::LastValidCodePoint;
    const QString low = db::germanPrimaryForm(text);
    return KeyRange{{low}, {low + (exact ? QString(QChar(1)) : QString::fromUcs4(&beyondAll, 1))}};
}

bool isIntegerType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

// A bound or value as the record test reads it for the key's type.
QVariant typedValue(TFieldType type, const QString &text)
{
    if (isIntegerType(type))
        return qlonglong(StrToInt(text));
    if (isDateType(type))
        return filterDateTime(type, text);
    return StrToFloat(text);
}

std::optional<KeyRange> boundsRange(const TField &key, const TqkFieldInfo &info)
{
    QString low = info.MinValue, high = info.MaxValue;
    const TFieldType type = key.DataType();
    if (type == ftString) {
        // The test compares character codes, the index a German reader's
        // order; both agree only on the bounds' common beginning.
        if (!info.CaseSensitive)
            low = low.toUpper(), high = high.toUpper();
        qsizetype common = 0;
        while (common < low.size() && common < high.size() && low[common] == high[common])
            ++common;
        return textRange(low.left(common), false);
    }
    const bool floating = type == ftFloat || type == ftCurrency || type == ftBCD;
    if (!isIntegerType(type) && !floating && !isDateType(type))
        return std::nullopt;
    if (low.isEmpty() && high.isEmpty())
        return std::nullopt;
    const QVariant lowKey = low.isEmpty() ? QVariant() : typedValue(type, low);
    const QVariant highKey = high.isEmpty() ? QVariant() : typedValue(type, high);
    // An empty number counts as 0 in the test, and empty keys sort first.
    const bool takesEmpty = !isDateType(type) && (low.isEmpty() || lowKey.toDouble() <= 0)
                            && (high.isEmpty() || highKey.toDouble() >= 0);
    return KeyRange{low.isEmpty() || takesEmpty ? QVariantList() : QVariantList{lowKey},
                    high.isEmpty() ? QVariantList() : QVariantList{highKey}};
}

// The range holds every record the record test accepts (the test still
// sees each one): the value is read as the test reads it, and a value the
// test does not compare through the key's own order sets no range.
std::optional<KeyRange> rangeFor(const TField &key, const TqkFieldInfo &info, const TqkFieldOperators &operators)
{
    const TFieldType type = key.DataType();
    if (info.MatchType == fdMatchRange)
        return boundsRange(key, info);
    const TqkAlternatives alternatives = qkSplitAlternatives(info.FilterValue, operators);
    const QString value = alternatives.items.value(0);
    if (alternatives.items.size() != 1 || value.isEmpty()
        || value.compare(operators.NullChar(), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    if (type == ftString && (info.MatchType == fdMatchExact || info.MatchType == fdMatchStart))
        return textRange(value, info.MatchType == fdMatchExact);
    // Times and floating-point numbers are compared through their texts,
    // which round.
    if (info.MatchType != fdMatchExact || !(isIntegerType(type) || type == ftDate))
        return std::nullopt;
    const QVariant typed = typedValue(type, value);
    return KeyRange{{typed}, {typed}};
}

}

bool TqkFilterDialog::setRangeFor(TqkTable &table, const TqkFieldInfo &info) const
{
    std::optional<KeyRange> range;
    try {
        range = rangeFor(*table.IndexFields(0), info, m_operators);
    } catch (const Exception &) {
        return false;
    }
    if (range)
        table.SetRange(range->start, range->end);
    return range.has_value();
}
