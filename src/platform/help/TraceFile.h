#pragma once

#include <QByteArray>
#include <QString>

// Files of the help trace. The trace lies beside the program, where the
// support finds it; the file is never reached through a symbolic link and
// never truncated or taken over when it belongs to someone else.
namespace help {

// The program's folder when a file can be created in it; otherwise
// <temporary folder>/tintlen-<user id>, a real folder owned by the user and
// closed to others, so that users never share one trace file in the
// common temporary folder. Empty when neither can take a file.
QString TraceFolder(const QString &programFolder);

// Appends to the file, creating it for the user alone when missing. False,
// with nothing written, when the path is a symbolic link, no regular file,
// another user's file, or cannot be opened.
bool AppendToTraceFile(const QString &path, const QByteArray &bytes);

// Removes the file; a symbolic link in its place is removed, never its
// target.
void RemoveTraceFile(const QString &path);

} // namespace help
