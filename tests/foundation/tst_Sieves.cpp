#include "foundation/Sieves.h"
#include "support/TTestEnvironment.h"

class TestSieves : public QObject
{
    Q_OBJECT
private slots:
    void series_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("shown");
        QTest::newRow("coarsest") << 1 << "106.0" << 106.0 << "106.0";
        QTest::newRow("9.5") << 10 << "9.5" << 9.5 << "9.5";
        QTest::newRow("just above 1 mm") << 13 << "1.18" << 1.18 << "1.18";
        QTest::newRow("600") << 14 << "0.600" << 0.6 << "600μ";
        QTest::newRow("150") << 17 << "0.150" << 0.15 << "150μ";
        QTest::newRow("finest") << 18 << "0.075" << 0.075 << "75μ";
        QTest::newRow("pan") << 19 << "受皿" << 0.0 << "受皿";
    }
    void series()
    {
        QFETCH(int, number);
        QFETCH(QString, label);
        QFETCH(double, size);
        QFETCH(QString, shown);
        QString out = "old";
        SieveLabel(number, out);
        QCOMPARE(out, label);
        QCOMPARE(SieveSize(number), size);
        QCOMPARE(SieveDisplayLabel(number), shown);
    }

    void openingsGetFinerDownTheSeries()
    {
        for (int n = 2; n <= 18; ++n)
            QVERIFY2(SieveSize(n) < SieveSize(n - 1), qPrintable(QString::number(n)));
    }

    void numbersOutsideTheSeries_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("zero") << 0;
        QTest::newRow("after the pan") << 20;
        QTest::newRow("negative") << -1;
    }
    void numbersOutsideTheSeries()
    {
        QFETCH(int, number);
        QString out = "kept";
        SieveLabel(number, out);
        QCOMPARE(out, QString("kept"));
        QCOMPARE(SieveSize(number), 0.0);
        QCOMPARE(SieveDisplayLabel(number), QString());
    }
};

KANMURI_TEST_MAIN(TestSieves)
#include "tst_Sieves.moc"
