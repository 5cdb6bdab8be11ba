// The acceptance window on a real desktop: opened from the mix editor with
// what the editor shows, through the guideline's question, the print
// settings and the preview; when they have all closed, the editor still
// shows what was typed and not saved.
#include "acceptance/TFormGokakuHanteiti.h"
#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TfrmEditGozaiDef.h"
#include "print/TFormPreview.h"
#include "print/TFormPrintSet.h"
#include "print/TZqPrinter.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {

bool Activate(QWidget* window)
{
    for (int attempt = 0; attempt < 3; ++attempt)
        if (DesktopActivate(window))
            return true;
    return false;
}

} // namespace

class TestAcceptanceDesktop : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        WriteSetting("HaigoDataPath", TTestEnvironment::Current().NewFolder() + "/");
        TPlant plant;
        plant.Clear();
        plant.BatchWeight = "1000";
        plant.BinName = {"1番", "2番", "3番", "4番", "", ""};
        QVERIFY(plant.Save("第１プラント"));
        TZqPrinter& printers = TZqPrinter::Instance();
        printers.SetPrinterSource([] { return QList<TPrinterEntry>(); });
        printers.SetCapture({TTestEnvironment::Current().NewFolder(), 300, QMarginsF()});
    }

    void theEditorKeepsWhatWasTypedAfterThePrint()
    {
        TDesktopPrompt prompt;
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(true);
        QMainWindow main;
        main.setWindowTitle("main");
        main.resize(300, 200);
        auto* editor = new TfrmEditGozaiDef(&main);
        QVERIFY(Activate(&main));
        DesktopActivate(editor);
        QVERIFY(QTest::qWaitFor(
            [&] { return editor->isActiveWindow() && prompt.Texts("yesno").size() == 3; }, 30000));
        Settle();

        // A mixture with recycled material typed into the editor, not saved.
        const double ratios[] = {15, 20, 15, 1.4, 0, 0, 35, 5, 3.6, 0, 0, 4.5, 0, 0.5};
        for (int col = 1; col <= 14; ++col)
            for (int row = 1; row <= 2; ++row)
                editor->vaSpread11->SetText(col, row, QString::number(ratios[col - 1]));
        for (int row = 1; row <= 2; ++row) {
            editor->vaSpread11->setFocus();
            editor->vaSpread11->SetActiveCell(1, row);
            for (QChar c : QString("16"))
                QTest::keyClicks(QApplication::focusWidget(), QString(c));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        editor->vaSpread11->SetText(4, 2, "0.4"); // still 100 %
        Settle();
        QCOMPARE(editor->vaSpread11->Text(1, 2), QString("16.00"));

        QString method;
        QString grading;
        WhenDialogActive<TFormGokakuHanteitiKeisanHouhou>([&](auto* question) {
            WhenDialogActive<TFormGokakuHanteiti>([&](TFormGokakuHanteiti* window) {
                method = window->Label9->text();
                grading = window->vaSpread12->Text(1, 2);
                WhenDialogActive<TFormPrintSet>([](TFormPrintSet* settings) {
                    WhenDialogActive<TFormPreview>([](TFormPreview* preview) {
                        ControlOf<QPushButton>(preview, "Button2")->click();
                        QTimer::singleShot(300, preview, [preview] {
                            ControlOf<QPushButton>(preview, "BitBtn1")->click();
                        });
                    });
                    ControlOf<QPushButton>(settings, "Button6")->click();
                });
                window->BitBtn2->click();
            });
            question->BitBtn2->click();
        });
        QTest::mouseClick(editor->BitBtn3, Qt::LeftButton);
        // Back in the editor, as the user clicks into it.
        QVERIFY(QTest::qWaitFor([&] { return editor->isActiveWindow(); }, 3000) ||
                Activate(editor));
        Settle();

        QCOMPARE(method, QString("アスファルト舗装再生利用ガイドライン"));
        // Use 0 by the reuse guideline, S’ = 160 ÷ 514:
        // 0.01 × 514 × (12.2 − 0.06 × 31.13) = 53.11.
        QCOMPARE(grading, QString("160.00(-53.11～53.11)"));
        QCOMPARE(TZqPrinter::Instance().CapturedFiles().size(), 1);
        QCOMPARE(editor->vaSpread11->Text(1, 2), QString("16.00"));
        QCOMPARE(editor->vaSpread11->Text(4, 2), QString("0.40"));
        QVERIFY(prompt.Texts("error").isEmpty());
        QVERIFY(prompt.Texts("message").isEmpty());
    }
};

KANMURI_TEST_MAIN(TestAcceptanceDesktop)
#include "tst_AcceptanceDesktop.moc"
