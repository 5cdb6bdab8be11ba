#pragma once

#include <QObject>
#include <QStringList>

// A work type (工種), table Kosyu4, keyed by its name; ID is its place in
// the list, from 1.
class TKosyu : public QObject
{
    Q_OBJECT
public:
    explicit TKosyu(QObject* owner = nullptr);

    // The widest name the table holds.
    static constexpr int NameLength = 32;

    QString Kosyumei;
    int ID = 0;

    static bool EnsureTables();
    // Empties the name; the ID stays.
    void Clear();
    // Not found: the name becomes `name` as given and the ID stays.
    void LoadByName(const QString& name);
    // Does nothing when the name is blank; a new row without an ID gets
    // NextId.
    void Save();
    static int NextId();
    static void DeleteAll();
    // Names in list order.
    static void FillList(QStringList& list);
    // Replaces the whole table by `names`: each name gets the ID of its place
    // in the list (from 1); blank entries keep their place but are not stored,
    // a repeated name keeps its first place. All or nothing.
    void RewriteAll(const QStringList& names);
};
