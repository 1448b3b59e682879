#include "mail/NCTable.h"
#include "mail/TemplateLanguage.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using mail::Variant;

namespace {

struct Column
{
    QString name;
    QString type;
};

// Creates a table file in the folder and fills it with the rows given.
void CreateTable(const QString &folder, const QString &name, const QList<Column> &columns,
                 const QList<QVariantList> &rows)
{
    TTable table;
    table.SetDatabaseName(folder);
    table.SetTableName(name);
    for (const Column &column : columns)
        table.FieldDefs()->AddParadox(column.name, column.type);
    table.CreateTable();
    table.Open();
    for (const QVariantList &row : rows) {
        table.Append();
        for (int i = 0; i < row.size(); ++i) {
            if (!row[i].isNull())
                table.Fields(i)->SetValue(row[i]);
        }
        table.Post();
    }
    table.Close();
}

const QList<Column> SetupColumns{{"FensterAbsender", "A60"},
                                 {"EuroBezeichnung", "A10"},
                                 {"Waehrung", "A10"},
                                 {"BezSteuer", "A20"},
                                 {"Mwst1", "N"},
                                 {"Mwst2", "N"},
                                 {"Bank1", "A30"},
                                 {"Blz1", "A10"},
                                 {"KtoNr1", "A15"},
                                 {"Bank2", "A30"},
                                 {"Blz2", "A10"},
                                 {"KtoNr2", "A15"},
                                 {"Bank3", "A30"},
                                 {"Blz3", "A10"},
                                 {"KtoNr3", "A15"}};

const QVariantList SetupRow{"Muster GmbH, Hauptstr. 1, 12345 Musterstadt",
                            "EUR",
                            "DM",
                            "MwSt.",
                            19.0,
                            7.0,
                            "Sparkasse",
                            "10050000",
                            "123456",
                            QVariant(),
                            QVariant(),
                            QVariant(),
                            "Volksbank",
                            "20070000",
                            "987654"};

class Vocabulary : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString folder = m_dir.path();
        CreateTable(folder, "Auftrag.db",
                    {{"Auftragnr", "A10"},
                     {"Name", "A30"},
                     {"Euro", "A1"},
                     {"Datum", "D"},
                     {"Endbetrag", "$"},
                     {"Gewicht", "N"},
                     {"Posten", "S"},
                     {"Erledigt", "L"},
                     {"Notiz", "A40"}},
                    {{"A-1001", "Auftrag Meier", "J", QDate(2024, 3, 5), 1234.5, 2.25, 3, true, QVariant()}});
        CreateTable(folder, "Kunden.db", {{"Nr", "A10"}, {"Name", "A30"}, {"Telefon", "A20"}},
                    {{"K-7", "Meier & Söhne", QVariant()}});
        CreateTable(folder, "Setup.db", SetupColumns, {SetupRow});
        m_head = Open("Auftrag.db", "Auftrag");
        m_customers = Open("Kunden.db", "Kunden");
        m_vocabulary.RegisterTemplateCommands();
        m_vocabulary.RegisterTableFields(m_head.get(), AllAreas);
        m_vocabulary.RegisterTableFields(m_customers.get(), PartnerAreas);
    }

    std::unique_ptr<TNCTable> Open(const QString &name, const QString &prefix)
    {
        auto table = std::make_unique<TNCTable>();
        EXPECT_TRUE(table->Prefix.isEmpty());
        table->SetDatabaseName(m_dir.path());
        table->SetTableName(name);
        table->Prefix = prefix;
        table->Open();
        return table;
    }

    QStringList Run(const QStringList &lines)
    {
        QStringList output;
        for (const QString &line : lines)
            m_context.ProcessTemplateLine(line, output, QString());
        return output;
    }

    QString QualifiedNames() const
    {
        QStringList names;
        for (int i = 0; i < m_vocabulary.Count(); ++i)
            names << m_vocabulary.GetItem(i)->QualifiedName;
        return names.join(' ');
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TNCTable> m_head;
    std::unique_ptr<TNCTable> m_customers;
    TFormatlist m_vocabulary;
    TTemplateContext m_context{m_vocabulary};
};

TEST_F(Vocabulary, FieldsAreRegisteredInTableOrderUnderThePrefix)
{
    EXPECT_EQ(QualifiedNames(), "Wenn EndeWenn Var Auftrag_Auftragnr Auftrag_Name Auftrag_Euro Auftrag_Datum "
                                "Auftrag_Endbetrag Auftrag_Gewicht Auftrag_Posten Auftrag_Erledigt Auftrag_Notiz "
                                "Kunden_Nr Kunden_Name Kunden_Telefon");
    const TFormatlistItem *phone = m_vocabulary.GetItem(m_vocabulary.IndexOfQualifiedName("Kunden_Telefon"));
    EXPECT_EQ(phone->Kind, fikField);
    EXPECT_EQ(phone->Name, "Telefon");
    EXPECT_EQ(phone->Text, "Telefon");
    EXPECT_EQ(phone->Areas, PartnerAreas);
    EXPECT_EQ(phone->Table, m_customers.get());
    const TFormatlistItem *command = m_vocabulary.GetItem(m_vocabulary.IndexOfName("EndeWenn"));
    EXPECT_EQ(command->Kind, fikCommand);
    EXPECT_EQ(command->Areas, AllAreas);
    EXPECT_EQ(m_vocabulary.IndexOfName("wenn"), -1);
}

TEST_F(Vocabulary, SharedPlainNamesResolveToTheFirstTableAndMissingFieldsRaise)
{
    EXPECT_EQ(Run({"#Name / #Kunden_Name / #Auftrag_Name"}),
              QStringList({"Auftrag Meier / Meier & Söhne / Auftrag Meier"}));
    m_vocabulary.RegisterTableFields(m_customers.get(), AllAreas);
    EXPECT_EQ(m_vocabulary.IndexOfQualifiedName("Kunden_Nr"), 12);
}

TEST_F(Vocabulary, FieldValuesPrintByTheirTypeAndFeedConditions)
{
    m_context.DefaultDecimals = "2";
    EXPECT_EQ(Run({"#Datum|;#Endbetrag:12;#Gewicht:6:1;#Posten:3;#Erledigt;[(#Notiz)]."}),
              QStringList({"05.03.2024;  1.234,50 €;   2,3;3  ;True;."}));
    EXPECT_EQ(Run({"[[Tel.: #Kunden_Telefon]]", "Kunde #Kunden_Nr"}), QStringList({"Kunde K-7"}));
    // Conditions and expressions read field values.
    EXPECT_EQ(Run({"!Wenn #Kunden_Name = \"\"", "ohne Name", "!EndeWenn", "!Wenn #Kunden_Telefon = \"\"",
                   "ohne Telefon", "!EndeWenn", "!Var #Doppelt=#Posten*2", "#Doppelt"}),
              QStringList({"ohne Telefon", "6,00"}));
}

TEST_F(Vocabulary, FieldMissingFromItsTablePassesTheDatabaseError)
{
    m_vocabulary.AddItem()->SetField("Fax", "Kunden_Fax", "Fax", AllAreas, m_customers.get());
    EXPECT_THROW(Run({"#Kunden_Fax"}), EDatabaseError);
}

TEST_F(Vocabulary, SetupVariablesComeInTheirFixedOrderWithTheirValues)
{
    const int before = m_vocabulary.Count();
    m_vocabulary.RegisterSetupVariables(m_dir.path(), *m_head);
    QStringList names;
    for (int i = before; i < m_vocabulary.Count(); ++i) {
        const TFormatlistItem *item = m_vocabulary.GetItem(i);
        EXPECT_EQ(item->Kind, fikVariable);
        EXPECT_EQ(item->QualifiedName, "Var_" + item->Name);
        EXPECT_EQ(item->Text, item->Name);
        names << item->Name;
    }
    EXPECT_EQ(names.join(' '), "Seite Seitenumbruch Firmenabsender WährungEuro WährungDM SteuerBezeichnung Mwst1 "
                               "Mwst2 Bank1 BLZ1 KtoNr1 Bank2 BLZ2 KtoNr2 Bank3 BLZ3 KtoNr3 Währung Übertrag "
                               "ÜbertragBlock SummeMenge SummeMengeBlock");
    const auto value = [&](const QString &name) {
        return m_vocabulary.GetItem(m_vocabulary.IndexOfQualifiedName(name))->Value;
    };
    EXPECT_EQ(value("Var_Seite"), Variant(0));
    EXPECT_EQ(value("Var_Seitenumbruch"), Variant(false));
    EXPECT_EQ(value("Var_Währung"), Variant("EUR"));
    EXPECT_EQ(value("Var_Mwst1"), Variant(19.0));
    EXPECT_EQ(value("Var_Bank2"), Variant::Null());
    EXPECT_EQ(Run({"<#Var_Bank2><#Var_BLZ3>"}), QStringList({"<><20070000>"}));
}

// The currency name follows the document's euro flag.
TEST_F(Vocabulary, CurrencyNameFollowsTheDocumentsEuroFlag)
{
    m_head->Edit();
    m_head->FieldByName("Euro")->SetValue("N");
    m_head->Post();
    m_vocabulary.RegisterSetupVariables(m_dir.path(), *m_head);
    EXPECT_EQ(Run({"#Var_Währung"}), QStringList({"DM"}));
}

TEST_F(Vocabulary, ResetRemovesSetupAndUserVariablesButKeepsFields)
{
    const int fields = m_vocabulary.Count();
    m_vocabulary.RegisterSetupVariables(m_dir.path(), *m_head);
    Run({"!Var #Eigene=1"});
    m_context.ResetTemplateState();
    EXPECT_EQ(m_vocabulary.Count(), fields);
    m_vocabulary.RegisterSetupVariables(m_dir.path(), *m_head);
    EXPECT_EQ(m_vocabulary.Count(), fields + 22);
}

TEST_F(Vocabulary, MissingSetupFieldOrTableRaisesTheDatabaseError)
{
    TFormatlist list;
    EXPECT_THROW(list.RegisterSetupVariables(m_dir.path() + "/fehlt", *m_head), EDatabaseError);
    QList<Column> withoutBank = SetupColumns;
    withoutBank.removeAt(6);
    QVariantList row = SetupRow;
    row.removeAt(6);
    QTemporaryDir other;
    CreateTable(other.path(), "Setup.db", withoutBank, {row});
    EXPECT_THROW(list.RegisterSetupVariables(other.path(), *m_head), EDatabaseError);
    EXPECT_EQ(list.GetItem(list.Count() - 1)->Name, "Mwst2");
}

} // namespace
