#include "platform/report/Expression.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportCodes.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

QString evaluated(const QString &source)
{
    const Definitions none;
    const Expression expression(source);
    EXPECT_TRUE(expression.isValid()) << source.toStdString() << ": " << expression.error().toStdString();
    return expression.evaluate(DefinitionScope(&none, &none)).toText();
}

// Counts beyond what a field can show are held to the nearest sensible one
// instead of indexing before a text or asking for gigabytes.
TEST(HostileLayout, CountArgumentsOfTheFunctionsStayInRange)
{
    const struct
    {
        const char *source;
        const char *printed;
    } cases[] = {
        {"Str$(1.5, 8, -1000000000)", "       2"},
        {"Str$(1.5, 8, -3)", "       2"},
        {"Str$(1.25, 0, 1)", "1,3"},
        {"Str$(2, %1, 2)", nullptr},
        {"Left$(\"abc\", %1)", "abc"},
        {"Right$(\"abc\", -%1)", ""},
        {"Left$(\"abc\", 2)", "ab"},
        {"Date$(%1, \"dd.mm.yyyy\")", nullptr},
        {"Date$(45351, \"dd.mm.yyyy\")", "29.02.2024"},
    };
    // A number with 301 digits, as the layout language writes numbers.
    const QString huge = QStringLiteral("1") + QString(300, QLatin1Char('0'));
    for (const auto &c : cases) {
        const QString printed = evaluated(QString::fromLatin1(c.source).replace(QStringLiteral("%1"), huge));
        if (c.printed)
            EXPECT_EQ(printed, QLatin1String(c.printed)) << c.source;
        else
            EXPECT_LE(printed.size(), 1000) << c.source;
    }
}

TEST(HostileLayout, ExpressionsTooLongForTheStackAreSyntaxErrors)
{
    const Expression chained(QStringLiteral("1") + QStringLiteral("+1").repeated(100000));
    EXPECT_FALSE(chained.isValid());
    EXPECT_TRUE(chained.error().startsWith(QStringLiteral("Ausdruck zu lang"))) << chained.error().toStdString();
    EXPECT_FALSE(
        Expression(QStringLiteral("(").repeated(100000) + QStringLiteral("1") + QStringLiteral(")").repeated(100000))
            .isValid());
    EXPECT_FALSE(Expression(QStringLiteral("-").repeated(100000) + QStringLiteral("1")).isValid());
    EXPECT_EQ(evaluated(QStringLiteral("0") + QStringLiteral("+1").repeated(900)), QStringLiteral("900"));
}

// What cannot be a page or a label sheet, or is too small for a line of
// print, is the layout error, never a layout that prints blank pages.
TEST(HostileLayout, PagesAndGridsThatCannotBeAreRefused)
{
    Layout label;
    label.type = Layout::Type::Label;
    label.sheet.columns = 2;
    label.sheet.rows = 7;
    label.objects.append(textObject("Adresse", {5, 5, 60, 25}, {"Name"}));
    const QString good = layoutToText(label);
    Layout read;
    ASSERT_EQ(layoutFromText(good, read), 0);
    for (const char *bad :
         {"Grid=1e300;1", "Grid=100000;100000", "Grid=nan;1", "Size=nan;297", "Size=inf;297", "Size=210;1e300",
          "Margins=0;0;nan;0", "Size=-5;297", "Size=210;0", "Label=0;37", "Label=-70;37", "Label=70;nan"}) {
        QString text = good;
        const QString key = QString::fromLatin1(bad).section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        const qsizetype at = text.indexOf(QLatin1Char('\n') + key);
        ASSERT_GE(at, 0) << bad;
        text.replace(at + 1, text.indexOf(QLatin1Char('\n'), at + 1) - at - 1, QLatin1String(bad));
        QString message;
        EXPECT_EQ(layoutFromText(text, read, &message), LL_ERR_LAYOUT) << bad;
        EXPECT_TRUE(message.startsWith(QStringLiteral("Zeile"))) << bad;
    }
    // Label tapes of a few millimetres, as earlier versions wrote them.
    const struct
    {
        const char *line;
        QSizeF label;
    } tapes[] = {
        {"Label=62;6", {62, 6}}, {"Label=62;9", {62, 9}}, {"Label=12;12", {12, 12}}, {"Label=0.5;6", {0.5, 6}}};
    for (const auto &tape : tapes) {
        QString text = good;
        const qsizetype at = text.indexOf(QStringLiteral("\nLabel="));
        text.replace(at + 1, text.indexOf(QLatin1Char('\n'), at + 1) - at - 1, QLatin1String(tape.line));
        ASSERT_EQ(layoutFromText(text, read), 0) << tape.line;
        EXPECT_EQ(QSizeF(read.sheet.labelWidth, read.sheet.labelHeight), tape.label) << tape.line;
        Layout again;
        ASSERT_EQ(layoutFromText(layoutToText(read), again), 0) << tape.line;
        EXPECT_EQ(layoutToText(again), layoutToText(read)) << tape.line;
    }
}

} // namespace
