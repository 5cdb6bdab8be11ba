#pragma once

// The large data folder the benchmarks run on: 1,000 headers (20 projects,
// 5 work types, 10 mixtures), each with 100 days: 100,000 lines.

#include "foundation/DateTime.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QString>

namespace {

constexpr int kProjects = 20;
constexpr int kKosyu = 5;
constexpr int kMixtures = 10; // 20 x 5 x 10 = 1,000 headers
constexpr int kDays = 100;    // 100,000 lines

inline QString Code(int p)
{
    return QStringLiteral("K%1").arg(p, 3, 10, QLatin1Char('0'));
}
inline QString Kosyu(int k)
{
    return QStringLiteral("工種%1").arg(k);
}
inline QString Mixture(int m)
{
    return QStringLiteral("合材%1").arg(m);
}
inline TDateTime Day(int d)
{
    return EncodeDate(2025, 1, 1) + d;
}

// Fills the current data folder.
inline void Fill()
{
    TTransaction transaction;
    for (int p = 0; p < kProjects; ++p) {
        TKoji koji;
        koji.Code = Code(p);
        koji.Kojimei = QStringLiteral("工事%1").arg(p);
        koji.Save();
    }
    THojituHead4 head;
    THojituLine4 line;
    for (int p = 0; p < kProjects; ++p)
        for (int k = 0; k < kKosyu; ++k)
            for (int m = 0; m < kMixtures; ++m) {
                head.Koji->Code = Code(p);
                head.Kosyu->Kosyumei = Kosyu(k);
                head.Gozai->DataName = Mixture(m);
                head.Save();
                for (int d = 0; d < kDays; ++d) {
                    line.SID = head.ID;
                    line.Hiduke = Day(d);
                    line.Sokuten = QStringLiteral("No.%1").arg(d);
                    for (int v = 0; v < THojituLine4::ValueCount; ++v)
                        line.Values[v] = v + d * 0.5;
                    line.Save();
                }
            }
    transaction.Commit();
}

// The tables of the paving records and the one project the sheet
// benchmarks print.
inline void AddSheetProject(const QString& code)
{
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    TKoji koji;
    koji.Code = code;
    koji.Kojimei = QStringLiteral("県道１２号線舗装工事");
    koji.Save();
}

// Days of a record sheet from 2025/04/01 on, each value distinct by day and
// by `offset`, so that the sheets the benchmarks print differ from row to row.
inline void AddSheetDays(int sid, int days, double offset)
{
    THojituLine4 line;
    for (int d = 0; d < days; ++d) {
        line.SID = sid;
        line.Hiduke = EncodeDate(2025, 4, 1) + d;
        line.Sokuten = QStringLiteral("No.%1+12.5").arg(d);
        for (int p = 0; p < THojituLine4::ValueCount; ++p)
            line.Values[size_t(p)] = 1000.0 / (p + 1) + d * 0.37 + offset;
        line.Save();
    }
}

} // namespace
