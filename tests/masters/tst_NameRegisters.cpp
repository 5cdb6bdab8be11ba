#include "controls/TComboBox.h"
#include "controls/TfrmListBox.h"
#include "foundation/Rows.h"
#include "foundation/TQuery.h"
#include "help/THelp.h"
#include "help/TfrmHelp.h"
#include "masters/THacchusya.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"
#include "support/TTestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

class TestNameRegisters : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void tablesHaveTheirColumnsInOrder()
    {
        QVERIFY(!THacchusya::EnsureTables());
        QVERIFY(THacchusya::EnsureTables());
        TUkeoisya::EnsureTables();
        TSimei person; // creating a person record makes its table
        QVERIFY(TSimei::EnsureTables());
        QCOMPARE(TableColumns("Ukeoisya"),
                 QStringList({"UKEOISYAMEI", "JUSYO", "KAISYA", "DAIHYOSYA", "JVFLAG"}));
        QCOMPARE(TableColumns("Simei"), QStringList({"FURIGANA", "SIMEI"}));
    }

    void savingANameAgainUpdatesItsRow()
    {
        TUkeoisya::EnsureTables();
        TUkeoisya c;
        c.Ukeoisyamei = "北海舗道";
        c.Jusyo = "札幌市";
        c.JVFlag = true;
        c.Save();
        c.Jusyo = "旭川市";
        c.Save();
        QCOMPARE(TableRows("Ukeoisya"), QStringList({"北海舗道|旭川市|||1"}));

        c.Ukeoisyamei = "   ";
        c.Save(); // blank name: nothing written
        QCOMPARE(TableRows("Ukeoisya").size(), 1);

        TUkeoisya other;
        other.LoadByName("未登録");
        QCOMPARE(other.Ukeoisyamei, QString("未登録"));
        QVERIFY(other.Jusyo.isEmpty() && !other.JVFlag);
        other.LoadByName("北海舗道");
        QCOMPARE(other.Jusyo, QString("旭川市"));
        QVERIFY(other.JVFlag);
    }

    void personIsTrimmedAndReadingDefaultsToName()
    {
        TSimei p;
        p.Simei = "  佐藤 ";
        p.Furigana = " ";
        p.Save();
        QCOMPARE(TableRows("Simei"), QStringList({"佐藤|佐藤"}));
        TSimei q;
        q.Simei = "伊藤";
        q.Furigana = "いとう";
        q.Save();
        QStringList names;
        TSimei::FillList(names);
        QCOMPARE(names, QStringList({"伊藤", "佐藤"})); // by reading
    }

    void deletingAPersonKeepsOthersWithTheSameReading()
    {
        TSimei a;
        a.Simei = "佐藤";
        a.Furigana = "さとう";
        a.Save();
        TSimei b;
        b.Simei = "左藤";
        b.Furigana = "さとう";
        b.Save();
        a.Delete();
        QCOMPARE(TableRows("Simei"), QStringList({"さとう|左藤"}));
    }

    void contractorWindow()
    {
        TUkeoisya::EnsureTables();
        TUkeoisya c;
        c.Ukeoisyamei = "北海舗道";
        c.Jusyo = "札幌市";
        c.Kaisya = "北海舗道株式会社";
        c.Daihyosya = "山田";
        c.JVFlag = true;
        c.Save();

        TfrmEditUkeoisya w;
        w.show();
        QCOMPARE(w.windowTitle(), QString("請負者の登録"));
        QVERIFY(ChooseFromList(w.ComboBox1, "北海舗道"));
        QCOMPARE(w.Edit1->text(), QString("札幌市"));
        QCOMPARE(w.Edit2->text(), QString("北海舗道株式会社"));
        QCOMPARE(w.Edit3->text(), QString("山田"));
        QVERIFY(w.CheckBox1->isChecked());

        // New: everything empty; entering the empty company field copies the name.
        TriggerAction(&w, "mnuNew");
        QVERIFY(w.ComboBox1->Text().isEmpty() && !w.CheckBox1->isChecked());
        w.ComboBox1->SetText(" 道南建設 ");
        w.Edit2Enter();
        QCOMPARE(w.Edit2->text(), QString(" 道南建設 "));
        w.Edit2->setText("道南建設(株)");
        w.Edit2Enter();
        QCOMPARE(w.Edit2->text(), QString("道南建設(株)"));
        w.Edit1->setText(" 函館市 ");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QVERIFY(w.isVisible()); // registering keeps the window open
        QVERIFY(TableRows("Ukeoisya").contains("道南建設|函館市|道南建設(株)||0"));

        w.ComboBox1->SetText("北海舗道");
        TriggerAction(&w, "mnuDelete");
        QCOMPARE(TableRows("Ukeoisya").size(), 1);
    }

    void clientWindowAndHelp()
    {
        THacchusya::EnsureTables();
        TfrmEditHacchusya w;
        w.show();
        w.ComboBox1->SetText("北海道開発局");
        w.Edit1->setText("局長 鈴木");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        w.Edit1->setText("局長 高橋");
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(TableRows("Hacchusya"), QStringList({"北海道開発局|局長 高橋"}));

        // F1 opens the client window's page (its topic "HID00000003").
        ActivateWindow(&w);
        QTest::keyClick(&w, Qt::Key_F1);
        QVERIFY(THelp::Window() && THelp::Window()->isVisible());
        QCOMPARE(THelp::Window()->CurrentPage(), QString("hacchusya"));
    }

    void personWindow()
    {
        TSimei a;
        a.Simei = "佐藤";
        a.Furigana = "さとう";
        a.Save();
        TfrmEditSimei w;
        w.show();
        // "氏名検索" shows the names; choosing one shows its reading.
        WhenModalShown([](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("ListBox1");
            QCOMPARE(modal->windowTitle(), QString("氏名の選択"));
            list->setCurrentRow(0);
            static_cast<TfrmListBox*>(modal)->Button1Click();
        });
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(w.Edit1->text(), QString("さとう"));
        QCOMPARE(w.Edit2->text(), QString("佐藤"));

        // "新規" empties the fields only; "削除" deletes the record as loaded.
        TriggerAction(&w, "mnuNew");
        QVERIFY(w.Edit1->text().isEmpty() && w.Edit2->text().isEmpty());
        w.Edit2->setText("高橋");
        TriggerAction(&w, "mnuDelete");
        QCOMPARE(TableRows("Simei"), QStringList());

        // "登録" in a modal showing closes it with OK.
        WhenModalShown([](QWidget* modal) {
            auto* dialog = static_cast<TfrmEditSimei*>(modal);
            dialog->Edit2->setText("高橋");
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        });
        TfrmEditSimei modal;
        QCOMPARE(modal.exec(), int(QDialog::Accepted));
        QCOMPARE(TableRows("Simei"), QStringList({"高橋|高橋"}));
    }
};

KANMURI_TEST_MAIN(TestNameRegisters)
#include "tst_NameRegisters.moc"
