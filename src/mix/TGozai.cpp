#include "mix/TGozai.h"

#include "mix/ShiftJis.h"
#include "mix/TPlantRecord.h"

#include <QFile>
#include <algorithm>

void TGozai::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(FileSize);
    m_data = QByteArray(FileSize, '\0');
    m_data.replace(0, bytes.size(), bytes);
    m_read = bytes.size();
}

QString TGozai::PlantName() const
{
    if (m_read < 1)
        return QString();
    // The name field holds what a plant name of Plant.Dat can hold; a larger
    // length byte is a damaged file, not a longer name.
    const qsizetype length = std::min({qsizetype(static_cast<unsigned char>(m_data[0])),
                                       qsizetype(TPlantRecord::NameBytes), m_read - 1});
    return FromShiftJis(QByteArrayView(m_data).sliced(1, length));
}
