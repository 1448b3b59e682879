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

TEST(FormListKeys, AltKeysWorkEverywhereButSortKeysOnlyInThePrintTabsList)
{
    using A = FormKeyAction;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool printTab;
        bool typing;
        FormKeyAction action;
        QChar character;
    } cases[] = {
        {Qt::Key_3, alt, true, false, A::Copies, u'3'},
        {Qt::Key_0, alt, false, true, A::Copies, u'0'},
        {Qt::Key_L, alt, true, false, A::Layout, {}},
        {Qt::Key_L, alt, false, true, A::Layout, {}},
        {Qt::Key_K, alt, true, false, A::None, {}},
        {Qt::Key_3, alt | Qt::ShiftModifier, true, false, A::SortKey, u'3'},
        {Qt::Key_L, alt | Qt::ShiftModifier, true, false, A::SortKey, u'L'},
        {Qt::Key_3, none, true, false, A::SortKey, u'3'},
        {Qt::Key_R, Qt::ShiftModifier, true, false, A::SortKey, u'R'},
        {Qt::Key_7, Qt::KeypadModifier, true, false, A::SortKey, u'7'},
        {Qt::Key_Z, none, true, false, A::SortKey, u'Z'},
        {Qt::Key_3, none, false, false, A::None, {}},
        {Qt::Key_3, none, true, true, A::None, {}},
        {Qt::Key_C, Qt::ControlModifier, true, false, A::SortKey, u'C'},
        {Qt::Key_Return, none, true, false, A::None, {}},
        {Qt::Key_Space, none, true, false, A::None, {}},
        {Qt::Key_Adiaeresis, none, true, false, A::None, {}},
        {Qt::Key_F1, none, true, false, A::None, {}},
    };
    for (const auto &c : cases) {
        const FormKeyMeaning meaning = FormKeyMeaningOf(c.key, c.modifiers, c.printTab, c.typing);
        EXPECT_EQ(meaning.action, c.action) << std::hex << c.key << " " << c.modifiers.toInt();
        if (!c.character.isNull()) {
            EXPECT_EQ(meaning.character, c.character) << std::hex << c.key;
        }
    }
}

TEST(FormListKeys, EditsAndEditableListsTakeTypedKeysButFixedListsGridsAndButtonsDoNot)
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
    EXPECT_FALSE(TakesTypedKeys(list));
    EXPECT_TRUE(TakesTypedKeys(editableList));
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

TEST_F(SortKeyRowTest, TheRowWithTheSortKeyBecomesCurrentAndAMissingKeyKeepsIt)
{
    forms->First();
    ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'2')));
    EXPECT_EQ(current(QStringLiteral("Bezeichnung")), QStringLiteral("Rechnung (Vorschau)"));
    EXPECT_FALSE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'9')));
    EXPECT_EQ(current(QStringLiteral("Sortierung")), QStringLiteral("2"));
    // A key of another form type is not one of this list.
    EXPECT_FALSE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Angebot"), QChar(u'1')));

    // A sort key stored in lower case is found by its upper-case key.
    changeSortKey(QStringLiteral("2"), QStringLiteral("k"));
    forms->First();
    ASSERT_TRUE(FindSortKeyRow(*forms, QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QChar(u'K')));
    EXPECT_EQ(current(QStringLiteral("Bezeichnung")), QStringLiteral("Rechnung (Vorschau)"));
}
