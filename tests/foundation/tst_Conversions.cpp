#include "foundation/Conversions.h"
#include "foundation/DateTime.h"
#include "support/TTestEnvironment.h"

#include <QDate>

namespace {
constexpr double kNoLimit = 1e12;
}

class TestConversions : public QObject
{
    Q_OBJECT
private slots:
    void numberOrZeroReadsEntryFieldsLeniently_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks") << "   " << 0.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("comma and unit") << "1,234.5 t" << 1234.5;
        QTest::newRow("negative with unit") << "-1.5m" << -1.5;
        QTest::newRow("padded") << "  12 " << 12.0;
        QTest::newRow("currency sign") << "¥1,000" << 1000.0;
        QTest::newRow("two points") << "1.2.3" << 0.0;
        QTest::newRow("minus in the middle") << "1-2" << 0.0;
        QTest::newRow("minus alone") << "-" << 0.0;
        // The exponent letter is filtered out like any other letter.
        QTest::newRow("exponent") << "1e3" << 13.0;
        // What an input method left on types: the number it shows.
        QTest::newRow("full-width digits") << "１２" << 12.0;
        QTest::newRow("full-width minus and point") << "－３．５ｍ" << -3.5;
    }
    void numberOrZeroReadsEntryFieldsLeniently()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(NumberOrZero(text), expected);
    }

    void strictReadersAcceptOnlyPlainNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("asFloat");
        QTest::addColumn<int>("asInteger");
        QTest::newRow("integer") << "12" << 12.0 << 12;
        QTest::newRow("negative") << "-5" << -5.0 << -5;
        QTest::newRow("decimal") << "1.5" << 1.5 << 0;
        QTest::newRow("exponent") << "-2.5e2" << -250.0 << 0;
        QTest::newRow("leading blank") << " 1" << 0.0 << 0;
        QTest::newRow("trailing blank") << "1 " << 0.0 << 0;
        QTest::newRow("thousands comma") << "1,234" << 0.0 << 0;
        QTest::newRow("unit") << "5t" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("infinity") << "inf" << 0.0 << 0;
        QTest::newRow("not a number") << "nan" << 0.0 << 0;
        QTest::newRow("beyond int") << "2147483648" << 2147483648.0 << 0;
    }
    void strictReadersAcceptOnlyPlainNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, asFloat);
        QFETCH(int, asInteger);
        QCOMPARE(FloatOrZero(text), asFloat);
        QCOMPARE(IntegerOrZero(text), asInteger);
    }

    void dateOrZeroReadsTheShortDateFormat_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("padded") << "2024/01/05" << EncodeDate(2024, 1, 5);
        QTest::newRow("not padded") << "2024/1/5" << EncodeDate(2024, 1, 5);
        QTest::newRow("blanks around") << " 2024/12/31 " << EncodeDate(2024, 12, 31);
        QTest::newRow("month 13") << "2024/13/01" << 0.0;
        QTest::newRow("30 February") << "2024/02/30" << 0.0;
        QTest::newRow("other format") << "2024-01-05" << 0.0;
        QTest::newRow("empty") << "  " << 0.0;
    }
    void dateOrZeroReadsTheShortDateFormat()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(DateOrZero(text), expected);
    }

    void aMonthAndDayTakeTheNearestYear()
    {
        const auto read = [](const QString& text, QDate today) {
            TDateTime value = 0;
            return TryStrToDate(text, value, today) ? ToQDate(value) : QDate();
        };
        QCOMPARE(read("12/28", QDate(2027, 1, 3)), QDate(2026, 12, 28));
        QCOMPARE(read("1/5", QDate(2026, 12, 28)), QDate(2027, 1, 5));
        QCOMPARE(read("6/15", QDate(2026, 6, 1)), QDate(2026, 6, 15));
        QCOMPARE(read("2/29", QDate(2027, 12, 1)), QDate(2028, 2, 29));
        QCOMPARE(read("2/30", QDate(2027, 12, 1)), QDate());
        // A full date is taken as typed.
        QCOMPARE(read("2024/12/28", QDate(2027, 1, 3)), QDate(2024, 12, 28));
    }

    void zeroDateIsTheOrigin()
    {
        QCOMPARE(ToQDate(0), QDate(1899, 12, 30));
        QCOMPARE(MonthOf(0), 12);
        QCOMPARE(DayOf(0), 30);
        QCOMPARE(MonthOf(EncodeDate(2024, 2, 29)), 2);
        QCOMPARE(DayOf(EncodeDate(2024, 2, 29)), 29);
    }

    void storedDateTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("midnight") << "2026-06-05 00:00:00" << EncodeDate(2026, 6, 5);
        QTest::newRow("noon") << "2026-06-05 12:00:00" << EncodeDate(2026, 6, 5) + 0.5;
        QTest::newRow("before the origin") << "1899-12-29 06:00:00" << -1.25;
        QTest::newRow("ISO with T") << "2026-06-05T00:00:00" << EncodeDate(2026, 6, 5);
        QTest::newRow("date only") << "2026-06-05" << EncodeDate(2026, 6, 5);
        QTest::newRow("no such month") << "2026-13-05 00:00:00" << 0.0;
        QTest::newRow("letters") << "2026-0x-05 00:00:00" << 0.0;
    }
    void storedDateTexts()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(SqlTextToDateTime(text), value);
        if (value > 0 && text.size() == 19 && text[10] == ' ')
            QCOMPARE(DateTimeToSqlText(value), text);
    }

    void roundUpHasATolerance_data()
    {
        QTest::addColumn<int>("digits");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole stays") << 0 << 2.0 << 2.0;
        QTest::newRow("clearly above") << 0 << 2.1 << 3.0;
        QTest::newRow("above the tolerance") << 0 << 2.00002 << 3.0;
        // Up to 0.00001 above a step counts as the step itself.
        QTest::newRow("within the tolerance") << 0 << 2.000001 << 2.0;
        QTest::newRow("far within") << 0 << 2.000000001 << 2.0;
        QTest::newRow("one decimal up") << 1 << 1.20001 << 1.3;
        QTest::newRow("one decimal exact") << 1 << 1.2 << 1.2;
        QTest::newRow("binary noise") << 2 << 0.1 + 0.2 << 0.3;
        QTest::newRow("negative") << 0 << -1.5 << 0.0;
    }
    void roundUpHasATolerance()
    {
        QFETCH(int, digits);
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(RoundUp(digits, value), expected);
    }

    void rangeLimits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("upper");
        QTest::addColumn<double>("lower");
        QTest::newRow("low_high") << "10_20" << 20.0 << 10.0;
        QTest::newRow("high_low") << "20_10" << 20.0 << 10.0;
        QTest::newRow("single") << "15" << 15.0 << 15.0;
        QTest::newRow("empty") << "" << kNoLimit << -kNoLimit;
        QTest::newRow("no requirement") << "-" << kNoLimit << -kNoLimit;
        QTest::newRow("upper only") << "_5" << 5.0 << -kNoLimit;
        QTest::newRow("lower only") << "5_" << kNoLimit << 5.0;
        QTest::newRow("bar alone") << "_" << kNoLimit << -kNoLimit;
        QTest::newRow("unreadable low") << "x_10" << kNoLimit << 10.0;
        QTest::newRow("unreadable lower only") << "x_" << kNoLimit << kNoLimit;
        QTest::newRow("nothing readable after") << "_x" << kNoLimit << -kNoLimit;
        QTest::newRow("read strictly") << "1,000_5" << kNoLimit << 5.0;
        QTest::newRow("decimals") << "2.5_10.5" << 10.5 << 2.5;
    }
    void rangeLimits()
    {
        QFETCH(QString, text);
        QFETCH(double, upper);
        QFETCH(double, lower);
        QCOMPARE(RangeUpper(text), upper);
        QCOMPARE(RangeLower(text), lower);
    }

    void pickListTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("code and name") << "0012:国道改良工事"
                                       << "0012"
                                       << "国道改良工事";
        QTest::newRow("colon first") << ":名前"
                                     << ""
                                     << "";
        QTest::newRow("no colon") << "0012"
                                  << "0012"
                                  << "";
        QTest::newRow("second colon kept") << "A:b:c"
                                           << "A"
                                           << "b:c";
        QTest::newRow("empty name") << "A:"
                                    << "A"
                                    << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void pickListTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QCOMPARE(CodeOf(text), code);
        QCOMPARE(NameOf(text), name);
    }

    void textAroundASeparator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("found") << "key=value"
                               << "="
                               << "key"
                               << "value";
        QTest::newRow("first of two") << "a=b=c"
                                      << "="
                                      << "a"
                                      << "b=c";
        QTest::newRow("long separator") << "a->b"
                                        << "->"
                                        << "a"
                                        << "b";
        QTest::newRow("at the start") << "=b"
                                      << "="
                                      << ""
                                      << "b";
        QTest::newRow("missing") << "abc"
                                 << "="
                                 << ""
                                 << "abc";
    }
    void textAroundASeparator()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(TextBefore(text, separator), before);
        QCOMPARE(TextAfter(text, separator), after);
    }

    void formatFixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no separator") << 1234.5 << 2 << "1234.50";
        QTest::newRow("half away from zero") << 2.5 << 0 << "3";
        QTest::newRow("rounded") << 1.26 << 1 << "1.3";
        QTest::newRow("negative") << -1.06 << 1 << "-1.1";
        QTest::newRow("negative zero") << -0.04 << 1 << "0.0";
        QTest::newRow("negative zero, three places") << -0.0004 << 3 << "0.000";
        // Decimal ties whose doubles lie just below them round as written.
        QTest::newRow("decimal tie") << 2.675 << 2 << "2.68";
        QTest::newRow("decimal tie 1.005") << 1.005 << 2 << "1.01";
        QTest::newRow("negative decimal tie") << -0.125 << 2 << "-0.13";
        // A difference computed from two typed values: exactly -0.9875.
        QTest::newRow("computed tie") << 37.2 - 38.1875 << 3 << "-0.988";
        QTest::newRow("carry into the whole part") << 9.995 << 2 << "10.00";
        QTest::newRow("carry to a new digit") << 999.96 << 1 << "1000.0";
        QTest::newRow("below the tie") << 2.67499 << 2 << "2.67";
        QTest::newRow("large") << 123456789.125 << 2 << "123456789.13";
        QTest::newRow("tiny") << 1e-7 << 3 << "0.000";
        QTest::newRow("no decimals, small") << 0.4 << 0 << "0";
    }
    void formatFixed()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(FormatFixed(value, digits), expected);
    }
};

KANMURI_TEST_MAIN(TestConversions)
#include "tst_Conversions.moc"
