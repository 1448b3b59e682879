#pragma once

#include <QString>
#include <QStringList>

// Starting the system's help programs: each argument is handed over as it
// is, never joined into a command line that a shell would split again.
namespace help {

struct ProgramStart
{
    bool started;
    // Why the start failed, as a Windows error code (2 file not found,
    // 5 access denied, ...); 0 when it started.
    int errorCode;
};

// Starts the program detached, without a working folder of its own.
ProgramStart StartSystemProgram(const QString &program, const QStringList &arguments);

// The German text of a Windows error code as the help routing shows it.
QString SystemErrorText(int errorCode);

} // namespace help
