#include "foundation/DrawingHelpers.h"
#include "support/TTestEnvironment.h"

#include <QImage>
#include <QPainter>
#include <cmath>

namespace {

// An image of the given resolution, like a printer page in small.
QImage Page(int dpi)
{
    QImage image(800, 200, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    return image;
}

double WidthCm(QPainter& painter, const QString& text)
{
    return painter.fontMetrics().horizontalAdvance(text) * 2.55 / painter.device()->logicalDpiX();
}

const QString kSample = QStringLiteral("アスファルト合材舗設実績表 ABCDEFG 1234567890");

} // namespace

class TestDrawingHelpers : public QObject
{
    Q_OBJECT
private slots:
    void textWidthCountsTwoPointFiveFiveCmToTheInch_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("254 dpi") << 254;
        QTest::newRow("127 dpi") << 127;
        QTest::newRow("600 dpi") << 600;
    }
    void textWidthCountsTwoPointFiveFiveCmToTheInch()
    {
        QFETCH(int, dpi);
        QImage image = Page(dpi);
        QPainter painter(&image);
        QCOMPARE(painter.device()->logicalDpiX(), dpi);
        QFont font = painter.font();
        // Sized in pixels, so the text is equally many pixels wide at every resolution.
        font.setPixelSize(40);
        painter.setFont(font);
        const QString text = kSample.repeated(10);
        const int pixels = painter.fontMetrics().horizontalAdvance(text);
        QVERIFY(pixels > 6000);
        QCOMPARE(TextWidthMm(painter, text), int(std::lround(pixels * 25.5 / dpi)));
        QVERIFY(std::lround(pixels * 25.5 / dpi) != std::lround(pixels * 25.4 / dpi));
        QCOMPARE(TextWidthMm(painter, QString()), 0);
    }

    void fitFontSizeFindsTheLargestFittingSize_data()
    {
        QTest::addColumn<double>("widthCm");
        QTest::newRow("wide") << 30.0;
        QTest::newRow("narrow") << 8.0;
        QTest::newRow("very narrow") << 4.0;
        QTest::newRow("too narrow for any size") << 0.5;
    }
    void fitFontSizeFindsTheLargestFittingSize()
    {
        QFETCH(double, widthCm);
        QImage image = Page(300);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPointSize(20);
        painter.setFont(font);

        const int size = FitFontSize(painter, kSample, widthCm);
        QCOMPARE(painter.font(), font);
        QVERIFY(size >= 5 && size <= 20);

        QFont probe = font;
        probe.setPointSize(size);
        painter.setFont(probe);
        if (size > 5)
            QVERIFY(WidthCm(painter, kSample) <= widthCm);
        if (size < 20) {
            probe.setPointSize(size + 1);
            painter.setFont(probe);
            QVERIFY(WidthCm(painter, kSample) > widthCm);
        }
    }

    void fitFontSizeKeepsAFittingSizeAndStopsAtFive()
    {
        QImage image = Page(300);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPointSize(12);
        painter.setFont(font);
        QCOMPARE(FitFontSize(painter, kSample, 100), 12);
        QCOMPARE(FitFontSize(painter, kSample, 0.1), 5);
        // A font already below the floor is left as it is.
        font.setPointSize(4);
        painter.setFont(font);
        QCOMPARE(FitFontSize(painter, kSample, 0.1), 4);
    }
};

KANMURI_TEST_MAIN(TestDrawingHelpers)
#include "tst_DrawingHelpers.moc"
