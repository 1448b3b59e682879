#include "platform/os/IniFile.h"
#include "platform/os/SystemPrinterService.h"
#include "support/FakePrinterService.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void printOnePage(QPrinter &printer)
{
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    painter.drawText(100, 100, QStringLiteral("Rechnung 4711"));
    painter.end();
}

QByteArray head(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(5) : QByteArray();
}

class SystemPrinters : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TINTLEN_SETTINGS", dir.filePath("cfg/settings.ini").toUtf8());
        qunsetenv("TINTLEN_PDF_DIR");
        QDir(dir.path()).mkpath("cfg");
    }
    void TearDown() override
    {
        qunsetenv("TINTLEN_SETTINGS");
        qunsetenv("TINTLEN_PDF_DIR");
    }

    QTemporaryDir dir;
};

} // namespace

TEST(FakePrinters, ConfiguresRealPdfJobsAndRecordsThem)
{
    QTemporaryDir dir;
    os::FakePrinterService fake(dir.path());
    EXPECT_EQ(fake.currentPrinter(), "Tintlen PDF");
    EXPECT_TRUE(fake.exists("laserdrucker buchhaltung"));
    EXPECT_FALSE(fake.exists("Fax"));
    EXPECT_FALSE(fake.exists(""));
    EXPECT_EQ(fake.printers().at(1).port, "LPT2:");
    QPrinter printer;
    QString refusal;
    EXPECT_FALSE(fake.configure(printer, "Fax", "Rechnung", refusal));
    ASSERT_TRUE(fake.configure(printer, "Etikettendrucker", "Etiketten 1/2", refusal));
    printOnePage(printer);
    ASSERT_EQ(fake.jobs().size(), 1);
    EXPECT_EQ(fake.jobs()[0].printer, "Etikettendrucker");
    EXPECT_EQ(fake.jobs()[0].outputFile, dir.path() + "/Etiketten 1_2.pdf");
    EXPECT_EQ(head(fake.jobs()[0].outputFile), "%PDF-");
    fake.setCurrentPrinter("Etikettendrucker");
    fake.setCurrentPrinter("Tintlen PDF");
    EXPECT_EQ(fake.currentPrinterHistory(), QStringList({"Etikettendrucker", "Tintlen PDF"}));
}

TEST(FakePrinters, InstanceCanBeReplacedForTests)
{
    QTemporaryDir dir;
    os::FakePrinterService fake(dir.path(), {"Nur dieser"});
    os::PrinterService::setInstance(&fake);
    EXPECT_EQ(&os::PrinterService::instance(), &fake);
    EXPECT_EQ(os::PrinterService::instance().printers().size(), 1);
    os::PrinterService::setInstance(nullptr);
    EXPECT_NE(&os::PrinterService::instance(), &fake);
    const os::FakePrinterService standard;
    EXPECT_EQ(standard.printers().size(), 3);
    EXPECT_TRUE(standard.printers().at(0).builtinPdf);
}

TEST_F(SystemPrinters, OffersTheBuiltinPdfPrinterBesideTheQueues)
{
    os::SystemPrinterService service;
    const QList<os::PrinterInfo> printers = service.printers();
    ASSERT_FALSE(printers.isEmpty());
    EXPECT_EQ(printers[0].name, "Tintlen PDF");
    EXPECT_TRUE(printers[0].builtinPdf);
    EXPECT_EQ(printers.size(), QPrinterInfo::availablePrinterNames().size() + 1);
    EXPECT_TRUE(service.exists("TINTLEN pdf"));
}

TEST_F(SystemPrinters, CurrentPrinterLivesInTheProgramsSettings)
{
    os::SystemPrinterService service;
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    EXPECT_EQ(service.currentPrinter(), systemDefault.isEmpty() ? QString("Tintlen PDF") : systemDefault);
    service.setCurrentPrinter("Tintlen PDF");
    EXPECT_EQ(service.currentPrinter(), "Tintlen PDF");
    EXPECT_EQ(TIniFile(dir.filePath("cfg/settings.ini")).ReadString("Drucker", "Aktuell", ""), "Tintlen PDF");
    EXPECT_EQ(QPrinterInfo::defaultPrinterName(), systemDefault);
}

TEST_F(SystemPrinters, PdfFolderComesFromSettingsOrEnvironment)
{
    TIniFile(dir.filePath("cfg/settings.ini")).WriteString("Drucker", "PdfOrdner", dir.filePath("ausgabe"));
    EXPECT_EQ(os::SystemPrinterService::pdfFolder(), dir.filePath("ausgabe"));
    qputenv("TINTLEN_PDF_DIR", dir.filePath("env").toUtf8());
    EXPECT_EQ(os::SystemPrinterService::pdfFolder(), dir.filePath("env"));
}

TEST_F(SystemPrinters, BuiltinPrinterWritesEachJobIntoANewFile)
{
    qputenv("TINTLEN_PDF_DIR", dir.filePath("pdf").toUtf8());
    os::SystemPrinterService service;
    QPrinter first;
    QString refusal;
    ASSERT_TRUE(service.configure(first, "Tintlen PDF", "Rechnung 4711", refusal));
    printOnePage(first);
    QPrinter second;
    ASSERT_TRUE(service.configure(second, "Tintlen PDF", "Rechnung 4711", refusal));
    printOnePage(second);
    EXPECT_EQ(head(dir.filePath("pdf/Rechnung 4711.pdf")), "%PDF-");
    EXPECT_EQ(head(dir.filePath("pdf/Rechnung 4711 (2).pdf")), "%PDF-");
    QPrinter none;
    EXPECT_FALSE(service.configure(none, "Gibt es nicht", "x", refusal));
}

TEST_F(SystemPrinters, AnUnusablePdfFolderIsRefusedWithTheFolderAndWhy)
{
    QFile(dir.filePath("datei")).open(QIODevice::WriteOnly);
    const struct
    {
        QString folder;
        QString why;
    } cases[] = {
        {dir.filePath("datei"), "An seiner Stelle liegt eine Datei."},
        {dir.filePath("datei/pdf"), "Er fehlt und kann nicht angelegt werden."},
    };
    os::SystemPrinterService service;
    for (const auto &c : cases) {
        qputenv("TINTLEN_PDF_DIR", c.folder.toUtf8());
        QPrinter printer;
        QString refusal;
        EXPECT_FALSE(service.configure(printer, "Tintlen PDF", "Rechnung", refusal));
        EXPECT_EQ(refusal, "Der PDF-Drucker kann nicht in den Ordner \"" + c.folder + "\" schreiben: " + c.why);
    }
}
