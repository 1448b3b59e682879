#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class QWidget;

// Drives the running program from inside its own event loop as a user
// would: waits until the screen shows what the next step needs, then acts.
// An action that opens a modal window runs that window's loop; the
// following steps wait and act from inside it.
class RoadScript : public QObject
{
public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    explicit RoadScript(int secondsPerStep = 60);

    RoadScript &waitFor(const QString &what, Condition ready, Action act = {});
    RoadScript &act(const QString &what, Action act);
    void start();

    // Every step ran.
    bool finished() const { return m_next == m_steps.size() && m_failure.isEmpty(); }
    // Where the script stopped: the step it waited for, and what the screen
    // showed then; or the step it still waited for when the program ended.
    QString stoppedAt() const;

private:
    struct Step
    {
        QString what;
        Condition ready;
        Action act;
    };

    void poll();
    void giveUp(const Step &step);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    int m_secondsPerStep;
    QString m_failure;
};

// What the screen shows: each visible top-level window's class and title,
// a message box with its text.
QString describeScreen();
// The visible top-level window of the given class, or null.
QWidget *shownWindow(const char *className);
// The text of the message box on the screen, or an empty text.
QString shownBoxText();
// Presses Return in the message box on the screen, as a user confirms it.
void confirmBox();
// A key pressed (and released) in the window, where the focus is.
void pressKey(QWidget *window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
