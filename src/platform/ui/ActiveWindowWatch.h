#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace ui {

// The program's connection to its X display; null on any other platform.
xcb_connection_t *x11Connection();

// Whose window the window manager declares active.
enum class ActiveOwner { Nobody, ThisProgram, OtherProgram };

// Follows the window manager's active window on an X display. Qt reports
// the program's deactivation only after a focus-in grace time, so a user who
// visits another program and comes back within it is never seen leaving;
// the window manager's own record tells at once, and it tells a window of
// another program apart from no window at all (the moment while a box of
// ours closes and the manager has not yet chosen the next window).
class ActiveWindowWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // Null unless the program runs on X under a window manager that keeps
    // the active window on the root window.
    static std::unique_ptr<ActiveWindowWatch> start();
    ~ActiveWindowWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void activeWindowChanged(ui::ActiveOwner owner);

private:
    ActiveWindowWatch(xcb_connection_t *connection, uint32_t root, uint32_t activeWindowAtom);
    ActiveOwner currentOwner() const;

    xcb_connection_t *m_connection;
    uint32_t m_root;
    uint32_t m_activeWindowAtom;
};

}
