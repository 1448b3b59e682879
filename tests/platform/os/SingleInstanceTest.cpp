#include "platform/os/SingleInstance.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SingleInstanceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        previous = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", previous); }

    QTemporaryDir dir;
    QByteArray previous;
};

} // namespace

TEST_F(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    EXPECT_EQ(os::SingleInstanceLock::lockFilePath("Kuvertalia Druck"), dir.path() + "/Kuvertalia Druck.lock");
    os::SingleInstanceLock first;
    ASSERT_TRUE(first.tryAcquire("Kuvertalia Druck"));
    {
        os::SingleInstanceLock second;
        EXPECT_FALSE(second.tryAcquire("Kuvertalia Druck"));
        EXPECT_TRUE(second.tryAcquire("Anderer Name"));
    }
    first.release();
    os::SingleInstanceLock third;
    EXPECT_TRUE(third.tryAcquire("Kuvertalia Druck"));
}

TEST_F(SingleInstanceTest, LockOfAKilledProcessIsFreeAgain)
{
    const QString lockFile = os::SingleInstanceLock::lockFilePath("Kuvertalia Druck");
    QProcess holder;
    holder.start("flock", {"--exclusive", "--close", lockFile, "sh", "-c", "echo locked; sleep 30"});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    os::SingleInstanceLock lock;
    EXPECT_FALSE(lock.tryAcquire("Kuvertalia Druck"));
    holder.kill();
    holder.waitForFinished(5000);
    EXPECT_TRUE(lock.tryAcquire("Kuvertalia Druck"));
}
