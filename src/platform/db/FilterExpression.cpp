#include "platform/db/FilterExpression.h"

#include "platform/db/GermanCollation.h"
#include "platform/db/TableSchema.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"

#include <algorithm>

namespace db {

namespace {

struct Token
{
    enum Type { End, Name, String, Number, Operator, Open, Close } type = End;
    QString text;
    bool doubleQuoted = false;
    int position = 0;
};

[[noreturn]] void tooDeep()
{
    throw EDatabaseError(
        QStringLiteral("Der Filterausdruck ist zu tief verschachtelt (höchstens %1 Klammer- oder NOT-Ebenen).")
            .arg(maxFilterDepth));
}

// The depth of the tree, counted without recursion.
int treeDepth(const FilterNode &root)
{
    int deepest = 0;
    std::vector<std::pair<const FilterNode *, int>> pending{{&root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        for (const auto &child : node->children)
            pending.emplace_back(child.get(), depth + 1);
    }
    return deepest;
}

[[noreturn]] void syntaxError(const QString &text, int position)
{
    throw EDatabaseError(QStringLiteral("Ungültiger Filterausdruck '%1' (Position %2).").arg(text).arg(position + 1));
}

class Tokenizer
{
public:
    explicit Tokenizer(const QString &text) : m_text(text) { advance(); }
    const Token &peek() const { return m_token; }
    Token take()
    {
        Token token = m_token;
        advance();
        return token;
    }
    bool isKeyword(const char *word) const
    {
        return m_token.type == Token::Name && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void fail() const { syntaxError(m_text, m_token.position); }

private:
    void advance()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        m_token = Token{Token::End, QString(), false, int(m_pos)};
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos];
        m_token.doubleQuoted = c == QLatin1Char('"');
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            readQuoted(c, c == QLatin1Char('\'') ? Token::String : Token::Name);
        else if (c == QLatin1Char('['))
            readBracketed();
        else if (c.isDigit() || (c == QLatin1Char('-') && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit()))
            readNumber();
        else if (c.isLetter() || c == QLatin1Char('_'))
            readName();
        else if (c == QLatin1Char('('))
            single(Token::Open);
        else if (c == QLatin1Char(')'))
            single(Token::Close);
        else
            readOperator();
    }
    void single(Token::Type type)
    {
        m_token.type = type;
        m_token.text = m_text.mid(m_pos++, 1);
    }
    void readQuoted(QChar quote, Token::Type type)
    {
        QString value;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                syntaxError(m_text, m_token.position);
            if (m_text[m_pos] == quote) {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == quote) {
                    value += quote;
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            value += m_text[m_pos++];
        }
        m_token.type = type;
        m_token.text = value;
    }
    void readBracketed()
    {
        const int end = int(m_text.indexOf(QLatin1Char(']'), m_pos));
        if (end < 0)
            syntaxError(m_text, int(m_pos));
        m_token.type = Token::Name;
        m_token.text = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
    }
    void readNumber()
    {
        const qsizetype start = m_pos++;
        while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')))
            ++m_pos;
        m_token.type = Token::Number;
        m_token.text = m_text.mid(start, m_pos - start);
    }
    void readName()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
            ++m_pos;
        m_token.type = Token::Name;
        m_token.text = m_text.mid(start, m_pos - start);
    }
    void readOperator()
    {
        static const char *operators[] = {"<>", "<=", ">=", "=", "<", ">"};
        for (const char *op : operators) {
            if (QStringView(m_text).sliced(m_pos).startsWith(QLatin1String(op))) {
                m_token.type = Token::Operator;
                m_token.text = QLatin1String(op);
                m_pos += qsizetype(qstrlen(op));
                return;
            }
        }
        syntaxError(m_text, int(m_pos));
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    Token m_token;
};

class Parser
{
public:
    explicit Parser(const QString &text) : m_tokens(text) {}

    std::unique_ptr<FilterNode> parse()
    {
        auto node = parseOr();
        if (m_tokens.peek().type != Token::End)
            m_tokens.fail();
        return node;
    }

private:
    // A chain of one operator becomes one node with every operand as a child.
    static std::unique_ptr<FilterNode> combine(FilterNode::Kind kind, std::unique_ptr<FilterNode> left,
                                               std::unique_ptr<FilterNode> right)
    {
        if (left->kind == kind && !left->children.empty()) {
            left->children.push_back(std::move(right));
            return left;
        }
        auto node = std::make_unique<FilterNode>();
        node->kind = kind;
        node->children.push_back(std::move(left));
        node->children.push_back(std::move(right));
        return node;
    }
    std::unique_ptr<FilterNode> parseOr()
    {
        auto node = parseAnd();
        while (m_tokens.isKeyword("OR")) {
            m_tokens.take();
            node = combine(FilterNode::Or, std::move(node), parseAnd());
        }
        return node;
    }
    std::unique_ptr<FilterNode> parseAnd()
    {
        auto node = parseNot();
        while (m_tokens.isKeyword("AND")) {
            m_tokens.take();
            node = combine(FilterNode::And, std::move(node), parseNot());
        }
        return node;
    }
    std::unique_ptr<FilterNode> parseNot()
    {
        if (m_tokens.isKeyword("NOT")) {
            m_tokens.take();
            const NestingLevel level(m_depth);
            auto node = std::make_unique<FilterNode>();
            node->kind = FilterNode::Not;
            node->children.push_back(parseNot());
            return node;
        }
        return parsePrimary();
    }
    std::unique_ptr<FilterNode> parsePrimary()
    {
        if (m_tokens.peek().type == Token::Open) {
            m_tokens.take();
            const NestingLevel level(m_depth);
            auto node = parseOr();
            if (m_tokens.peek().type != Token::Close)
                m_tokens.fail();
            m_tokens.take();
            return node;
        }
        auto node = std::make_unique<FilterNode>();
        node->left = parseOperand();
        if (m_tokens.isKeyword("IS")) {
            m_tokens.take();
            node->kind = FilterNode::IsNull;
            if (m_tokens.isKeyword("NOT")) {
                m_tokens.take();
                node->kind = FilterNode::IsNotNull;
            }
            if (!m_tokens.isKeyword("NULL") || !node->left.isField())
                m_tokens.fail();
            m_tokens.take();
            return node;
        }
        if (m_tokens.peek().type != Token::Operator)
            m_tokens.fail();
        node->kind = FilterNode::Compare;
        node->op = operatorOf(m_tokens.take().text);
        node->right = parseOperand();
        if (!node->left.isField() && !node->right.isField())
            m_tokens.fail();
        return node;
    }
    static FilterNode::Operator operatorOf(const QString &text)
    {
        if (text == QLatin1String("="))
            return FilterNode::Equal;
        if (text == QLatin1String("<>"))
            return FilterNode::NotEqual;
        if (text == QLatin1String("<"))
            return FilterNode::Less;
        if (text == QLatin1String(">"))
            return FilterNode::Greater;
        if (text == QLatin1String("<="))
            return FilterNode::LessEqual;
        return FilterNode::GreaterEqual;
    }
    FilterNode::Operand parseOperand()
    {
        const Token token = m_tokens.peek();
        FilterNode::Operand operand;
        switch (token.type) {
        case Token::Name:
            if (m_tokens.isKeyword("AND") || m_tokens.isKeyword("OR") || m_tokens.isKeyword("NOT")
                || m_tokens.isKeyword("NULL") || m_tokens.isKeyword("IS"))
                m_tokens.fail();
            operand.fieldName = token.text;
            operand.doubleQuoted = token.doubleQuoted;
            break;
        case Token::String:
            operand.literal = token.text;
            break;
        case Token::Number:
            operand.literal = token.text.toDouble();
            break;
        default:
            m_tokens.fail();
        }
        m_tokens.take();
        return operand;
    }

    // Counts one level of parentheses or NOT for as long as it is parsed.
    class NestingLevel
    {
    public:
        explicit NestingLevel(int &depth) : m_depth(depth)
        {
            if (++m_depth > maxFilterDepth)
                tooDeep();
        }
        ~NestingLevel() { --m_depth; }
        NestingLevel(const NestingLevel &) = delete;
        NestingLevel &operator=(const NestingLevel &) = delete;

    private:
        int &m_depth;
    };

    Tokenizer m_tokens;
    int m_depth = 0;
};

FilterNode::Operator mirrored(FilterNode::Operator op)
{
    switch (op) {
    case FilterNode::Less:
        return FilterNode::Greater;
    case FilterNode::Greater:
        return FilterNode::Less;
    case FilterNode::LessEqual:
        return FilterNode::GreaterEqual;
    case FilterNode::GreaterEqual:
        return FilterNode::LessEqual;
    default:
        return op;
    }
}

bool holds(FilterNode::Operator op, int comparison)
{
    switch (op) {
    case FilterNode::Equal:
        return comparison == 0;
    case FilterNode::NotEqual:
        return comparison != 0;
    case FilterNode::Less:
        return comparison < 0;
    case FilterNode::Greater:
        return comparison > 0;
    case FilterNode::LessEqual:
        return comparison <= 0;
    default:
        return comparison >= 0;
    }
}

// SQLite parses a chain of one operator as a tree as deep as the chain is
// long and refuses more than a thousand levels; parenthesised groups keep the
// depth to a few dozen for any length.
QString joinedInGroups(QStringList parts, const QString &joiner)
{
    constexpr qsizetype groupSize = 64;
    while (parts.size() > groupSize) {
        QStringList groups;
        for (qsizetype i = 0; i < parts.size(); i += groupSize)
            groups.append(QStringLiteral("(%1)").arg(parts.mid(i, groupSize).join(joiner)));
        parts = groups;
    }
    return QStringLiteral("(%1)").arg(parts.join(joiner));
}

const char *sqlOperator(FilterNode::Operator op)
{
    static const char *names[] = {"=", "<>", "<", ">", "<=", ">="};
    return names[op];
}

bool isTextual(TFieldType type)
{
    return type == ftString || type == ftMemo;
}

bool isInteger(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

// A number beyond every integer stays a number, so that it compares by value
// with the integers stored.
QVariant storedLiteral(TFieldType type, const QVariant &literal)
{
    if (isInteger(type) && literal.typeId() == QMetaType::Double && !runtime::fitsInt64(literal.toDouble()))
        return literal;
    return toStorage(type, literal);
}

}

std::unique_ptr<FilterExpression> FilterExpression::parse(const QString &text, TFilterOptions options)
{
    return std::make_unique<FilterExpression>(Parser(text).parse(), options);
}

FilterNode::~FilterNode()
{
    std::vector<std::unique_ptr<FilterNode>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<FilterNode> node = std::move(pending.back());
        pending.pop_back();
        if (!node)
            continue;
        for (auto &child : node->children)
            pending.push_back(std::move(child));
        node->children.clear();
    }
}

FilterExpression::FilterExpression(std::unique_ptr<FilterNode> root, TFilterOptions options)
    : m_root(std::move(root)), m_options(options)
{
    // Binding, evaluating and translating follow the tree recursively; every
    // level the parser allows may hold an And below an Or.
    if (m_root && treeDepth(*m_root) > 2 * maxFilterDepth + 2)
        tooDeep();
}

std::unique_ptr<FilterExpression> FilterExpression::equalities(const QStringList &fieldNames,
                                                               const QVariantList &values, bool caseInsensitive,
                                                               bool partial)
{
    auto root = std::make_unique<FilterNode>();
    root->kind = FilterNode::And;
    for (int i = 0; i < fieldNames.size(); ++i) {
        auto node = std::make_unique<FilterNode>();
        node->left.fieldName = fieldNames[i];
        node->right.literal = values.value(i);
        node->prefixMatch = partial;
        root->children.push_back(std::move(node));
    }
    if (root->children.size() == 1) {
        std::unique_ptr<FilterNode> only = std::move(root->children.front());
        root = std::move(only);
    }
    return std::make_unique<FilterExpression>(std::move(root), caseInsensitive ? foCaseInsensitive : 0);
}

void FilterExpression::bind(const QVector<FilterColumn> &columns)
{
    m_columnNames.clear();
    for (const FilterColumn &column : columns)
        m_columnNames.append(column.name);
    bindNode(*m_root, columns);
}

void FilterExpression::bindNode(FilterNode &node, const QVector<FilterColumn> &columns)
{
    for (auto &child : node.children)
        bindNode(*child, columns);
    if (node.kind == FilterNode::Callback || node.kind == FilterNode::And || node.kind == FilterNode::Or
        || node.kind == FilterNode::Not)
        return;
    auto resolve = [&](FilterNode::Operand &operand) {
        if (!operand.isField())
            return;
        operand.column = -1;
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].name.compare(operand.fieldName, Qt::CaseInsensitive) == 0)
                operand.column = i;
        if (operand.column < 0 && operand.doubleQuoted) {
            operand.literal = operand.fieldName;
            operand.fieldName.clear();
            return;
        }
        if (operand.column < 0)
            throw EDatabaseError(QStringLiteral("Filter: Feld '%1' nicht gefunden").arg(operand.fieldName));
        operand.type = columns[operand.column].type;
    };
    const QString named = node.left.isField() ? node.left.fieldName : node.right.fieldName;
    resolve(node.left);
    resolve(node.right);
    if (!node.left.isField() && !node.right.isField())
        throw EDatabaseError(QStringLiteral("Filter: Feld '%1' nicht gefunden").arg(named));
    if (node.kind != FilterNode::Compare)
        return;
    if (!node.left.isField()) {
        std::swap(node.left, node.right);
        node.op = mirrored(node.op);
    }
    if (node.right.isField())
        return;
    QVariant literal = node.right.literal;
    node.partial = false;
    const bool star = !(m_options & foNoPartialCompare) && literal.typeId() == QMetaType::QString
                      && literal.toString().endsWith(QLatin1Char('*'));
    if (isTextual(node.left.type) && (node.prefixMatch || star)
        && (node.op == FilterNode::Equal || node.op == FilterNode::NotEqual)) {
        node.partial = true;
        if (!node.prefixMatch)
            literal = literal.toString().chopped(1);
    }
    if (isTextual(node.left.type) && literal.typeId() == QMetaType::Double)
        literal = FloatToStr(literal.toDouble());
    node.right.stored = isBlank(literal) ? QVariant() : storedLiteral(node.left.type, literal);
}

namespace {

int compareStored(const QVariant &left, const QVariant &right, TFieldType type, bool caseSensitive)
{
    if (isTextual(type))
        return compareGerman(left.toString(), right.toString(), caseSensitive);
    const QPartialOrdering order = QVariant::compare(left, right);
    return order == QPartialOrdering::Less ? -1 : order == QPartialOrdering::Greater ? 1 : 0;
}

}

bool FilterExpression::compareNode(const FilterNode &node, const Row &row) const
{
    const QVariant &value = row.values[node.left.column];
    const bool caseSensitive = !(m_options & foCaseInsensitive);
    if (node.right.isField()) {
        const QVariant &other = row.values[node.right.column];
        if (isBlank(value) || isBlank(other))
            return node.op == FilterNode::Equal ? isBlank(value) && isBlank(other)
                                                : node.op == FilterNode::NotEqual && isBlank(value) != isBlank(other);
        return holds(node.op, compareStored(value, other, node.left.type, caseSensitive));
    }
    const QVariant &literal = node.right.stored;
    if (isBlank(literal)) {
        if (node.op == FilterNode::Equal)
            return isBlank(value);
        if (node.op == FilterNode::NotEqual)
            return !isBlank(value);
        return false;
    }
    if (isBlank(value))
        return node.op == FilterNode::NotEqual;
    if (node.partial) {
        const QString prefix = literal.toString();
        const bool starts = compareGerman(value.toString().left(prefix.size()), prefix, caseSensitive) == 0;
        return (node.op == FilterNode::Equal) == starts;
    }
    return holds(node.op, compareStored(value, literal, node.left.type, caseSensitive));
}

bool FilterExpression::evaluateNode(const FilterNode &node, const Row &row) const
{
    switch (node.kind) {
    case FilterNode::And:
        return std::all_of(node.children.begin(), node.children.end(),
                           [&](const auto &child) { return evaluateNode(*child, row); });
    case FilterNode::Or:
        return std::any_of(node.children.begin(), node.children.end(),
                           [&](const auto &child) { return evaluateNode(*child, row); });
    case FilterNode::Not:
        return !evaluateNode(*node.children[0], row);
    case FilterNode::IsNull:
        return isBlank(row.values[node.left.column]);
    case FilterNode::IsNotNull:
        return !isBlank(row.values[node.left.column]);
    case FilterNode::Callback:
        return node.callback(row);
    default:
        return compareNode(node, row);
    }
}

bool FilterExpression::evaluate(const Row &row) const
{
    return evaluateNode(*m_root, row);
}

QString FilterExpression::collation(TFieldType type) const
{
    if (!isTextual(type))
        return QString();
    return QStringLiteral(" COLLATE ")
           + QLatin1String((m_options & foCaseInsensitive) ? germanNoCaseCollation : germanCollation);
}

bool FilterExpression::nodeSql(const FilterNode &node, SqlCondition &out) const
{
    auto joined = [&](const char *joiner) {
        QStringList parts;
        QVariantList values;
        for (const auto &child : node.children) {
            SqlCondition part;
            if (!nodeSql(*child, part))
                return false;
            parts.append(part.sql);
            values += part.values;
        }
        out.sql = joinedInGroups(parts, QStringLiteral(" %1 ").arg(QLatin1String(joiner)));
        out.values = values;
        return true;
    };
    const QString column = node.left.column >= 0 ? quoteIdentifier(m_columnNames.value(node.left.column)) : QString();
    const QString blank = isTextual(node.left.type) ? QStringLiteral("(%1 IS NULL OR %1 = '')").arg(column)
                                                    : QStringLiteral("%1 IS NULL").arg(column);
    switch (node.kind) {
    case FilterNode::And:
        return joined("AND");
    case FilterNode::Or:
        return joined("OR");
    case FilterNode::Not: {
        SqlCondition inner;
        if (!nodeSql(*node.children[0], inner))
            return false;
        out.sql = QStringLiteral("(NOT %1)").arg(inner.sql);
        out.values = inner.values;
        return true;
    }
    case FilterNode::IsNull:
        out.sql = blank;
        return true;
    case FilterNode::IsNotNull:
        out.sql = QStringLiteral("(NOT %1)").arg(blank);
        return true;
    case FilterNode::Callback:
        return false;
    default:
        break;
    }
    if (node.right.isField()) {
        // Blank handling between two fields is evaluated per record.
        return false;
    }
    if (isBlank(node.right.stored)) {
        if (node.op == FilterNode::Equal)
            out.sql = blank;
        else if (node.op == FilterNode::NotEqual)
            out.sql = QStringLiteral("(NOT %1)").arg(blank);
        else
            out.sql = QStringLiteral("0");
        return true;
    }
    QString left = column;
    if (node.partial)
        left = QStringLiteral("substr(%1, 1, %2)").arg(column).arg(node.right.stored.toString().size());
    QString comparison =
        QStringLiteral("%1%2 %3 ?").arg(left, collation(node.left.type), QLatin1String(sqlOperator(node.op)));
    out.values.append(node.right.stored);
    if (node.op == FilterNode::NotEqual)
        comparison = QStringLiteral("(%1 OR %2)").arg(comparison, blank);
    else if (node.op != FilterNode::Equal)
        comparison = QStringLiteral("(%1 AND NOT %2)").arg(comparison, blank);
    out.sql = QStringLiteral("(%1)").arg(comparison);
    return true;
}

bool FilterExpression::toSql(SqlCondition &out) const
{
    SqlCondition result;
    if (!nodeSql(*m_root, result))
        return false;
    out = result;
    return true;
}

}
