#pragma once

#include "platform/help/HelpViewer.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace help {

// The help viewer program's side of its conversation with the program that
// started it. Requests arrive on standard input, one a line: "kontext <n>"
// shows the number's topic and brings the window forward, "schliessen"
// ends the viewer, as does the end of the input. The viewer answers on
// standard output with "thema <stored path>" and "hinweis <text>" for what
// it shows, then "bereit"; "thema" also follows every page the user opens.
class ViewerSession : public QObject
{
    Q_OBJECT

public:
    explicit ViewerSession(std::unique_ptr<ChmHelpFile> file);

    void showContext(quint32 context);

private:
    void readRequests();
    void handle(const QByteArray &request);
    void report(const char *what, const QString &text = QString());

    HelpViewer m_viewer;
    QSocketNotifier m_input;
    QByteArray m_pending;
};

} // namespace help
