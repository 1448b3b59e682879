#include "demo/layouts/DocumentLayouts.h"

#include "demo/layouts/DemoLayouts.h"
#include "demo/layouts/LayoutStyle.h"
#include "demo/layouts/ListPage.h"
#include "platform/report/LayoutBuilder.h"

namespace demo {

using namespace report;

namespace {

// What sets one document form apart from the invoice it is made from.
struct DocumentText
{
    QString title;                                  // "Angebot"
    QString numberLabel;                            // "Angebots-Nr.:"
    QString totalLabel;                             // empty: the form prints no prices
    QStringList closing;                            // expressions below the positions
    QString date = dateOf(QStringLiteral("Datum")); // the document's date
};

LayoutObject *objectNamed(Layout &layout, const QString &name)
{
    for (LayoutObject &object : layout.objects) {
        if (object.name == name)
            return &object;
    }
    return nullptr;
}

void setLines(Layout &layout, const QString &name, const QStringList &lines)
{
    LayoutObject *object = objectNamed(layout, name);
    object->lines.clear();
    for (const QString &line : lines)
        object->lines.append(Expression(line));
}

void removeObject(Layout &layout, const QString &name)
{
    layout.objects.removeIf([&name](const LayoutObject &object) { return object.name == name; });
}

const QStringList kGreeting = {QStringLiteral("\"Mit freundlichen Grüßen\""), companyName()};

QString quoted(const QString &text)
{
    return '"' + text + '"';
}

// Subtotal lines ("#ZS", "#Z") arrive with empty own fields; a block end
// ("#ZWB") keeps its description and shows the block's sum.
QList<TableRow> markerRows()
{
    const FontSpec bold = font(9, true);
    TableRow subtotal = tableRow(RowPart::Data, 6,
                                 {column(127, "\"Zwischensumme\"", Qt::AlignRight, bold),
                                  column(48, amountWithCurrency("Übertrag"), Qt::AlignRight, bold)},
                                 "If(TextPos, Empty(Bezeichnung), False)");
    subtotal.lineAbove = 0.2;
    subtotal.lineBelow = 0.2;
    TableRow block = tableRow(RowPart::Data, 6,
                              {column(127, "\"Summe dieses Abschnitts\"", Qt::AlignRight, bold),
                               column(48, amountWithCurrency("ÜbertragBlock"), Qt::AlignRight, bold)},
                              "Upper$(Bezeichnung) = \"#ZWB\"");
    block.lineBelow = 0.3;
    return {subtotal, block};
}

const QString kPlainText =
    QStringLiteral("If(TextPos, If(Empty(Bezeichnung), False, Upper$(Bezeichnung) <> \"#ZWB\"), False)");

TableDef pricedTable(const QString &totalLabel)
{
    TableDef table = *invoiceLayout().table;
    for (TableRow &row : table.rows) {
        if (row.condition.source() == QLatin1String("TextPos"))
            row.condition = Expression(kPlainText);
        if (row.part == RowPart::EndFooter && row.columns.first().expression.source() == "\"Rechnungsbetrag\"")
            row.columns.first().expression = Expression(quoted(totalLabel));
    }
    const auto data = std::find_if(table.rows.begin(), table.rows.end(),
                                   [](const TableRow &row) { return row.part == RowPart::PageFooter; });
    const int at = int(data - table.rows.begin());
    const QList<TableRow> markers = markerRows();
    table.rows.insert(at, markers.at(1));
    table.rows.insert(at, markers.at(0));
    return table;
}

TableDef quantityTable()
{
    const FontSpec head = font(8.5, true);
    const FontSpec body = font(9);
    TableDef table;
    table.rect = QRectF(20, 124, 175, 140);
    table.followingTop = 28;
    TableRow header = headingRow(
        6.5, {column(12, "\"Pos.\"", Qt::AlignLeft, head), column(28, "\"Art.-Nr.\"", Qt::AlignLeft, head),
              column(95, "\"Bezeichnung\"", Qt::AlignLeft, head), column(22, "\"Menge\"", Qt::AlignRight, head),
              column(18, "\"Einheit\"", Qt::AlignLeft, head)});
    TableRow article =
        tableRow(RowPart::Data, 5.5,
                 {column(12, "posdruck", Qt::AlignLeft, body), column(28, "Artikelnr", Qt::AlignLeft, body),
                  column(95, "Bezeichnung", Qt::AlignLeft, body, true),
                  column(22, "Trim(FStr(menge, ZahlFormatMenge))", Qt::AlignRight, body),
                  column(18, "\" \" + Einheit", Qt::AlignLeft, body)},
                 "TextPos = False");
    article.lineBelow = 0.1;
    TableRow text = tableRow(
        RowPart::Data, 5.5, {column(40, "\"\""), column(135, "Bezeichnung", Qt::AlignLeft, font(9, false, true), true)},
        kPlainText);
    // Units differ from line to line, so the quantities are not totalled.
    TableRow closing = tableRow(RowPart::EndFooter, 2, {column(175, "\" \"")});
    closing.lineAbove = 0.5;
    table.rows = {header, article, text, closing};
    return table;
}

// The lines below the positions, with the greeting placed under them.
void setClosing(Layout &layout, const QStringList &closing, const QStringList &greeting = kGreeting)
{
    constexpr double lineHeight = 4.6;
    LayoutObject *terms = objectNamed(layout, "Zahlungsbedingungen");
    terms->rect.setHeight(lineHeight * closing.size() + 2);
    setLines(layout, "Zahlungsbedingungen", closing);
    LayoutObject *greetingObject = objectNamed(layout, "Gruss");
    greetingObject->rect =
        QRectF(terms->rect.left(), terms->rect.bottom() + 4, terms->rect.width(), lineHeight * greeting.size() + 2);
    setLines(layout, "Gruss", greeting);
}

Layout salesDocument(const DocumentText &text)
{
    Layout layout = invoiceLayout();
    const QString title = quoted(text.title + " Nr. ") + " + auftragnr";
    setLines(layout, "Titel", {title});
    setLines(layout, "Belegbegriffe", {quoted(text.numberLabel), "\"Kunden-Nr.:\"", "\"Datum:\"", "\"Seite:\""});
    setLines(layout, "Belegangaben", {"auftragnr", "kundennr", text.date, "Seite"});
    setLines(layout, "Folgekopf", {title + " + \" vom \" + " + text.date + " + \" - Seite \" + Seite"});
    setClosing(layout, text.closing);
    layout.table = text.totalLabel.isEmpty() ? quantityTable() : pricedTable(text.totalLabel);
    return layout;
}

Layout purchaseDocument(const DocumentText &text)
{
    Layout layout = salesDocument(text);
    removeObject(layout, "Belegbarcode");
    setLines(layout, "Anschrift", addressWithCountry("Lieferant_"));
    setLines(layout, "Belegbegriffe", {quoted(text.numberLabel), "\"Lieferanten-Nr.:\"", "\"Datum:\"", "\"Seite:\""});
    setLines(layout, "Belegangaben", {"auftragnr", "kundennr", "Date$(bestelldatum, \"dd.mm.yyyy\")", "Seite"});
    const QString title = quoted(text.title + " Nr. ") + " + auftragnr";
    setLines(layout, "Folgekopf",
             {title + " + \" vom \" + Date$(bestelldatum, \"dd.mm.yyyy\") + \" - Seite \" + Seite"});
    return layout;
}

const QString kPaymentTerms = QStringLiteral(
    "\"Zahlbar bis zum \" + ZahlbarBisDatum + \" ohne Abzug\" + If(Skonto = 0, \".\", \", bis zum \" + SkontoBisDatum + \" mit \" + "
    "Trim(FStr(Skonto, \"-&.#\")) + \" % Skonto.\")");

QList<QPair<QString, Layout>> salesDocuments()
{
    const QString delivery = QStringLiteral("\"Lieferdatum: \" + Date$(Lieferdatum, \"dd.mm.yyyy\")");
    return {
        {"Auftrag_Angebot.lst",
         salesDocument({"Angebot",
                        "Angebots-Nr.:",
                        "Angebotssumme",
                        {"\"An dieses Angebot halten wir uns 30 Tage gebunden.\"", kPaymentTerms}})},
        {"Auftrag_Auftragsbest.lst",
         salesDocument({"Auftragsbestätigung",
                        "Auftrags-Nr.:",
                        "Auftragssumme",
                        {"If(Empty(Bestellzeichen), \"\", \"Bezug: \" + Bestellzeichen)",
                         "\"Wir bestätigen Ihren Auftrag zu den oben genannten Preisen und Bedingungen.\"", delivery,
                         kPaymentTerms}})},
        {"Auftrag_Lieferschein.lst",
         salesDocument({"Lieferschein",
                        "Lieferschein-Nr.:",
                        {},
                        {delivery, "\" \"", "\"Ware vollständig und unbeschädigt erhalten:\"", "\" \"",
                         "\"____________________________    ____________________________\"",
                         "\"Datum                                            Unterschrift\""}})},
        {"Auftrag_Rechnung.lst",
         salesDocument({"Rechnung", "Rechnungs-Nr.:", "Rechnungsbetrag", {delivery, kPaymentTerms}, invoiceDate()})},
        {"Auftrag_Barrechnung.lst", salesDocument({"Barrechnung",
                                                   "Rechnungs-Nr.:",
                                                   "Rechnungsbetrag",
                                                   {"\"Betrag dankend in bar erhalten.\"", delivery},
                                                   invoiceDate()})},
        {"Auftrag_Gutschrift.lst",
         salesDocument({"Gutschrift",
                        "Gutschrift-Nr.:",
                        "Gutschriftsbetrag",
                        {"\"Den Betrag schreiben wir Ihrem Kundenkonto gut oder überweisen ihn auf Ihr Konto.\""}})},
    };
}

QList<QPair<QString, Layout>> purchaseDocuments()
{
    const QString delivery = QStringLiteral("\"Liefertermin: \" + Date$(Liefertermin, \"dd.mm.yyyy\")");
    return {
        {"Bestellung_Anfrage.lst",
         purchaseDocument(
             {"Anfrage",
              "Anfrage-Nr.:",
              {},
              {"\"Bitte nennen Sie uns Ihre Preise und Ihren frühesten Liefertermin für die genannten Mengen.\""}})},
        {"Bestellung_Bestellung.lst",
         purchaseDocument(
             {"Bestellung",
              "Bestell-Nr.:",
              "Bestellsumme",
              {delivery, "\"Bitte bestätigen Sie uns die Bestellung und geben Sie unsere Bestell-Nr. auf allen "
                         "Papieren an.\""}})},
        {"Bestellung_Stornierung.lst",
         purchaseDocument({"Stornierung",
                           "Bestell-Nr.:",
                           {},
                           {"\"Hiermit stornieren wir die oben genannten Positionen unserer Bestellung.\"",
                            "\"Bitte bestätigen Sie uns die Stornierung kurz schriftlich.\""}})},
        {"Bestellung_Sonstiges.lst", purchaseDocument({"Schreiben zur Bestellung",
                                                       "Bestell-Nr.:",
                                                       {},
                                                       {"\"Für Rückfragen stehen wir Ihnen gern zur Verfügung.\""}})},
    };
}

TableDef dunningTable()
{
    const FontSpec head = font(8.5, true);
    const FontSpec body = font(9);
    TableDef table;
    table.rect = QRectF(20, 130, 175, 130);
    table.followingTop = 28;
    TableRow header =
        headingRow(6.5, {column(25, "\"Rechnung\"", Qt::AlignLeft, head), column(24, "\"vom\"", Qt::AlignLeft, head),
                         column(24, "\"fällig am\"", Qt::AlignLeft, head), column(12, "\"Tage\"", Qt::AlignRight, head),
                         column(30, "\"Betrag\"", Qt::AlignRight, head), column(30, "\"offen\"", Qt::AlignRight, head),
                         column(30, "\"Zinsen\"", Qt::AlignRight, head)});
    TableRow item =
        tableRow(RowPart::Data, 5.5,
                 {column(25, "auftragnr", Qt::AlignLeft, body), column(24, dateOf("Datum"), Qt::AlignLeft, body),
                  column(24, dateOf("faellig"), Qt::AlignLeft, body), column(12, "mahnzinstage", Qt::AlignRight, body),
                  column(30, amountOf("auftragswert"), Qt::AlignRight, body),
                  column(30, amountOf("offenerBetrag"), Qt::AlignRight, body),
                  column(30, amountOf("mahnzinsBetrag"), Qt::AlignRight, body)});
    item.lineBelow = 0.1;
    auto sumRow = [&body](const QString &label, const QString &amount, const QString &condition = {}) {
        return tableRow(RowPart::EndFooter, 5.5,
                        {column(115, quoted(label), Qt::AlignRight, body),
                         column(60, amountWithCurrency(amount), Qt::AlignRight, body)},
                        condition);
    };
    TableRow open = sumRow("Offener Betrag", "Summe_OffenerBetrag");
    open.lineAbove = 0.5;
    TableRow interest = sumRow("Verzugszinsen", "Summe_Verzugszinsen", "Summe_Verzugszinsen <> 0");
    TableRow fee = sumRow("Mahngebühr", "Mahngebühr", "Mahngebühr <> 0");
    TableRow total = tableRow(RowPart::EndFooter, 8,
                              {column(115, "\"Zu zahlender Betrag\"", Qt::AlignRight, font(10.5, true)),
                               column(60, amountWithCurrency("Summe_OffenerBetrag + Summe_Verzugszinsen + Mahngebühr"),
                                      Qt::AlignRight, font(10.5, true))});
    total.fill = kHeaderFill;
    total.lineAbove = 0.3;
    total.lineBelow = 0.6;
    table.rows = {header, item, open, interest, fee, total};
    return table;
}

Layout dunningLetter()
{
    Layout layout = invoiceLayout();
    removeObject(layout, "Belegbarcode");
    // The heading names the level ("2. Mahnung"); the letter bears its date.
    setLines(layout, "Belegbegriffe", {"\"Kunden-Nr.:\"", "\"Datum:\"", "\"Seite:\""});
    setLines(layout, "Belegangaben", {"Kunde_nr", "Today()", "Seite"});
    setLines(layout, "Titel", {"Bezeichnung"});
    setLines(layout, "Anschreiben", {"Mahntext"});
    objectNamed(layout, "Anschreiben")->rect = QRectF(20, 107, 175, 20);
    setLines(layout, "Folgekopf", {"Bezeichnung + \" - Kunden-Nr. \" + Kunde_nr + \" - Seite \" + Seite"});
    setClosing(layout, {"\"Sollten Sie den Betrag in den letzten Tagen bereits überwiesen haben,\"",
                        "\"betrachten Sie dieses Schreiben bitte als gegenstandslos.\""});
    layout.table = dunningTable();
    return layout;
}

// A fax order form for customers: the company's head and empty order lines.
Layout orderForm()
{
    Layout layout = invoiceLayout();
    for (const char *name : {"Belegbarcode", "Belegbegriffe", "Belegangaben", "Folgekopf", "Folgelinie", "Anschreiben"})
        removeObject(layout, name);
    setLines(layout, "Anschrift", {"\"Fax-Bestellung an\"", "Firmenabsender"});
    objectNamed(layout, "Anschrift")->wrap = true;
    setLines(layout, "Titel", {"\"Bestellformular\""});
    LayoutObject sender = textObject("Besteller", {20, 107, 175, 16},
                                     {"\"Kunden-Nr.: ______________   Name: ________________________________________\"",
                                      "\"Lieferanschrift: ______________________________________________________\"",
                                      "If(Empty(dmy), \"\", \"Stand: \" + dmy)"},
                                     font(9.5), Qt::AlignLeft, Appearance::FirstPage);
    layout.objects.append(sender);
    setClosing(layout, {"\"Wir liefern zu unseren allgemeinen Geschäftsbedingungen.\""},
               {"\" \"", "\"____________________________    ____________________________\"",
                "\"Datum                                            Unterschrift\""});
    TableDef table = quantityTable();
    table.rect = QRectF(20, 128, 175, 130);
    table.rows.removeLast();
    // The lines stay blank for the customer's pen: the form defines no
    // position fields.
    table.rows[1].condition = Expression();
    for (TableColumn &c : table.rows[1].columns)
        c.expression = Expression();
    table.rows.removeAt(2);
    TableRow blank = tableRow(RowPart::EndFooter, 8, {column(175, "\" \"")});
    blank.lineBelow = 0.1;
    for (int i = 0; i < 9; ++i)
        table.rows.append(blank);
    layout.table = table;
    return layout;
}

}

QList<QPair<QString, Layout>> documentLayouts()
{
    return salesDocuments() + purchaseDocuments()
           + QList<QPair<QString, Layout>>{{"Mahnung_Mahnung.lst", dunningLetter()},
                                           {"ZVBestellform_Bestellform.lst", orderForm()}};
}

}
