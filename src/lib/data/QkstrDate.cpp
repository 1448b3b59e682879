#include "lib/data/QkstrDate.h"

#include "lib/data/Qkstr.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/FormatSettings.h"

#include <array>

namespace {

// Scanning stops once a number reaches this value; a year needs no more.
constexpr int numberLimit = 1000;

class TextScanner
{
public:
    TextScanner(const QString &text, int pos) : m_text(&text), m_index(pos - 1) {}

    int pos() const { return m_index + 1; }
    bool atEnd() const { return m_index >= m_text->size(); }

    void skipBlanks()
    {
        while (!atEnd() && qkBlankSet.contains((*m_text)[m_index]))
            ++m_index;
    }

    bool takeChar(QChar c)
    {
        if (atEnd() || (*m_text)[m_index] != c)
            return false;
        ++m_index;
        return true;
    }

    bool takeText(const QString &word)
    {
        if (word.isEmpty() || m_text->mid(m_index, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        m_index += word.size();
        return true;
    }

    bool takeNumber(int &value)
    {
        skipBlanks();
        const int start = m_index;
        value = 0;
        while (!atEnd() && value < numberLimit && (*m_text)[m_index].isDigit() && (*m_text)[m_index].unicode() < 128) {
            value = value * 10 + (*m_text)[m_index].digitValue();
            ++m_index;
        }
        return m_index > start;
    }

    // A number or a three-letter month name.
    bool takeDatePart(int &value)
    {
        if (takeNumber(value))
            return true;
        const QStringList &names = FormatSettings().ShortMonthNames;
        for (int month = 0; month < names.size() && month < 12; ++month) {
            if (names[month].size() == 3 && takeText(names[month])) {
                value = month + 1;
                return true;
            }
        }
        return false;
    }

private:
    const QString *m_text;
    int m_index;
};

int fullYear(int year)
{
    if (year < 0 || year > 99)
        return year;
    return year > 50 ? 1900 + year : 2000 + year;
}

bool encodeCheckedDate(int year, int month, int day, TDateTime &date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    return TryEncodeDate(year, month, day, date);
}

bool dateFromParts(const std::array<int, 3> &parts, int count, TDateTime &date)
{
    const TqkDateOrder order = qkDateFieldOrder(FormatSettings().ShortDateFormat);
    int year = 0;
    int month = 0;
    int day = 0;
    if (count == 2) {
        int currentMonth = 0;
        int currentDay = 0;
        DecodeDate(Date(), year, currentMonth, currentDay);
        month = order == doDMY ? parts[1] : parts[0];
        day = order == doDMY ? parts[0] : parts[1];
    } else if (order == doMDY) {
        month = parts[0], day = parts[1], year = fullYear(parts[2]);
    } else if (order == doDMY) {
        day = parts[0], month = parts[1], year = fullYear(parts[2]);
    } else {
        year = fullYear(parts[0]), month = parts[1], day = parts[2];
    }
    return encodeCheckedDate(year, month, day, date);
}

// The locale's designator first, then the English one.
bool takeDesignator(TextScanner &scanner, bool &pm)
{
    scanner.skipBlanks();
    const TFormatSettings &settings = FormatSettings();
    if (scanner.takeText(settings.TimeAMString) || scanner.takeText(QStringLiteral("AM"))) {
        pm = false;
        return true;
    }
    if (scanner.takeText(settings.TimePMString) || scanner.takeText(QStringLiteral("PM"))) {
        pm = true;
        return true;
    }
    return false;
}

bool wholeTextScanned(const QString &text, int pos)
{
    TextScanner rest(text, pos);
    rest.skipBlanks();
    return rest.atEnd();
}

bool scanDateTime(const QString &text, TDateTime &value)
{
    int pos = 1;
    TDateTime date = 0;
    TDateTime time = 0;
    if (!qkScanDate(text, pos, date) || !qkScanTime(text, pos, time) || !wholeTextScanned(text, pos))
        return false;
    value = CombineDateTime(date, time);
    return true;
}

int caretPartIndex(const QString &text, int caretPos, QChar separator)
{
    return strCountChar(text.left(qMax(0, caretPos)), separator);
}

} // namespace

TqkDateOrder qkDateFieldOrder(const QString &format)
{
    for (const QChar c : format) {
        switch (c.toUpper().unicode()) {
        case 'D':
            return doDMY;
        case 'M':
            return doMDY;
        case 'Y':
            return doYMD;
        default:
            break;
        }
    }
    return doMDY;
}

bool qkScanDate(const QString &text, int &pos, TDateTime &date)
{
    TextScanner scanner(text, pos);
    const QChar separator = FormatSettings().DateSeparator;
    std::array<int, 3> parts{};
    if (!scanner.takeDatePart(parts[0]) || !scanner.takeChar(separator) || !scanner.takeDatePart(parts[1]))
        return false;
    int count = 2;
    if (scanner.takeChar(separator)) {
        if (!scanner.takeDatePart(parts[2]))
            return false;
        count = 3;
    }
    if (!dateFromParts(parts, count, date))
        return false;
    pos = scanner.pos();
    return true;
}

bool qkScanTime(const QString &text, int &pos, TDateTime &time)
{
    TextScanner scanner(text, pos);
    const QChar separator = FormatSettings().TimeSeparator;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    if (!scanner.takeNumber(hours) || !scanner.takeChar(separator) || !scanner.takeNumber(minutes))
        return false;
    if (scanner.takeChar(separator) && !scanner.takeNumber(seconds))
        return false;
    bool pm = false;
    TextScanner afterNumbers = scanner;
    if (takeDesignator(afterNumbers, pm)) {
        if (hours < 1 || hours > 12)
            return false;
        hours = hours % 12 + (pm ? 12 : 0);
        scanner = afterNumbers;
    }
    if (hours >= 24 || minutes >= 60 || seconds >= 60)
        return false;
    time = EncodeTime(hours, minutes, seconds, 0);
    pos = scanner.pos();
    return true;
}

bool qkIsValidDateText(const QString &text)
{
    int pos = 1;
    TDateTime date = 0;
    return qkScanDate(text, pos, date) && wholeTextScanned(text, pos);
}

bool qkIsValidTimeText(const QString &text)
{
    int pos = 1;
    TDateTime time = 0;
    return qkScanTime(text, pos, time) && wholeTextScanned(text, pos);
}

bool qkIsValidDateTimeText(const QString &text)
{
    TDateTime value = 0;
    return scanDateTime(text, value);
}

TDateTime qkStrToDate(const QString &text)
{
    int pos = 1;
    TDateTime date = 0;
    return qkScanDate(text, pos, date) && wholeTextScanned(text, pos) ? date : 0;
}

TDateTime qkStrToTime(const QString &text)
{
    int pos = 1;
    TDateTime time = 0;
    return qkScanTime(text, pos, time) && wholeTextScanned(text, pos) ? time : 0;
}

TDateTime qkStrToDateTime(const QString &text)
{
    TDateTime value = 0;
    return scanDateTime(text, value) ? value : 0;
}

bool qkIsIntegerText(const QString &text)
{
    const QString digits = text.startsWith(QLatin1Char('-')) ? text.mid(1) : text;
    if (text.isEmpty())
        return true;
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool qkIsFloatText(const QString &text)
{
    double value = 0;
    return text.isEmpty() || TryStrToFloat(text, value);
}

TqkDatePart qkCheckDateInput(int caretPos, const QString &text, bool timeOnly)
{
    if (!timeOnly) {
        int pos = 1;
        TDateTime date = 0;
        const bool scanned = qkScanDate(text, pos, date);
        if (!scanned || caretPos <= pos - 1) {
            static constexpr TqkDatePart byOrder[3][3] = {
                {dpMonth, dpDay, dpYear}, {dpDay, dpMonth, dpYear}, {dpYear, dpMonth, dpDay}};
            const int index = caretPartIndex(text, caretPos, FormatSettings().DateSeparator);
            if (index > 2)
                return dpDay;
            return byOrder[qkDateFieldOrder(FormatSettings().ShortDateFormat)][index];
        }
    }
    return qkCheckTimeInput(caretPos, text);
}

TqkDatePart qkCheckTimeInput(int caretPos, const QString &text)
{
    const QChar separator = FormatSettings().TimeSeparator;
    const int index = caretPartIndex(text, caretPos, separator);
    if (index == 0)
        return dpHours;
    if (index == 1)
        return dpMinutes;
    const int second = text.indexOf(separator, text.indexOf(separator) + 1);
    return caretPos - (second + 1) > 2 ? dpDesignator : dpSeconds;
}
