// The data folder in real use: several programs saving at once, programs
// killed while saving, damaged or foreign database files, daily backups.
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "foundation/EKanmuriError.h"
#include "foundation/NetworkFolder.h"
#include "foundation/TBackup.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "masters/TKosyu.h"
#include "support/TTestEnvironment.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

const QString kWorker = QStringLiteral(KANMURI_SAVE_WORKER);

QString DatabasePath()
{
    return QDir(TTestEnvironment::Current().DataDir()).filePath("kanmuri.sqlite");
}

QByteArray Hash(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The worker's verdict on the data folder: "headers H days D ..." as a map.
QMap<QString, QString> Check()
{
    QProcess worker;
    worker.start(kWorker, {"check", TTestEnvironment::Current().ConfigDir()});
    worker.waitForFinished(60000);
    const QStringList words = QString::fromUtf8(worker.readAllStandardOutput()).split(' ');
    QMap<QString, QString> result;
    for (int i = 0; i + 1 < words.size(); i += 2)
        result[words[i]] = words[i + 1].trimmed();
    return result;
}

void VerifyClean(const QMap<QString, QString>& check)
{
    QCOMPARE(check.value("integrity"), QString("ok"));
    for (const char* count : {"duplicate-headers", "duplicate-header-ids", "duplicate-days",
                              "lines-without-header", "duplicate-projects", "duplicate-names"})
        QVERIFY2(check.value(count) == "0", count);
}

// The rows of `table` in the database file `file`, read by a connection of
// its own.
int RowsIn(const QString& file, const QString& table)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "copy");
        db.setDatabaseName(file);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("select count(*) from " + table) && query.next())
                rows = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("copy");
    return rows;
}

void SaveKosyu(const QString& name)
{
    TKosyu::EnsureTables();
    TKosyu kosyu;
    kosyu.Kosyumei = name;
    kosyu.Save();
}

// Gives `file` the time it was written at.
void Written(const QString& file, const QDateTime& time)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class TestDataSafety : public QObject
{
    Q_OBJECT

    TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;

    // Starts the program as main() does and returns the errors it showed.
    QStringList Start()
    {
        TForms::Instance().Start();
        if (!QTest::qWaitFor([] { return TForms::Instance().Started(); }, 10000))
            qWarning("the windows were not all made");
        const QStringList errors = prompt.Texts("error");
        TForms::Instance().DestroyAll();
        return errors;
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }
    void cleanup() { TDatabase::SetBusyTimeout(10000); }

    void programsSavingSideBySideNeverFail()
    {
        TDatabase::Connection(); // the alias and the data folder
        TDatabase::Close();
        const QString config = TTestEnvironment::Current().ConfigDir();
        const QString stop = QDir(config).filePath("stop");
        QProcess first, second, reader;
        reader.start(kWorker, {"read", config, stop});
        first.start(kWorker, {"save", config, "150"});
        second.start(kWorker, {"save", config, "150"});
        QVERIFY(first.waitForFinished(120000));
        QVERIFY(second.waitForFinished(120000));
        QFile(stop).open(QIODevice::WriteOnly);
        QVERIFY(reader.waitForFinished(60000));
        for (QProcess* worker : {&first, &second, &reader}) {
            QCOMPARE(QString::fromUtf8(worker->readAllStandardError()), QString());
            QCOMPARE(worker->exitCode(), 0);
        }
        const auto check = Check();
        VerifyClean(check);
        QCOMPARE(check.value("headers"), QString("30"));
        QCOMPARE(check.value("days"), QString("150"));
    }

    void programsSavingStandardsAtOnceGiveEachItsOwnId()
    {
        TDatabase::Connection();
        TDatabase::Close();
        QList<QProcess*> workers;
        for (int i = 0; i < 3; ++i) {
            workers << new QProcess(this);
            workers.last()->start(kWorker,
                                  {"standards", TTestEnvironment::Current().ConfigDir(), "150"});
        }
        for (QProcess* worker : workers) {
            QVERIFY(worker->waitForFinished(120000));
            QCOMPARE(QString::fromUtf8(worker->readAllStandardError()), QString());
            QCOMPARE(worker->exitCode(), 0);
        }
        qDeleteAll(workers);
        TQuery shared("select count(*) from (select id from Ryudokikaku group by id "
                      "having count(*) > 1) shared");
        shared.Exec();
        QVERIFY(shared.Next());
        QCOMPARE(shared.Integer(0), 0);
        QCOMPARE(TableRows("Ryudokikaku").size(), 16 + 3 * 150);
    }

    void savesThatReturnedSurviveAKill()
    {
        TDatabase::Connection();
        TDatabase::Close();
        QSet<int> returned;
        for (int run = 0; run < 5; ++run) {
            QProcess worker;
            worker.start(kWorker, {"save", TTestEnvironment::Current().ConfigDir(), "100000"});
            QVERIFY(worker.waitForStarted());
            QTest::qWait(150 + QRandomGenerator::global()->bounded(400));
            worker.kill(); // SIGKILL
            worker.waitForFinished();
            for (const QString& line :
                 QString::fromUtf8(worker.readAllStandardOutput()).split('\n'))
                if (line.startsWith("saved "))
                    returned.insert(line.mid(6).toInt());
        }
        QVERIFY(!returned.isEmpty());
        VerifyClean(Check());
        QStringList missing;
        for (int i : returned) {
            TQuery day("select count(*) from HojituLine4 where SOKUTEN = :Sokuten");
            day.BindText(":Sokuten", QString("No.%1").arg(i)).Exec();
            if (!day.Next() || day.Integer(0) != 1)
                missing << QString::number(i);
        }
        QCOMPARE(missing, QStringList());
    }

    void aLockHeldTooLongIsReportedAndNothingIsWritten()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("another SQLite connection's lock; tst_ServerDatabase holds the server's");
        SaveKosyu("表層工");
        TDatabase::SetBusyTimeout(300);
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(DatabasePath());
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec("BEGIN IMMEDIATE"));
            try {
                SaveKosyu("基層工");
                QFAIL("the save went through another program's lock");
            } catch (const EDatabaseError& e) {
                QVERIFY(e.text().contains(QDir::toNativeSeparators(
                    QDir(TTestEnvironment::Current().DataDir()).absolutePath())));
                QVERIFY(e.text().contains("保存されていません"));
            }
            QVERIFY(hold.exec("COMMIT"));
        }
        QSqlDatabase::removeDatabase("other");
        QCOMPARE(TableRows("Kosyu4"), QStringList{"表層工|1"});
        SaveKosyu("基層工");
        QCOMPARE(TableRows("Kosyu4").size(), 2);
    }

    void damagedDatabaseGivesOneMessageNamingTheFileAndTheBackup_data()
    {
        QTest::addColumn<bool>("truncated");
        QTest::newRow("random bytes") << false;
        QTest::newRow("truncated") << true;
    }

    void damagedDatabaseGivesOneMessageNamingTheFileAndTheBackup()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server keeps its own files");
        QFETCH(bool, truncated);
        for (int i = 0; i < 400; ++i)
            SaveKosyu(QString("工種%1 ").arg(i) + QString(60, u'x'));
        TBackup::Daily(QDate(2026, 12, 1));
        const QString backup = TBackup::Newest(TTestEnvironment::Current().DataDir());
        TDatabase::Close();
        QFile file(DatabasePath());
        if (truncated) {
            QVERIFY(file.resize(file.size() / 2));
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QByteArray bytes(64 * 1024, Qt::Uninitialized);
            for (char& b : bytes)
                b = char(QRandomGenerator::global()->bounded(256));
            file.write(bytes);
            file.close();
        }
        QFile::remove(DatabasePath() + "-wal");
        QFile::remove(DatabasePath() + "-shm");

        const QStringList errors = Start();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QDir::toNativeSeparators(DatabasePath())));
        QVERIFY(errors.first().contains("読み込めません"));
        QVERIFY(errors.first().contains(QDir::toNativeSeparators(backup)));
        // The damaged file is not replaced, nor backed up as if it were good.
        QCOMPARE(TBackup::List(TTestEnvironment::Current().DataDir()), QStringList{backup});
        QCOMPARE(RowsIn(backup, "Kosyu4"), 400);
    }

    void databaseOfANewerVersionIsReportedAndLeftAlone()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("SQLite's user_version; tst_ServerDatabase checks the server's layout table");
        SaveKosyu("表層工");
        TQuery(QString("PRAGMA user_version=%1").arg(TDatabase::LayoutVersion + 1)).Exec();
        TDatabase::Close();
        const QByteArray before = Hash(DatabasePath());
        const QStringList errors = Start();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains("新しいバージョン"));
        QVERIFY(errors.first().contains(QDir::toNativeSeparators(DatabasePath())));
        QCOMPARE(Hash(DatabasePath()), before);
    }

    void aBackupIsMadeAtTheFirstStartOfADayAndFourteenAreKept()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server's data is backed up on the server");
        SaveKosyu("表層工");
        SaveKosyu("基層工");
        const QString data = TTestEnvironment::Current().DataDir();
        QCOMPARE(Start(), QStringList());
        const QString today =
            QDir(TBackup::Folder(data))
                .filePath("kanmuri-" + QDate::currentDate().toString("yyyy-MM-dd") + ".sqlite");
        QCOMPARE(TBackup::List(data), QStringList{today});
        QCOMPARE(RowsIn(today, "Kosyu4"), 2);

        SaveKosyu("上層路盤工");
        QCOMPARE(Start(), QStringList());
        QCOMPARE(TBackup::List(data), QStringList{today});
        QCOMPARE(RowsIn(today, "Kosyu4"), 2); // not made again the same day

        // Copies made on earlier days, as if the program had run then.
        for (int day = 1; day <= 14; ++day) {
            const QString copy = TBackup::Daily(QDate(2020, 1, day));
            QVERIFY(copy.endsWith(QString("2020-01-%1.sqlite").arg(day, 2, 10, QChar('0'))));
            Written(copy, QDateTime(QDate(2020, 1, day), QTime(8, 0)));
        }
        // Fifteen now: the oldest goes.
        const QStringList kept = TBackup::List(data);
        QCOMPARE(kept.size(), TBackup::Kept);
        QVERIFY(kept.contains(today));
        QVERIFY(kept.first().endsWith("2020-01-02.sqlite"));
        const QString fifteenth = TBackup::Daily(QDate(2020, 1, 15));
        Written(fifteenth, QDateTime(QDate(2020, 1, 15), QTime(8, 0)));
        QCOMPARE(TBackup::List(data).size(), TBackup::Kept);
        QVERIFY(TBackup::List(data).first().endsWith("2020-01-03.sqlite"));
        QCOMPARE(RowsIn(fifteenth, "Kosyu4"), 3);
    }

    // The clock ran two weeks ahead for a while, then was put right: the
    // copies named after days to come are neither the newest nor kept before
    // the copy made today.
    void backupsAreAgedByWhenTheyWereWrittenNotByTheirNames()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server's data is backed up on the server");
        SaveKosyu("表層工");
        const QString data = TTestEnvironment::Current().DataDir();
        const QDate today = QDate::currentDate();
        QStringList ahead;
        for (int day = 1; day <= TBackup::Kept; ++day) {
            ahead << TBackup::Daily(today.addDays(day));
            Written(ahead.last(), QDateTime::currentDateTime().addDays(day));
        }
        const QString made = TBackup::Daily(today);
        QVERIFY(QFileInfo::exists(made));
        QCOMPARE(TBackup::Newest(data), made);
        QCOMPARE(TBackup::List(data).size(), TBackup::Kept);
        QCOMPARE(TBackup::List(data).last(), made);
        QVERIFY(!QFileInfo::exists(ahead.first()));
    }

    void partialCopiesLeftByAProgramThatEndedPartWayAreRemoved()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server's data is backed up on the server");
        SaveKosyu("表層工");
        const QDir folder(TBackup::Folder(TTestEnvironment::Current().DataDir()));
        QVERIFY(folder.mkpath("."));
        // One left by a power cut this morning, one another program is writing now.
        const QString left = folder.filePath("kanmuri-2026-03-01.sqlite.4242.partial");
        const QString writing = folder.filePath("kanmuri-2026-03-01.sqlite.4343.partial");
        for (const QString& file : {left, writing}) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(256 * 1024, 'x'));
        }
        Written(left, QDateTime::currentDateTime().addSecs(-3 * 3600));
        QVERIFY(!TBackup::Daily(QDate(2026, 3, 2)).isEmpty());
        QVERIFY(!QFileInfo::exists(left));
        QVERIFY(QFileInfo::exists(writing));
    }

    // A copy that cannot be written says so and that the database is sound;
    // the damaged-database text (restore a backup) would cost the user every
    // day since that backup.
    void aBackupThatCannotBeWrittenIsNotCalledADamagedDatabase()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server's data is backed up on the server");
        SaveKosyu("表層工");
        const QString folder = TBackup::Folder(TTestEnvironment::Current().DataDir());
        // Where the copy is written stands a folder: no file can be made
        // there, whoever runs the program.
        QVERIFY(QDir().mkpath(QDir(folder).filePath(QString("kanmuri-2026-03-01.sqlite.%1.partial")
                                                        .arg(QCoreApplication::applicationPid()))));
        try {
            TBackup::Daily(QDate(2026, 3, 1));
            QFAIL("a backup that could not be written was reported made");
        } catch (const EKanmuriError& e) {
            QVERIFY2(e.text().contains(QDir::toNativeSeparators(folder)), qPrintable(e.text()));
            QVERIFY2(e.text().contains("問題はありません"), qPrintable(e.text()));
            QVERIFY2(!e.text().contains("壊れている") && !e.text().contains("別の名前に変えて"),
                     qPrintable(e.text()));
        }
        SaveKosyu("基層工");
        QCOMPARE(TableRows("Kosyu4").size(), 2);
    }

    void aFailingBackupIsReportedOnceAndWorkGoesOn()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("the server's data is backed up on the server");
        SaveKosyu("表層工");
        QFile blocker(QDir(TTestEnvironment::Current().DataDir()).filePath("backup"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TForms::Instance().Start();
        QVERIFY(QTest::qWaitFor([] { return TForms::Instance().Started(); }, 10000));
        const QStringList errors = prompt.Texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains("バックアップ"));
        QVERIFY(TForms::Instance().frmEditHojitsu4->isVisible());
        SaveKosyu("基層工");
        QCOMPARE(TableRows("Kosyu4").size(), 2);
        TForms::Instance().DestroyAll();
    }

    void networkFileSystemsAreRecognised()
    {
        for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"})
            QVERIFY2(IsNetworkFileSystemType(type), type);
        for (const char* type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", "fuse.gvfsd-fuse"})
            QVERIFY2(!IsNetworkFileSystemType(type), type);
        QVERIFY(!IsNetworkFolder(TTestEnvironment::Current().DataDir()));
        WarnIfNetworkDataFolder();
        QCOMPARE(prompt.shown.size(), 0);
    }
};

KANMURI_TEST_MAIN(TestDataSafety)
#include "tst_DataSafety.moc"
