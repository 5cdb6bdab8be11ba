#pragma once

#include <QDateTime>
#include <QString>

// The system's date-time value: days since 30 December 1899 (0) as the whole
// part, the time of day as the fraction. Stored files and tables rely on it.
using TDateTime = double;

TDateTime Now();
TDateTime EncodeDate(int year, int month, int day);
TDateTime FromQDateTime(const QDateTime& value);
TDateTime FromQDate(const QDate& value);
QDateTime ToQDateTime(TDateTime value);
QDate ToQDate(TDateTime value);

int MonthOf(TDateTime value);
int DayOf(TDateTime value);

// The short date format of the system: "yyyy/MM/dd".
QString FormatDate(TDateTime value);
// Reads a date in the short date format, also without leading zeros
// ("2026/1/5"); a month and day alone ("12/28") take the year that puts the
// date nearest `today` (the day before, on 3 January: last December). False
// when the text is not such a date.
bool TryStrToDate(const QString& text, TDateTime& value);
bool TryStrToDate(const QString& text, TDateTime& value, const QDate& today);

// The canonical text of a date-time in the database: "yyyy-MM-dd hh:mm:ss".
QString DateTimeToSqlText(TDateTime value);
// Reads that text back; 0 when it is empty or not such a text.
TDateTime SqlTextToDateTime(const QString& text);
