#include "platform/help/ChmStructures.h"

#include <gtest/gtest.h>

using namespace help;

namespace {

TEST(HostileHelpText, ManyCharacterReferencesDecodeInOnePass)
{
    const int count = 300000;
    const QString html =
        QStringLiteral("<title>") + QStringLiteral("&#65;").repeated(count) + QStringLiteral("</title>");
    EXPECT_EQ(pageTitle(html), QString(count, QLatin1Char('A')));
    EXPECT_EQ(pageTitle(QStringLiteral("<title>") + QStringLiteral("&").repeated(count) + QStringLiteral("</title>")),
              QString(count, QLatin1Char('&')));
}

TEST(HostileHelpText, ReferencesDecodeOnceAndUnknownOnesStayAsWritten)
{
    const struct
    {
        const char *written;
        const char *shown;
    } cases[] = {
        {"&amp;lt;", "&lt;"},
        {"&#38;lt;", "&lt;"},
        {"&#228;&lt;&gt;&quot;&nbsp;&amp;", "ä<>\" &"},
        {"&#128512;", "\xF0\x9F\x98\x80"},
        {"&#0;&#99999999999;&#55296;&#x41;&foo;&", "&#0;&#99999999999;&#55296;&#x41;&foo;&"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(pageTitle(QStringLiteral("<title>%1</title>").arg(QString::fromUtf8(c.written))),
                  QString::fromUtf8(c.shown))
            << c.written;
    }
}

TEST(HostileHelpText, ContentsNestedBeyondAnyUseStayShallowAndLargeOnesStayWhole)
{
    const QString entry = QStringLiteral("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"T\">"
                                         "<param name=\"Local\" value=\"a.htm\"></OBJECT>");
    const int depth = 200000;
    const QList<HelpTopic> nested = parseSitemap((QStringLiteral("<UL>") + entry).repeated(depth));
    int levels = 0;
    for (const QList<HelpTopic> *level = &nested; !level->isEmpty(); level = &level->first().children)
        ++levels;
    EXPECT_LE(levels, 64);
    const QList<HelpTopic> flat =
        parseSitemap(QStringLiteral("<UL>") + entry.repeated(30000) + QStringLiteral("</UL>"));
    EXPECT_EQ(flat.size(), 30000);
    EXPECT_EQ(flat.last().reference, QStringLiteral("a.htm"));
}

} // namespace
