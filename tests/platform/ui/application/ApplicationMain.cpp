#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

// These tests need the program's own application object in place of a plain QApplication.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tintlen"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
