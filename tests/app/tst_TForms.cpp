#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
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
};

KANMURI_TEST_MAIN(TestForms)
#include "tst_TForms.moc"
