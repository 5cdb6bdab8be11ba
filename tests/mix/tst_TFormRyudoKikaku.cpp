#include "controls/TvaSpread.h"
#include "foundation/Sieves.h"
#include "foundation/TQuery.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TRyudoKikaku.h"
#include "support/TTestEnvironment.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);

int RowCount()
{
    TQuery q("select count(*) from Ryudokikaku");
    q.Exec();
    q.Next();
    return q.Integer(0);
}

} // namespace

class TestFormRyudoKikaku : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFormRyudoKikaku> form;

    template <typename T> T* Control(const char* name) { return ControlOf<T>(form.get(), name); }
    TvaSpread* Grid() { return Control<TvaSpread>("vaSpread11"); }
    QComboBox* Name() { return Control<QComboBox>("ComboBox1"); }
    void Click(const char* button)
    {
        QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
    }
    void Trigger(const char* action) { TriggerAction(form.get(), action); }

    void Open()
    {
        form = std::make_unique<TFormRyudoKikaku>();
        QVERIFY(ActivateWindow(form.get()));
    }

    void Choose(const QString& name) { QVERIFY2(ChooseFromList(Name(), name), qPrintable(name)); }

    // Types into a value cell and presses Enter, as a user does.
    void TypeInto(int sieve, const QString& text)
    {
        Grid()->setFocus();
        Grid()->SetActiveCell(2, sieve + 1);
        for (QChar c : text)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    QStringList ValueColumn()
    {
        QStringList values;
        for (int row = 2; row <= 20; ++row)
            values << Grid()->Text(2, row);
        return values;
    }

    QImage Picture()
    {
        return Control<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The chart's colour at a point `across` of the way from the finest to
    // the coarsest sieve, at `percent`, placed by the chart's frame rules in
    // the window's font.
    QRgb Colour(const QImage& chart, int coarsest, double across, double percent)
    {
        const QFontMetrics m(form->font(), &chart);
        QString label;
        SieveLabel(coarsest, label);
        const int left = m.horizontalAdvance("100");
        const int right = 265 - m.horizontalAdvance(label) / 2;
        const int top = m.height() / 2;
        const int bottom = 201 - 2 * m.height();
        const QPoint at(int(std::lround(left + (right - left) * across)),
                        int(std::lround(top + (bottom - top) * (1 - percent / 100))));
        return chart.pixel(at) | 0xFF000000;
    }

    static int Count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) | 0xFF000000) == colour;
        return n;
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { form.reset(); }

    void freshDataFolderOpensOnTheStandardStandard()
    {
        form = std::make_unique<TFormRyudoKikaku>();
        // Creating the window installs the defaults, without a question.
        QCOMPARE(RowCount(), 16);
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());

        QVERIFY(ActivateWindow(form.get()));
        QCOMPARE(form->windowTitle(), QString("粒度規格の登録"));
        QCOMPARE(Name()->currentText(), QString("[0]標準"));
        QCOMPARE(Grid()->Text(1, 1), QString("フルイ目"));
        QCOMPARE(Grid()->Text(2, 1), QString("規格値"));
        QStringList labels;
        for (int row = 2; row <= 20; ++row)
            labels << Grid()->Text(1, row);
        QCOMPARE(labels.join(' '), QString("106.0 75.0 63.0 53.0 37.5 31.5 26.5 19.0 13.2 9.5 "
                                           "4.75 2.36 1.18 600μ 425μ 300μ 150μ 75μ 受皿"));
        QCOMPARE(ValueColumn(), QStringList(19, "-"));

        // Frame and scales over sieves 1 to 18, no band.
        const QImage chart = Picture();
        QCOMPARE(chart.size(), QSize(265, 201));
        QCOMPARE(Count(chart, kYellow), 0);
        QVERIFY(Count(chart, kBlack) > 500);
        QCOMPARE(Colour(chart, 1, 0.5, 100), kBlack);
        QCOMPARE(Colour(chart, 1, 0.5, 0), kBlack);
    }

    void choosingAStandardShowsItsValuesAndBand()
    {
        Open();
        TRyudoKikaku().Save("[3]利用者");
        Choose("[F]石粉");
        QStringList items;
        for (int i = 0; i < Name()->count(); ++i)
            items << Name()->itemText(i);
        QCOMPARE(items.mid(0, 3), QStringList({"[0]標準", "[3]利用者", "[C1]C-20"}));

        QCOMPARE(ValueColumn().join(','), QString(",,,,,,,,,,,,,100,,,90_100,70_100,"));

        // Sieves 14 (right edge), 17 and 18 (left edge); halfway between 18
        // and 17 the band runs from 80 to 100 percent.
        const QImage chart = Picture();
        QCOMPARE(Colour(chart, 14, 1.0 / 6, 90), kYellow);
        QCOMPARE(Colour(chart, 14, 1.0 / 6, 74), kWhite);
        QCOMPARE(Colour(chart, 14, 2.0 / 3, 97), kYellow);
        QCOMPARE(Colour(chart, 14, 2.0 / 3, 85), kWhite);
    }

    void enterRedrawsTheChartFromTheGrid()
    {
        Open();
        Trigger("mnuNew");
        QCOMPARE(Name()->currentText(), QString());
        QCOMPARE(ValueColumn(), QStringList(19, QString()));
        QCOMPARE(Grid()->Text(1, 20), QString("受皿"));

        TypeInto(1, "100");
        TypeInto(2, "90_100");
        QCOMPARE(Grid()->Text(2, 3), QString("90_100"));
        // Upper line at 100; lower line rising from 90 at sieve 2.
        const QImage chart = Picture();
        QCOMPARE(Colour(chart, 1, 0.1, 96), kYellow);
        QCOMPARE(Colour(chart, 1, 0.1, 87), kWhite);
        QCOMPARE(Colour(chart, 1, 0.8, 99), kYellow);

        // The pan is listed last and draws nothing of its own.
        TypeInto(19, "100");
        QCOMPARE(Picture(), chart);
    }

    void registeringSavesUnderTheShownName()
    {
        Open();
        Choose("[S2]S-13");
        Grid()->SetText(2, 9, " 90_100 ");
        Click("BitBtn1");
        TRyudoKikaku k;
        k.LoadByName("[S2]S-13");
        QCOMPARE(k.ID, 3);
        QCOMPARE(k.Values[7], QString("90_100"));
        QCOMPARE(RowCount(), 16);

        Name()->setEditText("[4]新しい規格");
        Trigger("mnuSave");
        k.LoadByName("[4]新しい規格");
        QCOMPARE(k.ID, 17);
        QCOMPARE(k.Values[7], QString("90_100"));
        QCOMPARE(k.UsedSieveCount(), 3);
    }

    void savingFromTheMenuKeepsACellStillBeingTyped()
    {
        Open();
        Choose("[S2]S-13");
        Grid()->setFocus();
        Grid()->SetActiveCell(2, 2);
        for (QChar c : QString("100"))
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        Trigger("mnuSave");
        TRyudoKikaku k;
        k.LoadByName("[S2]S-13");
        QCOMPARE(k.Values[0], QString("100"));
    }

    void registeringANameTooLongSaysSoAndSavesNothing()
    {
        // 40 characters whose first 30 name a standard: cut, they would
        // overwrite it.
        Open();
        Name()->setEditText(QString(30, u'x'));
        Click("BitBtn1");
        Name()->setFocus();
        Name()->lineEdit()->selectAll();
        QTest::keyClicks(Name()->lineEdit(), QString(40, u'x'));
        Grid()->SetText(2, 2, "100");
        Click("BitBtn1");
        QCOMPARE(Name()->currentText(), QString(40, u'x'));
        const QString message = TTestEnvironment::Current().prompt.LastText("message");
        QVERIFY2(message.contains("30文字"), qPrintable(message));
        // "採用" hands nothing over.
        Click("BitBtn3");
        QVERIFY(form->isVisible());
        TRyudoKikaku k;
        k.LoadByName(QString(30, u'x'));
        QCOMPARE(k.Values[0], QString("-"));
        QCOMPARE(RowCount(), 17);
    }

    void deletingActsAtOnceAndKeepsTheDisplay()
    {
        Open();
        Choose("[C1]C-20");
        Trigger("mnuDelete");
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
        QCOMPARE(RowCount(), 15);
        QCOMPARE(Name()->currentText(), QString("[C1]C-20"));
        QCOMPARE(Grid()->Text(2, 8), QString("100"));
    }

    void adoptingHandsTheNameOver()
    {
        form = std::make_unique<TFormRyudoKikaku>();
        WhenModalShown([&](QWidget* w) {
            QCOMPARE(w, form.get());
            QVERIFY(ActivateWindow(w));
            Choose("[M2]M-30");
            Grid()->SetText(2, 2, "100");
            Click("BitBtn3");
        });
        QVERIFY(form->Execute());
        QCOMPARE(form->KikakuName(), QString("[M2]M-30"));
        TRyudoKikaku k;
        k.LoadByName("[M2]M-30");
        QCOMPARE(k.Values[0], QString("100"));

        for (const char* closer : {"BitBtn2", "mnuClose"}) {
            WhenModalShown([&](QWidget* w) {
                QVERIFY(ActivateWindow(w));
                // Showing again starts from "[0]標準".
                QCOMPARE(Name()->currentText(), QString("[0]標準"));
                if (QByteArray(closer) == "BitBtn2")
                    Click(closer);
                else
                    Trigger(closer);
            });
            QVERIFY(!form->Execute());
        }
    }

    void blockCommandsOfThePopupMenu()
    {
        Open();
        TvaSpread* grid = Grid();
        QVERIFY(grid->PopupMenuEnabled());
        Trigger("mnuNew");
        grid->SetText(2, 2, "100");
        grid->SetSelectedBlock(2, 2, 2, 2);
        Control<QAction>("CopyAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("100"));

        // One copied cell fills a whole column selection.
        grid->SetSelectedBlock(2, 3, 2, 20);
        Control<QAction>("PasteAction")->trigger();
        QCOMPARE(ValueColumn(), QStringList(19, "100"));

        // Labels and headings stay whatever the block covers.
        grid->SetSelectedBlock(1, 1, 2, 20);
        Control<QAction>("ClearAction")->trigger();
        QCOMPARE(ValueColumn(), QStringList(19, QString()));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("100"));
        QCOMPARE(grid->Text(1, 2), QString("106.0"));
        QCOMPARE(grid->Text(2, 1), QString("規格値"));
    }
};

KANMURI_TEST_MAIN(TestFormRyudoKikaku)
#include "tst_TFormRyudoKikaku.moc"
