#pragma once

#include <QString>

namespace os {

// Only one copy of the program may run. The lock is a file in the user's
// runtime folder held with flock: the kernel drops it when the process
// ends, however it ends, so a crash never leaves a stale lock. The file
// descriptor is not inherited by programs we start.
class SingleInstanceLock
{
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    // True when this object now holds the lock of that name; false when
    // another holder has it (or the lock file cannot be opened).
    bool tryAcquire(const QString &name);
    void release();

    static QString lockFilePath(const QString &name);

private:
    int m_fd = -1;
};

} // namespace os
