#pragma once

#include <QString>

// Points everything the program keeps per user (settings, registry, aliases,
// PDF folder, help trace, single-instance lock) into `root`, so that tests
// never touch the user's own files or a copy of the program the user runs.
void isolateUserFiles(const QString &root);
