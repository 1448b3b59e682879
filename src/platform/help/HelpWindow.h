#pragma once

#include <QProcess>
#include <QWidget>

namespace help {

// A help window of the help viewer program, as the program holds it: the
// viewer runs as a process of its own, so that a damaged help file can end
// that window but never the program. This object stands for the window
// where the help routing expects one; it is never shown itself. What the
// window shows is what the viewer last reported.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    HelpWindow(const QString &helpFile, const QString &windowName, QWidget *owner);
    ~HelpWindow() override;

    QString helpFile() const { return m_helpFile; }
    QString windowName() const { return m_windowName; }

    // Starts the viewer or asks the running one; false, after a German
    // message, when the viewer cannot show the file, ends unexpectedly or
    // does not answer within the time limit.
    bool showContext(quint32 context);
    bool isOpen() const { return m_viewer.state() != QProcess::NotRunning; }
    void closeViewer();

    QString currentTopic() const { return m_topic; }
    QString notice() const { return m_notice; }

private:
    bool waitUntilReady();
    void readReports();
    void viewerEnded(int exitCode, QProcess::ExitStatus status);
    void reportFailure(const QString &reason) const;
    QString endedText() const;

    QString m_helpFile;
    QString m_windowName;
    QProcess m_viewer;
    QByteArray m_pending;
    QString m_topic;
    QString m_notice;
    bool m_ready = false;
    bool m_waiting = false;
};

// Tells the user that the help file cannot be shown, and why.
void ReportHelpFileFailure(const QString &helpFile, const QString &reason);
// The cause given for a file that is no compiled help file.
QString NotAHelpFileText();

// Where the viewer program is: beside the program, else where the build put it.
QString helpViewerProgram();

// How long the program waits for the viewer to show a topic (10 seconds
// unless set).
int helpViewerTimeLimit();
void setHelpViewerTimeLimit(int milliseconds);

} // namespace help
