#pragma once

#include <QStringList>

#include <functional>

namespace bench {

double seconds(const std::function<void()> &work);

// Resident memory of this process in bytes, read from /proc.
long long residentBytes();

// One comparison: each side runs once to warm up, then the sides take
// turns for `rounds` rounds (on a shared machine a passing load hits both
// alike). Prints one line with the minimum and median of each side in
// milliseconds and ends it with the ratio of the minima, ours/base.
// `prepareOurs`, when given, runs untimed before every run of ours (a
// fresh copy of what ours changes).
double compare(const char *name, const std::function<void()> &ours, const std::function<void()> &base, int rounds = 7,
               const std::function<void()> &prepareOurs = {});

// Peak memory of one side, each in a process of its own, so that no warm
// run and nothing the other side left behind hides what a side holds at
// its peak. The bench runs itself again with the side's arguments; that
// process calls runMeasured. The sides take turns for `rounds` rounds; the
// line gives min and median of the peak growth over the resident size
// before the work, in KB, and ends with the ratio of the minima, ours/base.
double compareMemory(const char *name, const QStringList &oursArguments, const QStringList &baseArguments,
                     int rounds = 5);

// In the process started by compareMemory: runs `work` once and prints the
// growth of the peak resident size over the resident size before it.
int runMeasured(const std::function<void()> &work);

} // namespace bench
