#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// Loads the help control at start and unloads it at the end. The control
// is the program's own help viewer, which reads compiled help files
// through the chm library; it counts as present when that library's file
// is there.

// The control's one entry: owner window, topic path, command, data; the
// result is the window shown.
using THtmlHelpEntry = QWidget *(*)(QWidget *owner, const QString &path, unsigned command, qintptr data);

// The file of the library behind the control; empty when it cannot be
// determined or does not exist.
QString GetHHCtrlPath();

// The entry while the control is loaded, else nullptr.
THtmlHelpEntry HtmlHelpEntry();

void HH_Initialize();
void HH_Finalize();
