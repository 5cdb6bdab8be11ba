#include "foundation/Rows.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"
#include "support/TTestEnvironment.h"

namespace {

int SaveHeader(const QString& kosyu, const QString& gozai)
{
    THojituHead4 head;
    head.Koji->Code = "K1";
    head.Kosyu->Kosyumei = kosyu;
    head.Gozai->DataName = gozai;
    head.Save();
    return head.ID;
}

// A day whose every value is `value`.
void SaveDay(int sid, int day, double value, const QString& station = QString())
{
    THojituLine4 line;
    line.SID = sid;
    line.Hiduke = EncodeDate(2026, 6, day);
    line.Sokuten = station;
    line.Values.fill(value);
    line.Save();
}

THojituLine4::TValues Totals(int sid, int day, bool upToDate, bool perMixture,
                             const QString& gozai = "密粒13")
{
    THojituLine4 line;
    line.SID = sid;
    line.Hiduke = EncodeDate(2026, 6, day);
    return line.Totals(upToDate, perMixture, gozai, "K1");
}

} // namespace

class TestHojituLine4 : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
    }

    void savingADayAgainUpdatesIt()
    {
        SaveDay(1, 5, 1.5, "No.1");
        SaveDay(1, 5, 2.5, "No.2+10");
        SaveDay(2, 5, 9);
        QCOMPARE(TextsOf("select count(*) from HojituLine4 where SID = 1"), QStringList({"1"}));
        THojituLine4 line;
        line.SID = 1;
        line.Hiduke = EncodeDate(2026, 6, 5);
        QVERIFY(line.LoadByDay());
        QCOMPARE(line.Sokuten, QString("No.2+10"));
        QCOMPARE(line.Values[0], 2.5);
        QCOMPARE(line.Values[32], 2.5);
    }

    void missingDayKeepsOnlyItsDate()
    {
        SaveDay(1, 5, 1.5, "No.1");
        THojituLine4 line;
        line.SID = 1;
        line.Hiduke = EncodeDate(2026, 6, 5);
        QVERIFY(line.LoadByDay());
        line.Hiduke = EncodeDate(2026, 6, 6);
        QVERIFY(!line.LoadByDay());
        QCOMPARE(line.Hiduke, EncodeDate(2026, 6, 6));
        QCOMPARE(line.SID, 0);
        QVERIFY(line.Sokuten.isEmpty());
        QCOMPARE(line.Values[10], 0.0);
    }

    void firstDayDatesAndDeleteDay()
    {
        SaveDay(1, 9, 1);
        SaveDay(1, 2, 2);
        SaveDay(1, 30, 3);
        THojituLine4 line;
        line.SID = 1;
        QVERIFY(line.LoadFirst());
        QCOMPARE(line.Hiduke, EncodeDate(2026, 6, 2));
        QStringList dates{"old"};
        line.ListDates(dates);
        QCOMPARE(dates, QStringList({"2026/06/02", "2026/06/09", "2026/06/30"}));
        line.Hiduke = EncodeDate(2026, 6, 9);
        line.DeleteDay();
        line.ListDates(dates);
        QCOMPARE(dates, QStringList({"2026/06/02", "2026/06/30"}));
        line.SID = 2;
        line.Values[3] = 7;
        QVERIFY(!line.LoadFirst());
        QCOMPARE(line.Values[3], 7.0); // untouched
    }

    void totalsPerHeaderUpToTheDay()
    {
        const int a = SaveHeader("表層工", "密粒13");
        SaveDay(a, 1, 1);
        SaveDay(a, 2, 10);
        SaveDay(a, 3, 100);
        THojituLine4::TValues all = Totals(a, 2, false, false);
        QCOMPARE(all[2], 111.0);
        QCOMPARE(all[32], 111.0);
        QCOMPARE(all[4], 0.0); // not a summed position
        QCOMPARE(all[13], 0.0);
        THojituLine4::TValues upTo = Totals(a, 2, true, false);
        QCOMPARE(upTo[8], 11.0); // the day itself counts, later days do not
        QCOMPARE(Totals(99, 2, false, false)[2], 0.0);
    }

    void totalsPerMixtureCoverEveryWorkType()
    {
        const int a = SaveHeader("表層工", "密粒13");
        const int b = SaveHeader("基層工", "密粒13");
        const int c = SaveHeader("表層工", "粗粒20");
        SaveDay(a, 1, 1);
        SaveDay(b, 2, 10);
        SaveDay(c, 1, 1000);
        QCOMPARE(Totals(a, 9, false, true)[19], 11.0);
        QCOMPARE(Totals(a, 1, true, true)[19], 1.0);
        QCOMPARE(Totals(a, 9, false, true, "粗粒20")[19], 1000.0);
    }
};

KANMURI_TEST_MAIN(TestHojituLine4)
#include "tst_THojituLine4.moc"
