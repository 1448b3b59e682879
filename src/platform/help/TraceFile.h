#pragma once

#include <QByteArray>
#include <QString>

// Files of the help trace. The trace lives in a folder of the user's own,
// so no other user can plant a link where it is written or read what it
// records; the file is never reached through a symbolic link and never
// truncated or taken over when it belongs to someone else.
namespace help {

// $XDG_STATE_HOME/tintlen (default ~/.local/state/tintlen), else
// <temporary folder>/tintlen-<user id>: the first that is, or can be made,
// a real folder owned by the user, closed to others, in which a file can
// be created. Empty when neither qualifies.
QString UserTraceFolder();

// Appends to the file, creating it for the user alone when missing. False,
// with nothing written, when the path is a symbolic link, no regular file,
// another user's file, or cannot be opened.
bool AppendToTraceFile(const QString &path, const QByteArray &bytes);

// Removes the file; a symbolic link in its place is removed, never its
// target.
void RemoveTraceFile(const QString &path);

} // namespace help
