#include "DemoTablesTest.h"
#include "LibraryTables.h"

#include "demo/tables/DemoTables.h"
#include "lib/data/Qkfltdlg.h"
#include "lib/data/Qkqbe.h"
#include "lib/data/Qkquery.h"
#include "lib/data/Qktable.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <tuple>

namespace {

struct Criterion
{
    const char *field;
    TqkFilterMatchType type;
    const char *value;
    const char *min = "";
    const char *max = "";
    bool caseSensitive = false;
    bool nonMatching = false;
};

std::unique_ptr<TqkFieldInfo> fieldInfo(const Criterion &c)
{
    auto info = std::make_unique<TqkFieldInfo>();
    info->FieldName = QString::fromUtf8(c.field);
    info->MatchType = c.type;
    info->FilterValue = QString::fromUtf8(c.value);
    info->MinValue = QString::fromUtf8(c.min);
    info->MaxValue = QString::fromUtf8(c.max);
    info->CaseSensitive = c.caseSensitive;
    info->NonMatching = c.nonMatching;
    return info;
}

// Replaces the dialog's criteria and applies them.
void applyOnly(TqkFilterDialog &dialog, std::initializer_list<Criterion> criteria)
{
    dialog.ClearFilter();
    for (const Criterion &c : criteria)
        dialog.FieldInfo().push_back(fieldInfo(c));
    dialog.ApplyFilter();
}

QStringList keysOf(TDataSet &dataSet, const QString &field)
{
    QStringList keys;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        keys << dataSet.FieldByName(field)->AsString();
    std::sort(keys.begin(), keys.end());
    return keys;
}

// The record test on the library's small customer table.
class RecordTestCases : public LibraryTables
{
protected:
    QStringList numbers(std::initializer_list<Criterion> criteria, TqkFilterDialog *configured = nullptr)
    {
        auto customers = openCustomers();
        TDataSource source;
        source.SetDataSet(customers.get());
        TqkFilterDialog own;
        TqkFilterDialog &dialog = configured ? *configured : own;
        dialog.SetDataSource(&source);
        applyOnly(dialog, criteria);
        const QStringList result = keysOf(*customers, "Nr");
        dialog.SetDataSource(nullptr);
        return result;
    }
    ui::ScopedRecordingUiServices user;
};

// The customers in the order of one index, with a dialog that narrows by
// indexes as `optimization` says.
struct IndexedCustomers
{
    IndexedCustomers(const QString &folder, const QString &index, TqkFilterOptimization optimization)
    {
        table.SetDatabaseName(folder);
        table.SetTableName("Kunden");
        table.SetIndexName(index);
        table.Open();
        source.SetDataSet(&table);
        dialog.SetDataSource(&source);
        dialog.SetFilterOptimization(optimization);
    }
    ~IndexedCustomers() { dialog.SetDataSource(nullptr); }

    TqkTable table;
    TDataSource source;
    TqkFilterDialog dialog;
};

// A query whose SQL the dialog rewrites.
struct RewrittenQuery
{
    RewrittenQuery(const QString &folder, const char *sql)
    {
        query.SetDatabaseName(folder);
        query.SetSQL({sql});
        source.SetDataSet(&query);
        dialog.SetDataSource(&source);
        dialog.SetFilterMethod(fdByQueryModify);
    }
    ~RewrittenQuery() { dialog.SetDataSource(nullptr); }

    TqkQuery query;
    TDataSource source;
    TqkFilterDialog dialog;
};
}

TEST_F(RecordTestCases, CriteriaSelectAsTheMatchTypesSay)
{
    struct Case
    {
        std::initializer_list<Criterion> criteria;
        QStringList expected;
    };
    const Case cases[] = {
        {{}, {"1", "2", "3", "4", "5"}},
        {{{"Name", fdMatchStart, "zand or meier"}}, {"2", "3", "4", "5"}},
        {{{"Name", fdMatchAny, "eier and hof"}}, {"4"}},
        {{{"Name", fdMatchAny, "eier", "", "", true}}, {"2", "4", "5"}},
        {{{"Name", fdMatchStart, "M", "", "", true, true}}, {"3", "5"}},
        {{{"Name", fdMatchEnd, "er"}}, {"1", "2", "3", "5"}},
        {{{"Name", fdMatchExact, "meier"}}, {"2", "5"}},
        {{{"Name", fdMatchRange, "", "M", "Meier"}}, {"2", "4", "5"}},
        {{{"Name", fdMatchRange, "", "A", "M", true}}, {"2", "4"}},
        {{{"Nr", fdMatchRange, "", "3", ""}}, {"3", "4", "5"}},
        {{{"Umsatz", fdMatchExact, "1200,50"}}, {"1"}},
        {{{"Umsatz", fdMatchRange, "", "10", "75,25", false, true}}, {"2", "4", "5"}},
        {{{"Seit", fdMatchRange, "", "01.01.2000", "31.12.2005"}}, {"1", "3", "5"}},
        {{{"Notiz", fdMatchStart, "null"}}, {"1", "2", "3", "4", "5"}},
        {{{"Notiz", fdMatchEnd, "x or y"}}, {}},
        {{{"Notiz", fdMatchEnd, "x"}}, {"1", "2", "3", "4", "5"}},
        {{{"Plz", fdMatchStart, "5"}, {"Umsatz", fdMatchRange, "", "100", ""}}, {"1"}},
    };
    for (const Case &c : cases) {
        QStringList shown;
        for (const Criterion &criterion : c.criteria)
            shown << QString::fromUtf8(criterion.field) + "/" + QString::fromUtf8(criterion.value);
        EXPECT_EQ(numbers(c.criteria), c.expected) << shown.join(", ").toStdString();
    }
}

// A customer without a date is in no range of dates, however early it starts.
TEST_F(RecordTestCases, AnEmptyDateLiesInNoRange)
{
    {
        auto customers = openCustomers();
        ASSERT_TRUE(customers->FindKey({3}));
        customers->Edit();
        customers->FieldByName("Seit")->Clear();
        customers->Post();
    }
    EXPECT_EQ(numbers({{"Seit", fdMatchRange, "", "01.01.1890", "31.12.1899"}}), QStringList());
    EXPECT_EQ(numbers({{"Seit", fdMatchRange, "", "", "31.12.2000"}}), QStringList({"2"}));
    EXPECT_EQ(numbers({{"Seit", fdMatchRange, "", "", ""}}).size(), 5);
}

TEST_F(RecordTestCases, BadBoundsRaiseAndTheHandlerLeavesWithTheDialog)
{
    EXPECT_THROW(numbers({{"Nr", fdMatchRange, "", "drei", ""}}), EConvertError);
    auto customers = openCustomers();
    TDataSource source;
    source.SetDataSet(customers.get());
    {
        TqkFilterDialog dialog;
        dialog.SetDataSource(&source);
        dialog.FieldInfo().push_back(fieldInfo({"Name", fdMatchStart, "Z"}));
        dialog.ApplyFilter();
        EXPECT_EQ(customers->RecordCount(), 1);
        customers->Close();
        EXPECT_TRUE(dialog.FieldInfo().empty()); // closing forgets the criteria
        customers->Open();
        dialog.FieldInfo().push_back(fieldInfo({"Name", fdMatchStart, "Z"}));
        dialog.ApplyFilter();
    }
    EXPECT_FALSE(customers->OnFilterRecord());
    EXPECT_EQ(customers->RecordCount(), 5);
    TqkFilterDialog closed;
    customers->Close();
    closed.SetDataSource(&source);
    EXPECT_FALSE(closed.Execute());
    EXPECT_EQ(user.messageTexts().last(),
              "Dataset must be active to perform local filtering (FilterMethod=fdByFilter).");
    closed.FieldOperators().SetAndChar(" OR ");
    EXPECT_EQ(user.messageTexts().last(), "Operators do not have a unique value.");
    EXPECT_EQ(closed.FieldOperators().AndChar(), "OR");
}

TEST_F(RecordTestCases, LibraryTableNarrowsByItsIndexFirst)
{
    IndexedCustomers customers(folder(), "NameIdx", fdUseActiveIndex);
    TqkTable &table = customers.table;
    TqkFilterDialog &dialog = customers.dialog;
    applyOnly(dialog, {{"Name", fdMatchStart, "meier"}});
    EXPECT_EQ(keysOf(table, "Nr"), QStringList({"2", "4", "5"}));
    applyOnly(dialog, {{"Name", fdMatchStart, "meier", "", "", true}});
    EXPECT_EQ(keysOf(table, "Nr"), QStringList({"5"}));
    dialog.SetFilterOptimization(fdUseAllIndexes);
    applyOnly(dialog, {{"Plz", fdMatchRange, "", "5", "53", true}});
    EXPECT_EQ(table.IndexName(), "PlzIdx");
    EXPECT_EQ(keysOf(table, "Nr"), QStringList({"1", "2", "3"}));
    applyOnly(dialog, {});
    EXPECT_EQ(table.IndexName(), "NameIdx");
    EXPECT_EQ(table.RecordCount(), 5);
}

TEST_F(RecordTestCases, IndexChosenByNameOrFieldsNarrowsByItsRange)
{
    for (const bool byFieldNames : {false, true}) {
        TqkTable table;
        table.SetDatabaseName(folder());
        table.SetTableName("Kunden");
        if (byFieldNames)
            table.SetIndexFieldNames("Name");
        else
            table.SetIndexName("NameIdx");
        table.Open();
        TDataSource source;
        source.SetDataSet(&table);
        TqkFilterDialog dialog;
        dialog.SetDataSource(&source);
        dialog.SetFilterOptimization(fdUseActiveIndex);
        applyOnly(dialog, {{"Name", fdMatchStart, "meier"}});
        EXPECT_EQ(keysOf(table, "Nr"), QStringList({"2", "4", "5"}));
        table.SetOnFilter({});
        EXPECT_EQ(keysOf(table, "Nr"), QStringList({"2", "4", "5"})) << "the index's range holds";
        dialog.SetDataSource(nullptr);
    }
}

// The index's range only narrows what the record test sees: with it or
// without, the same records for every value.
TEST_F(RecordTestCases, NarrowingByAnIndexSelectsWhatTheRecordTestSelects)
{
    {
        auto customers = openCustomers();
        int nr = 6;
        for (const char *name : {"MÜLLER", "Mueller", "Straße", "STRASSE", "Äpfel", "Meier-Zahn", "MZZ", "Mz"})
            addCustomer(*customers, nr++, QString::fromUtf8(name), "53111", 20, "01.06.2000");
        addCustomer(*customers, nr, "", "", 0, "01.01.2000");
        customers->Edit();
        for (const char *empty : {"Name", "Plz", "Umsatz", "Seit"})
            customers->FieldByName(empty)->Clear();
        customers->Post();
    }
    // A range's values are its bounds, "min|max".
    const struct
    {
        const char *field;
        TqkFilterMatchType type;
        bool caseSensitive;
        std::initializer_list<const char *> values;
    } groups[] = {
        {"Name", fdMatchExact, false, {"Meier ", "null", "  ", "müller", "Strasse", "straße", "Meier or Zander"}},
        {"Name", fdMatchStart, false, {"  Meier", "NULL", "", "MEI", "MÜ", "Stras", "STRAß", "äp"}},
        {"Name", fdMatchExact, true, {"meier"}},
        {"Name", fdMatchStart, true, {"M"}},
        {"Name", fdMatchRange, false, {"M|Meier", "MEI|MEIZ", "B|", "A|B"}},
        {"Name", fdMatchRange, true, {"M|M"}},
        {"Plz", fdMatchStart, true, {"5"}},
        {"Plz", fdMatchExact, true, {"1234 "}},
        {"Plz", fdMatchRange, true, {"5|53"}},
        {"Nr", fdMatchExact, false, {" 3"}},
        {"Nr", fdMatchRange, false, {"4|9"}},
        {"Umsatz", fdMatchExact, true, {"50"}},
        {"Umsatz", fdMatchRange, true, {"-1|60", "|20", "10,5|"}},
        {"Seit", fdMatchExact, true, {"29.02.2000"}},
        {"Seit", fdMatchRange, true, {"01.01.2000|31.12.2005", "|31.12.2000"}},
    };
    for (const auto &group : groups)
        for (const char *value : group.values) {
            const std::string shown = std::string(group.field) + " '" + value + "'";
            const bool range = group.type == fdMatchRange;
            const QList<QByteArray> bounds = QByteArray(value).split('|') << QByteArray();
            const auto bound = [&](int i) { return range ? bounds[i].constData() : ""; };
            const Criterion c{group.field, group.type, range ? "" : value, bound(0), bound(1), group.caseSensitive};
            const QStringList plain = numbers({c});
            for (const QString &index : QStringList({"", "NameIdx", "PlzIdx", "UmsatzIdx", "SeitIdx"}))
                for (const TqkFilterOptimization optimization : {fdUseActiveIndex, fdUseAllIndexes}) {
                    IndexedCustomers customers(folder(), index, optimization);
                    applyOnly(customers.dialog, {c});
                    EXPECT_EQ(keysOf(customers.table, "Nr"), plain) << shown << " " << index.toStdString();
                }
        }
}

namespace {

// A library data set over Kunden with the place's name looked up from Orte,
// filtered by the dialog on that name.
template <typename DataSet>
QStringList filteredByPlaceName(DataSet &dataSet, const QString &folder, const QString &place)
{
    dataSet.SetDatabaseName(folder);
    dataSet.AddField(CreateField(&dataSet, "OrtName", ftString, 40, fkCalculated));
    dataSet.SetLookupFields({"OrtName;" + folder + ";Orte.db;Ort;PlzIdx"});
    dataSet.SetLookupLinks({"Plz;Plz"});
    dataSet.Open();
    TDataSource source;
    source.SetDataSet(&dataSet);
    TqkFilterDialog dialog;
    dialog.SetDataSource(&source);
    applyOnly(dialog, {{"OrtName", fdMatchExact, place.toUtf8().constData()}});
    EXPECT_TRUE(dataSet.OnFilter()) << "the data set's own record filter";
    EXPECT_FALSE(dataSet.Filtered()) << "not the framework's";
    const QStringList keys = keysOf(dataSet, "Nr");
    dialog.SetDataSource(nullptr);
    EXPECT_FALSE(dataSet.OnFilter());
    return keys;
}

}

TEST_F(RecordTestCases, QueryAndQbeFilterThroughTheirOwnEventAndLookups)
{
    createPlaces();
    TqkQuery query;
    query.SetSQL({"SELECT * FROM Kunden"});
    EXPECT_EQ(filteredByPlaceName(query, folder(), "Bonn"), QStringList({"2"}));
    TqkQBE qbe;
    qbe.SetQBE({"Query", "Kunden.db | Nr | Plz |", " | Check | Check |", "EndQuery"});
    EXPECT_EQ(filteredByPlaceName(qbe, folder(), "Köln"), QStringList({"1"}));
}

TEST_F(RecordTestCases, RewrittenSqlRunsForEveryKindOfCriterion)
{
    createPlaces();
    const struct
    {
        std::initializer_list<Criterion> criteria;
        QStringList keys;
        const char *sql = "SELECT * FROM Kunden";
    } cases[] = {
        {{{"Aktiv", fdMatchExact, "True"}}, {"1", "3", "5"}},
        {{{"Aktiv", fdMatchExact, "false"}, {"Plz", fdMatchStart, "5"}}, {"2"}},
        {{{"Name", fdMatchExact, ""}, {"Plz", fdMatchStart, "5"}}, {"1", "2", "3"}},
        {{{"Plz", fdMatchStart, "5"}, {"Name", fdMatchAny, " "}}, {"1", "2", "3"}},
        {{{"Notiz", fdMatchRange, "", "a", "z"}, {"Name", fdMatchStart, "m"}}, {"1", "2", "4", "5"}},
        {{{"Name", fdMatchStart, "m"}, {"Notiz", fdMatchRange, "", "a", "z"}, {"Plz", fdMatchStart, "5"}}, {"1", "2"}},
        {{{"Ort", fdMatchExact, "bonn"}}, {"2"}, "SELECT Kunden.Nr FROM Kunden JOIN Orte ON Kunden.Plz = Orte.Plz"},
        {{{"Name", fdMatchStart, "m"}, {"Ort", fdMatchAny, "Ö"}},
         {"1"},
         "SELECT * FROM Kunden k LEFT OUTER JOIN Orte AS o USING (Plz)"},
        {{{"Plz_1", fdMatchStart, "5"}, {"Ort_1", fdMatchExact, "köln"}},
         {"1"},
         "SELECT k.Nr FROM Kunden AS k INNER JOIN Orte o ON (k.Plz = o.Plz AND o.Land = 'D') JOIN Orte o2 ON "
         "o2.Plz = o.Plz WHERE k.Umsatz > 10"},
    };
    for (const auto &c : cases) {
        RewrittenQuery rewritten(folder(), c.sql);
        rewritten.query.Open();
        EXPECT_NO_THROW(applyOnly(rewritten.dialog, c.criteria)) << rewritten.query.SQL().join(' ').toStdString();
        EXPECT_EQ(keysOf(rewritten.query, "Nr"), c.keys) << rewritten.query.SQL().join(' ').toStdString();
    }
    EXPECT_TRUE(user.messages().isEmpty()) << user.messageTexts().join('|').toStdString();
}

TEST_F(RecordTestCases, QuoteAlwaysQuotesTheColumnNotTheTable)
{
    RewrittenQuery rewritten(folder(), "SELECT * FROM Kunden");
    rewritten.dialog.SetQuoteAlways(true);
    applyOnly(rewritten.dialog, {{"Nr", fdMatchExact, "3"}});
    EXPECT_EQ(rewritten.query.SQL(), QStringList({"SELECT * FROM Kunden", "Where", "(Kunden.\"Nr\"=3)"}));
    EXPECT_EQ(keysOf(rewritten.query, "Nr"), QStringList({"3"}));
}

// ---- the demo's tables against hand-written SQLite queries

namespace {

class DemoCriteria : public DemoTablesTest
{
protected:
    // The keys SQLite itself gives for a condition on one table file.
    static QStringList sqliteKeys(const QString &file, const QString &key, const QString &where)
    {
        sqlite3 *handle = nullptr;
        sqlite3_open_v2(QDir(folder()).filePath(file).toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
        const QString table = file.chopped(3);
        const QByteArray sql = QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3").arg(key, table, where).toUtf8();
        sqlite3_stmt *statement = nullptr;
        QStringList keys;
        if (sqlite3_prepare_v2(handle, sql.constData(), -1, &statement, nullptr) == SQLITE_OK)
            while (sqlite3_step(statement) == SQLITE_ROW)
                keys << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        sqlite3_close(handle);
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    QStringList filteredKeys(TDataSet &dataSet, const QString &key, std::initializer_list<Criterion> criteria,
                             TqkFilterMethod method, TqkQueryFormatDateMode dateMode = qfdMonthDayYear)
    {
        TDataSource source;
        source.SetDataSet(&dataSet);
        TqkFilterDialog dialog;
        dialog.SetDataSource(&source);
        dialog.SetFilterMethod(method);
        dialog.SetQueryFormatDateModeOrdinal(dateMode);
        applyOnly(dialog, criteria);
        const QStringList keys = keysOf(dataSet, key);
        dialog.SetDataSource(nullptr);
        return keys;
    }

    ui::ScopedRecordingUiServices user;
};

struct DemoCase
{
    const char *file;
    const char *key;
    std::initializer_list<Criterion> criteria;
    const char *where;
};

const DemoCase demoCases[] = {
    {"Kunden.db", "nr", {{"Ort", fdMatchStart, "münchen or berlin"}}, "Ort IN ('München', 'Berlin')"},
    {"Kunden.db", "nr", {{"Name", fdMatchAny, "straße"}}, "Name LIKE '%Straßen%'"},
    {"Kunden.db", "nr", {{"Land", fdMatchExact, "D", "", "", true, true}}, "Land <> 'D'"},
    {"Kunden.db", "nr", {{"plz", fdMatchRange, "", "1", "3"}}, "plz >= '1' AND plz < '4'"},
    {"Kunden.db", "nr", {{"EMail", fdMatchStart, "null"}}, "EMail IS NULL OR EMail = ''"},
    {"atrpos.db", "auftragnr || '/' || posnr", {{"menge", fdMatchRange, "", "2", "10"}}, "menge BETWEEN 2 AND 10"},
    {"atrpos.db",
     "auftragnr || '/' || posnr",
     {{"Einheit", fdMatchExact, "Stück"}, {"epreis", fdMatchRange, "", "", "20"}},
     "Einheit = 'Stück' AND epreis <= 20"},
    // Values that try to break out of their quotes select nothing.
    {"Kunden.db", "nr", {{"Name", fdMatchStart, "x' OR '1'='1"}}, "0"},
    {"Kunden.db", "nr", {{"Name", fdMatchAny, "%"}}, "Name LIKE '%\\%%' ESCAPE '\\'"},
    {"Kunden.db", "nr", {{"nr", fdMatchExact, "1 OR 1=1"}}, "0"},
};

}

TEST_F(DemoCriteria, LocalFilterAndSqlRewritingGiveTheRecordsSqliteGives)
{
    for (const DemoCase &c : demoCases) {
        const QString file = QString::fromUtf8(c.file);
        const QString key = QString::fromUtf8(c.key);
        const QStringList expected = sqliteKeys(file, key, QString::fromUtf8(c.where));
        EXPECT_EQ(expected.isEmpty(), QByteArray(c.where) == "0" || QByteArray(c.where).contains("ESCAPE")) << c.where;
        const QString keyField = key.contains('|') ? QStringLiteral("Schluessel") : key;

        TTable table;
        table.SetDatabaseName(folder());
        table.SetTableName(file);
        table.Open();
        if (keyField != key) {
            QStringList keys;
            TDataSource source;
            source.SetDataSet(&table);
            TqkFilterDialog dialog;
            dialog.SetDataSource(&source);
            applyOnly(dialog, c.criteria);
            for (table.First(); !table.Eof(); table.Next())
                keys << table.FieldByName("auftragnr")->AsString() + "/" + table.FieldByName("posnr")->AsString();
            std::sort(keys.begin(), keys.end());
            EXPECT_EQ(keys, expected) << c.where;
        } else {
            EXPECT_EQ(filteredKeys(table, key, c.criteria, fdByFilter), expected) << "filter: " << c.where;
        }

        TqkQuery query;
        query.SetDatabaseName(folder());
        query.SetSQL(
            {QStringLiteral("SELECT %1 AS %2, * FROM \"%3\"").arg(key, keyField, file), QStringLiteral("ORDER BY 1")});
        query.Open();
        EXPECT_EQ(filteredKeys(query, keyField, c.criteria, fdByQueryModify), expected) << "sql: " << c.where;
    }
    EXPECT_TRUE(user.messages().isEmpty()) << user.messageTexts().join('|').toStdString();
}

TEST_F(DemoCriteria, RewrittenSqlKeepsTheQuerysOwnConditionWhole)
{
    EXPECT_EQ(TqkFilterDialog::insertConditions({"SELECT * FROM Kunden"}, {"(a)"}),
              QStringList({"SELECT * FROM Kunden", "Where", "(a)"}));
    EXPECT_EQ(
        TqkFilterDialog::insertConditions(
            {"SELECT * FROM Kunden WHERE Ort = 'x ORDER BY' OR Land = 'A'", "ORDER BY Name"}, {"(a)"}),
        QStringList({"SELECT * FROM Kunden WHERE ( Ort = 'x ORDER BY' OR Land = 'A')", "And", "(a)", "ORDER BY Name"}));
    EXPECT_EQ(TqkFilterDialog::insertConditions({"SELECT * FROM Kunden", "ORDER BY Name"}, {"(a)"}),
              QStringList({"SELECT * FROM Kunden", "Where", "(a)", "ORDER BY Name"}));
    EXPECT_EQ(TqkFilterDialog::insertConditions({"SELECT nr FROM Kunden", "UNION", "SELECT nr FROM Liefer"}, {"(a)"}),
              QStringList({"SELECT nr FROM Kunden", "Where", "(a)", "UNION", "SELECT nr FROM Liefer"}));

    TqkQuery query;
    query.SetDatabaseName(folder());
    query.SetSQL({"SELECT * FROM Kunden WHERE Ort = 'München' OR Ort = 'Wien'", "ORDER BY nr"});
    query.Open();
    TDataSource source;
    source.SetDataSet(&query);
    TqkFilterDialog dialog;
    dialog.SetDataSource(&source);
    dialog.SetFilterMethod(fdByQueryModify);
    QStringList executed;
    dialog.OnExecuteSQL = [&](QWidget *, TQuery *running) { executed = running->SQL(); };
    for (int run = 0; run < 2; ++run) {
        applyOnly(dialog, {{"Land", fdMatchExact, "D"}});
        EXPECT_EQ(keysOf(query, "nr"), QStringList({"10001", "10008"}));
    }
    EXPECT_EQ(query.SQL().join(' ').count("And"), 1);
    EXPECT_EQ(executed, query.SQL());
    dialog.ClearFilter();
    EXPECT_EQ(query.SQL().join(' '), "SELECT * FROM Kunden WHERE Ort = 'München' OR Ort = 'Wien' ORDER BY nr");
    dialog.FieldInfo().push_back(fieldInfo({"Farbe", fdMatchExact, "rot"}));
    dialog.ApplyFilter();
    EXPECT_EQ(user.messageTexts().last(), "TqkFilterDialog: Field not found (Farbe)");
    EXPECT_FALSE(query.Active());
}

TEST_F(DemoCriteria, QbeTextGivesTheRecordsSqliteGives)
{
    struct Case
    {
        QStringList qbe;
        const char *where;
    };
    const Case cases[] = {
        {{"Query", "", "Kunden.db | nr    | Ort          |", "          | Check | München, not blank |", "",
          "EndQuery"},
         "Ort = 'München'"},
        {{"Query", "Kunden.db | nr | Name | Land |", " | Check | ..straße.. | |", " | Check | | A |", "EndQuery"},
         "Name LIKE '%straße%' OR Land = 'A'"},
        {{"Query", "Kunden.db | nr | plz |", " | CheckPlus | >= 10000, < 30000 |", "EndQuery"},
         "plz >= '10000' AND plz < '30000'"},
        {{"Query", "Kunden.db | nr | Name |", " | Check | ~wer |", "EndQuery"}, "Name = 'x'' OR ''1''=''1'"},
    };
    for (const Case &c : cases) {
        TqkQBE qbe;
        qbe.SetDatabaseName(folder());
        qbe.Params()->CreateParam(ftString, "Wer")->SetValue("x' OR '1'='1");
        qbe.SetQBE(c.qbe);
        qbe.Open();
        const QStringList expected = sqliteKeys("Kunden.db", "nr", QString::fromUtf8(c.where));
        EXPECT_EQ(expected.isEmpty(), QByteArray(c.where).contains("OR ''1''")) << c.where;
        EXPECT_EQ(keysOf(qbe, "nr"), expected) << c.where;
    }
    TqkQBE qbe;
    EXPECT_FALSE(qbe.inherits("TQuery"));
    EXPECT_TRUE(qbe.inherits("TDBDataSet"));
}

TEST_F(DemoCriteria, LibraryTableOpensTheAnswerOfItsQueryText)
{
    const QStringList sql = {"select nr, Name from Kunden", "where Land = 'D' and Ort <> 'Berlin'"};
    const QStringList qbe = {"query", "Kunden.db | nr | Land | Ort |", " | Check | D | not Berlin |", "EndQuery"};
    for (const QStringList &text : {sql, qbe}) {
        TqkTable table;
        table.SetDatabaseName(folder());
        table.SetTableName("Kunden.db");
        table.SetQuery(text);
        EXPECT_TRUE(table.TableName().isEmpty());
        table.FieldDefs()->Update();
        const int closedFields = table.FieldDefs()->Count();
        EXPECT_FALSE(table.Active());
        table.Open();
        EXPECT_EQ(closedFields, table.FieldCount());
        EXPECT_EQ(keysOf(table, "nr"), sqliteKeys("Kunden.db", "nr", "Land = 'D' AND Ort <> 'Berlin'"))
            << text.join(' ').toStdString();
        table.SetqkFilter({"nr > \"10004\""});
        EXPECT_EQ(keysOf(table, "nr"),
                  sqliteKeys("Kunden.db", "nr", "Land = 'D' AND Ort <> 'Berlin' AND nr > '10004'"));
        table.Close();
        EXPECT_TRUE(table.TableName().isEmpty());
        EXPECT_EQ(table.Query(), text);
    }
}

TEST_F(DemoCriteria, EveryDateModeSelectsTheDaysAskedFor)
{
    const struct
    {
        std::initializer_list<Criterion> criteria;
        const char *where;
    } cases[] = {
        {{{"Datum", fdMatchExact, "14.10.2026"}}, "Datum = '2026-10-14'"},
        {{{"Datum", fdMatchExact, "05.10.2026 or 19.10.2026"}}, "Datum IN ('2026-10-05', '2026-10-19')"},
        {{{"Datum", fdMatchRange, "", "13.10.2026", "22.10.2026"}}, "Datum BETWEEN '2026-10-13' AND '2026-10-22'"},
    };
    for (const TqkQueryFormatDateMode mode : {qfdMonthDayYear, qfdDayMonthYear, qfdYearMonthDay})
        for (const auto &c : cases) {
            TqkQuery query;
            query.SetDatabaseName(folder());
            query.SetSQL({"SELECT * FROM Auftrag"});
            EXPECT_EQ(filteredKeys(query, "auftragnr", c.criteria, fdByQueryModify, mode),
                      sqliteKeys("Auftrag.db", "auftragnr", QString::fromUtf8(c.where)))
                << "mode " << mode << ": " << c.where;
        }
    // The query's own dates keep their order while the dialog's are read in
    // the dialog's.
    const QStringList fromThe12th =
        sqliteKeys("Auftrag.db", "auftragnr", "Datum >= '2026-10-12' AND Datum BETWEEN '2026-10-01' AND '2026-10-22'");
    EXPECT_NE(fromThe12th, sqliteKeys("Auftrag.db", "auftragnr", "Datum BETWEEN '2026-10-01' AND '2026-10-22'"));
    for (const auto &[own, ownWhere, mode] :
         {std::tuple{db::SlashDateOrder::MonthDayYear, "Datum >= '10/12/2026'", qfdDayMonthYear},
          std::tuple{db::SlashDateOrder::DayMonthYear, "Datum >= '12/10/2026'", qfdMonthDayYear}}) {
        TqkQuery query;
        query.SetDatabaseName(folder());
        query.SetSQL({QStringLiteral("SELECT * FROM Auftrag WHERE ") + ownWhere});
        query.SetSlashDates(own);
        EXPECT_EQ(filteredKeys(query, "auftragnr", {{"Datum", fdMatchRange, "", "01.10.2026", "22.10.2026"}},
                               fdByQueryModify, mode),
                  fromThe12th)
            << ownWhere;
    }
    // Once the dialog lets go, the query reads its own dates as before.
    TqkQuery query;
    query.SetDatabaseName(folder());
    query.SetSQL({"SELECT * FROM Auftrag WHERE Datum = '10/14/2026'"});
    TDataSource source;
    source.SetDataSet(&query);
    TqkFilterDialog dialog;
    dialog.SetDataSource(&source);
    dialog.SetFilterMethod(fdByQueryModify);
    dialog.SetQueryFormatDateModeOrdinal(qfdDayMonthYear);
    applyOnly(dialog, {{"Datum", fdMatchExact, "14.10.2026"}});
    dialog.ClearFilter();
    query.Open();
    EXPECT_EQ(keysOf(query, "auftragnr"), sqliteKeys("Auftrag.db", "auftragnr", "Datum = '2026-10-14'"));
}
