// What a user meets on a real desktop: windows that reload on activation
// keep what was typed or chosen when a dialog, chooser or message box closes
// or when the user comes back from another program, and reload when the
// focus comes from another window of the program.
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TfrmProgressBar.h"
#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "mix/TFormRyudoKikaku.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

class TestActivation : public QObject
{
    Q_OBJECT

    TForms& forms = TForms::Instance();

    void Start()
    {
        forms.CreateAll();
        QVERIFY(DesktopActivate(forms.frmEditHojitsu4));
    }

    // Opens a window from the main window's menu as the user does.
    void OpenFromMenu(const char* entry, QWidget* window)
    {
        TriggerAction(forms.frmEditHojitsu4, entry);
        QVERIFY(QTest::qWaitFor([&] { return window->isActiveWindow(); }, 5000));
        Settle();
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }
    void cleanup() { forms.DestroyAll(); }

    void failedReloadShowsItsErrorOnce()
    {
        TDatabase::SetAliasFolder(
            kAlias, QDir(TTestEnvironment::Current().NewFolder()).filePath("unplugged"));
        TDesktopPrompt prompt;
        Start();
        QCOMPARE(prompt.Texts("error").size(), 0);

        TriggerAction(forms.frmEditHojitsu4, "mnuKoji");
        QVERIFY(QTest::qWaitFor([&] { return !prompt.Texts("error").isEmpty(); }, 5000));
        Settle(1500);
        QCOMPARE(prompt.Texts("error").size(), 1);
        QVERIFY(prompt.Texts("error").first().contains("unplugged"));
        // The window is still there and has the focus back, usable.
        QVERIFY(forms.frmEditKoji->isVisible());
        QVERIFY(WaitUntilActive(forms.frmEditKoji));

        // Coming from another window of the program tries again.
        QVERIFY(DesktopActivate(forms.frmEditHojitsu4));
        QVERIFY(DesktopActivate(forms.frmEditKoji));
        Settle(1500);
        QCOMPARE(prompt.Texts("error").size(), 2);

        // The main window's menus still work: the folder can be repointed.
        TriggerAction(forms.frmEditHojitsu4, "mnuDataPath");
        QVERIFY(QTest::qWaitFor([&] { return forms.frmSetDataPath->isActiveWindow(); }, 5000));
        QCOMPARE(prompt.Texts("error").size(), 2);
    }

    void environmentDialogKeepsWhatTheChoosersChose()
    {
        Start();
        OpenFromMenu("mnuDataPath", forms.frmSetDataPath);
        auto* folderBox = ControlOf<QLineEdit>(forms.frmSetDataPath, "Edit1");
        QCOMPARE(folderBox->text(), TDatabase::AliasFolder(kAlias));

        const QString chosen = TTestEnvironment::Current().NewFolder();
        WhenDialogActive<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(QFileInfo(chosen).absolutePath());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(chosen).fileName());
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open),
                Qt::LeftButton);
        });
        QTest::mouseClick(ControlOf<QPushButton>(forms.frmSetDataPath, "Button1"), Qt::LeftButton);
        QVERIFY(WaitUntilActive(forms.frmSetDataPath));
        Settle();
        QCOMPARE(QDir::cleanPath(folderBox->text()), QDir::cleanPath(chosen));

        WhenDialogActive<QColorDialog>([](QColorDialog* dialog) {
            dialog->setCurrentColor(Qt::red);
            dialog->accept();
        });
        auto* colourBox = ControlOf<QFrame>(forms.frmSetDataPath, "Panel3");
        QTest::mouseDClick(colourBox, Qt::LeftButton);
        QVERIFY(WaitUntilActive(forms.frmSetDataPath));
        Settle();
        QCOMPARE(forms.frmSetDataPath->BoxColor(0), 255);
        QCOMPARE(QDir::cleanPath(folderBox->text()), QDir::cleanPath(chosen));

        QTest::mouseClick(ControlOf<QPushButton>(forms.frmSetDataPath, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(QDir::cleanPath(TDatabase::AliasFolder(kAlias)), QDir::cleanPath(chosen));
        QCOMPARE(ReadSetting("ColorOndoNeriRange"), QString("255"));
    }

    void projectWindowKeepsTypingAfterCancelAndFailedSave()
    {
        TDesktopPrompt prompt;
        Start();
        OpenFromMenu("mnuKoji", forms.frmEditKoji);
        auto* code = ControlOf<QLineEdit>(forms.frmEditKoji, "Edit1");
        auto* name = ControlOf<QLineEdit>(forms.frmEditKoji, "Edit2");
        auto* button = ControlOf<QPushButton>(forms.frmEditKoji, "Button2");
        QTest::keyClicks(code, "K001");
        QTest::keyClicks(name, "Paving works");
        QCOMPARE(button->text(), QString("登録"));

        prompt.AnswerNext(false);
        TriggerAction(forms.frmEditKoji, "mnuDelete");
        QVERIFY(WaitUntilActive(forms.frmEditKoji));
        Settle();
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"本当に削除しますか？"});
        QCOMPARE(code->text(), QString("K001"));
        QCOMPARE(name->text(), QString("Paving works"));
        QCOMPARE(button->text(), QString("登録"));

        TQuery("create trigger refuse before insert on Koji1 "
               "begin select raise(abort, 'refused by test'); end")
            .Exec();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(WaitUntilActive(forms.frmEditKoji));
        Settle();
        QCOMPARE(prompt.Texts("error").size(), 1);
        QCOMPARE(code->text(), QString("K001"));
        QCOMPARE(name->text(), QString("Paving works"));
        QCOMPARE(button->text(), QString("登録"));
        QCOMPARE(TableRows("Koji1"), QStringList());
    }

    void gradationGridKeepsTypingAcrossProgramsAndErrorBoxes()
    {
        TDesktopPrompt prompt;
        Start();
        TFormRyudoKikaku* form = forms.FormRyudoKikaku;
        QVERIFY(DesktopActivate(form));
        Settle();
        auto* grid = ControlOf<TvaSpread>(form, "vaSpread11");
        QCOMPARE(grid->Text(2, 2), QString("-")); // "[0]標準" was loaded
        grid->SetText(2, 2, "95_100");

        TOtherProgram other;
        QVERIFY(other.Activate());
        QVERIFY(DesktopActivate(form));
        Settle();
        QCOMPARE(grid->Text(2, 2), QString("95_100"));

        TQuery("drop table Ryudokikaku").Exec();
        QTest::mouseClick(ControlOf<QPushButton>(form, "BitBtn1"), Qt::LeftButton);
        QVERIFY(WaitUntilActive(form));
        Settle();
        QCOMPARE(prompt.Texts("error").size(), 1);
        QCOMPARE(grid->Text(2, 2), QString("95_100"));
    }

    void focusFromAnotherWindowReloads()
    {
        Start();
        OpenFromMenu("mnuKosyu", forms.frmEditKosyu);
        auto* list = ControlOf<QListWidget>(forms.frmEditKosyu, "ListBox1");
        QCOMPARE(list->count(), 0);

        TQuery("insert into Kosyu4 (KOSYUMEI, ID) values ('表層工', 1)").Exec();
        TOtherProgram other;
        QVERIFY(other.Activate());
        QVERIFY(DesktopActivate(forms.frmEditKosyu));
        Settle();
        QCOMPARE(list->count(), 0); // back from another program: no reload

        QVERIFY(DesktopActivate(forms.frmEditHojitsu4));
        QVERIFY(DesktopActivate(forms.frmEditKosyu));
        Settle();
        QCOMPARE(ListItems(list), QStringList{"表層工"});

        // A window's first showing loads it, wherever the focus was.
        auto* code = ControlOf<QLineEdit>(forms.frmEditKoji, "Edit1");
        code->setText("typed while hidden");
        OpenFromMenu("mnuKoji", forms.frmEditKoji);
        QCOMPARE(code->text(), QString());
    }

    // A task's progress window leaves the focus with the window that started
    // it, so that what that window says afterwards is its own and coming back
    // from it reloads nothing.
    void progressWindowLeavesTheFocusWhereItWas()
    {
        Start();
        forms.frmSetDataPath->show();
        QVERIFY(DesktopActivate(forms.frmSetDataPath));
        {
            TfrmProgressBar progress(forms.frmSetDataPath);
            progress.show();
            QVERIFY(QTest::qWaitForWindowExposed(&progress));
            Settle();
            QCOMPARE(QApplication::activeWindow(), forms.frmSetDataPath);
        }
        Settle();
        QCOMPARE(QApplication::activeWindow(), forms.frmSetDataPath);
    }
};

KANMURI_TEST_MAIN(TestActivation)
#include "tst_Activation.moc"
