#include "UserFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// Each road test builds the program's own application object, as `main`
// does, so this main makes none.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir processFiles;
    isolateTestProcess(processFiles.path());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
