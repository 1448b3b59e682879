#include "DbFixture.h"

#include "platform/db/FilterExpression.h"
#include "platform/db/GermanCollation.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>

#include <sqlite3.h>

namespace {

// Every test starts from the filled customers table.
class HostileInputTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
    QStringList filtered(const QString &filter)
    {
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        kunden->SetFilter(filter);
        kunden->SetFiltered(true);
        return names(*kunden, QStringLiteral("Nr"));
    }
};

QString repeated(const QString &piece, int count)
{
    return piece.repeated(count);
}

// A second program's connection to a table file, writing behind the layer's back.
class ForeignWriter
{
public:
    explicit ForeignWriter(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_handle, SQLITE_OPEN_READWRITE, nullptr);
        db::registerGermanCollations(m_handle);
    }
    ~ForeignWriter() { sqlite3_close_v2(m_handle); }
    ForeignWriter(const ForeignWriter &) = delete;
    ForeignWriter &operator=(const ForeignWriter &) = delete;

    void exec(const char *sql) { ASSERT_EQ(sqlite3_exec(m_handle, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }

private:
    sqlite3 *m_handle = nullptr;
};

TEST_F(HostileInputTest, DeepNestingIsRefusedWithAMessageInsteadOfOverflowingTheStack)
{
    const QString comparison = QStringLiteral("Nr = 1");
    const QStringList tooDeep{repeated(QStringLiteral("("), 20000) + comparison + repeated(QStringLiteral(")"), 20000),
                              repeated(QStringLiteral("NOT "), 20000) + comparison,
                              repeated(QStringLiteral("("), 20000)};
    for (const QString &text : tooDeep) {
        try {
            db::FilterExpression::parse(text, 0);
            ADD_FAILURE() << text.left(20).toStdString();
        } catch (const EDatabaseError &error) {
            EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Der Filterausdruck ist zu tief verschachtelt")));
        }
    }
    const int allowed = db::maxFilterDepth;
    EXPECT_NO_THROW(db::FilterExpression::parse(
        repeated(QStringLiteral("(Nr = 2 OR "), allowed) + comparison + repeated(QStringLiteral(")"), allowed), 0));
}

TEST_F(HostileInputTest, LongChainsOfOneOperatorAreFilteredRecordByRecordAndInSql)
{
    QStringList alternatives;
    for (int i = 0; i < 20000; ++i)
        alternatives.append(QStringLiteral("Nr = %1").arg(i % 3 == 0 ? 2 : 100 + i));
    EXPECT_EQ(filtered(alternatives.join(QStringLiteral(" OR "))), (QStringList{"2"}));
    EXPECT_EQ(filtered(repeated(QStringLiteral("Nr > 2 AND "), 20000) + QStringLiteral("Nr < 5")),
              (QStringList{"3", "4"}));
    EXPECT_EQ(filtered(QStringLiteral("NOT (Nr > 2 AND Nr < 5 AND Nr <> 4)")), (QStringList{"1", "2", "4", "5", "6"}));
}

TEST_F(HostileInputTest, ATreeTooDeepForTheStackIsRefusedAndFreedWithoutRecursion)
{
    auto root = std::make_unique<db::FilterNode>();
    db::FilterNode *leaf = root.get();
    for (int i = 0; i < 1000000; ++i) {
        leaf->kind = db::FilterNode::Not;
        leaf->children.push_back(std::make_unique<db::FilterNode>());
        leaf = leaf->children.back().get();
    }
    leaf->left.fieldName = QStringLiteral("Nr");
    EXPECT_THROW(db::FilterExpression(std::move(root), 0), EDatabaseError);
}

TEST_F(HostileInputTest, NumbersBeyondEveryIntegerCompareByValueWithIntegerFields)
{
    const QStringList all{"1", "2", "3", "4", "5", "6"};
    const struct
    {
        const char *filter;
        QStringList expected;
    } cases[] = {
        {"Nr > 100000000000000000000", {}},   {"Nr < 100000000000000000000", all},  {"Nr = 100000000000000000000", {}},
        {"Nr <> 100000000000000000000", all}, {"Nr > -100000000000000000000", all}, {"Nr <= -9223372036854775809", {}},
        {"100000000000000000000 > Nr", all},
    };
    for (const auto &c : cases)
        EXPECT_EQ(filtered(QLatin1String(c.filter)), c.expected) << c.filter;
}

TEST_F(HostileInputTest, ATableLeftWithAHotJournalOpensReadOnlyWithItsCommittedRows)
{
    {
        ForeignWriter writer(path(QStringLiteral("Kunden.db")));
        writer.exec("PRAGMA cache_size = 2");
        writer.exec("BEGIN");
        writer.exec("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                    "INSERT INTO Kunden (Nr, Name) SELECT i, printf('%.500c', 'x') FROM n");
        // What a writer killed now leaves behind: the file half-changed and its journal.
        ASSERT_TRUE(QFile::copy(path(QStringLiteral("Kunden.db")), path(QStringLiteral("Absturz.db"))));
        ASSERT_TRUE(QFile::copy(path(QStringLiteral("Kunden.db-journal")), path(QStringLiteral("Absturz.db-journal"))));
        writer.exec("ROLLBACK");
    }
    auto crashed = table(QStringLiteral("Absturz.db"));
    crashed->SetReadOnly(true);
    crashed->Open();
    EXPECT_EQ(names(*crashed, QStringLiteral("Nr")), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Absturz.db-journal"))));
}

TEST_F(HostileInputTest, CreatingATableThatAnotherConnectionWritesIsRefusedAndKeepsItsRows)
{
    {
        ForeignWriter writer(path(QStringLiteral("Kunden.db")));
        writer.exec("BEGIN IMMEDIATE");
        writer.exec("INSERT INTO Kunden (Nr, Name) VALUES (99, 'Neu')");
        try {
            createCustomers();
            ADD_FAILURE() << "Tabelle trotz Schreibzugriff ersetzt";
        } catch (const EDBEngineError &error) {
            EXPECT_EQ(error.Message(), QStringLiteral("Tabelle 'Kunden.db' wird gerade benutzt und kann nicht neu "
                                                      "angelegt werden."));
        }
        writer.exec("COMMIT");
    }
    EXPECT_EQ(filtered(QStringLiteral("Nr = 99")), (QStringList{"99"}));
    createCustomers();
    EXPECT_TRUE(filtered(QStringLiteral("Nr > 0")).isEmpty());
}

} // namespace
