#include "controls/TNValEdit.h"
#include "foundation/EKanmuriError.h"
#include "support/TTestEnvironment.h"

#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

class TestNValEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<QDialog> window;
    TNValEdit* edit = nullptr;
    QLineEdit* other = nullptr;

    TScriptedPrompt& Prompt() { return TTestEnvironment::Current().prompt; }
    int Beeps() const
    {
        int n = 0;
        for (const auto& shown : TTestEnvironment::Current().prompt.shown)
            n += shown.kind == "beep";
        return n;
    }

    // Keys as the user types them; "<" is Backspace.
    void Type(const QString& keys)
    {
        for (QChar c : keys) {
            if (c == u'<')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, QString(c));
        }
    }

    // What the text says must be what the value is, after every key.
    void TypeAgreeing(const QString& keys)
    {
        for (QChar c : keys) {
            Type(QString(c));
            QCOMPARE(edit->ParseText(edit->text()), edit->Value());
        }
    }

    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        window = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(window.get());
        edit = new TNValEdit(window.get());
        other = new QLineEdit(window.get());
        layout->addWidget(edit);
        layout->addWidget(other);
        window->show();
        QVERIFY(ActivateWindow(window.get()));
        edit->setFocus();
    }
    void cleanup() { window.reset(); }

    void typesLikeACalculator()
    {
        QVERIFY(edit->alignment() & Qt::AlignRight);
        Type("1234");
        QCOMPARE(edit->text(), QString("1,234"));
        QCOMPARE(edit->Value(), 1234.0);
        Type("-");
        QCOMPARE(edit->text(), QString("-1,234"));
        QCOMPARE(edit->Value(), -1234.0);
        Type("-");
        QCOMPARE(edit->text(), QString("1,234"));

        // Letters and other characters are never inserted.
        Type("x+ ");
        QCOMPARE(edit->text(), QString("1,234"));
        // The caret cannot be put inside the number.
        QTest::keyClick(edit, Qt::Key_Left);
        Type("5");
        QCOMPARE(edit->text(), QString("12,345"));
        // Home selects everything: the next digit starts a new number.
        QTest::keyClick(edit, Qt::Key_Home);
        Type("7");
        QCOMPARE(edit->text(), QString("7"));
    }

    void zeroPointAndDecimals()
    {
        Type("0");
        QCOMPARE(edit->text(), QString());
        Type(".");
        QCOMPARE(edit->text(), QString("0."));
        Type("5");
        QCOMPARE(edit->text(), QString("0.5"));
        QCOMPARE(edit->Value(), 0.5);
        Type(".");
        QCOMPARE(Beeps(), 1);
        QCOMPARE(edit->text(), QString("0.5"));

        // Typed decimals are held as typed, never as 0.28999...
        QTest::keyClick(edit, Qt::Key_Delete, Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_Home);
        Type("0.29");
        QCOMPARE(edit->Value(), 0.29);
        QCOMPARE(edit->text(), QString("0.29"));

        edit->SetZeroDisplay(true);
        edit->SetValue(0);
        QCOMPARE(edit->text(), QString("0"));
        edit->SetZeroDisplay(false);
        QCOMPARE(edit->text(), QString());
    }

    void digitLimits()
    {
        edit->SetFixDecimal(0);
        Type("12.");
        QCOMPARE(edit->text(), QString("12"));
        QCOMPARE(Beeps(), 1);

        edit->SetFixDecimal(-1);
        edit->SetMaxDigits(3);
        edit->SetValue(0);
        Type("1234");
        QCOMPARE(edit->text(), QString("123"));
        QCOMPARE(Beeps(), 2);

        // Five digits, two of them decimals: three before the point.
        edit->SetMaxDigits(5);
        edit->SetFixDecimal(2);
        edit->SetValue(0);
        Type("1234");
        QCOMPARE(edit->text(), QString("123"));
        QCOMPARE(Beeps(), 3);
        edit->SetValue(1.5);
        QCOMPARE(edit->text(), QString("1.50"));
        Type("7");
        QCOMPARE(Beeps(), 4);
        QCOMPARE(edit->Value(), 1.5);

        // Values beyond the digits become the largest one.
        edit->SetValue(123456);
        QCOMPARE(edit->Value(), 999.99);
        QCOMPARE(edit->text(), QString("999.99"));
    }

    void backspaceShortensAndKeepsTheSign()
    {
        edit->SetValue(12.3);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString("12."));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString("1"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(edit->Value(), 0.0);

        // "-12", Backspace, "-": the number stays negative until the "-"
        // makes it positive, in the text and in the value alike.
        edit->SetValue(0);
        TypeAgreeing("-12<");
        QCOMPARE(edit->text(), QString("-1"));
        QCOMPARE(edit->Value(), -1.0);
        TypeAgreeing("-");
        QCOMPARE(edit->text(), QString("1"));
        QCOMPARE(edit->Value(), 1.0);

        edit->SetValue(0);
        TypeAgreeing("12-<3.<<45.6-<<7-8<.09<<<-1.5<<");
        edit->SetValue(-0.5);
        TypeAgreeing("<3<<-.25<-");
    }

    void pasteReadsNumbersAsWritten()
    {
        Paste("1,234,567");
        QCOMPARE(edit->Value(), 1234567.0);
        QCOMPARE(edit->text(), QString("1,234,567"));
        Paste("1234,567");
        QCOMPARE(edit->Value(), 0.0);
        Paste("12a");
        QCOMPARE(edit->Value(), 0.0);
        Paste("１２３．５");
        QCOMPARE(edit->Value(), 123.5);
        Paste("-123,456");
        QCOMPARE(edit->Value(), -123456.0);
        Paste("$42");
        QCOMPARE(edit->Value(), 42.0);
        Paste("3.25\r\n"); // one cell copied from a spreadsheet
        QCOMPARE(edit->Value(), 3.25);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->Value(), 0.0);

        QCOMPARE(edit->ParseText(""), 0.0);
        QCOMPARE(edit->ParseText(",123"), 0.0);
        QCOMPARE(edit->ParseText("1,23"), 0.0);
        QCOMPARE(edit->ParseText("12,345.5"), 12345.5);
        QCOMPARE(edit->ParseText("1,234,567,890"), 1234567890.0);
        QCOMPARE(edit->ParseText("12.5,0"), 0.0);
        QCOMPARE(edit->ParseText("一"), 0.0);

        // A text set from outside is read the same way.
        edit->setText("2,500");
        QCOMPARE(edit->Value(), 2500.0);
    }

    void leadingMarkIsShownAndRead()
    {
        edit->SetLeadingChar(u'\\');
        edit->SetValue(1000);
        QCOMPARE(edit->text(), QString("\\1,000"));
        QCOMPARE(edit->ParseText(edit->text()), 1000.0);
        edit->SetValue(0);
        QCOMPARE(edit->text(), QString());
        edit->SetLeadingChar(QChar(9)); // a control character means none
        QCOMPARE(edit->LeadingChar(), QChar(u' '));
        edit->SetValue(5);
        QCOMPARE(edit->text(), QString("5"));
        edit->SetPutAComma(false);
        edit->SetValue(1234567);
        QCOMPARE(edit->text(), QString("1234567"));
    }

    void valuesKeepFifteenDigits()
    {
        edit->SetValue(123456.7);
        QCOMPARE(edit->text(), QString("123,456.7"));
        edit->SetMaxDigits(15);
        edit->SetValue(1234567890.12345);
        QCOMPARE(edit->text(), QString("1,234,567,890.12345"));
        QCOMPARE(edit->ParseText(edit->text()), 1234567890.12345);

        // Fixing the decimals cuts in decimal digits, never by a binary step.
        edit->SetValue(0.29);
        edit->SetFixDecimal(2);
        QCOMPARE(edit->Value(), 0.29);
        edit->SetFixDecimal(-1);
        edit->SetValue(1.239);
        edit->SetFixDecimal(2);
        QCOMPARE(edit->Value(), 1.23);
        QCOMPARE(edit->text(), QString("1.23"));
    }

    void escapeReturnsToTheValueAtFocus()
    {
        edit->SetValue(42);
        other->setFocus();
        edit->setFocus();
        Type("99");
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->Value(), 42.0);
        QCOMPARE(edit->text(), QString("42"));

        // Leaving the field writes the number in its usual form.
        Type(".");
        QCOMPARE(edit->text(), QString("42."));
        other->setFocus();
        QCOMPARE(edit->text(), QString("42"));
    }

    void negativeValuesFollowTheRules()
    {
        edit->SetPrmtNegative(false);
        edit->SetValue(-5);
        QCOMPARE(edit->Value(), 5.0);
        Type("-");
        QCOMPARE(Beeps(), 1);
        QCOMPARE(edit->text(), QString("5"));

        edit->SetPrmtNegative(true);
        edit->SetValue(-7);
        edit->SetPrmtNegative(false);
        QCOMPARE(edit->Value(), 7.0);
        // A "-" typed before any digit goes too.
        edit->SetPrmtNegative(true);
        edit->SetValue(0);
        Type("-");
        edit->SetPrmtNegative(false);
        Type("3");
        QCOMPARE(edit->Value(), 3.0);
    }

    void coloursOfNegativeValues()
    {
        const QColor normal = edit->palette().color(QPalette::Text);
        QCOMPARE(edit->MinusColor(), normal);
        edit->SetValue(-3);
        QCOMPARE(edit->palette().color(QPalette::Text), normal);

        edit->SetMinusColor(Qt::red);
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
        edit->SetValue(3);
        QCOMPARE(edit->palette().color(QPalette::Text), normal);
        Type("-");
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));

        // A colour given from outside while negative becomes the normal one.
        QPalette p = edit->palette();
        p.setColor(QPalette::Text, Qt::blue);
        edit->setPalette(p);
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
        Type("-");
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::blue));
    }

    void deleteAndClipboardCommands()
    {
        edit->SetValue(55);
        edit->setCursorPosition(2);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->Value(), 55.0);
        edit->SetDelAllClear(true);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->Value(), 0.0);
        QCOMPARE(edit->text(), QString());

        edit->SetValue(1234);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("1,234"));
        QCOMPARE(edit->Value(), 0.0);

        edit->setReadOnly(true);
        Paste("9");
        Type("8<");
        QCOMPARE(edit->Value(), 0.0);
    }

    void enterGoesToTheDefaultButtonOrTheNextField()
    {
        auto* button = new QPushButton("OK", window.get());
        window->layout()->addWidget(button);
        button->setDefault(true);
        button->show();
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++clicks; });
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(clicks, 1);

        edit->SetEnterNext(true);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(clicks, 1);
        QCOMPARE(QApplication::focusWidget(), other);

        edit->SetArrowNext(true);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), other);
    }

    void settersAdjustAtRunTime()
    {
        edit->SetMaxDigits(0);
        edit->SetMaxDigits(16);
        QCOMPARE(edit->MaxDigits(), 9);
        edit->SetFixDecimal(3);
        edit->SetMaxDigits(3); // would leave no integer digit
        QCOMPARE(edit->MaxDigits(), 9);
        edit->SetFixDecimal(12);
        QCOMPARE(edit->FixDecimal(), 8);
        edit->SetFixDecimal(-4);
        QCOMPARE(edit->FixDecimal(), -1);

        edit->SetValue(123456);
        edit->SetMaxDigits(4);
        QCOMPARE(edit->MaxDigits(), 4);
        QCOMPARE(edit->Value(), 9999.0);
        QVERIFY(Prompt().Texts("message").isEmpty());
    }

    void designerSettingsAreExplained()
    {
        edit->SetDesigning(true);
        edit->SetMaxDigits(16);
        QCOMPARE(Prompt().LastText("message"), QString("MaxDigits は 1 から 15 までです。"));
        edit->SetFixDecimal(3);
        edit->SetMaxDigits(2);
        QCOMPARE(Prompt().LastText("message"), QString("小数桁指定と矛盾しています"));
        edit->SetFixDecimal(9);
        QCOMPARE(Prompt().LastText("message"), QString("値が不正です"));
        QCOMPARE(edit->FixDecimal(), 3);
        edit->SetValue(12.5);
        edit->SetFixDecimal(0);
        QCOMPARE(Prompt().LastText("message"), QString("Value の小数桁数を指定桁数に変更します"));
        QCOMPARE(edit->Value(), 12.0);
        edit->SetValue(123456);
        edit->SetMaxDigits(3);
        QCOMPARE(Prompt().LastText("message"),
                 QString("最大桁数を超えるため Value をゼロにします"));
        QCOMPARE(edit->Value(), 0.0);
        edit->SetValue(-1);
        const int beeps = Beeps();
        edit->SetPrmtNegative(false);
        QCOMPARE(Prompt().LastText("message"), QString("Value を正の数に変換します"));
        QCOMPARE(Beeps(), beeps);
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, edit->SetValue(-2));
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, edit->SetValue(1000));
    }
};

KANMURI_TEST_MAIN(TestNValEdit)
#include "tst_TNValEdit.moc"
