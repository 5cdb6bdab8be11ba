#include "foundation/DrawingHelpers.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {

constexpr double kCmPerInch = 2.55;
constexpr int kSmallestFontSize = 5;

double TextWidthCm(QPainter& canvas, const QString& text)
{
    const int pixels = canvas.fontMetrics().horizontalAdvance(text);
    return pixels * kCmPerInch / canvas.device()->logicalDpiX();
}

// The font's size in points, also for a font sized in pixels.
int PointSizeOf(const QPainter& canvas)
{
    const QFont& font = canvas.font();
    if (font.pointSize() > 0)
        return font.pointSize();
    return int(std::lround(font.pixelSize() * 72.0 / canvas.device()->logicalDpiY()));
}

} // namespace

int TextWidthMm(QPainter& canvas, const QString& text)
{
    return int(std::lround(TextWidthCm(canvas, text) * 10));
}

int FitFontSize(QPainter& canvas, const QString& text, double widthCm)
{
    const QFont original = canvas.font();
    int size = PointSizeOf(canvas);
    QFont font = original;
    while (TextWidthCm(canvas, text) > widthCm && size > kSmallestFontSize) {
        --size;
        font.setPointSize(size);
        canvas.setFont(font);
    }
    canvas.setFont(original);
    return size;
}
