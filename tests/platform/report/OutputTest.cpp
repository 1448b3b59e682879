#include "ReportTestSupport.h"

#include "platform/report/DialogRunner.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/PassingNotice.h"
#include "platform/report/PdfSink.h"
#include "platform/report/PreviewFile.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/TextMetrics.h"
#include "platform/report/api/ReportApi.h"
#include "support/RecordingUiServices.h"
#include "support/TextPrinting.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <csignal>
#include <sys/resource.h>

using namespace report;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The size and date a file dialog lists for `file`, once it has read its folder.
QString fileDetails(QDialog &dialog, const QString &file)
{
    const auto *files = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    QModelIndex row;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        row = files->model()->match(files->model()->index(0, 0, files->rootIndex()), Qt::DisplayRole, file).value(0);
        return row.isValid();
    }));
    return row.siblingAtColumn(1).data().toString() + " | " + row.siblingAtColumn(3).data().toString();
}

int pdfPages(const QString &path)
{
    const QString info = run("pdfinfo", {path});
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

QString pdfText(const QString &path)
{
    return run("pdftotext", {"-layout", path, "-"});
}

class Output : public EngineFixture
{
protected:
    int job = 0;
    QString layout;

    void SetUp() override
    {
        EngineFixture::SetUp();
        engine.setSinkFactory(nullptr);
        layout = writeLayout("rechnung.lst", invoiceLayout());
        job = LlJobOpen(0);
        LlDefineVariable(job, "Nr", "4711");
    }

    void TearDown() override
    {
        setDialogRunner(nullptr);
        LlPreviewDeleteFiles(job, layout, "");
        LlJobClose(job);
        EngineFixture::TearDown();
    }
};

// Limits the size of files this process may write, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

Page noisyPage()
{
    Page page;
    page.size = QSizeF(210, 297);
    QImage noise(600, 600, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate());
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Image;
    op.rect = QRectF(10, 10, 150, 150);
    op.image = noise;
    page.ops.append(op);
    return page;
}

}

// A viewer's search finds words only when the PDF holds their letters, not
// one ligature glyph for "ff" or "fl".
TEST_F(Output, PdfPrinterWritesARealPdfWithTheLettersOfEveryWord)
{
    LlDefineVariable(job, "Nr", "Offene Posten, Auflistung, Briefe");
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    printList(job, {10, 20, 30, 40, 50, 60, 70});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(printers->jobs().size(), 1);
    const QString pdf = printers->jobs().first().outputFile;
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(pdfPages(pdf), 3);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("Rechnung Offene Posten, Auflistung, Briefe")) << text.toStdString();
    EXPECT_TRUE(text.contains("Übertrag: 60,00")) << text.toStdString();
    EXPECT_TRUE(text.contains("Summe: 280,00")) << text.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}, QDir::Files).size(), 1);

    // Where the file went is said in passing, in a window that needs no click.
    QLabel *notice = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == PassingNoticeName && widget->isVisible())
            notice = qobject_cast<QLabel *>(widget);
    }
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->text().contains(QDir::toNativeSeparators(pdf))) << notice->text().toStdString();
    EXPECT_TRUE(notice->windowFlags() & Qt::ToolTip);
}

namespace {

// A queue the printer service lists but the system cannot print to.
class VanishedQueue : public os::PrinterService
{
public:
    QList<os::PrinterInfo> printers() const override { return {{"Etage 3", "LPT1:", false}}; }
    QString currentPrinter() const override { return "Etage 3"; }
    void setCurrentPrinter(const QString &) override {}
    bool configure(QPrinter &printer, const QString &, const QString &documentName, QString &) const override
    {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName("Etage 3 (abgebaut)");
        printer.setDocName(documentName);
        return true;
    }
};

}

TEST_F(Output, AQueueThatCannotPrintFailsTheJobWithoutAFile)
{
    VanishedQueue vanished;
    os::PrinterService::setInstance(&vanished);
    const int start = LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0);
    if (start == 0) {
        printList(job, {10, 20, 30, 40});
        EXPECT_EQ(LlPrintEnd(job, 0), LL_ERR_PRINTING_FAILED);
    } else {
        EXPECT_EQ(start, LL_ERR_PRINTING_FAILED);
    }
    os::PrinterService::setInstance(printers.get());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf*"}, QDir::Files).isEmpty());
    EXPECT_TRUE(QDir::current().entryList({".XXXXXX*", "*.pdf.*"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(Output, ThePrinterCheckWritesNothingAndAMissingPrinterIsRefusedAtTheStart)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    QString printer, port;
    ASSERT_EQ(LlPrintGetPrinterInfo(job, printer, port), 0);
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf*"}, QDir::Files).isEmpty());
    os::FakePrinterService none(dir.path(), {});
    os::PrinterService::setInstance(&none);
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), LL_ERR_NO_PRINTER);
    os::PrinterService::setInstance(printers.get());
}

TEST_F(Output, APdfFolderThatCannotTakeTheFileSaysWhichAndWhy)
{
    QFile(dir.filePath("belegt")).open(QIODevice::WriteOnly);
    os::FakePrinterService blocked(dir.filePath("belegt"));
    os::PrinterService::setInstance(&blocked);
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), LL_ERR_NO_PRINTER);
    EXPECT_EQ(LlGetErrorText(job), "Der PDF-Drucker kann nicht in den Ordner \"" + dir.filePath("belegt")
                                       + "\" schreiben: An seiner Stelle liegt eine Datei.");
    os::PrinterService::setInstance(printers.get());
    EXPECT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    EXPECT_EQ(LlGetErrorText(job), "");
}

TEST_F(Output, AFullDiskLeavesNoHalfPdf)
{
    const QString path = dir.filePath("voll.pdf");
    int added = 0;
    int finished = 0;
    {
        FileSizeLimit limit(8192);
        PdfSink sink(path, "Test");
        added = sink.addPage(noisyPage());
        finished = added == 0 ? sink.finish() : (sink.abort(), added);
    }
    EXPECT_EQ(finished, LL_ERR_PRINTING_FAILED) << QFileInfo(path).size();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList({"voll*"}, QDir::Files).isEmpty());
}

TEST_F(Output, AFullDiskLeavesNoHalfPreviewAndKeepsTheOldOne)
{
    const QString path = dir.filePath("vorschau.tlv");
    ASSERT_TRUE(writeOnePagePreview(path));
    int result = 0;
    {
        FileSizeLimit limit(8192);
        PreviewSink sink(path);
        result = sink.addPage(noisyPage());
        if (result == 0)
            result = sink.finish();
    }
    EXPECT_EQ(result, LL_ERR_PRINTING_FAILED);
    PreviewDocument document;
    ASSERT_TRUE(document.open(path));
    EXPECT_EQ(document.pageCount(), 1);
}

TEST_F(Output, PreviewFileIsShownPrintedAndSavedAsPdf)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_PREVIEW, 0), 0);
    printList(job, {10, 20, 30, 40, 50, 60, 70});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_TRUE(QFile::exists(previewPath(layout)));
    EXPECT_TRUE(printers->jobs().isEmpty());

    int shownPages = 0;
    setDialogRunner([&](QDialog &dialog) {
        auto &preview = dynamic_cast<PreviewWindow &>(dialog);
        shownPages = preview.pageCount();
        EXPECT_EQ(preview.currentPage(), 0);
        const QSize natural = preview.pageImage().size();
        preview.setZoom(200);
        EXPECT_NEAR(preview.pageImage().width(), natural.width() * 2, 2);
        preview.showPage(5);
        EXPECT_EQ(preview.currentPage(), 2);
        QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
        QApplication::sendEvent(&preview, &pageUp);
        EXPECT_EQ(preview.currentPage(), 1);
        EXPECT_EQ(preview.saveAsPdf(dir.filePath("gespeichert.pdf")), 0);
        EXPECT_EQ(preview.printOn("Laserdrucker Buchhaltung", 2, 3), 0);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(LlPreviewDisplay(job, layout, "", nullptr), 0);
    EXPECT_EQ(shownPages, 3);
    EXPECT_EQ(pdfPages(dir.filePath("gespeichert.pdf")), 3);
    EXPECT_TRUE(pdfText(dir.filePath("gespeichert.pdf")).contains("Summe: 280,00"));
    ASSERT_EQ(printers->jobs().size(), 1);
    EXPECT_EQ(pdfPages(printers->jobs().first().outputFile), 2);

    EXPECT_EQ(LlPreviewDeleteFiles(job, layout, ""), 0);
    EXPECT_FALSE(QFile::exists(previewPath(layout)));
    EXPECT_EQ(LlPreviewDisplay(job, layout, "", nullptr), LL_ERR_NO_PREVIEW_FILES);
}

// The zoom box always says what is shown; it fits the page to the window on
// request; the page buttons show the platform's icons; the preview names
// its PDF as the direct print does and offers the PDF folder to save in.
TEST_F(Output, PreviewZoomNavigationAndPdfNamesMeetTheUser)
{
    ASSERT_EQ(LlPrintWithBoxStart(job, LL_PROJECT_LIST, layout, LL_PRINT_PREVIEW, 0, nullptr, "Rechnung"), 0);
    printList(job, {10, 20, 30, 40});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    const QByteArray savedPdfFolder = qgetenv("TINTLEN_PDF_DIR");
    qputenv("TINTLEN_PDF_DIR", dir.filePath("pdf").toUtf8());
    setDialogRunner([&](QDialog &dialog) {
        auto &preview = dynamic_cast<PreviewWindow &>(dialog);
        preview.show();
        auto *zoom = preview.findChild<QComboBox *>("Zoom");
        EXPECT_EQ(zoom->currentText(), "100 %");
        for (const char *name : {"Erste Seite", "Vorherige Seite", "Nächste Seite", "Letzte Seite"}) {
            auto *button = preview.findChild<QPushButton *>(name);
            EXPECT_TRUE(button->text().isEmpty()) << name;
            EXPECT_FALSE(button->icon().isNull()) << name;
        }
        QTest::keyClick(&preview, Qt::Key_Plus);
        EXPECT_EQ(preview.zoom(), 125);
        EXPECT_EQ(zoom->currentText(), "125 %");
        QTest::keyClick(&preview, Qt::Key_Minus);
        QTest::keyClick(&preview, Qt::Key_Minus);
        EXPECT_EQ(zoom->currentText(), "75 %");

        preview.resize(900, 700);
        const auto choose = [zoom](const QString &entry) {
            const int index = zoom->findText(entry);
            EXPECT_GE(index, 0) << entry.toStdString();
            zoom->setCurrentIndex(index);
            emit zoom->activated(index);
        };
        choose("Seitenbreite");
        const QSize area = preview.findChild<QScrollArea *>()->viewport()->size() * preview.devicePixelRatioF();
        EXPECT_LE(preview.pageImage().width(), area.width());
        EXPECT_GT(preview.pageImage().width(), area.width() * 3 / 4);
        EXPECT_EQ(zoom->currentText(), "Seitenbreite");
        choose("Ganze Seite");
        EXPECT_LE(preview.pageImage().height(), area.height());
        EXPECT_LE(preview.pageImage().width(), area.width());

        const QString shots = qEnvironmentVariable("TINTLEN_SCREENSHOTS");
        if (!shots.isEmpty()) {
            QApplication::processEvents();
            preview.grab().save(shots + QStringLiteral("/vorschau.png"));
        }
        EXPECT_EQ(preview.suggestedPdfPath(), QDir(dir.filePath("pdf")).filePath("Rechnung.pdf"));
        EXPECT_EQ(preview.printOn("Tintlen PDF", 1, 1), 0);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(LlPreviewDisplay(job, layout, "", nullptr), 0);
    qputenv("TINTLEN_PDF_DIR", savedPdfFolder);
    ASSERT_EQ(printers->jobs().size(), 1);
    EXPECT_EQ(QFileInfo(printers->jobs().first().outputFile).fileName(), "Rechnung.pdf");
}

// "Als PDF speichern" writes a PDF file under the name typed, with ".pdf"
// added where it lacks it, and asks before it replaces a file; "Nein" goes
// back to the dialog for another name. The dialog dates its files in German.
TEST_F(Output, SavingFromThePreviewWritesAPdfFileUnderTheTypedName)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_PREVIEW, 0), 0);
    printList(job, {10});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    QFile old(dir.filePath("Alt.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("alt") == 3 && old.flush());
    ASSERT_TRUE(old.setFileTime(QDateTime(QDate(2026, 10, 6), QTime(14, 5)), QFileDevice::FileModificationTime));
    old.close();
    const QByteArray savedPdfFolder = qgetenv("TINTLEN_PDF_DIR");
    qputenv("TINTLEN_PDF_DIR", dir.path().toUtf8());
    const struct
    {
        const char *typed;
        const char *written;
        int replace;                   // the answer when asked, 0: not asked
        const char *retyped = nullptr; // typed after "Nein"
    } cases[] = {
        {"Meine Rechnung", "Meine Rechnung.pdf", 0},
        {"Rechnung 01.10.2026", "Rechnung 01.10.2026.pdf", 0},
        {"Gross.PDF", "Gross.PDF", 0},
        {"Alt", "Neu.pdf", ui::IDNO, "Neu"},
        {"Alt", "Alt.pdf", ui::IDYES},
    };
    for (const auto &c : cases) {
        ui::ScopedRecordingUiServices user;
        if (c.replace != 0)
            user.queueAnswer(c.replace);
        setDialogRunner([&](QDialog &dialog) {
            auto *preview = qobject_cast<PreviewWindow *>(&dialog);
            if (preview) {
                QTest::mouseClick(preview->findChild<QPushButton *>("Als PDF speichern"), Qt::LeftButton);
                return int(QDialog::Accepted);
            }
            dialog.show();
            auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
            const auto enter = [name](const char *text) {
                name->selectAll();
                QTest::keyClicks(name, QString::fromUtf8(text));
                QTest::keyClick(name, Qt::Key_Return);
            };
            enter(c.typed);
            if (c.retyped) {
                EXPECT_TRUE(dialog.isVisible());
                EXPECT_EQ(fileDetails(dialog, "Alt.pdf"), "3 Bytes | 06.10.2026 14:05");
                enter(c.retyped);
            }
            return dialog.result();
        });
        EXPECT_EQ(LlPreviewDisplay(job, layout, "", nullptr), 0);
        EXPECT_EQ(user.messages().size(), c.replace != 0 ? 1 : 0) << c.typed;
        EXPECT_EQ(pdfPages(dir.filePath(QString::fromUtf8(c.written))), 1) << c.typed;
        EXPECT_EQ(pdfPages(dir.filePath("Alt.pdf")), c.replace == ui::IDYES ? 1 : -1) << c.typed;
    }
    qputenv("TINTLEN_PDF_DIR", savedPdfFolder);
}

TEST_F(Output, PreviewPagesLookLikeTheDocument)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_PREVIEW, 0), 0);
    printList(job, {10});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    PreviewDocument document;
    ASSERT_TRUE(document.open(previewPath(layout)));
    const QImage image = renderPageImage(document.page(0), 100);
    EXPECT_EQ(image.width(), int(210 / 25.4 * 96));
    int dark = 0;
    for (int y = int(20 / 25.4 * 96); y < int(30 / 25.4 * 96); ++y) {
        for (int x = int(20 / 25.4 * 96); x < int(60 / 25.4 * 96); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    EXPECT_GT(dark, 50);
}

// At every zoom the screen draws a line as print lays it out, so a box that
// holds it on paper holds it on the screen too, and nothing of it is cut.
TEST(PreviewText, EveryZoomDrawsALineAsLongAsInPrint)
{
    const QString text = QStringLiteral("Werkzeughandel Lindner GmbH · Gießereistraße 4 · 86150 Augsburg");
    const FontSpec footer = font(7);
    const double measured = textWidthMm(text, footer);
    Page page;
    page.size = QSizeF(210, 297);
    DrawOp line;
    line.kind = DrawOp::Kind::Text;
    line.rect = QRectF(20, 275, measured + 1, 12);
    line.text = text;
    line.font = footer;
    page.ops << line;
    Page unbounded = page;
    unbounded.ops[0].rect.setWidth(180);
    for (const int zoom : {25, 50, 75, 83, 100, 125, 150, 200}) {
        EXPECT_EQ(renderPageImage(page, zoom), renderPageImage(unbounded, zoom)) << "cut at " << zoom << " %";
    }
}

// Each field and the print button answer to a letter of their own.
TEST_F(Output, OptionsDialogAnswersEachAltKeyOnce)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    const struct
    {
        Qt::Key key;
        const char *focused; // empty: the dialog printed
    } cases[] = {
        {Qt::Key_D, ""}, {Qt::Key_R, "printer"}, {Qt::Key_E, "copies"}, {Qt::Key_V, "first"}, {Qt::Key_B, "last"}};
    for (const auto &c : cases) {
        QString focused;
        setDialogRunner([&](QDialog &dialog) {
            auto &options = dynamic_cast<PrintOptionsDialog &>(dialog);
            dialog.show();
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(&dialog, c.key, Qt::AltModifier);
            // A button's letter presses it visibly, and the click follows.
            // A key that only moves the focus leaves the dialog open.
            static_cast<void>(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 500));
            const QMap<QWidget *, QString> names = {{options.printerBox(), "printer"},
                                                    {options.copiesBox(), "copies"},
                                                    {options.firstPageBox(), "first"},
                                                    {options.lastPageBox(), "last"}};
            focused = names.value(QApplication::focusWidget());
            const int result = dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
            dialog.hide();
            return result;
        });
        const bool prints = *c.focused == 0;
        EXPECT_EQ(LlPrintOptionsDialog(job, nullptr, "Rechnung"), prints ? 0 : LL_ERR_USER_ABORTED) << c.key;
        if (!prints) {
            EXPECT_EQ(focused, c.focused) << c.key;
        }
    }
}

TEST_F(Output, OptionsDialogChoosesPrinterCopiesAndPages)
{
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LIST, layout, LL_PRINT_NORMAL, 0), 0);
    setDialogRunner([](QDialog &dialog) {
        auto &options = dynamic_cast<PrintOptionsDialog &>(dialog);
        EXPECT_EQ(options.printerBox()->currentText(), "Tintlen PDF");
        EXPECT_EQ(options.printerBox()->count(), 3);
        options.printerBox()->setCurrentText("Laserdrucker Buchhaltung");
        options.copiesBox()->setValue(3);
        options.firstPageBox()->setValue(2);
        options.lastPageBox()->setValue(2);
        return int(QDialog::Accepted);
    });
    ASSERT_EQ(LlPrintOptionsDialog(job, nullptr, "Rechnung"), 0);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_COPIES), 3);
    EXPECT_EQ(LlPrintGetOption(job, LL_PRNOPT_LASTPAGE), 2);
    EXPECT_EQ(engine.jobPrinter(), "Laserdrucker Buchhaltung");
    printList(job, {10, 20, 30, 40, 50, 60, 70});
    ASSERT_EQ(LlPrintEnd(job, 0), 0);
    ASSERT_EQ(printers->jobs().size(), 2);
    EXPECT_EQ(printers->jobs().last().printer, "Laserdrucker Buchhaltung");
    EXPECT_EQ(pdfPages(printers->jobs().last().outputFile), 1);
    EXPECT_TRUE(pdfText(printers->jobs().last().outputFile).contains("Übertrag: 210,00"));

    setDialogRunner([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_EQ(LlPrintOptionsDialog(job, nullptr, "Rechnung"), LL_ERR_USER_ABORTED);
}
