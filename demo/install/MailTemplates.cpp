#include "demo/install/MailTemplates.h"

#include "demo/tables/FormRows.h"
#include "demo/tables/SettingsData.h"
#include "platform/runtime/TextFile.h"

#include <QDir>
#include <QStringList>

namespace demo {
namespace {

// The names the template language knows the tables of a document by.
struct Vocabulary
{
    QString head;
    QString partner;
};

Vocabulary vocabularyOf(const QString &module)
{
    if (module == QLatin1String("Auftrag"))
        return {QStringLiteral("Auftrag"), QStringLiteral("Kunden")};
    return {QStringLiteral("Bestellung"), QStringLiteral("Lieferant")};
}

QString documentName(const QString &formType)
{
    if (formType == QLatin1String("Auftragsbest."))
        return QStringLiteral("Auftragsbestätigung");
    if (formType == QLatin1String("Sonstiges"))
        return QStringLiteral("Schreiben");
    return formType;
}

QString companyName()
{
    return companySetupRows().constFirst().value("Firma").toString();
}

// Documents whose printed form lists quantities only, without prices.
bool listsPrices(const QString &formType)
{
    static const QStringList quantitiesOnly = {QStringLiteral("Lieferschein"), QStringLiteral("Anfrage"),
                                               QStringLiteral("Stornierung"), QStringLiteral("Sonstiges")};
    return !quantitiesOnly.contains(formType);
}

// Where a position line's amount ends: number, description, quantity and
// amount, each behind a blank. Subtotals and sums end there too.
constexpr int kAmountEnd = 4 + 1 + 40 + 1 + 8 + 1 + 11;

// A subtotal line of the table: the label right-aligned in front of the
// amount column.
QString subtotalLine(const QString &label, const QString &sum)
{
    return label.rightJustified(kAmountEnd - 12) + QStringLiteral(" #") + sum + QStringLiteral(":11:2");
}

// The table of positions, numbered as on paper: text lines carry no
// number; where the paper prints a subtotal line, so does a priced e-mail
// (the template asks for subtotal rows), and a customer never reads a
// marker. Amounts are those of the document's own currency, the one the
// running sums add up and "#Var_Währung" names.
QStringList positionLines(bool prices)
{
    const QString header = QStringLiteral("Pos. ") + QStringLiteral("Bezeichnung").leftJustified(40)
                           + QStringLiteral("    Menge") + (prices ? QStringLiteral("      Betrag") : QString());
    QStringList lines = {
        QStringLiteral("!Tabellenkopf"),
        header,
        QString(header.size(), QLatin1Char('-')),
        QStringLiteral("!Tabelleneintrag"),
        QStringLiteral("!Var #Textzeile=#Pos_posdruck = 0"),
        QStringLiteral("!Wenn #Pos_posdruck <> 0"),
        QStringLiteral("#Pos_posdruck:4 #Pos_Bezeichnung:m40 #Pos_menge:8:2")
            + (prices ? QStringLiteral(" #Pos_gpreisWae:11:2") : QString()),
        QStringLiteral("!EndeWenn"),
    };
    const QString subtotal = subtotalLine(QStringLiteral("Zwischensumme"), QStringLiteral("Var_Übertrag"));
    const QString blockSum =
        subtotalLine(QStringLiteral("Summe dieses Abschnitts"), QStringLiteral("Var_ÜbertragBlock"));
    // Conditions compare texts exactly: clerks type the markers in either case.
    const QList<QPair<QString, QString>> subtotals = {
        {QStringLiteral("#ZS"), subtotal}, {QStringLiteral("#zs"), subtotal},  {QStringLiteral("#Z"), subtotal},
        {QStringLiteral("#z"), subtotal},  {QStringLiteral("#ZWB"), blockSum}, {QStringLiteral("#zwb"), blockSum},
    };
    for (const auto &[marker, line] : subtotals) {
        lines << QStringLiteral("!Wenn #Pos_Bezeichnung = \"%1\"").arg(marker)
              << QStringLiteral("!Var #Textzeile=false");
        if (prices)
            lines << line;
        lines << QStringLiteral("!EndeWenn");
    }
    return lines
           + QStringList{QStringLiteral("!Wenn #Textzeile"), QStringLiteral("     #Pos_Bezeichnung:m40"),
                         QStringLiteral("!EndeWenn")};
}

// Net sum, the tax of each rate and the total, as the printed document
// closes its table, in the document's own currency. Labels are padded by
// the width they print with, so that the amounts stand in one column.
QStringList totalLines(const QString &head)
{
    const auto inDocumentCurrency = [&head](const QString &amount) { return head + amount + QStringLiteral("Wae"); };
    constexpr int labelWidth = kAmountEnd - 12;
    const QString rule = QString(kAmountEnd - 15, QLatin1Char(' ')) + QString(15, QLatin1Char('-'));
    const auto line = [](const QString &label, int printedWidth, const QString &amount) {
        return label + QString(labelWidth - printedWidth, QLatin1Char(' ')) + amount + QStringLiteral(" #Var_Währung");
    };
    // "zzgl. " + the tax name in 5 columns + " " + the rate as wide as its
    // digits + " %": a rate given a width would be right-aligned and stand
    // behind a blank of its own. The line for a one-digit rate pads one
    // column more; the rate's difference from 10 carries a minus sign just
    // then, and a comparison with a text compares texts.
    const auto tax = [&](const QString &rate, const QString &amount) {
        const QString label = QStringLiteral("zzgl. #Var_SteuerBezeichnung:5 #Var_%1::0 %").arg(rate);
        const QString sum = inDocumentCurrency(amount) + QStringLiteral(":12:2");
        const QString digits = QStringLiteral("#Var_%1 - 10").arg(rate);
        return QStringList{
            QStringLiteral("!Wenn %1 < 0").arg(digits),  line(label, 15, sum), QStringLiteral("!EndeWenn"),
            QStringLiteral("!Wenn %1 >= 0").arg(digits), line(label, 16, sum), QStringLiteral("!EndeWenn"),
        };
    };
    const QString net = QStringLiteral("Summe netto");
    const QString total = QStringLiteral("Gesamtbetrag");
    return QStringList{rule, line(net, int(net.size()), QStringLiteral("#Var_Übertrag:12:2"))}
           + tax(QStringLiteral("Mwst1"), QStringLiteral("steuer1"))
           + QStringList{QStringLiteral("!Wenn ") + inDocumentCurrency(QStringLiteral("steuer2"))
                         + QStringLiteral(" <> 0")}
           + tax(QStringLiteral("Mwst2"), QStringLiteral("steuer2"))
           + QStringList{QStringLiteral("!EndeWenn"), rule,
                         line(total, int(total.size()),
                              inDocumentCurrency(QStringLiteral("endbetrag")) + QStringLiteral(":12:2"))};
}

QStringList templateLines(const QString &document, const Vocabulary &names, bool prices)
{
    const QString head = QLatin1Char('#') + names.head + QLatin1Char('_');
    const QString partner = QLatin1Char('#') + names.partner + QLatin1Char('_');
    return QStringList{
               QStringLiteral("!Formularvorgaben"),
               QStringLiteral("Vorlage der Demo: %1 als E-Mail.").arg(document),
               QString(),
               QStringLiteral("!Sendto ") + partner + QStringLiteral("EMail"),
               QStringLiteral("!CC "),
               QStringLiteral("!BCC "),
               QStringLiteral("!Betreff %1 Nr. %2auftragnr").arg(document, head),
               QStringLiteral("!Zwischensumme"),
               QStringLiteral("!Dokumentanfang"),
               partner + QStringLiteral("briefanrede"),
               QString(),
               QStringLiteral("nachfolgend erhalten Sie den Beleg \"%1 Nr. %2auftragnr\".").arg(document, head),
               QStringLiteral("!Kopfzeile"),
               QStringLiteral("!Formularanfang"),
               QString(),
           }
           + positionLines(prices) + QStringList{QStringLiteral("!Tabellenfuss"), QStringLiteral("!Formularende")}
           + (prices ? totalLines(head) : QStringList())
           + QStringList{
               QStringLiteral("!Fusszeile"),
               QStringLiteral("!Dokumentende"),
               QString(),
               QStringLiteral("Mit freundlichen Grüßen"),
               companyName(),
               // Attachment mode sends this text unchanged as the message
               // body: it holds no placeholders.
               QStringLiteral("!Anlage"),
               QStringLiteral("Sehr geehrte Damen und Herren,"),
               QString(),
               QStringLiteral("anbei erhalten Sie den Beleg \"%1\" als Textdatei.").arg(document),
               QString(),
               QStringLiteral("Mit freundlichen Grüßen"),
               companyName(),
               QStringLiteral("!FEOF"),
           };
}

}

void writeMailTemplates(const QString &formFolder)
{
    for (const Row &row : formRows()) {
        const QString type = row.value("Typ").toString();
        if (!type.endsWith(QLatin1String("-eMail")))
            continue;
        const QString formType = type.chopped(6);
        const QStringList lines =
            templateLines(documentName(formType), vocabularyOf(row.value("Modul").toString()), listsPrices(formType));
        WriteTextFile(QDir(formFolder).filePath(formRowFile(row)),
                      lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), TextEncoding::Windows1252);
    }
}

}
