#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"
#include "foundation/TIniFile.h"
#include "foundation/TQuery.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>

namespace {

const QList<TFieldDef> kFields = {
    {"ID", TFieldType::Integer},   {"Name", TFieldType::String, 30},
    {"Ratio", TFieldType::Float},  {"HIDUKE", TFieldType::DateTime},
    {"Used", TFieldType::Boolean},
};

QString engineIni()
{
    return TTestEnvironment::Current().ConfigDir() + "/engine.ini";
}

// Columns of a table as "name TYPE", in order, straight from the engine.
QStringList Columns(const QString& table)
{
    QStringList result;
    TQuery q(
        TTestEnvironment::OnServer()
            ? QString("select column_name, case when character_maximum_length is not null then "
                      "'varchar(' || character_maximum_length || ')' else data_type end "
                      "from information_schema.columns where table_name = lower('%1') "
                      "order by ordinal_position")
                  .arg(table)
            : QString("select name, type from pragma_table_info('%1') order by cid").arg(table));
    q.Exec();
    while (q.Next())
        result << q.Value(0).toString() + " " + q.Value(1).toString();
    return result;
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void firstUseCreatesAliasAndDatabase()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the database file of the data folder");
        const QString data = TTestEnvironment::Current().DataDir();
        QVERIFY(!QFile::exists(engineIni()));
        QCOMPARE(TDatabase::AliasFolder("KANMURI"),
                 QDir::toNativeSeparators(data) + QDir::separator());
        QVERIFY(QFile::exists(engineIni()));
        QVERIFY(QDir(data).exists());
        TDatabase::Connection();
        QVERIFY(QFile::exists(data + "/kanmuri.sqlite"));
        // Alias names are not case-sensitive.
        QCOMPARE(TDatabase::AliasFolder("kanmuri"), TDatabase::AliasFolder("Kanmuri"));
    }

    void aliasFolderAppendsOneSeparator_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QString sep = QDir::separator();
        QTest::newRow("without") << "/srv/data"
                                 << "/srv/data" + sep;
        QTest::newRow("with") << "/srv/data" + sep << "/srv/data" + sep;
        QTest::newRow("empty") << "" << sep;
    }
    void aliasFolderAppendsOneSeparator()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        TIniFile(engineIni()).Write("KANMURI", "PATH", path);
        QCOMPARE(TDatabase::AliasFolder("KANMURI"), expected);
    }

    void missingAliasOrFolderIsAnError()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("a missing data folder; tst_ServerDatabase has the unreachable server");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, TDatabase::AliasFolder("NOSUCH"));
        TIniFile(engineIni()).Write("KANMURI", "PATH", "/no/such/folder/anywhere");
        try {
            TQuery q("select 1");
            QFAIL("a missing data folder must not open");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.text().contains("/no/such/folder/anywhere"));
        }
    }

    void ensureTableCreatesColumnsInOrderOnce()
    {
        QVERIFY(!TDatabase::EnsureTable("Sample", kFields));
        if (TTestEnvironment::OnServer())
            QCOMPARE(Columns("Sample"),
                     (QStringList{"id integer", "name character varying", "ratio double precision",
                                  "hiduke timestamp without time zone", "used smallint"}));
        else
            QCOMPARE(Columns("Sample"),
                     (QStringList{"ID INTEGER", "Name VARCHAR(30)", "Ratio DOUBLE",
                                  "HIDUKE TIMESTAMP", "Used BOOLEAN"}));
        // The names and types as declared, from either engine.
        const QList<TFieldDef> declared = TDatabase::TableColumns("SAMPLE");
        QCOMPARE(declared.size(), kFields.size());
        for (int i = 0; i < kFields.size(); ++i) {
            QCOMPARE(declared[i].name, kFields[i].name);
            QCOMPARE(int(declared[i].type), int(kFields[i].type));
            QCOMPARE(declared[i].size, kFields[i].size);
        }
        TQuery("insert into Sample (ID, Name) values (1, 'kept')").Exec();
        // Existing tables are found whatever the case of the name, and left alone.
        QVERIFY(TDatabase::EnsureTable("sample", kFields.mid(0, 2)));
        // One laid out otherwise (another version's) is reported, not changed.
        try {
            TDatabase::EnsureTable("Sample", {{"Other", TFieldType::Integer}});
            QFAIL("a table of another layout was accepted");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.text().contains("Sample"));
            QVERIFY(e.text().contains(TTestEnvironment::OnServer() ? TDatabase::AliasServer().Name()
                                                                   : QString("kanmuri.sqlite")));
        }
        TQuery q("select Name from Sample");
        q.Exec();
        QVERIFY(q.Next());
        QCOMPARE(q.Text("Name"), QString("kept"));
        QCOMPARE(Columns("Sample").size(), 5);
    }

    void ensureTableCreatesOnlyWhenTheCallerAgrees()
    {
        int asked = 0;
        bool agree = false;
        const auto mayCreate = [&] {
            ++asked;
            return agree;
        };
        QVERIFY(!TDatabase::EnsureTable("GozaiDef", kFields, mayCreate));
        QVERIFY(!TDatabase::TableExists("GozaiDef"));
        agree = true;
        QVERIFY(!TDatabase::EnsureTable("GozaiDef", kFields, mayCreate));
        QVERIFY(TDatabase::TableExists("GozaiDef"));
        QVERIFY(TDatabase::EnsureTable("GozaiDef", kFields, mayCreate));
        QCOMPARE(asked, 2);
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void valuesRoundTripThroughNamedParameters()
    {
        TDatabase::EnsureTable("Sample", kFields);
        const TDateTime day = EncodeDate(2026, 12, 7) + 0.5;
        TQuery("insert into Sample (ID, Name, Ratio, HIDUKE, Used) values (:ID, :Name, :Ratio, "
               ":Day, :Used)")
            .Bind(":ID", 7)
            .BindText(":Name", "O'Brien \"舗装\"; drop table Sample")
            .Bind(":Ratio", 5.25)
            .BindDateTime(":Day", day)
            .Bind(":Used", true)
            .Exec();
        TQuery("insert into Sample (ID, Name) values (8, :Name)")
            .BindText(":Name", QString())
            .Exec();

        TQuery q("select * from Sample where HIDUKE = :Day and Used = :Used");
        q.BindDateTime(":Day", day).Bind(":Used", true).Exec();
        QVERIFY(q.Next());
        QCOMPARE(q.Integer("ID"), 7);
        QCOMPARE(q.Text("Name"), QString("O'Brien \"舗装\"; drop table Sample"));
        QCOMPARE(q.Number("Ratio"), 5.25);
        QCOMPARE(q.DateTimeValue("HIDUKE"), day);
        QCOMPARE(q.Text("HIDUKE"), QString("2026-12-07 12:00:00"));
        QVERIFY(!q.Next());

        // An empty text is stored as an empty text, so it can be looked up.
        TQuery e("select ID from Sample where Name = :Name");
        e.BindText(":Name", "").Exec();
        QVERIFY(e.Next());
        QCOMPARE(e.Integer("ID"), 8);
    }

    void maxIdAndEngineErrors()
    {
        TDatabase::EnsureTable("Sample", kFields);
        QCOMPARE(MaxId("Sample"), 0);
        TQuery("insert into Sample (ID) values (41)").Exec();
        TQuery("insert into Sample (ID) values (3)").Exec();
        QCOMPARE(MaxId("Sample"), 41);
        try {
            MaxId("Missing");
            QFAIL("a missing table must raise the engine's error");
        } catch (const EDatabaseError& e) {
            QVERIFY2(
                e.text().contains(TTestEnvironment::OnServer() ? "does not exist" : "no such table",
                                  Qt::CaseInsensitive),
                qPrintable(e.text()));
        }
    }

    void setAliasFolderMovesLaterQueries()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("moving between folders; tst_ServerDatabase switches between server and folder");
        TDatabase::EnsureTable("Sample", kFields);
        TQuery("insert into Sample (ID) values (1)").Exec();

        const QString other = TTestEnvironment::Current().NewFolder();
        TDatabase::SetAliasFolder("kanmuri", other);
        QCOMPARE(TIniFile(engineIni()).Read("KANMURI", "PATH"), other);
        QCOMPARE(TDatabase::AliasFolder("KANMURI"), other + QDir::separator());
        QVERIFY(!TDatabase::TableExists("Sample"));
        QVERIFY(!TDatabase::EnsureTable("Sample", kFields));
        QCOMPARE(MaxId("Sample"), 0);
        QVERIFY(QFile::exists(other + "/kanmuri.sqlite"));

        TDatabase::SetAliasFolder("KANMURI", TTestEnvironment::Current().DataDir());
        QCOMPARE(MaxId("Sample"), 1);
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void setAliasFolderFailureNamesTheAlias()
    {
        try {
            TDatabase::SetAliasFolder("NOSUCH", "/tmp");
            QFAIL("an unknown alias was accepted");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.text(), QString("エイリアス NOSUCH が見つかりません。"));
        }
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void twoConnectionsShareOneFolder()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("two SQLite connections on one file");
        TDatabase::EnsureTable("Sample", kFields);
        // Another program on the same data folder.
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(TTestEnvironment::Current().DataDir() + "/kanmuri.sqlite");
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec("insert into Sample (ID) values (5)"));
        }
        QSqlDatabase::removeDatabase("other");
        QCOMPARE(MaxId("Sample"), 5);
    }
};

KANMURI_TEST_MAIN(TestDatabase)
#include "tst_TDatabase.moc"
