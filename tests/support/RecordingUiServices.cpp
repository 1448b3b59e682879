#include "support/RecordingUiServices.h"

#include <algorithm>

namespace ui {

RecordingUiServices::RecordingUiServices() : m_now(QDate(2026, 3, 16), QTime(9, 30))
{}

int RecordingUiServices::messageBox(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons,
                                    int defaultButton)
{
    m_messages.append({text, caption, icon, buttons, defaultButton});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return defaultButton ? defaultButton : firstButtonResult(buttons);
}

bool RecordingUiServices::inputQuery(const QString &caption, const QString &prompt, QString &value)
{
    m_inputQueries.append({caption, prompt, value});
    if (m_inputs.isEmpty())
        return true;
    const std::optional<QString> answer = m_inputs.dequeue();
    if (!answer)
        return false;
    value = *answer;
    return true;
}

void RecordingUiServices::beep()
{
    ++m_beeps;
}

void RecordingUiServices::pushBusyCursor()
{
    ++m_busyDepth;
    m_maxBusyDepth = std::max(m_maxBusyDepth, m_busyDepth);
}

void RecordingUiServices::popBusyCursor()
{
    --m_busyDepth;
}

QDateTime RecordingUiServices::now() const
{
    return m_now;
}

bool RecordingUiServices::openUrl(const QString &url)
{
    m_openedUrls.append(url);
    return true;
}

void RecordingUiServices::queueAnswer(int result)
{
    m_answers.enqueue(result);
}

void RecordingUiServices::queueInput(std::optional<QString> answer)
{
    m_inputs.enqueue(std::move(answer));
}

void RecordingUiServices::setNow(const QDateTime &now)
{
    m_now = now;
}

void RecordingUiServices::clear()
{
    m_messages.clear();
    m_inputQueries.clear();
    m_openedUrls.clear();
    m_answers.clear();
    m_inputs.clear();
    m_beeps = 0;
    m_maxBusyDepth = m_busyDepth;
}

QStringList RecordingUiServices::messageTexts() const
{
    QStringList texts;
    for (const MessageBoxCall &call : m_messages)
        texts.append(call.text);
    return texts;
}

}
