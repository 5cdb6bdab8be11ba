#pragma once

#include "foundation/TDatabase.h"

#include <QObject>
#include <QString>
#include <array>

// One column of gradation range texts of a mixture: text k belongs to the
// k-th used sieve of the mixture's gradation standard ("85_100", "100", "-",
// or empty). One row of the table RyudoRange, found by its ID.
class TRyudoRange : public QObject
{
    Q_OBJECT
public:
    static constexpr int ValueCount = 20;

    explicit TRyudoRange(QObject* parent = nullptr);

    static QString TableName() { return QStringLiteral("RyudoRange"); }
    // The table's columns in their order, for creating it.
    static QList<TFieldDef> TableFields();

    int ID = 0;
    std::array<QString, ValueCount> Values;

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
    // True when every text is empty ("-" counts as a text).
    bool IsEmpty() const;
};
