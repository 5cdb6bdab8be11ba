#pragma once

// What the acceptance tests share: a plant and a stored mixture in the
// test's folders, and reading the printed sheet back box by box.

#include "../print/PrintTesting.h"
#include "acceptance/TAcceptanceSheet.h"
#include "acceptance/TFormGokakuHanteiti.h"
#include "acceptance/TGokakuHanteiti.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"

#include <QDir>
#include <QPushButton>
#include <cmath>

namespace AcceptanceTesting {

const QString kPlant = QStringLiteral("第１プラント");
const QString kMixture = QStringLiteral("密粒13");
const QString kPrintName = QStringLiteral("密粒度アスコン13");
const QString kFont = QStringLiteral("ＭＳ ゴシック");

// The surface course of the worked example: W = 1000 kg, bins 1-4 at 20,
// 25, 30 and 15 %, filler 4 %, asphalt 6 %.
inline std::array<double, 14> SurfaceCourse()
{
    return {20, 25, 30, 15, 0, 0, 0, 0, 4, 0, 0, 6, 0, 0};
}

// With recycled material: bins 15, 20, 15 and 1.4 %, Ｒ１ 35 %, Ｒ２ 5 %,
// filler 3.6 %, asphalt 4.5 %, additive 0.5 %.
inline std::array<double, 14> Recycled()
{
    return {15, 20, 15, 1.4, 0, 0, 35, 5, 3.6, 0, 0, 4.5, 0, 0.5};
}

// The standard plant of a new mix data folder: bins 1-4 named.
inline void StandardPlant(const QString& batch = QStringLiteral("1000"), bool coarseFirst = false)
{
    if (ReadSetting(QStringLiteral("HaigoDataPath")).isEmpty())
        WriteSetting(QStringLiteral("HaigoDataPath"),
                     TTestEnvironment::Current().NewFolder() + QDir::separator());
    TPlant plant;
    plant.LoadByName(kPlant);
    plant.BatchWeight = batch;
    plant.InitialWeighing = coarseFirst ? 1 : 0;
    plant.BinName = {"1番", "2番", "3番", "4番", "", ""};
    plant.Standard = 1;
    QVERIFY(plant.Save(kPlant));
}

// A stored mixture; the ratios on both bases alike.
inline void StoreMixture(const QString& name, const std::array<double, 14>& ratios, int use,
                         bool ruiseki = false)
{
    if (!TDatabase::TableExists(TGozaiDef::TableName())) {
        auto& prompt = TTestEnvironment::Current().prompt;
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(true);
        TGozaiDef().EnsureTables(TPrompt::YesNo);
    }
    TGozaiDef mix;
    mix.LoadByName(name);
    mix.PrintName = name == kMixture ? kPrintName : name;
    mix.Kosyu = use;
    mix.Ruiseki = ruiseki;
    mix.Ratios[0]->D = ratios;
    mix.Ratios[1]->D = ratios;
    mix.Save(name);
}

// The sheet of `mix` as the acceptance window's "印刷" gives it: through the
// print settings ("プレビュー") to the preview's "すべて印刷", on the test's
// PDF printer. With recycled material the guideline's question is answered
// with `guideline` (0 or 1; -1 closes it).
inline QList<TPdfPage> PrintedFromPreview(TGozaiDef& mix, int guideline = -1)
{
    const qsizetype before = TZqPrinter::Instance().CapturedFiles().size();
    TFormGokakuHanteiti window(&mix, nullptr);
    const auto print = [](QWidget* acceptance) {
        WhenModalShown([](QWidget* settings) {
            WhenModalShown([](QWidget* preview) {
                ControlOf<QPushButton>(preview, "Button2")->click();
                preview->close();
            });
            ControlOf<QPushButton>(settings, "Button6")->click();
        });
        ControlOf<QPushButton>(acceptance, "BitBtn2")->click();
    };
    if (TGokakuHanteiti::HasRecycled(mix))
        WhenModalShown([guideline, print](QWidget* question) {
            WhenModalShown(print);
            if (guideline < 0)
                question->close();
            else
                ControlOf<QPushButton>(question, guideline ? "BitBtn2" : "BitBtn1")->click();
        });
    else
        WhenModalShown(print);
    if (window.exec() != TFormGokakuHanteiti::mrYes)
        qWarning("the acceptance window closed without printing");
    if (TZqPrinter::Instance().CapturedFiles().size() == before)
        return {};
    return ReadPdf(LastPrintedFile());
}

// Where a point of the 15.8 × 23.7 cm form lands on the paper, in mm, with
// the page offset and stretch of the print settings (on a printer without
// an unprintable margin).
struct TPlacement
{
    double leftMm = 26;
    double topMm = 30;
    double zoomX = 100;
    double zoomY = 100;

    double X(double cm) const { return (cm * 10 + leftMm) * zoomX / 100; }
    double Y(double cm) const { return (cm * 10 + topMm) * zoomY / 100; }
};

// The width of a text in the sheet's font at `points`, in mm unstretched.
inline double WidthMm(const QString& text, int points, const QString& font = kFont)
{
    const TDeviceMetrics device = TAcceptanceSheet::PdfDevice();
    TPaintRecorder recorder(device.dpiX);
    TCanvas canvas(&recorder, device);
    canvas.SetFontName(font);
    canvas.SetFontSize(points);
    return canvas.TextWidth(text) * 25.4 / device.dpiX;
}

inline QString Normalised(QString text)
{
    // The PDF's text maps the full-width tilde to the wave dash; poppler
    // writes the apostrophe as an entity.
    return text.replace(QChar(0x301C), QChar(0xFF5E))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .remove(u' ')
        .remove(QChar(0x3000));
}

// Why `text`, drawn on one line in the box (cm) with `align`, is not there;
// empty when it is. The text may run into a neighbour on its line (a value
// and its deviation), so it is found in the line's words and its ends are
// measured in the font at `points`.
inline QString CheckBox(const TPdfPage& page, const TPlacement& at, const QString& text,
                        TBoxAlign align, double left, double top, double right, double bottom,
                        int points = 10)
{
    const QString expected = Normalised(text);
    const double centreY = at.Y((top + bottom) / 2);
    QList<TPdfWord> line;
    for (const TPdfWord& w : page.words)
        if (std::abs(w.CentreY() - centreY) <= kTolerance)
            line << w;
    std::sort(line.begin(), line.end(),
              [](const TPdfWord& a, const TPdfWord& b) { return a.left < b.left; });
    QString joined;
    QList<int> wordOf; // the word of each character of `joined`
    for (int i = 0; i < line.size(); ++i) {
        const QString t = Normalised(line[i].text);
        joined += t;
        for (int k = 0; k < t.size(); ++k)
            wordOf << i;
    }
    const double scale = at.zoomX / 100;
    auto edge = [&](int index) { // the left edge of character `index` of `joined`
        const int w = wordOf[index];
        int first = index;
        while (first > 0 && wordOf[first - 1] == w)
            --first;
        if (first == index)
            return line[w].left;
        return line[w].left + WidthMm(joined.mid(first, index - first), points) * scale;
    };
    auto rightEdge = [&](int last) {
        const int w = wordOf[last];
        if (last + 1 >= joined.size() || wordOf[last + 1] != w)
            return line[w].right;
        int first = last;
        while (first > 0 && wordOf[first - 1] == w)
            --first;
        return line[w].left + WidthMm(joined.mid(first, last + 1 - first), points) * scale;
    };
    QString best;
    double bestError = 1e9;
    for (qsizetype at0 = joined.indexOf(expected); at0 >= 0;
         at0 = joined.indexOf(expected, at0 + 1)) {
        const double l = edge(int(at0));
        const double r = rightEdge(int(at0 + expected.size() - 1));
        double error = 0;
        QString problem;
        switch (align) {
        case baLeft:
            error = std::abs(l - at.X(left));
            problem = Mismatch(text + QStringLiteral(" left"), l, at.X(left));
            break;
        case baRight:
            error = std::abs(r - at.X(right));
            problem = Mismatch(text + QStringLiteral(" right"), r, at.X(right));
            break;
        case baCenter:
            error = std::abs((l + r) / 2 - at.X((left + right) / 2));
            problem =
                Mismatch(text + QStringLiteral(" centre"), (l + r) / 2, at.X((left + right) / 2));
            break;
        case baSpread:
            error = std::abs(l - at.X(left)) + std::abs(r - at.X(right));
            problem = Mismatch(text + QStringLiteral(" left"), l, at.X(left));
            if (problem.isEmpty())
                problem = Mismatch(text + QStringLiteral(" right"), r, at.X(right));
            break;
        default:
            return QStringLiteral("alignment not checked");
        }
        if (error < bestError) {
            bestError = error;
            best = problem;
        }
    }
    if (bestError == 1e9)
        return QStringLiteral("\"%1\" not found on the line at %2 mm, which reads \"%3\"")
            .arg(text)
            .arg(centreY, 0, 'f', 2)
            .arg(joined);
    return best;
}

// A text of two lines ("upper\\\\lower") in the halves of its box.
inline QString CheckTwoLines(const TPdfPage& page, const TPlacement& at, const QString& text,
                             TBoxAlign align, double left, double top, double right, double bottom,
                             int points = 10)
{
    const QStringList parts = text.split(QStringLiteral("\\\\"));
    if (parts.size() != 2)
        return CheckBox(page, at, text, align, left, top, right, bottom, points);
    const double middle = (top + bottom) / 2;
    QString problem = CheckBox(page, at, parts[0], align, left, top, right, middle, points);
    if (problem.isEmpty())
        problem = CheckBox(page, at, parts[1], align, left, middle, right, bottom, points);
    return problem;
}

// Every word of the page, spaces left out, for "is it printed at all".
inline QString AllText(const TPdfPage& page)
{
    QString all;
    for (const TPdfWord& w : page.words)
        all += Normalised(w.text) + u'|';
    return all;
}

} // namespace AcceptanceTesting
