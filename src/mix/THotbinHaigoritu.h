#pragma once

#include "foundation/TDatabase.h"

#include <QObject>
#include <QString>
#include <array>

// One row of hot-bin mix ratios (ホットビン配合率), in percent, over the 14
// material columns of a mixture: bins 1-6, Ｒ１, Ｒ２, 石粉１, 石粉２, 顔料,
// アス, ゴム, 添加剤. One row of the table HBHaigoritu, found by its ID.
class THotbinHaigoritu : public QObject
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 14;

    explicit THotbinHaigoritu(QObject* parent = nullptr);

    static QString TableName() { return QStringLiteral("HBHaigoritu"); }
    // The table's columns in their order, for creating it.
    static QList<TFieldDef> TableFields();

    int ID = 0;
    std::array<double, ColumnCount> D{};

    // True when the table exists; otherwise `ask` is asked "データを作成しますか?"
    // and the table created on Yes. False in both cases.
    bool EnsureTables(const TAskCreate& ask);
    void Clear();
    // Reads the row with that ID; without one the record is cleared and
    // keeps the ID, so that the next Save inserts a new row.
    void LoadById(int id);
    // Updates the rows with the record's ID; when there is none, takes
    // NextId and inserts.
    void Save();
    void Delete();
    int NextId() const;
};
