#include "lib/data/qkfilter.h"

#include "lib/data/Qklocate.h"
#include "lib/data/qkStacks.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <QtEndian>

#include <cmath>

TNode::TNode(std::uint8_t kind, std::uint8_t operandType, std::unique_ptr<TNode> left, std::unique_ptr<TNode> right,
             const QString &text)
    : Kind(kind), OperandType(operandType), Text(text), Left(std::move(left)), Right(std::move(right))
{}

int TNode::Count() const
{
    return 1 + (Left ? Left->Count() : 0) + (Right ? Right->Count() : 0);
}

namespace {

// Constant types of operands, by the field they meet.
enum ConstantType : std::uint8_t {
    ctNone,
    ctString,
    ctFloat,
    ctTimestamp,
    ctDate,
    ctTime,
    ctBoolean,
    ctInt32,
    ctBcd,
    ctInt16
};

std::uint8_t constantTypeOf(TFieldType type)
{
    switch (type) {
    case ftString:
        return ctString;
    case ftSmallint:
    case ftWord:
        return ctInt16;
    case ftInteger:
        return ctInt32;
    case ftBoolean:
        return ctBoolean;
    case ftFloat:
    case ftCurrency:
        return ctFloat;
    case ftBCD:
        return ctBcd;
    case ftDate:
        return ctDate;
    case ftTime:
        return ctTime;
    case ftDateTime:
        return ctTimestamp;
    default:
        return ctNone;
    }
}

bool isNameChar(QChar c, bool first)
{
    const ushort code = c.unicode();
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || (code >= 146 && code <= 255))
        return true;
    if (QStringLiteral("!#$*+-/@_`").contains(c))
        return true;
    return !first && (c == QLatin1Char(' ') || c.isDigit());
}

bool isRelationalChar(QChar c)
{
    return c == QLatin1Char('<') || c == QLatin1Char('=') || c == QLatin1Char('>');
}

// Recursive descent over the remaining input; all of its state belongs to
// one parse.
class FilterParser
{
public:
    FilterParser(const QString &text, const TDataSet *table) : m_input(text), m_table(table) {}
    ~FilterParser()
    {
        while (m_nodes.Count() > 0)
            delete static_cast<TNode *>(m_nodes.Pop());
    }

    std::unique_ptr<TNode> parse()
    {
        if (!expression() || m_nodes.Count() != 1)
            return nullptr;
        return std::unique_ptr<TNode>(static_cast<TNode *>(m_nodes.Pop()));
    }

private:
    // The next token and how many characters of the input it spans.
    QString peek(int &length) const
    {
        int start = 0;
        while (start < m_input.size() && (m_input[start] == QLatin1Char(' ') || m_input[start] == QLatin1Char('\t')))
            ++start;
        const QString rest = m_input.mid(start);
        const int raw = tokenLength(rest);
        length = start + raw;
        QString token = rest.left(raw);
        while (token.endsWith(QLatin1Char(' ')))
            token.chop(1);
        return token;
    }
    QString peek() const
    {
        int length = 0;
        return peek(length);
    }
    void take()
    {
        int length = 0;
        m_symbols.Push(peek(length));
        m_input.remove(0, length);
    }

    int tokenLength(const QString &rest) const
    {
        if (rest.isEmpty())
            return 0;
        const QChar c = rest[0];
        if (c == QLatin1Char('(') || c == QLatin1Char(')'))
            return 1;
        if (isRelationalChar(c))
            return rest.size() > 1 && isRelationalChar(rest[1]) ? 2 : 1;
        if (m_wantLogical) {
            const QString upper = rest.left(3).toUpper();
            if (upper.startsWith(QLatin1String("AND")))
                return 3;
            if (upper.startsWith(QLatin1String("OR")))
                return 2;
        }
        if (isNameChar(c, true)) {
            int i = 1;
            while (i < rest.size() && isNameChar(rest[i], false))
                ++i;
            return i;
        }
        if (c.isDigit() || c == QLatin1Char('-'))
            return numberLength(rest);
        if (c == QLatin1Char('"')) {
            const int close = rest.indexOf(QLatin1Char('"'), 1);
            return close < 0 ? 0 : close + 1;
        }
        return 0;
    }

    static int numberLength(const QString &rest)
    {
        int i = rest[0] == QLatin1Char('-') ? 1 : 0;
        const int digitsFrom = i;
        while (i < rest.size() && rest[i].isDigit())
            ++i;
        if (i == digitsFrom)
            return 0;
        if (i + 1 < rest.size() && rest[i] == FormatSettings().DecimalSeparator && rest[i + 1].isDigit()) {
            ++i;
            while (i < rest.size() && rest[i].isDigit())
                ++i;
        }
        return i;
    }

    bool expression()
    {
        if (!relation())
            return false;
        for (;;) {
            m_wantLogical = true;
            const QString word = peek().toUpper();
            m_wantLogical = false;
            if (word != QLatin1String("AND") && word != QLatin1String("OR"))
                return true;
            m_wantLogical = true;
            take();
            m_wantLogical = false;
            if (!relation() || !reduce(TNode::nkLogical))
                return false;
        }
    }

    bool relation()
    {
        if (!sum())
            return false;
        static const QStringList operators = {QStringLiteral("<"),  QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("="),  QStringLiteral(">")};
        if (!operators.contains(peek()))
            return true;
        take();
        return sum() && reduce(TNode::nkComparison);
    }

    bool sum() { return chain(&FilterParser::term, QStringLiteral("+"), QStringLiteral("-")); }
    bool term() { return chain(&FilterParser::factor, QStringLiteral("*"), QStringLiteral("/")); }

    bool chain(bool (FilterParser::*operand)(), const QString &first, const QString &second)
    {
        if (!(this->*operand)())
            return false;
        for (;;) {
            const QString op = peek();
            if (op != first && op != second)
                return true;
            take();
            if (!(this->*operand)() || !reduce(TNode::nkArithmetic))
                return false;
        }
    }

    bool factor()
    {
        const QString token = peek();
        if (token == QLatin1String("(")) {
            take();
            m_symbols.Pop();
            if (!expression() || peek() != QLatin1String(")"))
                return false;
            take();
            m_symbols.Pop();
            return true;
        }
        if (token.isEmpty() || token == QLatin1String(")"))
            return false;
        take();
        m_nodes.Push(new TNode(TNode::nkOperand, ctNone, nullptr, nullptr, m_symbols.Pop()));
        return true;
    }

    bool reduce(std::uint8_t kind)
    {
        if (m_symbols.Count() == 0 || m_nodes.Count() < 2)
            return false;
        std::unique_ptr<TNode> right(static_cast<TNode *>(m_nodes.Pop()));
        std::unique_ptr<TNode> left(static_cast<TNode *>(m_nodes.Pop()));
        const QString op = m_symbols.Pop();
        if (!typeOperands(*left, *right))
            return false;
        m_nodes.Push(new TNode(kind, ctNone, std::move(left), std::move(right), op));
        return true;
    }

    bool typeOperands(const TNode &left, TNode &right)
    {
        const TField *field = nullptr;
        if (left.Kind == TNode::nkOperand) {
            field = m_table->FindField(left.Text);
            if (!field) {
                qkShowLibraryWarning(QStringLiteral("Field not found in Table. \r") + left.Text);
                return false;
            }
        } else if (left.Kind == TNode::nkArithmetic) {
            // The constant on the far side of a calculation takes the type
            // of the calculation's first field, so that it is written as a
            // value and not as a field reference.
            field = firstField(left);
        }
        if (field && right.Kind == TNode::nkOperand) {
            right.OperandType = constantTypeOf(field->DataType());
            if (field->DataType() == ftBCD)
                right.Scale = std::int16_t(field->Size());
        }
        return true;
    }

    const TField *firstField(const TNode &node) const
    {
        if (node.Kind == TNode::nkOperand)
            return node.OperandType == ctNone ? m_table->FindField(node.Text) : nullptr;
        const TField *field = node.Left ? firstField(*node.Left) : nullptr;
        return field ? field : (node.Right ? firstField(*node.Right) : nullptr);
    }

    QString m_input;
    const TDataSet *m_table;
    TStackStr m_symbols;
    TStackPtr m_nodes;
    bool m_wantLogical = false;
};

constexpr int slotSize = 14;
constexpr int headerSize = 10;
constexpr int poolCapacity = 1000;
constexpr double dateDelta = 693594;
constexpr double msecsPerDay = 86400000.0;

class TreeWriter
{
public:
    explicit TreeWriter(int nodeCount)
        : m_nodeCount(nodeCount), m_buffer(nodeCount * slotSize + headerSize + poolCapacity, '\0'),
          m_nextSlot(nodeCount - 1)
    {}

    QByteArray write(TNode &root)
    {
        writeNode(root);
        if (m_overflow)
            return {};
        const int literalStart = m_nodeCount * slotSize + headerSize;
        putWord(0, 1);
        putWord(2, literalStart + m_pool);
        putWord(4, m_nodeCount);
        putWord(6, headerSize);
        putWord(8, literalStart);
        return m_buffer.left(literalStart + m_pool);
    }

private:
    void putWord(int at, int value) { qToLittleEndian<quint16>(quint16(value), m_buffer.data() + at); }
    void putDword(int at, quint32 value) { qToLittleEndian<quint32>(value, m_buffer.data() + at); }

    int addLiteral(const QByteArray &bytes)
    {
        const int offset = m_pool;
        if (m_pool + bytes.size() > poolCapacity) {
            m_overflow = true;
            return offset;
        }
        m_buffer.replace(m_nodeCount * slotSize + headerSize + m_pool, bytes.size(), bytes);
        m_pool += int(bytes.size());
        return offset;
    }

    void writeNode(TNode &node)
    {
        if (node.Left)
            writeNode(*node.Left);
        if (node.Right)
            writeNode(*node.Right);
        node.NodeOffset = m_nextSlot * slotSize;
        const int at = headerSize + node.NodeOffset;
        --m_nextSlot;
        if (node.Kind == TNode::nkOperand) {
            writeOperand(node, at);
            return;
        }
        putDword(at, 2);
        putDword(at + 4, operatorCode(node));
        putWord(at + 8, node.Left->NodeOffset);
        putWord(at + 10, node.Right->NodeOffset);
    }

    static quint32 operatorCode(const TNode &node)
    {
        if (node.Kind == TNode::nkLogical)
            return node.Text.toUpper() == QLatin1String("AND") ? 10 : 11;
        static const QStringList texts = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"),
                                          QStringLiteral("<"), QStringLiteral(">="), QStringLiteral("<=")};
        const int comparison = int(texts.indexOf(node.Text));
        if (comparison >= 0)
            return quint32(3 + comparison);
        static const QString arithmetic = QStringLiteral("+-*/");
        return quint32(16 + arithmetic.indexOf(node.Text));
    }

    // The tables keep their texts in UTF-8; a constant or a field name in
    // any other character set would match nothing beyond ASCII.
    static QByteArray nativeText(const QString &text) { return text.left(255).toUtf8() + '\0'; }

    void writeOperand(const TNode &node, int at)
    {
        QString text = node.Text;
        if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
            text = text.mid(1, text.size() - 2);
        else
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
        if (node.OperandType == ctNone) {
            putDword(at, 4);
            putDword(at + 4, 13);
            putWord(at + 8, ++m_fieldNodes);
            putWord(at + 10, addLiteral(nativeText(text)));
            return;
        }
        int engineType = 0;
        const QByteArray literal = constantLiteral(node, text, engineType);
        putDword(at, 5);
        putDword(at + 4, 14);
        putWord(at + 8, engineType);
        putWord(at + 10, int(literal.size()));
        putWord(at + 12, addLiteral(literal));
    }

    template <typename T>
    static QByteArray little(T value)
    {
        QByteArray bytes(sizeof(T), '\0');
        qToLittleEndian<T>(value, bytes.data());
        return bytes;
    }

    static QByteArray constantLiteral(const TNode &node, const QString &text, int &engineType)
    {
        switch (node.OperandType) {
        case ctString:
            engineType = 1;
            return nativeText(text);
        case ctInt16:
            engineType = 5;
            return little<qint16>(qint16(StrToInt(text)));
        case ctInt32:
            engineType = 6;
            return little<qint32>(StrToInt(text));
        case ctBoolean:
            engineType = 4;
            return little<qint16>(text.startsWith(QLatin1Char('T'), Qt::CaseInsensitive) ? -1 : 0);
        case ctFloat:
            engineType = 7;
            return little<double>(StrToFloat(text));
        case ctBcd:
            engineType = 8;
            return bcdLiteral(StrToFloat(text), node.Scale);
        case ctDate:
            engineType = 2;
            return little<qint32>(qint32(std::trunc(StrToDate(text)) + dateDelta));
        case ctTime:
            engineType = 10;
            return little<qint32>(qint32(std::llround(std::fmod(StrToTime(text), 1.0) * msecsPerDay)));
        default: {
            engineType = 11;
            const TDateTime value = text.contains(QLatin1Char(' ')) ? StrToDateTime(text) : StrToDate(text);
            const double day = std::trunc(value);
            return little<double>((day + dateDelta) * msecsPerDay + std::llround((value - day) * msecsPerDay));
        }
        }
    }

    // The engine's 34-byte BCD: precision, sign and decimals, then the
    // digits as nibbles from the left.
    static QByteArray bcdLiteral(double value, int places)
    {
        constexpr int precision = 32;
        QByteArray bytes(34, '\0');
        bytes[0] = char(precision);
        bytes[1] = char((places & 0x3f) | (value < 0 ? 0x80 : 0));
        const QString digits =
            QString::number(std::llround(std::fabs(value) * std::pow(10.0, places))).rightJustified(precision, '0');
        for (int i = 0; i < precision && i < digits.size(); ++i) {
            const int nibble = digits[i].digitValue();
            bytes[2 + i / 2] = char(quint8(bytes[2 + i / 2]) | (i % 2 ? nibble : nibble << 4));
        }
        return bytes;
    }

    int m_nodeCount;
    QByteArray m_buffer;
    int m_nextSlot;
    int m_pool = 0;
    int m_fieldNodes = 0;
    bool m_overflow = false;
};

}

std::unique_ptr<TNode> qkParseFilterText(const QString &text, const TDataSet *table)
{
    return FilterParser(text, table).parse();
}

QByteArray qkWriteFilterTree(TNode &root)
{
    return TreeWriter(root.Count()).write(root);
}

void qkRemoveFilter(TDataSet *dataSet, int &filterHandle)
{
    if (filterHandle == 0)
        return;
    dataSet->DropEngineFilter(filterHandle);
    filterHandle = 0;
}

bool qkSetExpressionFilter(const QString &text, TTable *table, int &filterHandle, bool force)
{
    if (!table->Active() && !force) {
        filterHandle = 0;
        return true;
    }
    if (text.trimmed().isEmpty()) {
        qkRemoveFilter(table, filterHandle);
        return true;
    }
    const std::unique_ptr<TNode> root = qkParseFilterText(text, table);
    if (!root)
        return false;
    const QByteArray tree = qkWriteFilterTree(*root);
    if (tree.isEmpty())
        return false;
    int added = 0;
    try {
        added = table->AddEngineFilter(tree);
    } catch (const EDatabaseError &) {
        return false;
    }
    qkRemoveFilter(table, filterHandle);
    filterHandle = added;
    table->ActivateEngineFilter(added, true);
    return true;
}

bool qkSetFilterCallback(const std::function<bool(TDataSet *)> &callback, TDataSet *dataSet, int &filterHandle)
{
    qkRemoveFilter(dataSet, filterHandle);
    if (!callback) {
        dataSet->RefreshFilters();
        return true;
    }
    if (dataSet->FieldCount() == 0)
        return false;
    filterHandle = dataSet->AddEngineFilter(callback);
    dataSet->ActivateEngineFilter(filterHandle, true);
    return true;
}
