#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <array>

// One plant as one 215-byte record of Plant.Dat, the file this program shares
// with the mix design software. Copies of it are what the windows pass around.
//
// Layout (packed; integers 32-bit little-endian; a text is a length byte
// followed by Shift-JIS bytes in a field of fixed width): name at 0 (32),
// batch weighing value at 33 (8), load-cell coefficient at 42 (8), initial
// weighing at 51, bin names 1-6 at 55 (6 x 12), size ranges 1-6 at 133
// (6 x 12), standard flag at 211.
struct TPlantRecord
{
    static constexpr int Size = 215;
    static constexpr int Bins = 6;
    static constexpr int NameBytes = 32;
    static constexpr int ValueBytes = 8;
    static constexpr int BinBytes = 12;

    static constexpr int NameOffset = 0;
    static constexpr int BatchWeightOffset = 33;
    static constexpr int LoadCellFactorOffset = 42;
    static constexpr int InitialWeighingOffset = 51;
    static constexpr int BinNameOffset = 55;
    static constexpr int BinRangeOffset = 133;
    static constexpr int StandardOffset = 211;

    // An empty name marks a deleted record.
    QString Name;
    // "バッチの計量値" in kg and "力計の係数", free texts.
    QString BatchWeight;
    QString LoadCellFactor;
    // "初期計量": 0 = "細骨計量" (fine aggregate first), 1 = "粗骨計量".
    qint32 InitialWeighing = 0;
    // Names and size ranges ("粒度範囲") of bins 1 to 6; an unnamed bin does
    // not exist.
    std::array<QString, Bins> BinName;
    std::array<QString, Bins> BinRange;
    // 1 = the standard plant.
    qint32 Standard = 1;

    // A bin exists when it has a name; a name of blanks or of control
    // characters (as a grid cell or the other program may leave it) is none.
    // Every window, calculation and sheet asks this.
    static bool IsBinName(const QString& name)
    {
        return std::any_of(name.begin(), name.end(),
                           [](QChar c) { return c.isPrint() && !c.isSpace(); });
    }
    bool HasBin(int index) const { return IsBinName(BinName[index]); }

    // The record in the file's layout; texts too long for their field are cut
    // at a character boundary, the bytes after a text are zero.
    QByteArray ToBytes() const;
    // Reads a record from the file. A length byte larger than its field reads
    // the whole field, and bytes missing at the end read as zero.
    static TPlantRecord FromBytes(QByteArrayView bytes);

    bool operator==(const TPlantRecord&) const = default;
};
