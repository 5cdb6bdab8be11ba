#pragma once

#include "mix/TPlantRecord.h"

#include <QObject>
#include <QStringList>

// The plant definitions in Plant.Dat of the mix-data folder, one plant at a
// time. Names are compared exactly as stored (no trimming). Every operation
// opens the file, works and closes it; nothing is cached.
class TPlant : public QObject, public TPlantRecord
{
    Q_OBJECT
public:
    explicit TPlant(QObject* parent = nullptr);

    // Empty texts, fine aggregate first, standard.
    void Clear();
    void Assign(const TPlantRecord& record);

    // Takes the first plant of that name; false (record unchanged) when there
    // is none or no file. The empty name is no plant (it marks deleted ones),
    // nor is a name too long for its field.
    bool LoadByName(const QString& name);
    // The first standard plant; the last record when none is standard; the
    // cleared record when there is no file or it is empty.
    void LoadStandard();
    // Stores the record under `name`: over the plant of that name, else
    // appended. Saving as standard takes the flag from every other plant.
    // False, after a message, when the name is blank or too long for its
    // field (never cut: it would land on another plant that shares its
    // beginning), or the save would leave the standard plant unticked; a text that cannot be
    // written in Shift-JIS is an EKanmuriError. The file is then unchanged.
    bool Save(const QString& name);
    // Blanks the name of the first plant of that name in place. False when
    // there is none (the empty name is none), or, after a message, when it is
    // the standard plant.
    bool Delete(const QString& name);
    // The names of all plants in file order, deleted (blank) ones left out.
    void FillList(QStringList& list) const;

    // The setting "HaigoDataPath". When it is empty, "HaigoData" in the
    // current directory, created and stored in the setting. A setting that
    // names no folder (a share offline) is an EKanmuriError naming it; the
    // setting stays.
    static QString MixDataFolder();
    static QString FileName();
};
