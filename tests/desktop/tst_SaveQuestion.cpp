// The question about unsaved typing in the main window, with real message
// boxes on a real desktop: answering it gives the focus back to the window,
// which must keep (or save) what was typed. The window is left as a user
// leaves it: the title bar's ×, Alt+F4, Esc, a menu clicked with the mouse.
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TvaSpread.h"
#include "foundation/TQuery.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TfrmEditKoji.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "store/THojituHead4.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

class TestSaveQuestion : public QObject
{
    Q_OBJECT

    TfrmEditHojitsu4* w = nullptr;

    void Choose(TComboBox* combo, const QString& text)
    {
        QVERIFY2(ChooseFromList(combo, text), qPrintable(text));
    }
    bool Active() const
    {
        const bool active = QTest::qWaitFor([this] { return w->isActiveWindow(); }, 5000);
        if (!active)
            qWarning() << "active window:" << QApplication::activeWindow()
                       << "modal:" << QApplication::activeModalWidget()
                       << "popup:" << QApplication::activePopupWidget();
        return active;
    }

    // The stored value of a position on a day ("2026-04-01").
    static double Stored(const QString& day, int position)
    {
        TQuery query(QString("select H%1 from HojituLine4 where HIDUKE = :Hiduke")
                         .arg(position, 2, 10, QChar('0')));
        query.BindDateTime(":Hiduke", FromQDate(QDate::fromString(day, Qt::ISODate))).Exec();
        return query.Next() ? query.Value(0).toDouble() : -1;
    }
    // Stores two days, 04/01 with 40 t at the site and 04/02 with 15 t,
    // and shows 04/01.
    void StoreTwoDays()
    {
        for (const auto& [date, tons] : {std::pair{"2026/04/01", "40"}, {"2026/04/02", "15"}}) {
            TypeAndLeave(w->ComboBox4, date);
            TypeIntoCell(w->vaSpread2, 4, 5, tons);
            QTest::mouseClick(w->Button2, Qt::LeftButton);
        }
        Choose(w->ComboBox4, "2026/04/01");
        QCOMPARE(w->vaSpread2->Text(4, 5), QString("40.000"));
    }
    // Types into a cell without Enter: the cell's editor stays open.
    void TypeIntoOpenCell(int col, int row, const QString& text)
    {
        w->vaSpread2->setFocus();
        w->vaSpread2->SetActiveCell(col, row);
        TypeText(w->vaSpread2, text);
        QVERIFY(w->vaSpread2->isAncestorOf(QApplication::focusWidget())); // its editor
    }
    // Types a day as a user does: date, length, width (Enter derives),
    // design thickness and site tonnage.
    void TypeDay(const QString& date, const QString& length, const QString& width,
                 const QString& thickness, const QString& tons)
    {
        TypeAndLeave(w->ComboBox4, date);
        TypeAndLeave(w->Edit2, length);
        w->Edit3->setFocus();
        w->Edit3->selectAll();
        QTest::keyClicks(w->Edit3, width);
        QTest::keyClick(w->Edit3, Qt::Key_Return);
        TypeIntoCell(w->vaSpread2, 2, 3, thickness);
        TypeIntoCell(w->vaSpread2, 4, 5, tons);
    }
    // Leaves the window (or its day) the way `how` names.
    void Leave(const QString& how)
    {
        if (how == "×")
            ClickTitleBarClose(w);
        else if (how == "Alt+F4")
            PressKeys("alt+F4");
        else if (how == "Esc")
            PressKeys("Escape");
        else if (how == "閉じる")
            QVERIFY(ClickMenuEntry(w, "mnuFile", "mnuClose"));
        else if (how == "開く") {
            WhenDialogActive<TfSelectMultiItems>([](TfSelectMultiItems* dialog) {
                dialog->ListView1->setCurrentIndex(dialog->ListView1->model()->index(0, 0));
                QTest::mouseClick(dialog->Button1, Qt::LeftButton);
            });
            QVERIFY(ClickMenuEntry(w, "mnuFile", "mnuOpen"));
        }
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        for (int i = 0; i < 3; ++i)
            TTestEnvironment::Current().prompt.AnswerNext(true);
        TForms::Instance().CreateAll();
        w = TForms::Instance().frmEditHojitsu4;
        TKoji project;
        project.Code = "K001";
        project.Kojimei = "国道1号舗装工事";
        project.Save();
        for (const char* name : {"表層工", "基層工"}) {
            TKosyu kosyu;
            kosyu.Kosyumei = name;
            kosyu.Save();
        }
        TGozaiDef mix;
        mix.EnsureTables(TPrompt::YesNo);
        mix.Clear();
        mix.DataName = mix.PrintName = "密粒度13";
        mix.Mitudo[2] = "2.350";
        mix.Ratios[1]->D[11] = 5.8;
        mix.Ratios[1]->D[8] = 4.5;
        mix.Save(mix.DataName);
        QVERIFY(DesktopActivate(w));
        Choose(w->ComboBox1, "K001:国道1号舗装工事");
        Choose(w->ComboBox2, "表層工");
        Choose(w->ComboBox3, "密粒度13");
    }
    void cleanup() { TForms::Instance().DestroyAll(); }

    void answersKeepOrSaveTheTyping()
    {
        TDesktopPrompt prompt;
        TypeIntoCell(w->vaSpread2, 4, 5, "40");
        QVERIFY(w->Modified());

        prompt.AnswerNextChoice(TAnswer::Cancel);
        Choose(w->ComboBox2, "基層工");
        QVERIFY(Active());
        Settle();
        QCOMPARE(prompt.Texts("yesnocancel").size(), 1);
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(w->vaSpread2->Text(4, 5), QString("40.000"));
        QCOMPARE(TableRows("HojituLine4"), QStringList());

        prompt.AnswerNextChoice(TAnswer::Yes);
        Choose(w->ComboBox2, "基層工");
        QVERIFY(Active());
        Settle();
        QCOMPARE(TableRows("HojituHead4"), QStringList{"1|K001|表層工|密粒度13"});
        QCOMPARE(w->ComboBox2->Text(), QString("基層工"));
        QCOMPARE(w->vaSpread2->Text(4, 5), QString("0.000"));

        // Closing the program with typing left: Cancel keeps the window.
        TypeIntoCell(w->vaSpread2, 4, 5, "12");
        prompt.AnswerNextChoice(TAnswer::Cancel);
        w->close();
        QVERIFY(Active());
        Settle();
        QVERIFY(w->isVisible());
        QCOMPARE(w->vaSpread2->Text(4, 5), QString("12.000"));
        QCOMPARE(prompt.Texts("yesnocancel").size(), 3);
    }

    void leavingTheDateAsksOnceAndTheFocusComesBack()
    {
        TDesktopPrompt prompt;
        TypeIntoCell(w->vaSpread2, 4, 5, "40");
        prompt.AnswerNextChoice(TAnswer::No);
        TypeAndLeave(w->ComboBox4, "2026/04/09");
        QVERIFY(Active());
        Settle();
        QCOMPARE(prompt.Texts("yesnocancel").size(), 1);
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/09"));
        QCOMPARE(w->vaSpread2->Text(4, 5), QString("0.000"));
        QVERIFY(!w->Modified());
    }

    void yesSavesTheDayTheQuestionNames_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"×", "Esc", "閉じる", "開く"})
            QTest::newRow(how) << QString(how);
    }
    void yesSavesTheDayTheQuestionNames()
    {
        QFETCH(QString, how);
        StoreTwoDays();
        TDesktopPrompt prompt;
        TypeIntoCell(w->vaSpread2, 4, 5, "44");
        // Another date typed into the box, and the window left at once.
        w->ComboBox4->setFocus();
        w->ComboBox4->lineEdit()->selectAll();
        TypeText(w->ComboBox4, "2026/04/02");
        prompt.AnswerNextChoice(TAnswer::Yes);
        Leave(how);
        QVERIFY(QTest::qWaitFor([&] { return prompt.Texts("yesnocancel").size() == 1; }, 5000));
        Settle();
        QVERIFY(prompt.Texts("yesnocancel").first().startsWith("2026/04/01 "));
        QCOMPARE(Stored("2026-04-01", 10), 44.0);
        QCOMPARE(Stored("2026-04-02", 10), 15.0);
        QCOMPARE(TableRows("HojituLine4").size(), 2);
    }

    void aValueStillBeingTypedIsNeverLost_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"×", "Alt+F4", "閉じる"})
            QTest::newRow(how) << QString(how);
    }
    void aValueStillBeingTypedIsNeverLost()
    {
        QFETCH(QString, how);
        StoreTwoDays();
        TDesktopPrompt prompt;
        TypeIntoOpenCell(4, 5, "48.5");
        prompt.AnswerNextChoice(TAnswer::Yes);
        Leave(how);
        QVERIFY(QTest::qWaitFor([&] { return prompt.Texts("yesnocancel").size() == 1; }, 5000));
        Settle();
        QCOMPARE(Stored("2026-04-01", 10), 48.5);
        QVERIFY(QTest::qWaitFor([this] { return !w->isVisible(); }, 5000));
    }

    void aNewDayIsPrefilledWhicheverBoxWasChangedLast()
    {
        TKoji other;
        other.Code = "K002";
        other.Kojimei = "県道5号補修工事";
        other.Save();
        TypeAndLeave(w->ComboBox4, "2026/04/01");
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        for (const auto& [box, text] :
             {std::pair{w->ComboBox2, "基層工"}, {w->ComboBox1, "K002:県道5号補修工事"}}) {
            Choose(box, text);
            QCOMPARE(w->ComboBox4->Text(), FormatDate(Now()));
            QCOMPARE(w->vaSpread2->Text(3, 3), QString("2.350"));
            QCOMPARE(w->vaSpread2->Text(3, 4), QString("2.350"));
            QCOMPARE(w->vaSpread2->Text(6, 3), QString("5.8"));
            QCOMPARE(w->vaSpread2->Text(9, 5), QString("4.5"));
            // Typed lengths and thickness give the tonnage and the amounts.
            TypeAndLeave(w->Edit2, "100");
            w->Edit3->setFocus();
            w->Edit3->selectAll();
            QTest::keyClicks(w->Edit3, "3.5");
            QTest::keyClick(w->Edit3, Qt::Key_Return);
            TypeIntoCell(w->vaSpread2, 2, 3, "5");
            QCOMPARE(w->vaSpread2->Text(4, 3), QString("41.125"));
            QCOMPARE(w->vaSpread2->Text(7, 3), QString("2.3853"));
            QTest::mouseClick(w->Button2, Qt::LeftButton);
        }
    }

    void aNewUsersDayLeavesWhatWasTypedAndSeen()
    {
        TfrmEditKoji* koji = TForms::Instance().frmEditKoji;
        QVERIFY(DesktopActivate(koji));
        koji->Edit1->setText("K002");
        koji->Edit2->setText("県道5号補修工事");
        QTest::mouseClick(koji->Button2, Qt::LeftButton);
        koji->close();
        QVERIFY(DesktopActivate(w));
        Choose(w->ComboBox1, "K002:県道5号補修工事");

        TDesktopPrompt prompt;
        TypeDay("2026/03/30", "100", "3.5", "5", "40");
        QCOMPARE(w->vaSpread2->Text(4, 3), QString("41.125"));
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        TypeDay("2026/03/31", "80", "3.25", "5", "30");
        TypeIntoCell(w->vaSpread2, 2, 3, "4.5"); // corrected after the tonnage was derived
        QCOMPARE(w->vaSpread2->Text(4, 3), QString("27.495"));
        QCOMPARE(w->vaSpread2->Text(7, 3), QString("1.5947"));
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        TypeDay("2026/04/01", "50", "3", "4", "14");
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        const QStringList stored = TableRows("HojituLine4");

        Choose(w->ComboBox4, "2026/03/31");
        QCOMPARE(w->Edit3->text(), QString("3.3"));
        QTest::mouseClick(w->Button2, Qt::LeftButton); // nothing changed
        QCOMPARE(TableRows("HojituLine4"), stored);

        Choose(w->ComboBox4, "2026/04/01");
        TypeIntoOpenCell(4, 5, "14.5");
        prompt.AnswerNextChoice(TAnswer::Yes);
        ClickTitleBarClose(w);
        QVERIFY(QTest::qWaitFor([this] { return !w->isVisible(); }, 5000));
        QCOMPARE(prompt.Texts("yesnocancel").size(), 1);
        QCOMPARE(Stored("2026-03-30", 8), 41.125);
        QCOMPARE(Stored("2026-03-31", 1), 3.25);
        QCOMPARE(Stored("2026-03-31", 4), 4.5);
        QCOMPARE(Stored("2026-03-31", 10), 30.0);
        QCOMPARE(Stored("2026-04-01", 10), 14.5);
        QCOMPARE(TableRows("HojituLine4").size(), 3);
    }

    void deletingTheDayTypedIntoTheBoxNamesIt()
    {
        StoreTwoDays();
        TDesktopPrompt prompt;
        w->ComboBox4->setFocus();
        w->ComboBox4->lineEdit()->selectAll();
        TypeText(w->ComboBox4, "2026/04/02");
        prompt.AnswerNext(true);
        QVERIFY(ClickMenuEntry(w, "mnuFile", "mnuDeleteDay"));
        QVERIFY(QTest::qWaitFor([&] { return !prompt.Texts("okcancel").isEmpty(); }, 5000));
        Settle();
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"2026/04/02 の舗設実績を削除しますか？"});
        QCOMPARE(Stored("2026-04-01", 10), 40.0);
        QCOMPARE(Stored("2026-04-02", 10), -1.0);
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
    }
};

KANMURI_TEST_MAIN(TestSaveQuestion)
#include "foundation/TPrompt.h"
#include "tst_SaveQuestion.moc"
