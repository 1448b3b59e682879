#pragma once

#include <QString>

// Qt's own error texts are English and name no reason a user can act on, so
// a failed file access is explained from what the file system shows now.

// A German sentence naming `path` and why it cannot be written.
QString fileWriteFailure(const QString &path);

// A German sentence naming `path` and why it cannot be read.
QString fileReadFailure(const QString &path);
