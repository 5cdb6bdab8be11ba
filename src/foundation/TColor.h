#pragma once

#include <QColor>

// Colours are stored as the Windows colour value: 0x00BBGGRR, written as a
// signed decimal integer (red is 255). Values with the high byte set name
// system colours and are shown as the window colour.
using TColor = qint32;

QColor ColorFromTColor(TColor value);
TColor TColorFromColor(const QColor& color);
