#include "foundation/EKanmuriError.h"
#include "foundation/Rows.h"
#include "mix/THotbinHaigoritu.h"
#include "support/TTestEnvironment.h"

class TestHotbinHaigoritu : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void tableIsCreatedOnlyAfterYes()
    {
        TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;
        THotbinHaigoritu r;
        prompt.AnswerNext(false);
        QVERIFY(!r.EnsureTables(TPrompt::YesNo));
        QCOMPARE(prompt.Texts("yesno"), QStringList("データを作成しますか?"));
        QCOMPARE(prompt.shown.last().caption, QString("HBHaigoritu.DB"));
        // Without the table every load fails with the engine's error.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, r.LoadById(1));

        prompt.AnswerNext(true);
        QVERIFY(!r.EnsureTables(TPrompt::YesNo));
        QStringList columns = {"ID INTEGER"};
        for (int i = 0; i < 14; ++i)
            columns << QString("D%1 DOUBLE").arg(i, 2, 10, QChar('0'));
        QCOMPARE(ColumnsWithTypes("HBHaigoritu"), columns);
        prompt.Clear();
        QVERIFY(r.EnsureTables(TPrompt::YesNo));
        QVERIFY(prompt.shown.isEmpty());
    }

    void missingIdLoadsZerosAndSavesUnderTheNextId()
    {
        TTestEnvironment::Current().prompt.AnswerNext(true);
        THotbinHaigoritu r;
        r.EnsureTables(TPrompt::YesNo);
        QCOMPARE(r.NextId(), 1);
        r.D[0] = 40;
        r.Save();
        QCOMPARE(r.ID, 1);

        r.D[3] = 9;
        r.LoadById(7);
        QCOMPARE(r.ID, 7);
        QCOMPARE(r.D, (std::array<double, 14>{}));
        for (int i = 0; i < 14; ++i)
            r.D[i] = i + 1.0 / 3;
        r.Save();
        QCOMPARE(r.ID, 2);
        r.D[13] = 0.25;
        r.Save();
        QCOMPARE(r.ID, 2);
        QCOMPARE(TableRows("HBHaigoritu").size(), 2);

        THotbinHaigoritu check;
        check.LoadById(2);
        QCOMPARE(check.ID, 2);
        for (int i = 0; i < 13; ++i)
            QCOMPARE(check.D[i], i + 1.0 / 3); // full precision, in column order
        QCOMPARE(check.D[13], 0.25);
        check.LoadById(1);
        QCOMPARE(check.D[0], 40.0);
        QCOMPARE(check.D[1], 0.0);

        check.Delete();
        QCOMPARE(TableRows("HBHaigoritu").size(), 1);
        QCOMPARE(check.NextId(), 3);
    }
};

KANMURI_TEST_MAIN(TestHotbinHaigoritu)
#include "foundation/TPrompt.h"
#include "tst_THotbinHaigoritu.moc"
