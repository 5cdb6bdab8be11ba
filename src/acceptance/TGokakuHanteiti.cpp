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

using TInput = TGokakuHanteiti::TInput;
using R = TGokakuResult;

double MassSum(const TGokakuResult& r)
{
    double sum = 0;
    for (int i = 0; i < R::Total; ++i)
        sum += r.Mass[i];
    return sum;
}

// The cumulative values of the bins in use and the aggregate mass Ｗａ.
void CumulateBins(TGokakuResult& r)
{
    double sum = 0;
    for (int i = 0; i < kBins; ++i) {
        if (r.Ratio[i] <= 0)
            continue;
        sum += r.Mass[i];
        r.Cumul[i] = sum;
    }
    r.Wa = sum;
}

// Recycled material weighed after the last bin (累積) counts from the
// aggregate's cumulative value, else from zero.
void CumulateRecycled(const TInput& in, TGokakuResult& r)
{
    r.Cumul[R::R1] = in.ruiseki ? r.Mass[R::R1] + r.Wa : r.Mass[R::R1];
    if (r.Ratio[R::R2] > 0)
        r.Cumul[R::R2] = r.Cumul[R::R1] + r.Mass[R::R2];
}

// Ratio, mass and cumulative value of every column from the ratios, before
// balancing. False when there is no batch or no aggregate: everything
// further divides by the aggregate mass, and a negative batch value would
// turn every range upside down.
bool ReferenceMasses(const TInput& in, TGokakuResult& r)
{
    const auto& D = in.D;
    const double W = r.W;
    for (int i = 0; i < kBins; ++i) {
        if (D[i] > 0) {
            r.Ratio[i] = D[i];
            r.Mass[i] = D[i] * W / 100;
        }
    }
    CumulateBins(r);
    if (!(W > 0) || !(r.Wa > 0))
        return false;

    r.Ratio[R::R1] = D[TInput::R1];
    r.Ratio[R::R2] = D[TInput::R2];
    r.Mass[R::R1] = D[TInput::R1] * W / 100;
    r.Mass[R::R2] = D[TInput::R2] * W / 100;
    CumulateRecycled(in, r);

    for (int i = 0; i < kBins; ++i)
        r.AggRatioTotal += r.Ratio[i];
    if (in.ruiseki)
        r.AggRatioTotal += r.Ratio[R::R1] + r.Ratio[R::R2];

    r.Ratio[R::Filler] = D[TInput::Filler1] + D[TInput::Filler2] + D[TInput::Pigment];
    r.Ratio[R::Asphalt] = D[TInput::Asphalt] + D[TInput::Rubber];
    r.Ratio[R::Additive] = D[TInput::Additive];
    for (int c : {R::Filler, R::Asphalt, R::Additive}) {
        r.Mass[c] = r.Ratio[c] * W / 100;
        r.Cumul[c] = r.Mass[c];
    }

    for (int i = 0; i < R::Total; ++i)
        r.Ratio[R::Total] += r.Ratio[i];
    r.Mass[R::Total] = MassSum(r);
    return true;
}

// The bin with the largest ratio takes up what the ratios leave over, so
// that the batch adds up to W; the totals are rounded after it. False when
// that leaves no aggregate.
bool BalanceLargestBin(const TInput& in, TGokakuResult& r)
{
    int largest = 0;
    for (int i = 1; i < kBins; ++i)
        if (r.Ratio[i] > r.Ratio[largest])
            largest = i;
    r.Mass[largest] += r.W - r.Mass[R::Total];
    CumulateBins(r);
    if (!(r.Wa > 0))
        return false;
    // Recycled material weighed on top of the last bin counts from the
    // balanced bins, as the final bin does.
    CumulateRecycled(in, r);

    r.Mass[R::Total] = RoundHalfAway(MassSum(r));
    r.Cumul[R::Total] = RoundHalfAway(r.Wa + r.Mass[R::R1] + r.Mass[R::R2] + r.Mass[R::Filler] +
                                      r.Mass[R::Asphalt] + r.Mass[R::Additive]);
    return true;
}

// With recycled material, the new materials per batch Ｗ’ that the filler
// and asphalt contents refer to. False when there are none.
bool NewMaterialMass(TGokakuResult& r)
{
    if (!r.HasRecycled())
        return true;
    r.WPrime = MassSum(r) - r.Mass[R::R1] - r.Mass[R::R2];
    if (!(r.WPrime > 0)) {
        r.WPrime = 0;
        return false;
    }
    return true;
}

// The hot bin nearest to 2.36 mm: the first with fine aggregate weighed
// first, else the one before the last named bin (or before that, when it
// is empty and the setting does not fix it).
void Bin236(const TInput& in, TGokakuResult& r)
{
    if (!in.coarseFirst) {
        r.Bin236Cumul = r.Cumul[0];
        r.S = r.Cumul[0] / r.Wa * 100;
        r.Bin236Ratio = r.Ratio[0];
        return;
    }
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

// The guideline rules, one per case. Each sets the deviations of grading,
// filler and asphalt.

// Recycled material, "プラント再生舗装技術指針", use 0.
void PlantGuideStabilised(TGokakuResult& r, const TTolerances& t)
{
    Symmetric(r.GradingI, t.Grading(14.1));
    Symmetric(r.GradingII, 15.0);
    Symmetric(r.FillerI, t.q(0.37, 0.013));
    Symmetric(r.FillerII, t.f(0.41, 0.012));
    Symmetric(r.AsphaltI, t.g(1.27));
    LowerOnly(r.AsphaltII, 1.2);
}

// Use 0 by "アスファルト舗装再生利用ガイドライン", or without recycled
// material: lower limits only, the filler's capped (`fillerLimitII` for Ⅱ).
void LimitedStabilised(TGokakuResult& r, const TTolerances& t, double fillerLimitII)
{
    Symmetric(r.GradingI, t.Grading(12.2));
    Symmetric(r.GradingII, 13.0);
    LimitedFiller(r, t, fillerLimitII);
    LowerOnly(r.AsphaltI, t.g(1.06));
    LowerOnly(r.AsphaltII, 1.0);
}

// Recycled material, "プラント再生舗装技術指針", uses 1 and 2.
void PlantGuideSurface(TGokakuResult& r, const TTolerances& t)
{
    Symmetric(r.GradingI, t.Grading(11.3));
    Symmetric(r.GradingII, 12.0);
    Symmetric(r.FillerI, t.q(0.30, 0.013));
    Symmetric(r.FillerII, t.f(0.34, 0.012));
    Symmetric(r.AsphaltI, t.g(0.95));
    Symmetric(r.AsphaltII, 0.9);
}

// Uses 1 and 2 by "アスファルト舗装再生利用ガイドライン", or use 2 without
// recycled material: the filler may lie further above than below.
void ReuseGuideSurface(TGokakuResult& r, const TTolerances& t)
{
    Symmetric(r.GradingI, t.Grading(10.3));
    Symmetric(r.GradingII, 11.0);
    r.FillerI.Plus = t.q(0.40, 0.016);
    r.FillerI.Minus = -t.q(0.30, 0.013);
    r.FillerII.Plus = t.f(0.49, 0.017);
    r.FillerII.Minus = -t.f(0.34, 0.012);
    Symmetric(r.AsphaltI, t.g(0.85));
    Symmetric(r.AsphaltII, 0.8);
}

// Use 1 without recycled material: no grading, lower limits only.
void NewSidewalk(TGokakuResult& r, const TTolerances& t)
{
    LowerOnly(r.FillerI, t.q(0.37, 0.013));
    LowerOnly(r.FillerII, t.f(0.41, 0.012));
    LowerOnly(r.AsphaltI, t.g(1.06));
    LowerOnly(r.AsphaltII, 1.0);
}

bool KnownUse(TGokakuHanteiti::TUse use)
{
    return use >= TGokakuHanteiti::Stabilised && use <= TGokakuHanteiti::SurfaceBinder;
}

// With recycled material: Ａ’ and Ｆ’ refer to Ｗ’, and the recycled
// material has judgement values of its own. `Z` is S’ or G’.
void RecycledTolerances(const TInput& in, TGokakuResult& r, double Z)
{
    const double mR1 = r.Mass[R::R1];
    const double mR2 = r.Mass[R::R2];
    r.FinalBin.Base = in.ruiseki ? r.Wa + mR1 + mR2 : r.Wa;
    Symmetric(r.FinalBin, 0.06 * r.FinalBin.Base);
    r.RPrime = r.Ratio[R::R1] + r.Ratio[R::R2];
    r.A = (r.Mass[R::Asphalt] + r.Mass[R::Additive]) / r.WPrime * 100;
    r.F = r.Mass[R::Filler] / r.WPrime * 100;
    r.FillerI.Base = r.Mass[R::Filler];
    r.FillerII.Base = r.Ratio[R::Filler];
    r.AsphaltI.Base = r.A * r.WPrime / 100;
    r.AsphaltII.Base = r.Ratio[R::Asphalt] + r.Ratio[R::Additive];
    r.RecycledMixI.Base = r.Mass[R::Total];
    Symmetric(r.RecycledMixI, 0.06 * r.RecycledMixI.Base);
    r.RecycledAggI.Base = r.Ratio[R::R2] == 0 ? r.Cumul[R::R1] : r.Cumul[R::R2];
    r.RecycledRatioII.Base = r.RPrime;
    if (KnownUse(in.use)) {
        // Below about 6 % of recycled aggregate the guideline's term turns
        // negative, which would be a range upside down: no deviation.
        Symmetric(r.RecycledAggI, std::max(0.0, 0.01 * r.W * (5.64 - 0.06 * (100 - r.RPrime))));
        Symmetric(r.RecycledRatioII, 6.0);
    }
    const TTolerances t{r.Wa, r.WPrime, r.F, r.A, Z};
    const bool reuseGuide = in.method == TGokakuHanteiti::ReuseGuide;
    switch (in.use) {
    case TGokakuHanteiti::Stabilised:
        if (reuseGuide)
            LimitedStabilised(r, t, 390 / r.Wa + 0.06 * r.F);
        else
            PlantGuideStabilised(r, t);
        break;
    case TGokakuHanteiti::Sidewalk:
    case TGokakuHanteiti::SurfaceBinder:
        if (reuseGuide)
            ReuseGuideSurface(r, t);
        else
            PlantGuideSurface(r, t);
        break;
    }
}

// New materials only: Ａ and Ｆ are the ratios. `Z` is S or G.
void NewMaterialTolerances(const TInput& in, TGokakuResult& r, double Z)
{
    const double W = r.W;
    r.F = r.Ratio[R::Filler];
    r.A = r.Ratio[R::Asphalt] + r.Ratio[R::Additive];
    r.FinalBin.Base = r.Wa;
    Symmetric(r.FinalBin, 0.06 * r.Wa);
    r.FillerI.Base = r.Mass[R::Filler];
    r.FillerII.Base = r.Ratio[R::Filler];
    r.AsphaltI.Base = r.A * W / 100;
    r.AsphaltII.Base = r.Ratio[R::Asphalt];
    const TTolerances t{r.Wa, W, r.F, r.A, Z};
    switch (in.use) {
    case TGokakuHanteiti::Stabilised:
        LimitedStabilised(r, t, 390 / W + 0.06 * r.F);
        break;
    case TGokakuHanteiti::Sidewalk:
        NewSidewalk(r, t);
        break;
    case TGokakuHanteiti::SurfaceBinder:
        ReuseGuideSurface(r, t);
        break;
    }
}

// The judgement values: the reference values of every use, and the
// deviations of the guideline rule for the use and method.
void ApplyTolerances(const TInput& in, TGokakuResult& r)
{
    const double Z = in.coarseFirst ? r.G : r.S;
    const double P = in.coarseFirst ? 100 - r.G : r.S;
    const bool recycled = r.HasRecycled();
    if (recycled || in.use != TGokakuHanteiti::Sidewalk) {
        r.GradingI.Base = r.Bin236Cumul;
        r.GradingII.Base = P;
    }
    if (recycled)
        RecycledTolerances(in, r, Z);
    else
        NewMaterialTolerances(in, r, Z);
}

} // namespace

TGokakuHanteiti::TGokakuHanteiti(QObject* owner) : QObject(owner), Plant(new TPlant(this)) {}

QString TGokakuHanteiti::MethodName(TMethod method)
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
    return d[TInput::R1] != 0 || d[TInput::R2] != 0;
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
    input.use = TUse(use);
    input.method = Method;
    input.secondFromEnd = SecondFromEndSetting();
    return Compute(input, result);
}

bool TGokakuHanteiti::Compute(const TInput& in, TGokakuResult& r)
{
    r = TGokakuResult();
    r.W = FloatOrZero(in.batchWeight);
    // Each step reads what the ones before it left in the result; a step
    // that finds nothing to divide by stops the calculation there.
    if (!ReferenceMasses(in, r) || !BalanceLargestBin(in, r) || !NewMaterialMass(r))
        return false;
    Bin236(in, r);
    ApplyTolerances(in, r);
    if (!AllFinite(r)) {
        const double W = r.W;
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
