#include "DbFixture.h"

#include "platform/db/FilterExpression.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Every test starts from the filled customers table.
class FilterExpressionTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
    // Every record with the text evaluated record by record, to compare with
    // what SQLite selects for the same tree.
    QStringList evaluatedByRecord(TTable &table, const QString &text, TFilterOptions options)
    {
        auto expression = db::FilterExpression::parse(text, options);
        QVector<db::FilterColumn> columns;
        for (TField *field : table.FieldList())
            columns.append({field->FieldName(), field->DataType()});
        expression->bind(columns);
        QStringList result;
        table.SetFiltered(false);
        for (table.First(); !table.Eof(); table.Next()) {
            db::Row row;
            for (TField *field : table.FieldList())
                row.values.append(field->storedValue());
            if (expression->evaluate(row))
                result.append(table.FieldByName(QStringLiteral("Nr"))->AsString());
        }
        return result;
    }

    QStringList selectedBySql(TTable &table, const QString &text, TFilterOptions options)
    {
        table.SetFilterOptions(options);
        table.SetFilter(text);
        table.SetFiltered(true);
        return names(table, QStringLiteral("Nr"));
    }
};

TEST_F(FilterExpressionTest, RecordEvaluationAndSqlSelectTheSameRecords)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->Append();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(7);
    kunden->Post();
    const QStringList filters{"Name = 'Müller'",
                              "Name <> 'Müller'",
                              "Name < 'Meierhof'",
                              "Name >= 'meier'",
                              "Name = 'M*'",
                              "Name <> 'M*'",
                              "Ort = ''",
                              "Ort <> ''",
                              "Ort IS NULL",
                              "NOT Ort IS NULL",
                              "Ort > 'B'",
                              "Umsatz > 50",
                              "Umsatz <= 50 OR Seit IS NULL",
                              "Seit < '01.01.2000'",
                              "Seit <> '15.06.1999'",
                              "Aktiv = 'True'",
                              "Aktiv <> 'True'",
                              "NOT (Nr = 1 OR Nr = 2) AND Umsatz >= 0",
                              "50 < Umsatz",
                              "'Köln' = Ort",
                              "Notiz IS NULL",
                              "Ort = Name",
                              "Ort <> Name"};
    for (TFilterOptions options : {0, int(foCaseInsensitive), int(foNoPartialCompare)}) {
        for (const QString &filter : filters) {
            const QStringList byRecord = evaluatedByRecord(*kunden, filter, options);
            EXPECT_EQ(selectedBySql(*kunden, filter, options), byRecord) << filter.toStdString() << " " << options;
        }
    }
}

TEST_F(FilterExpressionTest, AFieldComparedWithABlankFieldOnlyDiffers)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    const struct
    {
        const char *filter;
        QStringList selected;
    } cases[] = {
        {"Ort < Name", {"1", "2", "3"}},
        {"Ort > Name", {"4", "5"}},
        // Nr 6 has no place: it is neither less, greater nor equal, only different.
        {"Ort <> Name", {"1", "2", "3", "4", "5", "6"}},
        {"Ort = Name", {}},
        {"Name >= Ort", {"1", "2", "3"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(evaluatedByRecord(*kunden, c.filter, 0), c.selected) << c.filter;
        EXPECT_EQ(selectedBySql(*kunden, c.filter, 0), c.selected) << c.filter;
    }
}

TEST_F(FilterExpressionTest, SyntaxErrorsNameThePosition)
{
    try {
        db::FilterExpression::parse(QStringLiteral("Name = 'x' AND"), 0);
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Ungültiger Filterausdruck 'Name = 'x' AND' (Position 15)."));
    }
    EXPECT_THROW(db::FilterExpression::parse(QStringLiteral("Name = 'x')"), 0), EDatabaseError);
    EXPECT_THROW(db::FilterExpression::parse(QStringLiteral("'a' = 'b'"), 0), EDatabaseError);
    EXPECT_THROW(db::FilterExpression::parse(QStringLiteral("Name IS NOT"), 0), EDatabaseError);
    EXPECT_NO_THROW(db::FilterExpression::parse(QStringLiteral("[Name mit Blank] = 'it''s'"), 0));
}

TEST_F(FilterExpressionTest, QuotesInsideLiteralsAreKept)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->First();
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("O'Brien"));
    kunden->Post();
    kunden->SetFilter(QStringLiteral("Name = 'O''Brien'"));
    kunden->SetFiltered(true);
    EXPECT_EQ(kunden->RecordCount(), 1);
}

}
