// "印刷設定": printer, font, offsets and stretch, kept in the "hin_"
// settings; fixed by "hin_fitprn"; the sheet gets the whole numbers that are
// saved, whatever was typed.
#include "PrintTesting.h"
#include "foundation/Settings.h"
#include "print/TFormPrintSet.h"
#include "print/TUpDown.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QList<TPrinterEntry> installed;

const QStringList kSettings = {"hin_prnname", "hin_prnfont",  "hin_prnleft",
                               "hin_prntop",  "hin_prnZoomX", "hin_prnZoomY"};

QStringList Saved()
{
    QStringList values;
    for (const QString& name : kSettings)
        values << ReadSetting(name);
    return values;
}

// Shows the window modal, runs `action` in it and returns its result.
int Run(TFormPrintSet& window, const std::function<void(TFormPrintSet&)>& action)
{
    WhenModalShown([&](QWidget*) {
        action(window);
        if (window.isVisible())
            window.reject();
    });
    return window.exec();
}

} // namespace

class TestTFormPrintSet : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        UseCapturePrinter();
        installed = {{"Laser A", 0}, {"Hidden fax", 0x20}, {"Inkjet B", 0}};
        TZqPrinter::Instance().SetPrinterSource([] { return installed; });
        TZqPrinter::Instance().SetIndex(-1);
    }

    void opensWithTheDefaultsWhenNothingIsSaved()
    {
        TFormPrintSet window;
        Run(window, [](TFormPrintSet& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("印刷設定"));
            QCOMPARE(w.Edit1->text(), QStringLiteral("26"));
            QCOMPARE(w.Edit2->text(), QStringLiteral("30"));
            QCOMPARE(w.Edit3->text(), QStringLiteral("100"));
            QCOMPARE(w.Edit4->text(), QStringLiteral("100"));
            QVERIFY(w.Edit1->isEnabled());
            // The visible printers and the PDF printer; the current one chosen.
            QStringList printers;
            for (int i = 0; i < w.ComboBox1->count(); ++i)
                printers << w.ComboBox1->itemText(i);
            QCOMPARE(printers, QStringList({"Laser A", "Inkjet B", TZqPrinter::PdfPrinterName()}));
            QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("Laser A"));
            QCOMPARE(w.FontName(), QStringLiteral("ＭＳ ゴシック"));
            for (int i = 0; i < w.ComboBox2->count(); ++i)
                QVERIFY(!w.ComboBox2->itemText(i).startsWith('@'));
        });
        QVERIFY(Saved().join(QString()).isEmpty());
    }

    void savedChoicesComeBackAndChooseThePrinter()
    {
        WriteSetting("hin_prnname", "Inkjet B");
        WriteSetting("hin_prnfont", "ＭＳ 明朝");
        WriteSetting("hin_prnleft", "-5");
        WriteSetting("hin_prntop", "12");
        WriteSetting("hin_prnZoomX", "95");
        WriteSetting("hin_prnZoomY", "");
        TFormPrintSet window;
        const int result = Run(window, [](TFormPrintSet& w) {
            QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("Inkjet B"));
            QCOMPARE(TZqPrinter::Instance().CurrentName(), QStringLiteral("Inkjet B"));
            QCOMPARE(w.FontName(), QStringLiteral("ＭＳ 明朝"));
            QCOMPARE(w.OffsetLeft(), -5);
            QCOMPARE(w.OffsetTop(), 12);
            QCOMPARE(w.ZoomX(), 95);
            QCOMPARE(w.ZoomY(), 100);
            ControlOf<QPushButton>(&w, "Button6")->click(); // "プレビュー"
        });
        QCOMPARE(result, int(TFormPrintSet::mrOk));
        QCOMPARE(Saved(), QStringList({"Inkjet B", "ＭＳ 明朝", "-5", "12", "95", "100"}));
        QCOMPARE(window.PrinterIndex(), 1);
    }

    void aPrinterNoLongerThereGivesWayToTheDefaultAndTheSavedNamesStay()
    {
        WriteSetting("hin_prnname", "Removed printer");
        WriteSetting("hin_prnfont", "No such font");
        TZqPrinter::Instance().SetIndex(1); // chosen elsewhere meanwhile
        TFormPrintSet window;
        const int result = Run(window, [](TFormPrintSet& w) {
            // The system's default printer is chosen, shown and printed on.
            QCOMPARE(w.ComboBox1->currentText(), QStringLiteral("Laser A"));
            QCOMPARE(TZqPrinter::Instance().CurrentName(), QStringLiteral("Laser A"));
            QCOMPARE(w.FontName(), QString());
            ControlOf<QPushButton>(&w, "Button1")->click(); // "印刷"
        });
        QCOMPARE(result, int(TFormPrintSet::mrYes));
        QCOMPARE(window.PrinterIndex(), 0);
        QCOMPARE(window.FontIndex(), -1);
        QCOMPARE(Saved().mid(0, 2), QStringList({"Laser A", "No such font"}));

        // Without a default printer a sheet goes to a file, not to the first
        // printer listed.
        TZqPrinter::Instance().SetPrinterSource([] { return installed; }, [] { return QString(); });
        WriteSetting("hin_prnname", "Removed printer");
        TFormPrintSet second;
        Run(second, [](TFormPrintSet& w) {
            QCOMPARE(w.ComboBox1->currentText(), TZqPrinter::PdfPrinterName());
            QCOMPARE(TZqPrinter::Instance().CurrentName(), TZqPrinter::PdfPrinterName());
        });
        QCOMPARE(second.PrinterIndex(), 2);
    }

    void theSheetGetsTheClampedNumbersThatAreSaved()
    {
        TFormPrintSet window;
        Run(window, [](TFormPrintSet& w) {
            w.Edit1->setText("-250");
            w.Edit2->setText("abc"); // keeps 30
            w.Edit3->setText("500");
            w.Edit4->setText("0");
            QCOMPARE(w.OffsetLeft(), -100);
            QCOMPARE(w.OffsetTop(), 30);
            QCOMPARE(w.ZoomX(), 300);
            QCOMPARE(w.ZoomY(), 1);
            ControlOf<QPushButton>(&w, "Button2")->click(); // "設定保存": stays open
            QVERIFY(w.isVisible());
            QCOMPARE(w.Edit2->text(), QStringLiteral("30"));
            QCOMPARE(w.Edit3->text(), QStringLiteral("300"));
            w.Edit3->clear(); // empty keeps 300
            QCOMPARE(w.ZoomX(), 300);
            // The arrows stop at the limits.
            w.UpDown4->Click(false);
            QCOMPARE(w.ZoomY(), 1);
            w.Edit1->setText("100");
            w.UpDown1->Click(true);
            QCOMPARE(w.OffsetLeft(), 100);
        });
        QCOMPARE(Saved().mid(2), QStringList({"-100", "30", "300", "1"}));
    }

    void aFittedInstallationFixesTheValuesAndSavesNothing()
    {
        WriteSetting("hin_fitprn", "true");
        WriteSetting("hin_prnleft", "5");
        TFormPrintSet window;
        const int result = Run(window, [](TFormPrintSet& w) {
            QCOMPARE(w.Edit1->text(), QStringLiteral("20"));
            QCOMPARE(w.Edit2->text(), QStringLiteral("10"));
            QCOMPARE(w.Edit3->text(), QStringLiteral("112"));
            QCOMPARE(w.Edit4->text(), QStringLiteral("116"));
            for (QWidget* c : std::initializer_list<QWidget*>{w.Edit1, w.Edit2, w.Edit3, w.Edit4,
                                                              w.UpDown1, w.UpDown4})
                QVERIFY(!c->isEnabled());
            w.ComboBox1->setCurrentIndex(1);
            ControlOf<QPushButton>(&w, "Button2")->click();
            ControlOf<QPushButton>(&w, "Button6")->click();
        });
        QCOMPARE(result, int(TFormPrintSet::mrOk));
        QCOMPARE(window.OffsetLeft(), 20);
        QCOMPARE(window.ZoomY(), 116);
        QCOMPARE(Saved(), QStringList({"", "", "5", "", "", ""}));
        QCOMPARE(TZqPrinter::Instance().CurrentName(), QStringLiteral("Inkjet B"));
        // Any other spelling does not fix them.
        WriteSetting("hin_fitprn", "TRUE");
        QVERIFY(!TFormPrintSet::Fitted());
    }

    void aPrinterInstalledMeanwhileIsOfferedNextTime()
    {
        TFormPrintSet first;
        Run(first, [](TFormPrintSet& w) { QCOMPARE(w.ComboBox1->count(), 3); });
        installed.append({"New plotter", 0});
        TFormPrintSet second;
        Run(second, [](TFormPrintSet& w) {
            QCOMPARE(w.ComboBox1->count(), 4);
            QCOMPARE(w.ComboBox1->itemText(2), QStringLiteral("New plotter"));
            // Choosing it makes it current.
            QVERIFY(ChooseFromList(w.ComboBox1, "New plotter"));
            QCOMPARE(TZqPrinter::Instance().CurrentName(), QStringLiteral("New plotter"));
        });
    }

    void withoutAnyPrinterTheButtonsStillClose()
    {
        installed.clear();
        TZqPrinter::Instance().SetPdfPrinterEnabled(false);
        TFormPrintSet window;
        const int result = Run(window, [](TFormPrintSet& w) {
            QCOMPARE(w.ComboBox1->count(), 0);
            ControlOf<QPushButton>(&w, "Button1")->click();
        });
        QCOMPARE(result, int(TFormPrintSet::mrYes));
        QCOMPARE(TTestEnvironment::Current().prompt.Texts("error"),
                 QStringList({"TZqPrinter.CheckNoPrinter: No Printer"}));
        TZqPrinter::Instance().SetPdfPrinterEnabled(true);
    }
};

KANMURI_TEST_MAIN(TestTFormPrintSet)
#include "tst_TFormPrintSet.moc"
