#include "app/DruckPrg.h"
#include "platform/os/SingleInstance.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

namespace {

const QString alreadyRunningMessage = QStringLiteral(
    "Es läuft schon ein Druckprogramm.\r\nSie müssen das Programm erst beenden, bevor Sie einen "
    "neuen Druckauftrag starten können.");

}

int main(int argc, char **argv)
{
    ui::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tintlen"));

    os::SingleInstanceLock lock;
    if (!lock.tryAcquire(QStringLiteral("Kuvertalia Druck"))) {
        ui::services().messageBox(alreadyRunningMessage, QString(), ui::MsgIcon::None,
                                  ui::MsgButtons::Ok);
        return 1;
    }

    app.createForm<TfrmPrintMan>();
    return app.run();
}
