#include "demo/layouts/DemoLayouts.h"

#include "demo/layouts/LayoutStyle.h"
#include "demo/layouts/ModuleLayouts.h"

#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QImage>
#include <QPainter>

namespace demo {

using namespace report;

namespace {

const QColor kAccent(0x1f, 0x3a, 0x5f);

void addLetterHead(Layout &layout)
{
    layout.objects.append(textObject("Firma", {20, 14, 175, 8}, {"Firmenabsender"}, font(12, true), Qt::AlignRight,
                                     Appearance::FirstPage));
    layout.objects.append(lineObject("Kopflinie", {20, 24}, {195, 24}, 0.6, Appearance::FirstPage));
    layout.objects.append(textObject("Absenderzeile", {20, 46, 85, 4}, {"Firmenabsender"}, font(6.5), Qt::AlignLeft,
                                     Appearance::FirstPage));
    layout.objects.append(lineObject("Absenderlinie", {20, 50}, {105, 50}, 0.15, Appearance::FirstPage));
    LayoutObject address = textObject("Anschrift", {20, 52, 85, 35}, addressWithCountry("Kunde_"), font(10.5),
                                      Qt::AlignLeft, Appearance::FirstPage);
    layout.objects.append(address);
    layout.objects.append(textObject("Belegbegriffe", {130, 52, 28, 20},
                                     {"\"Rechnungs-Nr.:\"", "\"Kunden-Nr.:\"", "\"Datum:\"", "\"Seite:\""}, font(9),
                                     Qt::AlignLeft, Appearance::FirstPage));
    layout.objects.append(textObject("Belegangaben", {158, 52, 37, 20},
                                     {"auftragnr", "kundennr", invoiceDate(), "Seite"}, font(9, true), Qt::AlignRight,
                                     Appearance::FirstPage));
    layout.objects.append(
        barcodeObject("Belegbarcode", {145, 75, 50, 9}, "Barcode_Auftragnr_CODE128_Dick", 0, Appearance::FirstPage));
    layout.objects.back().showText = false;
    layout.objects.append(textObject("Titel", {20, 97, 175, 8}, {"\"Rechnung Nr. \" + auftragnr"}, font(15, true),
                                     Qt::AlignLeft, Appearance::FirstPage));
    LayoutObject letter =
        textObject("Anschreiben", {20, 107, 175, 14}, {"Kopftext"}, font(10), Qt::AlignLeft, Appearance::FirstPage);
    letter.wrap = true;
    layout.objects.append(letter);
    layout.objects.append(
        textObject("Folgekopf", {20, 15, 175, 6},
                   {"\"Rechnung Nr. \" + auftragnr + \" vom \" + " + invoiceDate() + " + \" - Seite \" + Seite"},
                   font(9, true), Qt::AlignLeft, Appearance::FollowingPages));
    layout.objects.append(lineObject("Folgelinie", {20, 22}, {195, 22}, 0.3, Appearance::FollowingPages));
    // Every copy after the first of a request for several says so on each page.
    layout.objects.append(
        textObject("Exemplar", {20, 6, 60, 6}, {"If(Exemplar > 1, \"Kopie\", \"\")"}, font(11, true), Qt::AlignLeft));
}

void addPageFooter(Layout &layout)
{
    layout.objects.append(lineObject("Fusslinie", {20, 273}, {195, 273}, 0.3));
    layout.objects.append(textObject("Fussadresse", {20, 275, 88, 12}, {"Firmenabsender"}, font(7)));
    layout.objects.append(textObject("Bank", {110, 275, 85, 12},
                                     {"\"Bankverbindung: \" + Bank1", "\"BLZ \" + BLZ1 + \"  Konto \" + KtoNr1"},
                                     font(7), Qt::AlignRight));
}

// The total on paper is the sum of the amounts printed above it; the stored
// total of a document in another currency was converted as a whole and may
// differ from that sum by a cent.
const QString kPrintedTotal = QStringLiteral("Round(Übertrag, 2) + Round(steuer1, 2) + Round(steuer2, 2)");

TableDef positionsTable()
{
    const FontSpec head = font(8.5, true);
    const FontSpec body = font(9);
    TableDef table;
    table.rect = QRectF(20, 124, 175, 140);
    table.followingTop = 28;
    TableRow header = headingRow(
        6.5, {column(10, "\"Pos.\"", Qt::AlignLeft, head), column(24, "\"Art.-Nr.\"", Qt::AlignLeft, head),
              column(73, "\"Bezeichnung\"", Qt::AlignLeft, head), column(20, "\"Menge\"", Qt::AlignRight, head),
              column(24, "\"Einzelpreis\"", Qt::AlignRight, head),
              column(24, "\"Gesamt \" + Währung", Qt::AlignRight, head)});
    TableRow article =
        tableRow(RowPart::Data, 5.5,
                 {column(10, "posdruck", Qt::AlignLeft, body), column(24, "Artikelnr", Qt::AlignLeft, body),
                  column(73, "Bezeichnung", Qt::AlignLeft, body, true),
                  column(20, "Trim(FStr(menge, ZahlFormatMenge))", Qt::AlignRight, body),
                  column(24, "Trim(FStr(epreis, ZahlFormatPreis))", Qt::AlignRight, body),
                  column(24, "Trim(FStr(gpreis, ZahlFormatGPreis))", Qt::AlignRight, body)},
                 "TextPos = False");
    article.lineBelow = 0.1;
    TableRow text = tableRow(
        RowPart::Data, 5.5, {column(34, "\"\""), column(141, "Bezeichnung", Qt::AlignLeft, font(9, false, true), true)},
        "TextPos");
    TableRow carry = tableRow(RowPart::PageFooter, 6.5,
                              {column(127, "\"Übertrag\"", Qt::AlignRight, font(9, true)),
                               column(48, amountWithCurrency("Übertrag"), Qt::AlignRight, font(9, true))});
    carry.lineAbove = 0.3;
    TableRow carried = tableRow(RowPart::Header, 6,
                                {column(127, "\"Übertrag von Seite \" + (Seite - 1)", Qt::AlignRight, font(9, true)),
                                 column(48, amountWithCurrency("Übertrag"), Qt::AlignRight, font(9, true))},
                                "Seite > 1");
    TableRow net = tableRow(RowPart::EndFooter, 6,
                            {column(127, "\"Summe netto\"", Qt::AlignRight, body),
                             column(48, amountWithCurrency("Übertrag"), Qt::AlignRight, body)});
    net.lineAbove = 0.5;
    TableRow tax1 =
        tableRow(RowPart::EndFooter, 5.5,
                 {column(127, "\"zzgl. \" + SteuerBezeichnung + \" \" + Steuersatz1 + \" %\"", Qt::AlignRight, body),
                  column(48, amountWithCurrency("steuer1"), Qt::AlignRight, body)});
    TableRow tax2 =
        tableRow(RowPart::EndFooter, 5.5,
                 {column(127, "\"zzgl. \" + SteuerBezeichnung + \" \" + Steuersatz2 + \" %\"", Qt::AlignRight, body),
                  column(48, amountWithCurrency("steuer2"), Qt::AlignRight, body)},
                 "steuer2 <> 0");
    TableRow total = tableRow(RowPart::EndFooter, 8,
                              {column(127, "\"Rechnungsbetrag\"", Qt::AlignRight, font(10.5, true)),
                               column(48, amountWithCurrency(kPrintedTotal), Qt::AlignRight, font(10.5, true))});
    total.fill = kHeaderFill;
    total.lineAbove = 0.3;
    total.lineBelow = 0.6;
    table.rows = {header, carried, article, text, carry, net, tax1, tax2, total};
    return table;
}

void addClosing(Layout &layout)
{
    LayoutObject terms = textObject(
        "Zahlungsbedingungen", {20, 6, 175, 10},
        {"\"Bitte zahlen Sie den Rechnungsbetrag bis zum \" + ZahlbarBisDatum + \" ohne Abzug.\"",
         "If(Empty(SkontoBisDatum), \"\", \"Bei Zahlung bis zum \" + SkontoBisDatum + \" gewähren wir Skonto.\")"},
        font(9.5), Qt::AlignLeft, Appearance::AfterTable);
    terms.wrap = true;
    layout.objects.append(terms);
    layout.objects.append(
        textObject("Gruss", {20, 20, 175, 16},
                   {"\"Vielen Dank für Ihren Auftrag.\"", "\"Mit freundlichen Grüßen\"", companyName()}, font(9.5),
                   Qt::AlignLeft, Appearance::AfterTable));
}

QImage articlePicture()
{
    QImage image(240, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 6));
    p.setBrush(QColor(0xd9, 0xe2, 0xec));
    const QPolygonF front({{40, 90}, {150, 90}, {150, 200}, {40, 200}});
    const QPolygonF top({{40, 90}, {90, 45}, {200, 45}, {150, 90}});
    const QPolygonF side({{150, 90}, {200, 45}, {200, 155}, {150, 200}});
    p.drawPolygon(front);
    p.setBrush(QColor(0xb8, 0xc7, 0xd9));
    p.drawPolygon(top);
    p.setBrush(QColor(0x9a, 0xae, 0xc6));
    p.drawPolygon(side);
    return image;
}

void save(const QString &path, const Layout &layout)
{
    QString message;
    if (!saveLayout(path, layout, &message))
        throw EInOutError(message);
}

}

Layout invoiceLayout()
{
    Layout layout;
    layout.marginLeft = 20;
    layout.marginRight = 15;
    layout.marginTop = 12;
    layout.marginBottom = 27;
    addLetterHead(layout);
    addPageFooter(layout);
    addClosing(layout);
    layout.table = positionsTable();
    return layout;
}

QStringList postalAddress(const QString &prefix)
{
    const QString p = prefix;
    return {p + "Anrede", "Trim(" + p + "Vorname + \" \" + " + p + "Name)", p + "Name2", p + "Strasse",
            "Trim(" + p + "plz + \" \" + " + p + "Ort)"};
}

// German post leaves the home country out of an address; a foreign one
// ends with its country in capitals.
QStringList addressWithCountry(const QString &prefix)
{
    return postalAddress(prefix) << "If(Upper$(Trim(" + prefix + "Land)) = \"D\", \"\", Upper$([Land-Name]))";
}

Layout addressLabelLayout(bool countryName)
{
    Layout layout = labelLayout(SheetDef{70, 37, 3, 8, 0, 0.5, 0, 0});
    layout.objects.append(textObject("Absender", {6, 4, 60, 3.5}, {"Firmenabsender"}, font(4.8)));
    layout.objects.append(lineObject("Absenderlinie", {6, 7.8}, {64, 7.8}, 0.1));
    layout.objects.append(textObject("Anschrift", {6, 10, 60, 25},
                                     countryName ? addressWithCountry(QString()) : postalAddress(QString()), font(9)));
    return layout;
}

Layout articleLabelLayout()
{
    Layout layout = labelLayout(SheetDef{105, 59.4, 2, 5, 0, 0, 0, 0});
    layout.objects.append(rectangleObject("Rahmen", {3, 3, 99, 53.4}, 0.2));
    layout.objects.append(pictureObject("Bild", {6, 6, 28, 28}, "artikelbild.png", "Bild"));
    LayoutObject name = textObject("Bezeichnung", {38, 6, 61, 12}, {"Bezeichnung"}, font(10, true));
    name.wrap = true;
    layout.objects.append(name);
    layout.objects.append(textObject("Artikelnummer", {38, 19, 61, 5}, {"\"Art.-Nr. \" + Artikelnr"}, font(8)));
    layout.objects.append(
        textObject("Preis", {38, 25, 61, 9}, {amountWithCurrency("vk1")}, font(16, true), Qt::AlignRight));
    layout.objects.append(barcodeObject("EAN", {38, 36, 55, 18}, "Barcode_Artikelnr_EAN13", LL_BARCODE_EAN13));
    return layout;
}

void writeLayouts(const QString &formFolder)
{
    if (!QDir().mkpath(formFolder))
        throw EInOutError(QStringLiteral("Der Formularordner %1 konnte nicht angelegt werden").arg(formFolder));
    const QDir folder(formFolder);
    save(folder.filePath("rechnung.lst"), invoiceLayout());
    save(folder.filePath("adressen.lbl"), addressLabelLayout());
    save(folder.filePath("artikel.lbl"), articleLabelLayout());
    if (!articlePicture().save(folder.filePath("artikelbild.png")))
        throw EInOutError(QStringLiteral("Das Artikelbild konnte nicht geschrieben werden"));
    writeModuleLayouts(formFolder);
}

}
