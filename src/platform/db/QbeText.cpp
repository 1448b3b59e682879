#include "platform/db/QbeText.h"

#include "platform/db/SqliteConnection.h"

#include <QHash>
#include <QRegularExpression>

#include <numeric>

namespace db {

namespace {

enum class RowWord { None, Delete, Insert };

struct Block
{
    QString table;
    QStringList fields;
};

struct Row
{
    int block = 0;
    RowWord word = RowWord::None;
    QbeCheck check = QbeCheck::None;
    QList<QbeCell> cells;
};

struct Answer
{
    QString sql;
    QString name;
    QbeCheck check = QbeCheck::None;
    bool summary = false;
};

// Splits a line at the bars outside double quotes; trailing empty cells go.
QStringList cellsOf(const QString &line)
{
    QStringList cells{QString()};
    bool quoted = false;
    for (QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('|') && !quoted)
            cells.append(QString());
        else
            cells.last() += c;
    }
    for (QString &cell : cells)
        cell = cell.trimmed();
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

RowWord rowWord(const QString &word, QbeCheck &check)
{
    check = qbeCheckWord(word);
    if (word.isEmpty() || check != QbeCheck::None)
        return RowWord::None;
    if (word.compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0)
        return RowWord::Delete;
    if (word.compare(QLatin1String("insert"), Qt::CaseInsensitive) == 0)
        return RowWord::Insert;
    refuseQbe(QStringLiteral("die Zeilenanweisung \"%1\"").arg(word));
}

// The text read into its table blocks and example rows.
class QbeLayout
{
public:
    QList<Block> blocks;
    QList<Row> rows;
    QString answerTable;

    explicit QbeLayout(const QString &text)
    {
        bool inBlock = false;
        bool started = false;
        for (const QString &raw : text.split(QLatin1Char('\n'))) {
            const QString line = raw.trimmed();
            if (line.isEmpty()) {
                inBlock = false;
            } else if (!started && line.compare(QLatin1String("query"), Qt::CaseInsensitive) == 0) {
                started = true;
            } else if (line.compare(QLatin1String("endquery"), Qt::CaseInsensitive) == 0) {
                break;
            } else if (line.startsWith(QLatin1String("answer:"), Qt::CaseInsensitive)) {
                answerTable = line.mid(7).trimmed();
            } else if (!line.contains(QLatin1Char('|'))) {
                refuseQbe(QStringLiteral("die Zeile \"%1\"").arg(line));
            } else if (!inBlock) {
                const QStringList cells = cellsOf(line);
                if (cells.value(0).isEmpty())
                    refuseQbe(QStringLiteral("die Zeile \"%1\" (keine Tabelle vor den Beispielzeilen)").arg(line));
                blocks.append({cells.value(0), cells.mid(1)});
                inBlock = true;
            } else {
                readRow(line);
            }
        }
        if (blocks.isEmpty())
            refuseQbe(QStringLiteral("eine Abfrage ohne Tabelle"));
    }

private:
    void readRow(const QString &line)
    {
        const QStringList cells = cellsOf(line);
        const Block &block = blocks.last();
        if (cells.size() - 1 > block.fields.size())
            refuseQbe(QStringLiteral("die Zeile \"%1\" (mehr Felder als die Tabelle %2 nennt)").arg(line, block.table));
        Row row;
        row.block = int(blocks.size()) - 1;
        row.word = rowWord(cells.value(0), row.check);
        bool empty = row.word == RowWord::None && row.check == QbeCheck::None;
        for (int i = 1; i <= block.fields.size(); ++i) {
            row.cells.append(readQbeCell(cells.value(i)));
            empty = empty && row.cells.last().isEmpty();
        }
        if (!empty)
            rows.append(row);
    }
};

class Bindings : public QbeElements
{
public:
    QString columnOf(const QString &element) const override
    {
        const auto found = m_bound.constFind(element.toLower());
        if (found == m_bound.constEnd())
            refuseQbe(QStringLiteral("das Beispielelement %1 (es steht in keinem Feld allein)").arg(element));
        return found->sql;
    }
    TFieldType typeOf(const QString &element) const override { return m_bound.value(element.toLower()).type; }
    // Binds a free element to the column; an element already bound gives
    // the join condition instead.
    QString bind(const QString &element, const QbeColumn &column)
    {
        const QString key = element.toLower();
        if (m_bound.contains(key))
            return QStringLiteral("%1 = %2").arg(column.sql, m_bound.value(key).sql);
        m_bound.insert(key, column);
        return QString();
    }

private:
    QHash<QString, QbeColumn> m_bound;
};

// Rows joined by example elements: one question of the text.
class Component
{
public:
    Component(const QbeLayout &layout, const QList<int> &rows, const QbeOptions &options)
        : m_layout(&layout), m_rows(rows), m_options(&options)
    {
        for (int i = 0; i < m_rows.size(); ++i)
            if (row(i).word != RowWord::Insert)
                bindRow(i);
        for (int i = 0; i < m_rows.size(); ++i)
            if (row(i).word != RowWord::Insert)
                addConditions(i);
    }

    bool changes() const { return targetRow() >= 0; }
    bool singleRowOf(const QString &table) const
    {
        return m_rows.size() == 1 && block(0).table.compare(table, Qt::CaseInsensitive) == 0;
    }
    const QString &firstTable() const { return block(0).table; }
    QString conditions() const
    {
        return m_where.isEmpty() ? QStringLiteral("1") : m_where.join(QStringLiteral(" AND "));
    }
    QString from(int skipped = -1) const
    {
        QStringList tables;
        for (int i = 0; i < m_rows.size(); ++i)
            if (i != skipped)
                tables.append(qbeTableSql(block(i).table) + QStringLiteral(" AS ") + alias(i));
        return tables.join(QStringLiteral(", "));
    }

    QList<Answer> answers() const
    {
        QList<Answer> answers;
        for (int i = 0; i < m_rows.size(); ++i)
            for (int f = 0; f < row(i).cells.size(); ++f) {
                const QbeCell &cell = row(i).cells[f];
                const QbeCheck check = cell.check != QbeCheck::None ? cell.check : row(i).check;
                if (check != QbeCheck::None)
                    answers.append({column(i, f).sql, block(i).fields[f], check, false});
                if (!cell.calc.isEmpty())
                    answers.append(calculation(i, f));
            }
        return answers;
    }

    QbeChange change() const
    {
        const int target = targetRow();
        for (int i = 0; i < m_rows.size(); ++i)
            if (i != target && rowAsksMore(i))
                refuseQbe(QStringLiteral("eine Zeile von %1, die neben einer Änderung Felder auswählt oder ändert")
                              .arg(block(i).table));
        if (row(target).word == RowWord::Insert)
            return insertChange(target);
        QbeChange change;
        change.table = block(target).table;
        change.records =
            QStringLiteral("SELECT DISTINCT %1.rowid FROM %2 WHERE %3").arg(alias(target), from(), conditions());
        if (row(target).word == RowWord::Delete) {
            change.statement =
                QStringLiteral("DELETE FROM %1 WHERE rowid IN (%2)").arg(qbeTableSql(change.table), change.records);
            return change;
        }
        change.kind = QbeChange::ChangeTo;
        addChangedFields(change, target);
        return change;
    }

private:
    const Row &row(int i) const { return m_layout->rows[m_rows[i]]; }
    const Block &block(int i) const { return m_layout->blocks[row(i).block]; }
    QString alias(int i) const { return QStringLiteral("r%1").arg(i); }
    QbeColumn column(int i, int field) const
    {
        const QString name = block(i).fields[field];
        const TFieldType type =
            m_options->fieldType ? m_options->fieldType(block(i).table, name) : TFieldType(ftUnknown);
        return {alias(i) + QLatin1Char('.') + quoteIdentifier(name), type};
    }

    int targetRow() const
    {
        int target = -1;
        for (int i = 0; i < m_rows.size(); ++i) {
            bool changing = row(i).word != RowWord::None;
            for (const QbeCell &cell : row(i).cells)
                changing = changing || !cell.changeTo.isEmpty();
            if (changing && target >= 0)
                refuseQbe(QStringLiteral("zwei verknüpfte Zeilen, die beide Tabellen ändern"));
            if (changing)
                target = i;
        }
        return target;
    }

    bool rowAsksMore(int i) const
    {
        bool more = row(i).check != QbeCheck::None;
        for (const QbeCell &cell : row(i).cells)
            more = more || cell.check != QbeCheck::None || !cell.calc.isEmpty() || !cell.changeTo.isEmpty();
        return more || row(i).word != RowWord::None;
    }

    void bindRow(int i)
    {
        for (int f = 0; f < row(i).cells.size(); ++f) {
            const QString &element = row(i).cells[f].element;
            if (element.isEmpty())
                continue;
            const QString join = m_bindings.bind(element, column(i, f));
            if (!join.isEmpty())
                m_where.append(join);
        }
    }

    void addConditions(int i)
    {
        for (int f = 0; f < row(i).cells.size(); ++f) {
            QStringList alternatives;
            for (const QStringList &items : row(i).cells[f].alternatives) {
                QStringList conditions;
                for (const QString &item : items)
                    conditions.append(qbeConditionSql(column(i, f), item, m_bindings, m_options->settings));
                alternatives.append(conditions.join(QStringLiteral(" AND ")));
            }
            if (alternatives.size() == 1)
                m_where.append(alternatives.first());
            else if (!alternatives.isEmpty())
                m_where.append(QStringLiteral("((%1))").arg(alternatives.join(QStringLiteral(") OR ("))));
        }
    }

    Answer calculation(int i, int f) const
    {
        static const QRegularExpression summary(QStringLiteral("^(count|sum|average|min|max)(?:\\s+(all|unique))?$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QbeCell &cell = row(i).cells[f];
        const QRegularExpressionMatch match = summary.match(cell.calc);
        if (!match.hasMatch()) {
            const QString name = cell.calcName.isEmpty() ? block(i).fields[f] : cell.calcName;
            return {qbeCalculationSql(cell.calc, m_bindings, m_options->settings), name, QbeCheck::None, false};
        }
        const QString word = match.captured(1).toLower();
        const QString modifier = match.captured(2).toLower();
        const bool distinct =
            word == QLatin1String("count") ? modifier != QLatin1String("all") : modifier == QLatin1String("unique");
        static const QHash<QString, QPair<QString, QString>> functions{
            {QStringLiteral("count"), {QStringLiteral("COUNT"), QStringLiteral("Anzahl von ")}},
            {QStringLiteral("sum"), {QStringLiteral("SUM"), QStringLiteral("Summe von ")}},
            {QStringLiteral("average"), {QStringLiteral("AVG"), QStringLiteral("Durchschnitt von ")}},
            {QStringLiteral("min"), {QStringLiteral("MIN"), QStringLiteral("Minimum von ")}},
            {QStringLiteral("max"), {QStringLiteral("MAX"), QStringLiteral("Maximum von ")}}};
        const auto &[function, label] = functions.value(word);
        const QbeColumn counted = column(i, f);
        const QString argument =
            word == QLatin1String("count") || word == QLatin1String("min") || word == QLatin1String("max")
                ? counted.sql
                : qbeNumericColumn(counted, m_options->settings);
        const QString sql =
            QStringLiteral("%1(%2%3)").arg(function, distinct ? QStringLiteral("DISTINCT ") : QString(), argument);
        return {sql, cell.calcName.isEmpty() ? label + block(i).fields[f] : cell.calcName, QbeCheck::None, true};
    }

    QbeChange insertChange(int target) const
    {
        QbeChange change;
        change.kind = QbeChange::Insert;
        change.table = block(target).table;
        QStringList values;
        for (int f = 0; f < row(target).cells.size(); ++f) {
            const QbeCell &cell = row(target).cells[f];
            if (cell.isEmpty())
                continue;
            const bool single = cell.alternatives.size() + (cell.element.isEmpty() ? 0 : 1) == 1
                                && (cell.alternatives.isEmpty() || cell.alternatives.first().size() == 1);
            if (!single || cell.check != QbeCheck::None || !cell.calc.isEmpty() || !cell.changeTo.isEmpty())
                refuseQbe(QStringLiteral("das Feld %1 einer Insert-Zeile (es nimmt genau einen Wert)")
                              .arg(block(target).fields[f]));
            const QString value = cell.element.isEmpty() ? cell.alternatives.first().first() : cell.element;
            change.fields.append(block(target).fields[f]);
            values.append(qbeValueSql(value, column(target, f).type, m_bindings, m_options->settings));
        }
        if (change.fields.isEmpty())
            refuseQbe(QStringLiteral("eine Insert-Zeile ohne Werte"));
        QStringList fields;
        for (const QString &field : std::as_const(change.fields))
            fields.append(quoteIdentifier(field));
        change.records = QStringLiteral("SELECT ") + values.join(QStringLiteral(", "));
        if (m_rows.size() > 1)
            change.records += QStringLiteral(" FROM %1 WHERE %2").arg(from(target), conditions());
        change.statement =
            QStringLiteral("INSERT INTO %1 (%2) ").arg(qbeTableSql(change.table), fields.join(QStringLiteral(", ")))
            + (m_rows.size() == 1 ? QStringLiteral("VALUES (%1)").arg(values.join(QStringLiteral(", ")))
                                  : change.records);
        return change;
    }

    void addChangedFields(QbeChange &change, int target) const
    {
        QStringList assignments;
        for (int f = 0; f < row(target).cells.size(); ++f) {
            const QbeCell &cell = row(target).cells[f];
            if (cell.changeTo.isEmpty())
                continue;
            const QString value = qbeValueSql(cell.changeTo, column(target, f).type, m_bindings, m_options->settings);
            change.fields.append(block(target).fields[f]);
            change.values.append(QStringLiteral("(SELECT %1 FROM %2 WHERE %3.rowid = u.rowid AND %4 LIMIT 1)")
                                     .arg(value, from(), alias(target), conditions()));
            assignments.append(quoteIdentifier(change.fields.last()) + QStringLiteral(" = ") + change.values.last());
        }
        change.statement = QStringLiteral("UPDATE %1 AS u SET %2 WHERE rowid IN (%3)")
                               .arg(qbeTableSql(change.table), assignments.join(QStringLiteral(", ")), change.records);
    }

    const QbeLayout *m_layout;
    QList<int> m_rows;
    const QbeOptions *m_options;
    Bindings m_bindings;
    QStringList m_where;
};

// Rows naming one example element belong to one question.
QList<QList<int>> componentsOf(const QbeLayout &layout)
{
    QList<int> parent(layout.rows.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    QHash<QString, int> firstRow;
    for (int r = 0; r < layout.rows.size(); ++r)
        for (const QbeCell &cell : layout.rows[r].cells)
            for (const QString &element : cell.elementsNamed()) {
                const auto found = firstRow.constFind(element.toLower());
                if (found == firstRow.constEnd())
                    firstRow.insert(element.toLower(), r);
                else
                    parent[root(r)] = root(*found);
            }
    QList<QList<int>> components;
    QHash<int, int> indexOfRoot;
    for (int r = 0; r < layout.rows.size(); ++r) {
        const int top = root(r);
        if (!indexOfRoot.contains(top)) {
            indexOfRoot.insert(top, int(components.size()));
            components.append(QList<int>());
        }
        components[indexOfRoot.value(top)].append(r);
    }
    return components;
}

QString signature(const QList<Answer> &answers, bool withSql)
{
    QStringList parts;
    for (const Answer &answer : answers)
        parts.append(
            QStringLiteral("%1/%2/%3").arg(answer.name).arg(int(answer.check)).arg(withSql ? answer.sql : QString()));
    return parts.join(QLatin1Char('|'));
}

QString selectStatement(const QList<Component> &components)
{
    const QList<Answer> answers = components.first().answers();
    bool merged = true;
    for (const Component &component : components) {
        if (component.answers().isEmpty())
            refuseQbe(components.size() > 1 ? QStringLiteral("eine Zeile ohne ausgewähltes Feld neben anderen Zeilen "
                                                             "(die Abfrage stellt unabhängige Fragen)")
                                            : QStringLiteral("eine Abfrage ohne ausgewähltes Feld"));
        if (signature(component.answers(), false) != signature(answers, false))
            refuseQbe(QStringLiteral("Zeilen, die verschiedene Felder auswählen"));
        merged = merged
                 && (components.size() == 1
                     || (component.singleRowOf(components.first().firstTable())
                         && signature(component.answers(), true) == signature(answers, true)));
    }
    bool distinct = true, summary = false;
    QStringList columns, groups, order;
    for (int i = 0; i < answers.size(); ++i) {
        const Answer &answer = answers[i];
        distinct = distinct && answer.check != QbeCheck::CheckPlus;
        summary = summary || answer.summary;
        columns.append(answer.sql + QStringLiteral(" AS ") + quoteIdentifier(answer.name));
        if (!answer.summary)
            groups.append(answer.sql);
        if (answer.check == QbeCheck::Check || answer.check == QbeCheck::CheckDescending)
            order.append(QString::number(i + 1)
                         + (answer.check == QbeCheck::CheckDescending ? QStringLiteral(" DESC") : QString()));
    }
    const QString head = distinct && !summary ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    const QString tail = order.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    if (merged) {
        QStringList alternatives;
        for (const Component &component : components)
            alternatives.append(QLatin1Char('(') + component.conditions() + QLatin1Char(')'));
        const QString grouping =
            summary && !groups.isEmpty() ? QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", ")) : QString();
        return head + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + components.first().from()
               + QStringLiteral(" WHERE ") + alternatives.join(QStringLiteral(" OR ")) + grouping + tail;
    }
    if (summary)
        refuseQbe(QStringLiteral("calc mit Summen über Zeilen, die nicht miteinander verknüpft sind"));
    QStringList selects;
    for (const Component &component : components) {
        QStringList own;
        const QList<Answer> ownAnswers = component.answers();
        for (const Answer &answer : ownAnswers)
            own.append(answer.sql + QStringLiteral(" AS ") + quoteIdentifier(answer.name));
        selects.append(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                           .arg(own.join(QStringLiteral(", ")), component.from(), component.conditions()));
    }
    return head + QStringLiteral("* FROM (") + selects.join(QStringLiteral(" UNION ALL ")) + QLatin1Char(')') + tail;
}

}

QString qbeTableSql(const QString &table)
{
    static const QRegularExpression aliased(QStringLiteral("^:\\w+:[\\w.]+$"));
    return aliased.match(table).hasMatch() ? table : quoteIdentifier(table);
}

QbeQuery translateQbe(const QString &text, const QbeOptions &options)
{
    const QbeLayout layout(text);
    QbeQuery result;
    result.answerTable = layout.answerTable;
    for (const Block &block : layout.blocks)
        if (!result.tables.contains(block.table, Qt::CaseInsensitive))
            result.tables.append(block.table);
    if (layout.rows.isEmpty())
        refuseQbe(QStringLiteral("eine Abfrage ohne Beispielzeile"));
    QList<Component> selecting;
    for (const QList<int> &rows : componentsOf(layout)) {
        Component component(layout, rows, options);
        if (component.changes())
            result.changes.append(component.change());
        else
            selecting.append(component);
    }
    if (!selecting.isEmpty() && !result.changes.isEmpty())
        refuseQbe(QStringLiteral("eine Abfrage, die Felder auswählt und zugleich Tabellen ändert"));
    if (!selecting.isEmpty())
        result.sql = selectStatement(selecting);
    return result;
}

}
