#include "EditTables.h"

#include "lib/edit/Qkdotdot.h"
#include "lib/edit/qkdbdatetimepicker.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateConversions.h"
#include "support/TypedDates.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <functional>

using DateTimePickerTest = EditTables;

namespace {

TqkDBDateTimePicker *datePicker(QWidget *parent, const QString &format, TDateTime value)
{
    auto *picker = new TqkDBDateTimePicker(parent);
    picker->SetUnboundDataType(qkDTEdtDate);
    picker->SetDisplayFormat(format);
    if (value != 0)
        picker->SetDate(value);
    return picker;
}

}

TEST_F(DateTimePickerTest, FormatTokensRenderAndLocateFields)
{
    struct Case
    {
        const char *format;
        int field;
        const char *text;
        int start, length;
        TqkDTTokenKind kind;
    };
    const TDateTime value = EncodeDate(1999, 3, 7) + EncodeTime(9, 5, 0, 0);
    const Case cases[] = {
        {"dd.MM.yyyy", 0, "07.03.1999", 0, 0, TqkDTTokenKind::Literal},
        {"dd/mm/yyyy", 0, "07/03/1999", 0, 0, TqkDTTokenKind::Literal},
        {"yyyy/mm/dd", 2, "1999/03", 5, 2, TqkDTTokenKind::Month},
        {"dd.MM.yyyy", 2, "07.03", 3, 2, TqkDTTokenKind::Month},
        {"dd.MM.yyyy", 3, "07.03.1999", 6, 4, TqkDTTokenKind::Year},
        {"hh:mm", 2, "09:05", 3, 2, TqkDTTokenKind::Minute},
        {"mm.yyyy", 1, "03", 0, 2, TqkDTTokenKind::Month},
        {"h:nn am/pm", 3, "9:05 am", 5, 2, TqkDTTokenKind::AmPm},
        {"d. mmmm yy", 2, "7. März", 3, 4, TqkDTTokenKind::MonthName},
    };
    for (const Case &c : cases) {
        const TqkDTRendering r =
            qkRenderDateTime(qkTokenizeDateTimeFormat(qkExpandDateTimeFormat(c.format)), value, c.field, true, true);
        EXPECT_EQ(r.text, QString(c.text)) << c.format;
        if (c.field > 0) {
            EXPECT_EQ(QPoint(r.start, r.length), QPoint(c.start, c.length)) << c.format;
            EXPECT_EQ(int(r.field.kind), int(c.kind)) << c.format;
        }
    }
    EXPECT_EQ(qkRenderDateTime(qkTokenizeDateTimeFormat("dd.mm.yyyy"), EncodeDate(202, 5, 12), 0, true, true).text,
              "12.05.0202");
    EXPECT_EQ(qkEpochYear(49, 1950), 2049);
    EXPECT_EQ(qkEpochYear(50, 1950), 1950);
}

TEST_F(DateTimePickerTest, TypedYearsFollowTheEpochRule)
{
    auto *shortYear = datePicker(window.get(), "dd.mm.yy", EncodeDate(2000, 6, 15));
    show(shortYear);
    QTest::keyClick(shortYear, Qt::Key_Right);
    QTest::keyClick(shortYear, Qt::Key_Right);
    typeText(shortYear, "49");
    EXPECT_EQ(shortYear->Date(), EncodeDate(2049, 6, 15));
    typeText(shortYear, "50");
    EXPECT_EQ(shortYear->Date(), EncodeDate(1950, 6, 15));

    auto *longYear = datePicker(window.get(), "dd.mm.yyyy", EncodeDate(2000, 6, 15));
    show(longYear);
    QTest::keyClick(longYear, Qt::Key_Right);
    QTest::keyClick(longYear, Qt::Key_Right);
    QTest::keyClick(longYear, '7');
    EXPECT_TRUE(longYear->TypingPending());
    EXPECT_EQ(longYear->text(), "15.06.7000");
    QTest::keyClick(longYear, Qt::Key_Left);
    EXPECT_EQ(longYear->Value(), EncodeDate(2007, 6, 15));
    EXPECT_EQ(longYear->text(), "15.06.2007");
}

TEST_F(DateTimePickerTest, ArrowsStepFieldsWithoutCarryAndCutTheDay)
{
    struct Case
    {
        TDateTime start;
        int field;
        Qt::Key key;
        TDateTime expected;
    };
    const Case cases[] = {
        {EncodeDate(2023, 1, 31), 1, Qt::Key_Up, EncodeDate(2023, 1, 1)},
        {EncodeDate(2023, 1, 31), 2, Qt::Key_Up, EncodeDate(2023, 2, 28)},
        {EncodeDate(2024, 1, 31), 2, Qt::Key_Up, EncodeDate(2024, 2, 29)},
        {EncodeDate(2024, 2, 29), 3, Qt::Key_Up, EncodeDate(2025, 2, 28)},
        // The day wraps within its own month, whatever the month before holds.
        {EncodeDate(2024, 4, 1), 1, Qt::Key_Down, EncodeDate(2024, 4, 30)},
        {EncodeDate(2024, 3, 1), 1, Qt::Key_Down, EncodeDate(2024, 3, 31)},
        {EncodeDate(2024, 4, 30), 1, Qt::Key_Up, EncodeDate(2024, 4, 1)},
        {EncodeDate(2023, 2, 28), 1, Qt::Key_Up, EncodeDate(2023, 2, 1)},
        // Without a minimum Home stops at the last day of 1899; earlier dates stay.
        {EncodeDate(2024, 5, 20), 3, Qt::Key_Home, EncodeDate(1900, 5, 20)},
        {EncodeDate(2024, 12, 31), 3, Qt::Key_Home, EncodeDate(1899, 12, 31)},
        {EncodeDate(1887, 5, 13), 1, Qt::Key_Home, EncodeDate(1887, 5, 1)},
    };
    for (const Case &c : cases) {
        auto *picker = datePicker(window.get(), "dd.mm.yyyy", c.start);
        show(picker);
        for (int i = 1; i < c.field; ++i)
            QTest::keyClick(picker, Qt::Key_Right);
        QTest::keyClick(picker, c.key);
        EXPECT_EQ(picker->Value(), c.expected) << c.field << " " << FormatDateTime("dd.mm.yyyy", c.start).toStdString();
        delete picker;
    }
    auto *time = new TqkDBDateTimePicker(window.get());
    time->SetDisplayFormat("dd.mm.yyyy hh:nn");
    time->SetDate(EncodeDate(2024, 12, 31));
    time->SetTime(EncodeTime(23, 30, 0, 0));
    show(time);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(time, Qt::Key_Right);
    QTest::keyClick(time, Qt::Key_Plus);
    EXPECT_EQ(time->Value(), EncodeDate(2024, 12, 31) + EncodeTime(0, 30, 0, 0));
}

TEST_F(DateTimePickerTest, TypedDigitsCompleteFieldsAndInvalidOnesAreRefused)
{
    auto *picker = datePicker(window.get(), "dd.mm.yyyy", EncodeDate(2023, 4, 10));
    show(picker);
    QTest::keyClick(picker, '3');
    EXPECT_TRUE(picker->TypingPending());
    QTest::keyClick(picker, '1');
    // April has no 31st: the day waits, shown, for the month typed next.
    EXPECT_EQ(services.messageTexts(), QStringList());
    EXPECT_EQ(picker->text(), "31.04.2023");
    EXPECT_TRUE(picker->HasUnfinishedDate());
    EXPECT_EQ(picker->Value(), EncodeDate(2023, 4, 10));
    EXPECT_EQ(picker->CurrentField(), 2);
    typeText(picker, "7");
    EXPECT_EQ(picker->Value(), EncodeDate(2023, 7, 31));
    EXPECT_FALSE(picker->HasUnfinishedDate());
    EXPECT_EQ(picker->selectedText(), "2023");
    QTest::keyClick(picker, Qt::Key_Left);
    typeText(picker, "13");
    EXPECT_EQ(services.beeps(), 1);
    EXPECT_EQ(picker->text(), "31.13.2023") << "shown as typed, never stored";
    EXPECT_EQ(picker->Value(), EncodeDate(2023, 7, 31));
    // A month typed over a day that was not typed cuts it.
    picker->SetDate(EncodeDate(2023, 7, 31));
    QTest::keyClick(picker, Qt::Key_Left);
    typeText(picker, "11");
    EXPECT_EQ(picker->Value(), EncodeDate(2023, 11, 30));
}

TEST_F(DateTimePickerTest, TypedDatesAreKeptAsTypedOrRefusedWhole)
{
    auto *picker = new TqkDBDateTimePicker(window.get());
    picker->SetDataSource(source.get());
    picker->SetDataField("Gruendungsdatum");
    auto *clock = new TqkDBDateTimePicker(window.get());
    clock->SetUnboundDataType(qkDTEdtTime);
    for (const typed::DateTyping &c : typed::dateTypings) {
        SCOPED_TRACE(c.what);
        services.clear();
        TqkDBDateTimePicker *target = c.time ? clock : picker;
        if (c.time) {
            clock->SetTime(StrToTime(QLatin1String(c.holding)));
        } else {
            customers->Edit();
            TField *field = customers->FieldByName("Gruendungsdatum");
            *c.holding ? field->SetText(QLatin1String(c.holding)) : field->Clear();
            customers->Post();
        }
        show(target);
        for (int i = 1; i < c.lastField; ++i)
            QTest::keyClick(target, Qt::Key_Right);
        leave(target);
        target->setFocus(Qt::TabFocusReason);
        typeText(target, c.keys);
        leave(target);
        EXPECT_EQ(services.beeps(), c.beeps);
        EXPECT_EQ(services.messageTexts(), *c.refusal ? QStringList{c.refusal} : QStringList());
        if (*c.refusal) {
            EXPECT_TRUE(target->hasFocus() && QString(c.refusal).contains("„" + target->text() + "“"));
            if (!c.time) {
                EXPECT_THROW(customers->Post(), EDateTimeError);
            }
            QTest::keyClick(target, Qt::Key_Escape);
        }
        customers->CheckBrowseMode();
        const QString kept = !c.time          ? storedCustomerField("10001", "Gruendungsdatum")
                             : clock->Value() ? FormatDateTime("hh:nn", *clock->Value())
                                              : QString();
        EXPECT_EQ(kept.toStdString(), c.kept);
    }
}

TEST_F(DateTimePickerTest, EmptyPickerFillsOnSpaceAndDeleteEmptiesIt)
{
    auto *picker = new TqkDBDateTimePicker(window.get());
    show(picker);
    EXPECT_EQ(picker->text(), "");
    QTest::keyClick(picker, Qt::Key_Space);
    EXPECT_EQ(picker->text(), "05.12.2026 14:07:09");
    QTest::keyClick(picker, Qt::Key_Delete);
    EXPECT_EQ(picker->text(), "05.12.2026");
    QTest::keyClick(picker, Qt::Key_Delete);
    EXPECT_FALSE(picker->Value());
    EXPECT_EQ(picker->text(), "");
    EXPECT_TRUE(picker->Cleared());
}

TEST_F(DateTimePickerTest, LimitsRaiseTheirGermanMessages)
{
    auto *picker = datePicker(window.get(), "dd.mm.yyyy", 0);
    picker->SetMinDate(EncodeDate(2020, 1, 1));
    try {
        picker->SetMaxDate(EncodeDate(2019, 1, 1));
        FAIL() << "no error";
    } catch (const EDateTimeError &error) {
        EXPECT_EQ(error.Message(), "Das Datum unterschreitet das Minimum von 01.01.2020");
    }
    EXPECT_THROW(picker->SetDate(EncodeDate(2019, 12, 31)), EDateTimeError);
    // No limit is not a limit on the first day the values count from.
    picker->SetMinDate(std::nullopt);
    picker->SetDate(EncodeDate(1887, 5, 12));
    picker->SetMaxDate(EncodeDate(1899, 12, 30));
    EXPECT_THROW(picker->SetDate(EncodeDate(1899, 12, 31)), EDateTimeError);
}

TEST_F(DateTimePickerTest, BoundPickerWritesTheDateAndKeepsNullApart)
{
    customers->Edit();
    customers->FieldByName("Gruendungsdatum")->SetAsDateTime(EncodeDate(2001, 5, 12));
    customers->Post();
    auto *picker = new TqkDBDateTimePicker(window.get());
    picker->SetDataSource(source.get());
    picker->SetDataField("Gruendungsdatum");
    show(picker);
    EXPECT_EQ(picker->text(), "12.05.2001");
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(picker->text(), "11.05.2001");
    EXPECT_TRUE(picker->isModified());
    leave(picker);
    customers->Post();
    customers->Refresh();
    EXPECT_EQ(customers->FieldByName("Gruendungsdatum")->AsDateTime(), EncodeDate(2001, 5, 11));

    customers->Next();
    customers->Edit();
    customers->FieldByName("Gruendungsdatum")->Clear();
    EXPECT_EQ(picker->text(), "");
    EXPECT_FALSE(picker->Value());
}

// The calendar shows every date a field can hold; what is picked in it
// reaches the table, and a day it could not show is never written back.
TEST_F(DateTimePickerTest, TheDropDownShowsTheFieldsDateAndWritesOnlyWhatIsPicked)
{
    struct Case
    {
        QDate stored;
        std::optional<TDateTime> minDate;
        std::function<void(TqkDBDateTimePicker *)> pick;
        QDate shown, expected;
    };
    const auto enter = [](TqkDBDateTimePicker *picker) { QTest::keyClick(picker, Qt::Key_Return); };
    const auto rightEnter = [](TqkDBDateTimePicker *picker) {
        QTest::keyClick(picker, Qt::Key_Right);
        QTest::keyClick(picker, Qt::Key_Return);
    };
    const auto click20th = [](TqkDBDateTimePicker *picker) {
        TqkPopupCalendar *calendar = picker->Calendar();
        QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->DayRect(QDate(2020, 5, 20)).center());
    };
    const Case cases[] = {
        {QDate(2020, 5, 12), {}, rightEnter, QDate(2020, 5, 12), QDate(2020, 5, 13)},
        {QDate(2020, 5, 12), {}, click20th, QDate(2020, 5, 12), QDate(2020, 5, 20)},
        {QDate(1887, 5, 12), {}, enter, QDate(1887, 5, 12), QDate(1887, 5, 12)},
        {QDate(1887, 5, 12), {}, rightEnter, QDate(1887, 5, 12), QDate(1887, 5, 13)},
        {QDate(1899, 12, 30), {}, rightEnter, QDate(1899, 12, 30), QDate(1899, 12, 31)},
        {QDate(1887, 5, 12), EncodeDate(1900, 1, 1), enter, QDate(1900, 1, 1), QDate(1887, 5, 12)},
    };
    auto *picker = new TqkDBDateTimePicker(window.get());
    picker->SetDataSource(source.get());
    picker->SetDataField("Gruendungsdatum");
    for (const Case &c : cases) {
        customers->Edit();
        customers->FieldByName("Gruendungsdatum")->SetAsDateTime(FromQDate(c.stored));
        customers->Post();
        picker->SetMinDate(c.minDate);
        show(picker);
        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(ToQDate(picker->Calendar()->Date()), c.shown);
        c.pick(picker);
        EXPECT_FALSE(picker->IsDroppedDown());
        leave(picker);
        if (customers->State() == dsEdit)
            customers->Post();
        EXPECT_EQ(storedCustomerField("10001", "Gruendungsdatum"), c.expected.toString("dd.MM.yyyy"))
            << c.expected.toString().toStdString();
    }
}

TEST_F(DateTimePickerTest, TypedValuesThatMakeNoDateAreRefusedWithAMessage)
{
    struct Case
    {
        const char *format;
        std::optional<TDateTime> start, minDate;
        int rights; // fields moved on before typing
        const char *typed;
        std::optional<TDateTime> expected;
        int beeps;
        const char *message;
    };
    const TDateTime quarterPastTen = EncodeTime(10, 15, 0, 0);
    const Case cases[] = {
        {"dd.mm.yyyy", {}, {}, 0, "32", {}, 1, "„32.12.2026“ ist kein gültiges Datum."},
        {"dd.mm.yyyy", {}, {}, 0, "0113", {}, 1, "„01.13.2026“ ist kein gültiges Datum."},
        {"dd.mm.yyyy", {}, {}, 0, "01011890", EncodeDate(1890, 1, 1), 0, nullptr},
        {"dd.mm.yyyy", EncodeDate(2024, 6, 1), EncodeDate(2000, 1, 1), 2, "1990", EncodeDate(2024, 6, 1), 0,
         "Das Datum unterschreitet das Minimum von 01.01.2000"},
        // Below the minimum with the month kept, not with the month typed after it.
        {"dd.mm.yyyy", EncodeDate(2024, 6, 15), EncodeDate(2024, 6, 10), 0, "05072024", EncodeDate(2024, 7, 5), 0,
         nullptr},
        {"hh:nn am/pm", quarterPastTen, {}, 0, "14", EncodeTime(14, 15, 0, 0), 0, nullptr},
        {"hh:nn am/pm", quarterPastTen, {}, 0, "2", EncodeTime(2, 15, 0, 0), 0, nullptr},
        {"hh:nn", quarterPastTen, {}, 0, "25", quarterPastTen, 1, "„25:15“ ist keine gültige Uhrzeit."},
    };
    for (const Case &c : cases) {
        services.clear();
        auto *picker = new TqkDBDateTimePicker;
        const bool time = QString(c.format).startsWith('h');
        picker->SetUnboundDataType(time ? qkDTEdtTime : qkDTEdtDate);
        picker->SetDisplayFormat(c.format);
        picker->SetMinDate(c.minDate);
        time ? picker->SetTime(*c.start) : (c.start ? picker->SetDate(*c.start) : picker->Clear());
        show(picker);
        for (int i = 0; i < c.rights; ++i)
            QTest::keyClick(picker, Qt::Key_Right);
        typeText(picker, c.typed);
        leave(picker);
        EXPECT_EQ(services.beeps(), c.beeps) << c.typed;
        EXPECT_EQ(services.messageTexts(), c.message ? QStringList{c.message} : QStringList()) << c.typed;
        // A refused value keeps the focus until Escape brings back the value held on entry.
        if (c.message)
            QTest::keyClick(picker, Qt::Key_Escape);
        EXPECT_EQ(picker->Value(), c.expected) << c.format << " " << c.typed;
        delete picker;
    }
}

TEST_F(DateTimePickerTest, DropDownShowsTodayAndEscapeRestores)
{
    // The width the line edit asks of its style for the caret as it paints.
    const auto caretWidth = [](QLineEdit *edit) {
        QStyleOptionFrame frame;
        frame.initFrom(edit);
        return edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, &frame);
    };
    auto *picker = new TqkDBDateTimePicker(window.get());
    picker->SetUnboundDataType(qkDTEdtDate);
    show(picker);
    EXPECT_GT(caretWidth(picker), 0) << "an empty picker shows its caret";
    QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(picker->IsDroppedDown());
    EXPECT_EQ(caretWidth(picker), 0);
    EXPECT_EQ(picker->text(), "05.12.2026");
    EXPECT_EQ(picker->Calendar()->Date(), EncodeDate(2026, 12, 5));
    EXPECT_TRUE(picker->hasFocus());
    QTest::keyClick(picker, Qt::Key_Right);
    EXPECT_EQ(picker->Value(), EncodeDate(2026, 12, 6));
    QTest::keyClick(picker, Qt::Key_Escape);
    EXPECT_FALSE(picker->IsDroppedDown());
    EXPECT_FALSE(picker->Value());
    EXPECT_FALSE(picker->EscapeSwallowPending());

    picker->SetDate(EncodeDate(2026, 1, 31));
    picker->DropDown();
    QTest::keyClick(picker, Qt::Key_PageDown);
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(picker->IsDroppedDown());
    EXPECT_EQ(picker->Value(), EncodeDate(2026, 2, 28));
}

TEST_F(DateTimePickerTest, InsideAGridUpMovesTheRowOnlyWithTheWholeTextSelected)
{
    auto *grid = new fixture::TqkDBGrid(window.get());
    window->layout()->addWidget(grid);
    auto *picker = datePicker(grid, "dd.mm.yyyy", EncodeDate(2024, 3, 10));
    show(picker);
    picker->selectAll();
    QTest::keyClick(picker, Qt::Key_Up);
    ASSERT_EQ(grid->received.size(), 1);
    EXPECT_EQ(grid->received[0].first, qk::VK_UP);
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(grid->received.size(), 1);
    EXPECT_EQ(picker->Value(), EncodeDate(2024, 4, 10));
}

TEST_F(DateTimePickerTest, LettersPickMonthNamesAndAfternoons)
{
    auto *picker = datePicker(window.get(), "d. mmmm yyyy", EncodeDate(2024, 1, 31));
    show(picker);
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, 'm');
    EXPECT_EQ(picker->text(), "31. März 2024");
    QTest::keyClick(picker, 'm');
    EXPECT_EQ(picker->text(), "31. Mai 2024");
    QTest::keyClick(picker, 'f');
    EXPECT_EQ(picker->text(), "29. Februar 2024");
    QTest::keyClick(picker, 'q');
    EXPECT_EQ(picker->Value(), EncodeDate(2024, 2, 29));

    auto *clock = new TqkDBDateTimePicker(window.get());
    clock->SetUnboundDataType(qkDTEdtTime);
    clock->SetDisplayFormat("h:nn am/pm");
    clock->SetTime(EncodeTime(9, 15, 0, 0));
    show(clock);
    QTest::keyClick(clock, Qt::Key_End);
    EXPECT_EQ(clock->text(), "11:15 pm");
    QTest::keyClick(clock, Qt::Key_Right);
    QTest::keyClick(clock, Qt::Key_Right);
    QTest::keyClick(clock, 'a');
    EXPECT_EQ(clock->text(), "11:15 am");
    QTest::keyClick(clock, 'p');
    EXPECT_EQ(clock->text(), "11:15 pm");
    EXPECT_FALSE(clock->findChild<QAbstractButton *>()->isVisible()) << "a time display has no drop-down";
    QTest::keyClick(clock, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(clock->IsDroppedDown());
}

TEST_F(DateTimePickerTest, HomeAndEndStopAtTheLimitsAndYearDigitsBelowThemAreRefused)
{
    auto *picker = datePicker(window.get(), "dd.mm.yy", EncodeDate(2024, 5, 20));
    picker->SetMinDate(EncodeDate(2024, 5, 10));
    picker->SetMaxDate(EncodeDate(2031, 3, 15));
    show(picker);
    QTest::keyClick(picker, Qt::Key_Home);
    EXPECT_EQ(picker->Value(), EncodeDate(2024, 5, 10));
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_End);
    EXPECT_EQ(picker->Value(), EncodeDate(2030, 5, 10));
    QTest::keyClick(picker, '1');
    EXPECT_FALSE(picker->TypingPending());
    EXPECT_EQ(services.beeps(), 0);
    QTest::keyClick(picker, '2');
    QTest::keyClick(picker, '6');
    EXPECT_EQ(picker->Value(), EncodeDate(2026, 5, 10));
}

TEST_F(DateTimePickerTest, PasteReadsDatesAndCutEmpties)
{
    auto *picker = datePicker(window.get(), "dd.mm.yyyy", EncodeDate(2024, 5, 20));
    show(picker);
    QApplication::clipboard()->setText("24.12.2025");
    QTest::keyClick(picker, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(picker->Value(), EncodeDate(2025, 12, 24));
    QApplication::clipboard()->setText("kein Datum");
    QTest::keyClick(picker, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(picker->Value(), EncodeDate(2025, 12, 24));
    QTest::keyClick(picker, '1');
    QTest::keyClick(picker, Qt::Key_X, Qt::ControlModifier);
    leave(picker);
    EXPECT_FALSE(picker->Value()) << "a digit typed before the cut is not kept";
    EXPECT_TRUE(picker->Cleared());
}

TEST_F(DateTimePickerTest, RightPastTheDateOfAShortDisplayAddsTheTime)
{
    auto *picker = new TqkDBDateTimePicker(window.get());
    picker->SetDate(EncodeDate(2024, 5, 20));
    show(picker);
    EXPECT_EQ(picker->text(), "20.05.2024");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(picker, Qt::Key_Right);
    EXPECT_EQ(picker->text(), "20.05.2024 14:07:09");
    EXPECT_EQ(picker->CurrentField(), 4);
    EXPECT_EQ(picker->selectedText(), "14");
    QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->fontMetrics().horizontalAdvance("20.0") + 2, 5));
    EXPECT_EQ(picker->CurrentField(), 2);
    EXPECT_EQ(picker->selectedText(), "05");
}

TEST_F(DateTimePickerTest, DropDownStandsOnePixelRightOfTheControlAndTakesTheColours)
{
    auto *picker = datePicker(window.get(), "dd.mm.yyyy", EncodeDate(2024, 5, 20));
    picker->CalendarAttributes.Colors.SetColor(TqkDateTimeColors::TitleBack, QColor(0, 96, 0));
    picker->CalendarAttributes.Colors.SetColor(TqkDateTimeColors::TrailingText, QColor(128, 0, 0));
    show(picker);
    picker->DropDown();
    ASSERT_TRUE(picker->IsDroppedDown());
    const QPoint corner = picker->mapToGlobal(QPoint(0, 0));
    const QRect calendar = picker->Calendar()->geometry();
    EXPECT_EQ(calendar.topLeft(), corner + QPoint(1, picker->height() - 1));
    EXPECT_EQ(picker->Calendar()->CalColors()->Color(TqkDateTimeColors::TitleBack), QColor(0, 96, 0));
    EXPECT_EQ(picker->Calendar()->CalColors()->Color(TqkDateTimeColors::TrailingText), QColor(128, 0, 0));
    picker->CloseUp(true);

    picker->CalendarAttributes.Alignment = qkdtaRight;
    picker->DropDown();
    const int m = qkComboButtonWidth(picker);
    EXPECT_EQ(picker->Calendar()->x(), corner.x() + picker->width() - m - picker->Calendar()->width() - 1 + 1);
    picker->CloseUp(true);
}

// What the picker bound to a date, a time or a date and time field shows
// after the keys (Delete written "\x7f") and what the table file then holds.
TEST_F(DateTimePickerTest, EmptyMidnightAndTheFirstDayAreThreeStates)
{
    TTable appointments;
    appointments.SetDatabaseName(dir.path());
    appointments.SetTableName("Termine");
    for (const auto &[name, type] : {std::pair{"Tag", "D"}, {"Beginn", "T"}, {"Zeitpunkt", "@"}})
        appointments.FieldDefs()->AddParadox(name, type);
    appointments.CreateTable();
    appointments.Open();
    appointments.Append();
    appointments.Post();
    TqkDataSource appointmentSource;
    appointmentSource.SetDataSet(&appointments);
    const struct
    {
        const char *field, *format;
        bool required;
        const char *holding, *pasted, *keys, *shown, *stored;
    } cases[] = {
        {"Beginn", "", false, "", "", "", "", ""},
        {"Beginn", "", false, "08:30", "", "\x7f", "", ""},
        {"Beginn", "", true, "08:30", "", "\x7f", "08:30", "08:30:00"},
        {"Beginn", "", false, "", "00:00", "", "00:00", "00:00:00"},
        {"Zeitpunkt", "dd.mm.yyyy", false, "12.05.2024 14:30", "", "\x7f", "", ""},
        {"Zeitpunkt", "dd.mm.yyyy", true, "12.05.2024 14:30", "", "\x7f", "12.05.2024", "12.05.2024 14:30:00"},
        {"Zeitpunkt", "dd.mm.yyyy hh:nn", true, "12.05.2024 14:30", "", "\x7f", "12.05.2024 00:00", "12.05.2024"},
        {"Zeitpunkt", "", false, "12.05.2024 14:30", "", "\x7f", "12.05.2024", "12.05.2024"},
        {"Zeitpunkt", "hh:nn", false, "", "", "0830", "08:30", "05.12.2026 08:30:00"},
        {"Beginn", "hh:nn", false, "", "", "0830", "08:30", "08:30:00"},
        {"Tag", "", false, "15.06.2000", "13.05.1887", "", "13.05.1887", "13.05.1887"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.format + " " + c.holding + " " + c.keys);
        TField *field = appointments.FieldByName(c.field);
        field->SetRequired(false);
        appointments.Edit();
        *c.holding ? field->SetText(c.holding) : field->Clear();
        appointments.Post();
        field->SetRequired(c.required);
        auto picker = std::make_unique<TqkDBDateTimePicker>(window.get());
        picker->SetDataSource(&appointmentSource);
        picker->SetDataField(c.field);
        picker->SetDisplayFormat(c.format);
        show(picker.get());
        QApplication::clipboard()->setText(c.pasted);
        if (*c.pasted)
            QTest::keyClick(picker.get(), Qt::Key_V, Qt::ControlModifier);
        for (const char key : std::string(c.keys))
            key == '\x7f' ? QTest::keyClick(picker.get(), Qt::Key_Delete) : QTest::keyClick(picker.get(), key);
        EXPECT_EQ(picker->text(), c.shown);
        leave(picker.get());
        appointments.CheckBrowseMode();
        appointments.Close();
        appointments.Open();
        EXPECT_EQ(appointments.FieldByName(c.field)->Text(), c.stored);
    }
    EXPECT_EQ(services.messageTexts(), QStringList());
}
