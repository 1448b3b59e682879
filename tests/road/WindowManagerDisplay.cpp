#include "WindowManagerDisplay.h"

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

WindowManagerDisplay::WindowManagerDisplay(QSize screen)
{
    if (!startServer(screen))
        m_failure = QStringLiteral("Xvfb did not start");
    else if (!startManager())
        m_failure = QStringLiteral("openbox did not start");
}

WindowManagerDisplay::~WindowManagerDisplay()
{
    for (QProcess *process : {&m_visit, &m_otherProgram, &m_manager, &m_server}) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(5000);
    }
}

// The server picks a free display itself and writes its number once it
// takes connections, so tests running side by side never share one.
bool WindowManagerDisplay::startServer(QSize screen)
{
    const QString size = QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height());
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", size});
    const QDeadlineTimer deadline(10000);
    while (!m_server.canReadLine()) {
        if (m_server.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_server.waitForReadyRead(100);
    }
    m_name = QLatin1Char(':') + QString::fromLatin1(m_server.readLine()).trimmed();
    return true;
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

void WindowManagerDisplay::visitAnotherProgram(unsigned long window, int milliseconds)
{
    const QString title = QStringLiteral("Auftragsbearbeitung");
    if (m_otherProgram.state() == QProcess::NotRunning) {
        m_otherProgram.setProcessEnvironment(m_manager.processEnvironment());
        m_otherProgram.start(QStringLiteral("xmessage"), {"-title", title, "-geometry", "+900+700", "Drucken"});
    }
    m_visit.setProcessEnvironment(m_manager.processEnvironment());
    m_visit.start(QStringLiteral("timeout"),
                  {"20", "xdotool", "search", "--sync", "--name", "^" + title + "$", "windowactivate", "--sync",
                   "sleep", QString::number(milliseconds / 1000.0), "windowactivate", QString::number(window)});
}
