#include "mail/formularmodul.h"

#include "platform/os/Paths.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Cp1252.h"
#include "platform/runtime/StringLists.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

namespace {

const QString FormularExtension = QStringLiteral(".frm");
const QString MissingNameMessage = QStringLiteral("Formularname fehlt. Bitte geben Sie einen Formularnamen an.");

const QString KeySendTo = QStringLiteral("!Sendto");
const QString KeyCC = QStringLiteral("!CC");
const QString KeyBCC = QStringLiteral("!BCC");
const QString KeyBetreff = QStringLiteral("!Betreff");
const QString KeyGesendet = QStringLiteral("!SpeichernInGesendet");
const QString KeyPapierkorb = QStringLiteral("!SpeichernImPapierkorb");
const QString KeyOrdner = QStringLiteral("!NachrichtSpeichernIn");
const QString KeyAnlage = QStringLiteral("!AlsAnlageSenden");
const QString KeyMaxZeilen = QStringLiteral("!MaxTabellenzeilen");
const QString KeyZwischensumme = QStringLiteral("!Zwischensumme");

const QStringList &HeaderKeywords()
{
    static const QStringList keywords{KeySendTo,     KeyCC,     KeyBCC,    KeyBetreff,   KeyGesendet,
                                      KeyPapierkorb, KeyOrdner, KeyAnlage, KeyMaxZeilen, KeyZwischensumme};
    return keywords;
}

// A header line is a keyword up to the first blank and the value after it.
struct HeaderLine
{
    QString keyword;
    QString value;
};

HeaderLine SplitHeaderLine(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {line, QString()};
    return {line.left(blank), line.mid(blank + 1)};
}

bool IsHeaderLine(const QString &line)
{
    return HeaderKeywords().contains(SplitHeaderLine(line).keyword);
}

int SectionOfMarker(const QString &line)
{
    const auto &names = FormularSectionNames();
    for (int i = 0; i < FormularSectionCount; ++i) {
        if (line == QLatin1Char('!') + names[i])
            return i;
    }
    return -1;
}

bool FitsEncoding(const QString &text, TextEncoding encoding)
{
    if (encoding != TextEncoding::Windows1252)
        return true;
    bool lossless = true;
    cp1252::encode(text, &lossless);
    return lossless;
}

// Why a text cannot stand on one line of the file; empty when it can.
QString StorageProblem(const QString &text, TextEncoding encoding)
{
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return QStringLiteral(" enthält einen Zeilenumbruch.");
    if (!FitsEncoding(text, encoding))
        return QStringLiteral(" enthält Zeichen, die im Zeichensatz der Datei nicht gespeichert werden können.");
    return QString();
}

// Why a stored line would read back as something else; empty when it would not.
QString ReadBackProblem(const QString &line, int section)
{
    if (SectionOfMarker(line) >= 0)
        return QStringLiteral(" würde beim Laden als Bereichsanfang gelesen.");
    if (section == fsFormularvorgaben && IsHeaderLine(line))
        return QStringLiteral(" würde beim Laden als Formularvorgabe gelesen.");
    return QString();
}

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

const std::array<QString, FormularSectionCount> &FormularSectionNames()
{
    static const std::array<QString, FormularSectionCount> names{
        QStringLiteral("Formularvorgaben"), QStringLiteral("Dokumentanfang"), QStringLiteral("Kopfzeile"),
        QStringLiteral("Formularanfang"),   QStringLiteral("Tabellenkopf"),   QStringLiteral("Tabelleneintrag"),
        QStringLiteral("Tabellenfuss"),     QStringLiteral("Formularende"),   QStringLiteral("Fusszeile"),
        QStringLiteral("Dokumentende"),     QStringLiteral("Anlage"),         QStringLiteral("FEOF")};
    return names;
}

const QStringList &AdvertisementLines()
{
    static const QStringList lines{
        QStringLiteral("Erstellt mit Orbisal 7.0, der Auftragsbearbeitung von Velmora Software."),
        QStringLiteral("Eine kostenlose Prüfversion finden Sie auf www.velmora-software.de")};
    return lines;
}

bool IsAdvertisementOff(const QString &werbungSetting)
{
    return werbungSetting == QStringLiteral("nein");
}

QString NormalizedFormularName(const QString &fileName)
{
    if (fileName.endsWith(FormularExtension, Qt::CaseSensitive))
        return fileName;
    return fileName + FormularExtension;
}

TFormular::TFormular() = default;

void TFormular::Clear()
{
    for (auto &section : m_sections)
        section.clear();
    SendTo.clear();
    CC.clear();
    BCC.clear();
    Betreff.clear();
    SpeichernInGesendet = true;
    NachrichtSpeichernIn.clear();
    AlsAnlageSenden = false;
    Anlagename.clear();
    MaxTabellenzeilen = 0;
    Zwischensumme = false;
    Encoding = TextEncoding::Windows1252;
}

void TFormular::FillNewTemplateDefaults()
{
    m_sections[fsDokumentende].append(QString());
    if (!WerbungAus)
        m_sections[fsDokumentende].append(AdvertisementLines());
    m_sections[fsFormularvorgaben] =
        QStringList{QStringLiteral("Sie befinden sich gerade im Vorgaben-Bereich des Formulars."),
                    QStringLiteral("Ein Text in diesem Bereich wird nicht verarbeitet, daher können"),
                    QStringLiteral("Sie hier Ihre Notizen eintragen.")};
}

bool TFormular::LoadFromFile(const QString &fileName)
{
    Clear();
    const QString name = NormalizedFormularName(fileName);
    if (name.length() < FormularExtension.length() + 1) {
        ui::services().messageBox(MissingNameMessage, ui::applicationTitle(), ui::MsgIcon::None, ui::MsgButtons::Ok);
        return false;
    }
    const QString path = os::resolvePath(name);
    if (!os::fileExists(path)) {
        FillNewTemplateDefaults();
        return false;
    }
    const TextFileContent content = ReadTextFile(path);
    Encoding = content.encoding;
    ReadLines(FromText(content.text));
    return true;
}

void TFormular::ReadLines(const QStringList &lines)
{
    int current = fsFormularvorgaben;
    for (const QString &line : lines) {
        if (current == fsFormularvorgaben && ReadHeaderLine(line))
            continue;
        const int marked = SectionOfMarker(line);
        if (marked >= 0)
            current = marked;
        else
            m_sections[current].append(line);
    }
}

bool TFormular::ReadHeaderLine(const QString &line)
{
    const HeaderLine header = SplitHeaderLine(line);
    const QString &key = header.keyword;
    if (key == KeySendTo)
        SendTo = header.value;
    else if (key == KeyCC)
        CC = header.value;
    else if (key == KeyBCC)
        BCC = header.value;
    else if (key == KeyBetreff)
        Betreff = header.value;
    else if (key == KeyGesendet)
        SpeichernInGesendet = true;
    else if (key == KeyPapierkorb)
        SpeichernInGesendet = false;
    else if (key == KeyOrdner)
        NachrichtSpeichernIn = header.value;
    else if (key == KeyAnlage) {
        AlsAnlageSenden = true;
        Anlagename = header.value;
    } else if (key == KeyMaxZeilen)
        MaxTabellenzeilen = StrToIntDef(header.value, 0);
    else if (key == KeyZwischensumme)
        Zwischensumme = true;
    else
        return false;
    return true;
}

QStringList TFormular::FileLines() const
{
    const auto &names = FormularSectionNames();
    const QChar bang = QLatin1Char('!');
    QStringList lines;
    lines << bang + names[fsFormularvorgaben];
    lines << m_sections[fsFormularvorgaben];
    lines << KeySendTo + ' ' + SendTo << KeyCC + ' ' + CC << KeyBCC + ' ' + BCC << KeyBetreff + ' ' + Betreff;
    lines << (SpeichernInGesendet ? KeyGesendet : KeyPapierkorb);
    lines << KeyOrdner + ' ' + NachrichtSpeichernIn;
    if (AlsAnlageSenden)
        lines << KeyAnlage + ' ' + Anlagename;
    lines << KeyMaxZeilen + ' ' + QString::number(MaxTabellenzeilen);
    if (Zwischensumme)
        lines << KeyZwischensumme;
    for (int i = fsDokumentanfang; i < FormularSectionCount; ++i) {
        if (m_sections[i].isEmpty())
            continue;
        lines << bang + names[i];
        lines << m_sections[i];
    }
    return lines;
}

QStringList TFormular::UnkeepableLines() const
{
    const auto &names = FormularSectionNames();
    QStringList problems;
    for (int i = 0; i < FormularSectionCount; ++i) {
        for (const QString &line : m_sections[i]) {
            QString problem = StorageProblem(line, Encoding);
            if (problem.isEmpty())
                problem = ReadBackProblem(line, i);
            if (!problem.isEmpty()) {
                problems << QStringLiteral("Die Zeile ") + Quoted(line) + QStringLiteral(" im Bereich ")
                                + Quoted(names[i]) + problem;
            }
        }
    }
    const QList<QPair<QString, QString>> values{{KeySendTo, SendTo},
                                                {KeyCC, CC},
                                                {KeyBCC, BCC},
                                                {KeyBetreff, Betreff},
                                                {KeyOrdner, NachrichtSpeichernIn},
                                                {KeyAnlage, AlsAnlageSenden ? Anlagename : QString()}};
    for (const auto &[key, value] : values) {
        const QString problem = StorageProblem(value, Encoding);
        if (!problem.isEmpty())
            problems << QStringLiteral("Die Vorgabe ") + Quoted(key.mid(1)) + problem;
    }
    return problems;
}

void TFormular::SaveToFile(const QString &fileName) const
{
    const QString name = NormalizedFormularName(fileName);
    if (name.length() < FormularExtension.length() + 1)
        throw EFormularerror(MissingNameMessage);
    const QStringList problems = UnkeepableLines();
    if (!problems.isEmpty()) {
        throw EFormularerror(QStringLiteral("Das Formular wurde nicht gespeichert:\r\n")
                             + problems.join(QStringLiteral("\r\n")));
    }
    WriteTextFile(os::resolvePath(name), Text(FileLines()), Encoding);
}
