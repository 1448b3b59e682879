#include "platform/help/viewer/ViewerSession.h"

#include "platform/help/HelpBrowser.h"

#include <QCoreApplication>

#include <cstdio>

#include <unistd.h>

namespace help {

ViewerSession::ViewerSession(std::unique_ptr<ChmHelpFile> file)
    : m_viewer(std::move(file)), m_input(STDIN_FILENO, QSocketNotifier::Read)
{
    m_viewer.setAttribute(Qt::WA_QuitOnClose);
    connect(&m_input, &QSocketNotifier::activated, this, &ViewerSession::readRequests);
    connect(m_viewer.browser(), &QTextBrowser::sourceChanged, this,
            [this](const QUrl &url) { report("thema", HelpBrowser::topicOf(url)); });
}

void ViewerSession::showContext(quint32 context)
{
    m_viewer.showContext(context);
    m_viewer.show();
    m_viewer.raise();
    m_viewer.activateWindow();
    report("thema", m_viewer.browser()->currentTopic());
    report("hinweis", m_viewer.notice());
    report("bereit");
}

void ViewerSession::readRequests()
{
    char buffer[4096];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        m_input.setEnabled(false);
        QCoreApplication::quit();
        return;
    }
    m_pending.append(buffer, got);
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QByteArray request = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        handle(request);
    }
}

void ViewerSession::handle(const QByteArray &request)
{
    if (request == "schliessen") {
        QCoreApplication::quit();
        return;
    }
    bool ok = false;
    const quint32 context = request.startsWith("kontext ") ? request.mid(8).toUInt(&ok) : 0;
    if (ok)
        showContext(context);
}

void ViewerSession::report(const char *what, const QString &text)
{
    const QByteArray line = text.isEmpty() ? QByteArray(what) : QByteArray(what) + ' ' + text.toUtf8();
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

} // namespace help
