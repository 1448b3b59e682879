#include "ReportTestSupport.h"

#include "platform/report/LayoutBuilder.h"
#include "platform/report/PreviewFile.h"
#include "platform/report/api/ReportApi.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingEngine.h"

#include <QFile>
#include <QPushButton>

#include <stdexcept>

using namespace report;

namespace {

class Pictures : public EngineFixture
{
protected:
    int job = 0;
    QString layout;

    void SetUp() override
    {
        EngineFixture::SetUp();
        QImage file(20, 10, QImage::Format_RGB32);
        file.fill(Qt::blue);
        ASSERT_TRUE(file.save(dir.filePath("ersatz.png")));
        Layout label = labelLayout(SheetDef{100, 50, 1, 2, 0, 0, 0, 0});
        label.objects.append(pictureObject("Bild", {5, 5, 40, 40}, "ersatz.png", "Artikel_Bild"));
        label.objects.append(pictureObject("Logo", {50, 5, 40, 40}, "fehlt.png"));
        layout = writeLayout("bild.lbl", label);
        job = LlJobOpen(0);
        // A record that brings no picture of its own.
        LlDefineVariableExtHandle(job, "Artikel_Bild", QImage(), LL_DRAWING_HBITMAP, "");
    }

    void TearDown() override
    {
        LlJobClose(job);
        EngineFixture::TearDown();
    }
};

QList<DrawOp> images(const Page &page)
{
    QList<DrawOp> found;
    for (const DrawOp &op : page.ops) {
        if (op.kind == DrawOp::Kind::Image)
            found.append(op);
    }
    return found;
}

class ThrowingEngine : public RecordingEngine
{
public:
    int print(int) override { throw std::runtime_error("kaputt"); }
    int printFields(int) override { throw EInOutError("Datei fehlt"); }
    int printFieldsEnd(int) override { throw 42; }
};

}

TEST_F(Pictures, ThePictureVariableWinsAndTheFileStandsIn)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LABEL, layout, LL_PRINT_NORMAL, 0), 0);
    QImage own(30, 30, QImage::Format_RGB32);
    own.fill(Qt::red);
    LlDefineVariableExtHandle(job, "Artikel_Bild", own, LL_DRAWING_HBITMAP, "");
    ASSERT_EQ(LlPrint(job), 0);
    LlDefineVariableExtHandle(job, "Artikel_Bild", QImage(), LL_DRAWING_HBITMAP, "");
    ASSERT_EQ(LlPrint(job), 0);
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(recording->pages.size(), 1);
    const QList<DrawOp> drawn = images(recording->pages.at(0));
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_EQ(drawn.at(0).image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(drawn.at(1).image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_NEAR(drawn.at(1).rect.top(), 55, 1e-9);
}

TEST_F(Pictures, AbortEndsALabelRunQuietly)
{
    ASSERT_EQ(LlPrintWithBoxStart(job, LL_PROJECT_LABEL, layout, LL_PRINT_NORMAL, 1, nullptr, "Tintlen..."), 0);
    ASSERT_EQ(LlPrint(job), 0);
    engine.progressBox()->abortButton()->click();
    EXPECT_EQ(LlPrintSetBoxText(job, "Drucke", 10), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrint(job), LL_ERR_USER_ABORTED);
    EXPECT_EQ(LlPrintEnd(job, 0), 0);
    EXPECT_TRUE(recording->pages.isEmpty());
}

TEST_F(Pictures, ThePageRangeLimitsTheOutput)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_CARD, layout, LL_PRINT_NORMAL, 0), 0);
    LlPrintSetOption(job, LL_PRNOPT_LASTPAGE, 2);
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(LlPrint(job), 0);
    EXPECT_EQ(LlPrintGetCurrentPage(job), 4);
    LlPrintEnd(job, 0);
    EXPECT_EQ(recording->pages.size(), 2);
}

TEST(PreviewFiles, PagesSurviveTheFileExactly)
{
    QTemporaryDir dir;
    Page page;
    page.size = QSizeF(105, 148);
    DrawOp text;
    text.kind = DrawOp::Kind::Text;
    text.object = "Titel";
    text.rect = QRectF(10, 20, 30, 5.5);
    text.text = "Grüße\nzweite Zeile";
    text.font.bold = true;
    text.align = Qt::AlignRight;
    DrawOp code;
    code.kind = DrawOp::Kind::Barcode;
    code.barcode.valid = true;
    code.barcode.bars = {QRectF(0, 0, 1, 50)};
    code.barcode.captions = {{QPointF(5, 55), 8, "4012345678901"}};
    page.ops = {text, code};
    const QString path = dir.filePath("v.tlv");
    PreviewSink sink(path);
    ASSERT_EQ(sink.addPage(page), 0);
    ASSERT_EQ(sink.addPage(page), 0);
    ASSERT_EQ(sink.finish(), 0);
    PreviewDocument document;
    ASSERT_TRUE(document.open(path));
    ASSERT_EQ(document.pageCount(), 2);
    const Page read = document.page(1);
    EXPECT_EQ(read.size, page.size);
    ASSERT_EQ(read.ops.size(), 2);
    EXPECT_EQ(read.ops.at(0).text, text.text);
    EXPECT_EQ(read.ops.at(0).rect, text.rect);
    EXPECT_TRUE(read.ops.at(0).font.bold);
    EXPECT_EQ(read.ops.at(0).align, Qt::AlignRight);
    EXPECT_EQ(read.ops.at(1).barcode.captions.at(0).text, "4012345678901");
    EXPECT_TRUE(document.page(7).ops.isEmpty());
}

TEST(PreviewFiles, ForeignOrTruncatedFilesAreNotShown)
{
    QTemporaryDir dir;
    PreviewDocument document;
    EXPECT_FALSE(document.open(dir.filePath("fehlt.tlv")));
    QFile foreign(dir.filePath("fremd.tlv"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a preview at all");
    foreign.close();
    EXPECT_FALSE(document.open(foreign.fileName()));

    const QString path = dir.filePath("kurz.tlv");
    ASSERT_TRUE(writeOnePagePreview(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 1);
    file.close();
    EXPECT_FALSE(document.open(path));
}

TEST(ReportCalls, NoExceptionCrossesTheCalls)
{
    ThrowingEngine throwing;
    setEngine(&throwing);
    const int job = LlJobOpen(0);
    EXPECT_EQ(LlPrint(job), LL_ERR_GENERAL);
    EXPECT_EQ(LlPrintFields(job), LL_ERR_GENERAL);
    EXPECT_EQ(LlPrintFieldsEnd(job), LL_ERR_GENERAL);
    EXPECT_EQ(LlJobClose(job), 0);
    setEngine(nullptr);
}
