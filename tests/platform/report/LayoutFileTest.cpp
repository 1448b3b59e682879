#include "platform/report/LayoutFile.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/api/ReportCodes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace report;

namespace {

Layout sampleList()
{
    Layout layout;
    layout.objects.append(
        textObject("Titel", {20, 20, 100, 10}, {"\"Rechnung \" + Auftragnr", "Kunde_Name"}, font(14, true)));
    layout.objects.append(lineObject("Linie", {20, 40}, {190, 40}, 0.5, Appearance::FirstPage));
    layout.objects.append(rectangleObject("Kasten", {20, 45, 50, 20}, 0.2, QColor("#eeeeee")));
    layout.objects.append(pictureObject("Logo", {150, 10, 40, 20}, "logo.png"));
    layout.objects.append(
        barcodeObject("Code", {20, 250, 50, 15}, "Barcode_Auftragnr_EAN13", 0, Appearance::AfterTable));
    TableDef table;
    table.rect = QRectF(20, 100, 170, 150);
    table.followingTop = 30;
    table.rows.append(tableRow(RowPart::Header, 6, {column(20, "\"Pos.\"", Qt::AlignLeft, font(9, true))}));
    table.rows.append(
        tableRow(RowPart::Data, 5,
                 {column(20, "Posnr"), column(150, "Bezeichnung + \"; mit Semikolon\"", Qt::AlignLeft, {}, true)},
                 "TextPos = False"));
    table.rows.back().lineBelow = 0.2;
    table.rows.append(
        tableRow(RowPart::PageFooter, 5, {column(170, "FStr(Übertrag, \"--,---,--&.##\")", Qt::AlignRight)}));
    layout.table = table;
    return layout;
}

}

TEST(LayoutFile, TextRoundTripKeepsEverything)
{
    const Layout original = sampleList();
    const QString text = layoutToText(original);
    Layout read;
    ASSERT_EQ(layoutFromText(text, read), 0);
    EXPECT_EQ(layoutToText(read), text);
    ASSERT_TRUE(read.table);
    EXPECT_EQ(read.table->rows.at(1).columns.at(1).expression.source(), "Bezeichnung + \"; mit Semikolon\"");
    EXPECT_TRUE(read.table->rows.at(1).columns.at(1).wrap);
    EXPECT_EQ(read.objects.at(1).appearance, Appearance::FirstPage);
    EXPECT_TRUE(read.objects.at(0).font.bold);
    EXPECT_EQ(read.objects.at(2).fill, QColor("#eeeeee"));
}

TEST(LayoutFile, LabelSheetRoundTrip)
{
    Layout label;
    label.type = Layout::Type::Label;
    label.sheet.columns = 2;
    label.sheet.rows = 7;
    label.sheet.gapX = 2.5;
    label.objects.append(textObject("Adresse", {5, 5, 60, 25}, {"Name"}));
    Layout read;
    ASSERT_EQ(layoutFromText(layoutToText(label), read), 0);
    EXPECT_EQ(read.type, Layout::Type::Label);
    EXPECT_EQ(read.sheet.labelsPerSheet(), 14);
    EXPECT_DOUBLE_EQ(read.sheet.gapX, 2.5);
}

TEST(LayoutFile, ForeignTruncatedAndNewerFilesAreRefused)
{
    const QString good = layoutToText(sampleList());
    Layout read;
    QString message;
    EXPECT_EQ(layoutFromText("", read, &message), LL_ERR_LAYOUT);
    EXPECT_EQ(layoutFromText(QString::fromLatin1("\x01\x02"
                                                 "CMBTLL binary layout"),
                             read, &message),
              LL_ERR_LAYOUT);
    EXPECT_EQ(layoutFromText(good.left(good.size() / 2), read, &message), LL_ERR_LAYOUT);
    EXPECT_TRUE(message.contains("unvollständig")) << message.toStdString();
    QString newer = good;
    newer.replace("TintlenLayout 1", "TintlenLayout 2");
    EXPECT_EQ(layoutFromText(newer, read, &message), LL_ERR_LAYOUT);
    EXPECT_TRUE(message.contains("neueren")) << message.toStdString();
    QString badNumber = good;
    badNumber.replace("Size=210;297", "Size=210;abc");
    EXPECT_EQ(layoutFromText(badNumber, read, &message), LL_ERR_LAYOUT);
    EXPECT_TRUE(message.contains("Zeile")) << message.toStdString();
    QString unknownKey = good;
    unknownKey.replace("[Page]", "[Page]\nFarbe=rot");
    EXPECT_EQ(layoutFromText(unknownKey, read, &message), LL_ERR_LAYOUT);
    QString crlf = good;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(layoutFromText(crlf, read, &message), 0);
}

TEST(LayoutFile, SyntaxErrorsAreKeptForTheDesignerButReported)
{
    Layout layout = sampleList();
    layout.table->rows[1].columns[0] = column(20, "FStr(Menge");
    Layout read;
    ASSERT_EQ(layoutFromText(layoutToText(layout), read), 0);
    EXPECT_FALSE(read.firstExpressionError().isEmpty());
    EXPECT_TRUE(sampleList().firstExpressionError().isEmpty());
}

TEST(LayoutFile, FilesAndCompanionPrinter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("rechnung.lst");
    Layout read;
    EXPECT_EQ(loadLayout(path, read), LL_ERR_LAYOUT);
    ASSERT_TRUE(saveLayout(path, sampleList()));
    EXPECT_EQ(loadLayout(path, read), 0);
    QFile latin(dir.filePath("alt.lst"));
    ASSERT_TRUE(latin.open(QIODevice::WriteOnly));
    latin.write("TintlenLayout 1\nType=List\n[Text]\nLine=\"Gr\xfc\xdf"
                "e\"\n[End]\n");
    latin.close();
    EXPECT_EQ(loadLayout(latin.fileName(), read), LL_ERR_LAYOUT);

    EXPECT_EQ(companionPath(path), dir.filePath("rechnung.lsp"));
    EXPECT_EQ(companionPath(dir.filePath("adressen.lbl")), dir.filePath("adressen.lbp"));
    EXPECT_EQ(layoutPrinter(path), "");
    ASSERT_TRUE(setLayoutPrinter(path, "Buchhaltung"));
    EXPECT_EQ(layoutPrinter(path), "Buchhaltung");
    forgetLayoutPrinter(path);
    EXPECT_EQ(layoutPrinter(path), "");
    EXPECT_FALSE(saveLayout(dir.filePath("fehlt/rechnung.lst"), sampleList()));
}

TEST(LayoutFile, NamesAsTheProgramWritesThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Formulare"));
    const QString list = dir.filePath("Formulare/Rechnung.lst");
    ASSERT_TRUE(saveLayout(list, sampleList()));
    const QString windowsStyle = dir.path() + "/formulare\\rechnung";
    EXPECT_EQ(resolveLayoutPath(windowsStyle, LL_PROJECT_LIST), list);
    EXPECT_EQ(resolveLayoutPath(windowsStyle + ".LST", LL_PROJECT_LIST), list);
    EXPECT_EQ(resolveLayoutPath(windowsStyle + ".lst.lst", LL_PROJECT_LIST), list);
    EXPECT_EQ(resolveLayoutPath(windowsStyle, LL_PROJECT_CARD), list);
    EXPECT_EQ(resolveLayoutPath(windowsStyle, LL_PROJECT_LABEL), dir.filePath("Formulare/rechnung.lbl"));
}

// A layout is saved only when the file opens again as it was, down to the
// largest number there is; else the file before stays, without a temporary.
TEST(LayoutFile, SavingWritesWhatOpensAgainOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("rechnung.lst");
    Layout largest = sampleList();
    largest.marginLeft = std::numeric_limits<double>::max();
    Layout twoLines = sampleList();
    twoLines.objects[4].expression = Expression("Artikelnr\nMenge");
    for (const auto &[layout, saved] : {std::pair{largest, true}, {twoLines, false}}) {
        ASSERT_TRUE(saveLayout(path, sampleList()));
        QString message;
        EXPECT_EQ(saveLayout(path, layout, &message), saved);
        EXPECT_EQ(message.contains("nicht gespeichert"), !saved) << message.toStdString();
        Layout read;
        ASSERT_EQ(loadLayout(path, read), 0);
        EXPECT_EQ(layoutToText(read), layoutToText(saved ? layout : sampleList()));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"rechnung.lst"});
    }
}
