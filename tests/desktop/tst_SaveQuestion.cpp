// The question about unsaved typing in the main window, with real message
// boxes on a real desktop: answering it gives the focus back to the window,
// which must keep (or save) what was typed.
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TvaSpread.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>

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
        mix.EnsureTables();
        mix.Clear();
        mix.DataName = mix.PrintName = "密粒度13";
        mix.Mitudo[2] = "2.350";
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
};

KANMURI_TEST_MAIN(TestSaveQuestion)
#include "tst_SaveQuestion.moc"
