#include "foundation/TPostgresEngine.h"
#include "foundation/TSqliteEngine.h"
#include "support/TTestEnvironment.h"

#include <QSqlError>
#include <QSqlQuery>

// Each engine's statements, built without a server; SQLite's also run on a
// database in memory.

namespace {

const QList<TFieldDef> kFields = {
    {"ID", TFieldType::Integer},   {"Name", TFieldType::String, 30},
    {"Ratio", TFieldType::Float},  {"HIDUKE", TFieldType::DateTime},
    {"Used", TFieldType::Boolean},
};

TServerSettings Server()
{
    TServerSettings server;
    server.host = "db";
    server.database = "kanmuri";
    server.user = "office";
    return server;
}

QSqlError ErrorWithCode(const QString& code)
{
    return QSqlError("driver", "engine", QSqlError::StatementError, code);
}

QStringList Texts(QSqlQuery& query, const QString& sql)
{
    QStringList texts;
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    while (query.next())
        texts << query.value(0).toString();
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(TEngineFailure)

class TestEngine : public QObject
{
    Q_OBJECT
private slots:
    void sqliteStatementsWorkOnSqlite()
    {
        const TSqliteEngine engine(TTestEnvironment::Current().DataDir());
        QSqlDatabase db = QSqlDatabase::addDatabase(engine.Driver(), "memory");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        {
            QSqlQuery query(db);
            // A name with a quote, and a keyword, are used as they are.
            QList<TFieldDef> fields = kFields;
            fields << TFieldDef{"Order", TFieldType::String, 8}
                   << TFieldDef{"Say \"hi\"", TFieldType::Integer};
            for (const QString& sql : engine.CreateTableSql("Sample", fields))
                QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
            const QList<TFieldDef> read = engine.TableColumns(query, "sample");
            QCOMPARE(read.size(), fields.size());
            for (int i = 0; i < fields.size(); ++i) {
                QCOMPARE(read[i].name, fields[i].name);
                QCOMPARE(read[i].type, fields[i].type);
                QCOMPARE(read[i].size, fields[i].size);
            }
            QVERIFY(query.prepare(engine.TableExistsSql()));
            query.bindValue(":name", "SAMPLE");
            QVERIFY(query.exec() && query.next());
            QCOMPARE(query.value(0).toInt(), 1);

            QVERIFY(engine.IndexExistsSql("SampleKeys").isEmpty());
            for (int twice = 0; twice < 2; ++twice)
                for (const QString& sql :
                     engine.CreateIndexSql("Sample", "SampleKeys", {"ID", "Order"}))
                    QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
            QCOMPARE(Texts(query, engine.IndexNamesSql()), QStringList({"SampleKeys"}));

            QCOMPARE(Texts(query, "select " + engine.DateTextSql("'2026-12-07 13:45:00'")),
                     QStringList({"2026/12/07"}));
            for (const QString& sql : engine.RefuseInsertsSql("Sample", "new.ID = 5"))
                QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
            QVERIFY(query.exec("insert into Sample (ID) values (4)"));
            QVERIFY(!query.exec("insert into Sample (ID) values (5)"));
            QVERIFY(engine.WrittenOrderSql({"ID"}).isEmpty());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("memory");
    }

    void sqliteStatements()
    {
        const TSqliteEngine engine("/data/");
        QCOMPARE(engine.Place(), QString("/data/kanmuri.sqlite"));
        QCOMPARE(engine.QuoteName("Say \"hi\""), QString("\"Say \"\"hi\"\"\""));
        QCOMPARE(engine.BeginWriteSql(), QStringList({"BEGIN IMMEDIATE"}));
        QCOMPARE(engine.BusyTimeoutSql(2500), QString("PRAGMA busy_timeout=2500"));
        QCOMPARE(engine.IntegrityCheckSql(), QString("PRAGMA quick_check(1)"));
        QCOMPARE(engine.CopySql(), QString("VACUUM INTO :file"));
    }

    void serverStatements()
    {
        const TPostgresEngine engine(Server());
        QCOMPARE(engine.Driver(), QString("QPSQL"));
        QCOMPARE(engine.Place(), QString("db:5432/kanmuri"));
        // Unquoted names in the record classes' SQL are folded to lower case.
        QCOMPARE(engine.QuoteName("Species \"No\""), QString("\"species \"\"no\"\"\""));
        QCOMPARE(engine.CreateTableSql("Sample", kFields),
                 QStringList({"create table \"sample\" (\"id\" integer, \"name\" varchar collate "
                              "\"C\", \"ratio\" double precision, \"hiduke\" timestamp, \"used\" "
                              "smallint)",
                              "comment on column \"sample\".\"id\" is 'ID'",
                              "comment on column \"sample\".\"name\" is 'Name 30'",
                              "comment on column \"sample\".\"ratio\" is 'Ratio'",
                              "comment on column \"sample\".\"hiduke\" is 'HIDUKE'",
                              "comment on column \"sample\".\"used\" is 'Used'"}));
        QCOMPARE(engine.CreateTableSql("T", {{"O'Neil", TFieldType::Integer}}).last(),
                 QString("comment on column \"t\".\"o'neil\" is 'O''Neil'"));
        QCOMPARE(engine.CreateIndexSql("Sample", "SampleKeys", {"ID", "Name"}),
                 QStringList({"create index \"samplekeys\" on \"sample\" (\"id\", \"name\")",
                              "comment on index \"samplekeys\" is 'SampleKeys'"}));
        QVERIFY(engine.IndexExistsSql("SampleKeys").endsWith("indexname = 'samplekeys'"));
        QVERIFY(engine.TableExistsSql().contains("lower(:name)"));
        QCOMPARE(engine.DateTextSql("HIDUKE"), QString("to_char(HIDUKE, 'YYYY/MM/DD')"));
        QCOMPARE(engine.BeginWriteSql(),
                 QStringList({"begin", "select pg_advisory_xact_lock(4705982460518745905)"}));
        QCOMPARE(engine.BusyTimeoutSql(2500), QString("set lock_timeout = 2500"));
        QVERIFY(engine.IntegrityCheckSql().isEmpty());
        QVERIFY(engine.CopySql().isEmpty());
        QCOMPARE(engine.WrittenOrderSql({"id", "Name"}), QString(" order by ID, ctid"));
        QVERIFY(engine.WrittenOrderSql({"Name"}).isEmpty());
    }

    void failuresAreSorted_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("code");
        QTest::addColumn<TEngineFailure>("kind");
        QTest::newRow("busy") << false << "5" << TEngineFailure::Locked;
        QTest::newRow("busy snapshot") << false << "517" << TEngineFailure::Locked;
        QTest::newRow("locked") << false << "6" << TEngineFailure::Locked;
        QTest::newRow("corrupt") << false << "11" << TEngineFailure::Damaged;
        QTest::newRow("not a database") << false << "26" << TEngineFailure::Damaged;
        QTest::newRow("cannot open") << false << "14" << TEngineFailure::Unreadable;
        QTest::newRow("constraint") << false << "19" << TEngineFailure::Other;
        QTest::newRow("no code") << false << "" << TEngineFailure::Other;
        QTest::newRow("lock timeout") << true << "55P03" << TEngineFailure::Locked;
        QTest::newRow("deadlock") << true << "40P01" << TEngineFailure::Locked;
        QTest::newRow("serialization") << true << "40001" << TEngineFailure::Locked;
        QTest::newRow("too long") << true << "22001" << TEngineFailure::TooLong;
        QTest::newRow("connection failure") << true << "08006" << TEngineFailure::Lost;
        QTest::newRow("admin shutdown") << true << "57P01" << TEngineFailure::Lost;
        QTest::newRow("no code, no connection") << true << "" << TEngineFailure::Lost;
        QTest::newRow("unique") << true << "23505" << TEngineFailure::Other;
        // Server codes whose digits read as SQLite's busy and corrupt codes.
        QTest::newRow("no privilege") << true << "42501" << TEngineFailure::Other;
        QTest::newRow("trim error") << true << "22027" << TEngineFailure::Other;
    }

    void failuresAreSorted()
    {
        QFETCH(bool, server);
        QFETCH(QString, code);
        QFETCH(TEngineFailure, kind);
        const TSqliteEngine sqlite("/data/");
        const TPostgresEngine postgres(Server());
        const TEngine& engine = server ? static_cast<const TEngine&>(postgres) : sqlite;
        QCOMPARE(engine.Classify(ErrorWithCode(code), QSqlDatabase()), kind);
    }
};

KANMURI_TEST_MAIN(TestEngine)
#include "tst_TEngine.moc"
