#include "demo/tables/SettingsData.h"

#include <QDate>

namespace demo {

Rows companySetupRows()
{
    return {Row{{"FensterAbsender", "Werkzeughandel Lindner GmbH · Gießereistraße 4 · 86150 Augsburg"},
                {"Firma", "Werkzeughandel Lindner GmbH"},
                {"Strasse", "Gießereistraße 4"},
                {"PLZ", "86150"},
                {"Ort", "Augsburg"},
                {"Telefon", "0821 45 67 0"},
                {"EMail", "info@werkzeughandel-demo.de"},
                {"BezSteuer", "MwSt."},
                {"EuroBezeichnung", "€"},
                {"Waehrung", "DM"},
                {"Mwst1", 19.0},
                {"Mwst2", 7.0},
                {"DezStMengeDruck", 2},
                {"DezStPreisDruck", 2},
                {"DezStGPreisDruck", 2},
                {"Bank1", "Stadtsparkasse Augsburg"},
                {"Blz1", "72050000"},
                {"KtoNr1", "0001234567"},
                {"Bank2", "Volksbank Augsburg eG"},
                {"Blz2", "72090000"},
                {"KtoNr2", "0000765432"},
                {"Bank3", ""},
                {"Blz3", ""},
                {"KtoNr3", ""},
                {"anrede3", "Sehr geehrte Damen und Herren,"},
                {"LagEtikAnzUebern", "J"}}};
}

// Euro printing on; the order list takes the invoices of October.
Rows workstationSetupRows()
{
    return {Row{{"EuroDruckVorgabe", "J"},
                {"AtrLstAL", "N"},
                {"AtrLstAG", "N"},
                {"AtrLstAB", "N"},
                {"AtrLstLS", "N"},
                {"AtrLstRG", "J"},
                {"AtrLstRB", "J"},
                {"AtrLstGS", "N"},
                {"AtrLstBereich", "Z"},
                {"AtrLstVertreter", "N"},
                {"AtrLstVertreternr", ""},
                {"AtrLstVon", QDate(2026, 10, 1)},
                {"AtrLstBis", QDate(2026, 10, 31)},
                {"KunArtDruckVon", QDate(2026, 1, 1)},
                {"KunArtDruckBis", QDate(2026, 12, 31)},
                {"KunArtDruckJN", "J"},
                {"ArtKunDruckVon", QDate(2026, 1, 1)},
                {"ArtKunDruckBis", QDate(2026, 12, 31)}}};
}

// Keys carry a leading blank, as the suite stores one-digit keys. The full
// rate was 16 % before its last change.
Rows taxRateRows()
{
    return rowsOf({"steuersatz", "steuer", "steuerAlt", "GueltigAb", "Bezeichnung"},
                  {
                      {" 0", 0.0, 0.0, QVariant(), "steuerfrei"},
                      {" 1", 19.0, 16.0, QDate(2007, 1, 1), "voller Steuersatz"},
                      {" 2", 7.0, 7.0, QDate(1983, 7, 1), "ermäßigter Steuersatz"},
                  });
}

}
