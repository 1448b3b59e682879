#include "UserFiles.h"
#include "platform/ui/Application.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Under the asan preset the leak check must see through Qt's frames to find
// the leaks tests/support/lsan.supp names (an exception passing Qt's event
// delivery); the slow unwinder does, and this executable is small.
extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

// These tests need the program's own application object in place of a plain QApplication.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir processFiles;
    isolateTestProcess(processFiles.path());
    ui::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tintlen"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
