#include "app/Kopieren.h"
#include "DirDlgScript.h"

#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

namespace {

class KopierenTest : public ::testing::Test
{
protected:
    // Types the name into the dialog as the user would and presses OK.
    DialogScript::Step typeAndConfirm(const QString &name)
    {
        return [this, name](QDialog &) {
            typeText(dialog.edtNeuername, name);
            dialog.btnOk->click();
            typed = dialog.edtNeuername->text();
            stillOpen = dialog.isVisible();
        };
    }

    bool execute(const QString &original = QStringLiteral("Auftrag_Rechnung.lst"))
    {
        // Stands in for the form-entry dialog, which looks at the files.
        return dialog.Execute(original, [this](const QString &name) {
            asked << name;
            if (name == QLatin1String("Auftrag_Rechnung"))
                return TCopyTarget::Original;
            return existing.contains(name) ? TCopyTarget::Existing : TCopyTarget::Free;
        });
    }

    ui::ScopedRecordingUiServices ui;
    DialogScript user;
    TfrmKopieren dialog;
    QStringList existing;
    QStringList asked;
    QString typed;
    bool stillOpen = false;
};

}

TEST(FormFileNameTest, TypedExtensionsAndFoldersAreDroppedButOnlyTheFileNamesOwnExtensionIsCut)
{
    const QList<QPair<QString, QString>> nameParts = {
        {"Rechnung2.LST", "Rechnung2"}, {"angebot.Frm", "angebot"}, {"C:\\Formulare\\etikett.lbl", "etikett"},
        {"/home/buero/liste", "liste"}, {"liste.txt", "liste.txt"}, {".lst", ""}};
    for (const auto &[typed, part] : nameParts)
        EXPECT_EQ(FormFileNamePart(typed), part) << typed.toStdString();
    const QList<QPair<QString, QString>> withoutExtension = {{"Auftrag_Rechnung.lst", "Auftrag_Rechnung"},
                                                             {"Auftrag_Rechnung", "Auftrag_Rechnung"},
                                                             {"C:\\Form.alt\\rechnung", "C:\\Form.alt\\rechnung"},
                                                             {"/srv/form.alt/rechnung.lst", "/srv/form.alt/rechnung"}};
    for (const auto &[name, cut] : withoutExtension)
        EXPECT_EQ(WithoutFormExtension(name), cut) << name.toStdString();
    EXPECT_TRUE(HasFolderPart(QStringLiteral("C:\\Formulare\\rechnung")));
    EXPECT_FALSE(HasFolderPart(QStringLiteral("rechnung.lst")));
}

TEST_F(KopierenTest, AGoodNameTrimmedAndWithoutLayoutExtensionClosesTheDialog)
{
    user.then(typeAndConfirm(QStringLiteral("Rechnung_Kopie")));
    ASSERT_TRUE(execute());
    EXPECT_EQ(dialog.lblOriginal->text(), QStringLiteral("Auftrag_Rechnung.lst"));
    EXPECT_EQ(dialog.NewName(), QStringLiteral("Rechnung_Kopie"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("Rechnung_Kopie")});
    EXPECT_TRUE(ui.messages().isEmpty());

    QString shownAtStart = QStringLiteral("?");
    user.then([&](QDialog &shown) {
        shownAtStart = dialog.edtNeuername->text();
        typeAndConfirm(QStringLiteral("  Kopie.LBL"))(shown);
    });
    ASSERT_TRUE(execute());
    EXPECT_TRUE(shownAtStart.isEmpty());
    EXPECT_EQ(typed, QStringLiteral("  Kopie"));
    EXPECT_EQ(dialog.NewName(), QStringLiteral("Kopie"));
}

TEST_F(KopierenTest, RefusedNamesKeepTheDialogOpen)
{
    const QString separators = QStringLiteral("Der Zielname darf keines der Zeichen / \\ * ? enthalten!");
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("   "), QStringLiteral("Bitte erst einen Zielnamen eingeben!")},
        {QStringLiteral("kopie.txt"), QStringLiteral("Die Angabe einer Extension ist nicht möglich!!")},
        {QStringLiteral("kop*"), separators},
        {QStringLiteral("kopie?"), separators},
        {QStringLiteral("Auftrag_Rechnung"), QStringLiteral("Ein Formular kann nicht auf sich selbst kopiert werden!")},
    };
    for (const auto &[name, message] : cases) {
        ui.clear();
        user.then(typeAndConfirm(name));
        EXPECT_FALSE(execute()) << name.toStdString();
        EXPECT_TRUE(stillOpen) << name.toStdString();
        EXPECT_EQ(ui.messageTexts(), QStringList{message}) << name.toStdString();
        EXPECT_EQ(dialog.focusWidget(), dialog.edtNeuername);
    }
    EXPECT_EQ(asked, QStringList{QStringLiteral("Auftrag_Rechnung")});

    // A separator that slips past typing is refused too.
    ui.clear();
    user.then([this](QDialog &) {
        dialog.edtNeuername->setText(QStringLiteral("neu/kopie"));
        dialog.btnOk->click();
        stillOpen = dialog.isVisible();
    });
    EXPECT_FALSE(execute());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(ui.messageTexts(), QStringList{separators});
}

TEST_F(KopierenTest, OverwritingAnExistingFormIsAskedFirst)
{
    existing << QStringLiteral("Gutschrift");
    user.then(typeAndConfirm(QStringLiteral("Gutschrift")));
    EXPECT_FALSE(execute());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().at(0).text,
              QStringLiteral("Ein Formular mit dem Namen Gutschrift ist bereits vorhanden.\r\n"
                             "Soll es überschrieben werden?"));
    EXPECT_EQ(ui.messages().at(0).buttons, ui::MsgButtons::YesNo);
    EXPECT_EQ(ui.messages().at(0).defaultButton, ui::IDNO);
    EXPECT_TRUE(stillOpen);

    ui.clear();
    ui.queueAnswer(ui::IDYES);
    user.then(typeAndConfirm(QStringLiteral("Gutschrift")));
    EXPECT_TRUE(execute());
    EXPECT_EQ(dialog.NewName(), QStringLiteral("Gutschrift"));
}

TEST_F(KopierenTest, HelpGoesToTheCopyDialogsContext)
{
    EXPECT_EQ(helpRequestsOf(dialog.btnHilfe), (QList<QPair<int, int>>{{2002, 202}}));
    // Back on the program's routing, a press without a help file reaches the
    // application's help, which has nothing to show and says nothing.
    dialog.btnHilfe->click();
    EXPECT_TRUE(ui.messageTexts().isEmpty());
}
