#include "WindowManagerDisplay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

bool waitForFile(const QString &path, const QProcess &owner, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!QFile::exists(path)) {
        if (owner.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

}

WindowManagerDisplay::WindowManagerDisplay()
{
    if (!startServer())
        m_failure = QStringLiteral("Xvfb did not start");
    else if (!startManager())
        m_failure = QStringLiteral("openbox did not start");
}

WindowManagerDisplay::~WindowManagerDisplay()
{
    for (QProcess *process : {&m_manager, &m_server}) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(5000);
    }
}

// Display numbers taken by other servers are passed over: such a server
// ends at once, its lock file being there.
bool WindowManagerDisplay::startServer()
{
    const int first = 100 + int(QCoreApplication::applicationPid() % 800);
    for (int number = first; number < first + 20; ++number) {
        m_name = QStringLiteral(":%1").arg(number);
        m_server.start(QStringLiteral("Xvfb"), {m_name, "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        if (waitForFile(QStringLiteral("/tmp/.X11-unix/X%1").arg(number), m_server, 10000))
            return true;
        m_server.kill();
        m_server.waitForFinished(5000);
    }
    return false;
}

// openbox runs its start-up command once it manages the screen.
bool WindowManagerDisplay::startManager()
{
    const QString ready = m_folder.filePath(QStringLiteral("ready"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    m_manager.setProcessEnvironment(environment);
    m_manager.start(QStringLiteral("openbox"), {"--sm-disable", "--startup", "touch " + ready});
    return waitForFile(ready, m_manager, 10000);
}

void WindowManagerDisplay::bringBack(unsigned long window) const
{
    QProcess xdotool;
    xdotool.setProcessEnvironment(m_manager.processEnvironment());
    xdotool.start(QStringLiteral("xdotool"), {"windowactivate", QString::number(window)});
    xdotool.waitForFinished(5000);
}
