// One program among several on one data folder, for the concurrency
// benchmark and tests.
//
//   save_worker save CONFIG COUNT      saves COUNT days as the editor's "OK"
//                                      does (project, header, line); every
//                                      worker saves the same projects, headers
//                                      and days, so that they meet on the same
//                                      rows. Prints "saved N" once save N has
//                                      returned, then "done ERRORS MS".
//   save_worker read CONFIG STOPFILE   runs the totals and the data-open list
//                                      until STOPFILE exists; prints
//                                      "read N ERRORS".
//   save_worker standards CONFIG COUNT saves COUNT new gradation standards
//                                      (names of their own per worker), as
//                                      the standards window does; prints
//                                      "done ERRORS MS".
//   save_worker hold CONFIG MS         saves day 0 (as "save" does) inside a
//                                      write transaction that it holds for
//                                      MS milliseconds before committing;
//                                      prints "holding" once it has the lock.
//   save_worker check CONFIG [LAST]    prints what a run must leave: every
//                                      count but the first two must be 0,
//                                      the integrity check "ok":
//                                      "headers H days D duplicate-headers ...";
//                                      with LAST also how many of the days
//                                      0 to LAST are missing.
//
// CONFIG is the configuration folder (its engine.ini names the data folder).
// Failures are printed to standard error and counted; the worker goes on.

#include "foundation/DateTime.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "mix/TGozaiDef.h"
#include "mix/TRyudoKikaku.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <cstdio>

namespace {

QString Code(int i)
{
    return QStringLiteral("P%1").arg(i % 10, 2, 10, QLatin1Char('0'));
}

QString Mixture(int i)
{
    return QStringLiteral("密粒度%1").arg(i % 3);
}

void SaveDay(THojituHead4& head, THojituLine4& line, int i)
{
    TKoji project;
    project.Code = Code(i);
    project.Kojimei = QStringLiteral("舗装工事%1").arg(i % 10);
    // New names join the registers as the project is saved.
    project.Client->Hacchusyamei = QStringLiteral("発注者%1").arg(i % 7);
    project.Contractor->Ukeoisyamei = QStringLiteral("請負者%1").arg(i % 5);
    project.SiteAgent->Simei = QStringLiteral("代理人%1").arg(i % 11);
    project.Save();

    head.Koji->Code = Code(i);
    head.Kosyu->Kosyumei = QStringLiteral("表層工");
    head.Gozai->DataName = Mixture(i);
    head.Save();
    line.SID = head.ID;
    line.Hiduke = EncodeDate(2026, 4, 1) + i;
    line.Sokuten = QStringLiteral("No.%1").arg(i);
    for (int v = 0; v < THojituLine4::ValueCount; ++v)
        line.Values[v] = v + i * 0.25;
    line.Save();
}

int Save(int count)
{
    THojituHead4 head;
    THojituLine4 line;
    int errors = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        try {
            SaveDay(head, line, i);
            std::printf("saved %d\n", i);
            std::fflush(stdout);
        } catch (const EKanmuriError& e) {
            ++errors;
            std::fprintf(stderr, "save %d: %s\n", i, qUtf8Printable(e.text()));
        }
    }
    std::printf("done %d %lld\n", errors, static_cast<long long>(timer.elapsed()));
    return errors == 0 ? 0 : 1;
}

int SaveStandards(int count)
{
    TRyudoKikaku standard;
    standard.EnsureTables();
    int errors = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        try {
            standard.Clear();
            standard.SetValue(1, QStringLiteral("100"));
            standard.SetValue(2, QStringLiteral("%1_100").arg(i % 100));
            standard.Save(QStringLiteral("[W%1]%2").arg(QCoreApplication::applicationPid()).arg(i));
        } catch (const EKanmuriError& e) {
            ++errors;
            std::fprintf(stderr, "standard %d: %s\n", i, qUtf8Printable(e.text()));
        }
    }
    std::printf("done %d %lld\n", errors, static_cast<long long>(timer.elapsed()));
    return errors == 0 ? 0 : 1;
}

int Hold(int milliseconds)
{
    try {
        THojituHead4 head;
        THojituLine4 line;
        TTransaction transaction;
        SaveDay(head, line, 0);
        std::printf("holding\n");
        std::fflush(stdout);
        QThread::msleep(milliseconds);
        transaction.Commit();
        return 0;
    } catch (const EKanmuriError& e) {
        std::fprintf(stderr, "hold: %s\n", qUtf8Printable(e.text()));
        return 1;
    }
}

int Read(const QString& stopFile)
{
    THojituHead4 head;
    THojituLine4 line;
    int reads = 0, errors = 0;
    while (!QFileInfo::exists(stopFile)) {
        try {
            head.Koji->Code = Code(reads);
            head.Kosyu->Kosyumei = QStringLiteral("表層工");
            head.Gozai->DataName = Mixture(reads);
            head.LoadByKeys();
            line.SID = head.ID;
            line.Hiduke = EncodeDate(2026, 4, 1) + reads % 500;
            line.Totals(reads % 2 == 0, reads % 3 == 0, Mixture(reads), Code(reads));
            QList<THojituListItem> list;
            THojituHead4::ListAll(list);
            ++reads;
        } catch (const EKanmuriError& e) {
            ++errors;
            std::fprintf(stderr, "read: %s\n", qUtf8Printable(e.text()));
        }
    }
    std::printf("read %d %d\n", reads, errors);
    return errors == 0 ? 0 : 1;
}

int Count(const QString& sql)
{
    TQuery query(sql);
    query.Exec();
    return query.Next() ? query.Integer(0) : -1;
}

int Check(int last)
{
    const auto duplicates = [](const QString& table, const QString& columns) {
        return Count(QStringLiteral("select count(*) from (select %2 from %1 group by %2 "
                                    "having count(*) > 1) duplicates")
                         .arg(table, columns));
    };
    // A server keeps its own files sound; only SQLite's file is checked.
    QString verdict = QStringLiteral("ok");
    if (!TDatabase::IsServer()) {
        TQuery integrity(QStringLiteral("PRAGMA integrity_check"));
        integrity.Exec();
        verdict = integrity.Next() ? integrity.Value(0).toString() : QString();
    }
    std::printf(
        "headers %d days %d duplicate-headers %d duplicate-header-ids %d duplicate-days %d "
        "lines-without-header %d duplicate-projects %d duplicate-names %d integrity %s\n",
        Count(QStringLiteral("select count(*) from HojituHead4")),
        Count(QStringLiteral("select count(*) from HojituLine4")),
        duplicates(QStringLiteral("HojituHead4"), QStringLiteral("KOJICODE, KOSYUMEI, GOZAIMEI")),
        duplicates(QStringLiteral("HojituHead4"), QStringLiteral("ID")),
        duplicates(QStringLiteral("HojituLine4"), QStringLiteral("SID, HIDUKE")),
        Count(QStringLiteral("select count(*) from HojituLine4 where SID not in "
                             "(select ID from HojituHead4)")),
        duplicates(QStringLiteral("Koji1"), QStringLiteral("CODE")),
        duplicates(QStringLiteral("Hacchusya"), QStringLiteral("HACCHUSYAMEI")) +
            duplicates(QStringLiteral("Ukeoisya"), QStringLiteral("UKEOISYAMEI")) +
            duplicates(QStringLiteral("Simei"), QStringLiteral("SIMEI")),
        qUtf8Printable(verdict));
    if (last >= 0) {
        QSet<QString> stations;
        TQuery days(QStringLiteral("select SOKUTEN from HojituLine4"));
        days.Exec();
        while (days.Next())
            stations.insert(days.Value(0).toString());
        int missing = 0;
        for (int i = 0; i <= last; ++i)
            missing += stations.contains(QStringLiteral("No.%1").arg(i)) ? 0 : 1;
        std::printf("missing %d\n", missing);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: save_worker save CONFIG COUNT | read CONFIG STOPFILE | "
                             "standards CONFIG COUNT | hold CONFIG MS | check CONFIG\n");
        return 2;
    }
    qputenv("KANMURI_CONFIG_DIR", argv[2]);
    QCoreApplication app(argc, argv);
    try {
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
        TKoji::EnsureTables();
        TKosyu::EnsureTables();
    } catch (const EKanmuriError& e) {
        std::fprintf(stderr, "start: %s\n", qUtf8Printable(e.text()));
        return 1;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    if (mode == QStringLiteral("check"))
        return Check(argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : -1);
    if (argc < 4)
        return 2;
    if (mode == QStringLiteral("save"))
        return Save(QString::fromLocal8Bit(argv[3]).toInt());
    if (mode == QStringLiteral("standards"))
        return SaveStandards(QString::fromLocal8Bit(argv[3]).toInt());
    if (mode == QStringLiteral("hold"))
        return Hold(QString::fromLocal8Bit(argv[3]).toInt());
    return Read(QString::fromLocal8Bit(argv[3]));
}
