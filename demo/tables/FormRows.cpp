#include "demo/tables/FormRows.h"

// Layout and template files the demo's form rows name (the demo layouts and
// e-mail templates carry exactly these names):
//
// Lists and forms (.lst):
//   Auftrag_Angebot, Auftrag_Auftragsbest, Auftrag_Lieferschein, Auftrag_Rechnung,
//   Auftrag_Barrechnung, Auftrag_Gutschrift, Auftrag_Liste, Auftrag_Provisionsliste,
//   Bestellung_Anfrage, Bestellung_Bestellung, Bestellung_Stornierung,
//   Bestellung_Sonstiges, Bestellung_Liste, Mahnung_Mahnung, OffenePosten_Liste,
//   OpoBList_Liste, Zahlungseingang_Liste, Zahlungsausgang_Liste, Kunden_Liste,
//   Liefer_Liste, Mitarbei_Liste, Ansprech-K_Liste, Ansprech-L_Liste,
//   Kontakte-K_Liste, Kontakte-L_Liste, Kontakte-M_Liste, Kontakte_Liste,
//   KunPreis_Liste, ArtPreis_Liste, Artikel_Liste, Stueckliste_Liste, LfrArt_Liste,
//   MabKun_Liste, Lagerbew_Liste, KunAtr_Liste-A, KunAtr_Liste-O, KunAtr_Liste-U,
//   KunArt_Liste, ArtKun_Liste, ZVBestellform_Bestellform, Aufgaben-K_Liste,
//   Aufgaben_Liste, Gruppen_Liste, GrZuord-K_Liste, GrZuord-G_Liste,
//   Textbausteine_Liste
// Labels (.lbl):
//   Auftrag_Etikett, Auftrag_Sonstiges, Auftrag_EtikettArt, Bestellung_Etikett,
//   Bestellung_EtikettSon, Bestellung_EtikettArt, Kunden_Etikett, Liefer_Etikett,
//   Artikel_Etikett, Lagerbew_Etikett
// E-mail templates (.frm):
//   Auftrag_Angebot, Auftrag_Auftragsbest, Auftrag_Lieferschein, Auftrag_Rechnung,
//   Auftrag_Barrechnung, Auftrag_Gutschrift, Bestellung_Anfrage, Bestellung_Bestellung,
//   Bestellung_Stornierung, Bestellung_Sonstiges

namespace demo {
namespace {

enum class Output { List, Label, Mail };

struct Form
{
    QString module;
    QString type;
    QString sortKey;
    QString description;
    Output output;
};

// Sales documents and their e-mail twins; the invoice has a second row
// that shows the screen preview, the delivery note prints on the form printer.
const QList<Form> salesForms = {
    {"Auftrag", "Angebot", "1", "Angebot", Output::List},
    {"Auftrag", "Auftragsbest.", "1", "Auftragsbestätigung", Output::List},
    {"Auftrag", "Lieferschein", "1", "Lieferschein", Output::List},
    {"Auftrag", "Rechnung", "1", "Rechnung", Output::List},
    {"Auftrag", "Rechnung", "2", "Rechnung (Vorschau)", Output::List},
    {"Auftrag", "Barrechnung", "1", "Barrechnung", Output::List},
    {"Auftrag", "Gutschrift", "1", "Gutschrift", Output::List},
    {"Auftrag", "Liste", "1", "Auftragsliste", Output::List},
    {"Auftrag", "Provisionsliste", "1", "Provisionsliste", Output::List},
    {"Auftrag", "Etikett", "1", "Adressetikett", Output::Label},
    {"Auftrag", "Sonstiges", "1", "Adressetikett mit Kundendaten", Output::Label},
    {"Auftrag", "EtikettArt", "1", "Artikeletikett", Output::Label},
};

const QList<Form> purchaseForms = {
    {"Bestellung", "Anfrage", "1", "Anfrage", Output::List},
    {"Bestellung", "Bestellung", "1", "Bestellung", Output::List},
    {"Bestellung", "Stornierung", "1", "Stornierung", Output::List},
    {"Bestellung", "Sonstiges", "1", "Sonstiges Schreiben", Output::List},
    {"Bestellung", "Liste", "1", "Bestellliste", Output::List},
    {"Bestellung", "Etikett", "1", "Adressetikett", Output::Label},
    {"Bestellung", "EtikettSon", "1", "Etikett mit Lieferantendaten", Output::Label},
    {"Bestellung", "EtikettArt", "1", "Artikeletikett", Output::Label},
};

const QList<Form> receivableForms = {
    {"Mahnung", "Mahnung", "1", "Mahnschreiben", Output::List},
    {"Offene Posten", "Liste", "1", "Offene Posten", Output::List},
    {"OpoBList", "Liste", "1", "Offene Posten Einkauf", Output::List},
    {"Zahlungseingang", "Liste", "1", "Zahlungseingänge", Output::List},
    {"Zahlungsausgang", "Liste", "1", "Zahlungsausgänge", Output::List},
};

const QList<Form> masterForms = {
    {"Kunden", "Liste", "1", "Kundenliste", Output::List},
    {"Kunden", "Etikett", "1", "Kundenetikett", Output::Label},
    {"Liefer", "Liste", "1", "Lieferantenliste", Output::List},
    {"Liefer", "Etikett", "1", "Lieferantenetikett", Output::Label},
    {"Mitarbei", "Liste", "1", "Mitarbeiterliste", Output::List},
    {"Ansprech-K", "Liste", "1", "Ansprechpartner des Kunden", Output::List},
    {"Ansprech-L", "Liste", "1", "Ansprechpartner Lieferant", Output::List},
    {"KunPreis", "Liste", "1", "Kundenpreise", Output::List},
    {"ArtPreis", "Liste", "1", "Preise eines Artikels", Output::List},
    {"Artikel", "Liste", "1", "Artikelliste mit Inventurwert", Output::List},
    {"Artikel", "Etikett", "1", "Regaletikett", Output::Label},
    {"Stückliste", "Liste", "1", "Stückliste", Output::List},
    {"LfrArt", "Liste", "1", "Artikel des Lieferanten", Output::List},
    {"MabKun", "Liste", "1", "Kunden des Mitarbeiters", Output::List},
    {"Lagerbew", "Liste", "1", "Lagerbewegungen", Output::List},
    {"Lagerbew", "Etikett", "1", "Wareneingangsetikett", Output::Label},
    {"ZVBestellform", "Bestellform", "1", "Bestellformular", Output::List},
};

const QList<Form> statisticsForms = {
    {"KunAtr", "Liste-A", "1", "Aufträge des Kunden", Output::List},
    {"KunAtr", "Liste-O", "1", "Offene Posten des Kunden", Output::List},
    {"KunAtr", "Liste-U", "1", "Zahlungen des Kunden", Output::List},
    {"KunArt", "Liste", "1", "Artikel des Kunden", Output::List},
    {"ArtKun", "Liste", "1", "Kunden des Artikels", Output::List},
};

const QList<Form> contactForms = {
    {"Kontakte-K", "Liste", "1", "Kontakte des Kunden", Output::List},
    {"Kontakte-L", "Liste", "1", "Kontakte des Lieferanten", Output::List},
    {"Kontakte-M", "Liste", "1", "Kontakte des Mitarbeiters", Output::List},
    {"Kontakte", "Liste", "1", "Alle Kontakte", Output::List},
    {"Aufgaben-K", "Liste", "1", "Aufgaben des Kunden", Output::List},
    {"Aufgaben", "Liste", "1", "Alle Aufgaben", Output::List},
    {"Gruppen", "Liste", "1", "Gruppen", Output::List},
    {"GrZuord-K", "Liste", "1", "Gruppen des Kunden", Output::List},
    {"GrZuord-G", "Liste", "1", "Kunden der Gruppe", Output::List},
    {"Textbausteine", "Liste", "1", "Textbausteine", Output::List},
};

const QStringList salesMailTypes = {"Angebot",  "Auftragsbest.", "Lieferschein",
                                    "Rechnung", "Barrechnung",   "Gutschrift"};
const QStringList purchaseMailTypes = {"Anfrage", "Bestellung", "Stornierung", "Sonstiges"};

QString spelledOut(QString text)
{
    const QList<QPair<QString, QString>> replacements = {{"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"},
                                                         {"Ä", "Ae"}, {"Ö", "Oe"}, {"Ü", "Ue"},
                                                         {"ß", "ss"}, {" ", ""},   {".", ""}};
    for (const auto &[from, to] : replacements)
        text.replace(from, to);
    return text;
}

QString extensionOf(Output output)
{
    switch (output) {
    case Output::Label:
        return QStringLiteral(".lbl");
    case Output::Mail:
        return QStringLiteral(".frm");
    default:
        return QStringLiteral(".lst");
    }
}

// Output letter: "S" default printer, "F" form printer, "B" screen.
QString outputLetter(const Form &form)
{
    if (form.sortKey == QLatin1String("2"))
        return QStringLiteral("B");
    if (form.type == QLatin1String("Lieferschein"))
        return QStringLiteral("F");
    return QStringLiteral("S");
}

Row formRow(const Form &form)
{
    Row row{{"Modul", form.module},
            {"Typ", form.output == Output::Mail ? form.type + QStringLiteral("-eMail") : form.type},
            {"Sortierung", form.sortKey},
            {"Bezeichnung", form.description},
            {"DateiErsteSeite", formFileName(form.module, form.type, QString())}};
    if (form.output == Output::Mail)
        return row;
    row.insert("Ausdrucke", form.type == QLatin1String("Rechnung") && form.sortKey == QLatin1String("1") ? 2 : 1);
    row.insert("EtikettListe", outputLetter(form));
    if (outputLetter(form) == QLatin1String("F"))
        row.insert("Treiber", "Tintlen PDF,Tintlen,PDF");
    if (form.type == QLatin1String("Rechnung"))
        row.insert("Bemerkung", "Original und Kopie für die Buchhaltung");
    return row;
}

QList<Form> mailForms(const QString &module, const QStringList &types)
{
    QList<Form> forms;
    for (const QString &type : types)
        forms << Form{module, type, "1", type + QStringLiteral(" per E-Mail"), Output::Mail};
    return forms;
}

QList<Form> allForms()
{
    return salesForms + mailForms("Auftrag", salesMailTypes) + purchaseForms
           + mailForms("Bestellung", purchaseMailTypes) + receivableForms + masterForms + statisticsForms
           + contactForms;
}

}

QString formFileName(const QString &module, const QString &formType, const QString &extension)
{
    return spelledOut(module) + QLatin1Char('_') + spelledOut(formType) + extension;
}

Rows formRows()
{
    Rows rows;
    for (const Form &form : allForms())
        rows << formRow(form);
    return rows;
}

QString formRowFile(const Row &row)
{
    const QString stored = row.value("DateiErsteSeite").toString();
    for (const Form &form : allForms()) {
        if (formRow(form).value("DateiErsteSeite").toString() == stored
            && formRow(form).value("Typ") == row.value("Typ"))
            return stored + extensionOf(form.output);
    }
    return stored;
}

}
