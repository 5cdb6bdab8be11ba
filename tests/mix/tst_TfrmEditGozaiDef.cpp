#include "controls/TComboBox.h"
#include "controls/TFormSelect.h"
#include "controls/TvaSpread.h"
#include "foundation/Conversions.h"
#include "foundation/Rows.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "mix/ShiftJis.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TGozai.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"
#include "mix/TfrmEditGozaiDef.h"
#include "support/TTestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <memory>

namespace {

int Count(const QString& table)
{
    return TextsOf("select count(*) from " + table).value(0).toInt();
}

// Every ratio and range row belongs to exactly one definition.
void VerifyNoSharedOrOrphanedRows()
{
    QStringList ratio, range;
    for (int i = 0; i < 2; ++i)
        ratio += TextsOf(QString("select RituID%1 from GozaiDef").arg(i));
    for (int i = 0; i < 12; ++i)
        range += TextsOf(QString("select RyudoID%1 from GozaiDef").arg(i));
    QCOMPARE(QSet<QString>(ratio.begin(), ratio.end()).size(), ratio.size());
    QCOMPARE(QSet<QString>(range.begin(), range.end()).size(), range.size());
    QCOMPARE(Count("HBHaigoritu"), ratio.size());
    QCOMPARE(Count("RyudoRange"), range.size());
}

void SavePlant(const QString& name, const QStringList& bins, bool standard)
{
    TPlant plant;
    plant.Clear();
    for (int i = 0; i < bins.size(); ++i)
        plant.BinName[i] = bins[i];
    plant.Standard = standard ? 1 : 0;
    QVERIFY(plant.Save(name));
}

} // namespace

class TestFrmEditGozaiDef : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmEditGozaiDef> form;

    TScriptedPrompt& Prompt() { return TTestEnvironment::Current().prompt; }
    TvaSpread* Ratios() { return form->vaSpread11; }
    TvaSpread* Densities() { return form->vaSpread12; }
    TvaSpread* Ranges() { return form->vaSpread13; }
    TvaSpread* Masses() { return form->vaSpread14; }

    // The window as the main window shows it, every table question answered
    // Yes.
    void Open()
    {
        for (int i = 0; i < 3; ++i)
            Prompt().AnswerNext(true);
        form = std::make_unique<TfrmEditGozaiDef>();
        QVERIFY(ActivateWindow(form.get()));
    }

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The offscreen platform leaves no window active when a dialog closes; a
    // user would click into the window (which does not reload it then).
    void Focus()
    {
        if (!form->isActiveWindow())
            QVERIFY(ActivateWindow(form.get()));
    }

    // A key with its character, as the keyboard or the input method gives it.
    static void Key(QChar c)
    {
        QWidget* focus = QApplication::focusWidget();
        if (c.unicode() < 128) {
            QTest::keyClicks(focus, QString(c));
        } else {
            QTest::sendKeyEvent(QTest::Press, focus, Qt::Key_unknown, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c), {});
        }
    }

    // Types into a cell and presses Enter, as a user does.
    void Type(TvaSpread* grid, int col, int row, const QString& text)
    {
        Focus();
        grid->setFocus();
        grid->SetActiveCell(col, row);
        for (QChar c : text)
            Key(c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    void TypeName(const QString& name)
    {
        Focus();
        form->ComboBox1->lineEdit()->setFocus();
        form->ComboBox1->lineEdit()->selectAll();
        for (QChar c : name)
            Key(c);
    }

    // A definition typed into the window and saved with "登録".
    void EnterMix(const QString& name)
    {
        TriggerAction(form.get(), "mnuNew");
        TypeName(name);
        form->Edit1->setText(name + " 印刷");
        QVERIFY(ChooseFromList(form->ComboBox2, "[M1]M-25"));
        form->ComboBox3->setCurrentIndex(2);
        form->CheckBox1->setChecked(true);
        Type(Ratios(), 1, 1, "40");
        Type(Ratios(), 12, 2, "5.5");
        Type(Densities(), 1, 3, "2.350");
        Type(Ranges(), 1, 1, "100");
        Type(Ranges(), 12, 9, "2_10");
        Type(Masses(), 1, 1, "85_100");
        Click(form->BitBtn1);
    }

    void OpenByDialog(const QString& name)
    {
        WhenModalShown([name](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("ListBox1");
            const auto items = list->findItems(name, Qt::MatchExactly);
            if (!items.isEmpty())
                list->setCurrentItem(items.first());
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        TriggerAction(form.get(), "mnuOpen");
    }

    // "環境設定(&O)": the data folder set to `folder`, its table questions
    // answered Yes.
    void ChangeDataFolder(const QString& folder, int questions = 3)
    {
        WhenModalShown([folder](QWidget* modal) {
            modal->findChild<QLineEdit*>("Edit1")->setText(folder);
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        for (int i = 0; i < questions; ++i)
            Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuOption");
    }

    QStringList RowTexts(TvaSpread* grid, int row, int cols)
    {
        QStringList texts;
        for (int col = 1; col <= cols; ++col)
            texts << grid->Text(col, row);
        return texts;
    }

    QStringList RowHeadings(TvaSpread* grid)
    {
        QStringList headings;
        for (int row = 1; row <= grid->MaxRows(); ++row)
            headings << grid->Text(0, row);
        return headings;
    }

    // The widths of the bin columns of the three grids that have them.
    QList<double> BinWidths()
    {
        QList<double> widths;
        for (TvaSpread* grid : {Ratios(), Ranges(), Masses()})
            for (int bin = 1; bin <= 6; ++bin)
                widths << grid->ColWidth(bin);
        return widths;
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        WriteSetting("HaigoDataPath", TTestEnvironment::Current().NewFolder() + "/");
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { form.reset(); }

    void freshDataFolderAsksAndStaysUsableAfterNo()
    {
        form = std::make_unique<TfrmEditGozaiDef>();
        QVERIFY(Prompt().Texts("yesno").isEmpty()); // nothing asked at creation
        for (int i = 0; i < 3; ++i)
            Prompt().AnswerNext(false);
        QVERIFY(ActivateWindow(form.get()));
        QCOMPARE(Prompt().Texts("yesno"),
                 QStringList({"テーブルを作成しますか?", "データを作成しますか?",
                              "データを作成しますか?"}));
        QStringList captions;
        for (const auto& shown : Prompt().shown)
            if (shown.kind == "yesno")
                captions << shown.caption;
        QCOMPARE(captions, QStringList({"GozaiDef", "HBHaigoritu.DB", "RyudoRange.DB"}));
        QVERIFY(!TDatabase::TableExists("GozaiDef"));

        // Usable: the standard was loaded, and a save says what is missing.
        QCOMPARE(form->ComboBox2->currentText(), QString("[0]標準"));
        QCOMPARE(Ranges()->MaxRows(), 19);
        TypeName("密粒度13");
        Click(form->BitBtn1);
        QCOMPARE(Prompt().Texts("error").size(), 1);
        QVERIFY(Prompt().LastText("error").contains("GozaiDef"));
        QCOMPARE(form->ComboBox1->currentText(), QString("密粒度13"));

        // The next activation asks again; with Yes the save goes through.
        Prompt().Clear();
        for (int i = 0; i < 3; ++i)
            Prompt().AnswerNext(true);
        form->hide();
        QVERIFY(ActivateWindow(form.get()));
        QCOMPARE(Prompt().Texts("yesno").size(), 3);
        TypeName("密粒度13");
        Click(form->BitBtn1);
        QCOMPARE(TextsOf("select DataName from GozaiDef"), QStringList{"密粒度13"});
    }

    void createSaveAndReopen()
    {
        SavePlant("第１プラント", {"6号", "5号", "4号", "3号", "2号", "1号"}, true);
        Open();
        EnterMix("密粒度13");

        TGozaiDef stored;
        QVERIFY(stored.LoadByName("密粒度13"));
        QCOMPARE(stored.PrintName, QString("密粒度13 印刷"));
        QCOMPARE(stored.Standard->Kikakumei, QString("[M1]M-25"));
        QCOMPARE(stored.Kosyu, 2);
        QVERIFY(stored.Ruiseki);
        QCOMPARE(stored.Ratios[0]->D[0], 40.0);
        QCOMPARE(stored.Ratios[1]->D[11], 5.5);
        QCOMPARE(stored.Mitudo[2], QString("2.350"));
        QCOMPARE(stored.Ranges[0]->Values[0], QString("100"));
        QCOMPARE(stored.Ranges[11]->Values[8], QString("2_10"));
        QCOMPARE(stored.Jyuryo[0], QString("85_100"));
        QVERIFY(stored.Jyuryo[11].isEmpty());

        TriggerAction(form.get(), "mnuNew");
        QCOMPARE(form->ComboBox1->currentText(), QString());
        QCOMPARE(form->ComboBox2->currentText(), QString("[0]標準"));
        QCOMPARE(Ratios()->Text(1, 1), QString("0.00"));

        OpenByDialog("密粒度13");
        QCOMPARE(form->ComboBox1->currentText(), QString("密粒度13"));
        QCOMPARE(form->Edit1->text(), QString("密粒度13 印刷"));
        QCOMPARE(form->ComboBox3->currentText(), QString("表層基層（中間層）"));
        QVERIFY(form->CheckBox1->isChecked());
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));
        QCOMPARE(Ratios()->Text(12, 2), QString("5.50"));
        QCOMPARE(Densities()->Text(1, 3), QString("2.350"));
        QCOMPARE(Masses()->Text(1, 1), QString("85_100"));
        QCOMPARE(RowHeadings(Ranges()), QStringList({"31.5", "26.5", "19.0", "13.2", "4.75", "2.36",
                                                     "1.18", "425μ", "75μ"}));
        QCOMPARE(Ranges()->Text(12, 9), QString("2_10"));
        QCOMPARE(Ratios()->Text(1, 0), QString("6号"));
        QCOMPARE(Ratios()->Text(14, 0), QString("添加剤"));
        QCOMPARE(Ranges()->Text(12, 0), QString("目標粒度"));
        QCOMPARE(Masses()->Text(7, 0), QString("Ｒ１"));
        QCOMPARE(Densities()->Text(0, 4), QString("理論最大密度"));
    }

    void saveAsKeepsTheEditsAndLeavesTheSource()
    {
        Open();
        EnterMix("A");
        TGozaiDef a;
        a.LoadByName("A");
        const QStringList sourceRows =
            TableRows("GozaiDef") + TableRows("HBHaigoritu") + TableRows("RyudoRange");

        // Edits in all four grids, not saved under A.
        Type(Ratios(), 2, 1, "30");
        Type(Densities(), 1, 1, "1.05");
        Type(Ranges(), 2, 2, "90_100");
        Type(Masses(), 2, 1, "70_90");

        Prompt().AnswerNextInput(false, "B");
        TriggerAction(form.get(), "mnuSaveAs");
        QCOMPARE(Count("GozaiDef"), 1);
        QCOMPARE(Ratios()->Text(2, 1), QString("30.00"));

        Prompt().AnswerNextInput(true, "  ");
        TriggerAction(form.get(), "mnuSaveAs");
        QCOMPARE(Count("GozaiDef"), 1);
        QCOMPARE(Prompt().LastText("message"), QString("合材名を入力してください。"));

        Prompt().AnswerNextInput(true, "B");
        TriggerAction(form.get(), "mnuSaveAs");
        const auto& asked = Prompt().shown;
        QVERIFY(std::any_of(asked.begin(), asked.end(), [](const auto& shown) {
            return shown.kind == "input" && shown.caption == "名前を付けて保存";
        }));
        QCOMPARE(form->ComboBox1->currentText(), QString("B"));
        TGozaiDef b;
        QVERIFY(b.LoadByName("B"));
        QCOMPARE(b.Ratios[0]->D[1], 30.0);
        QCOMPARE(b.Ratios[1]->D[11], 5.5);
        QCOMPARE(b.Mitudo[0], QString("1.05"));
        QCOMPARE(b.Ranges[1]->Values[1], QString("90_100"));
        QCOMPARE(b.Jyuryo[1], QString("70_90"));
        QVERIFY(b.Ratios[0]->ID != a.Ratios[0]->ID && b.Ranges[11]->ID != a.Ranges[11]->ID);
        QCOMPARE(TableRows("GozaiDef").first(), sourceRows.first());
        for (const QString& row : sourceRows)
            QVERIFY2(TableRows("GozaiDef").contains(row) ||
                         TableRows("HBHaigoritu").contains(row) ||
                         TableRows("RyudoRange").contains(row),
                     qPrintable(row));
        VerifyNoSharedOrOrphanedRows();
    }

    void savingUnderANameTooLongSaysSoAndSavesNothing()
    {
        // Cut to the 64 characters the table holds, these names would save
        // over the definition of the first 64.
        const QString name = QString(64, u'x');
        Open();
        EnterMix(name);
        Type(Ratios(), 1, 1, "55");
        TypeName(name + "2");
        Click(form->BitBtn1);
        QCOMPARE(form->ComboBox1->currentText(), name + "2");
        QVERIFY2(Prompt().LastText("message").contains("64文字"),
                 qPrintable(Prompt().LastText("message")));

        Prompt().AnswerNextInput(true, name + "3");
        TriggerAction(form.get(), "mnuSaveAs");
        QCOMPARE(Prompt().Texts("message").size(), 2);
        QCOMPARE(TextsOf("select DataName from GozaiDef"), QStringList{name});
        TGozaiDef a;
        a.LoadByName(name);
        QCOMPARE(a.Ratios[0]->D[0], 40.0);
    }

    void aStandardTypedInsteadOfChosenIsTakenByName()
    {
        Open();
        TriggerAction(form.get(), "mnuNew");
        TypeName("A");
        Type(Ranges(), 1, 1, "100");
        // Typed without the list ever being opened.
        const auto typeStandard = [this](const QString& text) {
            Focus();
            form->ComboBox2->lineEdit()->setFocus();
            form->ComboBox2->lineEdit()->selectAll();
            for (QChar c : text)
                Key(c);
            Click(form->BitBtn1);
        };
        typeStandard("[C2]C-30");
        TGozaiDef a;
        a.LoadByName("A");
        QCOMPARE(a.Standard->ID, 13);
        QCOMPARE(a.Standard->Kikakumei, QString("[C2]C-30"));
        QCOMPARE(RowHeadings(Ranges()),
                 QStringList({"37.5", "31.5", "26.5", "19.0", "13.2", "4.75", "2.36"}));
        QCOMPARE(a.Ranges[0]->Values[0], QString("100"));

        // A name that is no standard is said so; nothing is stored.
        typeStandard("[C9]C-99");
        QVERIFY2(Prompt().LastText("message").contains("[C9]C-99"),
                 qPrintable(Prompt().LastText("message")));
        a.LoadByName("A");
        QCOMPARE(a.Standard->ID, 13);
        QCOMPARE(Ranges()->MaxRows(), 7);
    }

    void registeringAfterTheDataFolderChangedStoresNothingOfTheOldFolder()
    {
        // "[4]X" has another ID in the second folder than in the first.
        const QString first = TDatabase::AliasFolder(kAlias);
        const QString second = TTestEnvironment::Current().NewFolder();
        TRyudoKikaku standard;
        standard.Values[0] = "100";
        TDatabase::SetAliasFolder(kAlias, second);
        standard.EnsureTables();
        standard.Save("[5]Y");
        standard.Save("[4]X");
        TDatabase::SetAliasFolder(kAlias, first);
        Open();
        standard.Save("[4]X");

        TriggerAction(form.get(), "mnuNew");
        TypeName("A");
        QVERIFY(ChooseFromList(form->ComboBox2, "[4]X"));
        Type(Ratios(), 1, 1, "40");
        Click(form->BitBtn1);
        // The same folder again: what is typed stays.
        Type(Ratios(), 2, 1, "30");
        ChangeDataFolder(first, 0);
        QCOMPARE(Ratios()->Text(2, 1), QString("30.00"));
        ChangeDataFolder(second);
        Click(form->BitBtn1);
        // What is stored is what the window shows, by the second folder's IDs.
        TGozaiDef a;
        QVERIFY(a.LoadByName("A"));
        QCOMPARE(a.Standard->Kikakumei, form->ComboBox2->currentText());
        QCOMPARE(a.Ratios[0]->D[0], FloatOrZero(Ratios()->Text(1, 1)));
    }

    void pastingPassesOverHiddenBinColumns()
    {
        SavePlant("P", {"6号", "5号", "4号", "3号", "2号", "1号"}, true);
        Open();
        TriggerAction(form.get(), "mnuNew");
        TypeName("A");
        Type(Ratios(), 5, 1, "7");
        Click(form->BitBtn1);
        form->hide();
        SavePlant("Q", {"6号", "5号", "4号", "3号"}, true);
        QVERIFY(ActivateWindow(form.get()));

        // Six values copied from what the window shows go to the six columns
        // shown; the hidden bin 5 keeps its 7 %, which counts but is not seen.
        QGuiApplication::clipboard()->setText("1\t2\t3\t4\t5\t6");
        Ratios()->SetSelectedBlock(1, 1, 1, 1);
        QTest::keyClick(Ratios(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(RowTexts(Ratios(), 1, 8),
                 QStringList({"1.00", "2.00", "3.00", "4.00", "7.00", "0.00", "5.00", "6.00"}));
        // Copy and cut take what is seen and leave the hidden bins alone.
        Ratios()->SetSelectedBlock(1, 1, 8, 1);
        QTest::keyClick(Ratios(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("1.00\t2.00\t3.00\t4.00\t5.00\t6.00"));
        Click(form->BitBtn1);
        TGozaiDef a;
        a.LoadByName("A");
        QCOMPARE(a.Ratios[0]->D[4], 7.0);
        QCOMPARE(a.Ratios[0]->D[6], 0.0);
    }

    void saveOverAnotherNameKeepsEachDefinitionsRows()
    {
        Open();
        EnterMix("A");
        EnterMix("B");
        OpenByDialog("A");
        Type(Ratios(), 3, 1, "12.5");
        // With B in the name list, typing B and leaving the field is no
        // choice of B: what the window shows stays, to be saved as B.
        form->ComboBox1->showPopup();
        form->ComboBox1->hidePopup();
        TypeName("B");
        Click(form->BitBtn1);
        QCOMPARE(Ratios()->Text(3, 1), QString("12.50"));
        QCOMPARE(Count("GozaiDef"), 2);
        TGozaiDef b;
        b.LoadByName("B");
        QCOMPARE(b.Ratios[0]->D[2], 12.5);
        VerifyNoSharedOrOrphanedRows();

        // Changing B from now on leaves A alone, and deleting B empties
        // nothing of A.
        Type(Ratios(), 3, 1, "7");
        TriggerAction(form.get(), "mnuSave");
        TGozaiDef a;
        a.LoadByName("A");
        QCOMPARE(a.Ratios[0]->D[2], 0.0);
        Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuDelete");
        a.LoadByName("A");
        QCOMPARE(a.Ratios[0]->D[0], 40.0);
        QCOMPARE(a.Ranges[0]->Values[0], QString("100"));
        VerifyNoSharedOrOrphanedRows();
    }

    void deleteAsksFirst()
    {
        Open();
        EnterMix("A");
        Prompt().AnswerNext(false);
        TriggerAction(form.get(), "mnuDelete");
        QCOMPARE(Prompt().LastText("yesno"), QString("削除してよろしいですか？"));
        QCOMPARE(Count("GozaiDef"), 1);

        Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuDelete");
        QCOMPARE(Count("GozaiDef"), 0);
        QCOMPARE(Count("HBHaigoritu"), 0);
        QCOMPARE(Count("RyudoRange"), 0);
        QCOMPARE(Count("Ryudokikaku"), 16);
        QCOMPARE(TextsOf("select ZName from ZairyoIndex"), QStringList{"A"});
        // The window keeps showing it, so that it can be stored again.
        QCOMPARE(form->ComboBox1->currentText(), QString("A"));
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));

        Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuDelete");
        QVERIFY(Prompt().LastText("message").contains("削除しませんでした"));
    }

    void deleteAfterTheDataFolderChangedTakesNothingElse()
    {
        Open();
        EnterMix("A");
        const QString other = TTestEnvironment::Current().NewFolder();
        WhenModalShown([other](QWidget* modal) {
            modal->findChild<QLineEdit*>("Edit1")->setText(other);
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        Prompt().Clear();
        for (int i = 0; i < 3; ++i)
            Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuOption");
        QCOMPARE(Prompt().Texts("yesno").size(), 3); // the new folder's tables
        QCOMPARE(QDir(TDatabase::AliasFolder(kAlias)).canonicalPath(), QDir(other).canonicalPath());

        TGozaiDef there;
        there.LoadByName("X");
        there.Ratios[0]->D[0] = 1;
        there.Save("X"); // ID 1 here too
        Prompt().AnswerNext(true);
        TriggerAction(form.get(), "mnuDelete");
        QCOMPARE(TextsOf("select DataName from GozaiDef"), QStringList{"X"});
        QCOMPARE(Count("HBHaigoritu"), 2);
    }

    void choosingAStandardFitsTheRangeRows()
    {
        Open();
        QCOMPARE(Ranges()->MaxRows(), 19);
        for (int row = 1; row <= 10; ++row)
            Type(Ranges(), 1, row, QString::number(row * 10));
        Type(Ranges(), 12, 2, "95_100");
        QVERIFY(ChooseFromList(form->ComboBox2, "[C2]C-30"));
        QCOMPARE(RowHeadings(Ranges()),
                 QStringList({"37.5", "31.5", "26.5", "19.0", "13.2", "4.75", "2.36"}));
        QStringList bin;
        for (int row = 1; row <= 7; ++row)
            bin << Ranges()->Text(1, row);
        QCOMPARE(bin, QStringList({"10", "20", "30", "40", "50", "60", "70"}));
        QCOMPARE(Ranges()->Text(12, 2), QString("95_100"));

        // Adopted from the gradation standard window.
        WhenModalShown([](QWidget* modal) {
            auto* name = modal->findChild<QComboBox*>("ComboBox1");
            ChooseFromList(name, "[S1]S-5");
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn3"), Qt::LeftButton);
        });
        TriggerAction(form.get(), "mnuKikaku");
        QCOMPARE(form->ComboBox2->currentText(), QString("[S1]S-5"));
        QCOMPARE(form->GozaiDef()->Standard->Kikakumei, QString("[S1]S-5"));
        QCOMPARE(RowHeadings(Ranges()), QStringList({"13.2", "4.75", "2.36", "1.18"}));
        QCOMPARE(Ranges()->Text(1, 4), QString("40"));
        QCOMPARE(Ranges()->Text(12, 2), QString("95_100"));
    }

    void binHeadingsFollowThePlant()
    {
        Open();
        QCOMPARE(BinWidths(), QList<double>(18, 0)); // no Plant.Dat: no bins
        form->hide();
        SavePlant("第１プラント", {"6号", "5号", "4号", "3号"}, true);
        QVERIFY(ActivateWindow(form.get()));
        QList<double> four;
        for (int grid = 0; grid < 3; ++grid)
            four << 8 << 8 << 8 << 8 << 0 << 0;
        QCOMPARE(BinWidths(), four);
        QCOMPARE(Masses()->Text(4, 0), QString("3号"));

        Type(Ratios(), 1, 1, "25");
        WhenModalShown([](QWidget* modal) {
            modal->findChild<QComboBox*>("ComboBox1")->setEditText("第２プラント");
            modal->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
            auto* grid = modal->findChild<QTableWidget*>("StringGrid1");
            for (int bin = 1; bin <= 6; ++bin)
                grid->setItem(bin, 1, new QTableWidgetItem(QString("B%1").arg(bin)));
            QTest::mouseClick(modal->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        TriggerAction(form.get(), "mnuPlant");
        QCOMPARE(BinWidths(), QList<double>(18, 8));
        QCOMPARE(Ranges()->Text(6, 0), QString("B6"));
        QCOMPARE(Ratios()->Text(1, 1), QString("25.00")); // typing stays
    }

    void openKeepsHeadingsChoosingShowsTheMixesPlant()
    {
        SavePlant("第１プラント", {"6号", "5号"}, true);
        SavePlant("第２プラント", {"細", "中", "粗"}, false);
        Open();
        EnterMix("X");
        QByteArray goz(TGozai::FileSize, '\0');
        const QByteArray plant = ToShiftJis(u"第２プラント", 32);
        goz[0] = char(plant.size());
        goz.replace(1, plant.size(), plant);
        QFile file(TPlant::MixDataFolder() + "X.Goz");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(goz);
        file.close();

        TriggerAction(form.get(), "mnuNew");
        OpenByDialog("X");
        QCOMPARE(Ratios()->Text(1, 0), QString("6号"));
        QCOMPARE(Ratios()->ColWidth(3), 0.0);

        QVERIFY(ChooseFromList(form->ComboBox1, "X"));
        QCOMPARE(Ratios()->Text(1, 0), QString("細"));
        QCOMPARE(Ratios()->ColWidth(3), 8.0);
        QCOMPARE(form->Plant()->Name, QString("第２プラント"));
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));
    }

    void ratioCellsAreReadStrictly()
    {
        Open();
        TypeName("A");
        Type(Ratios(), 12, 2, "12,5");
        Click(form->BitBtn1);
        QCOMPARE(Count("GozaiDef"), 0);
        const QString message = Prompt().LastText("message");
        QVERIFY2(message.contains("全配合率") && message.contains("アス") &&
                     message.contains("12,5"),
                 qPrintable(message));
        QCOMPARE(Ratios()->ActiveCol(), 12);

        Type(Ratios(), 12, 2, " １２．５ ");
        Click(form->BitBtn1);
        TGozaiDef a;
        QVERIFY(a.LoadByName("A"));
        QCOMPARE(a.Ratios[1]->D[11], 12.5);
    }

    void asphaltAndRubberShowThreeDecimalsWhenAsked()
    {
        Open();
        TypeName("A");
        Type(Ratios(), 12, 2, "5.125");
        Type(Ratios(), 13, 2, "0.5");
        // Two decimals as long as the record has not been shown again.
        QCOMPARE(Ratios()->Text(12, 2), QString("5.13"));
        WriteSetting("KaisituKetaCheck", "true");
        Click(form->BitBtn1);
        OpenByDialog("A");
        QCOMPARE(Ratios()->Text(12, 2), QString("5.125")); // stored as typed, not as shown
        QCOMPARE(Ratios()->Text(13, 2), QString("0.500"));
        QCOMPARE(Ratios()->Text(12, 1), QString("0.00"));

        Type(Ratios(), 12, 2, "5.125");
        Click(form->BitBtn1);
        OpenByDialog("A");
        QCOMPARE(Ratios()->Text(12, 2), QString("5.125"));
        WriteSetting("KaisituKetaCheck", "TRUE");
        OpenByDialog("A");
        QCOMPARE(Ratios()->Text(12, 2), QString("5.13"));
    }

    void popupEraseKeepsTheBlockOnTheClipboard()
    {
        Open();
        Type(Densities(), 1, 1, "1.02");
        Type(Densities(), 1, 2, "3.5");
        Densities()->SetSelectedBlock(1, 1, 1, 2);
        Densities()->PopupAction(TvaSpread::TBlockCommand::Clear)->trigger();
        QCOMPARE(Densities()->Text(1, 1), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("1.02\n3.5"));
        QCOMPARE(Densities()->PopupAction(TvaSpread::TBlockCommand::Clear)->text(),
                 QString("消去(&D)"));
    }

    void showingEmptiesTheWindowAndActivationBringsTheRecordBack()
    {
        Open();
        EnterMix("A");
        form->hide();
        Prompt().Clear();
        bool emptiedFirst = false;
        // Showing empties, then the activation shows the last definition.
        const auto watch =
            QObject::connect(form->ComboBox1, &QComboBox::editTextChanged, form.get(),
                             [&](const QString& text) { emptiedFirst |= text.isEmpty(); });
        QVERIFY(ActivateWindow(form.get()));
        QObject::disconnect(watch);
        QVERIFY(emptiedFirst);
        QCOMPARE(form->ComboBox1->currentText(), QString("A"));
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));
        QVERIFY(Prompt().shown.isEmpty());
    }
};

KANMURI_TEST_MAIN(TestFrmEditGozaiDef)
#include "tst_TfrmEditGozaiDef.moc"
