#pragma once

#include "platform/ui/UiServices.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <optional>

namespace ui {

// Services for tests: every call is recorded, the user's answers come from a
// script, and the clock stands still until the test moves it.
class RecordingUiServices : public UiServices
{
public:
    struct MessageBoxCall
    {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
        int defaultButton;
    };
    struct InputQueryCall
    {
        QString caption;
        QString prompt;
        QString value;
    };

    RecordingUiServices();

    int messageBox(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons,
                   int defaultButton = 0) override;
    bool inputQuery(const QString &caption, const QString &prompt, QString &value) override;
    void beep() override;
    void pushBusyCursor() override;
    void popBusyCursor() override;
    QDateTime now() const override;
    bool openUrl(const QString &url) override;

    // Answers of the next message boxes, in order; when none is left a box
    // answers with its default button.
    void queueAnswer(int result);
    // Answers of the next prompts: a text accepts with that text, nullopt
    // cancels; when none is left a prompt accepts the value it was given.
    void queueInput(std::optional<QString> answer);
    void setNow(const QDateTime &now);
    void clear();

    const QList<MessageBoxCall> &messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<InputQueryCall> &inputQueries() const { return m_inputQueries; }
    const QStringList &openedUrls() const { return m_openedUrls; }
    int beeps() const { return m_beeps; }
    int busyDepth() const { return m_busyDepth; }
    // The deepest the hour-glass was stacked since the last clear().
    int maxBusyDepth() const { return m_maxBusyDepth; }

private:
    QList<MessageBoxCall> m_messages;
    QList<InputQueryCall> m_inputQueries;
    QStringList m_openedUrls;
    QQueue<int> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QDateTime m_now;
    int m_beeps = 0;
    int m_busyDepth = 0;
    int m_maxBusyDepth = 0;
};

// Recording services that are installed for their own lifetime, so a test
// fixture's member answers for the user and never outlives its test.
class ScopedRecordingUiServices : public RecordingUiServices
{
public:
    ScopedRecordingUiServices() { installServices(this); }
    ~ScopedRecordingUiServices() override { installServices(nullptr); }
    ScopedRecordingUiServices(const ScopedRecordingUiServices &) = delete;
    ScopedRecordingUiServices &operator=(const ScopedRecordingUiServices &) = delete;
};

}
