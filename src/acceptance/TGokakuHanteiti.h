#pragma once

#include "acceptance/TGokakuResult.h"

#include <QObject>
#include <QString>
#include <array>

class TGozaiDef;
class TPlant;

// The acceptance values of the automatic weighing records (計量自記記録の合格
// 判定値) of a mixture at the plant that makes it: the reference weighing of
// each material per batch and the judgement values Ⅰ and Ⅱ, by the plant
// guidelines. Without windows, so the window, the sheet and the command line
// share it.
class TGokakuHanteiti : public QObject
{
    Q_OBJECT
public:
    // The guideline for a mixture with recycled material.
    enum TMethod : int
    {
        PlantGuide = 0, // "プラント再生舗装技術指針"
        ReuseGuide = 1, // "アスファルト舗装再生利用ガイドライン"
    };

    // What the mixture is for (the mixture's Kosyu). A stored value outside
    // these is kept: it gets the reference values without deviations.
    enum TUse : int
    {
        Stabilised = 0,    // "安定処理"
        Sidewalk = 1,      // "歩道舗装"
        SurfaceBinder = 2, // "表層基層（中間層）"
    };

    explicit TGokakuHanteiti(QObject* owner = nullptr);

    // It matters only with recycled material.
    TMethod Method = PlantGuide;
    // The plant of the mixture last calculated; owned.
    TPlant* Plant;
    // A plant record that is loaded with the mixture's plant as well: the
    // mix editor's, so that it shows the plant of the mixture it edits.
    void SetSharedPlant(TPlant* plant) { m_shared = plant; }

    static QString MethodName(TMethod method);
    // The message when the batch cannot be calculated (nothing to divide by).
    static QString NotCalculatedMessage();

    // The settings "GokakuHanteiti_V1keta" (new materials with one decimal)
    // and "GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin".
    static bool OneDecimalSetting();
    static bool SecondFromEndSetting();
    // Ｒ１ or Ｒ２ in the aggregate-basis ratios: what the window asks the
    // method for and formats by.
    static bool HasRecycled(const TGozaiDef& def);

    // The plant that makes the mixture (the standard plant, or the one its
    // mix data file names) into Plant and the shared plant. An unreachable
    // mix data folder is an EKanmuriError.
    void LoadPlant(const TGozaiDef& def);
    // Loads the plant and calculates the mixture for `use` (its Kosyu).
    // False when it had to stop (NotCalculatedMessage): `result` then holds
    // what was computed before the stop and zeros elsewhere.
    bool Calculate(const TGozaiDef& def, int use, TGokakuResult& result);

    // What the calculation depends on.
    struct TInput
    {
        // The columns of D after the six bins.
        static constexpr int R1 = 6;
        static constexpr int R2 = 7;
        static constexpr int Filler1 = 8; // "石粉１"
        static constexpr int Filler2 = 9; // "石粉２"
        static constexpr int Pigment = 10;
        static constexpr int Asphalt = 11;
        static constexpr int Rubber = 12;
        static constexpr int Additive = 13;

        std::array<double, 14> D{}; // total-basis ratios, material column order
        QString batchWeight;        // the plant's "バッチの計量値"
        bool coarseFirst = false;   // "粗骨計量"
        std::array<QString, 6> binNames;
        bool ruiseki = false;
        TUse use = Stabilised;
        TMethod method = PlantGuide;
        bool secondFromEnd = false;
    };
    static bool Compute(const TInput& input, TGokakuResult& result);

    // A value in the format of the window and the sheet: "0.00", or "0.0"
    // for new materials when the setting asks for it.
    static QString Format(double value, bool oneDecimal);
    // A judgement cell of the window: base(minus～plus); empty for a base of
    // 0, the base alone without a deviation.
    static QString EntryText(const TJudgeEntry& entry, bool oneDecimal);

private:
    TPlant* m_shared = nullptr;
};
