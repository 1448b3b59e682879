#pragma once

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TextFile.h"

#include <QString>
#include <QStringList>

#include <array>

// Raised by the template file and the template language with a German message.
class EFormularerror : public Exception
{
public:
    using Exception::Exception;
};

// Sections of a template file, in file order.
enum TFormularSection {
    fsFormularvorgaben = 0,
    fsDokumentanfang,
    fsKopfzeile,
    fsFormularanfang,
    fsTabellenkopf,
    fsTabelleneintrag,
    fsTabellenfuss,
    fsFormularende,
    fsFusszeile,
    fsDokumentende,
    fsAnlage,
    fsFEOF,
    FormularSectionCount
};

// The names that mark each section in the file (after a "!").
const std::array<QString, FormularSectionCount> &FormularSectionNames();

// The two advertisement lines that new templates and generated e-mails carry
// unless the program setting turns them off.
const QStringList &AdvertisementLines();

// "Werbung" of section "Init" switches the advertisement off only when it holds
// exactly "nein".
bool IsAdvertisementOff(const QString &werbungSetting);

// One e-mail template (".frm" file) in memory.
class TFormular
{
public:
    TFormular();

    QStringList &Section(int index) { return m_sections.at(index); }
    const QStringList &Section(int index) const { return m_sections.at(index); }

    QString SendTo;
    QString CC;
    QString BCC;
    QString Betreff;
    bool SpeichernInGesendet = true;
    QString NachrichtSpeichernIn;
    bool AlsAnlageSenden = false;
    QString Anlagename;
    qint32 MaxTabellenzeilen = 0;
    bool Zwischensumme = false;

    // Program setting, not part of the file: new templates then get no
    // advertisement lines.
    bool WerbungAus = false;

    // The character set the file is written in: the one it was read in, or
    // Windows-1252 for new templates and files that are plain ASCII.
    TextEncoding Encoding = TextEncoding::Windows1252;

    // False when the name is empty (after a message box) or the file does not
    // exist (the object then holds the new-template defaults).
    bool LoadFromFile(const QString &fileName);

    // Writes atomically. Refuses an empty name and any content the file format
    // could not read back unchanged (EFormularerror; nothing is written).
    void SaveToFile(const QString &fileName) const;

    // Descriptions of the lines and values that would not survive a save and a
    // reload unchanged; empty when the object can be saved.
    QStringList UnkeepableLines() const;

private:
    void Clear();
    void FillNewTemplateDefaults();
    void ReadLines(const QStringList &lines);
    bool ReadHeaderLine(const QString &line);
    QStringList FileLines() const;

    std::array<QStringList, FormularSectionCount> m_sections;
};

// The name both operations use: ".frm" appended unless the name ends in it
// exactly (with case).
QString NormalizedFormularName(const QString &fileName);
