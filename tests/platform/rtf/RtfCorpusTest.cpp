#include "DocumentDump.h"

#include "platform/rtf/RtfDocument.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

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

} // namespace
