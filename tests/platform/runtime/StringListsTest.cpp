#include "platform/runtime/StringLists.h"

#include <gtest/gtest.h>

TEST(StringLists, CommaTextQuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(CommaText({"a", "b c", "d,e", "say \"hi\"", "", "f"}), "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\",,f");
    EXPECT_EQ(CommaText({""}), "\"\"");
    EXPECT_EQ(CommaText({}), "");
    EXPECT_EQ(CommaText({QStringLiteral("Größe")}), QStringLiteral("Größe"));
}

TEST(StringLists, FromCommaTextFollowsTheFrameworkRules)
{
    EXPECT_EQ(FromCommaText("a,,b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(FromCommaText("a,\"b c\",\"say \"\"hi\"\"\""), QStringList({"a", "b c", "say \"hi\""}));
    // Blanks separate as commas do unless quoted.
    EXPECT_EQ(FromCommaText("a b,  c"), QStringList({"a", "b", "c"}));
    // A trailing comma gives an empty last item; with blanks after it, not.
    EXPECT_EQ(FromCommaText("a,"), QStringList({"a", ""}));
    EXPECT_EQ(FromCommaText("a, "), QStringList({"a"}));
    EXPECT_EQ(FromCommaText(",a"), QStringList({"", "a"}));
    EXPECT_EQ(FromCommaText(""), QStringList());
    EXPECT_EQ(FromCommaText("\"\""), QStringList({""}));
    EXPECT_EQ(FromCommaText("\"open, quote"), QStringList({"open, quote"}));
    const QStringList awkward{"x y", "", "\"", "a,b", " lead"};
    EXPECT_EQ(FromCommaText(CommaText(awkward)), awkward);
}

TEST(StringLists, TextJoinsWithCrLfAndSplitsAnyLineBreak)
{
    EXPECT_EQ(Text({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(Text({}), "");
    EXPECT_EQ(FromText("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(FromText("a\r\n"), QStringList({"a"}));
    EXPECT_EQ(FromText("a\r\n\r\n"), QStringList({"a", ""}));
    EXPECT_EQ(FromText(""), QStringList());
}

TEST(StringLists, NamesAndValuesAreCaseFree)
{
    QStringList list{"Pfad=C:\\Daten", "Filter=Nr=5", "ohne Gleich", "leer="};
    EXPECT_EQ(NameOfLine("Filter=Nr=5"), "Filter");
    EXPECT_EQ(ValueOfLine("Filter=Nr=5"), "Nr=5");
    EXPECT_EQ(NameOfLine("ohne Gleich"), "");
    EXPECT_EQ(IndexOfName(list, "PFAD"), 0);
    EXPECT_EQ(IndexOfName(list, "ohne Gleich"), -1);
    EXPECT_EQ(Values(list, "filter"), "Nr=5");
    EXPECT_EQ(Values(list, "fehlt"), "");
    SetValue(list, "pfad", "D:\\");
    EXPECT_EQ(list[0], "pfad=D:\\");
    SetValue(list, "Neu", "1");
    EXPECT_EQ(list.last(), "Neu=1");
    SetValue(list, "FILTER", "");
    EXPECT_EQ(IndexOfName(list, "Filter"), -1);
    EXPECT_EQ(IndexOfText(list, "OHNE gleich"), 1);
    EXPECT_EQ(IndexOfText(list, "ohne"), -1);
}
