#include "demo/tables/MasterData.h"

#include "demo/tables/DemoArticles.h"
#include "demo/tables/DemoPictures.h"
#include "demo/tables/Ean.h"

#include <QDate>

namespace demo {
namespace {

const QStringList addressColumns = {"nr",  "Anrede", "Name",        "Vorname", "Name2",   "Strasse", "Land",
                                    "plz", "Ort",    "briefanrede", "Telefon", "Telefax", "EMail",   "Gruendungsdatum"};

// The articles' EAN: the company prefix 4001234, a zero and the article
// number, with its check digit.
QString articleEan(const QString &articleNr)
{
    return ean13(QStringLiteral("4001234") + QLatin1Char('0') + articleNr.right(4));
}

}

// One customer carries a wrong address (an umlaut in the name part) and one
// has none at all, so that the address check and its prompt have work.
Rows customerRows()
{
    const QVariant none;
    Rows rows = rowsOf(
        addressColumns,
        {
            {"10001", "Firma", "Müller & Söhne GmbH", "", "Bauelemente und Werkzeuge", "Hauptstraße 12", "D", "80331",
             "München", "Sehr geehrter Herr Müller,", "089 4711-0", "089 4711-99", "info@mueller-soehne.de",
             QDate(1887, 5, 12)},
            {"10002", "Frau", "Jürgens", "Käthe", "", "Große Straße 5", "D", "20095", "Hamburg",
             "Sehr geehrte Frau Jürgens,", "040 330 12 12", "", "kaethe.juergens@example.de", none},
            {"10003", "Herrn", "Weiß", "Björn", "", "Schloßallee 3", "D", "01067", "Dresden",
             "Sehr geehrter Herr Weiß,", "0351 88 17 40", none, "björn.weiß@beispiel.de", none},
            {"10004", "Firma", "Bäckerei Öztürk", "", "Inh. Ayşe Öztürk", "Königsallee 27", "D", "40212", "Düsseldorf",
             "Sehr geehrte Frau Öztürk,", "0211 13 29 00", none, none, QDate(1912, 3, 1)},
            {"10005", "Firma", "Straßenbau Günther KG", "", "", "Am Fließ 8", "D", "03046", "Cottbus",
             "Sehr geehrte Damen und Herren,", "0355 47 11 80", "0355 47 11 89", "buero@strassenbau-guenther.de",
             QDate(1896, 10, 1)},
            {"10006", "Herrn", "Schröder", "Jörg", "", "Lindenstraße 44", "D", "10969", "Berlin",
             "Sehr geehrter Herr Schröder,", "030 61 20 55", none, "j.schroeder@example.com", none},
            {"10007", "Frau", "Häußler", "Ursula", "", "Mariahilfer Straße 101", "A", "1060", "Wien",
             "Sehr geehrte Frau Häußler,", "+43 1 597 33 21", none, "u.haeussler@example.at", none},
            {"10008", "Firma", "Müller & Söhne GmbH", "", "Lager Nord, Tor 3", "Lilienthalallee 40", "D", "80939",
             "München", "Sehr geehrter Herr Müller,", "089 4711-300", none, "lager@mueller-soehne.de", none},
        });
    rows[0].insert("Bild", demoPicture(20));
    rows[0].insert("Bemerkung", QString("Stammkunde seit 1998.\r\nLieferung bitte nur werktags bis 15 Uhr."));
    rows[4].insert("Bild", demoPicture(21));
    return rows;
}

Rows supplierRows()
{
    const QVariant none;
    Rows rows = rowsOf(
        addressColumns,
        {
            {"70001", "Firma", "Schrauben-Schäfer GmbH", "", "", "Industriestraße 7", "D", "70565", "Stuttgart",
             "Sehr geehrter Herr Schäfer,", "0711 78 80 0", "0711 78 80 10", "bestellung@schrauben-schaefer.de",
             QDate(1949, 4, 1)},
            {"70002", "Firma", "Holzhandel Voß", "", "", "Überseetor 19", "D", "28217", "Bremen",
             "Sehr geehrte Damen und Herren,", "0421 39 40 50", none, "einkauf@holzhandel-voss.de", QDate(1878, 9, 2)},
            {"70003", "Firma", "Elektro Maßmann AG", "", "Großhandel", "Äußere Sulzbacher Straße 60", "D", "90491",
             "Nürnberg", "Sehr geehrte Frau Maßmann,", "0911 59 30 0", none, "vertrieb@elektro-massmann.de", none},
        });
    rows[1].insert("Bild", demoPicture(22));
    return rows;
}

Rows staffRows()
{
    return rowsOf(
        {"nr", "Name", "Vorname", "Strasse", "Land", "plz", "Ort", "Telefon", "EMail", "Provision", "Eintritt"},
        {
            {"201", "Krüger", "Heinz", "Bahnhofstraße 3", "D", "85221", "Dachau", "0171 220 33 01",
             "h.krueger@werkzeughandel-demo.de", 5.0, QDate(2004, 4, 1)},
            {"202", "Zöllner", "Sabine", "Rosenweg 9", "D", "22765", "Hamburg", "0171 220 33 02",
             "s.zoellner@werkzeughandel-demo.de", 4.5, QDate(2011, 9, 15)},
            {"203", "Meißner", "Tobias", "Uferstraße 21", "D", "01097", "Dresden", "0171 220 33 03",
             "t.meissner@werkzeughandel-demo.de", 3.0, QDate(2019, 1, 2)},
        });
}

Rows articleRows()
{
    Rows rows;
    int variant = 0;
    for (const DemoArticle &article : demoArticles()) {
        Row row{{"Artikelnr", article.nr},
                {"Bezeichnung", article.description},
                {"Einheit", article.unit},
                {"Bestand", article.stock},
                {"EkPreis", article.purchasePrice},
                {"EkPreisWae", article.purchasePrice},
                {"VK1", article.salesPrice},
                {"VK1Wae", article.salesPrice},
                {"PreisEinheit", double(article.priceUnit)},
                {"lieferantnr", article.supplierNr},
                {"Freifeld", articleEan(article.nr)},
                {"steuersatz", article.taxKey}};
        // Every third article goes without a picture, as in a real stock.
        if (variant % 3 != 2)
            row.insert("Bild", demoPicture(variant));
        rows << row;
        ++variant;
    }
    return rows;
}

Rows countryRows()
{
    return rowsOf({"Lkz", "Land", "Vorwahl"}, {
                                                  {"A", "Österreich", "+43"},
                                                  {"CH", "Schweiz", "+41"},
                                                  {"D", "Deutschland", "+49"},
                                                  {"F", "Frankreich", "+33"},
                                                  {"NL", "Niederlande", "+31"},
                                              });
}

Rows customerPriceRows()
{
    return rowsOf({"Kundennr", "Artikelnr", "Preis", "PreisWae", "Rabatt", "GueltigBis"},
                  {
                      {"10001", "1001", 28.50, 28.50, 0.0, QDate(2026, 12, 31)},
                      {"10001", "1004", 139.00, 139.00, 0.0, QDate(2026, 12, 31)},
                      {"10001", "1013", 42.00, 42.00, 3.0, QVariant()},
                      {"10002", "1003", 8.50, 8.50, 0.0, QDate(2027, 6, 30)},
                      {"10005", "1013", 41.20, 41.20, 5.0, QVariant()},
                      {"10005", "1001", 29.00, 29.00, 0.0, QDate(2026, 12, 31)},
                  });
}

Rows statisticsArticleRows()
{
    return rowsOf({"Artikelnr"}, {{"1004"}, {"1007"}, {"1011"}, {"1013"}});
}

Rows billOfMaterialRows()
{
    return rowsOf({"OArtikelnr", "Artikelnr", "Menge", "Bemerkung"}, {
                                                                         {"1012", "1001", 5.0, "lose im Fach"},
                                                                         {"1012", "1004", 1.0, "mit zwei Akkus"},
                                                                         {"1012", "1005", 1.0, ""},
                                                                         {"1012", "1007", 1.0, ""},
                                                                         {"1012", "1008", 1.0, ""},
                                                                     });
}

// A receipt of twelve units makes the stock labels print twelve copies.
Rows stockMovementRows()
{
    return rowsOf({"LfdNr", "artikelnr", "Datum", "zugang", "abgang", "lfrnr", "Beleg", "Bemerkung"},
                  {
                      {1, "1004", QDate(2026, 9, 2), 12.0, 0.0, "70003", "WE-2026-118", "Lieferung vollständig"},
                      {2, "1001", QDate(2026, 9, 20), 1000.0, 0.0, "70001", "WE-2026-131", ""},
                      {3, "1004", QDate(2026, 10, 6), 0.0, 4.0, "", "LS-20260001", "Auslieferung München"},
                      {4, "1013", QDate(2026, 10, 8), 50.0, 0.0, "70002", "WE-2026-140", "zwei Platten beschädigt"},
                      {5, "1013", QDate(2026, 10, 9), 0.0, 2.0, "70002", "RK-2026-007", "Rücksendung"},
                      {6, "1011", QDate(2026, 11, 3), 0.0, 16.0, "", "LS-20260005", ""},
                  });
}

Rows staffCustomerRows()
{
    return rowsOf({"mitarbeiternr", "kundennr", "Seit", "Bemerkung"},
                  {
                      {"201", "10001", QDate(2004, 4, 1), "Hauptansprechpartner"},
                      {"201", "10004", QDate(2015, 2, 1), ""},
                      {"202", "10002", QDate(2012, 1, 1), ""},
                      {"202", "10006", QDate(2020, 6, 1), "Privatkunde"},
                      {"203", "10003", QDate(2019, 1, 2), ""},
                      {"203", "10005", QDate(2019, 1, 2), "Großprojekt Ortsumgehung"},
                  });
}

}
