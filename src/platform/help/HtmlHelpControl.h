#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The help control: one entry taking a command, as the program's help
// routing calls it. It opens compiled help files in HelpViewer windows.
namespace help {

class HelpViewer;

constexpr unsigned HH_HELP_CONTEXT = 15;
constexpr unsigned HH_CLOSE_ALL = 18;

// path is a help file, optionally followed by ">" and a window name; each
// file and window name has its own window, which later calls reuse.
// HH_HELP_CONTEXT shows the topic of context number data and returns its
// window, nullptr when the file cannot be opened. HH_CLOSE_ALL closes every
// help window and returns nullptr, as does any other command.
QWidget *HtmlHelp(QWidget *owner, const QString &path, unsigned command, qintptr data);

// Whether the control can open the help file a topic path names.
bool CanOpenHelpFile(const QString &path);

// The help windows open now.
QList<HelpViewer *> HelpWindows();

// The library file through which the control reads compiled help files;
// empty when it cannot be found.
QString HelpLibraryPath();

} // namespace help
