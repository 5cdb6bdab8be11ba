#include "foundation/EKanmuriError.h"
#include "foundation/Rows.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "mix/ShiftJis.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QFile>

namespace {

// A fresh data folder with every mixture table, the questions answered Yes.
void CreateTables()
{
    auto& prompt = TTestEnvironment::Current().prompt;
    for (int i = 0; i < 3; ++i)
        prompt.AnswerNext(true);
    TGozaiDef def;
    QVERIFY(!def.EnsureTables(TPrompt::YesNo));
}

// Saves a definition with recognisable values.
void SaveMix(const QString& name, double ratio, const QString& range, const QString& mass)
{
    TGozaiDef def;
    def.LoadByName(name);
    def.Standard->LoadByName("[M1]M-25");
    def.Kosyu = 2;
    def.Ruiseki = true;
    def.Mitudo[2] = "2.350";
    def.Ratios[1]->D[11] = ratio;
    def.Ranges[0]->Values[0] = range;
    def.Jyuryo[0] = mass;
    def.Save(name);
}

int Count(const QString& table)
{
    return TextsOf("select count(*) from " + table).value(0).toInt();
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestGozaiDef : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void tablesAreCreatedOnlyAfterTheQuestions()
    {
        auto& prompt = TTestEnvironment::Current().prompt;
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(false); // every question answered No
        TGozaiDef def;
        QVERIFY(!def.EnsureTables(TPrompt::YesNo));
        QCOMPARE(prompt.shown.value(0).text, QString("テーブルを作成しますか?"));
        QCOMPARE(prompt.shown.value(0).caption, QString("GozaiDef"));
        QVERIFY(!TDatabase::TableExists("GozaiDef"));
        QVERIFY(!TDatabase::TableExists("HBHaigoritu") && !TDatabase::TableExists("RyudoRange"));
        QCOMPARE(Count("Ryudokikaku"), 16); // the standards need no question

        CreateTables();
        const QStringList columns = TableColumns("GozaiDef");
        QCOMPARE(columns.size(), 39);
        QCOMPARE(columns.mid(0, 7), QStringList({"id", "DataName", "PrintName", "RyudoID", "Kosyu",
                                                 "Ruiseki", "Mitudo0"}));
        QCOMPARE(columns.mid(13, 3), QStringList({"RituID0", "RituID1", "RyudoID0"}));
        QCOMPARE(columns.last(), QString("Jyuryo11"));
        QVERIFY(def.EnsureTables(TPrompt::YesNo));
    }

    void tableCheckOfANewFolderKeepsTheDefinitionsStandard()
    {
        CreateTables();
        TGozaiDef def;
        def.Standard->LoadByName("[M1]M-25");
        const auto values = def.Standard->Values;
        TDatabase::SetAliasFolder(kAlias, TTestEnvironment::Current().NewFolder());
        CreateTables(); // the standards table is new there
        QCOMPARE(def.Standard->Kikakumei, QString("[M1]M-25"));
        QCOMPARE(def.Standard->ID, 9);
        QCOMPARE(def.Standard->Values, values);
    }

    void missingNameGivesAClearedRecordWithTheStandardWhole()
    {
        CreateTables();
        TGozaiDef def;
        def.Standard->LoadByName("[M1]M-25");
        def.Mitudo[0] = "x";
        QVERIFY(!def.LoadByName("新合材"));
        QCOMPARE(def.DataName, QString("新合材"));
        QCOMPARE(def.PrintName, QString("新合材"));
        QCOMPARE(def.ID, 0);
        QVERIFY(def.Mitudo[0].isEmpty());
        TRyudoKikaku standard;
        standard.LoadByName("[0]標準");
        QCOMPARE(def.Standard->Kikakumei, QString("[0]標準"));
        QCOMPARE(def.Standard->ID, standard.ID);
        QCOMPARE(def.Standard->Values, standard.Values);
    }

    void saveUnderANewNameGetsItsOwnRows()
    {
        CreateTables();
        SaveMix("A", 5.5, "85_100", "");
        TGozaiDef a;
        QVERIFY(a.LoadByName("A"));
        const int ratioA = a.Ratios[1]->ID, rangeA = a.Ranges[0]->ID;
        QCOMPARE(a.Kosyu, 2);
        QVERIFY(a.Ruiseki);
        QCOMPARE(a.Mitudo[2], QString("2.350"));
        QCOMPARE(a.Standard->Kikakumei, QString("[M1]M-25"));

        a.DataName = "B";
        a.Save("B");
        QCOMPARE(Count("GozaiDef"), 2);
        QCOMPARE(Count("HBHaigoritu"), 4);
        QCOMPARE(Count("RyudoRange"), 24);
        TGozaiDef b;
        QVERIFY(b.LoadByName("B"));
        QVERIFY(b.Ratios[1]->ID != ratioA && b.Ranges[0]->ID != rangeA);
        QCOMPARE(b.Ratios[1]->D[11], 5.5);
        QCOMPARE(b.Ranges[0]->Values[0], QString("85_100"));

        // Saving an existing definition updates in place, IDs kept.
        b.Ratios[1]->D[11] = 6.0;
        b.Save("B");
        QCOMPARE(Count("HBHaigoritu"), 4);
        TGozaiDef again;
        again.LoadByName("B");
        QCOMPARE(again.ID, b.ID);
        QCOMPARE(again.Ratios[1]->ID, b.Ratios[1]->ID);
        QCOMPARE(again.Ratios[1]->D[11], 6.0);
        a.LoadByName("A");
        QCOMPARE(a.Ratios[1]->D[11], 5.5);

        QStringList names;
        TGozaiDef::FillList(names);
        QCOMPARE(names, QStringList({"A", "B"}));
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|A", "0|2|B"}));
    }

    void massRangesKeepTheirOwnValue()
    {
        CreateTables();
        SaveMix("A", 1, "100", "85_100");
        QCOMPARE(ReadSetting("Juryo0"), QString("85_100"));
        SaveMix("B", 1, "100", "-");
        QCOMPARE(ReadSetting("Juryo0"), QString("85_100")); // "-" is not a positive number
        SaveMix("C", 1, "100", "");
        SaveMix("D", 1, "", "70");

        TGozaiDef def;
        def.LoadByName("B");
        QCOMPARE(def.Jyuryo[0], QString("-")); // its own column wins
        def.LoadByName("C");
        QCOMPARE(def.Jyuryo[0], QString("70")); // empty column: the last entered
        def.LoadByName("D");
        QVERIFY(def.Jyuryo[0].isEmpty()); // empty range: no mass range
    }

    void deleteKeepsStandardAndIndex()
    {
        CreateTables();
        SaveMix("A", 1, "100", "");
        TGozaiDef def;
        def.LoadByName("A");
        def.Delete();
        QCOMPARE(Count("GozaiDef"), 0);
        QCOMPARE(Count("HBHaigoritu"), 0);
        QCOMPARE(Count("RyudoRange"), 0);
        QCOMPARE(Count("Ryudokikaku"), 16);
        QCOMPARE(TableRows("ZairyoIndex"), QStringList({"0|1|A"}));
    }

    void saveOverAnotherNameWritesThatDefinitionsOwnRows()
    {
        CreateTables();
        SaveMix("A", 5.5, "85_100", "");
        SaveMix("B", 7.0, "0_15", "");
        TGozaiDef b;
        b.LoadByName("B");
        const int ratioB = b.Ratios[1]->ID, rangeB = b.Ranges[0]->ID, idB = b.ID;

        // A's contents stored under the name B, as "登録" with B typed does.
        TGozaiDef a;
        a.LoadByName("A");
        const int ratioA = a.Ratios[1]->ID, rangeA = a.Ranges[0]->ID;
        a.DataName = "B";
        a.Save("B");
        QCOMPARE(a.ID, idB);
        QCOMPARE(a.Ratios[1]->ID, ratioB);
        QCOMPARE(a.Ranges[0]->ID, rangeB);
        QCOMPARE(Count("HBHaigoritu"), 4);
        QCOMPARE(Count("RyudoRange"), 24);

        // From now on each changes only itself.
        a.Ratios[1]->D[11] = 9.9;
        a.Save("B");
        TGozaiDef check;
        check.LoadByName("A");
        QCOMPARE(check.Ratios[1]->ID, ratioA);
        QCOMPARE(check.Ranges[0]->ID, rangeA);
        QCOMPARE(check.Ratios[1]->D[11], 5.5);
        check.LoadByName("B");
        QCOMPARE(check.Ratios[1]->D[11], 9.9);
        QCOMPARE(check.Ranges[0]->Values[0], QString("85_100"));
        QVERIFY(check.Delete());
        check.LoadByName("A");
        QCOMPARE(check.Ratios[1]->D[11], 5.5);
        QCOMPARE(check.Ranges[0]->Values[0], QString("85_100"));
        QCOMPARE(Count("HBHaigoritu"), 2);
        QCOMPARE(Count("RyudoRange"), 12);
    }

    void deleteTakesOnlyTheRowItWasLoadedFrom()
    {
        CreateTables();
        SaveMix("A", 1, "100", "");
        TGozaiDef shown;
        shown.LoadByName("A");
        QCOMPARE(shown.ID, 1);

        // The data folder is repointed: there, ID 1 is another definition
        // and A has another ID.
        TDatabase::SetAliasFolder(kAlias, TTestEnvironment::Current().NewFolder());
        CreateTables();
        SaveMix("B", 2, "90_100", "");
        SaveMix("A", 3, "95_100", "");
        const QStringList before =
            TableRows("GozaiDef") + TableRows("HBHaigoritu") + TableRows("RyudoRange");
        QVERIFY(!shown.Delete());
        QCOMPARE(TableRows("GozaiDef") + TableRows("HBHaigoritu") + TableRows("RyudoRange"),
                 before);

        TGozaiDef unsaved;
        unsaved.LoadByName("新しい合材");
        QVERIFY(!unsaved.Delete());
        QCOMPARE(Count("GozaiDef"), 2);
    }

    void deleteKeepsSubRowsAnotherDefinitionPointsTo()
    {
        CreateTables();
        SaveMix("A", 1, "100", "");
        SaveMix("B", 2, "90_100", "");
        TGozaiDef a;
        a.LoadByName("A");
        // Rows shared by two definitions, as older saves could leave them.
        TQuery("update GozaiDef set RituID1 = :r, RyudoID0 = :g where DataName = 'B'")
            .Bind(":r", a.Ratios[1]->ID)
            .Bind(":g", a.Ranges[0]->ID)
            .Exec();
        QVERIFY(a.Delete());
        TGozaiDef b;
        b.LoadByName("B");
        QCOMPARE(b.Ratios[1]->D[11], 1.0);
        QCOMPARE(b.Ranges[0]->Values[0], QString("100"));
        QCOMPARE(Count("HBHaigoritu"), 3);
        QCOMPARE(Count("RyudoRange"), 13);
    }

    void missingTableIsNamedInPlainWords()
    {
        auto& prompt = TTestEnvironment::Current().prompt;
        prompt.AnswerNext(true);  // GozaiDef
        prompt.AnswerNext(false); // HBHaigoritu
        prompt.AnswerNext(true);  // RyudoRange
        TGozaiDef def;
        def.EnsureTables(TPrompt::YesNo);
        QString text;
        try {
            def.Save("A");
        } catch (const EDatabaseError& e) {
            text = e.text();
        }
        QVERIFY2(text.contains("HBHaigoritu") && text.contains("はい"), qPrintable(text));
        QCOMPARE(Count("GozaiDef"), 0);
    }

    void failedSaveLeavesNothingHalfWritten()
    {
        CreateTables();
        RefuseInserts("RyudoRange", "new.ID = 5");
        TGozaiDef def;
        def.LoadByName("A");
        QVERIFY_THROWS_EXCEPTION(std::exception, def.Save("A"));
        QCOMPARE(Count("GozaiDef"), 0);
        QCOMPARE(Count("HBHaigoritu"), 0);
        QCOMPARE(Count("RyudoRange"), 0);
        QCOMPARE(Count("ZairyoIndex"), 0);
    }

    void plantForMixReadsTheMixDataFile()
    {
        const QString folder = TTestEnvironment::Current().NewFolder() + "/";
        WriteSetting("HaigoDataPath", folder);
        TPlant plant;
        plant.Standard = 1;
        QVERIFY(plant.Save("標準プラント"));
        plant.Standard = 0;
        QVERIFY(plant.Save("第２プラント"));
        // The record of a deleted plant: its name is empty.
        QVERIFY(plant.Save("旧プラント"));
        QVERIFY(plant.Delete("旧プラント"));

        QByteArray goz(50506, '\0');
        const QByteArray name = ToShiftJis(u"第２プラント", 32);
        goz[0] = char(name.size());
        goz.replace(1, name.size(), name);
        WriteFile(folder + "密粒13.Goz", goz);
        QCOMPARE(TGozaiDef::PlantForMix("密粒13").Name, QString("第２プラント"));
        QCOMPARE(TGozaiDef::PlantForMix("無い合材").Name, QString("標準プラント"));
        QCOMPARE(TGozaiDef::PlantForMix("../" + folder.section('/', -2, -2) + "/密粒13").Name,
                 QString("標準プラント"));

        WriteSetting("PlantDataAlwaysDefaultUse", "true");
        QCOMPARE(TGozaiDef::PlantForMix("密粒13").Name, QString("第２プラント"));
        WriteSetting("PlantDataAlwaysDefaultUse", "TRUE");
        QCOMPARE(TGozaiDef::PlantForMix("密粒13").Name, QString("標準プラント"));
        WriteSetting("PlantDataAlwaysDefaultUse", "");

        // Damaged files: a length byte beyond the name field, a file that
        // ends inside the name. Neither reads past what is there.
        QByteArray overlong = goz;
        overlong[0] = char(200);
        overlong.replace(1 + name.size(), 40, QByteArray(40, 'x'));
        WriteFile(folder + "長い.Goz", overlong);
        QCOMPARE(TGozaiDef::PlantForMix("長い").Name, QString("標準プラント"));
        WriteFile(folder + "短い.Goz", goz.left(5));
        QCOMPARE(TGozaiDef::PlantForMix("短い").Name, QString("標準プラント"));
        WriteFile(folder + "空.Goz", QByteArray());
        QCOMPARE(TGozaiDef::PlantForMix("空").Name, QString("標準プラント"));
        WriteFile(folder + "一字.Goz", QByteArray(1, '\0'));
        QCOMPARE(TGozaiDef::PlantForMix("一字").Name, QString("標準プラント"));
        WriteFile(folder + "名無し.Goz", QByteArray(50506, '\0'));
        QCOMPARE(TGozaiDef::PlantForMix("名無し").Name, QString("標準プラント"));
    }

    void plantForMixWithAnUnreachableFolderFails()
    {
        // The share is offline: neither the current directory nor a new
        // folder there stands in for it.
        const QString work = TTestEnvironment::Current().NewFolder();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        WriteFile(work + "/密粒13.Goz", QByteArray(50506, '\0'));
        const QString share = TTestEnvironment::Current().NewFolder() + "/offline/";
        WriteSetting("HaigoDataPath", share);
        QString failure, expected;
        try {
            TGozaiDef::PlantForMix("密粒13");
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        try {
            TPlant::MixDataFolder();
        } catch (const EKanmuriError& e) {
            expected = e.text();
        }
        const QStringList made = QDir(work).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QDir::setCurrent(previous);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(failure, expected);
        QCOMPARE(made, QStringList({"密粒13.Goz"}));
        QCOMPARE(ReadSetting("HaigoDataPath"), share);
    }
};

KANMURI_TEST_MAIN(TestGozaiDef)
#include "foundation/TPrompt.h"
#include "tst_TGozaiDef.moc"
