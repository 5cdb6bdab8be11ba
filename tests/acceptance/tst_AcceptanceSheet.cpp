// The acceptance criteria sheet read back from the PDF: page 1 with every
// value in its box, page 2 with the formulas, written by the export and
// printed from the preview, with the default offsets and with "hin_fitprn".
#include "AcceptanceTesting.h"
#include "acceptance/TGokakuHanteiti.h"
#include "foundation/EKanmuriError.h"
#include "print/TFormPreview.h"

#include <QPushButton>
#include <QTimer>

using namespace AcceptanceTesting;

namespace {

constexpr double kRowH = 11.0 / 13.0;
constexpr double kSlotH = (22.45 - 9.55) / 10;

double Row(int row)
{
    return 9.5 + kRowH * row;
}

double Slot(int slot)
{
    return 9.55 + kSlotH * slot;
}

TGozaiDef* NewMix(const std::array<double, 14>& ratios, int use, QObject* owner)
{
    auto* mix = new TGozaiDef(owner);
    mix->DataName = kMixture;
    mix->PrintName = kPrintName;
    mix->Kosyu = use;
    mix->Ratios[0]->D = ratios;
    mix->Ratios[1]->D = ratios;
    return mix;
}

// The sheet of `mix` written as the command line writes it.
QList<TPdfPage> Exported(const TGozaiDef& mix, int method = 0)
{
    TGokakuHanteiti calculator;
    calculator.Method = TGokakuHanteiti::TMethod(method);
    TGokakuResult result;
    calculator.Calculate(mix, mix.Kosyu, result);
    const TAcceptanceSheet sheet(result, *calculator.Plant, mix.PrintName, mix.Kosyu, method,
                                 TGokakuHanteiti::OneDecimalSetting());
    const QString file = TTestEnvironment::Current().NewFolder() + QStringLiteral("/sheet.pdf");
    sheet.WritePdf(file, TAcceptancePrintSettings::Stored());
    return ReadPdf(file);
}

} // namespace

class TestAcceptanceSheet : public QObject
{
    Q_OBJECT

    TPlacement Placement(bool fitted)
    {
        return fitted ? TPlacement{20, 10, 112, 116} : TPlacement{};
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        UseCapturePrinter();
        StandardPlant();
    }

    void theSheetInItsBoxes_data()
    {
        QTest::addColumn<bool>("fromPreview");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("export") << false << false;
        QTest::newRow("export, hin_fitprn") << false << true;
        QTest::newRow("preview's print") << true << false;
        QTest::newRow("preview's print, hin_fitprn") << true << true;
    }
    void theSheetInItsBoxes()
    {
        QFETCH(bool, fromPreview);
        QFETCH(bool, fitted);
        if (fitted)
            WriteSetting(QStringLiteral("hin_fitprn"), QStringLiteral("true"));
        TGozaiDef* mix = NewMix(SurfaceCourse(), 2, this);
        const QList<TPdfPage> pages = fromPreview ? PrintedFromPreview(*mix) : Exported(*mix);
        QCOMPARE(pages.size(), 2);
        const TPlacement at = Placement(fitted);

        // Page 1.
        const TPdfPage& p1 = pages[0];
        QVERIFY(std::abs(p1.width - 210) < 1 && std::abs(p1.height - 297) < 1);
        CHECK_PASSES(CheckBox(p1, at, "計量自記記録合格判定値", baCenter, 0.4, 0.5, 15.4, 1.0, 15));
        const QStringList items = {"プラント", "合材の種類", "１バッチ当計量値", "適用粒度"};
        for (int i = 0; i < 4; ++i) {
            const double top = 1.5 + 0.4 * i;
            CHECK_PASSES(CheckBox(p1, at, QString("%1．").arg(QChar(u'１' + i)), baLeft, 0.8, top,
                                  1.6, top + 0.4, 9));
            CHECK_PASSES(CheckBox(p1, at, items[i], baSpread, 1.6, top, 4.4, top + 0.4, 9));
        }
        CHECK_PASSES(CheckBox(p1, at, kPlant, baCenter, 5.4, 1.5, 15.0, 1.9));
        CHECK_PASSES(CheckBox(p1, at, kPrintName, baCenter, 5.4, 1.9, 15.0, 2.3));
        CHECK_PASSES(CheckBox(p1, at, "1000", baCenter, 5.4, 2.3, 15.0, 2.7));
        CHECK_PASSES(CheckBox(p1, at, "１", baCenter, 9.5, 2.7, 10.0, 3.1));
        CHECK_PASSES(CheckBox(p1, at, "２", baCenter, 10.5, 2.7, 11.0, 3.1));
        CHECK_PASSES(CheckBox(p1, at, "※　実施配合比及び配合値", baLeft, 0.4, 3.5, 7.0, 4.0));
        CHECK_PASSES(CheckTwoLines(p1, at, "骨材累積\\\\最終ビン", baCenter, 1.0, 4.7, 3.75, 6.0));
        CHECK_PASSES(
            CheckTwoLines(p1, at, "2.36mm直近\\\\ホットビン", baCenter, 3.75, 4.7, 6.5, 6.0));
        CHECK_PASSES(CheckBox(p1, at, "再生骨材", baCenter, 6.5, 4.7, 9.25, 6.0));
        CHECK_PASSES(CheckBox(p1, at, "石　　粉", baCenter, 9.25, 4.7, 12.0, 6.0));
        CHECK_PASSES(
            CheckTwoLines(p1, at, "アスファルト\\\\及び添加剤", baCenter, 12.0, 4.7, 14.7, 6.0));
        const struct
        {
            const char* ratio;
            const char* mass;
            double left, right;
        } mixCells[] = {{"90.00 ％", "900.00 Kg", 1.0, 3.25},
                        {"20.00 ％", "200.00 Kg", 3.75, 6.25},
                        {"4.00 ％", "40.00 Kg", 9.25, 11.75},
                        {"6.00 ％", "60.00 Kg", 12.0, 14.3}};
        for (const auto& cell : mixCells) {
            CHECK_PASSES(CheckBox(p1, at, cell.ratio, baRight, cell.left, 6.0, cell.right, 6.9));
            CHECK_PASSES(CheckBox(p1, at, cell.mass, baRight, cell.left, 6.9, cell.right, 7.8));
        }
        CHECK_PASSES(CheckBox(p1, at, "※　合格判定値　Ⅰ,Ⅱ", baLeft, 0.4, 8.3, 7.0, 9.0));
        CHECK_PASSES(CheckBox(p1, at, "項　目", baCenter, 0.4, Row(0), 1.7, Row(1)));
        CHECK_PASSES(CheckBox(p1, at, "判定項目", baCenter, 1.7, Row(0), 5.1, Row(1)));
        CHECK_PASSES(CheckBox(p1, at, "合格判定値Ⅰ(Kg)", baCenter, 5.1, Row(0), 10.3, Row(1)));
        CHECK_PASSES(CheckBox(p1, at, "合格判定値Ⅱ(％)", baCenter, 10.3, Row(0), 15.4, Row(1)));
        const QStringList names = {"骨材累積最終ビン", "2.36mm直近ホットビン", "石粉",
                                   "新アスファルト",   "再生混合物累積",       "再生骨材累積"};
        for (int i = 0; i < names.size(); ++i)
            CHECK_PASSES(
                CheckBox(p1, at, names[i], baCenter, 1.7, Row(1 + 2 * i), 5.1, Row(3 + 2 * i)));
        const struct
        {
            int row;
            bool columnII;
            const char* base;
            const char* deviation;
            const char* range;
        } cells[] = {
            {1, false, "900.00", "(±54.00)", "846.00～954.00"},
            {3, false, "200.00", "(±80.70)", "119.30～280.70"},
            {3, true, "22.22", "(±11.00)", "11.22～33.22"},
            {5, false, "40.00", "(13.44)\\\\(-9.92)", "30.08～53.44"},
            {5, true, "4.00", "(1.69)\\\\(-1.17)", "2.83～5.69"},
            {7, false, "60.00", "(±4.90)", "55.10～64.90"},
            {7, true, "6.00", "(±0.80)", "5.20～6.80"},
        };
        for (const auto& c : cells) {
            const double left = c.columnII ? 10.3 : 5.1;
            const double middle = c.columnII ? 12.8 : 7.65;
            const double right = c.columnII ? 15.4 : 10.3;
            const double top = Row(c.row);
            CHECK_PASSES(CheckBox(p1, at, c.base, baRight, left, top, middle, top + kRowH));
            CHECK_PASSES(
                CheckTwoLines(p1, at, c.deviation, baLeft, middle, top, right, top + kRowH));
            CHECK_PASSES(
                CheckBox(p1, at, c.range, baCenter, left, top + kRowH, right, top + 2 * kRowH));
        }
        // Nothing for the recycled entries of a mixture without recycled
        // material.
        QVERIFY(!AllText(p1).contains("0.00)"));

        // Page 2.
        const TPdfPage& p2 = pages[1];
        CHECK_PASSES(CheckBox(p2, at, "計量自記記録の合格判定値計算表", baCenter, 0, 0, 10.3, 0.8));
        CHECK_PASSES(CheckBox(p2, at, kPrintName, baLeft, 11.4, 0, 15.8, 0.8));
        CHECK_PASSES(CheckBox(p2, at, "項　　目", baCenter, 0, 8.25, 4.1, 9.55));
        CHECK_PASSES(CheckBox(p2, at, "合格判定値計算式", baCenter, 4.1, 8.25, 11.4, 9.55));
        CHECK_PASSES(CheckBox(p2, at, "基準値", baCenter, 11.4, 8.25, 12.9, 9.55));
        CHECK_PASSES(CheckBox(p2, at, "合格範囲", baCenter, 12.9, 8.25, 15.8, 9.55));
        const struct
        {
            int slot;
            const char* formula;
            const char* deviation;
            const char* base;
            const char* range;
        } rows[] = {
            {0, "±0.06×900.00", "±54.00", "900.00", "846.00～954.00"},
            {1, "±0.01×Wa×(10.3-0.06S)", "±80.70", "200.00", "119.30～280.70"},
            {2, "＋0.01×W×F(0.40-0.016F)\\\\－0.01×W×F(0.30-0.013F)", "＋13.44\\\\－9.92", "40.00",
             "30.08～53.44"},
            {3, "±0.01×W×(0.85-0.06A)", "±4.90", "60.00", "55.10～64.90"},
            {6, "S±11.0", "±11.00", "22.22", "11.22～33.22"},
            {7, "＋F×(0.49-0.017F)\\\\－F×(0.34-0.012F)", "＋1.69\\\\－1.17", "4.00", "2.83～5.69"},
            {8, "±0.8", "±0.80", "6.00", "5.20～6.80"},
        };
        for (const auto& r : rows) {
            const double top = Slot(r.slot);
            const double bottom = Slot(r.slot + 1);
            CHECK_PASSES(CheckTwoLines(p2, at, r.formula, baLeft, 4.4, top, 8.5, bottom));
            CHECK_PASSES(CheckBox(p2, at, "＝", baCenter, 8.5, top, 9.5, bottom));
            CHECK_PASSES(CheckTwoLines(p2, at, r.deviation, baLeft, 9.5, top, 11.3, bottom));
            CHECK_PASSES(CheckBox(p2, at, r.base, baRight, 11.4, top, 12.8, bottom));
            CHECK_PASSES(CheckBox(p2, at, r.range, baCenter, 12.9, top, 15.8, bottom));
        }
        CHECK_PASSES(CheckBox(p2, at, "Ｗ", baLeft, 0.3, 4.65, 1.0, 5.05, 8));
        CHECK_PASSES(CheckBox(p2, at, "：1ﾊﾞｯﾁの基準全計量値", baLeft, 1.1, 4.65, 13.5, 5.05, 8));
        CHECK_PASSES(CheckBox(p2, at, "1000.00", baRight, 13.5, 4.65, 14.9, 5.05, 8));
        CHECK_PASSES(CheckBox(p2, at, "(Kg)", baCenter, 14.9, 4.65, 15.6, 5.05, 8));
        CHECK_PASSES(CheckBox(p2, at, "22.22", baRight, 13.5, 6.25, 14.9, 6.65, 8));
        QVERIFY(!AllText(p2).contains("計算方法は"));
    }

    void recycledMaterialByTheReuseGuideline()
    {
        // Coarse aggregate first, use 0, "アスファルト舗装再生利用ガイドライン":
        // the filler's limits apply, and the formulas say so.
        StandardPlant(QStringLiteral("1000"), true);
        TGozaiDef* mix = NewMix(Recycled(), 0, this);
        const QList<TPdfPage> pages = Exported(*mix, 1);
        QCOMPARE(pages.size(), 2);
        const TPlacement at;
        const TPdfPage& p1 = pages[0];
        CHECK_PASSES(
            CheckBox(p1, at, "新アスファルト＋添加剤", baCenter, 1.7, Row(7), 5.1, Row(9)));
        CHECK_PASSES(CheckBox(p1, at, "36.00", baRight, 5.1, Row(5), 7.65, Row(6)));
        CHECK_PASSES(
            CheckTwoLines(p1, at, "(0.00)\\\\(-4.00)", baLeft, 7.65, Row(5), 10.3, Row(6)));
        CHECK_PASSES(CheckBox(p1, at, "32.00以上", baCenter, 5.1, Row(6), 10.3, Row(7)));
        CHECK_PASSES(CheckBox(p1, at, "5.00", baRight, 10.3, Row(7), 12.8, Row(8)));
        CHECK_PASSES(CheckBox(p1, at, "4.00以上", baCenter, 10.3, Row(8), 15.4, Row(9)));
        CHECK_PASSES(CheckBox(p1, at, "1000.00", baRight, 5.1, Row(9), 7.65, Row(10)));
        CHECK_PASSES(CheckBox(p1, at, "(±60.00)", baLeft, 7.65, Row(9), 10.3, Row(10)));
        CHECK_PASSES(CheckBox(p1, at, "379.60～420.40", baCenter, 5.1, Row(12), 10.3, Row(13)));
        CHECK_PASSES(CheckBox(p1, at, "34.00～46.00", baCenter, 10.3, Row(12), 15.4, Row(13)));
        CHECK_PASSES(CheckBox(p1, at, "40.00 ％", baRight, 6.5, 6.0, 9.0, 6.9));
        CHECK_PASSES(CheckBox(p1, at, "400.00 Kg", baRight, 6.5, 6.9, 9.0, 7.8));

        const TPdfPage& p2 = pages[1];
        const struct
        {
            int slot;
            const char* formula;
        } rows[] = {
            {0, "±0.06×514.00"},  {1, "±0.01×Wa'×(12.2-0.06G')"},
            {2, "-4.0"},          {3, "－0.01×W'×(1.06-0.06A')"},
            {4, "±0.06×1000.00"}, {5, "±0.01×W×(5.64-0.06(100-R'))"},
            {6, "(100-G')±13.0"}, {7, "－(390/Wa'+0.06F')"},
            {8, "-1.0以上"},      {9, "±6.0"},
        };
        for (const auto& r : rows)
            CHECK_PASSES(
                CheckBox(p2, at, r.formula, baLeft, 4.4, Slot(r.slot), 8.5, Slot(r.slot + 1)));
        CHECK_PASSES(
            CheckTwoLines(p2, at, "＋0.00\\\\－1.12", baLeft, 9.5, Slot(7), 11.3, Slot(8)));
        CHECK_PASSES(CheckBox(p2, at, "計算方法はアスファルト舗装再生利用ガイドラインによる",
                              baRight, 9.4, -0.4, 15.8, 0));
        CHECK_PASSES(CheckBox(p2, at, "Ｇ’", baLeft, 0.3, 6.25, 1.0, 6.65, 8));
        CHECK_PASSES(CheckBox(p2, at, "97.28", baRight, 13.5, 6.25, 14.9, 6.65, 8));
        CHECK_PASSES(CheckBox(p2, at, "Ｒ’", baLeft, 0.3, 7.05, 1.0, 7.45, 8));
    }

    void theFormulasOfEveryCase()
    {
        TGokakuResult r;
        TPlantRecord coarse;
        coarse.InitialWeighing = 1;
        using E = TAcceptanceSheet::TEntry;
        TGokakuHanteiti::TInput in;
        in.D = Recycled();
        in.batchWeight = "1000";
        for (int use = 0; use <= 2; ++use) {
            for (int method = 0; method <= 1; ++method) {
                in.use = TGokakuHanteiti::TUse(use);
                in.method = TGokakuHanteiti::TMethod(method);
                QVERIFY(TGokakuHanteiti::Compute(in, r));
                const TAcceptanceSheet sheet(r, TPlantRecord(), "", use, method, false);
                const TAcceptanceSheet coarseSheet(r, coarse, "", use, method, false);
                const QString c =
                    use == 0 ? (method ? "12.2" : "14.1") : (method ? "10.3" : "11.3");
                QCOMPARE(sheet.FormulaText(E::GradingI), QString("±0.01×Wa'×(%1-0.06S')").arg(c));
                QCOMPARE(coarseSheet.FormulaText(E::GradingI),
                         QString("±0.01×Wa'×(%1-0.06G')").arg(c));
                QVERIFY(sheet.FormulaText(E::GradingII).startsWith("S±"));
                QVERIFY(coarseSheet.FormulaText(E::GradingII).startsWith("(100-G')±"));
                QCOMPARE(sheet.FormulaText(E::RecycledRatioII), QString("±6.0"));
            }
        }
        // Without recycled material, use 0: the formula of the rule that
        // gave the filler's limits, the term when it is the smaller.
        in.D = SurfaceCourse();
        in.use = TGokakuHanteiti::Stabilised;
        QVERIFY(TGokakuHanteiti::Compute(in, r));
        TAcceptanceSheet sheet(r, coarse, "", 0, 0, false);
        QCOMPARE(sheet.FormulaText(E::FillerI), QString("-4.0"));
        QCOMPARE(sheet.FormulaText(E::FillerII), QString("－(390/W+0.06F)"));
        QCOMPARE(sheet.FormulaText(E::GradingII), QString("(100-G)±13.0"));
        in.D[8] = 1;
        in.D[0] = 23;
        QVERIFY(TGokakuHanteiti::Compute(in, r));
        sheet = TAcceptanceSheet(r, coarse, "", 0, 0, false);
        QCOMPARE(sheet.FormulaText(E::FillerI), QString("－0.01×W×F(0.37-0.013F)"));
        QCOMPARE(sheet.FormulaText(E::FillerII), QString("－F×(0.41-0.012F)"));
        // Use 1 has no grading formula.
        in.use = TGokakuHanteiti::Sidewalk;
        QVERIFY(TGokakuHanteiti::Compute(in, r));
        sheet = TAcceptanceSheet(r, coarse, "", 1, 0, false);
        QCOMPARE(sheet.FormulaText(E::GradingI), QString());
        QCOMPARE(sheet.FormulaText(E::AsphaltII), QString("-1.0以上"));
    }

    void rangesAndNumbers()
    {
        TGokakuResult r;
        const TAcceptanceSheet sheet(r, TPlantRecord(), "", 2, 0, false);
        QCOMPARE(sheet.RangeText({40.0, 13.44, -9.92}), QString("30.08～53.44"));
        QCOMPARE(sheet.RangeText({5.5, 0, -1.0}), QString("4.50以上"));
        QCOMPARE(sheet.RangeText({5.5, 0.8, 0}), QString("6.30以下"));
        QCOMPARE(sheet.RangeText({50.0, 0, 0}), QString());
        // Each number is rounded before it is added.
        QCOMPARE(sheet.RangeText({1.004, 0.004, -0.004}), QString("1.00～1.00"));
        // "0.0" for new materials when the setting says so; never with
        // recycled material.
        QCOMPARE(
            TAcceptanceSheet(r, TPlantRecord(), "", 2, 0, true).RangeText({40.0, 13.44, -9.92}),
            QString("30.1～53.4"));
        r.Ratio[TGokakuResult::R1] = 10;
        QCOMPARE(TAcceptanceSheet(r, TPlantRecord(), "", 2, 0, true).Number(1.234),
                 QString("1.23"));
    }

    void entriesWithoutAValueOrADeviation()
    {
        // No filler, and 5 % of recycled aggregate, whose tolerance the
        // guideline's term makes negative.
        std::array<double, 14> ratios = {50, 20, 15, 4, 0, 0, 5, 0, 0, 0, 0, 5.5, 0, 0.5};
        TGozaiDef* mix = NewMix(ratios, 2, this);
        const QList<TPdfPage> pages = Exported(*mix);
        QCOMPARE(pages.size(), 2);
        const QString page1 = AllText(pages[0]);
        QVERIFY(!page1.contains("(±0.00)"));
        QVERIFY(!page1.contains("以上"));
        const TPlacement at;
        CHECK_PASSES(CheckBox(pages[0], at, "50.00", baRight, 5.1, Row(11), 7.65, Row(12)));
        // The base alone: no deviation, no range.
        QStringList inCell;
        for (const TPdfWord& w : pages[0].words)
            if (w.CentreY() > at.Y(Row(11)) && w.CentreY() < at.Y(Row(13)) &&
                w.CentreX() > at.X(5.1) && w.CentreX() < at.X(10.3))
                inCell << w.text;
        QCOMPARE(inCell, QStringList{"50.00"});
        QVERIFY(!AllText(pages[1]).contains("nan") && !AllText(pages[1]).contains("inf"));
    }

    void aBatchThatCannotBeCalculatedPrintsTheFormOnly()
    {
        StandardPlant(QStringLiteral("0"));
        TGozaiDef* mix = NewMix(SurfaceCourse(), 2, this);
        const QList<TPdfPage> pages = PrintedFromPreview(*mix);
        QCOMPARE(pages.size(), 2);
        // Said once for both pages (and once when the window opened).
        QCOMPARE(TTestEnvironment::Current().prompt.Texts("message"),
                 QStringList(2, TGokakuHanteiti::NotCalculatedMessage()));
        const QString page1 = AllText(pages[0]);
        QVERIFY(page1.contains("計量自記記録合格判定値"));
        QVERIFY(!page1.contains("～"));
        QVERIFY(!page1.contains("nan"));
        QVERIFY(!AllText(pages[1]).contains("nan"));
    }

    void printedAtOnceOrNotAtAll()
    {
        TGozaiDef* mix = NewMix(SurfaceCourse(), 2, this);
        // "印刷" in the print settings: both pages, no preview.
        auto previewShown = std::make_shared<bool>(false);
        const auto answer = [previewShown](const char* button) {
            return [button, previewShown](QWidget* acceptance) {
                WhenModalShown([button](QWidget* settings) {
                    ControlOf<QPushButton>(settings, button)->click();
                });
                // A preview would wait for the user; it is noted and closed.
                QTimer::singleShot(1500, acceptance, [previewShown] {
                    if (auto* p = qobject_cast<TFormPreview*>(QApplication::activeModalWidget())) {
                        *previewShown = true;
                        p->reject();
                    }
                });
                ControlOf<QPushButton>(acceptance, "BitBtn2")->click();
            };
        };
        const qsizetype before = TZqPrinter::Instance().CapturedFiles().size();
        {
            TFormGokakuHanteiti window(mix, nullptr);
            WhenModalShown(answer("Button1"));
            QCOMPARE(window.exec(), int(TFormGokakuHanteiti::mrYes));
        }
        QCOMPARE(TZqPrinter::Instance().CapturedFiles().size(), before + 1);
        QCOMPARE(ReadPdf(LastPrintedFile()).size(), 2);
        QVERIFY(!*previewShown);

        // "閉じる": nothing printed, the acceptance window closes all the same.
        {
            TFormGokakuHanteiti window(mix, nullptr);
            WhenModalShown(answer("Button3"));
            QCOMPARE(window.exec(), int(TFormGokakuHanteiti::mrYes));
        }
        QCOMPARE(TZqPrinter::Instance().CapturedFiles().size(), before + 1);

        // No printer at all: the preview says so.
        TZqPrinter::Instance().SetCapture({});
        TZqPrinter::Instance().SetPdfPrinterEnabled(false);
        {
            TFormGokakuHanteiti window(mix, nullptr);
            WhenModalShown(answer("Button6"));
            QCOMPARE(window.exec(), int(TFormGokakuHanteiti::mrYes));
        }
        QVERIFY(TTestEnvironment::Current().prompt.Texts("error").contains(
            "プリンタが登録されていません"));
        QCOMPARE(PageOffsetX(), 0.0f);
    }

    void theCircleMarksTheInitialWeighing()
    {
        const TDeviceMetrics device = TAcceptanceSheet::PdfDevice();
        for (bool coarse : {false, true}) {
            TPlantRecord plant;
            plant.InitialWeighing = coarse ? 1 : 0;
            const TAcceptanceSheet sheet(TGokakuResult(), plant, "", 2, 0, false);
            TPaintRecorder recorder(device.dpiX);
            {
                TCanvas canvas(&recorder, device);
                sheet.DrawAcceptanceSummary(
                    canvas, {kFont, 26, 30, TAcceptanceSheet::PenWidthOn(device, 96)});
            }
            QCOMPARE(recorder.ellipses.size(), 1);
            const QPointF centre = recorder.ellipses[0].center();
            const double x = ((coarse ? 10.75 : 9.75) + 2.6) * device.dpiX / 2.54;
            const double y = (2.9 + 3.0) * device.dpiY / 2.54;
            QVERIFY2(std::abs(centre.x() - x) < 3 && std::abs(centre.y() - y) < 3,
                     qPrintable(QString("%1,%2").arg(centre.x()).arg(centre.y())));
        }
    }

    void thePageOffsetIsPutBackAfterTheSheet()
    {
        SetPageOffset(0.5f, -0.25f);
        const TDeviceMetrics device = TAcceptanceSheet::PdfDevice();
        const TAcceptanceSheet sheet(TGokakuResult(), TPlantRecord(), "", 2, 0, false);
        TPaintRecorder recorder(device.dpiX);
        {
            TCanvas canvas(&recorder, device);
            TAcceptanceSheet::TPage page{kFont, 26, 30, TAcceptanceSheet::PenWidthOn(device, 96)};
            sheet.DrawAcceptanceSummary(canvas, page);
            QCOMPARE(PageOffsetX(), 0.5f);
            QCOMPARE(PageOffsetY(), -0.25f);
            sheet.DrawAcceptanceCalcSheet(canvas, page);
            QCOMPARE(PageOffsetX(), 0.5f);
            // A drawing that fails half way.
            page.penWidth = [](int) -> int { throw EKanmuriError(QStringLiteral("pen")); };
            QVERIFY_THROWS_EXCEPTION(EKanmuriError, sheet.DrawAcceptanceCalcSheet(canvas, page));
        }
        QCOMPARE(PageOffsetX(), 0.5f);
        QCOMPARE(PageOffsetY(), -0.25f);
        SetPageOffset(0, 0);

        // The preview's whole print leaves it as it was too.
        TGozaiDef* mix = NewMix(SurfaceCourse(), 2, this);
        QCOMPARE(PrintedFromPreview(*mix).size(), 2);
        QCOMPARE(PageOffsetX(), 0.0f);
        QCOMPARE(PageOffsetY(), 0.0f);
    }
};

KANMURI_TEST_MAIN(TestAcceptanceSheet)
#include "tst_AcceptanceSheet.moc"
