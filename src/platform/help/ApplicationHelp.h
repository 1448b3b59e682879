#pragma once

#include <QString>

#include <functional>

// The application's help: its help file and its help event, which every
// help request of the program passes before the application's own help.
namespace help {

// Windows help commands, as help events receive them.
constexpr int HELP_CONTEXT = 1;
constexpr int HELP_QUIT = 2;
constexpr int HELP_CONTENTS = 3;
constexpr int HELP_HELPONHELP = 4;
constexpr int HELP_SETCONTENTS = 5;
constexpr int HELP_CONTEXTPOPUP = 8;
constexpr int HELP_FORCEFILE = 9;
constexpr int HELP_CONTEXTMENU = 10;
constexpr int HELP_FINDER = 11;
constexpr int HELP_WM_HELP = 12;
constexpr int HELP_SETPOPUP_POS = 13;
constexpr int HELP_KEY = 257;
constexpr int HELP_COMMAND = 258;
constexpr int HELP_PARTIALKEY = 261;
constexpr int HELP_MULTIKEY = 513;
constexpr int HELP_SETWINPOS = 515;

// Returns whether the request was handled; clearing callHelp keeps the
// application's own help out.
using THelpEvent = std::function<bool(int command, qintptr data, bool &callHelp)>;

QString ApplicationHelpFile();
void SetApplicationHelpFile(const QString &file);
THelpEvent ApplicationHelpEvent();
void SetApplicationHelpEvent(THelpEvent event);

// The application's help request: the help event first; then, unless the
// event cleared callHelp, the application's own help, which shows context
// topics of the help file in the help viewer. Returns whether a handler or
// the viewer took the request.
bool ApplicationHelpCommand(int command, qintptr data);
bool ApplicationHelpContext(int context);

} // namespace help
