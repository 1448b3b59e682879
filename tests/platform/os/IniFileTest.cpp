#include "platform/os/IniFile.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("Tintlen.ini")) const { return dir.filePath(name); }

    void write(const QByteArray &bytes, const QString &name = QStringLiteral("Tintlen.ini"))
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray bytes(const QString &name = QStringLiteral("Tintlen.ini")) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(IniFileTest, ReadsCaseFreeTrimmedAndWithDefaults)
{
    write("[Init]\r\n"
          "  ToPrint =  Auftrag  \r\n"
          "Datenfilter=Nr=5 and Typ='R'\r\n"
          "Zitat=\"  mit Rand  \"\r\n"
          "; Kommentar=kein Schlüssel\r\n"
          "[Auftrag]\r\nFormTyp=L\r\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("init", "TOPRINT", "x"), "Auftrag");
    EXPECT_EQ(ini.ReadString(" Init ", "toprint", "x"), "Auftrag");
    EXPECT_EQ(ini.ReadString("Init", "Datenfilter", ""), "Nr=5 and Typ='R'");
    EXPECT_EQ(ini.ReadString("Init", "Zitat", ""), "  mit Rand  ");
    EXPECT_EQ(ini.ReadString("Init", "; Kommentar", "fehlt"), "fehlt");
    EXPECT_EQ(ini.ReadString("Init", "Fehlt", "vorgabe"), "vorgabe");
    EXPECT_EQ(ini.ReadString("Fehlt", "ToPrint", "vorgabe"), "vorgabe");
    EXPECT_EQ(TIniFile(path("gibtsnicht.ini")).ReadString("Init", "ToPrint", "d"), "d");
    EXPECT_EQ(ini.ReadSections(), QStringList({"Init", "Auftrag"}));
    EXPECT_EQ(ini.ReadSection("INIT"), QStringList({"ToPrint", "Datenfilter", "Zitat"}));
    EXPECT_EQ(ini.ReadSectionValues("auftrag"), QStringList({"FormTyp=L"}));
}

TEST_F(IniFileTest, FirstOfDuplicateSectionsAndKeysCounts)
{
    write("[A]\nk=1\nk=2\n[b]\nx=1\n[a]\nk=3\nm=4\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("a", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("a", "m", "none"), "none");
    EXPECT_EQ(ini.ReadSection("A"), QStringList({"k"}));
    EXPECT_EQ(ini.ReadSections(), QStringList({"A", "b"}));
    ini.WriteString("a", "K", "neu");
    EXPECT_EQ(bytes(), "[A]\nk=neu\nk=2\n[b]\nx=1\n[a]\nk=3\nm=4\n");
    ini.DeleteKey("a", "k");
    EXPECT_EQ(bytes(), "[A]\n[b]\nx=1\n[a]\nk=3\nm=4\n");
    ini.EraseSection("A");
    EXPECT_EQ(bytes(), "[b]\nx=1\n");
}

TEST_F(IniFileTest, WritingKeepsAnotherProgramsSectionsAndComments)
{
    const QByteArray foreign = "; Kuvertalia Warenwirtschaft\r\n"
                               "[Init]\r\n"
                               "ToPrint=Auftrag\r\n"
                               "; Pfade setzt die Installation\r\n"
                               "DatenPfad=C:\\Kuvertalia\\Daten\\\r\n"
                               "\r\n"
                               "[Fremd]\r\n"
                               "Wert = 7 \r\n";
    write(foreign);
    TIniFile ini(path());
    ini.WriteString("init", "Schliessen", "ja");
    ini.WriteString("INIT", "toprint", "Rechnung");
    ini.WriteString("Neu", "Tabsheet", "Email");
    EXPECT_EQ(bytes(), "; Kuvertalia Warenwirtschaft\r\n"
                       "[Init]\r\n"
                       "ToPrint=Rechnung\r\n"
                       "; Pfade setzt die Installation\r\n"
                       "DatenPfad=C:\\Kuvertalia\\Daten\\\r\n"
                       "Schliessen=ja\r\n"
                       "\r\n"
                       "[Fremd]\r\n"
                       "Wert = 7 \r\n"
                       "[Neu]\r\n"
                       "Tabsheet=Email\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Tintlen.ini"}));
}

TEST_F(IniFileTest, KeepsTheEncodingItRead)
{
    write("[Init]\r\nName=M\xFC"
          "nchen\r\n",
          "ansi.ini");
    write("[Init]\nName=M\xC3\xBC"
          "nchen\n",
          "utf8.ini");
    TIniFile ansi(path("ansi.ini"));
    TIniFile utf8(path("utf8.ini"));
    EXPECT_EQ(ansi.ReadString("Init", "Name", ""), QStringLiteral("München"));
    EXPECT_EQ(utf8.ReadString("Init", "Name", ""), QStringLiteral("München"));
    ansi.WriteString("Init", "Summe", QStringLiteral("5 €"));
    utf8.WriteString("Init", "Summe", QStringLiteral("5 €"));
    EXPECT_EQ(bytes("ansi.ini"), "[Init]\r\nName=M\xFC"
                                 "nchen\r\nSumme=5 \x80\r\n");
    EXPECT_EQ(bytes("utf8.ini"), "[Init]\nName=M\xC3\xBC"
                                 "nchen\nSumme=5 \xE2\x82\xAC\n");
    TIniFile fresh(path("neu.ini"));
    fresh.WriteString("Init", "Straße", QStringLiteral("Größe"));
    EXPECT_EQ(bytes("neu.ini"), "[Init]\r\nStra\xDF"
                                "e=Gr\xF6\xDF"
                                "e\r\n");
}

TEST_F(IniFileTest, NumbersAndBooleans)
{
    write("[S]\nja=ja\neins=1\nminus=-1\nnull=0\nhex=0x10\nkomma=2,5\npunkt=2.5\n");
    TIniFile ini(path());
    EXPECT_TRUE(ini.ReadBool("S", "eins", false));
    EXPECT_TRUE(ini.ReadBool("S", "minus", false));
    EXPECT_TRUE(ini.ReadBool("S", "hex", false));
    EXPECT_FALSE(ini.ReadBool("S", "null", true));
    EXPECT_TRUE(ini.ReadBool("S", "ja", true));
    EXPECT_FALSE(ini.ReadBool("S", "ja", false));
    EXPECT_FALSE(ini.ReadBool("S", "fehlt", false));
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "komma", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "komma", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "punkt", -1), -1);
    ini.WriteBool("S", "eMailVorschau", true);
    ini.WriteBool("S", "Standardclient", false);
    ini.WriteInteger("S", "Links", -20);
    ini.WriteFloat("S", "Faktor", 0.1);
    EXPECT_TRUE(bytes().endsWith("eMailVorschau=1\nStandardclient=0\nLinks=-20\nFaktor=0,1\n"));
}

TEST_F(IniFileTest, ExistenceQueries)
{
    write("[Leer]\n[Voll]\nA=\n");
    TIniFile ini(path());
    EXPECT_FALSE(ini.SectionExists("Leer"));
    EXPECT_TRUE(ini.SectionExists("voll"));
    EXPECT_TRUE(ini.ValueExists("VOLL", "a"));
    EXPECT_EQ(ini.ReadString("Voll", "A", "d"), "");
    EXPECT_FALSE(ini.ValueExists("Voll", "B"));
}

TEST_F(IniFileTest, ValuesRoundTripWhateverTheirLengthOrQuotes)
{
    TIniFile ini(path());
    const QString longValue(100000, QLatin1Char('x'));
    const QString quoted = QStringLiteral("\"C:\\Mail\\mail.exe\" \"%1\"");
    ini.WriteString("S", "lang", longValue);
    ini.WriteString("S", "quoted", quoted);
    ini.WriteString("S", "blanks", "  a  ");
    EXPECT_EQ(ini.ReadString("S", "lang", ""), longValue);
    EXPECT_EQ(ini.ReadString("S", "quoted", ""), quoted);
    EXPECT_EQ(ini.ReadString("S", "blanks", ""), "  a  ");
}

TEST_F(IniFileTest, BadWritesRaiseAndChangeNothingNorDoErasesInAMissingFile)
{
    write("[Init]\r\nA=1\r\n");
    TIniFile ini(path());
    EXPECT_THROW(ini.WriteString("Init", "B", "zwei\r\n[Init]"), EInvalidOperation);
    EXPECT_THROW(ini.WriteString("Init", "B=C", "1"), EInvalidOperation);
    EXPECT_THROW(ini.WriteString("In]it", "B", "1"), EInvalidOperation);
    EXPECT_THROW(ini.WriteString("Init", "", "1"), EInvalidOperation);
    EXPECT_THROW(TIniFile(dir.filePath("fehlt/x.ini")).WriteString("A", "B", "C"), EInOutError);
    EXPECT_EQ(bytes(), "[Init]\r\nA=1\r\n");
    TIniFile missing(path("nichts.ini"));
    missing.EraseSection("A");
    missing.DeleteKey("A", "B");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"Tintlen.ini"}))
        << "erasing or deleting in a missing file creates nothing";
}

TEST_F(IniFileTest, PathIsResolvedWithoutRegardToCase)
{
    write("[Init]\r\nA=1\r\n");
    TIniFile ini(dir.path() + QStringLiteral("\\tintlen.INI"));
    EXPECT_EQ(ini.ReadString("Init", "A", ""), "1");
    ini.WriteString("Init", "B", "2");
    EXPECT_EQ(bytes(), "[Init]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(ini.FileName(), dir.path() + QStringLiteral("\\tintlen.INI"));
}
