#include "EditTables.h"

#include "lib/edit/qkEditMask.h"
#include "lib/edit/qkdbedit.h"
#include "platform/db/TField.h"

#include <QTest>

TEST(EditMask, TypingFillsSlotsAndWritesLiteralsAlong)
{
    struct Case
    {
        const char *mask;
        const char *typed;
        const char *expected;
        int refused;
    };
    const Case cases[] = {
        {"00.00.0000;1;_", "24122026", "24.12.2026", 0},
        {"00.00.0000;1;_", "2x4.1", "24.1", 1},
        {">LL-000;0;_", "ab123", "AB-123", 0},
        {"<LLL", "ABC1", "abc", 1},
        {"\\+00 999;1; ", "4989", "+49 89", 0},
        {"####", "+12-", "+12-", 0},
        {"0", "12", "1", 1},
    };
    for (const Case &c : cases) {
        const TqkEditMask mask(QString::fromUtf8(c.mask));
        QString text;
        int position = 0;
        int refused = 0;
        for (const QChar typed : QString::fromUtf8(c.typed))
            refused += mask.Type(text, position, typed) ? 0 : 1;
        EXPECT_EQ(text, QString::fromUtf8(c.expected)) << c.mask << " " << c.typed;
        EXPECT_EQ(position, text.size()) << c.mask;
        EXPECT_EQ(refused, c.refused) << c.mask << " " << c.typed;
    }
}

TEST(EditMask, ValidTextsFillEveryRequiredSlot)
{
    struct Case
    {
        const char *mask;
        const char *text;
        bool valid;
    };
    const Case cases[] = {
        {"00.00.0000;1;_", "24.12.2026", true},
        {"00.00.0000;1;_", "24.12.20", false},
        {"00.00.0000;1;_", "24-12-2026", false},
        {"0000 99;1;_", "8033", true},
        {"0000 99;1;_", "8033 1", true},
        {"0000 99;1;_", "8033 1x", false},
        {"LL;1;_", "A_", false},
        {"ll;1;_", "a_", true},
        {"000", "1234", false},
        {"", "", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TqkEditMask(QString::fromUtf8(c.mask)).IsValid(QString::fromUtf8(c.text)), c.valid)
            << c.mask << " " << c.text;
    const TqkEditMask sections(QStringLiteral("000;0;*"));
    EXPECT_FALSE(sections.SavesLiterals());
    EXPECT_EQ(sections.Blank(), QLatin1Char('*'));
}

using EditMaskEditTest = EditTables;

TEST_F(EditMaskEditTest, TheFieldsEditMaskFiltersTypingAndChecksTheValueWhenNoPictureApplies)
{
    customers->FieldByName(QStringLiteral("plz"))->SetEditMask(QStringLiteral("00000;1;_"));
    auto *edit = new TqkDBEdit(window.get());
    edit->SetDataSource(source.get());
    edit->SetDataField(QStringLiteral("plz"));
    show(edit);
    EXPECT_EQ(edit->EditMask(), QStringLiteral("00000;1;_"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    typeText(edit, QStringLiteral("8a03"));
    EXPECT_EQ(edit->text(), QStringLiteral("803"));
    EXPECT_EQ(services.beeps(), 1);
    leave(edit);
    EXPECT_TRUE(edit->hasFocus()) << "an incomplete masked text is refused when the record is updated";
    ASSERT_FALSE(services.messages().isEmpty());
    EXPECT_TRUE(services.messages().last().text.startsWith(QStringLiteral("Ungültiger Eingabewert")));
    typeText(edit, QStringLiteral("80331"));
    leave(edit);
    EXPECT_TRUE(other->hasFocus());
    customers->Post();
    EXPECT_EQ(customers->FieldByName(QStringLiteral("plz"))->AsString(), QStringLiteral("80331"));

    customers->PictureMasks = QStringList{QStringLiteral("plz\t#####\tT\tF")};
    edit->SetDataField(QString());
    edit->SetDataField(QStringLiteral("plz"));
    EXPECT_TRUE(edit->EditMask().isEmpty()) << "a picture takes the place of the edit mask";
}
