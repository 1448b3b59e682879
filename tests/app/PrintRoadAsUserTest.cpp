#include "StartupFixture.h"

#include "app/Kopieren.h"
#include "app/PrintRequest.h"
#include "app/bearbeitenform.h"
#include "app/mainmodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/help/ApplicationHelp.h"
#include "platform/report/api/ReportCodes.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace {

// What a user meets on the print road: keys typed into the shown window,
// with the recording engine in place of the real one.
class PrintRoadAsUserTest : public RecordingWindowFixture
{
protected:
    int jobsOpened() const { return engine.count(QStringLiteral("LlJobOpen")); }
};

}

TEST_F(PrintRoadAsUserTest, AKeyWhoseJobFailsRunsTheJobOnceAndShowsOneBox)
{
    TfrmPrintMan &w = shownWindow();
    ASSERT_TRUE(QFile::remove(dataFolder() + QStringLiteral("/atrpos.db")));
    // Pressed on a control that passes the key on to its parents.
    QTest::keyClick(w.btnTintlen, Qt::Key_1);
    EXPECT_EQ(services.messages().size(), 1) << services.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_LE(jobsOpened(), 2);
    EXPECT_TRUE(w.ActivationOpen);
}

TEST_F(PrintRoadAsUserTest, AModuleThatDefinesNoFieldsEndsTheJobWithItsMessage)
{
    writeInit(QStringLiteral("ToPrint"), QStringLiteral("Phantasie"));
    for (const auto &[key, value] : {std::pair{"FormFilterTyp", "Liste"}, {"FormTyp", "L"}, {"Datenbereich", "A"}})
        writeRequest(QLatin1String(key), QLatin1String(value));
    TfrmPrintMan &w = shownWindow();
    w.tblForm->Edit();
    w.tblForm->FieldByName(QStringLiteral("DateiErsteSeite"))->SetAsString(QStringLiteral("Kunden_Liste.lst"));
    w.tblForm->Post();
    QTest::keyClick(w.DBGrid1, Qt::Key_1);
    EXPECT_TRUE(services.messageTexts().contains(QStringLiteral("Fehler DefineFields: Modul Phantasie unbekannt")));
    EXPECT_EQ(engine.count(QStringLiteral("LlPrintWithBoxStart")), 0);
    EXPECT_EQ(jobsOpened(), engine.count(QStringLiteral("LlJobClose")));
}

// Without a compiled help file the application's help gets the context.
TEST_F(PrintRoadAsUserTest, F1InEveryWindowReachesTheHelpAsItsHelpButtonDoes)
{
    TfrmPrintMan &w = shownWindow();
    HelpSetting().HtmlHelp = false;
    QList<qintptr> contexts;
    const help::THelpEvent saved = help::ApplicationHelpEvent();
    help::SetApplicationHelpEvent([&](int command, qintptr data, bool &callHelp) {
        EXPECT_EQ(command, help::HELP_CONTEXT);
        contexts.append(data);
        callHelp = false;
        return true;
    });
    QTest::keyClick(w.DBGrid1, Qt::Key_F1);
    w.btnHilfe->click();
    TfrmBearbeiten editDialog(&w);
    TfrmKopieren copyDialog(&w);
    for (QDialog *dialog : {static_cast<QDialog *>(&editDialog), static_cast<QDialog *>(&copyDialog)}) {
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        QTest::keyClick(dialog, Qt::Key_F1);
        dialog->hide();
    }
    help::SetApplicationHelpEvent(saved);
    EXPECT_EQ(contexts, (QList<qintptr>{200, 200, 201, 202}));
}

TEST_F(PrintRoadAsUserTest, TheHelpFileOfTheIniBecomesTheApplicationsHelpFile)
{
    writeInit(QStringLiteral("Hilfedatei"), path(QStringLiteral("programm/tintlen.chm")));
    shownWindow();
    EXPECT_EQ(help::ApplicationHelpFile(), path(QStringLiteral("programm/tintlen.chm")));
    EXPECT_TRUE(HelpSetting().HtmlHelp);
}

// While a job's box is up its loop takes clicks: neither the print button nor
// the e-mail button starts anything then, and the gate opens only when the
// job is over.
TEST_F(PrintRoadAsUserTest, WhileAJobRunsItsBoxesStartNoSecondJobAndKeepTheGateClosed)
{
    TfrmPrintMan &w = shownWindow();
    engine.script(QStringLiteral("LlPrint"), {report::LL_ERR_PRINTING_FAILED});
    bool gateDuringJob = true;
    services.whileBoxIsUp = [&] {
        for (const bool emailTab : {false, true, false}) {
            w.pgcAuswahl->setCurrentWidget(emailTab ? w.tsEmail : w.tsTintlen);
            QTest::mouseClick(w.btnTintlen, Qt::LeftButton);
        }
        gateDuringJob = w.ActivationOpen;
    };
    QTest::keyClick(w.btnTintlen, Qt::Key_1);
    EXPECT_EQ(services.messages().size(), 1) << services.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(gateDuringJob);
    EXPECT_EQ(jobsOpened(), engine.count(QStringLiteral("LlJobClose")));
    EXPECT_TRUE(w.ActivationOpen);
}
