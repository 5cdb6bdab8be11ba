#include "app/TfrmSetHojituKetasu.h"
#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "store/Digits.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QPushButton>

class TestSetHojituKetasu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmSetHojituKetasu> form;

    template <typename T> T* Control(const char* name) { return ControlOf<T>(form.get(), name); }

    static QString Key(int number) { return QStringLiteral("HojituKetasu%1").arg(number); }

    void Open()
    {
        form = std::make_unique<TfrmSetHojituKetasu>();
        QVERIFY(ActivateWindow(form.get()));
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }
    void cleanup() { form.reset(); }

    void creationWritesEveryDefaultOnAFreshStart()
    {
        form = std::make_unique<TfrmSetHojituKetasu>();
        const int order[] = {12, 13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        const QStringList defaults = {"1", "1", "1", "1", "3", "3", "3",
                                      "1", "4", "4", "1", "4", "4"};
        QStringList stored;
        for (int key : order)
            stored << ReadSetting(Key(key));
        QCOMPARE(stored, defaults);
        QCOMPARE(form->windowTitle(), QString("桁数の設定"));
        QVERIFY(!form->isModal());
    }

    void aBadValueDoesNotStopTheStart()
    {
        WriteSetting("HojituKetasu5", "x");
        form = std::make_unique<TfrmSetHojituKetasu>();
        QCOMPARE(ReadSetting("HojituKetasu5"), QString("x"));
        QCOMPARE(ReadSetting("HojituKetasu6"), QString("1"));
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void activationShowsTheSettingsUnderTheGridHeadings()
    {
        for (int key = 1; key <= 13; ++key)
            WriteSetting(Key(key), QString::number(key % 10));
        Open();
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("2"));
        QCOMPARE(Control<QLineEdit>("Edit2")->text(), QString("3"));
        auto* grid = Control<TvaSpread>("vaSpread1");
        QStringList groups, headings, digits;
        for (int col = 1; col <= 11; ++col) {
            groups << grid->Text(col, 1);
            headings << grid->Text(col, 2);
            digits << grid->Text(col, 3);
        }
        QCOMPARE(groups[0] + groups[5] + groups[8], QString("合材バインダー石粉"));
        QCOMPARE(grid->columnSpan(0, 0), 5);
        QCOMPARE(grid->columnSpan(0, 5), 3);
        QCOMPARE(grid->columnSpan(0, 8), 3);
        QCOMPARE(headings.join(","),
                 QString("面積,厚さ,密度,ｔ,差,配合率,積算量,差,配合率,積算量,差"));
        QCOMPARE(digits.join(","), QString("1,2,3,4,5,6,7,8,9,0,1"));
        QVERIFY(grid->Locked(3, 2));
        QVERIFY(!grid->Locked(3, 3));

        // Every activation reads the settings again.
        WriteSetting("HojituKetasu4", "0");
        form->hide();
        QVERIFY(ActivateWindow(form.get()));
        QCOMPARE(grid->Text(4, 3), QString("0"));
    }

    void okStoresTheTextsAsTheyStand()
    {
        Open();
        Control<QLineEdit>("Edit1")->setText("2");
        Control<QLineEdit>("Edit2")->setText("");
        auto* grid = Control<TvaSpread>("vaSpread1");
        grid->SetText(3, 3, "0");
        grid->SetText(7, 3, "abc");
        grid->SetText(11, 3, "");
        // Anything but a number of decimals is refused, naming the field;
        // nothing is stored meanwhile.
        auto& prompt = TTestEnvironment::Current().prompt;
        for (const char* bad : {"abc", "16", "-1", "1.5"}) {
            grid->SetText(7, 3, bad);
            QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
            QVERIFY(form->isVisible());
            QVERIFY2(prompt.LastText("message").contains("バインダーの積算量"),
                     qPrintable(prompt.LastText("message")));
            QCOMPARE(ReadSetting("HojituKetasu12"), QString("1"));
        }
        QCOMPARE(grid->ActiveCol(), 7);
        grid->SetText(7, 3, " 4 ");
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);

        QVERIFY(!form->isVisible());
        QCOMPARE(ReadSetting("HojituKetasu12"), QString("2"));
        QCOMPARE(ReadSetting("HojituKetasu13"), QString());
        QCOMPARE(ReadSetting("HojituKetasu3"), QString("0"));
        QCOMPARE(ReadSetting("HojituKetasu7"), QString(" 4 "));
        QCOMPARE(ReadSetting("HojituKetasu11"), QString());
        QCOMPARE(ReadSetting("HojituKetasu1"), QString("1"));

        // An emptied digits value gets its default back when next used.
        QCOMPARE(FormatDigits(1, 1.25), QString("1.3"));
        QCOMPARE(ReadSetting("HojituKetasu13"), QString("1"));
    }

    void enterInABoxIsOk()
    {
        Open();
        auto* edit = Control<QLineEdit>("Edit1");
        edit->setText("3");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!form->isVisible());
        QCOMPARE(ReadSetting("HojituKetasu12"), QString("3"));
    }

    void closingWritesNothing()
    {
        Open();
        Control<QLineEdit>("Edit1")->setText("5");
        Control<TvaSpread>("vaSpread1")->SetText(1, 3, "");
        form->close();
        QCOMPARE(ReadSetting("HojituKetasu12"), QString("1"));
        QCOMPARE(ReadSetting("HojituKetasu1"), QString("1"));
    }
};

KANMURI_TEST_MAIN(TestSetHojituKetasu)
#include "tst_TfrmSetHojituKetasu.moc"
