#include "platform/report/Page.h"

namespace report {
namespace {

void writeFont(QDataStream &out, const FontSpec &f)
{
    out << f.family << f.size << f.bold << f.italic;
}

void readFont(QDataStream &in, FontSpec &f)
{
    in >> f.family >> f.size >> f.bold >> f.italic;
}

void writeBarcode(QDataStream &out, const BarcodeShape &b)
{
    out << b.valid << b.error << b.extent << b.bars << qint32(b.captions.size());
    for (const BarcodeShape::Caption &c : b.captions)
        out << c.position << c.size << c.text;
}

void readBarcode(QDataStream &in, BarcodeShape &b)
{
    qint32 count = 0;
    in >> b.valid >> b.error >> b.extent >> b.bars >> count;
    b.captions.clear();
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        BarcodeShape::Caption c;
        in >> c.position >> c.size >> c.text;
        b.captions.append(c);
    }
}

}

QStringList Page::texts() const
{
    QStringList found;
    for (const DrawOp &op : ops) {
        if (op.kind == DrawOp::Kind::Text)
            found.append(op.text);
    }
    return found;
}

const DrawOp *Page::findText(const QString &fragment) const
{
    for (const DrawOp &op : ops) {
        if (op.kind == DrawOp::Kind::Text && op.text.contains(fragment))
            return &op;
    }
    return nullptr;
}

QDataStream &operator<<(QDataStream &out, const Page &page)
{
    out << page.size << qint32(page.ops.size());
    for (const DrawOp &op : page.ops) {
        out << quint8(op.kind) << op.object << op.rect << op.text;
        writeFont(out, op.font);
        out << qint32(op.align) << op.pen << op.fill << op.image << qint32(op.symbology);
        writeBarcode(out, op.barcode);
    }
    return out;
}

QDataStream &operator>>(QDataStream &in, Page &page)
{
    qint32 count = 0;
    in >> page.size >> count;
    page.ops.clear();
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        DrawOp op;
        quint8 kind = 0;
        qint32 align = 0;
        qint32 symbology = 0;
        in >> kind >> op.object >> op.rect >> op.text;
        readFont(in, op.font);
        in >> align >> op.pen >> op.fill >> op.image >> symbology;
        readBarcode(in, op.barcode);
        op.kind = DrawOp::Kind(kind);
        op.align = Qt::Alignment(align);
        op.symbology = symbology;
        page.ops.append(op);
    }
    return in;
}

}
