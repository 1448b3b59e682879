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
    const auto tablesOf = [](const char *module) {
        const TDocumentKind &kind = DocumentKindOf(module);
        return QStringList{kind.HeadTable,    kind.HeadPrefix,    kind.PositionTable,
                           kind.PartnerTable, kind.PartnerPrefix, kind.PartnerLabel};
    };
    EXPECT_EQ(tablesOf("Auftrag"),
              (QStringList{"Auftrag.db", "Auftrag", "atrpos.db", "Kunden.db", "Kunden", "Kunden"}));
    for (const char *module : {"Bestellung", "Mahnung", "auftrag"})
        EXPECT_EQ(tablesOf(module),
                  (QStringList{"Bestell.db", "Bestellung", "bestpos.db", "Liefer.db", "Lieferant", "Lieferanten"}))
            << module;
}

TEST(DocumentKindTest, OnlyDocumentTypesOfTheTwoDocumentModulesHaveAnEmailTab)
{
    for (const char *type : {"Angebot", "Auftragsbest.", "Lieferschein", "Rechnung", "Barrechnung", "Gutschrift"})
        EXPECT_TRUE(HasEmailTab("Auftrag", type)) << type;
    for (const char *type : {"Anfrage", "Bestellung", "Stornierung", "Sonstiges"})
        EXPECT_TRUE(HasEmailTab("Bestellung", type)) << type;
    for (const auto &[module, type] : {std::pair{"Auftrag", "Liste"},
                                       {"Auftrag", "Anfrage"},
                                       {"Bestellung", "Rechnung"},
                                       {"Mahnung", "Anfrage"},
                                       {"Auftrag", "rechnung"}})
        EXPECT_FALSE(HasEmailTab(module, type)) << module << " " << type;
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

    void requestPurchase(const QString &module, const QString &range)
    {
        writeInit("ToPrint", module);
        writeRequest("FormFilterTyp", module);
        writeRequest("FormTyp", "L");
        writeRequest("Datenbereich", range);
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
    EXPECT_EQ(
        (QStringList{state.Kopf->TableName(), state.Kopf->Prefix, state.Pos->TableName(), state.Pos->Prefix,
                     state.Artikel->Prefix, state.Partner->TableName(), state.Mitarb->TableName(),
                     state.Mitarb->Prefix}),
        (QStringList{"Auftrag.db", "Auftrag", "atrpos.db", "Pos", "Artikel", "Kunden.db", "Mitarbei.db", "Mitarb"}));
    for (TNCTable *table : tables())
        EXPECT_EQ(table->DatabaseName(), dataFolder());
    EXPECT_TRUE(emailTabVisible());
    EXPECT_EQ(form.tblFormular->RecordCount(), 1);
    EXPECT_EQ(form.tblFormular->FieldByName("Typ")->AsString(), "Rechnung-eMail");
    EXPECT_EQ(form.dbgEFormular->model()->index(0, 1).data().toString(), "Rechnung per E-Mail");
    EXPECT_FALSE(state.SetupPending);
}

TEST_F(DocumentTablesTest, AModuleWithoutEmailFormsGetsThePurchaseTablesAndNoEmailTab)
{
    requestPurchase("Mahnung", "E");
    activatedWindow();
    EXPECT_EQ(EmailState().Kopf->TableName(), "Bestell.db");
    EXPECT_EQ(EmailState().Partner->Prefix, "Lieferant");
    EXPECT_EQ(EmailState().PartnerLabel, "Lieferanten");
    EXPECT_FALSE(emailTabVisible());
}

TEST_F(DocumentTablesTest, OnlyTheExactNameOrAListRequestSelectsThePrintTab)
{
    writeInit("Tabsheet", "tintlen");
    writeRequest("FormFilterTyp", "Liste");
    TfrmPrintMan &form = window();
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsEmail);
    EXPECT_EQ(form.btnTintlen->text(), "E-Mail &senden");
    activatedWindow();
    EXPECT_FALSE(emailTabVisible());
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsTintlen);
    EXPECT_EQ(form.btnTintlen->text(), "&Tintlen");
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
    EXPECT_EQ(services.messageTexts().last(), "Fehler: Die Datenbank wurde geschlosse, obwohl sie nicht offen war");
}

TEST_F(DocumentTablesTest, PurchaseDocumentsLeaveTheStaffTableClosed)
{
    requestPurchase("Bestellung", "M");
    activatedWindow();
    ASSERT_TRUE(OpenDocumentTables());
    EXPECT_EQ(openStates(), (QList<bool>{true, true, true, true, false}));
    EXPECT_EQ(EmailState().Kopf->Filter(), "Mark='J'");
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
    EXPECT_EQ(head.Filter(), "kundennr='10001'");
    EXPECT_TRUE(head.Filtered());
    ASSERT_GT(head.RecordCount(), 0);
    for (head.First(); !head.Eof(); head.Next())
        EXPECT_EQ(head.FieldByName("kundennr")->AsString(), "10001");
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
    EXPECT_EQ(EmailState().Kopf->TableName(), "Auftrag.db");
    EXPECT_EQ(EmailRequest().Modul, "Auftrag");
    EXPECT_TRUE(EmailState().Kopf->Active());

    CloseDocumentTables();
    SetupDocumentTables();
    EXPECT_FALSE(EmailState().SetupPending);
    EXPECT_EQ(EmailState().Kopf->TableName(), "Bestell.db");
}

TEST_F(DocumentTablesTest, TheRegisteredMailProgramGivesItsPathsAndCurrentUser)
{
    // Without a mail program there is no user and no outbox.
    writeInit("Standardclient", "0");
    window();
    EXPECT_FALSE(EmailState().KuvertaliaInstalled);
    EXPECT_TRUE(EmailState().UserNr.isEmpty());
    EXPECT_FALSE(EmailState().Outbox);

    restart();
    registerMailProgram();
    writeInit("Standardclient", "0");
    writeInit("Anlagenpfad", path("anlagen"));
    writeInit("E-Mail", "buchhaltung@example.com");
    writeInit("Werbung", "nein");
    window();
    const TEmailState &state = EmailState();
    EXPECT_TRUE(state.KuvertaliaInstalled);
    EXPECT_EQ((QStringList{state.Kuvertalia.Program, state.Kuvertalia.Data, state.Kuvertalia.MailboxData}),
              (QStringList{path("kuvertalia"), path("kuvertalia/Daten"), path("kuvertalia/Postfach")}));
    EXPECT_EQ(state.LastUser, demo::demoMailUser());
    EXPECT_FALSE(state.UserNr.isEmpty());
    EXPECT_TRUE(state.Outbox);
    EXPECT_EQ(state.Anlagenpfad, path("anlagen"));
    EXPECT_EQ(state.FixedRecipient, "buchhaltung@example.com");
    EXPECT_TRUE(state.WerbungAus);

    window().close();
    EXPECT_EQ(readInit("Standardclient"), "0");
    EXPECT_EQ(readInit("Anlagenpfad"), path("anlagen"));

    // An unknown mail user leaves the number empty.
    restart();
    TIniFile(path("kuvertalia/Benutzer/frm.ini")).WriteString("User", "Lastuser", "Niemand");
    window();
    EXPECT_TRUE(EmailState().KuvertaliaInstalled);
    EXPECT_EQ(EmailState().LastUser, "Niemand");
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
