#pragma once

#include <functional>

namespace bench {

double seconds(const std::function<void()> &work);

// Resident memory of this process in bytes, read from /proc.
long long residentBytes();

// One comparison: each side runs once to warm up, then the sides take
// turns for `rounds` rounds (on a shared machine a passing load hits both
// alike). Prints one line with the minimum and median of each side in
// milliseconds and ends it with the ratio of the minima, ours/base.
double compare(const char *name, const std::function<void()> &ours, const std::function<void()> &base, int rounds = 7);

} // namespace bench
