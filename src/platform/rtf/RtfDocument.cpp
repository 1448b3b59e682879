#include "platform/rtf/RtfDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

namespace rtf {

namespace {

constexpr int sizeProperty = OpaqueGroupProperty + 16;
constexpr QSizeF fallbackSize(48, 48);

double firstLineStart(const QTextBlockFormat &format)
{
    return format.leftMargin() + format.textIndent();
}

class OpaqueObjectPainter : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const QSizeF size = format.property(sizeProperty).toSizeF();
        return size.isEmpty() ? fallbackSize : size;
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int, const QTextFormat &) override
    {
        painter->save();
        painter->setPen(QPen(Qt::gray, 0, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
        painter->restore();
    }
};

} // namespace

double fromTwips(double twips)
{
    return twips / twipsPerDocumentUnit;
}

int toTwips(double length)
{
    return qRound(length * twipsPerDocumentUnit);
}

double firstLineIndent(const QTextBlockFormat &format)
{
    return format.boolProperty(BulletProperty) ? format.doubleProperty(FirstLineIndentProperty) : format.textIndent();
}

void setFirstLineIndent(QTextBlockFormat &format, double length)
{
    const QList<QTextOption::Tab> tabs = tabStops(format);
    if (format.boolProperty(BulletProperty)) {
        format.setProperty(FirstLineIndentProperty, length);
        format.setTextIndent(0);
    } else {
        format.clearProperty(FirstLineIndentProperty);
        format.setTextIndent(length);
    }
    setTabStops(format, tabs);
}

QList<QTextOption::Tab> tabStops(const QTextBlockFormat &format)
{
    QList<QTextOption::Tab> tabs = format.tabPositions();
    for (QTextOption::Tab &tab : tabs)
        tab.position += firstLineStart(format);
    return tabs;
}

void setTabStops(QTextBlockFormat &format, const QList<QTextOption::Tab> &tabs)
{
    if (tabs.isEmpty()) {
        format.clearProperty(QTextFormat::TabPositions);
        return;
    }
    QList<QTextOption::Tab> fromFirstLine = tabs;
    for (QTextOption::Tab &tab : fromFirstLine)
        tab.position -= firstLineStart(format);
    format.setTabPositions(fromFirstLine);
}

void setIndents(QTextBlockFormat &format, double leftMargin, double firstLine)
{
    const QList<QTextOption::Tab> tabs = tabStops(format);
    format.setLeftMargin(leftMargin);
    setFirstLineIndent(format, firstLine);
    setTabStops(format, tabs);
}

// Asking for the painter creates the document's layout, and a layout present
// while a document is read lays out every paragraph at once: it is only
// asked for once an object needs it.
void insertOpaqueGroup(QTextCursor &cursor, const QByteArray &group, QSizeF size)
{
    registerOpaqueObjectPainter(*cursor.document());
    QTextCharFormat format;
    format.setObjectType(OpaqueObjectType);
    format.setProperty(OpaqueGroupProperty, group);
    if (!size.isEmpty())
        format.setProperty(sizeProperty, size);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

QByteArray opaqueGroup(const QTextFormat &format)
{
    return format.property(OpaqueGroupProperty).toByteArray();
}

void registerOpaqueObjectPainter(QTextDocument &document)
{
    auto *layout = document.documentLayout();
    if (layout->handlerForObject(OpaqueObjectType))
        return;
    layout->registerHandler(OpaqueObjectType, new OpaqueObjectPainter(&document));
}

} // namespace rtf

#include "RtfDocument.moc"
