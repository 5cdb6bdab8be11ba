// Several programs on one data folder. For 2, 4 and 8 programs, each saves
// 1,000 days (project with new names, header, line) as fast as it can while
// one more runs the totals and the data-open list in a loop; prints the saves
// per second and what the data folder holds afterwards. Then a program saving
// in a loop is killed 20 times at random moments; every save that had
// returned must be there and the database must pass its integrity check.
//
// Uses save_worker from the same folder. Inside scripts/with-postgres.sh
// (KANMURI_TEST_POSTGRES=host:port:user) every run saves into a new database
// on that server instead of a data folder.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString worker;
int databases = 0;

// Points the configuration folder at a new server database when a server is
// given; otherwise the programs use the data folder of `config`.
void UseServerIfGiven(const QString& config)
{
    const QStringList server = QString::fromLocal8Bit(qgetenv("KANMURI_TEST_POSTGRES")).split(u':');
    if (server.size() < 3)
        return;
    const QString name =
        QStringLiteral("bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(++databases);
    QProcess::execute(QStringLiteral("createdb"),
                      {QStringLiteral("-h"), server[0], QStringLiteral("-p"), server[1],
                       QStringLiteral("-U"), server[2], name});
    QFile ini(QDir(config).filePath(QStringLiteral("engine.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[KANMURI]\nTYPE=POSTGRES\nHOST=%1\nPORT=%2\nDATABASE=%3\n"
                             "USER=%4\nPATH=%5/data/\n")
                  .arg(server[0], server[1], name, server[2], config)
                  .toUtf8());
}

QString Check(const QString& config, int last = -1)
{
    QProcess check;
    QStringList arguments{QStringLiteral("check"), config};
    if (last >= 0)
        arguments << QString::number(last);
    check.start(worker, arguments);
    check.waitForFinished(-1);
    return QString::fromUtf8(check.readAllStandardOutput()).trimmed();
}

int Errors(const QString& output, const QString& stderrText)
{
    int errors = int(stderrText.count(u'\n'));
    for (const QString& line : output.split(u'\n')) {
        const QStringList words = line.split(u' ');
        if ((words.value(0) == QStringLiteral("done") ||
             words.value(0) == QStringLiteral("read")) &&
            words.size() >= 3)
            errors = std::max(
                errors, words.value(words.value(0) == QStringLiteral("done") ? 1 : 2).toInt());
    }
    return errors;
}

void Concurrent(int programs, int days)
{
    QTemporaryDir config;
    UseServerIfGiven(config.path());
    const QString stop = QDir(config.path()).filePath(QStringLiteral("stop"));
    QProcess reader;
    std::vector<std::unique_ptr<QProcess>> savers;
    QElapsedTimer timer;
    timer.start();
    reader.start(worker, {QStringLiteral("read"), config.path(), stop});
    for (int i = 0; i < programs; ++i) {
        savers.push_back(std::make_unique<QProcess>());
        savers.back()->start(worker,
                             {QStringLiteral("save"), config.path(), QString::number(days)});
    }
    int errors = 0;
    for (auto& saver : savers) {
        saver->waitForFinished(-1);
        errors += Errors(QString::fromUtf8(saver->readAllStandardOutput()),
                         QString::fromUtf8(saver->readAllStandardError()));
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    QFile(stop).open(QIODevice::WriteOnly);
    reader.waitForFinished(-1);
    const QString readOutput = QString::fromUtf8(reader.readAllStandardOutput()).trimmed();
    errors += Errors(readOutput, QString::fromUtf8(reader.readAllStandardError()));
    std::printf("%d programs x %d days: %6.1f s, %7.1f saves/s in all, %d errors; reader: %s\n"
                "    %s\n",
                programs, days, seconds, programs * days / seconds, errors,
                qUtf8Printable(readOutput), qUtf8Printable(Check(config.path())));
    std::fflush(stdout);
}

void Crashes(int kills)
{
    QTemporaryDir config;
    UseServerIfGiven(config.path());
    QSet<int> returned;
    for (int run = 0; run < kills; ++run) {
        QProcess saver;
        saver.start(worker, {QStringLiteral("save"), config.path(), QStringLiteral("1000000")});
        saver.waitForStarted();
        QThread::msleep(100 + QRandomGenerator::global()->bounded(900));
        saver.kill();
        saver.waitForFinished(-1);
        for (const QString& line : QString::fromUtf8(saver.readAllStandardOutput()).split(u'\n'))
            if (line.startsWith(QStringLiteral("saved ")))
                returned.insert(line.mid(6).toInt());
    }
    // Each run saves days 0, 1, 2, ... again, so the days that returned are
    // 0 to the highest; "missing" must be 0.
    int highest = -1;
    for (int i : returned)
        highest = std::max(highest, i);
    std::printf("%d kills: saves of days 0 to %d had returned\n    %s\n", kills, highest,
                qUtf8Printable(Check(config.path(), highest).replace(u'\n', u' ')));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    worker = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("save_worker"));
    const int days = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    for (int programs : {2, 4, 8})
        Concurrent(programs, days);
    Crashes(20);
    return 0;
}
