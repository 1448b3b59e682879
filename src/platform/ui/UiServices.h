#pragma once

#include <QDateTime>
#include <QString>

namespace ui {

enum class MsgIcon { None, Information, Warning, Stop, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };

// Result codes of a message box, with the values the program's callers compare against.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Everything that meets the user (questions, the beep, the hour-glass) and the
// clock goes through this object, so tests can answer for the user.
class UiServices
{
public:
    virtual ~UiServices() = default;
    // `defaultButton` is the result code of the button that starts focused;
    // 0 means the first button of the set.
    virtual int messageBox(const QString &text, const QString &caption, MsgIcon icon, MsgButtons buttons,
                           int defaultButton = 0) = 0;
    // Returns false when the user cancels; `value` is changed only on true.
    virtual bool inputQuery(const QString &caption, const QString &prompt, QString &value) = 0;
    virtual void beep() = 0;
    virtual void pushBusyCursor() = 0;
    virtual void popBusyCursor() = 0;
    virtual QDateTime now() const = 0;
    virtual bool openUrl(const QString &url) = 0;
};

// The installed services, or the real Qt ones when none is installed.
UiServices &services();
// Installs `services` (nullptr: back to the real ones) and points the runtime
// clock at it. The caller keeps ownership.
void installServices(UiServices *services);

// The result code of the first button of a set: what a box answers by default.
int firstButtonResult(MsgButtons buttons);

// Shows the hour-glass for the lifetime of the object.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

}
