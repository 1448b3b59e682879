#include "HelpRoutingFixture.h"
#include "TestFiles.h"

#include "platform/help/HH_Funcs.h"
#include "platform/help/SystemProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

using ui::MsgIcon;

namespace {

using HelpProgramTest = HelpRoutingFixture;

// A help program that writes its arguments, one a line, next to itself.
void writeProgram(const QString &path, QFile::Permissions permissions)
{
    ASSERT_TRUE(writeTestFile(path, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args.tmp\"\n"
                                    "mv \"$0.args.tmp\" \"$0.args\"\n"));
    QFile::setPermissions(path, permissions);
}

QStringList argumentsWritten(const QString &program)
{
    QElapsedTimer waited;
    waited.start();
    QFile file(program + ".args");
    while (!file.exists() && waited.elapsed() < 5000)
        QThread::msleep(20);
    if (!file.open(QIODevice::ReadOnly))
        return {"<nicht gestartet>"};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(HelpProgramTest, MissingProgramsGiveTheirCodesAndMessages)
{
    start();
    THookHelpSystem keyHH(m_helpFile, "", HH_MODE_KEYHH);
    EXPECT_EQ(keyHH.HelpContext(2000), HH_KEYHH_NOT_FOUND);
    THookHelpSystem hh(m_helpFile, "", HH_MODE_HH);
    EXPECT_EQ(hh.HelpContext(2000), HH_HH_NOT_FOUND);
    EXPECT_EQ(m_ui.messageTexts(),
              QStringList({"Die Systemdatei \"KeyHH.exe\" konnte nicht im Windows-Verzeichnis gefunden werden.",
                           "Die Systemdatei \"HH.exe\" konnte nicht im Windows-Verzeichnis gefunden werden."}));
    EXPECT_EQ(m_ui.messages()[0].icon, MsgIcon::Warning);
}

TEST_F(HelpProgramTest, ProgramGetsEachArgumentWhole)
{
    start();
    const QString program = folder("windows/hh.exe");
    writeProgram(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString file = folder("Hilfe mit Leerzeichen; echo x.chm");
    ASSERT_TRUE(QFile::copy(m_helpFile, file));
    EXPECT_EQ(HHHelpContext(file, 2001, "Haupt", HH_MODE_HH), HH_DONE);
    EXPECT_EQ(argumentsWritten(program), QStringList({"-mapid", "2001", "mk:@MSITStore:" + file + ">Haupt"}));
    EXPECT_TRUE(m_ui.messages().isEmpty());
}

TEST_F(HelpProgramTest, RefusedStartIsReportedYetDone)
{
    start({"/debug"});
    const QString program = folder("windows/KeyHH.EXE");
    writeProgram(program, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(HHHelpContext(m_helpFile, 2000, "", HH_MODE_KEYHH), HH_DONE);
    const QString message = "Function ShellExecute(" + program + ", -win -#mapid 2000 " + m_helpFile
                            + ")\r\nReturned: [Error: 5] Zugriff verweigert";
    EXPECT_EQ(m_ui.messageTexts(), QStringList{message});
    const QStringList lines = traceLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.mid(lines.size() - 3, 2),
              QStringList({"14:05:09   Function ShellExecute(" + program + ", -win -#mapid 2000 " + m_helpFile + ")",
                           "Returned: [Error: 5] Zugriff verweigert"}));
    EXPECT_EQ(lines.last(), "14:05:09     returned - 0");
}

TEST(SystemProgramTest, CausesOfFailedStartsAndTheirTexts)
{
    const help::ProgramStart missing = help::StartSystemProgram("/gibt/es/nicht", {});
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.errorCode, 2);
    EXPECT_EQ(help::SystemErrorText(2), "Datei konnte nicht gefunden werden.");
    EXPECT_EQ(help::SystemErrorText(1358), "Registry ist beschädigt");
    EXPECT_EQ(help::SystemErrorText(31), "Allgemeine Schutzverletzung");
}
