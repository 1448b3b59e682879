#include "lib/data/Qkstr.h"

#include <gtest/gtest.h>

namespace {

QStringList allTokens(const QString &text, const QString &separator, QList<int> *positions = nullptr)
{
    QStringList tokens;
    int pos = 1;
    while (pos > 0) {
        QString token;
        strGetToken(text, separator, pos, token);
        tokens << token;
        if (positions)
            *positions << pos;
    }
    return tokens;
}

QStringList tokensBySet(const QString &text, int options, const QString &set)
{
    QStringList tokens;
    int pos = 1;
    while (pos > 0 && tokens.size() < 50) {
        QString token;
        strGetTokenBySet(text, pos, options, token, set);
        tokens << token;
    }
    return tokens;
}

} // namespace

TEST(StringTokens, CharacterAndWordSeparators)
{
    QList<int> positions;
    EXPECT_EQ(allTokens("a;b;", ";", &positions), (QStringList{"a", "b", ""}));
    EXPECT_EQ(positions, (QList<int>{3, 5, -1}));
    EXPECT_EQ(allTokens("a;;b", ";"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(allTokens("abc", ";"), (QStringList{"abc"}));
    EXPECT_EQ(allTokens("", ";"), (QStringList{""}));
    // Word separators need blanks and ignore case.
    EXPECT_EQ(allTokens("x AND y", "AND"), (QStringList{"x", "y"}));
    EXPECT_EQ(allTokens("x and y AnD z", "AND"), (QStringList{"x", "y", "z"}));
    EXPECT_EQ(allTokens("BRANDY", "AND"), (QStringList{"BRANDY"}));
}

TEST(StringTokens, PositionOutsideTheTextGivesNothing)
{
    QString token = "old";
    int pos = 9;
    strGetToken("abc", ";", pos, token);
    EXPECT_EQ(token, "");
    EXPECT_EQ(pos, -1);
    pos = 0;
    strGetToken("abc", ";", pos, token);
    EXPECT_EQ(pos, -1);
}

TEST(StringRoutines, BreakApartKeepsEmptyPieces)
{
    QStringList list{"stale"};
    strBreakApart("a;;b", ';', list);
    EXPECT_EQ(list, (QStringList{"a", "", "b"}));
    strBreakApart("a;", ';', list);
    EXPECT_EQ(list, (QStringList{"a", ""}));
    strBreakApart("", ';', list);
    EXPECT_EQ(list, (QStringList{""}));
}

TEST(StringRoutines, StrippingAndReplacing)
{
    QString text = "\t  Wert \t";
    strStripBoth(text);
    EXPECT_EQ(text, "Wert");
    EXPECT_EQ(strStripLeading("xxabxx", "x"), "abxx");
    EXPECT_EQ(strStripTrailing("xxabxx", "x"), "xxab");
    EXPECT_EQ(strStripTrailing("xxx", "x"), "");
    EXPECT_EQ(strFilterChars("1.234.567", '.'), "1234567");
    EXPECT_EQ(strReplaceChar("a_b_c", '_', ' '), "a b c");
    EXPECT_EQ(strReplaceCharWithStr("a'b", '\'', "''"), "a''b");
    EXPECT_EQ(strReplaceCharWithStr("aa", 'a', "aa"), "aaaa");
    EXPECT_EQ(strCountChar("a;b;c", ';'), 2);
    EXPECT_EQ(strTextAfterChar("Kunden.db", '.'), "db");
    EXPECT_EQ(strTextAfterChar("Kunden", '.'), "");
}

TEST(StringRoutines, EqualityFoldsOnlyAsciiLettersAndQueryLinesJoin)
{
    EXPECT_TRUE(qkEqualStr("KundenNr", "KUNDENNR"));
    EXPECT_FALSE(qkEqualStr(QString::fromUtf8("Größe"), QString::fromUtf8("GRÖSSE")));
    EXPECT_FALSE(qkEqualStr(QString::fromUtf8("ä"), QString::fromUtf8("Ä")));
    EXPECT_FALSE(qkEqualStr("ab", "abc"));
    // Query lines are joined without a trailing separator.
    EXPECT_EQ(qkJoinQueryLines({"SELECT *", "FROM Kunden"}, true), "SELECT * FROM Kunden");
    EXPECT_EQ(qkJoinQueryLines({"SELECT *", "FROM Kunden"}, false), "SELECT *\r\nFROM Kunden");
    EXPECT_EQ(qkJoinQueryLines({}, false), "");
}

TEST(StringTokensBySet, PlainTokensEndAtBlanksOrSetCharacters)
{
    EXPECT_EQ(tokensBySet("Name=Meier", 0, "="), (QStringList{"Name", "", "Meier"}));
    EXPECT_EQ(tokensBySet("  a b", tokSkipBlanks, ""), (QStringList{"a", "b"}));
    EXPECT_EQ(tokensBySet("Max Meier,Bonn", tokBlanksInToken, ","), (QStringList{"Max Meier", "", "Bonn"}));
}

TEST(StringTokensBySet, QuotedTokensRunToTheirClosingQuote)
{
    EXPECT_EQ(tokensBySet("\"a b\" c", tokQuoted | tokSkipBlanks, ""), (QStringList{"\"a b\"", "c"}));
    EXPECT_EQ(tokensBySet("\"a b\" c", tokQuoted | tokStripQuotes | tokSkipBlanks, ""), (QStringList{"a b", "c"}));
    EXPECT_EQ(tokensBySet("\"open end", tokQuoted, ""), (QStringList{"\"open end"}));
    EXPECT_EQ(tokensBySet("'x'", tokStripQuotes, ""), (QStringList{"x"}));
}
