#include "controls/TComboBox.h"
#include "controls/TRadioGroup.h"
#include "controls/TfrmListBox.h"
#include "foundation/Rows.h"
#include "foundation/TQuery.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditSimei.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

void AddProject(const QString& code, const QString& name)
{
    TKoji k;
    k.Code = code;
    k.Kojimei = name;
    k.Save();
}

} // namespace

class TestKoji : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        TKoji::EnsureTables();
    }

    void tableAndRegistersAreCreated()
    {
        TTestEnvironment::Current().Reset();
        QVERIFY(!TKoji::EnsureTables());
        QVERIFY(TKoji::EnsureTables());
        QCOMPARE(TableColumns("Koji1"),
                 QStringList({"CODE", "KOJIMEI", "HACCHUSYA", "UKEOISYA", "DAIRININ", "YOSHIKI"}));
        QVERIFY(THacchusya::EnsureTables() && TUkeoisya::EnsureTables() && TSimei::EnsureTables());
    }

    void saveUpdatesTheRowOfATrimmedCode()
    {
        TKoji k;
        k.Code = " K001 ";
        k.Kojimei = "国道5号舗装工事";
        k.Yoshiki = 2;
        k.Save();
        k.Code = "K001";
        k.Kojimei = "国道5号舗装補修工事";
        k.Save();
        QCOMPARE(TableRows("Koji1"), QStringList({"K001|国道5号舗装補修工事||||2"}));

        TKoji found;
        found.LoadByCode("K001 ");
        QCOMPARE(found.Kojimei, QString("国道5号舗装補修工事"));
        QCOMPARE(found.Yoshiki, 2);
        found.LoadByCode("X9 ");
        QCOMPARE(found.Code, QString("X9 ")); // not found: as given
        QVERIFY(found.Kojimei.isEmpty());
        QCOMPARE(found.Yoshiki, 2); // the print format is not cleared

        k.Code = "  ";
        k.Save();
        QCOMPARE(TableRows("Koji1").size(), 1);
    }

    void deleteFindsACodeTypedWithBlanks()
    {
        AddProject("K001", "A");
        AddProject("K002", "B");
        TKoji k;
        k.Code = "K001 ";
        k.Delete();
        QCOMPARE(TableRows("Koji1"), QStringList({"K002|B||||0"}));
    }

    void saveAddsUnknownNamesToTheRegisters()
    {
        THacchusya known;
        known.Hacchusyamei = "札幌開発建設部";
        known.SyokuSimei = "部長 鈴木";
        known.Save();

        // Longer than the project table's own columns (client 20, contractor
        // 40): the project must still find them by the full name.
        const QString contractor = "北海道舗装・道東建設・十勝土木特定建設工事共同企業体（代表）";
        QVERIFY(contractor.size() > 20);
        TKoji k;
        k.Code = "K001";
        k.Client->LoadByName("札幌開発建設部");
        k.Contractor->LoadByName(contractor);
        k.SiteAgent->LoadByName(" 田中 ");
        k.Save();
        QCOMPARE(TableRows("Hacchusya"), QStringList({"札幌開発建設部|部長 鈴木"}));
        QCOMPARE(TableRows("Ukeoisya"), QStringList({contractor + "||||0"}));
        QCOMPARE(TableRows("Simei"), QStringList({"田中|田中"}));

        TKoji loaded;
        loaded.LoadByCode("K001");
        QCOMPARE(loaded.Client->SyokuSimei, QString("部長 鈴木"));
        QCOMPARE(loaded.Contractor->Ukeoisyamei, contractor);
        QCOMPARE(loaded.SiteAgent->Furigana, QString("田中"));
    }

    void failedSaveAddsNoNames()
    {
        RefuseInserts("Koji1");
        TKoji k;
        k.Code = "K001";
        k.Client->LoadByName("新しい発注者");
        k.SiteAgent->LoadByName("新しい代理人");
        QVERIFY_THROWS_EXCEPTION(std::exception, k.Save());
        QCOMPARE(TableRows("Hacchusya"), QStringList());
        QCOMPARE(TableRows("Simei"), QStringList());
    }

    void listSkipsBlankCodesInCodeOrder()
    {
        AddProject("K002", "B");
        AddProject("K001", "A");
        TQuery("insert into Koji1 (CODE, KOJIMEI) values ('  ', 'blank')").Exec();
        QStringList list{"old"};
        TKoji::FillList(list);
        QCOMPARE(list, QStringList({"K001:A", "K002:B"}));
    }

    void registerButtonFollowsEdits()
    {
        TfrmEditKoji w;
        w.show();
        w.FormActivate();
        QCOMPARE(w.windowTitle(), QString("工事名の登録"));
        QCOMPARE(w.Button2->text(), QString("閉じる"));
        QCOMPARE(w.Edit2->maxLength(), 128);

        QTest::keyClicks(w.Edit1, "K010");
        QCOMPARE(w.Button2->text(), QString("登録"));
        w.Edit2->setText("道道舗装工事");
        w.ComboBox3->SetText("石狩振興局");
        w.ComboBox1->SetText("中村");
        w.RadioGroup1->Item(1)->click();
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(w.Button2->text(), QString("閉じる"));
        QVERIFY(w.isVisible());
        QCOMPARE(TableRows("Koji1"), QStringList({"K010|道道舗装工事|石狩振興局||中村|1"}));
        QCOMPARE(TableRows("Hacchusya"), QStringList({"石狩振興局|"}));

        // Becoming active again shows the record, dropping unregistered typing.
        w.Edit2->setText("typed");
        w.FormActivate();
        QCOMPARE(w.Edit2->text(), QString("道道舗装工事"));
        QCOMPARE(w.Button2->text(), QString("閉じる"));

        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void registeringACodeTooLongSaysSoAndSavesNothing()
    {
        AddProject("K0100001", "A");
        TfrmEditKoji w;
        w.show();
        w.FormActivate();
        // Cut to 8 characters it would be the code of project "A".
        w.Edit1->setText("K01000012");
        w.Edit2->setText("B");
        QTest::mouseClick(w.Button2, Qt::LeftButton);
        QCOMPARE(TableRows("Koji1"), QStringList({"K0100001|A||||0"}));
        const QString message = TTestEnvironment::Current().prompt.LastText("message");
        QVERIFY2(message.contains("工事コード") && message.contains("8文字"), qPrintable(message));
        QCOMPARE(w.Edit1->text(), QString("K01000012"));
        QCOMPARE(w.Button2->text(), QString("登録"));
    }

    void searchLoadsTheChosenProject()
    {
        AddProject("K001", "A:部分");
        AddProject("K002", "B");
        TfrmEditKoji w;
        w.show();
        WhenModalShown([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QString("工事選択"));
            auto* list = modal->findChild<QListWidget*>("ListBox1");
            QCOMPARE(list->count(), 2);
            list->setCurrentRow(0);
            static_cast<TfrmListBox*>(modal)->Button1Click();
        });
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QCOMPARE(w.Edit1->text(), QString("K001"));
        QCOMPARE(w.Edit2->text(), QString("A:部分"));
        QCOMPARE(w.Button2->text(), QString("閉じる"));

        // OK with nothing selected gives an empty record.
        WhenModalShown([](QWidget* modal) { static_cast<TfrmListBox*>(modal)->Button1Click(); });
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QVERIFY(w.Edit1->text().isEmpty() && w.Edit2->text().isEmpty());
    }

    void choosingAContractorLoadsIt()
    {
        TUkeoisya c;
        c.Ukeoisyamei = "北海舗道";
        c.Jusyo = "札幌市";
        c.Save();
        TfrmEditKoji w;
        w.show();
        w.FormActivate();
        // Opening a list refills it without touching the field.
        w.ComboBox3->SetText("石狩");
        w.Button2->setText("閉じる");
        w.ComboBox3->showPopup();
        w.ComboBox3->hidePopup();
        QCOMPARE(w.ComboBox3->Text(), QString("石狩"));
        QCOMPARE(w.Button2->text(), QString("閉じる"));
        QVERIFY(ChooseFromList(w.ComboBox2, "北海舗道"));
        QCOMPARE(w.ComboBox2->Text(), QString("北海舗道"));
        QCOMPARE(w.Record()->Contractor->Jusyo, QString("札幌市"));
        QCOMPARE(w.Button2->text(), QString("登録"));
    }

    void deleteAsksFirst()
    {
        AddProject("K001", "A");
        TfrmEditKoji w;
        w.show();
        w.Edit1->setText("K001");
        auto& prompt = TTestEnvironment::Current().prompt;
        prompt.AnswerNext(false);
        TriggerAction(&w, "mnuDelete");
        QCOMPARE(prompt.LastText("okcancel"), QString("本当に削除しますか？"));
        QCOMPARE(TableRows("Koji1").size(), 1);
        prompt.AnswerNext(true);
        TriggerAction(&w, "mnuDelete");
        QCOMPARE(TableRows("Koji1").size(), 0);
        QCOMPARE(w.Edit1->text(), QString("K001")); // fields stay
    }

    void personWindowHandsTheNameBack()
    {
        TfrmEditKoji w;
        w.show();
        w.FormActivate();
        WhenModalShown([](QWidget* modal) {
            auto* dialog = qobject_cast<TfrmEditSimei*>(modal);
            QVERIFY(dialog);
            dialog->Edit2->setText("渡辺");
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        });
        TriggerAction(&w, "mnuSimei");
        // The window gets the focus back; the name must survive that.
        QApplication::processEvents();
        ActivateWindow(&w);
        QApplication::processEvents();
        QCOMPARE(w.ComboBox1->Text(), QString("渡辺"));
        QCOMPARE(w.Button2->text(), QString("登録"));
        QCOMPARE(TableRows("Simei"), QStringList({"渡辺|渡辺"}));
    }
};

KANMURI_TEST_MAIN(TestKoji)
#include "tst_TKoji.moc"
