#include "demo/tables/DocumentData.h"

#include "demo/tables/DemoArticles.h"
#include "demo/tables/MasterData.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"

namespace demo {
namespace {

// One line of a document as the clerk typed it: an article with a quantity,
// a free line with its own price, a marker ("#ZS", "#ZWB", "#Z") or a line
// of text alone (no article, quantity or price).
struct Line
{
    QString article;
    QString description;
    QVariant quantity;
    QVariant unitPrice;
    QString unit;
    QString taxKey;
    QString text;
};

Line sold(const QString &articleNr, double quantity, const QString &text = QString())
{
    const DemoArticle &article = demoArticle(articleNr);
    return Line{article.nr,   article.description, quantity, article.salesPrice / article.priceUnit,
                article.unit, article.taxKey,      text};
}

Line bought(const QString &articleNr, double quantity)
{
    const DemoArticle &article = demoArticle(articleNr);
    return Line{article.nr,   article.description, quantity, article.purchasePrice / article.priceUnit,
                article.unit, article.taxKey,      QString()};
}

Line service(const QString &description, double quantity, double unitPrice, const QString &unit,
             const QString &text = QString())
{
    return Line{QString(), description, quantity, unitPrice, unit, QStringLiteral("1"), text};
}

Line marker(const QString &code)
{
    return Line{QString(), code, QVariant(), QVariant(), QString(), QString(), QString()};
}

Line textOnly(const QString &description, const QString &text)
{
    return Line{QString(), description, QVariant(), QVariant(), QString(), QString(), text};
}

struct Document
{
    QString nr;
    QString partner;
    int kind;
    QDate date;
    QDate invoiceDate;
    bool euro;
    QString representative;
    QString deliveryAddress;
    bool marked;
    bool paid;
    QString headText;
    QList<Line> lines;
};

struct Totals
{
    double net[2] = {0, 0};
    double tax[2] = {0, 0};
    double total() const { return roundCents(net[0] + net[1] + tax[0] + tax[1]); }
};

double inDocumentCurrency(const Document &document, double euro)
{
    return document.euro ? euro : roundCents(euro * demoDmRate);
}

// The clerk's program converts the unit price; a line's total in the
// document's currency is that price times the quantity, so each line adds up.
double lineTotal(const Document &document, const Line &line, bool inCurrency)
{
    if (!line.quantity.isValid())
        return 0;
    const double euro = line.unitPrice.toDouble();
    return roundCents(line.quantity.toDouble() * (inCurrency ? inDocumentCurrency(document, euro) : euro));
}

// The document's net, tax and total, each computed in the currency it is
// printed in, so that the sums on paper add up.
Totals totalsOf(const Document &document, bool inCurrency = false)
{
    Totals totals;
    for (const Line &line : document.lines) {
        if (line.taxKey.isEmpty())
            continue;
        const int slot = line.taxKey == QLatin1String("2") ? 1 : 0;
        totals.net[slot] = roundCents(totals.net[slot] + lineTotal(document, line, inCurrency));
    }
    totals.tax[0] = roundCents(totals.net[0] * demoTaxRate("1") / 100);
    totals.tax[1] = roundCents(totals.net[1] * demoTaxRate("2") / 100);
    return totals;
}

double commissionRate(const QString &staffNr)
{
    for (const Row &staff : staffRows()) {
        if (staff.value("nr").toString() == staffNr)
            return staff.value("Provision").toDouble();
    }
    return 0;
}

const QString invoiceText = QStringLiteral(
    "#Briefanrede\r\n\r\nvielen Dank für Ihren Auftrag. Wir berechnen Ihnen die folgenden Lieferungen und "
    "Leistungen:");

// The big invoice runs over several pages: four blocks with a subtotal, a
// block end, a text line and a second block end written in lower case.
QList<Line> bigInvoiceLines()
{
    return {
        sold("1001", 500),
        sold("1002", 300),
        sold("1003", 12),
        sold("1005", 2),
        sold("1006", 20),
        sold("1008", 10),
        sold("1009", 25),
        sold("1014", 6),
        sold("1015", 24),
        sold("1013", 8),
        marker("#ZS"),
        sold("1004", 3, "inkl. Ladegerät und zwei Akkus"),
        sold("1007", 2),
        sold("1010", 4),
        sold("1011", 10),
        sold("1016", 1),
        sold("1003", 6),
        sold("1001", 200),
        sold("1002", 200),
        sold("1006", 10),
        sold("1009", 15),
        marker("#ZWB"),
        textOnly("Folgende Lieferung erfolgte direkt auf die Baustelle:",
                 "Baustelle Königsallee 27, 40212 Düsseldorf\r\nAnnahme: Herr Groß"),
        sold("1013", 12),
        sold("1015", 36),
        sold("1014", 4),
        sold("1005", 1),
        sold("1008", 5),
        sold("1011", 6),
        sold("1010", 2),
        sold("1004", 1),
        sold("1012", 1),
        sold("1007", 1),
        marker("#Z"),
        service("Montagearbeiten", 6.5, 58.00, "Std.", "Montage der Türdrücker und Leuchten vor Ort"),
        sold("1016", 2),
        sold("1003", 4),
        sold("1006", 5),
        sold("1009", 10),
        sold("1002", 100),
        sold("1001", 100),
        sold("1015", 12),
        sold("1013", 3),
        marker("#zwb"),
        service("Anfahrtspauschale", 1, 35.00, "pauschal"),
        service("Entsorgung Verpackung", 1, 12.50, "pauschal", "Preis inkl. 2,50 € Entsorgungsgebühr"),
    };
}

const QList<Document> &salesDocuments()
{
    static const QList<Document> documents = {
        {"20260001", "10001", 4, QDate(2026, 10, 5), QDate(2026, 10, 6), true, "201", "10008", true, false, invoiceText,
         bigInvoiceLines()},
        {"20260002",
         "10002",
         2,
         QDate(2026, 10, 12),
         QDate(),
         false,
         "202",
         "",
         false,
         false,
         "#Briefanrede\r\n\r\nwir bestätigen Ihren Auftrag wie folgt:",
         {sold("1004", 1), sold("1005", 1), sold("1009", 2)}},
        {"20260003",
         "19999",
         1,
         QDate(2026, 10, 14),
         QDate(),
         true,
         "",
         "",
         false,
         false,
         "#Briefanrede\r\n\r\ngerne bieten wir Ihnen an:",
         {sold("1013", 20), sold("1015", 10)}},
        {"20260004",
         "10003",
         4,
         QDate(2026, 10, 19),
         QDate(2026, 10, 19),
         true,
         "203",
         "",
         true,
         false,
         invoiceText,
         {sold("1007", 1), sold("1008", 2), sold("1016", 1)}},
        {"20260005",
         "10004",
         3,
         QDate(2026, 10, 22),
         QDate(),
         true,
         "201",
         "",
         true,
         false,
         "#Briefanrede\r\n\r\nwir liefern Ihnen heute:",
         {sold("1010", 2), sold("1011", 4)}},
        {"20260006",
         "10005",
         6,
         QDate(2026, 10, 26),
         QDate(2026, 10, 26),
         true,
         "203",
         "",
         false,
         false,
         "#Briefanrede\r\n\r\nfür die Rücksendung schreiben wir Ihnen gut:",
         {sold("1004", 1)}},
        {"20260007",
         "10006",
         4,
         QDate(2026, 10, 28),
         QDate(2026, 10, 28),
         true,
         "202",
         "",
         false,
         true,
         invoiceText,
         {sold("1003", 2), sold("1006", 3)}},
        {"20260008",
         "10007",
         5,
         QDate(2026, 11, 2),
         QDate(2026, 11, 2),
         true,
         "",
         "",
         false,
         true,
         "#Briefanrede\r\n\r\nBetrag dankend erhalten.",
         {sold("1014", 2)}},
        {"20260009",
         "10001",
         4,
         QDate(2026, 8, 3),
         QDate(2026, 8, 4),
         true,
         "201",
         "",
         false,
         false,
         invoiceText,
         {sold("1012", 2)}},
        {"20260010",
         "10001",
         4,
         QDate(2026, 9, 8),
         QDate(2026, 9, 8),
         true,
         "201",
         "",
         false,
         false,
         invoiceText,
         {sold("1004", 2), sold("1010", 1)}},
        {"20260011",
         "10005",
         4,
         QDate(2026, 8, 17),
         QDate(2026, 8, 17),
         true,
         "203",
         "",
         false,
         false,
         invoiceText,
         {sold("1013", 30)}},
        {"20260012",
         "10005",
         4,
         QDate(2026, 9, 21),
         QDate(2026, 9, 21),
         true,
         "203",
         "",
         false,
         false,
         invoiceText,
         {sold("1007", 2), sold("1001", 300)}},
    };
    return documents;
}

// BestellArt: 0 enquiry, 1 purchase order, 2 cancellation, 3 other.
const QList<Document> &purchaseDocuments()
{
    static const QList<Document> documents = {
        {"30260001",
         "70001",
         1,
         QDate(2026, 9, 15),
         QDate(2026, 9, 29),
         true,
         "",
         "",
         true,
         false,
         "#Briefanrede\r\n\r\nwir bestellen zur Lieferung frei Haus:",
         {bought("1001", 1000), bought("1002", 500), bought("1007", 5), bought("1008", 20)}},
        {"30260002",
         "70002",
         0,
         QDate(2026, 10, 1),
         QDate(),
         true,
         "",
         "",
         false,
         false,
         "#Briefanrede\r\n\r\nbitte nennen Sie uns Preis und Liefertermin für:",
         {bought("1013", 50), bought("1003", 48)}},
        {"30260003",
         "70003",
         2,
         QDate(2026, 10, 20),
         QDate(),
         true,
         "",
         "",
         false,
         false,
         "#Briefanrede\r\n\r\nhiermit stornieren wir unsere Bestellung vom 02.10.2026:",
         {bought("1011", 10)}},
        {"30260004",
         "70003",
         1,
         QDate(2026, 11, 3),
         QDate(2026, 11, 17),
         false,
         "",
         "",
         true,
         false,
         "#Briefanrede\r\n\r\nwir bestellen:",
         {bought("1004", 5), bought("1010", 4)}},
    };
    return documents;
}

const Document &findDocument(const QList<Document> &documents, const QString &nr)
{
    for (const Document &document : documents) {
        if (document.nr == nr)
            return document;
    }
    throw Exception(QStringLiteral("Demo-Beleg %1 gibt es nicht.").arg(nr));
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("J") : QStringLiteral("N");
}

void insertAmount(Row &row, const Document &document, const QString &name, double euro)
{
    row.insert(name, euro);
    row.insert(name + QStringLiteral("Wae"), inDocumentCurrency(document, euro));
}

void insertAmounts(Row &row, const QString &name, double euro, double inCurrency)
{
    row.insert(name, euro);
    row.insert(name + QStringLiteral("Wae"), inCurrency);
}

void insertDocumentAmounts(Row &row, const Document &document)
{
    const Totals totals = totalsOf(document);
    const Totals inCurrency = totalsOf(document, true);
    insertAmounts(row, "endbetrag", totals.total(), inCurrency.total());
    insertAmounts(row, "steuer1", totals.tax[0], inCurrency.tax[0]);
    insertAmounts(row, "steuer2", totals.tax[1], inCurrency.tax[1]);
    insertAmounts(row, "Endbetrag1Netto", totals.net[0], inCurrency.net[0]);
    insertAmounts(row, "Endbetrag2Netto", totals.net[1], inCurrency.net[1]);
}

Row orderHead(const Document &document)
{
    Row row{
        {"auftragnr", document.nr},
        {"kundennr", document.partner},
        {"Datum", document.date},
        {"Lieferdatum", document.date.addDays(2)},
        {"AuftragArt", QString::number(document.kind)},
        {"mark", yesNo(document.marked)},
        {"Euro", yesNo(document.euro)},
        {"zahlungIn", 14},
        {"SkontoTage", 8},
        {"Skonto", 2.0},
        {"Kopftext", document.headText},
        {"nrzweitadresse", document.deliveryAddress},
        {"vertreternr", document.representative},
        {"Bestellzeichen", QStringLiteral("Ihre Anfrage vom %1").arg(document.date.addDays(-7).toString("dd.MM.yyyy"))},
        {"alsBezahltgebucht", yesNo(document.paid)},
        {"Versandkosten", document.kind == 4 ? 9.90 : 0.0}};
    if (document.invoiceDate.isValid())
        row.insert("RGDatum", document.invoiceDate);
    for (int kind = 1; kind <= 6; ++kind)
        row.insert(QStringLiteral("AtrTyp%1").arg(kind), yesNo(kind == document.kind));
    insertDocumentAmounts(row, document);
    const Totals totals = totalsOf(document);
    insertAmount(row, document, "provisionsbetrag",
                 roundCents((totals.net[0] + totals.net[1]) * commissionRate(document.representative) / 100));
    return row;
}

Row purchaseHead(const Document &document)
{
    Row row{{"auftragnr", document.nr},
            {"kundennr", document.partner},
            {"bestelldatum", document.date},
            {"BestellArt", QString::number(document.kind)},
            {"mark", yesNo(document.marked)},
            {"Euro", yesNo(document.euro)},
            {"zahlungIn", 30},
            {"SkontoTage", 10},
            {"Kopftext", document.headText}};
    if (document.invoiceDate.isValid())
        row.insert("Liefertermin", document.invoiceDate);
    insertDocumentAmounts(row, document);
    return row;
}

bool isPrintableLine(const Line &line)
{
    return !line.article.isEmpty() || line.quantity.isValid();
}

// "posdruck" holds the number the print manager gives a printable line
// (text lines and markers get 0), as in a document printed before: the
// e-mail numbers its positions from it like the paper does.
Row positionRow(const Document &document, int number, int printedNumber, const Line &line)
{
    Row row{{"auftragnr", document.nr},        {"posnr", number},
            {"posdruck", printedNumber},       {"Artikelnr", line.article},
            {"Bezeichnung", line.description}, {"kundennr", document.partner}};
    if (!line.text.isEmpty())
        row.insert("Text", line.text);
    if (line.quantity.isValid()) {
        const double total = lineTotal(document, line, false);
        row.insert("menge", line.quantity);
        row.insert("Einheit", line.unit);
        row.insert("epreis", line.unitPrice);
        row.insert("epreisWae", inDocumentCurrency(document, line.unitPrice.toDouble()));
        row.insert("gpreis", total);
        row.insert("gpreisWae", lineTotal(document, line, true));
        row.insert("steuersatz", line.taxKey);
    }
    return row;
}

Rows headRows(const QList<Document> &documents, Row (*head)(const Document &))
{
    Rows rows;
    for (const Document &document : documents)
        rows << head(document);
    return rows;
}

Rows positionRows(const QList<Document> &documents)
{
    Rows rows;
    for (const Document &document : documents) {
        int number = 0;
        int printedNumber = 0;
        for (const Line &line : document.lines)
            rows << positionRow(document, ++number, isPrintableLine(line) ? ++printedNumber : 0, line);
    }
    return rows;
}

}

double roundCents(double value)
{
    return RoundTo(value, 2);
}

Rows orderRows()
{
    return headRows(salesDocuments(), orderHead);
}

Rows orderPositionRows()
{
    return positionRows(salesDocuments());
}

Rows purchaseRows()
{
    return headRows(purchaseDocuments(), purchaseHead);
}

Rows purchasePositionRows()
{
    return positionRows(purchaseDocuments());
}

double salesDocumentTotal(const QString &orderNr)
{
    return totalsOf(findDocument(salesDocuments(), orderNr)).total();
}

double purchaseDocumentTotal(const QString &orderNr)
{
    return totalsOf(findDocument(purchaseDocuments(), orderNr)).total();
}

Row bulkPositionRow(int index)
{
    static const QStringList customers = {"10001", "10002", "10003", "10004", "10005", "10006", "10007"};
    const QList<DemoArticle> &articles = demoArticles();
    const DemoArticle &article = articles.at(index % articles.size());
    const double quantity = 1 + (index * 7) % 13;
    const double unitPrice = article.salesPrice / article.priceUnit;
    const double total = roundCents(quantity * unitPrice);
    return Row{{"auftragnr", QStringLiteral("9%1").arg(index / 40, 7, 10, QLatin1Char('0'))},
               {"posnr", index % 40 + 1},
               {"Artikelnr", article.nr},
               {"Bezeichnung", article.description},
               {"menge", quantity},
               {"Einheit", article.unit},
               {"epreis", unitPrice},
               {"epreisWae", unitPrice},
               {"gpreis", total},
               {"gpreisWae", total},
               {"steuersatz", article.taxKey},
               {"kundennr", customers.at((index / 40) % customers.size())}};
}

}
