#include "acceptance/TAcceptanceSheet.h"

#include "acceptance/TGokakuHanteiti.h"
#include "foundation/Conversions.h"
#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"
#include "print/CmDrawing.h"
#include "print/PdfFile.h"
#include "print/TCanvas.h"
#include "print/TPageOffset.h"
#include "print/TPageStore.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr float kWidth = 15.8f;
constexpr float kHeight = 23.7f;

// Pens: frames heavy, rules thin, what belongs to the values in between.
constexpr int kHeavy = 10;
constexpr int kThin = 3;
constexpr int kValue = 4;

// Page 1: the judgement table has thirteen rows, the headings and six
// entries of two rows each.
constexpr float kJudgeTop = 9.5f;
constexpr float kRowH = 11.0f / 13.0f;

float JudgeRow(int row)
{
    return kJudgeTop + kRowH * float(row);
}

// Page 2: the title line, the material table (headings and three rows), the
// symbols, then the judgement table with six rows for Ⅰ and four for Ⅱ.
constexpr float kTitleBottom = 0.8f;
constexpr float kMaterialHeadBottom = 1.7f;
constexpr float kMaterialRowH = 0.9f;
constexpr float kMaterialBottom = kMaterialHeadBottom + 3 * kMaterialRowH; // 4.4
constexpr float kMaterialLeft = 2.7f;
constexpr float kSymbolTop = 4.65f;
constexpr float kSymbolH = 0.4f;
constexpr float kCalcHead = 8.25f;
constexpr float kCalcTop = 9.55f;
constexpr float kCalcBottom = 22.45f;
constexpr int kSlots = 10;
constexpr float kSlotH = (kCalcBottom - kCalcTop) / kSlots;
constexpr int kFirstII = 6;

float Slot(int slot)
{
    return kCalcTop + kSlotH * float(slot);
}

void Text(TCanvas& canvas, const QString& text, TBoxAlign align, float left, float top, float right,
          float bottom, bool vertical = false)
{
    DrawBoxText(canvas, text, align, left, top, right, bottom, vertical, 1);
}

// Drawn at `points`, or smaller so that `sample` fits `widthCm`.
void FittedText(TCanvas& canvas, int points, const QString& sample, double widthCm,
                const QString& text, TBoxAlign align, float left, float top, float right,
                float bottom, bool vertical = false)
{
    const int original = canvas.FontSize();
    canvas.SetFontSize(points);
    canvas.SetFontSize(FitFontSize(canvas, sample, widthCm));
    Text(canvas, text, align, left, top, right, bottom, vertical);
    canvas.SetFontSize(original);
}

// The widest of texts split at "\\" (each part is drawn on its own line).
QString WidestPart(TCanvas& canvas, const QString& text)
{
    QString widest;
    for (const QString& part : text.split(QStringLiteral("\\\\")))
        if (TextWidthCm(canvas, part) > TextWidthCm(canvas, widest))
            widest = part;
    return widest;
}

void Line(TCanvas& canvas, float x1, float y1, float x2, float y2, bool dotted = false)
{
    if (dotted)
        canvas.SetPenStyle(Qt::DotLine);
    DrawLineCm(canvas, x1, y1, x2, y2, 1);
}

void Rect(TCanvas& canvas, float left, float top, float right, float bottom)
{
    DrawRectCm(canvas, left, top, right, bottom, 1);
}

// Lines of text stacked in equal parts of the box, each centred.
void Stacked(TCanvas& canvas, const QStringList& lines, float left, float top, float right,
             float bottom)
{
    const float h = (bottom - top) / float(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const float y = top + h * float(i);
        FittedText(canvas, canvas.FontSize(), lines[i], right - left - 0.2, lines[i], baCenter,
                   left, y, right, y + h);
    }
}

void BeginPage(TCanvas& canvas, const QString& fontName)
{
    // No font chosen (the saved one is not offered): the page's own font.
    if (!fontName.isEmpty())
        canvas.SetFontName(fontName);
    canvas.SetFontSize(10);
    canvas.SetFontBold(false);
    canvas.SetFontItalic(false);
    canvas.SetFontUnderline(false);
    canvas.SetFontColor(Qt::black);
    canvas.SetPenStyle(Qt::SolidLine);
}

int SettingOr(const QString& name, int fallback)
{
    const QString text = ReadSetting(name);
    return text.isEmpty() ? fallback : IntegerOrZero(text);
}

} // namespace

TAcceptancePrintSettings TAcceptancePrintSettings::Stored()
{
    TAcceptancePrintSettings s;
    const QString font = ReadSetting(QStringLiteral("hin_prnfont"));
    s.fontName = font.isEmpty() ? QStringLiteral("ＭＳ ゴシック") : font;
    if (ReadSetting(QStringLiteral("hin_fitprn")) == QStringLiteral("true")) {
        s.leftMm = 20;
        s.topMm = 10;
        s.zoomX = 112;
        s.zoomY = 116;
        return s;
    }
    // Held to the limits of the print settings window, as it would hold them.
    s.leftMm = std::clamp(SettingOr(QStringLiteral("hin_prnleft"), 26), -100, 100);
    s.topMm = std::clamp(SettingOr(QStringLiteral("hin_prntop"), 30), -100, 100);
    s.zoomX = std::clamp(SettingOr(QStringLiteral("hin_prnZoomX"), 100), 1, 300);
    s.zoomY = std::clamp(SettingOr(QStringLiteral("hin_prnZoomY"), 100), 1, 300);
    return s;
}

TAcceptanceSheet::TAcceptanceSheet(const TGokakuResult& result, const TPlantRecord& plant,
                                   const QString& printName, int use, int method,
                                   bool oneDecimalSetting)
    : m_result(result), m_plant(plant), m_printName(printName), m_use(use), m_method(method),
      m_recycled(result.HasRecycled()), m_oneDecimal(!m_recycled && oneDecimalSetting),
      m_coarseFirst(plant.InitialWeighing != 0)
{
}

QString TAcceptanceSheet::Number(double value) const
{
    return TGokakuHanteiti::Format(value, m_oneDecimal);
}

QString TAcceptanceSheet::RangeText(const TJudgeEntry& entry) const
{
    if (!entry.HasDeviation())
        return QString();
    const auto rounded = [this](double v) { return Number(v).toDouble(); };
    const double base = rounded(entry.Base);
    const QString lo = Number(base + rounded(entry.Minus));
    const QString hi = Number(base + rounded(entry.Plus));
    if (entry.Plus == 0)
        return lo + QStringLiteral("以上");
    if (entry.Minus == 0)
        return hi + QStringLiteral("以下");
    return lo + u'～' + hi;
}

const TJudgeEntry& TAcceptanceSheet::EntryOf(TEntry entry) const
{
    const TGokakuResult& r = m_result;
    switch (entry) {
    case TEntry::FinalBin:
        return r.FinalBin;
    case TEntry::GradingI:
        return r.GradingI;
    case TEntry::FillerI:
        return r.FillerI;
    case TEntry::AsphaltI:
        return r.AsphaltI;
    case TEntry::RecycledMixI:
        return r.RecycledMixI;
    case TEntry::RecycledAggI:
        return r.RecycledAggI;
    case TEntry::GradingII:
        return r.GradingII;
    case TEntry::FillerII:
        return r.FillerII;
    case TEntry::AsphaltII:
        return r.AsphaltII;
    case TEntry::RecycledRatioII:
        break;
    }
    return r.RecycledRatioII;
}

namespace {

// The rows of the guidelines' tables: with recycled material (R) uses 1 and
// 2 share one, by either method (m0, m1); without it (N) one per use. An
// unknown use has none.
enum class TGuideRow
{
    None,
    R0m0,
    R0m1,
    R12m0,
    R12m1,
    N0,
    N1,
    N2
};

TGuideRow GuideRow(bool recycled, bool reuseGuide, int use)
{
    if (recycled && use == 0)
        return reuseGuide ? TGuideRow::R0m1 : TGuideRow::R0m0;
    if (recycled && (use == 1 || use == 2))
        return reuseGuide ? TGuideRow::R12m1 : TGuideRow::R12m0;
    if (!recycled && use == 0)
        return TGuideRow::N0;
    if (!recycled && use == 1)
        return TGuideRow::N1;
    if (!recycled && use == 2)
        return TGuideRow::N2;
    return TGuideRow::None;
}

// The constant of the grading term and the tolerance of Ⅱ; null where the
// row has no grading values.
const char* GradingConstant(TGuideRow row)
{
    switch (row) {
    case TGuideRow::R0m0:
        return "14.1";
    case TGuideRow::R0m1:
    case TGuideRow::N0:
        return "12.2";
    case TGuideRow::R12m0:
        return "11.3";
    case TGuideRow::R12m1:
    case TGuideRow::N2:
        return "10.3";
    default:
        return nullptr;
    }
}

const char* GradingIITolerance(TGuideRow row)
{
    switch (row) {
    case TGuideRow::R0m0:
        return "±15.0";
    case TGuideRow::R0m1:
    case TGuideRow::N0:
        return "±13.0";
    case TGuideRow::R12m0:
        return "±12.0";
    case TGuideRow::R12m1:
    case TGuideRow::N2:
        return "±11.0";
    default:
        return nullptr;
    }
}

// `limited`: the limit gave the value, so its formula is printed.
QString FillerIFormula(TGuideRow row, bool limited)
{
    switch (row) {
    case TGuideRow::R0m0:
        return QStringLiteral("±0.01×W'×F'(0.37-0.013F')");
    case TGuideRow::R0m1:
        // The formula of the rule that gave the value, as without
        // recycled material.
        return limited ? QStringLiteral("-4.0") : QStringLiteral("－0.01×W'×F'(0.37-0.013F')");
    case TGuideRow::R12m0:
        return QStringLiteral("±0.01×W'×F'(0.30-0.013F')");
    case TGuideRow::R12m1:
        return QStringLiteral("＋0.01×W'×F'(0.40-0.016F')\\\\－0.01×W'×F'(0.30-0.013F')");
    case TGuideRow::N0:
        return limited ? QStringLiteral("-4.0") : QStringLiteral("－0.01×W×F(0.37-0.013F)");
    case TGuideRow::N1:
        return QStringLiteral("－0.01×W×F(0.37-0.013F)");
    case TGuideRow::N2:
        return QStringLiteral("＋0.01×W×F(0.40-0.016F)\\\\－0.01×W×F(0.30-0.013F)");
    default:
        return QString();
    }
}

QString FillerIIFormula(TGuideRow row, bool limited)
{
    switch (row) {
    case TGuideRow::R0m0:
        return QStringLiteral("±F'×(0.41-0.012F')");
    case TGuideRow::R0m1:
        return limited ? QStringLiteral("－(390/Wa'+0.06F')")
                       : QStringLiteral("－F'×(0.41-0.012F')");
    case TGuideRow::R12m0:
        return QStringLiteral("±F'×(0.34-0.012F')");
    case TGuideRow::R12m1:
        return QStringLiteral("＋F'×(0.49-0.017F')\\\\－F'×(0.34-0.012F')");
    case TGuideRow::N0:
        return limited ? QStringLiteral("－(390/W+0.06F)") : QStringLiteral("－F×(0.41-0.012F)");
    case TGuideRow::N1:
        return QStringLiteral("－F×(0.41-0.012F)");
    case TGuideRow::N2:
        return QStringLiteral("＋F×(0.49-0.017F)\\\\－F×(0.34-0.012F)");
    default:
        return QString();
    }
}

QString AsphaltIFormula(TGuideRow row)
{
    switch (row) {
    case TGuideRow::R0m0:
        return QStringLiteral("±0.01×W'×(1.27-0.06A')");
    case TGuideRow::R0m1:
        return QStringLiteral("－0.01×W'×(1.06-0.06A')");
    case TGuideRow::R12m0:
        return QStringLiteral("±0.01×W'×(0.95-0.06A')");
    case TGuideRow::R12m1:
        return QStringLiteral("±0.01×W'×(0.85-0.06A')");
    case TGuideRow::N0:
    case TGuideRow::N1:
        return QStringLiteral("－0.01×W×(1.06-0.06A)");
    case TGuideRow::N2:
        return QStringLiteral("±0.01×W×(0.85-0.06A)");
    default:
        return QString();
    }
}

QString AsphaltIIFormula(TGuideRow row)
{
    switch (row) {
    case TGuideRow::R0m0:
        return QStringLiteral("-1.2以上");
    case TGuideRow::R0m1:
    case TGuideRow::N0:
    case TGuideRow::N1:
        return QStringLiteral("-1.0以上");
    case TGuideRow::R12m0:
        return QStringLiteral("±0.9");
    case TGuideRow::R12m1:
    case TGuideRow::N2:
        return QStringLiteral("±0.8");
    default:
        return QString();
    }
}

} // namespace

QString TAcceptanceSheet::FormulaText(TEntry entry) const
{
    const bool R = m_recycled;
    const TGuideRow row = GuideRow(R, m_method == TGokakuHanteiti::ReuseGuide, m_use);
    switch (entry) {
    case TEntry::FinalBin:
        return QStringLiteral("±0.06×") + Number(m_result.FinalBin.Base);
    case TEntry::RecycledMixI:
        return QStringLiteral("±0.06×") + Number(m_result.RecycledMixI.Base);
    case TEntry::GradingI: {
        const char* c = GradingConstant(row);
        if (!c)
            return QString();
        const QString z = m_coarseFirst ? QStringLiteral("G") : QStringLiteral("S");
        return R ? QStringLiteral("±0.01×Wa'×(%1-0.06%2')").arg(QLatin1String(c), z)
                 : QStringLiteral("±0.01×Wa×(%1-0.06%2)").arg(QLatin1String(c), z);
    }
    case TEntry::GradingII: {
        const char* tolerance = GradingIITolerance(row);
        if (!tolerance)
            return QString();
        QString prefix = QStringLiteral("S");
        if (m_coarseFirst)
            prefix = R ? QStringLiteral("(100-G')") : QStringLiteral("(100-G)");
        return prefix + QString::fromUtf8(tolerance);
    }
    case TEntry::FillerI:
        return FillerIFormula(row, m_result.FillerILimited);
    case TEntry::FillerII:
        return FillerIIFormula(row, m_result.FillerIILimited);
    case TEntry::AsphaltI:
        return AsphaltIFormula(row);
    case TEntry::AsphaltII:
        return AsphaltIIFormula(row);
    case TEntry::RecycledAggI:
        return row == TGuideRow::None ? QString() : QStringLiteral("±0.01×W×(5.64-0.06(100-R'))");
    case TEntry::RecycledRatioII:
        return row == TGuideRow::None ? QString() : QStringLiteral("±6.0");
    }
    return QString();
}

// Page 1 -----------------------------------------------------------------------

void TAcceptanceSheet::DrawAcceptanceSummary(TCanvas& canvas, const TPage& page) const
{
    const TPageOffset offset = TPageOffset::FromMargins(page.leftMm, page.topMm);
    BeginPage(canvas, page.fontName);
    DrawSummaryFrame(canvas, page);
    DrawSummaryValues(canvas, page);
}

void TAcceptanceSheet::DrawSummaryFrame(TCanvas& canvas, const TPage& page) const
{
    canvas.SetPenWidth(page.penWidth(kHeavy));
    Rect(canvas, 0, 0, kWidth, kHeight);
    Rect(canvas, 1.0f, 4.7f, 14.7f, 7.8f);
    Rect(canvas, 0.4f, kJudgeTop, 15.4f, 20.5f);

    canvas.SetPenWidth(page.penWidth(kThin));
    for (float y : {1.9f, 2.3f, 2.7f, 3.1f})
        Line(canvas, 0.8f, y, 15.0f, y);
    for (float y : {6.0f, 6.9f})
        Line(canvas, 1.0f, y, 14.7f, y);
    for (float x : {3.75f, 6.5f, 9.25f, 12.0f})
        Line(canvas, x, 4.7f, x, 7.8f);
    for (float x : {1.7f, 5.1f, 10.3f})
        Line(canvas, x, kJudgeTop, x, 20.5f);
    Line(canvas, 0.4f, JudgeRow(1), 15.4f, JudgeRow(1));
    Line(canvas, 1.7f, JudgeRow(3), 15.4f, JudgeRow(3));
    for (int row : {5, 7, 9})
        Line(canvas, 0.4f, JudgeRow(row), 15.4f, JudgeRow(row));
    Line(canvas, 1.7f, JudgeRow(11), 15.4f, JudgeRow(11));
    for (int row : {2, 10})
        Line(canvas, 5.1f, JudgeRow(row), 10.3f, JudgeRow(row), true);
    for (int row : {4, 6, 8, 12})
        Line(canvas, 5.1f, JudgeRow(row), 15.4f, JudgeRow(row), true);
    // Column Ⅱ has nothing for these two entries.
    for (int row : {2, 10})
        Line(canvas, 10.8f, JudgeRow(row), 14.9f, JudgeRow(row));

    canvas.SetFontSize(15);
    Text(canvas, QStringLiteral("計量自記記録合格判定値"), baCenter, 0.4f, 0.5f, 15.4f, 1.0f);
    canvas.SetFontSize(10);

    const QStringList numbers = {QStringLiteral("１．"), QStringLiteral("２．"),
                                 QStringLiteral("３．"), QStringLiteral("４．")};
    const QStringList items = {QStringLiteral("プラント"), QStringLiteral("合材の種類"),
                               QStringLiteral("１バッチ当計量値"), QStringLiteral("適用粒度")};
    for (int i = 0; i < 4; ++i) {
        const float top = 1.5f + 0.4f * float(i);
        FittedText(canvas, 9, numbers[i], 0.8, numbers[i], baLeft, 0.8f, top, 1.6f, top + 0.4f);
        FittedText(canvas, 9, items[i], 2.8, items[i], baSpread, 1.6f, top, 4.4f, top + 0.4f);
    }

    Text(canvas, QStringLiteral("※　実施配合比及び配合値"), baLeft, 0.4f, 3.5f, 7.0f, 4.0f);
    const QStringList mixHeads = {QStringLiteral("骨材累積\\\\最終ビン"),
                                  QStringLiteral("2.36mm直近\\\\ホットビン"),
                                  QStringLiteral("再生骨材"), QStringLiteral("石　　粉"),
                                  QStringLiteral("アスファルト\\\\及び添加剤")};
    const float mixColumns[] = {1.0f, 3.75f, 6.5f, 9.25f, 12.0f, 14.7f};
    for (int i = 0; i < 5; ++i)
        Text(canvas, mixHeads[i], baCenter, mixColumns[i], 4.7f, mixColumns[i + 1], 6.0f);

    Text(canvas, QStringLiteral("※　合格判定値　Ⅰ,Ⅱ"), baLeft, 0.4f, 8.3f, 7.0f, 9.0f);
    Text(canvas, QStringLiteral("項　目"), baCenter, 0.4f, JudgeRow(0), 1.7f, JudgeRow(1));
    Text(canvas, QStringLiteral("判定項目"), baCenter, 1.7f, JudgeRow(0), 5.1f, JudgeRow(1));
    Text(canvas, QStringLiteral("合格判定値Ⅰ(Kg)"), baCenter, 5.1f, JudgeRow(0), 10.3f,
         JudgeRow(1));
    Text(canvas, QStringLiteral("合格判定値Ⅱ(％)"), baCenter, 10.3f, JudgeRow(0), 15.4f,
         JudgeRow(1));
    Text(canvas, QStringLiteral("粒度"), baInsetSpread, 0.4f, JudgeRow(1), 1.7f, JudgeRow(5), true);
    Text(canvas, QStringLiteral("石粉"), baInsetSpread, 0.4f, JudgeRow(5), 1.7f, JudgeRow(7), true);
    Text(canvas, QStringLiteral("Ａ　Ｓ"), baCenter, 0.4f, JudgeRow(7), 1.05f, JudgeRow(9), true);
    Text(canvas, QStringLiteral("添加剤"), baSpread, 1.05f, JudgeRow(7), 1.7f, JudgeRow(9), true);
    Text(canvas, QStringLiteral("再生骨材"), baInsetSpread, 0.4f, JudgeRow(9), 1.7f, JudgeRow(13),
         true);
}

void TAcceptanceSheet::DrawSummaryValues(TCanvas& canvas, const TPage& page) const
{
    const TGokakuResult& r = m_result;
    canvas.SetPenWidth(page.penWidth(kValue));
    canvas.SetFontSize(10);

    const QStringList names = {QStringLiteral("骨材累積最終ビン"),
                               QStringLiteral("2.36mm直近ホットビン"),
                               QStringLiteral("石粉"),
                               m_recycled ? QStringLiteral("新アスファルト＋添加剤")
                                          : QStringLiteral("新アスファルト"),
                               QStringLiteral("再生混合物累積"),
                               QStringLiteral("再生骨材累積")};
    QString longest;
    for (const QString& name : names)
        if (TextWidthCm(canvas, name) > TextWidthCm(canvas, longest))
            longest = name;
    for (int i = 0; i < names.size(); ++i)
        FittedText(canvas, 10, longest, 3.4, names[i], baCenter, 1.7f, JudgeRow(1 + 2 * i), 5.1f,
                   JudgeRow(3 + 2 * i));

    Text(canvas, m_plant.Name, baCenter, 5.4f, 1.5f, 15.0f, 1.9f);
    Text(canvas, m_printName, baCenter, 5.4f, 1.9f, 15.0f, 2.3f);
    Text(canvas, m_plant.BatchWeight, baCenter, 5.4f, 2.3f, 15.0f, 2.7f);
    Text(canvas, QStringLiteral("１"), baCenter, 9.5f, 2.7f, 10.0f, 3.1f);
    Text(canvas, QStringLiteral("・"), baCenter, 10.0f, 2.7f, 10.5f, 3.1f);
    Text(canvas, QStringLiteral("２"), baCenter, 10.5f, 2.7f, 11.0f, 3.1f);
    DrawCircleCm(canvas, m_coarseFirst ? 10.75f : 9.75f, 2.9f, 0.2f, 1);

    // The mix table: ratio over mass, an empty cell for nothing.
    struct TMixCell
    {
        double ratio;
        double mass;
        float left;
        float right;
    };
    const TMixCell cells[] = {
        {r.AggRatioTotal, r.Wa != 0 ? r.FinalBin.Base : 0, 1.0f, 3.25f},
        {r.Bin236Ratio, r.Bin236Cumul, 3.75f, 6.25f},
        {r.RPrime, r.RecycledAggI.Base, 6.5f, 9.0f},
        {r.FillerII.Base, r.FillerI.Base, 9.25f, 11.75f},
        {r.AsphaltII.Base, r.AsphaltI.Base, 12.0f, 14.3f},
    };
    for (const TMixCell& cell : cells) {
        if (cell.ratio != 0)
            Text(canvas, Number(cell.ratio) + QStringLiteral(" ％"), baRight, cell.left, 6.0f,
                 cell.right, 6.9f);
        if (cell.mass != 0)
            Text(canvas, Number(cell.mass) + QStringLiteral(" Kg"), baRight, cell.left, 6.9f,
                 cell.right, 7.8f);
    }

    const bool walkway = m_use == 1;
    if (!walkway) {
        DrawSummaryEntry(canvas, r.FinalBin, 5.1f, 7.65f, 10.3f, JudgeRow(1));
        DrawSummaryEntry(canvas, r.GradingI, 5.1f, 7.65f, 10.3f, JudgeRow(3));
        DrawSummaryEntry(canvas, r.GradingII, 10.3f, 12.8f, 15.4f, JudgeRow(3));
    }
    DrawSummaryEntry(canvas, r.FillerI, 5.1f, 7.65f, 10.3f, JudgeRow(5));
    DrawSummaryEntry(canvas, r.FillerII, 10.3f, 12.8f, 15.4f, JudgeRow(5));
    DrawSummaryEntry(canvas, r.AsphaltI, 5.1f, 7.65f, 10.3f, JudgeRow(7));
    DrawSummaryEntry(canvas, r.AsphaltII, 10.3f, 12.8f, 15.4f, JudgeRow(7));
    DrawSummaryEntry(canvas, r.RecycledMixI, 5.1f, 7.65f, 10.3f, JudgeRow(9));
    DrawSummaryEntry(canvas, r.RecycledAggI, 5.1f, 7.65f, 10.3f, JudgeRow(11));
    DrawSummaryEntry(canvas, r.RecycledRatioII, 10.3f, 12.8f, 15.4f, JudgeRow(11));
}

void TAcceptanceSheet::DrawSummaryEntry(TCanvas& canvas, const TJudgeEntry& entry, float left,
                                        float middle, float right, float top) const
{
    // Nothing to judge by: an empty cell rather than "(±0.00)".
    if (entry.Base == 0)
        return;
    const float bottom = top + kRowH;
    Text(canvas, Number(entry.Base), baRight, left, top, middle, bottom);
    if (!entry.HasDeviation())
        return;
    const QString deviation =
        entry.IsSymmetric()
            ? QStringLiteral("(±") + Number(entry.Plus) + u')'
            : u'(' + Number(entry.Plus) + QStringLiteral(")\\\\(") + Number(entry.Minus) + u')';
    Text(canvas, deviation, baLeft, middle, top, right, bottom);
    Text(canvas, RangeText(entry), baCenter, left, bottom, right, bottom + kRowH);
}

// Page 2 -----------------------------------------------------------------------

QList<int> TAcceptanceSheet::MaterialColumns() const
{
    QList<int> columns;
    for (int i = 0; i < TPlantRecord::Bins; ++i)
        if (m_plant.HasBin(i))
            columns << i;
    for (int c = TGokakuResult::R1; c <= TGokakuResult::Total; ++c)
        columns << c;
    return columns;
}

void TAcceptanceSheet::DrawAcceptanceCalcSheet(TCanvas& canvas, const TPage& page) const
{
    const TPageOffset offset = TPageOffset::FromMargins(page.leftMm, page.topMm);
    BeginPage(canvas, page.fontName);
    DrawCalcFrame(canvas, page);
    DrawCalcValues(canvas, page);
}

void TAcceptanceSheet::DrawCalcFrame(TCanvas& canvas, const TPage& page) const
{
    canvas.SetPenWidth(page.penWidth(kHeavy));
    Rect(canvas, 0, 0, kWidth, kHeight);

    canvas.SetPenWidth(page.penWidth(kThin));
    for (float y : {kTitleBottom, kMaterialBottom, kCalcHead, kCalcTop, kCalcBottom})
        Line(canvas, 0, y, kWidth, y);

    // The material table.
    const QList<int> columns = MaterialColumns();
    const float columnW = (kWidth - kMaterialLeft) / float(columns.size());
    Line(canvas, 0.7f, kTitleBottom, 0.7f, kMaterialBottom);
    for (int j = 0; j < columns.size(); ++j) {
        const float x = kMaterialLeft + columnW * float(j);
        Line(canvas, x, kTitleBottom, x, kMaterialBottom);
    }
    for (int row = 0; row < 3; ++row) {
        const float y = kMaterialHeadBottom + kMaterialRowH * float(row);
        Line(canvas, 0.7f, y, kWidth, y);
    }

    // The judgement table: the label columns, a rule under every row, from
    // the first column where a label ends.
    for (float x : {4.1f, 11.4f, 12.9f})
        Line(canvas, x, kCalcHead, x, kCalcBottom);
    for (float x : {0.7f, 1.4f})
        Line(canvas, x, kCalcTop, x, kCalcBottom);
    for (int slot = 1; slot < kSlots; ++slot) {
        const float from = slot == kFirstII ? 0.0f : (slot == 1 || slot == 5) ? 1.4f : 0.7f;
        Line(canvas, from, Slot(slot), kWidth, Slot(slot));
    }

    Text(canvas, Title(), baCenter, 0, 0, 10.3f, kTitleBottom);
    FittedText(canvas, 10, QStringLiteral("種別："), 1.0, QStringLiteral("種別："), baLeft, 10.3f,
               0, 11.3f, kTitleBottom);
    FittedText(canvas, 10, m_printName, 4.4, m_printName, baLeft, 11.4f, 0, kWidth, kTitleBottom);

    Text(canvas, QStringLiteral("現場配合"), baInsetSpread, 0, kTitleBottom, 0.7f, kMaterialBottom,
         true);
    const QStringList rowNames = {QStringLiteral("配合率(％)"), QStringLiteral("質　量(Kg)"),
                                  QStringLiteral("累　計(Kg)")};
    for (int row = 0; row < 3; ++row) {
        const float y = kMaterialHeadBottom + kMaterialRowH * float(row);
        FittedText(canvas, 10, rowNames[0], 1.9, rowNames[row], baCenter, 0.7f, y, kMaterialLeft,
                   y + kMaterialRowH);
    }
    const QStringList fixedHeads = {QStringLiteral("再生１"), QStringLiteral("再生２"),
                                    QStringLiteral("石粉"),   QStringLiteral("ｱｽﾌｧﾙﾄ"),
                                    QStringLiteral("添加剤"), QStringLiteral("合計")};
    for (int j = 0; j < columns.size(); ++j) {
        const int c = columns[j];
        const QString head = c < TPlantRecord::Bins ? m_plant.BinName[c].trimmed()
                                                    : fixedHeads[c - TGokakuResult::R1];
        const float x = kMaterialLeft + columnW * float(j);
        FittedText(canvas, 10, head, columnW - 0.1, head, baCenter, x, kTitleBottom, x + columnW,
                   kMaterialHeadBottom);
    }

    Text(canvas, QStringLiteral("項　　目"), baCenter, 0, kCalcHead, 4.1f, kCalcTop);
    Text(canvas, QStringLiteral("合格判定値計算式"), baCenter, 4.1f, kCalcHead, 11.4f, kCalcTop);
    Text(canvas, QStringLiteral("基準値"), baCenter, 11.4f, kCalcHead, 12.9f, kCalcTop);
    Text(canvas, QStringLiteral("合格範囲"), baCenter, 12.9f, kCalcHead, kWidth, kCalcTop);

    const float endI = Slot(kFirstII);
    Text(canvas, QStringLiteral("Ⅰ次判定値"), baInsetSpread, 0, kCalcTop, 0.7f, endI - 0.8f, true);
    FittedText(canvas, 10, QStringLiteral("(Kg)"), 0.6, QStringLiteral("(Kg)"), baCenter, 0,
               endI - 0.8f, 0.7f, endI - 0.2f);
    Text(canvas, QStringLiteral("Ⅱ次判定値"), baInsetSpread, 0, endI, 0.7f, kCalcBottom - 0.8f,
         true);
    FittedText(canvas, 10, QStringLiteral("(Kg)"), 0.6, QStringLiteral("(％)"), baCenter, 0,
               kCalcBottom - 0.8f, 0.7f, kCalcBottom - 0.2f);

    Text(canvas, QStringLiteral("粒　度"), baCenter, 0.7f, Slot(0), 1.4f, Slot(2), true);
    Text(canvas, QStringLiteral("石粉量"), baCenter, 0.7f, Slot(2), 1.4f, Slot(3), true);
    Text(canvas, QStringLiteral("AS量"), baCenter, 0.7f, Slot(3), 1.4f, Slot(4), true);
    // Two columns of characters in one narrow column.
    FittedText(canvas, 10, QStringLiteral("再"), 0.3, QStringLiteral("再生骨材\\\\配合率"),
               baCenter, 0.7f, Slot(4), 1.4f, Slot(6), true);
    Text(canvas, QStringLiteral("粒　度"), baCenter, 0.7f, Slot(6), 1.4f, Slot(7), true);

    const QList<QStringList> names = {
        {QStringLiteral("最終ビン計量値")},
        {QStringLiteral("2.36mm直近ﾎｯﾄ"), QStringLiteral("ﾋﾞﾝまでの骨材"),
         QStringLiteral("累計計量値")},
        {QStringLiteral("石粉計量値")},
        m_recycled ? QStringList{QStringLiteral("アスファルト"), QStringLiteral("および"),
                                 QStringLiteral("添加剤計量値")}
                   : QStringList{QStringLiteral("アスファルト"), QStringLiteral("計量値")},
        {QStringLiteral("再生混合物"), QStringLiteral("累積計量値")},
        {QStringLiteral("再生骨材"), QStringLiteral("累積計量値")},
        {QStringLiteral("2.36mm直近")},
        {QStringLiteral("石 粉 量")},
        m_recycled ? QStringList{QStringLiteral("アスファルト"), QStringLiteral("および"),
                                 QStringLiteral("添加剤量")}
                   : QStringList{QStringLiteral("アスファルト量")},
        {QStringLiteral("再生骨材配合率")},
    };
    for (int slot = 0; slot < kSlots; ++slot)
        Stacked(canvas, names[slot], 1.4f, Slot(slot), 4.1f, Slot(slot + 1));
}

void TAcceptanceSheet::DrawCalcValues(TCanvas& canvas, const TPage& page) const
{
    const TGokakuResult& r = m_result;
    canvas.SetPenWidth(page.penWidth(kValue));
    canvas.SetFontSize(10);

    // The material table, in a size at which a value of thousands fits.
    const QList<int> columns = MaterialColumns();
    const float columnW = (kWidth - kMaterialLeft) / float(columns.size());
    const int original = canvas.FontSize();
    canvas.SetFontSize(FitFontSize(canvas, QStringLiteral("8888.88"), 0.9));
    const std::array<double, TGokakuResult::Columns>* rows[] = {&r.Ratio, &r.Mass, &r.Cumul};
    for (int row = 0; row < 3; ++row) {
        const float y = kMaterialHeadBottom + kMaterialRowH * float(row);
        for (int j = 0; j < columns.size(); ++j) {
            const double value = (*rows[row])[columns[j]];
            if (value <= 0)
                continue;
            const float x = kMaterialLeft + columnW * float(j);
            Text(canvas, Number(value), baRight, x, y, x + columnW - 0.08f, y + kMaterialRowH);
        }
    }
    canvas.SetFontSize(original);

    DrawSymbols(canvas);

    using E = TEntry;
    const bool walkway = m_use == 1;
    struct TRow
    {
        E entry;
        bool shown;
    };
    const TRow rowsI[kSlots] = {
        {E::FinalBin, !(walkway && !m_recycled)},
        {E::GradingI, !walkway},
        {E::FillerI, true},
        {E::AsphaltI, true},
        {E::RecycledMixI, m_recycled},
        {E::RecycledAggI, m_recycled},
        {E::GradingII, !walkway},
        {E::FillerII, true},
        {E::AsphaltII, true},
        {E::RecycledRatioII, m_recycled},
    };
    for (int slot = 0; slot < kSlots; ++slot)
        if (rowsI[slot].shown)
            DrawCalcRow(canvas, rowsI[slot].entry, Slot(slot), Slot(slot + 1));

    if (m_recycled) {
        const QString note =
            m_method == TGokakuHanteiti::ReuseGuide
                ? QStringLiteral("計算方法はアスファルト舗装再生利用ガイドラインによる")
                : QStringLiteral("計算方法はプラント再生舗装技術指針による");
        FittedText(canvas, 10, note, 6.0, note, baRight, 9.4f, -0.4f, kWidth, 0);
    }
}

void TAcceptanceSheet::DrawCalcRow(TCanvas& canvas, TEntry which, float top, float bottom) const
{
    const TJudgeEntry& entry = EntryOf(which);
    const QString formula = FormulaText(which);
    if (!formula.isEmpty())
        FittedText(canvas, 10, WidestPart(canvas, formula), 4.0, formula, baLeft, 4.4f, top, 8.5f,
                   bottom);
    if (entry.HasDeviation()) {
        Text(canvas, QStringLiteral("＝"), baCenter, 8.5f, top, 9.5f, bottom);
        const QString deviation = entry.IsSymmetric()
                                      ? QStringLiteral("±") + Number(entry.Plus)
                                      : QStringLiteral("＋") + Number(entry.Plus) +
                                            QStringLiteral("\\\\－") + Number(-entry.Minus);
        FittedText(canvas, 10, WidestPart(canvas, deviation), 1.8, deviation, baLeft, 9.5f, top,
                   11.3f, bottom);
    }
    FittedText(canvas, 10, Number(entry.Base), 1.35, Number(entry.Base), baRight, 11.4f, top, 12.8f,
               bottom);
    const QString range = RangeText(entry);
    FittedText(canvas, 10, range, 2.8, range, baCenter, 12.9f, top, kWidth, bottom);
}

void TAcceptanceSheet::DrawSymbols(TCanvas& canvas) const
{
    const TGokakuResult& r = m_result;
    struct TSymbol
    {
        QString symbol;
        QString text;
        double value;
        bool kg;
    };
    QList<TSymbol> symbols;
    if (m_recycled) {
        symbols = {
            {QStringLiteral("Ｗ’"),
             QStringLiteral("：1ﾊﾞｯﾁの(基準新骨材計量値+基準石粉計量値+基準新ｱｽﾌｧﾙﾄ計量値+"
                            "基準再生用添加剤計量値)"),
             r.WPrime, true},
            {QStringLiteral("Ｗａ’"), QStringLiteral("：1ﾊﾞｯﾁの基準全新骨材計量値"), r.Wa, true},
            {QStringLiteral("Ａ’"),
             QStringLiteral("：(基準新ｱｽﾌｧﾙﾄ計量値+基準再生用添加剤計量値)／Ｗ’×１００"), r.A,
             false},
            {QStringLiteral("Ｆ’"), QStringLiteral("：基準石粉計量値／Ｗ’×１００"), r.F, false},
            m_coarseFirst
                ? TSymbol{QStringLiteral("Ｇ’"),
                          QStringLiteral(
                              "：1ﾊﾞｯﾁあたりの2.36mm直近ﾎｯﾄﾋﾞﾝまでの基準新粗骨材計量値／Ｗａ’×100"),
                          r.G, false}
                : TSymbol{QStringLiteral("Ｓ’"),
                          QStringLiteral(
                              "：1ﾊﾞｯﾁあたりの2.36mm直近ﾎｯﾄﾋﾞﾝまでの基準新細骨材計量値／Ｗａ’×100"),
                          r.S, false},
            {QStringLiteral("Ｗ"), QStringLiteral("：1ﾊﾞｯﾁの基準全計量値"), r.W, true},
            {QStringLiteral("Ｒ’"), QStringLiteral("：現場配合における再生骨材配合率"), r.RPrime,
             false},
        };
    } else {
        symbols = {
            {QStringLiteral("Ｗ"), QStringLiteral("：1ﾊﾞｯﾁの基準全計量値"), r.W, true},
            {QStringLiteral("Ｗａ"), QStringLiteral("：1ﾊﾞｯﾁの基準骨材計量値"), r.Wa, true},
            {QStringLiteral("Ａ"), QStringLiteral("：現場配合におけるｱｽﾌｧﾙﾄ配合比"), r.A, false},
            {QStringLiteral("Ｆ"), QStringLiteral("：現場配合における石粉配合比"), r.F, false},
            m_coarseFirst
                ? TSymbol{QStringLiteral("Ｇ"),
                          QStringLiteral(
                              "：1ﾊﾞｯﾁあたりの2.36mm直近ﾎｯﾄﾋﾞﾝまでの基準粗骨材計量値／Ｗａ×100"),
                          r.G, false}
                : TSymbol{QStringLiteral("Ｓ"),
                          QStringLiteral(
                              "：1ﾊﾞｯﾁあたりの2.36mm直近ﾎｯﾄﾋﾞﾝまでの基準細骨材計量値／Ｗａ×100"),
                          r.S, false},
        };
    }
    const int original = canvas.FontSize();
    canvas.SetFontSize(8);
    for (int i = 0; i < symbols.size(); ++i) {
        const float top = kSymbolTop + kSymbolH * float(i);
        const float bottom = top + kSymbolH;
        const TSymbol& s = symbols[i];
        Text(canvas, s.symbol, baLeft, 0.3f, top, 1.0f, bottom);
        Text(canvas, s.text, baLeft, 1.1f, top, 13.5f, bottom);
        Text(canvas, Number(s.value), baRight, 13.5f, top, 14.9f, bottom);
        Text(canvas, s.kg ? QStringLiteral("(Kg)") : QStringLiteral("(％)"), baCenter, 14.9f, top,
             15.6f, bottom);
    }
    canvas.SetFontSize(original);
}

// The file ---------------------------------------------------------------------

TDeviceMetrics TAcceptanceSheet::PdfDevice()
{
    return ::PdfDevice(QPageLayout::Portrait);
}

TAcceptanceSheet::TPenWidth TAcceptanceSheet::PenWidthOn(const TDeviceMetrics& device,
                                                         int screenDpi)
{
    return [dpiY = device.dpiY, screenDpi](int n) {
        return std::max(1, int(std::lround(n * double(dpiY) / (screenDpi * 10.0))));
    };
}

void TAcceptanceSheet::WritePdf(const QString& file, const TAcceptancePrintSettings& settings) const
{
    const TDeviceMetrics device = PdfDevice();
    // The pens of a preview on the usual 96-dpi screen, so the file matches
    // what the preview prints.
    const TPage page{settings.fontName, settings.leftMm, settings.topMm, PenWidthOn(device, 96)};
    TPageStore store;
    DrawAcceptanceSummary(*store.NewPage(device), page);
    DrawAcceptanceCalcSheet(*store.NewPage(device), page);
    store.EndDocument();
    ::WritePdf(store, file, QPageLayout::Portrait, Title(), settings.zoomX, settings.zoomY);
}
