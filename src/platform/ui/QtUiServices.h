#pragma once

#include "platform/ui/UiServices.h"

namespace ui {

// The real services: Qt's dialogs, cursor, clock and desktop services.
class QtUiServices : public UiServices
{
public:
    int messageBox(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons,
                   int defaultButton = 0) override;
    bool inputQuery(const QString &caption, const QString &prompt, QString &value) override;
    void beep() override;
    void pushBusyCursor() override;
    void popBusyCursor() override;
    QDateTime now() const override;
    bool openUrl(const QString &url) override;
};

}
