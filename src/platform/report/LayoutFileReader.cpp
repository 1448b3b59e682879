#include "platform/report/LayoutFileReader.h"

#include "platform/report/LayoutFile.h"

#include <cmath>

namespace report {
namespace {

// No printer or plotter takes a longer sheet; the limit keeps every page
// measure a number that drawing can handle.
// Labels per row or column; their product must stay a count.
constexpr double kMaxGridCount = 1000;

struct FormatError
{
    QString message;
};

[[noreturn]] void fail(int lineNo, const QString &what)
{
    throw FormatError{QStringLiteral("Zeile %1: %2").arg(lineNo).arg(what)};
}

class Reader
{
public:
    Reader(Layout &layout, bool salvage) : m_layout(layout), m_salvage(salvage) {}

    void read(const QStringList &lines)
    {
        for (m_lineNo = 2; m_lineNo <= lines.size(); ++m_lineNo) {
            try {
                readLine(lines.at(m_lineNo - 1));
            } catch (const FormatError &) {
                if (!m_salvage)
                    throw;
            }
        }
    }

private:
    // Keys that follow a section that could not be read belong to nothing.
    static inline const QString kUnreadSection = QStringLiteral("?");

    Layout &m_layout;
    bool m_salvage;
    int m_lineNo = 0;
    QString m_section;

    void readLine(const QString &line)
    {
        if (line.isEmpty())
            return;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            m_section = kUnreadSection;
            beginSection(line.mid(1, line.size() - 2));
        } else if (m_section != kUnreadSection) {
            applyKey(line);
        }
    }

    double number(const QString &text)
    {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(m_lineNo, QStringLiteral("Zahl erwartet: %1").arg(text));
        return v;
    }

    QList<double> numbers(const QString &text, int count)
    {
        const QStringList parts = text.split(QLatin1Char(';'));
        if (parts.size() != count)
            fail(m_lineNo, QStringLiteral("%1 Zahlen erwartet: %2").arg(count).arg(text));
        QList<double> values;
        for (const QString &p : parts)
            values.append(number(p));
        return values;
    }

    // A page or label size, empty when it cannot be drawn.
    QSizeF areaSize(const QString &text)
    {
        const QList<double> v = numbers(text, 2);
        return isDrawableSize(v[0]) && isDrawableSize(v[1]) ? QSizeF(v[0], v[1]) : QSizeF();
    }

    QRectF rect(const QString &text)
    {
        const QList<double> v = numbers(text, 4);
        return {v[0], v[1], v[2], v[3]};
    }

    bool flag(const QString &text)
    {
        if (text != QLatin1String("0") && text != QLatin1String("1"))
            fail(m_lineNo, QStringLiteral("0 oder 1 erwartet: %1").arg(text));
        return text == QLatin1String("1");
    }

    QColor colour(const QString &text)
    {
        const QColor c = QColor::fromString(text);
        if (!c.isValid())
            fail(m_lineNo, QStringLiteral("Farbe erwartet: %1").arg(text));
        return c;
    }

    Qt::Alignment align(const QString &text)
    {
        if (text == QLatin1String("Left"))
            return Qt::AlignLeft;
        if (text == QLatin1String("Center"))
            return Qt::AlignHCenter;
        if (text == QLatin1String("Right"))
            return Qt::AlignRight;
        fail(m_lineNo, QStringLiteral("Ausrichtung erwartet: %1").arg(text));
    }

    FontSpec font(const QStringList &parts)
    {
        FontSpec f;
        f.family = parts.at(0);
        f.size = number(parts.at(1));
        for (const QChar c : parts.at(2)) {
            if (c == QLatin1Char('B'))
                f.bold = true;
            else if (c == QLatin1Char('I'))
                f.italic = true;
            else
                fail(m_lineNo, QStringLiteral("Schriftstil unbekannt: %1").arg(parts.at(2)));
        }
        return f;
    }

    Appearance appearance(const QString &text)
    {
        if (text == QLatin1String("AllPages"))
            return Appearance::AllPages;
        if (text == QLatin1String("FirstPage"))
            return Appearance::FirstPage;
        if (text == QLatin1String("FollowingPages"))
            return Appearance::FollowingPages;
        if (text == QLatin1String("AfterTable"))
            return Appearance::AfterTable;
        fail(m_lineNo, QStringLiteral("Seitenangabe unbekannt: %1").arg(text));
    }

    void beginSection(const QString &name)
    {
        static const QHash<QString, ObjectKind> kinds = {{QStringLiteral("Text"), ObjectKind::Text},
                                                         {QStringLiteral("Line"), ObjectKind::Line},
                                                         {QStringLiteral("Rectangle"), ObjectKind::Rectangle},
                                                         {QStringLiteral("Picture"), ObjectKind::Picture},
                                                         {QStringLiteral("Barcode"), ObjectKind::Barcode}};
        if (kinds.contains(name)) {
            LayoutObject o;
            o.kind = kinds.value(name);
            m_layout.objects.append(o);
        } else if (name == QLatin1String("Table")) {
            if (m_layout.table)
                fail(m_lineNo, QStringLiteral("Mehr als eine Tabelle"));
            m_layout.table = TableDef{};
        } else if (name == QLatin1String("Row")) {
            if (!m_layout.table)
                fail(m_lineNo, QStringLiteral("Tabellenzeile außerhalb einer Tabelle"));
            m_layout.table->rows.append(TableRow{});
        } else if (name != QLatin1String("Page") && name != QLatin1String("Sheet")) {
            fail(m_lineNo, QStringLiteral("Unbekannter Abschnitt [%1]").arg(name));
        }
        m_section = name;
    }

    void applyKey(const QString &line)
    {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            fail(m_lineNo, QStringLiteral("Eintrag ohne '=': %1").arg(line));
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (m_section.isEmpty())
            applyTop(key, value);
        else if (m_section == QLatin1String("Page"))
            applyPage(key, value);
        else if (m_section == QLatin1String("Sheet"))
            applySheet(key, value);
        else if (m_section == QLatin1String("Table"))
            applyTable(key, value);
        else if (m_section == QLatin1String("Row"))
            applyRow(key, value);
        else
            applyObject(m_layout.objects.last(), key, value);
    }

    [[noreturn]] void unknownKey(const QString &key)
    {
        fail(m_lineNo, QStringLiteral("Unbekannter Eintrag %1 in [%2]")
                           .arg(key, m_section.isEmpty() ? QStringLiteral("Kopf") : m_section));
    }

    void applyTop(const QString &key, const QString &value)
    {
        if (key != QLatin1String("Type"))
            unknownKey(key);
        if (value == QLatin1String("List"))
            m_layout.type = Layout::Type::List;
        else if (value == QLatin1String("Label"))
            m_layout.type = Layout::Type::Label;
        else
            fail(m_lineNo, QStringLiteral("Layoutart unbekannt: %1").arg(value));
    }

    void applyPage(const QString &key, const QString &value)
    {
        if (key == QLatin1String("Size")) {
            const QSizeF size = areaSize(value);
            if (size.isEmpty())
                fail(m_lineNo, QStringLiteral("Seitengröße ungültig"));
            m_layout.pageSize = size;
        } else if (key == QLatin1String("Margins")) {
            const QList<double> v = numbers(value, 4);
            m_layout.marginLeft = v[0];
            m_layout.marginTop = v[1];
            m_layout.marginRight = v[2];
            m_layout.marginBottom = v[3];
        } else {
            unknownKey(key);
        }
    }

    void applySheet(const QString &key, const QString &value)
    {
        SheetDef &s = m_layout.sheet;
        const QList<double> v = numbers(value, 2);
        if (key == QLatin1String("Label")) {
            const QSizeF size = areaSize(value);
            if (size.isEmpty())
                fail(m_lineNo, QStringLiteral("Etikettengröße ungültig"));
            s.labelWidth = size.width();
            s.labelHeight = size.height();
        } else if (key == QLatin1String("Grid")) {
            if (v[0] < 1 || v[1] < 1 || v[0] > kMaxGridCount || v[1] > kMaxGridCount)
                fail(m_lineNo, QStringLiteral("Etikettenraster ungültig"));
            s.columns = int(v[0]);
            s.rows = int(v[1]);
        } else if (key == QLatin1String("Origin")) {
            s.marginLeft = v[0];
            s.marginTop = v[1];
        } else if (key == QLatin1String("Gap")) {
            s.gapX = v[0];
            s.gapY = v[1];
        } else {
            unknownKey(key);
        }
    }

    void applyTable(const QString &key, const QString &value)
    {
        if (key == QLatin1String("Rect"))
            m_layout.table->rect = rect(value);
        else if (key == QLatin1String("FollowingTop"))
            m_layout.table->followingTop = number(value);
        else
            unknownKey(key);
    }

    RowPart part(const QString &text)
    {
        if (text == QLatin1String("Header"))
            return RowPart::Header;
        if (text == QLatin1String("Data"))
            return RowPart::Data;
        if (text == QLatin1String("PageFooter"))
            return RowPart::PageFooter;
        if (text == QLatin1String("EndFooter"))
            return RowPart::EndFooter;
        fail(m_lineNo, QStringLiteral("Tabellenzeilenart unbekannt: %1").arg(text));
    }

    TableColumn column(const QString &value)
    {
        const QStringList parts = value.split(QLatin1Char(';'));
        if (parts.size() < 7)
            fail(m_lineNo, QStringLiteral("Spalte unvollständig: %1").arg(value));
        TableColumn c;
        c.width = number(parts.at(0));
        c.align = align(parts.at(1));
        c.font = font(parts.mid(2, 3));
        if (!parts.at(5).isEmpty() && parts.at(5) != QLatin1String("W"))
            fail(m_lineNo, QStringLiteral("Umbruchangabe unbekannt: %1").arg(parts.at(5)));
        c.wrap = parts.at(5) == QLatin1String("W");
        c.expression = Expression(parts.mid(6).join(QLatin1Char(';')));
        return c;
    }

    void applyRow(const QString &key, const QString &value)
    {
        TableRow &row = m_layout.table->rows.last();
        if (key == QLatin1String("Part"))
            row.part = part(value);
        else if (key == QLatin1String("Height"))
            row.height = number(value);
        else if (key == QLatin1String("Condition"))
            row.condition = Expression(value);
        else if (key == QLatin1String("Fill"))
            row.fill = colour(value);
        else if (key == QLatin1String("LineAbove"))
            row.lineAbove = number(value);
        else if (key == QLatin1String("LineBelow"))
            row.lineBelow = number(value);
        else if (key == QLatin1String("Column"))
            row.columns.append(column(value));
        else
            unknownKey(key);
    }

    void applyObject(LayoutObject &o, const QString &key, const QString &value)
    {
        if (key == QLatin1String("Name"))
            o.name = value;
        else if (key == QLatin1String("Rect"))
            o.rect = rect(value);
        else if (key == QLatin1String("Show"))
            o.appearance = appearance(value);
        else if (key == QLatin1String("Font")) {
            const QStringList parts = value.split(QLatin1Char(';'));
            if (parts.size() != 3)
                fail(m_lineNo, QStringLiteral("Schriftangabe ungültig: %1").arg(value));
            o.font = font(parts);
        } else if (key == QLatin1String("Align"))
            o.align = align(value);
        else if (key == QLatin1String("Wrap"))
            o.wrap = flag(value);
        else if (key == QLatin1String("Line") && o.kind == ObjectKind::Text)
            o.lines.append(Expression(value));
        else if (key == QLatin1String("Pen"))
            o.pen = number(value);
        else if (key == QLatin1String("Fill"))
            o.fill = colour(value);
        else if (key == QLatin1String("File"))
            o.file = value;
        else if (key == QLatin1String("Variable"))
            o.variable = value;
        else if (key == QLatin1String("Symbology")) {
            bool ok = false;
            o.symbology = symbologyFromName(value, &ok);
            if (!ok)
                fail(m_lineNo, QStringLiteral("Barcodeart unbekannt: %1").arg(value));
        } else if (key == QLatin1String("ShowText"))
            o.showText = flag(value);
        else if (key == QLatin1String("Expression"))
            o.expression = Expression(value);
        else
            unknownKey(key);
    }
};

QString headerError(const QStringList &lines)
{
    const QString first = lines.value(0);
    static const QString prefix = QStringLiteral("TintlenLayout ");
    if (!first.startsWith(prefix))
        return QStringLiteral("Die Datei ist keine Layoutdatei dieses Programms");
    bool ok = false;
    const int version = first.mid(prefix.size()).toInt(&ok);
    if (!ok || version < 1)
        return QStringLiteral("Die Datei ist keine Layoutdatei dieses Programms");
    if (version > kLayoutFormatVersion)
        return QStringLiteral("Die Layoutdatei stammt von einer neueren Programmversion (Format %1)").arg(version);
    return {};
}

}

namespace {

bool readText(const QString &text, Layout &layout, QString &error, bool salvage)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    error = headerError(lines);
    if (!error.isEmpty())
        return false;
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const bool complete = lines.size() >= 2 && lines.last() == QLatin1String("[End]");
    if (!complete && !salvage) {
        error = QStringLiteral("Die Layoutdatei ist unvollständig");
        return false;
    }
    if (complete)
        lines.removeLast();
    Layout parsed;
    try {
        Reader(parsed, salvage).read(lines);
    } catch (const FormatError &e) {
        error = e.message;
        return false;
    }
    layout = parsed;
    return true;
}

}

bool readLayoutText(const QString &text, Layout &layout, QString &error)
{
    return readText(text, layout, error, false);
}

bool salvageLayoutText(const QString &text, Layout &layout, QString &error)
{
    return readText(text, layout, error, true);
}

}
