// The paving record sheet as an Excel workbook, from the command line and
// the main window's menu; read back with openpyxl (a reader written
// elsewhere) and set against the same sheet printed to PDF.
#include "HojitsuSheetTesting.h"
#include "app/TCommandLine.h"
#include "app/TCsvExport.h"
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TFileChooser.h"
#include "foundation/Conversions.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>

using namespace SheetTesting;

namespace {

// Dumps what a workbook holds as JSON: per worksheet its cells (value,
// number format, font, borders), merged ranges and page set-up.
const char* kReader = R"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
out = {"sheets": book.sheetnames}
for ws in book.worksheets:
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None and not c.has_style:
                continue
            v = c.value
            if hasattr(v, "isoformat"):
                v = v.isoformat()
            b = c.border
            cells[c.coordinate] = {
                "v": v, "format": c.number_format, "date": getattr(c, "is_date", False),
                "font": c.font.name, "underline": c.font.u,
                "borders": [b.left.style, b.right.style, b.top.style, b.bottom.style]}
    pr = ws.sheet_properties.pageSetUpPr
    out[ws.title] = {
        "cells": cells,
        "merged": sorted(str(r) for r in ws.merged_cells.ranges),
        "orientation": ws.page_setup.orientation,
        "paper": ws.page_setup.paperSize,
        "fitToPage": bool(pr and pr.fitToPage),
        # Left out, each is 1 (the file format's default).
        "fitToWidth": 1 if ws.page_setup.fitToWidth is None else ws.page_setup.fitToWidth,
        "fitToHeight": 1 if ws.page_setup.fitToHeight is None else ws.page_setup.fitToHeight,
        "titleRows": ws.print_title_rows,
        "breaks": [b.id for b in ws.row_breaks.brk],
        "footer": ws.oddFooter.left.text,
        "freeze": ws.freeze_panes,
        "filter": ws.auto_filter.ref,
        "widths": {k: d.width for k, d in ws.column_dimensions.items()}}
print(json.dumps(out, ensure_ascii=False))
)";

// Debian's interpreter, which has python3-openpyxl; one of the user's own
// earlier in the path may not.
QString Python()
{
    return QFileInfo::exists("/usr/bin/python3") ? QString("/usr/bin/python3") : QString("python3");
}

QJsonObject ReadWorkbook(const QString& file)
{
    QProcess reader;
    reader.start(Python(), {"-c", kReader, file});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        qWarning() << reader.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

// "A1" for column 0 and row 1.
QString Address(int col, int row)
{
    QString letters = col >= 26 ? QString(QChar(u'A' + col / 26 - 1)) : QString();
    return letters + QChar(u'A' + col % 26) + QString::number(row);
}

struct TResult
{
    int status;
    QString err;
};

TResult Run(const QStringList& arguments)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status = TCommandLine::Run(arguments, outStream, errStream);
    errStream.flush();
    return {status, err};
}

QStringList SheetArguments(const QString& kosyu = kWorkType)
{
    return {"sheet", "--project", "K001", "--work-type", kosyu, "--mixture", kMixture};
}

// The decimals a number format shows: "0.000" gives 3.
int DecimalsOf(const QString& format)
{
    const qsizetype point = format.indexOf(u'.');
    return point < 0 ? 0 : int(format.size() - point - 1);
}

// A number as the sheet printed it in the box: on one line as read (a wide
// one wraps), or split at the point, the whole part (lower half) before the
// decimals (upper half).
QString PrintedNumber(const TPdfPage& page, bool oneLine, double left, double top, double right,
                      double bottom)
{
    if (oneLine)
        return TextIn(page, left, top, right, bottom);
    const double middle = (top + bottom) * 5;
    QString whole, fraction;
    for (const TPdfWord& w : WordsIn(page, left, top, right, bottom))
        (w.CentreY() > middle ? whole : fraction) += w.text;
    return whole + fraction;
}

double RowTop(int row)
{
    return 5.24 + 1.22 * row;
}

} // namespace

class TestHojitsuWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }
    void cleanup() { TForms::Instance().DestroyAll(); }

    void everyCellHoldsWhatThePdfSheetPrints_data()
    {
        QTest::addColumn<bool>("perMixture");
        QTest::newRow("11 days, split at the point") << false;
        QTest::newRow("per mixture, one line") << true;
    }
    void everyCellHoldsWhatThePdfSheetPrints()
    {
        QFETCH(bool, perMixture);
        WriteSetting("HojitsuSa", "1");
        WriteSetting("FillerZeroPrint", "TRUE");
        if (perMixture) {
            // Numbers that fit their box on one line; areas without decimals.
            for (int key = 1; key <= 11; ++key)
                WriteSetting(QString("HojituKetasu%1").arg(key), key == 1 ? "0" : "1");
        } else {
            WriteSetting("HojituKetasu4", "2");
        }
        THojituHead4 base, surface;
        Days(Header(base, "K001", "基層工"), 4, 20);
        const int sid = Header(surface);
        Days(sid, 11);
        // A day without filler: its filler columns stay empty.
        THojituLine4::TValues noFiller = DayValues(-7.5);
        noFiller[23] = 0;
        noFiller[0] = 0;
        Day(sid, EncodeDate(2026, 11, 29), "No.1+5.0", noFiller);

        const QString folder = TTestEnvironment::Current().NewFolder();
        QStringList arguments = SheetArguments() << "--pdf" << folder + "/実績表.pdf"
                                                 << "--xlsx" << folder + "/実績表.xlsx";
        if (perMixture)
            arguments << "--per-mixture"
                      << "--one-line";
        const TResult r = Run(arguments);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
        const QList<TPdfPage> pages = ReadPdf(folder + "/実績表.pdf");
        const QJsonObject cells =
            ReadWorkbook(folder + "/実績表.xlsx")["実績表"].toObject()["cells"].toObject();
        QVERIFY(!cells.isEmpty());

        const int days = perMixture ? 15 : 11;
        QCOMPARE(pages.size(), 2);
        // The remarks follow the last day.
        QCOMPARE(cells[Address(0, 7 + 2 * days)].toObject()["v"].toString(), QString("摘要"));
        int numbers = 0, empty = 0;
        const auto compare = [&](const TPdfPage& page, const QString& address, double left,
                                 double top, double right, double bottom) {
            const QString printed = PrintedNumber(page, perMixture, left, top, right, bottom);
            const QJsonObject cell = cells[address].toObject();
            if (printed.isEmpty()) {
                ++empty;
                return cell["v"].isNull();
            }
            ++numbers;
            const double value = cell["v"].toDouble();
            return cell["v"].isDouble() &&
                   FormatFixed(value, DecimalsOf(cell["format"].toString())) == printed &&
                   value == printed.toDouble();
        };
        for (int i = 0; i < days; ++i) {
            const TPdfPage& page = pages[i / 10];
            const double y = RowTop(i % 10);
            const int row = 7 + 2 * i;
            const QJsonObject date = cells[Address(0, row)].toObject();
            QVERIFY(date["date"].toBool());
            QCOMPARE(date["format"].toString(), QString("m/d"));
            const QDate day = QDate::fromString(date["v"].toString().left(10), Qt::ISODate);
            QCOMPARE(QString("%1/%2").arg(day.month()).arg(day.day()),
                     TextIn(page, 1.5, y, 2.4, y + 1.22));
            QCOMPARE(cells[Address(1, row)].toObject()["v"].toString().remove('\n'),
                     TextIn(page, 2.5, y, 5.71, y + 1.22));
            QVERIFY2(compare(page, Address(2, row), 5.71, y, 6.6, y + 1.22),
                     qPrintable(Address(2, row)));
            QVERIFY2(compare(page, Address(3, row), 6.65, y, 7.57, y + 1.22),
                     qPrintable(Address(3, row)));
            for (int k = 0; k < 21; ++k) {
                const double x = 8.2 + 0.95 * k;
                for (int half = 0; half < 2; ++half)
                    QVERIFY2(compare(page, Address(5 + k, row + half), x + 0.05, y + 0.61 * half,
                                     x + 0.9, y + 0.61 * (half + 1)),
                             qPrintable(Address(5 + k, row + half)));
            }
        }
        // The blanks are the day's unused filler, its length, and the totals
        // above the last row of a date.
        const int sharedDates = perMixture ? 4 : 0;
        QCOMPARE(empty, 14 + 1 + 21 * sharedDates);
        QCOMPARE(numbers, days * (2 + 42) - empty);
    }

    void theFormIsRuledAndSetUpForPrintingAndTheDaysAreData()
    {
        WriteSetting("HojitsuSa", "1");
        WriteSetting("HojituKetasu4", "2");
        WriteSetting("DefaultFontName", "ＭＳ 明朝");
        THojituHead4 head;
        Days(Header(head), 11);
        const QString file = TTestEnvironment::Current().NewFolder() + "/実績表.xlsx";
        QCOMPARE(Run(SheetArguments() << "--xlsx" << file).status, 0);
        const QJsonObject book = ReadWorkbook(file);
        QCOMPARE(book["sheets"].toArray(), QJsonArray({"実績表", "日別データ"}));
        const QJsonObject form = book["実績表"].toObject();
        const QJsonObject cells = form["cells"].toObject();
        const auto text = [&](const char* address) {
            return cells[address].toObject()["v"].toString();
        };

        QCOMPARE(text("A1"), QString("アスファルト合材舗設実績表"));
        QCOMPARE(text("A2"), "工種　表層工 [ " + kPrintName + " ]");
        QCOMPARE(text("M2"), "工事名　" + kProject);
        QCOMPARE(cells["M2"].toObject()["underline"].toString(), QString("single"));
        QCOMPARE(QStringList({text("A3"), text("B3"), text("C3"), text("D3")}),
                 QStringList({"月日", "測　　点", "延長", "幅員"}));
        QCOMPARE(
            QStringList({text("F3"), text("H3"), text("M3"), text("T3")}),
            QStringList({"舗設面積", "合　材　屯　数", "ア ス フ ァ ル ト", "石             粉"}));
        QCOMPARE(QStringList({text("H4"), text("J4"), text("K4"), text("M4"), text("X4")}),
                 QStringList({"積算合材", "実際", "差", "積算量", "差"}));
        QCOMPARE(text("F5") + text("Z5"), QString("AU"));
        QCOMPARE(QStringList({text("H6"), text("K6"), text("Q6"), text("Z6")}),
                 QStringList({"A×", "E-C", "K-H", "R-Q"}));
        QCOMPARE(QStringList({text("E7"), text("E8")}), QStringList({"日計", "累計"}));
        QCOMPARE(text(qPrintable(Address(0, 29))), QString("摘要"));
        QCOMPARE(text(qPrintable(Address(4, 29))),
                 QString("（註）１．実際面積の幅員は40M毎の平均値とする。"));
        QStringList merged;
        for (const QJsonValue& range : form["merged"].toArray())
            merged << range.toString();
        for (const char* range : {"A1:Z1", "A2:L2", "M2:Z2", "A3:A6", "B3:B6", "E3:E6", "F3:G3",
                                  "H3:L3", "M3:S3", "T3:Z3", "H4:I4", "K4:L4", "M4:O4", "X4:Z4",
                                  "A7:A8", "B7:B8", "D7:D8", "A29:D30", "E29:Z29"})
            QVERIFY2(merged.contains(range), range);

        // Numbers in their column's digits, in the chosen font, ruled thin
        // inside the medium frame.
        const QJsonObject day = cells["H7"].toObject();
        QCOMPARE(day["format"].toString(), QString("0.00"));
        QCOMPARE(cells["F7"].toObject()["format"].toString(), QString("0.0"));
        QCOMPARE(cells["M8"].toObject()["format"].toString(), QString("0.0000"));
        QCOMPARE(day["font"].toString(), QString("ＭＳ 明朝"));
        QCOMPARE(day["borders"].toArray(), QJsonArray({"thin", "thin", "thin", "thin"}));
        QCOMPARE(cells["A3"].toObject()["borders"].toArray(),
                 QJsonArray({"medium", "thin", "medium", "thin"}));
        QCOMPARE(cells["Z8"].toObject()["borders"].toArray(),
                 QJsonArray({"thin", "medium", "thin", "thin"}));
        QCOMPARE(cells["A29"].toObject()["borders"].toArray(),
                 QJsonArray({"medium", "thin", "thin", "medium"}));
        QVERIFY(form["widths"].toObject()["B"].toDouble() >= QString("No.10+5.0").size());

        QCOMPARE(form["orientation"].toString(), QString("landscape"));
        QCOMPARE(form["paper"].toInt(), 9); // A4
        QVERIFY(form["fitToPage"].toBool());
        QCOMPARE(form["fitToWidth"].toInt(), 1);
        QCOMPARE(form["fitToHeight"].toInt(), 0);
        QVERIFY2(form["titleRows"].toString().contains("1:$6") ||
                     form["titleRows"].toString() == "1:6",
                 qPrintable(form["titleRows"].toString()));
        QCOMPARE(form["breaks"].toArray(), QJsonArray({26})); // after the tenth day
        QVERIFY(form["footer"].toString().contains("工事名　" + kProject));

        // Every stored value under the CSV's headings, dates as dates.
        const QJsonObject data = book["日別データ"].toObject();
        const QJsonObject values = data["cells"].toObject();
        const QStringList headings = TCsvExport::Headings();
        for (int col = 0; col < headings.size(); ++col)
            QCOMPARE(values[Address(col, 1)].toObject()["v"].toString(), headings[col]);
        QCOMPARE(data["freeze"].toString(), QString("A2"));
        QCOMPARE(data["filter"].toString(), QString("A1:AJ12"));
        for (int i = 0; i < 11; ++i) {
            const QJsonObject date = values[Address(0, i + 2)].toObject();
            QVERIFY(date["date"].toBool());
            QCOMPARE(date["v"].toString().left(10),
                     QDate(2026, 11, 28).addDays(i).toString(Qt::ISODate));
            QCOMPARE(values[Address(1, i + 2)].toObject()["v"].toString(), kWorkType);
            QCOMPARE(values[Address(2, i + 2)].toObject()["v"].toString(),
                     QString("No.%1+5.0").arg(i));
            const THojituLine4::TValues stored = DayValues(i + 1);
            for (int p = 0; p < THojituLine4::ValueCount; ++p)
                QCOMPARE(values[Address(3 + p, i + 2)].toObject()["v"].toDouble(),
                         stored[size_t(p)]);
        }
    }

    void theFileOfferedIsNamedAfterTheRecord()
    {
        // What a Windows file name cannot hold becomes "_".
        QCOMPARE(TCsvExport::FileName("K/01", "密粒度:13*"), QString("K_01_密粒度_13_.csv"));
        QCOMPARE(TCsvExport::FileName("K001", "a\\b\"c<d>e|f?", "xlsx"),
                 QString("K001_a_b_c_d_e_f_.xlsx"));
    }

    void aWorkbookThatCannotBeWrittenLeavesNoFile()
    {
        THojituHead4 head;
        Days(Header(head), 2);
        const QString folder = TTestEnvironment::Current().NewFolder();
        const QString file = folder + "/実績表.xlsx";

        TResult r = Run({"sheet", "--project", "K404", "--work-type", kWorkType, "--mixture",
                         kMixture, "--xlsx", file});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("工事コード \"K404\" の工事が見つかりません。"), qPrintable(r.err));

        r = Run(SheetArguments() << "--xlsx" << folder + "/無い/実績表.xlsx");
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(folder + "/無い/実績表.xlsx"), qPrintable(r.err));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());

        // A sheet that cannot be made replaces neither file.
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("yesterday's workbook");
        old.close();
        WriteSetting("HojituKetasu3", "abc");
        r = Run(SheetArguments() << "--xlsx" << file << "--pdf" << folder + "/実績表.pdf");
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("HojituKetasu3"), qPrintable(r.err));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("yesterday's workbook"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"実績表.xlsx"});
    }

    void theMenuWritesTheRecordInTheBoxes()
    {
        THojituHead4 surface, base;
        Days(Header(surface), 3);
        Days(Header(base, "K001", "基層工"), 2, 10);
        auto& prompt = TTestEnvironment::Current().prompt;
        TForms::Instance().CreateAll();
        TfrmEditHojitsu4* w = TForms::Instance().frmEditHojitsu4;
        QVERIFY(ActivateWindow(w));
        const QString folder = TTestEnvironment::Current().NewFolder();
        const auto exportTo = [&](const QString& file) {
            TFileChooser::SetNextFile(file);
            TriggerAction(w, "mnuExcel");
            QCOMPARE(TFileChooser::LastShown().objectName, QString("ExcelFileDialog"));
            QCOMPARE(QFileInfo(TFileChooser::LastShown().proposed).fileName(),
                     "K001_" + kMixture + ".xlsx");
        };

        // Per mixture the work type typed does not matter.
        w->ComboBox1->SetText("K001:" + kProject);
        w->ComboBox2->SetText("路盤工");
        w->ComboBox3->SetText(kMixture);
        w->CheckBox2->setChecked(true);
        w->CheckBox5->setChecked(true);
        exportTo(folder + "/menu.xlsx");
        QVERIFY2(prompt.LastText("message").contains("menu.xlsx\" に書き出しました。"),
                 qPrintable(prompt.LastText("message")));
        QCOMPARE(Run(SheetArguments() << "--per-mixture"
                                      << "--one-line"
                                      << "--xlsx" << folder + "/command.xlsx")
                     .status,
                 0);
        const QJsonObject menu = ReadWorkbook(folder + "/menu.xlsx");
        const QJsonObject cells = menu["実績表"].toObject()["cells"].toObject();
        QVERIFY(cells["A15"].toObject()["date"].toBool()); // the fifth day
        QCOMPARE(cells["A17"].toObject()["v"].toString(), QString("摘要"));
        QCOMPARE(menu, ReadWorkbook(folder + "/command.xlsx"));

        // Without the switch the work type names the record: one without days.
        w->CheckBox2->setChecked(false);
        exportTo(folder + "/none.xlsx");
        QVERIFY2(prompt.LastText("error").contains("工種名 \"路盤工\""),
                 qPrintable(prompt.LastText("error")));
        QVERIFY(!QFileInfo::exists(folder + "/none.xlsx"));
    }
};

KANMURI_TEST_MAIN(TestHojitsuWorkbook)
#include "tst_THojitsuWorkbook.moc"
