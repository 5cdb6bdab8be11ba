#pragma once

#include "foundation/TDatabase.h"

#include "mix/TPlantRecord.h"

#include <QObject>
#include <QStringList>
#include <array>

class THotbinHaigoritu;
class TRyudoKikaku;
class TRyudoRange;

// A mix definition (合材データ): one row of GozaiDef with its gradation
// standard, two hot-bin ratio rows and twelve gradation range rows, found by
// its name.
class TGozaiDef : public QObject
{
    Q_OBJECT
public:
    static constexpr int RatioRows = 2;
    static constexpr int RangeRows = 12;
    static constexpr int MitudoCount = 7;
    // The widest mix name (and printed name) the table holds.
    static constexpr int NameLength = 64;

    explicit TGozaiDef(QObject* owner = nullptr);

    static QString TableName() { return QStringLiteral("GozaiDef"); }
    // The table's columns in their order, for creating it.
    static QList<TFieldDef> TableFields();
    static QString StandardName() { return QStringLiteral("[0]標準"); }

    int ID = 0;
    QString DataName;
    QString PrintName;
    TRyudoKikaku* Standard;
    // Use: 0 "安定処理", 1 "歩道舗装", 2 "表層基層（中間層）".
    int Kosyu = 0;
    // Recycled material is weighed on top of the last bin's weighed value.
    bool Ruiseki = false;
    // [0] aggregate basis "骨材配合率", [1] total mix basis "全配合率".
    std::array<THotbinHaigoritu*, RatioRows> Ratios;
    // "容積補正率", "含水量", "実際密度", "理論最大密度", "空隙率", "安定度", "フロー値".
    std::array<QString, MitudoCount> Mitudo;
    // Material columns 0-10 and, at 11, the target gradation.
    std::array<TRyudoRange*, RangeRows> Ranges;
    std::array<QString, RangeRows> Jyuryo;

    // Asks through `ask` before creating GozaiDef or the ratio and range
    // tables; makes sure the standards exist. True when GozaiDef existed.
    bool EnsureTables(const TAskCreate& ask);
    // An empty definition under the standard "[0]標準" (loaded whole).
    void Clear();
    // False when there is none: the record is cleared and holds `name` as
    // data and print name.
    bool LoadByName(const QString& name);
    // Stores the definition as the row of `name`: over that row and its own
    // ratio and range rows when there is one, else as a new row with new
    // sub-rows; all or nothing. The name joins the material name index.
    void Save(const QString& name);
    // Deletes the stored row whose ID and name are the record's, with the
    // ratio and range rows it points to; the standard stays. False when
    // there is no such row (nothing is deleted). The record is unchanged.
    bool Delete();
    static int NextId();
    static void FillList(QStringList& list);
    // The plant that makes the mixture `name`: the one named at the head of
    // its mix data file in the mix data folder, else the standard plant. An
    // unreachable mix data folder is an EKanmuriError (TPlant::MixDataFolder).
    static TPlantRecord PlantForMix(const QString& name);

private:
    // A table that is missing (the creation question was answered No) is an
    // EDatabaseError that names it and says how to create it.
    static void RequireTables();
};
