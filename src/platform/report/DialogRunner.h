#pragma once

#include <QDialog>

#include <functional>

namespace report {

// Modal windows of the engine (preview, designer, print options) are run
// through here; tests install a runner that works the window and returns
// instead of blocking.
using DialogRunner = std::function<int(QDialog &)>;

void setDialogRunner(DialogRunner runner);
int runDialog(QDialog &dialog);

}
