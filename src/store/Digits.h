#pragma once

#include <QString>
#include <array>

// Decimals of the paving record's values. Each value position 0 to 32 (the
// columns H00 to H32) takes its number of decimals from one of the settings
// HojituKetasu1 to HojituKetasu13; the editor, the digits dialog and the
// printed sheet all go through here.

constexpr int kDigitsPositions = 33;
// Largest number of decimals accepted; a double holds no more than that.
constexpr int kMaxDigits = 15;

// The setting of a position ("HojituKetasu12" for position 0, ...).
QString DigitsSettingName(int position);
// The default number of decimals of a position's setting, as text.
QString DigitsDefault(int position);

// Writes the default into every digits setting that is missing or empty;
// checks nothing else.
void EnsureDigitsSettings();

// The number of decimals of a position. A missing or empty setting is written
// with its default first. Throws ESettingsError, naming the setting and its
// text, when the setting is not a whole number from 0 to kMaxDigits.
int Digits(int position);
// The number of decimals that `text` gives a digits setting, -1 when it is
// not a whole number from 0 to kMaxDigits (blanks around it are allowed).
int DigitsOf(const QString& text);
// The decimals of every position at once, read before anything is shown, so
// that a bad setting stops a display before it writes anything.
using TDigitTable = std::array<int, kDigitsPositions>;
TDigitTable AllDigits();
// The format of a position, "%1." followed by its digits and "f".
QString DigitsFormat(int position);
// `value` in the format of `position`: rounded to its decimals, C locale, no
// thousands separator (as the grid shows numbers).
QString FormatDigits(int position, double value);
