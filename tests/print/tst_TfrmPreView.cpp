// "印刷プレビュー": the page fitted to the view, zoom in steps of 5, page
// buttons that stop at both ends, printing one page or the range; the
// windows of a sheet go away however its drawing ends.
#include "PrintTesting.h"
#include "controls/TfrmProgressBar.h"
#include "foundation/EKanmuriError.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TPrevX.h"
#include "print/TReportProgress.h"
#include "print/TUpDown.h"
#include "print/TfrmPreView.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <memory>

namespace {

void Fill(TPrevX& preview, int pages, QPageLayout::Orientation orientation)
{
    TZqPrinter::Instance().SetOrientation(orientation);
    preview.NewDocument();
    for (int n = 1; n <= pages; ++n) {
        if (n > 1)
            preview.NewPage();
        preview.PageCanvas()->SetFontName(QStringLiteral("ＭＳ ゴシック"));
        DrawBoxText(*preview.PageCanvas(), QStringLiteral("頁%1").arg(n), baLeft, 2, 2, 10, 3,
                    false, 1);
    }
    preview.EndDocument();
}

QStringList PrintedWords()
{
    QStringList words;
    for (const TPdfPage& page : ReadPdf(LastPrintedFile()))
        for (const TPdfWord& w : page.words)
            words << w.text;
    return words;
}

int Expected(const TfrmPreView& window, int fullHeight)
{
    const int view = window.findChild<QScrollArea*>("ScrollBox1")->height();
    return std::clamp(int(view / double(fullHeight) * 100 / 5) * 5, 25, 200);
}

} // namespace

class TestTfrmPreView : public QObject
{
    Q_OBJECT
private slots:
    void init() { UseCapturePrinter(); }

    void takesTheWorkAreaAndKeepsItsLayoutWhenResized()
    {
        TfrmPreView window;
        QCOMPARE(window.windowTitle(), QStringLiteral("印刷プレビュー"));
        QCOMPARE(window.geometry(), QGuiApplication::primaryScreen()->availableGeometry());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(300, 200);
        QCOMPARE(window.size(), QSize(640, 480));
        window.resize(1000, 700);
        QTRY_COMPARE(window.size(), QSize(1000, 700));
        QCOMPARE(ControlOf<QScrollArea>(&window, "ScrollBox1")->size(), QSize(991, 580));
        QCOMPARE(ControlOf<QPushButton>(&window, "Button2")->pos(), QPoint(1000 - 93, 700 - 68));
        QCOMPARE(ControlOf<QPushButton>(&window, "Button1")->pos(), QPoint(1000 - 173, 700 - 68));
        QCOMPARE(ControlOf<QPushButton>(&window, "Button5")->pos(), QPoint(1000 - 285, 700 - 68));
    }

    void thePageIsFittedToTheViewAndTheFitStaysPut_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::newRow("portrait") << int(QPageLayout::Portrait);
        QTest::newRow("landscape") << int(QPageLayout::Landscape);
    }
    void thePageIsFittedToTheViewAndTheFitStaysPut()
    {
        QFETCH(int, orientation);
        TfrmPreView window;
        window.resize(1000, 900);
        Fill(*window.PrevX1, 1, QPageLayout::Orientation(orientation));
        // The page's height at 100 % with the 10 pixels around it: 1123 or
        // 793 (A4 at 96 dpi), as the window was designed for.
        const int full = orientation == QPageLayout::Portrait ? 1143 : 813;
        QCOMPARE(window.PrevX1->SizeAt(100).height(), full);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        const int fitted = window.PrevX1->ZoomScale();
        QCOMPARE(fitted, Expected(window, full));
        QCOMPARE(window.MaskEdit1->text(), QString::number(fitted));
        // Fitting again, after the control took its new size, gives the same.
        window.FormActivate();
        window.FormActivate();
        QCOMPARE(window.PrevX1->ZoomScale(), fitted);
        QCOMPARE(window.PrevX1->height(), window.PrevX1->SizeAt(fitted).height());
    }

    void zoomStepsByFiveBetweenTheLimits()
    {
        TfrmPreView window;
        Fill(*window.PrevX1, 1, QPageLayout::Portrait);
        window.PrevX1->SetZoomScale(195);
        window.UpDown1->SetPosition(195);
        window.UpDown1->Click(true);
        QCOMPARE(window.PrevX1->ZoomScale(), 200);
        window.UpDown1->Click(true);
        QCOMPARE(window.PrevX1->ZoomScale(), 200);
        QCOMPARE(window.MaskEdit1->text(), QStringLiteral("200"));
        window.PrevX1->SetZoomScale(30);
        window.UpDown1->SetPosition(30);
        window.UpDown1->Click(false);
        window.UpDown1->Click(false);
        QCOMPARE(window.PrevX1->ZoomScale(), 25);
        // A zoom typed in takes effect; one outside the limits does not.
        window.MaskEdit1->setText(QStringLiteral("75"));
        emit window.MaskEdit1->editingFinished();
        QCOMPARE(window.PrevX1->ZoomScale(), 75);
        window.MaskEdit1->setText(QStringLiteral("abc"));
        emit window.MaskEdit1->editingFinished();
        QCOMPARE(window.PrevX1->ZoomScale(), 75);
        QCOMPARE(window.MaskEdit1->text(), QStringLiteral("75"));
    }

    void pageButtonsStopAtBothEndsWithoutFitting()
    {
        TfrmPreView window;
        Fill(*window.PrevX1, 3, QPageLayout::Portrait);
        window.FormActivate();
        auto* previous = ControlOf<QPushButton>(&window, "Button3");
        auto* next = ControlOf<QPushButton>(&window, "Button4");
        QVERIFY(!previous->isEnabled());
        QVERIFY(next->isEnabled());
        window.PrevX1->SetZoomScale(150); // the user's zoom stays
        next->click();
        next->click();
        QCOMPARE(window.PrevX1->CurrentPage(), 3);
        QVERIFY(!next->isEnabled());
        QVERIFY(previous->isEnabled());
        window.Button4Click(); // past the end: nothing
        QCOMPARE(window.PrevX1->CurrentPage(), 3);
        previous->click();
        QCOMPARE(window.PrevX1->CurrentPage(), 2);
        QCOMPARE(window.PrevX1->ZoomScale(), 150);
    }

    void printThisPageThenPrintPrintsTheWholeRange()
    {
        TfrmPreView window;
        Fill(*window.PrevX1, 3, QPageLayout::Portrait);
        window.FormActivate();
        ControlOf<QPushButton>(&window, "Button4")->click();
        ControlOf<QPushButton>(&window, "Button5")->click();
        QCOMPARE(PrintedWords(), QStringList({"頁2"}));
        ControlOf<QPushButton>(&window, "Button1")->click();
        QCOMPARE(PrintedWords(), QStringList({"頁1", "頁2", "頁3"}));
    }

    void theWheelScrollsOneStep()
    {
        TfrmPreView window;
        window.resize(800, 600);
        Fill(*window.PrevX1, 1, QPageLayout::Portrait);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.PrevX1->SetZoomScale(200);
        auto* area = ControlOf<QScrollArea>(&window, "ScrollBox1");
        QScrollBar* bar = area->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        const QPoint at = area->viewport()->rect().center();
        QWheelEvent down(at, area->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area->viewport(), &down);
        QCOMPARE(bar->value(), bar->singleStep());
    }

    void aSheetThatFailsLeavesNoWindowBehind()
    {
        // The way a sheet runs its preview: the windows are owned by the
        // routine, so a failure part way releases them.
        auto sheet = [] {
            auto preview = std::make_unique<TfrmPreView>();
            preview->PrevX1->NewDocument();
            TReportProgress progress(10);
            for (int n = 0; n < 10; ++n) {
                progress.Step(n);
                if (n == 4)
                    throw EKanmuriError(QStringLiteral("データベースを読めませんでした。"));
            }
            preview->PrevX1->EndDocument();
            preview->exec();
        };
        TTestEnvironment::Current().prompt.Clear();
        TApplication::Guard(sheet);
        QCOMPARE(TTestEnvironment::Current().prompt.Texts("error"),
                 QStringList({"データベースを読めませんでした。"}));
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QVERIFY(!qobject_cast<TfrmPreView*>(w));
            QVERIFY(!qobject_cast<TfrmProgressBar*>(w));
        }
    }
};

KANMURI_TEST_MAIN(TestTfrmPreView)
#include "tst_TfrmPreView.moc"
