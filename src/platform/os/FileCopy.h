#pragma once

#include <QString>

namespace os {

enum class CopyError { None, SourceUnreadable, TargetUnwritable, SameFile };

struct CopyOutcome
{
    CopyError error = CopyError::None;
    // The German text to show the user; empty on success.
    QString message;
};

// Copies one file. A target that names an existing folder receives the
// source's file name. The copy is written beside the target and renamed
// over it only when complete, so a failed copy (unreadable source, full
// disk) leaves no partial file and an existing target untouched. Copying a
// file onto itself is refused. Both paths are resolved without regard to
// case.
CopyOutcome copyFile(const QString &source, const QString &target);

// Deletes the files (not folders) matching the Windows mask; returns how
// many were deleted.
int deleteFiles(const QString &pathWithMask);

} // namespace os
