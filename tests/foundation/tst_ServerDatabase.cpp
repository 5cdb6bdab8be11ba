// The alias naming a PostgreSQL server: what only a server has (its write
// lock held by another PC, a lost connection, an unreachable server, the
// copy of a data folder onto it, the environment dialog's server settings).
// Runs in the server lane only.
#include "foundation/EKanmuriError.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/TTransaction.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// Another PC's connection to the lane's database.
class TOtherPc
{
public:
    TOtherPc()
    {
        const TServerSettings server = TDatabase::AliasServer();
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "other-pc");
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        if (!db.open())
            qFatal("other PC: %s", qPrintable(db.lastError().text()));
    }
    ~TOtherPc()
    {
        QSqlDatabase::database("other-pc", false).close();
        QSqlDatabase::removeDatabase("other-pc");
    }
    bool Exec(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database("other-pc", false));
        return query.exec(sql);
    }
    // Ends the program's own connection, as a server restart does.
    void CutProgramsConnection()
    {
        int pid = 0;
        {
            TQuery query("select pg_backend_pid()");
            query.Exec();
            QVERIFY(query.Next());
            pid = query.Integer(0);
        }
        QVERIFY(Exec(QString("select pg_terminate_backend(%1, 10000)").arg(pid)));
    }
};

void SaveKosyu(const QString& name)
{
    TKosyu::EnsureTables();
    TKosyu kosyu;
    kosyu.Kosyumei = name;
    kosyu.Save();
}

// Every row of every table, sorted, as "table: a|b|c".
QStringList EveryRow(const QStringList& tables)
{
    QStringList rows;
    for (const QString& table : tables) {
        const int columns = TDatabase::TableColumns(table).size();
        TQuery query("select * from " + table);
        query.Exec();
        while (query.Next()) {
            QStringList cells;
            for (int i = 0; i < columns; ++i)
                cells << query.Value(i).toString();
            rows << table + ": " + cells.join(u'|');
        }
    }
    rows.sort();
    return rows;
}

// A data folder filled through the record classes (with a table the program
// never creates, holding what SQLite allows: empty numbers and dates).
QStringList FillFolder(const QString& folder)
{
    TDatabase::SetAliasFolder(kAlias, folder);
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    TKoji::EnsureTables();
    TKosyu::EnsureTables();
    THojituHead4 head;
    THojituLine4 line;
    for (int i = 0; i < 40; ++i) {
        TKoji project;
        project.Code = QString("K%1").arg(i % 4);
        project.Kojimei = QString("舗装工事 '%1'").arg(i % 4);
        project.Client->Hacchusyamei = QString("発注者%1").arg(i % 3);
        project.Contractor->Ukeoisyamei = QString("請負者%1").arg(i % 2);
        project.Contractor->JVFlag = i % 2 == 0;
        project.SiteAgent->Simei = QString("代理人%1").arg(i % 5);
        project.Save();
        head.Koji->Code = project.Code;
        head.Kosyu->Kosyumei = i % 2 ? "表層工" : "基層工";
        head.Gozai->DataName = "密粒度13";
        head.Save();
        line.SID = head.ID;
        line.Hiduke = EncodeDate(2026, 4, 1) + i;
        line.Sokuten = QString("No.%1").arg(i);
        for (int v = 0; v < THojituLine4::ValueCount; ++v)
            line.Values[v] = v * 0.1 + i / 3.0;
        line.Save();
    }
    TDatabase::CreateTable("CoreHead", {{"KojiCode", TFieldType::String, 8},
                                        {"MitudoPer", TFieldType::Float},
                                        {"Hiduke", TFieldType::DateTime},
                                        {"Used", TFieldType::Boolean}});
    TQuery("insert into CoreHead values ('K0', 96.5, '2026-04-02 00:00:00', 1)").Exec();
    TQuery("insert into CoreHead values ('K1', '', '', 0)").Exec();
    TQuery("insert into CoreHead (KojiCode) values (NULL)").Exec();
    const QStringList tables =
        TextsOf("select name from sqlite_master where type = 'table' order by name");
    return tables;
}

int RunProgram(const QStringList& arguments, QString& out, QString& err)
{
    QProcess program;
    program.start(KANMURI_PROGRAM, arguments);
    if (!program.waitForFinished(120000))
        return -1;
    out = QString::fromUtf8(program.readAllStandardOutput());
    err = QString::fromUtf8(program.readAllStandardError());
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

} // namespace

class TestServerDatabase : public QObject
{
    Q_OBJECT

    TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;
    TServerSettings server;

private slots:
    void initTestCase()
    {
        if (!TTestEnvironment::OnServer())
            QSKIP("needs the server lane");
    }
    void init()
    {
        TTestEnvironment::Current().Reset();
        server = TDatabase::AliasServer();
    }
    void cleanup() { TDatabase::SetBusyTimeout(10000); }

    void tablesAndOrderBehaveAsOnSQLite()
    {
        THacchusya::EnsureTables();
        for (const char* name : {"b", "B", "a", "Ａ", "あ", "表層工", "A"}) {
            THacchusya client;
            client.Hacchusyamei = name;
            client.Save();
        }
        QVERIFY(TDatabase::TableExists("hacchusya") && TDatabase::TableExists("HACCHUSYA"));
        QStringList list;
        THacchusya::FillList(list);
        // Byte order, as SQLite sorts, whatever the server's locale.
        QCOMPARE(list, QStringList({"A", "B", "a", "b", "あ", "表層工", "Ａ"}));

        // A text longer than its declared size is kept whole, as on SQLite,
        // and the size is still known.
        TDatabase::CreateTable("Sample",
                               {{"ID", TFieldType::Integer}, {"Name", TFieldType::String, 5}});
        TQuery("insert into Sample (ID, Name) values (1, :Name)")
            .BindText(":Name", "六文字の名前")
            .Exec();
        QCOMPARE(TableRows("Sample"), QStringList({"1|六文字の名前"}));
        QCOMPARE(ColumnsWithTypes("SAMPLE"), QStringList({"ID INTEGER", "Name VARCHAR(5)"}));
    }

    void anotherPcsLockMakesASaveWaitThenFailCleanly()
    {
        SaveKosyu("表層工");
        TDatabase::SetBusyTimeout(300);
        {
            TOtherPc other;
            // The lock every save on the server takes first.
            QVERIFY(other.Exec("begin"));
            QVERIFY(other.Exec("select pg_advisory_xact_lock(4705982460518745905)"));
            try {
                SaveKosyu("基層工");
                QFAIL("the save went through another PC's lock");
            } catch (const EDatabaseError& e) {
                QVERIFY2(e.text().contains(server.Name()), qPrintable(e.text()));
                QVERIFY(e.text().contains("保存されていません"));
            }
            // Readers do not wait for it.
            QCOMPARE(TableRows("Kosyu4"), QStringList{"表層工|1"});
            QVERIFY(other.Exec("commit"));
        }
        SaveKosyu("基層工");
        QCOMPARE(TableRows("Kosyu4").size(), 2);
    }

    void aLostConnectionIsNamedAndTheNextActionReconnects()
    {
        SaveKosyu("表層工");
        TOtherPc other;
        other.CutProgramsConnection();
        try {
            SaveKosyu("基層工");
            QFAIL("a save on a lost connection succeeded");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.text().contains(server.Name()), qPrintable(e.text()));
            QVERIFY(e.text().contains("接続が切れました"));
        }
        SaveKosyu("基層工");
        QCOMPARE(TableRows("Kosyu4"), QStringList({"表層工|1", "基層工|2"}));
    }

    void aConnectionLostPartWayWritesNothing()
    {
        TKosyu::EnsureTables();
        TOtherPc other;
        {
            TTransaction transaction;
            TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('A', 1)").Exec();
            other.CutProgramsConnection();
            QVERIFY_THROWS_EXCEPTION(
                EDatabaseError, TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('B', 2)").Exec());
            // A statement after it must not land on a new connection alone.
            QVERIFY_THROWS_EXCEPTION(
                EDatabaseError, TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('C', 3)").Exec());
        }
        QCOMPARE(TableRows("Kosyu4"), QStringList());
    }

    // The commit was sent and no answer came: the server may have saved it.
    void aConnectionLostAtTheCommitSaysThatTheSaveIsUncertain()
    {
        TKosyu::EnsureTables();
        TOtherPc other;
        try {
            TTransaction transaction;
            TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('A', 1)").Exec();
            other.CutProgramsConnection();
            transaction.Commit();
            QFAIL("a commit on a lost connection succeeded");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.text().contains(server.Name()), qPrintable(e.text()));
            QVERIFY2(e.text().contains("分かりません") && !e.text().contains("保存されていません"),
                     qPrintable(e.text()));
        }
        // The next action connects again.
        SaveKosyu("B");
        QCOMPARE(TableRows("Kosyu4"), QStringList{"B|1"});
    }

    void anUnreachableServerIsNamedWithTheReason()
    {
        QCOMPARE(TDatabase::TestServer(server), QString());

        TServerSettings down = server;
        down.port = 1; // nothing listens there
        QVERIFY2(TDatabase::TestServer(down).contains("サーバーが動いていない"),
                 qPrintable(TDatabase::TestServer(down)));
        TServerSettings missing = server;
        missing.database = "no_such_database";
        QVERIFY(TDatabase::TestServer(missing).contains("no_such_database"));

        TDatabase::SetAliasServer(kAlias, down);
        QVERIFY(!TDatabase::IsAvailable());
        try {
            TQuery("select 1");
            QFAIL("an unreachable server opened");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.text().contains(down.Name()));
            QVERIFY(e.text().contains("接続できません"));
        }
        TDatabase::SetAliasServer(kAlias, server);
        SaveKosyu("表層工");
    }

    void aDatabaseOfANewerLayoutIsRefused()
    {
        SaveKosyu("表層工");
        TQuery("update KanmuriLayout set version = :v")
            .Bind(":v", TDatabase::LayoutVersion + 1)
            .Exec();
        TDatabase::Close();
        try {
            TDatabase::Connection();
            QFAIL("a newer layout was accepted");
        } catch (const EDatabaseError& e) {
            QVERIFY(e.text().contains("新しいバージョン"));
            QVERIFY(e.text().contains(server.Name()));
        }
    }

    void switchingBetweenFolderAndServerKeepsBoth()
    {
        SaveKosyu("サーバー");
        const QString folder = TTestEnvironment::Current().NewFolder();
        TDatabase::SetAliasFolder(kAlias, folder);
        QVERIFY(!TDatabase::IsServer());
        QVERIFY(!TDatabase::TableExists("Kosyu4"));
        SaveKosyu("フォルダ");
        // The server settings are kept for switching back.
        QCOMPARE(TDatabase::AliasServer().Name(), server.Name());
        TDatabase::SetAliasServer(kAlias, server);
        QCOMPARE(TableRows("Kosyu4"), QStringList{"サーバー|1"});
        QCOMPARE(QDir::cleanPath(TDatabase::AliasFolder(kAlias)), QDir::cleanPath(folder));
    }

    void copyDataCopiesEveryRowAndRefusesAFilledServer()
    {
        const QString folder = TTestEnvironment::Current().NewFolder();
        const QStringList tables = FillFolder(folder);
        QVERIFY(tables.contains("CoreHead") && tables.contains("HojituLine4"));
        const QStringList before = EveryRow(tables);
        QVERIFY(before.size() > 60);

        // A program that already started on the server left empty tables.
        TDatabase::SetAliasServer(kAlias, server);
        TKosyu::EnsureTables();
        TDatabase::Close();
        const QList<TCopiedTable> copied = TDatabase::CopyFolderToServer(folder, server);
        QCOMPARE(copied.size(), tables.size());
        qint64 total = 0;
        for (const TCopiedTable& table : copied)
            total += table.rows;
        QCOMPARE(total, qint64(before.size()));
        QCOMPARE(EveryRow(tables), before);
        QCOMPARE(TableColumns("CoreHead"),
                 QStringList({"KojiCode", "MitudoPer", "Hiduke", "Used"}));

        // Again: the server holds rows now, nothing is copied.
        TQuery("delete from Kosyu4").Exec();
        try {
            TDatabase::CopyFolderToServer(folder, server);
            QFAIL("a server with rows was copied into");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.text().contains("すでにデータがあります"), qPrintable(e.text()));
            QVERIFY(e.text().contains("hojituline4"));
        }
        QCOMPARE(TableRows("Kosyu4"), QStringList());
        QCOMPARE(EveryRow(QStringList(tables).filter(QRegularExpression("^(?!Kosyu4)"))),
                 QStringList(before).filter(QRegularExpression("^(?!Kosyu4)")));
    }

    void copyDataCommandReportsRowsAndRefusesAFilledServer()
    {
        const QString folder = TTestEnvironment::Current().NewFolder();
        TDatabase::SetAliasFolder(kAlias, folder);
        SaveKosyu("表層工");
        SaveKosyu("基層工");
        // The alias names the server, its folder is kept: the default source.
        TDatabase::SetAliasServer(kAlias, server);
        TDatabase::Close();
        QString out, err;
        QCOMPARE(RunProgram({"copy-data", "--to-server"}, out, err), 0);
        QVERIFY2(err.endsWith("コピー中 2 / 2 行\n"), qPrintable(err));
        QVERIFY2(out.contains(server.Name()) && out.contains("Kosyu4"), qPrintable(out));
        QVERIFY(out.contains("2 行"));
        QCOMPARE(TableRows("Kosyu4"), QStringList({"表層工|1", "基層工|2"}));
        TDatabase::Close();

        QCOMPARE(RunProgram({"copy-data", "--to-server", "--from", folder}, out, err), 1);
        QVERIFY2(err.contains("すでにデータがあります"), qPrintable(err));
        QCOMPARE(RunProgram({"copy-data", "--to-server", "--port", "x"}, out, err), 2);
        QCOMPARE(RunProgram({"copy-data"}, out, err), 2);
        QCOMPARE(TableRows("Kosyu4").size(), 2);
    }

    void dialogChoosesTheServerTestsAndCopies()
    {
        const QString folder = TTestEnvironment::Current().NewFolder();
        TDatabase::SetAliasFolder(kAlias, folder);
        SaveKosyu("表層工");
        TfrmSetDataPath form;
        QVERIFY(ActivateWindow(&form));
        auto* radioServer = ControlOf<QRadioButton>(&form, "RadioServer");
        QVERIFY(ControlOf<QRadioButton>(&form, "RadioFolder")->isChecked());
        QCOMPARE(ControlOf<QLineEdit>(&form, "EditHost")->text(), server.host);
        QVERIFY(!ControlOf<QLineEdit>(&form, "EditHost")->isEnabled());
        QVERIFY(!ControlOf<QPushButton>(&form, "ButtonCopy")->isEnabled());
        radioServer->click();
        QVERIFY(ControlOf<QLineEdit>(&form, "EditHost")->isEnabled());
        QVERIFY(!ControlOf<QLineEdit>(&form, "Edit1")->isEnabled());

        // Nothing is stored for a server that could never be reached.
        auto* user = ControlOf<QLineEdit>(&form, "EditUser");
        user->clear();
        QTest::mouseClick(ControlOf<QPushButton>(&form, "BitBtn1"), Qt::LeftButton);
        QVERIFY(prompt.LastText("message").contains("ユーザー名を入力してください"));
        QVERIFY(!TDatabase::IsServer());
        user->setText(server.user);

        auto* port = ControlOf<QLineEdit>(&form, "EditPort");
        port->setText("1");
        QTest::mouseClick(ControlOf<QPushButton>(&form, "ButtonTest"), Qt::LeftButton);
        QVERIFY(prompt.LastText("message").contains("接続できません"));
        QVERIFY(prompt.LastText("message").contains("サーバーが動いていない"));
        port->setText("http");
        QTest::mouseClick(ControlOf<QPushButton>(&form, "ButtonTest"), Qt::LeftButton);
        QVERIFY(prompt.LastText("message").contains("ポート番号"));
        port->setText(QString::number(server.port));
        QTest::mouseClick(ControlOf<QPushButton>(&form, "ButtonTest"), Qt::LeftButton);
        QCOMPARE(prompt.LastText("message"),
                 QString("データベースサーバー \"%1\" に接続できました。").arg(server.Name()));

        prompt.AnswerNext(true);
        QTest::mouseClick(ControlOf<QPushButton>(&form, "ButtonCopy"), Qt::LeftButton);
        QVERIFY2(prompt.LastText("message").contains("Kosyu4"),
                 qPrintable(prompt.LastText("message")));
        QVERIFY(!TDatabase::IsServer());

        QTest::mouseClick(ControlOf<QPushButton>(&form, "BitBtn1"), Qt::LeftButton);
        QVERIFY(TDatabase::IsServer());
        QCOMPARE(TDatabase::AliasServer().Name(), server.Name());
        QCOMPARE(TableRows("Kosyu4"), QStringList{"表層工|1"});
        QCOMPARE(prompt.Texts("error"), QStringList());
    }
};

KANMURI_TEST_MAIN(TestServerDatabase)
#include "tst_ServerDatabase.moc"
