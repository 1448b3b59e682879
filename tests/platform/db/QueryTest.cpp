#include "DbFixture.h"

#include "platform/db/EngineFilters.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/TField.h"
#include "platform/db/TQuery.h"
#include "platform/runtime/Exceptions.h"

namespace {

class QueryTest : public DbFixture
{
protected:
    void SetUp() override
    {
        fillCustomers();
        createPositions(3, 4);
    }

    std::unique_ptr<TQuery> query(const QString &sql)
    {
        auto result = std::make_unique<TQuery>();
        result->setObjectName(QStringLiteral("qry"));
        result->SetDatabaseName(folder());
        result->SetSQL({sql});
        return result;
    }

    QStringList column(TDataSet &dataSet, const QString &field)
    {
        QStringList values;
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            values << dataSet.FieldByName(field)->AsString();
        return values;
    }
};

}

TEST_F(QueryTest, TextsNamingTableFilesGiveTheRowsSqliteGives)
{
    struct Case
    {
        const char *sql;
        QStringList expected;
    };
    const Case cases[] = {
        {"SELECT * FROM Kunden WHERE Umsatz > 60 ORDER BY Nr", {"1", "4", "6"}},
        {"select Nr from \"Kunden.db\" k where k.Ort = 'Köln' order by k.Nr", {"1", "4"}},
        {"SELECT Nr FROM Kunden.db WHERE Seit < '01.01.2000' ORDER BY Nr", {"2", "3"}},
        {"SELECT Nr FROM Kunden WHERE UPPER(Name) = 'MÜLLER'", {"1"}},
        {"SELECT Nr FROM Kunden WHERE Ort LIKE 'STRAß%' OR Name LIKE 'ä%' OR Ort LIKE 'strass%'", {"4", "5"}},
        {"SELECT Nr FROM Kunden WHERE Name = 'x'' OR ''1''=''1' ORDER BY Nr", {}},
        {"SELECT DISTINCT k.Nr FROM Kunden k, atrpos p WHERE p.Auftragnr = k.Nr AND p.Posnr > 2 ORDER BY 1",
         {"1", "2", "3"}},
    };
    for (const Case &c : cases) {
        auto q = query(QString::fromUtf8(c.sql));
        q->Open();
        EXPECT_EQ(column(*q, QStringLiteral("Nr")), c.expected) << c.sql;
    }
}

TEST_F(QueryTest, FieldsAreTypedFromTheirColumnsAndParametersBindByName)
{
    auto q = query(QStringLiteral(
        "SELECT Nr, Name, Seit, Umsatz * 2 AS Doppelt FROM Kunden WHERE Seit >= :ab AND Name <> :name ORDER BY Nr"));
    ASSERT_EQ(q->Params()->Count(), 2);
    q->ParamByName(QStringLiteral("AB"))->SetDataType(ftDate);
    q->ParamByName(QStringLiteral("ab"))->SetValue(QDate(2003, 1, 1));
    q->ParamByName(QStringLiteral("name"))->SetValue(QStringLiteral("Ärger"));
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("Nr"))->DataType(), ftInteger);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->DataType(), ftString);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Name"))->Size(), 30);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Seit"))->DataType(), ftDate);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Seit"))->AsDateTime(), FromQDate(QDate(2003, 2, 1)));
    EXPECT_DOUBLE_EQ(q->FieldByName(QStringLiteral("Doppelt"))->AsFloat(), 2401);
    EXPECT_EQ(q->RecordCount(), 2);
    EXPECT_THROW(q->Edit(), EDatabaseError);

    auto missing = query(QStringLiteral("SELECT * FROM Kunden WHERE Nr = :nr"));
    missing->Params()->Clear();
    EXPECT_THROW(missing->Open(), EDatabaseError);
    EXPECT_THROW(query(QStringLiteral("SELECT * FROM Fehlt"))->Open(), EDatabaseError);
    EXPECT_THROW(query(QStringLiteral("SELEKT * FROM Kunden"))->Prepare(), EDBEngineError);
}

TEST_F(QueryTest, LiveResultOfOneTableWritesThrough)
{
    auto q = query(QStringLiteral("SELECT * FROM Kunden WHERE Ort = 'Köln' ORDER BY Nr"));
    q->SetRequestLive(true);
    q->Open();
    EXPECT_TRUE(q->CanModify());
    q->Edit();
    q->FieldByName(QStringLiteral("Umsatz"))->SetAsFloat(5);
    q->Post();
    q->Append();
    q->FieldByName(QStringLiteral("Nr"))->SetAsInteger(7);
    q->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Neu"));
    q->Post();
    q->First();
    q->Next();
    q->Delete();
    auto kunden = openTable(QStringLiteral("Kunden"));
    EXPECT_TRUE(kunden->FindKey({1}));
    EXPECT_DOUBLE_EQ(kunden->FieldByName(QStringLiteral("Umsatz"))->AsFloat(), 5);
    EXPECT_TRUE(kunden->FindKey({7}));
    EXPECT_FALSE(kunden->FindKey({4}));

    auto joined = query(QStringLiteral("SELECT k.* FROM Kunden k JOIN atrpos p ON p.Auftragnr = k.Nr"));
    joined->SetRequestLive(true);
    joined->Open();
    EXPECT_FALSE(joined->CanModify());
}

TEST_F(QueryTest, ExecSqlChangesTheFilesAndCountsRows)
{
    auto update = query(QStringLiteral("UPDATE Kunden SET Umsatz = Umsatz + :plus WHERE Ort = 'Köln'"));
    update->ParamByName(QStringLiteral("plus"))->SetValue(1);
    update->ExecSQL();
    EXPECT_EQ(update->RowsAffected(), 2);
    auto remove = query(QStringLiteral("DELETE FROM \"atrpos.db\" WHERE Auftragnr = 2"));
    remove->ExecSQL();
    EXPECT_EQ(remove->RowsAffected(), 4);
    EXPECT_EQ(openTable(QStringLiteral("atrpos"))->RecordCount(), 8);
}

TEST_F(QueryTest, FiltersOfEveryKindNarrowAQuery)
{
    auto q = query(QStringLiteral("SELECT * FROM Kunden ORDER BY Nr"));
    q->Open();
    q->SetFilter(QStringLiteral("Umsatz > 20"));
    q->SetFiltered(true);
    EXPECT_EQ(column(*q, QStringLiteral("Nr")), QStringList({"1", "2", "4", "6"}));
    const int test = q->AddEngineFilter(
        [](TDataSet *dataSet) { return dataSet->FieldByName(QStringLiteral("Nr"))->AsInteger() % 2 == 0; });
    q->ActivateEngineFilter(test, true);
    EXPECT_EQ(column(*q, QStringLiteral("Nr")), QStringList({"2", "4", "6"}));
    EXPECT_EQ(q->RecordCount(), 3);
    q->Refresh();
    EXPECT_EQ(q->RecordCount(), 3);
    q->DropEngineFilter(test);
    EXPECT_EQ(q->RecordCount(), 4);
    q->Close();
    q->Open();
    EXPECT_FALSE(q->ActivateEngineFilter(test, true));
}

// '1/6/2003' is 6 January month first, 1 June day first.
TEST_F(QueryTest, SlashDatesAreReadInTheOrderOfTheirLine)
{
    const QStringList sql{QStringLiteral("SELECT Nr FROM Kunden WHERE Seit < '1/6/2003'"), QStringLiteral("ORDER BY Nr")};
    using enum db::SlashDateOrder;
    const struct
    {
        db::SlashDateOrder own; // the lines given are read in the other order
        QList<int> lines;
        QStringList expected;
    } cases[] = {{MonthDayYear, {}, {"2", "3"}},
                 {DayMonthYear, {}, {"1", "2", "3"}},
                 {MonthDayYear, {0}, {"1", "2", "3"}},
                 {MonthDayYear, {1}, {"2", "3"}},
                 {DayMonthYear, {0}, {"2", "3"}}};
    for (const auto &c : cases) {
        auto q = query(QString());
        q->SetSQL(sql);
        q->SetSlashDates(c.own);
        q->SetSlashDateLines(c.lines, c.own == MonthDayYear ? DayMonthYear : MonthDayYear);
        q->Open();
        EXPECT_EQ(column(*q, QStringLiteral("Nr")), c.expected) << c.lines.size();
        q->SetSQL(sql);
        q->Open();
        EXPECT_EQ(column(*q, QStringLiteral("Nr")).size(), c.own == MonthDayYear ? 2 : 3)
            << "new text forgets the lines";
    }
}

TEST_F(QueryTest, StoredProceduresComeFromTheRegistry)
{
    TStoredProc procedure;
    procedure.SetStoredProcName(QStringLiteral("Verdoppeln"));
    EXPECT_THROW(procedure.ExecProc(), EDatabaseError);
    registerStoredProcedure(QStringLiteral("verdoppeln"), [](TParams &params) {
        params.ParamByName(QStringLiteral("Wert"))
            ->SetValue(params.ParamByName(QStringLiteral("Wert"))->Value().toInt() * 2);
    });
    procedure.Params()->CreateParam(ftInteger, QStringLiteral("Wert"))->SetValue(21);
    procedure.ExecProc();
    EXPECT_EQ(procedure.ParamByName(QStringLiteral("wert"))->Value().toInt(), 42);
    EXPECT_THROW(procedure.Open(), EDatabaseError);
    unregisterStoredProcedure(QStringLiteral("Verdoppeln"));
}
