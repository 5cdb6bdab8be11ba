// The preview control: pages recorded once and shown at a zoom, printed
// whole, by range or one at a time, each in its own orientation; a missing
// printer is reported where it matters and never while painting.
#include "PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/EPrevError.h"
#include "print/TCanvas.h"
#include "print/TPrevX.h"

#include <QImage>
#include <QScopeGuard>
#include <cmath>

namespace {

// A document whose page n shows "頁n", in the orientations given.
void Fill(TPrevX& preview, const QList<QPageLayout::Orientation>& orientations)
{
    TZqPrinter& printers = TZqPrinter::Instance();
    for (int n = 1; n <= orientations.size(); ++n) {
        printers.SetOrientation(orientations[n - 1]);
        if (n == 1)
            preview.NewDocument();
        else
            preview.NewPage();
        TCanvas& canvas = *preview.PageCanvas();
        canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        canvas.SetFontSize(12);
        DrawBoxText(canvas, QStringLiteral("頁%1").arg(n), baLeft, 2, 2, 10, 3, false, 1);
    }
    preview.EndDocument();
}

QStringList PrintedPages()
{
    QStringList texts;
    for (const TPdfPage& page : ReadPdf(LastPrintedFile())) {
        QStringList words;
        for (const TPdfWord& w : page.words)
            words << w.text;
        texts << words.join(QLatin1Char(' ')) + (page.width > page.height ? "/横" : "/縦");
    }
    return texts;
}

void NoPrinterAtAll()
{
    TZqPrinter& printers = TZqPrinter::Instance();
    printers.SetPrinterSource([] { return QList<TPrinterEntry>(); });
    printers.SetPdfPrinterEnabled(false);
}

} // namespace

class TestTPrevX : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        UseCapturePrinter();
        TTestEnvironment::Current().prompt.Clear();
    }

    void zoomAcceptsTwentyFiveToTwoHundredAndSizesTheControl()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait});
        QCOMPARE(preview.ZoomScale(), 25);
        for (int refused : {24, 201, 0, -100})
            preview.SetZoomScale(refused);
        QCOMPARE(preview.ZoomScale(), 25);
        preview.SetZoomScale(200);
        QCOMPARE(preview.ZoomScale(), 200);
        preview.SetZoomScale(100);
        // An A4 page at 96 pixels per inch, with 10 pixels around it.
        QCOMPARE(preview.size(), QSize(793 + 20, 1123 + 20));
        QCOMPARE(preview.SizeAt(50), QSize(397 + 20, 561 + 20));
    }

    void pagesRangeAndCurrentPageIgnoreWhatIsOutside()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait, QPageLayout::Portrait, QPageLayout::Portrait});
        QCOMPARE(preview.PageCount(), 3);
        QCOMPARE(preview.CurrentPage(), 1);
        QCOMPARE(preview.PrintFrom(), 1);
        QCOMPARE(preview.PrintTo(), 9999);
        preview.SetCurrentPage(4);
        preview.SetCurrentPage(0);
        QCOMPARE(preview.CurrentPage(), 1);
        preview.SetCurrentPage(3);
        QCOMPARE(preview.CurrentPage(), 3);
        preview.SetPrintFrom(4);
        preview.SetPrintFrom(0);
        QCOMPARE(preview.PrintFrom(), 1);
        preview.SetPrintTo(0);
        QCOMPARE(preview.PrintTo(), 9999);
        preview.SetPrintTo(20); // not held to the page count
        QCOMPARE(preview.PrintTo(), 20);

        // A new document starts over.
        Fill(preview, {QPageLayout::Portrait});
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(preview.CurrentPage(), 1);
        QCOMPARE(preview.PrintTo(), 9999);
    }

    void printingPrintsTheRangeEachPageInItsOrientation()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait, QPageLayout::Landscape, QPageLayout::Portrait,
                       QPageLayout::Landscape});
        preview.Print();
        QCOMPARE(PrintedPages(), QStringList({"頁1/縦", "頁2/横", "頁3/縦", "頁4/横"}));

        // A range that starts on a landscape page starts the job landscape.
        preview.SetPrintFrom(2);
        preview.SetPrintTo(3);
        preview.Print();
        QCOMPARE(PrintedPages(), QStringList({"頁2/横", "頁3/縦"}));
    }

    void onePageAloneLeavesTheRangeAsItWas()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait, QPageLayout::Portrait, QPageLayout::Landscape,
                       QPageLayout::Portrait});
        preview.SetPrintTo(2);
        preview.PrintPage(3);
        QCOMPARE(PrintedPages(), QStringList({"頁3/横"}));
        QCOMPARE(preview.PrintFrom(), 1);
        QCOMPARE(preview.PrintTo(), 2);
        preview.Print();
        QCOMPARE(PrintedPages(), QStringList({"頁1/縦", "頁2/縦"}));

        // Also when printing fails.
        TZqPrinter::Instance().SetCapture({QStringLiteral("/nonexistent/folder"), 1200, {}});
        try {
            preview.PrintPage(4);
            QFAIL("printed into a folder that does not exist");
        } catch (const EPrevError& e) {
            // The message names the file.
            QVERIFY2(e.text().contains(QStringLiteral("/nonexistent/folder/print-")),
                     qPrintable(e.text()));
        }
        QCOMPARE(preview.PrintFrom(), 1);
        QCOMPARE(preview.PrintTo(), 2);
    }

    void aRangeWithoutPagesStartsNoJob()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait, QPageLayout::Portrait});
        preview.SetPrintFrom(2);
        preview.SetPrintTo(1);
        preview.Print();
        QVERIFY(TZqPrinter::Instance().CapturedFiles().isEmpty());
        preview.SetPrintTo(9999); // 9999 on two pages prints the pages there are
        preview.SetPrintFrom(1);
        preview.Print();
        QCOMPARE(PrintedPages(), QStringList({"頁1/縦", "頁2/縦"}));
        // A document without pages prints nothing.
        TPrevX empty;
        empty.Print();
        QCOMPARE(TZqPrinter::Instance().CapturedFiles().size(), 1);
    }

    void stretchNarrowsThePageOnScreenAndOnPaper()
    {
        TPrevX preview;
        TZqPrinter::Instance().SetOrientation(QPageLayout::Portrait);
        preview.NewDocument();
        TCanvas& canvas = *preview.PageCanvas();
        canvas.SetFontName(QStringLiteral("ＭＳ ゴシック"));
        canvas.SetFontSize(12);
        DrawBoxText(canvas, QStringLiteral("右端"), baRight, 2, 2, 20, 3, false, 1);
        canvas.SetBrushStyle(Qt::SolidPattern);
        canvas.SetBrushColor(Qt::black);
        canvas.Rectangle(0, 2000, canvas.Device().pageWidth, 3000);
        preview.EndDocument();
        preview.SetZoomPrintX(90);
        preview.Print();
        const TPdfPage page = ReadPdf(LastPrintedFile()).value(0);
        QVERIFY(std::abs(page.One(QStringLiteral("右端")).right - 180.0) < 0.3);
        QVERIFY(std::abs(page.One(QStringLiteral("右端")).top -
                         page.One(QStringLiteral("右端")).top) < 0.01);

        preview.SetZoomScale(100);
        const QImage shown = preview.grab().toImage();
        // The black band spans 90 % of the sheet; the sheet's frame is whole.
        const int y = 10 + int(2500 * 96 / 1200.0);
        int black = 0;
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) < 60)
                ++black;
        QVERIFY2(std::abs(black - int(793 * 0.9)) <= 3, qPrintable(QString::number(black)));
        QCOMPARE(qGray(shown.pixel(10, 600)), 0);       // left edge of the sheet
        QCOMPARE(qGray(shown.pixel(10 + 793, 600)), 0); // right edge
    }

    void withoutAPrinterDrawingAndPrintingSaySoButPaintingDoesNot()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait});
        NoPrinterAtAll();
        auto restore = qScopeGuard([] { UseCapturePrinter(); });
        try {
            preview.Print();
            QFAIL("printed without a printer");
        } catch (const EPrevError& e) {
            QCOMPARE(e.text(), QStringLiteral("プリンタが登録されていません"));
        }
        QVERIFY_THROWS_EXCEPTION(EPrevError, preview.NewPage());
        QVERIFY_THROWS_EXCEPTION(EPrevError, preview.NewDocument());
        QCOMPARE(preview.PageCount(), 1); // the pages stay as they were

        // The pages there are can still be shown; an empty control paints
        // its background; neither raises an error.
        preview.show();
        preview.repaint();
        TPrevX empty;
        empty.resize(200, 200);
        empty.show();
        empty.repaint();
        QVERIFY(!empty.grab().isNull());
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
        // Printing nothing stays quiet.
        TPrevX none;
        none.Print();
    }

    void penWidthsFollowThePrinterResolution()
    {
        TPrevX preview;
        Fill(preview, {QPageLayout::Portrait});
        // Tenths of a 96-dpi screen pixel at 1200 dpi.
        QCOMPARE(preview.PenWidthFor(10), 13);
        QCOMPARE(preview.PenWidthFor(3), 4);
        QCOMPARE(preview.PenWidthFor(0), 1);
        UseCapturePrinter({}, 600);
        TPrevX other;
        QCOMPARE(other.PenWidthFor(4), 3);
    }
};

KANMURI_TEST_MAIN(TestTPrevX)
#include "tst_TPrevX.moc"
