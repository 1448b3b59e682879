#include "platform/report/DialogRunner.h"

namespace report {
namespace {

DialogRunner &current()
{
    static DialogRunner runner;
    return runner;
}

}

void setDialogRunner(DialogRunner runner)
{
    current() = std::move(runner);
}

int runDialog(QDialog &dialog)
{
    return current() ? current()(dialog) : dialog.exec();
}

}
