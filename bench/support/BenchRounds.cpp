#include "BenchRounds.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace bench {

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

double compare(const char *name, const std::function<void()> &ours, const std::function<void()> &base, int rounds)
{
    ours();
    base();
    std::vector<double> oursTimes, baseTimes;
    for (int i = 0; i < rounds; ++i) {
        oursTimes.push_back(seconds(ours));
        baseTimes.push_back(seconds(base));
    }
    const double oursMin = *std::min_element(oursTimes.begin(), oursTimes.end());
    const double baseMin = *std::min_element(baseTimes.begin(), baseTimes.end());
    const double ratio = oursMin / baseMin;
    std::printf("%-52s ours min %9.2f ms median %9.2f ms | base min %9.2f ms median %9.2f ms | ratio %.2f\n", name,
                oursMin * 1000, median(oursTimes) * 1000, baseMin * 1000, median(baseTimes) * 1000, ratio);
    std::fflush(stdout);
    return ratio;
}

} // namespace bench
