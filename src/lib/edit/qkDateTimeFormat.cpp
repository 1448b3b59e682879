#include "lib/edit/qkDateTimeFormat.h"

#include "platform/runtime/DateConversions.h"
#include "platform/runtime/FormatSettings.h"

namespace {

int markerLength(const QString &format, int pos)
{
    for (const char *word : {"am/pm", "a/p", "ampm"}) {
        const QLatin1String w(word);
        if (format.mid(pos, w.size()).compare(w, Qt::CaseInsensitive) == 0)
            return int(w.size());
    }
    return 0;
}

TqkDTTokenKind letterKind(QChar lower, int count, bool afterHour)
{
    switch (lower.unicode()) {
    case 'd':
        return count >= 3 ? TqkDTTokenKind::DayName : TqkDTTokenKind::Day;
    case 'm':
        if (afterHour && count <= 2)
            return TqkDTTokenKind::Minute;
        return count >= 3 ? TqkDTTokenKind::MonthName : TqkDTTokenKind::Month;
    case 'y':
        return TqkDTTokenKind::Year;
    case 'h':
        return TqkDTTokenKind::Hour;
    case 'n':
        return TqkDTTokenKind::Minute;
    case 's':
        return TqkDTTokenKind::Second;
    default:
        return TqkDTTokenKind::Literal;
    }
}

QString padded(int number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

QString renderNumber(TqkDTTokenKind kind, int count, const TqkDTParts &p, bool twelveHour)
{
    const int width = count >= 2 ? 2 : 1;
    switch (kind) {
    case TqkDTTokenKind::Day:
        return padded(p.day, width);
    case TqkDTTokenKind::Month:
        return padded(p.month, width);
    case TqkDTTokenKind::Year:
        // Four digits always, so that a year below 1000 keeps the later
        // fields where the format puts them.
        return count == 2 ? padded(p.year % 100, 2) : padded(p.year, 4);
    case TqkDTTokenKind::Hour:
        // A typed hour beyond the day is shown as typed, not as a 12-hour one.
        return padded(twelveHour && p.hour < 24 ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour, width);
    case TqkDTTokenKind::Minute:
        return padded(p.minute, width);
    default:
        return padded(p.second, width);
    }
}

TqkDTParts partsOf(TDateTime value)
{
    TqkDTParts p;
    int msec = 0;
    DecodeDate(value, p.year, p.month, p.day);
    DecodeTime(value, p.hour, p.minute, p.second, msec);
    return p;
}

QString renderToken(const TqkDTToken &token, TDateTime value, bool twelveHour, const TqkDTParts &p)
{
    switch (token.kind) {
    case TqkDTTokenKind::Literal:
        return token.token;
    case TqkDTTokenKind::DayName:
    case TqkDTTokenKind::MonthName:
        return FormatDateTime(token.token, value);
    case TqkDTTokenKind::AmPm:
        return FormatDateTime(token.token, EncodeTime(p.hour % 24, 0, 0, 0));
    default:
        return renderNumber(token.kind, int(token.token.size()), p, twelveHour);
    }
}

}

bool qkIsDateToken(TqkDTTokenKind kind)
{
    return kind == TqkDTTokenKind::Day || kind == TqkDTTokenKind::DayName || kind == TqkDTTokenKind::Month
           || kind == TqkDTTokenKind::MonthName || kind == TqkDTTokenKind::Year;
}

bool qkIsTimeToken(TqkDTTokenKind kind)
{
    return kind == TqkDTTokenKind::Hour || kind == TqkDTTokenKind::Minute || kind == TqkDTTokenKind::Second
           || kind == TqkDTTokenKind::AmPm;
}

bool qkIsNumericToken(const TqkDTToken &token)
{
    switch (token.kind) {
    case TqkDTTokenKind::Day:
    case TqkDTTokenKind::Month:
    case TqkDTTokenKind::Hour:
    case TqkDTTokenKind::Minute:
    case TqkDTTokenKind::Second:
        return token.token.size() <= 2;
    case TqkDTTokenKind::Year:
        return token.token.size() == 2 || token.token.size() == 4;
    default:
        return false;
    }
}

int qkEpochYear(int twoDigitYear, int epoch)
{
    return (epoch / 100 + (twoDigitYear < epoch % 100 ? 1 : 0)) * 100 + twoDigitYear;
}

QString qkExpandDateTimeFormat(const QString &format, bool dateOnlyC)
{
    const TFormatSettings &fs = FormatSettings();
    QString expanded = format;
    if (expanded.compare(QLatin1String("c"), Qt::CaseInsensitive) == 0)
        expanded = dateOnlyC ? fs.ShortDateFormat : fs.ShortDateFormat + QLatin1Char(' ') + fs.LongTimeFormat;
    expanded.replace(QLatin1String("dddddd"), fs.LongDateFormat, Qt::CaseInsensitive);
    expanded.replace(QLatin1String("ddddd"), fs.ShortDateFormat, Qt::CaseInsensitive);
    expanded.replace(QLatin1String("tt"), fs.LongTimeFormat, Qt::CaseInsensitive);
    expanded.replace(QLatin1String("t"), fs.ShortTimeFormat, Qt::CaseInsensitive);
    return expanded;
}

QList<TqkDTToken> qkTokenizeDateTimeFormat(const QString &format)
{
    QList<TqkDTToken> tokens;
    for (int pos = 0; pos < format.size();) {
        const QChar c = format[pos];
        const QChar lower = c.toLower();
        if (lower == QLatin1Char('a') && markerLength(format, pos) > 0) {
            const int length = markerLength(format, pos);
            tokens.append({TqkDTTokenKind::AmPm, format.mid(pos, length)});
            pos += length;
        } else if (QStringLiteral("dmyhns").contains(lower)) {
            int end = pos;
            while (end < format.size() && format[end].toLower() == lower)
                ++end;
            const bool afterHour = pos >= 2 && format[pos - 2].toLower() == QLatin1Char('h');
            tokens.append({letterKind(lower, end - pos, afterHour), format.mid(pos, end - pos)});
            pos = end;
        } else {
            // "/" and ":" stand for themselves here, whatever the separators
            // of the settings are.
            tokens.append({TqkDTTokenKind::Literal, QString(c)});
            ++pos;
        }
    }
    return tokens;
}

TqkDTRendering qkRenderDateTime(const QList<TqkDTToken> &tokens, TDateTime value, int wanted, bool dateFields,
                                bool timeFields, const TqkDTParts *typed)
{
    const TqkDTParts numbers = typed ? *typed : partsOf(value);
    bool twelveHour = false;
    for (const TqkDTToken &token : tokens)
        twelveHour = twelveHour || token.kind == TqkDTTokenKind::AmPm;
    TqkDTRendering rendering;
    for (const TqkDTToken &token : tokens) {
        const QString text = renderToken(token, value, twelveHour, numbers);
        const bool counts = (dateFields && qkIsDateToken(token.kind)) || (timeFields && qkIsTimeToken(token.kind));
        if (counts && ++rendering.fieldCount == wanted) {
            rendering.field = token;
            rendering.start = int(rendering.text.size());
            rendering.length = int(text.size());
            rendering.text += text;
            rendering.found = true;
            return rendering;
        }
        rendering.text += text;
    }
    return rendering;
}
