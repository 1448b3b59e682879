#include "DocumentDump.h"

#include "platform/rtf/RtfDocument.h"

#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

// Lengths are shown in points, the measure the expected dumps were written in.
QString points(double length)
{
    return number(length * rtf::twipsPerDocumentUnit / 20.0);
}

QString paragraphLine(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    QStringList parts{QStringLiteral("P")};
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    parts << (alignment & Qt::AlignRight     ? QStringLiteral("rechts")
              : alignment & Qt::AlignHCenter ? QStringLiteral("mitte")
              : alignment & Qt::AlignJustify ? QStringLiteral("block")
                                             : QStringLiteral("links"));
    const auto measure = [&parts](const char *name, double value) {
        if (value != 0)
            parts << QStringLiteral("%1=%2").arg(QLatin1String(name), points(value));
    };
    measure("li", format.leftMargin());
    measure("ri", format.rightMargin());
    measure("fi", rtf::firstLineIndent(format));
    measure("sb", format.topMargin());
    measure("sa", format.bottomMargin());
    if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        parts << QStringLiteral("zeile=%1:%2").arg(format.lineHeightType()).arg(number(format.lineHeight()));
    else if (format.lineHeightType() != QTextBlockFormat::SingleHeight)
        parts << QStringLiteral("zeile=%1:%2").arg(format.lineHeightType()).arg(points(format.lineHeight()));
    for (const QTextOption::Tab &tab : rtf::tabStops(format))
        parts << QStringLiteral("tab=%1:%2").arg(tab.type).arg(points(tab.position));
    if (block.textList())
        parts << QStringLiteral("punkt");
    return parts.join(QLatin1Char(' '));
}

QString runLine(const QTextDocument &document, const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.objectType() == rtf::OpaqueObjectType) {
        const QByteArray group = rtf::opaqueGroup(format);
        return QStringLiteral("  objekt %1 Bytes md5=%2")
            .arg(group.size())
            .arg(QString::fromLatin1(QCryptographicHash::hash(group, QCryptographicHash::Md5).toHex()));
    }
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        const QByteArray bytes = document.resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray();
        return QStringLiteral("  bild %1x%2 md5=%3")
            .arg(points(image.width()), points(image.height()),
                 QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()));
    }
    QStringList parts{QStringLiteral("  \"%1\"").arg(fragment.text())};
    parts << format.fontFamilies().toStringList().join(QLatin1Char(',')) << number(format.fontPointSize());
    if (format.fontWeight() > QFont::Medium)
        parts << QStringLiteral("fett");
    if (format.fontItalic())
        parts << QStringLiteral("kursiv");
    if (format.fontUnderline())
        parts << QStringLiteral("unterstrichen");
    if (format.fontStrikeOut())
        parts << QStringLiteral("durchgestrichen");
    if (format.boolProperty(rtf::ProtectedProperty))
        parts << QStringLiteral("geschützt");
    if (format.boolProperty(rtf::SymbolCharsetProperty))
        parts << QStringLiteral("symbol");
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        parts << QStringLiteral("farbe=") + format.foreground().color().name();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        parts << QStringLiteral("hinterlegt=") + format.background().color().name();
    return parts.join(QLatin1Char(' '));
}

} // namespace

QString dumpDocument(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        lines << paragraphLine(block);
        for (auto it = block.begin(); !it.atEnd(); ++it)
            lines << runLine(document, it.fragment());
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
