#pragma once

// The lock keys as the keyboard has them, for the editor window's CAP and
// NUM panels. Where the state cannot be read (no X11 display, as on the
// offscreen platform) both count as off.
namespace keyLocks {

struct State
{
    bool capsLock = false;
    bool numLock = false;
};

// The state on the application's X11 display.
State current();
// The state on an X11 display (an Xlib Display pointer); null reads as off.
State onDisplay(void *display);

} // namespace keyLocks
