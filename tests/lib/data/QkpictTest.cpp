#include "lib/data/Qkpict.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

struct Match
{
    TqkPicResult result;
    QString text;
};

Match picture(const QString &mask, const QString &text, bool autoFill = false)
{
    TqkPictureValidator validator(mask, autoFill);
    Match match{picEmpty, text};
    match.result = validator.Picture(match.text, autoFill);
    return match;
}

TqkPicResult resultOf(const QString &mask, const QString &text)
{
    return picture(mask, text).result;
}

struct Case
{
    QString mask;
    QString text;
    TqkPicResult expected;
};

void expectResults(std::initializer_list<Case> cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(resultOf(c.mask, c.text), c.expected) << c.mask.toStdString() << " / " << c.text.toStdString();
}

} // namespace

TEST(PictureMask, DigitsReportEveryStateOfTheText)
{
    expectResults({{"###", "", picEmpty},
                   {"###", "12", picIncomplete},
                   {"###", "123", picComplete},
                   {"###", "1234", picError},
                   {"###", "1a", picError}});
}

TEST(PictureMask, CaseConversionsRewriteTheText)
{
    EXPECT_EQ(picture("&&&", "abc").text, "ABC");
    EXPECT_EQ(picture("~~", "AB").text, "ab");
    EXPECT_EQ(picture("!@", "a1").text, "A1");
    EXPECT_EQ(picture("&", QString::fromUtf8("ä")).text, QString::fromUtf8("Ä"));
    EXPECT_EQ(picture("~", QString::fromUtf8("Ü")).text, QString::fromUtf8("ü"));
    EXPECT_EQ(resultOf("!", "1"), picComplete);
    EXPECT_EQ(resultOf("@", "#"), picComplete);
}

TEST(PictureMask, LettersFollowTheWindowsCodePage)
{
    for (const char *letter : {"a", "Z", "ä", "ß", "Ž", "œ", "é"})
        EXPECT_EQ(resultOf("?", QString::fromUtf8(letter)), picComplete) << letter;
    // The euro sign is code 128, not above it; Polish ł has no code at all.
    for (const char *other : {"1", " ", "-", "€", "ł", "中"})
        EXPECT_EQ(resultOf("?", QString::fromUtf8(other)), picError) << other;
    EXPECT_EQ(resultOf("&", "5"), picError);
    EXPECT_EQ(resultOf("~", "_"), picError);
}

TEST(PictureMask, LiteralsAreReplacedByTheMasksOwnCharacters)
{
    EXPECT_EQ(picture("AB#", "ab1").result, picComplete);
    EXPECT_EQ(picture("AB#", "ab1").text, "AB1");
    EXPECT_EQ(resultOf("AB#", "xb1"), picError);
    // Only a to z fold; other letters compare exactly.
    expectResults({{QString::fromUtf8("Ä#"), QString::fromUtf8("ä1"), picError},
                   {";##", "#1", picComplete},
                   {";##", "11", picError},
                   {"#;*", "1*", picComplete}});
}

TEST(PictureMask, AFinalBlankStandsForTheNextLiteral)
{
    const Match filled = picture("#-#", "1 ");
    EXPECT_EQ(filled.result, picIncomplete);
    EXPECT_EQ(filled.text, "1-");
    EXPECT_EQ(resultOf("#-#", "1 2"), picError);
    EXPECT_EQ(picture("#-#", "1 2", true).result, picError);
    // A blank literal typed as a blank stays a blank.
    EXPECT_EQ(picture("# #", "1 ").text, "1 ");
    // Once a final blank has matched a blank, a later alternative may not
    // take it for another literal.
    EXPECT_EQ(picture("# -,#-#", "1 ").text, "1 ");
    EXPECT_EQ(picture("#-#,# -", "1 ").text, "1-");
}

TEST(PictureMask, AutoFillAppendsTheLiteralsUpToTheNextPlaceholder)
{
    const Match phone = picture("(###) ###-####", "(555", true);
    EXPECT_EQ(phone.result, picIncomplete);
    EXPECT_EQ(phone.text, "(555) ");
    EXPECT_EQ(picture("(###) ###-####", "(555", false).text, "(555");
    EXPECT_EQ(picture("(###) ###-####", "(555) 123-456", true).result, picIncomplete);
    const Match complete = picture("##.##.####", "12.03.2020", true);
    EXPECT_EQ(complete.result, picComplete);
    EXPECT_EQ(complete.text, "12.03.2020");
}

TEST(PictureMask, AutoFillWritesEscapedCharactersAndCompletesGroups)
{
    EXPECT_EQ(picture("#;*#", "1", true).text, "1*");
    const Match month = picture("{Jan,Feb,Mar}", "Fe", true);
    EXPECT_EQ(month.result, picComplete);
    EXPECT_EQ(month.text, "Feb");
    // Nothing is filled after an optional part that may still take more.
    EXPECT_EQ(picture("#[#]-#", "1", true).text, "1");
    EXPECT_EQ(picture("#[#]-#", "12", true).text, "12-");
}

TEST(PictureMask, AutoFillNeverGrowsATextBeyondItsLimit)
{
    const QString mask = QString(40, '#') + QString(200, '-') + "#";
    Match filled = picture(mask, QString(40, '1'), true);
    EXPECT_EQ(filled.result, picIncomplete);
    EXPECT_EQ(filled.text.size(), 240);
    filled = picture("*#-", QString(255, '1'), true);
    EXPECT_EQ(filled.result, picIncomplete);
    EXPECT_EQ(filled.text.size(), qk::maxTextLength);
}

TEST(PictureMask, OptionalGroupsMayBeLeftOut)
{
    expectResults({{"#[#]", "1", picComplete},
                   {"#[#]", "12", picComplete},
                   {"#[#]", "123", picError},
                   {"[+]#", "+1", picComplete},
                   {"[+]#", "1", picComplete},
                   {"#[-##]", "1-2", picIncomplete},
                   {"#[-##]", "1-23", picComplete}});
}

TEST(PictureMask, RepetitionsCountOrRunFreely)
{
    expectResults({{"*#", "", picEmpty},
                   {"*#", "123", picComplete},
                   {"*#", "12a", picError},
                   {"*3#", "12", picIncomplete},
                   {"*3#", "123", picComplete},
                   {"*3#", "1234", picError},
                   {"*3[#]", "1", picComplete},
                   {"*3[#]", "123", picComplete},
                   {"*3[#]", "1234", picError},
                   {"*2{#-}", "1-2-", picComplete},
                   {"*2{#-}", "1-2", picIncomplete},
                   {"&*?", "Abc", picComplete}});
    EXPECT_EQ(picture("&*~", "aBC").text, "Abc");
    EXPECT_EQ(resultOf("*255#", QString(255, '1')), picComplete);
}

TEST(PictureMask, OptionalTailsAfterTheTextAreSkipped)
{
    expectResults({{"#*3[#]", "1", picComplete},
                   {"#*12[#]", "1", picComplete},
                   {"#*#", "1", picComplete},
                   {"#[a]*[b]", "1", picComplete},
                   {"#{[a],b}", "1", picComplete},
                   {"#{a,b}", "1", picIncomplete},
                   {"#*3#", "1", picIncomplete}});
}

TEST(PictureMask, AlternativesPreferTheOneThatGetsFurthest)
{
    expectResults({{"{Jan,Feb,Mar}", "Fe", picIncomplete},
                   {"{Jan,Feb,Mar}", "Feb", picComplete},
                   {"{Jan,Feb,Mar}", "Fex", picError}});
    EXPECT_EQ(picture("{Jan,Feb,Mar}", "mar").text, "Mar");
    expectResults({{"jaX,ja", "ja", picComplete},
                   {"jaXY,j", "ja", picIncomplete},
                   {"###,##-##", "12-3", picIncomplete},
                   {"###,##-##", "123", picComplete},
                   {"###,##-##", "12-34", picComplete}});
}

TEST(PictureMask, GroupsNest)
{
    expectResults({{"{#[#],x}", "1", picComplete},
                   {"{#[#],x}", "x", picComplete},
                   {"{#[#],x}", "12", picComplete},
                   {"{#[#],x}", "y", picError},
                   {"[{A,B}#]#", "A12", picComplete},
                   {"[{A,B}#]#", "1", picComplete},
                   {"{[{a,b}]-}#", "b-1", picComplete},
                   {"{[{a,b}]-}#", "-1", picComplete},
                   {"{;{#;}}", "{1}", picComplete}});
}

TEST(PictureMask, MalformedMasksAreSyntaxErrors)
{
    for (const char *mask : {"", "#;", "#*", "*", "[#", "#]", "{#", "]#[", "}#{", "[{]}", "{[}]", "*256#", "*,#", "{*}",
                             "#*99999999999#"}) {
        EXPECT_EQ(resultOf(mask, "1"), picSyntax) << mask;
        EXPECT_EQ(resultOf(mask, ""), picSyntax) << mask;
    }
    expectResults({{";*", "*", picComplete},
                   {"#;[", "1[", picComplete},
                   {QString(254, '@'), "x", picIncomplete},
                   {QString(255, '@'), "x", picSyntax}});
}

TEST(PictureMask, TextsBeyondTheLimitAreErrors)
{
    EXPECT_EQ(resultOf("*@", QString(255, 'x')), picComplete);
    EXPECT_EQ(resultOf("*@", QString(256, 'x')), picError);
}

TEST(PictureValidator, CreationChecksTheMask)
{
    EXPECT_EQ(TqkPictureValidator("###", false).Status, 0);
    EXPECT_EQ(TqkPictureValidator("]#[", false).Status, 1);
    EXPECT_EQ(TqkPictureValidator("", false).Status, 1);
    EXPECT_EQ(TqkPictureValidator("#", true).Options, TqkPictureValidator::voFill);
    EXPECT_EQ(TqkPictureValidator("#", false).Options, 0);
}

TEST(PictureValidator, InputTestAcceptsAllButWrongCharacters)
{
    TqkPictureValidator phone("(###) ###", true);
    QString text = "(55";
    EXPECT_TRUE(phone.IsValidInput(text, false));
    text = "(555";
    EXPECT_TRUE(phone.IsValidInput(text, true));
    EXPECT_EQ(text, "(555");
    EXPECT_TRUE(phone.IsValidInput(text, false));
    EXPECT_EQ(text, "(555) ");
    text = "(5x";
    EXPECT_FALSE(phone.IsValidInput(text, false));

    TqkPictureValidator broken("[#", true);
    text = "anything";
    EXPECT_TRUE(broken.IsValidInput(text, false));
    EXPECT_EQ(text, "anything");
}

TEST(PictureValidator, LeavingTestWantsCompleteOrEmptyText)
{
    TqkPictureValidator validator("&##", true);
    EXPECT_TRUE(validator.IsValid(""));
    EXPECT_TRUE(validator.IsValid("a12"));
    EXPECT_FALSE(validator.IsValid("a1"));
    EXPECT_FALSE(validator.IsValid("112"));
    TqkPictureValidator broken("#;", false);
    EXPECT_FALSE(broken.IsValid(""));
    EXPECT_FALSE(broken.IsValid("1"));
}

TEST(PictureValidator, MaskAcceptsEmptyAndCompleteTexts)
{
    EXPECT_TRUE(qkMaskAccepts("###", ""));
    EXPECT_TRUE(qkMaskAccepts("###", "123"));
    EXPECT_FALSE(qkMaskAccepts("###", "12"));
    EXPECT_FALSE(qkMaskAccepts("###", "12x"));
    EXPECT_TRUE(qkMaskAccepts("[#", ""));
    EXPECT_FALSE(qkMaskAccepts("[#", "1"));
    EXPECT_TRUE(qkMaskAccepts("jaX,ja", "ja"));
}

// Random masks from the language's characters never make the matcher loop or
// leave the mask, and never answer an internal result.
TEST(PictureMask, RandomMasksAndTextsStayWithinTheLanguage)
{
    const QString maskChars = "#?&~!@;*[]{},0123aB- ";
    const QString textChars = "1aB- ,x";
    QRandomGenerator random(4711);
    for (int round = 0; round < 20000; ++round) {
        QString mask;
        for (int i = random.bounded(1, 12); i > 0; --i)
            mask += maskChars[random.bounded(maskChars.size())];
        QString text;
        for (int i = random.bounded(0, 8); i > 0; --i)
            text += textChars[random.bounded(textChars.size())];
        const Match match = picture(mask, text, random.bounded(2) == 1);
        ASSERT_LE(match.result, picSyntax) << mask.toStdString() << " / " << text.toStdString();
        if (match.result == picSyntax) {
            ASSERT_FALSE(qk::CheckMaskSyntax(mask)) << mask.toStdString();
        }
    }
}
