#pragma once

#include <QObject>
#include <QStringList>

// A contractor (請負者), table Ukeoisya, keyed by its name.
class TUkeoisya : public QObject
{
    Q_OBJECT
public:
    explicit TUkeoisya(QObject* owner = nullptr);

    QString Ukeoisyamei;
    QString Jusyo;
    QString Kaisya;
    QString Daihyosya;
    // The representative company of a joint venture.
    bool JVFlag = false;

    static bool EnsureTables();
    void Clear();
    // Not found: the record holds only `name`.
    void LoadByName(const QString& name);
    // Does nothing when the name is blank.
    void Save();
    void Delete();
    static void FillList(QStringList& list);
};
