#pragma once

#include <QSaveFile>

namespace report {

// Commits a temporary file only when every byte reached the disk. A write
// that a full disk cut short is not always reported by the device, so the
// size on disk is compared with what was written.
bool commitComplete(QSaveFile &file);

}
