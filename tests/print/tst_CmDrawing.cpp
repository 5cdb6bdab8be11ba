// Texts, lines and boxes drawn in centimetres land where the form says on
// the printed sheet: drawn through the preview onto the PDF printer and read
// back with poppler's pdftotext.
#include "PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TPageOffset.h"
#include "print/TPrevX.h"

#include <QProcess>
#include <cmath>

namespace {

constexpr int kSize = 12;             // points
const double kEm = kSize * 25.4 / 72; // mm

#define QCOMPARE_MM(actual, expected)                                                              \
    do {                                                                                           \
        const double a_ = (actual);                                                                \
        const double e_ = (expected);                                                              \
        if (std::abs(a_ - e_) > kTolerance)                                                        \
            QFAIL(qPrintable(QStringLiteral("%1 is %2 mm, expected %3 mm")                         \
                                 .arg(QStringLiteral(#actual))                                     \
                                 .arg(a_, 0, 'f', 3)                                               \
                                 .arg(e_, 0, 'f', 3)));                                            \
    } while (false)

// Prints one page drawn by `draw` and reads it back.
TPdfPage PrintDrawing(const std::function<void(TCanvas&)>& draw)
{
    TPrevX preview;
    preview.NewDocument();
    TCanvas& canvas = *preview.PageCanvas();
    canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    canvas.SetFontSize(kSize);
    draw(canvas);
    preview.EndDocument();
    preview.Print();
    const QList<TPdfPage> pages = ReadPdf(LastPrintedFile());
    return pages.isEmpty() ? TPdfPage{} : pages.first();
}

// The top of a line of text set in a box from `top` to `bottom` cm, in mm.
double LineTop(double top, double bottom, double em = kEm)
{
    return (top + bottom) * 5 - em / 2;
}

// A box exactly `pixels` device pixels wide at the printer's resolution.
float WidthOfPixels(int pixels, int dpi)
{
    return float((pixels + 0.5) * 2.54 / dpi);
}

} // namespace

class TestCmDrawing : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        SetPageOffset(0, 0);
        UseCapturePrinter();
        TZqPrinter::Instance().SetOrientation(QPageLayout::Portrait);
    }

    void horizontalTextLandsInItsBoxForEveryAlignment_data()
    {
        QTest::addColumn<double>("margin");
        QTest::newRow("sheet without margins") << 0.0;
        // A printer that cannot print the outer 5 mm: the form stays put.
        QTest::newRow("5 mm unprintable margin") << 5.0;
    }
    void horizontalTextLandsInItsBoxForEveryAlignment()
    {
        QFETCH(double, margin);
        UseCapturePrinter(QMarginsF(margin, margin, margin, margin));
        const QString text = QStringLiteral("舗設ABC");
        const TPdfPage page = PrintDrawing([&](TCanvas& c) {
            DrawBoxText(c, QStringLiteral("左") + text, baLeft, 2, 3, 10, 4, false, 1);
            DrawBoxText(c, QStringLiteral("中") + text, baCenter, 2, 5, 10, 6, false, 1);
            DrawBoxText(c, QStringLiteral("右") + text, baRight, 2, 7, 10, 8, false, 1);
            // Codes beyond the list draw nothing.
            DrawBoxText(c, QStringLiteral("無効"), TBoxAlign(9), 2, 9, 10, 10, false, 1);
        });
        QCOMPARE_MM(page.width, 210.0);
        const TPdfWord left = page.One(QStringLiteral("左") + text);
        QCOMPARE_MM(left.left, 20.0);
        QCOMPARE_MM(left.top, LineTop(3, 4));
        const TPdfWord centre = page.One(QStringLiteral("中") + text);
        QCOMPARE_MM(centre.CentreX(), 60.0);
        QCOMPARE_MM(centre.top, LineTop(5, 6));
        const TPdfWord right = page.One(QStringLiteral("右") + text);
        QCOMPARE_MM(right.right, 100.0);
        QCOMPARE_MM(right.top, LineTop(7, 8));
        QVERIFY(page.Find(QStringLiteral("無効")).isEmpty());
        // Same width whatever the alignment.
        QCOMPARE_MM(right.right - right.left, left.right - left.left);
    }

    void textAtTheUnprintableMarginStartsAtTheFirstPrintablePixel()
    {
        UseCapturePrinter(QMarginsF(5, 5, 5, 5));
        TPrevX preview;
        preview.NewDocument();
        TCanvas& canvas = *preview.PageCanvas();
        const TDeviceMetrics device = canvas.Device();
        QVERIFY(device.offsetLeft > 200); // about 5 mm at 1200 dpi
        // The margin in centimetres, a hair over so that it is not cut down
        // to the pixel before.
        const float margin = float((device.offsetLeft + 0.3) * 2.54 / device.dpiX);
        TPaintRecorder recorder(device.dpiX);
        TCanvas probe(&recorder, device);
        DrawBoxText(probe, QStringLiteral("A"), baLeft, margin, 1, 5, 2, false, 1);
        QCOMPARE(recorder.texts.size(), 1);
        QCOMPARE(recorder.texts[0].baseline.x(), 0.0);
    }

    void spreadPutsTheFirstAndLastCharacterAtTheEdges()
    {
        const TPdfPage page = PrintDrawing([](TCanvas& c) {
            DrawBoxText(c, QStringLiteral("測点"), baSpread, 2, 3, 12, 4, false, 1);
            DrawBoxText(c, QStringLiteral("摘要"), baInsetSpread, 2, 5, 12, 6, false, 1);
            DrawBoxText(c, QStringLiteral("月日"), baSpread, 14, 2, 15, 8, true, 1);
            // One character alone is centred, across and down.
            DrawBoxText(c, QStringLiteral("単"), baSpread, 2, 9, 12, 10, false, 1);
            DrawBoxText(c, QStringLiteral("縦"), baSpread, 16, 2, 17, 8, true, 1);
        });
        QCOMPARE_MM(page.One(QStringLiteral("測")).left, 20.0);
        QCOMPARE_MM(page.One(QStringLiteral("点")).right, 120.0);
        QCOMPARE_MM(page.One(QStringLiteral("摘")).left, 30.0);
        QCOMPARE_MM(page.One(QStringLiteral("要")).right, 110.0);
        const TPdfWord first = page.One(QStringLiteral("月"));
        const TPdfWord last = page.One(QStringLiteral("日"));
        QCOMPARE_MM(first.top, 20.0);
        QCOMPARE_MM(first.CentreX(), 145.0);
        QCOMPARE_MM(last.CentreX(), 145.0);
        QVERIFY(last.top > 70.0 && last.bottom <= 80.0 + kTolerance);
        QCOMPARE_MM(page.One(QStringLiteral("単")).CentreX(), 70.0);
        const TPdfWord single = page.One(QStringLiteral("縦"));
        QCOMPARE_MM(single.CentreX(), 165.0);
        QVERIFY(std::abs(single.CentreY() - 50.0) < 1.0);
    }

    void verticalWritingStacksUprightCharactersCentredAcrossTheBox()
    {
        const TPdfPage page = PrintDrawing([](TCanvas& c) {
            DrawBoxText(c, QStringLiteral("上下"), baLeft, 2, 2, 3, 12, true, 1);
            DrawBoxText(c, QStringLiteral("中央"), baCenter, 4, 2, 5, 12, true, 1);
            DrawBoxText(c, QStringLiteral("末尾"), baRight, 6, 2, 7, 12, true, 1);
        });
        const TPdfWord top = page.One(QStringLiteral("上"));
        const TPdfWord below = page.One(QStringLiteral("下"));
        QCOMPARE_MM(top.top, 20.0);
        QCOMPARE_MM(top.CentreX(), 25.0);
        QCOMPARE_MM(below.CentreX(), 25.0);
        QVERIFY(below.top > top.top + kEm * 0.9);
        // The pair is centred on the box's middle (70 mm) and flush with its
        // bottom (120 mm); each line is as high as the font's ascent and
        // descent, a little more than its em.
        const double pair = below.top - top.top;
        const TPdfWord middle = page.One(QStringLiteral("中"));
        QVERIFY(std::abs(middle.top + pair - 70.0) < 1.0);
        QCOMPARE_MM(middle.CentreX(), 45.0);
        const TPdfWord end = page.One(QStringLiteral("尾"));
        QVERIFY(end.bottom < 120.0 && end.bottom > 118.0);
        QCOMPARE_MM(end.CentreX(), 65.0);
    }

    void decimalSplitAndLineBreakGiveTheirPieces()
    {
        const TPdfPage page = PrintDrawing([](TCanvas& c) {
            DrawBoxText(c, QStringLiteral("12.5"), baDecimal, 2, 2, 6, 4, false, 1);
            DrawBoxText(c, QStringLiteral("125"), baDecimal, 2, 5, 6, 7, false, 1);
            DrawBoxText(c, QStringLiteral("AB\\\\CD"), baLeft, 8, 2, 12, 4, false, 1);
            DrawBoxText(c, QStringLiteral("EF\\\\GH"), baLeft, 14, 2, 16, 8, true, 1);
        });
        const TPdfWord whole = page.One(QStringLiteral("12"));
        QCOMPARE_MM(whole.left, 20.1);
        QCOMPARE_MM(whole.top, LineTop(3, 4));
        const TPdfWord fraction = page.One(QStringLiteral(".5"));
        QCOMPARE_MM(fraction.right, 60.0);
        const double small = int(kSize * 0.8) * 25.4 / 72;
        QCOMPARE_MM(fraction.top, LineTop(2, 3, small));
        QCOMPARE_MM(fraction.bottom - fraction.top,
                    (whole.bottom - whole.top) * int(kSize * 0.8) / kSize);
        const TPdfWord noPoint = page.One(QStringLiteral("125"));
        QCOMPARE_MM(noPoint.right, 60.0);
        QCOMPARE_MM(noPoint.top, LineTop(5, 6, small));

        QCOMPARE_MM(page.One(QStringLiteral("AB")).top, LineTop(2, 3));
        QCOMPARE_MM(page.One(QStringLiteral("CD")).top, LineTop(3, 4));
        QCOMPARE_MM(page.One(QStringLiteral("AB")).left, 80.0);
        // Vertically the first part goes left, the second right.
        QCOMPARE_MM(page.One(QStringLiteral("E")).CentreX(), 145.0);
        QCOMPARE_MM(page.One(QStringLiteral("G")).CentreX(), 155.0);
        QCOMPARE_MM(page.One(QStringLiteral("G")).top, 20.0);
    }

    void textWiderThanItsBoxWrapsIntoTwoHalfLines()
    {
        const QString text = QStringLiteral("アスファルト合材");
        int width = 0;
        int dpi = 0;
        {
            TPrevX probe;
            probe.NewDocument();
            TCanvas& c = *probe.PageCanvas();
            c.SetFontName(QStringLiteral("ＭＳ ゴシック"));
            c.SetFontSize(kSize);
            width = c.TextWidth(text);
            dpi = c.PixelsPerInchX();
        }
        const float exact = WidthOfPixels(width, dpi);
        const float narrower = WidthOfPixels(width - 1, dpi);
        const TPdfPage page = PrintDrawing([&](TCanvas& c) {
            DrawBoxText(c, text, baLeft, 2, 2, 2 + exact, 4, false, 1);
            DrawBoxText(c, text, baLeft, 2, 6, 2 + narrower, 8, false, 1);
        });
        QCOMPARE_MM(page.One(text).top, LineTop(2, 4));
        // One pixel narrower: all but the last character above, the last
        // below, each in its half of the box.
        const TPdfWord first = page.One(QStringLiteral("アスファルト合"));
        const TPdfWord second = page.One(QStringLiteral("材"));
        QCOMPARE_MM(first.top, LineTop(6, 7));
        QCOMPARE_MM(second.top, LineTop(7, 8));
        QCOMPARE_MM(second.left, 20.0);
    }

    void textThatCannotWrapIsDrawnOnOneLine()
    {
        // Not even one character fits, or the box has no width at all:
        // splitting would never end, so the text stays whole.
        const TPdfPage page = PrintDrawing([](TCanvas& c) {
            DrawBoxText(c, QStringLiteral("舗装工事"), baLeft, 2, 2, 2.05f, 3, false, 1);
            DrawBoxText(c, QStringLiteral("幅なし"), baLeft, 2, 4, 2, 5, false, 1);
            DrawBoxText(c, QStringLiteral("逆向き"), baCenter, 6, 6, 4, 7, false, 1);
        });
        QCOMPARE_MM(page.One(QStringLiteral("舗装工事")).left, 20.0);
        QCOMPARE_MM(page.One(QStringLiteral("舗装工事")).top, LineTop(2, 3));
        QCOMPARE_MM(page.One(QStringLiteral("幅なし")).left, 20.0);
        QCOMPARE(page.Find(QStringLiteral("逆向き")).size(), 1);
    }

    void fontSizeAndBrushComeBackAfterEveryHelper()
    {
        TPaintRecorder recorder;
        TDeviceMetrics device{1200, 1200, 9917, 14033, 0, 0, 9917, 14033};
        TCanvas canvas(&recorder, device);
        canvas.SetFontSize(11);
        canvas.SetBrushStyle(Qt::SolidPattern);
        DrawBoxText(canvas, QStringLiteral("1.25"), baDecimal, 1, 1, 3, 2, false, 1);
        DrawBoxText(canvas, QStringLiteral("とても長い文字列で折り返す"), baLeft, 1, 1, 2, 2, false,
                    1);
        DrawBoxText(canvas, QStringLiteral("縦書き"), baSpread, 1, 1, 2, 9, true, 1);
        QCOMPARE(canvas.FontSize(), 11);
        QCOMPARE(canvas.BrushStyle(), Qt::SolidPattern);
        // Fonts are sized from the printer's vertical resolution.
        QCOMPARE(canvas.FontHeight(), -int(std::lround(11 * 1200 / 72.0)));
        QCOMPARE(recorder.texts.first().pixelSize, int(std::lround(11 * 1200 / 72.0)));
    }

    void charactersOutsideTheBasicPlaneAreNeverCut()
    {
        const QString yoshi = QString::fromUcs4(U"𠮷");
        const QString withSelector = QString::fromUcs4(U"葛\U000E0100");
        QCOMPARE(TextCharacters(QStringLiteral("A") + yoshi + QStringLiteral("B")),
                 QStringList({QStringLiteral("A"), yoshi, QStringLiteral("B")}));
        QCOMPARE(TextCharacters(withSelector + QStringLiteral("西")),
                 QStringList({withSelector, QStringLiteral("西")}));

        TPaintRecorder recorder;
        TDeviceMetrics device{1200, 1200, 9917, 14033, 0, 0, 9917, 14033};
        TCanvas canvas(&recorder, device);
        canvas.SetFontSize(12);
        const QString name = yoshi + QStringLiteral("野") + yoshi;
        DrawBoxText(canvas, name, baSpread, 1, 1, 9, 2, false, 1);
        DrawBoxText(canvas, name, baLeft, 1, 1, 2, 9, true, 1);
        // Too wide for its box: wraps before the last character.
        DrawBoxText(canvas, name, baLeft, 1, 1, 2, 2, false, 1);
        const QStringList drawn = recorder.TextsDrawn();
        QCOMPARE(drawn.count(yoshi), 4 + 1);
        QCOMPARE(drawn.count(yoshi + QStringLiteral("野")), 1);
        for (const QString& piece : drawn)
            for (QChar c : piece)
                QVERIFY2(!c.isSurrogate() || piece.contains(yoshi), qPrintable(piece));
    }

    void pageOffsetShiftsTheSheetAndComesBackAfterIt()
    {
        SetPageOffset(0.5f, 0.5f); // left by a sheet before
        const TPdfPage shifted = PrintDrawing([](TCanvas& c) {
            const TPageOffset offset = TPageOffset::FromMargins(10, 5);
            QCOMPARE(PageOffsetX(), -1.0f);
            DrawBoxText(c, QStringLiteral("枠"), baLeft, 2, 3, 5, 4, false, 1);
        });
        QCOMPARE(PageOffsetX(), 0.5f);
        QCOMPARE(PageOffsetY(), 0.5f);
        QCOMPARE_MM(shifted.One(QStringLiteral("枠")).left, 30.0);
        QCOMPARE_MM(shifted.One(QStringLiteral("枠")).top, LineTop(3, 4) + 5);

        // A sheet that fails part way leaves the offset as it found it.
        try {
            const TPageOffset offset(-2, -2);
            throw std::runtime_error("drawing failed");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(PageOffsetX(), 0.5f);
        SetPageOffset(0, 0);
    }

    void pagesKeepTheirOwnOrientationAndJapaneseFontsAreEmbedded()
    {
        TZqPrinter& printers = TZqPrinter::Instance();
        TPrevX preview;
        printers.SetOrientation(QPageLayout::Portrait);
        preview.NewDocument();
        preview.PageCanvas()->SetFontName(QStringLiteral("ＭＳ 明朝"));
        DrawBoxText(*preview.PageCanvas(), QStringLiteral("縦の頁"), baLeft, 2, 2, 10, 3, false, 1);
        printers.SetOrientation(QPageLayout::Landscape);
        preview.NewPage();
        preview.PageCanvas()->SetFontName(QStringLiteral("ＭＳ ゴシック"));
        DrawBoxText(*preview.PageCanvas(), QStringLiteral("横の頁"), baRight, 2, 2, 27, 3, false,
                    1);
        preview.EndDocument();
        QCOMPARE(preview.PageCount(), 2);
        preview.Print();

        const QList<TPdfPage> pages = ReadPdf(LastPrintedFile());
        QCOMPARE(pages.size(), 2);
        QCOMPARE_MM(pages[0].width, 210.0);
        QCOMPARE_MM(pages[0].height, 297.0);
        QCOMPARE_MM(pages[1].width, 297.0);
        QCOMPARE_MM(pages[1].height, 210.0);
        QCOMPARE_MM(pages[0].One(QStringLiteral("縦の頁")).left, 20.0);
        QCOMPARE_MM(pages[1].One(QStringLiteral("横の頁")).right, 270.0);

        QProcess fonts;
        fonts.start(QStringLiteral("pdffonts"), {LastPrintedFile()});
        QVERIFY(fonts.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n');
        const QStringList fontLines =
            lines.mid(2).filter(QRegularExpression(QStringLiteral("\\S")));
        QVERIFY(fontLines.size() >= 2); // Gothic and Mincho
        for (const QString& line : fontLines) {
            const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
            QVERIFY2(columns.size() >= 5 && columns[columns.size() - 5] == QStringLiteral("yes"),
                     qPrintable(line)); // embedded
        }
    }
};

KANMURI_TEST_MAIN(TestCmDrawing)
#include "tst_CmDrawing.moc"
