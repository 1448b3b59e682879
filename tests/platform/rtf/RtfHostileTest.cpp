#include "DocumentDump.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfTokenizer.h"
#include "platform/rtf/RtfWriter.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

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
        {"{\\rtf1\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}Punkt\\par{\\b x}}",
         "{\\rtf1\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}Punkt\\par}"},
        {"{\\rtf1\\pard{\\*\\pnseclvl1 x}{\\pntext", "{\\rtf1\\pard}"},
        {"{\\rtf1\\pard{\\pntext\\'b7", "{\\rtf1\\pard{\\pntext\\'b7"},
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

namespace {

QString describeTokens(const QByteArray &input)
{
    QStringList parts;
    rtf::Tokenizer tokens(input);
    for (rtf::Token token = tokens.next(); token.kind != rtf::TokenKind::End; token = tokens.next()) {
        switch (token.kind) {
        case rtf::TokenKind::GroupOpen:
            parts << "{";
            break;
        case rtf::TokenKind::GroupClose:
            parts << "}";
            break;
        case rtf::TokenKind::ControlWord:
            parts << "w:" + token.word.toByteArray()
                         + (token.hasParameter ? "=" + QByteArray::number(token.parameter) : "");
            break;
        case rtf::TokenKind::ControlSymbol:
            parts << QStringLiteral("s:%1%2")
                         .arg(QLatin1Char(token.symbol))
                         .arg(token.hasParameter ? QString::number(token.parameter) : QString());
            break;
        case rtf::TokenKind::Text:
            parts << "t:" + token.word.toByteArray();
            break;
        case rtf::TokenKind::Binary:
            parts << QStringLiteral("b:%1").arg(token.word.size());
            break;
        default:
            parts << "kaputt";
            break;
        }
        if (token.kind == rtf::TokenKind::Broken)
            break;
    }
    return parts.join(QLatin1Char(' '));
}

TEST(RtfTokenizer, SplitsTrickyInputIntoTheRightTokens)
{
    const struct
    {
        QByteArray input;
        const char *tokens;
    } cases[] = {
        {"\\b-5x", "w:b=-5 t:x"},
        {"\\b -5", "w:b t:-5"},
        {"\\'e4\\'4\\'zz", "s:'228 s:' s:' t:zz"},
        {"\\bin \\par", "w:bin w:par"},
        {"\\bin3 {}\\x", "w:bin=3 b:3 t:x"},
        {"\\bin0 a", "w:bin=0 b:0 t:a"},
        {"\\fs99999999999999 a", "w:fs=2147483647 t:a"},
        {"a\r\nb\\\r\nc", "t:a t:b s:\r t:c"},
        {"{\\*\\x}", "{ s:* w:x }"},
        {"\\bin5 ab", "w:bin=5 kaputt"},
    };
    for (const auto &test : cases)
        EXPECT_EQ(describeTokens(test.input).toStdString(), test.tokens) << test.input.toStdString();
}

TEST(RtfReader, InsertingAtTheCursorKeepsTheTextAround)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("vorher nachher"));
    QTextCursor cursor(&document);
    cursor.setPosition(7);
    rtf::insertRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\b fett\\b0  }", cursor);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("vorher fett nachher"));
    QTextCursor bold(&document);
    bold.setPosition(9);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
}

TEST(RtfWriter, PicturesWithoutTheirBytesAreWrittenAsPng)
{
    QTextDocument document;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("bild")), image);
    QTextCursor cursor(&document);
    QTextImageFormat format;
    format.setName(QStringLiteral("bild"));
    cursor.insertImage(format);
    const QByteArray written = rtf::writeRtf(document);
    EXPECT_TRUE(written.contains("{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30\r\n89504e47"))
        << written.toStdString();
    QTextDocument again;
    EXPECT_TRUE(rtf::readRtf(written, again).problems.isEmpty());
    EXPECT_EQ(dumpDocument(again).count(QStringLiteral("bild 2.25x1.5")), 1) << dumpDocument(again).toStdString();
}

} // namespace

TEST(RtfReader, LoadingLeavesNothingToUndoAndUndoAsItWas)
{
    for (const bool undo : {true, false}) {
        QTextDocument document;
        document.setUndoRedoEnabled(undo);
        QTextCursor(&document).insertText(QStringLiteral("vorher"));
        rtf::readRtf("{\\rtf1\\ansi Gr\\'fc\\'dfe {\\b fett}\\par zweite Zeile}", document);
        EXPECT_EQ(document.toPlainText(), QStringLiteral("Grüße fett\nzweite Zeile"));
        EXPECT_FALSE(document.isUndoAvailable());
        EXPECT_EQ(document.isUndoRedoEnabled(), undo);
        QTextCursor(&document).insertText(QStringLiteral("neu "));
        EXPECT_EQ(document.isUndoAvailable(), undo) << "a user's typing after loading is undone as before";
    }
}
