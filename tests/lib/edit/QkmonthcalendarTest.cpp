#include "EditTables.h"

#include "lib/data/Qkintl.h"
#include "lib/edit/qkmonthcalendar.h"
#include "platform/runtime/DateConversions.h"

#include <QApplication>
#include <QGridLayout>
#include <QLayout>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>

using MonthCalendarTest = EditTables;

TEST_F(MonthCalendarTest, BoldDaysAreAskedDayByDayForEachShownMonth)
{
    TqkMonthCalendar calendar;
    QHash<int, int> callsPerMonth;
    calendar.OnCalcBoldDay = [&callsPerMonth](QObject *, TDateTime, int month, int day, int, bool &accept) {
        ++callsPerMonth[month];
        accept = day == 15;
    };
    calendar.SetOptions(mdoDayState | mdoWeekNumbers);
    callsPerMonth.clear();
    calendar.SetDate(EncodeDate(2024, 2, 10));
    EXPECT_EQ(callsPerMonth.value(2), 29);
    EXPECT_EQ(callsPerMonth.value(1), 31);
    callsPerMonth.clear();
    calendar.SetDate(EncodeDate(2023, 2, 10));
    EXPECT_EQ(callsPerMonth.value(2), 28);
    EXPECT_TRUE(calendar.IsBoldDay(QDate(2023, 2, 15)));
    EXPECT_FALSE(calendar.IsBoldDay(QDate(2023, 2, 16)));
    TqkMonthCalendar late;
    late.SetDate(EncodeDate(2024, 3, 10));
    late.OnCalcBoldDay = [](QObject *, TDateTime, int, int day, int, bool &accept) { accept = day == 15; };
    // Set after the month was shown: asked when it paints.
    late.grab();
    EXPECT_TRUE(late.IsBoldDay(QDate(2024, 3, 15)));
}

TEST_F(MonthCalendarTest, ACalendarWithoutALayoutKeepsItsMinimumSize)
{
    auto *calendar = new TqkMonthCalendar(window.get());
    window->show();
    const QSize least = calendar->minimumSizeHint();
    EXPECT_EQ(calendar->size(), QSize(qMax(155, least.width()), least.height()));
    calendar->resize(100, 30);
    EXPECT_EQ(calendar->size(), least);
    calendar->SetOptions(mdoDayState | mdoWeekNumbers);
    EXPECT_GE(calendar->width(), calendar->minimumSizeHint().width()) << "a week number column more";
    calendar->setFont(QFont(calendar->font().family(), calendar->font().pointSize() * 2));
    EXPECT_GE(calendar->height(), calendar->minimumSizeHint().height()) << "a larger font";
}

TEST_F(MonthCalendarTest, MouseAndKeysStopAtTheLimitsWithABeep)
{
    TqkMonthCalendar calendar;
    calendar.resize(calendar.sizeHint());
    calendar.SetDate(EncodeDate(1998, 3, 20));
    calendar.SetMinDate(EncodeDate(1998, 3, 15));
    calendar.show();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.DayRect(QDate(1998, 3, 10)).center());
    EXPECT_EQ(calendar.Date(), EncodeDate(1998, 3, 15));
    EXPECT_EQ(services.beeps(), 1);
    QTest::keyClick(&calendar, Qt::Key_Up);
    EXPECT_EQ(calendar.Date(), EncodeDate(1998, 3, 15));
    EXPECT_EQ(services.beeps(), 2);
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.DayRect(QDate(1998, 3, 25)).center());
    EXPECT_EQ(calendar.Date(), EncodeDate(1998, 3, 25));
    EXPECT_EQ(services.beeps(), 2);
}

TEST_F(MonthCalendarTest, PageDownKeepsTheDayWithinTheNextMonth)
{
    TqkMonthCalendar calendar;
    int changes = 0;
    calendar.OnChange = [&changes](QObject *) { ++changes; };
    for (const auto &[year, expected] : {std::pair{2023, 28}, std::pair{2024, 29}}) {
        calendar.SetDate(EncodeDate(year, 1, 31));
        QTest::keyClick(&calendar, Qt::Key_PageDown);
        EXPECT_EQ(calendar.Date(), EncodeDate(year, 2, expected));
    }
    calendar.SetDate(EncodeDate(2024, 12, 31));
    QTest::keyClick(&calendar, Qt::Key_Right);
    EXPECT_EQ(calendar.Date(), EncodeDate(2025, 1, 1));
    EXPECT_EQ(changes, 3);
}

TEST_F(MonthCalendarTest, ContradictingLimitsAndDatesBeyondThemRaise)
{
    TqkMonthCalendar calendar;
    calendar.SetDate(EncodeDate(2020, 6, 1));
    calendar.SetMinDate(EncodeDate(2020, 1, 1));
    try {
        calendar.SetMaxDate(EncodeDate(2019, 1, 1));
        FAIL() << "no error";
    } catch (const EDateTimeError &error) {
        EXPECT_EQ(error.Message(), "Das Datum unterschreitet das Minimum von 01.01.2020");
    }
    calendar.SetMaxDate(EncodeDate(2020, 12, 31));
    EXPECT_THROW(calendar.SetDate(EncodeDate(2021, 1, 1)), EDateTimeError);
    EXPECT_EQ(calendar.Date(), EncodeDate(2020, 6, 1));
}

TEST_F(MonthCalendarTest, YearMenuListsColumnsOfYearsAndDisablesThoseBeyondTheLimits)
{
    TqkMonthCalendar calendar;
    calendar.SetDate(EncodeDate(2000, 5, 5));
    calendar.SetMaxDate(EncodeDate(2005, 3, 1));
    std::unique_ptr<QMenu> menu(calendar.BuildYearMenu(nullptr));
    auto *grid = qobject_cast<QWidgetAction *>(menu->actions().last())->defaultWidget();
    const QList<QToolButton *> years = grid->findChildren<QToolButton *>();
    ASSERT_EQ(years.size(), 20);
    auto *layout = qobject_cast<QGridLayout *>(grid->layout());
    int row = 0, column = 0, span = 0;
    layout->getItemPosition(layout->indexOf(grid->findChild<QToolButton *>("year2000")), &row, &column, &span, &span);
    EXPECT_EQ(QPoint(column, row), QPoint(1, 0));
    EXPECT_TRUE(grid->findChild<QToolButton *>("year2004")->isEnabled());
    EXPECT_FALSE(grid->findChild<QToolButton *>("year2005")->isEnabled());
    grid->findChild<QToolButton *>("year1992")->click();
    EXPECT_EQ(calendar.Date(), EncodeDate(1992, 5, 5));

    calendar.PopupYearOptions.YearsPerColumn = 0;
    calendar.PopupYearOptions.ShowEditYear = true;
    std::unique_ptr<QMenu> guarded(calendar.BuildYearMenu(nullptr));
    EXPECT_EQ(guarded->actions().first()->text(), "Edit Year");
}

TEST_F(MonthCalendarTest, EditYearAsksAgainOutsideTheLimits)
{
    TqkMonthCalendar calendar;
    calendar.SetDate(EncodeDate(2010, 2, 29 - 1));
    calendar.SetMaxDate(EncodeDate(2030, 12, 31));
    services.queueInput(QString("2040"));
    services.queueInput(QString("2024"));
    calendar.EditYear();
    ASSERT_EQ(services.inputQueries().size(), 2);
    EXPECT_EQ(services.inputQueries()[0].caption, "Enter Valid Year (<=2030)");
    EXPECT_EQ(services.inputQueries()[0].prompt, "Enter New Year:");
    EXPECT_EQ(calendar.Date(), EncodeDate(2024, 2, 28));
    services.queueInput(QString("zwei"));
    calendar.EditYear();
    EXPECT_EQ(calendar.Date(), EncodeDate(2024, 2, 28));
}

// The caption is the only hint of the years allowed: the prompt shows it
// whole, and over the calendar it was asked from.
TEST_F(MonthCalendarTest, TheYearPromptShowsItsWholeCaptionOverTheCalendar)
{
    auto *calendar = new TqkMonthCalendar(window.get());
    calendar->PopupYearOptions.ShowEditYear = true;
    calendar->SetMinDate(EncodeDate(2000, 1, 1));
    calendar->SetMaxDate(EncodeDate(2100, 12, 31));
    window->resize(780, 560);
    calendar->move(560, 330);
    show(calendar);
    QRect prompt;
    QTimer::singleShot(0, [&prompt] {
        prompt = QApplication::activeModalWidget()->frameGeometry();
        QApplication::activeModalWidget()->close();
    });
    ui::installServices(nullptr);
    calendar->EditYear();
    ui::installServices(&services);
    QFont bold = calendar->font();
    bold.setBold(true);
    EXPECT_GT(prompt.width(), QFontMetrics(bold).horizontalAdvance("Enter Valid Year (2000-2100)"));
    EXPECT_TRUE(prompt.contains(calendar->mapToGlobal(calendar->rect().center())));
}

TEST_F(MonthCalendarTest, TheYearPromptAndTheTodayLineTakeTheCaptionsObjectsTexts)
{
    TqkMonthCalendar calendar;
    calendar.SetMinDate(EncodeDate(2000, 1, 1));
    window->layout()->addWidget(&calendar);
    window->show();
    const QImage before = calendar.grab().toImage();
    TqkMonthCalendarIntl &texts = *qkIntl().MonthCalendar;
    const TqkMonthCalendarIntl defaults;
    texts.NewYearPrompt = QStringLiteral("Neues Jahr:");
    texts.TodayLabel = QStringLiteral("Today:");
    services.queueInput(std::nullopt);
    calendar.EditYear();
    const QImage after = calendar.grab().toImage();
    texts.NewYearPrompt = defaults.NewYearPrompt;
    texts.TodayLabel = defaults.TodayLabel;
    ASSERT_EQ(services.inputQueries().size(), 1);
    EXPECT_EQ(services.inputQueries()[0].prompt, QStringLiteral("Neues Jahr:"));
    EXPECT_NE(after, before) << "the today line shows the new label";
}

// A year beyond a limit gives way to the nearest year the limit allows for
// the shown month and day, not to the limit itself.
TEST_F(MonthCalendarTest, AChosenYearBeyondALimitBecomesTheNearestAllowedYear)
{
    struct Case
    {
        std::optional<TDateTime> minDate, maxDate;
        TDateTime shown;
        int year;
        TDateTime expected;
    };
    const Case cases[] = {
        {{}, EncodeDate(2030, 3, 15), EncodeDate(2024, 2, 10), 2040, EncodeDate(2030, 2, 10)},
        {{}, EncodeDate(2030, 3, 15), EncodeDate(2024, 12, 20), 2040, EncodeDate(2029, 12, 20)},
        {{}, EncodeDate(2030, 3, 15), EncodeDate(2024, 2, 29), 2040, EncodeDate(2030, 2, 28)},
        {EncodeDate(1998, 3, 15), {}, EncodeDate(2024, 3, 10), 1990, EncodeDate(1999, 3, 10)},
        {EncodeDate(1998, 3, 15), {}, EncodeDate(2024, 6, 1), 1990, EncodeDate(1998, 6, 1)},
        {EncodeDate(1998, 3, 15), {}, EncodeDate(2024, 6, 1), 2005, EncodeDate(2005, 6, 1)},
        // A limit on the first day the calendar counts from is a limit.
        {{}, EncodeDate(1899, 12, 30), EncodeDate(1899, 12, 30), 1950, EncodeDate(1899, 12, 30)},
    };
    for (const Case &c : cases) {
        TqkMonthCalendar calendar;
        calendar.SetDate(c.shown);
        calendar.SetMinDate(c.minDate);
        calendar.SetMaxDate(c.maxDate);
        calendar.ChooseYear(c.year);
        EXPECT_EQ(calendar.Date(), c.expected) << c.year << " " << FormatDateTime("dd.mm.yyyy", c.shown).toStdString();
    }
    EXPECT_EQ(services.beeps(), 0);
}

TEST_F(MonthCalendarTest, ShiftExtendsAMultiSelectionUpToItsMaximum)
{
    TqkMonthCalendar calendar;
    int changes = 0;
    calendar.OnChange = [&changes](QObject *) { ++changes; };
    calendar.SetDate(EncodeDate(2024, 3, 10));
    calendar.SetOptions(mdoMultiSelect);
    calendar.MaxSelectCount = 3;
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&calendar, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(calendar.SelectionStart(), QDate(2024, 3, 10));
    EXPECT_EQ(calendar.SelectionEnd(), QDate(2024, 3, 12));
    EXPECT_TRUE(calendar.SelectionChanged());
    EXPECT_EQ(changes, 5) << "every arrow tells its change";
    QTest::keyClick(&calendar, Qt::Key_PageDown);
    EXPECT_EQ(calendar.ShownMonth(), QDate(2024, 3, 1));
    EXPECT_EQ(changes, 5) << "paging does nothing while several days are selected";
    calendar.resize(calendar.sizeHint());
    calendar.show();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.DayRect(QDate(2024, 3, 20)).center());
    EXPECT_EQ(calendar.SelectionStart(), QDate(2024, 3, 20));
    EXPECT_EQ(calendar.SelectionEnd(), QDate(2024, 3, 20));
    QTest::mouseClick(&calendar, Qt::LeftButton, Qt::ShiftModifier, calendar.DayRect(QDate(2024, 3, 18)).center());
    EXPECT_EQ(calendar.SelectionStart(), QDate(2024, 3, 18));
    QTest::keyClick(&calendar, Qt::Key_Down);
    EXPECT_EQ(calendar.SelectionStart(), QDate(2024, 3, 27));
    QTest::keyClick(&calendar, Qt::Key_PageUp);
    EXPECT_EQ(calendar.SelectionEnd(), QDate(2024, 2, 27));
    EXPECT_EQ(changes, 7);
}

// With multi-selection the title's arrows and the month and year choices
// tell their change as the keys do; setting the date selects it alone.
TEST_F(MonthCalendarTest, AMultiSelectionTellsEveryMoveAndTakesTheDateSet)
{
    TqkMonthCalendar calendar;
    calendar.SetDate(EncodeDate(2024, 3, 10));
    calendar.SetOptions(mdoMultiSelect);
    calendar.show();
    int changes = 0;
    calendar.OnChange = [&changes](QObject *) { ++changes; };
    const auto expectMovedTo = [&calendar, &changes](const QDate &date, int moves) {
        EXPECT_EQ(changes, moves) << moves;
        EXPECT_EQ(ToQDate(calendar.Date()), date) << moves;
        EXPECT_EQ(calendar.SelectionStart(), date) << moves;
    };
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(calendar.width() - 5, 5));
    expectMovedTo(QDate(2024, 4, 10), 1);
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(5, 5));
    expectMovedTo(QDate(2024, 3, 10), 2);
    std::unique_ptr<QMenu>(calendar.BuildMonthMenu(nullptr))->actions()[5]->trigger();
    expectMovedTo(QDate(2024, 6, 10), 3);
    std::unique_ptr<QMenu>(calendar.BuildYearMenu(nullptr))->findChild<QToolButton *>("year2000")->click();
    expectMovedTo(QDate(2000, 6, 10), 4);
    services.queueInput(QString("2021"));
    calendar.EditYear();
    expectMovedTo(QDate(2021, 6, 10), 5);
    QTest::keyClick(&calendar, Qt::Key_Right, Qt::ShiftModifier);
    calendar.SetDate(EncodeDate(2022, 1, 5));
    EXPECT_EQ(calendar.SelectionStart(), QDate(2022, 1, 5));
    EXPECT_EQ(calendar.SelectionEnd(), QDate(2022, 1, 5));
}

TEST_F(MonthCalendarTest, BorderAndFirstDayOfTheWeekFromTheLocale)
{
    // A child control: a calendar window draws its frame in any case.
    TqkMonthCalendar &calendar = *new TqkMonthCalendar(window.get());
    calendar.SetDate(EncodeDate(2024, 3, 10));
    const QSize plain = calendar.minimumSizeHint();
    calendar.resize(plain);
    const QColor edge = calendar.grab().toImage().pixelColor(0, plain.height() / 2);
    EXPECT_EQ(edge, calendar.CalColors()->Color(TqkDateTimeColors::MonthBack));
    calendar.SetBorderStyle(bsSingle);
    EXPECT_EQ(calendar.minimumSizeHint(), plain + QSize(2, 2));
    calendar.resize(calendar.minimumSizeHint());
    EXPECT_NE(calendar.grab().toImage().pixelColor(0, plain.height() / 2), edge) << "a frame line at the left edge";

    const QLocale before;
    const QDate sunday(2024, 3, 3);
    const QDate monday(2024, 3, 4);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_GT(calendar.DayRect(sunday).x(), calendar.DayRect(monday).x());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_LT(calendar.DayRect(sunday).x(), calendar.DayRect(monday).x());
    calendar.SetFirstDayOfWeek(qkdowMonday);
    EXPECT_GT(calendar.DayRect(sunday).x(), calendar.DayRect(monday).x());
    QLocale::setDefault(before);
}

TEST_F(MonthCalendarTest, TitleArrowsAndTheMonthMenuMoveTheDateAndReportTheDayUnderTheMouse)
{
    TqkMonthCalendar calendar;
    calendar.SetDate(EncodeDate(2024, 3, 31));
    calendar.SetMaxDate(EncodeDate(2024, 4, 20));
    calendar.resize(calendar.sizeHint());
    calendar.show();
    QList<int> pressedDays;
    calendar.OnMouseDown = [&pressedDays](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int, int, int day,
                                          int) { pressedDays.append(day); };
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(calendar.width() - 5, 5));
    EXPECT_EQ(calendar.Date(), EncodeDate(2024, 4, 20));
    EXPECT_EQ(services.beeps(), 1);
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.DayRect(QDate(2024, 4, 9)).center());
    EXPECT_EQ(pressedDays, (QList<int>{0, 9}));
    std::unique_ptr<QMenu> months(calendar.BuildMonthMenu(nullptr));
    ASSERT_EQ(months->actions().size(), 12);
    EXPECT_EQ(months->actions()[1]->text(), "Februar");
    months->actions()[1]->trigger();
    EXPECT_EQ(calendar.Date(), EncodeDate(2024, 2, 9));
}
