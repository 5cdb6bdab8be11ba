#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TIniFile.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "support/TTestEnvironment.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

class TestSetDataPath : public QObject
{
    Q_OBJECT

    std::unique_ptr<TfrmSetDataPath> form;

    template <typename T> T* Control(const char* name) { return ControlOf<T>(form.get(), name); }

    void Open()
    {
        form = std::make_unique<TfrmSetDataPath>();
        QVERIFY(ActivateWindow(form.get()));
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }
    void cleanup() { form.reset(); }

    void activationLoadsFolderAndSettings()
    {
        WriteSetting("UnUseInkan", "TRUE");
        WriteSetting("UseSiyou", "true"); // only the exact spelling ticks
        WriteSetting("ColorOndoNeriRange", "255");
        WriteSetting("ColorOndoSikiRange", "not a colour");
        Open();
        QCOMPARE(form->windowTitle(), QString("環境設定"));
        QCOMPARE(Control<QLineEdit>("Edit1")->text(), TDatabase::AliasFolder("KANMURI"));
        QVERIFY(Control<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!Control<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(!Control<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!Control<QFrame>("Panel2")->isVisible());
        QCOMPARE(form->BoxColor(0), 255);
        QCOMPARE(Control<QFrame>("Panel3")->palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(form->BoxColor(1), 0);
    }

    void okRepointsTheDataFolderAndWritesSettings()
    {
        Open();
        const QString other = TTestEnvironment::Current().NewFolder();
        Control<QLineEdit>("Edit1")->setText(other);
        Control<QCheckBox>("CheckBox1")->setChecked(true);
        Control<QCheckBox>("CheckBox3")->setChecked(true);
        QTest::mouseClick(Control<QPushButton>("BitBtn1"), Qt::LeftButton);

        QVERIFY(!form->isVisible());
        QCOMPARE(TDatabase::AliasFolder("KANMURI"), other + QDir::separator());
        QCOMPARE(ReadSetting("UnUseInkan"), QString("TRUE"));
        QCOMPARE(ReadSetting("UseSiyou"), QString("FALSE"));
        QCOMPARE(ReadSetting("UseRate"), QString("TRUE"));
        QCOMPARE(ReadSetting("ColorOndoNeriRange"), QString("0"));
        TDatabase::EnsureTable("Koji1", {{"ID", TFieldType::Integer}});
        QVERIFY(QFile::exists(other + "/kanmuri.sqlite"));
        QVERIFY(TTestEnvironment::Current().prompt.shown.isEmpty());
    }

    void okThatCannotSaveTheFolderSaysWhyAndStaysOpen()
    {
        Open();
        const QString before = TDatabase::AliasFolder("KANMURI");
        // engine.ini cannot be rewritten when a folder stands in its place.
        const QString ini = TTestEnvironment::Current().ConfigDir() + "/engine.ini";
        QVERIFY(QFile::remove(ini));
        QVERIFY(QDir().mkpath(ini));
        Control<QLineEdit>("Edit1")->setText(TTestEnvironment::Current().NewFolder());
        QTest::mouseClick(Control<QPushButton>("BitBtn1"), Qt::LeftButton);

        const QString error = TTestEnvironment::Current().prompt.LastText("error");
        QVERIFY2(error.startsWith(QString("設定ファイル \"%1\" に書き込めません。")
                                      .arg(QDir::toNativeSeparators(ini))),
                 qPrintable(error));
        QVERIFY(form->isVisible());
        QVERIFY(QDir().rmdir(ini));
        QCOMPARE(TDatabase::AliasFolder("KANMURI"), before);
    }

    void closingSavesNothing()
    {
        Open();
        const QString before = TDatabase::AliasFolder("KANMURI");
        Control<QLineEdit>("Edit1")->setText(TTestEnvironment::Current().NewFolder());
        Control<QCheckBox>("CheckBox1")->setChecked(true);
        form->close();
        QCOMPARE(TDatabase::AliasFolder("KANMURI"), before);
        QCOMPARE(ReadSetting("UnUseInkan"), QString());
    }

    void folderButtonOpensAtTheFolderAndTakesTheChoice()
    {
        Open();
        const QString start = TTestEnvironment::Current().NewFolder();
        const QString chosen = TTestEnvironment::Current().NewFolder();
        auto* edit = Control<QLineEdit>("Edit1");
        edit->setText(start);

        QString openedAt;
        WhenModalShown([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("フォルダーの選択"));
            openedAt = dialog->directory().absolutePath();
            dialog->reject();
        });
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(openedAt, QDir(start).absolutePath());
        QCOMPARE(edit->text(), start);

        WhenModalShown([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->setDirectory(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(QDir(edit->text()).absolutePath(), QDir(chosen).absolutePath());
    }

    void colourBoxesTakeAConfirmedColourOnly()
    {
        WriteSetting("ColorOndoSikiRange", "65280");
        Open();
        auto* box = Control<QFrame>("Panel4");
        WhenModalShown([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QTest::mouseDClick(box, Qt::LeftButton);
        QCOMPARE(form->BoxColor(1), 65280);

        WhenModalShown([](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            QVERIFY(dialog);
            dialog->setCurrentColor(QColor(0, 0, 255));
            dialog->accept();
        });
        QTest::mouseDClick(box, Qt::LeftButton);
        QCOMPARE(form->BoxColor(1), 0xFF0000);
        QTest::mouseClick(Control<QPushButton>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(ReadSetting("ColorOndoSikiRange"), QString("16711680"));
    }

    void systemColoursSurviveASave()
    {
        // A Windows system colour (button face) as older installations stored it.
        WriteSetting("ColorOndoNeriRange", "-2147483633");
        Open();
        QTest::mouseClick(Control<QPushButton>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(ReadSetting("ColorOndoNeriRange"), QString("-2147483633"));
    }
};

KANMURI_TEST_MAIN(TestSetDataPath)
#include "tst_TfrmSetDataPath.moc"
