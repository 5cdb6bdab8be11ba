#include "foundation/Settings.h"
#include "mix/TFormPlant.h"
#include "mix/TPlant.h"
#include "support/TTestEnvironment.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

class TestFormPlant : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFormPlant> form;

    template <typename T> T* Control(const char* name) { return ControlOf<T>(form.get(), name); }

    QComboBox* Name() { return Control<QComboBox>("ComboBox1"); }
    QTableWidget* Grid() { return Control<QTableWidget>("StringGrid1"); }
    QString Cell(int row, int column)
    {
        QTableWidgetItem* item = Grid()->item(row, column);
        return item ? item->text() : QString();
    }
    void SetCell(int row, int column, const QString& text)
    {
        Grid()->item(row, column)->setText(text);
    }
    QRadioButton* Radio(const QString& caption)
    {
        for (auto* button : Control<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>()) {
            if (button->text() == caption)
                return button;
        }
        qFatal("radio button missing");
    }
    void Menu(const char* name) { Control<QAction>(name)->trigger(); }
    void Register() { QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton); }

    void Open()
    {
        form = std::make_unique<TFormPlant>();
        QVERIFY(ActivateWindow(form.get()));
    }

    static void SavePlant(const QString& name, bool standard, const QString& bin1 = QString())
    {
        TPlant plant;
        plant.BinName[0] = bin1;
        plant.Standard = standard ? 1 : 0;
        QVERIFY(plant.Save(name));
    }

    TScriptedPrompt& Prompt() { return TTestEnvironment::Current().prompt; }

    static QByteArray FileBytes()
    {
        QFile file(TPlant::FileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        WriteSetting("HaigoDataPath", TTestEnvironment::Current().NewFolder() + QDir::separator());
    }
    void cleanup() { form.reset(); }

    void createdEmptyWithItsControls()
    {
        form = std::make_unique<TFormPlant>();
        QCOMPARE(form->windowTitle(), QString("プラントの登録"));
        QCOMPARE(form->size(), QSize(434, 262));
        QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(Radio("細骨計量")->isChecked());
        QVERIFY(!Radio("粗骨計量")->isChecked());
        QCOMPARE(Grid()->rowCount(), 7);
        QCOMPARE(Grid()->columnCount(), 3);
        QCOMPARE(Cell(0, 2), QString("粒度範囲"));
        QCOMPARE(Cell(1, 0), QString("  １"));
        QCOMPARE(Cell(6, 0), QString("  ６"));
        QVERIFY(!(Grid()->item(0, 1)->flags() & Qt::ItemIsEditable));
        QVERIFY(Grid()->item(1, 1)->flags() & Qt::ItemIsEditable);

        QStringList captions;
        for (QAction* action : Control<QMenu>("mnuFile")->actions()) {
            if (!action->isSeparator())
                captions << action->text();
        }
        QCOMPARE(captions, QStringList({"新規", "プラント削除", "プラント登録", "終了"}));
    }

    void firstRegistrationCreatesTheStandardPlant()
    {
        Open();
        QCOMPARE(Name()->currentText(), QString());
        QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());

        // No name: a beep and a message, the window stays.
        Register();
        QVERIFY(form->isVisible());
        QCOMPARE(Prompt().Texts("beep").size(), 1);
        QCOMPARE(Prompt().Texts("message"), QStringList({"プラント名を入力してください。"}));
        QVERIFY(!QFile::exists(TPlant::FileName()));

        Name()->setEditText("第１プラント");
        Control<QLineEdit>("Edit1")->setText("3000");
        Control<QLineEdit>("Edit2")->setText("1.05");
        Radio("粗骨計量")->setChecked(true);
        SetCell(1, 1, "ホット１");
        SetCell(1, 2, "13_20");
        SetCell(6, 1, "F");
        Register();
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));

        TPlant plant;
        plant.LoadStandard();
        QCOMPARE(plant.Name, QString("第１プラント"));
        QCOMPARE(plant.BatchWeight, QString("3000"));
        QCOMPARE(plant.LoadCellFactor, QString("1.05"));
        QCOMPARE(plant.InitialWeighing, 1);
        QCOMPARE(plant.BinName[0], QString("ホット１"));
        QCOMPARE(plant.BinRange[0], QString("13_20"));
        QCOMPARE(plant.BinName[5], QString("F"));
        QCOMPARE(plant.Standard, 1);
        QCOMPARE(QFileInfo(TPlant::FileName()).size(), 215);
    }

    void showingAndChoosingAPlant()
    {
        TPlant stored;
        stored.BatchWeight = " 2500 ";
        stored.BinName[1] = "B2  ";
        stored.InitialWeighing = 1;
        stored.Standard = 0;
        QVERIFY(stored.Save("Ｂ工場"));
        SavePlant("Ａ工場", true, "A1");
        SavePlant("C", false);
        QVERIFY(TPlant().Delete("C"));

        Open();
        QCOMPARE(Name()->currentText(), QString("Ａ工場"));
        QCOMPARE(Cell(1, 1), QString("A1"));
        QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());

        // Opening the list fills it, sorted, and keeps the typed text.
        Name()->setEditText("typed");
        Name()->showPopup();
        QStringList items;
        for (int i = 0; i < Name()->count(); ++i)
            items << Name()->itemText(i);
        QCOMPARE(items, QStringList({"Ａ工場", "Ｂ工場"}));
        QCOMPARE(Name()->currentText(), QString("typed"));

        QAbstractItemView* list = Name()->view();
        const QModelIndex second = list->model()->index(1, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(second).center());
        QCOMPARE(Name()->currentText(), QString("Ｂ工場"));
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("2500"));
        QCOMPARE(Cell(1, 1), QString());
        QCOMPARE(Cell(2, 1), QString("B2"));
        QVERIFY(Radio("粗骨計量")->isChecked());
        QVERIFY(!Control<QCheckBox>("CheckBox1")->isChecked());
    }

    void refusedRegistrationKeepsTheWindowOpen()
    {
        SavePlant("A", true);
        Open();
        Control<QCheckBox>("CheckBox1")->setChecked(false);
        Control<QLineEdit>("Edit1")->setText("typed");
        Register();
        QVERIFY(form->isVisible());
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("typed"));
        QCOMPARE(Prompt().Texts("message").size(), 1);
        TPlant plant;
        plant.LoadStandard();
        QCOMPARE(plant.BatchWeight, QString());
    }

    void registeringANameTooLongSaysSoAndSavesNothing()
    {
        // Two names alike in their first 32 bytes: cut, the second would
        // land on the first.
        const QString first = "株式会社ＡＢＣアスファルト工業　第一プラント";
        const QString second = "株式会社ＡＢＣアスファルト工業　第二プラント";
        Open();
        Name()->setEditText(first);
        SetCell(1, 1, "6号");
        Register();
        QVERIFY(form->isVisible());
        QVERIFY2(Prompt().LastText("message").contains("全角16文字（半角32文字）"),
                 qPrintable(Prompt().LastText("message")));
        QVERIFY(!QFile::exists(TPlant::FileName()));
        QCOMPARE(Name()->currentText(), first);

        // Shortened, it is saved; the other long name, with the box unticked,
        // is refused for its length and takes nothing from it.
        Name()->setEditText("ＡＢＣ第一プラント");
        Register();
        QVERIFY(!form->isVisible());
        Open();
        Name()->setEditText(second);
        Control<QCheckBox>("CheckBox1")->setChecked(false);
        Menu("mnuSave");
        QVERIFY(Prompt().LastText("message").contains("長すぎます"));
        TPlant plant;
        QVERIFY(plant.LoadByName("ＡＢＣ第一プラント"));
        QCOMPARE(plant.BinName[0], QString("6号"));
        QCOMPARE(FileBytes().size(), 215);
    }

    void enterInAFieldDoesNotRegister()
    {
        SavePlant("A", true);
        const QByteArray before = FileBytes();
        Open();
        const auto nothingSaved = [&] {
            QApplication::processEvents();
            return form->isVisible() && FileBytes() == before;
        };

        // A new name typed and Enter: nothing is saved, the window stays
        // with what was typed. So too in the edits and in a grid cell.
        Name()->lineEdit()->selectAll();
        QTest::keyClicks(Name()->lineEdit(), "NEW");
        QTest::keyClick(Name()->lineEdit(), Qt::Key_Return);
        QVERIFY(nothingSaved());
        QTest::keyClick(Name()->lineEdit(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(nothingSaved());
        QTest::keyClicks(Control<QLineEdit>("Edit1"), "30");
        QTest::keyClick(Control<QLineEdit>("Edit1"), Qt::Key_Return);
        QVERIFY(nothingSaved());
        Grid()->setFocus();
        Grid()->setCurrentCell(2, 1);
        QTest::keyClicks(Grid(), "B");
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, "2");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(nothingSaved());

        QCOMPARE(Name()->currentText(), QString("NEW"));
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("30"));
        QCOMPARE(Cell(2, 1), QString("B2"));
        QCOMPARE(Prompt().shown.size(), 0);
    }

    void charactersShiftJisCannotHoldAreNamedAndNothingIsSaved()
    {
        SavePlant("A", true);
        const QByteArray before = FileBytes();
        Open();
        Name()->setEditText("B");
        SetCell(3, 1, "Café");
        Register();
        QVERIFY(form->isVisible());
        QCOMPARE(Prompt().Texts("message"),
                 QStringList({"「é」は保存できない文字です。(計量順３のビン名)\n"
                              "別の文字に直してください。"}));
        QCOMPARE(Prompt().Texts("beep").size(), 1);
        QCOMPARE(Prompt().Texts("error"), QStringList());
        QCOMPARE(FileBytes(), before);
        QCOMPARE(Cell(3, 1), QString("Café"));
        QCOMPARE(Name()->currentText(), QString("B"));

        // The same through the menu; the name is named first.
        Name()->setEditText(QString::fromUtf16(u"\U0001F3ED工場"));
        Menu("mnuSave");
        QVERIFY(Prompt().Texts("message").value(1).contains("(プラント名)"));
        QCOMPARE(FileBytes(), before);

        // What Linux input gives for a WAVE DASH is written as Windows
        // writes it.
        Name()->setEditText("B");
        SetCell(3, 1, "");
        SetCell(3, 2, QString::fromUtf16(u"5\u301C13"));
        Register();
        QVERIFY(!form->isVisible());
        TPlant plant;
        QVERIFY(plant.LoadByName("B"));
        QCOMPARE(plant.BinRange[2], QString::fromUtf16(u"5\uFF5E13"));
    }

    void menuCommands()
    {
        SavePlant("A", true);
        Open();

        // "プラント登録" saves, even a cell still being edited, and stays open.
        Name()->setEditText("B");
        Control<QCheckBox>("CheckBox1")->setChecked(false);
        Control<QLineEdit>("Edit1")->setText("123456789");
        Grid()->setFocus();
        Grid()->setCurrentCell(3, 2);
        Grid()->editItem(Grid()->item(3, 2));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QVERIFY(editor->inputMethodHints() & Qt::ImhLatinOnly);
        editor->setText("0_5");
        Menu("mnuSave");
        QVERIFY(form->isVisible());
        TPlant plant;
        QVERIFY(plant.LoadByName("B"));
        QCOMPARE(plant.BinRange[2], QString("0_5"));
        QCOMPARE(plant.BatchWeight, QString("12345678"));
        QCOMPARE(plant.Standard, 0);

        // "プラント削除" asks nothing.
        Menu("mnuDelete");
        QVERIFY(!plant.LoadByName("B"));
        QCOMPARE(Prompt().shown.size(), 0);

        // "新規" empties the window and the record.
        Menu("mnuNew");
        QCOMPARE(Name()->currentText(), QString());
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString());
        QCOMPARE(Cell(3, 2), QString());
        QCOMPARE(Cell(0, 2), QString("粒度範囲"));
        QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(*form->Plant() == TPlantRecord());

        // "プラント登録" without a name: the same refusal as "登録"; no
        // blank record takes the deleted slot or the standard flag.
        const QByteArray before = FileBytes();
        Menu("mnuSave");
        Name()->setEditText(" \u3000");
        Menu("mnuSave");
        QCOMPARE(FileBytes(), before);
        QCOMPARE(Prompt().Texts("message"),
                 QStringList(2, QStringLiteral("プラント名を入力してください。")));
        QCOMPARE(Prompt().Texts("beep").size(), 2);
        plant.LoadStandard();
        QCOMPARE(plant.Name, QString("A"));
        QVERIFY(form->isVisible());

        Menu("mnuExit");
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
    }
};

KANMURI_TEST_MAIN(TestFormPlant)
#include "tst_TFormPlant.moc"
