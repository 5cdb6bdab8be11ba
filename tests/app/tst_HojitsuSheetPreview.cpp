// The editor's "ﾌﾟﾚﾋﾞｭｰ": the shown day is saved, the sheet is drawn with the
// progress window up and shown in "印刷プレビュー", from which it prints; the
// editor's boxes choose what the sheet shows. A sheet that fails says so
// once and leaves no window behind and nothing printed.
#include "HojitsuSheetTesting.h"
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TfrmProgressBar.h"
#include "print/TPrevX.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

using namespace SheetTesting;

class TestHojitsuSheetPreview : public QObject
{
    Q_OBJECT

    TfrmEditHojitsu4* w = nullptr;
    TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;

    int Windows() const
    {
        return int(w->findChildren<TfrmPreView*>().size() +
                   w->findChildren<TfrmProgressBar*>().size());
    }

    // Clicks "ﾌﾟﾚﾋﾞｭｰ", prints from the preview and closes it; the printed
    // pages, none when no preview came.
    QList<TPdfPage> PreviewAndPrint(int* pageCount = nullptr)
    {
        bool shown = false;
        WhenModalShown([&](QWidget* modal) {
            auto* preview = qobject_cast<TfrmPreView*>(modal);
            if (preview) {
                shown = preview->windowTitle() == QStringLiteral("印刷プレビュー");
                if (pageCount)
                    *pageCount = preview->PrevX1->PageCount();
                QVERIFY(preview->PrevX1->Pages().Device(0).IsLandscape());
                ControlOf<QPushButton>(preview, "Button1")->click();
            }
            modal->close();
        });
        QTest::mouseClick(w->Button1, Qt::LeftButton);
        return shown ? ReadPdf(LastPrintedFile()) : QList<TPdfPage>();
    }

    // Clicks "ﾌﾟﾚﾋﾞｭｰ" where no preview must come; true when none came.
    bool ClickWithoutPreview()
    {
        bool shown = false;
        WhenModalShown(
            [&](QWidget* modal) {
                shown = true;
                modal->close();
            },
            300);
        QTest::mouseClick(w->Button1, Qt::LeftButton);
        QTest::qWait(400);
        return !shown;
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        UseCapturePrinter();
        THojituHead4 head;
        Days(Header(head), 3);
        TForms::Instance().CreateAll();
        w = TForms::Instance().frmEditHojitsu4;
        QVERIFY(ActivateWindow(w));
        QVERIFY(ChooseFromList(w->ComboBox1, "K001:" + kProject));
        QVERIFY(ChooseFromList(w->ComboBox2, kWorkType));
        QVERIFY(ChooseFromList(w->ComboBox3, kMixture));
        prompt.Clear();
    }
    void cleanup() { TForms::Instance().DestroyAll(); }

    void theShownDayIsSavedThenPreviewedAndPrinted()
    {
        TypeAndLeave(w->Edit1, "No.99");
        const int windows = Windows();
        // The progress window while the sheet is drawn.
        QString progress;
        QTimer::singleShot(0, [&] {
            for (TfrmProgressBar* bar : w->findChildren<TfrmProgressBar*>())
                if (bar->isVisible())
                    progress = bar->windowTitle() + QString::number(bar->ProgressBar1->maximum());
        });
        int pageCount = 0;
        const QList<TPdfPage> pages = PreviewAndPrint(&pageCount);
        QCOMPARE(progress, QString("読込中3"));
        QCOMPARE(pageCount, 1);
        QCOMPARE(pages.size(), 1);
        const TPdfPage& page = pages.first();
        QCOMPARE(TextIn(page, 2.5, 5.24, 5.71, 6.46), QString("No.99"));
        QCOMPARE(TextIn(page, 1.5, 5.24 + 2 * 1.22, 2.4, 5.24 + 3 * 1.22), QString("11/30"));
        CHECK_PASSES(
            CheckBox(page, "工種　表層工 [ " + kPrintName + " ]", baLeft, 1.5, 2.5, 15, 3.0, 10));
        QCOMPARE(TextIn(page, 12.95, 4.73, 13.9, 5.24), QString("C-E"));
        QVERIFY(TableRows("HojituLine4").first().contains("No.99"));
        QCOMPARE(Windows(), windows);
        QVERIFY(prompt.shown.isEmpty());
    }

    void theBoxesChooseWhatTheSheetShows()
    {
        w->CheckBox2->click(); // totals per mixture
        w->CheckBox3->click(); // differences as actual minus design
        w->CheckBox5->click(); // one line
        const TPdfPage page = PreviewAndPrint().value(0);
        CHECK_PASSES(CheckBox(page, "合材名　" + kPrintName, baLeft, 1.5, 2.5, 15, 3.0, 10));
        QCOMPARE(TextIn(page, 2.5, 5.24, 5.71, 6.46), QString("表層工No.0+5.0"));
        QCOMPARE(TextIn(page, 12.95, 4.73, 13.9, 5.24), QString("E-C"));
        // 2 + 1/8 with one decimal, whole on one line.
        CHECK_PASSES(CheckBox(page, "2.1", baRight, 8.25, 5.24, 9.1, 5.85, 9));
    }

    void aDayThatCannotBeSavedIsNotPreviewed()
    {
        w->ComboBox4->SetText("明日");
        QVERIFY(ClickWithoutPreview());
        QCOMPARE(prompt.Texts("message").size(), 1);
        QVERIFY(prompt.Texts("message").first().contains("明日"));
        QVERIFY(TZqPrinter::Instance().CapturedFiles().isEmpty());
    }

    void anUnusableDigitsSettingIsShownOnceAndLeavesNothingBehind()
    {
        WriteSetting("HojituKetasu8", "x");
        const int windows = Windows();
        QVERIFY(ClickWithoutPreview());
        QCOMPARE(prompt.Texts("error").size(), 1);
        QVERIFY(prompt.Texts("error").first().contains("HojituKetasu8"));
        QCOMPARE(Windows(), windows);
        QVERIFY(TZqPrinter::Instance().CapturedFiles().isEmpty());
    }

    void withoutAPrinterThePreviewSaysSo()
    {
        TZqPrinter::Instance().SetPdfPrinterEnabled(false);
        const int windows = Windows();
        QVERIFY(ClickWithoutPreview());
        QCOMPARE(prompt.Texts("error"), QStringList{"プリンタが登録されていません"});
        QCOMPARE(Windows(), windows);
    }

    void aFailureWhileDrawingIsShownOnceAndLeavesNothingBehind()
    {
        Days(w->Head()->ID, 11);
        const int windows = Windows();
        // Once the progress window is up, the last printer goes away: the
        // second page cannot be begun.
        bool gone = false;
        QTimer::singleShot(0, [&] {
            if (!w->findChildren<TfrmProgressBar*>().isEmpty()) {
                TZqPrinter::Instance().SetPdfPrinterEnabled(false);
                gone = true;
            }
        });
        QVERIFY(ClickWithoutPreview());
        QVERIFY(gone);
        QCOMPARE(prompt.Texts("error"), QStringList{"プリンタが登録されていません"});
        QCOMPARE(Windows(), windows);
        QVERIFY(TZqPrinter::Instance().CapturedFiles().isEmpty());
    }
};

KANMURI_TEST_MAIN(TestHojitsuSheetPreview)
#include "tst_HojitsuSheetPreview.moc"
