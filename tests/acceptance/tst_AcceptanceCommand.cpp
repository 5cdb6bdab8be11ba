// "pTarmak acceptance": the stored mixture's sheet written to PDF as the
// preview prints it; what it does not find or cannot calculate is said on
// standard error and leaves no file.
#include "AcceptanceTesting.h"
#include "acceptance/AcceptanceCommand.h"

#include <QFile>
#include <QTextStream>

using namespace AcceptanceTesting;

namespace {

struct TRun
{
    int status = -1;
    QString out;
    QString err;
};

TRun Run(const QStringList& arguments)
{
    TRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunAcceptanceCommand(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

QString NewFile()
{
    return TTestEnvironment::Current().NewFolder() + QStringLiteral("/判定値.pdf");
}

} // namespace

class TestAcceptanceCommand : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        UseCapturePrinter();
        StandardPlant();
        StoreMixture(kMixture, SurfaceCourse(), 2);
        TTestEnvironment::Current().prompt.Clear();
    }

    void writesWhatThePreviewPrints_data()
    {
        QTest::addColumn<QString>("mixture");
        QTest::addColumn<int>("method");
        QTest::newRow("without recycled material") << kMixture << 0;
        QTest::newRow("recycled, reuse guideline") << QString("再生密粒13") << 1;
    }
    void writesWhatThePreviewPrints()
    {
        QFETCH(QString, mixture);
        QFETCH(int, method);
        StoreMixture("再生密粒13", Recycled(), 0, true);
        WriteSetting("hin_prnleft", "15");
        WriteSetting("hin_prntop", "8");
        WriteSetting("hin_prnZoomX", "95");
        WriteSetting("hin_prnfont", kFont);

        const QString file = NewFile();
        const TRun run =
            Run({"--mixture", mixture, "--method", QString::number(method), "--pdf=" + file});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        const QList<TPdfPage> exported = ReadPdf(file);
        QCOMPARE(exported.size(), 2);

        // The same mixture through the window's "印刷" and the preview.
        TGozaiDef mix;
        mix.LoadByName(mixture);
        const QList<TPdfPage> printed = PrintedFromPreview(mix, method);
        QCOMPARE(printed.size(), 2);
        for (int p = 0; p < 2; ++p) {
            QCOMPARE(exported[p].words.size(), printed[p].words.size());
            for (int i = 0; i < exported[p].words.size(); ++i) {
                const TPdfWord& a = exported[p].words[i];
                const TPdfWord& b = printed[p].words[i];
                QCOMPARE(a.text, b.text);
                QVERIFY2(std::abs(a.left - b.left) < 0.05 && std::abs(a.top - b.top) < 0.05,
                         qPrintable(a.text));
            }
        }
        if (method == 1)
            QVERIFY(AllText(exported[1])
                        .contains("計算方法はアスファルト舗装再生利用ガイドラインによる"));
        // The stored offset and stretch are those the sheet lands with.
        CHECK_PASSES(CheckBox(exported[0], TPlacement{15, 8, 95, 100}, "計量自記記録合格判定値",
                              baCenter, 0.4, 0.5, 15.4, 1.0, 15));
    }

    void whatItCannotDoLeavesNoFile()
    {
        const QString file = NewFile();
        TRun run = Run({"--mixture", "無い合材", "--pdf", file});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith("合材 \"無い合材\" が見つかりません。"), qPrintable(run.err));
        QVERIFY(run.err.contains(QDir::toNativeSeparators(TTestEnvironment::Current().DataDir())));
        QVERIFY(!QFile::exists(file));

        // A sheet written before stays as it was.
        QFile older(file);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older sheet");
        older.close();
        StandardPlant("0");
        run = Run({"--mixture", kMixture, "--pdf", file});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("基準骨材計量値が０の為、計算ができませんでした。"),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(kPlant));
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("older sheet"));
        older.close();

        StandardPlant("1000");
        run = Run({"--mixture", kMixture, "--pdf",
                   TTestEnvironment::Current().DataDir() + "/無いフォルダ/判定値.pdf"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("に書き込めませんでした"), qPrintable(run.err));
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void wrongCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no pdf") << QStringList{"--mixture", "密粒13"} << "--pdf";
        QTest::newRow("no mixture") << QStringList{"--pdf", "a.pdf"} << "--mixture";
        QTest::newRow("method 2") << QStringList{"--mixture", "密粒13", "--method",
                                                 "2",         "--pdf",  "a.pdf"}
                                  << "--method は 0";
        QTest::newRow("unknown option")
            << QStringList{"--mixture", "密粒13", "--pdf", "a.pdf", "--landscape"}
            << "\"--landscape\" は acceptance の指定にありません。";
        QTest::newRow("value missing") << QStringList{"--pdf", "a.pdf", "--mixture"}
                                       << "--mixture の後に値を指定してください。";
    }
    void wrongCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        const TRun run = Run(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(problem), qPrintable(run.err));
        QVERIFY(run.err.contains("pTarmak acceptance --mixture"));
        QCOMPARE(run.out, QString());
        QVERIFY(!QFile::exists("a.pdf"));
    }

    void help()
    {
        const TRun run = Run({"--help"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains(AcceptanceUsage()));
        QCOMPARE(run.err, QString());
    }
};

KANMURI_TEST_MAIN(TestAcceptanceCommand)
#include "tst_AcceptanceCommand.moc"
