#include "PdfInstallationFixture.h"

#include "app/DruckPrg.h"
#include "app/StoredCriteria.h"
#include "lib/data/Qkfltdlg.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The customer list of the demo installation printed into a PDF for a
// request that carries stored filter criteria.
class StoredCriteriaTest : public PdfInstallationFixture
{
protected:
    void requestCustomerList(const QString &recordFilter)
    {
        TIniFile ini(root.filePath(QStringLiteral("programm/Tintlen.ini")));
        ini.WriteString(QStringLiteral("Init"), QStringLiteral("ToPrint"), QStringLiteral("Kunden"));
        const QList<QPair<QString, QString>> entries = {{"FormFilterTyp", "Liste"},
                                                        {"FormTyp", "L"},
                                                        {"Datenbereich", "A"},
                                                        {"Datensatz", ""},
                                                        {"Datenfilter", recordFilter}};
        for (const auto &[key, value] : entries)
            ini.WriteString(QStringLiteral("Kunden"), key, value);
    }

    // Prints the list with the user's sort key and answers the PDF's text.
    QString printList()
    {
        TfrmPrintMan window;
        window.show();
        window.AppShow();
        QCoreApplication::processEvents();
        QTest::keyClick(window.DBGrid1, Qt::Key_1);
        QString text;
        for (const QString &file : QDir(pdfFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files))
            text += pdfText(QDir(pdfFolder()).filePath(file));
        return text;
    }
};

}

TEST_F(StoredCriteriaTest, ListPrintsOnlyTheCustomersTheStoredCriteriaSelect)
{
    requestCustomerList(QStringLiteral("|qkFilter=Ort,A,m,,,N,N,Name,B,Söhne,,,N,N"));
    const QString text = printList();
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(text.count(QStringLiteral("München")), 2) << text.toStdString();
    for (const char *other : {"Hamburg", "Dresden", "Düsseldorf", "Cottbus", "Berlin", "Wien"})
        EXPECT_FALSE(text.contains(QString::fromUtf8(other))) << other;
}

TEST_F(StoredCriteriaTest, BrokenCriteriaPrintNothingAndSaySo)
{
    requestCustomerList(QStringLiteral("Land = 'D'|qkFilter=Ort,A,M"));
    const QString text = printList();
    EXPECT_TRUE(services.messageTexts().contains(QStringLiteral("loadfilter von Ort,A,M erfolglos")))
        << services.messageTexts().join('|').toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("München")));
    EXPECT_FALSE(text.contains(QStringLiteral("Hamburg")));
}

TEST_F(StoredCriteriaTest, LoaderReadsGroupsOfSevenAndSkipsUnknownFields)
{
    TTable customers;
    customers.SetDatabaseName(root.filePath(QStringLiteral("daten")));
    customers.SetTableName(QStringLiteral("Kunden"));
    customers.Open();
    TDataSource source;
    source.SetDataSet(&customers);
    TqkFilterDialog dialog;
    dialog.SetDataSource(&source);

    ASSERT_TRUE(LoadFilterFields(&dialog, {"Ort", "A", "Hamburg", "", "", "N", "N"}, &customers));
    ASSERT_EQ(dialog.FieldInfo().size(), 1u);
    const TqkFieldInfo &info = *dialog.FieldInfo().front();
    EXPECT_EQ(info.MatchType, fdMatchStart);
    EXPECT_EQ(info.FilterValue, QStringLiteral("Hamburg"));
    EXPECT_TRUE(info.MinValue.isEmpty() && info.MaxValue.isEmpty());
    EXPECT_FALSE(info.CaseSensitive || info.NonMatching);
    EXPECT_EQ(customers.RecordCount(), 1);

    EXPECT_TRUE(LoadFilterFields(
        &dialog, {"Farbe", "A", "rot", "", "", "N", "N", "Ort", "C", "München", "", "", "J", "J"}, &customers));
    EXPECT_EQ(services.messageTexts().last(), QStringLiteral("Feldname Farbe gibt es nicht!"));
    QStringList cities;
    for (customers.First(); !customers.Eof(); customers.Next())
        cities << customers.FieldByName(QStringLiteral("Ort"))->AsString();
    EXPECT_EQ(cities.size(), 6);
    EXPECT_FALSE(cities.contains(QStringLiteral("München")));

    EXPECT_FALSE(LoadFilterFields(&dialog, {"Ort", "A", "x", "", "", "N"}, &customers));
    EXPECT_FALSE(LoadFilterFields(&dialog, {"Farbe", "A", "rot", "", "", "N", "N", "Ort", "A"}, &customers));
    EXPECT_EQ(services.messageTexts().last(), QStringLiteral("Feldname Farbe gibt es nicht!"))
        << "an earlier group's unknown field is named before the incomplete one fails";
    const int named = int(services.messageTexts().size());
    EXPECT_FALSE(LoadFilterFields(&dialog, {"Ort", "A", "x", "", "", "N", "N", "Land", "A"}, &customers));
    EXPECT_EQ(services.messageTexts().size(), named);
    EXPECT_FALSE(LoadFilterFields(&dialog, {"Ort", "G", "x", "", "", "N", "N"}, &customers));
    EXPECT_TRUE(dialog.FieldInfo().empty());
}
