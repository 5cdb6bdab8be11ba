#pragma once

#include <QObject>
#include <QStringList>

// A person (氏名), table Simei, keyed by the name; listed by reading.
class TSimei : public QObject
{
    Q_OBJECT
public:
    // Creating a person record makes sure its table exists.
    explicit TSimei(QObject* owner = nullptr);

    QString Simei;
    QString Furigana;

    static bool EnsureTables();
    void Clear();
    // Not found: the record holds only `name`.
    void LoadByName(const QString& name);
    // Trims both texts; does nothing when the name is blank; a blank reading
    // becomes the name.
    void Save();
    // Deletes this person only: two people may share a reading.
    void Delete();
    static void FillList(QStringList& list);
};
