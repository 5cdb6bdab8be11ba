#pragma once

#include <QString>

// The sieve series, numbered 1 (106.0 mm) to 18 (0.075 mm), and 19 for the pan.

// The sieve's label in millimetres ("106.0" ... "0.075", "受皿" for the pan).
// Any other number leaves `label` as it was.
void SieveLabel(int number, QString& label);

// The opening in millimetres; 0 for the pan and for numbers outside the series.
double SieveSize(int number);

// The label shown on sieve rows and chart axes: the millimetre label above
// 1 mm and for the pan, the opening in micrometres below ("600μ", "75μ");
// empty for numbers outside the series.
QString SieveDisplayLabel(int number);
