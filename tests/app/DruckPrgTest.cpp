#include "StartupFixture.h"

#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"

#include <QFile>

#include <QSignalSpy>
#include <QTest>

namespace {

using DruckPrgTest = StartupFixture;

}

TEST_F(DruckPrgTest, TheMainWindowLoadsWithItsCaptionsAndTabs)
{
    TfrmPrintMan &form = window();
    ASSERT_EQ(form.pgcAuswahl->count(), 2);
    EXPECT_EQ(form.pgcAuswahl->widget(0), form.tsTintlen);
    EXPECT_EQ(form.pgcAuswahl->widget(1), form.tsEmail);
    EXPECT_TRUE(form.cbxSendeEmail->isChecked());
    EXPECT_FALSE(form.lblAusdrucke->isVisibleTo(&form));
    EXPECT_FALSE(form.edtAnlage->isVisibleTo(&form));
    EXPECT_EQ(form.DBGrid1->columnWidth(1), 210);
    EXPECT_EQ(form.dbgEFormular->columnWidth(1), 266);
}

TEST_F(DruckPrgTest, AltMChoosesTheEmailTabOfTheMainWindow)
{
    TfrmPrintMan &form = activatedWindow();
    QSignalSpy changes(form.pgcAuswahl, &QTabWidget::currentChanged);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsEmail);
    EXPECT_EQ(changes.count(), 1);
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(form.pgcAuswahl->currentWidget(), form.tsTintlen);
}

TEST_F(DruckPrgTest, ShowingFillsBothPrinterListsAndSelectsTheCurrentPrinter)
{
    printers.setCurrentPrinter(QStringLiteral("Laserdrucker Buchhaltung"));
    TfrmPrintMan &form = window();
    form.show();
    const QStringList expected{"Tintlen PDF", "Laserdrucker Buchhaltung an LPT2:", "Etikettendrucker an LPT3:"};
    for (QComboBox *list : {form.lstStdDrucker, form.lstFrmDrucker}) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        EXPECT_EQ(entries, expected);
    }
    EXPECT_EQ(form.lstStdDrucker->currentText(), QStringLiteral("Laserdrucker Buchhaltung an LPT2:"));
    EXPECT_TRUE(form.HandlesActivation());
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(DruckPrgTest, WithoutIniFileTheWindowReportsItAndCloses)
{
    ASSERT_TRUE(QFile::remove(iniPath()));
    TfrmPrintMan &form = window();
    form.show();
    processEvents();
    EXPECT_EQ(services.messageTexts(),
              QStringList{"Tintlen unmöglich: Die Ini-Datei " + iniPath() + " ist nicht vorhanden!"});
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.HandlesActivation());
    EXPECT_EQ(form.lstStdDrucker->count(), 3);
}

TEST_F(DruckPrgTest, GetDruckParaReadsAnyKeyOfTheIniFile)
{
    writeInit("EAN13Prefix", "400");
    EXPECT_EQ(window().GetDruckPara("Init", "EAN13Prefix"), QStringLiteral("400"));
    EXPECT_EQ(window().GetDruckPara("Auftrag", "Datensatz"), QStringLiteral("20260001"));
    EXPECT_EQ(window().GetDruckPara("Auftrag", "fehlt"), QString());
}

TEST(PrinterDisplayTextTest, StoredPrinterEntriesTurnIntoTheListsForm)
{
    EXPECT_EQ(PrinterDisplayText("Laser,winspool,LPT1:"), QStringLiteral("Laser an LPT1:"));
    EXPECT_EQ(PrinterDisplayText("Laser,LPT1:"), QStringLiteral("Laser an LPT1:"));
    EXPECT_EQ(PrinterDisplayText("Laser an LPT1:"), QStringLiteral("Laser an LPT1:"));
    EXPECT_EQ(PrinterDisplayText("Laser,drv,LPT1:,x"), QStringLiteral("Laser an LPT1:,x"));
    EXPECT_EQ(PrinterDisplayText(QString()), QString());
    // Our own PDF printer has no port, however it was stored.
    for (const char *stored : {"Tintlen PDF,Tintlen,PDF", "Tintlen PDF an PDF", "Tintlen PDF", "tintlen pdf an PDF"})
        EXPECT_EQ(PrinterDisplayText(stored).toLower(), QStringLiteral("tintlen pdf")) << stored;
}

TEST_F(DruckPrgTest, TheCurrentFormRowShowsItsPrinterAndOutput)
{
    const auto row = [](const char *sortKey, const char *description, const char *output, const char *printer) {
        return demo::Row{{"Modul", "Auftrag"},         {"Typ", "Rechnung"},      {"Sortierung", sortKey},
                         {"Bezeichnung", description}, {"EtikettListe", output}, {"Treiber", printer}};
    };
    const demo::Rows rows{row("1", "Rechnung", "F", "Laserdrucker Buchhaltung,winspool,LPT2:"),
                          row("2", "Vorschau", "B", "Etikettendrucker an LPT3:"), row("3", "Kopie", "", "")};
    demo::writeTable("Formular.db", dataFolder(), rows);
    TfrmPrintMan &form = activatedWindow();
    EXPECT_TRUE(form.btnFormularDrucker->isChecked());
    EXPECT_EQ(form.lstFrmDrucker->currentText(), QStringLiteral("Laserdrucker Buchhaltung an LPT2:"));

    form.DBGrid1->selectRow(1);
    EXPECT_EQ(form.tblForm->FieldByName("Bezeichnung")->AsString(), QStringLiteral("Vorschau"));
    EXPECT_TRUE(form.btnBildschirm->isChecked());
    EXPECT_EQ(form.lstFrmDrucker->currentText(), QStringLiteral("Etikettendrucker an LPT3:"));

    form.tblForm->Next();
    processEvents();
    EXPECT_EQ(form.DBGrid1->currentIndex().row(), 2);
    EXPECT_TRUE(form.btnStandardDrucker->isChecked());
    EXPECT_EQ(form.lstFrmDrucker->currentIndex(), -1);
}
