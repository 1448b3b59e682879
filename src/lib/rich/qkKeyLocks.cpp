#include "lib/rich/qkKeyLocks.h"

#include <QGuiApplication>

// Xlib's headers define names such as Bool and None: they come last.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace keyLocks {

State current()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return onDisplay(x11 ? x11->display() : nullptr);
}

// Num Lock is whichever modifier the keyboard map gives the Num Lock key.
State onDisplay(void *display)
{
    auto *xDisplay = static_cast<Display *>(display);
    XkbStateRec state;
    if (!xDisplay || XkbGetState(xDisplay, XkbUseCoreKbd, &state) != Success)
        return {};
    const unsigned numLockMask = XkbKeysymToModifiers(xDisplay, XK_Num_Lock);
    return {(state.locked_mods & LockMask) != 0, numLockMask != 0 && (state.locked_mods & numLockMask) != 0};
}

} // namespace keyLocks
