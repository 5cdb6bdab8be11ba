#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "masters/TfrmEditKosyu.h"
#include "support/TTestEnvironment.h"

#include <QDir>

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void freshStartCreatesTheTablesWithoutQuestions()
    {
        TTestEnvironment::Current().Reset();
        TForms::Instance().CreateAll();
        for (const char* table : {"HojituHead4", "HojituLine4", "Koji1", "Kosyu4", "Hacchusya",
                                  "Ukeoisya", "Simei", "ZairyoIndex", "Ryudokikaku"})
            QVERIFY2(TDatabase::TableExists(table), table);
        QStringList digits;
        for (int key : {12, 13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})
            digits << ReadSetting(QString("HojituKetasu%1").arg(key));
        QCOMPARE(digits.join(','), QString("1,1,1,1,3,3,3,1,4,4,1,4,4"));
        QCOMPARE(TTestEnvironment::Current().prompt.shown.size(), 0);
        TForms::Instance().DestroyAll();
    }

    void unreachableDataFolderStillOpensTheWindows()
    {
        TTestEnvironment::Current().Reset();
        TDatabase::SetAliasFolder(
            kAlias, QDir(TTestEnvironment::Current().NewFolder()).filePath("unplugged"));
        TForms::Instance().CreateAll();
        QVERIFY(TForms::Instance().frmEditHojitsu4);
        QVERIFY(TForms::Instance().fSelectMultiItems); // the last one made
        QCOMPARE(TTestEnvironment::Current().prompt.Texts("error"), QStringList());
        TForms::Instance().DestroyAll();
    }

    void windowsAreAllMadeWhenTheSettingsCannotBeWritten()
    {
        TTestEnvironment::Current().Reset();
        // A folder where the settings file should be: nothing can be written.
        QVERIFY(QDir(TTestEnvironment::Current().ConfigDir()).mkpath("settings.ini"));
        TForms& forms = TForms::Instance();
        forms.CreateAll();
        const QStringList errors = TTestEnvironment::Current().prompt.Texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains("settings.ini"));
        QVERIFY(forms.frmSetHojituKetasu);
        QVERIFY(forms.frmSetDataPath);
        QVERIFY(forms.fSelectMultiItems);
        // The tables were still checked and the menus open their windows.
        QVERIFY(TDatabase::TableExists("Ryudokikaku"));
        TriggerAction(forms.frmEditHojitsu4, "mnuKosyu");
        QVERIFY(forms.frmEditKosyu->isVisible());
        forms.DestroyAll();
    }
};

KANMURI_TEST_MAIN(TestForms)
#include "tst_TForms.moc"
