#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// Readers for the structures a compiled help file keeps beside its pages.
namespace help {

struct HelpTopic
{
    QString title;
    // As the file names it, relative or absolute, possibly with "#anchor".
    QString reference;
    QList<HelpTopic> children;
};

struct ChmSystemInfo
{
    QString contentsFile;
    QString defaultTopic;
    QString title;
};

// Pages carry no reliable charset: UTF-8 when the bytes are valid UTF-8,
// else the Windows code page the files were written in.
QString decodeHelpText(const QByteArray &bytes);

// The "#SYSTEM" object: a version word, then records of code, length, data.
ChmSystemInfo parseSystemInfo(const QByteArray &system);

// The context map: "#IVB" holds its byte count and then pairs of context
// number and offset into "#STRINGS", where the target page's name stands.
// The first pair of a number wins; pairs pointing outside the strings are
// left out.
QHash<quint32, QString> parseContextMap(const QByteArray &ivb, const QByteArray &strings);

// The table of contents (".hhc" sitemap): nested lists of entries, each an
// object with the parameters "Name" and "Local".
QList<HelpTopic> parseSitemap(const QString &sitemap);

// The text of a page's <title>, empty when it has none.
QString pageTitle(const QString &html);

} // namespace help
