#pragma once

#include "acceptance/TGokakuResult.h"
#include "mix/TPlantRecord.h"
#include "print/TDeviceMetrics.h"

#include <QString>
#include <functional>

class TCanvas;

// What the acceptance criteria sheet is printed with: the font, the shift of
// the whole page right and down (mm) and the stretch across and down (%).
struct TAcceptancePrintSettings
{
    QString fontName;
    int leftMm = 26;
    int topMm = 30;
    int zoomX = 100;
    int zoomY = 100;

    // As the print settings window starts: the "hin_" settings, the fixed
    // values when "hin_fitprn" is "true", the defaults where nothing is
    // stored.
    static TAcceptancePrintSettings Stored();
};

// The acceptance criteria sheet, two portrait pages drawn from one
// calculation: "計量自記記録合格判定値", the summary with the ranges, and
// "計量自記記録の合格判定値計算表", the calculation with the formula of every
// value. Drawn without widgets, so that the command line writes it too.
class TAcceptanceSheet
{
public:
    static QString Title() { return QStringLiteral("計量自記記録の合格判定値計算表"); }

    // The pen width in printer pixels for a line n tenths of a screen pixel
    // thick (the preview's PenWidthFor).
    using TPenWidth = std::function<int(int n)>;

    struct TPage
    {
        QString fontName;
        int leftMm = 0; // the page offset, from the print settings
        int topMm = 0;
        TPenWidth penWidth;
    };

    // `result` as Calculate left it (zeros where it stopped).
    TAcceptanceSheet(const TGokakuResult& result, const TPlantRecord& plant,
                     const QString& printName, int use, int method, bool oneDecimalSetting);

    // Page 1 and page 2 on the canvas of the page being drawn. Each sets the
    // page offset for its own drawing and puts the previous one back.
    void DrawAcceptanceSummary(TCanvas& canvas, const TPage& page) const;
    void DrawAcceptanceCalcSheet(TCanvas& canvas, const TPage& page) const;

    // Both pages for the program's PDF printer, written to `file` with the
    // stretch of `settings`; the file is replaced only once it is whole.
    void WritePdf(const QString& file, const TAcceptancePrintSettings& settings) const;
    // The PDF printer's page: A4 portrait at 1200 dpi, without margins.
    static TDeviceMetrics PdfDevice();
    // The preview's pen widths on a screen of `screenDpi`.
    static TPenWidth PenWidthOn(const TDeviceMetrics& device, int screenDpi);

    // The texts of page 2 for an entry, for the sheet and its tests.
    enum class TEntry
    {
        FinalBin,
        GradingI,
        FillerI,
        AsphaltI,
        RecycledMixI,
        RecycledAggI,
        GradingII,
        FillerII,
        AsphaltII,
        RecycledRatioII,
    };
    QString FormulaText(TEntry entry) const;
    // "lo～hi", "lo以上" or "hi以下" of an entry's values rounded to the
    // sheet's format; empty without a deviation.
    QString RangeText(const TJudgeEntry& entry) const;
    QString Number(double value) const;
    bool OneDecimal() const { return m_oneDecimal; }

private:
    const TJudgeEntry& EntryOf(TEntry entry) const;
    void DrawSummaryFrame(TCanvas& canvas, const TPage& page) const;
    void DrawSummaryValues(TCanvas& canvas, const TPage& page) const;
    void DrawSummaryEntry(TCanvas& canvas, const TJudgeEntry& entry, float left, float middle,
                          float right, float top) const;
    void DrawCalcFrame(TCanvas& canvas, const TPage& page) const;
    void DrawCalcValues(TCanvas& canvas, const TPage& page) const;
    void DrawCalcRow(TCanvas& canvas, TEntry entry, float top, float bottom) const;
    void DrawSymbols(TCanvas& canvas) const;
    // The columns of page 2's material table: the named bins, then the
    // fixed ones, as result columns.
    QList<int> MaterialColumns() const;

    TGokakuResult m_result;
    TPlantRecord m_plant;
    QString m_printName;
    int m_use;
    int m_method;
    bool m_recycled;
    bool m_oneDecimal;
    bool m_coarseFirst;
};
