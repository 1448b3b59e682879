#include "LibraryTables.h"

#include "platform/db/TField.h"

void LibraryTables::SetUp()
{
    TTable kunden;
    kunden.SetDatabaseName(folder());
    kunden.SetTableName("Kunden.db");
    TFieldDefs &fields = *kunden.FieldDefs();
    fields.AddParadox("Nr", "I");
    fields.AddParadox("Name", "A30");
    fields.AddParadox("Plz", "A5");
    fields.AddParadox("Umsatz", "$");
    fields.AddParadox("Seit", "D");
    fields.AddParadox("Aktiv", "L");
    fields.AddParadox("Notiz", "M240");
    fields.AddParadox("Bild", "B");
    kunden.IndexDefs()->Add(QString(), "Nr", ixPrimary | ixUnique);
    kunden.IndexDefs()->Add("NameIdx", "Name", ixCaseInsensitive);
    kunden.IndexDefs()->Add("PlzIdx", "Plz", 0);
    kunden.IndexDefs()->Add("UmsatzIdx", "Umsatz", 0);
    kunden.IndexDefs()->Add("SeitIdx", "Seit", 0);
    kunden.CreateTable();
    kunden.Open();
    addCustomer(kunden, 1, "Müller", "50667", 1200.5, "01.02.2003");
    addCustomer(kunden, 2, "Meier", "53111", 50, "15.06.1999");
    addCustomer(kunden, 3, "Zander", "52062", 0, "29.02.2000");
    addCustomer(kunden, 4, "Meierhof", "67000", 75.25, "01.01.2020");
    addCustomer(kunden, 5, "meier", "1234", 10, "05.05.2005");
}

std::unique_ptr<fixture::ListTable> LibraryTables::openCustomers(const QString &index)
{
    auto table = std::make_unique<fixture::ListTable>();
    table->setObjectName("tblKunden");
    table->SetDatabaseName(folder());
    table->SetTableName("Kunden");
    table->SetIndexName(index);
    table->Open();
    return table;
}

void LibraryTables::addCustomer(TTable &table, int nr, const QString &name, const QString &plz, double umsatz,
                                const QString &seit)
{
    table.Append();
    table.FieldByName("Nr")->SetAsInteger(nr);
    table.FieldByName("Name")->SetAsString(name);
    table.FieldByName("Plz")->SetAsString(plz);
    table.FieldByName("Umsatz")->SetAsFloat(umsatz);
    table.FieldByName("Seit")->SetAsString(seit);
    table.FieldByName("Aktiv")->SetAsBoolean(nr % 2 == 1);
    table.Post();
}

void LibraryTables::createPlaces()
{
    TTable orte;
    orte.SetDatabaseName(folder());
    orte.SetTableName("Orte.db");
    orte.FieldDefs()->AddParadox("Land", "A3");
    orte.FieldDefs()->AddParadox("Plz", "A5");
    orte.FieldDefs()->AddParadox("Ort", "A30");
    orte.FieldDefs()->AddParadox("Info", "M10");
    orte.IndexDefs()->Add(QString(), "Land;Plz", ixPrimary | ixUnique);
    orte.IndexDefs()->Add("OrtIdx", "Ort", ixCaseInsensitive);
    orte.IndexDefs()->Add("PlzIdx", "Plz", 0);
    orte.CreateTable();
    orte.Open();
    for (const auto &[plz, ort] : {std::pair{"50667", "Köln"}, std::pair{"53111", "Bonn"}}) {
        orte.Append();
        orte.FieldByName("Land")->SetAsString("D");
        orte.FieldByName("Plz")->SetAsString(plz);
        orte.FieldByName("Ort")->SetAsString(ort);
        orte.FieldByName("Info")->SetAsString(QString("Info ") + ort);
        orte.Post();
    }
}

std::unique_ptr<TTable> LibraryTables::openPlaces()
{
    auto places = std::make_unique<TTable>();
    places->SetDatabaseName(folder());
    places->SetTableName("Orte");
    places->Open();
    return places;
}
