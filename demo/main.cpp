#include "demo/install/DemoInstallation.h"
#include "platform/runtime/Exceptions.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "Aufruf: tintlen_demo_builder ZIELORDNER PROGRAMMDATEI\n";
        return 2;
    }
    try {
        demo::buildInstallation(args.at(1), args.at(2));
    } catch (const Exception &error) {
        QTextStream(stderr) << error.Message() << '\n';
        return 1;
    }
    return 0;
}
