// An office's earlier data folder (Paradox tables, written here with pxlib)
// brought into this one; paving days written out as CSV.
#include "app/TCommandLine.h"
#include "app/TCsvExport.h"
#include "app/TForms.h"
#include "app/TParadoxImport.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TFileChooser.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"
#include "foundation/TParadoxTable.h"
#include "foundation/TQuery.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TZairyoIndex.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"
#include "support/ParadoxWriter.h"
#include "support/TTestEnvironment.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextStream>
#include <QtEndian>

namespace {

struct TFixture
{
    QString folder;
    QMap<QString, QStringList> rows; // expected, as TableRows gives them
};

// The layouts of our tables, made in the current data folder.
void MakeOurTables()
{
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    TKoji::EnsureTables();
    TKosyu::EnsureTables();
    TZairyoIndex::EnsureTables();
    TDatabase::EnsureTable(TGozaiDef::TableName(), TGozaiDef::TableFields());
    TDatabase::EnsureTable(TRyudoKikaku::TableName(), TRyudoKikaku::TableFields());
    TDatabase::EnsureTable(THotbinHaigoritu::TableName(), THotbinHaigoritu::TableFields());
    TDatabase::EnsureTable(TRyudoRange::TableName(), TRyudoRange::TableFields());
}

// Every table of the import as the earlier program would have it, three rows
// each (ZairyoIndex none), in a folder of its own.
TFixture WriteFixture(const QString& folder)
{
    MakeOurTables();
    TFixture fixture{folder, {}};
    for (const QString& table : TParadoxImport::Tables()) {
        if (table == QStringLiteral("CoreHead"))
            continue;
        const QList<TFieldDef> fields = TDatabase::TableColumns(table);
        QList<TParadoxColumn> columns;
        for (const TFieldDef& f : fields)
            columns.append(ParadoxColumnFor(f));
        TParadoxWriter writer(QDir(folder).filePath(table + ".DB"), columns);
        const int count = table == QStringLiteral("ZairyoIndex") ? 0 : 3;
        for (int r = 0; r < count; ++r) {
            QVariantList values;
            QStringList expected;
            for (int c = 0; c < columns.size(); ++c) {
                const TParadoxColumn& column = columns[c];
                switch (column.type) {
                case pxfAlpha: {
                    // Long fields get long Japanese texts; every one fits.
                    const QString text =
                        FitShiftJis(QString("舗装%1～%2 ").arg(r).arg(column.name) +
                                        QString(column.length, u'工'),
                                    column.length);
                    values << text;
                    expected << text;
                    break;
                }
                case pxfLong:
                    values << qlonglong(r * 10 + c);
                    expected << QString::number(r * 10 + c);
                    break;
                case pxfNumber:
                    values << r + c * 0.25;
                    expected << QVariant(r + c * 0.25).toString();
                    break;
                case pxfTimestamp:
                    values << QDateTime(QDate(2026, 4, 1 + r), QTime(0, 0));
                    expected << QString("2026-04-0%1 00:00:00").arg(1 + r);
                    break;
                case pxfLogical:
                    values << (r % 2 == 1);
                    expected << QString::number(r % 2);
                    break;
                }
            }
            writer.Add(values);
            fixture.rows[table] << expected.join(u'|');
        }
    }
    // Other programs' table, with columns of its own.
    TParadoxWriter cores(QDir(folder).filePath("CoreHead.DB"), {{"KojiCode", pxfAlpha, 8},
                                                                {"GozaiName", pxfAlpha, 64},
                                                                {"MitudoPer", pxfNumber, 8},
                                                                {"SokuteiBi", pxfDate, 4},
                                                                {"Kakunin", pxfLogical, 1},
                                                                {"Kaisu", pxfShort, 2}});
    cores.Add({"K001", "密粒度アスコン13", 2.31, QDate(2025, 11, 3), true, 2});
    cores.Add({"K001", QVariant(), QVariant(), QVariant(), false, QVariant()});
    fixture.rows["CoreHead"] =
        QStringList{"K001|密粒度アスコン13|2.31|2025-11-03 00:00:00|1|2", "K001||0||0|0"};
    return fixture;
}

QStringList AllRows()
{
    QStringList all;
    for (const QString& table : TParadoxImport::Tables())
        if (TDatabase::TableExists(table))
            all << table + ": " + TableRows(table).join(" / ");
    return all;
}

} // namespace

class TestParadoxImport : public QObject
{
    Q_OBJECT

    TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;

    TFixture Fixture()
    {
        const QString folder = TTestEnvironment::Current().NewFolder();
        TFixture fixture = WriteFixture(folder);
        TTestEnvironment::Current().Reset(); // a new, empty data folder
        return fixture;
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void everyTableComesAcrossColumnByColumn()
    {
        const TFixture fixture = Fixture();
        TParadoxImport import(fixture.folder);
        QCOMPARE(import.FoundTables(), TParadoxImport::Tables());
        QList<qint64> seen;
        const auto reports = import.Run(false, [&](qint64 done, qint64 total) {
            seen << done;
            QCOMPARE(total, qint64(3 * 11 + 2));
        });
        QCOMPARE(seen.last(), qint64(3 * 11 + 2));
        for (const QString& table : TParadoxImport::Tables())
            QCOMPARE(TableRows(table), fixture.rows.value(table));
        QCOMPARE(reports.size(), TParadoxImport::Tables().size());
        QVERIFY(TParadoxImport::ReportText(reports).contains("Koji1: 3 件読み込み、3 件取り込み"));
        QVERIFY(TParadoxImport::ReportText(reports).contains(
            "ZairyoIndex: 0 件読み込み、0 件取り込み"));
    }

    void aStartedDataFolderIsFilledButAnotherOfficesDataIsNotMixed()
    {
        const TFixture fixture = Fixture();
        // A first start: the sixteen standards, nothing else.
        TForms::Instance().CreateAll();
        TForms::Instance().DestroyAll();
        QCOMPARE(TableRows("Ryudokikaku").size(), 16);
        TParadoxImport(fixture.folder).Run(false);
        QCOMPARE(TableRows("Ryudokikaku"), fixture.rows["Ryudokikaku"]);

        // Again: every table holds rows now, and nothing is written.
        const QStringList before = AllRows();
        TParadoxImport again(fixture.folder);
        QCOMPARE(again.TablesHoldingData().size(), TParadoxImport::Tables().size() - 1);
        try {
            again.Run(false);
            QFAIL("an import into tables holding rows went through");
        } catch (const EKanmuriError& e) {
            QVERIFY(e.text().contains("Koji1"));
            QVERIFY(e.text().contains("HojituLine4"));
        }
        QCOMPARE(AllRows(), before);
        // Replacing gives the rows once.
        again.Run(true);
        QCOMPARE(AllRows(), before);
    }

    void aDamagedFileStopsTheImportAndNamesIt_data()
    {
        QTest::addColumn<bool>("truncated");
        QTest::newRow("cut short") << true;
        QTest::newRow("header overwritten") << false;
    }

    void aDamagedFileStopsTheImportAndNamesIt()
    {
        QFETCH(bool, truncated);
        const TFixture fixture = Fixture();
        // Bigger than one block, so that cutting it loses records.
        const QString lines = QDir(fixture.folder).filePath("HojituLine4.DB");
        {
            TParadoxWriter writer(lines, {{"SID", pxfLong, 4}, {"SOKUTEN", pxfAlpha, 16}});
            for (int i = 0; i < 500; ++i)
                writer.Add({qlonglong(1), QString("No.%1").arg(i)});
        }
        QFile file(lines);
        if (truncated) {
            QVERIFY(file.resize(file.size() - 3000));
        } else {
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(16, '\x7f'));
            file.close();
        }
        TKosyu::EnsureTables();
        TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('表層工', 1)").Exec();
        const QStringList before = AllRows();
        try {
            TParadoxImport(fixture.folder).Run(true);
            QFAIL("a damaged file was imported");
        } catch (const EKanmuriError& e) {
            QVERIFY(e.text().contains(QDir::toNativeSeparators(lines)));
        }
        QCOMPARE(AllRows(), before);
    }

    // Bytes of a good table overwritten at random, in the header and the
    // heads of the data blocks: each file is either read whole or refused,
    // and never hangs or brings the program down (the library alone loops
    // for ever on some, e.g. a table marked as encrypted).
    void randomlyDamagedTablesAreReadOrRefused()
    {
        const QString good = QDir(TTestEnvironment::Current().NewFolder()).filePath("good.DB");
        {
            TParadoxWriter writer(good, {{"SID", pxfLong, 4},
                                         {"SOKUTEN", pxfAlpha, 16},
                                         {"HIDUKE", pxfTimestamp, 8},
                                         {"FLAG", pxfLogical, 1}});
            for (int i = 0; i < 300; ++i)
                writer.Add({qlonglong(i), QString("測点%1").arg(i),
                            QDateTime(QDate(2026, 4, 1), QTime(8, 0)), i % 2 == 0});
        }
        QFile in(good);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray original = in.readAll();
        const int headerSize = qFromLittleEndian<quint16>(original.constData() + 2);
        const int blockSize = quint8(original[5]) * 0x400;
        QVERIFY(original.size() > headerSize + blockSize);
        const QString damaged =
            QDir(TTestEnvironment::Current().NewFolder()).filePath("damaged.DB");
        QRandomGenerator random(20261208);
        int refused = 0;
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = original;
            if (round == 0) {
                bytes[0x26] = '\x34'; // marked as encrypted
            } else {
                for (int n = random.bounded(1, 6); n > 0; --n) {
                    const int block = random.bounded(-1, (bytes.size() - headerSize) / blockSize);
                    const int at = block < 0 ? random.bounded(headerSize)
                                             : headerSize + block * blockSize + random.bounded(6);
                    bytes[at] = char(random.bounded(256));
                }
            }
            QFile out(damaged);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(bytes);
            out.close();
            try {
                TParadoxTable table(damaged);
                for (int i = 0; i < table.RecordCount(); ++i)
                    table.Record(i);
            } catch (const EKanmuriError& e) {
                QVERIFY(e.text().contains(QDir::toNativeSeparators(damaged)));
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }

    // Field names that SQL takes only quoted, a German code page and a BCD
    // column, as Paradox tables of other programs have them.
    void coreHeadComesAcrossWhateverItsColumnsAreCalled()
    {
        const QString folder = TTestEnvironment::Current().NewFolder();
        TParadoxOptions german;
        german.codePage = 1252;
        {
            TParadoxWriter writer(QDir(folder).filePath("CoreHead.DB"),
                                  {{"Species No", pxfNumber, 8},
                                   {"Order", pxfAlpha, 20},
                                   {"Integer kurz", pxfShort, 2},
                                   {"Größe \"netto\"", pxfBCD, 17, 2}},
                                  german);
            writer.Add({90020.0, "Müller", 7, "12.50"});
            writer.Add({QVariant(), "Straße", -3, "-0.75"});
        }
        TParadoxImport(folder).Run(false);
        QCOMPARE(TableColumns("CoreHead"),
                 (QStringList{"Species No", "Order", "Integer kurz", "Größe \"netto\""}));
        QCOMPARE(TableRows("CoreHead"), (QStringList{"90020|Müller|7|12.5", "0|Straße|-3|-0.75"}));
    }

    // Another program saves a day after the import looked at the tables but
    // before it took the write lock: the day must not be deleted.
    void aDaySavedMeanwhileByAnotherProgramIsNotReplaced()
    {
        const TFixture fixture = Fixture();
        MakeOurTables();
        QProcess other;
        other.start(KANMURI_SAVE_WORKER, {"hold", TTestEnvironment::Current().ConfigDir(), "1500"});
        QVERIFY(other.waitForReadyRead(30000));
        QCOMPARE(other.readLine().trimmed(), QByteArray("holding"));
        try {
            TParadoxImport(fixture.folder).Run(false);
            QFAIL("the import replaced a day saved meanwhile");
        } catch (const EKanmuriError& e) {
            QVERIFY2(e.text().contains("HojituLine4"), qPrintable(e.text()));
        }
        QVERIFY(other.waitForFinished(30000));
        QCOMPARE(other.exitCode(), 0);
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        QVERIFY(TableRows("HojituLine4").first().contains("No.0"));
    }

    void commandLineImportsReportsAndRefuses()
    {
        const TFixture fixture = Fixture();
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QCOMPARE(TCommandLine::Run({"import-paradox", fixture.folder}, out, err), 0);
        QVERIFY(outText.contains("HojituLine4: 3 件読み込み、3 件取り込み"));
        QVERIFY(errText.contains("取り込み中 35 / 35 件"));
        QCOMPARE(TableRows("Koji1"), fixture.rows["Koji1"]);
        QCOMPARE(TCommandLine::Run({"import-paradox", fixture.folder}, out, err), 1);
        QVERIFY(errText.contains("すでにあります"));
        QCOMPARE(TCommandLine::Run({"import-paradox", fixture.folder, "--replace"}, out, err), 0);
        QCOMPARE(TableRows("Koji1"), fixture.rows["Koji1"]);
        QCOMPARE(TCommandLine::Run({"import-paradox"}, out, err), 2);
        QCOMPARE(TCommandLine::Run({"import-paradox", TTestEnvironment::Current().NewFolder()}, out,
                                   err),
                 1);
        QVERIFY(errText.contains("取り込める表"));
    }

    void daysAreWrittenAsCsvByteForByte()
    {
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
        THojituHead4 head;
        head.Koji->Code = "K001";
        head.Kosyu->Kosyumei = "表層工";
        head.Gozai->DataName = "密粒度13";
        head.Save();
        THojituLine4 line;
        line.SID = head.ID;
        line.Hiduke = EncodeDate(2026, 4, 2);
        line.Sokuten = "No.1+20, 左側";
        line.Values[0] = 100;
        line.Values[10] = 40.5;
        line.Save();
        line.Hiduke = EncodeDate(2026, 4, 1);
        line.Sokuten = "No.0";
        line.Values = {};
        line.Values[32] = -0.125;
        line.Save();

        const QByteArray csv = TCsvExport::Days("K001", "表層工", "密粒度13", false);
        const QStringList headings = TCsvExport::Headings();
        QCOMPARE(headings.size(), 3 + 33);
        QCOMPARE(headings[5], QString("合材面積(設計)"));
        QCOMPARE(headings.last(), QString("石粉差(現場)"));
        QString zeros;
        for (int i = 0; i < 33; ++i)
            zeros += ",0";
        QString first = "2026/04/01,表層工,No.0" + zeros;
        first.chop(1);
        first += "-0.125";
        QString second = "2026/04/02,表層工,\"No.1+20, 左側\",100,0,0,0,0,0,0,0,0,0,40.5";
        for (int i = 11; i < 33; ++i)
            second += ",0";
        const QByteArray expected =
            "\xEF\xBB\xBF" +
            (headings.join(',') + "\r\n" + first + "\r\n" + second + "\r\n").toUtf8();
        QCOMPARE(csv, expected);

        // The same through the command, and nothing for an unknown record.
        const QString file = QDir(TTestEnvironment::Current().NewFolder()).filePath("days.csv");
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QCOMPARE(TCommandLine::Run({"export-csv", "--project", "K001", "--work-type", "表層工",
                                    "--mixture", "密粒度13", "--csv", file},
                                   out, err),
                 0);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
        const QString none = QDir(TTestEnvironment::Current().NewFolder()).filePath("none.csv");
        QCOMPARE(TCommandLine::Run({"export-csv", "--project", "K009", "--work-type", "表層工",
                                    "--mixture", "密粒度13", "--csv", none},
                                   out, err),
                 1);
        QVERIFY(!QFile::exists(none));
    }

    void csvCellsThatWouldRunAsFormulasOpenAsText()
    {
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
        THojituHead4 head;
        head.Koji->Code = "K001";
        head.Kosyu->Kosyumei = "=HYPERLINK(\"http://x.example\")";
        head.Gozai->DataName = "密粒度13";
        head.Save();
        THojituLine4 line;
        line.SID = head.ID;
        const QStringList stations = {"@SUM(A1)", "-1+2", "+3", "\tx", "No.1-2"};
        for (int i = 0; i < stations.size(); ++i) {
            line.Hiduke = EncodeDate(2026, 4, 1 + i);
            line.Sokuten = stations[i];
            line.Values[2] = -12.5;
            line.Save();
        }
        const QStringList rows =
            QString::fromUtf8(TCsvExport::Days("K001", head.Kosyu->Kosyumei, "密粒度13", false))
                .split("\r\n");
        const QString type = "\"'=HYPERLINK(\"\"http://x.example\"\")\"";
        QVERIFY(rows[1].startsWith("2026/04/01," + type + ",'@SUM(A1),0,0,-12.5,"));
        QVERIFY(rows[2].startsWith("2026/04/02," + type + ",'-1+2,"));
        QVERIFY(rows[3].startsWith("2026/04/03," + type + ",'+3,"));
        QVERIFY(rows[4].startsWith("2026/04/04," + type + ",'\tx,"));
        QVERIFY(rows[5].startsWith("2026/04/05," + type + ",No.1-2,0,0,-12.5,"));
    }

    void menusImportAndExport()
    {
        const TFixture fixture = Fixture();
        TForms::Instance().CreateAll();
        TfrmEditHojitsu4* w = TForms::Instance().frmEditHojitsu4;
        QVERIFY(ActivateWindow(w));
        WhenModalShown([&](QWidget* modal) {
            modal->findChild<QLineEdit*>("fileNameEdit")->setText(fixture.folder);
            QTest::mouseClick(
                modal->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open),
                Qt::LeftButton);
        });
        TriggerAction(w, "mnuImport");
        QVERIFY(prompt.LastText("message").contains("Koji1: 3 件読み込み、3 件取り込み"));
        QCOMPARE(TableRows("Koji1"), fixture.rows["Koji1"]);

        // The days of the header in the boxes, to the file chosen.
        const QStringList header = fixture.rows["HojituHead4"].first().split('|');
        w->ComboBox1->SetText(header[1] + ":");
        w->ComboBox2->SetText(header[2]);
        w->ComboBox3->SetText(header[3]);
        w->CheckBox2->setChecked(true);
        const QString file = QDir(TTestEnvironment::Current().NewFolder()).filePath("out.csv");
        TFileChooser::SetNextFile(file);
        TriggerAction(w, "mnuCsv");
        QCOMPARE(TFileChooser::LastShown().objectName, QString("CsvFileDialog"));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), TCsvExport::Days(header[1], header[2], header[3], true));
        TForms::Instance().DestroyAll();
    }
};

KANMURI_TEST_MAIN(TestParadoxImport)
#include "tst_ParadoxImport.moc"
