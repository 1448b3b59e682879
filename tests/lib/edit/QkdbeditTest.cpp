#include "EditTables.h"

#include "demo/tables/MasterData.h"
#include "demo/tables/TableCatalog.h"
#include "demo/tables/TableWriter.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qktable.h"
#include "lib/edit/qkdbedit.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLayout>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

namespace {

struct TypingCase
{
    const char *mask;
    const char *typed;
    const char *expected;
    int beeps;
};

}

class EditControlTest : public EditTables
{
protected:
    // An unbound, writable edit with the given picture, focused.
    TqkDBEdit *maskedEdit(const QString &mask)
    {
        auto *edit = new TqkDBEdit(window.get());
        edit->Picture()->SetPictureMask(mask);
        edit->SetReadOnly(false);
        show(edit);
        return edit;
    }
    TqkDBEdit *boundEdit(const QString &field)
    {
        auto *edit = new TqkDBEdit(window.get());
        edit->SetDataSource(source.get());
        edit->SetDataField(field);
        show(edit);
        return edit;
    }
    // Selects the whole text and types over it.
    void retype(TqkDBEdit *edit, const QString &text)
    {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        typeText(edit, text);
    }
};

TEST_F(EditControlTest, PictureFiltersAndCompletesTypedCharacters)
{
    const TypingCase cases[] = {
        {"###", "1234", "123", 1},      {"(###) ###-####", "(555", "(555) ", 0},
        {"(###) ###-####", "5", "", 1}, {"&&&", "abc", "ABC", 0},
        {"#####", "12a", "12", 1},
    };
    for (const TypingCase &c : cases) {
        services.clear();
        auto *edit = maskedEdit(QString::fromLatin1(c.mask));
        typeText(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.expected)) << c.mask << " " << c.typed;
        EXPECT_EQ(edit->cursorPosition(), edit->text().size()) << c.mask;
        EXPECT_EQ(services.beeps(), c.beeps) << c.mask << " " << c.typed;
        delete edit;
    }
}

TEST_F(EditControlTest, DigitInTheMiddleOfAFullTextGoesInAndFailsTheCheck)
{
    auto *edit = maskedEdit("###");
    QList<bool> reports;
    edit->OnCheckValue = [&reports](QObject *, bool passes) { reports.append(passes); };
    typeText(edit, "123");
    edit->setCursorPosition(1);
    QTest::keyClick(edit, '9');
    EXPECT_EQ(edit->text(), "1923");
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_FALSE(reports.last());
    EXPECT_EQ(services.beeps(), 0);
}

TEST_F(EditControlTest, BoundEditTakesItsMaskFromTheDataSetAndPostsTheTypedValue)
{
    customers->PictureMasks = QStringList{QStringLiteral("PLZ\t#####\tT\tF")};
    auto *edit = new TqkDBEdit(window.get());
    edit->Picture()->SetAllowInvalidExit(true);
    edit->SetDataSource(source.get());
    edit->SetDataField("plz");
    show(edit);
    EXPECT_EQ(edit->Picture()->PictureMask(), "#####");
    EXPECT_FALSE(edit->Picture()->AllowInvalidExit());
    EXPECT_FALSE(edit->Picture()->IsStored());
    retype(edit, "x12345");
    EXPECT_EQ(edit->text(), "12345");
    leave(edit);
    EXPECT_TRUE(other->hasFocus());
    customers->Post();
    customers->Refresh();
    EXPECT_EQ(customers->FieldByName("plz")->AsString(), "12345");
}

TEST_F(EditControlTest, IncompleteTextRefusesEveryExitAndKeepsTheFocus)
{
    customers->PictureMasks =
        QStringList{QStringLiteral("plz\t#####\tT\tF"), QStringLiteral("Telefon\t0*#[ ]*#\tT\tF")};
    auto *unbound = new TqkDBEdit(window.get());
    auto *bound = boundEdit("plz");
    boundEdit("Telefon");
    unbound->Picture()->SetPictureMask(QStringLiteral("#####"));
    unbound->SetReadOnly(false);
    for (TqkDBEdit *edit : {bound, unbound}) {
        services.clear();
        show(edit);
        retype(edit, "123");
        for (int tab = 1; tab <= 2; ++tab) {
            QTest::keyClick(edit, Qt::Key_Tab);
            EXPECT_TRUE(edit->hasFocus()) << tab;
            EXPECT_TRUE(edit->ExitRefused()) << tab;
            EXPECT_EQ(services.beeps(), tab);
            EXPECT_EQ(edit->selectedText(), "123") << tab;
        }
        typeText(edit, "54321");
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_FALSE(edit->hasFocus());
    }
    customers->Post();
    EXPECT_EQ(customers->FieldByName("plz")->AsString(), "54321");
}

TEST_F(EditControlTest, ATextThePictureRefusesNeverReachesTheTable)
{
    customers->PictureMasks = QStringList{QStringLiteral("plz\t#####\tT\tF")};
    auto *edit = boundEdit("plz");
    ASSERT_EQ(edit->text(), "80331");
    retype(edit, "803");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(customers->FieldByName("plz")->AsString(), "80331");
    try {
        customers->Post();
        ADD_FAILURE() << "the refused text was posted";
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), "Invalid characters. Field : plz");
    }
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus()) << "a second Tab leaves the refused text too";
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "80331");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
    customers->Post();
    EXPECT_EQ(storedCustomerField("10001", "plz"), "80331");
}

TEST_F(EditControlTest, PastingPassesThroughThePicture)
{
    auto *edit = maskedEdit("#####");
    QList<bool> checks;
    edit->OnCheckValue = [&checks](QObject *, bool passes) { checks.append(passes); };
    QApplication::clipboard()->setText("12a45");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "12a45") << "a refused paste stays for the user to mend";
    EXPECT_EQ(services.beeps(), 0);
    EXPECT_EQ(checks, QList<bool>{false});
    edit->selectAll();
    QApplication::clipboard()->setText("54321");
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "54321");
    EXPECT_EQ(checks, (QList<bool>{false, true}));
    edit->setReadOnly(true);
    edit->SetReadOnly(true);
    edit->selectAll();
    QApplication::clipboard()->setText("11111");
    edit->Paste();
    EXPECT_EQ(edit->text(), "54321");
}

TEST_F(EditControlTest, BlankCompletesDatesAndTimesFromTheClock)
{
    struct Case
    {
        TqkEditDataType type;
        QString am, pm;
        QString typed; // before the first blank
        QStringList steps;
    };
    const Case cases[] = {
        {qkEdtDate, {}, {}, {}, {"05.", "05.12.", "05.12.2026", "05.12.2026"}},
        {qkEdtDateTime,
         {},
         {},
         {},
         {"05.", "05.12.", "05.12.2026", "05.12.2026 ", "05.12.2026 14:", "05.12.2026 14:07:", "05.12.2026 14:07:09",
          "05.12.2026 14:07:09"}},
        {qkEdtTime, "AM", "PM", {}, {"2:", "2:07:", "2:07:09", "2:07:09 PM", "2:07:09 PM"}},
        {qkEdtTime, "vorm.", "nachm.", {}, {"2:", "2:07:", "2:07:09", "2:07:09 PM", "2:07:09 PM"}},
        // Typed hour digits are closed by the separator, never repeated.
        {qkEdtTime, {}, {}, "14", {"14:", "14:07:", "14:07:09", "14:07:09"}},
        {qkEdtDateTime, {}, {}, "01.02.2026 9", {"01.02.2026 9:", "01.02.2026 9:07:"}},
    };
    for (const Case &c : cases) {
        FormatSettings().TimeAMString = c.am;
        FormatSettings().TimePMString = c.pm;
        auto *edit = new TqkDBEdit(window.get());
        edit->SetUnboundDataType(c.type);
        edit->SetReadOnly(false);
        show(edit);
        typeText(edit, c.typed);
        for (const QString &step : c.steps) {
            QTest::keyClick(edit, Qt::Key_Space);
            EXPECT_EQ(edit->text(), step) << int(c.type);
        }
        delete edit;
    }
}

TEST_F(EditControlTest, AnUnboundDateOrTimeEditKeepsTheFocusWhileItsTextIsNoDateOrTime)
{
    struct Case
    {
        TqkEditDataType type;
        const char *typed;
        const char *message; // none: the focus leaves
    };
    const Case cases[] = {
        {qkEdtDateTime, "32.13.2024 25:99", "„32.13.2024 25:99“ ist keine gültige Angabe von Datum und Uhrzeit."},
        {qkEdtDateTime, "05.12.2026 14:", "„05.12.2026 14:“ ist keine gültige Angabe von Datum und Uhrzeit."},
        {qkEdtDateTime, "05.12.2026 14:07", nullptr},
        {qkEdtDate, "31.02.2026", "„31.02.2026“ ist kein gültiges Datum."},
        {qkEdtTime, "25:99", "„25:99“ ist keine gültige Uhrzeit."},
        {qkDefault, "32.13.2024", nullptr},
    };
    for (const Case &c : cases) {
        services.clear();
        auto *edit = new TqkDBEdit;
        edit->SetUnboundDataType(c.type);
        edit->SetReadOnly(false);
        show(edit);
        typeText(edit, c.typed);
        leave(edit);
        EXPECT_EQ(edit->hasFocus(), c.message != nullptr) << c.typed;
        EXPECT_EQ(services.messageTexts(), c.message ? QStringList{c.message} : QStringList()) << c.typed;
        EXPECT_EQ(edit->text(), c.typed);
        delete edit;
    }
}

TEST_F(EditControlTest, BlankInTheMiddleOfADateIsTypedAndAWholeSelectionIsReplaced)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->SetUnboundDataType(qkEdtDate);
    edit->SetReadOnly(false);
    show(edit);
    edit->setText("01.01.2020");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), "05.");
    edit->setText("01.01.2020");
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), "01. 01.2020");
    // A selection running to the end counts from its start.
    edit->setText("01.01.2020");
    edit->setSelection(3, 7);
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), "01. ");
}

TEST_F(EditControlTest, BoundDateFieldFillsAndWritesTheDateAtMidnight)
{
    auto *edit = boundEdit("Gruendungsdatum");
    retype(edit, "12.05.2024");
    leave(edit);
    customers->Post();
    EXPECT_EQ(customers->FieldByName("Gruendungsdatum")->AsDateTime(), EncodeDate(2024, 5, 12));
}

TEST_F(EditControlTest, CharCaseForcesTypedAndPastedLettersAndAutoSelectCanBeSwitchedOff)
{
    struct Case
    {
        TEditCharCase charCase;
        const char *typed;
        const char *pasted;
        const char *expected;
    };
    const Case cases[] = {
        {ecUpperCase, "Müller ", "Straße", "MÜLLER STRAßE"},
        {ecLowerCase, "Müller ", "STRASSE", "müller strasse"},
        {ecNormal, "Müller ", "Straße", "Müller Straße"},
    };
    for (const Case &c : cases) {
        auto *edit = new TqkDBEdit;
        edit->SetReadOnly(false);
        edit->SetCharCase(c.charCase);
        show(edit);
        typeText(edit, QString::fromUtf8(c.typed));
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.expected)) << int(c.charCase);
        delete edit;
    }
    for (const bool autoSelect : {true, false}) {
        auto *edit = new TqkDBEdit;
        edit->SetReadOnly(false);
        edit->setText("Anfang");
        edit->SetAutoSelect(autoSelect);
        show(edit);
        EXPECT_EQ(edit->selectedText(), autoSelect ? "Anfang" : "") << autoSelect;
        delete edit;
    }
}

TEST_F(EditControlTest, EscapeRestoresTheTextOfTheLastEntry)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->SetReadOnly(false);
    edit->setText("Anfang");
    show(edit);
    typeText(edit, "Neu");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "Anfang");
    auto *locked = new TqkDBEdit(window.get());
    locked->SetReadOnly(true);
    show(locked);
    typeText(locked, "abc");
    EXPECT_EQ(locked->text(), "");
}

TEST_F(EditControlTest, InsideAGridNavigationKeysGoToTheGrid)
{
    auto *grid = new fixture::TqkDBGrid(window.get());
    window->layout()->addWidget(grid);
    auto *edit = new TqkDBEdit(grid);
    edit->SetReadOnly(false);
    edit->setText("Text");
    show(edit);
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_TRUE(grid->received.isEmpty());
    grid->alwaysShowEditor = true;
    QTest::keyClick(edit, Qt::Key_Left);
    ASSERT_EQ(grid->received.size(), 1);
    EXPECT_EQ(grid->received[0].first, qk::VK_LEFT);
    edit->setFocus();
    edit->setCursorPosition(2);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "Tet");
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(grid->received.size(), 2);
    EXPECT_EQ(grid->received[1].first, qk::VK_DELETE);
    // Over a framework edit mask the caret at the start covers the first character.
    for (const bool masked : {false, true}) {
        edit->SetEditMask(masked ? "00000;0;_" : "");
        edit->setFocus();
        edit->setSelection(0, 1);
        const qsizetype before = grid->received.size();
        QTest::keyClick(edit, Qt::Key_Left);
        EXPECT_EQ(grid->received.size() - before, masked ? 1 : 0) << masked;
    }
}

TEST_F(EditControlTest, BoundMasksAreWrittenToTheDataSetUnlessTheTableHasItsOwnAndLengthFollowsTheField)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->SetDataSource(source.get());
    edit->SetDataField("Name");
    EXPECT_EQ(edit->MaxLength(), 40);
    edit->SetDataField("plz");
    EXPECT_EQ(edit->MaxLength(), 10);
    edit->SetDataField("Telefon");
    edit->Picture()->SetPictureMask("0*#");
    edit->Picture()->SetAutoFill(false);
    EXPECT_EQ(customers->PictureMasks, QStringList{"Telefon\t0*#\tF\tF"});

    fixture::TqkTable ownPictures;
    ownPictures.SetDatabaseName(dir.path());
    ownPictures.SetTableName("Kunden");
    ownPictures.Open();
    TqkDataSource ownSource;
    ownSource.SetDataSet(&ownPictures);
    edit->SetDataSource(&ownSource);
    edit->SetDataField("plz");
    edit->Picture()->SetPictureMask("###");
    EXPECT_EQ(services.messageTexts(), QStringList{"Picture mask already defined in Paradox table. "});
    TqkUserMessagesIntl &messages = *qkIntl().UserMessages;
    const QString message = std::exchange(messages.PictureMaskInTable, QStringLiteral("Maske steht in der Tabelle."));
    edit->Picture()->SetPictureMask("####");
    messages.PictureMaskInTable = message;
    EXPECT_EQ(services.messageTexts().value(1), "Maske steht in der Tabelle.");
    EXPECT_EQ(edit->Picture()->PictureMask(), "#####");
    EXPECT_TRUE(ownPictures.PictureMasks.isEmpty());
}

TEST_F(EditControlTest, InvalidTextOnLeavingGoesToTheDataSetsHandlerOrRaises)
{
    customers->PictureMasks = QStringList{QStringLiteral("plz\t#####\tT\tF")};
    customers->ValidateWithMask = true;
    QList<QString> reported;
    customers->OnInvalidValue = [&reported](TDataSet *, TField *field) { reported.append(field->FieldName()); };
    auto *edit = boundEdit("plz");
    retype(edit, "12");
    leave(edit);
    EXPECT_EQ(reported, QStringList{"plz"});
    EXPECT_TRUE(edit->hasFocus());

    customers->OnInvalidValue = nullptr;
    services.clear();
    retype(edit, "12");
    leave(edit);
    EXPECT_TRUE(edit->hasFocus());
    ASSERT_EQ(services.messages().size(), 1);
    EXPECT_TRUE(services.messages()[0].text.startsWith("Ungültiger Eingabewert."));
    EXPECT_EQ(edit->selectedText(), "12");
}

// Qt delivers drops only within a drag; the test hands the drop over itself.
class DropTarget : public TqkDBEdit
{
public:
    using TqkDBEdit::dropEvent;
    using TqkDBEdit::TqkDBEdit;
};

TEST_F(EditControlTest, DroppedAndComposedTextPassesThePicture)
{
    auto *edit = new DropTarget(window.get());
    edit->Picture()->SetPictureMask("###");
    show(edit);
    QInputMethodEvent composed;
    composed.setCommitString("1x2");
    QApplication::sendEvent(edit, &composed);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(services.beeps(), 1);
    QMimeData dropped;
    dropped.setText("a");
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    edit->dropEvent(&drop);
    EXPECT_EQ(edit->text(), "a12");
    EXPECT_TRUE(edit->RefusesExitWith(edit->text()));
    edit->setText("12");
    dropped.setText("3");
    edit->setCursorPosition(2);
    edit->dropEvent(&drop);
    EXPECT_EQ(edit->text(), "312");
}

// The filter dialog's value edit is unbound and takes a drop before any key.
TEST_F(EditControlTest, AnUnboundEditTakesADropBeforeAnyKeyUnlessReadOnly)
{
    QMimeData dropped;
    dropped.setText("Köln");
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    for (const bool readOnly : {false, true}) {
        auto *edit = new DropTarget(window.get());
        if (readOnly)
            edit->SetReadOnly(true);
        show(edit);
        edit->dropEvent(&drop);
        EXPECT_EQ(edit->text(), readOnly ? "" : "Köln") << readOnly;
    }
}

TEST_F(EditControlTest, ReadOnlyDataSourceWithoutAutoEditTakesNoTyping)
{
    source->SetAutoEdit(false);
    auto *edit = boundEdit("Name");
    const QString before = edit->text();
    typeText(edit, "xyz");
    EXPECT_EQ(edit->text(), before);
    EXPECT_EQ(customers->State(), dsBrowse);
}

TEST_F(EditControlTest, TabAndEscapeInsideAGridFollowTheGridsOptions)
{
    auto *grid = new fixture::TqkDBGrid(window.get());
    window->layout()->addWidget(grid);
    auto *edit = new TqkDBEdit(grid);
    edit->SetReadOnly(false);
    show(edit);
    QTest::keyClick(edit, Qt::Key_Escape);
    ASSERT_EQ(grid->received.size(), 1);
    EXPECT_EQ(grid->received[0].first, qk::VK_ESCAPE);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(grid->received.size(), 1);
    EXPECT_FALSE(edit->hasFocus());
    grid->tabs = true;
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_EQ(grid->received.size(), 2);
    EXPECT_EQ(grid->received[1].first, qk::VK_TAB);
    EXPECT_TRUE(grid->hasFocus());
    // With WantReturns a plain Enter breaks the line; Ctrl+Enter reaches the grid.
    edit->SetWantReturns(true);
    edit->setText("Zeile");
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int handed;
        QString text;
    } keys[] = {{Qt::Key_Tab, Qt::ControlModifier, qk::VK_TAB, "Zeile"},
                {Qt::Key_Return, Qt::ControlModifier, qk::VK_RETURN, "Zeile"},
                {Qt::Key_Return, Qt::NoModifier, 0, "Zeile\n"}};
    for (const auto &k : keys) {
        edit->setFocus();
        edit->end(false);
        const qsizetype before = grid->received.size();
        QTest::keyClick(QApplication::focusWidget(), k.key, k.modifiers);
        EXPECT_EQ(grid->received.value(before).first, k.handed) << k.key;
        EXPECT_EQ(edit->text(), k.text) << k.key;
    }
}

TEST_F(EditControlTest, RightAlignedFieldShowsRightWhileUnfocusedAndTypesLeft)
{
    customers->FieldByName("Name")->SetAlignment(taRightJustify);
    auto *edit = new TqkDBEdit(window.get());
    edit->SetDataSource(source.get());
    edit->SetDataField("Name");
    window->layout()->addWidget(edit);
    window->show();
    const auto leftmostInk = [edit] {
        const QImage image = edit->grab().toImage();
        int leftmost = image.width();
        for (int x = 3; x < image.width() - 3; ++x) {
            for (int y = 4; y < image.height() - 4; ++y) {
                if (image.pixelColor(x, y).lightness() < 100)
                    leftmost = qMin(leftmost, x);
            }
        }
        return leftmost;
    };
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
    const int unfocused = leftmostInk();
    show(edit);
    edit->deselect();
    EXPECT_TRUE(edit->alignment() & Qt::AlignLeft);
    EXPECT_LT(leftmostInk(), unfocused - 10);
    leave(edit);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
}

namespace {

QStringList capturedWarnings;

void captureWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        capturedWarnings.append(message);
}

}

TEST_F(EditControlTest, ALibraryTableWithoutPicturesOfItsOwnIsAskedNothing)
{
    QTemporaryDir plain;
    demo::TableSpec spec = demo::tableSpec(QStringLiteral("Kunden.db"));
    spec.pictures.clear();
    demo::writeTableFile(spec, plain.path(), demo::customerRows());
    TqkTable table;
    table.SetDatabaseName(plain.path());
    table.SetTableName(QStringLiteral("Kunden"));
    table.SetPictureMasks({QStringLiteral("plz\t#####\tT\tF")});
    table.Open();
    TqkDataSource tableSource;
    tableSource.SetDataSet(&table);
    auto *edit = new TqkDBEdit(window.get());
    edit->SetDataSource(&tableSource);
    edit->SetDataField(QStringLiteral("plz"));
    show(edit);
    capturedWarnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(captureWarning);
    retype(edit, "8033");
    edit->Picture()->SetPictureMask(QStringLiteral("####"));
    qInstallMessageHandler(before);
    EXPECT_EQ(edit->text(), "8033");
    EXPECT_EQ(table.PictureMasks().value(0), QStringLiteral("plz\t####\tT\tF"));
    EXPECT_TRUE(capturedWarnings.isEmpty()) << capturedWarnings.join(QLatin1Char('\n')).toStdString();
}

TEST_F(EditControlTest, EnterAndExitEventsFireAndExitComesBeforeThePictureCheck)
{
    auto *edit = new TqkDBEdit(window.get());
    edit->Picture()->SetPictureMask(QStringLiteral("###"));
    edit->SetReadOnly(false);
    QStringList events;
    edit->setText(QStringLiteral("12"));
    edit->OnEnter = [&events, edit](QObject *) { events << QStringLiteral("enter") + edit->selectedText(); };
    edit->OnExit = [&events](QObject *) { events << QStringLiteral("exit"); };
    edit->OnCheckValue = [&events](QObject *, bool passes) {
        events << (passes ? QStringLiteral("passes") : QStringLiteral("fails"));
    };
    show(edit);
    leave(edit);
    events.clear();
    edit->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(events, QStringList{QStringLiteral("enter12")}) << "entered with its text selected";
    typeText(edit, QStringLiteral("12"));
    events.clear();
    leave(edit);
    EXPECT_EQ(events.value(0), QStringLiteral("exit"));
    EXPECT_EQ(events.value(1), QStringLiteral("fails"));
    EXPECT_TRUE(edit->hasFocus());
    events.clear();
    QTest::keyClick(edit, Qt::Key_End);
    typeText(edit, QStringLiteral("3"));
    leave(edit);
    EXPECT_TRUE(events.contains(QStringLiteral("exit")));
    EXPECT_TRUE(other->hasFocus());
}

// Inside a grid that has the focus the edit paints its text with the margin
// of its border: one pixel further in with a border than without.
TEST_F(EditControlTest, TheOwnPaintingsMarginFollowsTheBorderInsideAFocusedGrid)
{
    auto *grid = new fixture::TqkDBGrid(window.get());
    window->layout()->addWidget(grid);
    const auto leftmostLightInk = [grid](bool frame) {
        auto *edit = new TqkDBEdit(grid);
        edit->setFrame(frame);
        edit->setGeometry(0, 0, 150, 30);
        edit->setText("Müller");
        edit->show();
        const QImage image = edit->grab().toImage();
        int leftmost = image.width();
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 3; x < image.width() - 3; ++x)
                if (image.pixelColor(x, y).lightness() > 200)
                    leftmost = qMin(leftmost, x);
        delete edit;
        return leftmost;
    };
    window->show();
    QApplication::setActiveWindow(window.get());
    grid->setFocus();
    EXPECT_EQ(leftmostLightInk(true) - leftmostLightInk(false), 1);
}
