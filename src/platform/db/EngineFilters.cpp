#include "platform/db/EngineFilters.h"

#include "platform/db/FilterExpression.h"
#include "platform/runtime/Exceptions.h"

#include <QtEndian>

#include <cmath>

namespace db {

// ---- the list of filters

EngineFilterList::EngineFilterList() = default;
EngineFilterList::~EngineFilterList() = default;

int EngineFilterList::add(std::unique_ptr<FilterExpression> expression)
{
    Entry entry;
    entry.handle = m_nextHandle++;
    entry.expression = std::move(expression);
    m_entries.push_back(std::move(entry));
    return m_entries.back().handle;
}

int EngineFilterList::add(RecordTest test)
{
    Entry entry;
    entry.handle = m_nextHandle++;
    entry.test = std::move(test);
    m_entries.push_back(std::move(entry));
    return m_entries.back().handle;
}

EngineFilterList::Entry *EngineFilterList::find(int handle)
{
    for (Entry &entry : m_entries)
        if (entry.handle == handle)
            return &entry;
    return nullptr;
}

bool EngineFilterList::setActive(int handle, bool active)
{
    Entry *entry = find(handle);
    if (!entry)
        return false;
    entry->active = active;
    return true;
}

bool EngineFilterList::drop(int handle)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->handle == handle) {
            m_entries.erase(it);
            return true;
        }
    return false;
}

void EngineFilterList::clear()
{
    m_entries.clear();
}

SqlCondition andConditions(const SqlCondition &left, const SqlCondition &right)
{
    if (left.isEmpty())
        return right;
    if (right.isEmpty())
        return left;
    return {QStringLiteral("(%1 AND %2)").arg(left.sql, right.sql), left.values + right.values};
}

SqlCondition EngineFilterList::sqlCondition()
{
    SqlCondition result;
    for (Entry &entry : m_entries) {
        SqlCondition condition;
        entry.inSql = entry.active && entry.expression && entry.expression->toSql(condition);
        if (entry.inSql)
            result = andConditions(result, condition);
    }
    return result;
}

bool EngineFilterList::needsRowTest() const
{
    for (const Entry &entry : m_entries)
        if (entry.active && !entry.inSql)
            return true;
    return false;
}

bool EngineFilterList::acceptExpressions(const Row &row) const
{
    for (const Entry &entry : m_entries)
        if (entry.active && entry.expression && !entry.inSql && !entry.expression->evaluate(row))
            return false;
    return true;
}

bool EngineFilterList::hasRecordTests() const
{
    for (const Entry &entry : m_entries)
        if (entry.active && entry.test)
            return true;
    return false;
}

bool EngineFilterList::acceptRecordTests(TDataSet *dataSet) const
{
    for (const Entry &entry : m_entries)
        if (entry.active && entry.test && !entry.test(dataSet))
            return false;
    return true;
}

// ---- reading a binary filter tree

namespace {

enum NodeClass { ncOperator = 2, ncField = 4, ncConstant = 5 };
enum OperatorCode { opEq = 3, opNe, opGt, opLt, opGe, opLe, opAnd = 10, opOr = 11, opAdd = 16, opSub, opMul, opDiv };
enum LiteralType {
    ltString = 1,
    ltDate = 2,
    ltBoolean = 4,
    ltInt16 = 5,
    ltInt32 = 6,
    ltFloat = 7,
    ltBcd = 8,
    ltTime = 10,
    ltTimestamp = 11
};

constexpr int headerSize = 10;
constexpr int slotSize = 14;
// Day number of 30.12.1899 (the framework's day 0) counted from 1.1.0001 as day 1.
constexpr double dateDelta = 693594;
constexpr double msecsPerDay = 86400000.0;

[[noreturn]] void brokenTree()
{
    throw EDatabaseError(QStringLiteral("Der Filterbaum ist unvollständig."));
}

// An operand of an arithmetic comparison: a column, a number or an operation.
struct Term
{
    int column = -1;
    double constant = 0;
    int op = 0;
    std::unique_ptr<Term> left, right;

    std::optional<double> value(const Row &row) const
    {
        if (column >= 0) {
            const QVariant &stored = row.values.value(column);
            if (isBlank(stored))
                return std::nullopt;
            bool ok = false;
            const double number = stored.toDouble(&ok);
            return ok ? std::optional<double>(number) : std::nullopt;
        }
        if (!op)
            return constant;
        const std::optional<double> a = left->value(row), b = right->value(row);
        if (!a || !b)
            return std::nullopt;
        switch (op) {
        case opAdd:
            return *a + *b;
        case opSub:
            return *a - *b;
        case opMul:
            return *a * *b;
        default:
            return *b == 0 ? std::nullopt : std::optional<double>(*a / *b);
        }
    }
};

class TreeReader
{
public:
    TreeReader(const QByteArray &tree, const QVector<FilterColumn> &columns) : m_tree(tree), m_columns(columns)
    {
        if (tree.size() < headerSize || word(0) != 1 || word(2) > tree.size() || word(6) != headerSize)
            brokenTree();
        m_nodeCount = word(4);
        m_literalStart = word(8);
        if (m_literalStart != headerSize + m_nodeCount * slotSize || m_nodeCount == 0)
            brokenTree();
    }

    std::unique_ptr<FilterNode> root() { return logical(0, 0); }

private:
    quint16 word(int at) const
    {
        if (at < 0 || at + 2 > m_tree.size())
            brokenTree();
        return qFromLittleEndian<quint16>(m_tree.constData() + at);
    }
    quint32 dword(int at) const
    {
        if (at < 0 || at + 4 > m_tree.size())
            brokenTree();
        return qFromLittleEndian<quint32>(m_tree.constData() + at);
    }
    int slot(int offset) const
    {
        if (offset % slotSize || offset / slotSize >= m_nodeCount)
            brokenTree();
        return headerSize + offset;
    }
    QByteArray literal(int offset, int size) const
    {
        const int at = m_literalStart + offset;
        if (offset < 0 || size < 0 || at + size > m_tree.size())
            brokenTree();
        return m_tree.mid(at, size);
    }
    QString fieldName(int at) const
    {
        const QByteArray rest = m_tree.mid(m_literalStart + word(at + 10));
        const int end = rest.indexOf('\0');
        if (end < 0)
            brokenTree();
        return QString::fromUtf8(rest.left(end));
    }

    std::unique_ptr<FilterNode> logical(int offset, int depth)
    {
        // Each level takes a later slot, so a tree can nest no deeper than it has nodes.
        if (depth > m_nodeCount)
            brokenTree();
        const int at = slot(offset);
        if (dword(at) != ncOperator)
            brokenTree();
        const quint32 code = dword(at + 4);
        if (code == opAnd || code == opOr) {
            auto node = std::make_unique<FilterNode>();
            node->kind = code == opAnd ? FilterNode::And : FilterNode::Or;
            node->children.push_back(logical(word(at + 8), depth + 1));
            node->children.push_back(logical(word(at + 10), depth + 1));
            return node;
        }
        if (code < opEq || code > opLe)
            brokenTree();
        return comparison(at, code, depth);
    }

    std::unique_ptr<FilterNode> comparison(int at, quint32 code, int depth)
    {
        static const FilterNode::Operator operators[] = {FilterNode::Equal,        FilterNode::NotEqual,
                                                         FilterNode::Greater,      FilterNode::Less,
                                                         FilterNode::GreaterEqual, FilterNode::LessEqual};
        const int leftAt = slot(word(at + 8)), rightAt = slot(word(at + 10));
        auto node = std::make_unique<FilterNode>();
        node->op = operators[code - opEq];
        if (dword(leftAt) == ncOperator || dword(rightAt) == ncOperator)
            return arithmeticComparison(std::move(node), leftAt, rightAt, depth);
        node->left = operand(leftAt);
        node->right = operand(rightAt);
        return node;
    }

    FilterNode::Operand operand(int at) const
    {
        FilterNode::Operand result;
        if (dword(at) == ncField) {
            result.fieldName = fieldName(at);
            return result;
        }
        if (dword(at) != ncConstant)
            brokenTree();
        result.literal = constant(word(at + 8), literal(word(at + 12), word(at + 10)));
        return result;
    }

    static QVariant constant(int type, const QByteArray &bytes)
    {
        const char *data = bytes.constData();
        auto need = [&](int size) {
            if (bytes.size() < size)
                brokenTree();
        };
        switch (type) {
        case ltString: {
            const int end = bytes.indexOf('\0');
            return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
        }
        case ltInt16:
            need(2);
            return double(qFromLittleEndian<qint16>(data));
        case ltBoolean:
            need(2);
            return qFromLittleEndian<qint16>(data) != 0;
        case ltInt32:
            need(4);
            return double(qFromLittleEndian<qint32>(data));
        case ltFloat:
            need(8);
            return qFromLittleEndian<double>(data);
        case ltBcd:
            need(34);
            return bcdToDouble(bytes);
        case ltDate:
            need(4);
            return double(qFromLittleEndian<qint32>(data)) - dateDelta;
        case ltTime:
            need(4);
            return double(qFromLittleEndian<qint32>(data)) / msecsPerDay;
        case ltTimestamp:
            need(8);
            return qFromLittleEndian<double>(data) / msecsPerDay - dateDelta;
        default:
            brokenTree();
        }
    }

    static double bcdToDouble(const QByteArray &bytes)
    {
        const int precision = quint8(bytes[0]);
        const int places = quint8(bytes[1]) & 0x3f;
        double value = 0;
        for (int digit = 0; digit < precision && digit < 64; ++digit) {
            const quint8 pair = quint8(bytes[2 + digit / 2]);
            value = value * 10 + ((digit % 2) ? (pair & 0x0f) : (pair >> 4));
        }
        value /= std::pow(10.0, places);
        return (quint8(bytes[1]) & 0x80) ? -value : value;
    }

    std::unique_ptr<Term> term(int at, int depth)
    {
        if (depth > m_nodeCount)
            brokenTree();
        auto result = std::make_unique<Term>();
        switch (dword(at)) {
        case ncField: {
            const QString name = fieldName(at);
            for (int i = 0; i < m_columns.size() && result->column < 0; ++i)
                if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                    result->column = i;
            if (result->column < 0)
                throw EDatabaseError(QStringLiteral("Filter: Feld '%1' nicht gefunden").arg(name));
            break;
        }
        case ncConstant:
            result->constant = constant(word(at + 8), literal(word(at + 12), word(at + 10))).toDouble();
            break;
        case ncOperator:
            result->op = int(dword(at + 4));
            if (result->op < opAdd || result->op > opDiv)
                brokenTree();
            result->left = term(slot(word(at + 8)), depth + 1);
            result->right = term(slot(word(at + 10)), depth + 1);
            break;
        default:
            brokenTree();
        }
        return result;
    }

    std::unique_ptr<FilterNode> arithmeticComparison(std::unique_ptr<FilterNode> node, int leftAt, int rightAt,
                                                     int depth)
    {
        std::shared_ptr<Term> left = term(leftAt, depth + 1), right = term(rightAt, depth + 1);
        const FilterNode::Operator op = node->op;
        node->kind = FilterNode::Callback;
        node->callback = [left, right, op](const Row &row) {
            const std::optional<double> a = left->value(row), b = right->value(row);
            if (!a || !b)
                return false;
            const int order = *a < *b ? -1 : (*a > *b ? 1 : 0);
            switch (op) {
            case FilterNode::Equal:
                return order == 0;
            case FilterNode::NotEqual:
                return order != 0;
            case FilterNode::Less:
                return order < 0;
            case FilterNode::Greater:
                return order > 0;
            case FilterNode::LessEqual:
                return order <= 0;
            default:
                return order >= 0;
            }
        };
        return node;
    }

    const QByteArray &m_tree;
    const QVector<FilterColumn> &m_columns;
    int m_nodeCount = 0;
    int m_literalStart = 0;
};

}

std::unique_ptr<FilterExpression> filterExpressionFromTree(const QByteArray &tree, const QVector<FilterColumn> &columns)
{
    auto expression = std::make_unique<FilterExpression>(TreeReader(tree, columns).root(), 0);
    expression->bind(columns);
    return expression;
}

}
