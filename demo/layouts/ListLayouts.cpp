#include "demo/layouts/ListLayouts.h"

#include "demo/layouts/ListPage.h"

namespace demo {

using report::Layout;

namespace {

constexpr Qt::Alignment kRight = Qt::AlignRight;

// The statistics' last call finds no further position and leaves its
// line empty; such a line is not printed.
const QString kSelectedPosition = QStringLiteral("Len(auftragnr) > 0");

// A list without a period leaves the line out; an open end says so.
const QString kPeriod = QStringLiteral(
    "If(Empty(DatumVon), If(Empty(DatumBis), \"\", \"Zeitraum: bis \" + DatumBis), "
    "If(Empty(DatumBis), \"Zeitraum: ab \" + DatumVon, \"Zeitraum: \" + DatumVon + \" bis \" + DatumBis))");

ListColumn money(const QString &title, double width, const QString &expression, const QString &total = {})
{
    return ListColumn{title, width, amountOf(expression), kRight, total.isEmpty() ? QString() : amountOf(total)};
}

// A date ("06.10.2026") needs 20 mm in the lists' 8.5 point type; a
// narrower column would break it inside the number.
ListColumn date(const QString &title, double width, const QString &field)
{
    return ListColumn{title, width, dateOf(field)};
}

QString addressLine()
{
    return QStringLiteral("Trim(Strasse + \", \" + plz + \" \" + Ort)");
}

QString nameLines(const QString &prefix = {})
{
    return QStringLiteral("Trim(%1Name + \" \" + %1Vorname) + If(Empty(%1Name2), \"\", \", \" + %1Name2)").arg(prefix);
}

Layout addressList(const QString &title)
{
    return listLayout({title,
                       {},
                       {{"Nr.", 18, "nr"},
                        {"Name", 70, nameLines()},
                        {"Anschrift", 75, addressLine()},
                        {"Land", 25, "[Land-Name]"},
                        {"Telefon", 30, "Telefon"},
                        {"E-Mail", 49, "EMail"}},
                       {},
                       true});
}

Layout contactPersonList(const QString &title)
{
    return listLayout({title,
                       {"nr + \" \" + Trim(Name + \" \" + Vorname)", addressLine()},
                       {{"Anrede", 14, "Anrede"},
                        {"Name", 32, "Trim(Vorname + \" \" + Name)"},
                        {"Abteilung", 28, "Abteilung"},
                        {"Telefon", 24, "Telefon"},
                        {"E-Mail", 60, "eMail"},
                        {"Hinweis", 22, "FreiFeld1"}}});
}

Layout contactList(const QString &title, const QStringList &subtitle, const QString &partnerColumn)
{
    const double text = partnerColumn.isEmpty() ? 49 : 39;
    QList<ListColumn> columns = {date("Datum", 20, "Datum"), {"Betreff", text, "Betreff"}, {"Notiz", text, "Notiz"}};
    if (!partnerColumn.isEmpty())
        columns.insert(1, {"Kunde", 30, partnerColumn});
    columns << ListColumn{"Dauer", 14, "Dauer", kRight} << ListColumn{"Summe", 14, "SummeDauer", kRight}
            << ListColumn{"Schnitt", 16, "FStr(Durchschnitt, \"---&.#\")", kRight};
    return listLayout({title, subtitle, columns});
}

QList<QPair<QString, Layout>> salesLists()
{
    return {
        {"Auftrag_Liste.lst",
         listLayout({"Auftragsliste",
                     {kPeriod},
                     {{"Beleg-Nr.", 22, "auftragnr"},
                      date("Datum", 22, "Datum"),
                      {"Kunde", 70, "kundennr + \" \" + Kunde_Name"},
                      {"Vertreter", 35, "Vertreter_Name"},
                      money("Netto", 30, "Endbetrag1Netto + Endbetrag2Netto", "SummeAuftragswertNetto"),
                      money("Steuer", 26, "steuer1 + steuer2"),
                      money("Brutto", 30, "endbetrag", "SummeAuftragswert"),
                      {"bezahlt", 22, "If(alsBezahltgebucht = \"J\", \"ja\", \"nein\")", Qt::AlignCenter}},
                     "Summe",
                     true})},
        {"Auftrag_Provisionsliste.lst",
         listLayout({"Provisionsliste",
                     {kPeriod},
                     {{"Vertreter", 38, "Trim(Vertreter_Vorname + \" \" + Vertreter_Name)"},
                      {"Beleg-Nr.", 20, "auftragnr"},
                      date("Datum", 20, "Datum"),
                      {"Kunde", 42, "Kunde_Name"},
                      money("Netto", 26, "Endbetrag1Netto + Endbetrag2Netto", "SummeAuftragswertNetto"),
                      money("Provision", 24, "provisionsbetrag", "SummeProvision")},
                     "Summe"})},
        {"Bestellung_Liste.lst", listLayout({"Bestellliste",
                                             {},
                                             {{"Best.-Nr.", 22, "auftragnr"},
                                              date("Datum", 22, "bestelldatum"),
                                              {"Lieferant", 66, "kundennr + \" \" + Lieferant_Name"},
                                              date("Liefertermin", 25, "Liefertermin"),
                                              money("Betrag", 30, "endbetrag")}})},
    };
}

QList<QPair<QString, Layout>> receivableLists()
{
    return {
        {"OffenePosten_Liste.lst", listLayout({"Offene Posten",
                                               {},
                                               {{"Beleg-Nr.", 20, "auftragnr"},
                                                {"Kunde", 39, "kundennr + \" \" + Kunde_Name"},
                                                date("Datum", 20, "Datum"),
                                                date("fällig", 20, "faellig"),
                                                money("Betrag", 23, "auftragswert", "SummeAuftragswert"),
                                                money("gezahlt", 23, "gezahlt", "SummeZahlbetrag"),
                                                money("offen", 23, "offenerBetrag", "SummeOffenerBetrag"),
                                                {"Stufe", 12, "mahnstufe", kRight}},
                                               "Summe"})},
        {"OpoBList_Liste.lst", listLayout({"Offene Posten Einkauf",
                                           {},
                                           {{"Best.-Nr.", 20, "auftragnr"},
                                            {"Lieferant", 48, "kundennr + \" \" + Lieferant_Name"},
                                            date("Datum", 20, "Datum"),
                                            date("fällig", 20, "faellig"),
                                            money("Betrag", 25, "Auftragswert", "SummeAuftragswert"),
                                            money("gezahlt", 24, "Gezahlt", "SummeZahlbetrag"),
                                            money("offen", 23, "Auftragswert - Gezahlt", "SummeOffenerBetrag")},
                                           "Summe"})},
        {"Zahlungseingang_Liste.lst", listLayout({"Zahlungseingänge",
                                                  {kPeriod},
                                                  {date("Datum", 20, "Zahldatum"),
                                                   {"Kunde", 52, "kundennr + \" \" + Kunde_Name"},
                                                   {"Beleg-Nr.", 20, "auftragnr"},
                                                   {"Buchungsbeleg", 28, "Beleg"},
                                                   {"Zahlart", 22, "Zahlart"},
                                                   money("Betrag", 38, "zahlbetrag", "SummeZahlbetrag")},
                                                  "Summe"})},
        {"Zahlungsausgang_Liste.lst", listLayout({"Zahlungsausgänge",
                                                  {kPeriod},
                                                  {date("Datum", 20, "Zahldatum"),
                                                   {"Lieferant", 52, "kundennr + \" \" + Lieferant_Name"},
                                                   {"Best.-Nr.", 20, "auftragnr"},
                                                   {"Buchungsbeleg", 28, "Beleg"},
                                                   {"Zahlart", 22, "Zahlart"},
                                                   money("Betrag", 38, "zahlbetrag", "SummeZahlbetrag")},
                                                  "Summe"})},
    };
}

QList<QPair<QString, Layout>> masterLists()
{
    return {
        {"Kunden_Liste.lst", addressList("Kundenliste")},
        {"Liefer_Liste.lst", addressList("Lieferantenliste")},
        {"Mitarbei_Liste.lst", listLayout({"Mitarbeiterliste",
                                           {},
                                           {{"Nr.", 14, "nr"},
                                            {"Name", 42, "Trim(Vorname + \" \" + Name)"},
                                            {"Ort", 40, "Trim(plz + \" \" + Ort)"},
                                            {"Telefon", 30, "Telefon"},
                                            {"Provision", 18, "FStr(Provision, \"-&.##\") + \" %\"", kRight},
                                            date("Eintritt", 36, "Eintritt")}})},
        {"Ansprech-K_Liste.lst", contactPersonList("Ansprechpartner des Kunden")},
        {"Ansprech-L_Liste.lst", contactPersonList("Ansprechpartner des Lieferanten")},
        {"KunPreis_Liste.lst", listLayout({"Kundenpreise",
                                           {"\"Kunde \" + nr + \" \" + Name", addressLine()},
                                           {{"Art.-Nr.", 22, "Artikelnr"},
                                            {"Bezeichnung", 68, "Artikel_Bezeichnung"},
                                            money("Listenpreis", 24, "Artikel_VK1"),
                                            money("Kundenpreis", 24, "Preis"),
                                            {"Rabatt", 14, "FStr(Rabatt, \"-&.#\") + \" %\"", kRight},
                                            date("gültig bis", 28, "GueltigBis")}})},
        {"ArtPreis_Liste.lst", listLayout({"Preise eines Artikels",
                                           {"\"Artikel \" + Artikelnr + \" \" + Bezeichnung",
                                            "\"Listenpreis \" + " + amountWithCurrency("VK1")},
                                           {{"Kd.-Nr.", 18, "Kundennr"},
                                            {"Kunde", 80, "Kunde_Name"},
                                            money("Preis", 26, "Preis"),
                                            {"Rabatt", 18, "FStr(Rabatt, \"-&.#\") + \" %\"", kRight},
                                            date("gültig bis", 38, "GueltigBis")}})},
    };
}

QList<QPair<QString, Layout>> articleLists()
{
    return {
        {"Artikel_Liste.lst",
         listLayout({"Artikelliste mit Inventurwert",
                     {},
                     {{"Art.-Nr.", 22, "Artikelnr"},
                      {"Bezeichnung", 62, "Bezeichnung"},
                      {"Einheit", 22, "Einheit"},
                      {"Bestand", 20, "FStr(Bestand, \"--,---,--&\")", kRight},
                      {"Preis je", 14, "FStr(PreisEinheit, \"--,---,--&\")", kRight},
                      money("EK-Preis", 24, "EkPreis"),
                      money("VK-Preis", 24, "VK1"),
                      money("Inventurwert", 26, "Bestand * EkPreis / PreisEinheit", "SummeInventur"),
                      {"Lieferant", 53, "Lieferant_Name"}},
                     "Inventurwert gesamt",
                     true})},
        {"Stueckliste_Liste.lst", listLayout({"Stückliste",
                                              {"\"Baugruppe \" + Artikelnr + \" \" + Bezeichnung"},
                                              {{"Art.-Nr.", 22, "Artikelnr"},
                                               {"Bezeichnung", 60, "Bezeichnung"},
                                               {"Menge", 16, "FStr(Menge, \"--,--&.##\")", kRight},
                                               money("EK gesamt", 27, "EKGesamtPreis", "SummeEK"),
                                               money("VK gesamt", 27, "VKGesamtPreis", "SummeVK"),
                                               {"Ertrag", 28, "\"\"", kRight, amountOf("SummeErtrag")}},
                                              "Summe"})},
        {"LfrArt_Liste.lst",
         listLayout(
             {"Artikel des Lieferanten",
              {"nr + \" \" + Name", addressLine()},
              {{"Art.-Nr.", 22, "Artikelnr"},
               {"Bezeichnung", 72, "Bezeichnung"},
               money("EK-Preis", 26, "EkPreis"),
               money("VK-Preis", 26, "VK1"),
               {"Spanne", 34, "If(Empty(Gewinnspanne), \"-\", FStr(Gewinnspanne, \"---&.#\") + \" %\")", kRight}}})},
        {"Lagerbew_Liste.lst",
         listLayout({"Lagerbewegungen",
                     {},
                     {date("Datum", 20, "Lagerbew_Datum"),
                      {"Art.-Nr.", 20, "Lagerbew_Artikelnr"},
                      {"Bezeichnung", 54, "Bezeichnung"},
                      {"Zugang", 16, "If(Lagerbew_zugang = 0, \"\", FStr(Lagerbew_zugang, \"--,--&\"))", kRight},
                      {"Abgang", 16, "If(Lagerbew_abgang = 0, \"\", FStr(Lagerbew_abgang, \"--,--&\"))", kRight},
                      {"Lieferant", 30, "Lieferant_Name"},
                      {"Beleg", 24, "Lagerbew_Beleg"}}})},
        {"MabKun_Liste.lst", listLayout({"Kunden des Mitarbeiters",
                                         {"\"Mitarbeiter \" + nr + \" \" + Trim(Vorname + \" \" + Name)"},
                                         {{"Kd.-Nr.", 18, "kundennr"},
                                          {"Kunde", 62, "Kunde_Name"},
                                          {"Ort", 40, "Trim(Kunde_plz + \" \" + Kunde_Ort)"},
                                          date("seit", 20, "Seit"),
                                          {"Bemerkung", 40, "Bemerkung"}}})},
    };
}

QList<QPair<QString, Layout>> statisticsLists()
{
    const QString customer = QStringLiteral("\"Kunde \" + nr + \" \" + Name");
    return {
        {"KunAtr_Liste-A.lst", listLayout({"Aufträge des Kunden",
                                           {customer},
                                           {{"Beleg-Nr.", 28, "auftragnr"},
                                            date("Datum", 28, "Datum"),
                                            date("Rechnungsdatum", 34, "RGDatum"),
                                            money("Netto", 40, "Endbetrag1Netto + Endbetrag2Netto"),
                                            money("Brutto", 50, "endbetrag", "SummeRechnungen")},
                                           "Summe"})},
        {"KunAtr_Liste-O.lst", listLayout({"Offene Posten des Kunden",
                                           {customer},
                                           {{"Beleg-Nr.", 24, "auftragnr"},
                                            date("Datum", 24, "Datum"),
                                            date("fällig", 24, "faellig"),
                                            money("Betrag", 34, "auftragswert"),
                                            money("gezahlt", 34, "gezahlt"),
                                            money("offen", 40, "offenerBetrag", "SummeOffenerBetrag")},
                                           "Summe"})},
        {"KunAtr_Liste-U.lst", listLayout({"Zahlungen des Kunden",
                                           {customer},
                                           {date("Datum", 24, "Zahldatum"),
                                            {"Beleg-Nr.", 26, "auftragnr"},
                                            {"Buchungsbeleg", 34, "Beleg"},
                                            {"Zahlart", 36, "Zahlart"},
                                            money("Betrag", 60, "zahlbetrag", "SummeZahlbetrag")},
                                           "Summe"})},
        {"KunArt_Liste.lst", listLayout({"Artikel des Kunden",
                                         {kPeriod},
                                         {{"Kd.-Nr.", 16, "kundennr"},
                                          {"Beleg-Nr.", 20, "auftragnr"},
                                          date("Datum", 20, "RGDatum"),
                                          {"Art.-Nr.", 18, "Artikelnr"},
                                          {"Bezeichnung", 56, "Bezeichnung"},
                                          {"Menge", 18, "FStr(menge, \"--,--&.##\")", kRight},
                                          money("Betrag", 32, "gpreis")},
                                         {},
                                         false,
                                         kSelectedPosition})},
        {"ArtKun_Liste.lst", listLayout({"Kunden des Artikels",
                                         {"\"Artikel \" + Artikelnr + \" \" + Bezeichnung", kPeriod},
                                         {{"Kd.-Nr.", 18, "kundennr"},
                                          {"Kunde", 62, "Kunde_Name"},
                                          {"Beleg-Nr.", 22, "auftragnr"},
                                          date("Datum", 22, "Auftrag_RGDatum"),
                                          {"Menge", 20, "FStr(menge, \"--,--&.##\")", kRight},
                                          money("Betrag", 36, "gpreis")},
                                         {},
                                         false,
                                         kSelectedPosition})},
    };
}

QList<QPair<QString, Layout>> contactLists()
{
    return {
        {"Kontakte-K_Liste.lst", contactList("Kontakte des Kunden", {"\"Kunde \" + nr + \" \" + Name"}, {})},
        {"Kontakte-L_Liste.lst", contactList("Kontakte des Lieferanten", {"\"Lieferant \" + nr + \" \" + Name"}, {})},
        {"Kontakte-M_Liste.lst", contactList("Kontakte des Mitarbeiters",
                                             {"\"Mitarbeiter \" + nr + \" \" + Trim(Vorname + \" \" + Name)"}, {})},
        {"Kontakte_Liste.lst", contactList("Alle Kontakte", {}, "Kunde_Name")},
        {"Aufgaben-K_Liste.lst", listLayout({"Aufgaben des Kunden",
                                             {"\"Kunde \" + nr + \" \" + Name"},
                                             {date("fällig", 20, "Datum"),
                                              {"Prio.", 10, "Prioritaet", kRight},
                                              {"Aufgabe", 62, "Betreff"},
                                              {"aus Kontakt", 50, "Kontakt_Betreff"},
                                              {"erledigt", 16, "If(Erledigt, \"ja\", \"\")", Qt::AlignCenter},
                                              {"MA", 22, "Mitarbeiter"}}})},
        {"Aufgaben_Liste.lst", listLayout({"Alle Aufgaben",
                                           {},
                                           {date("fällig", 20, "Datum"),
                                            {"Prio.", 10, "Prioritaet", kRight},
                                            {"Kunde", 44, "Kunde_Name"},
                                            {"Aufgabe", 56, "Betreff"},
                                            {"aus Kontakt", 34, "Kontakt_Betreff"},
                                            {"erledigt", 16, "If(Erledigt, \"ja\", \"\")", Qt::AlignCenter}}})},
        {"Gruppen_Liste.lst",
         listLayout({"Gruppen",
                     {},
                     {{"Gruppe", 32, "Gruppe"}, {"Bezeichnung", 60, "Bezeichnung"}, {"Bemerkung", 88, "Bemerkung"}}})},
        {"GrZuord-K_Liste.lst",
         listLayout(
             {"Gruppen des Kunden",
              {"\"Kunde \" + nr + \" \" + Name"},
              {{"Gruppe", 34, "Gruppe"}, {"Bezeichnung", 110, "Gruppe_Bezeichnung"}, date("seit", 36, "Seit")}})},
        {"GrZuord-G_Liste.lst", listLayout({"Kunden der Gruppe",
                                            {},
                                            {{"Gruppe", 40, "Gruppe_Bezeichnung"},
                                             {"Kd.-Nr.", 18, "GrZuord_Nr"},
                                             {"Kunde", 62, "Name"},
                                             {"Ort", 36, "Trim(plz + \" \" + Ort)"},
                                             date("seit", 24, "GrZuord_Seit")}})},
        {"Textbausteine_Liste.lst", listLayout({"Textbausteine",
                                                {},
                                                {{"Nr.", 12, "LfdNr", kRight},
                                                 {"Kurzname", 30, "Kurzname"},
                                                 {"Betreff", 50, "Betreff"},
                                                 {"Text", 88, "Text"}}})},
    };
}

}

QList<QPair<QString, Layout>> listLayouts()
{
    return salesLists() + receivableLists() + masterLists() + articleLists() + statisticsLists() + contactLists();
}

}
