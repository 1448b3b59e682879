#include "mail/formularmodul.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FormularFile : public testing::Test
{
protected:
    void SetUp() override { ui::installServices(&m_ui); }
    void TearDown() override { ui::installServices(nullptr); }

    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    void WriteBytes(const QString &name, const QByteArray &bytes) const
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadBytes(const QString &name) const
    {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    ui::RecordingUiServices m_ui;
};

const QByteArray CompleteFile = "!Formularvorgaben\r\n"
                                "Eine Notiz\r\n"
                                "\r\n"
                                "!Sendto #Kunden_EMail; buero@example.com\r\n"
                                "!CC kopie@example.com\r\n"
                                "!BCC \r\n"
                                "!Betreff Ihre Rechnung #Auftrag_Auftragnr vom #Auftrag_Datum\r\n"
                                "!SpeichernImPapierkorb\r\n"
                                "!NachrichtSpeichernIn Rechnungen\r\n"
                                "!AlsAnlageSenden rechnung.txt\r\n"
                                "!MaxTabellenzeilen 25\r\n"
                                "!Zwischensumme\r\n"
                                "!Dokumentanfang\r\n"
                                "Sehr geehrte Damen und Herren,\r\n"
                                "!Kopfzeile\r\n"
                                "Seite #Var_Seite\r\n"
                                "!Formularanfang\r\n"
                                "Rechnung\r\n"
                                "!Tabellenkopf\r\n"
                                "Pos Bezeichnung\r\n"
                                "!Tabelleneintrag\r\n"
                                "#Pos_Posnr:3 #Pos_Bezeichnung:m30\r\n"
                                "!Tabellenfuss\r\n"
                                "Übertrag #Var_Übertrag:12:2\r\n"
                                "!Formularende\r\n"
                                "Summe\r\n"
                                "!Fusszeile\r\n"
                                "--\r\n"
                                "!Dokumentende\r\n"
                                "Mit freundlichen Grüßen\r\n"
                                "!Anlage\r\n"
                                "anlage\r\n"
                                "!FEOF\r\n"
                                "ende\r\n";

TEST_F(FormularFile, CompleteFileReadsIntoEveryFieldAndSavesByteForByte)
{
    WriteBytes("complete.frm", CompleteFile);
    TFormular formular;
    ASSERT_TRUE(formular.LoadFromFile(PathOf("complete")));

    EXPECT_EQ(formular.Section(fsFormularvorgaben), QStringList({"Eine Notiz", ""}));
    EXPECT_EQ(formular.SendTo, "#Kunden_EMail; buero@example.com");
    EXPECT_EQ(formular.CC, "kopie@example.com");
    EXPECT_EQ(formular.BCC, "");
    EXPECT_EQ(formular.Betreff, "Ihre Rechnung #Auftrag_Auftragnr vom #Auftrag_Datum");
    EXPECT_FALSE(formular.SpeichernInGesendet);
    EXPECT_EQ(formular.NachrichtSpeichernIn, "Rechnungen");
    EXPECT_TRUE(formular.AlsAnlageSenden);
    EXPECT_EQ(formular.Anlagename, "rechnung.txt");
    EXPECT_EQ(formular.MaxTabellenzeilen, 25);
    EXPECT_TRUE(formular.Zwischensumme);
    EXPECT_EQ(formular.Section(fsTabelleneintrag), QStringList({"#Pos_Posnr:3 #Pos_Bezeichnung:m30"}));
    EXPECT_EQ(formular.Section(fsTabellenfuss), QStringList({"Übertrag #Var_Übertrag:12:2"}));
    EXPECT_EQ(formular.Section(fsFEOF), QStringList({"ende"}));
    EXPECT_EQ(formular.Encoding, TextEncoding::Utf8);

    formular.SaveToFile(PathOf("copy.frm"));
    EXPECT_EQ(ReadBytes("copy.frm"), CompleteFile);
}

TEST_F(FormularFile, NewObjectSavesTheFixedHeaderAndNoEmptySections)
{
    TFormular formular;
    formular.SaveToFile(PathOf("leer"));
    EXPECT_EQ(ReadBytes("leer.frm"), QByteArray("!Formularvorgaben\r\n"
                                                "!Sendto \r\n"
                                                "!CC \r\n"
                                                "!BCC \r\n"
                                                "!Betreff \r\n"
                                                "!SpeichernInGesendet\r\n"
                                                "!NachrichtSpeichernIn \r\n"
                                                "!MaxTabellenzeilen 0\r\n"));
}

TEST_F(FormularFile, HeaderKeywordsCompareWithCaseAndSectionLinesMustMatchWhole)
{
    WriteBytes("case.frm", "!sendto klein@example.com\r\n"
                           "!MaxTabellenzeilen zehn\r\n"
                           "!Kopfzeile \r\n"
                           "!Kopfzeile\r\n"
                           "Kopf\r\n"
                           "!Formularvorgaben\r\n"
                           "!Betreff spät\r\n"
                           "!dokumentende\r\n");
    TFormular formular;
    ASSERT_TRUE(formular.LoadFromFile(PathOf("case.frm")));
    EXPECT_EQ(formular.SendTo, "");
    EXPECT_EQ(formular.MaxTabellenzeilen, 0);
    EXPECT_EQ(formular.Betreff, "spät");
    EXPECT_EQ(formular.Section(fsFormularvorgaben),
              QStringList({"!sendto klein@example.com", "!Kopfzeile ", "!dokumentende"}));
    EXPECT_EQ(formular.Section(fsKopfzeile), QStringList({"Kopf"}));
}

TEST_F(FormularFile, HeaderLinesInsideLaterSectionsAreTemplateLines)
{
    WriteBytes("later.frm", "!Dokumentanfang\r\n!Betreff kein Kopf\r\n!Unbekannt\r\n");
    TFormular formular;
    ASSERT_TRUE(formular.LoadFromFile(PathOf("later.frm")));
    EXPECT_EQ(formular.Betreff, "");
    EXPECT_EQ(formular.Section(fsDokumentanfang), QStringList({"!Betreff kein Kopf", "!Unbekannt"}));
}

TEST_F(FormularFile, NamesGetTheLowerCaseExtensionUnlessTheyEndInIt)
{
    EXPECT_EQ(NormalizedFormularName("rechnung"), "rechnung.frm");
    EXPECT_EQ(NormalizedFormularName("rechnung.frm"), "rechnung.frm");
    EXPECT_EQ(NormalizedFormularName("RECHNUNG.FRM"), "RECHNUNG.FRM.frm");

    TFormular formular;
    formular.Betreff = "x";
    formular.SaveToFile(PathOf("angebot"));
    TFormular again;
    EXPECT_TRUE(again.LoadFromFile(PathOf("angebot.frm")));
    EXPECT_EQ(again.Betreff, "x");
}

TEST_F(FormularFile, NamesResolveWithoutRegardToCaseAndWithBackslashes)
{
    WriteBytes("Rechnung.frm", "!Formularvorgaben\r\n!Betreff alt\r\n");
    TFormular formular;
    ASSERT_TRUE(formular.LoadFromFile(m_dir.path() + "\\rechnung"));
    EXPECT_EQ(formular.Betreff, "alt");
    formular.Betreff = "neu";
    formular.SaveToFile(PathOf("RECHNUNG"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"Rechnung.frm"}));
    EXPECT_TRUE(ReadBytes("Rechnung.frm").contains("!Betreff neu\r\n"));
}

TEST_F(FormularFile, MissingFileGivesTheNewTemplateDefaults)
{
    TFormular formular;
    formular.Betreff = "alt";
    EXPECT_FALSE(formular.LoadFromFile(PathOf("fehlt")));
    EXPECT_EQ(formular.Betreff, "");
    EXPECT_EQ(formular.Section(fsFormularvorgaben).size(), 3);
    EXPECT_EQ(formular.Section(fsFormularvorgaben).first(),
              "Sie befinden sich gerade im Vorgaben-Bereich des Formulars.");
    const QStringList expectedEnd{"", AdvertisementLines()[0], AdvertisementLines()[1]};
    EXPECT_EQ(formular.Section(fsDokumentende), expectedEnd);
    EXPECT_TRUE(AdvertisementLines()[1].startsWith("Eine kostenlose Prüfversion finden Sie auf "));
    EXPECT_TRUE(m_ui.messages().isEmpty());

    formular.SaveToFile(PathOf("neu"));
    EXPECT_TRUE(ReadBytes("neu.frm").contains("Pr\xFC"
                                              "fversion"))
        << "new templates are written in Windows-1252";
    EXPECT_TRUE(ReadBytes("neu.frm").contains("daher k\xF6nnen\r\n"));

    formular.WerbungAus = true;
    EXPECT_FALSE(formular.LoadFromFile(PathOf("fehlt")));
    EXPECT_EQ(formular.Section(fsDokumentende), QStringList({""}));
    // Only the exact word switches the advertisement off.
    EXPECT_TRUE(IsAdvertisementOff("nein"));
    for (const char *other : {"Nein", "", "ja"})
        EXPECT_FALSE(IsAdvertisementOff(other)) << other;
}

TEST_F(FormularFile, EmptyNameIsRefusedAndAnUnwritableFolderRaises)
{
    TFormular formular;
    formular.SendTo = "a@example.com";
    EXPECT_FALSE(formular.LoadFromFile(""));
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_EQ(m_ui.messages()[0].text, "Formularname fehlt. Bitte geben Sie einen Formularnamen an.");
    EXPECT_EQ(formular.SendTo, "");
    EXPECT_TRUE(formular.Section(fsDokumentende).isEmpty());

    const QString current = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    EXPECT_THROW(formular.SaveToFile(""), EFormularerror);
    EXPECT_THROW(formular.SaveToFile(".frm"), EFormularerror);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(".frm")));
    QDir::setCurrent(current);
    EXPECT_THROW(formular.SaveToFile(PathOf("fehlt/ordner/vorlage")), EInOutError);
}

TEST_F(FormularFile, Windows1252FilesKeepTheirCodePage)
{
    const QByteArray bytes = "!Formularvorgaben\r\n"
                             "!Sendto \r\n!CC \r\n!BCC \r\n"
                             "!Betreff Gr\xFC\xDF"
                             "e aus K\xF6ln\r\n"
                             "!SpeichernInGesendet\r\n!NachrichtSpeichernIn \r\n!MaxTabellenzeilen 0\r\n"
                             "!Tabellenfuss\r\n"
                             "Summe in \x80: #Var_\xDC"
                             "bertrag\r\n";
    WriteBytes("ansi.frm", bytes);
    TFormular formular;
    ASSERT_TRUE(formular.LoadFromFile(PathOf("ansi.frm")));
    EXPECT_EQ(formular.Encoding, TextEncoding::Windows1252);
    EXPECT_EQ(formular.Betreff, "Grüße aus Köln");
    EXPECT_EQ(formular.Section(fsTabellenfuss), QStringList({"Summe in €: #Var_Übertrag"}));

    formular.SaveToFile(PathOf("ansi.frm"));
    EXPECT_EQ(ReadBytes("ansi.frm"), bytes);
}

class UnkeepableContent : public FormularFile
{
protected:
    void ExpectRefusedAndOriginalKept(const TFormular &formular)
    {
        WriteBytes("vorhanden.frm", "!Formularvorgaben\r\nalt\r\n");
        EXPECT_FALSE(formular.UnkeepableLines().isEmpty());
        EXPECT_THROW(formular.SaveToFile(PathOf("vorhanden")), EFormularerror);
        EXPECT_EQ(ReadBytes("vorhanden.frm"), QByteArray("!Formularvorgaben\r\nalt\r\n"));
    }
};

TEST_F(UnkeepableContent, SectionMarkerAsContentIsReported)
{
    TFormular formular;
    formular.Section(fsDokumentanfang) << "Text"
                                       << "!Kopfzeile";
    const QStringList problems = formular.UnkeepableLines();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("\"!Kopfzeile\""));
    EXPECT_TRUE(problems[0].contains("\"Dokumentanfang\""));
    ExpectRefusedAndOriginalKept(formular);
}

// A note that reads as a header line, and line breaks in lines or values.
TEST_F(UnkeepableContent, HeaderLikeNotesAndLineBreaksAreReported)
{
    TFormular note, inLine, inValue;
    note.Section(fsFormularvorgaben) << "!Betreff wird sonst zum Betreff";
    inLine.Section(fsFusszeile) << "eins\r\nzwei";
    inValue.Betreff = "eins\nzwei";
    for (const TFormular *formular : {&note, &inLine, &inValue})
        ExpectRefusedAndOriginalKept(*formular);
    TFormular lowerCase;
    lowerCase.Section(fsFormularvorgaben) << "!betreff bleibt Notiz";
    EXPECT_TRUE(lowerCase.UnkeepableLines().isEmpty());
}

TEST_F(UnkeepableContent, CharactersOutsideTheCodePageAreReportedOnlyForWindows1252)
{
    TFormular formular;
    formular.Section(fsDokumentanfang) << "Pfeil →";
    ExpectRefusedAndOriginalKept(formular);

    formular.Encoding = TextEncoding::Utf8;
    EXPECT_TRUE(formular.UnkeepableLines().isEmpty());
    formular.SaveToFile(PathOf("utf8"));
    TFormular again;
    again.LoadFromFile(PathOf("utf8"));
    EXPECT_EQ(again.Section(fsDokumentanfang), QStringList({"Pfeil →"}));
}

} // namespace
