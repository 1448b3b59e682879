#include "platform/rtf/RtfWriter.h"

#include "platform/rtf/RtfCharacterState.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/runtime/Cp1252.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace rtf {

namespace {

const QHash<ushort, uchar> &cp1252Upper()
{
    static const QHash<ushort, uchar> table = [] {
        QHash<ushort, uchar> result;
        QByteArray upper(128, '\0');
        for (int i = 0; i < 128; ++i)
            upper[i] = char(0x80 + i);
        const QString decoded = cp1252::decode(upper);
        for (int i = 0; i < 128; ++i)
            result.insert(decoded.at(i).unicode(), uchar(0x80 + i));
        return result;
    }();
    return table;
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document) : m_document(document)
    {
        m_defaultFamily = document.defaultFont().family();
    }

    QByteArray run();

private:
    void paragraph(const QTextBlock &block);
    void paragraphProperties(const QTextBlockFormat &format, bool bullet);
    void fragment(const QTextFragment &fragment);
    void characterProperties(const QTextCharFormat &format);
    void switchWord(const char *word, bool on);
    void word(const QByteArray &controlWord);
    void text(const QString &text);
    void character(QChar c, bool symbol);
    void picture(const QTextImageFormat &format);
    int fontIndex(const QString &family, bool symbol);
    void registerFirstFont();
    int colorIndex(const QBrush &brush);
    QByteArray fontTable() const;
    QByteArray colorTable() const;

    const QTextDocument &m_document;
    QString m_defaultFamily;
    QStringList m_fontKeys;
    QList<QColor> m_colors;
    QByteArray m_body;
    CharacterState m_current;
    bool m_started = false;
    bool m_pendingSpace = false;
};

QByteArray Writer::run()
{
    registerFirstFont();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        paragraph(block);
    if (m_fontKeys.isEmpty())
        fontIndex(m_defaultFamily, false);
    QByteArray result = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031" + fontTable() + "\r\n";
    if (!m_colors.isEmpty())
        result += colorTable() + "\r\n";
    result += "\\viewkind4\\uc1" + m_body + "}\r\n";
    return result;
}

void Writer::paragraph(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const bool bullet = block.textList() != nullptr || format.boolProperty(BulletProperty);
    paragraphProperties(format, bullet);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragment(it.fragment());
    word("\\par");
    m_body += "\r\n";
    m_pendingSpace = false;
}

void Writer::paragraphProperties(const QTextBlockFormat &format, bool bullet)
{
    word("\\pard");
    if (bullet) {
        const QByteArray symbol = QByteArray::number(fontIndex(QStringLiteral("Symbol"), true));
        m_body +=
            "{\\pntext\\f" + symbol + "\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf" + symbol + "\\pnindent0{\\pntxtb\\'b7}}";
    }
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        word("\\qr");
    else if (alignment & Qt::AlignHCenter)
        word("\\qc");
    else if (alignment & Qt::AlignJustify)
        word("\\qj");
    const auto measure = [this](const char *name, double length) {
        if (toTwips(length) != 0)
            word(name + QByteArray::number(toTwips(length)));
    };
    measure("\\fi", firstLineIndent(format));
    measure("\\li", format.leftMargin());
    measure("\\ri", format.rightMargin());
    measure("\\sb", format.topMargin());
    measure("\\sa", format.bottomMargin());
    const double height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (qRound(height * 240.0 / 100.0) != 240)
            word("\\sl" + QByteArray::number(qRound(height * 240.0 / 100.0)) + "\\slmult1");
        break;
    case QTextBlockFormat::MinimumHeight:
        word("\\sl" + QByteArray::number(toTwips(height)) + "\\slmult0");
        break;
    case QTextBlockFormat::FixedHeight:
        word("\\sl-" + QByteArray::number(toTwips(height)) + "\\slmult0");
        break;
    default:
        break;
    }
    for (const QTextOption::Tab &tab : tabStops(format)) {
        if (tab.type == QTextOption::RightTab)
            word("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            word("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            word("\\tqdec");
        word("\\tx" + QByteArray::number(toTwips(tab.position)));
    }
}

void Writer::fragment(const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.objectType() == OpaqueObjectType) {
        for (qsizetype i = 0; i < fragment.length(); ++i)
            m_body += opaqueGroup(format);
        m_pendingSpace = false;
        return;
    }
    if (format.isImageFormat()) {
        for (qsizetype i = 0; i < fragment.length(); ++i)
            picture(format.toImageFormat());
        return;
    }
    characterProperties(format);
    text(fragment.text());
}

void Writer::characterProperties(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? m_defaultFamily : families.first();
    CharacterState next;
    next.font = fontIndex(family, format.boolProperty(SymbolCharsetProperty));
    const double points =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : m_document.defaultFont().pointSizeF();
    next.halfPoints = points > 0 ? qRound(points * 2.0) : 24;
    next.bold = format.fontWeight() > QFont::Medium;
    next.italic = format.fontItalic();
    next.underline = format.fontUnderline();
    next.strike = format.fontStrikeOut();
    next.protect = format.boolProperty(ProtectedProperty);
    next.foreground = format.hasProperty(QTextFormat::ForegroundBrush) ? colorIndex(format.foreground()) : 0;
    next.background = format.hasProperty(QTextFormat::BackgroundBrush) ? colorIndex(format.background()) : 0;
    const bool all = !m_started;
    m_started = true;
    if (all || next.font != m_current.font)
        word("\\f" + QByteArray::number(next.font));
    if (next.foreground != m_current.foreground)
        word("\\cf" + QByteArray::number(next.foreground));
    if (next.background != m_current.background)
        word("\\highlight" + QByteArray::number(next.background));
    if (all ? next.bold : next.bold != m_current.bold)
        switchWord("\\b", next.bold);
    if (all ? next.italic : next.italic != m_current.italic)
        switchWord("\\i", next.italic);
    if (all ? next.underline : next.underline != m_current.underline)
        word(next.underline ? "\\ul" : "\\ulnone");
    if (all ? next.strike : next.strike != m_current.strike)
        switchWord("\\strike", next.strike);
    if (all ? next.protect : next.protect != m_current.protect)
        switchWord("\\protect", next.protect);
    if (all || next.halfPoints != m_current.halfPoints)
        word("\\fs" + QByteArray::number(next.halfPoints));
    m_current = next;
}

void Writer::switchWord(const char *name, bool on)
{
    word(on ? QByteArray(name) : QByteArray(name) + '0');
}

void Writer::word(const QByteArray &controlWord)
{
    m_body += controlWord;
    m_pendingSpace = true;
}

void Writer::text(const QString &text)
{
    const bool symbol = m_fontKeys.value(m_current.font).startsWith(QLatin1Char('2'));
    for (const QChar c : text)
        character(c, symbol);
}

void Writer::character(QChar c, bool symbol)
{
    const ushort code = c.unicode();
    const auto hex = [this](uchar byte) {
        m_body += "\\'" + QByteArray::number(byte, 16).rightJustified(2, '0');
        m_pendingSpace = false;
    };
    switch (code) {
    case '\t':
        word("\\tab");
        return;
    case QChar::LineSeparator:
        word("\\line");
        return;
    case 0x00A0:
        m_body += "\\~";
        m_pendingSpace = false;
        return;
    case 0x00AD:
        m_body += "\\-";
        m_pendingSpace = false;
        return;
    case 0x2011:
        m_body += "\\_";
        m_pendingSpace = false;
        return;
    default:
        break;
    }
    if (symbol && (code & 0xFF00) == 0xF000) {
        hex(uchar(code & 0xFF));
        return;
    }
    if (code >= 0x20 && code < 0x80) {
        if (m_pendingSpace)
            m_body += ' ';
        m_pendingSpace = false;
        if (code == '\\' || code == '{' || code == '}')
            m_body += '\\';
        m_body += char(code);
        return;
    }
    if (code < 0x20 || (code >= 0xA0 && code <= 0xFF)) {
        hex(uchar(code));
        return;
    }
    const auto upper = cp1252Upper().constFind(code);
    if (upper != cp1252Upper().cend()) {
        hex(*upper);
        return;
    }
    m_body += "\\u" + QByteArray::number(short(code)) + '?';
    m_pendingSpace = false;
}

void Writer::picture(const QTextImageFormat &format)
{
    const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QByteArray data = resource.toByteArray();
    QImage image = resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage ? resource.value<QImage>()
                                                                                           : QImage::fromData(data);
    if (image.isNull())
        return;
    QByteArray kind = "\\jpegblip";
    if (!data.startsWith("\xff\xd8")) {
        kind = "\\pngblip";
        if (!data.startsWith("\x89PNG")) {
            QBuffer buffer(&data);
            data.clear();
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
    }
    const int widthGoal = toTwips(format.width() > 0 ? format.width() : image.width());
    const int heightGoal = toTwips(format.height() > 0 ? format.height() : image.height());
    m_body += "{\\pict" + kind + "\\picw" + QByteArray::number(image.width()) + "\\pich"
              + QByteArray::number(image.height()) + "\\picwgoal" + QByteArray::number(widthGoal) + "\\pichgoal"
              + QByteArray::number(heightGoal) + "\r\n";
    const QByteArray hexData = data.toHex();
    for (qsizetype i = 0; i < hexData.size(); i += 128)
        m_body += hexData.mid(i, 128) + "\r\n";
    m_body += "}";
    m_pendingSpace = false;
}

// The text's first font becomes the default font \\f0, as a bullet's
// symbol font must not be what unmarked text falls back to.
void Writer::registerFirstFont()
{
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.objectType() != QTextFormat::NoObject)
                continue;
            const QStringList families = format.fontFamilies().toStringList();
            fontIndex(families.isEmpty() ? m_defaultFamily : families.first(),
                      format.boolProperty(SymbolCharsetProperty));
            return;
        }
    }
}

// Keys are the character set digit and the family, so a family used both
// as symbol and as text font gets two entries as the reader saw them.
int Writer::fontIndex(const QString &family, bool symbol)
{
    const QString key = (symbol ? QLatin1Char('2') : QLatin1Char('0')) + family;
    qsizetype index = m_fontKeys.indexOf(key);
    if (index < 0) {
        index = m_fontKeys.size();
        m_fontKeys.append(key);
    }
    return int(index);
}

int Writer::colorIndex(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QColor color = brush.color().toRgb();
    qsizetype index = m_colors.indexOf(color);
    if (index < 0) {
        index = m_colors.size();
        m_colors.append(color);
    }
    return int(index) + 1;
}

QByteArray Writer::fontTable() const
{
    QByteArray table = "{\\fonttbl";
    for (qsizetype i = 0; i < m_fontKeys.size(); ++i) {
        const QString &key = m_fontKeys[i];
        table += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + key.at(0).toLatin1() + ' '
                 + cp1252::encode(key.mid(1)) + ";}";
    }
    return table + '}';
}

QByteArray Writer::colorTable() const
{
    QByteArray table = "{\\colortbl ;";
    for (const QColor &color : m_colors)
        table += "\\red" + QByteArray::number(color.red()) + "\\green" + QByteArray::number(color.green()) + "\\blue"
                 + QByteArray::number(color.blue()) + ';';
    return table + '}';
}

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return Writer(document).run();
}

} // namespace rtf
