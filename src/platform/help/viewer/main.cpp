#include "platform/help/ChmHelpFile.h"
#include "platform/help/viewer/ViewerSession.h"

#include <QApplication>

#include <cstdio>

// The help viewer: shows the topics of one compiled help file in a window of
// its own process, so that a damaged file can end this window but never the
// program that asked for it.
//
//   tintlen-hilfe <Hilfedatei> <Kontextnummer>   shows the topic, then
//                                                 follows the requests on
//                                                 standard input
//
// Exit code 2: the file cannot be opened as a help file.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("Aufruf: tintlen-hilfe <Hilfedatei> <Kontextnummer>\n", stderr);
        return 1;
    }
    std::unique_ptr<help::ChmHelpFile> file = help::ChmHelpFile::open(arguments.at(1));
    if (!file)
        return 2;
    help::ViewerSession session(std::move(file));
    session.showContext(arguments.at(2).toUInt());
    return application.exec();
}
