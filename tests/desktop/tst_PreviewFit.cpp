// The preview fits its page to the view when it is shown and when the focus
// comes from another window of the program, not when the user comes back
// from another program after choosing a zoom of their own.
#include "../print/PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TPrevX.h"
#include "print/TUpDown.h"
#include "print/TfrmPreView.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>

class TestPreviewFit : public QObject
{
    Q_OBJECT
private slots:
    void fitsOnShowingAndFromTheProgramsOwnWindowsOnly()
    {
        UseCapturePrinter();
        TZqPrinter::Instance().SetOrientation(QPageLayout::Landscape);
        QWidget main;
        main.setWindowTitle(QStringLiteral("main"));
        main.resize(300, 200);
        main.show();
        QVERIFY(DesktopActivate(&main));

        TfrmPreView preview;
        preview.PrevX1->NewDocument();
        DrawBoxText(*preview.PrevX1->PageCanvas(), QStringLiteral("頁"), baLeft, 2, 2, 5, 3, false,
                    1);
        preview.PrevX1->EndDocument();
        preview.resize(900, 800);
        preview.show();
        QVERIFY(DesktopActivate(&preview));
        Settle();
        const int fitted = preview.FittedZoom();
        QCOMPARE(preview.PrevX1->ZoomScale(), fitted);
        QVERIFY(fitted != 150);

        preview.UpDown1->SetPosition(145);
        preview.UpDown1->Click(true);
        QCOMPARE(preview.PrevX1->ZoomScale(), 150);

        TOtherProgram other;
        QVERIFY(other.Activate());
        QVERIFY(DesktopActivate(&preview));
        Settle();
        QCOMPARE(preview.PrevX1->ZoomScale(), 150);

        QVERIFY(DesktopActivate(&main));
        QVERIFY(DesktopActivate(&preview));
        Settle();
        QCOMPARE(preview.PrevX1->ZoomScale(), fitted);
        QCOMPARE(preview.MaskEdit1->text(), QString::number(fitted));
    }
};

KANMURI_TEST_MAIN(TestPreviewFit)
#include "tst_PreviewFit.moc"
