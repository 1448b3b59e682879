#include "lib/edit/qkmonthcalendar.h"

#include "lib/data/Qkintl.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/ui/UiServices.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QWidgetAction>

namespace {

QString dateText(TDateTime date)
{
    return FormatDateTime(FormatSettings().ShortDateFormat, date);
}

TDateTime dayOf(const QDate &date)
{
    return FromQDate(date);
}

int monthKey(int year, int month)
{
    return year * 12 + month - 1;
}

}

QString qkAboveMaximumText(TDateTime maximum)
{
    return QStringLiteral("Das Datum überschreitet das Maximum von %1").arg(dateText(maximum));
}

QString qkBelowMinimumText(TDateTime minimum)
{
    return QStringLiteral("Das Datum unterschreitet das Minimum von %1").arg(dateText(minimum));
}

void qkRaiseAboveMaximum(TDateTime maximum)
{
    throw EDateTimeError(qkAboveMaximumText(maximum));
}

void qkRaiseBelowMinimum(TDateTime minimum)
{
    throw EDateTimeError(qkBelowMinimumText(minimum));
}

TDateTime qkFirstDay()
{
    return EncodeDate(1, 1, 1);
}

TDateTime qkLastDay()
{
    return EncodeDate(9999, 12, 31);
}

QDate qkSameDayIn(int year, int month, int day)
{
    return QDate(year, month, qMin(day, DaysInMonth(year, month)));
}

// ---------------------------------------------------------------- colours

TqkDateTimeColors::TqkDateTimeColors(QObject *owner) : QObject(owner), m_owner(qobject_cast<TqkMonthCalendar *>(owner))
{
    const QPalette palette = m_owner ? m_owner->palette() : QGuiApplication::palette();
    m_colors[Background] = palette.color(QPalette::Base);
    m_colors[Text] = palette.color(QPalette::Text);
    m_colors[TitleBack] = palette.color(QPalette::Highlight);
    m_colors[TitleText] = Qt::white;
    m_colors[MonthBack] = Qt::white;
    m_colors[TrailingText] = palette.color(QPalette::Disabled, QPalette::Text);
}

void TqkDateTimeColors::SetColor(Index index, const QColor &color)
{
    m_colors[index] = color;
    if (m_owner)
        m_owner->update();
}

void TqkDateTimeColors::Assign(const TqkDateTimeColors &source)
{
    for (int i = Text; i <= TrailingText; ++i)
        m_colors[i] = source.m_colors[i];
    if (m_owner)
        m_owner->update();
}

// ---------------------------------------------------------------- calendar

TqkMonthCalendar::TqkMonthCalendar(QWidget *parent)
    : QWidget(parent), m_value(Now()), m_colors(new TqkDateTimeColors(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    showMonthOf(ToQDate(m_value));
    keepMinimumSize();
    resize(sizeHint());
}

// Also a calendar placed without a layout never shows cut.
void TqkMonthCalendar::keepMinimumSize()
{
    setMinimumSize(minimumSizeHint());
}

TDateTime TqkMonthCalendar::Date() const
{
    return std::trunc(m_value);
}

TDateTime TqkMonthCalendar::Time() const
{
    return std::abs(m_value - std::trunc(m_value));
}

void TqkMonthCalendar::SetTime(TDateTime time)
{
    m_value = CombineDateTime(std::trunc(m_value), time);
}

void TqkMonthCalendar::SetDate(TDateTime date)
{
    const TDateTime day = std::trunc(date);
    if (afterMaximum(day))
        qkRaiseAboveMaximum(*m_maxDate);
    if (beforeMinimum(day))
        qkRaiseBelowMinimum(*m_minDate);
    applyValue(CombineDateTime(day, Time()));
    // A multi-selection becomes the one day set.
    if (m_options & mdoMultiSelect)
        m_selectionStart = m_selectionEnd = m_anchor = ToQDate(m_value);
}

void TqkMonthCalendar::SetMinDate(std::optional<TDateTime> date)
{
    if (m_maxDate && date && *date > *m_maxDate)
        qkRaiseAboveMaximum(*m_maxDate);
    m_minDate = date;
    applyValue(m_value);
}

void TqkMonthCalendar::SetMaxDate(std::optional<TDateTime> date)
{
    if (m_minDate && date && *date < *m_minDate)
        qkRaiseBelowMinimum(*m_minDate);
    m_maxDate = date;
    applyValue(m_value);
}

void TqkMonthCalendar::SetOptions(TqkMonthOptions options)
{
    m_options = options;
    m_selectionStart = m_selectionEnd = m_anchor = ToQDate(m_value);
    refreshBoldDays();
    keepMinimumSize();
    updateGeometry();
    update();
}

void TqkMonthCalendar::SetFirstDayOfWeek(TqkCalDayOfWeek day)
{
    m_firstDayOfWeek = day;
    update();
}

void TqkMonthCalendar::applyValue(TDateTime value)
{
    TDateTime day = std::trunc(value);
    if (afterMaximum(day))
        day = std::trunc(*m_maxDate);
    else if (beforeMinimum(day))
        day = std::trunc(*m_minDate);
    day = qBound(qkFirstDay(), day, qkLastDay());
    m_value = CombineDateTime(day, std::abs(value - std::trunc(value)));
    showMonthOf(ToQDate(m_value));
    update();
}

void TqkMonthCalendar::showMonthOf(const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    if (first == m_shown)
        return;
    m_shown = first;
    refreshBoldDays();
}

void TqkMonthCalendar::refreshBoldDays()
{
    m_boldMasks.clear();
    if (!(m_options & mdoDayState) || !OnCalcBoldDay || !m_shown.isValid())
        return;
    // The shown month and the trailing days of its neighbours.
    for (int offset = -1; offset <= 1; ++offset) {
        const QDate month = m_shown.addMonths(offset);
        quint32 mask = 0;
        for (int day = 1; day <= month.daysInMonth(); ++day) {
            bool accept = false;
            OnCalcBoldDay(this, dayOf(QDate(month.year(), month.month(), day)), month.month(), day, month.year(),
                          accept);
            if (accept)
                mask |= 1u << (day - 1);
        }
        m_boldMasks.insert(monthKey(month.year(), month.month()), mask);
    }
}

bool TqkMonthCalendar::IsBoldDay(const QDate &date) const
{
    return (m_boldMasks.value(monthKey(date.year(), date.month())) >> (date.day() - 1)) & 1u;
}

int TqkMonthCalendar::firstWeekday() const
{
    if (m_firstDayOfWeek == qkdowLocaleDefault)
        return QLocale().firstDayOfWeek();
    return m_firstDayOfWeek + 1;
}

void TqkMonthCalendar::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    keepMinimumSize();
    updateGeometry();
    update();
}

QDate TqkMonthCalendar::firstCellDate() const
{
    const int back = (m_shown.dayOfWeek() - firstWeekday() + 7) % 7;
    return m_shown.addDays(-(back == 0 ? 7 : back));
}

TqkMonthCalendar::Layout TqkMonthCalendar::layout() const
{
    const QFontMetrics metrics = fontMetrics();
    Layout l;
    l.cellWidth = metrics.horizontalAdvance(QStringLiteral("00")) + metrics.averageCharWidth() * 2 + 4;
    l.cellHeight = metrics.height() + 4;
    l.titleHeight = metrics.height() * 2;
    const int columns = (m_options & mdoWeekNumbers) ? 8 : 7;
    l.left = qMax(4, (width() - columns * l.cellWidth) / 2) + ((m_options & mdoWeekNumbers) ? l.cellWidth : 0);
    l.gridTop = l.titleHeight + l.cellHeight + 2;
    return l;
}

QSize TqkMonthCalendar::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int cellWidth = metrics.horizontalAdvance(QStringLiteral("00")) + metrics.averageCharWidth() * 2 + 4;
    const int cellHeight = metrics.height() + 4;
    const int columns = (m_options & mdoWeekNumbers) ? 8 : 7;
    const int todayLine = (m_options & mdoNoToday) ? 0 : cellHeight + 2;
    const int border = m_borderStyle == bsSingle ? 2 : 0;
    return {columns * cellWidth + 8 + border, metrics.height() * 2 + cellHeight * 7 + 6 + todayLine + border};
}

QSize TqkMonthCalendar::sizeHint() const
{
    return minimumSizeHint().expandedTo(QSize(155, 0));
}

QRect TqkMonthCalendar::DayRect(const QDate &date) const
{
    const Layout l = layout();
    const qint64 index = firstCellDate().daysTo(date);
    if (index < 0 || index >= 42)
        return {};
    return {l.left + int(index % 7) * l.cellWidth, l.gridTop + int(index / 7) * l.cellHeight, l.cellWidth,
            l.cellHeight};
}

TqkMonthCalendar::Hit TqkMonthCalendar::HitTest(const QPoint &point) const
{
    const Layout l = layout();
    Hit hit;
    if (point.y() < l.titleHeight) {
        const QFontMetrics metrics = fontMetrics();
        const QString month = FormatSettings().LongMonthNames.value(m_shown.month() - 1);
        const QString title = month + QLatin1Char(' ') + QString::number(m_shown.year());
        const int titleLeft = (width() - metrics.horizontalAdvance(title)) / 2;
        const int monthRight = titleLeft + metrics.horizontalAdvance(month);
        if (point.x() < l.titleHeight)
            hit.part = hitPrevious;
        else if (point.x() > width() - l.titleHeight)
            hit.part = hitNext;
        else if (point.x() >= titleLeft && point.x() < monthRight)
            hit.part = hitTitleMonth;
        else if (point.x() >= monthRight && point.x() < titleLeft + metrics.horizontalAdvance(title))
            hit.part = hitTitleYear;
        return hit;
    }
    if (point.y() < l.gridTop) {
        hit.part = hitDayOfWeek;
        return hit;
    }
    const int row = (point.y() - l.gridTop) / l.cellHeight;
    if (row >= 6) {
        hit.part = (m_options & mdoNoToday) ? hitNowhere : hitToday;
        return hit;
    }
    if (point.x() < l.left) {
        hit.part = (m_options & mdoWeekNumbers) ? hitWeekNumber : hitNowhere;
        return hit;
    }
    const int column = (point.x() - l.left) / l.cellWidth;
    if (column < 7) {
        hit.part = hitDate;
        hit.date = firstCellDate().addDays(row * 7 + column);
    }
    return hit;
}

bool TqkMonthCalendar::afterMaximum(TDateTime day) const
{
    return m_maxDate && day > std::trunc(*m_maxDate);
}

bool TqkMonthCalendar::beforeMinimum(TDateTime day) const
{
    return m_minDate && day < std::trunc(*m_minDate);
}

bool TqkMonthCalendar::outsideLimits(const QDate &date) const
{
    const TDateTime day = dayOf(date);
    return afterMaximum(day) || beforeMinimum(day);
}

QDate TqkMonthCalendar::clampToLimits(const QDate &date, bool *clamped) const
{
    const TDateTime day = dayOf(date);
    *clamped = true;
    if (afterMaximum(day))
        return ToQDate(*m_maxDate);
    if (beforeMinimum(day))
        return ToQDate(*m_minDate);
    *clamped = false;
    return date;
}

void TqkMonthCalendar::moveTo(QDate date)
{
    bool clamped = false;
    date = clampToLimits(date, &clamped);
    if (clamped)
        ui::services().beep();
    applyValue(CombineDateTime(dayOf(date), Time()));
    if (m_options & mdoMultiSelect) {
        m_selectionChanged = m_selectionChanged || m_selectionStart != date || m_selectionEnd != date;
        m_selectionStart = m_selectionEnd = m_anchor = date;
    }
}

void TqkMonthCalendar::selectDay(const QDate &date)
{
    moveTo(date);
    // A multi-selection tells its change only once the user has done selecting.
    if (!(m_options & mdoMultiSelect))
        Change();
}

void TqkMonthCalendar::extendTo(QDate date)
{
    bool clamped = false;
    date = clampToLimits(date, &clamped);
    if (!m_anchor.isValid())
        m_anchor = ToQDate(m_value);
    const int most = qMax(1, MaxSelectCount) - 1;
    date = qBound(m_anchor.addDays(-most), date, m_anchor.addDays(most));
    const QDate start = qMin(m_anchor, date);
    const QDate end = qMax(m_anchor, date);
    m_selectionChanged = m_selectionChanged || start != m_selectionStart || end != m_selectionEnd;
    m_selectionStart = start;
    m_selectionEnd = end;
    showMonthOf(date);
    update();
}

bool TqkMonthCalendar::isSelected(const QDate &date) const
{
    if (m_options & mdoMultiSelect)
        return m_selectionStart.isValid() && date >= m_selectionStart && date <= m_selectionEnd;
    return date == ToQDate(m_value);
}

void TqkMonthCalendar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TqkMonthCalendar::fireMouse(const TmcMouseEvent &handler, QMouseEvent *event)
{
    if (!handler)
        return;
    const Hit hit = HitTest(event->position().toPoint());
    const bool onDate = hit.part == hitDate;
    handler(this, event->button(), event->modifiers(), int(event->position().x()), int(event->position().y()),
            onDate ? hit.date.month() : m_shown.month(), onDate ? hit.date.day() : 0,
            onDate ? hit.date.year() : m_shown.year());
}

void TqkMonthCalendar::openMenu(QMenu *menu, const QPoint &at)
{
    m_menuShowing = true;
    menu->exec(mapToGlobal(at));
    m_menuShowing = false;
    delete menu;
}

void TqkMonthCalendar::mousePressEvent(QMouseEvent *event)
{
    fireMouse(OnMouseDown, event);
    if (event->button() != Qt::LeftButton)
        return;
    const Hit hit = HitTest(event->position().toPoint());
    const QDate current = ToQDate(m_value);
    switch (hit.part) {
    case hitPrevious:
    case hitNext: {
        const QDate month = m_shown.addMonths(hit.part == hitPrevious ? -1 : 1);
        moveTo(qkSameDayIn(month.year(), month.month(), current.day()));
        Change();
        break;
    }
    case hitTitleMonth:
        openMenu(BuildMonthMenu(this), event->position().toPoint());
        break;
    case hitTitleYear:
        openMenu(BuildYearMenu(this), event->position().toPoint());
        break;
    case hitDate:
        if ((m_options & mdoMultiSelect) && (event->modifiers() & Qt::ShiftModifier))
            extendTo(hit.date);
        else
            selectDay(hit.date);
        break;
    case hitToday:
        selectDay(ToQDate(::Date()));
        break;
    default:
        break;
    }
}

void TqkMonthCalendar::mouseReleaseEvent(QMouseEvent *event)
{
    fireMouse(OnMouseUp, event);
}

void TqkMonthCalendar::mouseMoveEvent(QMouseEvent *event)
{
    fireMouse(OnMouseMove, event);
}

void TqkMonthCalendar::keyPressEvent(QKeyEvent *event)
{
    const bool extending = (m_options & mdoMultiSelect) && (event->modifiers() & Qt::ShiftModifier);
    const QDate current = extending && m_selectionStart.isValid()
                              ? (m_selectionStart < m_anchor ? m_selectionStart : m_selectionEnd)
                              : ToQDate(m_value);
    const bool severalDays = (m_options & mdoMultiSelect) && m_selectionStart != m_selectionEnd;
    QDate target;
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (severalDays)
            return;
        const QDate month =
            QDate(current.year(), current.month(), 1).addMonths(event->key() == Qt::Key_PageUp ? -1 : 1);
        target = qkSameDayIn(month.year(), month.month(), current.day());
        break;
    }
    case Qt::Key_Left:
        target = current.addDays(-1);
        break;
    case Qt::Key_Right:
        target = current.addDays(1);
        break;
    case Qt::Key_Up:
        target = current.addDays(-7);
        break;
    case Qt::Key_Down:
        target = current.addDays(7);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (extending && event->key() != Qt::Key_PageUp && event->key() != Qt::Key_PageDown)
        extendTo(target);
    else
        moveTo(target);
    Change();
}

void TqkMonthCalendar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        keepMinimumSize();
        updateGeometry();
    }
}

QMenu *TqkMonthCalendar::BuildMonthMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    for (int month = 1; month <= 12; ++month) {
        QAction *action = menu->addAction(FormatSettings().LongMonthNames.value(month - 1));
        connect(action, &QAction::triggered, this, [this, month] { ChooseMonth(month); });
    }
    return menu;
}

QMenu *TqkMonthCalendar::BuildYearMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const TqkPopupYearOptions &options = PopupYearOptions;
    if (options.ShowEditYear) {
        connect(menu->addAction(qkIntl().MonthCalendar->PopupYearLabel), &QAction::triggered, this,
                [this] { EditYear(); });
        menu->addSeparator();
    }
    // A column of years is a column of buttons: Qt's menus have no column break.
    const int perColumn = qMax(1, options.YearsPerColumn);
    const int count = perColumn * qMax(1, options.NumberColumns);
    auto *grid = new QWidget(menu);
    auto *layout = new QGridLayout(grid);
    layout->setSpacing(0);
    layout->setContentsMargins(2, 2, 2, 2);
    const QDate current = ToQDate(m_value);
    for (int i = 0; i < count; ++i) {
        const int year = options.StartYear + i;
        auto *button = new QToolButton(grid);
        button->setText(QString::number(year));
        button->setAutoRaise(true);
        button->setObjectName(QStringLiteral("year%1").arg(year));
        button->setEnabled(!outsideLimits(qkSameDayIn(year, current.month(), current.day())));
        connect(button, &QToolButton::clicked, menu, [this, menu, year] {
            menu->close();
            ChooseYear(year);
        });
        layout->addWidget(button, i % perColumn, i / perColumn);
    }
    auto *action = new QWidgetAction(menu);
    action->setDefaultWidget(grid);
    menu->addAction(action);
    return menu;
}

void TqkMonthCalendar::ChooseMonth(int month)
{
    const QDate current = ToQDate(m_value);
    moveTo(qkSameDayIn(current.year(), qBound(1, month, 12), current.day()));
    Change();
}

void TqkMonthCalendar::ChooseYear(int year)
{
    const QDate current = ToQDate(m_value);
    const auto inYear = [&current](int y) { return qkSameDayIn(qBound(1, y, 9999), current.month(), current.day()); };
    QDate target = inYear(year);
    // A year beyond a limit gives way to the nearest year the limit allows
    // for the shown month and day.
    if (afterMaximum(dayOf(target))) {
        target = inYear(ToQDate(*m_maxDate).year());
        if (afterMaximum(dayOf(target)))
            target = inYear(target.year() - 1);
    } else if (beforeMinimum(dayOf(target))) {
        target = inYear(ToQDate(*m_minDate).year());
        if (beforeMinimum(dayOf(target)))
            target = inYear(target.year() + 1);
    }
    moveTo(target);
    Change();
}

void TqkMonthCalendar::EditYear()
{
    const int minYear = m_minDate ? ToQDate(*m_minDate).year() : 0;
    const int maxYear = m_maxDate ? ToQDate(*m_maxDate).year() : 0;
    QString caption = qkIntl().MonthCalendar->EnterYearPrompt;
    if (minYear && maxYear)
        caption += QStringLiteral(" (%1-%2)").arg(minYear).arg(maxYear);
    else if (minYear)
        caption += QStringLiteral(" (>=%1)").arg(minYear);
    else if (maxYear)
        caption += QStringLiteral(" (<=%1)").arg(maxYear);
    const QString prompt = (minYear || maxYear) ? qkIntl().MonthCalendar->NewYearPrompt : QStringLiteral(" ");
    const int shownYear = ToQDate(m_value).year();
    QString answer = QString::number(shownYear);
    for (;;) {
        if (!ui::services().inputQuery(caption, prompt, answer))
            return;
        bool number = false;
        const int year = answer.trimmed().toInt(&number);
        if (!number || year < 1 || year > 9999)
            return;
        if ((minYear && year < minYear) || (maxYear && year > maxYear))
            continue;
        if (year != shownYear)
            ChooseYear(year);
        return;
    }
}

// ---------------------------------------------------------------- painting

void TqkMonthCalendar::paintTitle(QPainter &painter, const Layout &l) const
{
    const QRect title(0, 0, width(), l.titleHeight);
    painter.fillRect(title, m_colors->Color(TqkDateTimeColors::TitleBack));
    painter.setPen(m_colors->Color(TqkDateTimeColors::TitleText));
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QString text =
        FormatSettings().LongMonthNames.value(m_shown.month() - 1) + QLatin1Char(' ') + QString::number(m_shown.year());
    painter.drawText(title, Qt::AlignCenter, text);
    painter.setFont(font());
    const int arrow = l.titleHeight / 4;
    const int middle = l.titleHeight / 2;
    painter.setBrush(m_colors->Color(TqkDateTimeColors::TitleText));
    painter.drawPolygon(QPolygon({QPoint(middle - arrow / 2, middle), QPoint(middle + arrow / 2, middle - arrow),
                                  QPoint(middle + arrow / 2, middle + arrow)}));
    const int right = width() - middle;
    painter.drawPolygon(QPolygon({QPoint(right + arrow / 2, middle), QPoint(right - arrow / 2, middle - arrow),
                                  QPoint(right - arrow / 2, middle + arrow)}));
    painter.setBrush(Qt::NoBrush);
}

void TqkMonthCalendar::paintDays(QPainter &painter, const Layout &l) const
{
    const TFormatSettings &fs = FormatSettings();
    painter.setPen(m_colors->Color(TqkDateTimeColors::TitleBack));
    for (int column = 0; column < 7; ++column) {
        const int dayIndex = (firstWeekday() + column) % 7; // 0 = Sunday in the framework's day names
        const QRect cell(l.left + column * l.cellWidth, l.titleHeight, l.cellWidth, l.cellHeight);
        painter.drawText(cell, Qt::AlignCenter, fs.ShortDayNames.value(dayIndex).left(2));
    }
    painter.drawLine(l.left, l.gridTop - 2, l.left + 7 * l.cellWidth, l.gridTop - 2);
    const QDate first = firstCellDate();
    const QDate today = ToQDate(::Date());
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 42; ++i) {
        const QDate date = first.addDays(i);
        const QRect cell = DayRect(date);
        const bool trailing = date.month() != m_shown.month();
        if (isSelected(date) && !trailing) {
            painter.fillRect(cell.adjusted(1, 1, -1, -1), m_colors->Color(TqkDateTimeColors::TitleBack));
            painter.setPen(m_colors->Color(TqkDateTimeColors::TitleText));
        } else {
            painter.setPen(m_colors->Color(trailing || outsideLimits(date) ? TqkDateTimeColors::TrailingText
                                                                           : TqkDateTimeColors::Text));
        }
        painter.setFont(IsBoldDay(date) ? bold : font());
        painter.drawText(cell, Qt::AlignCenter, QString::number(date.day()));
        if (date == today && !(m_options & mdoNoTodayCircle)) {
            painter.setPen(QColor(Qt::red));
            painter.drawEllipse(cell.adjusted(1, 1, -2, -2));
        }
    }
    painter.setFont(font());
    if (m_options & mdoWeekNumbers) {
        painter.setPen(m_colors->Color(TqkDateTimeColors::TrailingText));
        for (int row = 0; row < 6; ++row) {
            const QRect cell(l.left - l.cellWidth, l.gridTop + row * l.cellHeight, l.cellWidth, l.cellHeight);
            painter.drawText(cell, Qt::AlignCenter, QString::number(first.addDays(row * 7 + 3).weekNumber()));
        }
    }
    if (!(m_options & mdoNoToday)) {
        painter.setPen(m_colors->Color(TqkDateTimeColors::Text));
        painter.setFont(bold);
        const QRect line(0, l.gridTop + 6 * l.cellHeight + 2, width(), l.cellHeight);
        painter.drawText(line, Qt::AlignCenter,
                         qkIntl().MonthCalendar->TodayLabel + QLatin1Char(' ') + dateText(::Date()));
    }
}

void TqkMonthCalendar::paintEvent(QPaintEvent *)
{
    // A handler set after the month was shown is asked now.
    if (m_boldMasks.isEmpty())
        refreshBoldDays();
    QPainter painter(this);
    painter.fillRect(rect(), m_colors->Color(TqkDateTimeColors::MonthBack));
    const Layout l = layout();
    paintTitle(painter, l);
    paintDays(painter, l);
    if (isWindow() || m_borderStyle == bsSingle) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
