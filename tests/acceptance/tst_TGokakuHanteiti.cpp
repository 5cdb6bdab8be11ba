// The acceptance values: the worked example of a surface course, the uses and
// guidelines, balancing, the 2.36 mm bin, recycled material, and batches
// that cannot be calculated.
#include "acceptance/TGokakuHanteiti.h"
#include "foundation/Settings.h"
#include "mix/ShiftJis.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cmath>

namespace {

using TInput = TGokakuHanteiti::TInput;

// W = 1000 kg, bins 1-4 at 20, 25, 30 and 15 %, filler 4 %, asphalt 6 %,
// fine aggregate first, use 2.
TInput SurfaceCourse()
{
    TInput in;
    in.D = {20, 25, 30, 15, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0};
    in.batchWeight = QStringLiteral("1000");
    in.binNames = {"1番", "2番", "3番", "4番", "", ""};
    in.use = TGokakuHanteiti::SurfaceBinder;
    return in;
}

// Bins 1-4 at 15, 20, 15 and 1.4 %, Ｒ１ 35 %, Ｒ２ 5 %, filler 3.6 %, asphalt
// 4.5 % and additive 0.5 %: Ｗａ’ = 514 kg, Ｗ’ = 600 kg, Ｆ’ = 6 %, Ａ’ = 8.33 %.
TInput WithRecycled(int use, int method, bool ruiseki)
{
    TInput in = SurfaceCourse();
    in.D = {15, 20, 15, 1.4, 0, 0, 35, 5, 3.6, 0, 0, 4.5, 0, 0.5};
    in.use = TGokakuHanteiti::TUse(use);
    in.method = TGokakuHanteiti::TMethod(method);
    in.ruiseki = ruiseki;
    return in;
}

TGokakuResult Computed(const TInput& in, bool expectDone = true)
{
    TGokakuResult r;
    const bool done = TGokakuHanteiti::Compute(in, r);
    if (done != expectDone)
        qWarning("Compute returned %d", int(done));
    return r;
}

QString Cell(const TJudgeEntry& e, bool oneDecimal = false)
{
    return TGokakuHanteiti::EntryText(e, oneDecimal);
}

bool AllFinite(const TGokakuResult& r)
{
    QList<double> all = {r.W,           r.WPrime,      r.Wa,           r.A, r.F, r.S, r.G, r.RPrime,
                         r.Bin236Cumul, r.Bin236Ratio, r.AggRatioTotal};
    for (const TJudgeEntry& e :
         {r.FinalBin, r.GradingI, r.GradingII, r.FillerI, r.FillerII, r.AsphaltI, r.AsphaltII,
          r.RecycledMixI, r.RecycledAggI, r.RecycledRatioII})
        all << e.Base << e.Plus << e.Minus;
    for (int c = 0; c < TGokakuResult::Columns; ++c)
        all << r.Ratio[c] << r.Mass[c] << r.Cumul[c];
    return std::all_of(all.begin(), all.end(), [](double v) { return std::isfinite(v); });
}

bool NoJudgement(const TGokakuResult& r)
{
    for (const TJudgeEntry& e :
         {r.FinalBin, r.GradingI, r.GradingII, r.FillerI, r.FillerII, r.AsphaltI, r.AsphaltII,
          r.RecycledMixI, r.RecycledAggI, r.RecycledRatioII})
        if (e.Base != 0 || e.Plus != 0 || e.Minus != 0)
            return false;
    return true;
}

} // namespace

class TestGokakuHanteiti : public QObject
{
    Q_OBJECT

private slots:
    void workedExampleOfASurfaceCourse()
    {
        const TGokakuResult r = Computed(SurfaceCourse());
        QCOMPARE(r.W, 1000.0);
        QCOMPARE(r.Mass[0], 200.0);
        QCOMPARE(r.Wa, 900.0);
        QCOMPARE(TGokakuHanteiti::Format(r.S, false), QStringLiteral("22.22"));
        QCOMPARE(Cell(r.GradingI), QStringLiteral("200.00(-80.70～80.70)"));
        QCOMPARE(Cell(r.GradingII), QStringLiteral("22.22(-11.00～11.00)"));
        QCOMPARE(Cell(r.FinalBin), QStringLiteral("900.00(-54.00～54.00)"));
        QCOMPARE(Cell(r.FillerI), QStringLiteral("40.00(-9.92～13.44)"));
        QCOMPARE(Cell(r.FillerII), QStringLiteral("4.00(-1.17～1.69)"));
        QCOMPARE(Cell(r.AsphaltI), QStringLiteral("60.00(-4.90～4.90)"));
        QCOMPARE(Cell(r.AsphaltII), QStringLiteral("6.00(-0.80～0.80)"));
        for (const TJudgeEntry& e : {r.RecycledMixI, r.RecycledAggI, r.RecycledRatioII})
            QCOMPARE(Cell(e), QString());
        QCOMPARE(r.WPrime, 0.0);
        QCOMPARE(r.Mass[TGokakuResult::Total], 1000.0);
        QCOMPARE(r.Cumul[TGokakuResult::Total], 1000.0);
        QCOMPARE(r.Cumul[3], 900.0);
        QCOMPARE(r.AggRatioTotal, 90.0);
        QCOMPARE(r.Bin236Cumul, 200.0);
        QCOMPARE(r.Bin236Ratio, 20.0);
        // One decimal for new materials, when the setting asks for it.
        QCOMPARE(Cell(r.GradingI, true), QStringLiteral("200.0(-80.7～80.7)"));
        QCOMPARE(Cell(r.FillerII, true), QStringLiteral("4.0(-1.2～1.7)"));
    }

    void usesWithoutRecycledMaterial()
    {
        TInput in = SurfaceCourse();
        // Use 0: the filler limits of 4.0 kg and 390 ÷ W + 0.06F (0.63) are
        // smaller than the terms (12.72 kg, 1.45 %).
        in.use = TGokakuHanteiti::Stabilised;
        TGokakuResult r = Computed(in);
        QCOMPARE(Cell(r.GradingI), QStringLiteral("200.00(-97.80～97.80)"));
        QCOMPARE(Cell(r.GradingII), QStringLiteral("22.22(-13.00～13.00)"));
        QCOMPARE(Cell(r.FillerI), QStringLiteral("40.00(-4.00～0.00)"));
        QCOMPARE(Cell(r.FillerII), QStringLiteral("4.00(-0.63～0.00)"));
        QVERIFY(r.FillerILimited && r.FillerIILimited);
        QCOMPARE(Cell(r.AsphaltI), QStringLiteral("60.00(-7.00～0.00)"));
        QCOMPARE(Cell(r.AsphaltII), QStringLiteral("6.00(-1.00～0.00)"));

        // Little filler: the terms are the smaller ones.
        in.D[8] = 1;
        in.D[0] = 23;
        r = Computed(in);
        QCOMPARE(Cell(r.FillerI), QStringLiteral("10.00(-3.57～0.00)"));
        QVERIFY(!r.FillerILimited);

        // Use 1 (歩道舗装): no grading values, limits only downwards.
        in = SurfaceCourse();
        in.use = TGokakuHanteiti::Sidewalk;
        r = Computed(in);
        QCOMPARE(Cell(r.GradingI), QString());
        QCOMPARE(Cell(r.GradingII), QString());
        QCOMPARE(Cell(r.FillerI), QStringLiteral("40.00(-12.72～0.00)"));
        QCOMPARE(Cell(r.FillerII), QStringLiteral("4.00(-1.45～0.00)"));
        QCOMPARE(Cell(r.AsphaltI), QStringLiteral("60.00(-7.00～0.00)"));
        QCOMPARE(Cell(r.AsphaltII), QStringLiteral("6.00(-1.00～0.00)"));
        QCOMPARE(Cell(r.FinalBin), QStringLiteral("900.00(-54.00～54.00)"));
    }

    void theAdditiveCountsForTheAsphaltMassOnly()
    {
        TInput in = SurfaceCourse();
        in.D[11] = 5.5;
        in.D[13] = 0.5;
        TGokakuResult r = Computed(in);
        QCOMPARE(r.A, 6.0);
        QCOMPARE(TGokakuHanteiti::Format(r.AsphaltI.Base, false), QStringLiteral("60.00"));
        QCOMPARE(r.AsphaltII.Base, 5.5);
        // With recycled material both count, in mass and in ratio.
        r = Computed(WithRecycled(2, 0, false));
        QCOMPARE(TGokakuHanteiti::Format(r.AsphaltI.Base, false), QStringLiteral("50.00"));
        QCOMPARE(r.AsphaltII.Base, 5.0);
    }

    void theLargestBinTakesUpWhatTheRatiosLeaveOver()
    {
        TInput in = SurfaceCourse();
        in.D[3] = 14.9; // 99.9 % in all
        TGokakuResult r = Computed(in);
        QCOMPARE(r.Mass[2], 301.0);
        QCOMPARE(r.Cumul[2], 751.0);
        QCOMPARE(r.Wa, 900.0);
        QCOMPARE(r.Mass[TGokakuResult::Total], 1000.0);
        QCOMPARE(r.Ratio[TGokakuResult::Total], 99.9);

        // Of two equal largest ratios the first bin takes it.
        in.D = {30, 30, 20, 9, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0}; // 99 %
        r = Computed(in);
        QCOMPARE(r.Mass[0], 310.0);
        QCOMPARE(r.Mass[1], 300.0);
    }

    void theBinNearestTo236mm_data()
    {
        QTest::addColumn<bool>("secondFromEnd");
        QTest::addColumn<int>("bin");
        QTest::newRow("an empty bin before the last moves it back") << false << 3;
        QTest::newRow("setting: always the bin before the last") << true << 4;
    }
    void theBinNearestTo236mm()
    {
        QFETCH(bool, secondFromEnd);
        QFETCH(int, bin);
        TInput in = SurfaceCourse();
        in.coarseFirst = true;
        in.binNames = {"1", "2", "3", "4", "5", ""}; // bin 5 at 0 %
        in.secondFromEnd = secondFromEnd;
        const TGokakuResult r = Computed(in);
        const double cumul[] = {200, 450, 750, 900};
        QCOMPARE(r.Bin236Cumul, cumul[bin - 1]);
        QCOMPARE(r.G, cumul[bin - 1] / 900 * 100);
        QCOMPARE(r.S, 0.0);
        QCOMPARE(r.Bin236Ratio, cumul[bin - 1] / 10);
        // Coarse aggregate first: the share passing is what is left.
        QCOMPARE(r.GradingII.Base, 100 - r.G);
        QCOMPARE(r.GradingI.Plus, 0.01 * 900 * (10.3 - 0.06 * r.G));
    }

    void withRecycledMaterial_data()
    {
        QTest::addColumn<int>("use");
        QTest::addColumn<int>("method");
        QTest::addColumn<QString>("grading");
        QTest::addColumn<QString>("fillerI");
        QTest::addColumn<QString>("fillerII");
        QTest::addColumn<QString>("asphaltI");
        QTest::addColumn<QString>("asphaltII");
        // S’ = 150 ÷ 514 = 29.18 %.
        QTest::newRow("use 0, plant guide") << 0 << 0 << "150.00(-63.47～63.47)"
                                            << "36.00(-10.51～10.51)"
                                            << "3.60(-2.03～2.03)"
                                            << "50.00(-4.62～4.62)"
                                            << "5.00(-1.20～0.00)";
        // The limits: 4.0 kg, and 390 ÷ Ｗａ’ + 0.06Ｆ’ = 1.12 %.
        QTest::newRow("use 0, reuse guideline") << 0 << 1 << "150.00(-53.71～53.71)"
                                                << "36.00(-4.00～0.00)"
                                                << "3.60(-1.12～0.00)"
                                                << "50.00(-3.36～0.00)"
                                                << "5.00(-1.00～0.00)";
        QTest::newRow("use 1, plant guide") << 1 << 0 << "150.00(-49.08～49.08)"
                                            << "36.00(-7.99～7.99)"
                                            << "3.60(-1.61～1.61)"
                                            << "50.00(-2.70～2.70)"
                                            << "5.00(-0.90～0.90)";
        QTest::newRow("use 2, reuse guideline") << 2 << 1 << "150.00(-43.94～43.94)"
                                                << "36.00(-7.99～10.94)"
                                                << "3.60(-1.61～2.33)"
                                                << "50.00(-2.10～2.10)"
                                                << "5.00(-0.80～0.80)";
        // Uses 1 and 2 share one rule per guideline.
        QTest::newRow("use 1, reuse guideline") << 1 << 1 << "150.00(-43.94～43.94)"
                                                << "36.00(-7.99～10.94)"
                                                << "3.60(-1.61～2.33)"
                                                << "50.00(-2.10～2.10)"
                                                << "5.00(-0.80～0.80)";
        QTest::newRow("use 2, plant guide") << 2 << 0 << "150.00(-49.08～49.08)"
                                            << "36.00(-7.99～7.99)"
                                            << "3.60(-1.61～1.61)"
                                            << "50.00(-2.70～2.70)"
                                            << "5.00(-0.90～0.90)";
    }
    void withRecycledMaterial()
    {
        QFETCH(int, use);
        QFETCH(int, method);
        const TGokakuResult r = Computed(WithRecycled(use, method, false));
        QCOMPARE(r.WPrime, 600.0);
        QCOMPARE(r.Wa, 514.0);
        QCOMPARE(r.RPrime, 40.0);
        QTEST(Cell(r.GradingI), "grading");
        QTEST(Cell(r.FillerI), "fillerI");
        QTEST(Cell(r.FillerII), "fillerII");
        QTEST(Cell(r.AsphaltI), "asphaltI");
        QTEST(Cell(r.AsphaltII), "asphaltII");
        // The same for every use and guideline.
        QCOMPARE(Cell(r.RecycledMixI), QStringLiteral("1000.00(-60.00～60.00)"));
        QCOMPARE(Cell(r.RecycledAggI), QStringLiteral("400.00(-20.40～20.40)"));
        QCOMPARE(Cell(r.RecycledRatioII), QStringLiteral("40.00(-6.00～6.00)"));
        QCOMPARE(Cell(r.FinalBin), QStringLiteral("514.00(-30.84～30.84)"));
        QCOMPARE(r.FillerILimited, use == 0 && method == 1);
        QCOMPARE(r.FillerIILimited, use == 0 && method == 1);
    }

    void recycledMaterialWeighedOnTopOfTheLastBin()
    {
        TGokakuResult r = Computed(WithRecycled(2, 0, true));
        QCOMPARE(r.Cumul[TGokakuResult::R1], 864.0);
        QCOMPARE(r.Cumul[TGokakuResult::R2], 914.0);
        QCOMPARE(Cell(r.FinalBin), QStringLiteral("914.00(-54.84～54.84)"));
        QCOMPARE(Cell(r.RecycledAggI), QStringLiteral("914.00(-20.40～20.40)"));
        QCOMPARE(r.AggRatioTotal, 91.4);

        // Balanced: the recycled material lies on the balanced final bin.
        TInput in = WithRecycled(2, 0, true);
        in.D[3] = 1.3;
        r = Computed(in);
        QCOMPARE(r.Wa, 514.0);
        QCOMPARE(r.Cumul[TGokakuResult::R2], r.Wa + r.Mass[6] + r.Mass[7]);
        QCOMPARE(r.RecycledAggI.Base, r.FinalBin.Base);

        // Without Ｒ２ the recycled aggregate is Ｒ１'s cumulative value.
        in = WithRecycled(2, 0, true);
        in.D[6] = 40;
        in.D[7] = 0;
        r = Computed(in);
        QCOMPARE(r.Cumul[TGokakuResult::R2], 0.0);
        QCOMPARE(r.RecycledAggI.Base, 914.0);
    }

    void batchesThatCannotBeCalculatedStop_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QList<double>>("ratios");
        QTest::addColumn<double>("wa");
        const QList<double> surface = {20, 25, 30, 15, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0};
        QTest::newRow("no bin in use")
            << "1000" << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0} << 0.0;
        QTest::newRow("batch value not a number") << "1,000kg" << surface << 0.0;
        QTest::newRow("negative batch value") << "-1000" << surface << -900.0;
        // Balancing takes the last aggregate away.
        QTest::newRow("bin 1 at 10 %, Ｒ１ at 100 %")
            << "1000" << QList<double>{10, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0} << 0.0;
        QTest::newRow("Ｒ１ at 120 %")
            << "1000" << QList<double>{10, 0, 0, 0, 0, 0, 120, 0, 0, 0, 0, 0, 0, 0} << -200.0;
        // New materials of no mass: nothing to divide Ａ’ and Ｆ’ by.
        QTest::newRow("no new material")
            << "1000" << QList<double>{10, 0, 0, 0, 0, 0, 100, 0, -30, 0, 0, 20, 0, 0} << 100.0;
    }
    void batchesThatCannotBeCalculatedStop()
    {
        QFETCH(QString, batch);
        QFETCH(QList<double>, ratios);
        QFETCH(double, wa);
        TInput in = SurfaceCourse();
        in.batchWeight = batch;
        std::copy(ratios.begin(), ratios.end(), in.D.begin());
        const TGokakuResult r = Computed(in, false);
        QVERIFY(AllFinite(r));
        QVERIFY(NoJudgement(r));
        QCOMPARE(r.Wa, wa);
        QCOMPARE(r.WPrime, 0.0);
        QCOMPARE(r.A, 0.0);
        QCOMPARE(r.S, 0.0);
    }

    void noUpsideDownOrMadeUpDeviations()
    {
        // Under 6 % of recycled aggregate the guideline's term is negative.
        TInput in = WithRecycled(2, 0, false);
        in.D[6] = 5;
        in.D[7] = 0;
        in.D[0] = 50;
        TGokakuResult r = Computed(in);
        QCOMPARE(Cell(r.RecycledAggI), QStringLiteral("50.00"));
        QVERIFY(!r.RecycledAggI.HasDeviation());

        // A use the program does not know: the bases, no deviation.
        in = SurfaceCourse();
        in.use = TGokakuHanteiti::TUse(7);
        r = Computed(in);
        QCOMPARE(Cell(r.GradingI), QStringLiteral("200.00"));
        QCOMPARE(Cell(r.FillerI), QStringLiteral("40.00"));
        QCOMPARE(Cell(r.FinalBin), QStringLiteral("900.00(-54.00～54.00)"));
        r = Computed(WithRecycled(-1, 1, false));
        QCOMPARE(Cell(r.RecycledAggI), QStringLiteral("400.00"));
        QCOMPARE(Cell(r.AsphaltII), QStringLiteral("5.00"));
    }

    void anyRatiosGiveNumbersOrStop()
    {
        // Whatever is typed into the ratio grid or stored as the batch value,
        // no value is NaN or infinite.
        QRandomGenerator random(15);
        for (int n = 0; n < 3000; ++n) {
            TInput in;
            for (double& d : in.D)
                d = random.bounded(4) == 0 ? 0 : random.bounded(140.0) - 20;
            in.batchWeight = QString::number(random.bounded(3000) - 200);
            in.coarseFirst = random.bounded(2);
            for (QString& name : in.binNames)
                name = random.bounded(3) ? QStringLiteral("x") : QString();
            in.ruiseki = random.bounded(2);
            in.use = TGokakuHanteiti::TUse(random.bounded(5) - 1);
            in.method = TGokakuHanteiti::TMethod(random.bounded(2));
            in.secondFromEnd = random.bounded(2);
            TGokakuResult r;
            TGokakuHanteiti::Compute(in, r);
            QVERIFY(AllFinite(r));
        }
    }

    void theMixturesPlantComesFromItsMixDataFile()
    {
        const QString folder = TTestEnvironment::Current().NewFolder() + QDir::separator();
        WriteSetting(QStringLiteral("HaigoDataPath"), folder);
        TPlant plant;
        plant.Clear();
        plant.BatchWeight = QStringLiteral("1000");
        plant.BinName = {"1", "2", "3", "4", "", ""};
        QVERIFY(plant.Save(QStringLiteral("標準プラント")));
        plant.Standard = 0;
        plant.BatchWeight = QStringLiteral("2000");
        plant.InitialWeighing = 1;
        QVERIFY(plant.Save(QStringLiteral("第２プラント")));
        QFile goz(folder + QStringLiteral("密粒13.Goz"));
        QVERIFY(goz.open(QIODevice::WriteOnly));
        const QByteArray name = ToShiftJis(u"第２プラント", 32);
        goz.write(char(name.size()) + name + QByteArray(100, '\0'));
        goz.close();

        TGozaiDef mix;
        mix.DataName = QStringLiteral("密粒13");
        mix.Ratios[1]->D = {20, 25, 30, 15, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0};
        TPlant editorPlant;
        TGokakuHanteiti calculator;
        calculator.SetSharedPlant(&editorPlant);
        TGokakuResult r;
        QVERIFY(calculator.Calculate(mix, 2, r));
        QCOMPARE(r.W, 2000.0);
        QCOMPARE(calculator.Plant->Name, QStringLiteral("第２プラント"));
        QCOMPARE(editorPlant.Name, QStringLiteral("第２プラント"));
        QVERIFY(r.G > 0); // coarse aggregate first at that plant

        mix.DataName = QStringLiteral("他の合材");
        QVERIFY(calculator.Calculate(mix, 2, r));
        QCOMPARE(r.W, 1000.0);
        QCOMPARE(editorPlant.Name, QStringLiteral("標準プラント"));
        QCOMPARE(Cell(r.GradingI), QStringLiteral("200.00(-80.70～80.70)"));

        // The setting of the 2.36 mm bin is read for each calculation.
        QVERIFY(!TGokakuHanteiti::SecondFromEndSetting());
        WriteSetting(QStringLiteral("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin"),
                     QStringLiteral("TRUE"));
        QVERIFY(!TGokakuHanteiti::SecondFromEndSetting());
        WriteSetting(QStringLiteral("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin"),
                     QStringLiteral("true"));
        QVERIFY(TGokakuHanteiti::SecondFromEndSetting());
    }
};

KANMURI_TEST_MAIN(TestGokakuHanteiti)
#include "tst_TGokakuHanteiti.moc"
