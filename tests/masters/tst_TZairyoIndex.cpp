#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "masters/TZairyoIndex.h"
#include "masters/TfrmEditZairyoName.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

void Add(const QString& name)
{
    TZairyoIndex index;
    index.ZName = name;
    index.AddIfMissing();
}

} // namespace

class TestZairyoIndex : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        QVERIFY(!TZairyoIndex::EnsureTables());
    }

    void namesJoinTheEndOnce()
    {
        TZairyoIndex index;
        QCOMPARE(index.NextLno(), 1);
        Add("A");
        Add("B");
        Add("A");
        Add("");
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|A", "0|2|B"}));
        index.ZKubun = 1;
        QCOMPARE(index.NextLno(), 1); // per category
    }

    void rewriteNumbersWithoutGaps()
    {
        Add("X");
        TZairyoIndex index;
        index.RewriteCategory({"B", "", "A", "B"});
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|B", "0|2|A"}));
    }

    void failedRewriteKeepsTheOldList()
    {
        Add("A");
        RefuseInserts("ZairyoIndex", "new.ZName = 'Y'");
        TZairyoIndex index;
        QVERIFY_THROWS_EXCEPTION(std::exception, index.RewriteCategory({"X", "Y"}));
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|A"}));
    }

    void windowEditsAndWritesBack()
    {
        Add("A");
        Add("B");
        TfrmEditZairyoName w;
        w.show();
        w.FormActivate();
        QCOMPARE(w.TabControl1->tabText(0), QString("アスファルト合材"));
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A", "B"}));

        QTest::mouseClick(w.Button1, Qt::LeftButton); // empty field: nothing added
        QCOMPARE(w.ListBox1->count(), 2);
        QTest::keyClicks(w.Edit1, "C");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A", "B", "C"}));
        QVERIFY(w.Edit1->text().isEmpty());

        // Removing the last entry selects the new last one.
        w.ListBox1->setCurrentRow(2);
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(w.ListBox1->currentRow(), 1);
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A"}));

        QTest::keyClicks(w.Edit1, "D");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|A", "0|2|D"}));
    }

    void loadingMixtureNamesReplacesTheList()
    {
        TDatabase::CreateTable("GozaiDef",
                               {{"ID", TFieldType::Integer}, {"DataName", TFieldType::String, 64}});
        TQuery("insert into GozaiDef values (1, '密粒度13'), (2, '粗粒度20')").Exec();
        Add("古い名前");
        TfrmEditZairyoName w;
        w.show();
        w.FormActivate();
        TriggerAction(&w, "mnuLoadGozai");
        QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|密粒度13", "0|2|粗粒度20"}));
    }
};

KANMURI_TEST_MAIN(TestZairyoIndex)
#include "tst_TZairyoIndex.moc"
