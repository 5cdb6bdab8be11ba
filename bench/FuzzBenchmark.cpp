// The fuzz tests' cases for long runs by hand: every reader of files from
// outside the program (or one), COUNT cases from SEED, each under a time
// limit. Prints per reader the cases read whole and refused, the slowest
// case and the time; the first failures, if any, with the case number to
// run again (FIRST runs from that case on).
//
//   bench_fuzz [READER|all] [COUNT] [SEED] [FIRST]
//
// Built in the sanitizer lane's folder as well (cmake --build build-asan
// --target bench_fuzz), where a memory error ends the run with its report.

#include "support/Fuzzing.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const QString reader = arguments.value(0, QStringLiteral("all"));
    const int count = arguments.value(1, QStringLiteral("100000")).toInt();
    const quint32 seed = arguments.value(2, QStringLiteral("20261208")).toUInt();
    const int first = arguments.value(3, QStringLiteral("0")).toInt();
    const QStringList readers =
        reader == QStringLiteral("all") ? Fuzz::Readers() : QStringList{reader};
    int failed = 0;
    for (const QString& name : readers) {
        QTemporaryDir folder(Fuzz::ScratchTemplate());
        const Fuzz::TReport report = Fuzz::Run(name, count, seed, folder.path(), 10000, first);
        std::printf("%s\n", qUtf8Printable(report.Summary()));
        for (const QString& failure : report.failures)
            std::printf("  %s\n", qUtf8Printable(failure));
        std::fflush(stdout);
        failed += int(report.failures.size());
    }
    return failed == 0 ? 0 : 1;
}
