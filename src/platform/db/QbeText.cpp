#include "platform/db/QbeText.h"

#include "platform/db/SqliteConnection.h"
#include "platform/runtime/Exceptions.h"

#include <QRegularExpression>
#include <QStringList>

namespace db {

namespace {

[[noreturn]] void unsupported(const QString &what)
{
    throw EDatabaseError(QStringLiteral("QBE: %1 wird nicht unterstützt").arg(what));
}

QStringList cellsOf(const QString &line)
{
    QStringList cells = line.split(QLatin1Char('|'));
    for (QString &cell : cells)
        cell = cell.trimmed();
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

QString sqlText(const QString &value)
{
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

bool isNumber(const QString &value)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    return number.match(value).hasMatch();
}

QString literal(QString value)
{
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return sqlText(value.mid(1, value.size() - 2));
    return isNumber(value) ? value : sqlText(value);
}

// Splits a cell at the commas outside double quotes.
QStringList conditionsOf(const QString &cell)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    for (QChar c : cell) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(',') && !quoted) {
            parts.append(current.trimmed());
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(current.trimmed());
    parts.removeAll(QString());
    return parts;
}

QString likePattern(QString value)
{
    if (value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')) && value.size() >= 2)
        value = value.mid(1, value.size() - 2);
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

QString condition(const QString &column, QString text)
{
    bool negated = false;
    if (text.startsWith(QLatin1String("not "), Qt::CaseInsensitive)) {
        negated = true;
        text = text.mid(4).trimmed();
    }
    QString sql;
    static const QRegularExpression comparison(QStringLiteral("^(<=|>=|<>|<|>|=)\\s*(.*)$"));
    const QRegularExpressionMatch match = comparison.match(text);
    if (text.compare(QLatin1String("blank"), Qt::CaseInsensitive) == 0) {
        sql = QStringLiteral("(%1 IS NULL OR %1 = '')").arg(column);
    } else if (text.startsWith(QLatin1String("like "), Qt::CaseInsensitive)) {
        sql = column + QStringLiteral(" LIKE ") + likePattern(text.mid(5).trimmed());
    } else if (match.hasMatch()) {
        sql = column + QLatin1Char(' ') + match.captured(1) + QLatin1Char(' ') + literal(match.captured(2).trimmed());
    } else if (text.startsWith(QLatin1Char('_'))) {
        unsupported(QStringLiteral("Das Beispielelement ") + text);
    } else if (text.contains(QLatin1String(".."))
               || (text.contains(QLatin1Char('@')) && !text.startsWith(QLatin1Char('"')))) {
        sql = column + QStringLiteral(" LIKE ") + likePattern(text);
    } else {
        sql = column + QStringLiteral(" = ") + literal(text);
    }
    return negated ? QStringLiteral("NOT (%1)").arg(sql) : sql;
}

struct Answer
{
    QString column;
    bool distinct = false;
    bool descending = false;
};

}

QbeQuery translateQbe(const QString &text)
{
    QbeQuery result;
    QString table;
    QStringList fields;
    QStringList rows;
    QList<Answer> answers;
    bool inTable = false;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.compare(QLatin1String("Query"), Qt::CaseInsensitive) == 0 || line.isEmpty()) {
            inTable = false;
            continue;
        }
        if (line.compare(QLatin1String("EndQuery"), Qt::CaseInsensitive) == 0)
            break;
        if (line.startsWith(QLatin1String("ANSWER:"), Qt::CaseInsensitive)) {
            result.answerTable = line.mid(7).trimmed();
            continue;
        }
        if (!line.contains(QLatin1Char('|')))
            unsupported(QStringLiteral("Die Zeile \"%1\"").arg(line));
        const QStringList cells = cellsOf(line);
        if (!inTable) {
            if (!table.isEmpty())
                unsupported(QStringLiteral("Eine Abfrage über mehrere Tabellen"));
            table = cells.value(0);
            fields = cells.mid(1);
            inTable = true;
            continue;
        }
        if (!cells.value(0).isEmpty())
            unsupported(QStringLiteral("Die Zeilenanweisung ") + cells.value(0));
        QStringList conditions;
        for (int i = 1; i < cells.size() && i - 1 < fields.size(); ++i) {
            const QString column = quoteIdentifier(fields[i - 1]);
            QString cell = cells[i];
            static const QRegularExpression check(QStringLiteral("^(CheckPlus|CheckDescending|Check)\\b\\s*"),
                                                  QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch checked = check.match(cell);
            if (checked.hasMatch()) {
                const QString word = checked.captured(1).toLower();
                bool known = false;
                for (const Answer &answer : std::as_const(answers))
                    known = known || answer.column == column;
                if (!known)
                    answers.append(
                        {column, word != QLatin1String("checkplus"), word == QLatin1String("checkdescending")});
                cell = cell.mid(checked.capturedLength());
            }
            for (const QString &part : conditionsOf(cell))
                conditions.append(condition(column, part));
        }
        rows.append(conditions.isEmpty() ? QStringLiteral("1") : conditions.join(QStringLiteral(" AND ")));
    }
    if (table.isEmpty())
        unsupported(QStringLiteral("Eine Abfrage ohne Tabelle"));
    if (answers.isEmpty())
        unsupported(QStringLiteral("Eine Abfrage ohne ausgewähltes Feld"));
    QStringList columns, order;
    bool distinct = false;
    for (const Answer &answer : std::as_const(answers)) {
        columns.append(answer.column);
        distinct = distinct || answer.distinct;
        if (answer.distinct || answer.descending)
            order.append(answer.column + (answer.descending ? QStringLiteral(" DESC") : QString()));
    }
    result.sql = QStringLiteral("SELECT %1%2 FROM %3")
                     .arg(distinct ? QStringLiteral("DISTINCT ") : QString(), columns.join(QStringLiteral(", ")),
                          quoteIdentifier(table));
    QStringList alternatives;
    for (const QString &row : std::as_const(rows))
        alternatives.append(QLatin1Char('(') + row + QLatin1Char(')'));
    if (!alternatives.isEmpty())
        result.sql += QStringLiteral(" WHERE ") + alternatives.join(QStringLiteral(" OR "));
    if (!order.isEmpty())
        result.sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    return result;
}

}
