#include "platform/help/ChmStructures.h"

#include "platform/runtime/Cp1252.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringView>
#include <QtEndian>

#include <algorithm>

namespace help {

namespace {

constexpr int kContentsFileCode = 0;
constexpr int kDefaultTopicCode = 2;
constexpr int kTitleCode = 3;

quint32 readDword(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 readWord(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

QString zeroTerminatedText(const QByteArray &bytes, qsizetype offset, qsizetype limit)
{
    const qsizetype end = bytes.indexOf('\0', offset);
    const qsizetype stop = (end < 0 || end > limit) ? limit : end;
    return decodeHelpText(bytes.mid(offset, stop - offset));
}

// The character a numeric reference names, or a null QString when it names
// none (so the reference stays as written).
QString numericEntity(QStringView digits)
{
    const bool onlyDigits = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return c.isDigit() && c.unicode() < 128;
    });
    bool ok = false;
    const uint code = onlyDigits ? digits.toUInt(&ok) : 0;
    if (!ok || code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
        return QString();
    const char32_t ucs4 = char32_t(code);
    return QString::fromUcs4(&ucs4, 1);
}

// The ";" that ends the reference starting at the "&" at start; -1 when
// none follows closely enough to end one.
qsizetype referenceEnd(const QString &text, qsizetype start)
{
    constexpr qsizetype kLongestReference = 10;
    const QStringView window = QStringView(text).sliced(start, std::min(kLongestReference, text.size() - start));
    const qsizetype semicolon = window.indexOf(QLatin1Char(';'));
    return semicolon < 0 ? -1 : start + semicolon;
}

// One pass over the text, so that neither many references nor a reference
// that a replacement forms anew can make it slow or decode twice.
QString decodeEntities(const QString &text)
{
    static const QHash<QString, QString> named = {{QStringLiteral("lt"), QStringLiteral("<")},
                                                  {QStringLiteral("gt"), QStringLiteral(">")},
                                                  {QStringLiteral("quot"), QStringLiteral("\"")},
                                                  {QStringLiteral("nbsp"), QStringLiteral(" ")},
                                                  {QStringLiteral("amp"), QStringLiteral("&")}};
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype semicolon = text[i] == QLatin1Char('&') ? referenceEnd(text, i) : -1;
        if (semicolon < 0) {
            out += text[i++];
            continue;
        }
        const QStringView name = QStringView(text).sliced(i + 1, semicolon - i - 1);
        QString replacement =
            name.startsWith(QLatin1Char('#')) ? numericEntity(name.sliced(1)) : named.value(name.toString());
        if (replacement.isNull()) {
            out += text[i++];
            continue;
        }
        out += replacement;
        i = semicolon + 1;
    }
    return out;
}

// Compiled once per attribute name: a contents file has tens of thousands of
// tags.
const QRegularExpression &attributePattern(const QString &name)
{
    static QHash<QString, QRegularExpression> patterns;
    auto found = patterns.find(name);
    if (found == patterns.end())
        found = patterns.insert(
            name, QRegularExpression(QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
                                     QRegularExpression::CaseInsensitiveOption));
    return *found;
}

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpressionMatch match = attributePattern(name).match(tag);
    if (!match.hasMatch())
        return QString();
    for (int group = 1; group <= 3; ++group) {
        if (match.capturedStart(group) >= 0)
            return decodeEntities(match.captured(group));
    }
    return QString();
}

// Walks the sitemap's tags keeping the list that new entries go into.
class SitemapReader
{
public:
    QList<HelpTopic> read(const QString &sitemap);

private:
    void openList();
    void closeList();
    void takeParameter(const QString &tag);

    QList<HelpTopic> m_root;
    QList<QList<HelpTopic> *> m_lists;
    HelpTopic m_entry;
    bool m_inEntry = false;
    bool m_seenList = false;
};

QList<HelpTopic> SitemapReader::read(const QString &sitemap)
{
    static const QRegularExpression tags(QStringLiteral("<\\s*(/?)\\s*(ul|object|param)\\b[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    m_lists = {&m_root};
    for (const QRegularExpressionMatch &tag : tags.globalMatch(sitemap)) {
        const bool closing = !tag.captured(1).isEmpty();
        const QString name = tag.captured(2).toLower();
        if (name == QLatin1String("ul"))
            closing ? closeList() : openList();
        else if (name == QLatin1String("param"))
            takeParameter(tag.captured(0));
        else if (!closing)
            m_inEntry = attribute(tag.captured(0), QStringLiteral("type"))
                            .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive)
                        == 0;
        else if (m_inEntry) {
            m_lists.last()->append(m_entry);
            m_entry = HelpTopic();
            m_inEntry = false;
        }
    }
    return m_root;
}

// The outermost list holds the top entries; a list after an entry holds
// that entry's children.
void SitemapReader::openList()
{
    // Showing and freeing the contents follow the levels recursively; deeper
    // levels of a damaged file stay on the deepest one allowed.
    constexpr qsizetype kDeepestLevel = 64;
    QList<HelpTopic> *current = m_lists.last();
    if (m_seenList && !current->isEmpty() && m_lists.size() < kDeepestLevel)
        m_lists.append(&current->last().children);
    else
        m_lists.append(current);
    m_seenList = true;
}

void SitemapReader::closeList()
{
    if (m_lists.size() > 1)
        m_lists.removeLast();
}

void SitemapReader::takeParameter(const QString &tag)
{
    if (!m_inEntry)
        return;
    const QString name = attribute(tag, QStringLiteral("name"));
    const QString value = attribute(tag, QStringLiteral("value"));
    if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        m_entry.title = value;
    else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
        m_entry.reference = value;
}

} // namespace

QString decodeHelpText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(bytes);
}

ChmSystemInfo parseSystemInfo(const QByteArray &system)
{
    ChmSystemInfo info;
    qsizetype offset = 4;
    while (offset + 4 <= system.size()) {
        const int code = readWord(system, offset);
        const qsizetype length = readWord(system, offset + 2);
        const qsizetype data = offset + 4;
        const qsizetype end = qMin(data + length, system.size());
        if (code == kContentsFileCode)
            info.contentsFile = zeroTerminatedText(system, data, end);
        else if (code == kDefaultTopicCode)
            info.defaultTopic = zeroTerminatedText(system, data, end);
        else if (code == kTitleCode)
            info.title = zeroTerminatedText(system, data, end);
        offset = data + length;
    }
    return info;
}

QHash<quint32, QString> parseContextMap(const QByteArray &ivb, const QByteArray &strings)
{
    QHash<quint32, QString> map;
    if (ivb.size() < 4)
        return map;
    const qsizetype end = qMin<qsizetype>(4 + readDword(ivb, 0), ivb.size());
    for (qsizetype pair = 4; pair + 8 <= end; pair += 8) {
        const quint32 context = readDword(ivb, pair);
        const quint32 offset = readDword(ivb, pair + 4);
        if (offset >= quint32(strings.size()) || map.contains(context))
            continue;
        map.insert(context, zeroTerminatedText(strings, offset, strings.size()));
    }
    return map;
}

QList<HelpTopic> parseSitemap(const QString &sitemap)
{
    return SitemapReader().read(sitemap);
}

QString pageTitle(const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    return decodeEntities(title.match(html).captured(1)).simplified();
}

} // namespace help
