#pragma once

#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

// An X display of the test's own with a window manager on it, as a desktop
// has: minimising, restoring and handing the focus on are the manager's.
class WindowManagerDisplay
{
public:
    explicit WindowManagerDisplay(QSize screen = {1280, 1024});
    ~WindowManagerDisplay();

    // Empty when the display and its manager run; else what went wrong.
    QString failure() const { return m_failure; }
    // ":<number>", for the program's "-display" argument.
    QString name() const { return m_name; }
    // Asks the window manager to bring the window back to the front, as a
    // click on it in the task bar does.
    void bringBack(unsigned long window) const;
    // The user clicks into another program's window, which hands the focus
    // back to `window` after `milliseconds`, as the suite's print button
    // does; the visit runs beside the caller's event loop. The way back is
    // only asked for: a window under a modal one of its program passes the
    // focus on to that.
    void visitAnotherProgram(unsigned long window, int milliseconds);
    bool visiting() const { return m_visit.state() != QProcess::NotRunning; }
    // The last visit went there and asked for the way back.
    bool visited() const { return m_visit.exitStatus() == QProcess::NormalExit && m_visit.exitCode() == 0; }

private:
    bool startServer(QSize screen);
    bool startManager();

    QTemporaryDir m_folder;
    QProcess m_server;
    QProcess m_manager;
    QProcess m_otherProgram;
    QProcess m_visit;
    QString m_name;
    QString m_failure;
};
