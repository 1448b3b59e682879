#pragma once

#include <QString>

// Points everything the program keeps per user (settings, registry, aliases,
// PDF folder, help trace, single-instance lock) into `root`, so that tests
// never touch the user's own files or a copy of the program the user runs.
void isolateUserFiles(const QString &root);

// Gives a whole test process its own home, temporary and runtime folders
// below `root`, besides the user files above: what a test or a library
// leaves there (a file dialog's history, a temporary file, a folder written
// beside another) goes with `root` and never meets a test running beside it.
// A process started by such a test keeps the folders it was given.
void isolateTestProcess(const QString &root);
