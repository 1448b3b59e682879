#include "platform/os/IniFile.h"
#include "platform/runtime/TextFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class HostileIniTest : public testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Tintlen.ini")); }

    void write(const QByteArray &bytes)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

// Lists of keys and sections by the ten thousand are read in linear time;
// the first of two spellings of a name counts, as before.
TEST_F(HostileIniTest, HugeSectionsAndManySectionsAreReadWhole)
{
    QByteArray text = "[Gross]\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "Schluessel" + QByteArray::number(i) + '=' + QByteArray::number(i) + "\r\n";
    text += "schluessel7=doppelt\r\n";
    for (int i = 0; i < 50000; ++i)
        text += "[Abschnitt" + QByteArray::number(i) + "]\r\nA=1\r\n";
    text += "[gross]\r\nX=1\r\n";
    write(text);
    const TIniFile ini(path());
    const QStringList keys = ini.ReadSection(QStringLiteral("Gross"));
    ASSERT_EQ(keys.size(), 100000);
    EXPECT_EQ(keys.at(7), QStringLiteral("Schluessel7"));
    const QStringList values = ini.ReadSectionValues(QStringLiteral("GROSS"));
    ASSERT_EQ(values.size(), 100000);
    EXPECT_EQ(values.at(7), QStringLiteral("Schluessel7=7"));
    const QStringList sections = ini.ReadSections();
    ASSERT_EQ(sections.size(), 50001);
    EXPECT_EQ(sections.first(), QStringLiteral("Gross"));
}

TEST_F(HostileIniTest, AValueTheCodePageCannotHoldTurnsTheFileIntoUtf8)
{
    write("[Init]\r\nA=Gr\xfc\xdf"
          "e\r\n");
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("Init"), QStringLiteral("B"), QStringLiteral("C:\\Łódź"));
    EXPECT_EQ(ReadTextFile(path()).encoding, TextEncoding::Utf8);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Init"), QStringLiteral("A"), QString()), QStringLiteral("Grüße"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Init"), QStringLiteral("B"), QString()), QStringLiteral("C:\\Łódź"));
}

} // namespace
