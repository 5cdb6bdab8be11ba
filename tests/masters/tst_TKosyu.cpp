#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "masters/TKosyu.h"
#include "masters/TfrmEditKosyu.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

QStringList Rewritten(const QStringList& names)
{
    TKosyu k;
    k.RewriteAll(names);
    return TableRows("Kosyu4");
}

} // namespace

class TestKosyu : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        QVERIFY(!TKosyu::EnsureTables());
    }

    void rewriteNumbersByPlace_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("in order") << QStringList{"A", "B", "C"} << QStringList{"A|1", "B|2", "C|3"};
        QTest::newRow("blank keeps its place")
            << QStringList{"A", " ", "B"} << QStringList{"A|1", "B|3"};
        QTest::newRow("repeat keeps the first")
            << QStringList{"A", "B", "A"} << QStringList{"A|1", "B|2"};
        QTest::newRow("trimmed") << QStringList{" A ", "A"} << QStringList{"A|1"};
    }
    void rewriteNumbersByPlace()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, rows);
        QCOMPARE(Rewritten(names), rows);
    }

    void reorderedListIsRenumbered()
    {
        Rewritten({"A", "B", "C"});
        QCOMPARE(Rewritten({"C", "A", "B"}), QStringList({"C|1", "A|2", "B|3"}));
        QStringList list;
        TKosyu::FillList(list);
        QCOMPARE(list, QStringList({"C", "A", "B"}));
    }

    void failedRewriteKeepsTheOldList()
    {
        Rewritten({"A", "B"});
        // A trigger makes the second insert fail part way through.
        RefuseInserts("Kosyu4", "new.KOSYUMEI = 'Y'");
        QVERIFY_THROWS_EXCEPTION(std::exception, Rewritten({"X", "Y", "Z"}));
        QCOMPARE(TableRows("Kosyu4"), QStringList({"A|1", "B|2"}));
    }

    void saveAndNextId()
    {
        QCOMPARE(TKosyu::NextId(), 1);
        TKosyu k;
        k.Kosyumei = "表層工";
        k.Save();
        QCOMPARE(k.ID, 1);
        k.ID = 0;
        k.Kosyumei = "基層工";
        k.Save();
        QCOMPARE(k.ID, 2);
        k.LoadByName(" 表層工 ");
        QCOMPARE(k.ID, 1);
        k.LoadByName("未登録");
        QCOMPARE(k.Kosyumei, QString("未登録"));
        QCOMPARE(k.ID, 1); // kept
    }

    void windowEditsTheListAndRegisters()
    {
        Rewritten({"A", "B", "C"});
        TfrmEditKosyu w;
        w.show();
        w.FormActivate();
        QCOMPARE(w.windowTitle(), QString("工種の登録"));
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A", "B", "C"}));
        QCOMPARE(w.ListBox1->currentRow(), 0);
        QVERIFY(!w.Button1->isEnabled());

        // Up on the first and down on the last do nothing.
        QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A", "B", "C"}));
        w.ListBox1->setCurrentRow(2);
        QTest::mouseClick(w.SpeedButton2, Qt::LeftButton);
        QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
        QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"C", "A", "B"}));
        QCOMPARE(w.ListBox1->currentRow(), 0);

        // An added name goes before the selected entry.
        w.ListBox1->setCurrentRow(1);
        QTest::keyClicks(w.Edit2, "D");
        QVERIFY(w.Button1->isEnabled());
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"C", "D", "A", "B"}));
        QVERIFY(w.Edit2->text().isEmpty());
        QVERIFY(!w.Button1->isEnabled());

        w.ListBox1->setCurrentRow(3);
        QTest::mouseClick(w.Button3, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"C", "D", "A"}));

        // A name typed but not added joins the list on registering.
        w.ListBox1->setCurrentRow(0);
        QTest::keyClicks(w.Edit2, "E");
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(TableRows("Kosyu4"), QStringList({"E|1", "C|2", "D|3", "A|4"}));
    }

    void addingANameTooLongSaysSoAndAddsNothing()
    {
        Rewritten({"A"});
        TfrmEditKosyu w;
        w.show();
        w.FormActivate();
        const QString name(33, u'x');
        QTest::keyClicks(w.Edit2, name);
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A"}));
        const QString message = TTestEnvironment::Current().prompt.LastText("message");
        QVERIFY2(message.contains("工種名") && message.contains("32文字"), qPrintable(message));
        QCOMPARE(w.Edit2->text(), name);
        // Registering with the name still typed writes nothing either.
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(TableRows("Kosyu4"), QStringList({"A|1"}));
    }

    void deleteEmptiesTheTableButKeepsTheList()
    {
        Rewritten({"A", "B"});
        TfrmEditKosyu w;
        w.show();
        w.FormActivate();
        TriggerAction(&w, "mnuDelete");
        QCOMPARE(TableRows("Kosyu4"), QStringList());
        QCOMPARE(ListItems(w.ListBox1), QStringList({"A", "B"}));
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(TableRows("Kosyu4"), QStringList({"A|1", "B|2"}));
    }
};

KANMURI_TEST_MAIN(TestKosyu)
#include "tst_TKosyu.moc"
