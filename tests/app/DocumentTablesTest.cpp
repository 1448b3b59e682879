#include "StartupFixture.h"

#include "app/dbmodul.h"
#include "app/mainmodul.h"
#include "demo/tables/MailProgramData.h"
#include "mail/NCTable.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/os/IniFile.h"

#include <QFile>

TEST(DocumentKindTest, SalesAndPurchaseDocumentsUseTheirOwnTables)
{
    const TDocumentKind &sales = DocumentKindOf("Auftrag");
    EXPECT_EQ(sales.HeadTable, QStringLiteral("Auftrag.db"));
    EXPECT_EQ(sales.HeadPrefix, QStringLiteral("Auftrag"));
    EXPECT_EQ(sales.PositionTable, QStringLiteral("atrpos.db"));
    EXPECT_EQ(sales.PartnerTable, QStringLiteral("Kunden.db"));
    EXPECT_EQ(sales.PartnerPrefix, QStringLiteral("Kunden"));
    EXPECT_EQ(sales.PartnerLabel, QStringLiteral("Kunden"));
    for (const char *module : {"Bestellung", "Mahnung", "auftrag"}) {
        const TDocumentKind &purchase = DocumentKindOf(module);
        EXPECT_EQ(purchase.HeadTable, QStringLiteral("Bestell.db")) << module;
        EXPECT_EQ(purchase.HeadPrefix, QStringLiteral("Bestellung"));
        EXPECT_EQ(purchase.PositionTable, QStringLiteral("bestpos.db"));
        EXPECT_EQ(purchase.PartnerTable, QStringLiteral("Liefer.db"));
        EXPECT_EQ(purchase.PartnerPrefix, QStringLiteral("Lieferant"));
        EXPECT_EQ(purchase.PartnerLabel, QStringLiteral("Lieferanten"));
    }
}

TEST(DocumentKindTest, OnlyDocumentTypesOfTheTwoDocumentModulesHaveAnEmailTab)
{
    for (const char *type : {"Angebot", "Auftragsbest.", "Lieferschein", "Rechnung", "Barrechnung", "Gutschrift"})
        EXPECT_TRUE(HasEmailTab("Auftrag", type)) << type;
    for (const char *type : {"Anfrage", "Bestellung", "Stornierung", "Sonstiges"})
        EXPECT_TRUE(HasEmailTab("Bestellung", type)) << type;
    EXPECT_FALSE(HasEmailTab("Auftrag", "Liste"));
    EXPECT_FALSE(HasEmailTab("Auftrag", "Anfrage"));
    EXPECT_FALSE(HasEmailTab("Bestellung", "Rechnung"));
    EXPECT_FALSE(HasEmailTab("Mahnung", "Anfrage"));
    EXPECT_FALSE(HasEmailTab("Auftrag", "rechnung"));
}

namespace {

class DocumentTablesTest : public StartupFixture
{
protected:
    bool emailTabVisible() { return window().pgcAuswahl->isTabVisible(window().pgcAuswahl->indexOf(window().tsEmail)); }

    QList<TNCTable *> tables()
    {
        const TEmailState &state = EmailState();
        return {state.Kopf, state.Pos, state.Artikel, state.Partner, state.Mitarb};
    }

    QList<bool> openStates()
    {
        QList<bool> states;
        for (const TNCTable *table : tables())
            states << table->Active();
        return states;
    }
};

}

TEST_F(DocumentTablesTest, ASalesDocumentRequestSetsUpTheSalesTablesAndTheEmailTab)
{
    TfrmPrintMan &form = activatedWindow();
    const TEmailState &state = EmailState();
    EXPECT_EQ(state.Kopf->TableName(), QStringLiteral("Auftrag.db"));
    EXPECT_EQ(state.Kopf->Prefix, QStringLiteral("Auftrag"));
    EXPECT_EQ(state.Pos->TableName(), QStringLiteral("atrpos.db"));
    EXPECT_EQ(state.Pos->Prefix, QStringLiteral("Pos"));
    EXPECT_EQ(state.Artikel->Prefix, QStringLiteral("Artikel"));
    EXPECT_EQ(state.Partner->TableName(), QStringLiteral("Kunden.db"));
    EXPECT_EQ(state.Mitarb->TableName(), QStringLiteral("Mitarbei.db"));
    EXPECT_EQ(state.Mitarb->Prefix, QStringLiteral("Mitarb"));
    for (TNCTable *table : tables())
        EXPECT_EQ(table->DatabaseName(), dataFolder());
    EXPECT_TRUE(emailTabVisible());
    EXPECT_EQ(form.tblFormular->RecordCount(), 1);
    EXPECT_EQ(form.tblFormular->FieldByName("Typ")->AsString(), QStringLiteral("Rechnung-eMail"));
    EXPECT_EQ(form.dbgEFormular->model()->index(0, 1).data().toString(), QStringLiteral("Rechnung per E-Mail"));
    EXPECT_FALSE(state.SetupPending);
}

TEST_F(DocumentTablesTest, AModuleWithoutEmailFormsGetsThePurchaseTablesAndNoEmailTab)
{
    writeInit("ToPrint", "Mahnung");
    writeRequest("FormFilterTyp", "Mahnung");
    writeRequest("FormTyp", "L");
    writeRequest("Datenbereich", "E");
    activatedWindow();
    EXPECT_EQ(EmailState().Kopf->TableName(), QStringLiteral("Bestell.db"));
    EXPECT_EQ(EmailState().Partner->Prefix, QStringLiteral("Lieferant"));
    EXPECT_EQ(EmailState().PartnerLabel, QStringLiteral("Lieferanten"));
    EXPECT_FALSE(emailTabVisible());
}

TEST_F(DocumentTablesTest, OnlyTheExactNameOrAListRequestSelectsThePrintTab)
{
    writeInit("Tabsheet", "tintlen");
    writeRequest("FormFilterTyp", "Liste");
    TfrmPrintMan &form = window();
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsEmail);
    EXPECT_EQ(form.btnTintlen->text(), QStringLiteral("E-Mail &senden"));
    activatedWindow();
    EXPECT_FALSE(emailTabVisible());
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsTintlen);
    EXPECT_EQ(form.btnTintlen->text(), QStringLiteral("&Tintlen"));
}

TEST_F(DocumentTablesTest, OpeningTwiceIsReportedAndKeepsTheFirstOpening)
{
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    EXPECT_EQ(openStates(), (QList<bool>{true, true, true, true, true}));
    EXPECT_TRUE(EmailState().TablesOpen);
    const TFormatlist &vocabulary = *EmailState().Formatlist;
    EXPECT_GE(vocabulary.IndexOfQualifiedName("Auftrag_auftragnr"), 0);
    EXPECT_GE(vocabulary.IndexOfQualifiedName("Kunden_Name"), 0);
    EXPECT_GE(vocabulary.IndexOfQualifiedName("Mitarb_Name"), 0);

    EXPECT_FALSE(OpenDocumentTables());
    EXPECT_EQ(services.messageTexts(), QStringList{"Fehler: Die Datenbank wurde ein zweites mal geöffnet"});
    EXPECT_EQ(services.messages().first().icon, ui::MsgIcon::None);
    EXPECT_EQ(openStates(), (QList<bool>{true, true, true, true, true}));

    CloseDocumentTables();
    EXPECT_EQ(openStates(), (QList<bool>{false, false, false, false, false}));
    EXPECT_FALSE(EmailState().TablesOpen);
    CloseDocumentTables();
    EXPECT_EQ(services.messageTexts().last(),
              QStringLiteral("Fehler: Die Datenbank wurde geschlosse, obwohl sie nicht offen war"));
}

TEST_F(DocumentTablesTest, PurchaseDocumentsLeaveTheStaffTableClosed)
{
    writeInit("ToPrint", "Bestellung");
    writeRequest("FormFilterTyp", "Bestellung");
    writeRequest("FormTyp", "L");
    writeRequest("Datenbereich", "M");
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    EXPECT_EQ(openStates(), (QList<bool>{true, true, true, true, false}));
    EXPECT_EQ(EmailState().Kopf->Filter(), QStringLiteral("Mark='J'"));
    EXPECT_TRUE(EmailState().Kopf->Filtered());
    EXPECT_LT(EmailState().Formatlist->IndexOfQualifiedName("Mitarb_Name"), 0);
    CloseDocumentTables();
}

TEST_F(DocumentTablesTest, TheWholeRangeIsFilteredByTheRequestsRecordFilterAlone)
{
    writeRequest("Datenbereich", "A");
    writeRequest("Datenfilter", "kundennr='10001'|qkFilter=Name\tKunde");
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables()) << services.messageTexts().join('|').toStdString();
    TNCTable &head = *EmailState().Kopf;
    EXPECT_EQ(head.Filter(), QStringLiteral("kundennr='10001'"));
    EXPECT_TRUE(head.Filtered());
    ASSERT_GT(head.RecordCount(), 0);
    for (head.First(); !head.Eof(); head.Next())
        EXPECT_EQ(head.FieldByName("kundennr")->AsString(), QStringLiteral("10001"));
    CloseDocumentTables();

    // One record is not filtered.
    restart();
    writeRequest("Datenfilter", "kundennr='10001'");
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    EXPECT_FALSE(EmailState().Kopf->Filtered());
    CloseDocumentTables();
}

TEST_F(DocumentTablesTest, AFailureHalfWayClosesWhatWasOpened)
{
    activatedWindow();
    const QString partners = dataFolder() + "/Kunden.db";
    ASSERT_TRUE(QFile::rename(partners, partners + ".sicher"));
    EXPECT_FALSE(OpenDocumentTables());
    ASSERT_EQ(services.messages().size(), 1);
    EXPECT_TRUE(services.messageTexts().first().startsWith("Datenbankfehler: "));
    EXPECT_EQ(openStates(), (QList<bool>{false, false, false, false, false}));
    EXPECT_FALSE(EmailState().TablesOpen);

    ASSERT_TRUE(QFile::rename(partners + ".sicher", partners));
    EXPECT_TRUE(OpenDocumentTables());
    CloseDocumentTables();
}

TEST_F(DocumentTablesTest, SetUpWhileTheTablesAreOpenOnlyMarksItPending)
{
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    writeInit("ToPrint", "Bestellung");
    writeRequest("FormFilterTyp", "Bestellung");
    SetupDocumentTables();
    EXPECT_TRUE(EmailState().SetupPending);
    EXPECT_EQ(EmailState().Kopf->TableName(), QStringLiteral("Auftrag.db"));
    EXPECT_EQ(EmailRequest().Modul, QStringLiteral("Auftrag"));
    EXPECT_TRUE(EmailState().Kopf->Active());

    CloseDocumentTables();
    SetupDocumentTables();
    EXPECT_FALSE(EmailState().SetupPending);
    EXPECT_EQ(EmailState().Kopf->TableName(), QStringLiteral("Bestell.db"));
}

TEST_F(DocumentTablesTest, WithoutMailProgramThereIsNoUserAndNoOutbox)
{
    writeInit("Standardclient", "0");
    window();
    EXPECT_FALSE(EmailState().KuvertaliaInstalled);
    EXPECT_TRUE(EmailState().UserNr.isEmpty());
    EXPECT_FALSE(EmailState().Outbox);
}

TEST_F(DocumentTablesTest, TheRegisteredMailProgramGivesItsPathsAndCurrentUser)
{
    registerMailProgram();
    writeInit("Standardclient", "0");
    writeInit("Anlagenpfad", path("anlagen"));
    writeInit("E-Mail", "buchhaltung@example.com");
    writeInit("Werbung", "nein");
    window();
    const TEmailState &state = EmailState();
    EXPECT_TRUE(state.KuvertaliaInstalled);
    EXPECT_EQ(state.Kuvertalia.Program, path("kuvertalia"));
    EXPECT_EQ(state.Kuvertalia.Data, path("kuvertalia/Daten"));
    EXPECT_EQ(state.Kuvertalia.MailboxData, path("kuvertalia/Postfach"));
    EXPECT_EQ(state.LastUser, demo::demoMailUser());
    EXPECT_FALSE(state.UserNr.isEmpty());
    EXPECT_TRUE(state.Outbox);
    EXPECT_EQ(state.Anlagenpfad, path("anlagen"));
    EXPECT_EQ(state.FixedRecipient, QStringLiteral("buchhaltung@example.com"));
    EXPECT_TRUE(state.WerbungAus);

    window().close();
    EXPECT_EQ(readInit("Standardclient"), QStringLiteral("0"));
    EXPECT_EQ(readInit("Anlagenpfad"), path("anlagen"));

    // An unknown mail user leaves the number empty.
    restart();
    TIniFile(path("kuvertalia/Benutzer/frm.ini")).WriteString("User", "Lastuser", "Niemand");
    window();
    EXPECT_TRUE(EmailState().KuvertaliaInstalled);
    EXPECT_EQ(EmailState().LastUser, QStringLiteral("Niemand"));
    EXPECT_TRUE(EmailState().UserNr.isEmpty());
}

TEST_F(DocumentTablesTest, AMailProgramIniBesideTheProgramWinsOverTheRegistry)
{
    registerMailProgram();
    QFile::copy(path("kuvertalia/kuvertalia.ini"), programFolder() + "/kuvertalia.ini");
    TIniFile(programFolder() + "/kuvertalia.ini").WriteString("Path", "Data", path("kuvertalia/Daten/"));
    writeInit("Werbung", "Nein");
    window();
    EXPECT_TRUE(EmailState().KuvertaliaInstalled);
    EXPECT_EQ(EmailState().Kuvertalia.Program, programFolder());
    EXPECT_EQ(EmailState().Kuvertalia.Data, path("kuvertalia/Daten"));
    EXPECT_FALSE(EmailState().UserNr.isEmpty());
    EXPECT_FALSE(EmailState().Outbox);
    EXPECT_FALSE(EmailState().WerbungAus);
}

TEST_F(DocumentTablesTest, ClosingTheWindowFreesTheSharedObjects)
{
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    window().close();
    const TEmailState &state = EmailState();
    EXPECT_TRUE(state.Kopf.isNull());
    EXPECT_TRUE(state.Mitarb.isNull());
    EXPECT_EQ(state.Formatlist, nullptr);
    EXPECT_EQ(state.Formular, nullptr);
    EXPECT_FALSE(state.TablesOpen);
    EXPECT_FALSE(window().tblFormular->Active());

    // A late activation finds nothing to set up and does no harm.
    SetupDocumentTables();
    EXPECT_TRUE(state.Kopf.isNull());
}
