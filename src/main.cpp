#include "app/Program.h"
#include "platform/ui/Application.h"

int main(int argc, char **argv)
{
    // Set before the application object exists, so the window system never
    // falls back to the executable's lower-case file name.
    QCoreApplication::setApplicationName(QStringLiteral("Tintlen"));
    ui::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tintlen"));
    return runProgram(app);
}
