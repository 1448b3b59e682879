#include "platform/help/ChmStructures.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace help;

namespace {

QByteArray dwords(std::initializer_list<quint32> values)
{
    QByteArray bytes;
    for (quint32 value : values) {
        char le[4];
        qToLittleEndian(value, le);
        bytes.append(le, 4);
    }
    return bytes;
}

} // namespace

TEST(ChmContextMapTest, NumbersFindTheirPageNamesAndDamagedMapsWhatIsIntact)
{
    const QByteArray strings("\0start.htm\0sub/formular.htm\0", 28);
    const auto map = parseContextMap(dwords({24, 2000, 1, 2001, 11, 2000, 11}), strings);
    EXPECT_EQ(map.size(), 2);
    EXPECT_EQ(map.value(2000), "start.htm");
    EXPECT_EQ(map.value(2001), "sub/formular.htm");

    // Damaged maps give what is intact: a byte count beyond the data, and an
    // offset beyond the strings.
    const QByteArray page("\0seite.htm\0", 11);
    EXPECT_TRUE(parseContextMap(QByteArray(), page).isEmpty());
    const auto damaged = parseContextMap(dwords({800, 1, 1, 2, 4000, 3}), page);
    EXPECT_EQ(damaged.size(), 1);
    EXPECT_EQ(damaged.value(1), "seite.htm");
}

TEST(ChmSitemapTest, NestedListsBecomeNestedTopics)
{
    const auto topics =
        parseSitemap("<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"x\"></OBJECT>"
                     "<UL><LI><OBJECT type='text/sitemap'><PARAM name=Name value='Kapitel'></OBJECT>"
                     "<UL><LI><object type=\"text/sitemap\"><param name=\"Name\" value=\"Teil &quot;1&quot;\">"
                     "<param name=\"Local\" value=\"a\\b.htm#x\"></object>"
                     "<LI><object type=\"text/sitemap\"><param name=\"Name\" value=\"Teil 2\"></object></UL>"
                     "<LI><object type=\"text/sitemap\"><param name=\"Local\" value=\"c.htm\"></object></UL>");
    ASSERT_EQ(topics.size(), 2);
    EXPECT_EQ(topics[0].title, "Kapitel");
    EXPECT_EQ(topics[0].reference, "");
    ASSERT_EQ(topics[0].children.size(), 2);
    EXPECT_EQ(topics[0].children[0].title, "Teil \"1\"");
    EXPECT_EQ(topics[0].children[0].reference, "a\\b.htm#x");
    EXPECT_EQ(topics[0].children[1].title, "Teil 2");
    EXPECT_EQ(topics[1].reference, "c.htm");
    EXPECT_TRUE(topics[1].children.isEmpty());

    // Unbalanced lists stay inside the root.
    const auto unbalanced =
        parseSitemap("</UL></UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
                     "</OBJECT>");
    ASSERT_EQ(unbalanced.size(), 1);
    EXPECT_EQ(unbalanced[0].title, "A");
}

TEST(ChmTextTest, Utf8WhenValidElseWindowsCodePage)
{
    EXPECT_EQ(decodeHelpText("Gr\xc3\xb6\xc3\x9f"
                             "e \xe2\x82\xac"),
              "Größe €");
    EXPECT_EQ(decodeHelpText("Gr\xf6\xdf"
                             "e \x80"),
              "Größe €");
    EXPECT_EQ(pageTitle("<html><TITLE>\n Preise &amp; Rabatte </TITLE>"), "Preise & Rabatte");
    EXPECT_EQ(pageTitle("<html><body>kein Titel"), "");
}

TEST(ChmSystemTest, ReadsContentsStartPageAndTitle)
{
    QByteArray system = dwords({3});
    const auto record = [&system](quint16 code, const QByteArray &text) {
        char le[2];
        qToLittleEndian(code, le);
        system.append(le, 2);
        qToLittleEndian(quint16(text.size() + 1), le);
        system.append(le, 2);
        system.append(text).append('\0');
    };
    record(9, "Compiler");
    record(0, "inhalt.hhc");
    record(2, "start.htm");
    record(3, "Hilfe f\xfcr Tintlen");
    const ChmSystemInfo info = parseSystemInfo(system);
    EXPECT_EQ(info.contentsFile, "inhalt.hhc");
    EXPECT_EQ(info.defaultTopic, "start.htm");
    EXPECT_EQ(info.title, "Hilfe für Tintlen");
    // A record claiming more bytes than there are ends the reading.
    system.append(QByteArray("\x03\x00\xff\x00Kurz", 8));
    EXPECT_EQ(parseSystemInfo(system).title, "Kurz");
}
