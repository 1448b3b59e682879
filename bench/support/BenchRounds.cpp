#include "BenchRounds.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

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

// The peak resident size of this process (VmHWM) in bytes.
long long peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// One measured run in a child process: its growth in KB, or -1.
long long measuredGrowthKb(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toLongLong();
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

double compare(const char *name, const std::function<void()> &ours, const std::function<void()> &base, int rounds,
               const std::function<void()> &prepareOurs)
{
    auto prepare = [&] {
        if (prepareOurs)
            prepareOurs();
    };
    prepare();
    ours();
    base();
    std::vector<double> oursTimes, baseTimes;
    for (int i = 0; i < rounds; ++i) {
        prepare();
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

double compareMemory(const char *name, const QStringList &oursArguments, const QStringList &baseArguments, int rounds)
{
    std::vector<double> oursGrowth, baseGrowth;
    for (int i = 0; i < rounds; ++i) {
        oursGrowth.push_back(double(measuredGrowthKb(oursArguments)));
        baseGrowth.push_back(double(measuredGrowthKb(baseArguments)));
    }
    const double oursMin = *std::min_element(oursGrowth.begin(), oursGrowth.end());
    const double baseMin = *std::min_element(baseGrowth.begin(), baseGrowth.end());
    const double ratio = std::max(1.0, oursMin) / std::max(1.0, baseMin);
    std::printf("%-52s peak growth ours min %9.0f KB median %9.0f KB | base min %9.0f KB median %9.0f KB | "
                "ratio %.2f\n",
                name, oursMin, median(oursGrowth), baseMin, median(baseGrowth), ratio);
    std::fflush(stdout);
    return ratio;
}

int runMeasured(const std::function<void()> &work)
{
    // The peak starts anew here, so what the set-up needed does not count.
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    const long long before = residentBytes();
    work();
    std::printf("%lld\n", (peakResidentBytes() - before) / 1024);
    std::fflush(stdout);
    return 0;
}

} // namespace bench
