#include "DocumentDump.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfTokenizer.h"
#include "platform/rtf/RtfWriter.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct HostileCase
{
    const char *what;
    QByteArray input;
    const char *text;    // plain text that must have been loaded
    const char *problem; // part of the reported problem
};

TEST(RtfHostileInput, BrokenDocumentsLoadWhatTheyCanAndSaySo)
{
    const QByteArray deep = "{\\rtf1 vorne" + QByteArray(5000, '{') + "innen" + QByteArray(5000, '}') + " hinten}";
    QByteArray manyParagraphs = "{\\rtf1 ";
    for (int i = 0; i <= rtf::maxParagraphs; ++i)
        manyParagraphs += "\\par ";
    manyParagraphs += "zu viel}";
    const QList<HostileCase> cases = {
        {"too many paragraphs", manyParagraphs, "", "Absätze"},
        {"missing braces", "{\\rtf1 Hallo {\\b Welt", "Hallo Welt", "nicht geschlossen"},
        {"bin past the end", "{\\rtf1 vor{\\*\\objdata\\bin99999999 abc}}", "vor", "Binärblock"},
        {"negative bin", "{\\rtf1 a{\\pict\\pngblip\\bin-5 }b}", "ab", "Bild"},
        {"deep nesting", deep, "vorne hinten", "verschachtelt"},
        {"truncated escape", "{\\rtf1 Text\\", "Text", "Steuerwort"},
        {"huge parameter", "{\\rtf1\\fs99999999999999 x\\u99999999999?\\uc99999 y}", "x\uFFFFy", ""},
        {"broken picture", "{\\rtf1 a{\\pict\\pngblip 0102}b}", "ab", "Bild"},
        {"unclosed object", "{\\rtf1 a{\\object\\objemb{\\*\\objdata 01", "a", "Objekt"},
    };
    for (const HostileCase &test : cases) {
        QTextDocument document;
        const rtf::ReadResult result = rtf::readRtf(test.input, document);
        EXPECT_TRUE(result.isRichText) << test.what;
        EXPECT_EQ(document.toPlainText().remove(QChar::ParagraphSeparator).remove(QLatin1Char('\n')).toStdString(),
                  std::string(test.text))
            << test.what;
        if (*test.problem)
            EXPECT_TRUE(result.problems.join('|').contains(QString::fromUtf8(test.problem)))
                << test.what << ": " << result.problems.join('|').toStdString();
        else
            EXPECT_TRUE(result.problems.isEmpty()) << test.what;
    }
}

TEST(RtfHostileInput, PlainTextIsNotTakenForRichText)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("bleibt"));
    const rtf::ReadResult result = rtf::readRtf("Nur Text {\\rtf1 x}", document);
    EXPECT_FALSE(result.isRichText);
    EXPECT_TRUE(rtf::looksLikeRtf(" \r\n{\\rtf1}"));
}

TEST(RtfStreamFilters, CutAfterTheFirstParagraphIsTokenAware)
{
    const struct
    {
        QByteArray input;
        QByteArray cut;
    } cases[] = {
        {"{\\rtf1{\\fonttbl{\\f0 A;}}\\pard eins\\par{\\b zwei}}", "{\\rtf1{\\fonttbl{\\f0 A;}}\\pard eins\\par}"},
        {"{\\rtf1\\pard a \\{ b\\bin2 {{\\par{x}}", "{\\rtf1\\pard a \\{ b\\bin2 {{\\par}"},
        {"{\\rtf1{\\pard x{y}}}", "{\\rtf1{\\pard x}}"},
        {"{\\rtf1 ohne Absatz{\\b fett}}", "{\\rtf1 ohne Absatz{\\b fett}}"},
    };
    for (const auto &test : cases)
        EXPECT_EQ(rtf::cutAfterFirstParagraph(test.input).toStdString(), test.cut.toStdString());
}

TEST(RtfStreamFilters, LineEndsBecomeCrLfExceptInBinaryData)
{
    EXPECT_EQ(rtf::normaliseLineEnds("a\nb\rc\r\nd\n\r"), QByteArray("a\r\nb\r\nc\r\nd\r\n\r\n"));
    EXPECT_EQ(rtf::normaliseLineEnds("{\\bin3 \n\r\n}\n"), QByteArray("{\\bin3 \n\r\n}\r\n"));
}

TEST(RtfWriter, CharactersOutsideTheCodePageBecomeUnicodeWords)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setPlainText(QStringLiteral("€ä中\\{}x\tz"));
    const QByteArray written = rtf::writeRtf(document);
    EXPECT_TRUE(written.contains("\\'80\\'e4\\u20013?\\\\\\{\\}x\\tab z\\par")) << written.toStdString();
    QTextDocument again;
    rtf::readRtf(written, again);
    EXPECT_EQ(again.toPlainText(), document.toPlainText());
}

} // namespace
