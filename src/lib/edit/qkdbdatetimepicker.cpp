#include "lib/edit/qkdbdatetimepicker.h"

#include "lib/data/Qkintl.h"
#include "lib/data/QkstrDate.h"
#include "lib/edit/Qkdotdot.h"
#include "lib/edit/qkGridHost.h"
#include "lib/edit/qkPopup.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TField.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>

using namespace qk;

namespace {

bool isDateTimeType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

bool isEditingKey(int key)
{
    return key == VK_BACK || key == VK_SPACE || key == VK_DELETE || key == VK_RIGHT || (key >= '0' && key <= '9')
           || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key > 145;
}

// Whether a first digit completes its field. A 3 leaves the day open even in
// a short month: the month typed after it may hold the 30th or the 31st.
bool firstDigitCompletes(TqkDTTokenKind kind, int digit, bool twelveHour)
{
    switch (kind) {
    case TqkDTTokenKind::Day:
        return digit >= 4;
    case TqkDTTokenKind::Month:
        return digit >= 2;
    case TqkDTTokenKind::Hour:
        return twelveHour ? digit >= 2 : digit >= 3;
    case TqkDTTokenKind::Minute:
    case TqkDTTokenKind::Second:
        return digit >= 6;
    default:
        return false;
    }
}

}

TqkPopupCalendar::TqkPopupCalendar(TqkDBCustomDateTimePicker *picker) : TqkMonthCalendar(picker), m_picker(picker)
{
    qkMakeDropDownWindow(this);
}

// ---------------------------------------------------------------- construction

TqkDBCustomDateTimePicker::TqkDBCustomDateTimePicker(QWidget *parent)
    : TqkKeyedEdit(parent), m_link(new TFieldDataLink(this)), m_button(new TqkComboButton(this))
{
    Epoch = qkIntl().DefaultEpochYear;
    m_link->OnDataChange = [this] { DataChange(); };
    m_link->OnUpdateData = [this] { UpdateData(); };
    m_button->SetButtonStyle(cbsDownArrow);
    connect(m_button, &QAbstractButton::pressed, this, [this] { qkRunShowingErrors([this] { ButtonPress(); }); });
    m_closer = new TqkOutsideClickCloser(
        this, [this]() -> QWidget * { return m_calendar; },
        [this] { return !(m_calendar && m_calendar->IsYearMenuShowing()); }, [this] { CloseUp(true); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
    placeButton();
}

void TqkDBCustomDateTimePicker::ButtonPress()
{
    if (IsDroppedDown()) {
        CloseUp(true);
        return;
    }
    m_enteredByButton = true;
    setFocus(Qt::MouseFocusReason);
    m_enteredByButton = false;
    DropDown();
}

TqkDBCustomDateTimePicker::~TqkDBCustomDateTimePicker()
{
    m_link->OnDataChange = nullptr;
}

TDataSource *TqkDBCustomDateTimePicker::DataSource() const
{
    return m_link->DataSource();
}

void TqkDBCustomDateTimePicker::SetDataSource(TDataSource *source)
{
    m_link->SetDataSource(source);
    if (!source)
        SetUnboundDataType(qkDTEdtDateTime);
}

QString TqkDBCustomDateTimePicker::DataField() const
{
    return m_link->FieldName();
}

void TqkDBCustomDateTimePicker::SetDataField(const QString &fieldName)
{
    m_link->SetFieldName(fieldName);
    if (fieldName.isEmpty())
        SetUnboundDataType(qkDTEdtDateTime);
}

bool TqkDBCustomDateTimePicker::ReadOnly() const
{
    return m_link->ReadOnly();
}

void TqkDBCustomDateTimePicker::SetReadOnly(bool readOnly)
{
    m_link->SetReadOnly(readOnly);
    setReadOnly(readOnly);
}

TField *TqkDBCustomDateTimePicker::Field() const
{
    return m_link->Field();
}

TqkGridHost *TqkDBCustomDateTimePicker::Grid() const
{
    return qkGridHostOf(this);
}

void TqkDBCustomDateTimePicker::SetDateFormat(TDTDateFormat format)
{
    m_dateFormat = format;
    render();
}

void TqkDBCustomDateTimePicker::SetDisplayFormat(const QString &format)
{
    m_displayFormat = format;
    render();
}

void TqkDBCustomDateTimePicker::SetUnboundDataType(TqkDTEditDataType type)
{
    m_unboundDataType = type;
    placeButton();
    render();
}

void TqkDBCustomDateTimePicker::SetMinDate(std::optional<TDateTime> date)
{
    if (date && m_maxDate && *date > *m_maxDate)
        qkRaiseAboveMaximum(*m_maxDate);
    m_minDate = date;
}

void TqkDBCustomDateTimePicker::SetMaxDate(std::optional<TDateTime> date)
{
    if (date && m_minDate && *date < *m_minDate)
        qkRaiseBelowMinimum(*m_minDate);
    m_maxDate = date;
}

void TqkDBCustomDateTimePicker::SetShowButton(bool show)
{
    m_showButton = show;
    placeButton();
}

void TqkDBCustomDateTimePicker::placeButton()
{
    // A time-only display never shows the button.
    m_button->SetShown(m_showButton && !IsTimeOnly());
}

// ---------------------------------------------------------------- kinds and format

TqkDBCustomDateTimePicker::Kind TqkDBCustomDateTimePicker::kind() const
{
    if (TField *field = Field(); field && isDateTimeType(field->DataType()))
        return field->DataType() == ftDate ? KindDate : field->DataType() == ftTime ? KindTime : KindDateTime;
    return m_unboundDataType == qkDTEdtDate ? KindDate : m_unboundDataType == qkDTEdtTime ? KindTime : KindDateTime;
}

QString TqkDBCustomDateTimePicker::EffectiveFormat() const
{
    QString format = m_displayFormat;
    if (format.isEmpty() && Field())
        format = Field()->DisplayFormat();
    if (!format.isEmpty())
        return format;
    const TFormatSettings &fs = FormatSettings();
    switch (kind()) {
    case KindTime:
        return m_dateFormat == dfLong ? fs.LongTimeFormat : fs.ShortTimeFormat;
    case KindDate:
        return m_dateFormat == dfLong ? fs.LongDateFormat : fs.ShortDateFormat;
    default:
        return m_dateFormat == dfLong ? fs.LongDateFormat + QLatin1Char(' ') + fs.LongTimeFormat : QStringLiteral("c");
    }
}

QList<TqkDTToken> TqkDBCustomDateTimePicker::tokens() const
{
    // A "c" display leaves the time out while the value has none.
    const TDateTime shown = shownValue();
    const bool noTime = shown == std::trunc(shown);
    return qkTokenizeDateTimeFormat(qkExpandDateTimeFormat(EffectiveFormat(), noTime));
}

bool TqkDBCustomDateTimePicker::IsDateOnly() const
{
    if (kind() == KindDate)
        return true;
    if (kind() != KindDateTime || !Field())
        return false;
    const QString format = EffectiveFormat().toLower();
    return !format.contains(QLatin1Char('h')) && !format.contains(QLatin1Char('n'))
           && !format.contains(QLatin1Char('s')) && !format.contains(QLatin1Char('t'))
           && !format.contains(QLatin1Char('c'));
}

bool TqkDBCustomDateTimePicker::IsTimeOnly() const
{
    if (kind() == KindTime)
        return true;
    if (kind() != KindDateTime || !Field())
        return false;
    for (const TqkDTToken &token : qkTokenizeDateTimeFormat(qkExpandDateTimeFormat(EffectiveFormat()))) {
        if (qkIsDateToken(token.kind))
            return false;
    }
    return true;
}

TqkDTRendering TqkDBCustomDateTimePicker::renderField(int field) const
{
    return qkRenderDateTime(tokens(), shownValue(), field, !IsTimeOnly(), !IsDateOnly(),
                            m_hasDraft ? &m_draft : nullptr);
}

int TqkDBCustomDateTimePicker::fieldCount() const
{
    return renderField(0).fieldCount;
}

TqkDBCustomDateTimePicker::Parts TqkDBCustomDateTimePicker::parts() const
{
    if (m_hasDraft)
        return m_draft;
    Parts p;
    int msec = 0;
    DecodeDate(m_value.value_or(0), p.year, p.month, p.day);
    DecodeTime(m_value.value_or(0), p.hour, p.minute, p.second, msec);
    return p;
}

bool TqkDBCustomDateTimePicker::makeValue(const Parts &p) const
{
    TDateTime made = 0;
    if (!TryEncodeTime(p.hour, p.minute, p.second, 0, made))
        return false;
    return kind() == KindTime
           || (p.month >= 1 && p.month <= 12 && p.day <= DaysInMonth(p.year, p.month)
               && TryEncodeDate(p.year, p.month, p.day, made));
}

TDateTime TqkDBCustomDateTimePicker::effectiveMin() const
{
    return m_minDate ? std::trunc(*m_minDate) : qkFirstDay();
}

TDateTime TqkDBCustomDateTimePicker::effectiveMax() const
{
    return m_maxDate ? std::trunc(*m_maxDate) : qkLastDay();
}

bool TqkDBCustomDateTimePicker::inRange(TDateTime date) const
{
    const TDateTime day = std::trunc(date);
    return day >= effectiveMin() && day <= effectiveMax();
}

// ---------------------------------------------------------------- value

std::optional<TDateTime> TqkDBCustomDateTimePicker::Date()
{
    commitPending();
    return m_value;
}

void TqkDBCustomDateTimePicker::SetDate(TDateTime date)
{
    const TDateTime day = std::trunc(date);
    if (day > effectiveMax())
        qkRaiseAboveMaximum(effectiveMax());
    if (day < effectiveMin())
        qkRaiseBelowMinimum(effectiveMin());
    dropTyping();
    m_value = CombineDateTime(day, Time());
    render();
}

void TqkDBCustomDateTimePicker::Clear()
{
    dropTyping();
    m_value.reset();
    render();
}

TDateTime TqkDBCustomDateTimePicker::Time() const
{
    return m_value ? std::abs(*m_value - std::trunc(*m_value)) : 0;
}

void TqkDBCustomDateTimePicker::SetTime(TDateTime time)
{
    m_value = kind() == KindTime ? time : CombineDateTime(std::trunc(m_value.value_or(0)), time);
    render();
}

void TqkDBCustomDateTimePicker::dropTyping()
{
    m_typingPending = false;
    m_typed.clear();
    m_hasDraft = false;
    m_dayTyped = false;
}

bool TqkDBCustomDateTimePicker::MayModify() const
{
    if (ReadOnly())
        return false;
    if (TField *field = Field()) {
        if (field->ReadOnly() || !field->DataSet() || !field->DataSet()->CanModify())
            return false;
    }
    const TDataSource *source = m_link->DataSource();
    if (source && !source->AutoEdit()) {
        const TDataSet *dataSet = source->DataSet();
        return dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert);
    }
    return true;
}

TDateTime TqkDBCustomDateTimePicker::shownValue() const
{
    if (!m_hasDraft)
        return m_value.value_or(0);
    const Parts &p = m_draft;
    TDateTime date = 0;
    TDateTime time = 0;
    const int month = qBound(1, p.month, 12);
    TryEncodeDate(p.year, month, qMin(p.day, DaysInMonth(p.year, month)), date);
    TryEncodeTime(p.hour, p.minute, p.second, 0, time);
    return CombineDateTime(date, time);
}

void TqkDBCustomDateTimePicker::render()
{
    if (!m_value && !m_hasDraft) {
        showText(QString());
        return;
    }
    const TqkDTRendering whole = renderField(0);
    showText(whole.text);
    if (IsDroppedDown() || !hasFocus()) {
        deselect();
        return;
    }
    if (!MayModify()) {
        selectAll();
        return;
    }
    m_currentField = qBound(1, m_currentField, qMax(1, whole.fieldCount));
    const TqkDTRendering field = renderField(m_currentField);
    setSelection(field.start, field.length);
}

// The text always follows the value; whether the value was changed is the
// picker's to say, so showing a new text keeps the modified flag.
void TqkDBCustomDateTimePicker::showText(const QString &shown)
{
    const bool modified = isModified();
    setText(shown);
    setModified(modified);
}

void TqkDBCustomDateTimePicker::showPending(const TqkDTRendering &at)
{
    QString shown = text();
    QString replacement = m_typed;
    if (at.field.kind == TqkDTTokenKind::Year && at.field.token.size() == 4)
        replacement += shown.mid(at.start + int(m_typed.size()), at.length - int(m_typed.size()));
    shown.replace(at.start, at.length, replacement);
    showText(shown);
    setCursorPosition(at.start + int(m_typed.size()));
}

bool TqkDBCustomDateTimePicker::rebuild(const Parts &p)
{
    const int day = qMin(p.day, DaysInMonth(p.year, p.month));
    TDateTime time = 0;
    if (!TryEncodeTime(p.hour, p.minute, p.second, 0, time)) {
        render();
        return false;
    }
    if (kind() == KindTime) {
        m_value = time;
        render();
        return true;
    }
    TDateTime date = 0;
    if (!TryEncodeDate(p.year, p.month, day, date) || !inRange(date)) {
        render();
        return false;
    }
    m_value = CombineDateTime(date, time);
    render();
    return true;
}

void TqkDBCustomDateTimePicker::userChanged()
{
    m_link->Edit();
    m_link->Modified();
    setModified(true);
    m_cleared = false;
}

void TqkDBCustomDateTimePicker::commitPending()
{
    if (!m_typingPending)
        return;
    m_typingPending = false;
    const TqkDTRendering at = renderField(m_currentField);
    const QString typed = m_typed;
    m_typed.clear();
    if (!qkIsNumericToken(at.field)) {
        render();
        return;
    }
    Parts p = parts();
    const int number = typed.toInt();
    if (at.field.kind == TqkDTTokenKind::Year && at.field.token.size() == 4) {
        if (typed.size() <= 2)
            p.year = qkEpochYear(number, Epoch);
        else if (typed.size() == 3 && number != 0)
            p.year = number;
    } else {
        setTypedPart(p, at.field.kind, number);
    }
    storeTyped(p);
}

bool TqkDBCustomDateTimePicker::twelveHourDisplay() const
{
    const QList<TqkDTToken> all = tokens();
    return std::any_of(all.begin(), all.end(), [](const TqkDTToken &t) { return t.kind == TqkDTTokenKind::AmPm; });
}

void TqkDBCustomDateTimePicker::setTypedPart(Parts &p, TqkDTTokenKind kind, int number) const
{
    switch (kind) {
    case TqkDTTokenKind::Day:
        p.day = number == 0 ? p.day : number;
        break;
    case TqkDTTokenKind::Month:
        p.month = number == 0 ? p.month : number;
        break;
    case TqkDTTokenKind::Year:
        p.year = qkEpochYear(number, Epoch);
        break;
    case TqkDTTokenKind::Hour:
        // A 12-hour display keeps the half of the day for 1 to 12; an
        // afternoon hour typed in full is taken as it is.
        p.hour = twelveHourDisplay() && number < 13 ? number % 12 + (p.hour >= 12 ? 12 : 0) : number;
        break;
    case TqkDTTokenKind::Minute:
        p.minute = number;
        break;
    default:
        p.second = number;
        break;
    }
}

void TqkDBCustomDateTimePicker::storeTyped(const Parts &typed)
{
    Parts p = typed;
    // Only a day typed in this run waits for its month; a day kept from the
    // value is cut to the month typed, as stepping the month cuts it.
    if (!m_dayTyped && p.month >= 1 && p.month <= 12)
        p.day = qMin(p.day, DaysInMonth(p.year, p.month));
    TDateTime date = 0;
    m_hasDraft =
        !makeValue(p) || (kind() != KindTime && (!TryEncodeDate(p.year, p.month, p.day, date) || !inRange(date)));
    if (m_hasDraft) {
        m_draft = p;
        m_draftTold = false;
        render();
    } else {
        rebuild(p);
    }
    userChanged();
}

bool TqkDBCustomDateTimePicker::fieldTakes(TqkDTTokenKind kind, int number) const
{
    switch (kind) {
    case TqkDTTokenKind::Day:
        return number <= 31;
    case TqkDTTokenKind::Month:
        return number <= 12;
    case TqkDTTokenKind::Hour:
        return number < 24;
    case TqkDTTokenKind::Minute:
    case TqkDTTokenKind::Second:
        return number < 60;
    default:
        return true;
    }
}

bool TqkDBCustomDateTimePicker::finishTyping(Telling telling)
{
    commitPending();
    if (!m_hasDraft) {
        m_dayTyped = false;
        return true;
    }
    if (telling == TellAlways || !m_draftTold) {
        m_draftTold = true;
        ui::showWarning(unfinishedDateMessage());
    }
    return false;
}

QString TqkDBCustomDateTimePicker::unfinishedDateMessage() const
{
    if (makeValue(m_draft))
        return outOfRangeMessage(shownValue());
    const QList<TqkDTToken> shown = tokens();
    const auto showsAny = [&shown](bool (*test)(TqkDTTokenKind)) {
        return std::any_of(shown.begin(), shown.end(), [test](const TqkDTToken &t) { return test(t.kind); });
    };
    const bool date = !IsTimeOnly() && showsAny(qkIsDateToken);
    const bool time = !IsDateOnly() && showsAny(qkIsTimeToken);
    const TqkUserMessagesIntl &texts = *qkIntl().UserMessages;
    const QString &text = date && time ? texts.InvalidDateTimeText
                          : time       ? texts.InvalidTimeText
                                       : texts.InvalidDateText;
    return text.arg(renderField(0).text);
}

QString TqkDBCustomDateTimePicker::outOfRangeMessage(TDateTime value) const
{
    return std::trunc(value) > effectiveMax() ? qkAboveMaximumText(effectiveMax()) : qkBelowMinimumText(effectiveMin());
}

void TqkDBCustomDateTimePicker::typeDigit(int digit)
{
    const TqkDTRendering at = renderField(m_currentField);
    if (!qkIsNumericToken(at.field))
        return;
    m_dayTyped = m_dayTyped || at.field.kind == TqkDTTokenKind::Day;
    // Digits typed but not yet committed still belong to the record.
    m_link->Modified();
    const bool fourDigitYear = at.field.kind == TqkDTTokenKind::Year && at.field.token.size() == 4;
    if (fourDigitYear) {
        m_typed += QChar('0' + digit);
        m_typingPending = true;
        if (m_typed.size() < 4) {
            showPending(at);
            return;
        }
        const int year = m_typed.toInt();
        m_typed.clear();
        m_typingPending = false;
        Parts p = parts();
        if (year != 0)
            p.year = year;
        else if (m_savedValue)
            DecodeDate(*m_savedValue, p.year, p.month, p.day);
        storeTyped(p);
        return;
    }
    int number = digit;
    if (!m_typingPending) {
        const Parts p = parts();
        if (at.field.kind == TqkDTTokenKind::Year) {
            const int lastOfDecade = (p.year / 100) * 100 + digit * 10 + 9;
            if (m_minDate && EncodeDate(lastOfDecade, 12, 31) < std::trunc(*m_minDate))
                return;
        }
        if (!firstDigitCompletes(at.field.kind, digit, twelveHourDisplay())) {
            m_typed = QString::number(digit);
            m_typingPending = true;
            showPending(at);
            return;
        }
    } else {
        number = m_typed.toInt() * 10 + digit;
        // A number its field cannot hold is shown as typed and never stored:
        // it keeps the typing unfinished until it is corrected or refused.
        if (!fieldTakes(at.field.kind, number))
            ui::services().beep();
        m_typed.clear();
        m_typingPending = false;
    }
    Parts p = parts();
    setTypedPart(p, at.field.kind, number);
    storeTyped(p);
    if (m_autoNextField && m_currentField < fieldCount()) {
        ++m_currentField;
        render();
    }
}

// ---------------------------------------------------------------- keys

void TqkDBCustomDateTimePicker::moveField(int direction, bool typing)
{
    if (typing)
        commitPending();
    else
        finishTyping(TellOnce);
    const int count = fieldCount();
    if (direction > 0 && m_currentField >= count) {
        if (!m_value || Time() != 0 || m_hasDraft
            || EffectiveFormat().compare(QLatin1String("c"), Qt::CaseInsensitive) != 0)
            return;
        // A short display leaves the time out while the value has none;
        // moving on past the date asks for it.
        m_value = CombineDateTime(std::trunc(*m_value), ::Time());
        userChanged();
    }
    m_currentField = qBound(1, m_currentField + direction, qMax(1, fieldCount()));
    render();
}

void TqkDBCustomDateTimePicker::stepField(int direction)
{
    if (!finishTyping(TellOnce))
        return;
    const TqkDTRendering at = renderField(m_currentField);
    Parts p = parts();
    const QDate date(p.year, p.month, p.day);
    QDate stepped = date;
    switch (at.field.kind) {
    case TqkDTTokenKind::Day:
        // The day wraps within its own month: Down on the 1st gives the
        // month's last day, Up on the last day gives the 1st.
        stepped = QDate(p.year, p.month, (p.day - 1 + direction + date.daysInMonth()) % date.daysInMonth() + 1);
        break;
    case TqkDTTokenKind::DayName: {
        const int weekday = date.dayOfWeek(); // Monday 1 ... Sunday 7
        const int target = (weekday - 1 + direction + 7) % 7 + 1;
        stepped = date.addDays(target - weekday);
        break;
    }
    case TqkDTTokenKind::Month:
    case TqkDTTokenKind::MonthName: {
        const QDate month = QDate(p.year, p.month, 1).addMonths(direction);
        stepped = qkSameDayIn(p.year, month.month(), p.day);
        break;
    }
    case TqkDTTokenKind::Year:
        stepped = qkSameDayIn(qBound(1, p.year + direction, 9999), p.month, p.day);
        break;
    case TqkDTTokenKind::Hour:
        p.hour = (p.hour + direction + 24) % 24;
        break;
    case TqkDTTokenKind::Minute:
        p.minute = (p.minute + direction + 60) % 60;
        break;
    case TqkDTTokenKind::Second:
        p.second = (p.second + direction + 60) % 60;
        break;
    case TqkDTTokenKind::AmPm:
        p.hour = (p.hour + 12) % 24;
        break;
    default:
        return;
    }
    if (stepped.isValid() && kind() != KindTime) {
        TDateTime day = FromQDate(stepped);
        day = qBound(effectiveMin(), day, effectiveMax());
        DecodeDate(day, p.year, p.month, p.day);
    }
    if (rebuild(p))
        userChanged();
}

void TqkDBCustomDateTimePicker::homeOrEnd(bool end)
{
    if (!finishTyping(TellOnce))
        return;
    const TqkDTRendering at = renderField(m_currentField);
    Parts p = parts();
    // Without a minimum of its own Home stops at the last day of 1899, though
    // earlier dates may be typed and kept.
    const TDateTime lowest = m_minDate ? effectiveMin() : EncodeDate(1899, 12, 31);
    int limitYear = 0, limitMonth = 0, limitDay = 0;
    DecodeDate(end ? effectiveMax() : lowest, limitYear, limitMonth, limitDay);
    switch (at.field.kind) {
    case TqkDTTokenKind::Hour:
        p.hour = end ? 23 : 0;
        break;
    case TqkDTTokenKind::Minute:
        p.minute = end ? 59 : 0;
        break;
    case TqkDTTokenKind::Second:
        p.second = end ? 59 : 0;
        break;
    case TqkDTTokenKind::AmPm:
        p.hour = p.hour % 12 + (end ? 12 : 0);
        break;
    case TqkDTTokenKind::Day:
        p.day = end ? DaysInMonth(p.year, p.month) : 1;
        if (p.year == limitYear && p.month == limitMonth)
            p.day = limitDay;
        break;
    case TqkDTTokenKind::DayName: {
        const QDate date(p.year, p.month, p.day);
        const TDateTime target = FromQDate(date.addDays(end ? 7 - date.dayOfWeek() : 1 - date.dayOfWeek()));
        DecodeDate(qBound(effectiveMin(), target, effectiveMax()), p.year, p.month, p.day);
        break;
    }
    case TqkDTTokenKind::Month:
    case TqkDTTokenKind::MonthName:
        p.month = end ? 12 : 1;
        if (p.year == limitYear)
            p.month = limitMonth + (end ? (p.day > limitDay ? -1 : 0) : (p.day < limitDay ? 1 : 0));
        p.month = qBound(1, p.month, 12);
        break;
    case TqkDTTokenKind::Year: {
        const bool beyond = end ? QDate(2000, p.month, qMin(p.day, 28)) > QDate(2000, limitMonth, qMin(limitDay, 28))
                                : QDate(2000, p.month, qMin(p.day, 28)) < QDate(2000, limitMonth, qMin(limitDay, 28));
        p.year = limitYear + (beyond ? (end ? -1 : 1) : 0);
        break;
    }
    default:
        return;
    }
    if (rebuild(p))
        userChanged();
}

void TqkDBCustomDateTimePicker::deleteValue()
{
    if (m_typingPending) {
        m_typed.chop(1);
        m_typingPending = !m_typed.isEmpty();
        const TqkDTRendering at = renderField(m_currentField);
        render();
        if (m_typingPending)
            showPending(at);
        return;
    }
    // A date with a time shown loses the time first; a required field keeps
    // its date that way, as it may not be emptied.
    const bool required = Field() && Field()->Required();
    const bool shortDisplay = EffectiveFormat().compare(QLatin1String("c"), Qt::CaseInsensitive) == 0;
    const bool timeShown = !IsDateOnly() && (Time() != 0 || !shortDisplay);
    const bool dropsTime = kind() == KindDateTime && timeShown && (IsTimeOnly() || required || shortDisplay);
    if (required && !dropsTime)
        return;
    dropTyping();
    if (!m_value) {
        render();
        return;
    }
    if (dropsTime) {
        m_value = std::trunc(*m_value);
    } else {
        m_value.reset();
        m_currentField = 1;
    }
    userChanged();
    m_cleared = !m_value;
    render();
}

void TqkDBCustomDateTimePicker::typeLetter(QChar letter)
{
    const TqkDTRendering at = renderField(m_currentField);
    const TFormatSettings &fs = FormatSettings();
    Parts p = parts();
    const QString upper = QString(letter).toUpper();
    if (at.field.kind == TqkDTTokenKind::MonthName) {
        const QStringList &names = at.field.token.size() == 3 ? fs.ShortMonthNames : fs.LongMonthNames;
        for (int step = 1; step <= 12; ++step) {
            const int month = (p.month - 1 + step) % 12 + 1;
            if (names.value(month - 1).toUpper().startsWith(upper)) {
                p.month = month;
                storeTyped(p);
                return;
            }
        }
    } else if (!finishTyping(TellOnce)) {
        return;
    } else if (at.field.kind == TqkDTTokenKind::DayName) {
        const QDate date(p.year, p.month, p.day);
        for (int step = 1; step <= 7; ++step) {
            const QDate candidate = date.addDays(step);
            if (fs.LongDayNames.value(candidate.dayOfWeek() % 7).toUpper().startsWith(upper)) {
                DecodeDate(qMin(FromQDate(candidate), effectiveMax()), p.year, p.month, p.day);
                if (rebuild(p))
                    userChanged();
                return;
            }
        }
    } else if (at.field.kind == TqkDTTokenKind::AmPm) {
        const QString am = at.field.token.size() == 4 ? fs.TimeAMString.left(1).toUpper() : QStringLiteral("A");
        const QString pm = at.field.token.size() == 4 ? fs.TimePMString.left(1).toUpper() : QStringLiteral("P");
        if (upper == am && upper == pm)
            p.hour = (p.hour + 12) % 24;
        else if (upper == pm && p.hour < 12)
            p.hour += 12;
        else if (upper == am && p.hour >= 13)
            p.hour -= 12;
        else
            return;
        if (rebuild(p))
            userChanged();
    }
}

void TqkDBCustomDateTimePicker::fillIfEmpty(int key)
{
    const bool navigation = key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END;
    if (m_value || m_hasDraft || (!isEditingKey(key) && !navigation))
        return;
    m_value = fillValue(key);
    m_currentField = 1;
    userChanged();
    render();
}

TDateTime TqkDBCustomDateTimePicker::fillValue(int key) const
{
    if (kind() == KindTime)
        return key == VK_SPACE ? ::Time() : clockTimeAsShown();
    const TDateTime today = qBound(effectiveMin(), ::Date(), effectiveMax());
    // The blank asks for now, and a display of the time alone shows the time:
    // both take the time of day too.
    if (kind() != KindDateTime || (key != VK_SPACE && !IsTimeOnly()))
        return today;
    return CombineDateTime(today, key == VK_SPACE ? ::Time() : clockTimeAsShown());
}

// A time the user goes on to type keeps no seconds the display hides:
// "08:30" typed is stored as 08:30, not as 08:30 and the clock's seconds.
TDateTime TqkDBCustomDateTimePicker::clockTimeAsShown() const
{
    const QList<TqkDTToken> shown = tokens();
    const bool seconds =
        std::any_of(shown.cbegin(), shown.cend(), [](const TqkDTToken &t) { return t.kind == TqkDTTokenKind::Second; });
    const QTime now = ToQTime(::Time());
    return FromQTime(QTime(now.hour(), now.minute(), seconds ? now.second() : 0));
}

bool TqkDBCustomDateTimePicker::WantsKey(int key, TShiftState shift)
{
    if (key == VK_ESCAPE)
        return IsDroppedDown() || m_swallowEscape || isModified() || Grid();
    // An unfinished date keeps Enter from the dialog's default button.
    if (key == VK_RETURN)
        return IsDroppedDown() || m_typingPending || m_hasDraft || Grid();
    if (key == VK_TAB) {
        if (IsDroppedDown())
            CloseUp(true);
        return Grid() && Grid()->TabsMoveColumns() && !(shift & Qt::ControlModifier);
    }
    return true;
}

void TqkDBCustomDateTimePicker::keyWhileDropped(int &key, TShiftState shift)
{
    if (key == VK_RETURN) {
        CloseUp(true);
        key = 0;
    } else if (key == VK_ESCAPE) {
        CloseUp(false);
        // The same key's character stage only clears the flag.
        m_swallowEscape = true;
    } else if ((key == VK_UP || key == VK_DOWN) && (shift & Qt::AltModifier)) {
        CloseUp(true);
        key = 0;
    } else {
        const int qtKey = key == VK_UP      ? Qt::Key_Up
                          : key == VK_DOWN  ? Qt::Key_Down
                          : key == VK_LEFT  ? Qt::Key_Left
                          : key == VK_RIGHT ? Qt::Key_Right
                          : key == VK_PRIOR ? Qt::Key_PageUp
                          : key == VK_NEXT  ? Qt::Key_PageDown
                                            : 0;
        if (qtKey != 0) {
            QKeyEvent event(QEvent::KeyPress, qtKey, shift);
            QCoreApplication::sendEvent(m_calendar, &event);
        }
        key = 0;
    }
}

void TqkDBCustomDateTimePicker::takeCalendarDate()
{
    if (!MayModify() || !m_calendar)
        return;
    m_link->Edit();
    m_value = kind() == KindTime ? m_value : CombineDateTime(m_calendar->Date(), Time());
    userChanged();
    render();
}

bool TqkDBCustomDateTimePicker::wholeTextSelected() const
{
    return hasSelectedText() && selectedText().size() == text().size();
}

bool TqkDBCustomDateTimePicker::handOverToGrid(int &key, TShiftState shift)
{
    TqkGridHost *grid = Grid();
    const bool dropped = IsDroppedDown();
    // Enter and Escape accept or cancel the open calendar, in a grid too.
    if (!grid || (dropped && (key == VK_RETURN || key == VK_ESCAPE)))
        return false;
    const bool alt = shift & Qt::AltModifier;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool whole = wholeTextSelected();
    const bool atStart = (!hasSelectedText() && cursorPosition() == 0) || (hasSelectedText() && selectionStart() == 0);
    const bool atEnd = cursorPosition() == text().size();
    const bool always = grid->AlwaysShowEditor() && !dropped;
    bool toGrid = false;
    switch (key) {
    case VK_ESCAPE:
        toGrid = !isModified();
        break;
    case VK_PRIOR:
    case VK_NEXT:
        toGrid = !dropped && !alt;
        break;
    case VK_END:
        toGrid = always && (ctrl || (atEnd && whole));
        break;
    case VK_HOME:
        toGrid = always && (ctrl || (atStart && whole));
        break;
    case VK_LEFT:
        toGrid = always && (ctrl || atStart);
        break;
    case VK_RIGHT:
        toGrid = always && (ctrl || atEnd);
        break;
    case VK_UP:
    case VK_DOWN:
        // Alt+Up and Alt+Down open and close the calendar, also in a grid.
        toGrid = !alt && (ctrl || whole);
        break;
    case VK_INSERT:
        toGrid = !(shift & Qt::ShiftModifier);
        break;
    case VK_DELETE:
        toGrid = ctrl;
        break;
    case VK_F2:
        grid->FireOnKeyDown(key, shift);
        if (key == VK_F2) {
            deselect();
            m_currentField = 1;
            render();
        }
        key = 0;
        return true;
    default:
        break;
    }
    if (!MayModify() && (key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT))
        toGrid = true;
    if (toGrid) {
        qkPassKeyToGrid(grid, key, shift);
        return true;
    }
    if (key == VK_TAB || key == VK_RETURN) {
        qkPassKeyToGrid(grid, key, shift);
        return true;
    }
    grid->FireOnKeyDown(key, shift);
    return key == 0;
}

void TqkDBCustomDateTimePicker::KeyDown(int &key, TShiftState shift)
{
    if (handOverToGrid(key, shift))
        return;
    if (IsDroppedDown()) {
        keyWhileDropped(key, shift);
        return;
    }
    if ((key == VK_UP || key == VK_DOWN) && (shift & Qt::AltModifier)) {
        DropDown();
        key = 0;
        return;
    }
    const bool ctrl = shift & Qt::ControlModifier;
    if (ctrl && (key == 'V' || key == 'X')) {
        key == 'V' ? Paste() : Cut();
        key = 0;
        return;
    }
    const TFormatSettings &fs = FormatSettings();
    if (key == VK_ADD || key == VK_OEM_PLUS)
        key = VK_UP;
    else if (key == VK_SUBTRACT || key == VK_OEM_MINUS)
        key = VK_DOWN;
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        key = '0' + (key - VK_NUMPAD0);
    const bool separator =
        (m_keyChar == fs.DateSeparator || m_keyChar == fs.TimeSeparator) && (!m_autoNextField || m_typingPending);
    if (separator)
        key = VK_RIGHT;
    setReadOnly(!MayModify());
    const bool unboundWithSource = !Field() && m_link->DataSource();
    if (!MayModify() || unboundWithSource) {
        if (key != VK_TAB && key != VK_ESCAPE && key != VK_RETURN)
            key = 0;
        return;
    }
    // Typing over the whole text starts at its first field, whichever was
    // used last; asked before edit mode re-reads the field and selects one.
    if (((key >= '0' && key <= '9') || m_keyChar.isLetter()) && wholeTextSelected())
        m_currentField = 1;
    // Edit mode first: entering it re-reads the field into the control.
    if (key != VK_LEFT && key != VK_RIGHT && key != VK_F2 && key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
        m_link->Edit();
    fillIfEmpty(key);
    if (key == VK_BACK)
        key = wholeTextSelected() ? VK_DELETE : VK_LEFT;
    switch (key) {
    case VK_LEFT:
        moveField(-1);
        break;
    case VK_RIGHT:
    case VK_SPACE:
        moveField(1, separator);
        break;
    case VK_UP:
        stepField(1);
        break;
    case VK_DOWN:
        stepField(-1);
        break;
    case VK_HOME:
        homeOrEnd(false);
        break;
    case VK_END:
        homeOrEnd(true);
        break;
    case VK_DELETE:
        deleteValue();
        break;
    case VK_F2:
        render();
        break;
    default:
        if (key >= '0' && key <= '9')
            typeDigit(key - '0');
        else if (m_keyChar.isLetter())
            typeLetter(m_keyChar);
        else
            return;
    }
    // Printable keys were handled here; their character stage only sees them dropped.
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
        key = 0;
}

void TqkDBCustomDateTimePicker::KeyPress(QChar &key)
{
    const ushort code = key.unicode();
    if (code == 13) {
        // A date refused here is still to be corrected, not confirmed.
        if (!finishTyping(TellAlways) || Grid())
            key = QChar();
        return;
    }
    if (code == 27) {
        key = QChar();
        if (m_swallowEscape) {
            m_swallowEscape = false;
            return;
        }
        resetValue();
        if (TqkGridHost *grid = Grid())
            grid->TakeFocus();
        return;
    }
    if (code >= 32 || code == 8 || code == 22 || code == 24)
        key = QChar();
}

void TqkDBCustomDateTimePicker::resetValue()
{
    dropTyping();
    if (m_link->DataSource())
        m_link->Reset();
    else
        m_value = m_savedValue;
    render();
    selectAll();
    setModified(false);
}

// ---------------------------------------------------------------- clipboard, mouse, focus

void TqkDBCustomDateTimePicker::Cut()
{
    m_link->Edit();
    if (!MayModify())
        return;
    copy();
    // Digits still typed would otherwise be committed into the emptiness.
    dropTyping();
    m_value.reset();
    m_currentField = 1;
    userChanged();
    m_cleared = true;
    render();
}

void TqkDBCustomDateTimePicker::Paste()
{
    if (!MayModify())
        return;
    m_link->Edit();
    const std::optional<TDateTime> value = readPasted(QApplication::clipboard()->text().trimmed());
    if (value && kind() != KindTime && !inRange(*value)) {
        // Refused as the same date typed is.
        ui::showWarning(outOfRangeMessage(*value));
    } else if (value) {
        dropTyping();
        m_value = value;
        userChanged();
    }
    render();
}

std::optional<TDateTime> TqkDBCustomDateTimePicker::readPasted(const QString &pasted) const
{
    if (IsTimeOnly()) {
        if (!qkIsValidTimeText(pasted))
            return std::nullopt;
        // A time display of a date and time takes the time into its date.
        const TDateTime time = qkStrToTime(pasted);
        return kind() == KindTime ? time : CombineDateTime(std::trunc(m_value.value_or(fillValue(0))), time);
    }
    if (qkIsValidDateTimeText(pasted))
        return qkStrToDateTime(pasted);
    if (qkIsValidDateText(pasted))
        return qkStrToDate(pasted);
    return std::nullopt;
}

void TqkDBCustomDateTimePicker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        TqkKeyedEdit::mousePressEvent(event);
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    finishTyping(TellOnce);
    if (IsDroppedDown() || (!m_value && !m_hasDraft))
        return;
    const int x = int(event->position().x());
    const int count = fieldCount();
    const int left = cursorRect().left() - fontMetrics().horizontalAdvance(text().left(cursorPosition()));
    for (int field = 1; field <= count; ++field) {
        const TqkDTRendering at = renderField(field);
        if (left + fontMetrics().horizontalAdvance(text().left(at.start + at.length)) > x || field == count) {
            m_currentField = field;
            break;
        }
    }
    render();
}

void TqkDBCustomDateTimePicker::mouseDoubleClickEvent(QMouseEvent *)
{
    selectAll();
}

void TqkDBCustomDateTimePicker::EnterFocus()
{
    if (Grid())
        m_currentField = 1;
    m_dayTyped = false;
    // An empty control saves its emptiness too: Escape brings back what the
    // control held on this entry, never a value of an earlier one.
    m_savedValue = m_value;
    if (m_value)
        render();
    if (!m_enteredByButton)
        selectAll();
}

bool TqkDBCustomDateTimePicker::ExitCheck()
{
    if (IsDroppedDown())
        CloseUp(true);
    if (!finishTyping(TellAlways))
        return false;
    if (!isModified())
        return true;
    try {
        m_link->UpdateRecord();
    } catch (const Exception &error) {
        selectAll();
        ui::showEscapedException(error);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- data link

void TqkDBCustomDateTimePicker::DataChange()
{
    TField *field = Field();
    if (!field) {
        render();
        return;
    }
    placeButton();
    const TAlignment alignment = field->Alignment();
    setAlignment((alignment == taRightJustify ? Qt::AlignRight
                  : alignment == taCenter     ? Qt::AlignHCenter
                                              : Qt::AlignLeft)
                 | Qt::AlignVCenter);
    const TDataSet *dataSet = field->DataSet();
    const bool browsing = dataSet && (dataSet->State() == dsBrowse || dataSet->State() == dsInsert);
    dropTyping();
    m_value = field->IsNull() ? std::nullopt : std::optional<TDateTime>(field->AsDateTime());
    if (browsing)
        m_currentField = 1;
    render();
    setModified(false);
    m_cleared = false;
}

void TqkDBCustomDateTimePicker::UpdateData()
{
    TField *field = Field();
    TDataSet *dataSet = field ? field->DataSet() : nullptr;
    // Saving the record while digits are typed saves them too.
    commitPending();
    if (!field || isReadOnly() || !isModified())
        return;
    if (!m_link->Editing() && !(dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert)))
        return;
    if (m_hasDraft)
        throw EDateTimeError(unfinishedDateMessage());
    if (!m_value) {
        if (m_cleared)
            field->Clear();
        return;
    }
    if (kind() != KindTime && !inRange(*m_value))
        SetDate(*m_value);
    // A display of the date alone keeps the field's time of day, one of the
    // time alone its date; a field without a value takes the picker's whole.
    const TDateTime value = *m_value;
    const TDateTime stored = field->IsNull() ? value : field->AsDateTime();
    if (IsDateOnly())
        field->SetAsDateTime(CombineDateTime(std::trunc(value), std::abs(stored - std::trunc(stored))));
    else if (IsTimeOnly() && kind() == KindDateTime)
        field->SetAsDateTime(CombineDateTime(std::trunc(stored), Time()));
    else
        field->SetAsDateTime(value);
}

// ---------------------------------------------------------------- drop-down

bool TqkDBCustomDateTimePicker::IsDroppedDown() const
{
    return m_calendar && m_calendar->isVisible();
}

void TqkDBCustomDateTimePicker::DropDown()
{
    // A time has no day to pick: the time display shows no button and opens
    // no calendar by key either.
    if (IsDroppedDown() || IsTimeOnly() || (!Field() && (m_link->DataSource() || !DataField().isEmpty())))
        return;
    if (!MayModify()) {
        setReadOnly(true);
        return;
    }
    setReadOnly(false);
    m_valueBeforeDropDown = m_value;
    if (!finishTyping(TellAlways))
        return;
    if (!m_calendar) {
        m_calendar = new TqkPopupCalendar(this);
        m_calendar->OnChange = [this](QObject *) { takeCalendarDate(); };
        m_calendar->OnMouseUp = [this](QObject *, Qt::MouseButton button, Qt::KeyboardModifiers, int, int, int, int day,
                                       int) {
            if (button == Qt::LeftButton && day != 0)
                CloseUp(true);
        };
    }
    m_calendar->OnCalcBoldDay = OnCalcBoldDay;
    m_calendar->SetBorderStyle(bsSingle);
    m_calendar->CalColors()->Assign(CalendarAttributes.Colors);
    m_calendar->SetMinDate(std::nullopt);
    m_calendar->SetMaxDate(m_maxDate);
    m_calendar->SetMinDate(m_minDate);
    if (CalendarAttributes.UseFont)
        m_calendar->setFont(CalendarAttributes.Font);
    m_calendar->PopupYearOptions = CalendarAttributes.PopupYearOptions;
    m_calendar->SetFirstDayOfWeek(CalendarAttributes.FirstDayOfWeek);
    m_calendar->SetOptions(CalendarAttributes.Options);
    if (!m_value) {
        m_link->Edit();
        m_value = qBound(effectiveMin(), ::Date(), effectiveMax());
        userChanged();
    }
    // A field may hold a date outside the picker's limits; the calendar
    // shows the nearest day it allows instead of raising, and that day is
    // taken only once the user has moved off it.
    m_calendarOpenedOn = qBound(effectiveMin(), std::trunc(*m_value), effectiveMax());
    m_calendar->SetDate(m_calendarOpenedOn);
    m_calendar->SetTime(Time());
    if (OnDropDown)
        OnDropDown(this);
    QSize size = m_calendar->minimumSizeHint();
    if (CalendarAttributes.Width >= size.width())
        size.setWidth(CalendarAttributes.Width);
    if (CalendarAttributes.Height >= size.height())
        size.setHeight(CalendarAttributes.Height);
    const int x = mapToGlobal(QPoint(0, 0)).x();
    const int m = qkComboButtonWidth(this);
    int left = x;
    if (CalendarAttributes.Alignment == qkdtaRight)
        left = x + width() - m - size.width() - 1;
    else if (CalendarAttributes.Alignment == qkdtaCenter)
        left = x + int((width() - size.width() - m - 1) * 0.5);
    // The calendar stands one pixel right of the computed left edge.
    m_calendar->setGeometry(QRect(qkDropDownPosition(this, size, left) + QPoint(1, 0), size));
    m_calendar->show();
    m_calendar->raise();
    m_closer->setWatching(true);
    render();
}

void TqkDBCustomDateTimePicker::CloseUp(bool accept)
{
    if (m_inCloseUp || !m_calendar)
        return;
    m_inCloseUp = true;
    const bool wasVisible = m_calendar->isVisible();
    m_calendar->hide();
    m_closer->setWatching(false);
    if (wasVisible) {
        if (!accept) {
            m_value = m_valueBeforeDropDown;
        } else if (Field() && MayModify() && m_calendar->Date() != m_calendarOpenedOn) {
            const TDateTime chosen = CombineDateTime(m_calendar->Date(), m_calendar->Time());
            if (Field()->IsNull() || chosen != Field()->AsDateTime()) {
                m_link->Edit();
                m_value = kind() == KindTime ? m_value : chosen;
                userChanged();
            }
        }
        if (OnCloseUp)
            OnCloseUp(this);
        render();
    }
    m_inCloseUp = false;
}
