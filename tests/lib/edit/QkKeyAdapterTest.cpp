#include "EditTables.h"

#include "lib/edit/qkKeyAdapter.h"
#include "platform/runtime/Exceptions.h"

#include <QTest>

namespace {

// Records the stages each key runs through; it can swallow a key in either
// stage and wants Tab when told so.
class StageRecorder : public TqkKeyedEdit
{
public:
    using TqkKeyedEdit::TqkKeyedEdit;
    QStringList stages;
    int zeroInKeyDown = 0;
    QChar dropInKeyPress;
    bool wantsTab = false;
    bool refuseExit = false;
    int exitChecks = 0;

protected:
    bool WantsKey(int key, qk::TShiftState shift) override
    {
        return key == qk::VK_TAB ? wantsTab : TqkKeyedEdit::WantsKey(key, shift);
    }
    void KeyDown(int &key, qk::TShiftState shift) override
    {
        stages << QString("down %1%2").arg(key).arg(shift & Qt::ControlModifier ? "^" : "");
        if (key == zeroInKeyDown)
            key = 0;
        if (key == 'E')
            throw EConvertError("Fehler beim Umwandeln");
    }
    void KeyPress(QChar &key) override
    {
        stages << QString("press %1").arg(key.unicode());
        if (key == dropInKeyPress)
            key = QChar();
    }
    bool ExitCheck() override
    {
        ++exitChecks;
        return !refuseExit;
    }
};

}

using KeyAdapterTest = EditTables;

TEST_F(KeyAdapterTest, KeysRunDownAndPressUnlessTheDownStageZeroesThem)
{
    auto *edit = new StageRecorder(window.get());
    show(edit);
    QTest::keyClick(edit, 'a');
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->stages,
              (QStringList{"down 65", "press 97", "down 37", "down 86^", "press 22", "down 8", "press 8"}));
    EXPECT_EQ(edit->text(), "a");
    edit->stages.clear();
    edit->zeroInKeyDown = 'B';
    edit->dropInKeyPress = QChar('c');
    QTest::keyClick(edit, 'b');
    QTest::keyClick(edit, 'c');
    EXPECT_EQ(edit->stages, (QStringList{"down 66", "down 67", "press 99"}));
    EXPECT_EQ(edit->text(), "a");
    QTest::keyClick(edit, 'e');
    ASSERT_EQ(services.messages().size(), 1);
    EXPECT_EQ(services.messages()[0].text, "Fehler beim Umwandeln.");
}

TEST_F(KeyAdapterTest, TabReachesTheStagesOnlyWhenWantedAndRefusedExitsReturnOnce)
{
    auto *edit = new StageRecorder(window.get());
    show(edit);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_TRUE(edit->stages.isEmpty());
    edit->setFocus();
    edit->wantsTab = true;
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->stages, (QStringList{"down 9", "press 9"}));
    edit->refuseExit = true;
    edit->exitChecks = 0;
    leave(edit);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->exitChecks, 1);
}
