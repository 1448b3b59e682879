#include "PdfInstallationFixture.h"

#include "app/DruckPrg.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The whole road as a user takes it: the demo installation asks for the
// invoice of the demo order, the user presses the invoice's sort key, and
// the built-in PDF printer writes the invoice through the real engine.
class PrintManEndToEndTest : public PdfInstallationFixture
{
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
