// The paving record sheet of a long record written as an Excel workbook
// through the command line: 1,000 days of one header, and per mixture 10
// headers of 100 days each. Prints the time of each and the program's peak
// memory.

#include "BenchClock.h"
#include "BenchData.h"
#include "app/TCommandLine.h"
#include "foundation/DateTime.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

const QString kCode = QStringLiteral("K001");

// Header of work type `kosyu` and `mixture` with `days` days from 1 April
// 2025.
void Fill(const QString& kosyu, const QString& mixture, int days, int seed)
{
    TTransaction transaction;
    THojituHead4 head;
    head.Koji->Code = kCode;
    head.Kosyu->Kosyumei = kosyu;
    head.Kosyu->Save();
    head.Gozai->DataName = mixture;
    head.Save();
    AddSheetDays(head.ID, days, seed);
    transaction.Commit();
}

void Measure(const char* name, const QStringList& keys, const QString& folder)
{
    const QString file = folder + QStringLiteral("/%1.xlsx").arg(QString::fromLatin1(name));
    QStringList arguments{QStringLiteral("sheet"),
                          QStringLiteral("--project"),
                          kCode,
                          QStringLiteral("--work-type"),
                          keys[0],
                          QStringLiteral("--mixture"),
                          keys[1],
                          QStringLiteral("--xlsx"),
                          file};
    arguments << keys.mid(2);
    QString messages;
    QTextStream out(&messages);
    QElapsedTimer t;
    t.start();
    const int status = TCommandLine::Run(arguments, out, out);
    const double ms = Ms(t);
    out.flush();
    std::printf("%s:\n  write the workbook: %8.1f ms   (target < 2000 ms), %.2f MB%s%s\n", name, ms,
                QFileInfo(file).size() / 1e6,
                status == 0 ? "" : ", failed: ", qUtf8Printable(messages));
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("KANMURI_CONFIG_DIR", config.path().toUtf8());
    QCoreApplication app(argc, argv);

    AddSheetProject(kCode);

    QElapsedTimer t;
    t.start();
    Fill(QStringLiteral("表層工"), QStringLiteral("粗粒度20"), 1000, 0);
    for (int k = 1; k <= 10; ++k)
        Fill(QStringLiteral("工種%1").arg(k), QStringLiteral("密粒度13"), 100, k);
    std::printf("data: 11 headers, 2,000 days stored in %.0f ms\n", Ms(t));

    Measure("one header, 1000 days", {QStringLiteral("表層工"), QStringLiteral("粗粒度20")},
            config.path());
    Measure("per mixture, 10 headers x 100 days",
            {QStringLiteral("工種1"), QStringLiteral("密粒度13"), QStringLiteral("--per-mixture")},
            config.path());
    std::printf("peak memory:          %8.1f MB   (target < 200 MB)\n", PeakMemoryKb() / 1024.0);
    return 0;
}
