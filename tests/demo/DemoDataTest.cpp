#include "demo/tables/DemoArticles.h"
#include "demo/tables/DemoPictures.h"
#include "demo/tables/DemoRows.h"
#include "demo/tables/DocumentData.h"
#include "demo/tables/Ean.h"
#include "demo/tables/FormRows.h"
#include "demo/tables/MailProgramData.h"
#include "demo/tables/RowCheck.h"
#include "demo/tables/TableCatalog.h"
#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>

using namespace demo;

namespace {

QStringList column(const Rows &rows, const QString &field)
{
    QStringList values;
    for (const Row &row : rows)
        values << valueOf(row, field).toString();
    return values;
}

Rows rowsWhere(const Rows &rows, const QString &field, const QString &value)
{
    Rows found;
    for (const Row &row : rows) {
        if (valueOf(row, field).toString() == value)
            found << row;
    }
    return found;
}

QSet<QString> keySet(const QString &table, const QString &field)
{
    const QStringList values = column(demoRows(table), field);
    return QSet<QString>(values.begin(), values.end());
}

}

TEST(DemoCatalog, EveryTableHasCheckedRowsThatStayTheSame)
{
    for (const TableSpec &spec : tableCatalog()) {
        SCOPED_TRACE(spec.fileName.toStdString());
        const Rows rows = demoRows(spec.fileName);
        EXPECT_FALSE(rows.isEmpty());
        EXPECT_NO_THROW(checkRows(spec, rows));
        EXPECT_EQ(rows, demoRows(spec.fileName));
    }
}

TEST(DemoCatalog, NamesResolveWithoutRegardToCaseAndExtension)
{
    EXPECT_EQ(tableSpec("KArtDru").fileName, QString("KArtDru.db"));
    EXPECT_EQ(tableSpec("offposbe.db").fileName, QString("offposBe.db"));
    EXPECT_THROW(tableSpec("Unbekannt.db"), Exception);
}

TEST(DemoCatalog, TablesCarryTheIndexesThePrintManagerSetsByName)
{
    const QStringList expected = {"ATRKUNNR",
                                  "APOKUNARTNR",
                                  "APOARTNR",
                                  "ARTLFRNR",
                                  "KUNPREISART",
                                  "OPOKUNATRNR",
                                  "UMSKUNATRNR",
                                  "UMSZAHLDATUM",
                                  "UMSBELEG",
                                  "SortID",
                                  "SortAdrNrDatumZeitPrior",
                                  "Gruppe"};
    QStringList found;
    for (const TableSpec &spec : tableCatalog()) {
        for (const IndexSpec &index : spec.indexes) {
            found << index.name;
            for (const QString &field : index.fields)
                EXPECT_GE(spec.fieldIndex(field), 0) << index.name.toStdString();
        }
    }
    for (const QString &name : expected)
        EXPECT_TRUE(found.contains(name)) << name.toStdString();
}

TEST(DemoCatalog, AmountsComeInEuroAndDocumentCurrencyPairs)
{
    for (const QString &table :
         QStringList{"Auftrag.db", "atrpos.db", "Bestell.db", "offpos.db", "umsatz.db", "Artikel.db"}) {
        const TableSpec &spec = tableSpec(table);
        for (const FieldSpec &field : spec.fields) {
            if (field.name.endsWith("Wae")) {
                EXPECT_GE(spec.fieldIndex(field.name.chopped(3)), 0) << field.name.toStdString();
            }
        }
    }
}

TEST(DemoCatalog, FieldListsParseStrictly)
{
    const QList<FieldSpec> fields = parseFields("Name A40, Menge N, Bild G");
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields.at(0).size, 40);
    EXPECT_EQ(fields.at(2).type, QChar('G'));
    EXPECT_THROW(parseFields("Name X"), Exception);
    EXPECT_THROW(parseFields("Name A"), Exception);
    EXPECT_THROW(parseFields("Menge N5"), Exception);
}

TEST(DemoRowCheck, RefusesRowsThatDoNotFit)
{
    const TableSpec &spec = tableSpec("laender.db");
    EXPECT_THROW(checkRow(spec, Row{{"Lkz", "DEUT"}}, 1), EDatabaseError);
    EXPECT_THROW(checkRow(spec, Row{{"Hauptstadt", "Berlin"}}, 1), EDatabaseError);
    EXPECT_THROW(checkRow(tableSpec("MahnPara.db"), Row{{"Mahnstufe", 1.5}}, 1), EDatabaseError);
    EXPECT_NO_THROW(checkRow(spec, Row{{"LKZ", "D"}, {"Land", QVariant()}}, 1));
    EXPECT_THROW(checkRows(spec, {Row{{"Lkz", "D"}}, Row{{"lkz", "D"}}}), EDatabaseError);
    EXPECT_THROW(checkRows(spec, {Row{{"Land", "Niemandsland"}}}), EDatabaseError);
    try {
        checkRow(spec, Row{{"Lkz", "DEUT"}}, 3);
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_TRUE(error.Message().contains("laender.db")) << error.what();
        EXPECT_TRUE(error.Message().contains("Datensatz 3")) << error.what();
    }
}

TEST(DemoCustomers, CoverUmlautsAndBrokenOrMissingAddresses)
{
    const Rows customers = demoRows("Kunden.db");
    const QString names = column(customers, "Name").join(' ') + column(customers, "Strasse").join(' ');
    for (const QString letter : {"ä", "ö", "ü", "ß", "Ö"})
        EXPECT_TRUE(names.contains(letter)) << letter.toStdString();
    EXPECT_EQ(rowsWhere(customers, "EMail", "björn.weiß@beispiel.de").size(), 1);
    int missing = 0;
    for (const Row &row : customers)
        missing += valueOf(row, "EMail").isValid() ? 0 : 1;
    EXPECT_EQ(missing, 1);
    EXPECT_LT(valueOf(customers.first(), "Gruendungsdatum").toDate(), QDate(1900, 1, 1));
}

TEST(DemoDocuments, TheBigInvoiceBreaksPagesAndCarriesEveryMarker)
{
    const Rows positions = rowsWhere(demoRows("atrpos.db"), "auftragnr", "20260001");
    EXPECT_GE(positions.size(), 40);
    const QStringList descriptions = column(positions, "Bezeichnung");
    for (const QString marker : {"#ZS", "#ZWB", "#Z", "#zwb"})
        EXPECT_TRUE(descriptions.contains(marker)) << marker.toStdString();
    int textLines = 0;
    for (const Row &row : positions) {
        const bool noAmounts = !valueOf(row, "menge").isValid() && !valueOf(row, "epreis").isValid();
        const bool marker = valueOf(row, "Bezeichnung").toString().startsWith('#');
        if (noAmounts && valueOf(row, "Artikelnr").toString().isEmpty() && !marker)
            ++textLines;
    }
    EXPECT_EQ(textLines, 1);
}

// In either currency, as a reader adds up the printed document.
TEST(DemoDocuments, HeadsSumTheirPositions)
{
    for (const auto &[headTable, positionTable] :
         {std::pair{"Auftrag.db", "atrpos.db"}, std::pair{"Bestell.db", "bestpos.db"}}) {
        const Rows positions = demoRows(positionTable);
        for (const Row &head : demoRows(headTable)) {
            for (const QString &currency : QStringList{"", "Wae"}) {
                double net = 0;
                for (const Row &position : rowsWhere(positions, "auftragnr", valueOf(head, "auftragnr").toString()))
                    net += valueOf(position, "gpreis" + currency).toDouble();
                const double heads = valueOf(head, "Endbetrag1Netto" + currency).toDouble()
                                     + valueOf(head, "Endbetrag2Netto" + currency).toDouble();
                EXPECT_NEAR(net, heads, 0.005) << valueOf(head, "auftragnr").toString().toStdString();
                const double gross = heads + valueOf(head, "steuer1" + currency).toDouble()
                                     + valueOf(head, "steuer2" + currency).toDouble();
                EXPECT_NEAR(gross, valueOf(head, "endbetrag" + currency).toDouble(), 0.005);
            }
        }
    }
}

// A reader checks quantity times printed price against the printed total;
// prices print with two decimals.
TEST(DemoDocuments, EveryLineAddsUpWithTwoDecimalPrices)
{
    for (const QString &table : QStringList{"atrpos.db", "bestpos.db"}) {
        for (const Row &position : demoRows(table)) {
            const double quantity = valueOf(position, "menge").toDouble();
            for (const QString &currency : QStringList{"", "Wae"}) {
                const double price = valueOf(position, "epreis" + currency).toDouble();
                EXPECT_DOUBLE_EQ(price, std::round(price * 100) / 100)
                    << valueOf(position, "Bezeichnung").toString().toStdString();
                EXPECT_NEAR(quantity * price, valueOf(position, "gpreis" + currency).toDouble(), 0.001);
            }
        }
    }
}

TEST(DemoDocuments, OldCurrencyDocumentsDifferInTheirTwinFields)
{
    const Row head = rowsWhere(demoRows("Auftrag.db"), "Euro", "N").first();
    EXPECT_NEAR(valueOf(head, "endbetragWae").toDouble(), valueOf(head, "endbetrag").toDouble() * demoDmRate, 0.01);
    EXPECT_FALSE(valueOf(head, "RGDatum").isValid());
}

// Also tasks point at contacts and assigned groups exist.
TEST(DemoDocuments, PartnersAndArticlesExistExceptTheOrphanedOrder)
{
    const QSet<QString> customers = keySet("Kunden.db", "nr");
    QStringList orphans;
    for (const Row &head : demoRows("Auftrag.db")) {
        if (!customers.contains(valueOf(head, "kundennr").toString()))
            orphans << valueOf(head, "auftragnr").toString();
    }
    EXPECT_EQ(orphans, QStringList{"20260003"});
    const QSet<QString> articles = keySet("Artikel.db", "Artikelnr");
    for (const QString &table : QStringList{"atrpos.db", "bestpos.db", "kunPreis.db", "artstlst.db", "KArtDru.db"}) {
        for (const QString &article : column(demoRows(table), "Artikelnr"))
            EXPECT_TRUE(article.isEmpty() || articles.contains(article)) << table.toStdString();
    }
    const QSet<QString> suppliers = keySet("Liefer.db", "nr");
    for (const QString &supplier : column(demoRows("Bestell.db"), "kundennr"))
        EXPECT_TRUE(suppliers.contains(supplier));
    const QSet<QString> contacts = keySet("kontakte.db", "LfdNr");
    for (const QString &contact : column(demoRows("aufgaben.db"), "LfdNrKontakt"))
        EXPECT_TRUE(contact.isEmpty() || contacts.contains(contact));
    const QSet<QString> groups = keySet("gruppen.db", "Gruppe");
    for (const QString &group : column(demoRows("GrZuord.db"), "Gruppe"))
        EXPECT_TRUE(groups.contains(group));
    EXPECT_EQ(rowsWhere(demoRows("kontakte.db"), "Nr", "10001").size(), 4);
}

TEST(DemoDocuments, LoadTestPositionsAreStableAndUnique)
{
    EXPECT_EQ(bulkPositionRow(12345), bulkPositionRow(12345));
    const TableSpec &spec = tableSpec("atrpos.db");
    Rows rows;
    for (int i = 0; i < 200; ++i)
        rows << bulkPositionRow(i);
    EXPECT_NO_THROW(checkRows(spec, rows));
    EXPECT_EQ(valueOf(rows.at(40), "posnr").toInt(), 1);
    EXPECT_NE(valueOf(rows.at(40), "auftragnr"), valueOf(rows.at(39), "auftragnr"));
}

TEST(DemoReceivables, TwoCustomersAreDunnedAtLevelsOneThreeAndTwo)
{
    const Rows proposal = demoRows("offposMa.db");
    QStringList levels;
    for (const Row &row : rowsWhere(proposal, "kundennr", "10001"))
        levels << valueOf(row, "mahnstufe").toString();
    EXPECT_EQ(levels, (QStringList{"1", "3", "2"}));
    EXPECT_EQ(keySet("offposMa.db", "kundennr").size(), 2);
    const QSet<QString> openItems = keySet("offpos.db", "auftragnr");
    for (const QString &document : column(proposal, "auftragnr"))
        EXPECT_TRUE(openItems.contains(document));
    EXPECT_EQ(demoRows("MahnPara.db").size(), 5);
    // The print manager replaces the first occurrence of a placeholder only.
    for (const Row &level : demoRows("MahnPara.db")) {
        const QString text = valueOf(level, "mahntext").toString();
        for (const QString &placeholder : QStringList{"#Briefanrede", "#Zahlfristtage", "#Zahlfristdatum"})
            EXPECT_LE(text.count(placeholder), 1) << text.toStdString();
    }
}

TEST(DemoReceivables, OpenAmountsAreValueLessPaymentsOverTwoMonths)
{
    const Rows payments = demoRows("umsatz.db");
    QSet<int> months;
    for (const Row &payment : payments)
        months.insert(valueOf(payment, "Zahldatum").toDate().month());
    EXPECT_EQ(months, (QSet<int>{10, 11}));
    for (const Row &item : demoRows("offpos.db")) {
        double paid = 0;
        for (const Row &payment : rowsWhere(payments, "auftragnr", valueOf(item, "auftragnr").toString()))
            paid += valueOf(payment, "zahlbetrag").toDouble();
        EXPECT_NEAR(valueOf(item, "gezahlt").toDouble(), paid, 0.005);
        EXPECT_NEAR(valueOf(item, "offenerBetrag").toDouble(), valueOf(item, "auftragswert").toDouble() - paid, 0.005);
    }
}

// Pictures are deterministic PNGs that differ by variant.
TEST(DemoArticles, CarryValidEansAndPictures)
{
    int pictures = 0;
    for (const Row &article : demoRows("Artikel.db")) {
        EXPECT_TRUE(isValidEan13(valueOf(article, "Freifeld").toString()));
        const QVariant picture = valueOf(article, "Bild");
        if (!picture.isValid())
            continue;
        ++pictures;
        EXPECT_FALSE(QImage::fromData(picture.toByteArray(), "PNG").isNull());
    }
    EXPECT_GE(pictures, 8);
    EXPECT_EQ(ean13("400638133393"), QString("4006381333931"));
    EXPECT_TRUE(isValidEan13("4006381333931"));
    EXPECT_FALSE(isValidEan13("4006381333932"));
    EXPECT_FALSE(isValidEan13("400638133393"));
    EXPECT_THROW(ean13CheckDigit("40063813339X"), Exception);
    EXPECT_EQ(demoPicture(4), demoPicture(4));
    EXPECT_NE(demoPicture(4), demoPicture(5));
    EXPECT_EQ(QImage::fromData(demoPicture(1), "PNG").size(), QSize(64, 48));
}

TEST(DemoForms, EveryDocumentTypeHasPrintAndMailRows)
{
    const Rows forms = demoRows("Formular.db");
    auto has = [&](const QString &module, const QString &type) {
        for (const Row &row : rowsWhere(forms, "Modul", module)) {
            if (valueOf(row, "Typ").toString() == type)
                return true;
        }
        return false;
    };
    for (const QString type : {"Angebot", "Auftragsbest.", "Lieferschein", "Rechnung", "Barrechnung", "Gutschrift"}) {
        EXPECT_TRUE(has("Auftrag", type)) << type.toStdString();
        EXPECT_TRUE(has("Auftrag", type + QString("-eMail"))) << type.toStdString();
    }
    for (const QString type : {"Anfrage", "Bestellung", "Stornierung", "Sonstiges"})
        EXPECT_TRUE(has("Bestellung", type + QString("-eMail"))) << type.toStdString();
    for (const QString module : {"Mahnung", "Offene Posten", "Kunden", "Stückliste", "KunAtr", "GrZuord-G",
                                 "Textbausteine", "ZVBestellform", "Kontakte-M", "Lagerbew"})
        EXPECT_FALSE(rowsWhere(forms, "Modul", module).isEmpty()) << module.toStdString();
}

TEST(DemoForms, RowsStoreTheBaseNameAndTheFileCarriesTheOutputsExtension)
{
    EXPECT_EQ(formFileName("Auftrag", "Auftragsbest.", ".lst"), QString("Auftrag_Auftragsbest.lst"));
    EXPECT_EQ(formFileName("Stückliste", "Liste", ".lst"), QString("Stueckliste_Liste.lst"));
    EXPECT_EQ(formFileName("Offene Posten", "Liste", ".lst"), QString("OffenePosten_Liste.lst"));
    for (const Row &row : demoRows("Formular.db")) {
        const QString type = valueOf(row, "Typ").toString();
        EXPECT_FALSE(valueOf(row, "DateiErsteSeite").toString().contains('.'));
        const QString file = formRowFile(row);
        if (type.endsWith("-eMail"))
            EXPECT_TRUE(file.endsWith(".frm")) << file.toStdString();
        else if (type.startsWith("Etikett") || (type == "Sonstiges" && valueOf(row, "Modul") == "Auftrag"))
            EXPECT_TRUE(file.endsWith(".lbl")) << file.toStdString();
        else
            EXPECT_TRUE(file.endsWith(".lst")) << file.toStdString();
    }
}

TEST(DemoMailProgram, NumbersAreUniqueAndTheCounterIsAhead)
{
    QSet<int> numbers;
    int messages = 0;
    for (const QString &table : QStringList{"MailAusgang.db", "MailEingang.db", "MailGesendet.db", "MailTrash.db"}) {
        for (const QString &number : column(demoRows(table), "LfdNr")) {
            numbers.insert(number.toInt());
            ++messages;
        }
    }
    EXPECT_EQ(numbers.size(), messages);
    const Rows counter = rowsWhere(demoRows("MailAusgang.db"), "Ordner", mailCounterFolder);
    ASSERT_EQ(counter.size(), 1);
    EXPECT_EQ(valueOf(counter.first(), "LfdNr").toInt(), *std::max_element(numbers.begin(), numbers.end()));
    EXPECT_EQ(rowsWhere(demoRows("am-Benutzer.db"), "Name", demoMailUser()).size(), 1);
}
