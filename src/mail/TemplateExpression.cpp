#include "mail/TemplateExpression.h"

#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/runtime/Conversions.h"

#include <cmath>

namespace mail {

namespace {

using Type = Variant::Type;

const QString ComparisonChars = QStringLiteral("<>=");

[[noreturn]] void RefuseOperation(const QString &op)
{
    throw EFormularerror(QStringLiteral("Operation ") + op + QStringLiteral(" lässt sich nicht mit dem ")
                         + QStringLiteral("Typ durchführen."));
}

// Nothing assigned counts as the empty text, so it follows the text rules.
Variant Normalized(const Variant &value)
{
    return value.type() == Type::Empty ? Variant(QString()) : value;
}

// An empty text beside a value that is not a text counts as 0.
void ApplyEmptyTextRule(Variant &left, Variant &right)
{
    if (left.isText() && left.asText().isEmpty() && !right.isText())
        left = Variant(0);
    if (right.isText() && right.asText().isEmpty() && !left.isText())
        right = Variant(0);
}

double NumberOf(const Variant &value, const QString &op)
{
    if (!value.isText())
        return value.asNumber();
    double number = 0.0;
    if (!TryStrToFloat(value.asText().trimmed(), number))
        RefuseOperation(op);
    return number;
}

// The type of an arithmetic result: a date wins, then currency, then floating
// point (texts convert to it); integers stay integers.
Type ResultType(const Variant &left, const Variant &right)
{
    const auto either = [&](Type type) { return left.type() == type || right.type() == type; };
    if (either(Type::Date))
        return Type::Date;
    if (either(Type::Currency))
        return Type::Currency;
    if (either(Type::Float) || either(Type::Text))
        return Type::Float;
    return Type::Integer;
}

Variant MakeNumber(Type type, double value, const QString &op)
{
    if (!std::isfinite(value))
        RefuseOperation(op);
    switch (type) {
    case Type::Date:
        return Variant::Date(value);
    case Type::Currency:
        return Variant::Currency(value);
    case Type::Integer:
        // An integer result beyond 64 bits stays a number as a floating point value.
        return runtime::fitsInt64(value) ? Variant(qint64(value)) : Variant(value);
    default:
        return Variant(value);
    }
}

Variant Arithmetic(const Variant &leftIn, const Variant &rightIn, QChar op)
{
    const QString opText(op);
    Variant left = Normalized(leftIn);
    Variant right = Normalized(rightIn);
    if (left.type() == Type::Null || right.type() == Type::Null)
        return Variant::Null();
    ApplyEmptyTextRule(left, right);
    if (op == QLatin1Char('+') && left.isText() && right.isText())
        return Variant(left.asText() + right.asText());
    const double a = NumberOf(left, opText);
    const double b = NumberOf(right, opText);
    Type type = ResultType(left, right);
    if (op == QLatin1Char('+'))
        return MakeNumber(type, a + b, opText);
    if (op == QLatin1Char('-'))
        return MakeNumber(type, a - b, opText);
    if (type == Type::Date)
        type = Type::Float;
    if (op == QLatin1Char('*'))
        return MakeNumber(type, a * b, opText);
    if (b == 0.0)
        RefuseOperation(opText);
    return MakeNumber(type == Type::Integer ? Type::Float : type, a / b, opText);
}

// Null and empty values read as the empty text, as a null field does.
bool ComparesAsText(const Variant &value)
{
    return value.isText() || value.type() == Type::Null || value.type() == Type::Empty;
}

int ThreeWay(const Variant &left, const Variant &right)
{
    if (ComparesAsText(left) || ComparesAsText(right)) {
        const QString a = left.toText() + QLatin1Char(' ');
        const QString b = right.toText() + QLatin1Char(' ');
        return QString::compare(a, b, Qt::CaseSensitive);
    }
    const double a = left.asNumber();
    const double b = right.asNumber();
    return a < b ? -1 : (a > b ? 1 : 0);
}

Variant Compare(const Variant &left, const Variant &right, const QString &op)
{
    const int order = ThreeWay(left, right);
    if (op == QStringLiteral("="))
        return Variant(order == 0);
    if (op == QStringLiteral("<"))
        return Variant(order < 0);
    if (op == QStringLiteral(">"))
        return Variant(order > 0);
    if (op == QStringLiteral("<="))
        return Variant(order <= 0);
    if (op == QStringLiteral(">="))
        return Variant(order >= 0);
    if (op == QStringLiteral("<>"))
        return Variant(order != 0);
    return Variant(false);
}

// Works on views of the one expression text, so that no level copies the
// rest of the line, and refuses nesting deeper than any template line needs,
// so that a long chain of operators cannot exhaust the stack.
class Evaluator
{
public:
    static constexpr int MaxDepth = 1000;

    explicit Evaluator(const TFormatlist &vocabulary) : m_vocabulary(vocabulary) {}

    Variant Evaluate(QStringView input, int depth = 0) const
    {
        if (depth > MaxDepth)
            throw EFormularerror(QStringLiteral("Der Ausdruck ist zu lang (höchstens %1 Operatoren).").arg(MaxDepth));
        const QStringView expression = TrimmedView(input);
        if (expression.isEmpty())
            return Variant(false);
        const qsizetype comparison = FirstComparison(expression);
        if (comparison >= 0)
            return EvaluateComparison(expression, comparison, depth);
        const qsizetype additive = LastOf(expression, u"+-");
        if (additive >= 0)
            return EvaluateBinary(expression, additive, depth);
        const qsizetype multiplicative = LastOf(expression, u"*/");
        if (multiplicative >= 0)
            return EvaluateBinary(expression, multiplicative, depth);
        return Atom(expression.toString());
    }

private:
    static QStringView TrimmedView(QStringView text)
    {
        qsizetype start = 0;
        qsizetype end = text.size();
        while (start < end && text[start].unicode() <= ' ')
            ++start;
        while (end > start && text[end - 1].unicode() <= ' ')
            --end;
        return text.sliced(start, end - start);
    }

    static qsizetype FirstComparison(QStringView expression)
    {
        for (qsizetype i = 0; i < expression.size(); ++i) {
            if (ComparisonChars.contains(expression[i]))
                return i;
        }
        return -1;
    }

    static qsizetype LastOf(QStringView expression, QStringView chars)
    {
        for (qsizetype i = expression.size() - 1; i >= 0; --i) {
            if (chars.contains(expression[i]))
                return i;
        }
        return -1;
    }

    static bool AtEdge(QStringView expression, qsizetype position)
    {
        return position == 0 || position == expression.size() - 1;
    }

    Variant EvaluateComparison(QStringView expression, qsizetype position, int depth) const
    {
        if (AtEdge(expression, position))
            return Variant(false);
        const bool twoChars = ComparisonChars.contains(expression[position + 1]);
        const QString op = expression.sliced(position, twoChars ? 2 : 1).toString();
        const Variant left = Evaluate(expression.first(position), depth + 1);
        const Variant right = Evaluate(expression.sliced(position + op.size()), depth + 1);
        return Compare(left, right, op);
    }

    Variant EvaluateBinary(QStringView expression, qsizetype position, int depth) const
    {
        if (AtEdge(expression, position))
            return Variant(false);
        const Variant left = Evaluate(expression.first(position), depth + 1);
        const Variant right = Evaluate(expression.sliced(position + 1), depth + 1);
        return Arithmetic(left, right, expression[position]);
    }

    Variant Atom(const QString &expression) const
    {
        const QChar quote = QLatin1Char('"');
        if (expression.startsWith(quote)) {
            if (expression.size() < 2 || !expression.endsWith(quote))
                return Variant(false);
            return Variant(expression.mid(1, expression.size() - 2));
        }
        if (expression.startsWith(QLatin1Char('#')))
            return NamedValue(expression.mid(1));
        if (expression.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return Variant(true);
        if (expression.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return Variant(false);
        return Variant(expression);
    }

    Variant NamedValue(const QString &name) const
    {
        const TFormatlistItem *item = m_vocabulary.FindQualifiedThenName(name);
        if (!item)
            return Variant(false);
        const Variant value = item->CurrentValue();
        if (item->Kind == fikField && value.type() == Type::Null)
            return Variant(QString());
        return value;
    }

    const TFormatlist &m_vocabulary;
};

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= ' ';
}

} // namespace

QString TrimControl(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && IsBlankOrControl(text[start]))
        ++start;
    return TrimControlRight(text.mid(start));
}

QString TrimControlRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1]))
        --end;
    return text.left(end);
}

Variant EvaluateTemplateExpression(const QString &expression, const TFormatlist &vocabulary)
{
    return Evaluator(vocabulary).Evaluate(expression);
}

} // namespace mail
