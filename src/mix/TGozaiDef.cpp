#include "mix/TGozaiDef.h"

#include "foundation/Conversions.h"
#include "foundation/Rows.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/TZairyoIndex.h"
#include "mix/TGozai.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The columns of GozaiDef in table order; loaders read them by position.
QStringList Columns()
{
    QStringList columns{QStringLiteral("id"),        QStringLiteral("DataName"),
                        QStringLiteral("PrintName"), QStringLiteral("RyudoID"),
                        QStringLiteral("Kosyu"),     QStringLiteral("Ruiseki")};
    for (int i = 0; i < TGozaiDef::MitudoCount; ++i)
        columns << QStringLiteral("Mitudo%1").arg(i);
    for (int i = 0; i < TGozaiDef::RatioRows; ++i)
        columns << QStringLiteral("RituID%1").arg(i);
    for (int i = 0; i < TGozaiDef::RangeRows; ++i)
        columns << QStringLiteral("RyudoID%1").arg(i);
    for (int i = 0; i < TGozaiDef::RangeRows; ++i)
        columns << QStringLiteral("Jyuryo%1").arg(i);
    return columns;
}

constexpr int kMitudoAt = 6;
constexpr int kRatioAt = 13;
constexpr int kRangeAt = 15;
constexpr int kJyuryoAt = 27;

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields;
    const QStringList columns = Columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (i == 1 || i == 2)
            fields.append({columns[i], TFieldType::String, TGozaiDef::NameLength});
        else if (i == 5)
            fields.append({columns[i], TFieldType::Boolean});
        else if (i >= kMitudoAt && i < kRatioAt)
            fields.append({columns[i], TFieldType::String, 32});
        else if (i >= kJyuryoAt)
            fields.append({columns[i], TFieldType::String, 32});
        else
            fields.append({columns[i], TFieldType::Integer});
    }
    return fields;
}

QString JuryoSetting(int i)
{
    return QStringLiteral("Juryo%1").arg(i);
}

// A name that would reach outside the mix-data folder names no file there.
bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral("..") && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(u':');
}

// The sub-row ID columns, ratios first, in table order.
QStringList SubRowColumns()
{
    QStringList columns;
    for (int i = 0; i < TGozaiDef::RatioRows; ++i)
        columns << QStringLiteral("RituID%1").arg(i);
    for (int i = 0; i < TGozaiDef::RangeRows; ++i)
        columns << QStringLiteral("RyudoID%1").arg(i);
    return columns;
}

// True when a definition's column stem0 ... stem<count-1> holds `id`.
bool IsReferenced(int id, const QString& stem, int count)
{
    QStringList columns;
    for (int i = 0; i < count; ++i)
        columns << stem + QString::number(i);
    TQuery query(QStringLiteral("select count(*) from GozaiDef where :id in (") +
                 columns.join(QStringLiteral(", ")) + u')');
    query.Bind(QStringLiteral(":id"), id).Exec();
    return query.Next() && query.Integer(0) > 0;
}

} // namespace

TGozaiDef::TGozaiDef(QObject* owner) : QObject(owner), Standard(new TRyudoKikaku(this))
{
    Standard->Kikakumei = StandardName();
    for (auto& ratio : Ratios)
        ratio = new THotbinHaigoritu(this);
    for (auto& range : Ranges)
        range = new TRyudoRange(this);
    if (TDatabase::IsAvailable())
        TZairyoIndex::EnsureTables();
}

bool TGozaiDef::EnsureTables(const TAskCreate& ask)
{
    const bool existed = TDatabase::EnsureTable(TableName(), Fields(), [&] {
        return ask(QStringLiteral("テーブルを作成しますか?"), QStringLiteral("GozaiDef"));
    });
    // A new standards table is filled through the record that checks it;
    // the definition's own standard must not become the last default.
    TRyudoKikaku standards;
    standards.EnsureTables();
    Ratios[0]->EnsureTables(ask);
    Ranges[0]->EnsureTables(ask);
    return existed;
}

void TGozaiDef::Clear()
{
    ID = 0;
    DataName.clear();
    PrintName.clear();
    // The whole standard, not only its name: a new definition must not keep
    // the sieves and ID of the one shown before.
    Standard->Clear();
    if (TDatabase::TableExists(TRyudoKikaku::TableName()))
        Standard->LoadByName(StandardName());
    if (Standard->ID == 0)
        Standard->Kikakumei = StandardName();
    Kosyu = 0;
    Ruiseki = false;
    for (THotbinHaigoritu* ratio : Ratios)
        ratio->LoadById(0);
    for (TRyudoRange* range : Ranges)
        range->LoadById(0);
    Mitudo.fill(QString());
    Jyuryo.fill(QString());
}

void TGozaiDef::RequireTables()
{
    for (const QString& table :
         {TableName(), THotbinHaigoritu::TableName(), TRyudoRange::TableName()})
        if (!TDatabase::TableExists(table))
            throw EDatabaseError(
                QStringLiteral("データ格納フォルダにテーブル %1 がないため、合材データを読み書き"
                               "できません。\n「合材データの登録」を開き直し、作成するかどうかの"
                               "問いに「はい」と答えてください。")
                    .arg(table));
}

bool TGozaiDef::LoadByName(const QString& name)
{
    RequireTables();
    TQuery query(QStringLiteral("select ") + Columns().join(QStringLiteral(", ")) +
                 QStringLiteral(" from GozaiDef where DataName = :DataName"));
    query.BindText(QStringLiteral(":DataName"), name).Exec();
    if (!query.Next()) {
        Clear();
        DataName = name;
        PrintName = name;
        return false;
    }
    ID = query.Value(0).toInt();
    DataName = query.Value(1).toString();
    PrintName = query.Value(2).toString();
    const int standard = query.Value(3).toInt();
    Kosyu = query.Value(4).toInt();
    Ruiseki = query.Value(5).toBool();
    for (int i = 0; i < MitudoCount; ++i)
        Mitudo[i] = query.Value(kMitudoAt + i).toString();
    int ratioIds[RatioRows];
    for (int i = 0; i < RatioRows; ++i)
        ratioIds[i] = query.Value(kRatioAt + i).toInt();
    int rangeIds[RangeRows];
    QString stored[RangeRows];
    for (int i = 0; i < RangeRows; ++i) {
        rangeIds[i] = query.Value(kRangeAt + i).toInt();
        stored[i] = query.Value(kJyuryoAt + i).toString();
    }

    Standard->LoadById(standard);
    for (int i = 0; i < RatioRows; ++i)
        Ratios[i]->LoadById(ratioIds[i]);
    for (int i = 0; i < RangeRows; ++i) {
        Jyuryo[i].clear();
        Ranges[i]->LoadById(rangeIds[i]);
        if (Ranges[i]->IsEmpty())
            continue;
        // The definition's own mass range wins; the last one entered anywhere
        // only fills a gap, so loading one mixture never shows another's.
        Jyuryo[i] = stored[i].isEmpty() ? ReadSetting(JuryoSetting(i)) : stored[i];
    }
    return true;
}

void TGozaiDef::Save(const QString& name)
{
    RequireTables();
    TTransaction transaction;
    TQuery find(QStringLiteral("select ") + SubRowColumns().join(QStringLiteral(", ")) +
                QStringLiteral(", id from GozaiDef where DataName = :DataName"));
    find.BindText(QStringLiteral(":DataName"), name).Exec();
    if (find.Next()) {
        // The stored definition of that name keeps its own ratio and range
        // rows, also when the values shown came from another definition:
        // sharing them would let one definition change or empty the other.
        for (int i = 0; i < RatioRows; ++i)
            Ratios[i]->ID = find.Value(i).toInt();
        for (int i = 0; i < RangeRows; ++i)
            Ranges[i]->ID = find.Value(RatioRows + i).toInt();
        ID = find.Value(RatioRows + RangeRows).toInt();
    } else {
        // A new row gets sub-rows of its own, also when its values were
        // loaded from another definition.
        for (THotbinHaigoritu* ratio : Ratios) {
            const auto values = ratio->D;
            ratio->LoadById(0);
            ratio->D = values;
        }
        for (TRyudoRange* range : Ranges) {
            const auto values = range->Values;
            range->LoadById(0);
            range->Values = values;
        }
        ID = NextId();
    }

    TColumnValues values{{QStringLiteral("id"), ID},
                         {QStringLiteral("DataName"), DataName},
                         {QStringLiteral("PrintName"), PrintName},
                         {QStringLiteral("RyudoID"), Standard->ID},
                         {QStringLiteral("Kosyu"), Kosyu},
                         {QStringLiteral("Ruiseki"), Ruiseki}};
    for (int i = 0; i < MitudoCount; ++i)
        values.append({QStringLiteral("Mitudo%1").arg(i), Mitudo[i]});
    for (int i = 0; i < RatioRows; ++i) {
        Ratios[i]->Save();
        values.append({QStringLiteral("RituID%1").arg(i), Ratios[i]->ID});
    }
    for (int i = 0; i < RangeRows; ++i) {
        Ranges[i]->Save();
        values.append({QStringLiteral("RyudoID%1").arg(i), Ranges[i]->ID});
    }
    for (int i = 0; i < RangeRows; ++i)
        values.append({QStringLiteral("Jyuryo%1").arg(i), Jyuryo[i]});
    InsertOrUpdate(TableName(), {{QStringLiteral("id"), ID}}, values);

    if (!DataName.isEmpty()) {
        TZairyoIndex index;
        index.ZKubun = 0;
        index.ZName = DataName;
        TZairyoIndex::EnsureTables();
        index.AddIfMissing();
    }
    transaction.Commit();

    for (int i = 0; i < RangeRows; ++i)
        if (NumberOrZero(Jyuryo[i]) > 0)
            WriteSetting(JuryoSetting(i), Jyuryo[i]);
}

bool TGozaiDef::Delete()
{
    RequireTables();
    TTransaction transaction;
    // Only the row this record was loaded from or saved as: after the data
    // folder was changed, the same ID may belong to another definition.
    TQuery find(QStringLiteral("select ") + SubRowColumns().join(QStringLiteral(", ")) +
                QStringLiteral(" from GozaiDef where id = :id and DataName = :DataName"));
    find.Bind(QStringLiteral(":id"), ID).BindText(QStringLiteral(":DataName"), DataName).Exec();
    if (!find.Next())
        return false;
    QList<int> ratioIds, rangeIds;
    for (int i = 0; i < RatioRows; ++i)
        ratioIds << find.Value(i).toInt();
    for (int i = 0; i < RangeRows; ++i)
        rangeIds << find.Value(RatioRows + i).toInt();

    DeleteRows(TableName(), {{QStringLiteral("id"), ID}, {QStringLiteral("DataName"), DataName}});
    // A sub-row that another definition still points to (files written
    // before saves kept their rows apart) stays with that definition.
    for (int id : ratioIds)
        if (!IsReferenced(id, QStringLiteral("RituID"), RatioRows))
            DeleteRows(THotbinHaigoritu::TableName(), {{QStringLiteral("ID"), id}});
    for (int id : rangeIds)
        if (!IsReferenced(id, QStringLiteral("RyudoID"), RangeRows))
            DeleteRows(TRyudoRange::TableName(), {{QStringLiteral("ID"), id}});
    transaction.Commit();
    return true;
}

int TGozaiDef::NextId()
{
    return MaxId(TableName()) + 1;
}

void TGozaiDef::FillList(QStringList& list)
{
    list = TextsOf(QStringLiteral("select DataName from GozaiDef order by DataName"));
}

TPlantRecord TGozaiDef::PlantForMix(const QString& name)
{
    TPlant plant;
    plant.LoadStandard();
    if (ReadSetting(QStringLiteral("PlantDataAlwaysDefaultUse")) == QStringLiteral("TRUE"))
        return plant;
    // The mix data files lie beside Plant.Dat: a folder that cannot be
    // reached fails, as for the plants, instead of another folder being read.
    const QDir directory(TPlant::MixDataFolder());
    const QString file = directory.filePath(name + QStringLiteral(".Goz"));
    if (IsPlainFileName(name) && QFileInfo(file).isFile()) {
        TGozai gozai;
        gozai.LoadFromFile(file);
        // An empty plant name (or a file too short to hold one) names no
        // plant, so the standard one stays.
        plant.LoadByName(gozai.PlantName());
    }
    return plant;
}

QList<TFieldDef> TGozaiDef::TableFields()
{
    return Fields();
}
