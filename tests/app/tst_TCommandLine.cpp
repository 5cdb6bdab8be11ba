// "pTarmak sheet": the sheet the preview shows, written to PDF without a
// window; what was not found is named on standard error, with exit status 1
// and no file.
#include "HojitsuSheetTesting.h"
#include "app/TCommandLine.h"
#include "foundation/FileVersion.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace SheetTesting;

namespace {

struct TResult
{
    int status;
    QString out;
    QString err;
};

TResult Run(const QStringList& arguments)
{
    TResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = TCommandLine::Run(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

QString NewFile()
{
    return TTestEnvironment::Current().NewFolder() + QStringLiteral("/実績表.pdf");
}

QStringList SheetArguments(const QString& code, const QString& kosyu, const QString& mixture,
                           const QString& file)
{
    return {"sheet", "--project", code, "--work-type", kosyu, "--mixture", mixture, "--pdf", file};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        UseCapturePrinter();
    }

    void helpListsTheCommands()
    {
        for (const QStringList& arguments :
             {QStringList{"--help"}, QStringList{}, QStringList{"sheet", "--help"}}) {
            const TResult r = Run(arguments);
            QCOMPARE(r.status, 0);
            for (const char* part : {"pTarmak sheet", "--project", "--work-type", "--mixture",
                                     "--per-mixture", "--one-line", "--pdf"})
                QVERIFY2(r.out.contains(part), part);
            QVERIFY(r.err.isEmpty());
        }
        const TResult unknown = Run({"print"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.err.contains("\"print\""));
        QVERIFY(unknown.err.contains("pTarmak sheet"));
        QVERIFY(unknown.out.isEmpty());

        char program[] = "pTarmak";
        char help[] = "--help";
        char sheet[] = "sheet";
        char platform[] = "-platform";
        char* none[] = {program};
        char* withHelp[] = {program, help};
        char* withSheet[] = {program, sheet};
        char* qtOption[] = {program, platform};
        QVERIFY(!TCommandLine::IsCommand(1, none));
        QVERIFY(TCommandLine::IsCommand(2, withHelp));
        QVERIFY(TCommandLine::IsCommand(2, withSheet));
        QVERIFY(!TCommandLine::IsCommand(2, qtOption));
    }

    // The package's version check compares this with the package's version.
    void versionIsTheOneTheStatusBarShows()
    {
        const TResult r = Run({"--version"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, "pTarmak " + ProgramVersion() + "\n");
        QVERIFY(Run({"--help"}).out.contains("pTarmak --version"));
        char program[] = "pTarmak";
        char version[] = "--version";
        char* withVersion[] = {program, version};
        QVERIFY(TCommandLine::IsCommand(2, withVersion));
    }

    void theFileHoldsWhatThePreviewPrints_data()
    {
        QTest::addColumn<bool>("perMixture");
        QTest::addColumn<bool>("oneLine");
        QTest::newRow("per header") << false << false;
        QTest::newRow("per mixture, one line") << true << true;
    }
    void theFileHoldsWhatThePreviewPrints()
    {
        QFETCH(bool, perMixture);
        QFETCH(bool, oneLine);
        WriteSetting("HojitsuSa", "1");
        WriteSetting("DefaultFontName", "ＭＳ ゴシック");
        THojituHead4 base, surface;
        Days(Header(base, "K001", "基層工"), 4, 20);
        Days(Header(surface), 12);
        const QString file = NewFile();
        QStringList arguments = SheetArguments("K001", kWorkType, kMixture, file);
        if (perMixture)
            arguments << "--per-mixture";
        if (oneLine)
            arguments << "--one-line";
        const TResult r = Run(arguments);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.isEmpty());

        const QList<TPdfPage> exported = ReadPdf(file);
        const QList<TPdfPage> printed = PrintedFromPreview(surface, {perMixture, oneLine});
        QCOMPARE(exported.size(), 2);
        QCOMPARE(printed.size(), exported.size());
        for (int p = 0; p < exported.size(); ++p) {
            const QList<TPdfWord>& a = exported[p].words;
            const QList<TPdfWord>& b = printed[p].words;
            QCOMPARE(a.size(), b.size());
            for (int i = 0; i < a.size(); ++i) {
                QCOMPARE(a[i].text, b[i].text);
                QVERIFY(std::abs(a[i].left - b[i].left) < 0.05);
                QVERIFY(std::abs(a[i].top - b[i].top) < 0.05);
            }
        }
        const TPdfPage& first = exported.first();
        QCOMPARE(first.Find("E-C").size(), 1);
        QCOMPARE(first.Find(perMixture ? "合材名" : "工種").size(), 1);
    }

    void whatIsNotFoundIsNamedAndNoFileIsWritten_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("project") << QStringList{"K999", kWorkType, kMixture}
                                 << QStringList{"工事コード \"K999\" の工事が見つかりません。"};
        QTest::newRow("work type") << QStringList{"K001", "路盤工", kMixture}
                                   << QStringList{"工種 \"路盤工\" が見つかりません。"};
        QTest::newRow("mixture") << QStringList{"K001", kWorkType, "粗粒20"}
                                 << QStringList{"合材 \"粗粒20\" が見つかりません。"};
        QTest::newRow("all three") << QStringList{"K999", "路盤工", "粗粒20"}
                                   << QStringList{"\"K999\"", "\"路盤工\"", "\"粗粒20\""};
        // Registered names that no record combines.
        QTest::newRow("no such record")
            << QStringList{"K002", kWorkType, kMixture}
            << QStringList{"工事 \"K002\"・工種 \"表層工\"・合材 \"密粒13\" の舗設実績が見つかり"
                           "ません。"};
        QTest::newRow("record without days")
            << QStringList{"K001", "基層工", kMixture}
            << QStringList{"工事 \"K001\"・工種 \"基層工\"・合材 \"密粒13\" の舗設実績には舗設日"
                           "がありません。"};
    }
    void whatIsNotFoundIsNamedAndNoFileIsWritten()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, messages);
        THojituHead4 head, empty;
        Days(Header(head), 3);
        Header(empty, "K001", "基層工");
        Registers("K002");
        const QString file = NewFile();
        const TResult r = Run(SheetArguments(keys[0], keys[1], keys[2], file));
        QCOMPARE(r.status, 1);
        for (const QString& message : messages)
            QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), QStringList());
    }

    void aFailedExportKeepsTheFileThatWasThere()
    {
        THojituHead4 head;
        Days(Header(head), 1);
        WriteSetting("HojituKetasu3", "abc");
        const QString file = NewFile();
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("yesterday's sheet");
        }
        const TResult r = Run(SheetArguments("K001", kWorkType, kMixture, file));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("HojituKetasu3"), qPrintable(r.err));
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("yesterday's sheet"));
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), QStringList{"実績表.pdf"});
    }

    void aFolderThatIsNotThereIsNamed()
    {
        THojituHead4 head;
        Days(Header(head), 1);
        const QString file = TTestEnvironment::Current().NewFolder() + "/無い/sheet.pdf";
        const TResult r = Run(SheetArguments("K001", kWorkType, kMixture, file));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(file), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(file));
    }

    void wrongCommandLinesAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << QStringList{"sheet",  "--project", "K001",  "--work-type",
                                                "表層工", "--mixture", "密粒13"}
                                 << "--pdf";
        QTest::newRow("value missing")
            << QStringList{"sheet", "--work-type", "表層工", "--project"} << "--project の後に";
        QTest::newRow("unknown option") << QStringList{"sheet", "--landscape"} << "--landscape";
        QTest::newRow("empty value") << QStringList{"sheet", "--project=", "--work-type=表層工",
                                                    "--mixture=密粒13", "--pdf=a.pdf"}
                                     << "--project (工事コード)";
    }
    void wrongCommandLinesAreRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const TResult r = Run(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists("a.pdf"));
    }

    void theProgramWritesTheSheetWithoutADisplay()
    {
        THojituHead4 head;
        Days(Header(head), 3);
        const QString file = NewFile();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        const auto run = [&](const QStringList& arguments, QString& err) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(KANMURI_PROGRAM, arguments);
            if (!program.waitForFinished(60000))
                return -1;
            err = QString::fromUtf8(program.readAllStandardError());
            return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        };
        QString err;
        QCOMPARE(run(SheetArguments("K001", kWorkType, kMixture, file), err), 0);
        QCOMPARE(err, QString());
        const QList<TPdfPage> pages = ReadPdf(file);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().Find("アスファルト合材舗設実績表").size(), 1);

        const QString missing = NewFile();
        QCOMPARE(run(SheetArguments("K404", kWorkType, kMixture, missing), err), 1);
        QCOMPARE(
            err,
            QString("工事コード \"K404\" の工事が見つかりません。\n（データ格納フォルダ: %1）\n")
                .arg(QDir::toNativeSeparators(TTestEnvironment::Current().DataDir()) +
                     QDir::separator()));
        QVERIFY(!QFileInfo::exists(missing));
    }
};

KANMURI_TEST_MAIN(TestCommandLine)
#include "tst_TCommandLine.moc"
