#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where the day's values stand in the editor's entry grid (and, by the same
// mapping, in the digits dialog): value position 2 to 32 lies in one of the
// columns 1 to 11 and one of the entry rows 3 to 6 ("設計", "実際", "現場",
// "プラント"); the totals of a position lie five rows lower (rows 8 to 11).
namespace HojituGrid {

constexpr int Columns = 11;
// Row 1 holds the groups' captions, row 2 the columns' headings; row 7
// separates the day from its totals.
constexpr int GroupRow = 1;
constexpr int HeadingRow = 2;
constexpr int FirstEntryRow = 3;
constexpr int DesignRow = FirstEntryRow;
constexpr int ActualRow = FirstEntryRow + 1;
constexpr int SiteRow = FirstEntryRow + 2;
constexpr int LastEntryRow = 6; // "プラント"
constexpr int SeparatorRow = LastEntryRow + 1;
constexpr int TotalRowOffset = 5;
constexpr int FirstTotalRow = FirstEntryRow + TotalRowOffset;
constexpr int LastTotalRow = LastEntryRow + TotalRowOffset;
constexpr int FirstGridPosition = 2;
constexpr int LastPosition = 32;
// The columns the mixture's design values are shown in: "密度" and the
// "配合率" of binder and filler.
constexpr int DensityCol = 3;
constexpr int BinderRatioCol = 6;
constexpr int FillerRatioCol = 9;

struct TCell
{
    int Col = 0;
    int Row = 0;
    bool operator==(const TCell&) const = default;
};

// The entry cell of a position 2 to 32; {0, 0} for any other.
TCell EntryCell(int position);
// The total cell of a position (its entry cell five rows lower).
TCell TotalCell(int position);
// The position of an entry cell; -1 for a cell that holds none.
int PositionAt(int col, int row);

struct TGroup
{
    QString Caption;
    int FirstCol;
    int Cols;
};
// "合材" over columns 1-5, "バインダー" 6-8, "石粉" 9-11.
const QList<TGroup>& Groups();
// "面積", "厚さ", "密度", "ｔ", "差", "配合率", "積算量", "差", "配合率",
// "積算量", "差".
const QStringList& ColumnHeadings();
// "設計", "実際", "現場", "プラント".
const QStringList& RowLabels();

} // namespace HojituGrid
