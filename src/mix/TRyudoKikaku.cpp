#include "mix/TRyudoKikaku.h"

#include "foundation/Conversions.h"
#include "foundation/Rows.h"
#include "foundation/Sieves.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"

namespace {

constexpr int kUnrankedTag = 65535;

QList<TFieldDef> Fields()
{
    QList<TFieldDef> fields = {
        {QStringLiteral("id"), TFieldType::Integer},
        {QStringLiteral("Kikakumei"), TFieldType::String, TRyudoKikaku::ColumnNameLength}};
    for (int n = 1; n <= TRyudoKikaku::SieveCount; ++n)
        fields.append({QStringLiteral("ryudo%1").arg(n), TFieldType::String, 8});
    return fields;
}

QString ValueColumns()
{
    QStringList columns;
    for (int n = 1; n <= TRyudoKikaku::SieveCount; ++n)
        columns << QStringLiteral("ryudo%1").arg(n);
    return columns.join(QStringLiteral(", "));
}

// The tag of "[S1]S-5" is "S1"; it ranks by its number when it is a whole number.
bool TagRank(const QString& name, int& rank)
{
    const QString tag = TextBefore(TextAfter(name, QStringLiteral("[")), QStringLiteral("]"));
    bool ok = false;
    const int value = tag.toInt(&ok, 10);
    rank = ok ? value : kUnrankedTag;
    return ok;
}

// The standards a new table starts with: name, then "sieve:text" pairs.
const char* const kDefaults[][2] = {
    {"[0]標準", ""}, // every sieve "-", filled in below
    {"[S1]S-5", "9:100 11:85_100 12:0_25 13:0_5"},
    {"[S2]S-13", "8:100 9:85_100 11:0_15"},
    {"[S3]S-20", "7:100 8:85_100 9:0_15"},
    {"[S4]S-30", "5:100 6:85_100 7:- 8:0_15"},
    {"[S5]S-40", "4:100 5:85_100 6:0_15"},
    {"[S6]S-60", "2:100 3:85_100 4:- 5:0_15"},
    {"[S7]S-80", "1:100 2:85_100 3:0_15"},
    {"[M1]M-25", "6:100 7:95_100 8:- 9:55_85 11:30_65 12:20_50 13:- 15:10_30 18:2_10"},
    {"[M2]M-30", "5:100 6:95_100 7:- 8:60_90 9:- 11:30_65 12:20_50 13:- 15:10_30 18:2_10"},
    {"[M3]M-40", "4:100 5:95_100 6:- 7:- 8:60_90 9:- 11:30_65 12:20_50 13:- 15:10_30 18:2_10"},
    {"[C1]C-20", "7:100 8:95_100 9:60_90 11:20_50 12:10_35"},
    {"[C2]C-30", "5:100 6:95_100 7:- 8:55_85 9:- 11:15_45 12:5_30"},
    {"[C3]C-40", "4:100 5:95_100 6:- 7:- 8:50_80 9:- 11:15_40 12:5_25"},
    {"[砂]スクリーニングス", "11:100 12:85_100 14:25_55 16:15_40 17:7_28 18:0_20"},
    {"[F]石粉", "14:100 17:90_100 18:70_100"},
};

} // namespace

TRyudoKikaku::TRyudoKikaku(QObject* parent) : QObject(parent) {}

bool TRyudoKikaku::EnsureTables()
{
    // The table and its defaults land together: a table left half filled
    // would never be filled again.
    TTransaction transaction;
    if (TDatabase::EnsureTable(TableName(), Fields()))
        return true;
    InstallDefaults();
    transaction.Commit();
    return false;
}

void TRyudoKikaku::Clear()
{
    ID = 0;
    Kikakumei.clear();
    for (QString& value : Values)
        value.clear();
}

void TRyudoKikaku::ReadRows(const QString& sql, const QString& param, const QVariant& value)
{
    Clear();
    TQuery q(QStringLiteral("select id, Kikakumei, %1 from Ryudokikaku where %2")
                 .arg(ValueColumns(), sql));
    q.Bind(param, value).Exec();
    while (q.Next()) {
        ID = q.Integer(0);
        SetName(q.Value(1).toString());
        for (int n = 1; n <= SieveCount; ++n)
            SetValue(n, q.Value(1 + n).toString());
    }
}

void TRyudoKikaku::LoadById(int id)
{
    ReadRows(QStringLiteral("id = :id"), QStringLiteral(":id"), id);
}

void TRyudoKikaku::LoadByName(const QString& name)
{
    ReadRows(QStringLiteral("Kikakumei = :Kikakumei"), QStringLiteral(":Kikakumei"), name);
}

void TRyudoKikaku::Save(const QString& name)
{
    if (name.isEmpty())
        return;
    // The look-up, the new ID and the write under one lock: two programs
    // saving at once would otherwise give two standards one ID.
    TTransaction transaction;
    int found = 0;
    {
        TQuery q(QStringLiteral("select id from Ryudokikaku where Kikakumei = :Kikakumei"));
        q.BindText(QStringLiteral(":Kikakumei"), name).Exec();
        while (q.Next())
            found = q.Integer(0);
    }

    QStringList params;
    for (int n = 1; n <= SieveCount; ++n)
        params << QStringLiteral(":ryudo%1").arg(n);
    QString sql;
    if (found != 0) {
        QStringList sets;
        for (int n = 1; n <= SieveCount; ++n)
            sets << QStringLiteral("ryudo%1 = :ryudo%1").arg(n);
        // Two programs inserting at once can leave two standards under one
        // id; only the row of this name is ours to change.
        sql = QStringLiteral("update Ryudokikaku set id = :id, Kikakumei = :Kikakumei, %1 "
                             "where id = :id and Kikakumei = :Kikakumei")
                  .arg(sets.join(QStringLiteral(", ")));
    } else {
        found = MaxId(TableName()) + 1;
        sql = QStringLiteral("insert into Ryudokikaku (id, Kikakumei, %1) "
                             "values (:id, :Kikakumei, %2)")
                  .arg(ValueColumns(), params.join(QStringLiteral(", ")));
    }
    TQuery q(sql);
    q.Bind(QStringLiteral(":id"), found).BindText(QStringLiteral(":Kikakumei"), name);
    for (int n = 1; n <= SieveCount; ++n)
        q.BindText(params[n - 1], Values[n - 1]);
    q.Exec();
    transaction.Commit();
}

void TRyudoKikaku::Delete(const QString& name)
{
    TQuery q(QStringLiteral("delete from Ryudokikaku where Kikakumei = :Kikakumei"));
    q.BindText(QStringLiteral(":Kikakumei"), name).Exec();
}

void TRyudoKikaku::FillList(QStringList& list) const
{
    list.clear();
    {
        TQuery q(QStringLiteral("select Kikakumei from Ryudokikaku order by Kikakumei"));
        q.Exec();
        while (q.Next())
            list.append(q.Value(0).toString());
    }
    // Each position takes the first entry further down with the smallest
    // whole-number tag; names without one are never moved forward, so they
    // keep their name order behind the numbered ones.
    for (qsizetype p = 0; p < list.size(); ++p) {
        int carried = 0;
        TagRank(list[p], carried);
        for (qsizetype i = p + 1; i < list.size(); ++i) {
            int rank = 0;
            if (TagRank(list[i], rank) && rank < carried) {
                list.move(i, p);
                carried = rank;
            }
        }
    }
}

void TRyudoKikaku::SetName(const QString& name)
{
    Kikakumei = name.left(NameLength);
}

void TRyudoKikaku::SetValue(int sieve, const QString& text)
{
    if (sieve >= 1 && sieve <= SieveCount)
        Values[sieve - 1] = text.trimmed().left(ValueLength);
}

QList<int> TRyudoKikaku::UsedSieves() const
{
    QList<int> used;
    for (int n = 1; n <= SieveCount; ++n)
        if (!Values[n - 1].trimmed().isEmpty())
            used.append(n);
    return used;
}

int TRyudoKikaku::UsedSieveCount() const
{
    return int(UsedSieves().size());
}

QStringList TRyudoKikaku::UsedSieveLabels() const
{
    QStringList labels;
    for (int sieve : UsedSieves())
        labels.append(SieveDisplayLabel(sieve));
    return labels;
}

void TRyudoKikaku::InstallDefaults()
{
    for (const auto& [name, values] : kDefaults) {
        Clear();
        SetName(QString::fromUtf8(name));
        const QString pairs = QString::fromUtf8(values);
        if (pairs.isEmpty())
            for (QString& value : Values)
                value = QStringLiteral("-");
        for (const QString& pair : pairs.split(u' ', Qt::SkipEmptyParts))
            SetValue(TextBefore(pair, QStringLiteral(":")).toInt(),
                     TextAfter(pair, QStringLiteral(":")));
        Save(Kikakumei);
    }
}

QList<TFieldDef> TRyudoKikaku::TableFields()
{
    return Fields();
}

bool TRyudoKikaku::HoldsOnlyDefaults()
{
    QStringList defaults;
    for (const auto& entry : kDefaults)
        defaults << QString::fromUtf8(entry[0]);
    return TextsOf(QStringLiteral("select Kikakumei from Ryudokikaku order by id")) == defaults;
}
