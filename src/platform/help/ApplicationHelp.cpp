#include "platform/help/ApplicationHelp.h"

#include "platform/help/HtmlHelpControl.h"

namespace help {

namespace {

struct ApplicationHelpState
{
    QString file;
    THelpEvent event;
};

ApplicationHelpState &state()
{
    static ApplicationHelpState help;
    return help;
}

bool ownHelp(int command, qintptr data)
{
    if (command != HELP_CONTEXT || state().file.isEmpty())
        return false;
    return HtmlHelp(nullptr, state().file, HH_HELP_CONTEXT, data) != nullptr;
}

} // namespace

QString ApplicationHelpFile()
{
    return state().file;
}

void SetApplicationHelpFile(const QString &file)
{
    state().file = file;
}

THelpEvent ApplicationHelpEvent()
{
    return state().event;
}

void SetApplicationHelpEvent(THelpEvent event)
{
    state().event = std::move(event);
}

bool ApplicationHelpCommand(int command, qintptr data)
{
    bool callHelp = true;
    bool handled = false;
    if (state().event)
        handled = state().event(command, data, callHelp);
    if (callHelp)
        handled = ownHelp(command, data);
    return handled;
}

bool ApplicationHelpContext(int context)
{
    return ApplicationHelpCommand(HELP_CONTEXT, context);
}

} // namespace help
