#include "app/DruckPrg.h"
#include "demo/install/DemoInstallation.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/os/SystemPrinterService.h"
#include "platform/report/ReportEngine.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The whole road as a user takes it: the demo installation asks for the
// invoice of the demo order, the user presses the invoice's sort key, and
// the built-in PDF printer writes the invoice through the real engine.
class PrintManEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        m_savedPdfFolder = qgetenv("TINTLEN_PDF_DIR");
        qputenv("TINTLEN_PDF_DIR", pdfFolder().toUtf8());
        demo::buildInstallation(root.path(), QString());
        os::setExecutableFolder(root.filePath(QStringLiteral("programm")));
        os::PrinterService::setInstance(&printers);
        printers.setCurrentPrinter(os::SystemPrinterService::BuiltinPdfName);
        report::setEngine(nullptr);
    }

    void TearDown() override
    {
        os::PrinterService::setInstance(nullptr);
        os::setExecutableFolder(QString());
        qputenv("TINTLEN_PDF_DIR", m_savedPdfFolder);
    }

    QString pdfFolder() const { return root.filePath(QStringLiteral("pdf")); }

    static QString pdfText(const QString &file)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        if (!pdftotext.waitForFinished(20000))
            return QString();
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    QTemporaryDir root;
    ui::ScopedRecordingUiServices services;
    os::SystemPrinterService printers;

private:
    QByteArray m_savedPdfFolder;
};

}

TEST_F(PrintManEndToEndTest, TheInvoicesSortKeyPrintsTheDemoInvoiceIntoAPdf)
{
    TfrmPrintMan window;
    window.show();
    window.AppShow();
    QCoreApplication::processEvents();
    ASSERT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    ASSERT_EQ(window.lstStdDrucker->currentText(), QStringLiteral("Tintlen PDF an PDF"));

    QTest::keyClick(window.DBGrid1, Qt::Key_1);

    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(window.tblForm->FieldByName(QStringLiteral("Bezeichnung"))->AsString(), QStringLiteral("Rechnung"));
    const QStringList files = QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    // The invoice row asks for the original and a copy: one print job each.
    ASSERT_EQ(files.size(), 2) << files.join('|').toStdString();
    for (const QString &file : files) {
        const QString text = pdfText(QDir(pdfFolder()).filePath(file));
        EXPECT_TRUE(text.contains(QStringLiteral("Rechnungs-Nr.:"))) << text.left(2000).toStdString();
        EXPECT_TRUE(text.contains(demo::demoOrderNumber)) << text.left(2000).toStdString();
    }
}
