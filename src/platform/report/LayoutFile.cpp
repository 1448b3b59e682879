#include "platform/report/LayoutFile.h"

#include "platform/os/Paths.h"
#include "platform/report/LayoutFileReader.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/FileErrors.h"
#include "platform/runtime/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <functional>

namespace report {
namespace {

const QString kHeader = QStringLiteral("TintlenLayout %1");
const QString kEnd = QStringLiteral("[End]");

// The shortest text that reads back as the same number, so that a saved
// layout holds what was loaded, up to the largest number there is.
QString num(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString rectText(const QRectF &r)
{
    return QStringLiteral("%1;%2;%3;%4").arg(num(r.x()), num(r.y()), num(r.width()), num(r.height()));
}

QString fontText(const FontSpec &f)
{
    QString flags;
    if (f.bold)
        flags += QLatin1Char('B');
    if (f.italic)
        flags += QLatin1Char('I');
    return QStringLiteral("%1;%2;%3").arg(f.family, num(f.size), flags);
}

QString alignText(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return QStringLiteral("Right");
    if (a & Qt::AlignHCenter)
        return QStringLiteral("Center");
    return QStringLiteral("Left");
}

QString appearanceText(Appearance a)
{
    switch (a) {
    case Appearance::FirstPage:
        return QStringLiteral("FirstPage");
    case Appearance::FollowingPages:
        return QStringLiteral("FollowingPages");
    case Appearance::AfterTable:
        return QStringLiteral("AfterTable");
    case Appearance::AllPages:
        break;
    }
    return QStringLiteral("AllPages");
}

QString kindText(ObjectKind k)
{
    switch (k) {
    case ObjectKind::Line:
        return QStringLiteral("Line");
    case ObjectKind::Rectangle:
        return QStringLiteral("Rectangle");
    case ObjectKind::Picture:
        return QStringLiteral("Picture");
    case ObjectKind::Barcode:
        return QStringLiteral("Barcode");
    case ObjectKind::Text:
        break;
    }
    return QStringLiteral("Text");
}

QString partText(RowPart p)
{
    switch (p) {
    case RowPart::Header:
        return QStringLiteral("Header");
    case RowPart::PageFooter:
        return QStringLiteral("PageFooter");
    case RowPart::EndFooter:
        return QStringLiteral("EndFooter");
    case RowPart::Data:
        break;
    }
    return QStringLiteral("Data");
}

void writeKey(QStringList &out, const QString &key, const QString &value)
{
    out << key + QLatin1Char('=') + value;
}

void writeObject(QStringList &out, const LayoutObject &o)
{
    out << QLatin1Char('[') + kindText(o.kind) + QLatin1Char(']');
    writeKey(out, QStringLiteral("Name"), o.name);
    writeKey(out, QStringLiteral("Rect"), rectText(o.rect));
    writeKey(out, QStringLiteral("Show"), appearanceText(o.appearance));
    switch (o.kind) {
    case ObjectKind::Text:
        writeKey(out, QStringLiteral("Font"), fontText(o.font));
        writeKey(out, QStringLiteral("Align"), alignText(o.align));
        writeKey(out, QStringLiteral("Wrap"), o.wrap ? QStringLiteral("1") : QStringLiteral("0"));
        for (const Expression &line : o.lines)
            writeKey(out, QStringLiteral("Line"), line.source());
        break;
    case ObjectKind::Line:
    case ObjectKind::Rectangle:
        writeKey(out, QStringLiteral("Pen"), num(o.pen));
        if (o.fill.isValid())
            writeKey(out, QStringLiteral("Fill"), o.fill.name());
        break;
    case ObjectKind::Picture:
        writeKey(out, QStringLiteral("File"), o.file);
        writeKey(out, QStringLiteral("Variable"), o.variable);
        break;
    case ObjectKind::Barcode:
        writeKey(out, QStringLiteral("Symbology"), symbologyName(o.symbology));
        writeKey(out, QStringLiteral("ShowText"), o.showText ? QStringLiteral("1") : QStringLiteral("0"));
        writeKey(out, QStringLiteral("Expression"), o.expression.source());
        break;
    }
}

void writeRow(QStringList &out, const TableRow &row)
{
    out << QStringLiteral("[Row]");
    writeKey(out, QStringLiteral("Part"), partText(row.part));
    writeKey(out, QStringLiteral("Height"), num(row.height));
    writeKey(out, QStringLiteral("Condition"), row.condition.source());
    if (row.fill.isValid())
        writeKey(out, QStringLiteral("Fill"), row.fill.name());
    writeKey(out, QStringLiteral("LineAbove"), num(row.lineAbove));
    writeKey(out, QStringLiteral("LineBelow"), num(row.lineBelow));
    for (const TableColumn &c : row.columns) {
        writeKey(out, QStringLiteral("Column"),
                 QStringLiteral("%1;%2;%3;%4;%5")
                     .arg(num(c.width), alignText(c.align), fontText(c.font), c.wrap ? QStringLiteral("W") : QString(),
                          c.expression.source()));
    }
}

}

QString layoutToText(const Layout &layout)
{
    QStringList out;
    out << kHeader.arg(kLayoutFormatVersion);
    writeKey(out, QStringLiteral("Type"),
             layout.type == Layout::Type::List ? QStringLiteral("List") : QStringLiteral("Label"));
    out << QStringLiteral("[Page]");
    writeKey(out, QStringLiteral("Size"),
             QStringLiteral("%1;%2").arg(num(layout.pageSize.width()), num(layout.pageSize.height())));
    writeKey(
        out, QStringLiteral("Margins"),
        QStringLiteral("%1;%2;%3;%4")
            .arg(num(layout.marginLeft), num(layout.marginTop), num(layout.marginRight), num(layout.marginBottom)));
    if (layout.type == Layout::Type::Label) {
        const SheetDef &s = layout.sheet;
        out << QStringLiteral("[Sheet]");
        writeKey(out, QStringLiteral("Label"), QStringLiteral("%1;%2").arg(num(s.labelWidth), num(s.labelHeight)));
        writeKey(out, QStringLiteral("Grid"), QStringLiteral("%1;%2").arg(s.columns).arg(s.rows));
        writeKey(out, QStringLiteral("Origin"), QStringLiteral("%1;%2").arg(num(s.marginLeft), num(s.marginTop)));
        writeKey(out, QStringLiteral("Gap"), QStringLiteral("%1;%2").arg(num(s.gapX), num(s.gapY)));
    }
    for (const LayoutObject &o : layout.objects)
        writeObject(out, o);
    if (layout.table) {
        out << QStringLiteral("[Table]");
        writeKey(out, QStringLiteral("Rect"), rectText(layout.table->rect));
        writeKey(out, QStringLiteral("FollowingTop"), num(layout.table->followingTop));
        for (const TableRow &row : layout.table->rows)
            writeRow(out, row);
    }
    out << kEnd;
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int layoutFromText(const QString &text, Layout &layout, QString *message)
{
    QString error;
    if (!readLayoutText(text, layout, error)) {
        if (message)
            *message = error;
        return -22;
    }
    return 0;
}

int loadLayout(const QString &path, Layout &layout, QString *message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (message)
            *message = QStringLiteral("Formular %1 nicht gefunden").arg(path);
        return -22;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        if (message)
            *message = QStringLiteral("Formular %1 ist leer").arg(path);
        return -22;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        if (message)
            *message = QStringLiteral("Formular %1 ist keine Layoutdatei").arg(path);
        return -22;
    }
    return layoutFromText(text, layout, message);
}

namespace {

// Writes `bytes` in the place of `path`. `refusal`, when given, looks at the
// written file before it replaces the old one and says why it must not.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *message,
                     const std::function<QString(const QString &)> &refusal = {})
{
    runtime::ReplacingFile file(path);
    const bool written = file.open() && file.file().write(bytes) == bytes.size() && file.file().flush();
    const QString refused = written && refusal ? refusal(file.temporaryPath()) : QString();
    if (written && refused.isEmpty() && file.commit())
        return true;
    if (message)
        *message = refused.isEmpty() ? fileWriteFailure(path) : refused;
    return false;
}

// Why the file written at `path` does not read back as `text`; empty when
// it does.
QString readBackProblem(const QString &path, const QString &text)
{
    Layout reread;
    QString reason;
    if (loadLayout(path, reread, &reason) != 0)
        return reason;
    if (layoutToText(reread) != text)
        return QStringLiteral("Die geschriebene Datei weicht vom Layout ab");
    return {};
}
}

// What is written must open again as it is, or the old file stays: a layout
// that saves but no longer loads would leave the user with neither.
bool saveLayout(const QString &path, const Layout &layout, QString *message)
{
    const QString text = layoutToText(layout);
    return writeAtomically(path, text.toUtf8(), message, [&](const QString &written) {
        const QString problem = readBackProblem(written, text);
        return problem.isEmpty() ? QString()
                                 : QStringLiteral("Das Layout %1 wurde nicht gespeichert, weil es sich so nicht "
                                                  "wieder öffnen ließe (%2). Die bisherige Datei bleibt unverändert.")
                                       .arg(path, problem);
    });
}

QString resolveLayoutPath(const QString &path, int kind)
{
    QString resolved = os::resolvePath(path);
    if (os::fileExists(resolved))
        return resolved;
    for (const QString &ext : {QStringLiteral(".lst"), QStringLiteral(".lbl")}) {
        if (resolved.endsWith(ext + ext, Qt::CaseInsensitive))
            return os::resolvePath(resolved.chopped(ext.size()));
    }
    const QString suffix = QFileInfo(resolved).suffix().toLower();
    if (suffix != QLatin1String("lst") && suffix != QLatin1String("lbl"))
        resolved = os::resolvePath(resolved + ((kind & 0xff) == 1 ? QStringLiteral(".lbl") : QStringLiteral(".lst")));
    return resolved;
}

QString existingLayoutPath(const QString &path)
{
    for (int kind : {LL_PROJECT_LIST, LL_PROJECT_LABEL}) {
        const QString resolved = resolveLayoutPath(path, kind);
        if (QFileInfo(resolved).isFile())
            return resolved;
    }
    return path;
}

bool isEmptyLayoutFile(const QString &path)
{
    const QFileInfo file(existingLayoutPath(path));
    return file.isFile() && file.size() == 0;
}

QString damagedLayoutReason(const QString &path)
{
    const QString existing = existingLayoutPath(path);
    Layout layout;
    QString reason;
    if (!QFileInfo(existing).isFile() || loadLayout(existing, layout, &reason) == 0)
        return {};
    return reason;
}

// A file cut short may end inside a character; what comes before it is
// still read.
bool salvageLayout(const QString &path, Layout &layout)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QString error;
    return !bytes.isEmpty() && salvageLayoutText(QString::fromUtf8(bytes), layout, error);
}

QString companionPath(const QString &layoutPath)
{
    const QFileInfo info(layoutPath);
    const QString suffix = info.suffix();
    const QString stem = suffix.startsWith(QLatin1Char('l'), Qt::CaseInsensitive) && suffix.size() >= 2
                             ? suffix.left(2)
                             : QStringLiteral("l");
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') + stem + QLatin1Char('p');
}

QString layoutPrinter(const QString &layoutPath)
{
    QFile file(companionPath(layoutPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    return line.startsWith(QLatin1String("Printer=")) ? line.mid(8) : QString();
}

bool setLayoutPrinter(const QString &layoutPath, const QString &printer)
{
    return writeAtomically(companionPath(layoutPath),
                           (QStringLiteral("Printer=") + printer + QLatin1Char('\n')).toUtf8(), nullptr);
}

void forgetLayoutPrinter(const QString &layoutPath)
{
    QFile::remove(companionPath(layoutPath));
}

}
