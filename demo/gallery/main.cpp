// The gallery of the component library's edit controls on the demo tables.
//   tintlen_gallery                        shows the window
//   tintlen_gallery --screenshot PREFIX    saves PREFIX.png, its drop-downs and dialogs, then ends
#include "demo/gallery/GalleryWindow.h"
#include "platform/ui/Application.h"

int main(int argc, char **argv)
{
    ui::Application app(argc, argv);
    // The library's message boxes are captioned with the application's title.
    app.setTitle(QStringLiteral("Tintlen – Komponentenbibliothek"));
    return gallery::showGallery(QApplication::arguments());
}
