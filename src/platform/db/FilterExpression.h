#pragma once

#include "platform/db/DbTypes.h"
#include "platform/db/DbValues.h"
#include "platform/db/KeysetCursor.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

namespace db {

// The filter language as an expression tree. The tree is evaluated per record
// and, where every node allows it, translated to an SQL condition so that
// SQLite does the filtering. Other producers (binary filter trees, record
// callbacks) build the same nodes.
struct FilterNode
{
    FilterNode() = default;
    // Frees the children without recursion: a producer may build a tree
    // deeper than the stack could follow.
    ~FilterNode();
    FilterNode(const FilterNode &) = delete;
    FilterNode &operator=(const FilterNode &) = delete;

    enum Kind { And, Or, Not, Compare, IsNull, IsNotNull, Callback };
    enum Operator { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
    struct Operand
    {
        QString fieldName;         // empty for a literal
        bool doubleQuoted = false; // "x": a field if one has that name, else text
        QVariant literal;          // as written: QString or double
        int column = -1;           // bound column
        TFieldType type = ftUnknown;
        QVariant stored; // literal in the storage form of the other side
        bool isField() const { return !fieldName.isEmpty(); }
    };

    Kind kind = Compare;
    Operator op = Equal;
    Operand left;
    Operand right;
    // And and Or hold any number of children; a chain of one operator is one node.
    bool partial = false;     // 'text*' compares the beginning
    bool prefixMatch = false; // set by the producer: the literal is a beginning
    std::vector<std::unique_ptr<FilterNode>> children;
    std::function<bool(const Row &)> callback;
};

struct FilterColumn
{
    QString name;
    TFieldType type;
};

// Deeper nesting of parentheses and NOT is refused as an error of the text.
constexpr int maxFilterDepth = 256;

class FilterExpression
{
public:
    // Parses the text; raises EDatabaseError on a syntax error.
    static std::unique_ptr<FilterExpression> parse(const QString &text, TFilterOptions options);
    // Raises EDatabaseError when the tree nests deeper than maxFilterDepth.
    explicit FilterExpression(std::unique_ptr<FilterNode> root, TFilterOptions options);
    // Equality of each field with its value, as Locate asks for it.
    static std::unique_ptr<FilterExpression> equalities(const QStringList &fieldNames, const QVariantList &values,
                                                        bool caseInsensitive, bool partial);

    // Resolves field names (case-free); raises EDatabaseError for an unknown field.
    void bind(const QVector<FilterColumn> &columns);
    bool evaluate(const Row &row) const;
    // The SQL condition, or false when a node cannot be translated.
    bool toSql(SqlCondition &out) const;

private:
    bool evaluateNode(const FilterNode &node, const Row &row) const;
    bool compareNode(const FilterNode &node, const Row &row) const;
    bool nodeSql(const FilterNode &node, SqlCondition &out) const;
    void bindNode(FilterNode &node, const QVector<FilterColumn> &columns);
    QString collation(TFieldType type) const;

    std::unique_ptr<FilterNode> m_root;
    TFilterOptions m_options;
    QStringList m_columnNames;
};

}
