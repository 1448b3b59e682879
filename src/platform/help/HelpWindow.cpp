#include "platform/help/HelpWindow.h"

#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>

#include <csignal>

namespace help {

namespace {

constexpr int kCannotOpen = 2;
// A viewer asked to close gets this long before it is ended.
constexpr int kClosingGrace = 2000;

// Signals by which someone ends a program, as against the faults by which
// a program ends itself.
bool endedFromOutside(int signal)
{
    return signal == SIGTERM || signal == SIGKILL || signal == SIGINT || signal == SIGHUP;
}

int &timeLimit()
{
    static int milliseconds = 10000;
    return milliseconds;
}

} // namespace

QString helpViewerProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/tintlen-hilfe");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral(TINTLEN_HELP_VIEWER_BUILD_PATH);
}

int helpViewerTimeLimit()
{
    return timeLimit();
}

void setHelpViewerTimeLimit(int milliseconds)
{
    timeLimit() = milliseconds;
}

HelpWindow::HelpWindow(const QString &helpFile, const QString &windowName, QWidget *owner)
    : QWidget(owner), m_helpFile(helpFile), m_windowName(windowName)
{
    setAttribute(Qt::WA_DontShowOnScreen);
    connect(&m_viewer, &QProcess::readyReadStandardOutput, this, [this] {
        if (!m_waiting)
            readReports();
    });
    connect(&m_viewer, &QProcess::finished, this, &HelpWindow::viewerEnded);
}

HelpWindow::~HelpWindow()
{
    m_viewer.disconnect(this);
    closeViewer();
}

bool HelpWindow::showContext(quint32 context)
{
    m_ready = false;
    if (isOpen()) {
        m_viewer.write("kontext " + QByteArray::number(context) + '\n');
    } else {
        m_pending.clear();
        m_viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_viewer.start(helpViewerProgram(), {m_helpFile, QString::number(context)});
    }
    return waitUntilReady();
}

// Waits for "bereit"; a viewer that ended or does not answer in time is
// reported and, in the second case, ended.
bool HelpWindow::waitUntilReady()
{
    m_waiting = true;
    const QDeadlineTimer deadline(helpViewerTimeLimit());
    while (!m_ready && m_viewer.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        if (m_viewer.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1))))
            readReports();
    }
    m_waiting = false;
    if (m_ready)
        return true;
    const bool running = m_viewer.state() != QProcess::NotRunning;
    m_viewer.disconnect(this);
    if (running) {
        m_viewer.kill();
        m_viewer.waitForFinished(kClosingGrace);
        reportFailure(QStringLiteral("Das Hilfeprogramm hat nach %1 Sekunden ohne Anzeige aufgegeben.")
                          .arg(helpViewerTimeLimit() / 1000));
    } else if (m_viewer.error() == QProcess::FailedToStart) {
        reportFailure(QStringLiteral("Das Hilfeprogramm %1 kann nicht gestartet werden.").arg(helpViewerProgram()));
    } else {
        reportFailure(endedText());
    }
    return false;
}

// Why the viewer ended before it showed the topic. Only a viewer that ended
// by a fault of its own points at the file.
QString HelpWindow::endedText() const
{
    const bool crashed = m_viewer.exitStatus() == QProcess::CrashExit;
    if (!crashed && m_viewer.exitCode() == kCannotOpen)
        return NotAHelpFileText();
    if (crashed && endedFromOutside(m_viewer.exitCode()))
        return QStringLiteral("Das Hilfeprogramm wurde von außen beendet, bevor es die Seite zeigen konnte.");
    return QStringLiteral("Das Hilfeprogramm wurde unerwartet beendet; die Hilfedatei ist vermutlich beschädigt.");
}

void HelpWindow::readReports()
{
    m_pending += m_viewer.readAllStandardOutput();
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
        const QString word = line.section(QLatin1Char(' '), 0, 0);
        const QString text = line.section(QLatin1Char(' '), 1);
        if (word == QLatin1String("thema"))
            m_topic = text;
        else if (word == QLatin1String("hinweis"))
            m_notice = text;
        else if (word == QLatin1String("bereit"))
            m_ready = true;
    }
}

// A viewer that crashes after it has shown its window takes only itself;
// one that someone ended is gone as if closed.
void HelpWindow::viewerEnded(int exitCode, QProcess::ExitStatus status)
{
    if (status == QProcess::CrashExit && !m_waiting && !endedFromOutside(exitCode))
        reportFailure(QStringLiteral("Das Hilfefenster wurde unerwartet beendet; die Hilfedatei ist "
                                     "vermutlich beschädigt."));
}

void HelpWindow::closeViewer()
{
    if (!isOpen())
        return;
    m_viewer.write("schliessen\n");
    m_viewer.closeWriteChannel();
    if (!m_viewer.waitForFinished(kClosingGrace)) {
        m_viewer.kill();
        m_viewer.waitForFinished(kClosingGrace);
    }
}

void HelpWindow::reportFailure(const QString &reason) const
{
    ReportHelpFileFailure(m_helpFile, reason);
}

void ReportHelpFileFailure(const QString &helpFile, const QString &reason)
{
    ui::services().messageBox(
        QStringLiteral("Die Hilfedatei %1 kann nicht angezeigt werden.\r\n%2").arg(helpFile, reason),
        ui::applicationTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
}

QString NotAHelpFileText()
{
    return QStringLiteral("Die Datei ist keine lesbare Hilfedatei.");
}

} // namespace help
