#pragma once

#include "store/THojituLine4.h"

#include <bitset>

class TGozaiDef;

// The rules by which the editor derives a day's values as the user types
// (positions as in HojituLine4: 0 length, 1 width, 2 to 32 the grid).
//
// Areas (2, 3), the actual thickness (5) and the tonnages (8, 9) are derived
// while they are 0, and again whenever `derived` marks them as derived
// before (so they follow their inputs); a value typed or loaded stays until
// the user clears it. `derived` receives the positions derived. Binder and
// filler amounts (16-18, 26-28) and all differences are derived every time.
// With `actualMinusDesign` the differences are site or plant minus
// design/actual, otherwise the reverse.
using TDerivedPositions = std::bitset<THojituLine4::ValueCount>;
void DeriveDay(THojituLine4::TValues& values, bool actualMinusDesign,
               TDerivedPositions* derived = nullptr);

// What a mixture gives a new day: its density text as stored, and the sums
// of its binder (asphalt, rubber, additive) and filler (filler 1, filler 2,
// pigment) ratios of the total-mix basis, in the shortest number format.
struct TMixPrefill
{
    QString Density;
    QString Binder;
    QString Filler;
};
TMixPrefill MixPrefill(const TGozaiDef& mix);

// The actual density measured on cores for the project and mixture: the
// `MitudoPer` of the first row of CoreHead (a table other programs fill).
// False when there is no such table or row.
bool CoreDensity(const QString& kojiCode, const QString& gozaiName, QString& density);

// Why the day cannot be saved as the boxes stand (blank project code, work
// type or mixture; a date that cannot be read), for the user; empty when it
// can. `date` receives the date read.
QString SaveProblem(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                    const QString& dateText, TDateTime& date);

// A typed date: the short date format, trimmed. False when it is empty or
// unreadable; 1899/12/30 typed as such is a date like any other.
bool ReadDate(const QString& text, TDateTime& date);
