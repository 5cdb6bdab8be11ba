// The paving record sheet as printed: the form, ten days to a page, the
// day's values and the totals up to the date, as the settings and the
// switches have them; written to PDF and through the preview's print, read
// back with pdftotext.
#include "HojitsuSheetTesting.h"
#include "foundation/Conversions.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TQuery.h"
#include "print/TCanvas.h"
#include "print/TPageStore.h"
#include "store/Digits.h"

using namespace SheetTesting;

namespace {

const int kColumnPosition[21] = {2,  3,  8,  9,  10, 11, 12, 16, 17, 18, 19,
                                 20, 21, 22, 26, 27, 28, 29, 30, 31, 32};

double ColumnLeft(int k)
{
    return 8.2 + 0.95 * k;
}

double RowTop(int row)
{
    return 5.24 + 1.22 * row;
}

QString Number(int position, double value)
{
    return FormatFixed(value, Digits(position));
}

} // namespace

class TestHojitsuSheet : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        SetPageOffset(0, 0);
        UseCapturePrinter();
    }

    void theFormAndTenDaysLandInTheirBoxes_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<double>("margin");
        QTest::newRow("export") << false << 0.0;
        // A printer that cannot print the outer 5 mm: the form stays put.
        QTest::newRow("preview, 5 mm unprintable") << true << 5.0;
    }
    void theFormAndTenDaysLandInTheirBoxes()
    {
        QFETCH(bool, preview);
        QFETCH(double, margin);
        UseCapturePrinter(QMarginsF(margin, margin, margin, margin));
        WriteSetting("HojituKetasu4", "2");
        THojituHead4 head;
        Days(Header(head), 10);
        const QList<TPdfPage> pages = preview ? PrintedFromPreview(head) : Exported(head);
        QCOMPARE(pages.size(), 1);
        const TPdfPage& page = pages.first();
        QVERIFY(page.width > page.height);

        CHECK_PASSES(
            CheckBox(page, "アスファルト合材舗設実績表", baCenter, 1.5, 1.7, 28.2, 2.2, 12));
        CHECK_PASSES(
            CheckBox(page, "工種　表層工 [ " + kPrintName + " ]", baLeft, 1.5, 2.5, 15, 3.0, 10));
        CHECK_PASSES(CheckBox(page, "工事名　" + kProject, baRight, 15, 2.5, 28.2, 3.0, 10));

        CHECK_PASSES(CheckBox(page, "舗設面積", baCenter, 8.2, 3.2, 10.1, 3.71, 9));
        CHECK_PASSES(CheckBox(page, "合　材　屯　数", baCenter, 10.1, 3.2, 14.85, 3.71, 9));
        CHECK_PASSES(CheckBox(page, "ア ス フ ァ ル ト", baCenter, 14.85, 3.2, 21.5, 3.71, 9));
        CHECK_PASSES(CheckBox(page, "石             粉", baCenter, 21.5, 3.2, 28.2, 3.71, 9));
        const struct
        {
            const char* text;
            double left, right;
        } subheadings[] = {{"設計", 8.2, 9.15},   {"実際", 9.15, 10.1}, {"積算合材", 10.1, 12},
                           {"実際", 12, 12.95},   {"差", 12.95, 14.85}, {"積算量", 14.85, 17.7},
                           {"実際", 17.7, 18.65}, {"差", 18.65, 21.5},  {"積算量", 21.5, 24.35},
                           {"実際", 24.35, 25.3}, {"差", 25.3, 28.2}};
        for (const auto& s : subheadings)
            CHECK_PASSES(CheckBox(page, s.text, baCenter, s.left, 3.71, s.right, 4.22, 9));
        for (int k = 0; k < 21; ++k)
            CHECK_PASSES(CheckBox(page, QString(QChar('A' + k)), baCenter, ColumnLeft(k), 4.22,
                                  ColumnLeft(k + 1), 4.73, 9));
        CHECK_PASSES(CheckBox(page, "測　　点", baCenter, 2.35, 3.5, 5.71, 4.94, 9));
        // Vertical headings: the first character at the top, the last at the
        // bottom, both centred across.
        const struct
        {
            const char* text;
            double left, right;
        } vertical[] = {{"月日", 1.5, 2.35}, {"延長", 5.61, 6.65}, {"幅員", 6.65, 7.62}};
        for (const auto& v : vertical) {
            const QList<TPdfWord> chars = WordsIn(page, v.left, 3.5, v.right, 4.94);
            QCOMPARE(chars.size(), 2);
            QCOMPARE(chars[0].text + chars[1].text, QString(v.text));
            CHECK_PASSES(Mismatch(v.text, chars[0].top, 35));
            CHECK_PASSES(Mismatch(v.text, chars[0].CentreX(), (v.left + v.right) * 5));
            CHECK_PASSES(Mismatch(v.text, chars[1].CentreX(), (v.left + v.right) * 5));
            QVERIFY(chars[1].bottom > 48.5 && chars[1].bottom < 49.4 + kTolerance);
        }
        CHECK_PASSES(CheckBox(page, "摘要", baSpread, 2.5, 17.44, 6.62, 20, 9));
        CHECK_PASSES(CheckBox(page, "（註）１．実際面積の幅員は40M毎の平均値とする。", baLeft, 6.62,
                              17.44, 20, 17.94, 9));
        QCOMPARE(TextIn(page, 6.62, 17.94, 20, 18.44),
                 QString("２．設計面積の幅員は設計値とする。"));

        const struct
        {
            const char* text;
            double left, right;
        } factors[] = {{"A×", 10.11, 11.05}, {"B×", 11.06, 12},   {"C×", 14.86, 15.8},
                       {"D×", 15.81, 16.75}, {"E×", 16.76, 17.7}, {"C×", 21.51, 22.45},
                       {"D×", 22.46, 23.4},  {"E×", 23.41, 24.35}};
        for (const auto& f : factors)
            CHECK_PASSES(CheckBox(page, f.text, baLeft, f.left, 4.73, f.right, 5.24, 9));
        QCOMPARE(QString("A×").at(1).unicode(), char16_t(0xD7));

        for (int row = 0; row < 10; ++row) {
            const double y = RowTop(row);
            // "日計" and "累計" stacked in 8 points beside each half row.
            QCOMPARE(TextIn(page, 7.62, y, 8.2, y + 0.61), QString("日計"));
            QCOMPARE(TextIn(page, 7.62, y + 0.61, 8.2, y + 1.22), QString("累計"));
            for (const TPdfWord& w : WordsIn(page, 7.62, y, 8.2, y + 1.22))
                CHECK_PASSES(Mismatch(w.text, w.CentreX(), 79.1));

            const QDate date = QDate(2026, 11, 28).addDays(row);
            CHECK_PASSES(CheckBox(page, QString("%1/%2").arg(date.month()).arg(date.day()),
                                  baCenter, 1.5, y, 2.4, y + 1.22, 9));
            CHECK_PASSES(
                CheckBox(page, QString("No.%1+5.0").arg(row), baLeft, 2.5, y, 5.71, y + 1.22, 9));
            CHECK_PASSES(CheckBox(page, QString::number(41 + row) + ".0", baRight, 5.71, y, 6.6,
                                  y + 1.22, 9));
            CHECK_PASSES(CheckBox(page, "3.5", baRight, 6.65, y, 7.57, y + 1.22, 9));
            // Column D (actual tonnage, position 9): the day above, the
            // total up to it below, each split at its point.
            const double day = 9 + (row + 1) / 8.0;
            double total = 0;
            for (int d = 0; d <= row; ++d)
                total += 9 + (d + 1) / 8.0;
            const double x = ColumnLeft(3);
            CHECK_PASSES(CheckDecimal(page, Number(9, day), x + 0.05, y, x + 0.9, y + 0.61, 9));
            CHECK_PASSES(
                CheckDecimal(page, Number(9, total), x + 0.05, y + 0.61, x + 0.9, y + 1.22, 9));
        }
        // Two decimals as set, rounded half away from zero: 9 + 1/8.
        QCOMPARE(TextIn(page, ColumnLeft(3), RowTop(0), ColumnLeft(4), RowTop(0) + 0.61),
                 QString(".139"));
        QCOMPARE(TextIn(page, 1.5, RowTop(3), 2.4, RowTop(4)), QString("12/1"));
    }

    void oneLinePrintsEachNumberWholeFlushRight()
    {
        // One decimal everywhere, so that every number fits its box on one
        // line (a wider one wraps, as any text does).
        for (int key = 1; key <= 11; ++key)
            WriteSetting(QString("HojituKetasu%1").arg(key), "1");
        THojituHead4 head;
        Days(Header(head), 3);
        const TPdfPage page = Exported(head, {false, true}).value(0);
        for (int k = 0; k < 21; ++k) {
            const int p = kColumnPosition[k];
            const double x = ColumnLeft(k);
            CHECK_PASSES(CheckBox(page, Number(p, p + 3 / 8.0), baRight, x + 0.05, RowTop(2),
                                  x + 0.9, RowTop(2) + 0.61, 9));
            CHECK_PASSES(CheckBox(page, Number(p, 3 * p + 6 / 8.0), baRight, x + 0.05,
                                  RowTop(2) + 0.61, x + 0.9, RowTop(3), 9));
        }
    }

    void pagesHoldTenDaysEach_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("lastPageRows");
        QTest::newRow("10") << 10 << 1 << 10;
        QTest::newRow("11") << 11 << 2 << 1;
        QTest::newRow("20") << 20 << 2 << 10;
    }
    void pagesHoldTenDaysEach()
    {
        QFETCH(int, days);
        QFETCH(int, pages);
        QFETCH(int, lastPageRows);
        THojituHead4 head;
        Days(Header(head), days);
        const QList<TPdfPage> printed = Exported(head);
        QCOMPARE(printed.size(), pages);
        for (const TPdfPage& page : printed) {
            QCOMPARE(page.Find("アスファルト合材舗設実績表").size(), 1);
            QCOMPARE(page.Find("A×").size(), 1);
        }
        const TPdfPage& last = printed.last();
        int rows = 0;
        for (int row = 0; row < 10; ++row)
            rows += TextIn(last, 1.5, RowTop(row), 2.4, RowTop(row + 1)).isEmpty() ? 0 : 1;
        QCOMPARE(rows, lastPageRows);
        // The last day of all, in the row it falls on.
        const QDate date = QDate(2026, 11, 28).addDays(days - 1);
        QCOMPARE(TextIn(last, 1.5, RowTop(lastPageRows - 1), 2.4, RowTop(lastPageRows)),
                 QString("%1/%2").arg(date.month()).arg(date.day()));
    }

    void perMixtureRowsComeByDateThenHeaderWithTheTotalUnderTheLastOfADate()
    {
        // Two work types of the project with the mixture, and one of another
        // project that stays off the sheet. The surface course is stored
        // first: it has the smaller header ID although its name sorts after
        // the base course's, and its day of 1 June is saved after the other.
        THojituHead4 surface, base, other;
        const int s = Header(surface, "K001", "表層工");
        const int b = Header(base, "K001", "基層工");
        const int o = Header(other, "K002", "表層工");
        const TDateTime first = EncodeDate(2026, 6, 1);
        Day(b, first, "No.2", DayValues(2));
        Day(s, first, "No.1", DayValues(1));
        Day(s, first + 1, "No.3", DayValues(3));
        Day(o, first, "No.9", DayValues(40));
        const TPdfPage page = Exported(surface, {true, true}).value(0);

        CHECK_PASSES(CheckBox(page, "合材名　" + kPrintName, baLeft, 1.5, 2.5, 15, 3.0, 10));
        QCOMPARE(TextIn(page, 2.5, RowTop(0), 5.71, RowTop(1)), QString("表層工No.1"));
        CHECK_PASSES(CheckBox(page, "表層工", baLeft, 2.5, RowTop(0), 5.71, RowTop(0) + 0.61, 9));
        CHECK_PASSES(CheckBox(page, "No.1", baLeft, 2.5, RowTop(0) + 0.61, 5.71, RowTop(1), 9));
        QCOMPARE(TextIn(page, 2.5, RowTop(1), 5.71, RowTop(2)), QString("基層工No.2"));
        QCOMPARE(TextIn(page, 2.5, RowTop(2), 5.71, RowTop(3)), QString("表層工No.3"));
        QCOMPARE(TextIn(page, 1.5, RowTop(0), 2.4, RowTop(1)), QString("6/1"));
        QCOMPARE(TextIn(page, 1.5, RowTop(1), 2.4, RowTop(2)), QString("6/1"));
        QCOMPARE(TextIn(page, 1.5, RowTop(3), 2.4, RowTop(4)), QString());

        // Column A (position 2): no total under the first row of 1 June; the
        // total of both work types under the second, of all three days under
        // the third.
        const double x = ColumnLeft(0);
        const auto total = [&](int row) {
            return TextIn(page, x, RowTop(row) + 0.61, x + 0.95, RowTop(row + 1));
        };
        QCOMPARE(total(0), QString());
        QCOMPARE(total(1), Number(2, 2 + 1 / 8.0 + 2 + 2 / 8.0));
        QCOMPARE(total(2), Number(2, 6 + 6 / 8.0));
        QCOMPARE(TextIn(page, x, RowTop(0), x + 0.95, RowTop(0) + 0.61), Number(2, 2 + 1 / 8.0));
    }

    void unusedFillerColumnsStayEmpty_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<double>("fillerRatio");
        QTest::addColumn<bool>("printed");
        QTest::newRow("not printed: no filler") << "TRUE" << 0.0 << false;
        QTest::newRow("filler used") << "TRUE" << 2.5 << true;
        QTest::newRow("printed whatever it is") << "FALSE" << 0.0 << true;
        QTest::newRow("only TRUE counts") << "true" << 0.0 << true;
    }
    void unusedFillerColumnsStayEmpty()
    {
        QFETCH(QString, setting);
        QFETCH(double, fillerRatio);
        QFETCH(bool, printed);
        WriteSetting("FillerZeroPrint", setting);
        THojituHead4 head;
        THojituLine4::TValues values = DayValues(1);
        values[23] = fillerRatio;
        Day(Header(head), EncodeDate(2026, 6, 1), "No.1", values);
        const TPdfPage page = Exported(head, {false, true}).value(0);
        // "O" to "U", both halves.
        const QString filler = TextIn(page, ColumnLeft(14), RowTop(0), 28.2, RowTop(1));
        QCOMPARE(filler.isEmpty(), !printed);
        if (printed)
            QCOMPARE(TextIn(page, ColumnLeft(20), RowTop(0), 28.2, RowTop(0) + 0.61),
                     Number(32, 32 + 1 / 8.0));
        // The columns before are printed either way.
        QCOMPARE(TextIn(page, ColumnLeft(13), RowTop(0) + 0.61, ColumnLeft(14), RowTop(1)),
                 Number(22, 22 + 1 / 8.0));
    }

    void differenceFormulasFollowTheMode_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("formulas");
        const QStringList designMinus{"C-E", "D-E", "H-K", "I-K", "J-K", "O-R", "P-R", "Q-R"};
        QTest::newRow("design minus site") << "0" << designMinus;
        QTest::newRow("never set") << "" << designMinus;
        QTest::newRow("actual minus design")
            << "1" << QStringList{"E-C", "E-D", "K-H", "K-I", "K-J", "R-O", "R-P", "R-Q"};
    }
    void differenceFormulasFollowTheMode()
    {
        QFETCH(QString, setting);
        QFETCH(QStringList, formulas);
        WriteSetting("HojitsuSa", setting);
        THojituHead4 head;
        Days(Header(head), 1);
        const TPdfPage page = Exported(head).value(0);
        const double boxes[8][2] = {{12.95, 13.9}, {13.9, 14.85}, {18.65, 19.6}, {19.6, 20.55},
                                    {20.55, 21.5}, {25.3, 26.25}, {26.25, 27.2}, {27.2, 28.2}};
        for (int i = 0; i < 8; ++i)
            CHECK_PASSES(
                CheckBox(page, formulas[i], baCenter, boxes[i][0], 4.73, boxes[i][1], 5.24, 9));
    }

    void digitsSettingsAndEmptySizes()
    {
        WriteSetting("HojituKetasu12", "2");
        WriteSetting("HojituKetasu13", "0");
        WriteSetting("HojituKetasu1", "0");
        THojituHead4 head;
        THojituLine4::TValues values = DayValues(4); // 2.5 at position 2
        values[0] = 0;
        values[1] = 3.5;
        values[9] = 0;
        Day(Header(head), EncodeDate(2027, 1, 5), "", values);
        const TPdfPage page = Exported(head, {false, true}).value(0);
        const double y = RowTop(0);
        QCOMPARE(TextIn(page, 1.5, y, 2.4, y + 1.22), QString("1/5"));
        QCOMPARE(TextIn(page, 5.71, y, 6.6, y + 1.22), QString());     // no length
        QCOMPARE(TextIn(page, 6.65, y, 7.57, y + 1.22), QString("4")); // 3.5, no decimals
        QCOMPARE(TextIn(page, ColumnLeft(0), y, ColumnLeft(1), y + 0.61), QString("3"));
        QCOMPARE(TextIn(page, ColumnLeft(3), y, ColumnLeft(4), y + 0.61), QString("0.000"));
    }

    void everyPageHasTheChosenFont_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("font");
        QTest::newRow("chosen") << "ＭＳ 明朝"
                                << "IPAMincho";
        QTest::newRow("none chosen") << ""
                                     << "IPAPGothic";
    }
    void everyPageHasTheChosenFont()
    {
        QFETCH(QString, setting);
        QFETCH(QString, font);
        WriteSetting("DefaultFontName", setting);
        THojituHead4 head;
        Days(Header(head), 11);
        const QString file = TTestEnvironment::Current().NewFolder() + "/sheet.pdf";
        THojitsuSheet sheet(head, head.ID, {});
        sheet.Load();
        sheet.WritePdf(file);
        for (const char* page : {"1", "2"}) {
            QProcess fonts;
            fonts.start("pdffonts", {"-f", page, "-l", page, file});
            QVERIFY(fonts.waitForFinished());
            const QString listed = QString::fromUtf8(fonts.readAllStandardOutput());
            QVERIFY2(listed.contains(font), qPrintable(listed));
        }
    }

    void anOffsetLeftByAnotherSheetMovesNothingAndStays()
    {
        // The acceptance sheet drawn before, with its offsets of 26 and 30 mm.
        SetPageOffset(-2.6f, -3.0f);
        THojituHead4 head;
        Days(Header(head), 1);
        const TPdfPage page = Exported(head).value(0);
        CHECK_PASSES(
            CheckBox(page, "アスファルト合材舗設実績表", baCenter, 1.5, 1.7, 28.2, 2.2, 12));
        CHECK_PASSES(CheckBox(page, "A", baCenter, 8.2, 4.22, 9.15, 4.73, 9));
        QCOMPARE(PageOffsetX(), -2.6f);
        QCOMPARE(PageOffsetY(), -3.0f);
    }

    void aDateThatNeverFitsStopsShrinkingAtOnePoint()
    {
        THojituHead4 head;
        Days(Header(head), 2);
        THojitsuSheet sheet(head, head.ID, {});
        sheet.Load();
        // A device one pixel to the inch across: at every size the date is
        // measured wider than its box.
        TDeviceMetrics device = THojitsuSheet::PdfDevice();
        device.dpiX = 1;
        TPageStore store;
        struct : TSheetPages
        {
            TPageStore* store;
            TDeviceMetrics device;
            TCanvas* Canvas() override { return store->PageCanvas(); }
            TCanvas* NewPage() override { return store->NewPage(device); }
        } pages;
        pages.store = &store;
        pages.device = device;
        store.NewPage(device);
        sheet.Draw(pages);
        QCOMPARE(store.PageCanvas()->FontSize(), 1);
    }

    void noDaysGiveOneBlankPage()
    {
        THojituHead4 head;
        Header(head);
        const QList<TPdfPage> pages = Exported(head);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().words.isEmpty());
    }

    void aDatabaseErrorStopsTheSheetBeforeItIsDrawn()
    {
        THojituHead4 head;
        Days(Header(head), 1);
        TQuery("alter table HojituLine4 rename to Gone").Exec();
        THojitsuSheet sheet(head, head.ID, {});
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, sheet.Load());
    }

    void anUnusableDigitsSettingStopsTheSheetBeforeItIsDrawn()
    {
        WriteSetting("HojituKetasu7", "四");
        THojituHead4 head;
        Days(Header(head), 1);
        THojitsuSheet sheet(head, head.ID, {});
        try {
            sheet.Load();
            QFAIL("the sheet was loaded");
        } catch (const ESettingsError& e) {
            QVERIFY2(e.text().contains("HojituKetasu7") && e.text().contains("四"),
                     qPrintable(e.text()));
        }
    }
};

KANMURI_TEST_MAIN(TestHojitsuSheet)
#include "tst_THojitsuSheet.moc"
