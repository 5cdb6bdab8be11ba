#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class TGozaiDef;
class TKoji;
class TKosyu;

// One entry of the data-open list: the project name, then the work type, the
// mixture, the date ("yyyy/mm/dd") and the header ID.
struct THojituListItem
{
    QString Caption;
    QStringList SubItems;
};

// What the data-open list shows of the stored days: those whose project
// name, work type, mixture or date ("yyyy/mm/dd") contains every word, in the
// order of one of those columns (0 to 3, as the list shows them).
struct THojituListQuery
{
    QStringList Words;
    int SortColumn = 3;
    bool Descending = true;
};

// A paving record header (HojituHead4): one per project, work type and
// mixture; its days are lines of HojituLine4 whose SID is its ID.
class THojituHead4 : public QObject
{
    Q_OBJECT
public:
    explicit THojituHead4(QObject* owner = nullptr);

    int ID = 0; // 0: not stored
    TKoji* Koji;
    TKosyu* Kosyu;
    TGozaiDef* Gozai;

    // Creates the table without asking; true when it existed.
    static bool EnsureTables();
    static int NextId();
    // The header of the current project code, work type and mixture; ID 0
    // (and nothing else changed) when there is none.
    void LoadByKeys();
    void LoadById(int id);
    // Stores the keys under their existing ID or a new one.
    void Save();
    // The header and all its lines.
    void Delete();
    // One entry per stored line whose project is registered.
    static void ListAll(QList<THojituListItem>& list);
    // The entries of ListAll that `query` finds: how many, and `count` of them
    // from the `first` in its order. Letters A to Z match either case; %, _
    // and \ in a word are taken as written.
    static int ListCount(const THojituListQuery& query);
    static void ListPage(const THojituListQuery& query, int first, int count,
                         QList<THojituListItem>& list);

private:
    void LoadKeys(int id, const QString& code, const QString& kosyu, const QString& gozai);
};
