#include "DbFixture.h"

#include "platform/db/FieldClasses.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <QPointer>

#include <functional>

namespace {

// Every test starts from the filled customers table.
class FieldTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
};

TEST_F(FieldTest, LayoutPropertiesAreSettableAndReadableByName)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TField *ort = kunden->FieldByName(QStringLiteral("Ort"));
    EXPECT_EQ(ort->Index(), 3);
    EXPECT_EQ(ort->DisplayWidth(), 20);
    ort->SetIndex(0);
    EXPECT_EQ(kunden->Fields(0), ort);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->Index(), 1);
    ASSERT_TRUE(ort->setProperty("DisplayLabel", QStringLiteral("Wohnort")));
    EXPECT_EQ(ort->DisplayName(), QStringLiteral("Wohnort"));
    ort->setProperty("Visible", false);
    EXPECT_FALSE(ort->Visible());
    ort->setProperty("DisplayWidth", 7);
    EXPECT_EQ(ort->property("DisplayWidth").toInt(), 7);
    EXPECT_EQ(ort->property("FieldName").toString(), QStringLiteral("Ort"));
    EXPECT_EQ(ort->property("DataType").toInt(), int(ftString));
    EXPECT_EQ(kunden->property("TableName").toString(), QStringLiteral("Kunden.db"));
    EXPECT_TRUE(kunden->property("Active").toBool());
}

TEST_F(FieldTest, DisplayFormatAndAlignment)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TField *umsatz = kunden->FieldByName(QStringLiteral("Umsatz"));
    EXPECT_EQ(umsatz->Alignment(), taRightJustify);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->Alignment(), taLeftJustify);
    umsatz->setProperty("DisplayFormat", QStringLiteral("#,##0.000"));
    EXPECT_EQ(umsatz->DisplayText(), QStringLiteral("1.200,500"));
    EXPECT_EQ(umsatz->Text(), QStringLiteral("1200,5"));
    TField *seit = kunden->FieldByName(QStringLiteral("Seit"));
    seit->SetDisplayFormat(QStringLiteral("dd. mmmm yyyy"));
    EXPECT_EQ(seit->DisplayText(), QStringLiteral("01. Februar 2003"));
    umsatz->SetAlignment(taCenter);
    EXPECT_EQ(umsatz->property("Alignment").toInt(), int(taCenter));
    EXPECT_EQ(kunden->IndexFieldCount(), 1);
    EXPECT_EQ(kunden->IndexFields(0), kunden->FieldByName(QStringLiteral("Nr")));
    kunden->SetIndexName(QStringLiteral("NameIdx"));
    EXPECT_EQ(kunden->IndexFieldCount(), 2);
    EXPECT_EQ(kunden->IndexFields(1)->FieldName(), QStringLiteral("Vorname"));
}

TEST_F(FieldTest, PersistentFieldsSurviveClosing)
{
    auto kunden = table(QStringLiteral("Kunden.db"));
    TField *name = CreateField(kunden.get(), QStringLiteral("NAME"), ftString, 30);
    name->SetDisplayLabel(QStringLiteral("Nachname"));
    kunden->AddField(name);
    kunden->Open();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name")), name);
    EXPECT_EQ(name->AsString(), QStringLiteral("Müller"));
    kunden->Close();
    kunden->Open();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name")), name);
    EXPECT_EQ(name->DisplayLabel(), QStringLiteral("Nachname"));
    kunden->Close();

    TField *missing = CreateField(kunden.get(), QStringLiteral("Fehlt"), ftString, 10);
    kunden->AddField(missing);
    EXPECT_THROW(kunden->Open(), EDatabaseError);
    EXPECT_FALSE(kunden->Active());
    EXPECT_EQ(kunden->FindField(QStringLiteral("Fehlt")), missing);
}

// A default field ends with the opening that made it, a field the program
// added lives as long as its table; none outlives its table.
TEST_F(FieldTest, FieldsEndWithTheirOpeningOrTheirTable)
{
    auto kunden = table(QStringLiteral("Kunden.db"));
    const QPointer<TField> added = CreateField(kunden.get(), QStringLiteral("Name"), ftString, 30);
    kunden->AddField(added);
    kunden->Open();
    const QPointer<TField> ort = kunden->FieldByName(QStringLiteral("Ort"));
    EXPECT_EQ(ort->DataSet(), kunden.get());
    kunden->Close();
    EXPECT_TRUE(ort.isNull());
    EXPECT_FALSE(added.isNull());
    kunden->Open();
    const QPointer<TField> nr = kunden->FieldByName(QStringLiteral("Nr"));
    kunden.reset();
    EXPECT_TRUE(nr.isNull());
    EXPECT_TRUE(added.isNull());
}

TEST_F(FieldTest, ReadOnlyFieldsAndTablesRefuseWrites)
{
    auto kunden = table(QStringLiteral("Kunden.db"));
    kunden->SetReadOnly(true);
    kunden->Open();
    EXPECT_FALSE(kunden->CanModify());
    EXPECT_THROW(kunden->Edit(), EDatabaseError);
    kunden->Close();
    kunden->SetReadOnly(false);
    kunden->Open();
    kunden->FieldByName(QStringLiteral("Name"))->SetReadOnly(true);
    kunden->Edit();
    EXPECT_THROW(kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x")), EDatabaseError);
}

TEST_F(FieldTest, ConversionsBetweenTypes)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->Edit();
    TField *umsatz = kunden->FieldByName(QStringLiteral("Umsatz"));
    umsatz->SetAsString(QStringLiteral("1234,5"));
    EXPECT_DOUBLE_EQ(umsatz->AsFloat(), 1234.5);
    EXPECT_EQ(umsatz->AsString(), QStringLiteral("1234,5"));
    EXPECT_EQ(umsatz->AsInteger(), 1235);
    TField *seit = kunden->FieldByName(QStringLiteral("Seit"));
    seit->SetAsDateTime(EncodeDate(1850, 3, 1));
    EXPECT_EQ(seit->Value().toDate(), QDate(1850, 3, 1));
    seit->SetValue(QDate(2024, 2, 29));
    EXPECT_EQ(seit->AsString(), QStringLiteral("29.02.2024"));
    TField *notiz = kunden->FieldByName(QStringLiteral("Notiz"));
    notiz->SetAsString(QStringLiteral("Zeile 1\r\nZeile 2 mit € und ß"));
    EXPECT_EQ(notiz->DisplayText(), QStringLiteral("(Memo)"));
    kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QString());
    kunden->Post();
    auto again = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Notiz"))->AsString(),
              QStringLiteral("Zeile 1\r\nZeile 2 mit € und ß"));
    EXPECT_FALSE(again->FieldByName(QStringLiteral("Name"))->IsNull());
    EXPECT_EQ(again->FieldByName(QStringLiteral("Seit"))->AsDateTime(), EncodeDate(2024, 2, 29));
    again->Edit();
    again->FieldByName(QStringLiteral("Name"))->Clear();
    again->Post();
    EXPECT_TRUE(again->FieldByName(QStringLiteral("Name"))->IsNull());
}

TEST_F(FieldTest, DescendingIndexReversesTheOrderAndItsRanges)
{
    auto umsatz = table(QStringLiteral("Umsatz.db"));
    umsatz->FieldDefs()->AddParadox(QStringLiteral("Betrag"), QStringLiteral("$"));
    umsatz->FieldDefs()->AddParadox(QStringLiteral("Text"), QStringLiteral("A10"));
    umsatz->IndexDefs()->Add(QStringLiteral("Absteigend"), QStringLiteral("Betrag"), ixDescending);
    umsatz->CreateTable();
    umsatz->Open();
    EXPECT_TRUE(umsatz->IndexDefs()->Find(QStringLiteral("Absteigend"))->Options & ixDescending);
    for (int i = 1; i <= 40; ++i) {
        umsatz->Append();
        umsatz->FieldByName(QStringLiteral("Betrag"))->SetAsFloat(i);
        umsatz->Post();
    }
    umsatz->SetIndexName(QStringLiteral("Absteigend"));
    EXPECT_EQ(umsatz->FieldByName(QStringLiteral("Betrag"))->AsInteger(), 40);
    umsatz->SetRange({30}, {21});
    EXPECT_EQ(umsatz->RecordCount(), 10);
    umsatz->Last();
    EXPECT_EQ(umsatz->FieldByName(QStringLiteral("Betrag"))->AsInteger(), 21);
    umsatz->CancelRange();
    umsatz->FindNearest({25.5});
    EXPECT_EQ(umsatz->FieldByName(QStringLiteral("Betrag"))->AsInteger(), 25);
}

TEST_F(FieldTest, FocusControlReachesTheLinkOfThatField)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TDataSource source;
    source.SetDataSet(kunden.get());
    TFieldDataLink ortLink, nameLink;
    QStringList focused;
    ortLink.OnFocusControl = [&] { focused.append(QStringLiteral("Ort")); };
    nameLink.OnFocusControl = [&] { focused.append(QStringLiteral("Name")); };
    ortLink.SetDataSource(&source);
    ortLink.SetFieldName(QStringLiteral("Ort"));
    nameLink.SetDataSource(&source);
    nameLink.SetFieldName(QStringLiteral("name"));
    kunden->FieldByName(QStringLiteral("ORT"))->FocusControl();
    EXPECT_EQ(focused, QStringList{"Ort"});
}

// A table's own fields come into being as they are asked for: whichever way
// a caller reaches one, it is the one object in its column's place until the
// table closes, and the full list is complete and in order around the ones
// made singly.
TEST_F(FieldTest, EveryWayToAFieldGivesOneObjectUntilClosing)
{
    const QStringList columns = {"Nr", "Name", "Vorname", "Ort", "Umsatz", "Seit", "Aktiv", "Notiz"};
    TDataSource source;
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("vorname"));
    const struct
    {
        const char *name;
        int column;
        std::function<TField *(TTable &)> reach;
    } ways[] = {
        {"Fields", 3, [](TTable &t) { return t.Fields(3); }},
        {"FindField, other case", 1, [](TTable &t) { return t.FindField(QStringLiteral("NAME")); }},
        {"FieldByName, other case", 5, [](TTable &t) { return t.FieldByName(QStringLiteral("seit")); }},
        {"index field", 0, [](TTable &t) { return t.IndexFields(0); }},
        {"field link", 2, [&link](TTable &) { return link.Field(); }},
    };
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    QStringList names;
    kunden->GetFieldNames(names);
    EXPECT_EQ(names, columns);
    EXPECT_EQ(kunden->FieldCount(), columns.size());
    source.SetDataSet(kunden.get());
    for (int opening = 0; opening < 2; ++opening) {
        QList<QPointer<TField>> made;
        for (const auto &way : ways) {
            SCOPED_TRACE(std::string(way.name) + " in opening " + std::to_string(opening));
            TField *field = way.reach(*kunden);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(way.reach(*kunden), field);
            EXPECT_EQ(kunden->Fields(way.column), field);
            EXPECT_EQ(field->FieldName(), columns[way.column]);
            EXPECT_EQ(field->Index(), way.column);
            EXPECT_EQ(field->DataSet(), kunden.get());
            made.append(field);
        }
        EXPECT_EQ(kunden->FindField(QStringLiteral("Fehlt")), nullptr);
        EXPECT_EQ(kunden->FieldByName(QStringLiteral("ORT"))->AsString(), QStringLiteral("Köln"));
        EXPECT_EQ(kunden->FieldValues(QStringLiteral("umsatz")).toDouble(), 1200.5);
        QStringList listed;
        for (const TField *field : kunden->FieldList())
            listed.append(field->FieldName());
        EXPECT_EQ(listed, columns);
        for (std::size_t i = 0; i < std::size(ways); ++i)
            EXPECT_EQ(kunden->FieldList().at(ways[i].column), made[i].data()) << ways[i].name;
        EXPECT_EQ(kunden->FieldByName(QStringLiteral("Notiz"))->Index(), 7);
        kunden->Close();
        for (std::size_t i = 0; i < std::size(ways); ++i)
            EXPECT_TRUE(made[i].isNull()) << ways[i].name;
        kunden->Open();
    }
}

// A column declared as required refuses a blank value on posting, whether or
// not anyone asked for its field; a field made and then relaxed leaves the
// refusal to the table file.
TEST_F(FieldTest, RequiredColumnsAreCheckedWithoutTheirFieldBeingAskedFor)
{
    auto artikel = table(QStringLiteral("Artikel.db"));
    artikel->FieldDefs()->AddParadox(QStringLiteral("Nr"), QStringLiteral("I"));
    artikel->FieldDefs()->AddParadox(QStringLiteral("Bezeichnung"), QStringLiteral("A20"), true);
    artikel->FieldDefs()->AddParadox(QStringLiteral("Preis"), QStringLiteral("$"));
    artikel->CreateTable();
    const QString refusal = QStringLiteral("Feld 'Bezeichnung' muss einen Wert haben");
    const struct
    {
        const char *name;
        std::function<void(TTable &)> fill;
        QString message;
    } cases[] = {
        {"never asked for", [](TTable &) {}, refusal},
        {"asked for, left blank", [](TTable &t) { t.FieldByName(QStringLiteral("bezeichnung")); }, refusal},
        {"filled", [](TTable &t) { t.Fields(1)->SetAsString(QStringLiteral("Schraube")); }, QString()},
        {"made and relaxed", [](TTable &t) { t.FindField(QStringLiteral("Bezeichnung"))->SetRequired(false); },
         QStringLiteral("Ein Pflichtfeld hat keinen Wert.")},
    };
    for (const auto &posting : cases) {
        SCOPED_TRACE(posting.name);
        artikel->Open();
        artikel->Insert();
        artikel->FieldByName(QStringLiteral("Nr"))->SetAsInteger(artikel->RecordCount() + 1);
        posting.fill(*artikel);
        QString message;
        try {
            artikel->Post();
        } catch (const EDatabaseError &error) {
            message = error.Message();
            artikel->Cancel();
        }
        EXPECT_EQ(message.toStdString(), posting.message.toStdString());
        artikel->Close();
    }
}

// Whole numbers beyond what a field's type holds are refused with the range
// named, set as text or as a number, and the record posts without them.
TEST_F(FieldTest, WholeNumbersOutsideTheirTypeAreRefusedAndNeverStored)
{
    auto zahlen = table(QStringLiteral("Zahlen.db"));
    zahlen->FieldDefs()->AddParadox(QStringLiteral("Kurz"), QStringLiteral("S"));
    zahlen->FieldDefs()->AddParadox(QStringLiteral("Lang"), QStringLiteral("I"));
    zahlen->FieldDefs()->Add(QStringLiteral("Wort"), ftWord, 0);
    zahlen->CreateTable();
    zahlen->Open();
    const struct
    {
        const char *field, *low, *high, *below, *above;
    } cases[] = {{"Kurz", "-32768", "32767", "-32769", "40000"},
                 {"Lang", "-2147483648", "2147483647", "-2147483649", "99999999999"},
                 {"Wort", "0", "65535", "-1", "65536"}};
    for (const auto &type : cases) {
        TField *field = zahlen->FieldByName(QLatin1String(type.field));
        for (const char *value : {type.low, type.high, type.below, type.above}) {
            for (const bool asNumber : {false, true}) {
                SCOPED_TRACE(std::string(type.field) + " = " + value + (asNumber ? " as number" : ""));
                zahlen->Append();
                QString message;
                try {
                    asNumber ? field->SetAsFloat(QString(value).toDouble()) : field->SetText(QLatin1String(value));
                } catch (const EDatabaseError &error) {
                    message = error.Message();
                }
                zahlen->Post();
                zahlen->Last();
                const bool inRange = value == type.low || value == type.high;
                EXPECT_EQ(message, inRange ? QString()
                                           : QStringLiteral("%1 ist kein gültiger Wert für das Feld '%2'. Zulässig "
                                                            "sind Werte von %3 bis %4.")
                                                 .arg(value, type.field, type.low, type.high));
                EXPECT_EQ(field->AsString(), inRange ? QLatin1String(value) : QString());
            }
        }
    }
}

}
