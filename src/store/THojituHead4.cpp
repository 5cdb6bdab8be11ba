#include "store/THojituHead4.h"

#include "foundation/DateTime.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"

#include <QDate>
#include <algorithm>

namespace {

const QString kTable = QStringLiteral("HojituHead4");

// Stored dates are "yyyy-MM-dd hh:mm:ss"; the list shows "yyyy/MM/dd".
QString ShownDate(const QString& stored)
{
    QString date = stored.left(10);
    if (date.size() == 10 && date[4] == u'-' && date[7] == u'-') {
        date[4] = u'/';
        date[7] = u'/';
        return date;
    }
    return FormatDate(SqlTextToDateTime(stored));
}

// The data-open list: one row per stored day of a registered project.
const QString kHeadFrom =
    QStringLiteral(" from HojituHead4 inner join Koji1 on Koji1.CODE = HojituHead4.KOJICODE");
const QString kListFrom =
    QStringLiteral(" from HojituLine4 inner join HojituHead4 on HojituHead4.ID = HojituLine4.SID "
                   "inner join Koji1 on Koji1.CODE = HojituHead4.KOJICODE");
const QString kListColumns[] = {
    QStringLiteral("Koji1.KOJIMEI"), QStringLiteral("HojituHead4.KOSYUMEI"),
    QStringLiteral("HojituHead4.GOZAIMEI"), QStringLiteral("HojituLine4.HIDUKE")};

// A LIKE pattern that finds `word` anywhere, with its own %, _ and \ taken
// literally. Both engines fold only A to Z in lower(), so only those are
// folded here.
QString ContainsPattern(const QString& word)
{
    QString pattern(u'%');
    for (QChar c : word) {
        if (c == u'\\' || c == u'%' || c == u'_')
            pattern += u'\\';
        pattern += c.unicode() < 128 ? c.toLower() : c;
    }
    return pattern + u'%';
}

// A shown date holds digits and slashes only; other words need not be
// compared with any day.
bool MayBeInDate(const QString& word)
{
    return std::all_of(word.begin(), word.end(),
                       [](QChar c) { return c == u'/' || (c >= u'0' && c <= u'9'); });
}

// The first and the last stored day.
struct TStoredDays
{
    QDate first, last;
};

TStoredDays StoredDays()
{
    // Apart, so that each is read from the end of the date index instead of
    // from every day.
    TQuery query(QStringLiteral("select (select min(HIDUKE) from HojituLine4) as FIRSTDAY, "
                                "(select max(HIDUKE) from HojituLine4) as LASTDAY"));
    query.Exec();
    if (!query.Next() || query.Value(QStringLiteral("FIRSTDAY")).isNull())
        return {};
    return {ToQDate(query.DateTimeValue(QStringLiteral("FIRSTDAY"))),
            ToQDate(query.DateTimeValue(QStringLiteral("LASTDAY")))};
}

// The stored days whose shown date ("yyyy/MM/dd") holds `word`, as runs of
// consecutive days [first, next): compared as ranges, they need no text of
// every stored day. False when the days are too spread or the runs too many
// for that.
bool DayRuns(const QString& word, const TStoredDays& stored, QList<std::pair<QDate, QDate>>& runs)
{
    constexpr qint64 kMostDays = 40000;
    constexpr int kMostRuns = 32;
    runs.clear();
    if (!stored.first.isValid())
        return true;
    if (stored.first.year() < 1 || stored.last.year() > 9999 ||
        stored.first.daysTo(stored.last) > kMostDays)
        return false;
    QString shown(10, u'/');
    const auto put = [&](int at, int digits, int value) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            shown[at + i] = QChar(u'0' + value % 10);
    };
    for (QDate day = stored.first; day <= stored.last; day = day.addDays(1)) {
        put(0, 4, day.year());
        put(5, 2, day.month());
        put(8, 2, day.day());
        if (!shown.contains(word))
            continue;
        if (!runs.isEmpty() && runs.last().second == day)
            runs.last().second = day.addDays(1);
        else if (runs.size() == kMostRuns)
            return false;
        else
            runs.append({day, day.addDays(1)});
    }
    return true;
}

// Whether a registered header has one of `texts`.
bool HeadersHave(const QString& texts, const QList<std::pair<QString, QString>>& binds)
{
    TQuery query(QStringLiteral("select count(*)") + kHeadFrom + QStringLiteral(" where ") + texts);
    for (const auto& [name, value] : binds)
        query.BindText(name, value);
    query.Exec();
    return query.Next() && query.Integer(0) > 0;
}

// Every word in one of the texts; the parameters in the order of `binds`.
QString ListWhere(const QStringList& words, QList<std::pair<QString, QString>>& binds)
{
    const bool dates = std::any_of(words.begin(), words.end(), MayBeInDate);
    const TStoredDays stored = dates ? StoredDays() : TStoredDays();
    QStringList conditions;
    for (int w = 0; w < words.size(); ++w) {
        const QString pattern = ContainsPattern(words[w]);
        QStringList terms;
        QList<std::pair<QString, QString>> texts;
        for (int c = 0; c < 3; ++c) {
            const QString name = QStringLiteral(":W%1_%2").arg(w).arg(c);
            terms << QStringLiteral("lower(%1) like %2 escape '\\'").arg(kListColumns[c], name);
            texts.append({name, pattern});
        }
        const QString inTexts = terms.join(QStringLiteral(" or "));
        QStringList days;
        QList<std::pair<QDate, QDate>> runs;
        if (MayBeInDate(words[w]) && DayRuns(words[w], stored, runs)) {
            // Written out rather than bound: they are our own dates, and
            // SQLite would convert a bound text (Qt binds UTF-16) again for
            // every day it compares.
            for (const auto& [first, next] : runs)
                days << QStringLiteral("(HojituLine4.HIDUKE >= '%1' and HojituLine4.HIDUKE < '%2')")
                            .arg(DateTimeToSqlText(FromQDate(first)),
                                 DateTimeToSqlText(FromQDate(next)));
        } else if (MayBeInDate(words[w])) {
            const QString name = QStringLiteral(":W%1_day").arg(w);
            days << TDatabase::DateTextSql(kListColumns[3]) + QStringLiteral(" like ") + name;
            binds.append({name, pattern});
        }
        // The texts are looked up once per header, not once per day. A date
        // seldom is in a name: then the days alone decide, and the date index
        // finds them.
        if (days.isEmpty() || HeadersHave(inTexts, texts)) {
            days.prepend(QStringLiteral("HojituLine4.SID in (select HojituHead4.ID") + kHeadFrom +
                         QStringLiteral(" where ") + inTexts + u')');
            binds.append(texts);
        }
        conditions << u'(' + days.join(QStringLiteral(" or ")) + u')';
    }
    return conditions.isEmpty()
               ? QString()
               : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

// The chosen column first, then the others, so that every page of the list
// comes in the same order: names ascending, days newest first, and the header
// for rows that show the same texts.
QString ListOrder(const THojituListQuery& query)
{
    const int sort = std::clamp(query.SortColumn, 0, 3);
    QStringList terms{kListColumns[sort] +
                      (query.Descending ? QStringLiteral(" desc") : QStringLiteral(" asc"))};
    for (int c = 0; c < 4; ++c) {
        if (c != sort)
            terms << kListColumns[c] + (c == 3 ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    }
    terms << QStringLiteral("HojituHead4.ID");
    return QStringLiteral(" order by ") + terms.join(QStringLiteral(", "));
}

} // namespace

THojituHead4::THojituHead4(QObject* owner)
    : QObject(owner), Koji(new TKoji(this)), Kosyu(new TKosyu(this)), Gozai(new TGozaiDef(this))
{
}

bool THojituHead4::EnsureTables()
{
    const bool existed =
        TDatabase::EnsureTable(kTable, {{QStringLiteral("ID"), TFieldType::Integer},
                                        {QStringLiteral("KOJICODE"), TFieldType::String, 8},
                                        {QStringLiteral("KOSYUMEI"), TFieldType::String, 32},
                                        {QStringLiteral("GOZAIMEI"), TFieldType::String, 64}});
    TDatabase::EnsureIndex(
        kTable, QStringLiteral("HojituHead4Keys"),
        {QStringLiteral("KOJICODE"), QStringLiteral("GOZAIMEI"), QStringLiteral("KOSYUMEI")});
    TDatabase::EnsureIndex(kTable, QStringLiteral("HojituHead4ID"), {QStringLiteral("ID")});
    // A header looks its project and work type up; a data folder just
    // repointed must not fail on their tables.
    TKoji::EnsureTables();
    TKosyu::EnsureTables();
    return existed;
}

int THojituHead4::NextId()
{
    return MaxId(kTable) + 1;
}

void THojituHead4::LoadByKeys()
{
    TQuery query(QStringLiteral("select ID, KOJICODE, KOSYUMEI, GOZAIMEI from HojituHead4 "
                                "where (KOJICODE = :KojiCode) and (KOSYUMEI = :Kosyumei) "
                                "and (GOZAIMEI = :Gozaimei)"));
    query.BindText(QStringLiteral(":KojiCode"), Koji->Code)
        .BindText(QStringLiteral(":Kosyumei"), Kosyu->Kosyumei)
        .BindText(QStringLiteral(":Gozaimei"), Gozai->DataName)
        .Exec();
    if (!query.Next()) {
        ID = 0;
        return;
    }
    LoadKeys(query.Integer(QStringLiteral("ID")), query.Text(QStringLiteral("KOJICODE")),
             query.Text(QStringLiteral("KOSYUMEI")), query.Text(QStringLiteral("GOZAIMEI")));
}

void THojituHead4::LoadById(int id)
{
    TQuery query(
        QStringLiteral("select ID, KOJICODE, KOSYUMEI, GOZAIMEI from HojituHead4 where ID = :ID"));
    query.Bind(QStringLiteral(":ID"), id).Exec();
    if (!query.Next()) {
        ID = 0;
        return;
    }
    LoadKeys(query.Integer(QStringLiteral("ID")), query.Text(QStringLiteral("KOJICODE")),
             query.Text(QStringLiteral("KOSYUMEI")), query.Text(QStringLiteral("GOZAIMEI")));
}

void THojituHead4::LoadKeys(int id, const QString& code, const QString& kosyu, const QString& gozai)
{
    ID = id;
    Koji->LoadByCode(code);
    Kosyu->LoadByName(kosyu);
    // A data folder without mixture definitions still shows the header by
    // its mixture name.
    if (TDatabase::TableExists(TGozaiDef::TableName())) {
        Gozai->LoadByName(gozai);
    } else {
        Gozai->DataName = gozai;
        Gozai->PrintName = gozai;
    }
}

void THojituHead4::Save()
{
    TTransaction transaction;
    const TColumnValues keys{{QStringLiteral("KOJICODE"), Koji->Code},
                             {QStringLiteral("KOSYUMEI"), Kosyu->Kosyumei},
                             {QStringLiteral("GOZAIMEI"), Gozai->DataName}};
    TQuery find(QStringLiteral("select ID from HojituHead4 where (KOJICODE = :KojiCode) and "
                               "(KOSYUMEI = :Kosyumei) and (GOZAIMEI = :Gozaimei)"));
    find.BindText(QStringLiteral(":KojiCode"), Koji->Code)
        .BindText(QStringLiteral(":Kosyumei"), Kosyu->Kosyumei)
        .BindText(QStringLiteral(":Gozaimei"), Gozai->DataName)
        .Exec();
    ID = find.Next() ? find.Integer(QStringLiteral("ID")) : NextId();
    InsertOrUpdate(kTable, {{QStringLiteral("ID"), ID}},
                   TColumnValues{{QStringLiteral("ID"), ID}} + keys);
    transaction.Commit();
}

void THojituHead4::Delete()
{
    TTransaction transaction;
    DeleteRows(kTable, {{QStringLiteral("ID"), ID}});
    DeleteRows(QStringLiteral("HojituLine4"), {{QStringLiteral("SID"), ID}});
    transaction.Commit();
}

void THojituHead4::ListAll(QList<THojituListItem>& list)
{
    list.clear();
    TQuery query(QStringLiteral("select Koji1.KOJIMEI, HojituHead4.KOSYUMEI, HojituHead4.GOZAIMEI, "
                                "HojituLine4.HIDUKE, HojituHead4.ID from HojituHead4 "
                                "inner join Koji1 on Koji1.CODE = HojituHead4.KOJICODE "
                                "inner join HojituLine4 on HojituLine4.SID = HojituHead4.ID"));
    query.Exec();
    // A header has a line per day: its texts are shared by all of them.
    int lastId = -1;
    QString caption, kosyu, gozai, idText;
    while (query.Next()) {
        const int id = query.Value(4).toInt();
        if (id != lastId) {
            lastId = id;
            caption = query.Value(0).toString();
            kosyu = query.Value(1).toString();
            gozai = query.Value(2).toString();
            idText = QString::number(id);
        }
        list.append({caption, {kosyu, gozai, ShownDate(query.Value(3).toString()), idText}});
    }
}

int THojituHead4::ListCount(const THojituListQuery& query)
{
    QList<std::pair<QString, QString>> binds;
    TQuery count(QStringLiteral("select count(*)") + kListFrom + ListWhere(query.Words, binds));
    for (const auto& [name, value] : binds)
        count.BindText(name, value);
    count.Exec();
    return count.Next() ? count.Integer(0) : 0;
}

void THojituHead4::ListPage(const THojituListQuery& query, int first, int count,
                            QList<THojituListItem>& list)
{
    list.clear();
    QList<std::pair<QString, QString>> binds;
    TQuery page(QStringLiteral("select Koji1.KOJIMEI, HojituHead4.KOSYUMEI, HojituHead4.GOZAIMEI, "
                               "HojituLine4.HIDUKE, HojituHead4.ID") +
                kListFrom + ListWhere(query.Words, binds) + ListOrder(query) +
                QStringLiteral(" limit :Count offset :First"));
    for (const auto& [name, value] : binds)
        page.BindText(name, value);
    page.Bind(QStringLiteral(":Count"), count).Bind(QStringLiteral(":First"), first).Exec();
    while (page.Next())
        list.append({page.Value(0).toString(),
                     {page.Value(1).toString(), page.Value(2).toString(),
                      ShownDate(page.Value(3).toString()), QString::number(page.Integer(4))}});
}
