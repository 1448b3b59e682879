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

QString renderToken(const TqkDTToken &token, TDateTime value, bool twelveHour, int typedDay)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(value, hour, minute, second, msec);
    const int count = int(token.token.size());
    switch (token.kind) {
    case TqkDTTokenKind::Minute:
        return FormatDateTime(count >= 2 ? QStringLiteral("nn") : QStringLiteral("n"), value);
    case TqkDTTokenKind::Year: {
        int year = 0, month = 0, day = 0;
        DecodeDate(value, year, month, day);
        return count == 2 ? FormatDateTime(QStringLiteral("yy"), value) : QString::number(year);
    }
    case TqkDTTokenKind::Hour: {
        const int shown = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        return count >= 2 ? QString::number(shown).rightJustified(2, QLatin1Char('0')) : QString::number(shown);
    }
    case TqkDTTokenKind::Day:
        if (typedDay > 0)
            return count >= 2 ? QString::number(typedDay).rightJustified(2, QLatin1Char('0'))
                              : QString::number(typedDay);
        return FormatDateTime(token.token, value);
    case TqkDTTokenKind::Literal:
        return token.token;
    default:
        return FormatDateTime(token.token, value);
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
                                bool timeFields, int typedDay)
{
    bool twelveHour = false;
    for (const TqkDTToken &token : tokens)
        twelveHour = twelveHour || token.kind == TqkDTTokenKind::AmPm;
    TqkDTRendering rendering;
    for (const TqkDTToken &token : tokens) {
        const QString text = renderToken(token, value, twelveHour, typedDay);
        const bool counts = (dateFields && qkIsDateToken(token.kind)) || (timeFields && qkIsTimeToken(token.kind));
        if (counts && ++rendering.fieldCount == wanted) {
            rendering.field = token;
            rendering.start = int(rendering.text.size());
            rendering.length = token.kind == TqkDTTokenKind::Year ? int(token.token.size()) : int(text.size());
            rendering.text += text;
            rendering.found = true;
            return rendering;
        }
        rendering.text += text;
    }
    return rendering;
}
