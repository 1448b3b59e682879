#pragma once

#include "demo/install/DemoInstallation.h"
#include "platform/os/Paths.h"
#include "platform/os/SystemPrinterService.h"
#include "platform/report/ReportEngine.h"
#include "support/RecordingUiServices.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A demo installation whose default printer is the built-in PDF printer,
// printing into a folder of its own through the real report engine.
class PdfInstallationFixture : public ::testing::Test
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
