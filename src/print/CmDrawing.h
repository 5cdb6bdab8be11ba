#pragma once

#include <QString>
#include <QStringList>

class TCanvas;

// Drawing a printed form in centimetres from the top-left corner of the
// sheet of paper, x to the right and y downwards. Positions are turned into
// the device pixels of the canvas's reference device and shifted by its
// unprintable margin and by the page offset, so that a form laid out once
// lands at the same place on every printer.
//
// `scale` multiplies the resolution, the margin and (for text) the font size;
// sheets pass 1.

enum TBoxAlign : unsigned char
{
    baLeft = 0, // from the box's left edge (top edge when vertical)
    baCenter = 1,
    baRight = 2,       // flush right (bottom when vertical)
    baSpread = 3,      // first character at the start, last at the end, even gaps
    baInsetSpread = 4, // baSpread in a box shortened by a tenth at each end
    baDecimal = 5,     // a number split at its point into two levels; horizontal
};

// The page offset, in centimetres, subtracted from every position besides the
// unprintable margin: a negative offset moves the drawing right and down. It
// holds for the whole program; a sheet sets it with TPageOffset, which puts
// the previous one back when the sheet is done.
float PageOffsetX();
float PageOffsetY();
void SetPageOffset(float x, float y);

// Draws `text` into the box (left, top, right, bottom) with the canvas's font
// and font colour. Two backslashes break the text into two half boxes
// (upper and lower; left and right when vertical); a text wider than its box
// wraps into two half-height lines; vertical writing stacks the characters
// upright, centred across the box. The font size is as it was on return.
void DrawBoxText(TCanvas& canvas, const QString& text, TBoxAlign align, float left, float top,
                 float right, float bottom, bool vertical, float scale);

// A straight line with the canvas's pen width; a dotted or dash-dot pen style
// gives that pattern at printer resolution. The pen style is solid
// afterwards.
void DrawLineCm(TCanvas& canvas, float x1, float y1, float x2, float y2, float scale);

// The rectangle's outline as four strokes: top, right, bottom, left.
void DrawRectCm(TCanvas& canvas, float left, float top, float right, float bottom, float scale);

// The ellipse in the square around (cx, cy), with the canvas's pen and brush.
void DrawCircleCm(TCanvas& canvas, float cx, float cy, float radius, float scale);

// The text's width in the canvas's font, in centimetres (2.55 to the inch, as
// the sheets were laid out with).
float TextWidthCm(TCanvas& canvas, const QString& text);

// Sets the canvas's pen width to `thickness` millimetres, rounded up to a
// whole device pixel.
void SetPenWidthMm(TCanvas& canvas, float thickness);

// The same measures as foundation/DrawingHelpers, on a canvas: the width in
// tenths of a centimetre, and the largest size from the font's own down to 5
// points at which the text fits `widthCm`.
int TextWidthMm(TCanvas& canvas, const QString& text);
int FitFontSize(TCanvas& canvas, const QString& text, double widthCm);

// The characters of a text as the helpers split, stack and spread it: whole
// user-perceived characters, so that a character outside the Basic
// Multilingual Plane (𠮷) or one with a variation selector is never cut.
QStringList TextCharacters(const QString& text);
