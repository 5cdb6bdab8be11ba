#include "foundation/Rows.h"
#include "mix/TRyudoRange.h"
#include "support/TTestEnvironment.h"

class TestRyudoRange : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void tableIsCreatedOnlyAfterYes()
    {
        TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;
        prompt.AnswerNext(false);
        QVERIFY(!TRyudoRange().EnsureTables(TPrompt::YesNo));
        QCOMPARE(prompt.Texts("yesno"), QStringList("データを作成しますか?"));
        QCOMPARE(prompt.shown.last().caption, QString("RyudoRange.DB"));
        QVERIFY(ColumnsWithTypes("RyudoRange").isEmpty());

        prompt.AnswerNext(true);
        QVERIFY(!TRyudoRange().EnsureTables(TPrompt::YesNo));
        QStringList expected = {"ID INTEGER"};
        for (int i = 0; i < 20; ++i)
            expected << QString("R%1 VARCHAR(10)").arg(i);
        QCOMPARE(ColumnsWithTypes("RyudoRange"), expected);
        QVERIFY(TRyudoRange().EnsureTables(TPrompt::YesNo));
        QCOMPARE(prompt.Texts("yesno").size(), 2);
    }

    void missingIdLoadsEmptyAndSavesUnderTheNextId()
    {
        TTestEnvironment::Current().prompt.AnswerNext(true);
        TRyudoRange r;
        r.EnsureTables(TPrompt::YesNo);
        r.Values[0] = "100";
        r.Save();
        QCOMPARE(r.ID, 1);

        r.LoadById(5);
        QCOMPARE(r.ID, 5);
        QVERIFY(r.IsEmpty());
        r.Values[0] = "-";
        QVERIFY(!r.IsEmpty());
        r.Values[19] = "85_100";
        r.Save();
        QCOMPARE(r.ID, 2);
        r.Values[19] = "90_100";
        r.Save();
        QCOMPARE(r.ID, 2);
        QCOMPARE(TableRows("RyudoRange"),
                 QStringList({"1|100" + QString("|").repeated(19),
                              "2|-" + QString("|").repeated(19) + "90_100"}));

        r.LoadById(1);
        QCOMPARE(r.Values[0], QString("100"));
        QCOMPARE(r.Values[19], QString());
        r.Delete();
        QCOMPARE(TableRows("RyudoRange").size(), 1);
        QCOMPARE(r.NextId(), 3);
    }
};

KANMURI_TEST_MAIN(TestRyudoRange)
#include "foundation/TPrompt.h"
#include "tst_TRyudoRange.moc"
