#include "StartupFixture.h"

#include "app/PrintRequest.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/IniFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

class AppShowTest : public StartupFixture
{
protected:
    QStringList formDescriptions()
    {
        QStringList descriptions;
        const QAbstractItemModel *model = window().DBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            descriptions << model->index(row, 1).data().toString();
        return descriptions;
    }

    // Checks one refused request: exactly the one message, the window closed
    // and the gate left closed, so nothing more is handled.
    void expectRefusal(const QString &message)
    {
        TfrmPrintMan &form = window();
        form.show();
        form.AppShow();
        ASSERT_EQ(services.messageTexts(), QStringList{message});
        EXPECT_EQ(services.messages().first().icon, ui::MsgIcon::Stop);
        EXPECT_TRUE(services.messages().first().caption.isEmpty());
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.ActivationOpen);
        form.AppShow();
        EXPECT_EQ(services.messages().size(), 1);
    }

    const QString formPathHint =
        QStringLiteral("\r\n\r\nRufen Sie \"Einstellungen/Installation\" auf, um dort den Formular-Pfad einzustellen!");
};

}

TEST_F(AppShowTest, ListsTheFormsOfTheRequestedModuleAndType)
{
    TfrmPrintMan &form = activatedWindow();
    EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(formDescriptions(), (QStringList{"Rechnung", "Rechnung (Vorschau)"}));
    EXPECT_EQ(form.DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Sort."));
    EXPECT_EQ(form.tblForm->FieldByName("Sortierung")->AsString(), QStringLiteral("1"));
    EXPECT_TRUE(form.ActivationOpen);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tintlen"));
    EXPECT_EQ(PrintRequest().Modul, QStringLiteral("Auftrag"));
    EXPECT_EQ(PrintRequest().Datensatz, QStringLiteral("20260001"));
}

TEST_F(AppShowTest, EachActivationReadsTheRequestAgain)
{
    activatedWindow();
    writeInit("ToPrint", "Bestellung");
    writeRequest("FormFilterTyp", "Bestellung");
    writeRequest("FormTyp", "L");
    writeRequest("Datenbereich", "E");
    window().AppShow();
    processEvents();
    EXPECT_EQ(formDescriptions(), QStringList{"Bestellung"});
    EXPECT_EQ(PrintRequest().Modul, QStringLiteral("Bestellung"));
}

TEST_F(AppShowTest, EachRefusedRequestNamesOnlyTheFirstFailingCheck)
{
    // Each case also breaks what is checked after its own check: only the
    // first failing one may speak.
    struct Edit
    {
        bool init;
        QString key;
        QString value;
    };
    const QString hint = formPathHint;
    const struct
    {
        QList<Edit> edits;
        QString message;
    } cases[] = {
        {{{true, "FormularPfad", {}}, {true, "DatenPfad", {}}, {true, "UserPfad", {}}, {true, "ToPrint", {}}},
         "Der Pfad, in dem sich die Formulare befinden, wurde nicht angegeben!" + hint},
        {{{true, "DatenPfad", {}}, {true, "UserPfad", {}}}, "Datenpfad wurde nicht angegeben!"},
        {{{true, "UserPfad", {}}, {true, "FormularPfad", path("nirgends")}}, "UserPfad wurde nicht angegeben!"},
        {{{true, "FormularPfad", path("nirgends")}, {true, "DatenPfad", path("auch-nicht")}},
         "Der Pfad, in dem sich die Formulare befinden sollen, ist nicht vorhanden:\r\n" + path("nirgends") + hint},
        {{{true, "DatenPfad", path("auch-nicht")}}, "Daten-Pfad ist nicht vorhanden: " + path("auch-nicht")},
        {{{true, "DatenPfad", path("formulare")}, {true, "ToPrint", {}}},
         "Formular.db ist nicht vorhanden im Verzeichnis " + path("formulare")},
        {{{true, "DatenPfad", path("ordner-statt-tabelle")}, {true, "ToPrint", {}}},
         "Im Verzeichnis " + path("ordner-statt-tabelle")
             + " ist Formular.db ein Ordner, keine Tabelle. Benennen Sie den Ordner um und holen Sie die Datei "
               "Formular.db aus einer Sicherung zurück."},
        {{{true, "ToPrint", {}}}, "Es wurde kein Druckbereich angegeben!"},
        {{{false, "FormFilterTyp", {}}, {false, "FormTyp", {}}}, "Zu Auftrag wurde kein FormFilterTyp angegeben!"},
        {{{false, "FormTyp", {}}, {false, "Datenbereich", {}}}, "Zu Auftrag wurde kein FormTyp angegeben!"},
        {{{false, "Datenbereich", {}}}, "Zu Auftrag wurde kein Datenbereich angegeben!"},
    };
    for (const auto &refusal : cases) {
        SCOPED_TRACE(refusal.message.toStdString());
        restart();
        QDir().mkpath(path("ordner-statt-tabelle/Formular.db"));
        for (const Edit &edit : refusal.edits)
            edit.init ? writeInit(edit.key, edit.value) : writeRequest(edit.key, edit.value);
        expectRefusal(refusal.message);
    }
}

TEST_F(AppShowTest, TheFormTableFollowsTheDataPathAsWritten)
{
    writeInit("DatenPfad", dataFolder() + "/");
    TfrmPrintMan &form = activatedWindow();
    EXPECT_EQ(form.tblForm->DatabaseName(), dataFolder() + "/");
    EXPECT_EQ(ProgramPaths().DatenPfad, dataFolder() + "/");

    // Another data folder with its own form table: the table moves there.
    QDir().mkpath(path("zweite"));
    ASSERT_TRUE(QFile::copy(dataFolder() + "/Formular.db", path("zweite/Formular.db")));
    writeInit("DatenPfad", path("zweite"));
    form.AppShow();
    EXPECT_EQ(form.tblForm->DatabaseName(), path("zweite"));
    EXPECT_EQ(ProgramPaths().DatenPfad, path("zweite") + "/");
    EXPECT_TRUE(form.tblForm->Active());
}

TEST_F(AppShowTest, FormDataAndUserPathGetASeparatorTheOthersStayAsWritten)
{
    writeInit("FormularPfad", path("formulare") + "/");
    writeInit("Datenpfad_QRB", path("qrb"));
    activatedWindow();
    EXPECT_EQ(ProgramPaths().FormularPfad, path("formulare") + "/");
    EXPECT_EQ(ProgramPaths().DatenPfad, dataFolder() + "/");
    EXPECT_EQ(ProgramPaths().UserPfad, path("benutzer") + "/");
    EXPECT_EQ(ProgramPaths().TempPfad, path("temp"));
    EXPECT_EQ(ProgramPaths().DatenpfadQRB, path("qrb"));
}

TEST_F(AppShowTest, ARequestWithoutFormRowsGetsExactlyOneNewRowAndIgnoresActivationsMeanwhile)
{
    writeInit("ToPrint", "Kunden");
    writeRequest("FormFilterTyp", "Rundschreiben");
    writeRequest("FormTyp", "L");
    writeRequest("Datenbereich", "A");
    TfrmPrintMan &form = window();
    form.show();
    bool gateWhileBoxIsUp = true;
    services.whileBoxIsUp = [&] {
        gateWhileBoxIsUp = form.ActivationOpen;
        form.AppShow();
    };
    form.AppShow();
    EXPECT_FALSE(gateWhileBoxIsUp);
    EXPECT_TRUE(form.ActivationOpen);
    ASSERT_EQ(services.messageTexts(),
              QStringList{"Es wird jetzt ein neuer leerer Formulareintrag angelegt, da noch keiner für diesen "
                          "Druckbereich vorhanden ist!"});
    EXPECT_EQ(services.messages().first().icon, ui::MsgIcon::Stop);
    EXPECT_EQ(form.tblForm->RecordCount(), 1);
    EXPECT_EQ(form.tblForm->FieldByName("Modul")->AsString(), QStringLiteral("Kunden"));
    EXPECT_EQ(form.tblForm->FieldByName("Typ")->AsString(), QStringLiteral("Rundschreiben"));
    EXPECT_EQ(form.tblForm->FieldByName("Sortierung")->AsString(), QStringLiteral("1"));
    processEvents();
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 1);

    services.whileBoxIsUp = nullptr;
    form.AppShow();
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_EQ(form.tblForm->RecordCount(), 1);
}

TEST_F(AppShowTest, AnActivationThatFailsLeavesTheProgramListeningForTheNextOne)
{
    // A form table without its key opens, but its rows cannot be chosen.
    const QString formTable = dataFolder() + "/Formular.db";
    ASSERT_EQ(QProcess::execute("sqlite3", {formTable, "DROP INDEX \"$PRIMARY\""}), 0);

    TfrmPrintMan &form = window();
    form.show();
    for (int activation = 1; activation <= 2; ++activation) {
        SCOPED_TRACE(activation);
        EXPECT_ANY_THROW(form.AppShow());
        EXPECT_TRUE(form.ActivationOpen);
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(AppShowTest, WindowBehaviourIsTickedByJaAndNeverUnticked)
{
    writeInit("Schliessen", "Ja");
    writeInit("InDenHintergrund", "nein");
    TfrmPrintMan &form = activatedWindow();
    EXPECT_TRUE(form.btnFensterSchliessen->isChecked());
    EXPECT_FALSE(form.btnFensterHintergrund->isChecked());

    TIniFile(iniPath()).DeleteKey("Init", "Schliessen");
    writeInit("InDenHintergrund", "JA");
    form.AppShow();
    EXPECT_TRUE(form.btnFensterSchliessen->isChecked());
    EXPECT_TRUE(form.btnFensterHintergrund->isChecked());

    writeInit("Schliessen", "nein");
    form.AppShow();
    EXPECT_TRUE(form.btnFensterSchliessen->isChecked());
}

TEST_F(AppShowTest, ClosingWritesTheWindowBehaviourAndTheEmailSettings)
{
    writeInit("Tabsheet", "Email");
    TfrmPrintMan &form = activatedWindow();
    form.btnFensterSchliessen->setChecked(true);
    form.btnFensterHintergrund->setChecked(false);
    form.cbxVorschau->setChecked(true);
    QTest::mouseClick(form.btnAbbruch, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readInit("Schliessen"), QStringLiteral("ja"));
    EXPECT_EQ(readInit("InDenHintergrund"), QStringLiteral("nein"));
    EXPECT_EQ(readInit("Tabsheet"), QStringLiteral("Email"));
    EXPECT_EQ(readInit("Standardclient"), QStringLiteral("1"));
    EXPECT_EQ(readInit("eMailVorschau"), QStringLiteral("1"));
    EXPECT_EQ(readInit("Anlagenpfad"), QString());
}

TEST_F(AppShowTest, TheDemosFormPrinterRowShowsItsPrinterFromTheList)
{
    writeRequest("FormFilterTyp", "Lieferschein");
    TfrmPrintMan &form = activatedWindow();
    ASSERT_EQ(formDescriptions(), QStringList{"Lieferschein"});
    EXPECT_TRUE(form.btnFormularDrucker->isChecked());
    EXPECT_EQ(form.lstFrmDrucker->currentText(), QStringLiteral("Tintlen PDF"));
}
