#pragma once

#include <QObject>
#include <QStringList>

// A client (発注者), table Hacchusya, keyed by its name.
class THacchusya : public QObject
{
    Q_OBJECT
public:
    explicit THacchusya(QObject* owner = nullptr);

    QString Hacchusyamei;
    QString SyokuSimei;

    static bool EnsureTables();
    void Clear();
    // Not found: the record holds only `name`.
    void LoadByName(const QString& name);
    // Does nothing when the name is blank.
    void Save();
    void Delete();
    static void FillList(QStringList& list);
};
