#include "foundation/DateTime.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "store/Derivation.h"
#include "store/HojituGrid.h"
#include "support/TTestEnvironment.h"

namespace {

using TValues = THojituLine4::TValues;

// A day as typed: length 100, width 3.5, thickness 5, densities 2.35 and 2.30,
// site tonnage 40, binder 5.8 % and plant binder 2.3 t, filler 4.5 % and
// plant filler 1.7 t.
TValues TypedDay()
{
    TValues v{};
    v[0] = 100;
    v[1] = 3.5;
    v[4] = 5;
    v[6] = 2.35;
    v[7] = 2.30;
    v[10] = 40;
    v[13] = v[14] = v[15] = 5.8;
    v[19] = 2.3;
    v[23] = v[24] = v[25] = 4.5;
    v[29] = 1.7;
    return v;
}

} // namespace

class TestDerivation : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void derivesAreasTonnagesAmountsAndDifferences()
    {
        TValues v = TypedDay();
        DeriveDay(v, false);
        QCOMPARE(v[2], 350.0);
        QCOMPARE(v[3], 350.0);
        QCOMPARE(v[5], 5.0);
        QCOMPARE(v[8], 350 * 5 * 2.35 * 0.01);
        QCOMPARE(v[9], 350 * 5 * 2.30 * 0.01);
        QCOMPARE(v[16], v[8] * 5.8 / 100);
        QCOMPARE(v[17], v[9] * 5.8 / 100);
        QCOMPARE(v[18], 40 * 5.8 / 100);
        QCOMPARE(v[26], v[8] * 4.5 / 100);
        QCOMPARE(v[27], v[9] * 4.5 / 100);
        QCOMPARE(v[28], 40 * 4.5 / 100);
        // Design/actual minus site and plant.
        QCOMPARE(v[11], v[8] - 40);
        QCOMPARE(v[12], v[9] - 40);
        QCOMPARE(v[20], v[16] - 2.3);
        QCOMPARE(v[21], v[17] - 2.3);
        QCOMPARE(v[22], v[18] - 2.3);
        QCOMPARE(v[30], v[26] - 1.7);
        QCOMPARE(v[31], v[27] - 1.7);
        QCOMPARE(v[32], v[28] - 1.7);

        // Actual minus design: every difference turns round.
        TValues reversed = TypedDay();
        DeriveDay(reversed, true);
        for (int p : {11, 12, 20, 21, 22, 30, 31, 32})
            QCOMPARE(reversed[p], -v[p]);
        for (int p : {2, 3, 5, 8, 9, 16, 17, 18, 26, 27, 28})
            QCOMPARE(reversed[p], v[p]);
    }

    void zeroCountsAsEmptyAndDerivedValuesStay()
    {
        TValues v = TypedDay();
        v[2] = 300; // typed by the user: kept
        v[5] = 4;   // an actual thickness of its own
        DeriveDay(v, false);
        QCOMPARE(v[2], 300.0);
        QCOMPARE(v[3], 350.0);
        QCOMPARE(v[5], 4.0);
        QCOMPARE(v[8], 300 * 5 * 2.35 * 0.01);

        // A later change of the thickness leaves the derived tonnage, but the
        // amounts and differences follow it.
        const double tonnage = v[8];
        v[4] = 6;
        v[13] = 6.0;
        DeriveDay(v, false);
        QCOMPARE(v[8], tonnage);
        QCOMPARE(v[16], tonnage * 6.0 / 100);
        // Zeroed, it is derived again.
        v[8] = 0;
        DeriveDay(v, false);
        QCOMPARE(v[8], 300 * 6 * 2.35 * 0.01);

        // No design thickness: the actual one stays 0.
        TValues empty{};
        DeriveDay(empty, false);
        QCOMPARE(empty[5], 0.0);
        QCOMPARE(empty[8], 0.0);
    }

    void gridPositionsFollowTheColumnsAndRows()
    {
        using namespace HojituGrid;
        QCOMPARE(EntryCell(2), (TCell{1, 3}));
        QCOMPARE(EntryCell(3), (TCell{1, 4}));
        QCOMPARE(EntryCell(10), (TCell{4, 5}));
        QCOMPARE(EntryCell(19), (TCell{7, 6}));
        QCOMPARE(EntryCell(29), (TCell{10, 6}));
        QCOMPARE(EntryCell(32), (TCell{11, 5}));
        QCOMPARE(TotalCell(19), (TCell{7, 11}));
        QCOMPARE(EntryCell(1), TCell{});
        for (int p = 2; p <= 32; ++p)
            QCOMPARE(PositionAt(EntryCell(p).Col, EntryCell(p).Row), p);
        // Cells without a value: site and plant of the areas, plant of a ratio.
        for (auto [col, row] : {std::pair{1, 5}, {1, 6}, {3, 6}, {5, 5}, {6, 6}, {11, 6}, {4, 7}})
            QCOMPARE(PositionAt(col, row), -1);
    }

    void mixtureGivesDensityAndRatioSums()
    {
        TGozaiDef mix;
        mix.Mitudo[2] = "2.350";
        auto& d = mix.Ratios[1]->D;
        d[8] = 4.0;                // filler 1
        d[9] = 0.25;               // filler 2
        d[10] = 0.5;               // pigment
        d[11] = 5.5;               // asphalt
        d[12] = 0.2;               // rubber
        d[13] = 0.1;               // additive
        mix.Ratios[0]->D[11] = 99; // the aggregate basis is not used
        const TMixPrefill prefill = MixPrefill(mix);
        QCOMPARE(prefill.Density, QString("2.350"));
        QCOMPARE(prefill.Binder, QString("5.8"));
        QCOMPARE(prefill.Filler, QString("4.75"));
    }

    void coreDensityComesFromTheFirstMatchingRow()
    {
        QString density = "unchanged";
        QVERIFY(!CoreDensity("K001", "密粒度13", density)); // no table: no error
        QCOMPARE(density, QString("unchanged"));
        TDatabase::CreateTable("CoreHead", {{"KojiCode", TFieldType::String, 8},
                                            {"GozaiName", TFieldType::String, 64},
                                            {"MitudoPer", TFieldType::Float}});
        TQuery("insert into CoreHead values ('K001', '粗粒度20', 2.28), ('K001', '密粒度13', "
               "2.31), ('K001', '密粒度13', 2.40)")
            .Exec();
        QVERIFY(CoreDensity("K001", "密粒度13", density));
        QCOMPARE(density, QString("2.31"));
        QVERIFY(!CoreDensity("K002", "密粒度13", density));
    }

    void saveNeedsTheThreeKeysAndAReadableDate()
    {
        TDateTime date = -1;
        QCOMPARE(SaveProblem("K001", "表層工", "密粒度13", "2026/04/01", date), QString());
        QCOMPARE(date, EncodeDate(2026, 4, 1));
        QVERIFY(SaveProblem(" ", "表層工", "", "2026/04/01", date).startsWith("工事名・合材名"));
        QVERIFY(SaveProblem("K001", "表層工", "密粒度13", "", date).contains("日付"));
        QVERIFY(
            SaveProblem("K001", "表層工", "密粒度13", "2026/13/01", date).contains("2026/13/01"));
        // The origin of the calendar typed as such is a date like any other.
        QCOMPARE(SaveProblem("K001", "表層工", "密粒度13", "1899/12/30", date), QString());
        QCOMPARE(date, 0.0);
    }
};

KANMURI_TEST_MAIN(TestDerivation)
#include "tst_Derivation.moc"
