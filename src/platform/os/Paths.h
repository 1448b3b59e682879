#pragma once

#include <QString>

// Paths stored by the Windows suite use "\" and any case; here both
// separators are read and each component is looked up without regard to
// case.
namespace os {

// The path as it exists on disk: each existing component in its real
// spelling; from the first component that does not exist on, the rest
// stays as given (with "/" separators).
QString resolvePath(const QString &path);
bool fileExists(const QString &path);
bool directoryExists(const QString &path);

// Appends "/" unless the path already ends in "/" or "\"; a path written
// with "\" only gets "\".
QString includeTrailingSeparator(const QString &path);
// Removes one trailing "/" or "\" (the root "/" stays).
QString excludeTrailingSeparator(const QString &path);

// The file name's extension from its last point on ("" when it has none);
// a point in a folder name ("\" or "/" separated) never counts.
QString fileExtension(const QString &path);

// Folder of the running program, without a trailing separator. Tests and
// tools that run the program's code elsewhere may set it.
QString executableFolder();
void setExecutableFolder(const QString &folder);
// The program's settings file `name` (registry stand-in, aliases, printer
// settings) when the installation keeps it beside the program; empty when
// it does not, and the user's settings folder holds it.
QString installationSettingsFile(const QString &name);
// The system's temporary folder with a trailing separator.
QString tempFolder();

} // namespace os
