#include "lib/rich/qkKeyLocks.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

// An X server of its own for the test, on the display it reports.
class XServer
{
public:
    XServer()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            return;
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_server.waitForReadyRead(10000))
            return;
        const QByteArray number = m_server.readLine().trimmed();
        m_display = XOpenDisplay((":" + number).constData());
    }
    ~XServer()
    {
        if (m_display)
            XCloseDisplay(m_display);
        m_server.kill();
        m_server.waitForFinished();
    }
    Display *display() const { return m_display; }

private:
    QProcess m_server;
    Display *m_display = nullptr;
};

} // namespace

// What the keyboard of a real X server says, lock by lock.
TEST(KeyLocks, AreReadFromTheXServer)
{
    const XServer server;
    if (!server.display())
        GTEST_SKIP() << "no X server to be had";
    Display *display = server.display();
    const unsigned num = XkbKeysymToModifiers(display, XK_Num_Lock);
    ASSERT_NE(num, 0U);
    struct Case
    {
        unsigned locked;
        bool caps, numLock;
    } cases[] = {{0, false, false}, {num, false, true}, {LockMask, true, false}, {LockMask | num, true, true}};
    for (const Case &c : cases) {
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask | num, c.locked);
        XSync(display, False);
        const keyLocks::State state = keyLocks::onDisplay(display);
        EXPECT_EQ(state.capsLock, c.caps) << c.locked;
        EXPECT_EQ(state.numLock, c.numLock) << c.locked;
    }
    EXPECT_FALSE(keyLocks::onDisplay(nullptr).numLock);
}
