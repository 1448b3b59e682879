#include "app/FormFiles.h"

#include "app/Utils.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const TFormFileSide printSide{QStringLiteral("/formulare"), QStringLiteral(".lst"), QStringLiteral(".l*"), false};

}

TEST(FormRowFiles, TheBaseNameEndsAtTheLastPointOfTheFileName)
{
    TFormRowFiles files = FormRowFiles(QStringLiteral("Auftrag_Rechnung.lst"), printSide);
    EXPECT_EQ(files.testFile, QStringLiteral("/formulare/Auftrag_Rechnung.lst"));
    EXPECT_EQ(files.mask, QStringLiteral("/formulare/Auftrag_Rechnung.l*"));
    EXPECT_EQ(FormRowFiles(QStringLiteral("Rechnung.2026.lst"), printSide).mask,
              QStringLiteral("/formulare/Rechnung.2026.l*"));
    EXPECT_EQ(FormRowFiles(QStringLiteral("Rechnung"), printSide).testFile, QStringLiteral("/formulare/Rechnung.lst"));
    EXPECT_FALSE(files.refused);
}

TEST(FormRowFiles, ANameWithAFolderKeepsItsFolderAndAPointThereIsNoExtension)
{
    TFormRowFiles files = FormRowFiles(QStringLiteral("C:\\Formulare.alt\\Rechnung"), printSide);
    EXPECT_EQ(files.testFile, QStringLiteral("C:\\Formulare.alt\\Rechnung.lst"));
    EXPECT_EQ(files.mask, QStringLiteral("C:\\Formulare.alt\\Rechnung.l*"));
    const TFormFileSide emailSide{QStringLiteral("/formulare/"), QStringLiteral(".frm"), QStringLiteral(".frm"), true};
    EXPECT_EQ(FormRowFiles(QStringLiteral("/srv/vorlagen.v2/Mahnung.frm"), emailSide).mask,
              QStringLiteral("/srv/vorlagen.v2/Mahnung.frm"));
}

TEST(FormRowFiles, EmptyMaskLikeOrFolderNamesNameNoFiles)
{
    for (const char *name : {"", "   ", "C:\\Formulare\\", "*", "Rech?ung.lst", "*.lst"}) {
        const TFormRowFiles files = FormRowFiles(QString::fromLatin1(name), printSide);
        EXPECT_TRUE(files.testFile.isEmpty()) << name;
        EXPECT_TRUE(files.mask.isEmpty()) << name;
        EXPECT_FALSE(files.refused) << name;
    }
}

TEST(FormRowFiles, ANameStartingWithAPointRefusesTheDeletion)
{
    EXPECT_TRUE(FormRowFiles(QStringLiteral(".lst"), printSide).refused);
    EXPECT_TRUE(FormRowFiles(QStringLiteral("C:\\Formulare\\.versteckt"), printSide).refused);
}

namespace {

// The demo's form table and a form folder with layout files, the recording
// services answering for the user.
class FormRowDeleteTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_template = std::make_unique<QTemporaryDir>();
        demo::writeTables(s_template->filePath(QStringLiteral("daten")));
    }
    static void TearDownTestSuite() { s_template.reset(); }

    void SetUp() override
    {
        QDir().mkpath(root.filePath(QStringLiteral("daten")));
        QDir().mkpath(formPath());
        ASSERT_TRUE(QFile::copy(s_template->filePath(QStringLiteral("daten/Formular.db")),
                                root.filePath(QStringLiteral("daten/Formular.db"))));
        OpenTable(view, root.filePath(QStringLiteral("daten")), QStringLiteral("Formular.db"));
        view->SetBeforeDelete([this](TDataSet *) { ConfirmFormRowDelete(*view, side); });
        side = TFormFileSide{formPath(), QStringLiteral(".lst"), QStringLiteral(".l*"), false};
    }

    QString formPath() const { return root.filePath(QStringLiteral("formulare")); }
    void makeFile(const QString &name) const
    {
        QFile file(formPath() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("layout");
    }
    QStringList formFiles() const { return QDir(formPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    void goToRow(const QString &module, const QString &type, const QString &sortKey)
    {
        ASSERT_TRUE(view->FindKey({module, type, sortKey}));
    }
    void setFileName(const QString &name)
    {
        view->Edit();
        view->FieldByName(QStringLiteral("DateiErsteSeite"))->SetAsString(name);
        view->Post();
    }
    bool rowExists(const QString &module, const QString &type, const QString &sortKey)
    {
        return view->FindKey({module, type, sortKey});
    }

    QTemporaryDir root;
    ui::ScopedRecordingUiServices services;
    std::unique_ptr<TTable> view;
    TFormFileSide side;
    static inline std::unique_ptr<QTemporaryDir> s_template;
};

}

TEST_F(FormRowDeleteTest, BothYesesDeleteTheRowAndEveryLayoutFileOfItsBaseName)
{
    for (const char *name : {"Auftrag_Rechnung.lst", "Auftrag_Rechnung.lbl", "Auftrag_Rechnung.ldx",
                             "Auftrag_Rechnung.txt", "Auftrag_Rechnung2.lst", "Auftrag_Angebot.lst"})
        makeFile(QString::fromLatin1(name));
    // The preview row shares the invoice layout until it gets one of its own.
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("2"));
    setFileName(QStringLiteral("Auftrag_Rechnung2.lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("1"));
    services.queueAnswer(ui::IDYES);
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(services.messageTexts(),
              (QStringList{QStringLiteral("Formular \"Rechnung\" wirklich löschen?"),
                           QStringLiteral("Soll die Formulardatei ") + formPath()
                               + QStringLiteral("/Auftrag_Rechnung.lst auch gelöscht werden?")}));
    EXPECT_FALSE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("1")));
    EXPECT_EQ(formFiles(), (QStringList{QStringLiteral("Auftrag_Angebot.lst"), QStringLiteral("Auftrag_Rechnung.txt"),
                                        QStringLiteral("Auftrag_Rechnung2.lst")}));
}

TEST_F(FormRowDeleteTest, NoToTheFileKeepsTheFilesAndAnythingButYesKeepsTheRow)
{
    makeFile(QStringLiteral("Auftrag_Angebot.lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    services.queueAnswer(ui::IDNO);
    EXPECT_THROW(view->Delete(), EAbort);
    services.queueAnswer(ui::IDCANCEL);
    EXPECT_THROW(view->Delete(), EAbort);
    EXPECT_TRUE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));

    services.queueAnswer(ui::IDYES);
    services.queueAnswer(ui::IDNO);
    view->Delete();
    EXPECT_FALSE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));
    EXPECT_EQ(formFiles(), QStringList{QStringLiteral("Auftrag_Angebot.lst")});
}

TEST_F(FormRowDeleteTest, AnEmptyDescriptionLeavesTheQuotesOut)
{
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    view->Edit();
    view->FieldByName(QStringLiteral("Bezeichnung"))->SetAsString(QString());
    view->Post();
    services.queueAnswer(ui::IDNO);
    EXPECT_THROW(view->Delete(), EAbort);
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("Formular  wirklich löschen?")});
}

TEST_F(FormRowDeleteTest, AFileNameStartingWithAPointKeepsTheRowWithoutAWord)
{
    makeFile(QStringLiteral(".lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    setFileName(QStringLiteral(".lst"));
    services.queueAnswer(ui::IDYES);
    EXPECT_THROW(view->Delete(), EAbort);
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_TRUE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));
    EXPECT_EQ(formFiles(), QStringList{QStringLiteral(".lst")});
}

TEST_F(FormRowDeleteTest, AnEmptyFileNameDeletesTheRowButNoFile)
{
    makeFile(QStringLiteral(".lst"));
    makeFile(QStringLiteral(".ldx"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    setFileName(QString());
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_FALSE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));
    EXPECT_EQ(formFiles().size(), 2);
}

TEST_F(FormRowDeleteTest, AFileAnotherRowUsesStays)
{
    makeFile(QStringLiteral("Auftrag_Rechnung.lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("2"));
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(formFiles(), QStringList{QStringLiteral("Auftrag_Rechnung.lst")});

    makeFile(QStringLiteral("Gemeinsam.lst"));
    goToRow(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("1"));
    setFileName(QStringLiteral("gemeinsam.lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    setFileName(QStringLiteral("Gemeinsam"));
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(services.messages().size(), 2);
    EXPECT_EQ(formFiles(), (QStringList{QStringLiteral("Auftrag_Rechnung.lst"), QStringLiteral("Gemeinsam.lst")}));
}

TEST_F(FormRowDeleteTest, AnEmailRowSharingThePrintRowsBaseNameDoesNotKeepItsTemplate)
{
    makeFile(QStringLiteral("Auftrag_Rechnung.frm"));
    makeFile(QStringLiteral("Auftrag_Rechnung.lst"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Rechnung-eMail"), QStringLiteral("1"));
    setFileName(QStringLiteral("Auftrag_Rechnung"));
    side = TFormFileSide{formPath(), QStringLiteral(".frm"), QStringLiteral(".frm"), true};
    services.queueAnswer(ui::IDYES);
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(formFiles(), QStringList{QStringLiteral("Auftrag_Rechnung.lst")});
}
