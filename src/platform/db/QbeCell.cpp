#include "platform/db/QbeCell.h"

#include "platform/db/SqliteConnection.h"
#include "platform/runtime/Exceptions.h"

#include <QRegularExpression>

namespace db {

void refuseQbe(const QString &what)
{
    throw EDBEngineError(qbeNotUnderstood, QStringLiteral("Abfrage nicht verstanden: %1.").arg(what));
}

namespace {

// Words of the language that this reader does not take, or takes only in
// their own place; a constant spelled like one must stand in double quotes.
const char *const reservedWords[] = {"count",      "sum",
                                     "average",    "min",
                                     "max",        "all",
                                     "unique",     "only",
                                     "no",         "every",
                                     "exactly",    "set",
                                     "find",       "group",
                                     "as",         "calc",
                                     "changeto",   "insert",
                                     "delete",     "check",
                                     "checkplus",  "checkdescending",
                                     "checkgroup", "or"};

bool isQuoted(const QString &text)
{
    return text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))
           && !text.mid(1, text.size() - 2).contains(QLatin1Char('"'));
}

QString firstWord(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z]+\\b"));
    return word.match(text).captured().toLower();
}

void refuseReservedWord(const QString &item)
{
    const QString word = firstWord(item);
    for (const char *reserved : reservedWords)
        if (word == QLatin1String(reserved))
            refuseQbe(QStringLiteral("\"%1\" (ein Wert, der wie ein Wort der Abfragesprache lautet, "
                                     "steht in Anführungszeichen)")
                          .arg(item));
}

// Splits at a separator outside double quotes and parentheses: a comma, or
// the word "or" between blanks.
QStringList splitTopLevel(const QString &text, bool atOr)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    int depth = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('('))
            ++depth;
        else if (!quoted && c == QLatin1Char(')'))
            --depth;
        const bool outside = !quoted && depth == 0;
        if (outside && !atOr && c == QLatin1Char(',')) {
            parts.append(current.trimmed());
            current.clear();
            continue;
        }
        if (outside && atOr && c.isSpace() && text.mid(i + 1, 2).compare(QLatin1String("or"), Qt::CaseInsensitive) == 0
            && i + 3 < text.size() && text[i + 3].isSpace()) {
            parts.append(current.trimmed());
            current.clear();
            i += 3;
            continue;
        }
        current += c;
    }
    if (quoted)
        refuseQbe(QStringLiteral("%1 (Anführungszeichen nicht geschlossen)").arg(text));
    parts.append(current.trimmed());
    return parts;
}

bool isElement(const QString &text)
{
    static const QRegularExpression element(QStringLiteral("^_\\w+$"));
    return element.match(text).hasMatch();
}

bool isNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    return number.match(text).hasMatch();
}

bool isNumericType(TFieldType type)
{
    return (type >= ftSmallint && type <= ftBCD && type != ftBoolean) || type == ftAutoInc;
}

bool isDateType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

QString sqlText(const QString &value)
{
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString unquoted(const QString &text)
{
    return isQuoted(text) ? text.mid(1, text.size() - 2) : text;
}

// "today", "today + 3", "today-7" as the stored date.
bool todaySql(const QString &text, const QbeSettings &settings, QString &sql)
{
    static const QRegularExpression today(QStringLiteral("^today\\s*(?:([+-])\\s*(\\d+))?$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = today.match(text);
    if (!match.hasMatch())
        return false;
    const qint64 days = match.captured(2).toLongLong() * (match.captured(1) == QLatin1String("-") ? -1 : 1);
    sql = sqlText(settings.today.addDays(days).toString(Qt::ISODate));
    return true;
}

QDate dateOf(const QString &text)
{
    for (const char *format : {"d.M.yyyy", "yyyy-MM-dd", "M/d/yyyy", "yyyy/M/d"}) {
        const QDate date = QDate::fromString(text, QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return {};
}

QString constantSql(const QString &text, TFieldType type)
{
    const QString value = unquoted(text);
    if (isNumericType(type)) {
        if (!isNumber(value))
            refuseQbe(QStringLiteral("\"%1\" (keine Zahl für ein Zahlenfeld)").arg(text));
        return value;
    }
    if (type == ftBoolean) {
        if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("1");
        if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("0");
        refuseQbe(QStringLiteral("\"%1\" (kein Wahrheitswert, erwartet True oder False)").arg(text));
    }
    if (type == ftDate) {
        const QDate date = dateOf(value);
        if (!date.isValid())
            refuseQbe(QStringLiteral("\"%1\" (kein Datum)").arg(text));
        return sqlText(date.toString(Qt::ISODate));
    }
    if (type == ftUnknown && !isQuoted(text) && isNumber(value))
        return value;
    return sqlText(value);
}

// Arithmetic over example elements, numbers and constants in double
// quotes; "+" joins texts when any operand is text.
class Arithmetic
{
public:
    Arithmetic(const QString &text, const QbeElements &elements, const QbeSettings &settings)
        : m_text(text), m_elements(elements), m_settings(settings)
    {}

    QString sql()
    {
        static const QRegularExpression token(QStringLiteral("\\s*(\"[^\"]*\"|\\d+(?:\\.\\d+)?|_\\w+|[-+*/()]|\\S+)"));
        QStringList parts;
        bool text = false;
        bool dated = false;
        bool arithmetic = false;
        for (auto it = token.globalMatch(m_text); it.hasNext();) {
            const QString part = it.next().captured(1);
            if (isElement(part)) {
                const TFieldType type = m_elements.typeOf(part);
                text = text || (!isNumericType(type) && !isDateType(type) && type != ftBoolean);
                dated = dated || isDateType(type);
                parts.append(elementSql(part, type));
            } else if (part.startsWith(QLatin1Char('"'))) {
                text = true;
                parts.append(sqlText(unquoted(part)));
            } else if (isNumber(part) || part == QLatin1String("(") || part == QLatin1String(")")) {
                parts.append(part);
            } else if (QStringLiteral("+-*/").contains(part)) {
                arithmetic = true;
                parts.append(part);
            } else {
                refuseQbe(QStringLiteral("\"%1\" in der Rechnung \"%2\"").arg(part, m_text));
            }
        }
        if (dated && arithmetic)
            refuseQbe(QStringLiteral("\"%1\" (Rechnen mit Datumsfeldern)").arg(m_text));
        if (text)
            parts.replaceInStrings(QRegularExpression(QStringLiteral("^\\+$")), QStringLiteral("||"));
        return parts.join(QLatin1Char(' '));
    }

private:
    QString elementSql(const QString &element, TFieldType type) const
    {
        return qbeNumericColumn({m_elements.columnOf(element), type}, m_settings);
    }

    QString m_text;
    const QbeElements &m_elements;
    const QbeSettings &m_settings;
};

bool isArithmetic(const QString &text)
{
    static const QRegularExpression element(QStringLiteral("(^|[^\\w\"])_\\w"));
    static const QRegularExpression numbers(QStringLiteral("^[-+*/().\\d\\s]*\\d[-+*/().\\d\\s]*$"));
    static const QRegularExpression operatorInside(QStringLiteral("[\\d)]\\s*[-+*/]"));
    if (isQuoted(text))
        return false;
    if (element.match(text).hasMatch())
        return true;
    return numbers.match(text).hasMatch() && operatorInside.match(text).hasMatch() && !dateOf(text).isValid();
}

QString likePattern(const QString &text)
{
    const QString value = unquoted(text);
    QString pattern;
    for (int i = 0; i < value.size(); ++i) {
        if (value.mid(i, 2) == QLatin1String("..")) {
            pattern += QLatin1Char('%');
            ++i;
        } else if (value[i] == QLatin1Char('@')) {
            pattern += QLatin1Char('_');
        } else {
            if (value[i] == QLatin1Char('%') || value[i] == QLatin1Char('_') || value[i] == QLatin1Char('\\'))
                pattern += QLatin1Char('\\');
            pattern += value[i];
        }
    }
    return sqlText(pattern) + QStringLiteral(" ESCAPE '\\'");
}

bool isPattern(const QString &text)
{
    return !isQuoted(text) && (text.contains(QLatin1String("..")) || text.contains(QLatin1Char('@')));
}

// Takes the calculation, the change and the bare example element out of
// the comma-joined items of a cell; answers the conditions left.
QStringList readCellItems(QbeCell &cell, const QString &text)
{
    static const QRegularExpression calcAs(QStringLiteral("^calc\\s+(.+?)(?:\\s+as\\s+(\\S.*))?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression changeTo(QStringLiteral("^changeto\\s+(.+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList conditions;
    for (const QString &item : splitTopLevel(text, false)) {
        const QRegularExpressionMatch calc = calcAs.match(item);
        const QRegularExpressionMatch change = changeTo.match(item);
        if (calc.hasMatch() && cell.calc.isEmpty()) {
            cell.calc = calc.captured(1).trimmed();
            cell.calcName = unquoted(calc.captured(2).trimmed());
        } else if (change.hasMatch() && cell.changeTo.isEmpty()) {
            cell.changeTo = change.captured(1).trimmed();
        } else if (isElement(item) && cell.element.isEmpty()) {
            cell.element = item;
        } else {
            conditions.append(item);
        }
    }
    return conditions;
}

}

bool QbeCell::isEmpty() const
{
    return check == QbeCheck::None && element.isEmpty() && alternatives.isEmpty() && calc.isEmpty()
           && changeTo.isEmpty();
}

QStringList QbeCell::elementsNamed() const
{
    static const QRegularExpression pattern(QStringLiteral("\"[^\"]*\"|(?<![\\w])_\\w+"));
    QStringList texts{element, calc, changeTo};
    for (const QStringList &items : alternatives)
        texts += items;
    QStringList names;
    for (const QString &text : std::as_const(texts))
        for (auto it = pattern.globalMatch(text); it.hasNext();) {
            const QString found = it.next().captured();
            if (found.startsWith(QLatin1Char('_')) && !names.contains(found, Qt::CaseInsensitive))
                names.append(found);
        }
    return names;
}

QbeCheck qbeCheckWord(const QString &word)
{
    const QString lower = word.toLower();
    if (lower == QLatin1String("check"))
        return QbeCheck::Check;
    if (lower == QLatin1String("checkplus"))
        return QbeCheck::CheckPlus;
    if (lower == QLatin1String("checkdescending"))
        return QbeCheck::CheckDescending;
    if (lower == QLatin1String("checkgroup"))
        refuseQbe(QStringLiteral("\"%1\"").arg(word));
    return QbeCheck::None;
}

QbeCell readQbeCell(const QString &text)
{
    QbeCell cell;
    QString rest = text.trimmed();
    static const QRegularExpression checkWord(QStringLiteral("^([A-Za-z]+)(\\s+|$)"));
    const QRegularExpressionMatch check = checkWord.match(rest);
    if (check.hasMatch() && (cell.check = qbeCheckWord(check.captured(1))) != QbeCheck::None)
        rest = rest.mid(check.capturedLength()).trimmed();
    if (rest.isEmpty())
        return cell;
    const QStringList alternatives = splitTopLevel(rest, true);
    if (alternatives.size() > 1) {
        for (const QString &alternative : alternatives)
            cell.alternatives.append(splitTopLevel(alternative, false));
    } else {
        const QStringList conditions = readCellItems(cell, rest);
        if (!conditions.isEmpty())
            cell.alternatives.append(conditions);
    }
    static const QRegularExpression special(QStringLiteral("^(calc|changeto)\\b|^_\\w+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QStringList &items : std::as_const(cell.alternatives))
        for (const QString &item : items) {
            if (item.isEmpty())
                refuseQbe(QStringLiteral("\"%1\" (leere Bedingung zwischen Kommas)").arg(rest));
            if (alternatives.size() > 1 && special.match(item).hasMatch())
                refuseQbe(QStringLiteral("\"%1\" (neben \"or\" in einem Feld)").arg(rest));
        }
    return cell;
}

QString qbeNumericColumn(const QbeColumn &column, const QbeSettings &settings)
{
    return settings.blankAsZero && isNumericType(column.type) ? QStringLiteral("COALESCE(%1, 0)").arg(column.sql)
                                                              : column.sql;
}

QString qbeValueSql(const QString &text, TFieldType targetType, const QbeElements &elements,
                    const QbeSettings &settings)
{
    const QString value = text.trimmed();
    if (value.isEmpty())
        refuseQbe(QStringLiteral("ein Vergleich ohne Wert"));
    refuseReservedWord(value);
    QString sql;
    if (todaySql(value, settings, sql))
        return sql;
    if (isArithmetic(value))
        return Arithmetic(value, elements, settings).sql();
    return constantSql(value, targetType);
}

QString qbeCalculationSql(const QString &text, const QbeElements &elements, const QbeSettings &settings)
{
    QString sql;
    if (!isArithmetic(text) && !isQuoted(text) && !isNumber(text) && !todaySql(text, settings, sql))
        refuseQbe(QStringLiteral("\"calc %1\" (keine Rechnung)").arg(text));
    return qbeValueSql(text, ftUnknown, elements, settings);
}

QString qbeConditionSql(const QbeColumn &column, const QString &item, const QbeElements &elements,
                        const QbeSettings &settings)
{
    static const QRegularExpression negation(QStringLiteral("^not\\s+(.+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression like(QStringLiteral("^like\\s+(.+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression comparison(QStringLiteral("^(<=|>=|<>|<|>|=)\\s*(.*)$"));
    const QRegularExpressionMatch negated = negation.match(item);
    if (negated.hasMatch())
        return QStringLiteral("NOT (%1)")
            .arg(qbeConditionSql(column, negated.captured(1).trimmed(), elements, settings));
    if (item.compare(QLatin1String("blank"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("(%1 IS NULL OR %1 = '')").arg(column.sql);
    const QRegularExpressionMatch liked = like.match(item);
    if (liked.hasMatch()) {
        if (isArithmetic(liked.captured(1)))
            refuseQbe(QStringLiteral("\"%1\" (like mit einer Rechnung)").arg(item));
        return column.sql + QStringLiteral(" LIKE ") + likePattern(liked.captured(1).trimmed());
    }
    const QRegularExpressionMatch compared = comparison.match(item);
    if (!compared.hasMatch() && isPattern(item) && !isArithmetic(item))
        return column.sql + QStringLiteral(" LIKE ") + likePattern(item);
    const QString op = compared.hasMatch() ? compared.captured(1) : QStringLiteral("=");
    const QString operand = compared.hasMatch() ? compared.captured(2) : item;
    if (operand.trimmed().compare(QLatin1String("blank"), Qt::CaseInsensitive) == 0)
        refuseQbe(QStringLiteral("\"%1\" (blank mit einem Vergleich)").arg(item));
    return qbeNumericColumn(column, settings) + QLatin1Char(' ') + op + QLatin1Char(' ')
           + qbeValueSql(operand, column.type, elements, settings);
}

}
