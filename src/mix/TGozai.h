#pragma once

#include <QByteArray>
#include <QString>

// A mix data file (mixture name + ".Goz") written by the mix design software.
// Only the plant name at its head is used here.
class TGozai
{
public:
    static constexpr int FileSize = 50506;

    // Reads `fileName` when it exists; a missing file leaves the data as it
    // was (zero-filled when new). A short file fills only what it holds.
    void LoadFromFile(const QString& fileName);
    // The plant name at the head of the data: never read beyond its length
    // byte's 32 characters' worth of bytes or beyond what the file held.
    QString PlantName() const;

private:
    QByteArray m_data = QByteArray(FileSize, '\0');
    qsizetype m_read = 0;
};
