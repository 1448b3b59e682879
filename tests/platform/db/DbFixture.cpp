#include "DbFixture.h"

#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"

std::unique_ptr<TTable> DbFixture::table(const QString &name)
{
    auto result = std::make_unique<TTable>();
    result->setObjectName(QStringLiteral("tbl") + name);
    result->SetDatabaseName(folder());
    result->SetTableName(name);
    return result;
}

std::unique_ptr<TTable> DbFixture::openTable(const QString &name, const QString &index)
{
    auto result = table(name);
    result->SetIndexName(index);
    result->Open();
    return result;
}

void DbFixture::createCustomers()
{
    auto kunden = table(QStringLiteral("Kunden.db"));
    TFieldDefs &fields = *kunden->FieldDefs();
    fields.AddParadox(QStringLiteral("Nr"), QStringLiteral("I"));
    fields.AddParadox(QStringLiteral("Name"), QStringLiteral("A30"));
    fields.AddParadox(QStringLiteral("Vorname"), QStringLiteral("A20"));
    fields.AddParadox(QStringLiteral("Ort"), QStringLiteral("A20"));
    fields.AddParadox(QStringLiteral("Umsatz"), QStringLiteral("$"));
    fields.AddParadox(QStringLiteral("Seit"), QStringLiteral("D"));
    fields.AddParadox(QStringLiteral("Aktiv"), QStringLiteral("L"));
    fields.AddParadox(QStringLiteral("Notiz"), QStringLiteral("M240"));
    kunden->IndexDefs()->Add(QString(), QStringLiteral("Nr"), ixPrimary | ixUnique);
    kunden->IndexDefs()->Add(QStringLiteral("NameIdx"), QStringLiteral("Name;Vorname"), ixCaseInsensitive);
    kunden->IndexDefs()->Add(QStringLiteral("OrtIdx"), QStringLiteral("Ort"), 0);
    kunden->CreateTable();
}

void DbFixture::addCustomer(TTable &table, int nr, const QString &name, const QString &vorname, const QString &ort,
                            double umsatz, const QString &seit)
{
    table.Append();
    table.FieldByName(QStringLiteral("Nr"))->SetAsInteger(nr);
    table.FieldByName(QStringLiteral("Name"))->SetAsString(name);
    table.FieldByName(QStringLiteral("Vorname"))->SetAsString(vorname);
    table.FieldByName(QStringLiteral("Ort"))->SetAsString(ort);
    table.FieldByName(QStringLiteral("Umsatz"))->SetAsFloat(umsatz);
    table.FieldByName(QStringLiteral("Seit"))->SetAsString(seit);
    table.FieldByName(QStringLiteral("Aktiv"))->SetAsBoolean(nr % 2 == 1);
    table.Post();
}

void DbFixture::fillCustomers()
{
    createCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    addCustomer(*kunden, 1, QStringLiteral("Müller"), QStringLiteral("Hans"), QStringLiteral("Köln"), 1200.5,
                QStringLiteral("01.02.2003"));
    addCustomer(*kunden, 2, QStringLiteral("Meier"), QStringLiteral("Anna"), QStringLiteral("Bonn"), 50,
                QStringLiteral("15.06.1999"));
    addCustomer(*kunden, 3, QStringLiteral("Zander"), QStringLiteral("Ute"), QStringLiteral("Aachen"), 0,
                QStringLiteral("31.12.1898"));
    addCustomer(*kunden, 4, QStringLiteral("Ärger"), QStringLiteral("Olaf"), QStringLiteral("Köln"), 75.25,
                QStringLiteral("01.01.2020"));
    addCustomer(*kunden, 5, QStringLiteral("Meierhof"), QStringLiteral("Jörg"), QStringLiteral("Straßburg"), 10,
                QStringLiteral("05.05.2005"));
    addCustomer(*kunden, 6, QStringLiteral("mueller"), QStringLiteral("Kai"), QString(), 99, QString());
}

void DbFixture::createPositions(int orders, int positionsPerOrder)
{
    auto positions = table(QStringLiteral("atrpos.db"));
    positions->FieldDefs()->AddParadox(QStringLiteral("Auftragnr"), QStringLiteral("I"));
    positions->FieldDefs()->AddParadox(QStringLiteral("Posnr"), QStringLiteral("S"));
    positions->FieldDefs()->AddParadox(QStringLiteral("Artikel"), QStringLiteral("A10"));
    positions->FieldDefs()->AddParadox(QStringLiteral("Menge"), QStringLiteral("N"));
    positions->IndexDefs()->Add(QString(), QStringLiteral("Auftragnr;Posnr"), ixPrimary | ixUnique);
    positions->IndexDefs()->Add(QStringLiteral("APOARTNR"), QStringLiteral("Artikel"), 0);
    positions->CreateTable();
    positions->Open();
    TDatabase database;
    database.SetDatabaseName(folder());
    database.StartTransaction();
    for (int order = 1; order <= orders; ++order) {
        for (int pos = 1; pos <= positionsPerOrder; ++pos) {
            positions->Append();
            positions->FieldByName(QStringLiteral("Auftragnr"))->SetAsInteger(order);
            positions->FieldByName(QStringLiteral("Posnr"))->SetAsInteger(pos);
            positions->FieldByName(QStringLiteral("Artikel"))
                ->SetAsString(QStringLiteral("A%1").arg((order * 7 + pos) % 13));
            positions->FieldByName(QStringLiteral("Menge"))->SetAsFloat(pos * 1.5);
            positions->Post();
        }
    }
    database.Commit();
}

QStringList DbFixture::names(TTable &table, const QString &field)
{
    QStringList result;
    for (table.First(); !table.Eof(); table.Next())
        result.append(table.FieldByName(field)->AsString());
    return result;
}
