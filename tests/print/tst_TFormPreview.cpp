// The acceptance sheet's preview: zoom in steps of 10 from 30 to 200, a page
// number that ignores what is not a page, print all or this page.
#include "PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TFormPreview.h"
#include "print/TPrevX.h"
#include "print/TUpDown.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

QStringList PrintedWords()
{
    QStringList words;
    for (const TPdfPage& page : ReadPdf(LastPrintedFile()))
        for (const TPdfWord& w : page.words)
            words << w.text;
    return words;
}

} // namespace

class TestTFormPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFormPreview> window;

private slots:
    void init()
    {
        UseCapturePrinter();
        window = std::make_unique<TFormPreview>();
        TPrevX& preview = *window->PrevX1;
        preview.NewDocument();
        for (int n = 1; n <= 2; ++n) {
            if (n > 1)
                preview.NewPage();
            preview.PageCanvas()->SetFontName(QStringLiteral("ＭＳ ゴシック"));
            DrawBoxText(*preview.PageCanvas(), QStringLiteral("頁%1").arg(n), baLeft, 2, 2, 10, 3,
                        false, 1);
        }
        preview.EndDocument();
        window->Edit1->setText(QStringLiteral("1"));
        window->UpDown1->SetMax(preview.PageCount());
    }
    void cleanup() { window.reset(); }

    void zoomStepsByTenAndStopsAtThirtyAndTwoHundred()
    {
        auto* plus = ControlOf<QPushButton>(window.get(), "Button5");
        auto* minus = ControlOf<QPushButton>(window.get(), "Button6");
        QCOMPARE(window->PrevX1->ZoomScale(), 60);
        plus->click();
        QCOMPARE(window->PrevX1->ZoomScale(), 70);
        for (int i = 0; i < 20; ++i)
            plus->click();
        QCOMPARE(window->PrevX1->ZoomScale(), 200);
        for (int i = 0; i < 20; ++i)
            minus->click();
        QCOMPARE(window->PrevX1->ZoomScale(), 30);
    }

    void thePageEditIgnoresWhatIsNotAPage()
    {
        TPrevX& preview = *window->PrevX1;
        window->Edit1->setText(QStringLiteral("2"));
        QCOMPARE(preview.CurrentPage(), 2);
        for (const QString& text :
             {QStringLiteral("abc"), QStringLiteral("0"), QString(), QStringLiteral("3")})
            window->Edit1->setText(text);
        QCOMPARE(preview.CurrentPage(), 2);
        window->Edit1->setText(QStringLiteral("１")); // typed with full-width digits
        QCOMPARE(preview.CurrentPage(), 1);
        // The arrows stop at the first and the last page.
        window->UpDown1->Click(false);
        QCOMPARE(preview.CurrentPage(), 1);
        window->UpDown1->Click(true);
        window->UpDown1->Click(true);
        QCOMPARE(preview.CurrentPage(), 2);
        QCOMPARE(window->Edit1->text(), QStringLiteral("2"));
    }

    void printsAllPagesOrThePageShown()
    {
        window->Edit1->setText(QStringLiteral("2"));
        ControlOf<QPushButton>(window.get(), "Button4")->click();
        QCOMPARE(PrintedWords(), QStringList({"頁2"}));
        ControlOf<QPushButton>(window.get(), "Button2")->click();
        QCOMPARE(PrintedWords(), QStringList({"頁1", "頁2"}));
    }

    void showsItselfMaximisedAndClosesWithCancel()
    {
        WhenModalShown([](QWidget* w) {
            QVERIFY(w->windowState() & Qt::WindowMaximized);
            ControlOf<QPushButton>(w, "BitBtn1")->click();
        });
        QCOMPARE(window->exec(), int(QDialog::Rejected));
    }
};

KANMURI_TEST_MAIN(TestTFormPreview)
#include "tst_TFormPreview.moc"
