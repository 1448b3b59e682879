#include "platform/db/DbValues.h"
#include "platform/db/SqliteConnection.h"
#include "platform/runtime/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ValuesTest, CallersValuesBecomeTheStorageFormOrAConversionError)
{
    EXPECT_EQ(db::toStorage(ftInteger, QStringLiteral(" 42 ")), QVariant(qint64(42)));
    EXPECT_FALSE(db::toStorage(ftInteger, QString()).isValid());
    EXPECT_THROW(db::toStorage(ftInteger, QStringLiteral("4,2")), EConvertError);
    EXPECT_THROW(db::toStorage(ftInteger, 4.5), EConvertError);
    EXPECT_EQ(db::toStorage(ftBoolean, QStringLiteral("Ja")), QVariant(qint64(1)));
    EXPECT_EQ(db::toStorage(ftBoolean, QStringLiteral("false")), QVariant(qint64(0)));
    EXPECT_THROW(db::toStorage(ftBoolean, QStringLiteral("vielleicht")), EConvertError);
    EXPECT_EQ(db::toStorage(ftFloat, QStringLiteral("1,25")), QVariant(1.25));
    EXPECT_EQ(db::toStorage(ftDate, QStringLiteral("3.4.1899")), QVariant(QStringLiteral("1899-04-03")));
    EXPECT_EQ(db::toStorage(ftDate, QDate(2000, 1, 2)), QVariant(QStringLiteral("2000-01-02")));
    EXPECT_EQ(db::toStorage(ftTime, QStringLiteral("7:05")), QVariant(QStringLiteral("07:05:00")));
    EXPECT_EQ(db::toStorage(ftDateTime, QStringLiteral("24.12.2023 18:30:00")),
              QVariant(QStringLiteral("2023-12-24T18:30:00")));
    EXPECT_THROW(db::toStorage(ftDate, QStringLiteral("30.02.2023")), EConvertError);
    EXPECT_EQ(db::toStorage(ftDateTime, QStringLiteral("01.01.2000")), QVariant(QStringLiteral("2000-01-01T00:00:00")));
    EXPECT_EQ(db::toStorage(ftString, QString()), QVariant(QString()));
    EXPECT_TRUE(db::isBlank(db::toStorage(ftString, QString())));
}

TEST(ValuesTest, StoredDatesReadBackAsDateTimeValues)
{
    TDateTime value = 0;
    ASSERT_TRUE(db::dateTimeFromStorage(ftDateTime, QStringLiteral("1899-12-29T06:00:00"), value));
    EXPECT_DOUBLE_EQ(value, -1.25);
    EXPECT_EQ(db::storageFromDateTime(ftDateTime, -1.25), QVariant(QStringLiteral("1899-12-29T06:00:00")));
    EXPECT_EQ(db::storageFromDateTime(ftTime, EncodeTime(1, 2, 3, 4)), QVariant(QStringLiteral("01:02:03.004")));
    EXPECT_FALSE(db::dateTimeFromStorage(ftDate, QStringLiteral("kein Datum"), value));
    EXPECT_EQ(db::fromStorage(ftDate, QStringLiteral("2024-02-29")), QVariant(QDate(2024, 2, 29)));
}

TEST(ValuesTest, NestedTransactionsUndoOnlyTheirOwnPart)
{
    QTemporaryDir dir;
    auto connection = db::Connection::create(dir.filePath(QStringLiteral("t.db")));
    connection->exec(QStringLiteral("CREATE TABLE t (x INTEGER)"));
    {
        db::TransactionGuard outer(*connection);
        connection->exec(QStringLiteral("INSERT INTO t VALUES (1)"));
        {
            db::TransactionGuard inner(*connection);
            connection->exec(QStringLiteral("INSERT INTO t VALUES (2)"));
        }
        EXPECT_TRUE(connection->inTransaction());
        outer.commit();
    }
    db::Statement count = connection->prepare(QStringLiteral("SELECT COUNT(*), MAX(x) FROM t"));
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.columnInt64(0), 1);
    EXPECT_EQ(count.columnInt64(1), 1);
}

}
