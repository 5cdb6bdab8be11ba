#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"
#include "store/Digits.h"
#include "support/TTestEnvironment.h"

class TestDigits : public QObject
{
    Q_OBJECT

    // The setting number of each value position 0 to 32.
    static int KeyOf(int position)
    {
        static const int keys[kDigitsPositions] = {12, 13, 1, 1, 2,  2,  3,  3,  4,  4,  4,
                                                   5,  5,  6, 6, 6,  7,  7,  7,  7,  8,  8,
                                                   8,  9,  9, 9, 10, 10, 10, 10, 11, 11, 11};
        return keys[position];
    }

    static QString Key(int number) { return QStringLiteral("HojituKetasu%1").arg(number); }

    static QString ErrorOf(int position)
    {
        try {
            Digits(position);
        } catch (const ESettingsError& e) {
            return e.text();
        }
        return QString();
    }

private slots:
    void init() { TTestEnvironment::Current().Reset(); }

    void everyPositionReadsTheSettingOfItsColumn()
    {
        // Distinct digits per setting, so a position mapped to a neighbour shows.
        for (int key = 1; key <= 13; ++key)
            WriteSetting(Key(key), QString::number(key));
        for (int position = 0; position < kDigitsPositions; ++position) {
            QCOMPARE(DigitsSettingName(position), Key(KeyOf(position)));
            QCOMPARE(Digits(position), KeyOf(position));
            QCOMPARE(DigitsFormat(position), "%1." + QString::number(KeyOf(position)) + "f");
        }
    }

    void missingOrEmptySettingsAreWrittenWithTheirDefaults()
    {
        const QStringList defaults = {"1", "1", "1", "1", "3", "3", "3",
                                      "1", "4", "4", "1", "4", "4"}; // keys 12, 13, 1 ... 11
        const int order[] = {12, 13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        EnsureDigitsSettings();
        for (int i = 0; i < 13; ++i)
            QCOMPARE(ReadSetting(Key(order[i])), defaults[i]);

        WriteSetting("HojituKetasu7", "");
        WriteSetting("HojituKetasu3", "  ");
        QCOMPARE(FormatDigits(16, 1.5), QString("1.5000"));
        QCOMPARE(ReadSetting("HojituKetasu7"), QString("4"));
        QCOMPARE(DigitsFormat(7), QString("%1.3f"));
        QCOMPARE(ReadSetting("HojituKetasu3"), QString("3"));

        // A value the user chose is never replaced.
        WriteSetting("HojituKetasu12", "0");
        EnsureDigitsSettings();
        QCOMPARE(ReadSetting("HojituKetasu12"), QString("0"));
    }

    void valuesAreRoundedNotCut()
    {
        WriteSetting("HojituKetasu3", "3");
        QCOMPARE(FormatDigits(6, 12.3449), QString("12.345"));
        QCOMPARE(FormatDigits(6, 12.3456), QString("12.346"));
        QCOMPARE(FormatDigits(7, 1234567.0), QString("1234567.000")); // no separator

        WriteSetting("HojituKetasu12", "0");
        QCOMPARE(DigitsFormat(0), QString("%1.0f"));
        QCOMPARE(FormatDigits(0, 12.6), QString("13"));
        QCOMPARE(FormatDigits(0, 1500.0), QString("1500"));

        WriteSetting("HojituKetasu13", " 2 "); // blanks typed around the number
        QCOMPARE(FormatDigits(1, 3.14159), QString("3.14"));
    }

    void aSettingThatIsNoWholeNumberIsReportedByName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("letters") << "abc";
        QTest::newRow("fraction") << "1.5";
        QTest::newRow("negative") << "-1";
        QTest::newRow("too many") << "16";
        QTest::newRow("absurd") << "99999999999";
        QTest::newRow("full-width") << "３";
    }

    void aSettingThatIsNoWholeNumberIsReportedByName()
    {
        QFETCH(QString, stored);
        WriteSetting("HojituKetasu3", stored);
        const QString text = ErrorOf(7);
        QVERIFY2(text.contains("HojituKetasu3"), qPrintable(text));
        QVERIFY2(text.contains("\"" + stored + "\""), qPrintable(text));
        QVERIFY_THROWS_EXCEPTION(ESettingsError, FormatDigits(6, 1.0));
        QVERIFY_THROWS_EXCEPTION(ESettingsError, DigitsFormat(6));
        // Left for the user to correct, and the other columns still work.
        QCOMPARE(ReadSetting("HojituKetasu3"), stored);
        QCOMPARE(FormatDigits(8, 2.0), QString("2.000"));
    }

    void limits()
    {
        WriteSetting("HojituKetasu1", QString::number(kMaxDigits));
        QCOMPARE(FormatDigits(2, 0.5).size(), 2 + kMaxDigits);
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, Digits(-1));
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, DigitsFormat(33));
    }
};

KANMURI_TEST_MAIN(TestDigits)
#include "tst_Digits.moc"
