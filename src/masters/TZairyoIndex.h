#pragma once

#include <QObject>
#include <QStringList>

// Ordered name lists by category, table ZairyoIndex. Category 0 holds the
// asphalt mixture names.
class TZairyoIndex : public QObject
{
    Q_OBJECT
public:
    explicit TZairyoIndex(QObject* owner = nullptr);

    int ZKubun = 0;
    int Lno = 0;
    QString ZName;

    static bool EnsureTables();
    // The category's largest line number plus one; 1 for an empty category.
    int NextLno() const;
    void DeleteCategory();
    // Adds ZName at the end of the category unless it is empty or there
    // already.
    void AddIfMissing();
    // The category's names in line order.
    void FillList(QStringList& list) const;
    // Replaces the category by `names`, numbered from 1 in order; empty and
    // repeated names are skipped. All or nothing.
    void RewriteCategory(const QStringList& names);
};
