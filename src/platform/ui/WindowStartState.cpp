#include "platform/ui/WindowStartState.h"

#include "platform/ui/ActiveWindowWatch.h"

#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace ui {

namespace {

// The window manager hints as the X protocol lays them out: the flags, the
// input model and the state the window starts in, then further fields.
constexpr uint32_t hintFields = 9;
constexpr uint32_t stateHintFlag = 1u << 1;
constexpr uint32_t normalState = 1;
constexpr uint32_t iconicState = 3;

}

void markToStartNormal(QWindow *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window || !window->handle())
        return;
    const auto id = uint32_t(window->winId());
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, hintFields),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < int(3 * sizeof(uint32_t)))
        return;
    const auto *stored = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    if (!(stored[0] & stateHintFlag) || stored[2] != iconicState)
        return;
    std::vector<uint32_t> hints(stored, stored + xcb_get_property_value_length(reply.get()) / sizeof(uint32_t));
    hints[2] = normalState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        uint32_t(hints.size()), hints.data());
    xcb_flush(connection);
}

}
