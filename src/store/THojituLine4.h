#pragma once

#include "foundation/DateTime.h"

#include <QObject>
#include <QStringList>
#include <array>

class TQuery;

// One paving day of a header (HojituLine4): station and the 33 values by
// position (H00 ... H32).
class THojituLine4 : public QObject
{
    Q_OBJECT
public:
    static constexpr int ValueCount = 33;
    using TValues = std::array<double, ValueCount>;
    // The positions that Totals adds up.
    static const QList<int>& SummedPositions();
    static QString Column(int position);

    explicit THojituLine4(QObject* owner = nullptr);

    int SID = 0; // the header's ID; 0 for no stored header
    TDateTime Hiduke = 0;
    QString Sokuten;
    TValues Values{};

    // Creates the table without asking; true when it existed.
    static bool EnsureTables();
    // SID 0, date now, no station, every value 0.
    void Clear();
    // The earliest day of SID; false (record unchanged) when there is none.
    bool LoadFirst();
    // The day of SID and Hiduke; when there is none the record is cleared
    // and keeps the date, and the result is false.
    bool LoadByDay();
    // The days of SID, ascending, as short dates.
    void ListDates(QStringList& list) const;
    // Stores the day of SID and Hiduke, over the stored one if any.
    void Save();
    void DeleteDay();
    // Sums of the summed positions over the lines of SID, or with `perMixture`
    // over every header of `kojiCode` and `gozaimei`; with `upToDate` only the
    // days up to and including Hiduke. Other positions are 0.
    TValues Totals(bool upToDate, bool perMixture, const QString& gozaimei,
                   const QString& kojiCode) const;

private:
    void LoadFromRow(const TQuery& query);
};
