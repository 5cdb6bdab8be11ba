// Paving record store on a large data folder: 1,000 headers, 100,000 lines.
// Prints the time of each operation the editor runs per user action, and for
// the totals the same sums as one plain statement, so that the cost of the
// store's own layer shows as a ratio.

#include "BenchData.h"
#include "foundation/DateTime.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

// Mean milliseconds of `action` over `runs` runs.
double Measure(int runs, const std::function<void(int)>& action)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        action(i);
    return timer.nsecsElapsed() / 1e6 / runs;
}

QString PlainSums(bool perMixture)
{
    QStringList sums;
    for (int p : THojituLine4::SummedPositions())
        sums << QStringLiteral("Sum(%1)").arg(THojituLine4::Column(p));
    QString sql = QStringLiteral("select ") + sums.join(u',') + QStringLiteral(" from HojituLine4");
    if (perMixture)
        sql +=
            QStringLiteral(" inner join HojituHead4 on HojituHead4.ID=HojituLine4.SID where "
                           "(HojituHead4.KojiCode=:KojiCode) and (HojituHead4.Gozaimei=:Gozaimei)");
    else
        sql += QStringLiteral(" where (SID=:SID) and (Hiduke<=:Hiduke)");
    return sql;
}

void Print(const char* what, double ms, const char* target)
{
    std::printf("%-46s %9.3f ms   (target %s)\n", what, ms, target);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("KANMURI_CONFIG_DIR", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);

    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    QElapsedTimer fill;
    fill.start();
    Fill();
    std::printf("filled %d headers and %d lines in %.1f s\n", kProjects * kKosyu * kMixtures,
                kProjects * kKosyu * kMixtures * kDays, fill.elapsed() / 1000.0);

    constexpr int runs = 200;
    THojituHead4 head;
    THojituLine4 line;
    head.Koji->Code = Code(7);
    head.Kosyu->Kosyumei = Kosyu(2);
    head.Gozai->DataName = Mixture(4);
    head.LoadByKeys();

    Print("day's save (header + line, existing day)",
          Measure(runs,
                  [&](int i) {
                      head.Save();
                      line.SID = head.ID;
                      line.Hiduke = Day(i % kDays);
                      line.Values[3] = i;
                      line.Save();
                  }),
          "< 2 ms");
    Print("day's save (header + line, new day)",
          Measure(runs,
                  [&](int i) {
                      head.Save();
                      line.SID = head.ID;
                      line.Hiduke = Day(kDays + i);
                      line.Save();
                  }),
          "< 2 ms");
    // Each commit waits for the disk (the journal is synced, so that a saved
    // day survives a power cut); one commit for the pair halves that wait.
    const auto saveAsOneCommit = [&](int i) {
        TTransaction transaction;
        head.Save();
        line.SID = head.ID;
        line.Hiduke = Day(i % kDays);
        line.Save();
        transaction.Commit();
    };
    Print("day's save as one commit", Measure(runs, saveAsOneCommit), "< 2 ms");
    QSqlQuery(TDatabase::Connection()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    Print("  the same without waiting for the disk", Measure(runs, saveAsOneCommit),
          "the store's own cost");
    QSqlQuery(TDatabase::Connection()).exec(QStringLiteral("PRAGMA synchronous=FULL"));
    Print("LoadByDay",
          Measure(runs,
                  [&](int i) {
                      line.SID = head.ID;
                      line.Hiduke = Day(i % kDays);
                      line.LoadByDay();
                  }),
          "< 2 ms");
    Print("ListDates",
          Measure(runs,
                  [&](int) {
                      QStringList dates;
                      line.ListDates(dates);
                  }),
          "< 2 ms");

    line.SID = head.ID;
    line.Hiduke = Day(kDays / 2);
    const double perHeader =
        Measure(runs, [&](int) { line.Totals(true, false, Mixture(4), Code(7)); });
    QSqlQuery plain(TDatabase::Connection());
    const double perHeaderPlain = Measure(runs, [&](int) {
        plain.prepare(PlainSums(false));
        plain.bindValue(QStringLiteral(":SID"), line.SID);
        plain.bindValue(QStringLiteral(":Hiduke"), DateTimeToSqlText(line.Hiduke));
        plain.exec();
        plain.next();
    });
    Print("Totals per header up to a day", perHeader, "< 2 ms");
    std::printf("%-46s %9.3f ms   ratio %.2f (target <= 1.5)\n",
                "  same sums as one plain statement", perHeaderPlain, perHeader / perHeaderPlain);

    const double perMixture =
        Measure(runs, [&](int) { line.Totals(false, true, Mixture(4), Code(7)); });
    const double perMixturePlain = Measure(runs, [&](int) {
        plain.prepare(PlainSums(true));
        plain.bindValue(QStringLiteral(":KojiCode"), Code(7));
        plain.bindValue(QStringLiteral(":Gozaimei"), Mixture(4));
        plain.exec();
        plain.next();
    });
    Print("Totals per mixture over all days", perMixture, "< 2 ms");
    std::printf("%-46s %9.3f ms   ratio %.2f (target <= 1.5)\n",
                "  same sums as one plain statement", perMixturePlain,
                perMixture / perMixturePlain);

    QList<THojituListItem> list;
    Print("ListAll (every line into the list)",
          Measure(5, [&](int) { THojituHead4::ListAll(list); }), "< 300 ms");
    std::printf("  listed %lld entries\n", static_cast<long long>(list.size()));
    Print("  the same query read by itself",
          Measure(5,
                  [&](int) {
                      QSqlQuery raw(TDatabase::Connection());
                      raw.setForwardOnly(true);
                      raw.exec(QStringLiteral(
                          "select Koji1.KOJIMEI, HojituHead4.KOSYUMEI, HojituHead4.GOZAIMEI, "
                          "HojituLine4.HIDUKE, HojituHead4.ID from HojituHead4 "
                          "inner join Koji1 on Koji1.CODE = HojituHead4.KOJICODE "
                          "inner join HojituLine4 on HojituLine4.SID = HojituHead4.ID"));
                      while (raw.next())
                          for (int c = 0; c < 5; ++c)
                              raw.value(c);
                  }),
          "reference");
    plain = QSqlQuery();
    // The data-open list as it is shown: the count and a page, in the order
    // and with the search chosen.
    QList<THojituListItem> page;
    const auto shown = [&](const THojituListQuery& query, int first = 0) {
        return Measure(10, [&](int) {
            THojituHead4::ListCount(query);
            THojituHead4::ListPage(query, first, 200, page);
        });
    };
    Print("list count + first 200, newest first", shown({}), "< 50 ms");
    Print("  the 200 from the 10,000th", shown({}, 10000), "reference");
    Print("  by project name", shown({{}, 0, false}), "reference");
    Print("  search a project name", shown({{QStringLiteral("工事7")}}), "< 50 ms");
    Print("  search a project name and a month",
          shown({{QStringLiteral("工事7"), QStringLiteral("2025/03")}}), "< 50 ms");
    Print("  search a day", shown({{QStringLiteral("2025/04/10")}}), "< 50 ms");
    Print("  search a word found nowhere", shown({{QStringLiteral("該当なし")}}), "< 50 ms");

    // Opening checks the whole file once (a damaged page is found at start,
    // not in the middle of a save); then the daily backup copies it.
    Print("opening the database (with its check)",
          Measure(5,
                  [&](int) {
                      TDatabase::Close();
                      TDatabase::Connection();
                  }),
          "< 500 ms");
    QTemporaryDir backups;
    Print("backup copy of the database",
          Measure(3,
                  [&](int i) {
                      TDatabase::CopyTo(
                          QDir(backups.path()).filePath(QStringLiteral("copy%1.sqlite").arg(i)));
                  }),
          "< 3 s");
    std::printf("  database file %.1f MB\n",
                QFileInfo(TDatabase::DatabaseFile()).size() / 1048576.0);
    TDatabase::Close();
    return 0;
}
