#include "foundation/Settings.h"
#include "foundation/TIniFile.h"
#include "support/TTestEnvironment.h"

#include <QFile>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void readingMissingValueCreatesKeyNotValue()
    {
        const QString file = TTestEnvironment::Current().ConfigDir() + "/settings.ini";
        QVERIFY(!QFile::exists(file));
        QCOMPARE(ReadSetting("HojitsuSa"), QString());
        QVERIFY(QFile::exists(file));
        TIniFile ini(file);
        QVERIFY(ini.HasSection("kanmuri"));
        bool found = true;
        ini.Read("kanmuri", "HojitsuSa", &found);
        QVERIFY(!found);

        // The first start makes the key without reading anything.
        TTestEnvironment::Current().Reset();
        EnsureSettingsKey();
        QVERIFY(TIniFile(TTestEnvironment::Current().ConfigDir() + "/settings.ini")
                    .HasSection("kanmuri"));
    }

    void namesAreCaseInsensitive()
    {
        WriteSetting("HaigoDataPath", "/a");
        QCOMPARE(ReadSetting("Haigodatapath"), QString("/a"));
        WriteSetting("HAIGODATAPATH", "/b");
        QCOMPARE(ReadSetting("HaigoDataPath"), QString("/b"));
        // One value, not three.
        QFile f(TTestEnvironment::Current().ConfigDir() + "/settings.ini");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).count("=", Qt::CaseInsensitive), 1);
    }

    void valuesKeepTheirExactText()
    {
        const QString values[] = {"TRUE",  "true",         " padded ",   "ＭＳ 明朝",
                                  "a=b;c", "line1\nline2", "C:\\data\\", ""};
        int i = 0;
        for (const QString& v : values) {
            const QString name = QString("Value%1").arg(i++);
            WriteSetting(name, v);
            QCOMPARE(ReadSetting(name), v);
        }
        // "true" is not "TRUE": the reader compares exactly.
        WriteSetting("FillerZeroPrint", "true");
        QVERIFY(ReadSetting("FillerZeroPrint") != "TRUE");
    }

    void nothingIsCachedBetweenTwoWriters()
    {
        WriteSetting("GraphColor", "255");
        QCOMPARE(ReadSetting("GraphColor"), QString("255"));
        // Another program writes the same store behind our back.
        TIniFile other(TTestEnvironment::Current().ConfigDir() + "/settings.ini");
        other.Write("KANMURI", "graphcolor", "65535");
        other.Write("kanmuri", "UseRate", "TRUE");
        QCOMPARE(ReadSetting("GraphColor"), QString("65535"));
        WriteSetting("UnUseInkan", "FALSE");
        // Our write kept the other writer's value.
        QCOMPARE(ReadSetting("UseRate"), QString("TRUE"));
    }

    void unwritableStoreFailsPlainly()
    {
        const QString blocked = TTestEnvironment::Current().NewFolder() + "/file";
        QFile f(blocked);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        // The configuration folder lies "inside" a plain file: cannot exist.
        qputenv("KANMURI_CONFIG_DIR", (blocked + "/config").toUtf8());
        QCOMPARE(ReadSetting("HojitsuSa"), QString());
        QVERIFY_THROWS_EXCEPTION(std::exception, WriteSetting("HojitsuSa", "1"));
    }
};

KANMURI_TEST_MAIN(TestSettings)
#include "tst_Settings.moc"
