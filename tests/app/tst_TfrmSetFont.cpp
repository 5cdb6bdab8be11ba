#include "app/TfrmSetFont.h"
#include "foundation/Settings.h"
#include "support/TTestEnvironment.h"

#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>

class TestSetFont : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmSetFont> form;

    template <typename T> T* Control(const char* name) { return ControlOf<T>(form.get(), name); }

    // Shows the dialog modally, as the main window does, and runs `action`
    // in it; the dialog is left however `action` leaves it.
    int Run(std::function<void()> action)
    {
        WhenModalShown([action](QWidget*) { action(); });
        return form->exec();
    }

    // Clicks "選択" and answers the system font dialog with `answer`.
    void ChooseWith(std::function<void(QFontDialog*)> answer)
    {
        bool asked = false;
        WhenModalShown([&](QWidget* w) {
            auto* dialog = qobject_cast<QFontDialog*>(w);
            QVERIFY(dialog);
            asked = true;
            answer(dialog);
        });
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
        QVERIFY(asked);
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        WriteSetting("DefaultFontName", "IPAMincho");
        form = std::make_unique<TfrmSetFont>();
    }
    void cleanup() { form.reset(); }

    void closeButtonSavesTheBox()
    {
        QCOMPARE(form->windowTitle(), QString("frmSetFont"));
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("IPAMincho"));
        Run([this] {
            Control<QLineEdit>("Edit1")->setText("IPAGothic");
            QTest::mouseClick(Control<QPushButton>("Button2"), Qt::LeftButton);
        });
        QVERIFY(!form->isVisible());
        QCOMPARE(ReadSetting("DefaultFontName"), QString("IPAGothic"));
    }

    void escapeSavesTheBoxButTheCloseBoxDoesNot()
    {
        Run([this] {
            Control<QLineEdit>("Edit1")->setText("");
            QTest::keyClick(Control<QLineEdit>("Edit1"), Qt::Key_Escape);
        });
        QVERIFY(!form->isVisible());
        QCOMPARE(ReadSetting("DefaultFontName"), QString());

        // The box keeps its text between showings, whatever the setting holds.
        WriteSetting("DefaultFontName", "IPAPGothic");
        Run([this] {
            QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString());
            Control<QLineEdit>("Edit1")->setText("IPAMincho");
            form->close();
        });
        QVERIFY(!form->isVisible());
        QCOMPARE(ReadSetting("DefaultFontName"), QString("IPAPGothic"));
    }

    void chosenFontReplacesTheBoxCancelLeavesIt()
    {
        QString initial;
        ChooseWith([&](QFontDialog* dialog) {
            initial = dialog->currentFont().family();
            dialog->setCurrentFont(QFont("IPAGothic"));
            dialog->reject();
        });
        // Opens at the standard sheet font (or what stands in for it here).
        QCOMPARE(initial, QFontInfo(QFont("ＭＳ Ｐゴシック")).family());
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("IPAMincho"));

        ChooseWith([](QFontDialog* dialog) {
            dialog->setCurrentFont(QFont("IPAGothic"));
            dialog->accept();
        });
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("IPAGothic"));
        QCOMPARE(ReadSetting("DefaultFontName"), QString("IPAMincho"));
    }
};

KANMURI_TEST_MAIN(TestSetFont)
#include "tst_TfrmSetFont.moc"
