#pragma once

#include <QObject>
#include <QStringList>

class THacchusya;
class TSimei;
class TUkeoisya;

// A project (工事), table Koji1, keyed by its code. The client, contractor
// and site agent are stored by name and kept in records of their own
// registers.
class TKoji : public QObject
{
    Q_OBJECT
public:
    // Creates the three owned records and makes sure their tables exist.
    explicit TKoji(QObject* owner = nullptr);

    // The widest code the table holds.
    static constexpr int CodeLength = 8;

    QString Code;
    QString Kojimei;
    THacchusya* Client;
    TUkeoisya* Contractor;
    TSimei* SiteAgent;
    // Print format: 0 "開発局", 1 "土木現業所", 2 "支庁".
    int Yoshiki = 0;

    // True when the project table existed already.
    static bool EnsureTables();
    // Empties code, name and the three owned records; the print format stays.
    void Clear();
    // Not found: the record is cleared and holds `code` as given.
    void LoadByCode(const QString& code);
    // Does nothing when the code is blank. Client, contractor and agent names
    // that their registers do not hold yet are added to them.
    void Save();
    void Delete();
    // "code:name" in code order; rows with a blank code are left out.
    static void FillList(QStringList& list);
};
