#pragma once

#include "foundation/TDatabase.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

// One gradation standard (粒度規格): for each of the 19 sieves, the percentage
// passing it requires. A value text is empty (sieve not used), "-" (used, no
// requirement), a number, or a range "low_high" where either side may be
// missing. One row of the table Ryudokikaku, found by its name.
class TRyudoKikaku : public QObject
{
    Q_OBJECT
public:
    static constexpr int SieveCount = 19;
    static constexpr int NameLength = 32;
    // The widest name the table holds; the window refuses a longer one.
    static constexpr int ColumnNameLength = 30;
    static constexpr int ValueLength = 16;

    explicit TRyudoKikaku(QObject* parent = nullptr);

    static QString TableName() { return QStringLiteral("Ryudokikaku"); }
    // The table's columns in their order, for creating it.
    static QList<TFieldDef> TableFields();
    // Whether the table holds the standards a new table receives and nothing
    // else (a data folder that was only ever started).
    static bool HoldsOnlyDefaults();

    int ID = 0; // 0 when not loaded
    QString Kikakumei;
    // Value texts of sieves 1 to 19 (index 0 is sieve 1), trimmed.
    std::array<QString, SieveCount> Values;

    // Creates a missing table without asking and fills it with the default
    // standards; false then. True when the table was there.
    bool EnsureTables();
    void Clear();
    // Clears, then reads the row(s) with that id or name; the last row read
    // wins. With no row the record stays cleared.
    void LoadById(int id);
    void LoadByName(const QString& name);
    // Updates the row of that name, or inserts one under the next ID. Does
    // nothing for an empty name. The record's ID stays as it is.
    void Save(const QString& name);
    // Deletes every row of that name.
    void Delete(const QString& name);
    // Every name, standards whose tag ("[3]..." ) is a whole number first in
    // the order of their tags, then the others in name order.
    void FillList(QStringList& list) const;

    // Sets the name as the window gives it (at most NameLength characters).
    void SetName(const QString& name);
    // Sets sieve `sieve`'s (1-19) value, trimmed, at most ValueLength characters.
    void SetValue(int sieve, const QString& text);

    // The sieves (1-19) whose value is not empty, in sieve order; gradation
    // data of a mixture is indexed by them.
    QList<int> UsedSieves() const;
    int UsedSieveCount() const;
    // Labels of the used sieves, in sieve order.
    QStringList UsedSieveLabels() const;
    // Writes the labels of the used sieves into the row headings of rows 1,
    // 2, ... of a grid (TvaSpread); rows beyond them are left alone.
    template <typename Grid> void ShowSieveLabels(Grid& grid) const
    {
        const QStringList labels = UsedSieveLabels();
        for (int i = 0; i < labels.size(); ++i)
            grid.SetText(0, i + 1, labels[i]);
    }

    // Saves the sixteen standards a new table starts with (IDs 1-16 there).
    void InstallDefaults();

private:
    void ReadRows(const QString& sql, const QString& param, const QVariant& value);
};
