#pragma once

#include <QString>

class QPainter;

// Measuring text for printed reports. Both convert with 2.55 cm to the inch,
// as the report layouts were made with.

// The text's width in the painter's current font, in millimetres, rounded.
int TextWidthMm(QPainter& canvas, const QString& text);

// The largest point size, from the painter font's size down to 5, at which
// the text is no wider than `widthCm`. The painter keeps its font.
int FitFontSize(QPainter& canvas, const QString& text, double widthCm);
