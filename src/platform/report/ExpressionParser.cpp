#include "platform/report/ExpressionNode.h"

#include "platform/report/ExpressionFunctions.h"

namespace report {
namespace {

struct SyntaxError
{
    QString message;
};

class Parser
{
public:
    explicit Parser(const QString &source) : m_src(source) {}

    NodePtr parseAll()
    {
        NodePtr root = comparison();
        skipBlanks();
        if (m_pos < m_src.size())
            fail(QStringLiteral("Unerwartetes Zeichen '%1'").arg(m_src.at(m_pos)));
        return root;
    }

private:
    // Evaluating and freeing follow the tree recursively; more operators or
    // parentheses than any layout needs are refused so that neither can run
    // out of stack.
    static constexpr int kMaxOperators = 1000;

    const QString &m_src;
    qsizetype m_pos = 0;
    int m_operators = 0;

    void countOperator()
    {
        if (++m_operators > kMaxOperators)
            fail(QStringLiteral("Ausdruck zu lang (höchstens %1 Operatoren und Klammern)").arg(kMaxOperators));
    }

    [[noreturn]] void fail(const QString &message)
    {
        throw SyntaxError{message + QStringLiteral(" an Position %1").arg(m_pos + 1)};
    }

    void skipBlanks()
    {
        while (m_pos < m_src.size() && m_src.at(m_pos).isSpace())
            ++m_pos;
    }

    bool accept(QLatin1String token)
    {
        skipBlanks();
        if (m_src.mid(m_pos, token.size()) != token)
            return false;
        m_pos += token.size();
        return true;
    }

    NodePtr binary(const QString &op, NodePtr left, NodePtr right)
    {
        countOperator();
        auto node = std::make_shared<ExpressionNode>();
        node->kind = ExpressionNode::Kind::Binary;
        node->name = op;
        node->args = {std::move(left), std::move(right)};
        return node;
    }

    NodePtr comparison()
    {
        NodePtr left = additive();
        static const QLatin1String ops[] = {QLatin1String("<="), QLatin1String(">="), QLatin1String("<>"),
                                            QLatin1String("="),  QLatin1String("<"),  QLatin1String(">")};
        for (const QLatin1String &op : ops) {
            if (accept(op))
                return binary(op, left, additive());
        }
        return left;
    }

    NodePtr additive()
    {
        NodePtr left = term();
        for (;;) {
            if (accept(QLatin1String("+")))
                left = binary(QStringLiteral("+"), left, term());
            else if (accept(QLatin1String("-")))
                left = binary(QStringLiteral("-"), left, term());
            else
                return left;
        }
    }

    NodePtr term()
    {
        NodePtr left = unary();
        for (;;) {
            if (accept(QLatin1String("*")))
                left = binary(QStringLiteral("*"), left, unary());
            else if (accept(QLatin1String("/")))
                left = binary(QStringLiteral("/"), left, unary());
            else
                return left;
        }
    }

    NodePtr unary()
    {
        if (accept(QLatin1String("-"))) {
            countOperator();
            auto node = std::make_shared<ExpressionNode>();
            node->kind = ExpressionNode::Kind::Negate;
            node->args = {unary()};
            return node;
        }
        return primary();
    }

    NodePtr primary()
    {
        skipBlanks();
        if (m_pos >= m_src.size())
            fail(QStringLiteral("Ausdruck unvollständig"));
        const QChar c = m_src.at(m_pos);
        if (accept(QLatin1String("("))) {
            countOperator();
            NodePtr inner = comparison();
            if (!accept(QLatin1String(")")))
                fail(QStringLiteral("')' erwartet"));
            return inner;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            return literal(Value::fromText(quoted(c)));
        if (c.isDigit())
            return literal(Value::fromNumber(number()));
        if (c == QLatin1Char('['))
            return bracketedName();
        if (isNameStart(c))
            return nameOrCall();
        fail(QStringLiteral("Unerwartetes Zeichen '%1'").arg(c));
    }

    static NodePtr literal(const Value &value)
    {
        auto node = std::make_shared<ExpressionNode>();
        node->literal = value;
        return node;
    }

    // A doubled quote inside a literal stands for one quote.
    QString quoted(QChar quote)
    {
        QString text;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_src.size())
                fail(QStringLiteral("Text ohne schließendes Anführungszeichen"));
            const QChar c = m_src.at(m_pos++);
            if (c != quote) {
                text += c;
            } else if (m_pos < m_src.size() && m_src.at(m_pos) == quote) {
                text += c;
                ++m_pos;
            } else {
                return text;
            }
        }
    }

    double number()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_src.size() && (m_src.at(m_pos).isDigit() || m_src.at(m_pos) == QLatin1Char('.')))
            ++m_pos;
        bool ok = false;
        const double value = m_src.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("Ungültige Zahl"));
        return value;
    }

    // Names that are no identifiers, such as "Land-Name", are written in
    // brackets.
    NodePtr bracketedName()
    {
        const qsizetype close = m_src.indexOf(QLatin1Char(']'), m_pos);
        if (close < 0)
            fail(QStringLiteral("']' erwartet"));
        auto node = std::make_shared<ExpressionNode>();
        node->kind = ExpressionNode::Kind::Name;
        node->name = m_src.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        return node;
    }

    static bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

    NodePtr nameOrCall()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_src.size() && isNamePart(m_src.at(m_pos)))
            ++m_pos;
        if (m_pos < m_src.size() && m_src.at(m_pos) == QLatin1Char('$'))
            ++m_pos;
        const QString name = m_src.mid(start, m_pos - start);
        auto node = std::make_shared<ExpressionNode>();
        node->name = name;
        if (!accept(QLatin1String("("))) {
            if (name.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return literal(Value::fromBool(true));
            if (name.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return literal(Value::fromBool(false));
            node->kind = ExpressionNode::Kind::Name;
            return node;
        }
        node->kind = ExpressionNode::Kind::Call;
        countOperator();
        if (!accept(QLatin1String(")"))) {
            do {
                node->args.append(comparison());
            } while (accept(QLatin1String(",")));
            if (!accept(QLatin1String(")")))
                fail(QStringLiteral("')' erwartet"));
        }
        const QString arity = checkFunction(name, int(node->args.size()));
        if (!arity.isEmpty())
            fail(arity);
        return node;
    }
};

}

NodePtr parseExpression(const QString &source, QString &error)
{
    if (source.trimmed().isEmpty())
        return std::make_shared<ExpressionNode>();
    try {
        return Parser(source).parseAll();
    } catch (const SyntaxError &e) {
        error = e.message;
        return nullptr;
    }
}

}
