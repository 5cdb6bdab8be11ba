// The program's printers: the system's visible printers and a PDF printer of
// its own; the list follows printers that come and go; printing to the PDF
// printer asks where to save.
#include "PrintTesting.h"
#include "print/CmDrawing.h"
#include "print/EPrevError.h"
#include "print/EZqPrinter.h"
#include "print/TCanvas.h"
#include "print/TPrevX.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>

namespace {

QList<TPrinterEntry> installed;

void UseInstalled(const QList<TPrinterEntry>& printers)
{
    installed = printers;
    TZqPrinter& p = TZqPrinter::Instance();
    p.SetPrinterSource([] { return installed; });
    p.SetPdfPrinterEnabled(true);
    p.SetCapture({});
}

template <typename E> QString TextOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.text();
    }
    return QStringLiteral("(nothing raised)");
}

} // namespace

class TestTZqPrinter : public QObject
{
    Q_OBJECT
private slots:
    void hiddenPrintersAreNotListedAndThePdfPrinterAlwaysIs()
    {
        UseInstalled({{"Laser A", 0}, {"Hidden fax", 0x20}, {"Inkjet B", 0x40}});
        TZqPrinter& p = TZqPrinter::Instance();
        QCOMPARE(p.Names(), QStringList({"Laser A", "Inkjet B", TZqPrinter::PdfPrinterName()}));
        QCOMPARE(p.GetIndex(), -1);
        QCOMPARE(p.CurrentName(), QStringLiteral("Laser A")); // the default
        p.SetIndex(1);
        QCOMPARE(p.GetIndex(), 1);
        QCOMPARE(p.CurrentName(), QStringLiteral("Inkjet B"));
        p.SetIndex(2);
        QVERIFY(p.IsPdfPrinter(p.GetIndex()));
        QCOMPARE(p.CurrentName(), TZqPrinter::PdfPrinterName());
        p.SetIndex(-1);
        QCOMPARE(p.CurrentName(), QStringLiteral("Laser A"));

        QCOMPARE(TextOf<EZQPrinterRangeError>([&] { p.SetIndex(-2); }),
                 QStringLiteral("TZqPrinter.SetIndex: Index is out of Range"));
        QCOMPARE(TextOf<EZQPrinterRangeError>([&] { p.SetIndex(3); }),
                 QStringLiteral("TZqPrinter.SetIndex: Index is out of Range"));
        QCOMPARE(p.GetIndex(), -1);
        QCOMPARE(EZqPrinterIllegalIndex().text(),
                 QStringLiteral("TZqPrinter.GetIndex: Printers.PrinterIndex is Illegal"));

        // Without any printer, or with hidden ones only, there is none.
        UseInstalled({{"Hidden fax", 0x20}});
        p.SetPdfPrinterEnabled(false);
        QVERIFY(!p.HasPrinter());
        QVERIFY(p.Names().isEmpty());
        const QString none = QStringLiteral("TZqPrinter.CheckNoPrinter: No Printer");
        QCOMPARE(TextOf<EZqPrinterNoPrinter>([&] { p.CheckNoPrinter(); }), none);
        QCOMPARE(TextOf<EZqPrinterNoPrinter>([&] { p.SetIndex(0); }), none);
        QCOMPARE(TextOf<EZqPrinter>([&] { p.GetIndex(); }), none);
        QCOMPARE(p.CurrentName(), QString());

        // With the PDF printer only, it is the default.
        p.SetPdfPrinterEnabled(true);
        QCOMPARE(p.Names(), QStringList({TZqPrinter::PdfPrinterName()}));
        QCOMPARE(p.CurrentName(), TZqPrinter::PdfPrinterName());
    }

    void theListFollowsPrintersThatComeAndGo()
    {
        UseInstalled({{"Laser A", 0}, {"Inkjet B", 0}});
        TZqPrinter& p = TZqPrinter::Instance();
        p.SetIndex(1);
        QSignalSpy changed(&p, &TZqPrinter::PrintersChanged);

        p.SettingsChanged(); // nothing changed
        QCOMPARE(changed.count(), 0);

        installed.prepend({"New plotter", 0});
        p.SettingsChanged();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(p.Names().first(), QStringLiteral("New plotter"));
        // The printer chosen stays chosen, at its new place.
        QCOMPARE(p.CurrentName(), QStringLiteral("Inkjet B"));
        QCOMPARE(p.GetIndex(), 2);

        // A printer hidden since counts as a change.
        installed[0].attributes = 0x20;
        p.SettingsChanged();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(p.GetIndex(), 1);

        // The chosen printer removed: the default printer again.
        installed.removeLast();
        p.SettingsChanged();
        QCOMPARE(p.GetIndex(), -1);
        QCOMPARE(p.CurrentName(), QStringLiteral("Laser A"));
    }

    void thePdfPrinterWritesTheWholeSheetWhereTheUserSaysSo()
    {
        UseInstalled({});
        TZqPrinter& p = TZqPrinter::Instance();
        const TDeviceMetrics device = p.Metrics();
        QCOMPARE(device.dpiX, 1200);
        QCOMPARE(device.offsetLeft, 0);
        QCOMPARE(device.pageWidth, device.paperWidth);
        QCOMPARE(device.paperWidth, 9917); // A4 at 1200 dpi

        TPrevX preview;
        preview.SetTitle(QStringLiteral("計量自記記録の合格判定値計算表"));
        preview.NewDocument();
        preview.PageCanvas()->SetFontName(QStringLiteral("ＭＳ ゴシック"));
        DrawBoxText(*preview.PageCanvas(), QStringLiteral("合格判定値"), baLeft, 3, 3, 10, 4, false,
                    1);
        preview.EndDocument();

        const QString target = TTestEnvironment::Current().NewFolder() + "/判定値.pdf";
        QString proposed;
        WhenModalShown([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("PdfFileDialog"));
            proposed = dialog->selectedFiles().value(0);
            // Typed into the name box, as a user does: selectFile() leaves the
            // box alone whenever the dialog already gave it the focus.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(target);
            static_cast<QDialog*>(dialog)->accept();
        });
        preview.Print();
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(documents).isDir())
            documents = QDir::homePath();
        QCOMPARE(QFileInfo(proposed).fileName(),
                 QStringLiteral("計量自記記録の合格判定値計算表 %1.pdf")
                     .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
        QCOMPARE(QFileInfo(proposed).absolutePath(), QFileInfo(documents).absoluteFilePath());
        const QList<TPdfPage> pages = ReadPdf(target);
        QCOMPARE(pages.size(), 1);
        // No unprintable margin: 3 cm from the paper's edge.
        QVERIFY(std::abs(pages[0].One(QStringLiteral("合格判定値")).left - 30.0) < 0.2);

        // Cancelled: nothing is written, nothing is reported.
        QFile::remove(target);
        WhenModalShown([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        preview.Print();
        QVERIFY(!QFile::exists(target));
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void aSheetNameIsMadeFitForAFileName()
    {
        const QString file = TZqPrinter::ProposedPdfFile(QStringLiteral("A/B:C*?"));
        QVERIFY(QFileInfo(file).fileName().startsWith(QStringLiteral("A_B_C__ ")));
        QVERIFY(QFileInfo(TZqPrinter::ProposedPdfFile(QString()))
                    .fileName()
                    .startsWith(QStringLiteral("印刷 ")));
    }

    void theTestPrinterHasTheResolutionAndMarginsAskedFor()
    {
        UseInstalled({{"Laser A", 0}});
        TZqPrinter::Instance().SetCapture(
            {TTestEnvironment::Current().NewFolder(), 600, {10, 10, 10, 10}});
        TZqPrinter& p = TZqPrinter::Instance();
        p.SetOrientation(QPageLayout::Landscape);
        const TDeviceMetrics device = p.Metrics();
        QCOMPARE(device.dpiY, 600);
        QVERIFY(device.IsLandscape());
        // 10 mm, which the PDF writer keeps in whole points
        QVERIFY2(std::abs(device.offsetLeft - 236) <= 5,
                 qPrintable(QString::number(device.offsetLeft)));
        QCOMPARE(device.pageWidth, device.paperWidth - 2 * device.offsetLeft);
        // A fresh copy of the default settings is portrait again.
        p.ResetDocumentSettings();
        QVERIFY(!p.Metrics().IsLandscape());
    }
};

KANMURI_TEST_MAIN(TestTZqPrinter)
#include "tst_TZqPrinter.moc"
