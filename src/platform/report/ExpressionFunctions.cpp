#include "platform/report/ExpressionFunctions.h"

#include "platform/report/NumberPicture.h"
#include "platform/runtime/DateTime.h"

#include <QDate>

#include <cmath>
#include <functional>
#include <limits>

namespace report {
namespace {

struct Function
{
    int minArgs;
    int maxArgs;
    std::function<Value(const QList<Value> &)> call;
};

QString arg(const QList<Value> &args, int i)
{
    return i < args.size() ? args.at(i).toText() : QString();
}

// A count argument within 0 and the limit; a fraction is cut off and what is
// no number at all counts as 0, so no layout can ask for a negative or
// unbounded count.
int countArgument(const Value &value, int limit)
{
    const double number = value.toNumber();
    if (!(number > 0))
        return 0;
    return number >= limit ? limit : int(number);
}

// Digits that a double still carries.
constexpr int kMaxDecimals = 15;
// No printed field is wider; a wider request would only allocate blanks.
constexpr int kMaxWidth = 1000;
constexpr int kMaxLength = std::numeric_limits<int>::max();

Value strValue(const QList<Value> &args)
{
    const double number = args.at(0).toNumber();
    QString text;
    if (args.size() > 2) {
        const int decimals = countArgument(args.at(2), kMaxDecimals);
        text = QString::number(roundDecimal(number, decimals), 'f', decimals);
    } else {
        text = QString::number(number, 'g', 15);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (args.size() > 1)
        text = text.rightJustified(countArgument(args.at(1), kMaxWidth), QLatin1Char(' '));
    return Value::fromText(text);
}

Value emptyValue(const QList<Value> &args)
{
    const Value &v = args.at(0);
    return Value::fromBool(v.isNull() || (v.kind == Value::Kind::Text && v.text.trimmed().isEmpty()));
}

const QHash<QString, Function> &functions()
{
    static const QHash<QString, Function> table = {
        {QStringLiteral("if"),
         {2, 3, [](const QList<Value> &a) { return a.at(0).toBool() ? a.at(1) : (a.size() > 2 ? a.at(2) : Value{}); }}},
        {QStringLiteral("fstr"),
         {2, 2,
          [](const QList<Value> &a) {
              return a.at(0).isNull() ? Value::fromText(QString())
                                      : Value::fromText(formatPicture(a.at(0).toNumber(), arg(a, 1)));
          }}},
        {QStringLiteral("date$"),
         {2, 2, [](const QList<Value> &a) { return Value::fromText(formatDate(a.at(0), arg(a, 1))); }}},
        {QStringLiteral("str$"), {1, 3, strValue}},
        {QStringLiteral("round"),
         {1, 2,
          [](const QList<Value> &a) {
              return Value::fromNumber(
                  roundDecimal(a.at(0).toNumber(), a.size() > 1 ? countArgument(a.at(1), kMaxDecimals) : 0));
          }}},
        {QStringLiteral("left$"),
         {2, 2,
          [](const QList<Value> &a) { return Value::fromText(arg(a, 0).left(countArgument(a.at(1), kMaxLength))); }}},
        {QStringLiteral("right$"),
         {2, 2,
          [](const QList<Value> &a) { return Value::fromText(arg(a, 0).right(countArgument(a.at(1), kMaxLength))); }}},
        {QStringLiteral("len"),
         {1, 1, [](const QList<Value> &a) { return Value::fromNumber(double(arg(a, 0).size())); }}},
        {QStringLiteral("trim"), {1, 1, [](const QList<Value> &a) { return Value::fromText(arg(a, 0).trimmed()); }}},
        {QStringLiteral("upper$"), {1, 1, [](const QList<Value> &a) { return Value::fromText(arg(a, 0).toUpper()); }}},
        {QStringLiteral("empty"), {1, 1, emptyValue}},
        // The day of printing, for the date of a letter.
        {QStringLiteral("today"),
         {0, 0,
          [](const QList<Value> &) {
              return Value::fromText(ToQDate(Date()).toString(QStringLiteral("dd.MM.yyyy")));
          }}},
    };
    return table;
}

const QStringList &germanMonths()
{
    static const QStringList names = {
        QStringLiteral("Januar"),    QStringLiteral("Februar"), QStringLiteral("März"),     QStringLiteral("April"),
        QStringLiteral("Mai"),       QStringLiteral("Juni"),    QStringLiteral("Juli"),     QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember")};
    return names;
}

const QStringList &germanDays()
{
    static const QStringList names = {
        QStringLiteral("Montag"),  QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"),
        QStringLiteral("Freitag"), QStringLiteral("Samstag"),  QStringLiteral("Sonntag")};
    return names;
}

QDate toDate(const Value &value)
{
    // Beyond the years 0 to 9999 a number is no date a layout can print.
    constexpr double kDayLimit = 3000000;
    if (value.kind == Value::Kind::Number)
        return std::fabs(value.number) < kDayLimit ? QDate(1899, 12, 30).addDays(qint64(value.number)) : QDate();
    const QString text = value.toText().trimmed();
    QDate date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    if (!date.isValid())
        date = QDate::fromString(text.left(10), Qt::ISODate);
    return date;
}

QString datePart(const QDate &date, QChar letter, int count)
{
    if (letter == QLatin1Char('d')) {
        if (count >= 3)
            return count == 3 ? germanDays().at(date.dayOfWeek() - 1).left(2) : germanDays().at(date.dayOfWeek() - 1);
        return count == 2 ? QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')) : QString::number(date.day());
    }
    if (letter == QLatin1Char('m')) {
        if (count >= 3)
            return count == 3 ? germanMonths().at(date.month() - 1).left(3) : germanMonths().at(date.month() - 1);
        return count == 2 ? QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'))
                          : QString::number(date.month());
    }
    return count <= 2 ? QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'))
                      : QString::number(date.year());
}

}

QString checkFunction(const QString &name, int argc)
{
    const auto it = functions().constFind(name.toLower());
    if (it == functions().constEnd())
        return QStringLiteral("Unbekannte Funktion %1").arg(name);
    if (argc < it->minArgs || argc > it->maxArgs)
        return QStringLiteral("Falsche Anzahl Argumente für %1").arg(name);
    return {};
}

Value callFunction(const QString &name, const QList<Value> &args)
{
    return functions().value(name.toLower()).call(args);
}

QString formatDate(const Value &value, const QString &format)
{
    const QDate date = toDate(value);
    if (!date.isValid())
        return value.toText();
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        if (c != QLatin1Char('d') && c != QLatin1Char('m') && c != QLatin1Char('y')) {
            out += format.at(i++);
            continue;
        }
        int count = 0;
        while (i < format.size() && format.at(i).toLower() == c) {
            ++count;
            ++i;
        }
        out += datePart(date, c, count);
    }
    return out;
}

}
