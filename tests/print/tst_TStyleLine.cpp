// Lines, frames and circles in printer pixels: dash patterns in points that
// run on across the corners of a polyline, dotted pens, pen widths in
// millimetres.
#include "PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TStyleLine.h"

#include <cmath>

namespace {

TDeviceMetrics Device(int dpi)
{
    return TDeviceMetrics{dpi, dpi, 20000, 20000, 0, 0, 20000, 20000};
}

QList<QLineF> Lines(std::initializer_list<QLineF> lines)
{
    return QList<QLineF>(lines);
}

} // namespace

class TestTStyleLine : public QObject
{
    Q_OBJECT
private slots:
    void patternsAreMeasuredInPointsOfTheDevice()
    {
        TPaintRecorder recorder(144);
        TCanvas canvas(&recorder, Device(144));
        TStyleLine line(&canvas);
        QCOMPARE(line.Pattern(), QList<int>({20, 20})); // device pixels, not scaled
        line.SetKind(slDashDot);
        QCOMPARE(line.Pattern(), QList<int>({24, 16, 8, 16}));
        line.SetKind(slDashDotDot);
        QCOMPARE(line.Pattern(), QList<int>({24, 8, 8, 8, 8, 8}));
        line.SetKind(slDefault); // outside 1 to 5: the pattern stays
        QCOMPARE(line.Pattern(), QList<int>({24, 8, 8, 8, 8, 8}));
        line.SetLineWidth(0);
        QCOMPARE(line.LineWidth(), 1);
    }

    void theDashPhaseRunsOnAcrossACorner()
    {
        TPaintRecorder recorder(72); // one point is one pixel
        TCanvas canvas(&recorder, Device(72));
        TStyleLine line(&canvas);
        line.SetKind(slDash); // 24 drawn, 8 skipped

        // A dash cut by the corner goes on with its remaining 4 pixels.
        line.MoveTo(0, 0);
        line.LineTo(20, 0);
        line.LineTo(20, 30);
        QCOMPARE(recorder.lines, Lines({{0, 0, 20, 0}, {20, 0, 20, 4}, {20, 12, 20, 30}}));

        // A gap cut by the corner: 6 of its 8 pixels before, 2 after.
        recorder.Clear();
        line.MoveTo(100, 0);
        line.LineTo(130, 0);
        line.LineTo(130, 20);
        QCOMPARE(recorder.lines, Lines({{100, 0, 124, 0}, {130, 2, 130, 20}}));

        // Whole patterns in one piece; MoveTo starts the pattern again.
        recorder.Clear();
        line.MoveTo(0, 100);
        line.LineTo(70, 100);
        QCOMPARE(recorder.lines,
                 Lines({{0, 100, 24, 100}, {32, 100, 56, 100}, {64, 100, 70, 100}}));
    }

    void aPatternWithoutLengthDrawsSolid()
    {
        TPaintRecorder recorder(72);
        TCanvas canvas(&recorder, Device(72));
        TStyleLine line(&canvas);
        for (const QList<int>& pattern : {QList<int>(), QList<int>({0, 0})}) {
            recorder.Clear();
            line.SetPattern(pattern);
            line.MoveTo(0, 0);
            line.LineTo(50, 0);
            QCOMPARE(recorder.lines, Lines({{0, 0, 50, 0}}));
        }
        // A line of no length draws nothing.
        recorder.Clear();
        line.SetKind(slDot);
        line.MoveTo(5, 5);
        line.LineTo(5, 5);
        QVERIFY(recorder.lines.isEmpty());
    }

    void dottedPenDrawsDotsOnceThenTheCanvasIsSolid()
    {
        TPaintRecorder recorder(1200);
        TCanvas canvas(&recorder, Device(1200));
        canvas.SetPenWidth(0);
        canvas.SetPenStyle(Qt::DotLine);
        DrawLineCm(canvas, 1, 1, 11, 1, 1);
        // 10 cm of 4-point dots and gaps at 1200 dpi: 67 pixels each.
        const int dots = int(recorder.lines.size());
        QVERIFY2(dots >= 35 && dots <= 36, qPrintable(QString::number(dots)));
        QCOMPARE(recorder.lines.first().length(), 67.0);
        QCOMPARE(canvas.PenStyle(), Qt::SolidLine);
        QCOMPARE(canvas.PenWidth(), 0);

        // Drawn again without setting the style: one solid stroke.
        recorder.Clear();
        DrawLineCm(canvas, 1, 2, 11, 2, 1);
        QCOMPARE(recorder.lines.size(), 1);
        QCOMPARE(recorder.lines.first(), QLineF(472, 944, 5196, 944));

        // Any other style gets the default pattern of 20 device pixels.
        recorder.Clear();
        canvas.SetPenStyle(Qt::DashLine);
        DrawLineCm(canvas, 0, 0, 0.1f, 0, 1);
        QCOMPARE(recorder.lines.first().length(), 20.0);
    }

    void framesCirclesAndPenWidths()
    {
        TPaintRecorder recorder(1200);
        TCanvas canvas(&recorder, Device(1200));
        canvas.SetPenWidth(7);
        DrawRectCm(canvas, 1, 2, 3, 4, 1);
        // Four strokes: top rightwards, right down, bottom leftwards, left up.
        QCOMPARE(recorder.lines, Lines({{472, 944, 1417, 944},
                                        {1417, 944, 1417, 1889},
                                        {1417, 1889, 472, 1889},
                                        {472, 1889, 472, 944}}));
        QCOMPARE(canvas.PenWidth(), 7);

        DrawCircleCm(canvas, 2.5f, 2.5f, 0.5f, 1);
        QCOMPARE(recorder.ellipses.size(), 1);
        QCOMPARE(recorder.ellipses.first().toRect(), QRect(944, 944, 473, 473));

        // Millimetres rounded up to a whole pixel; a hair over a whole pixel
        // is that pixel.
        SetPenWidthMm(canvas, 0.1f);
        QCOMPARE(canvas.PenWidth(), 5); // 4.72 pixels
        SetPenWidthMm(canvas, float(25.4 * 3 / 1200 + 1e-9));
        QCOMPARE(canvas.PenWidth(), 3);
        SetPenWidthMm(canvas, 0);
        QCOMPARE(canvas.PenWidth(), 0);
    }

    void textIsMeasuredAtTwoPointFiveFiveCentimetresToTheInch()
    {
        TPaintRecorder recorder(254);
        TCanvas canvas(&recorder, Device(254));
        canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        canvas.SetFontSize(20);
        const QString text = QStringLiteral("アスファルト合材舗設実績表");
        const int pixels = canvas.TextWidth(text);
        QVERIFY(pixels > 254);
        QCOMPARE(TextWidthCm(canvas, text), float(pixels * 2.55 / 254));
        QCOMPARE(TextWidthMm(canvas, text), int(std::lround(pixels * 25.5 / 254)));
        // The largest size that fits 3 cm, the canvas's size unchanged.
        const int fitted = FitFontSize(canvas, text, 3.0);
        QCOMPARE(canvas.FontSize(), 20);
        canvas.SetFontSize(fitted);
        QVERIFY(TextWidthCm(canvas, text) <= 3.0f);
        canvas.SetFontSize(fitted + 1);
        QVERIFY(TextWidthCm(canvas, text) > 3.0f);
    }
};

KANMURI_TEST_MAIN(TestTStyleLine)
#include "tst_TStyleLine.moc"
