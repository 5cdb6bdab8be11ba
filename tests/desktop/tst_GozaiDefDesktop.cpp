// The mix definition editor on a real desktop: what was typed stays when its
// own dialogs and message boxes close and when the user comes back from
// another program; the record is shown again when the focus comes from
// another window of the program.
#include "controls/TComboBox.h"
#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "foundation/TQuery.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TfrmEditGozaiDef.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <memory>

namespace {

// A click on the window; on a busy machine the window manager may need a
// second one.
bool Activate(QWidget* window)
{
    for (int attempt = 0; attempt < 3; ++attempt)
        if (DesktopActivate(window))
            return true;
    return false;
}

} // namespace

class TestGozaiDefDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<QMainWindow> main;
    TfrmEditGozaiDef* form = nullptr;

    TvaSpread* Ratios() { return form->vaSpread11; }

    // The main window and the editor it owns, the editor shown from it.
    void Start(TDesktopPrompt& prompt)
    {
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(true);
        main = std::make_unique<QMainWindow>();
        main->setWindowTitle("main");
        main->resize(300, 200);
        form = new TfrmEditGozaiDef(main.get());
        QVERIFY(Activate(main.get()));
        // The first activation asks its three table questions in message
        // boxes of their own first; on a busy machine that takes a while.
        DesktopActivate(form);
        QVERIFY(QTest::qWaitFor(
            [&] { return form->isActiveWindow() && prompt.Texts("yesno").size() == 3; }, 30000));
        Settle();
    }

    void Type(TvaSpread* grid, int col, int row, const QString& text)
    {
        grid->setFocus();
        grid->SetActiveCell(col, row);
        for (QChar c : text)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    // Saves a definition as stored, then shows it in the editor.
    void ShowStored(const QString& name)
    {
        TGozaiDef def;
        def.LoadByName(name);
        def.Ratios[0]->D[0] = 40;
        def.Save(name);
        form->GozaiDef()->LoadByName(name);
        QVERIFY(Activate(main.get()));
        QVERIFY(Activate(form));
        Settle();
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        WriteSetting("HaigoDataPath", TTestEnvironment::Current().NewFolder() + "/");
    }
    void cleanup()
    {
        main.reset();
        form = nullptr;
    }

    void typingStaysWhenOwnDialogsAndOtherProgramsCome()
    {
        TDesktopPrompt prompt;
        Start(prompt);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(prompt.Texts("yesno").size(), 3);
        ShowStored("A");
        if (QTest::currentTestFailed())
            return;
        Type(Ratios(), 1, 1, "55");

        // The delete question, answered No.
        prompt.AnswerNext(false);
        TriggerAction(form, "mnuDelete");
        QVERIFY(WaitUntilActive(form));
        Settle();
        QCOMPARE(prompt.Texts("yesno").last(), QString("削除してよろしいですか？"));
        QCOMPARE(Ratios()->Text(1, 1), QString("55.00"));

        // The version window.
        WhenDialogActive<QDialog>([](QDialog* dialog) { dialog->close(); });
        TriggerAction(form, "mnuVersion");
        QVERIFY(WaitUntilActive(form));
        Settle();
        QCOMPARE(Ratios()->Text(1, 1), QString("55.00"));

        // Another program.
        TOtherProgram other;
        QVERIFY(other.Activate());
        QVERIFY(Activate(form));
        Settle();
        QCOMPARE(Ratios()->Text(1, 1), QString("55.00"));

        // Another window of this program: the record is shown again.
        QVERIFY(Activate(main.get()));
        QVERIFY(Activate(form));
        Settle();
        QCOMPARE(Ratios()->Text(1, 1), QString("40.00"));
    }

    void saveAsStoresWhatTheWindowShows()
    {
        TDesktopPrompt prompt;
        Start(prompt);
        if (QTest::currentTestFailed())
            return;
        ShowStored("A");
        if (QTest::currentTestFailed())
            return;
        Type(Ratios(), 2, 1, "30");
        WhenDialogActive<QInputDialog>([](QInputDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("名前を付けて保存"));
            QCOMPARE(dialog->textValue(), QString("A"));
            dialog->setTextValue("B");
            dialog->accept();
        });
        TriggerAction(form, "mnuSaveAs");
        QVERIFY(WaitUntilActive(form));
        Settle();
        QCOMPARE(form->ComboBox1->currentText(), QString("B"));
        QCOMPARE(Ratios()->Text(2, 1), QString("30.00"));
        TGozaiDef b, a;
        QVERIFY(b.LoadByName("B"));
        QCOMPARE(b.Ratios[0]->D[0], 40.0);
        QCOMPARE(b.Ratios[0]->D[1], 30.0);
        a.LoadByName("A");
        QCOMPARE(a.Ratios[0]->D[1], 0.0);
    }

    void afterTheDataFolderChangesTheNewFoldersDefinitionIsShownAndRegistered()
    {
        TDesktopPrompt prompt;
        Start(prompt);
        if (QTest::currentTestFailed())
            return;
        ShowStored("A");
        if (QTest::currentTestFailed())
            return;
        const QString other = TTestEnvironment::Current().NewFolder();
        // The new folder's tables are made.
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(true);
        WhenDialogActive<QDialog>([other](QDialog* dialog) {
            dialog->findChild<QLineEdit*>("Edit1")->setText(other);
            QTest::mouseClick(dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        TriggerAction(form, "mnuOption");
        QVERIFY(WaitUntilActive(form));
        Settle();
        // The new folder's tables are asked for once; it holds no "A".
        QCOMPARE(prompt.Texts("yesno").size(), 6);
        QCOMPARE(form->ComboBox1->currentText(), QString("A"));
        QCOMPARE(Ratios()->Text(1, 1), QString("0.00"));
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        TGozaiDef a;
        QVERIFY(a.LoadByName("A"));
        QCOMPARE(a.Ratios[0]->D[0], 0.0);
        QCOMPARE(a.Standard->Kikakumei, form->ComboBox2->currentText());
    }

    void plantWindowRefreshesTheHeadingsOnly()
    {
        TDesktopPrompt prompt;
        Start(prompt);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(Ratios()->ColWidth(1), 0.0);
        Type(Ratios(), 8, 1, "12");
        WhenDialogActive<QDialog>([](QDialog* dialog) {
            dialog->findChild<QComboBox*>("ComboBox1")->setEditText("第１プラント");
            auto* grid = dialog->findChild<QTableWidget*>("StringGrid1");
            grid->setItem(1, 1, new QTableWidgetItem("6号"));
            QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        TriggerAction(form, "mnuPlant");
        QVERIFY(WaitUntilActive(form));
        Settle();
        QCOMPARE(Ratios()->Text(1, 0), QString("6号"));
        QCOMPARE(Ratios()->ColWidth(1), 8.0);
        QCOMPARE(Ratios()->Text(8, 1), QString("12.00"));
    }
};

KANMURI_TEST_MAIN(TestGozaiDefDesktop)
#include "tst_GozaiDefDesktop.moc"
