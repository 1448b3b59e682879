#include "DocumentDump.h"

#include "platform/rtf/RtfDocument.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

QByteArray readData(const QString &name)
{
    QFile file(QStringLiteral(RTF_TEST_DATA "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

class RtfCorpus : public testing::TestWithParam<const char *>
{};

// Each hand-written file has the document it must give (.txt, checked by
// eye once) and the bytes the writer must produce for it (.out.rtf).
TEST_P(RtfCorpus, ReadsWritesAndReadsBackTheSameDocument)
{
    const QString name = QString::fromLatin1(GetParam());
    QTextDocument document;
    const rtf::ReadResult result = rtf::readRtf(readData(name + ".rtf"), document);
    ASSERT_TRUE(result.isRichText);
    EXPECT_TRUE(result.problems.isEmpty()) << result.problems.join('\n').toStdString();
    const QString expected = QString::fromUtf8(readData(name + ".txt"));
    EXPECT_EQ(dumpDocument(document).toStdString(), expected.toStdString());

    const QByteArray written = rtf::writeRtf(document);
    EXPECT_EQ(written.toStdString(), readData(name + ".out.rtf").toStdString());

    QTextDocument again;
    EXPECT_TRUE(rtf::readRtf(written, again).problems.isEmpty());
    EXPECT_EQ(dumpDocument(again).toStdString(), expected.toStdString());
    EXPECT_EQ(rtf::writeRtf(again), written);
}

INSTANTIATE_TEST_SUITE_P(HandWritten, RtfCorpus,
                         testing::Values("characters", "paragraphs", "tabs", "bullets", "escapes", "nested", "pictures",
                                         "objects"));

TEST(RtfOpaqueGroups, ObjectsAndMetafilesAreWrittenBackByteForByte)
{
    for (const char *name : {"objects.rtf", "pictures.rtf"}) {
        const QByteArray source = readData(QString::fromLatin1(name));
        QTextDocument document;
        rtf::readRtf(source, document);
        const QByteArray written = rtf::writeRtf(document);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QByteArray group = rtf::opaqueGroup(it.fragment().charFormat());
                if (group.isEmpty())
                    continue;
                EXPECT_TRUE(source.contains(group)) << name;
                EXPECT_TRUE(written.contains(group)) << name;
            }
        }
    }
    QTextDocument document;
    rtf::readRtf(readData("objects.rtf"), document);
    EXPECT_TRUE(rtf::writeRtf(document).contains("{\\*\\objdata\\bin8 }{\\\r\n\n\rX}}"));
}

// An object is laid out at its stored size whether the document was shown
// (laid out) before it was read or only afterwards.
TEST(RtfOpaqueGroups, AreLaidOutAtTheirStoredSize)
{
    for (const bool laidOutBefore : {false, true}) {
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setTextWidth(6 * rtf::documentUnitsPerInch);
        if (laidOutBefore)
            document.documentLayout()->documentSize();
        ASSERT_TRUE(rtf::readRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\pard "
                                 "{\\object\\objemb\\objw1440\\objh2880{\\*\\objdata 0102}}\\par\r\n}",
                                 document)
                        .problems.isEmpty());
        const QSizeF size = document.documentLayout()->documentSize();
        const QTextLine line = document.firstBlock().layout()->lineAt(0);
        EXPECT_NEAR(line.naturalTextWidth(), rtf::documentUnitsPerInch, 1) << laidOutBefore;
        EXPECT_GE(size.height(), 2 * rtf::documentUnitsPerInch) << laidOutBefore;
    }
}

// What is stored in twips is laid out at that place, one twip being 1/1440
// inch, and written back as it was read.
TEST(RtfLengths, StandWhereTheyAreStoredAndAreWrittenBackUnchanged)
{
    struct Case
    {
        QByteArray paragraph; // as the writer puts it
        QByteArray text;
        int firstLine;        // twips from the margin
        QList<int> afterTabs; // twips from the margin
        int rightEdge = 8640; // twips from the margin, of a 6 inch line
        int gapAbove = 0;     // twips below the paragraph before
    } cases[] = {
        {"\\pard\\li851", "A", 851, {}},
        {"\\pard\\fi567\\tx2268", "A\\tab B", 567, {2268}},
        {"\\pard\\li851\\tx1702\\tx3402", "A\\tab B\\tab C", 851, {1702, 3402}},
        {"\\pard\\fi-851\\li1702\\tx1702", "A\\tab B", 851, {1702}},
        {"\\pard\\li720\\ri1440\\sb240", "A", 720, {}, 8640 - 1440, 240},
    };
    for (const Case &c : cases) {
        const std::string name = c.paragraph.toStdString();
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setTextWidth(6 * rtf::documentUnitsPerInch);
        ASSERT_TRUE(rtf::readRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\pard Z\\par\r\n" + c.paragraph
                                     + ' ' + c.text + "\\par\r\n}",
                                 document)
                        .problems.isEmpty());
        document.documentLayout()->documentSize();
        const QTextBlock before = document.firstBlock();
        const QTextBlock block = before.next();
        const QTextLine line = block.layout()->lineAt(0);
        const auto top = [&document](const QTextBlock &each, const QTextLine &itsLine) {
            return document.documentLayout()->blockBoundingRect(each).top() + itsLine.y();
        };
        const QTextLine lineBefore = before.layout()->lineAt(0);
        const auto twips = [](double length) { return length * rtf::twipsPerDocumentUnit; };
        EXPECT_NEAR(twips(line.x()), c.firstLine, 1) << name;
        EXPECT_NEAR(twips(line.x() + line.width()), c.rightEdge, 1) << name;
        EXPECT_NEAR(twips(top(block, line) - top(before, lineBefore) - lineBefore.height()), c.gapAbove, 1) << name;
        QList<int> afterTabs;
        for (qsizetype at = block.text().indexOf('\t'); at >= 0; at = block.text().indexOf('\t', at + 1))
            afterTabs << qRound(twips(line.cursorToX(int(at) + 1)));
        ASSERT_EQ(afterTabs.size(), c.afterTabs.size()) << name;
        for (qsizetype i = 0; i < afterTabs.size(); ++i)
            EXPECT_NEAR(afterTabs[i], c.afterTabs[i], 1) << name;
        const QByteArray written = rtf::writeRtf(document);
        EXPECT_TRUE(written.contains(c.paragraph + ' ' + c.text + "\\par")) << written.toStdString();
    }
}

} // namespace
