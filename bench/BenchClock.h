#pragma once

// What the benchmarks measure with: elapsed milliseconds and the process's
// peak memory.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

namespace {

// The peak resident memory of this process so far, in kB; -1 when unknown.
inline long PeakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

inline double Ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace
