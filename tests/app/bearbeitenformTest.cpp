#include "app/bearbeitenform.h"
#include "DirDlgScript.h"
#include "WholeCaptions.h"

#include "app/Kopieren.h"
#include "app/PrintRequest.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/mainmodul.h"
#include "demo/layouts/DemoLayouts.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/report/LayoutFile.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString invalidFileName = QStringLiteral("Bitte einen gültigen Dateinamen angeben");
const char *const invoiceRemark = "Original und Kopie für die Buchhaltung";

// One stored form row: sort key, description, file, copies, remark.
using StoredRow = QStringList;

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, text);
}

// The user's part at the copy dialog: the new name typed, OK pressed.
void copyAs(QDialog &dialog, const QString &name)
{
    auto &copy = dynamic_cast<TfrmKopieren &>(dialog);
    typeText(copy.edtNeuername, name);
    copy.btnOk->click();
}

DialogScript::Step copyAs(const QString &name)
{
    return [name](QDialog &dialog) { copyAs(dialog, name); };
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class BearbeitenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        dataFolder = folder.filePath(QStringLiteral("daten"));
        formFolder = folder.filePath(QStringLiteral("formulare"));
        ASSERT_TRUE(QDir().mkpath(dataFolder));
        ASSERT_TRUE(QDir().mkpath(formFolder));
        demo::writeTable(QStringLiteral("Formular.db"), dataFolder);
        request(QStringLiteral("Rechnung"), QStringLiteral("L"));
        ProgramPaths().FormularPfad = formFolder + QLatin1Char('/');
        table.SetDatabaseName(dataFolder);
        table.SetTableName(QStringLiteral("FORMULAR.DB"));
        source.SetDataSet(&table);
        EmailPaths().FormularPfad = formFolder;
        mailProgram(false, false, QString());
    }

    void TearDown() override
    {
        PrintRequest() = TPrintRequest();
        ProgramPaths() = TProgramPaths();
        EmailPaths() = TEmailPaths();
        mailProgram(false, false, QString());
        EmailDefaultDecimals().clear();
        EXPECT_TRUE(user.finished()) << "the script expected another dialog";
    }

    // The mail program's part of the shared e-mail state.
    static void mailProgram(bool installed, bool outbox, const QString &attachmentFolder)
    {
        TEmailState &state = EmailState();
        state.KuvertaliaInstalled = installed;
        state.Outbox = outbox;
        state.Anlagenpfad = attachmentFolder;
    }

    static void request(const QString &formType, const QString &kind)
    {
        TPrintRequest &request = PrintRequest();
        request.Modul = QStringLiteral("Auftrag");
        request.FormFilterTyp = formType;
        request.FormTyp = kind;
    }

    void openRange(const QString &type)
    {
        if (!table.Active())
            table.Open();
        table.SetRange({QStringLiteral("Auftrag"), type}, {QStringLiteral("Auftrag"), type});
        table.First();
    }

    bool editJob(int mode, const QString &type = QStringLiteral("Rechnung"))
    {
        openRange(type);
        return form.EditJob(&table, &source, mode);
    }
    bool editPrint() { return editJob(TfrmBearbeiten::ModePrint); }
    bool editEmail() { return editJob(TfrmBearbeiten::ModeEmail, QStringLiteral("Rechnung-eMail")); }

    // The rows of a range as another reader of the table file sees them.
    QList<StoredRow> stored(const QString &type = QStringLiteral("Rechnung")) const
    {
        TTable reader;
        reader.SetDatabaseName(dataFolder);
        reader.SetTableName(QStringLiteral("Formular.db"));
        reader.Open();
        reader.SetRange({QStringLiteral("Auftrag"), type}, {QStringLiteral("Auftrag"), type});
        QList<StoredRow> rows;
        for (reader.First(); !reader.Eof(); reader.Next()) {
            StoredRow row;
            for (const char *field : {"Sortierung", "Bezeichnung", "DateiErsteSeite", "Ausdrucke", "Bemerkung"})
                row << reader.FieldByName(QString::fromLatin1(field))->AsString();
            rows << row;
        }
        return rows;
    }

    QString formFile(const QString &name) const { return formFolder + QLatin1Char('/') + name; }

    // The invoice layout of the demo under the row's name, with the printer
    // chosen for it in its companion file.
    void writeInvoiceLayout(const QString &baseName)
    {
        ASSERT_TRUE(report::saveLayout(formFile(baseName + QStringLiteral(".lst")), demo::invoiceLayout()));
        ASSERT_TRUE(
            report::setLayoutPrinter(formFile(baseName + QStringLiteral(".lst")), QStringLiteral("Tintlen PDF")));
    }

    void useRows(const demo::Rows &rows)
    {
        table.Close();
        demo::writeTable(QStringLiteral("Formular.db"), dataFolder, rows);
    }

    static demo::Row row(const QString &type, const QString &sortKey, const QString &file = QStringLiteral("rechnung"))
    {
        return {{"Modul", "Auftrag"},
                {"Typ", type},
                {"Sortierung", sortKey},
                {"Bezeichnung", "Form " + sortKey},
                {"DateiErsteSeite", file}};
    }

    bool pageShown(QWidget *page) const { return form.pgcBearbeiten->isTabVisible(form.pgcBearbeiten->indexOf(page)); }

    ui::ScopedRecordingUiServices ui;
    QTemporaryDir folder;
    QString dataFolder;
    QString formFolder;
    DialogScript user;
    TTable table;
    TDataSource source;
    TfrmBearbeiten form;
};

}

TEST_F(BearbeitenTest, ThePrintViewEditsTheCurrentRowAndOkStoresIt)
{
    user.then([this](QDialog &dialog) {
        EXPECT_EQ(table.State(), dsEdit);
        EXPECT_EQ(dialog.focusWidget(), form.dbedtBez);
        EXPECT_EQ(form.dbedtDatei->text(), "Auftrag_Rechnung");
        EXPECT_EQ(form.pgcBearbeiten->currentWidget(), form.tsVerwaltung);
        EXPECT_FALSE(pageShown(form.tsEmail));
        EXPECT_TRUE(form.spbtnAusdr->isVisible());
        retype(form.dbedtBez, "Rechnung Entwurf mit einer sehr langen Bezeichnung");
        EXPECT_EQ(form.dbedtBez->text(), "Rechnung Entwurf mit einer sehr langen Bezeichnung");
        retype(form.dbedtBez, "Rechnung Entwurf");
        retype(form.dbedtDatei, "C:\\Formulare\\Entwurf.LST");
        EXPECT_EQ(form.dbedtDatei->text(), "Entwurf");
        retype(form.dbEdtBem, "nur intern");
        retype(form.dbEdtAusdr, "3");
        // A sort key that is taken keeps the dialog open until it is changed.
        retype(form.dbedtSort, "2");
        form.btnOk->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Schlüsselverletzung."});
        EXPECT_EQ(ui.messages().value(0).icon, ui::MsgIcon::Stop);
        ASSERT_TRUE(dialog.isVisible());
        ui.clear();
        retype(form.dbedtSort, "5");
        form.btnOk->click();
    });
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(user.opened(), QStringList{"Bearbeiten"});
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(stored(), (QList<StoredRow>{{"2", "Rechnung (Vorschau)", "Auftrag_Rechnung", "1", invoiceRemark},
                                          {"5", "Rechnung Entwurf", "Entwurf", "3", "nur intern"}}));
    EXPECT_TRUE(EmailDefaultDecimals().isEmpty());
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(BearbeitenTest, CancelOrClosingTheWindowRestoresTheRowAndTheEmailSettings)
{
    const QList<StoredRow> before = stored();
    user.then([this](QDialog &) {
        retype(form.dbedtBez, "verworfen");
        form.btnAbbruch->click();
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.FieldByName(QStringLiteral("Bezeichnung"))->AsString(), "Rechnung");
    user.then([this](QDialog &) { retype(form.dbEdtBem, "verworfen"); });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(stored(), before);

    mailProgram(true, false, folder.path());
    user.then([this](QDialog &) {
        form.rbMailProgram->click();
        form.edtAnlagepfad->setText(dataFolder);
        form.edtFormat->setText(QStringLiteral("4"));
        form.btnAbbruch->click();
    });
    EXPECT_FALSE(editEmail());
    EXPECT_FALSE(EmailState().Outbox);
    EXPECT_EQ(EmailState().Anlagenpfad, folder.path());
    EXPECT_TRUE(EmailDefaultDecimals().isEmpty());
}

TEST_F(BearbeitenTest, EveryButtonThatNeedsAFileNameChecksIt)
{
    int layoutCalls = 0;
    form.Layout = [&] { ++layoutCalls; };
    const QList<StoredRow> before = stored();
    user.then([&](QDialog &dialog) {
        for (const QString &name : {QString(), QStringLiteral(".rechnung"), QStringLiteral("rechnung.")}) {
            retype(form.dbedtDatei, name);
            for (QPushButton *button : {form.btnOk, form.btnNeu, form.btnCopy, form.btnBearbeiten}) {
                ui.clear();
                form.btnOk->setFocus();
                button->click();
                const QString layoutRefusal = QStringLiteral("Sie müssen einen gültigen Dateinamen angeben.");
                EXPECT_EQ(ui.messageTexts(),
                          QStringList{button == form.btnBearbeiten ? layoutRefusal : invalidFileName});
                EXPECT_EQ(dialog.focusWidget(), form.dbedtDatei);
                EXPECT_EQ(table.State(), dsEdit);
            }
        }
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(layoutCalls, 0);
    EXPECT_EQ(stored(), before);
}

TEST_F(BearbeitenTest, CopiesStayBetweenOneAndWhatTheFieldHolds)
{
    QStringList shown;
    user.then([&](QDialog &) {
        const auto click = [&](QAbstractButton *button) {
            button->click();
            shown << form.dbEdtAusdr->text();
        };
        click(form.spbtnAusdrUp);
        form.spbtnAusdrDown->click();
        click(form.spbtnAusdrDown);
        click(form.spbtnAusdrDown);
        retype(form.dbEdtAusdr, QString());
        click(form.spbtnAusdrUp);
        retype(form.dbEdtAusdr, "99999");
        click(form.spbtnAusdrUp);
        retype(form.dbEdtAusdr, "32767");
        click(form.spbtnAusdrUp);
        form.btnOk->click();
    });
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(shown, (QStringList{"3", "1", "1", "1", "99999", "32767"}));
    EXPECT_EQ(ui.messageTexts(), QStringList{"Bitte bei \"Ausdrucke\" eine ganze Zahl von 1 bis 32767 eingeben."});
    EXPECT_EQ(stored().at(0).at(3), "32767");
}

// What the row cannot hold is neither cut nor stored: every button that
// stores the row names the field and what it takes, and the typed text stays
// to be corrected.
TEST_F(BearbeitenTest, TypedValuesTheRowCannotHoldAreRefusedAndStayToBeCorrected)
{
    const QString copies = QStringLiteral("Bitte bei \"Ausdrucke\" eine ganze Zahl von 1 bis 32767 eingeben.");
    const struct
    {
        QLineEdit *edit;
        QString typed;
        QString message;
    } cases[] = {{form.dbEdtAusdr, "99999999", copies},
                 {form.dbEdtAusdr, "-3", copies},
                 {form.dbEdtAusdr, "0", copies},
                 {form.dbEdtAusdr, "$A", copies},
                 {form.dbedtSort, "xyz", "Bitte bei \"Sortierung\" höchstens 2 Zeichen eingeben."},
                 {form.dbedtBez, QString(31, 'B'), "Bitte bei \"Bezeichnung\" höchstens 30 Zeichen eingeben."}};
    const QList<StoredRow> before = stored();
    user.then([&](QDialog &dialog) {
        for (const auto &c : cases) {
            retype(c.edit, c.typed);
            for (QPushButton *button : {form.btnOk, form.btnNeu, form.btnCopy}) {
                ui.clear();
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(ui.messageTexts(), QStringList{c.message}) << c.typed.toStdString();
                EXPECT_TRUE(dialog.isVisible() && dialog.focusWidget() == c.edit && c.edit->text() == c.typed);
            }
            EXPECT_EQ(stored(), before);
            retype(c.edit, "7");
        }
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    });
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(stored().at(1), (StoredRow{"7", "7", "Auftrag_Rechnung", "7", invoiceRemark}));
}

TEST_F(BearbeitenTest, ANewFormFollowsTheHighestNumberThatIsANumber)
{
    user.then([this](QDialog &) {
        retype(form.dbedtBez, "Rechnung geändert");
        form.btnNeu->click();
        EXPECT_EQ(table.State(), dsInsert);
        EXPECT_EQ(form.dbedtSort->text(), "3");
        EXPECT_TRUE(form.dbedtBez->text().isEmpty());
        retype(form.dbedtBez, "Rechnung neu");
        retype(form.dbedtDatei, "rechnung_neu");
        form.btnOk->click();
    });
    EXPECT_TRUE(editPrint());
    const QList<StoredRow> rows = stored();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).at(1), "Rechnung geändert");
    EXPECT_EQ(rows.at(2), (StoredRow{"3", "Rechnung neu", "rechnung_neu", "", ""}));

    // Sort keys of letters or with blanks inside are not counted.
    useRows({row("Rechnung", "1"), row("Rechnung", "B"), row("Rechnung", " 4"), row("Rechnung", "9B"),
             row("Rechnung", "1 "), row("Rechnungen", "8")});
    user.then([this](QDialog &) {
        form.btnNeu->click();
        EXPECT_EQ(form.dbedtSort->text(), "5");
    });
    EXPECT_FALSE(editPrint());
}

TEST_F(BearbeitenTest, AnEmptyRangeGetsRowOneOfTheRequestInEitherView)
{
    request(QStringLiteral("Sammelrechnung"), QStringLiteral("L"));
    user.then([this](QDialog &) {
        EXPECT_EQ(table.State(), dsInsert);
        EXPECT_EQ(form.dbedtSort->text(), "1");
        form.btnAbbruch->click();
    });
    EXPECT_FALSE(editJob(TfrmBearbeiten::ModePrint, QStringLiteral("Sammelrechnung")));
    EXPECT_TRUE(stored("Sammelrechnung").isEmpty());

    for (const QString type : {"Sammelrechnung", "Sammelrechnung-eMail"}) {
        user.then([this](QDialog &) {
            retype(form.dbedtDatei, "sammel");
            form.btnOk->click();
        });
        EXPECT_TRUE(editJob(type.endsWith("eMail") ? TfrmBearbeiten::ModeEmail : TfrmBearbeiten::ModePrint, type));
        EXPECT_EQ(stored(type), (QList<StoredRow>{{"1", "", "sammel", "", ""}}));
    }
}

TEST_F(BearbeitenTest, TheMainWindowsDeleteEventDecidesAboutRowAndFiles)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    bool refuse = true;
    // Stands in for the main window's delete event, which asks and deletes
    // the layout files with the row.
    table.SetBeforeDelete([&](TDataSet *) {
        if (refuse)
            throw EAbort(QStringLiteral("Abbruch"));
        DeleteFiles(formFile("Auftrag_Rechnung.l*"));
    });
    // A refused deletion neither stores nor loses what was typed.
    user.then([this](QDialog &) {
        retype(form.dbedtBez, "Rechnung neu");
        form.btnDelete->click();
        EXPECT_EQ(table.State(), dsEdit);
        EXPECT_EQ(form.dbedtBez->text(), "Rechnung neu");
        EXPECT_TRUE(QFile::exists(formFile("Auftrag_Rechnung.lst")));
        EXPECT_EQ(stored().value(0).value(1), "Rechnung");
        form.btnOk->click();
    });
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(stored().value(0).value(1), "Rechnung neu");

    refuse = false;
    user.then([&](QDialog &) {
        form.btnDelete->click();
        EXPECT_EQ(table.State(), dsEdit);
        EXPECT_EQ(form.dbedtBez->text(), "Rechnung (Vorschau)");
        form.btnOk->click();
    });
    EXPECT_TRUE(editPrint());
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(stored(), (QList<StoredRow>{{"2", "Rechnung (Vorschau)", "Auftrag_Rechnung", "1", invoiceRemark}}));
    EXPECT_TRUE(QDir(formFolder).entryList(QDir::Files).isEmpty());

    // Deleting the last row leaves one new row.
    user.then([this](QDialog &) {
        form.btnDelete->click();
        EXPECT_EQ(table.State(), dsInsert);
        EXPECT_EQ(form.dbedtSort->text(), "1");
        form.btnAbbruch->click();
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(ui.messageTexts(), QStringList{"Da keine weiteren Datensätze mehr vorhanden waren, \rwurde ein neuer "
                                             "angelegt.\rSie können diesen Datensatz löschen, in dem Sie das \r"
                                             "Bearbeiten-Fenster durch Abbruch verlassen."});
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(BearbeitenTest, CopyingAListCopiesItsLayoutAndCompanionsAndAddsARow)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    writeFile(formFile("Auftrag_Rechnung.txt"), "Notiz");
    writeInvoiceLayout("Auftrag_Rechnung2");
    TfrmKopieren programsDialog;
    QString original;
    user.then([this](QDialog &) {
        retype(form.dbEdtBem, "für den Export");
        form.btnCopy->click();
        EXPECT_EQ(table.State(), dsInsert);
        EXPECT_EQ(form.dbedtDatei->text(), "Rechnung_Export");
        form.btnOk->click();
    });
    user.then([&](QDialog &dialog) {
        EXPECT_EQ(&dialog, &programsDialog);
        original = programsDialog.lblOriginal->text();
        copyAs(dialog, "Rechnung_Export");
    });
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(user.opened(), (QStringList{"Bearbeiten", "Formular kopieren"}));
    EXPECT_EQ(original, "Auftrag_Rechnung");
    EXPECT_EQ(ui.messageTexts(), QStringList{"Formular wurde erfolgreich kopiert!"});
    EXPECT_EQ(QDir(formFolder).entryList({QStringLiteral("Rechnung_Export*")}, QDir::Files),
              (QStringList{"Rechnung_Export.lsp", "Rechnung_Export.lst"}));
    for (const QString extension : {".lst", ".lsp"})
        EXPECT_EQ(contentOf(formFile("Rechnung_Export" + extension)),
                  contentOf(formFile("Auftrag_Rechnung" + extension)));
    EXPECT_EQ(report::layoutPrinter(formFile("Rechnung_Export.lst")), "Tintlen PDF");
    EXPECT_EQ(stored(), (QList<StoredRow>{
                            {"1", "Rechnung", "Auftrag_Rechnung", "2", "für den Export"},
                            {"2", "Rechnung (Vorschau)", "Auftrag_Rechnung", "1", invoiceRemark},
                            {"3", "Rechnung", "Rechnung_Export", "2", "für den Export"},
                        }));
}

// The spin buttons of the copies share their field's line: attached to its
// right edge and, one above the other, exactly as tall as the field.
TEST_F(BearbeitenTest, TheCopiesSpinButtonsSitBesideTheirFieldAtItsHeight)
{
    user.then([this](QDialog &) {
        const QRect field = form.dbEdtAusdr->geometry();
        const QRect spin = form.spbtnAusdr->geometry();
        EXPECT_EQ(spin.top(), field.top());
        EXPECT_EQ(spin.height(), field.height());
        EXPECT_EQ(spin.left(), field.right() + 1);
        EXPECT_EQ(form.spbtnAusdrUp->height() + form.spbtnAusdrDown->height(), field.height());
        const QString shot = qEnvironmentVariable("TINTLEN_SCREENSHOTS");
        if (!shot.isEmpty())
            form.grab().save(shot + QStringLiteral("/bearbeiten.png"));
        form.btnAbbruch->click();
    });
    EXPECT_FALSE(editPrint());
}

// Every caption of the dialog shows its whole text as soon as it opens: no
// button, label or tab is narrower or lower than its text needs, on every
// page of either view, also when the view changes between two openings.
// Run once more at double scale by its own test entry.
TEST_F(BearbeitenTest, EveryButtonLabelAndTabShowsItsWholeText)
{
    // The views in the order a user may open them: each shows other pages.
    const struct
    {
        int mode;
        bool mailProgram;
    } views[] = {{TfrmBearbeiten::ModePrint, false},
                 {TfrmBearbeiten::ModeEmail, false},
                 {TfrmBearbeiten::ModeEmail, true},
                 {TfrmBearbeiten::ModePrint, true}};
    for (const auto &[mode, installed] : views) {
        mailProgram(installed, false, folder.path());
        user.then([&, mode, installed](QDialog &) {
            for (int page = 0; page < form.pgcBearbeiten->count(); ++page) {
                if (!form.pgcBearbeiten->isTabVisible(page))
                    continue;
                form.pgcBearbeiten->setCurrentIndex(page);
                expectCaptionsWhole(form, QStringLiteral("bearbeiten-%1-%2-%3").arg(mode).arg(installed).arg(page));
            }
            form.btnAbbruch->click();
        });
        EXPECT_FALSE(editJob(mode, mode == TfrmBearbeiten::ModeEmail ? QStringLiteral("Rechnung-eMail")
                                                                     : QStringLiteral("Rechnung")));
    }
}

// "Abbruch" after a copy drops the copy's row and with it the files the
// copy wrote.
TEST_F(BearbeitenTest, CancellingACopyRemovesTheFilesItWrote)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    user.then([this](QDialog &) {
        form.btnCopy->click();
        EXPECT_TRUE(QFile::exists(formFile("Rechnung_Export.lst")));
        form.btnAbbruch->click();
    });
    user.then(copyAs("Rechnung_Export"));
    EXPECT_FALSE(editPrint());
    EXPECT_TRUE(QDir(formFolder).entryList({QStringLiteral("Rechnung_Export*")}, QDir::Files).isEmpty());
    EXPECT_EQ(stored().size(), 2);
}

TEST_F(BearbeitenTest, TheCopysNameFitsItsRowAndALayoutNamedWithItsFolderIsCopiedFromThere)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    const QString longName = QStringLiteral("Rechnung_mit_Zahlschein_und_Lastschriftmandat");
    user.then([this](QDialog &) {
        form.btnCopy->click();
        form.btnOk->click();
    });
    user.then(copyAs(longName));
    EXPECT_TRUE(editPrint());
    const QString storedName = stored().value(2).value(2);
    EXPECT_EQ(storedName, longName.left(40));
    EXPECT_TRUE(QFile::exists(formFile(storedName + QStringLiteral(".lst"))));

    ui.clear();
    // A short folder, so that the name fits the field with its folder.
    const QTemporaryDir shortFolder(QStringLiteral("/tmp/f.XXXXXX"));
    ASSERT_TRUE(shortFolder.isValid());
    const QString elsewhere = shortFolder.path();
    ASSERT_TRUE(report::saveLayout(elsewhere + QStringLiteral("/sonder.lst"), demo::invoiceLayout()));
    useRows({row("Rechnung", "1", elsewhere + QStringLiteral("/sonder"))});
    user.then([this](QDialog &) {
        form.btnCopy->click();
        form.btnOk->click();
    });
    user.then(copyAs("sonder"));
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(ui.messageTexts(), QStringList{"Formular wurde erfolgreich kopiert!"});
    EXPECT_EQ(contentOf(formFile("sonder.lst")), contentOf(elsewhere + QStringLiteral("/sonder.lst")));
}

TEST_F(BearbeitenTest, CopyingOverAnExistingFormIsAskedFirst)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    writeFile(formFile("Gutschrift.lst"), "alte Gutschrift");
    user.then([this](QDialog &) {
        form.btnCopy->click();
        EXPECT_EQ(table.State(), dsEdit);
        form.btnCopy->click();
        form.btnOk->click();
    });
    user.then([&](QDialog &dialog) {
        copyAs(dialog, "Gutschrift");
        EXPECT_TRUE(dialog.isVisible());
    });
    user.then([&](QDialog &dialog) {
        ui.queueAnswer(ui::IDYES);
        copyAs(dialog, "Gutschrift");
    });
    ASSERT_TRUE(editPrint());
    const QString question =
        "Ein Formular mit dem Namen Gutschrift ist bereits vorhanden.\r\nSoll es überschrieben werden?";
    EXPECT_EQ(ui.messageTexts(), (QStringList{question, question, "Formular wurde erfolgreich kopiert!"}));
    EXPECT_EQ(contentOf(formFile("Gutschrift.lst")), contentOf(formFile("Auftrag_Rechnung.lst")));
    EXPECT_EQ(stored().size(), 3);
    EXPECT_EQ(QDir(formFolder).entryList(QDir::Files | QDir::Hidden).size(), 4) << "no backup stays";
}

// Until OK or "Abbruch", the form a copy replaced waits beside it as a
// hidden backup, so that "Abbruch" can put it back.
TEST_F(BearbeitenTest, AbbruchPutsBackTheFormACopyReplaced)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    writeFile(formFile("Gutschrift.lst"), "alte Gutschrift");
    user.then([this](QDialog &) {
        form.btnCopy->click();
        EXPECT_EQ(QDir(formFolder).entryList({".Gutschrift.lst*"}, QDir::Files | QDir::Hidden).size(), 1);
        form.btnAbbruch->click();
    });
    user.then([this](QDialog &dialog) {
        ui.queueAnswer(ui::IDYES);
        copyAs(dialog, "Gutschrift");
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(contentOf(formFile("Gutschrift.lst")), "alte Gutschrift");
    EXPECT_EQ(QDir(formFolder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Auftrag_Rechnung.lsp", "Auftrag_Rechnung.lst", "Gutschrift.lst"}));
}

TEST_F(BearbeitenTest, CopiesOntoItselfOrWithoutSourceFileAreRefused)
{
    writeInvoiceLayout("Auftrag_Rechnung");
    const QByteArray layout = contentOf(formFile("Auftrag_Rechnung.lst"));
    user.then([this](QDialog &) { form.btnCopy->click(); });
    user.then([](QDialog &dialog) {
        copyAs(dialog, "AUFTRAG_RECHNUNG");
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(ui.messageTexts(), QStringList{"Ein Formular kann nicht auf sich selbst kopiert werden!"});
    EXPECT_EQ(QDir(formFolder).entryList(QDir::Files), (QStringList{"Auftrag_Rechnung.lsp", "Auftrag_Rechnung.lst"}));
    EXPECT_EQ(contentOf(formFile("Auftrag_Rechnung.lst")), layout);
    EXPECT_EQ(stored().size(), 2);

    ui.clear();
    useRows({row("Rechnung", "1", "fehlt")});
    user.then([this](QDialog &) {
        form.btnCopy->click();
        EXPECT_EQ(form.dbedtDatei->text(), "neu");
    });
    user.then(copyAs("neu"));
    EXPECT_FALSE(editPrint());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().at(0).text, "Kopieren der Formulardatei ist fehlgeschlagen!");
    EXPECT_EQ(ui.messages().at(0).icon, ui::MsgIcon::Stop);
    EXPECT_FALSE(QFile::exists(formFile("neu.lst")));
}

TEST_F(BearbeitenTest, CopyingAnEmailTemplateCopiesTheTemplateOnly)
{
    writeFile(formFile("Auftrag_Rechnung.frm"), "!Formularvorgaben\r\n");
    writeFile(formFile("Auftrag_Rechnung.lst"), "Liste");
    user.then([this](QDialog &) {
        form.btnCopy->click();
        form.btnOk->click();
    });
    user.then(copyAs("Rechnung_Kurz.frm"));
    EXPECT_TRUE(editEmail());
    EXPECT_EQ(QDir(formFolder).entryList({QStringLiteral("Rechnung_Kurz*")}, QDir::Files),
              QStringList{"Rechnung_Kurz.frm"});
    EXPECT_EQ(stored("Rechnung-eMail"), (QList<StoredRow>{{"1", "Rechnung per E-Mail", "Auftrag_Rechnung", "", ""},
                                                          {"2", "Rechnung per E-Mail", "Rechnung_Kurz", "0", ""}}));
}

TEST_F(BearbeitenTest, TheEmailViewShowsItsSettingsPagesAndTakesOnlyWholeDecimalPlaces)
{
    mailProgram(true, true, folder.path());
    user.then([this](QDialog &) {
        EXPECT_TRUE(pageShown(form.tsEmail));
        EXPECT_TRUE(pageShown(form.tsQRB));
        EXPECT_FALSE(form.dbEdtAusdr->isVisible());
        EXPECT_FALSE(form.spbtnAusdr->isVisible());
        EXPECT_TRUE(form.rgbClient->isEnabled());
        EXPECT_TRUE(form.rbMailProgram->isChecked());
        EXPECT_EQ(form.edtAnlagepfad->text(), folder.path());
    });
    EXPECT_FALSE(editEmail());

    // Without the mail program; decimal places must be a whole number of digits.
    mailProgram(false, true, QString());
    user.then([this](QDialog &dialog) {
        EXPECT_FALSE(pageShown(form.tsQRB));
        EXPECT_FALSE(form.rgbClient->isEnabled());
        EXPECT_TRUE(form.rbStandardClient->isChecked());
        EXPECT_EQ(form.edtFormat->text(), "2");
        const QString notANumber = "Bitte einen gültigen numerischen Wert eingeben";
        const QString outOfRange = "Bitte bei \"Anzahl Nachkommastellen bei Dezimalfeldern\" eine Zahl von 0 bis 15 "
                                   "eingeben.";
        const std::pair<const char *, QString> cases[] = {
            {"zwei", notANumber}, {"2,5", notANumber}, {"", notANumber}, {"-1", outOfRange}, {"16", outOfRange}};
        for (const auto &[refused, message] : cases) {
            ui.clear();
            form.pgcBearbeiten->setCurrentWidget(form.tsVerwaltung);
            form.edtFormat->setText(QString::fromUtf8(refused));
            form.btnOk->click();
            EXPECT_EQ(ui.messageTexts(), QStringList{message}) << refused;
            EXPECT_EQ(form.pgcBearbeiten->currentWidget(), form.tsEmail);
            EXPECT_EQ(dialog.focusWidget(), form.edtFormat);
        }
        form.edtFormat->setText(QStringLiteral(" 3"));
        form.btnOk->click();
    });
    EXPECT_TRUE(editEmail());
    EXPECT_FALSE(EmailState().Outbox);
    EXPECT_EQ(EmailDefaultDecimals(), "3");
    EXPECT_EQ(form.edtFormat->text(), "3");
}

TEST_F(BearbeitenTest, TheAttachmentFolderIsPickedAndMustExistAndTheClientChoiceIsKept)
{
    mailProgram(true, false, QString());
    const QString attachments = folder.filePath(QStringLiteral("Anlagen"));
    ASSERT_TRUE(QDir().mkpath(attachments));
    user.then([this](QDialog &) { form.btnAnlagepfad->click(); });
    user.then([this](QDialog &dialog) {
        auto &picker = dynamic_cast<QFileDialog &>(dialog);
        EXPECT_EQ(picker.fileMode(), QFileDialog::Directory);
        picker.selectFile(dataFolder);
        dialog.accept();
    });
    EXPECT_FALSE(editEmail());
    EXPECT_EQ(user.opened().value(1), "Bitte geben Sie den Pfad für die Anlagen an.");
    EXPECT_EQ(QDir(form.edtAnlagepfad->text()).absolutePath(), QDir(dataFolder).absolutePath());

    user.then([&](QDialog &dialog) {
        form.edtAnlagepfad->setText(folder.filePath(QStringLiteral("fehlt")));
        form.btnOk->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Bitte ein gültiges Verzeichnis angeben"});
        EXPECT_EQ(form.pgcBearbeiten->currentWidget(), form.tsQRB);
        EXPECT_EQ(dialog.focusWidget(), form.edtAnlagepfad);
        form.edtAnlagepfad->setText(attachments + QLatin1Char('/'));
        form.rbMailProgram->click();
        form.btnOk->click();
    });
    EXPECT_TRUE(editEmail());
    EXPECT_EQ(EmailState().Anlagenpfad, attachments);
    EXPECT_TRUE(EmailState().Outbox);
}

TEST_F(BearbeitenTest, TheLayoutButtonOpensTheDesignerOrTheTemplateEditor)
{
    QString designedFile;
    form.Layout = [&] { designedFile = table.FieldByName(QStringLiteral("DateiErsteSeite"))->AsString(); };
    user.then([this](QDialog &) {
        retype(form.dbedtDatei, "rechnung_a4");
        form.btnBearbeiten->click();
    });
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(designedFile, "rechnung_a4");
    EXPECT_TRUE(ui.messages().isEmpty());

    user.then([this](QDialog &) { form.btnBearbeiten->click(); });
    EXPECT_FALSE(editEmail());
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Der Editor für E-Mail-Formulare ist noch nicht "
                                                            "verfügbar. Das Formular kann hier noch nicht "
                                                            "bearbeitet werden.")});
    int editorCalls = 0;
    form.EditJobForm = [&] { ++editorCalls; };
    user.then([this](QDialog &) { form.btnBearbeiten->click(); });
    EXPECT_FALSE(editEmail());
    EXPECT_EQ(editorCalls, 1);
}

TEST_F(BearbeitenTest, BrowsingTakesTheBaseNameInTheFormFolderAndWarnsElsewhere)
{
    writeInvoiceLayout("Rechnung_A4");
    QStringList filters;
    QString shownFolder;
    const auto pick = [&](const QString &file) {
        return [&, file](QDialog &dialog) {
            auto &picker = dynamic_cast<QFileDialog &>(dialog);
            filters = picker.nameFilters();
            shownFolder = picker.directory().absolutePath();
            if (!file.isEmpty()) {
                picker.selectFile(file);
                dialog.accept();
            }
        };
    };
    user.then([this](QDialog &) {
        form.SpeedButton1->click();
        EXPECT_EQ(form.dbedtDatei->text(), "Rechnung_A4");
        form.btnOk->click();
    });
    user.then(pick(formFile("Rechnung_A4.lst")));
    EXPECT_TRUE(editPrint());
    EXPECT_EQ(filters, QStringList{"Listen (*.lst)"});
    EXPECT_EQ(shownFolder, QDir(formFolder).absolutePath());
    EXPECT_EQ(stored().at(0).at(2), "Rechnung_A4");

    // Cancelled browsing changes nothing.
    user.then([this](QDialog &) {
        form.SpeedButton1->click();
        EXPECT_EQ(form.dbedtDatei->text(), "Auftrag_Rechnung");
    });
    user.then(pick(QString()));
    EXPECT_FALSE(editEmail());
    EXPECT_EQ(filters, QStringList{"Formulare (*.frm)"});
    EXPECT_TRUE(ui.messages().isEmpty());

    const QString elsewhere = folder.filePath(QStringLiteral("anderswo"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    writeFile(elsewhere + QStringLiteral("/etikett.lbl"), "Etikett");
    request(QStringLiteral("Rechnung"), QStringLiteral("E"));
    user.then([this](QDialog &) { form.SpeedButton1->click(); });
    user.then(pick(elsewhere + QStringLiteral("/etikett.lbl")));
    EXPECT_FALSE(editPrint());
    EXPECT_EQ(filters, QStringList{"Etiketten (*.lbl)"});
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().at(0).icon, ui::MsgIcon::Stop);
    EXPECT_EQ(ui.messages().at(0).text,
              QStringLiteral("Der gewählte Pfad  ") + QDir(elsewhere).absolutePath()
                  + QStringLiteral("/\r\nentspricht nicht dem voreingestellten Formularpfad  ") + formFolder
                  + QStringLiteral("/\r\n\r\nGeben Sie den gewählten Pfad im Menü \"Installation\" ein, um mit den "
                                   "Formularen aus diesem Verzeichnis zu arbeiten!"));
}

TEST_F(BearbeitenTest, HelpGoesToTheFormEntryContext)
{
    EXPECT_EQ(helpRequestsOf(form.btnHilfe), (QList<QPair<int, int>>{{2001, 201}}));
}
