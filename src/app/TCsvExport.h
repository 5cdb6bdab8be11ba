#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The days of a paving record as a CSV file for spreadsheet programs: one row
// per day with the date, the work type, the station and the 33 values under
// their Japanese headings; UTF-8 with a byte order mark, so that the
// programs read it as Japanese, and CR LF line ends. A work type or station
// that starts as a formula would ("=", "+", "-", "@", a tab or a carriage
// return) is written with a leading apostrophe, so that it opens as text.
class TCsvExport
{
public:
    // The days of the header of `kojiCode`, `kosyu` and `gozai`, or with
    // `perMixture` of every header of the project and mixture, ordered by
    // date (then by header). Empty when there is no such day.
    static QByteArray Days(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                           bool perMixture);
    // Writes them to `file` (whole or not at all). Throws EKanmuriError when
    // there are no days or the file cannot be written.
    static void Write(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                      bool perMixture, const QString& file);
    static QStringList Headings();
    // The file name offered for the record: "code_mixture.csv", with the
    // characters a file name cannot hold as "_". The Excel export names its
    // file the same way, with its own `extension`.
    static QString FileName(const QString& kojiCode, const QString& gozai,
                            const QString& extension = QStringLiteral("csv"));
    // What is said when the record has no days.
    static QString NoDaysText(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                              bool perMixture);
};
