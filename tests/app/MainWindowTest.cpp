#include "StartupFixture.h"
#include "WholeCaptions.h"

#include "app/DirDlg.h"
#include "app/PrintRequest.h"
#include "app/bearbeitenform.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailTab.h"
#include "app/mainmodul.h"
#include "mail/formularmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"

#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QTest>

namespace {

// The demo request for invoice 20260001 handled by a shown main window, the
// recording engine in place of the real one.
class MainWindowTest : public RecordingWindowFixture
{
protected:
    TfrmPrintMan &form() { return shownWindow(); }
    QString field(const QString &name) { return form().tblForm->FieldByName(name)->AsString(); }
    void goToSortKey(const QString &key)
    {
        ASSERT_TRUE(form().tblForm->FindKey({QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), key}));
        processEvents();
    }

    static void focus(QWidget *widget, QEvent::Type type)
    {
        QFocusEvent event(type, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }

    int printStarts() const { return engine.count(QStringLiteral("LlPrintWithBoxStart")); }
};

}

TEST_F(MainWindowTest, ASortKeyPrintsItsRowAtOnceAndAltWithADigitOnlySetsTheCopies)
{
    QTest::keyClick(form().DBGrid1, Qt::Key_3, Qt::AltModifier);
    EXPECT_TRUE(engine.calls.isEmpty());
    EXPECT_TRUE(form().lblAusdrucke->isVisibleTo(&form()));
    EXPECT_EQ(form().lblAusdruckAnz->text(), "3");

    QTest::keyClick(form().DBGrid1, Qt::Key_2);
    EXPECT_EQ(field("Bezeichnung"), "Rechnung (Vorschau)");
    EXPECT_TRUE(form().btnBildschirm->isChecked());
    ASSERT_EQ(printStarts(), 1);
    const report::RecordingEngine::Call *start = engine.last(QStringLiteral("LlPrintWithBoxStart"));
    EXPECT_TRUE(start->args.at(2).toString().endsWith(QStringLiteral("/Auftrag_Rechnung")));
    EXPECT_EQ(start->args.at(3).toInt(), 0x200);
    EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDisplay")), 1);
    // The gate is open again for the next request.
    EXPECT_TRUE(form().ActivationOpen);
}

// The window sees every key first, from the printer lists too; only Alt
// alone keeps a digit from printing.
TEST_F(MainWindowTest, SortKeysPrintFromEveryControlOfThePrintTabWithAnyKeysHeldButAltAlone)
{
    const std::tuple<QWidget *, Qt::Key, Qt::KeyboardModifiers, QString> cases[] = {
        {form().DBGrid1, Qt::Key_7, {}, {}},
        {form().lstStdDrucker, Qt::Key_1, {}, "Rechnung"},
        {form().lstFrmDrucker, Qt::Key_2, {}, "Rechnung (Vorschau)"},
        {form().DBGrid1, Qt::Key_1, Qt::ControlModifier, "Rechnung"},
        {form().DBGrid1, Qt::Key_1, Qt::AltModifier | Qt::ShiftModifier, "Rechnung"},
        {form().lstStdDrucker, Qt::Key_1, Qt::AltModifier, {}},
        {form().dbgEFormular, Qt::Key_1, {}, {}},
    };
    for (const auto &[target, key, held, printed] : cases) {
        form().pgcAuswahl->setCurrentWidget(target == form().dbgEFormular ? form().tsEmail : form().tsTintlen);
        goToSortKey(key == Qt::Key_1 ? "2" : "1");
        target->setFocus();
        const int before = printStarts();
        QTest::keyClick(target, key, held);
        EXPECT_EQ(printStarts() > before ? field("Bezeichnung") : QString(), printed)
            << target->objectName().toStdString() << ' ' << key << ' ' << held.toInt();
    }
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(MainWindowTest, AltLAndARightClickOnEditOpenTheDesignerOrTheTemplateEditor)
{
    QTest::keyClick(form().DBGrid1, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(engine.count(QStringLiteral("LlDefineLayout")), 1);
    QTest::mouseClick(form().btnBearb, Qt::RightButton);
    ASSERT_EQ(engine.count(QStringLiteral("LlDefineLayout")), 2);
    EXPECT_TRUE(engine.last(QStringLiteral("LlDefineLayout"))
                    ->args.at(1)
                    .toString()
                    .startsWith(QStringLiteral("Formular-Layout \"Rechnung\"")));
    EXPECT_EQ(printStarts(), 0);

    // On the e-mail tab the right click goes to the template editor.
    form().pgcAuswahl->setCurrentWidget(form().tsEmail);
    QStringList opened;
    SetModalRunner([&](QDialog &shown) {
        opened << shown.windowTitle();
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(form().btnBearb, Qt::RightButton);
    SetModalRunner(nullptr);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith(QStringLiteral("Formular bearbeiten \"Rechnung per E-Mail\" - ")));
    EXPECT_TRUE(services.messageTexts().isEmpty());
    EXPECT_EQ(engine.count(QStringLiteral("LlDefineLayout")), 2);

    // The template editor needs a row with a file name.
    form().tblFormular->Edit();
    form().tblFormular->FieldByName(QStringLiteral("DateiErsteSeite"))->SetAsString(QStringLiteral("."));
    form().tblFormular->Post();
    EditJobForm();
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("Sie müssen einen gültigen Dateinamen angeben.")});
}

TEST_F(MainWindowTest, TheOutputButtonsStoreTheirLetterAndTheFormPrinterStartsAtTheDefaultPrinter)
{
    goToSortKey("1");
    ASSERT_EQ(form().lstFrmDrucker->currentIndex(), -1);
    form().btnBildschirm->click();
    EXPECT_EQ(field("EtikettListe"), "B");
    focus(form().lstStdDrucker, QEvent::FocusIn);
    EXPECT_TRUE(form().btnStandardDrucker->isChecked());
    EXPECT_EQ(field("EtikettListe"), "S");
    EXPECT_EQ(form().tblForm->State(), dsBrowse);
    // An empty form printer list takes the default printer.
    form().btnFormularDrucker->click();
    EXPECT_EQ(field("EtikettListe"), "F");
    EXPECT_EQ(field("Treiber"), "Tintlen PDF");
    EXPECT_EQ(form().lstFrmDrucker->currentText(), "Tintlen PDF");
}

TEST_F(MainWindowTest, LeavingTheFormPrinterListStoresTheChoiceWhichTheOpenGatesShowAgain)
{
    goToSortKey("1");
    const QString stored = field("Treiber");
    focus(form().lstFrmDrucker, QEvent::FocusOut);
    EXPECT_EQ(form().tblForm->State(), dsBrowse);
    EXPECT_EQ(field("Treiber"), stored);

    form().lstFrmDrucker->setCurrentIndex(1);
    focus(form().lstFrmDrucker, QEvent::FocusOut);
    EXPECT_EQ(field("Treiber"), "Laserdrucker Buchhaltung an LPT2:");
    EXPECT_TRUE(form().PrinterDisplayOpen);
    // Another row and back: the stored display form selects the same entry.
    goToSortKey("2");
    goToSortKey("1");
    EXPECT_EQ(form().lstFrmDrucker->currentIndex(), 1);

    // The data-change handler does nothing while either gate is closed.
    for (bool TfrmPrintMan::*gate : {&TfrmPrintMan::ActivationOpen, &TfrmPrintMan::PrinterDisplayOpen}) {
        form().lstFrmDrucker->setCurrentIndex(2);
        form().*gate = false;
        goToSortKey("2");
        goToSortKey("1");
        form().*gate = true;
        EXPECT_EQ(form().lstFrmDrucker->currentIndex(), 2);
    }
    goToSortKey("2");
    goToSortKey("1");
    EXPECT_EQ(form().lstFrmDrucker->currentIndex(), 1);
}

TEST_F(MainWindowTest, ChoosingADefaultPrinterMakesItTheProgramsDefault)
{
    form().lstStdDrucker->setCurrentIndex(1);
    emit form().lstStdDrucker->activated(1);
    EXPECT_EQ(printers.currentPrinter(), "Laserdrucker Buchhaltung");
}

TEST_F(MainWindowTest, CtrlDelInTheGridAsksTwiceAndDeletesTheRow)
{
    goToSortKey("2");
    services.queueAnswer(ui::IDOK);
    services.queueAnswer(ui::IDYES);
    QTest::keyClick(form().DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(services.messageTexts(),
              (QStringList{QStringLiteral("Datensatz löschen?"),
                           QStringLiteral("Formular \"Rechnung (Vorschau)\" wirklich löschen?")}));
    EXPECT_EQ(form().tblForm->RecordCount(), 1);

    // Cancel to either question keeps the row.
    services.clear();
    services.queueAnswer(ui::IDCANCEL);
    QTest::keyClick(form().DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    services.queueAnswer(ui::IDOK);
    services.queueAnswer(ui::IDNO);
    QTest::keyClick(form().DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(services.messages().size(), 3);
    EXPECT_EQ(form().tblForm->RecordCount(), 1);
}

TEST_F(MainWindowTest, AddressEditsTurnSemicolonsIntoCommasAndShowInvalidAddressesRed)
{
    TfrmPrintMan &w = form();
    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    const QColor normal = w.edtCC->palette().color(QPalette::Text);
    QTest::keyClicks(w.edtCC, QStringLiteral("a@b.de;c@d"));
    EXPECT_EQ(w.edtCC->text(), "a@b.de,c@d");
    EXPECT_EQ(w.edtCC->palette().color(QPalette::Text), QColor(Qt::red));
    QTest::keyClicks(w.edtCC, QStringLiteral(".de"));
    EXPECT_EQ(w.edtCC->palette().color(QPalette::Text), normal);
    w.edtBCC->setText(QStringLiteral("#Kunden_EMail#"));
    EXPECT_EQ(w.edtBCC->palette().color(QPalette::Text), normal);

    // The recipient placeholder goes at the first key and comes back when empty.
    w.edtSendTo->setText(EmailAddressPlaceholder);
    EXPECT_EQ(w.edtSendTo->palette().color(QPalette::Text), normal);
    QTest::keyClicks(w.edtSendTo, QStringLiteral("x"));
    EXPECT_EQ(w.edtSendTo->text(), "x");
    EXPECT_EQ(w.edtSendTo->palette().color(QPalette::Text), QColor(Qt::red));
    w.edtSendTo->clear();
    focus(w.edtSendTo, QEvent::FocusOut);
    EXPECT_EQ(w.edtSendTo->text(), EmailAddressPlaceholder);
}

// What the user aims at stays where it is while fields come and go.
TEST_F(MainWindowTest, TheCopiesFieldAndTheAttachmentNameMoveNothingWhenTheyAppear)
{
    TfrmPrintMan &w = form();
    processEvents();
    const QRect output = w.grpAusgabe->geometry();
    const QSize size = w.size();
    QTest::keyClick(w.DBGrid1, Qt::Key_3, Qt::AltModifier);
    processEvents();
    EXPECT_EQ(w.grpAusgabe->geometry(), output);
    EXPECT_EQ(w.size(), size);

    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    processEvents();
    const QSize emailSize = w.size();
    const QRect sendOption = w.cbxSendeEmail->geometry();
    w.cbxAnlage->click();
    processEvents();
    EXPECT_EQ(w.size(), emailSize);
    EXPECT_EQ(w.cbxSendeEmail->geometry(), sendOption);
    // The attachment name is proposed and keeps no folder.
    EXPECT_TRUE(w.edtAnlage->isVisibleTo(&w));
    EXPECT_TRUE(w.lblAnlage->isVisibleTo(&w));
    EXPECT_EQ(w.edtAnlage->text(), "Auftrag.txt");
    w.edtAnlage->setText("C:\\Ablage\\Rechnung.txt");
    EXPECT_EQ(w.edtAnlage->text(), "Rechnung.txt");
    w.cbxAnlage->click();
    EXPECT_FALSE(w.edtAnlage->isVisibleTo(&w));
}

// Both tabs, the e-mail tab also with its attachment name and the mail
// program's longer send caption, show every caption whole. Run once more at
// double scale by its own test entry.
TEST_F(MainWindowTest, EveryButtonLabelAndTabShowsItsWholeText)
{
    registerMailProgram();
    writeInit("Standardclient", "0");
    TfrmPrintMan &w = form();
    expectCaptionsWhole(w, QStringLiteral("hauptfenster-druck"));
    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    processEvents();
    expectCaptionsWhole(w, QStringLiteral("hauptfenster-email"));
    EXPECT_EQ(w.cbxSendeEmail->text(), "in Velmora Kuvertalia eintragen");
    w.cbxAnlage->click();
    processEvents();
    expectCaptionsWhole(w, QStringLiteral("hauptfenster-anlage"));
}

TEST_F(MainWindowTest, TheEmailTabsMainButtonGoesToTheEmailRoad)
{
    TfrmPrintMan &w = form();
    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    EXPECT_EQ(w.btnTintlen->text(), "E-Mail &senden");
    w.btnTintlen->click();
    emit w.dbgEFormular->doubleClicked(w.dbgEFormular->model()->index(0, 0));
    // No template file in the form folder yet: both tries stop at it.
    ASSERT_EQ(services.messageTexts().size(), 2);
    for (const QString &text : services.messageTexts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("Formular- oder Konfigurationsdatei nicht gefunden.")));
    EXPECT_TRUE(w.ActivationOpen);
    EXPECT_EQ(printStarts(), 0);
    w.pgcAuswahl->setCurrentWidget(w.tsTintlen);
    EXPECT_EQ(w.btnTintlen->text(), "&Tintlen");
}

TEST_F(MainWindowTest, EditOpensTheFormEntryDialogOnTheRowOfTheTabWithTheGateClosed)
{
    TfrmPrintMan &w = form();
    QStringList seen;
    SetModalRunner([&](QDialog &shown) {
        auto *entryDialog = dynamic_cast<TfrmBearbeiten *>(&shown);
        if (!entryDialog) {
            seen << shown.windowTitle().section(QLatin1Char('"'), 0, 1);
            return int(QDialog::Rejected);
        }
        auto &dialog = *entryDialog;
        seen << QStringLiteral("%1 %2 %3")
                    .arg(w.ActivationOpen ? QStringLiteral("offen") : QStringLiteral("zu"),
                         dialog.dbEdtAusdr->isVisibleTo(&dialog) ? QStringLiteral("Druck") : QStringLiteral("E-Mail"),
                         dialog.dbedtBez->text());
        dialog.btnBearbeiten->click();
        return int(QDialog::Rejected);
    });
    w.btnBearb->click();
    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    w.btnBearb->click();
    SetModalRunner(nullptr);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("zu Druck Rechnung"), QStringLiteral("zu E-Mail Rechnung per E-Mail"),
                                 QStringLiteral("Formular bearbeiten \"Rechnung per E-Mail")}));
    // The dialog's own button led to the designer and to the template editor.
    EXPECT_EQ(engine.count(QStringLiteral("LlDefineLayout")), 1);
    EXPECT_TRUE(services.messageTexts().isEmpty());
    EXPECT_TRUE(w.ActivationOpen);
    EXPECT_EQ(w.tblForm->State(), dsBrowse);
}

TEST_F(MainWindowTest, TheEmailTabShowsTheHeaderOfTheCurrentTemplate)
{
    TFormular header;
    header.SendTo = QStringLiteral("#Kunden_EMail#");
    header.CC = QStringLiteral("buchhaltung@firma.de");
    header.Betreff = QStringLiteral("Ihre Rechnung");
    header.AlsAnlageSenden = true;
    header.SaveToFile(path(QStringLiteral("formulare/Auftrag_Rechnung.frm")));
    TfrmPrintMan &w = form();
    w.pgcAuswahl->setCurrentWidget(w.tsEmail);
    EXPECT_EQ(w.edtSendTo->text(), "#Kunden_EMail#");
    EXPECT_EQ(w.edtCC->text(), "buchhaltung@firma.de");
    EXPECT_EQ(w.edtBetreff->text(), "Ihre Rechnung");
    EXPECT_TRUE(w.cbxAnlage->isChecked());
    EXPECT_TRUE(w.edtAnlage->isVisibleTo(&w));
    EXPECT_EQ(w.edtAnlage->text(), "Auftrag.txt");
    // The request names one document, so contacts can be picked.
    EXPECT_TRUE(w.btnSendadd->isVisibleTo(&w));
    EXPECT_EQ(w.cbxSendeEmail->text(), "an Standard E-Mail Programm senden");

    EmailState().FixedRecipient = QStringLiteral("zentrale@firma.de");
    EmailState().Outbox = true;
    ShowEmailHeader();
    EmailState().FixedRecipient.clear();
    EmailState().Outbox = false;
    EXPECT_EQ(w.edtSendTo->text(), "zentrale@firma.de");
    EXPECT_EQ(w.cbxSendeEmail->text(), "in Velmora Kuvertalia eintragen");

    // Without a template row the header is empty.
    const QVariantList none{QStringLiteral("Auftrag"), QStringLiteral("Liste-eMail")};
    w.tblFormular->SetRange(none, none);
    ShowEmailHeader();
    EXPECT_TRUE(w.edtCC->text().isEmpty());
    EXPECT_TRUE(w.edtSendTo->text().isEmpty());
}

TEST_F(MainWindowTest, AnActivationDuringAPrintJobIsIgnored)
{
    TfrmPrintMan &w = form();
    goToSortKey("1");
    w.tblForm->Edit();
    w.tblForm->FieldByName(QStringLiteral("DateiErsteSeite"))->SetAsString(QString());
    w.tblForm->Post();
    bool gateDuringJob = true;
    services.whileBoxIsUp = [&] {
        gateDuringJob = w.ActivationOpen;
        w.AppShow();
    };
    w.btnTintlen->click();
    EXPECT_FALSE(gateDuringJob);
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("Es wurde kein Formular-Dateiname eingegeben!")});
    EXPECT_TRUE(w.ActivationOpen);
}
