#include "platform/runtime/Cp1252.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TextFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(Cp1252, MapsEuroSharpSAndTheHighRange)
{
    EXPECT_EQ(cp1252::decode("\x80 \xDF \xE4 \x9F"), QStringLiteral("€ ß ä Ÿ"));
    EXPECT_EQ(cp1252::encode(QStringLiteral("€ß")), QByteArray("\x80\xDF"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    bool lossless = false;
    EXPECT_EQ(cp1252::encode(cp1252::decode(all), &lossless), all);
    EXPECT_TRUE(lossless);
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252::decode(QByteArray(1, char(undefined))), QString(QChar(undefined)));
}

TEST(Cp1252, UnmappableCharactersBecomeOneQuestionMark)
{
    bool lossless = true;
    EXPECT_EQ(cp1252::encode(QStringLiteral("Łx😀"), &lossless), QByteArray("?x?"));
    EXPECT_FALSE(lossless);
}

TEST(TextFile, DetectsTheEncodingAndWritesItBack)
{
    QTemporaryDir dir;
    const QString utf8Path = dir.filePath("utf8.ini");
    const QString ansiPath = dir.filePath("ansi.ini");
    const QString bomPath = dir.filePath("bom.txt");
    writeBytes(utf8Path, "Stra\xC3\x9F"
                         "e=\xE2\x82\xAC\r\n");
    writeBytes(ansiPath, "Stra\xDF"
                         "e=\x80\r\n");
    writeBytes(bomPath, "\xEF\xBB\xBFok");
    const TextFileContent utf8 = ReadTextFile(utf8Path);
    const TextFileContent ansi = ReadTextFile(ansiPath);
    EXPECT_EQ(utf8.text, QStringLiteral("Straße=€\r\n"));
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(ansi.text, utf8.text);
    EXPECT_EQ(ansi.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(ReadTextFile(bomPath).text, "ok");
    EXPECT_EQ(ReadTextFile(bomPath).encoding, TextEncoding::Utf8);

    WriteTextFile(ansiPath, ansi.text + QStringLiteral("Größe=1\r\n"), ansi.encoding);
    EXPECT_EQ(fileBytes(ansiPath), QByteArray("Stra\xDF"
                                              "e=\x80\r\nGr\xF6\xDF"
                                              "e=1\r\n"));
    WriteTextFile(utf8Path, utf8.text, utf8.encoding);
    EXPECT_EQ(fileBytes(utf8Path), QByteArray("Stra\xC3\x9F"
                                              "e=\xE2\x82\xAC\r\n"));
}

TEST(TextFile, PlainAsciiCountsAsWindows1252)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.ini");
    writeBytes(path, "[Init]\r\n");
    EXPECT_EQ(ReadTextFile(path).encoding, TextEncoding::Windows1252);
}

TEST(TextFile, FailuresRaiseAndLeaveTheFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    writeBytes(path, "alt");
    EXPECT_THROW(WriteTextFile(path, QStringLiteral("Łódź"), TextEncoding::Windows1252), EInOutError);
    EXPECT_EQ(fileBytes(path), "alt");
    EXPECT_THROW(ReadTextFile(dir.filePath("fehlt.txt")), EInOutError);
    EXPECT_THROW(WriteTextFile(dir.filePath("kein/Ordner.txt"), "x", TextEncoding::Utf8), EInOutError);
    try {
        ReadTextFile(dir.filePath("fehlt.txt"));
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().startsWith("Die Datei ")) << e.Message().toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"keep.txt"}));
}
