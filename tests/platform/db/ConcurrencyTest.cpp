#include "DbFixture.h"

#include "platform/db/DbErrors.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TQuery.h"
#include "platform/runtime/Exceptions.h"

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every test starts from the filled customers table.
class ConcurrencyTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
    // Appends customers first..first+count-1; answers how many posts failed.
    int appendCustomers(int first, int count)
    {
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        int failures = 0;
        for (int nr = first; nr < first + count; ++nr) {
            try {
                addCustomer(*kunden, nr, QStringLiteral("Kunde %1").arg(nr), QString(), QStringLiteral("Ulm"), nr,
                            QString());
            } catch (const Exception &) {
                ++failures;
                kunden->Cancel();
            }
        }
        return failures;
    }

    int exitCodeOf(pid_t child)
    {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // False when refused for its key; a table's refusal carries the engine's code.
    static bool written(const std::function<void()> &write, bool byTable = true)
    {
        try {
            write();
            return true;
        } catch (const EDBEngineError &error) {
            EXPECT_TRUE(error.Message().endsWith(QStringLiteral("Schlüsselverletzung.")));
            EXPECT_TRUE(!byTable || error.ErrorCode() == db::keyViolation) << error.ErrorCode();
            return false;
        }
    }

    void writeAsAnotherProgram(const QString &sql)
    {
        db::Connection::openExisting(path(QStringLiteral("atrpos.db")), false)->exec(sql);
    }
};

TEST_F(ConcurrencyTest, TwoProcessesWritingTheSameTableBothSucceed)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(appendCustomers(1000, 150) == 0 ? 0 : 1);
    EXPECT_EQ(appendCustomers(2000, 150), 0);
    EXPECT_EQ(exitCodeOf(child), 0);
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(kunden->RecordCount(), 306);
    kunden->SetFilter(QStringLiteral("Ort = 'Ulm'"));
    kunden->SetFiltered(true);
    EXPECT_EQ(kunden->RecordCount(), 300);
}

TEST_F(ConcurrencyTest, KilledProcessLeavesNoHalfWrittenData)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TDatabase database;
        database.SetDatabaseName(folder());
        database.StartTransaction();
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        for (int nr = 500; nr < 540; ++nr)
            addCustomer(*kunden, nr, QStringLiteral("Halb"), QString(), QString(), 0, QString());
        _exit(0);
    }
    EXPECT_EQ(exitCodeOf(child), 0);
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(kunden->RecordCount(), 6);
    addCustomer(*kunden, 500, QStringLiteral("Nach dem Abbruch"), QString(), QString(), 0, QString());
    EXPECT_EQ(kunden->RecordCount(), 7);
}

TEST_F(ConcurrencyTest, FailedWriteInsideATransactionUndoesOnlyItself)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TDatabase database;
    database.SetDatabaseName(folder());
    database.StartTransaction();
    addCustomer(*kunden, 40, QStringLiteral("Erster"), QString(), QString(), 0, QString());
    EXPECT_THROW(addCustomer(*kunden, 40, QStringLiteral("Doppelt"), QString(), QString(), 0, QString()),
                 EDBEngineError);
    kunden->Cancel();
    addCustomer(*kunden, 41, QStringLiteral("Zweiter"), QString(), QString(), 0, QString());
    database.Commit();
    auto again = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(again->RecordCount(), 8);
    EXPECT_TRUE(again->FindKey({40}));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Erster"));
}

TEST_F(ConcurrencyTest, BadValueDuringAnEditChangesNothing)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->Edit();
    EXPECT_THROW(kunden->FieldByName(QStringLiteral("Nr"))->SetAsString(QStringLiteral("zwölf")), EConvertError);
    EXPECT_THROW(kunden->FieldByName(QStringLiteral("Seit"))->SetAsString(QStringLiteral("31.02.2020")), EConvertError);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 1);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Seit"))->AsString(), QStringLiteral("01.02.2003"));
    kunden->Post();
    auto again = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Seit"))->AsString(), QStringLiteral("01.02.2003"));
}

// SQLite's unique index lets blank (NULL) key fields through; tables
// created before carry no guard until this program writes to them.
TEST_F(ConcurrencyTest, ABlankKeyStandsInOneRecordOnWhicheverRoadItComes)
{
    using Road = std::function<bool(const QString &order)>;
    // An inserted record, or the last one given the key.
    const auto byTable = [this](bool keyChange) -> Road {
        return [this, keyChange](const QString &order) {
            auto positions = openTable(QStringLiteral("atrpos.db"));
            positions->Last();
            keyChange ? positions->Edit() : positions->Insert();
            positions->FieldByName(QStringLiteral("Auftragnr"))->SetAsString(order);
            positions->FieldByName(QStringLiteral("Posnr"))->Clear();
            return written([&] { positions->Post(); });
        };
    };
    const QString insertSql = QStringLiteral("INSERT INTO atrpos (Auftragnr) VALUES (NULLIF('%1', ''))");
    const Road execSql = [&](const QString &order) {
        TQuery query;
        query.SetDatabaseName(folder());
        query.SetSQL({insertSql.arg(order)});
        return written([&] { query.ExecSQL(); }, false);
    };
    const Road otherProgram = [&](const QString &order) {
        return written([&] { writeAsAnotherProgram(insertSql.arg(order)); }, false);
    };
    createPositions(0, 0);
    EXPECT_TRUE(otherProgram(QString())) << "a new table written first by another program";
    EXPECT_FALSE(otherProgram(QString()));
    for (const Road &road : {byTable(false), byTable(true), execSql}) {
        QFile::remove(path(QStringLiteral("atrpos.db")));
        createPositions(3, 3);
        writeAsAnotherProgram(QStringLiteral("DROP TRIGGER \"$BLANKKEY_INSERT\"; DROP TRIGGER \"$BLANKKEY_UPDATE\""));
        EXPECT_TRUE(road(QString()));
        EXPECT_FALSE(road(QString()));
        EXPECT_TRUE(road(QStringLiteral("1")));
        EXPECT_FALSE(road(QStringLiteral("1")));
        EXPECT_FALSE(otherProgram(QStringLiteral("1")));
        EXPECT_TRUE(road(QStringLiteral("2")));
    }
    // A record that shared its blank key before stays editable: a live result
    // writes every field back, the unchanged key too.
    writeAsAnotherProgram(QStringLiteral("DROP TRIGGER \"$BLANKKEY_INSERT\"; INSERT INTO atrpos (Menge) VALUES (1)"));
    TQuery live;
    live.SetDatabaseName(folder());
    live.SetSQL({QStringLiteral("SELECT * FROM atrpos")});
    live.SetRequestLive(true);
    live.Open();
    live.Last();
    live.Edit();
    live.FieldByName(QStringLiteral("Menge"))->SetAsFloat(5);
    live.Post();
}
}
