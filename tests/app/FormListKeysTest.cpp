#include "app/FormListKeys.h"

#include "app/Utils.h"
#include "demo/tables/DemoTables.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

FormKeyAction actionOf(int key, Qt::KeyboardModifiers modifiers, bool printTab = true, bool typing = false)
{
    return FormKeyMeaningOf(key, modifiers, printTab, typing).action;
}

}

TEST(FormListKeys, AltWithADigitSetsTheCopiesAndAltLOpensTheDesigner)
{
    const FormKeyMeaning copies = FormKeyMeaningOf(Qt::Key_3, Qt::AltModifier, true, false);
    EXPECT_EQ(copies.action, FormKeyAction::Copies);
    EXPECT_EQ(copies.character, QChar(u'3'));
    EXPECT_EQ(FormKeyMeaningOf(Qt::Key_0, Qt::AltModifier, false, true).action, FormKeyAction::Copies);
    EXPECT_EQ(actionOf(Qt::Key_L, Qt::AltModifier), FormKeyAction::Layout);
    // Alt keys work on either tab and in any control.
    EXPECT_EQ(actionOf(Qt::Key_L, Qt::AltModifier, false, true), FormKeyAction::Layout);
    EXPECT_EQ(actionOf(Qt::Key_K, Qt::AltModifier), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_3, Qt::AltModifier | Qt::ShiftModifier), FormKeyAction::None);
}

TEST(FormListKeys, LettersAndDigitsOnThePrintTabAreSortKeys)
{
    const FormKeyMeaning three = FormKeyMeaningOf(Qt::Key_3, Qt::NoModifier, true, false);
    EXPECT_EQ(three.action, FormKeyAction::SortKey);
    EXPECT_EQ(three.character, QChar(u'3'));
    EXPECT_EQ(FormKeyMeaningOf(Qt::Key_R, Qt::ShiftModifier, true, false).character, QChar(u'R'));
    EXPECT_EQ(actionOf(Qt::Key_7, Qt::KeypadModifier), FormKeyAction::SortKey);
    EXPECT_EQ(actionOf(Qt::Key_Z, Qt::NoModifier), FormKeyAction::SortKey);
}

TEST(FormListKeys, OtherKeysTabsFieldsAndCommandsNeverPrint)
{
    EXPECT_EQ(actionOf(Qt::Key_3, Qt::NoModifier, false, false), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_3, Qt::NoModifier, true, true), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_C, Qt::ControlModifier), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_Return, Qt::NoModifier), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_Space, Qt::NoModifier), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_Adiaeresis, Qt::NoModifier), FormKeyAction::None);
    EXPECT_EQ(actionOf(Qt::Key_F1, Qt::NoModifier), FormKeyAction::None);
}

TEST(FormListKeys, EditsAndListsTakeTypedKeysButGridsAndButtonsDoNot)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit;
    auto *list = new QComboBox;
    auto *editableList = new QComboBox;
    editableList->setEditable(true);
    auto *grid = new QTableView;
    auto *button = new QPushButton;
    for (QWidget *w : std::initializer_list<QWidget *>{edit, list, editableList, grid, button})
        layout->addWidget(w);
    EXPECT_TRUE(TakesTypedKeys(edit));
    EXPECT_TRUE(TakesTypedKeys(list));
    EXPECT_TRUE(TakesTypedKeys(editableList->lineEdit()));
    EXPECT_FALSE(TakesTypedKeys(grid));
    EXPECT_FALSE(TakesTypedKeys(grid->viewport()));
    EXPECT_FALSE(TakesTypedKeys(button));
    EXPECT_FALSE(TakesTypedKeys(&window));
    EXPECT_FALSE(TakesTypedKeys(nullptr));
}

namespace {

// The demo's form table, restricted as an activation restricts it.
class SortKeyRowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = std::make_unique<QTemporaryDir>();
        demo::writeTables(s_folder->filePath(QStringLiteral("daten")));
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override
    {
        OpenTable(forms, s_folder->filePath(QStringLiteral("daten")), QStringLiteral("Formular.db"));
        const QVariantList key{QStringLiteral("Auftrag"), QStringLiteral("Rechnung")};
        forms->SetRange(key, key);
    }

    QString current(const QString &field) const { return forms->FieldByName(field)->AsString(); }

    void changeSortKey(const QString &from, const QString &to)
    {
        ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), from.at(0)));
        forms->Edit();
        forms->FieldByName(QStringLiteral("Sortierung"))->SetAsString(to);
        forms->Post();
    }

    static inline std::unique_ptr<QTemporaryDir> s_folder;
    std::unique_ptr<TTable> forms;
};

}

TEST_F(SortKeyRowTest, TheRowWithTheSortKeyBecomesCurrent)
{
    forms->First();
    ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'2')));
    EXPECT_EQ(current(QStringLiteral("Bezeichnung")), QStringLiteral("Rechnung (Vorschau)"));
}

TEST_F(SortKeyRowTest, AMissingKeyKeepsTheCurrentRow)
{
    ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'2')));
    EXPECT_FALSE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'9')));
    EXPECT_EQ(current(QStringLiteral("Sortierung")), QStringLiteral("2"));
    // A key of another form type is not one of this list.
    EXPECT_FALSE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QChar(u'1')));
}

TEST_F(SortKeyRowTest, ASortKeyStoredInLowerCaseIsFoundByItsUpperCaseKey)
{
    changeSortKey(QStringLiteral("2"), QStringLiteral("k"));
    forms->First();
    ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'K')));
    EXPECT_EQ(current(QStringLiteral("Bezeichnung")), QStringLiteral("Rechnung (Vorschau)"));
    changeSortKey(QStringLiteral("k"), QStringLiteral("2"));
}
