#include "mail/TemplateLine.h"

#include "mail/TemplateExpression.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/runtime/Conversions.h"

#include <vector>

namespace mail {

namespace {

const QChar hashSign = QLatin1Char('#');
const QChar openBracket = QLatin1Char('[');
const QChar closeBracket = QLatin1Char(']');
const QChar carriageReturn = QLatin1Char('\r');
const QString nameLetters = QStringLiteral("_äöüÄÖÜß");

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool canBeginName(QChar c)
{
    const bool asciiLetter =
        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    return asciiLetter || isAsciiDigit(c) || nameLetters.contains(c);
}

bool belongsToName(QChar c)
{
    return canBeginName(c) || c == QLatin1Char(':');
}

QString paddedTo(const QString &text, int width)
{
    return text.size() >= width ? text : text + QString(width - text.size(), QLatin1Char(' '));
}

// Line breaks of a value: CR LF is one break; every break is a lone CR; one
// break at the very end is dropped.
QString normalizedBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QString(carriageReturn));
    text.replace(QLatin1Char('\n'), carriageReturn);
    if (text.endsWith(carriageReturn))
        text.chop(1);
    return text;
}

struct PlaceholderFormat
{
    bool wrap = false;
    bool hasWidth = false;
    int width = 0;
    QString decimals;
};

[[noreturn]] void refuseFormat(const QString &format, const QString &name)
{
    throw EFormularerror(QStringLiteral("Format ") + format + QStringLiteral(" des Feldes ") + name
                         + QStringLiteral(" ist ungültig!"));
}

// A width or decimals count that no e-mail line could use is a format error:
// padding to it would only produce an endless run of blanks.
int boundedNumber(const QString &digits, const QString &format, const QString &name)
{
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok || value > TTemplateContext::MaxWidth)
        refuseFormat(format, name);
    return int(value);
}

PlaceholderFormat parseFormat(const QString &format, const QString &name, const QString &defaultDecimals)
{
    PlaceholderFormat result;
    QString rest = format;
    if (rest.startsWith(QLatin1Char('m'), Qt::CaseInsensitive)) {
        result.wrap = true;
        rest.remove(0, 1);
    }
    for (QChar c : rest) {
        if (!isAsciiDigit(c) && c != QLatin1Char(':'))
            refuseFormat(format, name);
    }
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    const QString widthText = colon < 0 ? rest : rest.left(colon);
    result.decimals = colon < 0 ? defaultDecimals : rest.mid(colon + 1);
    result.hasWidth = !widthText.isEmpty();
    if (result.hasWidth)
        result.width = boundedNumber(widthText, format, name);
    // A second colon leaves no number of decimals the number format could use.
    if (result.decimals.contains(QLatin1Char(':')))
        refuseFormat(format, name);
    if (!result.decimals.isEmpty())
        boundedNumber(result.decimals, format, name);
    return result;
}

QString numberPicture(const PlaceholderFormat &format, QChar type)
{
    QString picture = QStringLiteral("%");
    if (format.hasWidth)
        picture += QString::number(format.width);
    if (!format.decimals.isEmpty())
        picture += QLatin1Char('.') + format.decimals;
    return picture + type;
}

QString valueText(const Variant &value, const PlaceholderFormat &format)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return QString();
    case Variant::Type::Float:
        return Format(numberPicture(format, QLatin1Char('n')), {value.asNumber()});
    case Variant::Type::Currency:
        return Format(numberPicture(format, QLatin1Char('m')), {value.asNumber()});
    default:
        return format.hasWidth ? value.toText() : TrimControl(value.toText());
    }
}

// A value waiting to be placed, or a bracket marker.
struct Slot
{
    QString text;
    bool wrap = false;
    int column = 0;
    int width = 0;
    bool used = true;
};

class LineRenderer
{
public:
    LineRenderer(const QString &line, const TFormatlist &vocabulary, const QString &defaultDecimals)
        : m_work(line), m_vocabulary(vocabulary), m_defaultDecimals(defaultDecimals)
    {}

    QStringList render()
    {
        if (!scan())
            return {};
        const QString literal = m_work;
        bool continuation = false;
        QStringList lines{placeSlots(literal, continuation)};
        while (continuation) {
            continuation = false;
            lines << TrimControlRight(placeSlots(QString(literal.size(), QLatin1Char(' ')), continuation));
        }
        return lines;
    }

private:
    QChar charAt(qsizetype position) const { return position < m_work.size() ? m_work[position] : QChar(); }

    bool groupOpen() const { return m_fieldGroupStart >= 0 || m_lineGroupOpen; }

    void takeLiteral(int length)
    {
        m_position += length;
        m_column += length;
    }

    // False when a line group drops the whole line.
    bool scan()
    {
        while (m_position < m_work.size()) {
            const QChar c = m_work[m_position];
            const QChar next = charAt(m_position + 1);
            if (c == hashSign)
                scanHash(next);
            else if (c == openBracket && next == openBracket)
                openLineGroup();
            else if (c == openBracket)
                openFieldGroup();
            else if (c == closeBracket && next == closeBracket && m_lineGroupOpen) {
                if (!closeLineGroup())
                    return false;
            } else if (c == closeBracket && next == closeBracket)
                takeLiteral(2);
            else if (c == closeBracket)
                closeFieldGroup();
            else
                takeLiteral(1);
        }
        return true;
    }

    void scanHash(QChar next)
    {
        if (next == hashSign) {
            m_work.remove(m_position, 1);
            takeLiteral(1);
        } else if (!canBeginName(next)) {
            takeLiteral(1);
        } else {
            placeholder();
        }
    }

    QString cutPlaceholder()
    {
        qsizetype end = m_position + 1;
        while (end < m_work.size() && belongsToName(m_work[end]))
            ++end;
        const QString token = m_work.mid(m_position + 1, end - m_position - 1);
        const qsizetype length = end - m_position + (charAt(end) == QLatin1Char('|') ? 1 : 0);
        m_work.remove(m_position, length);
        return token;
    }

    const TFormatlistItem &ResolvedItem(const QString &name) const
    {
        const TFormatlistItem *item = m_vocabulary.FindQualifiedThenName(name);
        if (!item)
            throw EFormularerror(QStringLiteral("Feld ") + name + QStringLiteral(" wurde nicht gefunden!"));
        const bool evaluable =
            item->Kind == fikCommand || item->Kind == fikVariable || (item->Kind == fikField && item->Table);
        if (!evaluable)
            throw EFormularerror(QStringLiteral("Feld nicht auswertbar!"));
        return *item;
    }

    void placeholder()
    {
        const QString token = cutPlaceholder();
        if (groupOpen())
            ++m_groupCount;
        const qsizetype colon = token.indexOf(QLatin1Char(':'));
        const QString name = colon < 0 ? token : token.left(colon);
        const QString formatText = colon < 0 ? QString() : token.mid(colon + 1);
        const PlaceholderFormat format = parseFormat(formatText, name, m_defaultDecimals);
        const QString text = normalizedBreaks(valueText(ResolvedItem(name).CurrentValue(), format));
        if (keptByGroup(text))
            placeValue(text, format);
    }

    // False when the value empties the field group it opens: the group is gone.
    bool keptByGroup(const QString &text)
    {
        const bool firstOfFieldGroup = m_fieldGroupStart >= 0 && m_groupCount == 1;
        if (firstOfFieldGroup && text.isEmpty()) {
            dropFieldGroup();
            return false;
        }
        if (!text.isEmpty())
            ++m_groupFilled;
        if (firstOfFieldGroup) {
            releaseMarker();
            --m_column;
        }
        return true;
    }

    // A value's own line breaks stay in the line: the e-mail shows them as
    // line breaks.
    void placeValue(const QString &text, PlaceholderFormat format)
    {
        // A wrap width of 0 cannot wrap anything: the slot keeps its width
        // of 0, as the same width without wrapping does.
        if (format.wrap && format.hasWidth && format.width == 0)
            format.wrap = false;
        const int width = format.hasWidth ? format.width : int(text.size());
        takeSlot(text, format.wrap, width);
        m_column += width;
    }

    int takeSlot(const QString &text, bool wrap, int width)
    {
        if (m_slots.size() >= size_t(TTemplateContext::MaxSlots)) {
            throw EFormularerror(QStringLiteral("Eine Zeile darf höchstens %1 Felder und Klammern enthalten!")
                                     .arg(TTemplateContext::MaxSlots));
        }
        m_slots.push_back({text, wrap, m_column, width, true});
        return int(m_slots.size()) - 1;
    }

    void releaseMarker() { m_slots[m_marker].used = false; }

    void startGroup(int marker)
    {
        m_marker = marker;
        m_groupCount = 0;
        m_groupFilled = 0;
    }

    void endGroup()
    {
        m_fieldGroupStart = -1;
        m_lineGroupOpen = false;
        startGroup(-1);
    }

    void refuseNesting() const
    {
        if (groupOpen())
            throw EFormularerror(QStringLiteral("Geschachtelte Klammern werden nicht unterstützt!"));
    }

    void openLineGroup()
    {
        refuseNesting();
        m_work.remove(m_position, 2);
        startGroup(takeSlot(QStringLiteral("[["), false, 2));
        m_lineGroupOpen = true;
        m_column += 2;
    }

    void openFieldGroup()
    {
        refuseNesting();
        m_work.remove(m_position, 1);
        m_fieldGroupStart = m_position;
        startGroup(takeSlot(QStringLiteral("["), false, 1));
        m_column += 1;
    }

    bool closeLineGroup()
    {
        if (m_groupCount > 0 && m_groupFilled == 0)
            return false;
        if (m_groupFilled > 0) {
            m_work.remove(m_position, 2);
            releaseMarker();
            for (size_t i = size_t(m_marker) + 1; i < m_slots.size(); ++i)
                m_slots[i].column -= 2;
            m_column -= 2;
        } else {
            takeLiteral(2);
        }
        endGroup();
        return true;
    }

    void closeFieldGroup()
    {
        if (m_fieldGroupStart >= 0 && m_groupCount > 0)
            m_work.remove(m_position, 1);
        else
            takeLiteral(1);
        if (m_fieldGroupStart >= 0)
            endGroup();
    }

    // The first value of a field group is empty: the group and its text go.
    void dropFieldGroup()
    {
        releaseMarker();
        m_column = m_slots[m_marker].column;
        const qsizetype close = m_work.indexOf(closeBracket, m_position);
        const qsizetype end = close < 0 ? m_work.size() : close + 1;
        m_work.remove(m_fieldGroupStart, end - m_fieldGroupStart);
        m_position = m_fieldGroupStart;
        endGroup();
    }

    static QString NextPiece(Slot &slot, bool &continuation)
    {
        if (slot.text.size() <= slot.width && !slot.text.contains(carriageReturn)) {
            const QString piece = paddedTo(slot.text, slot.width);
            slot.text.clear();
            return piece;
        }
        if (slot.wrap) {
            QString piece;
            WrapText(slot.text, slot.width, piece);
            if (!slot.text.isEmpty())
                continuation = true;
            return paddedTo(piece, slot.width);
        }
        QString text = slot.text;
        slot.text.clear();
        while (text.size() > slot.width && text.startsWith(QLatin1Char(' ')))
            text.remove(0, 1);
        return paddedTo(text.left(slot.width), slot.width);
    }

    // Each slot's column already counts the widths of the slots before it, so
    // inserting in slot order puts every value at its final column.
    QString placeSlots(QString line, bool &continuation)
    {
        for (Slot &slot : m_slots) {
            if (!slot.used)
                continue;
            const QString piece = NextPiece(slot, continuation);
            const qsizetype at = slot.column - 1;
            if (at > line.size())
                line += QString(at - line.size(), QLatin1Char(' '));
            line.insert(at, piece);
        }
        return line;
    }

    QString m_work;
    const TFormatlist &m_vocabulary;
    const QString &m_defaultDecimals;
    qsizetype m_position = 0;
    int m_column = 1;
    std::vector<Slot> m_slots;
    qsizetype m_fieldGroupStart = -1;
    bool m_lineGroupOpen = false;
    int m_marker = -1;
    int m_groupCount = 0;
    int m_groupFilled = 0;
};

} // namespace

QStringList renderTemplateLine(const QString &line, const TFormatlist &vocabulary, const QString &defaultDecimals)
{
    return LineRenderer(line, vocabulary, defaultDecimals).render();
}

} // namespace mail
