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

TEST(FormRowFiles, TheBaseNameEndsAtTheLastPointOfTheFileNameAndKeepsItsFolder)
{
    const TFormFileSide emailSide{QStringLiteral("/formulare/"), QStringLiteral(".frm"), QStringLiteral(".frm"), true};
    const struct
    {
        QString name;
        TFormFileSide side;
        QString testFile;
        QString mask;
        bool refused;
    } cases[] = {
        {"Auftrag_Rechnung.lst", printSide, "/formulare/Auftrag_Rechnung.lst", "/formulare/Auftrag_Rechnung.l*", false},
        {"Rechnung.2026.lst", printSide, "/formulare/Rechnung.2026.lst", "/formulare/Rechnung.2026.l*", false},
        {"Rechnung", printSide, "/formulare/Rechnung.lst", "/formulare/Rechnung.l*", false},
        // A point in the folder is no extension.
        {"C:\\Formulare.alt\\Rechnung", printSide, "C:\\Formulare.alt\\Rechnung.lst", "C:\\Formulare.alt\\Rechnung.l*",
         false},
        {"/srv/vorlagen.v2/Mahnung.frm", emailSide, "/srv/vorlagen.v2/Mahnung.frm", "/srv/vorlagen.v2/Mahnung.frm",
         false},
        // Empty, mask-like or folder names name no files; a leading point refuses.
        {"", printSide, "", "", false},
        {"   ", printSide, "", "", false},
        {"C:\\Formulare\\", printSide, "", "", false},
        {"*", printSide, "", "", false},
        {"Rech?ung.lst", printSide, "", "", false},
        {"*.lst", printSide, "", "", false},
        {".lst", printSide, "", "", true},
        {"C:\\Formulare\\.versteckt", printSide, "", "", true},
    };
    for (const auto &c : cases) {
        const TFormRowFiles files = FormRowFiles(c.name, c.side);
        EXPECT_EQ(files.testFile, c.testFile) << c.name.toStdString();
        EXPECT_EQ(files.mask, c.mask) << c.name.toStdString();
        EXPECT_EQ(files.refused, c.refused) << c.name.toStdString();
    }
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
    // An empty description leaves the quotes out.
    view->Edit();
    view->FieldByName(QStringLiteral("Bezeichnung"))->SetAsString(QString());
    view->Post();
    services.queueAnswer(ui::IDCANCEL);
    EXPECT_THROW(view->Delete(), EAbort);
    EXPECT_EQ(services.messageTexts().last(), QStringLiteral("Formular  wirklich löschen?"));
    EXPECT_TRUE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));

    services.queueAnswer(ui::IDYES);
    services.queueAnswer(ui::IDNO);
    view->Delete();
    EXPECT_FALSE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));
    EXPECT_EQ(formFiles(), QStringList{QStringLiteral("Auftrag_Angebot.lst")});
}

TEST_F(FormRowDeleteTest, AFileNameStartingWithAPointKeepsTheRowAndAnEmptyOneKeepsTheFiles)
{
    makeFile(QStringLiteral(".lst"));
    makeFile(QStringLiteral(".ldx"));
    goToRow(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1"));
    setFileName(QStringLiteral(".lst"));
    services.queueAnswer(ui::IDYES);
    EXPECT_THROW(view->Delete(), EAbort);
    EXPECT_EQ(services.messages().size(), 1);
    EXPECT_TRUE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));

    setFileName(QString());
    services.queueAnswer(ui::IDYES);
    view->Delete();
    EXPECT_EQ(services.messages().size(), 2);
    EXPECT_FALSE(rowExists(QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QStringLiteral("1")));
    EXPECT_EQ(formFiles(), (QStringList{".ldx", ".lst"}));
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
