#include "RoadScript.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

namespace {

// A key waits in a loop of its own until the window manager has made its
// window active; the script must not walk on to the next steps meanwhile.
int keysWaitingForTheirWindow = 0;

}

RoadScript::RoadScript(int secondsPerStep) : m_secondsPerStep(secondsPerStep)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &RoadScript::poll);
}

RoadScript &RoadScript::waitFor(const QString &what, Condition ready, Action act)
{
    m_steps.push_back({what, std::move(ready), std::move(act)});
    return *this;
}

RoadScript &RoadScript::act(const QString &what, Action act)
{
    return waitFor(
        what, [] { return true; }, std::move(act));
}

void RoadScript::start()
{
    m_waiting.start();
    m_timer.start();
}

QString RoadScript::stoppedAt() const
{
    if (!m_failure.isEmpty())
        return m_failure;
    if (m_next < m_steps.size())
        return QStringLiteral("the program ended before: ") + m_steps[m_next].what;
    return QString();
}

void RoadScript::poll()
{
    if (keysWaitingForTheirWindow > 0)
        return;
    if (m_next >= m_steps.size()) {
        m_timer.stop();
        return;
    }
    const Step &step = m_steps[m_next];
    if (!step.ready()) {
        if (m_waiting.elapsed() > m_secondsPerStep * 1000)
            giveUp(step);
        return;
    }
    ++m_next;
    m_waiting.restart();
    // Acted on from the event loop, not from this timer: an action that opens
    // a modal window runs its loop there, and a timer never fires inside its
    // own handler.
    if (step.act)
        QTimer::singleShot(0, this, step.act);
}

// Ends the program whatever it shows: every modal window it opens from now
// on is closed again, so no loop is left waiting for a user.
void RoadScript::giveUp(const Step &step)
{
    m_failure =
        QStringLiteral("waited in vain for: ") + step.what + QStringLiteral("; the screen showed: ") + describeScreen();
    m_next = m_steps.size();
    disconnect(&m_timer, nullptr, this, nullptr);
    connect(&m_timer, &QTimer::timeout, this, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        QCoreApplication::exit(2);
    });
}

QString describeScreen()
{
    QStringList windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible())
            continue;
        QString line = QString::fromLatin1(widget->metaObject()->className()) + QStringLiteral(" \"")
                       + widget->windowTitle() + QLatin1Char('"');
        if (const auto *box = qobject_cast<QMessageBox *>(widget))
            line += QStringLiteral(": ") + box->text();
        windows << line;
    }
    return windows.isEmpty() ? QStringLiteral("no window") : windows.join(QStringLiteral(" | "));
}

QWidget *shownWindow(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->inherits(className))
            return widget;
    return nullptr;
}

QString shownBoxText()
{
    const auto *box = qobject_cast<QMessageBox *>(shownWindow("QMessageBox"));
    return box ? box->text() : QString();
}

void confirmBox()
{
    pressKey(shownWindow("QMessageBox"), Qt::Key_Return);
}

void pressKey(QWidget *window, int key, Qt::KeyboardModifiers modifiers)
{
    if (!window)
        return;
    // Shortcuts and mnemonics reach only the active window.
    window->activateWindow();
    ++keysWaitingForTheirWindow;
    const bool active = QTest::qWaitForWindowActive(window);
    --keysWaitingForTheirWindow;
    if (!active)
        return;
    QWidget *focus = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}
