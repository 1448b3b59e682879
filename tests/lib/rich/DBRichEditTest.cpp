#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkriched.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/Printers.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/rtf/RtfReader.h"
#include "support/FakePrinterService.h"
#include "support/RecordingUiServices.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

const QByteArray storedNote = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
                              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                              "\\viewkind4\\uc1\\pard\\f0\\fs20 Liefertermin \\b 12.03.\\b0  best\\'e4tigt\\par\r\n"
                              "\\pard\\qc\\cf1 Bitte beachten{\\object\\objemb{\\*\\objdata 0102}}\\par\r\n}\r\n";

// Notizen: Nr I (key), Text M; the suite's rich text sits in the memo.
class DBRichEdit : public testing::Test
{
protected:
    void SetUp() override
    {
        TTable create;
        create.SetDatabaseName(m_dir.path());
        create.SetTableName(QStringLiteral("Notizen.db"));
        create.FieldDefs()->AddParadox(QStringLiteral("Nr"), QStringLiteral("I"));
        create.FieldDefs()->AddParadox(QStringLiteral("Text"), QStringLiteral("M240"));
        create.IndexDefs()->Add(QString(), QStringLiteral("Nr"), ixPrimary | ixUnique);
        create.CreateTable();
        create.Open();
        for (int nr : {1, 2}) {
            create.Append();
            create.FieldByName(QStringLiteral("Nr"))->SetAsInteger(nr);
            create.FieldByName(QStringLiteral("Text"))
                ->SetAsString(nr == 1 ? QString::fromLatin1(storedNote) : QStringLiteral("{\\rtf1 kaputt {\\b fett"));
            create.Post();
        }
        table = open();
        source.SetDataSet(table.get());
    }

    std::unique_ptr<TTable> open()
    {
        auto opened = std::make_unique<TTable>();
        opened->SetDatabaseName(m_dir.path());
        opened->SetTableName(QStringLiteral("Notizen"));
        opened->Open();
        return opened;
    }

    std::unique_ptr<TqkDBRichEdit> boundEdit(TDataSource &dataSource)
    {
        auto edit = std::make_unique<TqkDBRichEdit>();
        edit->SetDataSource(&dataSource);
        edit->SetDataField(QStringLiteral("Text"));
        edit->resize(500, 300);
        edit->show();
        return edit;
    }

    // Prints through the PDF printer; the file it wrote, or nothing.
    QString printToPdf(TqkCustomRichEdit &edit, const QString &title)
    {
        os::FakePrinterService printers(m_dir.path());
        os::PrinterService::setInstance(&printers);
        printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
        const bool printed = edit.Print(title);
        os::PrinterService::setInstance(nullptr);
        return printed && printers.jobs().size() == 1 ? printers.jobs().first().outputFile : QString();
    }

    ui::ScopedRecordingUiServices user;
    QTemporaryDir m_dir;
    std::unique_ptr<TTable> table;
    TDataSource source;
};

QString pdfInfo(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    return QString::fromUtf8(info.readAllStandardOutput());
}

TEST_F(DBRichEdit, LoadsEditsSavesAndReloadsAMemo)
{
    auto edit = boundEdit(source);
    ASSERT_TRUE(edit->MemoLoaded());
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Liefertermin 12.03. bestätigt\nBitte beachten\uFFFC"));
    EXPECT_TRUE(edit->isReadOnly());

    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit.get(), QStringLiteral(" sofort"));
    EXPECT_EQ(table->State(), dsEdit);
    QTest::keyClick(edit.get(), Qt::Key_Return);
    QTest::keyClicks(edit.get(), QStringLiteral("Neu"));
    edit->DataLink()->UpdateRecord();
    table->Post();

    auto reread = open();
    const QByteArray saved = reread->FieldByName(QStringLiteral("Text"))->AsString().toLatin1();
    EXPECT_TRUE(saved.contains("{\\object\\objemb{\\*\\objdata 0102}}")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("best\\'e4tigt"));
    TDataSource rereadSource;
    rereadSource.SetDataSet(reread.get());
    auto again = boundEdit(rereadSource);
    EXPECT_EQ(again->toPlainText(), QStringLiteral("Liefertermin 12.03. bestätigt\nBitte beachten\uFFFC sofort\nNeu"));
    const QTextBlock second = again->document()->findBlockByNumber(1);
    EXPECT_EQ(second.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(second.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    EXPECT_TRUE(user.messages().isEmpty());
}

TEST_F(DBRichEdit, BrokenMemoLoadsWhatItCanAndSaysSo)
{
    table->Last();
    auto edit = boundEdit(source);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("kaputt fett"));
    ASSERT_EQ(user.messages().size(), 1);
    EXPECT_TRUE(user.messages().first().text.contains(QStringLiteral("beschädigt")));
    EXPECT_EQ(user.messages().first().icon, ui::MsgIcon::Warning);
}

TEST_F(DBRichEdit, GridLoadsUpToTheFirstGroupAfterThePardAndLeavesTheMemoUnloaded)
{
    TqkDBRichEdit cell;
    cell.SetDataSource(&source);
    cell.SetDataField(QStringLiteral("Text"));
    cell.LoadFromField(table->FieldByName(QStringLiteral("Text")));
    EXPECT_EQ(cell.toPlainText(), QStringLiteral("Liefertermin 12.03. bestätigt\nBitte beachten"));
    EXPECT_FALSE(cell.MemoLoaded());

    // CopyTo takes an unloaded memo straight from the field.
    TqkCustomRichEdit editor;
    cell.CopyTo(editor);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Liefertermin 12.03. bestätigt\nBitte beachten\uFFFC"));
    EXPECT_FALSE(cell.MemoLoaded());
    QTextEdit plain;
    cell.CopyTo(plain);
    EXPECT_TRUE(cell.MemoLoaded());
    EXPECT_EQ(plain.toPlainText(), editor.toPlainText());

    // Loading the first paragraph leaves even a loaded memo unloaded, so
    // that the cut text is never written back; bullets do not cut it.
    TField &field = *table->FieldByName(QStringLiteral("Text"));
    cell.LoadFromField(&field);
    EXPECT_FALSE(cell.MemoLoaded());
    TqkCustomRichEdit bulleted;
    bulleted.setPlainText(QStringLiteral("Eins\nZwei"));
    bulleted.selectAll();
    bulleted.SetBullet(true);
    table->Edit();
    bulleted.SaveToField(field);
    table->Post();
    cell.LoadFromField(&field);
    EXPECT_EQ(cell.toPlainText(), QStringLiteral("Eins\nZwei"));
}

TEST_F(DBRichEdit, WithoutAutoDisplayTheMemoWaitsForReturn)
{
    // Records the keys that the memo passes on.
    struct Window : QWidget
    {
        QList<int> keys;
        void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
    } window;
    TqkDBRichEdit edit(&window);
    edit.SetAutoDisplay(false);
    edit.SetDataSource(&source);
    edit.SetDataField(QStringLiteral("Text"));
    window.show();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("(Text)"));
    QTest::keyClick(&edit, Qt::Key_A);
    QTest::keyClick(&edit, Qt::Key_F5);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("(Text)"));
    EXPECT_EQ(window.keys, QList<int>{Qt::Key_F5}) << "only what would type waits for the memo";
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_TRUE(edit.MemoLoaded());
    EXPECT_TRUE(edit.toPlainText().startsWith(QStringLiteral("Liefertermin")));
}

TEST_F(DBRichEdit, EnteringEditModeKeepsTheTextAndEscapeGoesBack)
{
    auto edit = boundEdit(source);
    edit->setFocus();
    edit->moveCursor(QTextCursor::Start);
    QTest::keyClicks(edit.get(), QStringLiteral("Neu: "));
    EXPECT_EQ(table->State(), dsEdit);
    // The data set's switch to editing must not reload the memo over the
    // key that caused it.
    EXPECT_TRUE(edit->toPlainText().startsWith(QStringLiteral("Neu: Liefertermin")));
    QTest::keyClick(edit.get(), Qt::Key_Escape);
    table->Cancel();
    EXPECT_TRUE(edit->toPlainText().startsWith(QStringLiteral("Liefertermin")));
}

// A number field shows its value again when the control is entered, takes
// only the characters of a number and is written on leaving.
TEST_F(DBRichEdit, ANumberFieldTakesOnlyItsCharactersAndShowsItsValueOnEntering)
{
    auto edit = boundEdit(source);
    edit->SetDataField(QStringLiteral("Nr"));
    edit->setPlainText(QStringLiteral("überholt"));
    edit->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(edit.get()));
    edit->setFocus();
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("1"));
    edit->moveCursor(QTextCursor::End);
    for (const auto &[typed, shown, beeps] :
         {std::tuple{"x", "1", 1}, {"7", "17", 1}, {"E", "17", 2}, {",", "17", 3}}) {
        QTest::keyClicks(edit.get(), typed);
        EXPECT_EQ(edit->toPlainText(), QLatin1String(shown)) << typed;
        EXPECT_EQ(user.beeps(), beeps) << typed;
    }
    edit->clearFocus();
    table->Post();
    const std::unique_ptr<TTable> reread = open();
    reread->Last();
    EXPECT_EQ(reread->FieldByName(QStringLiteral("Nr"))->AsInteger(), 17);
}

TEST_F(DBRichEdit, PrintsThreePagesToThePdfPrinter)
{
    os::FakePrinterService printers(m_dir.path());
    os::PrinterService::setInstance(&printers);
    printers.setCurrentPrinter(QStringLiteral("Tintlen PDF"));
    TqkCustomRichEdit edit;
    edit.PrintMargins()->Top = 2;
    edit.PrintMargins()->Bottom = 2;
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines << QStringLiteral("Zeile %1 mit Text").arg(i);
    edit.Lines().SetTextStr(lines.join(QLatin1Char('\n')));
    QTextCursor all(edit.document());
    all.select(QTextCursor::Document);
    QTextCharFormat large;
    large.setFontPointSize(14);
    all.mergeCharFormat(large);
    const bool printed = edit.Print(QStringLiteral("Notiz"));
    os::PrinterService::setInstance(nullptr);
    ASSERT_TRUE(printed);
    ASSERT_EQ(printers.jobs().size(), 1);
    const QString pdf = printers.jobs().first().outputFile;
    EXPECT_TRUE(pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+3\\b")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Zeile 1 mit Text")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Zeile 80 mit Text")));
    for (int i = 1; i <= 80; ++i)
        EXPECT_EQ(pages.join(QString()).count(QStringLiteral("Zeile %1 mit").arg(i)), 1) << i;

    // A text shorter than a page prints one page.
    os::PrinterService::setInstance(&printers);
    edit.Lines().SetTextStr(QStringLiteral("kurz"));
    EXPECT_TRUE(edit.Print(QStringLiteral("Kurz")));
    os::PrinterService::setInstance(nullptr);
    EXPECT_TRUE(pdfInfo(printers.jobs().last().outputFile).contains(QRegularExpression("Pages:\\s+1\\b")));
}

// Where each word starts on the paper, in points from the page's left edge.
QMap<QString, double> wordStarts(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    text.waitForFinished();
    QMap<QString, double> starts;
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>([^<]+)</word>"));
    for (const QRegularExpressionMatch &match : word.globalMatch(QString::fromUtf8(text.readAllStandardOutput())))
        starts.insert(match.captured(2), match.captured(1).toDouble());
    return starts;
}

// Indents and tab stops land on the paper where the ruler shows them: from
// the 2 cm margin, 1,5 cm and 3 cm on.
TEST_F(DBRichEdit, PrintedIndentsAndTabStopsLandOnTheirPlace)
{
    TqkCustomRichEdit edit;
    edit.SetMeasurementUnits(muCentimeters);
    edit.PrintMargins()->Left = 2;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Links\\par\\li851 Eingezogen\\par"
                     "\\pard\\li851\\tx1702 Spalte\\tab Drei\\par}";
    QBuffer stream(&rtf);
    stream.open(QIODevice::ReadOnly);
    edit.StreamIn(stream, false, false);
    const QString pdf = printToPdf(edit, QStringLiteral("Einzug"));
    ASSERT_FALSE(pdf.isEmpty());
    const QMap<QString, double> starts = wordStarts(pdf);
    const auto points = [](double centimetres) { return centimetres / richMeasure::centimetresPerInch * 72; };
    const struct
    {
        QString word;
        double centimetres;
    } cases[] = {{"Links", 2}, {"Eingezogen", 3.5}, {"Spalte", 3.5}, {"Drei", 5}};
    for (const auto &c : cases) {
        ASSERT_TRUE(starts.contains(c.word)) << c.word.toStdString();
        EXPECT_NEAR(starts.value(c.word), points(c.centimetres), 1.5) << c.word.toStdString();
    }
}

// In printer width the lines break on screen where they break on paper.
TEST_F(DBRichEdit, PrinterWidthBreaksTheLinesAsThePaperDoes)
{
    TqkCustomRichEdit edit;
    edit.SetEditWidth(rewPrinterSize);
    edit.SetPaperSize(9);
    edit.resize(900, 400);
    edit.show();
    QStringList words;
    for (int i = 1; i <= 120; ++i)
        words << QStringLiteral("Wort%1").arg(i);
    edit.Lines().SetTextStr(words.join(QLatin1Char(' ')));
    QTextBlockFormat indented;
    indented.setLeftMargin(rtf::fromTwips(851));
    edit.textCursor().setBlockFormat(indented);
    QApplication::processEvents();
    const QTextLayout &layout = *edit.document()->firstBlock().layout();
    ASSERT_GT(layout.lineCount(), 3);
    QStringList screenLines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        screenLines << edit.document()->firstBlock().text().mid(line.textStart(), line.textLength()).trimmed();
    }
    const QString pdf = printToPdf(edit, QStringLiteral("Umbruch"));
    ASSERT_FALSE(pdf.isEmpty());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    QStringList paperLines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
    paperLines.removeIf([](const QString &line) { return line.trimmed().isEmpty() || line.startsWith('\f'); });
    EXPECT_EQ(paperLines.join(QLatin1Char('\n')).toStdString(), screenLines.join(QLatin1Char('\n')).toStdString());
}

} // namespace
