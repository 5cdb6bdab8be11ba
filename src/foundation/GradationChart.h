#pragma once

#include <QList>
#include <QString>

class QPainter;
class QRect;

// One sieve of a gradation standard: its number (1 to 19) and its value text
// ("100", "85_100", "_20", "-").
struct TSieveRange
{
    int Sieve = 0;
    QString Text;
};

// Draws the percent-passing chart of a gradation standard into `rect`: frame,
// 0-100 scale, a logarithmic sieve axis and the band between the upper and
// lower limits, filled with the colour of the setting "GraphColor" (yellow
// when unset). Takes at most 20 pairs and stops at the first one outside
// sieves 1 to 18 (the pan ends the list). `fontScale` scales the painter's
// font, `penWidth` is the width of the band's outline; the rectangle is filled
// with the painter's brush (white when it has none) when `clearBackground`.
// The painter keeps its font and pen width; its brush is left white.
void GradationChart(QPainter& canvas, const QRect& rect, const QList<TSieveRange>& pairs,
                    double fontScale, int penWidth, bool clearBackground);
