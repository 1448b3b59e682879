#include "../DirDlgScript.h"
#include "../StartupFixture.h"

#include "app/dbmodul.h"
#include "app/emailroad/EmailEditor.h"
#include "app/mainmodul.h"
#include "demo/install/MailTemplates.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/TextFile.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <vector>

namespace {

class EmailEditorTest : public StartupFixture
{
protected:
    QString fileName;

    void SetUp() override
    {
        StartupFixture::SetUp();
        TfrmPrintMan &w = activatedWindow();
        w.pgcAuswahl->setCurrentWidget(w.tsEmail);
        fileName = path("formulare/") + w.tblFormular->FieldByName("DateiErsteSeite")->AsString();
        TFormular formular;
        formular.SendTo = "kunde@example.org";
        formular.MaxTabellenzeilen = 12;
        formular.Section(fsDokumentanfang) = {"Rechnung #Auftrag_auftragnr"};
        formular.Section(fsTabelleneintrag) = {"erste", "zweite", "dritte Zeile"};
        formular.SaveToFile(fileName);
    }

    // Opens the editor; `work` plays the user's part while it is up.
    void edit(const std::function<void(TfrmEdit &)> &work, int errorSection = -1, int errorLine = 0)
    {
        DialogScript script;
        script.then([&](QDialog &dialog) { work(dynamic_cast<TfrmEdit &>(dialog)); });
        TemplateEditor().EditFormular(fileName, "Rechnung per E-Mail", errorSection, errorLine);
        EXPECT_TRUE(script.finished());
        EXPECT_FALSE(EmailState().TablesOpen);
    }

    static QTreeWidgetItem *node(TfrmEdit &editor, const QString &top, const QString &text)
    {
        const QList<QTreeWidgetItem *> found = editor.tvwFelder->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        for (QTreeWidgetItem *item : found) {
            QTreeWidgetItem *root = item;
            while (root->parent())
                root = root->parent();
            if (root->text(0) == top)
                return item;
        }
        return nullptr;
    }

    static void insert(TfrmEdit &editor, QWidget *target, const QString &top, const QString &text)
    {
        QTest::mouseClick(target, Qt::LeftButton);
        QTreeWidgetItem *item = node(editor, top, text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        editor.tvwFelder->setCurrentItem(item);
        editor.btnFeldInsert->click();
    }
};

}

TEST_F(EmailEditorTest, InsertRulesFollowTheSectionsAndTheHeaderEdits)
{
    edit([&](TfrmEdit &editor) {
        EXPECT_EQ(editor.windowTitle(), "Formular bearbeiten \"Rechnung per E-Mail\" - " + fileName);
        EXPECT_EQ(editor.edtSendTo->text(), "kunde@example.org");
        EXPECT_TRUE(editor.cbxMaxtabellenzeilen->isChecked());
        EXPECT_EQ(editor.memDocanf->toPlainText(), "Rechnung #Auftrag_auftragnr");
        for (const char *top : {"Befehle", "Felder", "Variablen"})
            EXPECT_EQ(editor.tvwFelder->findItems(top, Qt::MatchExactly).size(), 1) << top;
        EXPECT_NE(node(editor, "Variablen", "Übertrag"), nullptr);

        services.clear();
        editor.pgcFormular->setCurrentIndex(1);
        insert(editor, editor.memDocanf, "Felder", "Bezeichnung");
        EXPECT_EQ(services.messageTexts(), QStringList({"Feldtyp ist nicht in diesem Bereich einfügbar"}));
        editor.pgcFormular->setCurrentIndex(3);
        editor.memTab->moveCursor(QTextCursor::End);
        insert(editor, editor.memTab, "Felder", "Name");
        EXPECT_TRUE(editor.memTab->toPlainText().endsWith("dritte Zeile#Kunden_Name"));
        editor.pgcFormular->setCurrentIndex(0);
        insert(editor, editor.edtSendTo, "Felder", "EMail");
        EXPECT_EQ(editor.edtSendTo->text(), "kunde@example.org,#Kunden_EMail");
        services.clear();
        insert(editor, editor.edtBetreff, "Befehle", "Wenn");
        insert(editor, editor.edtCC, "Felder", "menge");
        EXPECT_EQ(services.messageTexts(), QStringList({"Befehle lassen sich nicht in eimen Eingabefeld verwenden",
                                                        "Feldtyp ist nicht in diesem Eingabefeld einfügbar"}));
        editor.btnOk->click();
    });
    TFormular saved;
    ASSERT_TRUE(saved.LoadFromFile(fileName));
    EXPECT_EQ(saved.SendTo, "kunde@example.org,#Kunden_EMail");
    EXPECT_EQ(saved.Section(fsTabelleneintrag).last(), "dritte Zeile#Kunden_Name");
}

TEST_F(EmailEditorTest, HeaderSettingsAreSavedAsTheyAreShown)
{
    edit([](TfrmEdit &editor) {
        editor.edtMaxtabellenzeilen->setText("7");
        editor.cbxMaxtabellenzeilen->setChecked(false);
        EXPECT_FALSE(editor.edtMaxtabellenzeilen->isVisibleTo(&editor));
        editor.edtCC->setText("a@b.de;c@d");
        EXPECT_EQ(editor.edtCC->text(), "a@b.de,c@d");
        EXPECT_EQ(editor.edtCC->palette().color(QPalette::Text), QColor(255, 0, 0));
        editor.edtCC->setText("a@b.de,c@d.de");
        EXPECT_NE(editor.edtCC->palette().color(QPalette::Text), QColor(255, 0, 0));
        editor.comSpeicherninOrdner->setCurrentIndex(1);
        editor.cbxAnlage->setChecked(true);
        editor.edtAnlage->setText("rechnung.txt");
        editor.btnOk->click();
    });
    TFormular saved;
    ASSERT_TRUE(saved.LoadFromFile(fileName));
    EXPECT_EQ(saved.MaxTabellenzeilen, 0);
    EXPECT_EQ(saved.CC, "a@b.de,c@d.de");
    EXPECT_FALSE(saved.SpeichernInGesendet);
    EXPECT_TRUE(saved.AlsAnlageSenden);
    EXPECT_EQ(saved.Anlagename, "rechnung.txt");
}

// The demo's "Formularanfang" is one empty line; a no-break space is a
// character of its own.
TEST_F(EmailEditorTest, OkWithoutAChangeWritesTheTemplateBackAsItWasRead)
{
    demo::writeMailTemplates(path("formulare"));
    TFormular read;
    ASSERT_TRUE(read.LoadFromFile(fileName));
    read.Section(fsFormularende) << QString("Zahlbar\u00a0sofort");
    read.SaveToFile(fileName);
    const QString before = ReadTextFile(NormalizedFormularName(fileName)).text;
    edit([](TfrmEdit &editor) { editor.btnOk->click(); });
    EXPECT_EQ(ReadTextFile(NormalizedFormularName(fileName)).text, before);
}

// A line the file cannot keep, or a file where the folder should be, is
// told while the window stays open with every edit, to be mended there.
TEST_F(EmailEditorTest, WhatCannotBeSavedIsToldInTheOpenWindowAndMendedThere)
{
    for (const QString line : {"Gruß an Łukasz Dvořák", "!Betreff Notiz"}) {
        edit([&](TfrmEdit &editor) {
            editor.edtCC->setText("chef@example.org");
            editor.memVorgabe->setPlainText(line);
            services.clear();
            editor.btnOk->click();
            EXPECT_TRUE(services.messageTexts().value(0).contains("Die Zeile \"" + line + "\" im Bereich"));
            EXPECT_TRUE(editor.isVisible());
            editor.memVorgabe->setPlainText("Gruß an Lukasz");
            editor.btnOk->click();
        });
        TFormular saved;
        ASSERT_TRUE(saved.LoadFromFile(fileName));
        EXPECT_EQ(saved.CC + '|' + saved.Section(fsFormularvorgaben).join('|'), "chef@example.org|Gruß an Lukasz");
    }
    fileName = NormalizedFormularName(fileName) + "/neu";
    edit([&](TfrmEdit &editor) {
        editor.btnOk->click();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_TRUE(services.messageTexts().last().contains("kann nicht geschrieben werden"));
        editor.btnCancel->click();
    });
}

TEST_F(EmailEditorTest, TheSubFolderShowsOnlyWhenMailsGoIntoTheMailProgramsOutbox)
{
    const bool installed = EmailState().KuvertaliaInstalled;
    EmailState().KuvertaliaInstalled = true;
    for (const bool outbox : {false, true}) {
        EmailState().Outbox = outbox;
        edit([outbox](TfrmEdit &editor) {
            editor.comSpeicherninOrdner->setCurrentIndex(1);
            editor.comSpeicherninOrdner->setCurrentIndex(0);
            ASSERT_EQ(editor.comSpeicherninOrdner->currentText(), "Gesendet");
            EXPECT_EQ(editor.edtSpeicherninOrdner->isVisibleTo(&editor), outbox);
            EXPECT_EQ(editor.lblBackslash->isVisibleTo(&editor), outbox);
            editor.btnOk->click();
        });
    }
    EmailState().Outbox = false;
    EmailState().KuvertaliaInstalled = installed;
}

TEST_F(EmailEditorTest, AnErrorPositionOpensItsPageAndLineAndEveryWayOutAsksOnlyAfterAChange)
{
    // The cancel button, Escape in the memo, and closing the window.
    const std::vector<std::pair<const char *, std::function<void(TfrmEdit &)>>> waysOut{
        {"cancel", [](TfrmEdit &editor) { editor.btnCancel->click(); }},
        {"escape", [](TfrmEdit &editor) { QTest::keyClick(editor.memTab, Qt::Key_Escape); }},
        {"close", [](TfrmEdit &editor) { editor.close(); }}};
    for (const auto &[name, leave] : waysOut) {
        SCOPED_TRACE(name);
        edit(
            [&](TfrmEdit &editor) {
                EXPECT_EQ(editor.pgcFormular->currentIndex(), 3);
                EXPECT_EQ(editor.memTab->textCursor().blockNumber(), 2);
                EXPECT_EQ(editor.memTab->textCursor().positionInBlock(), 0);
                services.clear();
                editor.memTab->setPlainText("geändert");
                services.queueAnswer(ui::IDNO);
                leave(editor);
                EXPECT_TRUE(editor.isVisible());
                EXPECT_EQ(editor.memTab->toPlainText(), "geändert");
                services.queueAnswer(ui::IDYES);
                leave(editor);
                ASSERT_EQ(services.messages().size(), 2);
                EXPECT_EQ(services.messages()[0].text,
                          "Wollen Sie wirklich Abbrechen?\rDas Formular wird dann nicht gespeichert!");
                EXPECT_EQ(services.messages()[0].caption, "Bestätigen");
            },
            fsTabelleneintrag, 3);
        TFormular saved;
        ASSERT_TRUE(saved.LoadFromFile(fileName));
        EXPECT_EQ(saved.Section(fsTabelleneintrag).first(), "erste");
    }
}

TEST_F(EmailEditorTest, ANewTemplateCarriesTheAdvertisementUnlessTheSettingSaysNo)
{
    ASSERT_TRUE(QFile::remove(NormalizedFormularName(fileName)));
    edit([](TfrmEdit &editor) {
        EXPECT_TRUE(editor.memDocende->toPlainText().contains(AdvertisementLines().first()));
        editor.btnCancel->click();
    });
    EmailState().WerbungAus = true;
    edit([](TfrmEdit &editor) {
        EXPECT_FALSE(editor.memDocende->toPlainText().contains(AdvertisementLines().first()));
        editor.btnCancel->click();
    });
}

// The stored form of the path keeps the suite's "\"; the title shows the
// system's separator. Names of the tree are never cut without a way to read
// them: a tooltip, and the column grows into a horizontal scroll bar.
TEST_F(EmailEditorTest, TheTitleShowsTheSystemsSeparatorAndTheTreeNeverHidesAName)
{
    const QString stored = path("formulare") + "\\" + QFileInfo(fileName).fileName();
    DialogScript script;
    script.then([&](QDialog &dialog) {
        auto &editor = dynamic_cast<TfrmEdit &>(dialog);
        EXPECT_EQ(editor.windowTitle(), "Formular bearbeiten \"Rechnung per E-Mail\" - " + fileName);
        EXPECT_FALSE(editor.windowTitle().contains('\\'));
        editor.tvwFelder->expandAll();
        QTreeWidgetItem *longest = node(editor, "Variablen", "Übertrag");
        ASSERT_NE(longest, nullptr);
        EXPECT_EQ(longest->toolTip(0), "Übertrag");
        editor.resize(400, 300);
        editor.tvwFelder->resize(60, 200);
        QCoreApplication::processEvents();
        EXPECT_EQ(editor.tvwFelder->header()->sectionResizeMode(0), QHeaderView::ResizeToContents);
        EXPECT_GT(editor.tvwFelder->header()->sectionSize(0), editor.tvwFelder->viewport()->width());
        EXPECT_GT(editor.tvwFelder->horizontalScrollBar()->maximum(), 0);
        editor.btnCancel->click();
    });
    TemplateEditor().EditFormular(stored, "Rechnung per E-Mail", -1, 0);
    EXPECT_TRUE(script.finished());
}
