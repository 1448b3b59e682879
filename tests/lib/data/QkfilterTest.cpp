#include "LibraryTables.h"

#include "lib/data/Qktable.h"
#include "lib/data/qkfilter.h"
#include "lib/data/qkstorep.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"
#include "support/RecordingUiServices.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QtEndian>

namespace {

int word(const QByteArray &tree, int at)
{
    return qFromLittleEndian<quint16>(tree.constData() + at);
}

quint32 dword(const QByteArray &tree, int at)
{
    return qFromLittleEndian<quint32>(tree.constData() + at);
}

void openKunden(TqkTable &table, const QString &folder)
{
    table.SetDatabaseName(folder);
    table.SetTableName("Kunden");
    table.Open();
}

class FilterTrees : public LibraryTables
{
protected:
    void SetUp() override
    {
        LibraryTables::SetUp();
        customers = openCustomers();
    }
    QByteArray tree(const QString &text)
    {
        const std::unique_ptr<TNode> root = qkParseFilterText(text, customers.get());
        return root ? qkWriteFilterTree(*root) : QByteArray();
    }
    // Opens a library table on Kunden with the given filter lines and answers
    // the customer numbers it shows.
    QStringList numbersShown(const QStringList &lines)
    {
        TqkTable table;
        table.SetDatabaseName(folder());
        table.SetTableName("Kunden");
        table.SetqkFilter(lines);
        table.Open();
        QStringList numbers;
        for (table.First(); !table.Eof(); table.Next())
            numbers << table.FieldByName("Nr")->AsString();
        return numbers;
    }

    std::unique_ptr<fixture::ListTable> customers;
    ui::ScopedRecordingUiServices user;
};

}

TEST_F(FilterTrees, ComparisonWithAStringIsWrittenByteForByte)
{
    const QByteArray bytes = tree(R"(Name = "Smith")");
    QByteArray expected;
    auto put16 = [&](int v) { expected.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        put16(int(v & 0xffff));
        put16(int(v >> 16));
    };
    for (int v : {1, 63, 3, 10, 52})
        put16(v);
    put32(2), put32(3), put16(28), put16(14), put16(0); // slot 0: Name = "Smith"
    put32(5), put32(14), put16(1), put16(6), put16(5);  // slot 1: the string
    put32(4), put32(13), put16(1), put16(0), put16(0);  // slot 2: the field
    expected.append("Name\0Smith\0", 11);
    EXPECT_EQ(bytes.toHex(' ').toStdString(), expected.toHex(' ').toStdString());
}

TEST_F(FilterTrees, OperatorsAndLiteralsTakeTheirFieldsTypes)
{
    struct Case
    {
        const char *text;
        quint32 rootCode;
        int literalType;
        int literalSize;
    };
    const Case cases[] = {
        {"Nr <> 10", 4, 6, 4},
        {"Nr > 10", 5, 6, 4},
        {"Nr < 10", 6, 6, 4},
        {"Nr >= 10", 7, 6, 4},
        {"Nr <= 10", 8, 6, 4},
        {"Umsatz = 2,5", 3, 7, 8},
        {R"(Seit = "01.02.2003")", 3, 2, 4},
        {"Aktiv = True", 3, 4, 2},
    };
    for (const Case &c : cases) {
        const QByteArray bytes = tree(c.text);
        ASSERT_EQ(word(bytes, 4), 3) << c.text;
        EXPECT_EQ(dword(bytes, 10 + 4), c.rootCode) << c.text;
        EXPECT_EQ(dword(bytes, 10 + 14), 5u) << c.text;
        EXPECT_EQ(word(bytes, 10 + 14 + 8), c.literalType) << c.text;
        EXPECT_EQ(word(bytes, 10 + 14 + 10), c.literalSize) << c.text;
    }
    const QByteArray date = tree(R"(Seit = "01.02.2003")");
    // Day numbers count from 1 January of year 1 as day 1.
    EXPECT_EQ(qFromLittleEndian<qint32>(date.constData() + word(date, 8) + word(date, 10 + 14 + 12)),
              QDate(2003, 2, 1).toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1);
}

TEST_F(FilterTrees, LogicalOperatorsGroupFromTheLeftAndArithmeticTypesItsOperands)
{
    const QByteArray logical = tree(R"(Nr = 1 OR Nr = 2 and Plz = "5")");
    ASSERT_EQ(word(logical, 4), 11);
    EXPECT_EQ(dword(logical, 10 + 4), 10u);                         // AND at the root
    EXPECT_EQ(dword(logical, 10 + word(logical, 10 + 8) + 4), 11u); // OR on its left

    const QByteArray product = tree("(Nr)*(2)");
    ASSERT_EQ(word(product, 4), 3);
    EXPECT_EQ(dword(product, 10 + 4), 18u);
    EXPECT_EQ(word(product, 10 + 14 + 8), 6); // 32-bit integer constant
    EXPECT_EQ(word(product, 10 + 14 + 10), 4);
}

TEST_F(FilterTrees, BadTextsAreRefused)
{
    EXPECT_TRUE(tree("5 = Nr").isEmpty());
    EXPECT_EQ(user.messageTexts().value(0), "Field not found in Table. \r5");
    EXPECT_TRUE(tree("(Nr = 1").isEmpty());
    EXPECT_TRUE(tree("").isEmpty());
    EXPECT_THROW(tree(R"(Seit = "31.02.2003")"), EConvertError);
    // A name longer than 64 characters is kept whole, so it is not taken for another field.
    EXPECT_TRUE(tree(QString(70, 'N') + " = 1").isEmpty());
    EXPECT_TRUE(user.messageTexts().last().endsWith(QString(70, 'N')));
    QString many = "Nr = 1";
    for (int i = 0; i < 100; ++i)
        many += QStringLiteral(" OR Plz = \"%1\"").arg(i, 5, 10, QLatin1Char('0'));
    EXPECT_TRUE(tree(many).isEmpty()); // the literals do not fit the pool
}

TEST_F(FilterTrees, LibraryTableShowsOnlyRecordsOfItsFilterLines)
{
    EXPECT_EQ(numbersShown({"Umsatz > 20"}), QStringList({"1", "2", "4"}));
    EXPECT_EQ(numbersShown({"Umsatz > 20", "", "Plz >= \"53\"  "}), QStringList({"2", "4"}));
    EXPECT_EQ(numbersShown({"(Umsatz)*(2) > 150"}), QStringList({"1", "4"}));
    EXPECT_EQ(numbersShown({R"(Name = "meier")"}), QStringList({"5"}));
    EXPECT_EQ(numbersShown({R"(Seit < "01.01.2000" or Aktiv = True)"}), QStringList({"1", "2", "3", "5"}));
    addCustomer(*customers, 6, "Šimon", "5 €", 0, "01.01.2021");
    EXPECT_EQ(numbersShown({R"(Name = "Šimon" and Plz = "5 €")"}), QStringList({"6"}));
}

TEST_F(FilterTrees, FilterLinesJoinAndAFailedChangeKeepsTheFilter)
{
    TqkTable table;
    table.SetqkFilter({"A", "", "C  "});
    EXPECT_EQ(table.JoinedFilter(), "A AND (C)");
    table.SetDatabaseName(folder());
    table.SetTableName("Kunden");
    table.SetqkFilter({"Nr > 3"});
    table.Open();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_FALSE(table.IsSequenced());
    table.SetqkFilter({"Unbekannt > 3"});
    EXPECT_EQ(user.messageTexts().last(), "Fail to set filter");
    EXPECT_EQ(table.RecordCount(), 2);
    table.Refresh();
    EXPECT_EQ(table.RecordCount(), 2);
    table.SetqkFilter({});
    EXPECT_EQ(table.RecordCount(), 5);
}

// The program's procedures give no records: the library's settings are
// kept, the filter is never asked.
TEST_F(FilterTrees, StoredProcedureKeepsItsSettingsAndFiltersNothing)
{
    registerStoredProcedure("Leer", [](TParams &) {});
    TqkStoredProc proc;
    proc.SetStoredProcName("LEER");
    proc.setProperty("PictureMasks", QStringList({"Wert;###"}));
    EXPECT_EQ(proc.PictureMasks(), QStringList({"Wert;###"}));
    EXPECT_TRUE(proc.IsSequenced());
    bool asked = false;
    proc.SetOnFilter([&asked](TqkStoredProc *, bool &) { asked = true; });
    EXPECT_FALSE(proc.IsSequenced());
    EXPECT_THROW(proc.Open(), EDatabaseError);
    EXPECT_FALSE(proc.Active());
    EXPECT_FALSE(asked);
    EXPECT_TRUE(user.messages().isEmpty());
    unregisterStoredProcedure("Leer");
}

TEST_F(FilterTrees, OnFilterRejectsRecordsAndDoesNotRecurse)
{
    TqkTable table;
    openKunden(table, folder());
    int calls = 0;
    table.SetOnFilter([&](TqkTable *self, bool &accept) {
        ++calls;
        accept = self->FieldByName("Plz")->AsString().startsWith('5');
        self->Refresh();
    });
    QStringList numbers;
    for (table.First(); !table.Eof(); table.Next())
        numbers << table.FieldByName("Nr")->AsString();
    EXPECT_EQ(numbers, QStringList({"1", "2", "3"}));
    EXPECT_GT(calls, 0);
    table.SetOnFilterOptions(TqkOnFilterOptions(ofoShowHourGlass));
    EXPECT_EQ(table.RecordCount(), 5);
    table.SetOnFilter({});
    EXPECT_TRUE(table.IsSequenced());
}

// A refresh asked for from inside the record filter must not disturb the
// reading it interrupts, however many reads the filtered records span.
TEST_F(FilterTrees, RefreshInsideOnFilterKeepsTheFilteredOrderOverManyReads)
{
    {
        TqkTable writer;
        openKunden(writer, folder());
        for (int nr = 6; nr <= 30; ++nr)
            addCustomer(writer, nr, QStringLiteral("Kunde %1").arg(nr), nr % 3 == 0 ? "57000" : "80000", nr,
                        "01.01.2010");
    }
    QStringList expected{"1", "2", "3"};
    for (int nr = 6; nr <= 30; ++nr)
        if (nr % 3 == 0)
            expected << QString::number(nr);
    TqkTable table;
    openKunden(table, folder());
    table.SetOnFilter([](TqkTable *self, bool &accept) {
        accept = self->FieldByName("Plz")->AsString().startsWith('5');
        self->Refresh();
    });
    QStringList forward;
    for (table.First(); !table.Eof(); table.Next())
        forward << table.FieldByName("Nr")->AsString();
    EXPECT_EQ(forward, expected);
    QStringList backward;
    for (table.Last(); !table.Bof(); table.Prior())
        backward.prepend(table.FieldByName("Nr")->AsString());
    EXPECT_EQ(backward, expected);
    EXPECT_EQ(table.RecordCount(), expected.size());
}

TEST_F(FilterTrees, KeySearchesForTheFilterDialog)
{
    TqkTable table;
    table.setObjectName("tblKunden");
    openKunden(table, folder());
    EXPECT_EQ(table.IndexNameForField("Name", false), "NameIdx");
    EXPECT_EQ(table.IndexNameForField("Name", true), "?");
    EXPECT_EQ(table.IndexNameForField("Plz", true), "PlzIdx");
    EXPECT_EQ(table.FirstIndexField(), "Nr");
    EXPECT_FALSE(table.FindKeyForIndex({"1", "2"}));
    EXPECT_EQ(user.messageTexts().last(), "Table tblKunden: FindKey has too many lookup values for index ");
    EXPECT_TRUE(table.FindKeyForIndex({"4"}));
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "Meierhof");
    table.SetIndexName("NameIdx");
    for (const bool narrow : {false, true}) {
        table.SetNarrowSearch(narrow);
        table.SetRange({"M"}, {"Mz"});
        EXPECT_FALSE(table.FindKeyForIndex({"Zander", "x"}));
        EXPECT_EQ(table.RecordCount(), 4) << "too many values leave the range";
        EXPECT_EQ(table.FindKeyForIndex({"Zander"}), narrow);
        EXPECT_EQ(table.RecordCount(), narrow ? 5 : 4);
    }
    table.SetNarrowSearch(false);
    table.SetSyncSQLByRange(true);
    EXPECT_TRUE(table.FindKeyForIndex({"MEIER"}));
    EXPECT_EQ(table.RecordCount(), 2); // narrowed to the key, both cases
    EXPECT_FALSE(table.FindKeyForIndex({""}));
    EXPECT_EQ(table.RecordCount(), 5);
    table.ReopenKeepingLayout();
    EXPECT_EQ(table.RecordCount(), 5);
    table.FieldByName("Name")->SetDisplayLabel("Kundenname");
    table.FieldByName("Plz")->SetVisible(false);
    table.FindKeyForIndex({"MEIER"});
    table.ReopenKeepingLayout();
    EXPECT_EQ(table.RecordCount(), 5);
    EXPECT_EQ(table.FieldByName("Name")->DisplayLabel(), "Kundenname");
    EXPECT_FALSE(table.FieldByName("Plz")->Visible());
    table.SetQuery({"select * from Kunden"});
    EXPECT_TRUE(table.TableName().isEmpty());
    table.SetTableName("Kunden");
    EXPECT_TRUE(table.Query().isEmpty());
}

TEST_F(FilterTrees, HourGlassShowsWhileRecordsAreRejected)
{
    TqkTable table;
    openKunden(table, folder());
    table.SetOnFilter([](TqkTable *, bool &accept) { accept = true; });
    table.Last();
    EXPECT_EQ(user.maxBusyDepth(), 0);
    table.SetOnFilter([](TqkTable *, bool &accept) { accept = false; });
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(user.maxBusyDepth(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(user.busyDepth(), 0);
}

TEST_F(FilterTrees, EscapeEndsTheRecordFilterOnce)
{
    {
        auto many = openCustomers();
        for (int nr = 6; nr < 260; ++nr)
            addCustomer(*many, nr, QStringLiteral("Kunde %1").arg(nr), "10000", 1, "01.01.2001");
    }
    TqkTable table;
    openKunden(table, folder());
    table.SetOnFilterOptions(qkDefaultFilterOptions | ofoCancelOnEscape);
    int escapes = 0;
    table.SetOnFilterEscape([&](TDataSet *) { ++escapes; });
    QObject target;
    QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    table.SetOnFilter([](TqkTable *self, bool &accept) { accept = self->FieldByName("Nr")->AsInteger() < 3; });
    table.Last();
    EXPECT_EQ(escapes, 1);
    EXPECT_FALSE(table.OnFilterOptions() & ofoEnabled);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.RecordCount(), 259);
    EXPECT_EQ(escapes, 1);
}
