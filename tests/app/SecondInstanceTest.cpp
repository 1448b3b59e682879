#include "app/singlestarter.h"
#include "demo/install/DemoInstallation.h"
#include "platform/os/SingleInstance.h"
#include "support/RecordingUiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace {

const char *const childSwitch = "TINTLEN_SECOND_COPY";

// Environment variables that point the program at the test's own folders.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const QString &value) : m_name(name), m_saved(qgetenv(name))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnvironment() { qputenv(m_name, m_saved); }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
};

class SecondInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsSet(childSwitch))
            GTEST_SKIP() << "runs only as the first copy";
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir().mkpath(runtimeFolder()));
        QFile::setPermissions(runtimeFolder(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", runtimeFolder());
        environment.insert("TINTLEN_REGISTRY", folder.filePath("registry.ini"));
        environment.insert("TINTLEN_ALIASES", folder.filePath("aliases.ini"));
        environment.insert("TINTLEN_SETTINGS", folder.filePath("settings.ini"));
    }

    QString runtimeFolder() const { return folder.filePath("run"); }

    // Our copy of the guard in a process of its own: prints what it did.
    QString runSecondCopy()
    {
        QProcess second;
        QProcessEnvironment childEnvironment = environment;
        childEnvironment.insert(childSwitch, "1");
        second.setProcessEnvironment(childEnvironment);
        second.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SecondCopy.RunsTheGuard"});
        EXPECT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitCode(), 0);
        return QString::fromUtf8(second.readAllStandardOutput());
    }

    bool waitForLockFile() const
    {
        const QString lockFile = runtimeFolder() + "/" + SingleInstanceName + ".lock";
        for (int i = 0; i < 200; ++i) {
            if (QFile::exists(lockFile)) {
                // The lock follows the file's creation at once.
                QThread::msleep(200);
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

}

TEST_F(SecondInstanceTest, ASecondCopyIsToldAndEndsWhileTheFirstRunsOn)
{
    {
        const ScopedEnvironment registry("TINTLEN_REGISTRY", folder.filePath("registry.ini"));
        const ScopedEnvironment aliases("TINTLEN_ALIASES", folder.filePath("aliases.ini"));
        demo::buildInstallation(folder.filePath("demo"), TINTLEN_EXECUTABLE);
    }
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setWorkingDirectory(folder.filePath("demo/programm"));
    first.start(folder.filePath("demo/programm/tintlen"), {});
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(waitForLockFile());

    const QString refused = runSecondCopy();
    EXPECT_TRUE(refused.contains("GUARD REFUSED")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("Es läuft schon ein Druckprogramm.\r\nSie müssen das Programm erst beenden, bevor "
                                 "Sie einen neuen Druckauftrag starten können."))
        << refused.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(10000)) {
        first.kill();
        first.waitForFinished(10000);
    }
    const QString acquired = runSecondCopy();
    EXPECT_TRUE(acquired.contains("GUARD ACQUIRED")) << acquired.toStdString();
    EXPECT_FALSE(acquired.contains("Druckprogramm"));
}

// The second copy's side; started by the test above with the switch set.
TEST(SecondCopy, RunsTheGuard)
{
    if (!qEnvironmentVariableIsSet(childSwitch))
        GTEST_SKIP() << "runs only as the second copy";
    ui::ScopedRecordingUiServices services;
    os::SingleInstanceLock lock;
    const bool acquired = AcquireSingleInstance(lock);
    std::cout << (acquired ? "GUARD ACQUIRED" : "GUARD REFUSED") << std::endl;
    for (const ui::RecordingUiServices::MessageBoxCall &call : services.messages())
        std::cout << call.text.toStdString() << std::endl;
    EXPECT_EQ(acquired, services.messages().isEmpty());
}
