#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The help control: one entry taking a command, as the program's help
// routing calls it. It shows compiled help files in windows of the help
// viewer program, each a process of its own.
namespace help {

class HelpWindow;

constexpr unsigned HH_HELP_CONTEXT = 15;
constexpr unsigned HH_CLOSE_ALL = 18;

// path is a help file, optionally followed by ">" and a window name; each
// file and window name has its own window, which later calls reuse.
// HH_HELP_CONTEXT shows the topic of context number data and returns its
// window, nullptr after a German message naming the file and the cause when
// the topic cannot be shown. HH_CLOSE_ALL closes every help window and
// returns nullptr, as does any other command.
QWidget *HtmlHelp(QWidget *owner, const QString &path, unsigned command, qintptr data);

// Why the file cannot be a compiled help file, as the message gives it:
// missing, unreadable or of another kind; empty when the viewer may try it.
QString HelpFileFault(const QString &file);

// The help windows open now.
QList<HelpWindow *> HelpWindows();

// The library file through which the control reads compiled help files;
// empty when it cannot be found.
QString HelpLibraryPath();

} // namespace help
