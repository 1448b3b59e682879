#include "demo/layouts/LabelLayouts.h"

#include "demo/layouts/DemoLayouts.h"
#include "demo/layouts/ListPage.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/api/ReportCodes.h"

namespace demo {

using namespace report;

namespace {

const QString kArticleEan = QStringLiteral("Barcode_Freifeld_EAN13");

// An address label with the partner's number as a bar code, for a partner
// whose fields carry `prefix`; `reference` names the document it belongs to.
// Purchase labels know no country name.
Layout partnerLabel(const QString &prefix, const QString &reference, bool countryName)
{
    Layout layout = labelLayout(SheetDef{105, 48, 2, 6, 0, 4.5, 0, 0});
    layout.objects.append(textObject("Absender", {8, 5, 90, 3.5}, {"Firmenabsender"}, font(5.5)));
    layout.objects.append(lineObject("Absenderlinie", {8, 9}, {97, 9}, 0.1));
    layout.objects.append(textObject("Anschrift", {8, 11, 60, 26},
                                     countryName ? addressWithCountry(prefix) : postalAddress(prefix), font(9.5)));
    layout.objects.append(
        textObject("Bezug", {70, 11, 28, 10}, {"\"Nr. \" + " + prefix + "nr", reference}, font(7.5), Qt::AlignRight));
    LayoutObject code = barcodeObject("Nummer", {62, 30, 36, 12}, "Barcode_KdNr_CODE128_Dick", 0);
    code.showText = false;
    layout.objects.append(code);
    return layout;
}

// A label for each position of a document: article, quantity and the
// document it belongs to.
Layout positionLabel(const QString &partnerPrefix, const QString &documentLabel)
{
    Layout layout = labelLayout(SheetDef{70, 42.3, 3, 7, 0, 0, 0, 0});
    LayoutObject name = textObject("Bezeichnung", {4, 3, 62, 10}, {"Bezeichnung"}, font(8.5, true));
    name.wrap = true;
    layout.objects.append(name);
    layout.objects.append(textObject("Artikelnummer", {4, 14, 26, 4}, {"\"Art.-Nr. \" + Artikelnr"}, font(7.5)));
    layout.objects.append(textObject("Menge", {30, 14, 36, 4}, {"Trim(FStr(menge, ZahlFormatMenge)) + \" \" + Einheit"},
                                     font(7.5, true), Qt::AlignRight));
    // The bar code's own line of text shrinks with its height, to less than
    // a millimetre on a label this low; the number under it is set as text.
    LayoutObject code = barcodeObject("Code", {4, 19, 62, 10}, "Artikelnr", LL_BARCODE_CODE128);
    code.showText = false;
    layout.objects.append(code);
    layout.objects.append(textObject("Codenummer", {4, 29.3, 62, 3.5}, {"Artikelnr"}, font(7), Qt::AlignHCenter));
    layout.objects.append(textObject("Beleg", {4, 33, 62, 7},
                                     {'"' + documentLabel + " \" + auftragnr", partnerPrefix + "Name"}, font(6.5)));
    return layout;
}

Layout goodsReceiptLabel()
{
    Layout layout = labelLayout(SheetDef{105, 74.25, 2, 4, 0, 0, 0, 0});
    layout.objects.append(rectangleObject("Rahmen", {3, 3, 99, 68.25}, 0.2));
    layout.objects.append(
        textObject("Kopf", {7, 6, 91, 5}, {"\"Wareneingang \" + " + dateOf("Lagerbew_Datum")}, font(8, true)));
    LayoutObject name = textObject("Bezeichnung", {7, 13, 91, 12}, {"Bezeichnung"}, font(11, true));
    name.wrap = true;
    layout.objects.append(name);
    layout.objects.append(textObject("Angaben", {7, 27, 91, 14},
                                     {"\"Art.-Nr. \" + Lagerbew_Artikelnr + \"   Lagerplatz: ________\"",
                                      "\"Lieferant: \" + Lieferant_Name", "\"Beleg: \" + Lagerbew_Beleg"},
                                     font(8)));
    layout.objects.append(barcodeObject("EAN", {7, 44, 60, 22}, kArticleEan, LL_BARCODE_EAN13));
    return layout;
}

// The shelf label with the article's EAN from its free field; the price
// says what quantity it is for, as screws are priced per hundred.
Layout shelfLabel()
{
    Layout layout = articleLabelLayout();
    for (LayoutObject &object : layout.objects) {
        if (object.kind == ObjectKind::Barcode)
            object.expression = Expression(kArticleEan);
    }
    layout.objects.append(textObject(
        "Preiseinheit", {38, 31.8, 61, 3.5},
        {"\"je \" + If(PreisEinheit > 1, Str$(PreisEinheit, 0, 0) + \" \", \"\") + Einheit"}, font(7), Qt::AlignRight));
    return layout;
}

}

QList<QPair<QString, Layout>> labelLayouts()
{
    return {
        {"Auftrag_Etikett.lbl", addressLabelLayout()},
        {"Auftrag_Sonstiges.lbl", partnerLabel("Kunde_", "\"Beleg \" + auftragnr", true)},
        {"Auftrag_EtikettArt.lbl", positionLabel("Kunde_", "Auftrag")},
        {"Bestellung_Etikett.lbl", addressLabelLayout(false)},
        {"Bestellung_EtikettSon.lbl", partnerLabel("Lieferant_", "\"Bestellung \" + auftragnr", false)},
        {"Bestellung_EtikettArt.lbl", positionLabel("Lieferant_", "Bestellung")},
        {"Kunden_Etikett.lbl", addressLabelLayout()},
        {"Liefer_Etikett.lbl", addressLabelLayout()},
        {"Artikel_Etikett.lbl", shelfLabel()},
        {"Lagerbew_Etikett.lbl", goodsReceiptLabel()},
    };
}

}
