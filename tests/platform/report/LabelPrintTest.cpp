#include "ReportTestSupport.h"

#include "platform/report/Barcode.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/api/ReportApi.h"

using namespace report;

namespace {

class LabelPrint : public EngineFixture
{
protected:
    int job = 0;

    void SetUp() override
    {
        EngineFixture::SetUp();
        job = LlJobOpen(0);
    }

    void TearDown() override
    {
        LlJobClose(job);
        EngineFixture::TearDown();
    }

    static Layout sheet()
    {
        Layout layout;
        layout.type = Layout::Type::Label;
        layout.pageSize = QSizeF(210, 297);
        layout.sheet.labelWidth = 100;
        layout.sheet.labelHeight = 50;
        layout.sheet.columns = 2;
        layout.sheet.rows = 3;
        layout.sheet.marginLeft = 5;
        layout.sheet.marginTop = 10;
        layout.sheet.gapX = 2;
        layout.sheet.gapY = 1;
        layout.objects.append(textObject("Adresse", {4, 4, 90, 20}, {"Name", "Ort"}));
        layout.objects.append(barcodeObject("EAN", {4, 28, 50, 18}, "Barcode_Artikel_EAN13"));
        return layout;
    }

    void printLabels(int count)
    {
        for (int i = 1; i <= count; ++i) {
            LlDefineVariable(job, "Name", QStringLiteral("Kunde %1").arg(i));
            LlDefineVariable(job, "Ort", QString());
            LlDefineVariableExt(job, "Barcode_Artikel_EAN13", QStringLiteral("40|12345|%1").arg(10000 + i),
                                LL_BARCODE_EAN13, "");
            ASSERT_EQ(LlPrint(job), 0);
        }
    }
};

}

TEST_F(LabelPrint, LabelsFillTheSheetRowByRow)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LABEL, writeLayout("adressen.lbl", sheet()), LL_PRINT_NORMAL, 0), 0);
    printLabels(7);
    EXPECT_EQ(LlPrintGetCurrentPage(job), 2);
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(recording->pages.size(), 2);
    EXPECT_EQ(recording->pages.at(0).texts().size(), 6);
    EXPECT_EQ(recording->pages.at(1).texts(), QStringList{"Kunde 7"});
    const Page &first = recording->pages.at(0);
    const QList<QPointF> expected = {{9, 14}, {111, 14}, {9, 65}, {111, 65}, {9, 116}, {111, 116}};
    for (int i = 0; i < 6; ++i) {
        const DrawOp *label = first.findText(QStringLiteral("Kunde %1").arg(i + 1));
        ASSERT_TRUE(label) << i;
        EXPECT_NEAR(label->rect.left(), expected.at(i).x(), 1e-9) << i;
        EXPECT_NEAR(label->rect.top(), expected.at(i).y(), 1e-9) << i;
    }
}

TEST_F(LabelPrint, CardsPutOneLabelOnEachPage)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_CARD, writeLayout("karte.lbl", sheet()), LL_PRINT_NORMAL, 0), 0);
    printLabels(3);
    EXPECT_EQ(LlPrintFields(job), LL_ERR_NO_TABLE);
    LlPrintEnd(job, 0);
    ASSERT_EQ(recording->pages.size(), 3);
    EXPECT_EQ(recording->pages.at(2).texts(), QStringList{"Kunde 3"});
}

// Label printers use tapes a few millimetres high; a tape label saved in
// any of these heights is read again and printed.
TEST_F(LabelPrint, TapeLabelsOfAFewMillimetresPrint)
{
    for (const double height : {6.0, 9.0, 12.0}) {
        Layout tape = sheet();
        tape.pageSize = QSizeF(62, height);
        tape.sheet = SheetDef{62, height, 1, 1, 0, 0, 0, 0};
        tape.objects = {textObject("Inhalt", {1, 0.5, 60, height - 1}, {"Name"}, FontSpec{"DejaVu Sans", 9})};
        recording->pages.clear();
        ASSERT_EQ(LlPrintStart(job, LL_PROJECT_CARD, writeLayout("band.lbl", tape), LL_PRINT_NORMAL, 0), 0) << height;
        LlDefineVariable(job, "Name", "Schraube M6x40");
        ASSERT_EQ(LlPrint(job), 0) << height;
        ASSERT_EQ(LlPrintEnd(job, 0), 0) << height;
        ASSERT_EQ(recording->pages.size(), 1) << height;
        const DrawOp *text = recording->pages.at(0).findText("Schraube M6x40");
        ASSERT_TRUE(text) << height;
        EXPECT_LE(text->rect.bottom(), height) << height;
    }
}

TEST_F(LabelPrint, BarcodesAreEncodedAndBadDataIsMarked)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LABEL, writeLayout("artikel.lbl", sheet()), LL_PRINT_NORMAL, 0), 0);
    LlDefineVariable(job, "Name", "Gut");
    LlDefineVariable(job, "Ort", QString());
    LlDefineVariableExt(job, "Barcode_Artikel_EAN13", "40|12345|67890", LL_BARCODE_EAN13, "");
    ASSERT_EQ(LlPrint(job), 0);
    LlDefineVariable(job, "Name", "Schlecht");
    LlDefineVariableExt(job, "Barcode_Artikel_EAN13", "40|ABCDE|67890", LL_BARCODE_EAN13, "");
    ASSERT_EQ(LlPrint(job), 0);
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    QList<const DrawOp *> codes;
    for (const DrawOp &op : recording->pages.at(0).ops) {
        if (op.kind == DrawOp::Kind::Barcode)
            codes.append(&op);
    }
    ASSERT_EQ(codes.size(), 2);
    EXPECT_EQ(codes.at(0)->symbology, LL_BARCODE_EAN13);
    EXPECT_TRUE(codes.at(0)->barcode.valid);
    EXPECT_GT(codes.at(0)->barcode.bars.size(), 20);
    EXPECT_FALSE(codes.at(1)->barcode.valid);
    EXPECT_FALSE(codes.at(1)->barcode.error.isEmpty());
}

TEST(Barcode, EverySymbologyOfTheCallsEncodesTypicalData)
{
    const QList<QPair<int, QString>> samples = {{LL_BARCODE_EAN13, "00|00000|12345"},
                                                {LL_BARCODE_EAN8, "00|12345"},
                                                {LL_BARCODE_UPCA, "01234567890"},
                                                {LL_BARCODE_UPCE, "0123456"},
                                                {LL_BARCODE_3OF9, "ABC-123"},
                                                {LL_BARCODE_25INDUSTRIAL, "123456"},
                                                {LL_BARCODE_25DATALOGIC, "123456"},
                                                {LL_BARCODE_25MATRIX, "123456"},
                                                {LL_BARCODE_POSTNET, "12345"},
                                                {LL_BARCODE_FIM, "A"},
                                                {LL_BARCODE_CODABAR, "123456"},
                                                {LL_BARCODE_EAN128, "          12345"},
                                                {LL_BARCODE_EAN128, "[01]04012345678901"},
                                                {LL_BARCODE_CODE128, "          12345"}};
    for (const auto &[type, data] : samples) {
        const BarcodeShape shape = encodeBarcode(type, data, true);
        EXPECT_TRUE(shape.valid) << std::hex << type << " " << shape.error.toStdString();
        EXPECT_FALSE(shape.bars.isEmpty()) << std::hex << type;
    }
}

TEST(Barcode, CheckDigitsAreComputedAndWrongOnesRefused)
{
    const BarcodeShape computed = encodeBarcode(LL_BARCODE_EAN13, "40|12345|67890", true);
    ASSERT_TRUE(computed.valid);
    QString caption;
    for (const BarcodeShape::Caption &c : computed.captions)
        caption += c.text;
    EXPECT_EQ(caption.remove(' '), "4012345678901");
    EXPECT_TRUE(encodeBarcode(LL_BARCODE_EAN13, "4012345678901", true).valid);
    EXPECT_FALSE(encodeBarcode(LL_BARCODE_EAN13, "4012345678902", true).valid);
    EXPECT_FALSE(encodeBarcode(LL_BARCODE_EAN8, "ABC", true).valid);
    EXPECT_FALSE(encodeBarcode(LL_BARCODE_CODE128, "", true).valid);
    EXPECT_FALSE(encodeBarcode(0x10000000, "123", true).valid);
}
