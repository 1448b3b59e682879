#include "mail/TemplateLanguage.h"

#include "mail/TemplateExpression.h"
#include "mail/TemplateLine.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"

namespace {

const QChar CarriageReturn = QLatin1Char('\r');

const QString ConditionMessage = QStringLiteral("Wenn-Ausdruck muss eine Logische Aussage (Wahr oder Falsch) ergeben.");

// The framework's "not" on a condition value; texts and other values that are
// no truth value are refused.
bool NegatedCondition(const mail::Variant &value)
{
    using Type = mail::Variant::Type;
    switch (value.type()) {
    case Type::Boolean:
        return !value.asBoolean();
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
        return value.asNumber() == 0.0;
    default:
        throw EFormularerror(ConditionMessage);
    }
}

qsizetype WrapBreak(const QString &text, int width)
{
    if (width < 1)
        return text.indexOf(CarriageReturn);
    qsizetype breakAt = -1;
    const qsizetype limit = qMin<qsizetype>(width, text.size());
    for (qsizetype i = 0; i < limit; ++i) {
        const QChar c = text[i];
        if (c == CarriageReturn)
            return i;
        if (c == QLatin1Char(' ') || c == QLatin1Char('-'))
            breakAt = i;
    }
    return breakAt < 0 ? width - 1 : breakAt;
}

} // namespace

void WrapText(QString &text, int width, QString &piece)
{
    text.replace(QStringLiteral("\r\n"), QString(CarriageReturn));
    text.replace(QLatin1Char('\n'), CarriageReturn);
    const qsizetype cut = WrapBreak(text, width);
    const bool fits = text.size() <= width && !text.contains(CarriageReturn);
    if (fits || cut < 0) {
        piece = text;
        text.clear();
        return;
    }
    piece = text.left(cut + 1);
    if (piece.endsWith(CarriageReturn))
        piece.back() = QLatin1Char(' ');
    text.remove(0, cut + 1);
}

TTemplateContext::TTemplateContext(TFormatlist &vocabulary, const TFormular *formular)
    : m_vocabulary(vocabulary), m_formular(formular)
{}

void TTemplateContext::ResetTemplateState()
{
    m_depth = 0;
    m_vocabulary.ClearValuesAndVariables();
}

bool TTemplateContext::ProcessTemplateLine(const QString &line, QStringList &output, const QString &suffix)
{
    if (line.isEmpty()) {
        if (m_depth == 0)
            output << suffix;
        return true;
    }
    if (line.startsWith(QStringLiteral("//")))
        return true;
    if (line.startsWith(QLatin1Char('!'))) {
        ProcessCommandLine(line);
        return true;
    }
    if (m_depth > 0)
        return true;
    for (const QString &rendered : mail::renderTemplateLine(line, m_vocabulary, DefaultDecimals))
        output << rendered + suffix;
    return true;
}

void TTemplateContext::ProcessFormSection(int section, QStringList &output, const QString &suffix)
{
    if (!m_formular)
        return;
    const QStringList lines = m_formular->Section(section);
    for (const QString &line : lines)
        ProcessTemplateLine(line, output, suffix);
}

void TTemplateContext::EvaluateExpression(const mail::Variant &expression, mail::Variant &result) const
{
    result = mail::EvaluateTemplateExpression(expression.toText(), m_vocabulary);
}

void TTemplateContext::ProcessCommandLine(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString name = blank < 0 ? line.mid(1) : line.mid(1, blank - 1);
    const QString argument = blank < 0 ? QString() : line.mid(blank + 1);
    int index = m_vocabulary.IndexOfName(name);
    if (index < 0)
        index = m_vocabulary.IndexOfQualifiedName(name);
    if (index < 0)
        throw EFormularerror(QStringLiteral("Befehl !") + name + QStringLiteral(" nicht gefunden!"));

    const QString keyword = name.toUpper();
    if (keyword == QStringLiteral("WENN")) {
        ProcessCondition(argument);
    } else if (keyword == QStringLiteral("ENDEWENN")) {
        if (m_depth > 0)
            --m_depth;
    } else if (m_depth > 0) {
        return;
    } else if (keyword == QStringLiteral("VAR")) {
        ProcessVariable(argument);
    } else {
        m_vocabulary.GetItem(index)->Value =
            mail::Variant(argument.isEmpty() ? QStringLiteral("<Leerzeile>") : argument);
    }
}

void TTemplateContext::ProcessCondition(const QString &argument)
{
    if (m_depth > 0) {
        ++m_depth;
        return;
    }
    mail::Variant value;
    try {
        value = mail::EvaluateTemplateExpression(argument, m_vocabulary);
    } catch (const EFormularerror &) {
        throw EFormularerror(ConditionMessage);
    }
    if (NegatedCondition(value))
        m_depth = 1;
}

void TTemplateContext::ProcessVariable(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('#')))
        throw EFormularerror(QStringLiteral("Variablen müssen immer mit einem # anfangen"));
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? argument.mid(1) : argument.mid(1, equals - 1);
    const QString expression = equals < 0 ? QString() : argument.mid(equals + 1);
    const int index = m_vocabulary.IndexOfQualifiedName(name);
    if (index < 0) {
        const mail::Variant value = mail::EvaluateTemplateExpression(expression, m_vocabulary);
        m_vocabulary.AddItem()->SetVariable(QStringLiteral("PRGVAR") + name, name, value, QString());
        return;
    }
    TFormatlistItem *item = m_vocabulary.GetItem(index);
    if (item->Kind != fikVariable)
        throw EFormularerror(QStringLiteral("Variablenname nicht verwendbar!"));
    item->Value = mail::EvaluateTemplateExpression(expression, m_vocabulary);
}
