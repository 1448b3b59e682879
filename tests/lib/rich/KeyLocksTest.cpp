#include "lib/rich/qkKeyLocks.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

// What the keyboard of a real X server, started for the test, says.
TEST(KeyLocks, AreReadFromTheXServer)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForReadyRead(10000))
        GTEST_SKIP() << "no X server to be had";
    Display *display = XOpenDisplay(":" + server.readLine().trimmed());
    ASSERT_NE(display, nullptr);
    const unsigned num = XkbKeysymToModifiers(display, XK_Num_Lock);
    struct Case
    {
        unsigned locked;
        bool caps, numLock;
    } cases[] = {{0, false, false}, {num, false, true}, {LockMask, true, false}, {LockMask | num, true, true}};
    for (const Case &c : cases) {
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask | num, c.locked);
        XSync(display, False);
        EXPECT_EQ(keyLocks::onDisplay(display).capsLock, c.caps) << c.locked;
        EXPECT_EQ(keyLocks::onDisplay(display).numLock, c.numLock) << c.locked;
    }
    XCloseDisplay(display);
    // A killed server leaves its socket behind; an ended one removes it.
    server.terminate();
    server.waitForFinished();
}
