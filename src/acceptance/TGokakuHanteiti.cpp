#include "acceptance/TGokakuHanteiti.h"

#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBins = 6;

// Halves away from zero, as the sheets have always rounded the totals.
double RoundHalfAway(double x)
{
    return std::round(x);
}

// Every value of the result, to make sure none is NaN or infinite.
bool AllFinite(const TGokakuResult& r)
{
    const double plain[] = {
        r.W,           r.WPrime,      r.Wa,           r.A, r.F, r.S, r.G, r.RPrime,
        r.Bin236Cumul, r.Bin236Ratio, r.AggRatioTotal};
    for (double v : plain)
        if (!std::isfinite(v))
            return false;
    for (const TJudgeEntry* e :
         {&r.FinalBin, &r.GradingI, &r.GradingII, &r.FillerI, &r.FillerII, &r.AsphaltI,
          &r.AsphaltII, &r.RecycledMixI, &r.RecycledAggI, &r.RecycledRatioII})
        if (!std::isfinite(e->Base) || !std::isfinite(e->Plus) || !std::isfinite(e->Minus))
            return false;
    for (const auto* column : {&r.Ratio, &r.Mass, &r.Cumul})
        for (double v : *column)
            if (!std::isfinite(v))
                return false;
    return true;
}

void Symmetric(TJudgeEntry& entry, double deviation)
{
    entry.Plus = deviation;
    entry.Minus = -deviation;
}

void LowerOnly(TJudgeEntry& entry, double deviation)
{
    entry.Plus = 0;
    entry.Minus = -deviation;
}

// The tolerances of one case of the guidelines. Wx is the mass the filler
// and asphalt terms refer to (Ｗ’ with recycled material, else Ｗ).
struct TTolerances
{
    double Wa, Wx, F, A, Z;

    double Grading(double c) const { return 0.01 * Wa * (c - 0.06 * Z); }
    double q(double a, double b) const { return 0.01 * Wx * F * (a - b * F); }
    double f(double a, double b) const { return F * (a - b * F); }
    double g(double c) const { return 0.01 * Wx * (c - 0.06 * A); }
};

// Filler limits downwards of use 0 (recycled by the second guideline, or
// without recycled material): the smaller of the term and its limit.
void LimitedFiller(TGokakuResult& r, const TTolerances& t, double limitII)
{
    const double termI = t.q(0.37, 0.013);
    r.FillerILimited = termI > 4.0;
    LowerOnly(r.FillerI, std::min(termI, 4.0));
    const double termII = t.f(0.41, 0.012);
    r.FillerIILimited = limitII < termII;
    LowerOnly(r.FillerII, std::min(termII, limitII));
}

} // namespace

TGokakuHanteiti::TGokakuHanteiti(QObject* owner) : QObject(owner), Plant(new TPlant(this)) {}

QString TGokakuHanteiti::MethodName(int method)
{
    return method == ReuseGuide ? QStringLiteral("アスファルト舗装再生利用ガイドライン")
                                : QStringLiteral("プラント再生舗装技術指針");
}

QString TGokakuHanteiti::NotCalculatedMessage()
{
    return QStringLiteral("基準骨材計量値が０の為、\n計算ができませんでした。");
}

bool TGokakuHanteiti::OneDecimalSetting()
{
    return ReadSetting(QStringLiteral("GokakuHanteiti_V1keta")) == QStringLiteral("true");
}

bool TGokakuHanteiti::SecondFromEndSetting()
{
    return ReadSetting(
               QStringLiteral("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin")) ==
           QStringLiteral("true");
}

bool TGokakuHanteiti::HasRecycled(const TGozaiDef& def)
{
    const auto& d = def.Ratios[0]->D;
    return d[TGokakuResult::R1] != 0 || d[TGokakuResult::R2] != 0;
}

void TGokakuHanteiti::LoadPlant(const TGozaiDef& def)
{
    const TPlantRecord plant = TGozaiDef::PlantForMix(def.DataName);
    Plant->Assign(plant);
    if (m_shared)
        m_shared->Assign(plant);
}

bool TGokakuHanteiti::Calculate(const TGozaiDef& def, int use, TGokakuResult& result)
{
    result = TGokakuResult();
    LoadPlant(def);
    TInput input;
    input.D = def.Ratios[1]->D;
    input.batchWeight = Plant->BatchWeight;
    input.coarseFirst = Plant->InitialWeighing != 0;
    input.binNames = Plant->BinName;
    input.ruiseki = def.Ruiseki;
    input.use = use;
    input.method = Method;
    input.secondFromEnd = SecondFromEndSetting();
    return Compute(input, result);
}

bool TGokakuHanteiti::Compute(const TInput& in, TGokakuResult& r)
{
    r = TGokakuResult();
    const auto& D = in.D;
    r.W = FloatOrZero(in.batchWeight);
    const double W = r.W;

    // Reference masses of the bins in use and their cumulative values.
    auto buildBins = [&r] {
        double sum = 0;
        for (int i = 0; i < kBins; ++i) {
            if (r.Ratio[i] <= 0)
                continue;
            sum += r.Mass[i];
            r.Cumul[i] = sum;
        }
        r.Wa = sum;
    };
    for (int i = 0; i < kBins; ++i) {
        if (D[i] > 0) {
            r.Ratio[i] = D[i];
            r.Mass[i] = D[i] * W / 100;
        }
    }
    buildBins();
    // Everything further divides by the aggregate mass; a negative batch
    // value would turn every range upside down.
    if (!(W > 0) || !(r.Wa > 0))
        return false;

    auto buildRecycled = [&r, &in] {
        r.Cumul[TGokakuResult::R1] =
            in.ruiseki ? r.Mass[TGokakuResult::R1] + r.Wa : r.Mass[TGokakuResult::R1];
        if (r.Ratio[TGokakuResult::R2] > 0)
            r.Cumul[TGokakuResult::R2] = r.Cumul[TGokakuResult::R1] + r.Mass[TGokakuResult::R2];
    };
    r.Ratio[TGokakuResult::R1] = D[6];
    r.Ratio[TGokakuResult::R2] = D[7];
    r.Mass[TGokakuResult::R1] = D[6] * W / 100;
    r.Mass[TGokakuResult::R2] = D[7] * W / 100;
    buildRecycled();

    for (int i = 0; i < kBins; ++i)
        r.AggRatioTotal += r.Ratio[i];
    if (in.ruiseki)
        r.AggRatioTotal += r.Ratio[TGokakuResult::R1] + r.Ratio[TGokakuResult::R2];

    r.Ratio[TGokakuResult::Filler] = D[8] + D[9] + D[10];
    r.Ratio[TGokakuResult::Asphalt] = D[11] + D[12];
    r.Ratio[TGokakuResult::Additive] = D[13];
    for (int c : {TGokakuResult::Filler, TGokakuResult::Asphalt, TGokakuResult::Additive}) {
        r.Mass[c] = r.Ratio[c] * W / 100;
        r.Cumul[c] = r.Mass[c];
    }

    auto massSum = [&r] {
        double sum = 0;
        for (int i = 0; i < TGokakuResult::Total; ++i)
            sum += r.Mass[i];
        return sum;
    };
    for (int i = 0; i < TGokakuResult::Total; ++i)
        r.Ratio[TGokakuResult::Total] += r.Ratio[i];
    r.Mass[TGokakuResult::Total] = massSum();

    // The bin with the largest ratio takes up what the ratios leave over, so
    // that the batch adds up to W.
    int largest = 0;
    for (int i = 1; i < kBins; ++i)
        if (r.Ratio[i] > r.Ratio[largest])
            largest = i;
    r.Mass[largest] += W - r.Mass[TGokakuResult::Total];
    buildBins();
    if (!(r.Wa > 0))
        return false;
    // Recycled material weighed on top of the last bin counts from the
    // balanced bins, as the final bin does.
    buildRecycled();

    r.Mass[TGokakuResult::Total] = RoundHalfAway(massSum());
    r.Cumul[TGokakuResult::Total] =
        RoundHalfAway(r.Wa + r.Mass[TGokakuResult::R1] + r.Mass[TGokakuResult::R2] +
                      r.Mass[TGokakuResult::Filler] + r.Mass[TGokakuResult::Asphalt] +
                      r.Mass[TGokakuResult::Additive]);

    const bool recycled = r.HasRecycled();
    if (recycled) {
        r.WPrime = massSum() - r.Mass[TGokakuResult::R1] - r.Mass[TGokakuResult::R2];
        if (!(r.WPrime > 0)) {
            r.WPrime = 0;
            return false;
        }
    }

    // The hot bin nearest to 2.36 mm.
    if (!in.coarseFirst) {
        r.Bin236Cumul = r.Cumul[0];
        r.S = r.Cumul[0] / r.Wa * 100;
        r.Bin236Ratio = r.Ratio[0];
    } else {
        int last = 0;
        for (int i = 1; i <= kBins; ++i)
            if (TPlantRecord::IsBinName(in.binNames[i - 1]))
                last = i;
        int k = std::max(1, last - 1);
        if (!in.secondFromEnd && r.Ratio[k] == 0)
            k = std::max(1, k - 1);
        r.Bin236Cumul = r.Cumul[k - 1];
        r.G = r.Cumul[k - 1] / r.Wa * 100;
        if (r.Bin236Cumul != 0)
            for (int i = 0; i < k; ++i)
                r.Bin236Ratio += r.Ratio[i];
    }

    const double Z = in.coarseFirst ? r.G : r.S;
    const double P = in.coarseFirst ? 100 - r.G : r.S;
    const int use = in.use;
    const bool validUse = use >= 0 && use <= 2;
    if (recycled || use != 1) {
        r.GradingI.Base = r.Bin236Cumul;
        r.GradingII.Base = P;
    }

    const bool m1 = in.method == ReuseGuide;
    TTolerances t{};
    if (recycled) {
        const double mR1 = r.Mass[TGokakuResult::R1];
        const double mR2 = r.Mass[TGokakuResult::R2];
        r.FinalBin.Base = in.ruiseki ? r.Wa + mR1 + mR2 : r.Wa;
        Symmetric(r.FinalBin, 0.06 * r.FinalBin.Base);
        r.RPrime = r.Ratio[TGokakuResult::R1] + r.Ratio[TGokakuResult::R2];
        r.A = (r.Mass[TGokakuResult::Asphalt] + r.Mass[TGokakuResult::Additive]) / r.WPrime * 100;
        r.F = r.Mass[TGokakuResult::Filler] / r.WPrime * 100;
        r.FillerI.Base = r.Mass[TGokakuResult::Filler];
        r.FillerII.Base = r.Ratio[TGokakuResult::Filler];
        r.AsphaltI.Base = r.A * r.WPrime / 100;
        r.AsphaltII.Base = r.Ratio[TGokakuResult::Asphalt] + r.Ratio[TGokakuResult::Additive];
        r.RecycledMixI.Base = r.Mass[TGokakuResult::Total];
        Symmetric(r.RecycledMixI, 0.06 * r.RecycledMixI.Base);
        r.RecycledAggI.Base = r.Ratio[TGokakuResult::R2] == 0 ? r.Cumul[TGokakuResult::R1]
                                                              : r.Cumul[TGokakuResult::R2];
        r.RecycledRatioII.Base = r.RPrime;
        if (validUse) {
            // Below about 6 % of recycled aggregate the guideline's term turns
            // negative, which would be a range upside down: no deviation.
            Symmetric(r.RecycledAggI, std::max(0.0, 0.01 * W * (5.64 - 0.06 * (100 - r.RPrime))));
            Symmetric(r.RecycledRatioII, 6.0);
        }
        t = {r.Wa, r.WPrime, r.F, r.A, Z};
        if (use == 0 && !m1) {
            Symmetric(r.GradingI, t.Grading(14.1));
            Symmetric(r.GradingII, 15.0);
            Symmetric(r.FillerI, t.q(0.37, 0.013));
            Symmetric(r.FillerII, t.f(0.41, 0.012));
            Symmetric(r.AsphaltI, t.g(1.27));
            LowerOnly(r.AsphaltII, 1.2);
        } else if (use == 0) {
            Symmetric(r.GradingI, t.Grading(12.2));
            Symmetric(r.GradingII, 13.0);
            LimitedFiller(r, t, 390 / r.Wa + 0.06 * r.F);
            LowerOnly(r.AsphaltI, t.g(1.06));
            LowerOnly(r.AsphaltII, 1.0);
        } else if ((use == 1 || use == 2) && !m1) {
            Symmetric(r.GradingI, t.Grading(11.3));
            Symmetric(r.GradingII, 12.0);
            Symmetric(r.FillerI, t.q(0.30, 0.013));
            Symmetric(r.FillerII, t.f(0.34, 0.012));
            Symmetric(r.AsphaltI, t.g(0.95));
            Symmetric(r.AsphaltII, 0.9);
        } else if (use == 1 || use == 2) {
            Symmetric(r.GradingI, t.Grading(10.3));
            Symmetric(r.GradingII, 11.0);
            r.FillerI.Plus = t.q(0.40, 0.016);
            r.FillerI.Minus = -t.q(0.30, 0.013);
            r.FillerII.Plus = t.f(0.49, 0.017);
            r.FillerII.Minus = -t.f(0.34, 0.012);
            Symmetric(r.AsphaltI, t.g(0.85));
            Symmetric(r.AsphaltII, 0.8);
        }
    } else {
        r.F = r.Ratio[TGokakuResult::Filler];
        r.A = r.Ratio[TGokakuResult::Asphalt] + r.Ratio[TGokakuResult::Additive];
        r.FinalBin.Base = r.Wa;
        Symmetric(r.FinalBin, 0.06 * r.Wa);
        r.FillerI.Base = r.Mass[TGokakuResult::Filler];
        r.FillerII.Base = r.Ratio[TGokakuResult::Filler];
        r.AsphaltI.Base = r.A * W / 100;
        r.AsphaltII.Base = r.Ratio[TGokakuResult::Asphalt];
        t = {r.Wa, W, r.F, r.A, Z};
        if (use == 0) {
            Symmetric(r.GradingI, t.Grading(12.2));
            Symmetric(r.GradingII, 13.0);
            LimitedFiller(r, t, 390 / W + 0.06 * r.F);
            LowerOnly(r.AsphaltI, t.g(1.06));
            LowerOnly(r.AsphaltII, 1.0);
        } else if (use == 1) {
            LowerOnly(r.FillerI, t.q(0.37, 0.013));
            LowerOnly(r.FillerII, t.f(0.41, 0.012));
            LowerOnly(r.AsphaltI, t.g(1.06));
            LowerOnly(r.AsphaltII, 1.0);
        } else if (use == 2) {
            Symmetric(r.GradingI, t.Grading(10.3));
            Symmetric(r.GradingII, 11.0);
            r.FillerI.Plus = t.q(0.40, 0.016);
            r.FillerI.Minus = -t.q(0.30, 0.013);
            r.FillerII.Plus = t.f(0.49, 0.017);
            r.FillerII.Minus = -t.f(0.34, 0.012);
            Symmetric(r.AsphaltI, t.g(0.85));
            Symmetric(r.AsphaltII, 0.8);
        }
    }

    if (!AllFinite(r)) {
        r = TGokakuResult();
        r.W = W;
        return false;
    }
    return true;
}

QString TGokakuHanteiti::Format(double value, bool oneDecimal)
{
    return FormatFixed(value, oneDecimal ? 1 : 2);
}

QString TGokakuHanteiti::EntryText(const TJudgeEntry& entry, bool oneDecimal)
{
    if (entry.Base == 0)
        return QString();
    const QString base = Format(entry.Base, oneDecimal);
    if (!entry.HasDeviation())
        return base;
    return base + u'(' + Format(entry.Minus, oneDecimal) + u'～' + Format(entry.Plus, oneDecimal) +
           u')';
}
