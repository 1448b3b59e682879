#include "platform/help/ChmStructures.h"

#include "platform/runtime/Cp1252.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

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

QString decodeEntities(QString text)
{
    static const QRegularExpression numeric(QStringLiteral("&#(\\d+);"));
    QRegularExpressionMatch match;
    while ((match = numeric.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     QChar(match.captured(1).toInt()));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpression pattern(
        QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
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
    static const QRegularExpression tags(
        QStringLiteral("<\\s*(/?)\\s*(ul|object|param)\\b[^>]*>"),
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
    QList<HelpTopic> *current = m_lists.last();
    if (m_seenList && !current->isEmpty())
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
    static const QRegularExpression title(
        QStringLiteral("<title[^>]*>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return decodeEntities(title.match(html).captured(1)).simplified();
}

} // namespace help
