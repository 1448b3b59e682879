#include "demo/tables/ContactData.h"

#include <QDate>
#include <QTime>

namespace demo {

// Kinds: "K" customer, "L" supplier, "M" staff member. One contact has no
// address, so the contact picker must leave it out.
Rows contactPersonRows()
{
    const QVariant none;
    return rowsOf(
        {"Art", "Nr", "LfdNr", "Anrede", "Name", "Vorname", "Abteilung", "Telefon", "eMail", "FreiFeld1"},
        {
            {"K", "10001", 1, "Herr", "Müller", "Hans-Jürgen", "Geschäftsleitung", "089 4711-10",
             "hj.mueller@mueller-soehne.de", "Entscheider"},
            {"K", "10001", 2, "Frau", "Groß", "Anja", "Einkauf", "089 4711-22", "einkauf@mueller-soehne.de", ""},
            {"K", "10001", 3, "Herr", "Ötztaler", "Franz", "Lager", "089 4711-300", none, none},
            {"K", "10005", 1, "Frau", "Günther", "Maren", "Buchhaltung", "0355 47 11 82",
             "buchhaltung@strassenbau-guenther.de", "Mahnungen bitte an sie"},
            {"L", "70001", 1, "Herr", "Schäfer", "Uwe", "Vertrieb", "0711 78 80 21", "u.schaefer@schrauben-schaefer.de",
             ""},
            {"L", "70003", 1, "Frau", "Maßmann", "Dörte", "Vorstand", "0911 59 30 11", "d.massmann@elektro-massmann.de",
             ""},
            {"M", "201", 1, "Herr", "Krüger", "Heinz", "Außendienst Süd", "0171 220 33 01",
             "h.krueger@werkzeughandel-demo.de", ""},
        });
}

// Customer 10001 has four contacts, so the running average of their
// durations changes from line to line.
Rows contactRows()
{
    return rowsOf(
        {"Art", "Nr", "LfdNr", "Datum", "Zeit", "Betreff", "Notiz", "Dauer", "Mitarbeiter"},
        {
            {"K", "10001", 1, QDate(2026, 9, 1), QTime(9, 30), "Jahresgespräch",
             "Rahmenvertrag für 2027 besprochen.\r\nAngebot bis Ende Oktober.", 45.0, "201"},
            {"K", "10001", 2, QDate(2026, 9, 22), QTime(14, 0), "Reklamation Lieferung",
             "Zwei Platten beschädigt, Ersatz zugesagt.", 15.0, "201"},
            {"K", "10001", 3, QDate(2026, 10, 7), QTime(11, 15), "Baustellentermin Düsseldorf", "", 90.0, "201"},
            {"K", "10001", 4, QDate(2026, 11, 24), QTime(16, 45), "Zahlungserinnerung telefonisch",
             "Zahlung für Anfang Dezember angekündigt.", 10.0, "202"},
            {"K", "10005", 5, QDate(2026, 10, 2), QTime(8, 0), "Ortsumgehung Cottbus", "", 30.0, "203"},
            {"L", "70001", 6, QDate(2026, 9, 14), QTime(10, 0), "Preisverhandlung Schrauben", "", 25.0, "202"},
            {"M", "203", 7, QDate(2026, 10, 1), QTime(13, 30), "Einarbeitung Warenwirtschaft", "", 120.0, "202"},
        });
}

Rows taskRows()
{
    return rowsOf(
        {"LfdNr", "Nr", "Datum", "Zeit", "Prioritaet", "Betreff", "Beschreibung", "Erledigt", "LfdNrKontakt",
         "Mitarbeiter"},
        {
            {1, "10001", QDate(2026, 10, 31), QTime(12, 0), 1, "Angebot Rahmenvertrag schicken",
             "Staffelpreise für Schrauben und Dübel.", false, 1, "201"},
            {2, "10001", QDate(2026, 9, 24), QTime(9, 0), 2, "Ersatzplatten liefern", "", true, 2, "201"},
            {3, "10001", QDate(2026, 12, 4), QTime(10, 0), 1, "Zahlungseingang prüfen", "", false, 4, "202"},
            {4, "10005", QDate(2026, 10, 16), QTime(15, 30), 3, "Mengen für Ortsumgehung klären", "", false, 5, "203"},
            {5, "10002", QDate(2026, 10, 13), QTime(8, 30), 2, "Liefertermin bestätigen", "", true, QVariant(), "202"},
        });
}

Rows groupRows()
{
    return rowsOf({"Gruppe", "Bezeichnung", "Bemerkung"},
                  {
                      {"HANDWERK", "Handwerksbetriebe", "Sonderkonditionen laut Rahmenvertrag"},
                      {"NEWSLETTER", "Empfänger des Newsletters", ""},
                      {"PRIVAT", "Privatkunden", ""},
                      {"STAMM", "Stammkunden", "Mindestens drei Aufträge im Jahr"},
                  });
}

Rows groupAssignmentRows()
{
    return rowsOf({"Nr", "Gruppe", "Seit"}, {
                                                {"10001", "HANDWERK", QDate(2003, 1, 1)},
                                                {"10001", "STAMM", QDate(1998, 6, 1)},
                                                {"10002", "PRIVAT", QDate(2012, 1, 1)},
                                                {"10005", "HANDWERK", QDate(2019, 1, 2)},
                                                {"10005", "STAMM", QDate(2021, 1, 1)},
                                                {"10006", "NEWSLETTER", QDate(2020, 6, 1)},
                                                {"10006", "PRIVAT", QDate(2020, 6, 1)},
                                            });
}

}
