#include "foundation/GradationChart.h"
#include "foundation/Settings.h"
#include "foundation/Sieves.h"
#include "support/TTestEnvironment.h"

#include <QImage>
#include <QPainter>
#include <cmath>

using TPairs = QList<TSieveRange>;
Q_DECLARE_METATYPE(TPairs)

namespace {

const QRgb kUntouched = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);

// Where the chart puts its plot in the gradation window's 265 x 201 image.
struct TPlot
{
    int left = 0, right = 0, top = 0, bottom = 0;
    double fineLog = 0, coarseLog = 0;

    QPoint At(int sieve, double percent) const
    {
        const double at = (std::log10(SieveSize(sieve)) - fineLog) / (coarseLog - fineLog);
        return QPoint(int(std::lround(left + (right - left) * at)),
                      int(std::lround(top + (bottom - top) * (1 - percent / 100))));
    }
    // A point the given fraction of the way across, at a percentage.
    QPoint Across(double fraction, double percent) const
    {
        return QPoint(int(std::lround(left + (right - left) * fraction)),
                      int(std::lround(top + (bottom - top) * (1 - percent / 100))));
    }
};

class TChart
{
public:
    TChart() : image(265, 201, QImage::Format_RGB32)
    {
        image.fill(kUntouched);
        painter.begin(&image);
        QFont font = painter.font();
        font.setPointSize(9);
        painter.setFont(font);
    }

    void Draw(const TPairs& pairs, bool clearBackground = true)
    {
        GradationChart(painter, image.rect(), pairs, 1, 1, clearBackground);
    }

    TPlot Plot(int coarsest, int finest)
    {
        const QFontMetrics m = painter.fontMetrics();
        QString label;
        SieveLabel(coarsest, label);
        TPlot p;
        p.left = m.horizontalAdvance("100");
        p.right = image.width() - m.horizontalAdvance(label) / 2;
        p.top = m.height() / 2;
        p.bottom = image.height() - 2 * m.height();
        p.fineLog = std::log10(SieveSize(finest));
        p.coarseLog = std::log10(SieveSize(coarsest));
        return p;
    }

    QRgb Pixel(QPoint at)
    {
        painter.end();
        const QRgb rgb = image.pixel(at) & 0xFFFFFF;
        painter.begin(&image);
        return rgb | 0xFF000000;
    }

    int Count(QRgb colour)
    {
        painter.end();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        painter.begin(&image);
        return n;
    }

    // Whether a line passes within one pixel of the point.
    bool BlackNear(QPoint at)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Pixel(at + QPoint(dx, dy)) == kBlack)
                    return true;
        return false;
    }

    QImage image;
    QPainter painter;
};

TPairs AllSieves(const QString& text)
{
    TPairs pairs;
    for (int n = 1; n <= 18; ++n)
        pairs.append({n, text});
    return pairs;
}

} // namespace

class TestGradationChart : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void fewerThanTwoSievesDrawOnlyTheBackground_data()
    {
        QTest::addColumn<TPairs>("pairs");
        QTest::newRow("none") << TPairs{};
        QTest::newRow("one") << TPairs{{5, "85_100"}};
        QTest::newRow("pan ends the list") << TPairs{{11, "100"}, {19, "-"}, {12, "0_25"}};
        QTest::newRow("number outside the series") << TPairs{{0, "100"}, {11, "85_100"}};
        QTest::newRow("one sieve twice") << TPairs{{11, "85_100"}, {11, "85_100"}};
    }
    void fewerThanTwoSievesDrawOnlyTheBackground()
    {
        QFETCH(TPairs, pairs);
        TChart chart;
        chart.Draw(pairs);
        QCOMPARE(chart.Count(kWhite), 265 * 201);

        TChart kept;
        kept.Draw(pairs, false);
        QCOMPARE(kept.Count(kUntouched), 265 * 201);
    }

    void everySieveWithoutRequirementShowsFrameAndNoBand()
    {
        TChart chart;
        chart.Draw(AllSieves("-"));
        const TPlot plot = chart.Plot(1, 18);
        QCOMPARE(chart.Count(kYellow), 0);
        QCOMPARE(chart.Pixel(QPoint(plot.left, plot.top + 3)), kBlack);
        QCOMPARE(chart.Pixel(QPoint(plot.right, plot.top + 3)), kBlack);
        QCOMPARE(chart.Pixel(plot.Across(0.5, 100)), kBlack);
        QCOMPARE(chart.Pixel(plot.Across(0.5, 0)), kBlack);
        // Grid lines at each ten percent and at each sieve but the coarsest.
        QCOMPARE(chart.Pixel(plot.Across(0.37, 50)), kBlack);
        QCOMPARE(chart.Pixel(QPoint(plot.At(9, 0).x(), plot.Across(0, 45).y())), kBlack);
        QCOMPARE(chart.Pixel(plot.Across(0.33, 45)), kWhite);
        // Sieve labels below the frame, on two lines.
        painterWritesBelow(chart, plot);
    }

    void bandFillsBetweenTheLimits()
    {
        TChart chart;
        // "[S1]S-5"
        chart.Draw({{9, "100"}, {11, "85_100"}, {12, "0_25"}, {13, "0_5"}});
        const TPlot plot = chart.Plot(9, 13);
        // Just right of the sieves' grid lines.
        const QPoint aside(3, 0);
        QCOMPARE(chart.Pixel(plot.At(11, 93) + aside), kYellow);
        QCOMPARE(chart.Pixel(plot.At(12, 12) + aside), kYellow);
        QCOMPARE(chart.Pixel(plot.At(11, 75) + aside), kWhite);
        QCOMPARE(chart.Pixel(plot.At(12, 45) + aside), kWhite);
        // Outline in black through the limits.
        QVERIFY(chart.BlackNear(plot.At(11, 85)));
        QVERIFY(chart.BlackNear(plot.At(12, 25)));
        // The background outside the plot stays white.
        QCOMPARE(chart.Pixel(QPoint(264, 0)), kWhite);
    }

    void rangeUpToOneHundredNextToOneHundred()
    {
        TChart chart;
        chart.Draw({{1, "100"}, {2, "90_100"}});
        const TPlot plot = chart.Plot(1, 2);
        // The upper line runs at 100; the lower one rises from 90 at sieve 2 to 100.
        QCOMPARE(chart.Pixel(plot.Across(0.1, 96)), kYellow);
        QCOMPARE(chart.Pixel(plot.Across(0.1, 87)), kWhite);
        QCOMPARE(chart.Pixel(plot.Across(0.8, 99)), kYellow);
        QCOMPARE(chart.Pixel(plot.Across(0.8, 96)), kWhite);
        QVERIFY(chart.BlackNear(plot.Across(0.5, 95)));
        QCOMPARE(chart.Pixel(plot.Across(0.5, 92)), kWhite);
    }

    void noBandWithoutALowerLimitAboveZero_data()
    {
        QTest::addColumn<TPairs>("pairs");
        QTest::newRow("no requirement") << TPairs{{11, "-"}, {12, "-"}};
        QTest::newRow("upper limits only") << TPairs{{11, "_50"}, {12, "_30"}};
        QTest::newRow("lower limits zero") << TPairs{{11, "0_50"}, {12, "0_30"}};
        QTest::newRow("bars and empty") << TPairs{{11, "_"}, {12, ""}, {13, "x"}};
    }
    void noBandWithoutALowerLimitAboveZero()
    {
        QFETCH(TPairs, pairs);
        TChart chart;
        chart.Draw(pairs);
        QCOMPARE(chart.Count(kYellow), 0);
        const TPlot plot = chart.Plot(pairs.front().Sieve, pairs.back().Sieve);
        QCOMPARE(chart.Pixel(plot.Across(0.5, 25)), kWhite);
    }

    void bandColourComesFromTheSettings_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("unset") << QString() << QColor(255, 255, 0);
        QTest::newRow("red") << "255" << QColor(255, 0, 0);
        QTest::newRow("blue green") << "16776960" << QColor(0, 255, 255);
        QTest::newRow("not a number") << "red" << QColor(255, 255, 0);
        QTest::newRow("padded") << " 255" << QColor(255, 255, 0);
    }
    void bandColourComesFromTheSettings()
    {
        QFETCH(QString, setting);
        QFETCH(QColor, colour);
        if (!setting.isNull())
            WriteSetting("GraphColor", setting);
        TChart chart;
        chart.Draw({{1, "100"}, {2, "90_100"}});
        QCOMPARE(QColor(chart.Pixel(chart.Plot(1, 2).Across(0.1, 96))), colour);
    }

    void painterIsLeftAsFound()
    {
        TChart chart;
        QFont font = chart.painter.font();
        chart.painter.setPen(QPen(Qt::black, 3));
        GradationChart(chart.painter, chart.image.rect(), {{1, "100"}, {2, "90_100"}}, 1.5, 2,
                       true);
        QCOMPARE(chart.painter.font(), font);
        QCOMPARE(chart.painter.pen().width(), 3);
        QCOMPARE(chart.painter.brush().color(), QColor(Qt::white));
    }

private:
    void painterWritesBelow(TChart& chart, const TPlot& plot)
    {
        int dark = 0;
        for (int y = plot.bottom + 2; y < chart.image.height(); ++y)
            for (int x = plot.left; x <= plot.right; ++x)
                dark += qGray(chart.Pixel(QPoint(x, y))) < 128;
        QVERIFY(dark > 50);
    }
};

KANMURI_TEST_MAIN(TestGradationChart)
#include "tst_GradationChart.moc"
