#pragma once

#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <QColor>
#include <QFlags>
#include <QHash>
#include <QWidget>

#include <functional>
#include <optional>

class QMenu;

// The class library's error for a date outside the allowed range.
class EDateTimeError : public Exception
{
public:
    using Exception::Exception;
};

// "Das Datum überschreitet das Maximum von %s" and its minimum twin.
QString qkAboveMaximumText(TDateTime maximum);
QString qkBelowMinimumText(TDateTime minimum);
[[noreturn]] void qkRaiseAboveMaximum(TDateTime maximum);
[[noreturn]] void qkRaiseBelowMinimum(TDateTime minimum);

// The first and the last day a date field can hold (1 January 1 and
// 31 December 9999): without limits of their own the calendar and the
// picker reach every one of them.
TDateTime qkFirstDay();
TDateTime qkLastDay();

class TqkMonthCalendar;

// The calendar's six colours in the order the month calendar numbers them.
// A calendar that owns them repaints at each change; other owners (the
// picker's calendar attributes) only keep them.
class TqkDateTimeColors : public QObject
{
    Q_OBJECT

public:
    enum Index { Background, Text, TitleBack, TitleText, MonthBack, TrailingText };
    explicit TqkDateTimeColors(QObject *owner);
    QColor Color(Index index) const { return m_colors[index]; }
    void SetColor(Index index, const QColor &color);
    // Copies the five published colours.
    void Assign(const TqkDateTimeColors &source);

private:
    TqkMonthCalendar *m_owner;
    QColor m_colors[6];
};

struct TqkPopupYearOptions
{
    int YearsPerColumn = 10;
    int NumberColumns = 2;
    int StartYear = 1990;
    bool ShowEditYear = false;
};

enum TqkMonthOption { mdoDayState = 1, mdoWeekNumbers = 2, mdoNoToday = 4, mdoNoTodayCircle = 8, mdoMultiSelect = 16 };
Q_DECLARE_FLAGS(TqkMonthOptions, TqkMonthOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkMonthOptions)

enum TqkCalDayOfWeek {
    qkdowMonday,
    qkdowTuesday,
    qkdowWednesday,
    qkdowThursday,
    qkdowFriday,
    qkdowSaturday,
    qkdowSunday,
    qkdowLocaleDefault
};

enum TBorderStyle { bsNone, bsSingle };

// Sender, the day, its month, day and year; Accept makes the day bold.
using TCalcBoldDayEvent =
    std::function<void(QObject *sender, TDateTime date, int month, int day, int year, bool &accept)>;
// Sender, button, shift, x, y and the month, day (0 off a date) and year under the mouse.
using TmcMouseEvent = std::function<void(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                         int y, int month, int day, int year)>;

// A month calendar with bold days asked of the application, limits that
// mouse and keys stop at with a beep, and menus of months and years opened
// from the title.
class TqkMonthCalendar : public QWidget
{
    Q_OBJECT

public:
    enum HitPart {
        hitNowhere,
        hitPrevious,
        hitNext,
        hitTitleMonth,
        hitTitleYear,
        hitDate,
        hitDayOfWeek,
        hitWeekNumber,
        hitToday
    };
    struct Hit
    {
        HitPart part = hitNowhere;
        QDate date;
    };

    explicit TqkMonthCalendar(QWidget *parent = nullptr);

    TDateTime DateTime() const { return m_value; }
    TDateTime Date() const;
    void SetDate(TDateTime date);
    TDateTime Time() const;
    void SetTime(TDateTime time);
    // No limit is a state of its own: a limit on 30 December 1899 is a limit.
    std::optional<TDateTime> MinDate() const { return m_minDate; }
    void SetMinDate(std::optional<TDateTime> date);
    std::optional<TDateTime> MaxDate() const { return m_maxDate; }
    void SetMaxDate(std::optional<TDateTime> date);
    TqkMonthOptions Options() const { return m_options; }
    void SetOptions(TqkMonthOptions options);
    TqkCalDayOfWeek FirstDayOfWeek() const { return m_firstDayOfWeek; }
    void SetFirstDayOfWeek(TqkCalDayOfWeek day);
    TqkDateTimeColors *CalColors() const { return m_colors; }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    // bsSingle draws a one-pixel frame around the calendar.
    void SetBorderStyle(TBorderStyle style);
    TqkPopupYearOptions PopupYearOptions;
    TNotifyEvent OnChange;
    TCalcBoldDayEvent OnCalcBoldDay;
    TmcMouseEvent OnMouseDown;
    TmcMouseEvent OnMouseUp;
    TmcMouseEvent OnMouseMove;

    int MaxSelectCount = 31;
    // With multi-selection: the selected days, first and last.
    QDate SelectionStart() const { return m_selectionStart; }
    QDate SelectionEnd() const { return m_selectionEnd; }
    // Set once either end of a multi-selection has changed.
    bool SelectionChanged() const { return m_selectionChanged; }

    // The month shown (first day).
    QDate ShownMonth() const { return m_shown; }
    bool IsBoldDay(const QDate &date) const;
    bool IsYearMenuShowing() const { return m_menuShowing; }
    Hit HitTest(const QPoint &point) const;
    QRect DayRect(const QDate &date) const;

    // The year menu as the title opens it (the caller owns it).
    QMenu *BuildYearMenu(QWidget *parent);
    QMenu *BuildMonthMenu(QWidget *parent);
    // What choosing a year, a month or the edit item does.
    void ChooseYear(int year);
    void ChooseMonth(int month);
    void EditYear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    virtual void Change();
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class TqkDateTimeColors;
    struct Layout
    {
        int cellWidth, cellHeight, titleHeight, left, gridTop;
    };
    Layout layout() const;
    int firstWeekday() const;
    QDate firstCellDate() const;
    void applyValue(TDateTime value);
    void showMonthOf(const QDate &date);
    void refreshBoldDays();
    // Moves to the date, stopping at a limit with a beep.
    void moveTo(QDate date);
    // A day chosen by mouse.
    void selectDay(const QDate &date);
    void keepMinimumSize();
    // With multi-selection and Shift: the selection runs from the anchor
    // to the date, at most MaxSelectCount days.
    void extendTo(QDate date);
    bool isSelected(const QDate &date) const;
    QDate clampToLimits(const QDate &date, bool *clamped) const;
    bool afterMaximum(TDateTime day) const;
    bool beforeMinimum(TDateTime day) const;
    bool outsideLimits(const QDate &date) const;
    void fireMouse(const TmcMouseEvent &handler, QMouseEvent *event);
    void paintTitle(QPainter &painter, const Layout &l) const;
    void paintDays(QPainter &painter, const Layout &l) const;
    void openMenu(QMenu *menu, const QPoint &at);

    TDateTime m_value;
    std::optional<TDateTime> m_minDate;
    std::optional<TDateTime> m_maxDate;
    TqkMonthOptions m_options = mdoDayState;
    TqkCalDayOfWeek m_firstDayOfWeek = qkdowLocaleDefault;
    TBorderStyle m_borderStyle = bsNone;
    TqkDateTimeColors *m_colors;
    QDate m_shown;
    QHash<int, quint32> m_boldMasks;
    bool m_menuShowing = false;
    QDate m_selectionStart;
    QDate m_selectionEnd;
    QDate m_anchor;
    bool m_selectionChanged = false;
};

// Day cut to the length of the target month.
QDate qkSameDayIn(int year, int month, int day);
