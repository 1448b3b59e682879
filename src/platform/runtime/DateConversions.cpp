#include "platform/runtime/DateConversions.h"

#include "platform/runtime/ConvertOrRaise.h"
#include "platform/runtime/FormatSettings.h"

namespace {

class Scanner
{
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    void skipBlanks()
    {
        while (!atEnd() && m_text[m_pos] == QLatin1Char(' '))
            ++m_pos;
    }

    bool number(int &value, int &length)
    {
        skipBlanks();
        const int start = m_pos;
        while (!atEnd() && m_text[m_pos].unicode() >= '0' && m_text[m_pos].unicode() <= '9' && m_pos - start < 9)
            ++m_pos;
        length = m_pos - start;
        if (length == 0)
            return false;
        value = m_text.mid(start, length).toInt();
        return true;
    }

    bool character(QChar c)
    {
        skipBlanks();
        if (atEnd() || m_text[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    bool word(const QString &w)
    {
        skipBlanks();
        if (w.isEmpty() || m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        m_pos += w.size();
        return true;
    }

    int position() const { return m_pos; }
    void setPosition(int pos) { m_pos = pos; }

private:
    const QString &m_text;
    int m_pos = 0;
};

enum class DateOrder { DMY, MDY, YMD };

DateOrder dateOrder()
{
    for (QChar c : FormatSettings().ShortDateFormat) {
        switch (c.toLower().unicode()) {
        case 'd':
            return DateOrder::DMY;
        case 'm':
            return DateOrder::MDY;
        case 'y':
            return DateOrder::YMD;
        }
    }
    return DateOrder::DMY;
}

int expandYear(int year, int length)
{
    if (length > 2)
        return year;
    const int window = FormatSettings().TwoDigitYearCenturyWindow;
    const int currentYear = ToQDate(Date()).year();
    if (window <= 0)
        return currentYear / 100 * 100 + year;
    const int first = currentYear - window;
    year += first / 100 * 100;
    return year < first ? year + 100 : year;
}

bool scanDate(Scanner &scanner, TDateTime &value)
{
    const QChar sep = FormatSettings().DateSeparator;
    int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
    if (!scanner.number(n1, l1) || !scanner.character(sep) || !scanner.number(n2, l2))
        return false;
    const DateOrder order = dateOrder();
    int y = 0, m = 0, d = 0;
    if (scanner.character(sep)) {
        if (!scanner.number(n3, l3))
            return false;
        switch (order) {
        case DateOrder::DMY:
            d = n1, m = n2, y = expandYear(n3, l3);
            break;
        case DateOrder::MDY:
            m = n1, d = n2, y = expandYear(n3, l3);
            break;
        case DateOrder::YMD:
            y = expandYear(n1, l1), m = n2, d = n3;
            break;
        }
    } else {
        y = ToQDate(Date()).year();
        if (order == DateOrder::DMY)
            d = n1, m = n2;
        else
            m = n1, d = n2;
    }
    return TryEncodeDate(y, m, d, value);
}

bool scanMeridiem(Scanner &scanner, int &baseHour)
{
    const TFormatSettings &fs = FormatSettings();
    if (scanner.word(fs.TimeAMString) || scanner.word(QStringLiteral("AM")))
        baseHour = 0;
    else if (scanner.word(fs.TimePMString) || scanner.word(QStringLiteral("PM")))
        baseHour = 12;
    return baseHour >= 0;
}

bool scanTime(Scanner &scanner, TDateTime &value)
{
    const TFormatSettings &fs = FormatSettings();
    int baseHour = -1;
    scanMeridiem(scanner, baseHour);
    int h = 0, n = 0, s = 0, ms = 0, length = 0;
    if (!scanner.number(h, length))
        return false;
    if (scanner.character(fs.TimeSeparator)) {
        if (!scanner.number(n, length))
            return false;
        if (scanner.character(fs.TimeSeparator)) {
            if (!scanner.number(s, length))
                return false;
            if (scanner.character(fs.DecimalSeparator) && !scanner.number(ms, length))
                return false;
        }
    }
    if (baseHour < 0)
        scanMeridiem(scanner, baseHour);
    if (baseHour >= 0) {
        if (h == 0 || h > 12)
            return false;
        h = h % 12 + baseHour;
    }
    scanner.skipBlanks();
    return TryEncodeTime(h, n, s, ms, value);
}

} // namespace

bool TryStrToDate(const QString &text, TDateTime &value)
{
    Scanner scanner(text);
    TDateTime result = 0;
    if (!scanDate(scanner, result))
        return false;
    scanner.skipBlanks();
    if (!scanner.atEnd())
        return false;
    value = result;
    return true;
}

bool TryStrToTime(const QString &text, TDateTime &value)
{
    Scanner scanner(text);
    TDateTime result = 0;
    if (!scanTime(scanner, result) || !scanner.atEnd())
        return false;
    value = result;
    return true;
}

bool TryStrToDateTime(const QString &text, TDateTime &value)
{
    Scanner scanner(text);
    TDateTime date = 0, time = 0;
    if (!scanDate(scanner, date))
        return TryStrToTime(text, value);
    scanner.skipBlanks();
    if (!scanner.atEnd() && !(scanTime(scanner, time) && scanner.atEnd()))
        return false;
    value = CombineDateTime(date, time);
    return true;
}

TDateTime StrToDate(const QString &text)
{
    return ConvertOrRaise<TDateTime>(text, TryStrToDate, "ist kein gültiges Datum");
}

TDateTime StrToTime(const QString &text)
{
    return ConvertOrRaise<TDateTime>(text, TryStrToTime, "ist keine gültige Zeit");
}

TDateTime StrToDateTime(const QString &text)
{
    return ConvertOrRaise<TDateTime>(text, TryStrToDateTime, "ist kein gültiges Datum und Uhrzeit");
}

QString DateToStr(TDateTime value)
{
    return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

QString TimeToStr(TDateTime value)
{
    return FormatDateTime(FormatSettings().LongTimeFormat, value);
}

QString DateTimeToStr(TDateTime value)
{
    return FormatDateTime(QStringLiteral("c"), value);
}

namespace {

class DateTimeWriter
{
public:
    DateTimeWriter(TDateTime value, int depth) : m_value(value), m_depth(depth)
    {
        DecodeDate(value, m_year, m_month, m_day);
        DecodeTime(value, m_hour, m_minute, m_second, m_msec);
    }

    QString write(const QString &format)
    {
        m_format = format;
        m_twelveHour = usesTwelveHourClock(format);
        for (m_pos = 0; m_pos < m_format.size();)
            writeToken();
        return m_out;
    }

private:
    static bool usesTwelveHourClock(const QString &format)
    {
        QChar quote;
        for (int i = 0; i < format.size(); ++i) {
            const QChar c = format[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c.toLower() == QLatin1Char('a') && meridiemLength(format, i) > 0) {
                return true;
            }
        }
        return false;
    }

    static int meridiemLength(const QString &format, int pos)
    {
        for (const char *word : {"am/pm", "a/p", "ampm"}) {
            const QLatin1String w(word);
            if (format.mid(pos, w.size()).compare(w, Qt::CaseInsensitive) == 0)
                return int(w.size());
        }
        return 0;
    }

    int runLength(QChar lower) const
    {
        int end = m_pos;
        while (end < m_format.size() && m_format[end].toLower() == lower)
            ++end;
        return end - m_pos;
    }

    static QString twoDigits(int value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

    void nested(const QString &format)
    {
        if (m_depth < 2)
            m_out += DateTimeWriter(m_value, m_depth + 1).write(format);
    }

    void writeDay(int count)
    {
        const TFormatSettings &fs = FormatSettings();
        const int dow = DayOfWeek(m_value) - 1;
        switch (qMin(count, 6)) {
        case 1:
            m_out += QString::number(m_day);
            break;
        case 2:
            m_out += twoDigits(m_day);
            break;
        case 3:
            m_out += fs.ShortDayNames.value(dow);
            break;
        case 4:
            m_out += fs.LongDayNames.value(dow);
            break;
        case 5:
            nested(fs.ShortDateFormat);
            break;
        case 6:
            nested(fs.LongDateFormat);
            break;
        }
    }

    void writeMonth(int count)
    {
        const TFormatSettings &fs = FormatSettings();
        switch (qMin(count, 4)) {
        case 1:
            m_out += QString::number(m_month);
            break;
        case 2:
            m_out += twoDigits(m_month);
            break;
        case 3:
            m_out += fs.ShortMonthNames.value(m_month - 1);
            break;
        case 4:
            m_out += fs.LongMonthNames.value(m_month - 1);
            break;
        }
    }

    void writeNumber(int value, int count) { m_out += count >= 2 ? twoDigits(value) : QString::number(value); }

    void writeMeridiem(int length)
    {
        const QString word = m_format.mid(m_pos, length);
        const bool pm = m_hour >= 12;
        if (word.compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
            m_out += pm ? FormatSettings().TimePMString : FormatSettings().TimeAMString;
            return;
        }
        const int slash = word.indexOf(QLatin1Char('/'));
        m_out += pm ? word.mid(slash + 1) : word.left(slash);
    }

    int hourOnClock() const
    {
        if (!m_twelveHour)
            return m_hour;
        return m_hour % 12 == 0 ? 12 : m_hour % 12;
    }

    void writeQuoted()
    {
        const QChar quote = m_format[m_pos];
        const int close = m_format.indexOf(quote, m_pos + 1);
        const int end = close < 0 ? m_format.size() : close;
        m_out += m_format.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
    }

    void writeLetters(QChar lower, int count)
    {
        switch (lower.unicode()) {
        case 'c':
            nested(FormatSettings().ShortDateFormat);
            if (m_hour || m_minute || m_second || m_msec) {
                m_out += QLatin1Char(' ');
                nested(FormatSettings().LongTimeFormat);
            }
            break;
        case 'd':
            writeDay(count);
            break;
        case 'm':
            if (m_lastLetter == QLatin1Char('h'))
                writeNumber(m_minute, count);
            else
                writeMonth(count);
            break;
        case 'y':
            m_out += count <= 2 ? twoDigits(m_year % 100) : QString::number(m_year).rightJustified(4, QLatin1Char('0'));
            break;
        case 'h':
            writeNumber(hourOnClock(), count);
            break;
        case 'n':
            writeNumber(m_minute, count);
            break;
        case 's':
            writeNumber(m_second, count);
            break;
        case 'z':
            m_out += count >= 3 ? QString::number(m_msec).rightJustified(3, QLatin1Char('0')) : QString::number(m_msec);
            break;
        case 't':
            nested(count >= 2 ? FormatSettings().LongTimeFormat : FormatSettings().ShortTimeFormat);
            break;
        default:
            m_out += m_format.mid(m_pos - count, count);
            break;
        }
    }

    void writeToken()
    {
        const QChar c = m_format[m_pos];
        const QChar lower = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            writeQuoted();
        } else if (c == QLatin1Char('/')) {
            m_out += FormatSettings().DateSeparator;
            ++m_pos;
        } else if (c == QLatin1Char(':')) {
            m_out += FormatSettings().TimeSeparator;
            ++m_pos;
        } else if (lower == QLatin1Char('a') && meridiemLength(m_format, m_pos) > 0) {
            const int length = meridiemLength(m_format, m_pos);
            writeMeridiem(length);
            m_pos += length;
        } else if (QStringLiteral("cdmyhnszt").contains(lower)) {
            const int count = runLength(lower);
            m_pos += count;
            writeLetters(lower, count);
            m_lastLetter = lower;
        } else {
            m_out += c;
            ++m_pos;
        }
    }

    TDateTime m_value;
    int m_depth;
    int m_year = 0, m_month = 0, m_day = 0;
    int m_hour = 0, m_minute = 0, m_second = 0, m_msec = 0;
    QString m_format;
    QString m_out;
    int m_pos = 0;
    bool m_twelveHour = false;
    QChar m_lastLetter;
};

} // namespace

QString FormatDateTime(const QString &format, TDateTime value)
{
    return DateTimeWriter(value, 0).write(format.isEmpty() ? QStringLiteral("c") : format);
}
