#include "platform/report/Expression.h"

#include "platform/report/ExpressionFunctions.h"
#include "platform/report/ExpressionNode.h"

namespace report {
namespace {

Value compare(const QString &op, const Value &a, const Value &b)
{
    // An empty Boolean or number compares as false or 0.
    const auto isNumeric = [](const Value &v) { return v.kind == Value::Kind::Number || v.isNull(); };
    int order = 0;
    if (a.kind == Value::Kind::Boolean || b.kind == Value::Kind::Boolean) {
        order = int(a.toBool()) - int(b.toBool());
    } else if (isNumeric(a) && isNumeric(b)) {
        const double x = a.toNumber();
        const double y = b.toNumber();
        order = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        order = a.toText().compare(b.toText());
    }
    if (op == QLatin1String("="))
        return Value::fromBool(order == 0);
    if (op == QLatin1String("<>"))
        return Value::fromBool(order != 0);
    if (op == QLatin1String("<"))
        return Value::fromBool(order < 0);
    if (op == QLatin1String(">"))
        return Value::fromBool(order > 0);
    if (op == QLatin1String("<="))
        return Value::fromBool(order <= 0);
    return Value::fromBool(order >= 0);
}

bool isText(const Value &v)
{
    return v.kind == Value::Kind::Text;
}

Value arithmetic(const QString &op, const Value &a, const Value &b)
{
    if (op == QLatin1String("+") && (isText(a) || isText(b)))
        return Value::fromText(a.toText() + b.toText());
    if (a.isNull() && b.isNull())
        return Value{};
    const double x = a.toNumber();
    const double y = b.toNumber();
    if (op == QLatin1String("+"))
        return Value::fromNumber(x + y);
    if (op == QLatin1String("-"))
        return Value::fromNumber(x - y);
    if (op == QLatin1String("*"))
        return Value::fromNumber(x * y);
    // A division by zero prints empty rather than "inf".
    return y == 0 ? Value{} : Value::fromNumber(x / y);
}

Value evaluateNode(const ExpressionNode &node, const NameScope &scope)
{
    switch (node.kind) {
    case ExpressionNode::Kind::Literal:
        return node.literal;
    case ExpressionNode::Kind::Name: {
        const Definition *d = scope.lookup(node.name);
        return d ? d->value() : Value{};
    }
    case ExpressionNode::Kind::Negate: {
        const Value inner = evaluateNode(*node.args.at(0), scope);
        return inner.isNull() ? inner : Value::fromNumber(-inner.toNumber());
    }
    case ExpressionNode::Kind::Binary: {
        const Value a = evaluateNode(*node.args.at(0), scope);
        const Value b = evaluateNode(*node.args.at(1), scope);
        if (node.name.size() == 1 && QStringLiteral("+-*/").contains(node.name))
            return arithmetic(node.name, a, b);
        return compare(node.name, a, b);
    }
    case ExpressionNode::Kind::Call: {
        QList<Value> args;
        args.reserve(node.args.size());
        for (const NodePtr &a : node.args)
            args.append(evaluateNode(*a, scope));
        return callFunction(node.name, args);
    }
    }
    return {};
}

void collectNames(const ExpressionNode &node, QStringList &names)
{
    if (node.kind == ExpressionNode::Kind::Name)
        names.append(node.name);
    for (const NodePtr &arg : node.args)
        collectNames(*arg, names);
}

}

Expression::Expression(const QString &source) : m_source(source)
{
    m_root = parseExpression(source, m_error);
}

Value Expression::evaluate(const NameScope &scope) const
{
    return m_root ? evaluateNode(*m_root, scope) : Value{};
}

QStringList Expression::names() const
{
    QStringList names;
    if (m_root)
        collectNames(*m_root, names);
    return names;
}

}
