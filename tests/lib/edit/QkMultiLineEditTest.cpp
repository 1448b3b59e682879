#include "EditTables.h"

#include "lib/edit/qkLinesWindow.h"
#include "lib/edit/qkdbedit.h"
#include "platform/db/TField.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <functional>

namespace {

struct EnterCase
{
    bool wantReturns;
    Qt::KeyboardModifiers modifiers;
    const char *expected;
    bool defaultButtonPressed;
};

}

class MultiLineEditTest : public EditTables
{
protected:
    // An unbound, writable edit that shows more than one line, focused.
    TqkDBEdit *linesEdit(bool wantReturns, QWidget *parent = nullptr)
    {
        auto *edit = new TqkDBEdit(parent ? parent : window.get());
        edit->SetWordWrap(true);
        edit->SetWantReturns(wantReturns);
        edit->SetReadOnly(false);
        edit->setFixedHeight(80);
        if (!parent)
            show(edit);
        return edit;
    }
    // Keys go where a user's keys go: to the widget with the focus.
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    static void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
};

TEST_F(MultiLineEditTest, EnterBreaksTheLineWithWantReturnsAndElsePressesTheDefaultButton)
{
    const EnterCase cases[] = {
        {true, Qt::NoModifier, "ab\ncd", false},
        {true, Qt::ControlModifier, "abcd", false},
        {false, Qt::NoModifier, "abcd", true},
    };
    for (const EnterCase &c : cases) {
        QDialog dialog;
        dialog.setLayout(new QVBoxLayout);
        auto *edit = linesEdit(c.wantReturns, &dialog);
        auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        int pressed = 0;
        QObject::connect(ok, &QPushButton::clicked, &dialog, [&pressed] { ++pressed; });
        dialog.layout()->addWidget(edit);
        dialog.layout()->addWidget(ok);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), edit->LinesWindow()) << c.wantReturns;
        type("ab");
        press(Qt::Key_Return, c.modifiers);
        type("cd");
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.expected)) << c.wantReturns << " " << int(c.modifiers);
        EXPECT_EQ(pressed, c.defaultButtonPressed ? 1 : 0) << c.wantReturns << " " << int(c.modifiers);
        EXPECT_EQ(edit->LinesWindow()->blockCount(), c.wantReturns && !c.modifiers ? 2 : 1);
    }
}

TEST_F(MultiLineEditTest, AMemoEditsLineByLineAndKeepsItsStoredLineBreaks)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->SetDataSource(source.get());
    edit->SetDataField("Bemerkung");
    edit->SetWantReturns(true);
    edit->setFixedHeight(80);
    show(edit);
    EXPECT_EQ(edit->LinesWindow()->blockCount(), 2);
    EXPECT_EQ(edit->text(), "Stammkunde seit 1998.\nLieferung bitte nur werktags bis 15 Uhr.");
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_Return);
    type("Tor 3");
    press(Qt::Key_Up);
    press(Qt::Key_Home);
    type("Nur ");
    leave(edit);
    customers->Post();
    EXPECT_EQ(customers->FieldByName("Bemerkung")->AsString(),
              "Stammkunde seit 1998.\r\nNur Lieferung bitte nur werktags bis 15 Uhr.\r\nTor 3");
}

TEST_F(MultiLineEditTest, TheLinesWindowScrollsToTheCaretAsLinesAreTyped)
{
    auto *edit = linesEdit(true);
    edit->setText("eins\nzwei\ndrei\nvier\nfünf\nsechs");
    const QList<std::function<void()>> steps = {
        [] { press(Qt::Key_End, Qt::ControlModifier); },
        [] { press(Qt::Key_Return); },
        [] { type("ab"); },
        [] { press(Qt::Key_Return); },
        [] { type("cd"); },
    };
    TqkLinesWindow *lines = edit->LinesWindow();
    for (int step = 0; step < steps.size(); ++step) {
        steps[step]();
        EXPECT_TRUE(lines->viewport()->rect().contains(lines->cursorRect())) << step;
    }
    EXPECT_EQ(edit->text(), "eins\nzwei\ndrei\nvier\nfünf\nsechs\nab\ncd");
}

// A word-wrapping edit breaks its lines only where a second line fits; one
// line high it scrolls sideways to the caret.
TEST_F(MultiLineEditTest, WordWrapBreaksLinesOnlyWhereASecondLineFits)
{
    for (const int lines : {1, 4}) {
        auto *edit = linesEdit(false);
        edit->setFixedSize(120, lines * edit->fontMetrics().height() + 4);
        type("Lange Zeile mit vielen Worten");
        TqkLinesWindow *shown = edit->LinesWindow();
        EXPECT_EQ(shown->document()->firstBlock().layout()->lineCount() > 1, lines > 1) << lines;
        EXPECT_TRUE(shown->viewport()->rect().contains(shown->cursorRect())) << lines;
        delete edit;
    }
}

TEST_F(MultiLineEditTest, ThePictureTheResetAndTheFocusChainWorkInTheLinesWindow)
{
    auto *edit = linesEdit(true);
    edit->Picture()->SetPictureMask("###");
    type("1234");
    EXPECT_EQ(edit->text(), "123");
    EXPECT_EQ(services.beeps(), 1);
    leave(edit);
    edit->setFocus(Qt::TabFocusReason);
    press(Qt::Key_End);
    press(Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "12");
    press(Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "123");
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    QTest::keyClick(other, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(MultiLineEditTest, SwitchingTheWindowKeepsTextCaretAndFocus)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->SetReadOnly(false);
    show(edit);
    type("Zeile");
    edit->setCursorPosition(2);
    int entered = 0;
    int left = 0;
    edit->OnEnter = [&entered](QObject *) { ++entered; };
    edit->OnExit = [&left](QObject *) { ++left; };
    edit->SetWordWrap(true);
    ASSERT_TRUE(edit->MultiLine());
    EXPECT_EQ(edit->text(), "Zeile");
    EXPECT_EQ(edit->cursorPosition(), 2);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->LinesWindow()->verticalScrollBar()->isVisible());
    edit->SetShowVertScrollBar(true);
    EXPECT_TRUE(edit->LinesWindow()->verticalScrollBar()->isVisible());
    EXPECT_EQ(edit->cursorPosition(), 2);
    edit->SetShowVertScrollBar(false);
    edit->SetWordWrap(false);
    EXPECT_FALSE(edit->MultiLine());
    EXPECT_EQ(edit->text(), "Zeile");
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(entered + left, 0) << "a new window is no new entry";
}

TEST_F(MultiLineEditTest, AHiddenTextStaysInTheLineWhateverWordWrapSays)
{
    for (const bool hiddenFirst : {true, false}) {
        auto *edit = new TqkDBEdit(window.get());
        edit->SetReadOnly(false);
        if (hiddenFirst)
            edit->setEchoMode(QLineEdit::Password);
        edit->SetWordWrap(true);
        if (!hiddenFirst)
            edit->setEchoMode(QLineEdit::Password);
        edit->show();
        show(edit);
        type("geheim");
        EXPECT_FALSE(edit->MultiLine()) << hiddenFirst;
        EXPECT_EQ(edit->text(), "geheim") << hiddenFirst;
        EXPECT_EQ(edit->displayText(),
                  QString(6, QChar(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter))));
        delete edit;
    }
}

TEST_F(MultiLineEditTest, InsideAGridUpAndDownGoToTheGridAndTheGridsFocusPaintsTheWrappedText)
{
    auto *grid = new fixture::TqkDBGrid(window.get());
    grid->setFixedSize(200, 120);
    window->layout()->addWidget(grid);
    auto *edit = linesEdit(true, grid);
    edit->setGeometry(0, 0, 120, 80);
    show(edit);
    type("Lange Zeile mit vielen Worten");
    press(Qt::Key_Down);
    ASSERT_EQ(grid->received.size(), 1);
    EXPECT_EQ(grid->received[0].first, qk::VK_DOWN);
    ASSERT_TRUE(grid->hasFocus());
    // The grid has the focus: the edit paints its text highlighted and broken into lines.
    const QImage image = edit->grab().toImage();
    // Highlight is a blue; the text on it is light.
    const auto onHighlight = [](const QColor &color) { return color.blue() > color.red() + 60; };
    int inkedRows = 0;
    bool highlighted = false;
    for (int y = 0; y < image.height(); ++y) {
        int first = image.width();
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (onHighlight(image.pixelColor(x, y))) {
                first = qMin(first, x);
                last = x;
            }
        }
        highlighted = highlighted || last >= 0;
        bool ink = false;
        for (int x = first + 1; x < last; ++x)
            ink = ink || image.pixelColor(x, y).lightness() > 200;
        inkedRows += ink ? 1 : 0;
    }
    const int lineHeight = edit->fontMetrics().height();
    EXPECT_TRUE(highlighted);
    EXPECT_GT(inkedRows, lineHeight + 2);
}
