#include "StartupFixture.h"

#include "app/PrintRequest.h"
#include "app/mainmodul.h"

TEST(RequestRulesTest, ThePrintSideTakesOneApostropheFromEachEndTheEmailSideEvery)
{
    const QList<QPair<QString, QString>> printSide = {
        {"'20260001'", "20260001"}, {"''7''", "'7'"}, {"'7", "7"}, {"7'", "7"}, {"'", ""}, {"''", ""},
        {"O'Neill", "O'Neill"}};
    for (const auto &[stored, key] : printSide)
        EXPECT_EQ(StripOneApostrophe(stored), key) << stored.toStdString();
    const QList<QPair<QString, QString>> emailSide = {{"''7''", "7"}, {"'", ""}, {"'''", ""}, {"'O'Neill'", "O'Neill"}};
    for (const auto &[stored, key] : emailSide)
        EXPECT_EQ(StripAllApostrophes(stored), key) << stored.toStdString();
}

// The request roads below show the usual splits; only the first marker counts.
TEST(RequestRulesTest, StoredCriteriaAreCutOffBehindTheFirstMarker)
{
    EXPECT_EQ(SplitStoredFilter("a|qkFilter=b|qkFilter=c").FilterDefinition, QStringLiteral("b|qkFilter=c"));
}

namespace {

using RequestTest = StartupFixture;

}

TEST_F(RequestTest, ThePrintSideKeepsTheKeysAndTheFilterApart)
{
    writeRequest("Datensatz", "''20260001''");
    writeRequest("Datensatz1", "'20260009'");
    writeRequest("Datenfilter", "kundennr='10001'|qkFilter=Name\tKunde");
    writeRequest("Datenindex", "ATRKUNNR");
    activatedWindow();
    const TPrintRequest &request = PrintRequest();
    EXPECT_EQ(request.FormFilterTyp, QStringLiteral("Rechnung"));
    EXPECT_EQ(request.FormTyp, QStringLiteral("L"));
    EXPECT_EQ(request.Datenbereich, QStringLiteral("E"));
    EXPECT_EQ(request.Datensatz, QStringLiteral("'20260001'"));
    EXPECT_EQ(request.Datensatz1, QStringLiteral("20260009"));
    EXPECT_EQ(request.Datenfilter, QStringLiteral("kundennr='10001'"));
    EXPECT_EQ(request.FilterDefinition, QStringLiteral("Name\tKunde"));
    EXPECT_EQ(request.Datenindex, QStringLiteral("ATRKUNNR"));

    // The next request without stored criteria leaves none behind.
    writeRequest("Datenfilter", "|qkFilter=Name");
    window().AppShow();
    EXPECT_TRUE(PrintRequest().Datenfilter.isEmpty());
    EXPECT_EQ(PrintRequest().FilterDefinition, QStringLiteral("Name"));
    writeRequest("Datenfilter", "mark='J'");
    window().AppShow();
    EXPECT_EQ(PrintRequest().Datenfilter, QStringLiteral("mark='J'"));
    EXPECT_TRUE(PrintRequest().FilterDefinition.isEmpty());
}

TEST_F(RequestTest, TheEmailSideReadsItsOwnCopy)
{
    writeRequest("Datensatz", "''20260001''");
    writeRequest("Datenfilter", "kundennr='10001'|qkFilter=Name");
    ReadPrintRequest();
    const TEmailRequest &request = EmailRequest();
    EXPECT_EQ(request.Modul, QStringLiteral("Auftrag"));
    EXPECT_EQ(request.FormFilterTyp, QStringLiteral("Rechnung"));
    EXPECT_EQ(request.FormTyp, QStringLiteral("L"));
    EXPECT_EQ(request.Datensatz, QStringLiteral("20260001"));
    EXPECT_EQ(request.Datenfilter, QStringLiteral("kundennr='10001'"));
    EXPECT_TRUE(request.IstAuftrag);
    EXPECT_TRUE(request.Einzeln);

    writeInit("ToPrint", "Bestellung");
    writeRequest("Datenbereich", "M");
    writeRequest("Datensatz", "'");
    ReadPrintRequest();
    EXPECT_FALSE(EmailRequest().IstAuftrag);
    EXPECT_FALSE(EmailRequest().Einzeln);
    EXPECT_TRUE(EmailRequest().Datensatz.isEmpty());
}

TEST_F(RequestTest, TheEmailSidesPathsLoseTheirTrailingSeparator)
{
    writeInit("DatenPfad", dataFolder() + "/");
    writeInit("FormularPfad", "C:\\Suite\\Formulare\\");
    ReadDataPaths();
    EXPECT_EQ(EmailPaths().DatenPfad, dataFolder());
    EXPECT_EQ(EmailPaths().FormularPfad, QStringLiteral("C:\\Suite\\Formulare"));
}

TEST_F(RequestTest, OnlyACompiledHelpFileCountsAsHtmlHelp)
{
    writeInit("Hilfedatei", "C:\\Suite\\Hilfe\\Tintlen.CHM");
    ReadHelpFile();
    EXPECT_EQ(HelpSetting().HelpFile, QStringLiteral("C:\\Suite\\Hilfe\\Tintlen.CHM"));
    EXPECT_TRUE(HelpSetting().HtmlHelp);

    writeInit("Hilfedatei", "C:\\Suite.chm\\Hilfe");
    ReadHelpFile();
    EXPECT_FALSE(HelpSetting().HtmlHelp);

    writeInit("Hilfedatei", QString());
    ReadHelpFile();
    EXPECT_EQ(HelpSetting().HelpFile, QStringLiteral("C:\\Suite.chm\\Hilfe"));
}
