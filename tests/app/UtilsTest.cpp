#include "app/Utils.h"

#include "platform/os/Registry.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class UtilsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("formulare"));
        ASSERT_TRUE(QDir(root.path()).mkpath("ziel"));
    }

    QString path(const QString &relative) const { return root.filePath(relative); }

    void write(const QString &relative, const QByteArray &content) const
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(content), content.size());
    }

    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList filesIn(const QString &relative) const
    {
        return QDir(path(relative)).entryList(QDir::Files, QDir::Name);
    }

    ui::ScopedRecordingUiServices recording;
    QTemporaryDir root;
};

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

}

TEST_F(UtilsFileTest, CopyFilesUnderANewBaseNameKeepsEachExtension)
{
    write("formulare/Rechnung.lst", "Liste");
    write("formulare/Rechnung.LSV", "Vorschau");
    write("formulare/Rechnung.lbl", "Etikett");
    write("formulare/Rechnung.frm", "E-Mail");
    write("formulare/Rechnung2.lst", "andere");

    const int copied = CopyFiles(path("formulare/rechnung.l*"), path("ziel"), "Gutschrift");

    EXPECT_EQ(copied, 3);
    EXPECT_EQ(filesIn("ziel"), QStringList({"Gutschrift.LSV", "Gutschrift.lbl", "Gutschrift.lst"}));
    EXPECT_EQ(read("ziel/Gutschrift.LSV"), QByteArray("Vorschau"));
    EXPECT_TRUE(recording.messages().isEmpty());

    // Without a new name the names stay.
    EXPECT_EQ(CopyFiles(path("formulare/*.frm"), path("ziel") + QLatin1Char('/'), QString()), 1);
    EXPECT_EQ(read("ziel/Rechnung.frm"), QByteArray("E-Mail"));
}

TEST_F(UtilsFileTest, CopyFilesRefusesMissingArguments)
{
    EXPECT_EQ(CopyFiles(QString(), path("ziel"), QString()), -1);
    EXPECT_EQ(CopyFiles(path("formulare/*"), path("fehlt"), QString()), -1);
    ASSERT_EQ(recording.messages().size(), 2);
    EXPECT_EQ(recording.messages().at(0).text, "Quelle oder Ziel wurde nicht angegeben!");
    EXPECT_EQ(recording.messages().at(0).caption, "CopyFiles()");
    EXPECT_EQ(recording.messages().at(0).icon, ui::MsgIcon::Stop);
    EXPECT_EQ(recording.messages().at(1).text, "Zielpfad nicht vorhanden: " + path("fehlt"));
}

TEST_F(UtilsFileTest, CopyFileCopiesEveryBlockExactly)
{
    const QByteArray exactBlocks = pattern(2 * 8192);
    const QByteArray partialBlock = pattern(3 * 8192 + 17);
    write("formulare/a.bin", exactBlocks);
    write("formulare/b.bin", partialBlock);
    write("formulare/leer.bin", QByteArray());

    EXPECT_EQ(CopyFile(path("formulare/a.bin"), path("ziel/a.bin")), 0);
    // A folder as target receives the file under its own name.
    EXPECT_EQ(CopyFile(path("formulare/b.bin"), path("ziel")), 0);
    EXPECT_EQ(CopyFile(path("formulare/leer.bin"), path("ziel")), 0);

    EXPECT_EQ(read("ziel/a.bin"), exactBlocks);
    EXPECT_EQ(read("ziel/b.bin"), partialBlock);
    EXPECT_TRUE(QFile::exists(path("ziel/leer.bin")));
    EXPECT_TRUE(read("ziel/leer.bin").isEmpty());

    // An existing, longer target is replaced.
    EXPECT_EQ(CopyFile(path("formulare/leer.bin"), path("ziel/a.bin")), 0);
    EXPECT_TRUE(read("ziel/a.bin").isEmpty());
}

TEST_F(UtilsFileTest, CopiesOntoItselfOrThatFailLoseAndCreateNothing)
{
    write("formulare/Rechnung.lst", "Inhalt");

    EXPECT_NE(CopyFile(path("formulare/Rechnung.lst"), path("formulare")), 0);
    EXPECT_NE(CopyFile(path("formulare/Rechnung.lst"), path("formulare/RECHNUNG.LST")), 0);
    EXPECT_EQ(CopyFiles(path("formulare/*.lst"), path("formulare"), QString()), 0);

    EXPECT_EQ(read("formulare/Rechnung.lst"), QByteArray("Inhalt"));
    EXPECT_EQ(filesIn("formulare"), QStringList{"Rechnung.lst"});
    ASSERT_EQ(recording.messages().size(), 3);
    EXPECT_EQ(recording.messages().at(0).caption, "CopyFile()");

    // A copy that fails creates nothing.
    recording.clear();
    EXPECT_NE(CopyFile(path("formulare/fehlt.lst"), path("ziel")), 0);
    EXPECT_NE(CopyFile(path("formulare/Rechnung.lst"), path("nirgends/da.lst")), 0);
    EXPECT_TRUE(filesIn("ziel").isEmpty());
    ASSERT_EQ(recording.messages().size(), 2);
    EXPECT_EQ(recording.messages().at(0).text, "Kann Datei nicht öffnen: " + path("formulare/fehlt.lst"));
    EXPECT_TRUE(recording.messages().at(1).text.startsWith("Kann Zieldatei nicht anlegen: "));
}

TEST_F(UtilsFileTest, DeleteFilesCountsTheDeletedFilesOnly)
{
    write("formulare/Mahnung.lst", "1");
    write("formulare/Mahnung.LBL", "2");
    write("formulare/Mahnung.frm", "3");
    ASSERT_TRUE(QDir(path("formulare")).mkdir("Mahnung.lxx"));

    EXPECT_EQ(DeleteFiles(path("formulare/mahnung.l*")), 2);
    EXPECT_EQ(filesIn("formulare"), QStringList{"Mahnung.frm"});
    EXPECT_TRUE(QDir(path("formulare/Mahnung.lxx")).exists());
    EXPECT_EQ(DeleteFiles(path("formulare/*.lst")), 0);

    EXPECT_EQ(DeleteFiles(QString()), -1);
    ASSERT_EQ(recording.messages().size(), 1);
    EXPECT_EQ(recording.messages().at(0).text, "Dateien wurden nicht angegeben!");
    EXPECT_EQ(recording.messages().at(0).caption, "DeleteFiles()");
}

TEST_F(UtilsFileTest, FoldersAndAttributes)
{
    write("formulare/a.lst", "x");
    EXPECT_TRUE(DirectoryExists(path("formulare")));
    EXPECT_FALSE(DirectoryExists(path("formulare/a.lst")));
    EXPECT_TRUE(HasAttr(path("formulare"), faDirectory));
    EXPECT_FALSE(HasAttr(path("formulare/a.lst"), faDirectory));
    EXPECT_FALSE(HasAttr(path("fehlt"), 0));
    EXPECT_TRUE(GetTempDir().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(DirectoryExists(GetTempDir()));
}

TEST(UtilsMessageTest, BoxesGoThroughTheServicesWithTheirIcons)
{
    ui::ScopedRecordingUiServices recording;
    ShowError(QString(), "Datenpfad wurde nicht angegeben!");
    ShowErrorMsg("Tintlen", QString());
    recording.queueAnswer(ui::IDNO);
    EXPECT_EQ(AskYesNoCancel(QStringLiteral("Formular \"Rechnung\" wirklich löschen?")), ui::IDNO);
    EXPECT_EQ(AskYesNoCancel(QStringLiteral("Noch einmal?")), ui::IDYES);

    ASSERT_EQ(recording.messages().size(), 4);
    EXPECT_EQ(recording.messages().at(0).icon, ui::MsgIcon::Stop);
    EXPECT_EQ(recording.messages().at(0).buttons, ui::MsgButtons::Ok);
    EXPECT_TRUE(recording.messages().at(0).caption.isEmpty());
    EXPECT_EQ(recording.messages().at(1).caption, "Tintlen");
    EXPECT_EQ(recording.messages().at(2).buttons, ui::MsgButtons::YesNoCancel);
    EXPECT_EQ(recording.messages().at(2).icon, ui::MsgIcon::Question);
}

TEST(UtilsNumberTest, GermanNumbersFollowGermanRulesWhateverTheSettings)
{
    EXPECT_DOUBLE_EQ(StrToFloatDE("1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(StrToFloatDE("-0,25"), -0.25);
    EXPECT_DOUBLE_EQ(StrToFloatDE("1.000.000"), 1000000.0);
    EXPECT_DOUBLE_EQ(StrToFloatDE(QString()), 0.0);

    FormatSettings().DecimalSeparator = QLatin1Char('.');
    FormatSettings().ThousandSeparator = QLatin1Char(',');
    const double underOtherSettings = StrToFloatDE("1.234,5");
    ResetFormatSettings();
    EXPECT_DOUBLE_EQ(underOtherSettings, 1234.5);

    EXPECT_THROW(StrToFloatDE("1,2,3"), EConvertError);
    EXPECT_THROW(StrToFloatDE("zwölf"), EConvertError);
    EXPECT_THROW(StrToFloatDE("nan"), EConvertError);
}

TEST(UtilsNumberTest, RoundingIsDecimalAndHalfAwayFromZero)
{
    EXPECT_DOUBLE_EQ(Round2(2.675), 2.68);
    EXPECT_DOUBLE_EQ(Round2(0.125), 0.13);
    EXPECT_DOUBLE_EQ(RoundDec(0, -2.5), -3.0);
    EXPECT_DOUBLE_EQ(RoundDec(3, 1.0005), 1.001);
    EXPECT_EQ(FormatNumber(2, 1234567.891), "1.234.567,89");
    EXPECT_EQ(FormatNumber(0, -1234.5), "-1.235");
    EXPECT_EQ(Max(-3, 2), 2);
    for (const char *numeric : {"12 34", "0"})
        EXPECT_TRUE(IsNumeric(QString::fromLatin1(numeric))) << numeric;
    for (const char *other : {"", "12a", "-1", "1,5"})
        EXPECT_FALSE(IsNumeric(QString::fromLatin1(other))) << other;
}

TEST(UtilsStringTest, StringHelpers)
{
    EXPECT_EQ(RightStr("abc", 5), QString());
    EXPECT_EQ(RightStr("abc", 3), "abc");
    EXPECT_EQ(RightStr("Rechnung.lst", 4), ".lst");
    EXPECT_EQ(RightStr("abc", 0), QString());
    EXPECT_EQ(Replicate("-=", 3), "-=-=-=");
    EXPECT_EQ(Replicate("x", 0), QString());
    EXPECT_EQ(ReplaceFirst("#Z #Z", "#Z", "1"), "1 #Z");
    EXPECT_EQ(ReplaceFirst("ohne", "#Z", "1"), "ohne");
    EXPECT_EQ(StripBackslash("C:\\Daten\\\\"), "C:\\Daten\\");
    EXPECT_EQ(StripBackslash("/srv/daten/"), "/srv/daten");
    EXPECT_EQ(StripBackslash("daten"), "daten");
    EXPECT_EQ(IIFStr(false, "ja", "nein"), "nein");
    EXPECT_EQ(IIFInt(true, 1, 2), 1);
    EXPECT_DOUBLE_EQ(IIFFloat(false, 1.5, 2.5), 2.5);
    EXPECT_EQ(IIFByte(true, 7, 9), 7);
}

TEST(UtilsStringTest, GermanLettersAreLetters)
{
    for (const QChar c : QStringLiteral("AzäöüÄÖÜß"))
        EXPECT_TRUE(IsLetter(c)) << QString(c).toStdString();
    for (const QChar c : QStringLiteral("é1 _@"))
        EXPECT_FALSE(IsLetter(c)) << QString(c).toStdString();
    EXPECT_TRUE(IsDigit(QLatin1Char('7')));
    EXPECT_FALSE(IsDigit(QChar(0x0663)));
    EXPECT_TRUE(IsLetterOrDigit(QChar(0x00DF)));
    EXPECT_FALSE(IsLetterOrDigit(QLatin1Char('-')));
}

TEST(UtilsRegistryTest, TheDefaultMailClientComesFromTheMailtoCommand)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const bool wasSet = qEnvironmentVariableIsSet("TINTLEN_REGISTRY");
    const QByteArray saved = qgetenv("TINTLEN_REGISTRY");
    qputenv("TINTLEN_REGISTRY", folder.filePath("registry.ini").toUtf8());

    const QString withoutEntry = GetDefaultMailClient();
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(registry.OpenKey("mailto\\shell\\open\\command", true));
    registry.WriteString(QString(), "/opt/kuvertalia/kuvertalia -mailto %1");
    registry.CloseKey();
    const QString withEntry = GetDefaultMailClient();

    if (wasSet)
        qputenv("TINTLEN_REGISTRY", saved);
    else
        qunsetenv("TINTLEN_REGISTRY");
    EXPECT_TRUE(withoutEntry.isEmpty());
    EXPECT_EQ(withEntry, "/opt/kuvertalia/kuvertalia -mailto %1");
}
