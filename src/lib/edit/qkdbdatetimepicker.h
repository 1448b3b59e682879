#pragma once

#include "lib/edit/qkDateTimeFormat.h"
#include "lib/edit/qkKeyAdapter.h"
#include "lib/edit/qkmonthcalendar.h"

#include <QPointer>

#include <optional>

class TField;
class TFieldDataLink;
class TqkComboButton;
class TqkDBCustomDateTimePicker;
class TqkGridHost;
class TqkOutsideClickCloser;

enum TqkDTCalAlignment { qkdtaLeft, qkdtaRight, qkdtaCenter };
enum TDTDateFormat { dfShort, dfLong };
enum TqkDTEditDataType { qkDTEdtDateTime = 0, qkDTEdtDate = 1, qkDTEdtTime = 2 };

// How the picker's drop-down calendar looks.
struct TqkCalendarOptions
{
    TqkDTCalAlignment Alignment = qkdtaLeft;
    // Copied into the drop-down calendar on each drop-down.
    TqkDateTimeColors Colors{nullptr};
    QFont Font;
    bool UseFont = false;
    int Width = 0;
    int Height = 0;
    TqkMonthOptions Options = mdoDayState;
    TqkPopupYearOptions PopupYearOptions;
    TqkCalDayOfWeek FirstDayOfWeek = qkdowLocaleDefault;
};

// The picker's drop-down: a month calendar in a tool window that never takes
// the focus; it draws as focused all the same.
class TqkPopupCalendar : public TqkMonthCalendar
{
    Q_OBJECT

public:
    explicit TqkPopupCalendar(TqkDBCustomDateTimePicker *picker);
    TqkDBCustomDateTimePicker *Picker() const { return m_picker; }

private:
    TqkDBCustomDateTimePicker *m_picker;
};

// A single-line edit that shows one date-time value through a display format
// and edits it field by field; data-aware through a field data link.
class TqkDBCustomDateTimePicker : public TqkKeyedEdit
{
    Q_OBJECT

public:
    explicit TqkDBCustomDateTimePicker(QWidget *parent = nullptr);
    ~TqkDBCustomDateTimePicker() override;

    TqkCalendarOptions CalendarAttributes;
    TDTDateFormat DateFormat() const { return m_dateFormat; }
    void SetDateFormat(TDTDateFormat format);
    QString DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format);
    TqkDTEditDataType UnboundDataType() const { return m_unboundDataType; }
    void SetUnboundDataType(TqkDTEditDataType type);
    // An absent limit is no limit; a limit on 30 December 1899 is one.
    std::optional<TDateTime> MinDate() const { return m_minDate; }
    void SetMinDate(std::optional<TDateTime> date);
    std::optional<TDateTime> MaxDate() const { return m_maxDate; }
    void SetMaxDate(std::optional<TDateTime> date);
    int Epoch = 1950;
    bool Tessarion() const { return false; }
    bool ShowButton() const { return m_showButton; }
    void SetShowButton(bool show);

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    QString DataField() const;
    void SetDataField(const QString &fieldName);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    TField *Field() const;

    // The value; an empty picker has none, which is neither midnight nor
    // 30 December 1899. Date() commits typed digits first.
    std::optional<TDateTime> Value() const { return m_value; }
    std::optional<TDateTime> Date();
    // Both end any typing.
    void SetDate(TDateTime date);
    void Clear();
    // The time of day; 0 without a value.
    TDateTime Time() const;
    void SetTime(TDateTime time);
    int CurrentField() const { return m_currentField; }
    bool TypingPending() const { return m_typingPending; }
    bool Cleared() const { return m_cleared; }
    bool EscapeSwallowPending() const { return m_swallowEscape; }
    // True while the text shows typed numbers that are no valid value (yet):
    // a day its month cannot hold, a refused number (day 32, month 13, hour
    // 25), or a date beyond the limits.
    bool HasUnfinishedDate() const { return m_hasDraft; }

    virtual void DropDown();
    virtual void CloseUp(bool accept);
    virtual bool IsDroppedDown() const;
    TqkPopupCalendar *Calendar() const { return m_calendar; }
    bool MayModify() const;
    // The caret shows only in an empty control; fields are selected instead.
    bool CaretHidden() const override { return !text().isEmpty(); }

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnChange;
    TCalcBoldDayEvent OnCalcBoldDay;

    void Paste() override;
    void Cut() override;

    bool IsDateOnly() const;
    bool IsTimeOnly() const;
    QString EffectiveFormat() const;

protected:
    bool WantsKey(int key, qk::TShiftState shift) override;
    void KeyDown(int &key, qk::TShiftState shift) override;
    void KeyPress(QChar &key) override;
    bool ExitCheck() override;
    void EnterFocus() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    enum Kind { KindDateTime, KindDate, KindTime };
    enum Telling { TellOnce, TellAlways };
    using Parts = TqkDTParts;

    Kind kind() const;
    QList<TqkDTToken> tokens() const;
    TqkDTRendering renderField(int field) const;
    int fieldCount() const;
    Parts parts() const;
    // Whether the parts make a value, leaving the limits aside.
    bool makeValue(const Parts &p) const;
    TDateTime effectiveMin() const;
    TDateTime effectiveMax() const;
    bool inRange(TDateTime date) const;
    // The value the text shows: the typed date while it is unfinished (what
    // of it makes a date), else the value (0 without one).
    TDateTime shownValue() const;
    // Ends typing and drafts without storing them.
    void dropTyping();
    void render();
    void showText(const QString &shown);
    void showPending(const TqkDTRendering &at);
    bool rebuild(const Parts &p);
    void userChanged();
    void commitPending();
    void typeDigit(int digit);
    bool twelveHourDisplay() const;
    // Puts a typed number into its part of the value, also one its field cannot hold.
    void setTypedPart(Parts &p, TqkDTTokenKind kind, int number) const;
    // Stores what typing made of the parts. Parts that make no value, or a
    // date beyond the limits, are kept as typed for the fields still to come.
    void storeTyped(const Parts &p);
    // Whether a complete number fits its field at all, whatever the others hold.
    bool fieldTakes(TqkDTTokenKind kind, int number) const;
    // Ends the typing: commits pending digits and refuses an unfinished value
    // with a message (TellOnce: unless it was told since the last change).
    // False while the value stays unfinished.
    bool finishTyping(Telling telling);
    QString unfinishedDateMessage() const;
    QString outOfRangeMessage(TDateTime value) const;
    // A pasted text read as the picker's kind of value; none when unreadable.
    std::optional<TDateTime> readPasted(const QString &pasted) const;
    // What the first editing key of an empty picker starts from.
    TDateTime fillValue(int key) const;
    TDateTime clockTimeAsShown() const;
    // Back to the field's value, or to the value saved on entry.
    void resetValue();
    void stepField(int direction);
    void homeOrEnd(bool end);
    void deleteValue();
    void typeLetter(QChar letter);
    // `typing`: a typed separator moves on, which does not end the typing.
    void moveField(int direction, bool typing = false);
    bool handOverToGrid(int &key, qk::TShiftState shift);
    bool wholeTextSelected() const;
    void keyWhileDropped(int &key, qk::TShiftState shift);
    void takeCalendarDate();
    void fillIfEmpty(int key);
    void DataChange();
    void UpdateData();
    void placeButton();
    void ButtonPress();
    TqkGridHost *Grid() const;

    TFieldDataLink *m_link;
    TqkComboButton *m_button;
    TqkPopupCalendar *m_calendar = nullptr;
    TqkOutsideClickCloser *m_closer;
    std::optional<TDateTime> m_value;
    std::optional<TDateTime> m_savedValue;
    std::optional<TDateTime> m_valueBeforeDropDown;
    TDateTime m_calendarOpenedOn = 0;
    std::optional<TDateTime> m_minDate;
    std::optional<TDateTime> m_maxDate;
    TDTDateFormat m_dateFormat = dfShort;
    QString m_displayFormat;
    TqkDTEditDataType m_unboundDataType = qkDTEdtDateTime;
    int m_currentField = 1;
    QString m_typed;
    bool m_typingPending = false;
    Parts m_draft;
    bool m_hasDraft = false;
    bool m_draftTold = false;
    // A day was typed since the typing last ended.
    bool m_dayTyped = false;
    bool m_cleared = false;
    bool m_autoNextField = true;
    bool m_swallowEscape = false;
    bool m_showButton = true;
    bool m_inCloseUp = false;
    bool m_enteredByButton = false;
};

class TqkDBDateTimePicker : public TqkDBCustomDateTimePicker
{
    Q_OBJECT
    Q_PROPERTY(TDataSource *DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE SetShowButton)
    Q_PROPERTY(bool Tessarion READ Tessarion)

public:
    using TqkDBCustomDateTimePicker::TqkDBCustomDateTimePicker;
};
