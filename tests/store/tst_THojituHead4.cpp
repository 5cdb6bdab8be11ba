#include "foundation/Rows.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"
#include "support/TTestEnvironment.h"

namespace {

int SaveHeader(const QString& code, const QString& kosyu, const QString& gozai)
{
    THojituHead4 head;
    head.Koji->Code = code;
    head.Kosyu->Kosyumei = kosyu;
    head.Gozai->DataName = gozai;
    head.Save();
    return head.ID;
}

void SaveDay(int sid, int day)
{
    THojituLine4 line;
    line.SID = sid;
    line.Hiduke = EncodeDate(2026, 6, day);
    line.Save();
}

void RegisterProject(const QString& code, const QString& name)
{
    TKoji koji;
    koji.Code = code;
    koji.Kojimei = name;
    koji.Save();
}

// A page of the data-open list as "caption|work type|mixture|date|ID".
QStringList Page(const QStringList& words, int sortColumn = 3, bool descending = true,
                 int first = 0, int count = 100)
{
    QList<THojituListItem> list;
    THojituHead4::ListPage({words, sortColumn, descending}, first, count, list);
    QStringList entries;
    for (const THojituListItem& item : list)
        entries << item.Caption + "|" + item.SubItems.join('|');
    return entries;
}

} // namespace

class TestHojituHead4 : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        QVERIFY(!THojituHead4::EnsureTables());
        QVERIFY(!THojituLine4::EnsureTables());
    }

    void tablesKeepTheirColumns()
    {
        QVERIFY(THojituHead4::EnsureTables() && THojituLine4::EnsureTables());
        QCOMPARE(TableColumns("HojituHead4"),
                 QStringList({"ID", "KOJICODE", "KOSYUMEI", "GOZAIMEI"}));
        const QStringList line = TableColumns("HojituLine4");
        QCOMPARE(line.size(), 36);
        QCOMPARE(line.mid(0, 4), QStringList({"SID", "HIDUKE", "SOKUTEN", "H00"}));
        QCOMPARE(line.last(), QString("H32"));
        QCOMPARE(IndexNames(), QStringList({"HojituHead4ID", "HojituHead4Keys", "HojituLine4Date",
                                            "HojituLine4Day"}));
    }

    void nextIdFollowsTheLargest()
    {
        QCOMPARE(THojituHead4::NextId(), 1);
        for (int id : {1, 2, 7})
            TQuery(QString("insert into HojituHead4 (ID) values (%1)").arg(id)).Exec();
        QCOMPARE(THojituHead4::NextId(), 8);
        THojituHead4 head;
        head.ID = 7;
        head.Delete();
        QCOMPARE(THojituHead4::NextId(), 3);
    }

    void saveReusesTheIdOfItsKeys()
    {
        const int a = SaveHeader("K1", "表層工", "密粒13");
        const int b = SaveHeader("K1", "基層工", "密粒13");
        QCOMPARE(SaveHeader("K1", "表層工", "密粒13"), a);
        QCOMPARE(TableRows("HojituHead4"),
                 QStringList({"1|K1|表層工|密粒13", "2|K1|基層工|密粒13"}));
        QCOMPARE(b, 2);

        THojituHead4 head;
        head.Koji->Code = "K1";
        head.Kosyu->Kosyumei = "基層工";
        head.Gozai->DataName = "密粒13";
        head.LoadByKeys();
        QCOMPARE(head.ID, b);
        head.Gozai->DataName = "無い";
        head.LoadByKeys();
        QCOMPARE(head.ID, 0);
        QCOMPARE(head.Gozai->DataName, QString("無い"));
    }

    void loadByIdLooksTheRegistersUp()
    {
        TKoji koji;
        koji.Code = "K1";
        koji.Kojimei = "国道5号";
        koji.Save();
        const int id = SaveHeader("K1", "表層工", "密粒13");
        THojituHead4 head;
        head.LoadById(id);
        QCOMPARE(head.ID, id);
        QCOMPARE(head.Koji->Kojimei, QString("国道5号"));
        QCOMPARE(head.Kosyu->Kosyumei, QString("表層工"));
        QCOMPARE(head.Gozai->PrintName, QString("密粒13")); // no definition: its name
    }

    void deleteRemovesEveryLine()
    {
        const int a = SaveHeader("K1", "表層工", "密粒13");
        const int b = SaveHeader("K1", "基層工", "密粒13");
        SaveDay(a, 1);
        SaveDay(a, 2);
        SaveDay(b, 1);
        THojituHead4 head;
        head.ID = a;
        head.Delete();
        QCOMPARE(TextsOf("select SID from HojituLine4"), QStringList({QString::number(b)}));
        QCOMPARE(TableRows("HojituHead4").size(), 1);
    }

    void failedLineSaveKeepsNoPartialDay()
    {
        const int a = SaveHeader("K1", "表層工", "密粒13");
        RefuseInserts("HojituLine4");
        QVERIFY_THROWS_EXCEPTION(std::exception, SaveDay(a, 1));
        QCOMPARE(TableRows("HojituLine4"), QStringList());
    }

    void headerAndDaySavedAsOneCommitLandTogether()
    {
        {
            TTransaction transaction; // the saves' own commits join this one
            SaveDay(SaveHeader("K1", "基層工", "密粒13"), 1);
            transaction.Commit();
        }
        QCOMPARE(TableRows("HojituHead4"), QStringList({"1|K1|基層工|密粒13"}));
        RefuseInserts("HojituLine4");
        QVERIFY_THROWS_EXCEPTION(std::exception, [] {
            TTransaction transaction;
            SaveDay(SaveHeader("K1", "表層工", "密粒13"), 1);
            transaction.Commit();
        }());
        QCOMPARE(TableRows("HojituHead4"), QStringList({"1|K1|基層工|密粒13"}));
    }

    void listAllShowsEachLineOfARegisteredProject()
    {
        TKoji koji;
        koji.Code = "K1";
        koji.Kojimei = "国道5号";
        koji.Save();
        const int a = SaveHeader("K1", "表層工", "密粒13");
        SaveHeader("K1", "基層工", "粗粒20");                    // no lines
        const int orphan = SaveHeader("K9", "表層工", "密粒13"); // project not registered
        SaveDay(a, 3);
        SaveDay(a, 4);
        SaveDay(orphan, 3);
        QList<THojituListItem> list{{"old", {}}};
        THojituHead4::ListAll(list);
        QStringList entries;
        for (const THojituListItem& item : list)
            entries << item.Caption + "|" + item.SubItems.join('|');
        entries.sort();
        QCOMPARE(entries, QStringList({"国道5号|表層工|密粒13|2026/06/03|1",
                                       "国道5号|表層工|密粒13|2026/06/04|1"}));
    }

    // The list is read a page at a time, so the database does the searching
    // and the sorting; both engines must give the same rows in the same order.
    void listPagesSearchEveryWordLiterallyInTheChosenOrder()
    {
        RegisterProject("K1", "国道5号");
        RegisterProject("K2", "Route 9");
        RegisterProject("K3", "50%補修");
        RegisterProject("K4", "A_B工事");
        RegisterProject("K5", "O'Hara線");
        const int a = SaveHeader("K1", "表層工", "密粒13");
        SaveDay(a, 3);
        SaveDay(a, 4);
        SaveDay(SaveHeader("K2", "基層工", "粗粒20"), 4);
        SaveDay(SaveHeader("K3", "表層工", "粗粒20"), 5);
        SaveDay(SaveHeader("K4", "表層工", "密粒13"), 5);
        SaveDay(SaveHeader("K5", "基層工", "密粒13"), 3);
        SaveDay(SaveHeader("K9", "表層工", "密粒13"), 6); // project not registered
        const QString a3 = "国道5号|表層工|密粒13|2026/06/03|1",
                      a4 = "国道5号|表層工|密粒13|2026/06/04|1",
                      b4 = "Route 9|基層工|粗粒20|2026/06/04|2",
                      c5 = "50%補修|表層工|粗粒20|2026/06/05|3",
                      d5 = "A_B工事|表層工|密粒13|2026/06/05|4",
                      e3 = "O'Hara線|基層工|密粒13|2026/06/03|5";

        // Newest first, a day's rows by project name; pages continue the order.
        QCOMPARE(THojituHead4::ListCount({}), 6);
        QCOMPARE(Page({}), QStringList({c5, d5, b4, a4, e3, a3}));
        QCOMPARE(Page({}, 3, true, 2, 2), QStringList({b4, a4}));
        QCOMPARE(Page({}, 3, false), QStringList({e3, a3, b4, a4, c5, d5}));
        QCOMPARE(Page({}, 0, false), QStringList({c5, d5, e3, b4, a4, a3}));
        QCOMPARE(Page({}, 0, true), QStringList({a4, a3, b4, e3, d5, c5}));

        // Every word somewhere in the row; dates as shown, not their time.
        QCOMPARE(THojituHead4::ListCount({{"表層工"}}), 4);
        QCOMPARE(Page({"国道", "06/04"}), QStringList({a4}));
        QCOMPARE(THojituHead4::ListCount({{"2026/06/0", "密粒"}}), 4);
        QCOMPARE(Page({"route"}), QStringList({b4}));
        QCOMPARE(Page({"00"}), QStringList());
        QCOMPARE(Page({"5"}), QStringList({c5, d5, a4, a3})); // in a name or a day
        QCOMPARE(Page({"該当なし"}), QStringList());

        // Wildcards and quotes are the characters typed.
        QCOMPARE(Page({"%"}), QStringList({c5}));
        QCOMPARE(Page({"_"}), QStringList({d5}));
        QCOMPARE(Page({"'"}), QStringList({e3}));
        QCOMPARE(THojituHead4::ListCount({{"0%補"}}), 1);
        QCOMPARE(THojituHead4::ListCount({{"\\"}}), 0);

        // Days years apart, "01" in many of them: compared by their text.
        THojituLine4 line;
        line.SID = a;
        line.Hiduke = EncodeDate(2020, 1, 1);
        line.Save();
        QCOMPARE(Page({"01"}), QStringList({"国道5号|表層工|密粒13|2020/01/01|1"}));
        QCOMPARE(THojituHead4::ListCount({{"2020/01"}}), 1);
        QCOMPARE(THojituHead4::ListCount({{"00"}}), 0);
    }
};

KANMURI_TEST_MAIN(TestHojituHead4)
#include "tst_THojituHead4.moc"
