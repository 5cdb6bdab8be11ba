#include "mix/TPlantRecord.h"

#include "mix/ShiftJis.h"

#include <QtEndian>

namespace {

void PutText(QByteArray& bytes, int offset, int width, const QString& text)
{
    const QByteArray encoded = ToShiftJis(text, width);
    bytes[offset] = char(encoded.size());
    bytes.replace(offset + 1, encoded.size(), encoded);
}

void PutInteger(QByteArray& bytes, int offset, qint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// A view of `bytes` at [offset, offset + length), clipped to what is there.
QByteArrayView Part(QByteArrayView bytes, qsizetype offset, qsizetype length)
{
    if (offset >= bytes.size())
        return {};
    return bytes.sliced(offset, qMin(length, bytes.size() - offset));
}

QString GetText(QByteArrayView bytes, int offset, int width)
{
    const QByteArrayView field = Part(bytes, offset, 1 + width);
    if (field.isEmpty())
        return {};
    const int length = qMin(int(quint8(field[0])), width);
    return FromShiftJis(Part(field, 1, length));
}

qint32 GetInteger(QByteArrayView bytes, int offset)
{
    char buffer[4] = {0, 0, 0, 0};
    const QByteArrayView field = Part(bytes, offset, 4);
    std::copy(field.begin(), field.end(), buffer);
    return qFromLittleEndian<qint32>(buffer);
}

} // namespace

QByteArray TPlantRecord::ToBytes() const
{
    QByteArray bytes(Size, '\0');
    PutText(bytes, NameOffset, NameBytes, Name);
    PutText(bytes, BatchWeightOffset, ValueBytes, BatchWeight);
    PutText(bytes, LoadCellFactorOffset, ValueBytes, LoadCellFactor);
    PutInteger(bytes, InitialWeighingOffset, InitialWeighing);
    for (int i = 0; i < Bins; ++i) {
        PutText(bytes, BinNameOffset + i * (BinBytes + 1), BinBytes, BinName[i]);
        PutText(bytes, BinRangeOffset + i * (BinBytes + 1), BinBytes, BinRange[i]);
    }
    PutInteger(bytes, StandardOffset, Standard);
    return bytes;
}

TPlantRecord TPlantRecord::FromBytes(QByteArrayView bytes)
{
    TPlantRecord record;
    record.Name = GetText(bytes, NameOffset, NameBytes);
    record.BatchWeight = GetText(bytes, BatchWeightOffset, ValueBytes);
    record.LoadCellFactor = GetText(bytes, LoadCellFactorOffset, ValueBytes);
    record.InitialWeighing = GetInteger(bytes, InitialWeighingOffset);
    for (int i = 0; i < Bins; ++i) {
        record.BinName[i] = GetText(bytes, BinNameOffset + i * (BinBytes + 1), BinBytes);
        record.BinRange[i] = GetText(bytes, BinRangeOffset + i * (BinBytes + 1), BinBytes);
    }
    record.Standard = GetInteger(bytes, StandardOffset);
    return record;
}
