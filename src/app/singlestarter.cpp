#include "app/singlestarter.h"

#include "platform/os/SingleInstance.h"
#include "platform/ui/UiServices.h"

bool AcquireSingleInstance(os::SingleInstanceLock &lock)
{
    if (lock.tryAcquire(SingleInstanceName))
        return true;
    ui::services().messageBox(QStringLiteral("Es läuft schon ein Druckprogramm.\r\nSie müssen das Programm erst "
                                             "beenden, bevor Sie einen neuen Druckauftrag starten können."),
                              QString(), ui::MsgIcon::None, ui::MsgButtons::Ok);
    return false;
}
