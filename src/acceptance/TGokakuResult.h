#pragma once

#include <array>

// One acceptance value: the reference value and how far a weighed value may
// lie above it (0 or more) and below it (0 or less). A judgement with only a
// lower limit has Plus 0.
struct TJudgeEntry
{
    double Base = 0;
    double Plus = 0;
    double Minus = 0;

    // Neither deviation: the value is printed alone, without a range.
    bool HasDeviation() const { return Plus != 0 || Minus != 0; }
    bool IsSymmetric() const { return Plus == -Minus; }
};

// The reference weighings of one batch and the acceptance values Ⅰ (kg) and
// Ⅱ (%) of a mixture at its plant, as TGokakuHanteiti computes them. All
// values are 0 before a calculation and where it stopped.
//
// Material columns 0-11: bins 1-6, Ｒ１, Ｒ２, filler (石粉１ + 石粉２ + 顔料),
// asphalt (アス + ゴム), additive (添加剤), total.
struct TGokakuResult
{
    static constexpr int Columns = 12;
    static constexpr int R1 = 6;
    static constexpr int R2 = 7;
    static constexpr int Filler = 8;
    static constexpr int Asphalt = 9;
    static constexpr int Additive = 10;
    static constexpr int Total = 11;

    double W = 0;      // kg, the plant's batch weighing value (Ｗ)
    double WPrime = 0; // kg, new materials per batch (Ｗ’), with recycled material only
    double Wa = 0;     // kg, aggregate from the hot bins per batch (Ｗａ)
    double A = 0;      // %, asphalt content (Ａ)
    double F = 0;      // %, filler content (Ｆ)
    double S = 0;      // %, share up to the 2.36 mm bin, fine aggregate weighed first
    double G = 0;      // %, the same, coarse aggregate weighed first
    double RPrime = 0; // %, recycled aggregate in the site mix (Ｒ’)
    double Bin236Cumul = 0;
    double Bin236Ratio = 0;
    double AggRatioTotal = 0;

    TJudgeEntry FinalBin;     // kg, "骨材累積最終ビン"
    TJudgeEntry GradingI;     // kg, at the 2.36 mm bin
    TJudgeEntry GradingII;    // %, passing 2.36 mm
    TJudgeEntry FillerI;      // kg
    TJudgeEntry FillerII;     // %
    TJudgeEntry AsphaltI;     // kg
    TJudgeEntry AsphaltII;    // %
    TJudgeEntry RecycledMixI; // kg, "再生混合物累積"
    TJudgeEntry RecycledAggI; // kg, "再生骨材累積"
    TJudgeEntry RecycledRatioII;

    std::array<double, Columns> Ratio{}; // %
    std::array<double, Columns> Mass{};  // kg per batch
    std::array<double, Columns> Cumul{}; // kg, cumulative weighed value

    // Which rule gave the filler's lower limits where two apply (use 0 by
    // "アスファルト舗装再生利用ガイドライン", or without recycled material): the
    // limit of 4.0 kg for Ⅰ, 390 ÷ Ｗａ + 0.06Ｆ for Ⅱ. The sheet prints the
    // formula that gave the value.
    bool FillerILimited = false;
    bool FillerIILimited = false;

    // Ｒ１ or Ｒ２ in the total-basis ratios.
    bool HasRecycled() const { return Ratio[R1] != 0 || Ratio[R2] != 0; }
};
