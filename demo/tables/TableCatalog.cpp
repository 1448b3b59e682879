#include "demo/tables/TableCatalog.h"

#include "platform/runtime/Exceptions.h"

namespace demo {
namespace {

TableSpec table(const QString &fileName, TableFolder folder, const QString &fields, int keyFieldCount,
                const QList<IndexSpec> &indexes = {}, const QList<PictureSpec> &pictures = {})
{
    return TableSpec{fileName, folder, parseFields(fields), keyFieldCount, indexes, pictures};
}

// A German postcode has five digits, an Austrian or Swiss one four. A phone
// number starts with the area code's 0 or the country's "+" and goes on in
// digits, written in groups as people write them ("089 4711-0",
// "+43 1 597 33 21", "0711/78800").
const QString postcodePicture = QStringLiteral("####[#]");
const QString phonePicture = QStringLiteral("{+,0}*{#, ,-,/}");

QList<PictureSpec> addressPictures(const QString &postcode, const QStringList &phones)
{
    QList<PictureSpec> pictures;
    if (!postcode.isEmpty())
        pictures << PictureSpec{postcode, postcodePicture};
    for (const QString &phone : phones)
        pictures << PictureSpec{phone, phonePicture};
    return pictures;
}

// Sales and purchase documents share their amount pairs: each amount in
// euro and, with "Wae", in the document's currency.
const QString documentAmounts =
    QStringLiteral("endbetrag N, endbetragWae N, steuer1 N, steuer1Wae N, steuer2 N, steuer2Wae N,"
                   "Endbetrag1Netto N, Endbetrag1NettoWae N, Endbetrag2Netto N, Endbetrag2NettoWae N");

const QString positionFields =
    QStringLiteral("auftragnr A10, posnr S, Artikelnr A20, Bezeichnung A60, Text M, menge N, Einheit A10,"
                   "epreis N, epreisWae N, gpreis N, gpreisWae N, steuersatz A2, posdruck S, kundennr A10");

const QString addressFields =
    QStringLiteral("nr A10, Anrede A20, Name A40, Vorname A30, Name2 A40, Strasse A40, Land A3, plz A10,"
                   "Ort A40, briefanrede A60, Telefon A25, Telefax A25, EMail A80, Gruendungsdatum D,"
                   "Bemerkung M, Bild G");

const QString paymentFields =
    QStringLiteral("LfdNr I, kundennr A10, auftragnr A10, Zahldatum D, zahlbetrag N, zahlbetragWae N,"
                   "Skonto N, Zahlart A20, Beleg A15");

const QString mailboxFields =
    QStringLiteral("LfdNr I, Ordner A80, Benutzer A10, GesendetAm @, AdressNr A10, An M, CC M, BCC M,"
                   "Betreff A255, Gelesen A1, Prioritaet A1, Vertraulichkeit A1, Oeffentlich A1, Text M,"
                   "Format A5, Bestaetigung A1, AngelegtVon A30, AngelegtAm @, GeaendertVon A30,"
                   "GeaendertAm @, SpeichInOrdner A120, Fehler A1, MailTyp I, Anlagen M");

QList<TableSpec> settingsTables()
{
    return {
        table("Formular.db", TableFolder::Data,
              "Modul A15, Typ A30, Sortierung A2, Bezeichnung A30, Ausdrucke S, Treiber A50,"
              "EtikettListe A1, DateiErsteSeite A40, Bemerkung A60",
              3),
        table("setup.db", TableFolder::Data,
              "FensterAbsender A120, Firma A40, Strasse A40, PLZ A10, Ort A40, Telefon A25,"
              "EMail A80, BezSteuer A20, EuroBezeichnung A10, Waehrung A10, Mwst1 N, Mwst2 N,"
              "DezStMengeDruck S, DezStPreisDruck S, DezStGPreisDruck S, Bank1 A40, Blz1 A10,"
              "KtoNr1 A12, Bank2 A40, Blz2 A10, KtoNr2 A12, Bank3 A40, Blz3 A10, KtoNr3 A12,"
              "anrede3 A60, LagEtikAnzUebern A1",
              0, {}, addressPictures("PLZ", {"Telefon"})),
        table("setupLoc.db", TableFolder::User,
              "EuroDruckVorgabe A1, AtrLstAL A1, AtrLstAG A1, AtrLstAB A1, AtrLstLS A1,"
              "AtrLstRG A1, AtrLstRB A1, AtrLstGS A1, AtrLstBereich A1, AtrLstVertreter A1,"
              "AtrLstVertreternr A10, AtrLstVon D, AtrLstBis D, KunArtDruckVon D,"
              "KunArtDruckBis D, KunArtDruckJN A1, ArtKunDruckVon D, ArtKunDruckBis D",
              0),
        table("StSatz.db", TableFolder::Data, "steuersatz A2, steuer N, steuerAlt N, GueltigAb D, Bezeichnung A30", 1),
    };
}

QList<TableSpec> documentTables()
{
    return {
        table("Auftrag.db", TableFolder::Data,
              "auftragnr A10, kundennr A10, Datum D, RGDatum D, Lieferdatum D, AuftragArt A1,"
              "AtrTyp1 A1, AtrTyp2 A1, AtrTyp3 A1, AtrTyp4 A1, AtrTyp5 A1, AtrTyp6 A1, mark A1,"
              "Euro A1, zahlungIn S, SkontoTage S, Skonto N, Kopftext M, nrzweitadresse A10,"
              "vertreternr A10, Bestellzeichen A30,"
                  + documentAmounts
                  + ", provisionsbetrag N, provisionsbetragWae N, alsBezahltgebucht A1,"
                    "Versandkosten $, Zaehler +",
              1, {parseIndex("ATRKUNNR: kundennr; auftragnr")}),
        table("atrpos.db", TableFolder::Data, positionFields, 2,
              {parseIndex("APOKUNARTNR: kundennr; Artikelnr"), parseIndex("APOARTNR: Artikelnr")}),
        table("Bestell.db", TableFolder::Data,
              "auftragnr A10, kundennr A10, bestelldatum D, Liefertermin D, BestellArt A1, mark A1,"
              "Euro A1, zahlungIn S, SkontoTage S, Kopftext M, "
                  + documentAmounts,
              1),
        table("bestpos.db", TableFolder::Data, positionFields, 2),
    };
}

QList<TableSpec> masterTables()
{
    return {
        table("Kunden.db", TableFolder::Data, addressFields, 1, {}, addressPictures("plz", {"Telefon", "Telefax"})),
        table("Liefer.db", TableFolder::Data, addressFields, 1, {}, addressPictures("plz", {"Telefon", "Telefax"})),
        table("Mitarbei.db", TableFolder::Data,
              "nr A10, Name A40, Vorname A30, Strasse A40, Land A3, plz A10, Ort A40,"
              "Telefon A25, EMail A80, Provision N, Eintritt D",
              1, {}, addressPictures("plz", {"Telefon"})),
        table("Artikel.db", TableFolder::Data,
              "Artikelnr A20, Bezeichnung A60, Einheit A10, Bestand N, EkPreis N, EkPreisWae N,"
              "VK1 N, VK1Wae N, PreisEinheit N, lieferantnr A10, Freifeld A20, steuersatz A2, Bild G",
              1, {parseIndex("ARTLFRNR: lieferantnr; Artikelnr")}),
        table("laender.db", TableFolder::Data, "Lkz A3, Land A40, Vorwahl A6", 1),
        table("kunPreis.db", TableFolder::Data,
              "Kundennr A10, Artikelnr A20, Preis N, PreisWae N, Rabatt N, GueltigBis D", 2,
              {parseIndex("KUNPREISART: Artikelnr; Kundennr")}),
        table("KArtDru.db", TableFolder::Data, "Artikelnr A20", 1),
        table("artstlst.db", TableFolder::Data, "OArtikelnr A20, Artikelnr A20, Menge N, Bemerkung A40", 2),
        table("lagerbew.db", TableFolder::Data,
              "LfdNr I, artikelnr A20, Datum D, zugang N, abgang N, lfrnr A10, Beleg A20, Bemerkung A60", 1),
        table("mabkun.db", TableFolder::Alias, "mitarbeiternr A10, kundennr A10, Seit D, Bemerkung A60", 2),
    };
}

QList<TableSpec> receivableTables()
{
    return {
        table("offpos.db", TableFolder::Data,
              "auftragnr A10, kundennr A10, Datum D, faellig D, auftragswert N, auftragswertWae N,"
              "gezahlt N, gezahltWae N, offenerBetrag N, offenerBetragWae N, mahnstufe S,"
              "mahndatum1 D, mahndatum2 D, mahndatum3 D, mahndatum4 D, mahndatum5 D, mahnzinsen N,"
              "mahnzinsBetrag N, mahnzinsBetragWae N, mahnzinstage S, mahngebuehr N, mahngebuehrWae N",
              1, {parseIndex("OPOKUNATRNR: kundennr; auftragnr")}),
        table("offposBe.db", TableFolder::Data,
              "auftragnr A10, kundennr A10, Datum D, faellig D, Auftragswert N, AuftragswertWae N,"
              "Gezahlt N, GezahltWae N",
              1),
        table("offposMa.db", TableFolder::Data,
              "kundennr A10, auftragnr A10, mahnstufe S, mahnzinsen N, mahnzinsbetrag N,"
              "mahnzinsbetragWae N, mahnzinstage S",
              2),
        table("MahnPara.db", TableFolder::Data,
              "Mahnstufe S, Bezeichnung A30, zahlfrist S, mahngebuehr N, mahngebuehrWae N, Zinssatz N, mahntext M", 1),
        table("umsatz.db", TableFolder::Data, paymentFields, 1,
              {parseIndex("UMSKUNATRNR: kundennr; auftragnr"), parseIndex("UMSZAHLDATUM: Zahldatum"),
               parseIndex("UMSBELEG: Beleg")}),
        table("UmsatzBe.db", TableFolder::Data, paymentFields, 1,
              {parseIndex("UMSKUNATRNR: kundennr; auftragnr"), parseIndex("UMSZAHLDATUM: Zahldatum"),
               parseIndex("UMSBELEG: Beleg")}),
    };
}

QList<TableSpec> contactTables()
{
    return {
        table("Ansprech.db", TableFolder::Data,
              "Art A1, Nr A10, LfdNr S, Anrede A20, Name A40, Vorname A30, Abteilung A30,"
              "Telefon A25, eMail A80, FreiFeld1 A40",
              3, {}, addressPictures({}, {"Telefon"})),
        table("kontakte.db", TableFolder::Data,
              "Art A1, Nr A10, LfdNr I, Datum D, Zeit T, Betreff A60, Notiz M, Dauer N, Mitarbeiter A10", 3,
              {parseIndex("SortID: LfdNr")}),
        table("aufgaben.db", TableFolder::Data,
              "LfdNr I, Nr A10, Datum D, Zeit T, Prioritaet S, Betreff A60, Beschreibung M,"
              "Erledigt L, LfdNrKontakt I, Mitarbeiter A10",
              1, {parseIndex("SortAdrNrDatumZeitPrior: Nr; Datum; Zeit; Prioritaet")}),
        table("gruppen.db", TableFolder::Data, "Gruppe A20, Bezeichnung A40, Bemerkung M", 1),
        // A single-field index named after its field is case-sensitive, as the
        // suite's own engine kept it.
        table("GrZuord.db", TableFolder::Data, "Nr A10, Gruppe A20, Seit D", 2, {parseIndex("Gruppe: Gruppe", false)}),
    };
}

QList<TableSpec> mailProgramTables()
{
    return {
        table("am-Benutzer.db", TableFolder::MailData, "Name A30, Nr S, Vollname A60, EMail A80", 1),
        table("MailAusgang.db", TableFolder::Mailbox, mailboxFields, 1),
        table("MailEingang.db", TableFolder::Mailbox, mailboxFields, 1),
        table("MailGesendet.db", TableFolder::Mailbox, mailboxFields, 1),
        table("MailTrash.db", TableFolder::MailUser, mailboxFields, 1),
        table("Texte.db", TableFolder::Mailbox, "LfdNr I, Kurzname A20, Betreff A80, Text M", 1),
    };
}

QList<TableSpec> buildCatalog()
{
    return settingsTables() + documentTables() + masterTables() + receivableTables() + contactTables()
           + mailProgramTables();
}

QString withExtension(const QString &fileName)
{
    return fileName.contains(QLatin1Char('.')) ? fileName : fileName + QStringLiteral(".db");
}

}

const QList<TableSpec> &tableCatalog()
{
    static const QList<TableSpec> catalog = buildCatalog();
    return catalog;
}

const TableSpec &tableSpec(const QString &fileName)
{
    const QString wanted = withExtension(fileName);
    for (const TableSpec &spec : tableCatalog()) {
        if (spec.fileName.compare(wanted, Qt::CaseInsensitive) == 0)
            return spec;
    }
    throw Exception(QStringLiteral("Die Demo-Tabelle %1 gibt es nicht.").arg(fileName));
}

}
