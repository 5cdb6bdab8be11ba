// The Paradox reader on tables as real offices have them (other code pages,
// version 3.5, BCD numbers) and on columns laid out as no sound table is.
#include "foundation/EKanmuriError.h"
#include "foundation/TParadoxTable.h"
#include "support/ParadoxWriter.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QtEndian>

namespace {

QString NewTable()
{
    return QDir(TTestEnvironment::Current().NewFolder()).filePath("T.DB");
}

QList<QVariantList> ReadAll(const QString& file)
{
    TParadoxTable table(file);
    QList<QVariantList> records;
    for (int i = 0; i < table.RecordCount(); ++i)
        records << table.Record(i);
    return records;
}

// The refusal's text; empty when the table was read.
QString Refusal(const QString& file)
{
    try {
        ReadAll(file);
    } catch (const EKanmuriError& e) {
        return e.text();
    }
    return QString();
}

} // namespace

class TestParadoxTable : public QObject
{
    Q_OBJECT

private slots:
    // The library copies a value by the column's length into a buffer of the
    // type's size: a Number column of 12 bytes holding a negative number
    // overwrote the stack.
    void columnsNotLaidOutAsTheirTypeAreRefusedByName_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("decimals");
        QTest::newRow("number of 12 bytes") << int(pxfNumber) << 12 << 0;
        QTest::newRow("timestamp of 9 bytes") << int(pxfTimestamp) << 9 << 0;
        QTest::newRow("short of 1 byte") << int(pxfShort) << 1 << 0;
        QTest::newRow("long of 3 bytes") << int(pxfLong) << 3 << 0;
        QTest::newRow("BCD with 40 decimals") << int(pxfBCD) << 17 << 40;
        QTest::newRow("a type Paradox does not have") << 0x0B << 4 << 0;
    }
    void columnsNotLaidOutAsTheirTypeAreRefusedByName()
    {
        QFETCH(int, type);
        QFETCH(int, length);
        QFETCH(int, decimals);
        const QString file = NewTable();
        {
            TParadoxWriter writer(file,
                                  {{"Code", pxfAlpha, 8}, {"Menge", char(type), length, decimals}});
            // Negative, as the library reads it: its bytes are turned around
            // over the column's whole length.
            writer.Add({"A1", QByteArray(length, '\x01')});
        }
        const QString refusal = Refusal(file);
        QVERIFY2(refusal.contains(QDir::toNativeSeparators(file)), qPrintable(refusal));
        QVERIFY2(refusal.contains("\"Menge\""), qPrintable(refusal));
    }

    void bcdNumbersAreReadWithTheirValue()
    {
        const QString file = NewTable();
        {
            TParadoxWriter writer(file, {{"Betrag", pxfBCD, 17, 2}, {"Anzahl", pxfBCD, 17, 0}});
            writer.Add({"12.50", "42"});
            writer.Add({"-3.25", "-7"});
            writer.Add({"0.00", QVariant()});
            writer.Add({"1234567890.99", "0"});
        }
        QCOMPARE(
            ReadAll(file),
            (QList<QVariantList>{
                {"12.50", "42"}, {"-3.25", "-7"}, {"0.00", QVariant()}, {"1234567890.99", "0"}}));

        // A value whose own count of decimals is not the column's cannot be
        // read: it stops the reading, naming the record and the column.
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QByteArray bytes = damaged.readAll();
        const int headerSize = qFromLittleEndian<quint16>(bytes.constData() + 2);
        bytes[headerSize + 6 + 2 * 34] = char(0xC0 + 5); // the third record, first column
        damaged.seek(0);
        damaged.write(bytes);
        damaged.close();
        const QString refusal = Refusal(file);
        QVERIFY2(refusal.contains("3 件目") && refusal.contains("\"Betrag\""), qPrintable(refusal));
    }

    void version35TablesAreRead()
    {
        const QString file = NewTable();
        TParadoxOptions version35;
        version35.version35 = true;
        {
            TParadoxWriter writer(file,
                                  {{"KOJICODE", pxfAlpha, 8},
                                   {"KOJIMEI", pxfAlpha, 40},
                                   {"ID", pxfLong, 4},
                                   {"Kingaku", pxfNumber, 8},
                                   {"Kanryo", pxfLogical, 1}},
                                  version35);
            for (int i = 0; i < 2197; ++i)
                writer.Add(
                    {QString("K%1").arg(i), "県道１号舗装工事", qlonglong(i), i * 0.5, i % 2});
        }
        TParadoxTable table(file);
        QCOMPARE(table.RecordCount(), 2197);
        QCOMPARE(table.Record(2196),
                 (QVariantList{"K2196", "県道１号舗装工事", qlonglong(2196), 1098.0, false}));

        // The marker that sends a reader to the data header, in a table that
        // has none, is refused rather than followed.
        QFile file35(file);
        QVERIFY(file35.open(QIODevice::ReadWrite));
        file35.seek(0x25);
        file35.write(QByteArray::fromHex("00ff00ff"));
        file35.close();
        QVERIFY(!Refusal(file).isEmpty());
    }

    void textsAndNamesAreDecodedByTheTablesCodePage_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("1252") << 1252 << "Währung"
                              << "Müller Straßenbau €";
        QTest::newRow("866") << 866 << "Дорога"
                             << "Асфальт №5";
        QTest::newRow("932") << 932 << "合材名"
                             << "密粒度アスコン１３";
        QTest::newRow("none: Shift-JIS") << 0 << "工事名"
                                         << "ｱｽﾌｧﾙﾄ舗装";
    }
    void textsAndNamesAreDecodedByTheTablesCodePage()
    {
        QFETCH(int, codePage);
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QString file = NewTable();
        TParadoxOptions options;
        options.codePage = codePage;
        {
            TParadoxWriter writer(file, {{name, pxfAlpha, 40}}, options);
            writer.Add({text});
        }
        TParadoxTable table(file);
        QCOMPARE(table.CodePage(), codePage);
        QCOMPARE(table.Fields().first().Name, name);
        QCOMPARE(table.Record(0), QVariantList{text});
    }

    void aCodePageWithoutAConverterIsRefused()
    {
        const QString file = NewTable();
        TParadoxOptions options;
        options.codePage = 4711;
        {
            TParadoxWriter writer(file, {{"Code", pxfLong, 4}}, options);
            writer.Add({qlonglong(1)});
        }
        QVERIFY(Refusal(file).contains("4711"));
    }
};

KANMURI_TEST_MAIN(TestParadoxTable)
#include "tst_TParadoxTable.moc"
