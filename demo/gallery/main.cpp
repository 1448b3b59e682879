// The gallery of the component library's edit controls on the demo tables.
//   tintlen_gallery                        shows the window
//   tintlen_gallery --screenshot PREFIX    saves PREFIX.png, its drop-downs and dialogs, then ends
#include "demo/gallery/GalleryWindow.h"
#include "platform/ui/Application.h"

#include <QTemporaryDir>

int main(int argc, char **argv)
{
    ui::Application app(argc, argv);
    // The library's message boxes are captioned with the application's title.
    app.setTitle(QStringLiteral("Tintlen – Komponentenbibliothek"));
    QTemporaryDir data;
    gallery::GalleryWindow window(data.path());
    window.show();
    const QStringList arguments = QApplication::arguments();
    const int screenshot = int(arguments.indexOf(QStringLiteral("--screenshot")));
    if (screenshot > 0 && screenshot + 1 < arguments.size()) {
        QApplication::processEvents();
        window.saveScreenshots(arguments.at(screenshot + 1));
        return 0;
    }
    return QApplication::exec();
}
