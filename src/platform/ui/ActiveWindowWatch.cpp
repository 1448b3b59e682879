#include "platform/ui/ActiveWindowWatch.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ui {

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

uint32_t atomNamed(xcb_connection_t *connection, const char *name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

// The 32-bit values of a property of the given type on the window, at most
// `count` of them.
std::vector<uint32_t> propertyValues(xcb_connection_t *connection, uint32_t window, uint32_t property, uint32_t type,
                                     uint32_t count)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, count), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

bool managerKeepsActiveWindow(xcb_connection_t *connection, uint32_t root, uint32_t activeWindowAtom)
{
    const std::vector<uint32_t> supported =
        propertyValues(connection, root, atomNamed(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    return std::find(supported.begin(), supported.end(), activeWindowAtom) != supported.end();
}

// Qt listens to the root window already; its own event mask there is kept.
void listenToRootProperties(xcb_connection_t *connection, uint32_t root)
{
    const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root), nullptr));
    const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

}

// Qt's offscreen platform answers for X as well, without a connection.
xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

std::unique_ptr<ActiveWindowWatch> ActiveWindowWatch::start()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return nullptr;
    const uint32_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t activeWindowAtom = atomNamed(connection, "_NET_ACTIVE_WINDOW");
    if (activeWindowAtom == XCB_ATOM_NONE || !managerKeepsActiveWindow(connection, root, activeWindowAtom))
        return nullptr;
    listenToRootProperties(connection, root);
    std::unique_ptr<ActiveWindowWatch> watch(new ActiveWindowWatch(connection, root, activeWindowAtom));
    qGuiApp->installNativeEventFilter(watch.get());
    return watch;
}

ActiveWindowWatch::ActiveWindowWatch(xcb_connection_t *connection, uint32_t root, uint32_t activeWindowAtom)
    : m_connection(connection), m_root(root), m_activeWindowAtom(activeWindowAtom)
{}

ActiveWindowWatch::~ActiveWindowWatch()
{
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

bool ActiveWindowWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *change = static_cast<const xcb_property_notify_event_t *>(message);
    if (change->window == m_root && change->atom == m_activeWindowAtom)
        emit activeWindowChanged(currentOwner());
    return false;
}

// Every window this program creates on the display takes its number from
// the range the server gave the program's connection; so does a box that is
// already gone again when the manager's choice of it is read.
ActiveOwner ActiveWindowWatch::currentOwner() const
{
    const std::vector<uint32_t> active = propertyValues(m_connection, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 1);
    if (active.empty() || active.front() == XCB_WINDOW_NONE)
        return ActiveOwner::Nobody;
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const bool ours = (active.front() & ~setup->resource_id_mask) == setup->resource_id_base;
    return ours ? ActiveOwner::ThisProgram : ActiveOwner::OtherProgram;
}

}
