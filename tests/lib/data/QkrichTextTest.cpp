#include "lib/data/QkrichText.h"

#include <gtest/gtest.h>

TEST(RichTextToPlain, PlainTextPassesUnchanged)
{
    EXPECT_EQ(qkRichTextToPlainText("Meier {GmbH}\\"), "Meier {GmbH}\\");
    EXPECT_FALSE(qkLooksLikeRichText("rtf"));
    EXPECT_TRUE(qkLooksLikeRichText("{\\rtf1 x}"));
}

TEST(RichTextToPlain, TablesAndFormattingAreDropped)
{
    const QString rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                        "\\pard\\f0\\fs20 Sehr geehrter {\\b Herr} Meier,\\par zweite Zeile\\par}";
    EXPECT_EQ(qkRichTextToPlainText(rtf), "Sehr geehrter Herr Meier,\r\nzweite Zeile");
}

TEST(RichTextToPlain, EscapesAreDecoded)
{
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 Gr\\'fc\\'dfe \\{a\\} \\\\ \\'80}"), QString::fromUtf8("Grüße {a} \\ €"));
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1\\uc1 \\u8364?uro}"), QString::fromUtf8("€uro"));
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1\\uc0 \\u-3913 x}").size(), 2);
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 a\\tab b\\line c}"), "a\tb\r\nc");
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 \\ldblquote x\\rdblquote}"), QString::fromUtf8("“x”"));
}

TEST(RichTextToPlain, IgnorableDestinationsAndObjectsAreSkipped)
{
    const QString rtf = "{\\rtf1{\\*\\generator Writer;}Text{\\object{\\*\\objdata 0102}{\\result Bild}}"
                        "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt Link}} Ende}";
    // An embedded object has no text; a field shows its result.
    EXPECT_EQ(qkRichTextToPlainText(rtf), "TextLink Ende");
}

TEST(RichTextToPlain, BrokenRichTextEndsWithoutHarm)
{
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 abc"), "abc");
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 abc}}}"), "abc");
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 x\\'4"), "x");
    EXPECT_EQ(qkRichTextToPlainText("{\\rtf1 x\\"), "x");
}
