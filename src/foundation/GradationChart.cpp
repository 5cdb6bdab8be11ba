#include "foundation/GradationChart.h"

#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "foundation/Sieves.h"
#include "foundation/TColor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxPairs = 20;
constexpr int kLastSieve = 18; // the pan has no opening to plot
constexpr TColor kYellow = 65535;

TColor BandColor()
{
    const QString text = ReadSetting(QStringLiteral("GraphColor"));
    bool ok = false;
    const int value = text.trimmed() == text ? text.toInt(&ok, 10) : 0;
    return ok ? value : kYellow;
}

QFont Scaled(const QFont& font, double scale)
{
    QFont scaled = font;
    if (font.pointSize() > 0)
        scaled.setPointSize(std::max(1, int(std::lround(font.pointSize() * scale))));
    else if (font.pixelSize() > 0)
        scaled.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
    return scaled;
}

bool IsPercent(double limit)
{
    return limit >= 0 && limit <= 100;
}

// The pairs up to the first that is no sieve to plot, coarsest first,
// whatever order the caller kept.
QList<TSieveRange> ChartPairs(const QList<TSieveRange>& pairs)
{
    QList<TSieveRange> listed;
    for (const TSieveRange& pair : pairs.mid(0, kMaxPairs)) {
        if (pair.Sieve < 1 || pair.Sieve > kLastSieve)
            break;
        listed.append(pair);
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const TSieveRange& a, const TSieveRange& b) { return a.Sieve < b.Sieve; });
    return listed;
}

// The band is drawn only when some range has a lower limit above 0.
bool HasLowerLimit(const QList<TSieveRange>& listed)
{
    return std::any_of(listed.begin(), listed.end(), [](const TSieveRange& p) {
        return p.Text != QStringLiteral("_") && p.Text != QStringLiteral("-") &&
               RangeLower(p.Text) > 0;
    });
}

} // namespace

void GradationChart(QPainter& canvas, const QRect& rect, const QList<TSieveRange>& pairs,
                    double fontScale, int penWidth, bool clearBackground)
{
    const QFont originalFont = canvas.font();
    const int originalPenWidth = canvas.pen().width();
    canvas.setFont(Scaled(originalFont, fontScale));

    if (clearBackground) {
        const QBrush brush =
            canvas.brush().style() == Qt::NoBrush ? QBrush(Qt::white) : canvas.brush();
        canvas.fillRect(rect, brush);
    }

    const QList<TSieveRange> listed = ChartPairs(pairs);
    if (listed.size() < 2 || listed.front().Sieve == listed.back().Sieve) {
        canvas.setFont(originalFont);
        return;
    }

    const QFontMetrics metrics = canvas.fontMetrics();
    const int textHeight = metrics.height();
    QString coarsestLabel;
    SieveLabel(listed.front().Sieve, coarsestLabel);

    // Rectangles here end after their last pixel, as the report layouts count.
    const int left = rect.x() + metrics.horizontalAdvance(QStringLiteral("100"));
    const int right = rect.x() + rect.width() - metrics.horizontalAdvance(coarsestLabel) / 2;
    const int top = rect.y() + textHeight / 2;
    const int bottom = rect.y() + rect.height() - 2 * textHeight;

    QPen pen(Qt::black, 1, Qt::SolidLine);
    canvas.setPen(pen);
    canvas.setBrush(Qt::NoBrush);
    // A 1-pixel outline of QRect(x, y, w, h) runs along x + w and y + h.
    canvas.drawRect(QRect(left, top, right - left, bottom - top));

    const auto percentY = [&](double percent) {
        return int(std::lround(top + (bottom - top) * (1 - percent / 100)));
    };
    for (int k = 0; k <= 10; ++k) {
        const int y = percentY(100 - 10 * k);
        canvas.drawText(QRect(rect.x(), y - textHeight / 2, left - rect.x(), textHeight),
                        Qt::AlignRight | Qt::AlignVCenter, QString::number(100 - 10 * k));
        if (k >= 1 && k <= 9)
            canvas.drawLine(left, y, right, y);
    }

    const double finest = std::log10(SieveSize(listed.back().Sieve));
    const double coarsest = std::log10(SieveSize(listed.front().Sieve));
    const auto sieveX = [&](int sieve) {
        const double at = (std::log10(SieveSize(sieve)) - finest) / (coarsest - finest);
        return int(std::lround(left + (right - left) * at));
    };
    const qsizetype count = listed.size();
    for (qsizetype i = 0; i < count; ++i) {
        const int x = sieveX(listed[i].Sieve);
        if (i > 0)
            canvas.drawLine(x, top, x, bottom);
        // Neighbouring labels alternate between two lines; the finest is on the lower.
        const bool lowerLine = (count - 1 - i) % 2 == 0;
        const QString label = SieveDisplayLabel(listed[i].Sieve);
        const int width = metrics.horizontalAdvance(label);
        canvas.drawText(
            QRect(x - width / 2, bottom + (lowerLine ? textHeight : 0), width + 1, textHeight),
            Qt::AlignHCenter | Qt::AlignTop, label);
    }

    QPolygon band;
    for (qsizetype i = 0; i < count; ++i) {
        const double upper = RangeUpper(listed[i].Text);
        if (IsPercent(upper))
            band << QPoint(sieveX(listed[i].Sieve), percentY(upper));
    }
    for (qsizetype i = count - 1; i >= 0; --i) {
        const double lower = RangeLower(listed[i].Text);
        if (IsPercent(lower))
            band << QPoint(sieveX(listed[i].Sieve), percentY(lower));
    }
    if (HasLowerLimit(listed)) {
        canvas.setBrush(ColorFromTColor(BandColor()));
        canvas.setPen(QPen(Qt::white, originalPenWidth));
        canvas.drawPolygon(band);
        canvas.setPen(QPen(Qt::black, penWidth, Qt::SolidLine));
        // The closing edge lies on the frame's right edge and is left as it is.
        canvas.drawPolyline(band);
    }

    canvas.setBrush(Qt::white);
    pen = canvas.pen();
    pen.setWidth(originalPenWidth);
    canvas.setPen(pen);
    canvas.setFont(originalFont);
}
