#pragma once

#include "platform/os/FileIdentity.h"

#include <QString>

#include <optional>

namespace os {

// What a look at a file by its path found: the file the path leads to, and
// a generation that stays the same for as long as that file is neither
// written, replaced nor moved. A generation of 0 promises nothing (no file,
// or a file system that does not report changes): the next look is a new one.
struct FileLook
{
    std::optional<FileIdentity> identity;
    quint64 generation = 0;

    bool sameUnchangedFile(const FileLook &earlier) const
    {
        return generation != 0 && generation == earlier.generation && identity && identity == earlier.identity;
    }
};

// A table is opened again and again by one process, and asking the disk
// which file its path leads to costs a walk along the path every time. On
// local disks the kernel reports every change to the file, to the folders
// on its way and to the mounts, so a look asks the disk only after a
// report; on network shares and through symbolic links every look asks.
// Used from the thread that opens tables.
FileLook lookAtFile(const QString &path);

}
