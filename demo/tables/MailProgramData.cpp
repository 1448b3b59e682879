#include "demo/tables/MailProgramData.h"

#include <QDateTime>

namespace demo {

const QString mailCounterFolder = QStringLiteral("Neue DS-Nr - Dieser Datensatz darf nicht gelöscht werden!");

namespace {

// A message not sent yet carries the engine's zero time plus one second.
const QDateTime notSent(QDate(1899, 12, 30), QTime(0, 0, 1));

struct Message
{
    int number;
    QString folder;
    QDateTime sentAt;
    QString partner;
    QString to;
    QString subject;
    QString text;
    bool read;
};

Row messageRow(const Message &message)
{
    const QDateTime created = message.sentAt == notSent ? QDateTime(QDate(2026, 11, 27), QTime(9, 12)) : message.sentAt;
    return Row{{"LfdNr", message.number},
               {"Ordner", message.folder},
               {"Benutzer", "2"},
               {"GesendetAm", message.sentAt},
               {"AdressNr", message.partner},
               {"An", message.to},
               {"CC", ""},
               {"BCC", ""},
               {"Betreff", message.subject},
               {"Gelesen", message.read ? "J" : "N"},
               {"Prioritaet", "B"},
               {"Vertraulichkeit", "A"},
               {"Oeffentlich", "1"},
               {"Text", message.text},
               {"Format", "txt"},
               {"Bestaetigung", "N"},
               {"AngelegtVon", demoMailUser()},
               {"AngelegtAm", created},
               {"GeaendertVon", demoMailUser()},
               {"GeaendertAm", created},
               {"SpeichInOrdner", "Gesendet"},
               {"Fehler", "N"},
               {"MailTyp", 0}};
}

Rows messageRows(const QList<Message> &messages)
{
    Rows rows;
    for (const Message &message : messages)
        rows << messageRow(message);
    return rows;
}

}

QString demoMailUser()
{
    return QStringLiteral("Jürgen");
}

Rows mailUserRows()
{
    return rowsOf({"Name", "Nr", "Vollname", "EMail"},
                  {
                      {"Andrea", 1, "Andrea Lindner", "a.lindner@werkzeughandel-demo.de"},
                      {"Jürgen", 2, "Jürgen Straßer", "j.strasser@werkzeughandel-demo.de"},
                  });
}

Rows outboxRows()
{
    Rows rows = messageRows({
        {1, "Postausgang", notSent, "10002", "kaethe.juergens@example.de", "Ihre Auftragsbestätigung 20260002",
         "Sehr geehrte Frau Jürgens,\r\n\r\nanbei Ihre Auftragsbestätigung.\r\n\r\nMit freundlichen Grüßen", false},
        {2, "Postausgang", notSent, "10006", "j.schroeder@example.com", "Ihre Rechnung 20260007",
         "Sehr geehrter Herr Schröder,\r\n\r\nanbei Ihre Rechnung über 40,90 €.", false},
    });
    rows << Row{{"LfdNr", 7}, {"Ordner", mailCounterFolder}};
    return rows;
}

Rows sentRows()
{
    return messageRows({
        {3, "Gesendet", QDateTime(QDate(2026, 10, 6), QTime(10, 4, 31)), "10001", "info@mueller-soehne.de",
         "Rechnung 20260001", "Sehr geehrter Herr Müller,\r\n\r\nanbei unsere Rechnung.", true},
        {4, "Gesendet", QDateTime(QDate(2026, 10, 14), QTime(15, 40)), "", "einkauf@holzhandel-voss.de",
         "Anfrage 30260002", "Sehr geehrte Damen und Herren,\r\n\r\nbitte nennen Sie uns Ihre Preise.", true},
    });
}

Rows inboxRows()
{
    return messageRows({
        {5, "Posteingang", QDateTime(QDate(2026, 11, 24), QTime(8, 17, 2)), "10001", "info@werkzeughandel-demo.de",
         "AW: Zahlungserinnerung", "Guten Tag,\r\n\r\ndie Zahlung erfolgt Anfang Dezember.\r\n\r\nGrüße aus München",
         false},
    });
}

Rows trashRows()
{
    return messageRows({
        {6, "Papierkorb", QDateTime(QDate(2026, 9, 30), QTime(17, 55)), "", "newsletter@example.org", "Ihr Newsletter",
         "Abgemeldet.", true},
    });
}

Rows textBlockRows()
{
    return rowsOf({"LfdNr", "Kurzname", "Betreff", "Text"},
                  {
                      {1, "Gruss", "Grußformel", "Mit freundlichen Grüßen\r\n\r\nWerkzeughandel Lindner GmbH"},
                      {2, "Zahlung", "Zahlungsbedingungen",
                       "Zahlbar innerhalb von 14 Tagen ohne Abzug, innerhalb von 8 Tagen mit 2 % Skonto. "
                       "Mindermengenzuschlag 5,00 €."},
                      {3, "Urlaub", "Betriebsferien", "Vom 23.12. bis 06.01. bleibt unser Lager geschlossen."},
                  });
}

}
