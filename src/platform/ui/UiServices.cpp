#include "platform/ui/UiServices.h"

#include "platform/runtime/DateTime.h"
#include "platform/ui/QtUiServices.h"

namespace ui {

namespace {

UiServices *installed = nullptr;

UiServices &realServices()
{
    static QtUiServices real;
    return real;
}

}

UiServices &services()
{
    return installed ? *installed : realServices();
}

// The runtime's "now" and "today" follow whichever services are in place.
void installServices(UiServices *services)
{
    installed = services;
    SetClock([] { return ui::services().now(); });
}

int firstButtonResult(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return IDOK;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return IDYES;
    case MsgButtons::AbortRetryIgnore:
        return IDABORT;
    case MsgButtons::RetryCancel:
        return IDRETRY;
    }
    return IDOK;
}

BusyCursor::BusyCursor()
{
    services().pushBusyCursor();
}

BusyCursor::~BusyCursor()
{
    services().popBusyCursor();
}

}
