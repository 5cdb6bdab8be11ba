#pragma once

#include <QString>

// Lenient readers and small text helpers shared by every window. None of them
// fails: each has its fallback value.

// Entry fields: trims; keeps only "-", "." and digits (full-width ones as
// the same), in order, and reads the rest as a decimal number ("1,234.5 t"
// reads 1234.5, "３.５" 3.5); 0 when that fails.
double NumberOrZero(const QString& text);
// Strict readers (no trimming, no filtering); 0 when the text is not a number.
double FloatOrZero(const QString& text);
int IntegerOrZero(const QString& text);
// Trims; a date in the short date format, else 0 (30 December 1899).
double DateOrZero(const QString& text);

// Rounds x up at n decimals, with a tolerance: trunc(x * 10^n + 0.99999) / 10^n.
double RoundUp(int n, double x);

// Gradation limits written as "low_high" or as one number; see the rules in
// Conversions.cpp. Unreadable limits give 1e12 or -1e12.
double RangeUpper(const QString& text);
double RangeLower(const QString& text);

// Pick-list texts "code:name".
QString CodeOf(const QString& text);
QString NameOf(const QString& text);
// The part before / after the first `separator`; with none, TextBefore gives
// the empty text and TextAfter the whole text.
QString TextBefore(const QString& text, const QString& separator);
QString TextAfter(const QString& text, const QString& separator);

// Numbers in the strict form the system writes them: "%1.<digits>f".
QString FormatFixed(double value, int digits);
// The shortest general number format ("1.5", "12", "0.001").
QString FormatGeneral(double value);
