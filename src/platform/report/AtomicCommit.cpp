#include "platform/report/AtomicCommit.h"

namespace report {

bool commitComplete(QSaveFile &file)
{
    const bool written = file.flush() && file.error() == QFileDevice::NoError && file.size() == file.pos();
    if (!written) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

}
