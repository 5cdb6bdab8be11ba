#include "store/HojituGrid.h"

namespace HojituGrid {

namespace {

// First position of each column; the next column starts where it ends.
constexpr int kColumnStart[Columns + 1] = {2, 4, 6, 8, 11, 13, 16, 20, 23, 26, 30, 33};

} // namespace

TCell EntryCell(int position)
{
    if (position < FirstGridPosition || position > LastPosition)
        return {};
    int column = 0;
    while (position >= kColumnStart[column + 1])
        ++column;
    return {column + 1, FirstEntryRow + position - kColumnStart[column]};
}

TCell TotalCell(int position)
{
    TCell cell = EntryCell(position);
    if (cell.Col > 0)
        cell.Row += TotalRowOffset;
    return cell;
}

int PositionAt(int col, int row)
{
    if (col < 1 || col > Columns || row < FirstEntryRow)
        return -1;
    const int position = kColumnStart[col - 1] + row - FirstEntryRow;
    return position < kColumnStart[col] ? position : -1;
}

const QList<TGroup>& Groups()
{
    static const QList<TGroup> groups = {{QStringLiteral("合材"), 1, 5},
                                         {QStringLiteral("バインダー"), 6, 3},
                                         {QStringLiteral("石粉"), 9, 3}};
    return groups;
}

const QStringList& ColumnHeadings()
{
    static const QStringList headings = {
        QStringLiteral("面積"),   QStringLiteral("厚さ"), QStringLiteral("密度"),
        QStringLiteral("ｔ"),     QStringLiteral("差"),   QStringLiteral("配合率"),
        QStringLiteral("積算量"), QStringLiteral("差"),   QStringLiteral("配合率"),
        QStringLiteral("積算量"), QStringLiteral("差")};
    return headings;
}

const QStringList& RowLabels()
{
    static const QStringList labels = {QStringLiteral("設計"), QStringLiteral("実際"),
                                       QStringLiteral("現場"), QStringLiteral("プラント")};
    return labels;
}

} // namespace HojituGrid
