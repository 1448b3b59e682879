#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkRichParagraphDialog.h"
#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkRulerPanel.h"
#include "lib/rich/qkTrackIcon.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class Ruler : public testing::Test
{
protected:
    void SetUp() override
    {
        edit.setPlainText(QStringLiteral("Absatz"));
        ruler.resize(600, 26);
        ruler.SetRichEdit(&edit);
        ruler.show();
    }
    void setIndents(double left, double first, double right)
    {
        QTextCursor cursor = edit.textCursor();
        QTextBlockFormat format = cursor.blockFormat();
        format.setLeftMargin(left);
        format.setTextIndent(first);
        format.setRightMargin(right);
        cursor.setBlockFormat(format);
        ruler.PlaceMarkers();
    }
    void drag(TqkTrackIcon &marker, int distance)
    {
        const QPoint start(marker.width() / 2, marker.height() / 2);
        QTest::mousePress(&marker, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(distance, 0)),
                         marker.mapToGlobal(QPointF(start + QPoint(distance, 0))), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(&marker, &move);
        QTest::mouseRelease(&marker, Qt::LeftButton, {}, start + QPoint(distance, 0));
    }
    QTextBlockFormat format() const { return edit.textCursor().blockFormat(); }
    // A paragraph with a tab stop at one inch and a bullet paragraph, both
    // selected, the caret in the bullet paragraph.
    void tabAndBulletSelected()
    {
        edit.setPlainText(QStringLiteral("Eins\nZwei"));
        QTextCursor cursor(edit.document());
        QTextBlockFormat first = cursor.blockFormat();
        rtf::setTabStops(first, {QTextOption::Tab(96, QTextOption::LeftTab)});
        cursor.setBlockFormat(first);
        cursor.movePosition(QTextCursor::End);
        edit.setTextCursor(cursor);
        edit.SetBullet(true);
        cursor.setPosition(0);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        ruler.PlaceMarkers();
    }
    struct Indents
    {
        double left, firstLine, right;
    };
    // Both paragraphs have the indents given and still their own tab stop
    // and bullet.
    void expectIndentsAndTheRestKept(const Indents &tabbed, const Indents &bulleted, const std::string &trace)
    {
        SCOPED_TRACE(trace);
        const QTextBlock first = edit.document()->firstBlock();
        for (const auto &[block, indents] : {std::pair{first, tabbed}, std::pair{first.next(), bulleted}}) {
            EXPECT_DOUBLE_EQ(block.blockFormat().leftMargin(), indents.left);
            EXPECT_DOUBLE_EQ(rtf::firstLineIndent(block.blockFormat()), indents.firstLine);
            EXPECT_NEAR(block.blockFormat().rightMargin(), indents.right, 0.5);
        }
        ASSERT_EQ(rtf::tabStops(first.blockFormat()).size(), 1);
        EXPECT_DOUBLE_EQ(rtf::tabStops(first.blockFormat()).first().position, 96.0);
        EXPECT_EQ(first.textList(), nullptr);
        EXPECT_FALSE(first.blockFormat().boolProperty(rtf::BulletProperty));
        EXPECT_NE(first.next().textList(), nullptr);
        EXPECT_TRUE(first.next().blockFormat().boolProperty(rtf::BulletProperty));
        EXPECT_TRUE(rtf::tabStops(first.next().blockFormat()).isEmpty());
    }

    TqkCustomRichEdit edit;
    TqkRulerPanel ruler;
};

// One inch is 96 screen pixels here; markers sit with their centre on
// the position of the indent.
TEST_F(Ruler, MarkersShowTheIndentsAndMovingThemSetsTheIndentsBack)
{
    ASSERT_EQ(edit.ScreenPixelsPerInch(), 96);
    setIndents(96, -48, 48); // start 0.5 inch, offset 0.5 inch, right 0.5 inch
    QTextBlockFormat withTab = format();
    rtf::setTabStops(withTab, {QTextOption::Tab(144, QTextOption::LeftTab)});
    edit.textCursor().setBlockFormat(withTab);
    const QRect band = ruler.Band();
    TqkTrackIcon &left = *ruler.LeftMarker();
    TqkTrackIcon &first = *ruler.FirstLineMarker();
    EXPECT_EQ(left.x() + left.width() / 2, band.left() + 96);
    EXPECT_EQ(first.x() + first.width() / 2, band.left() + 48);
    EXPECT_EQ(ruler.RightMarker()->x(), ruler.width() - 48 - ruler.RightMarker()->width());

    // Dropped between ticks, the first-line marker snaps back to the tick
    // at 1/8 inch steps and the paragraph follows.
    drag(first, 29);
    EXPECT_EQ(first.x() + first.width() / 2, band.left() + 72);
    EXPECT_DOUBLE_EQ(format().leftMargin() + rtf::firstLineIndent(format()), 72.0);
    EXPECT_DOUBLE_EQ(format().leftMargin(), 96.0);
    // The tab stop keeps its place on the page.
    ASSERT_EQ(rtf::tabStops(format()).size(), 1);
    EXPECT_DOUBLE_EQ(rtf::tabStops(format()).first().position, 144.0);

    ruler.PlaceMarkers();
    EXPECT_EQ(first.x() + first.width() / 2, band.left() + 72);
    EXPECT_EQ(left.x() + left.width() / 2, band.left() + 96);
}

// In centimetres the ticks lie between pixels: a marker dropped on a tick
// keeps that tick's length, and moving one marker leaves the others' indents.
TEST_F(Ruler, DroppedMarkersKeepTheirTickAndTheOthersTheirIndent)
{
    edit.SetMeasurementUnits(muCentimeters);
    setIndents(rtf::fromTwips(1135), 0, 0); // 2 cm, the first line with it
    const auto centre = [](const TqkTrackIcon &marker) { return marker.x() + marker.width() / 2; };
    const auto onScale = [this](double centimetres) {
        return ruler.Band().left() + int(centimetres * ruler.PixelsPerUnit());
    };
    const auto twips = [this](double length) { return rtf::toTwips(length); };
    struct Case
    {
        TqkTrackIcon *marker;
        double to;       // centimetres
        int left, first; // twips afterwards
    } cases[] = {
        {ruler.LeftMarker(), 4, 2270, 1135},        {ruler.LeftMarker(), 4, 2270, 1135},
        {ruler.FirstLineMarker(), 1.25, 2270, 709}, {ruler.LeftMarker(), 4.5, 2554, 709},
        {ruler.FirstLineMarker(), 3, 2554, 1702},
    };
    for (const Case &c : cases) {
        drag(*c.marker, onScale(c.to) - centre(*c.marker));
        EXPECT_EQ(twips(format().leftMargin()), c.left) << c.to;
        EXPECT_EQ(twips(format().leftMargin() + rtf::firstLineIndent(format())), c.first) << c.to;
        EXPECT_EQ(centre(*c.marker), onScale(c.to)) << c.to;
    }
}

// A marker dragged over several paragraphs, or the paragraph dialog on them,
// sets in each only the indent changed; tab stops, bullets and the other
// indents stay as they were.
TEST_F(Ruler, AMarkerDraggedOverSeveralParagraphsSetsOnlyItsIndent)
{
    tabAndBulletSelected();
    const struct
    {
        TqkTrackIcon *marker;
        int distance;
        Indents both;
    } cases[] = {
        {ruler.LeftMarker(), 48, {96, -96, 0}},
        {ruler.FirstLineMarker(), 24, {96, -72, 0}},
        {ruler.RightMarker(), -96, {96, -72, 143}},
    };
    for (const auto &c : cases) {
        drag(*c.marker, c.distance);
        expectIndentsAndTheRestKept(c.both, c.both, std::to_string(c.distance));
    }
}

TEST_F(Ruler, TheParagraphDialogOnSeveralParagraphsSetsOnlyWhatTheUserChanged)
{
    const struct
    {
        QLineEdit *(TqkRichParagraphDialog::*edit)() const; // nullptr: OK at once
        QString typed;
        Indents tabbed, bulleted;
    } cases[] = {
        {nullptr, "", {0, 0, 0}, {48, -48, 0}},
        {&TqkRichParagraphDialog::LeftEdit, "1", {96, 0, 0}, {96, -48, 0}},
        {&TqkRichParagraphDialog::FirstLineEdit, "-0,25", {0, -24, 0}, {48, -24, 0}},
        {&TqkRichParagraphDialog::RightEdit, "0,5", {0, 0, 48}, {48, -48, 48}},
    };
    for (const auto &c : cases) {
        tabAndBulletSelected();
        QTimer::singleShot(0, [&c] {
            auto &dialog = *qobject_cast<TqkRichParagraphDialog *>(QApplication::activeModalWidget());
            if (c.edit) {
                QTest::keyClick((dialog.*c.edit)(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks((dialog.*c.edit)(), c.typed);
            }
            QTest::keyClick(dialog.LeftEdit(), Qt::Key_Return);
        });
        edit.ParagraphDialog();
        expectIndentsAndTheRestKept(c.tabbed, c.bulleted, c.typed.toStdString());
    }
}

// A click on the scale sets a left tab stop on the tick at or before it,
// which the ruler then shows; a second click there sets none.
TEST_F(Ruler, AClickOnTheScaleSetsATabStopThatTheRulerShows)
{
    edit.SetMeasurementUnits(muCentimeters);
    const int at3 = ruler.Band().left() + int(3 * ruler.PixelsPerUnit());
    for (const int x : {at3 + 2, at3, ruler.Band().left() + int(1 * ruler.PixelsPerUnit()) + 1}) {
        QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(x, ruler.Band().center().y()));
    }
    const QList<QTextOption::Tab> tabs = rtf::tabStops(format());
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(rtf::toTwips(tabs[0].position), 567);
    EXPECT_EQ(rtf::toTwips(tabs[1].position), 1702);
    EXPECT_EQ(ruler.TabStopPositions().last(), at3);
    const QImage shot = ruler.grab().toImage();
    const int bottom = ruler.Band().bottom() - 1;
    EXPECT_LT(qGray(shot.pixel(at3, bottom - 3)), 128) << "the upright of the L";
    EXPECT_LT(qGray(shot.pixel(at3 + 4, bottom)), 128) << "its foot";
}

TEST_F(Ruler, LeftMarkersStopBeforeTheRightMarker)
{
    setIndents(0, 0, 0);
    TqkTrackIcon &left = *ruler.LeftMarker();
    drag(left, 1000);
    EXPECT_EQ(left.x(), ruler.RightMarker()->x() - TqkRulerPanel::markerClearance);
    TqkTrackIcon free;
    free.move(50, 0);
    drag(free, -400);
    EXPECT_EQ(free.x(), -350);
}

TEST_F(Ruler, PrinterWidthSizesTheRulerToThePrintableWidth)
{
    edit.SetEditWidth(rewPrinterSize);
    edit.SetPaperSize(1); // Letter, 8.5 inches, margins 1 inch each
    ruler.SizeToPage();
    EXPECT_EQ(ruler.width(), int(96 * 6.5) + 12);
    EXPECT_DOUBLE_EQ(ruler.LengthInUnits(), 6.5);
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(edit.lineWrapColumnOrWidth(), int(6.5 * 96));
    const QImage shot = ruler.grab().toImage();
    EXPECT_EQ(shot.pixelColor(ruler.Band().left() + 48, ruler.Band().top() + 10), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(ruler.Band().left() + 50, ruler.Band().top() + 10), QColor(Qt::white));
    // Margins of 1 cm each on 8.5 inches.
    edit.SetMeasurementUnits(muCentimeters);
    EXPECT_NEAR(ruler.LengthInUnits(), 8.5 * 2.537 - 2, 0.01);
}

TEST_F(Ruler, PageSetupTakesMarginsAndPaperOnlyOnOk)
{
    edit.SetMeasurementUnits(muCentimeters);
    TqkPageSetupDialog dialog(edit);
    auto *paper = dialog.findChild<QComboBox *>();
    EXPECT_FALSE(paper->isEnabled());
    const QList<QDoubleSpinBox *> margins = dialog.findChildren<QDoubleSpinBox *>();
    margins.at(0)->setValue(2.537);
    dialog.reject();
    EXPECT_DOUBLE_EQ(edit.PrintMargins()->Left, 1.0);

    edit.SetEditWidth(rewPrinterSize);
    TqkPageSetupDialog printerWidth(edit);
    auto *printerPaper = printerWidth.findChild<QComboBox *>();
    EXPECT_TRUE(printerPaper->isEnabled());
    printerPaper->setCurrentIndex(printerPaper->findData(9));
    printerWidth.findChildren<QDoubleSpinBox *>().at(0)->setValue(2.537);
    QTest::mouseClick(printerWidth.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(edit.PrintMargins()->Left, 2.537);
    EXPECT_EQ(edit.PaperSize(), 9);
}

// The left edge, in window coordinates, of the first ink in the window's
// picture between the given window rows, from column `from` on.
int inkStart(const QImage &shot, int top, int bottom, int from)
{
    const double scale = shot.devicePixelRatio();
    for (int x = int(from * scale); x < shot.width(); ++x) {
        for (int y = int(top * scale); y < int(bottom * scale); ++y) {
            if (qGray(shot.pixel(x, y)) < 128)
                return qRound(x / scale);
        }
    }
    return -1;
}

// What the user reads: the ruler's scale, its markers and the text of the
// editor window stand on one measure, whatever the indent and tab stops.
TEST(RulerAndText, TheTextStandsWhereTheRulerShowsItsIndentAndTabStop)
{
    struct Case
    {
        QByteArray paragraph; // in twips, as stored
        double indent;        // centimetres
        double tab;           // centimetres, 0 for none
    } cases[] = {
        {"\\pard\\li0 ", 0, 0},
        {"\\pard\\li851 ", 1.5, 0},
        {"\\pard\\li851\\tx1702 ", 1.5, 3},
        {"\\pard\\li1702\\fi-851\\tx1702 ", 1.5, 3},
    };
    for (const Case &c : cases) {
        TqkCustomRichEdit source;
        source.SetMeasurementUnits(muCentimeters);
        QByteArray rtf =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40" + c.paragraph + (c.tab > 0 ? "H\\tab H" : "H") + "\\par}";
        QBuffer stream(&rtf);
        stream.open(QIODevice::ReadOnly);
        source.StreamIn(stream, false, false);
        TqkRichEditForm form(source);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        TqkCustomRichEdit &edit = *form.RichEdit1();
        edit.moveCursor(QTextCursor::Start);
        TqkRulerPanel &ruler = *form.Ruler();
        const auto onRuler = [&ruler, &form](double centimetres) {
            return ruler.mapTo(&form, QPoint(ruler.Band().left() + qRound(centimetres * ruler.PixelsPerUnit()), 0)).x();
        };
        const QImage shot = form.grab().toImage();
        const QRect line = edit.cursorRect(edit.textCursor()).translated(edit.viewport()->mapTo(&form, QPoint()));
        const int bearing = qRound(QFontMetricsF(edit.currentCharFormat().font()).leftBearing(QLatin1Char('H')));
        const int left =
            inkStart(shot, line.top(), line.bottom(), edit.viewport()->mapTo(&form, QPoint()).x()) - bearing;
        const QString name = QString::fromLatin1(c.paragraph);
        EXPECT_NEAR(left, onRuler(c.indent), 1) << name.toStdString();
        const TqkTrackIcon &marker = *ruler.FirstLineMarker();
        EXPECT_NEAR(ruler.mapTo(&form, QPoint(marker.x() + marker.width() / 2, 0)).x(), onRuler(c.indent), 1)
            << name.toStdString();
        if (c.tab > 0) {
            QTextCursor afterTab(edit.document());
            afterTab.setPosition(2);
            const int tabbed = edit.cursorRect(afterTab).x() + edit.viewport()->mapTo(&form, QPoint()).x();
            EXPECT_NEAR(inkStart(shot, line.top(), line.bottom(), tabbed - 2) - bearing, onRuler(c.tab), 1)
                << name.toStdString();
        }
    }
}

} // namespace
