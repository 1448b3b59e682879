#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class TDataSet;
class TTable;

// One node of a parsed filter expression; it owns its children.
class TNode
{
public:
    enum Kind : std::uint8_t { nkComparison, nkLogical, nkArithmetic, nkOperand };

    TNode(std::uint8_t kind, std::uint8_t operandType, std::unique_ptr<TNode> left, std::unique_ptr<TNode> right,
          const QString &text);
    int Count() const;

    std::uint8_t Kind = nkOperand;
    std::uint8_t OperandType = 0;
    std::int16_t Scale = 0;
    QString Text;
    std::int32_t NodeOffset = 0;
    std::unique_ptr<TNode> Left;
    std::unique_ptr<TNode> Right;
};

// Parses a filter text against the table's fields; nullptr when it does not
// parse (an unknown field is reported in a box). Text after a complete
// expression is not examined.
std::unique_ptr<TNode> qkParseFilterText(const QString &text, const TDataSet *table);
// Writes the engine's binary filter tree of a parsed expression; an empty
// array when the literals overflow the pool. Raises EConvertError for a
// constant that does not convert for its field. Records each node's offset.
QByteArray qkWriteFilterTree(TNode &root);

// Sets (empty text: removes) the expression filter of a table; the handle is
// 0 for none. A text that does not parse or that the engine refuses leaves
// the previous filter in place and answers false.
bool qkSetExpressionFilter(const QString &text, TTable *table, int &filterHandle, bool force);
// Installs a record callback as an engine filter (nullptr removes it).
bool qkSetFilterCallback(const std::function<bool(TDataSet *)> &callback, TDataSet *dataSet, int &filterHandle);
void qkRemoveFilter(TDataSet *dataSet, int &filterHandle);
