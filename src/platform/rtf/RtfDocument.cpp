#include "platform/rtf/RtfDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

namespace rtf {

namespace {

constexpr int sizeProperty = OpaqueGroupProperty + 16;
constexpr QSizeF fallbackSize(48, 48);

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

double firstLineIndent(const QTextBlockFormat &format)
{
    return format.boolProperty(BulletProperty) ? format.doubleProperty(FirstLineIndentProperty) : format.textIndent();
}

void setFirstLineIndent(QTextBlockFormat &format, double points)
{
    if (format.boolProperty(BulletProperty)) {
        format.setProperty(FirstLineIndentProperty, points);
        format.setTextIndent(0);
    } else {
        format.clearProperty(FirstLineIndentProperty);
        format.setTextIndent(points);
    }
}

void insertOpaqueGroup(QTextCursor &cursor, const QByteArray &group, QSizeF sizeInPoints)
{
    QTextCharFormat format;
    format.setObjectType(OpaqueObjectType);
    format.setProperty(OpaqueGroupProperty, group);
    if (!sizeInPoints.isEmpty())
        format.setProperty(sizeProperty, sizeInPoints);
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
