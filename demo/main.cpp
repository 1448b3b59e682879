#include "demo/install/DemoInstallation.h"

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
    demo::buildInstallation(args.at(1), args.at(2));
    return 0;
}
