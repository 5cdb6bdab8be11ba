#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"
#include "mix/TPlant.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

const QString kPlantNo1 = QStringLiteral("第１プラント");
const QByteArray kPlantNo1Sjis = QByteArray::fromHex("91e682508376838983938367");

// A record laid out byte by byte, independent of the code under test.
class THandRecord
{
public:
    THandRecord() : bytes(215, '\0') {}

    THandRecord& Text(int offset, const QByteArray& text, int lengthByte = -1)
    {
        bytes[offset] = char(lengthByte < 0 ? text.size() : lengthByte);
        bytes.replace(offset + 1, text.size(), text);
        return *this;
    }
    THandRecord& Name(const QByteArray& text) { return Text(0, text); }
    THandRecord& Int(int offset, qint32 value)
    {
        qToLittleEndian(value, bytes.data() + offset);
        return *this;
    }
    THandRecord& Standard(qint32 flag) { return Int(211, flag); }
    THandRecord& Bin(int bin, const QByteArray& name, const QByteArray& range)
    {
        Text(55 + (bin - 1) * 13, name);
        return Text(133 + (bin - 1) * 13, range);
    }

    QByteArray bytes;
};

} // namespace

class TestPlant : public QObject
{
    Q_OBJECT

    QString folder;

    QString PlantFile() const { return folder + "Plant.Dat"; }

    QByteArray FileBytes() const
    {
        QFile file(PlantFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WriteFile(const QByteArray& bytes)
    {
        QFile file(PlantFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    qint32 FlagAt(int record) const
    {
        return qFromLittleEndian<qint32>(FileBytes().constData() + record * 215 + 211);
    }

    static void SavePlant(const QString& name, bool standard, const QString& bin1 = QString())
    {
        TPlant plant;
        plant.BatchWeight = "1000";
        plant.BinName[0] = bin1;
        plant.Standard = standard ? 1 : 0;
        QVERIFY(plant.Save(name));
    }

    QStringList Names() const
    {
        QStringList list{"stale"};
        TPlant().FillList(list);
        return list;
    }

    TScriptedPrompt& Prompt() { return TTestEnvironment::Current().prompt; }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        folder = TTestEnvironment::Current().NewFolder() + QDir::separator();
        WriteSetting("HaigoDataPath", folder);
    }

    void savedRecordIsByteExact()
    {
        TPlant plant;
        plant.BatchWeight = "3000";
        plant.LoadCellFactor = "1.05";
        plant.InitialWeighing = 1;
        plant.BinName = {"ホット１", "2", "", "", "", "骨材"};
        plant.BinRange = {"５～１３", "", "", "", "", "0_2.36"};
        QVERIFY(plant.Save(kPlantNo1));

        THandRecord expected;
        expected.Name(kPlantNo1Sjis)
            .Text(33, "3000")
            .Text(42, "1.05")
            .Int(51, 1)
            .Bin(1, QByteArray::fromHex("837a836283678250"),
                 QByteArray::fromHex("8254816082508252"))
            .Bin(2, "2", "")
            .Bin(6, QByteArray::fromHex("8d9c8dde"), "0_2.36")
            .Standard(1);
        QCOMPARE(FileBytes().toHex(), expected.bytes.toHex());
        QCOMPARE(plant.Name, kPlantNo1);
    }

    void handBuiltFileIsRead()
    {
        THandRecord deleted, other, standard;
        deleted.Text(0, "OLD", 0).Text(33, "999").Standard(0);
        other.Name(QByteArray::fromHex("82608d488fea"))
            .Text(33, "2500")
            .Text(42, "0.98")
            .Int(51, 1)
            .Bin(1, QByteArray::fromHex("91658d9c8dde83728393"), "13_20")
            .Bin(6, "F", "0_2.5")
            .Standard(0);
        standard.Name(kPlantNo1Sjis).Text(33, "4000").Standard(1);
        WriteFile(deleted.bytes + other.bytes + standard.bytes);

        TPlant plant;
        plant.LoadStandard();
        QCOMPARE(plant.Name, kPlantNo1);
        QCOMPARE(plant.BatchWeight, QString("4000"));
        QCOMPARE(plant.Standard, 1);

        QVERIFY(plant.LoadByName("Ａ工場"));
        QCOMPARE(plant.Name, QString("Ａ工場"));
        QCOMPARE(plant.BatchWeight, QString("2500"));
        QCOMPARE(plant.LoadCellFactor, QString("0.98"));
        QCOMPARE(plant.InitialWeighing, 1);
        QCOMPARE(plant.BinName[0], QString("粗骨材ビン"));
        QCOMPARE(plant.BinRange[0], QString("13_20"));
        QCOMPARE(plant.BinRange[5], QString("0_2.5"));
        QCOMPARE(plant.Standard, 0);

        // An unknown name leaves the record as it was.
        const TPlantRecord before = plant;
        QVERIFY(!plant.LoadByName("OLD"));
        QVERIFY(!plant.LoadByName("Ａ工場 "));
        QVERIFY(plant == before);

        QCOMPARE(Names(), QStringList({"Ａ工場", kPlantNo1}));

        // Without a standard plant the last record is taken.
        WriteFile(deleted.bytes + other.bytes);
        plant.LoadStandard();
        QCOMPARE(plant.Name, QString("Ａ工場"));
    }

    void missingFile()
    {
        TPlant plant;
        plant.Name = "x";
        plant.Standard = 0;
        plant.LoadStandard();
        QVERIFY(plant == TPlantRecord());
        QVERIFY(!plant.LoadByName("x"));
        QVERIFY(!plant.Delete("x"));
        QCOMPARE(Names(), QStringList());
        QVERIFY(!QFile::exists(PlantFile()));

        QVERIFY(plant.Save("A"));
        QCOMPARE(FileBytes().size(), 215);
        QCOMPARE(FlagAt(0), 1);
    }

    void oneStandardPlant()
    {
        SavePlant("A", true, "a1");
        SavePlant("B", true, "b1");
        QCOMPARE(FlagAt(0), 0);
        QCOMPARE(FlagAt(1), 1);
        TPlant plant;
        QVERIFY(plant.LoadByName("A"));
        QCOMPARE(plant.BinName[0], QString("a1"));
        plant.LoadStandard();
        QCOMPARE(plant.Name, QString("B"));

        // The standard plant cannot be unticked or deleted; nothing is written.
        const QByteArray before = FileBytes();
        plant.Standard = 0;
        plant.BinName[0] = "changed";
        QVERIFY(!plant.Save("B"));
        QVERIFY(!plant.Delete("B"));
        QCOMPARE(FileBytes(), before);
        QCOMPARE(Prompt().Texts("message"),
                 QStringList({"標準のプラントのチェックをオフにする場合は、他のプラントを標準の"
                              "プラントにして下さい。",
                              "標準のプラントに設定されているため、削除できません。"}));

        // A plant that is not standard may be saved unticked, and then take
        // the flag over.
        SavePlant("A", false, "a2");
        QCOMPARE(FileBytes().size(), 2 * 215);
        SavePlant("A", true, "a3");
        QCOMPARE(FlagAt(0), 1);
        QCOMPARE(FlagAt(1), 0);
        plant.LoadStandard();
        QCOMPARE(plant.BinName[0], QString("a3"));
    }

    void deletedRecordsStayBlankAndAreNotReused()
    {
        SavePlant("A", true);
        SavePlant("B", false, "b1");
        SavePlant("C", false);
        const QByteArray before = FileBytes();

        QVERIFY(TPlant().Delete("B"));
        QByteArray expected = before;
        expected[215] = '\0';
        QCOMPARE(FileBytes(), expected);
        QCOMPARE(Names(), QStringList({"A", "C"}));
        QVERIFY(!TPlant().LoadByName("B"));

        SavePlant("B", false, "b2");
        QCOMPARE(FileBytes().size(), 4 * 215);
        QCOMPARE(FileBytes().left(3 * 215), expected);
        QCOMPARE(Names(), QStringList({"A", "C", "B"}));

        // The empty name is no plant: it neither finds nor blanks a deleted
        // record, nor fills its slot.
        const QByteArray withB = FileBytes();
        TPlant unnamed;
        QVERIFY(!unnamed.LoadByName(""));
        QVERIFY(unnamed == TPlantRecord());
        QVERIFY(!unnamed.Delete(""));
        QCOMPARE(FileBytes(), withB);
    }

    void blankNamesAreRefused()
    {
        SavePlant("A", true);
        const QByteArray before = FileBytes();
        // Saved as standard, such a plant would become the standard plant
        // while no list shows it.
        TPlant unnamed;
        unnamed.BatchWeight = "7";
        QVERIFY(!unnamed.Save(""));
        QVERIFY(!unnamed.Save(" \u3000 "));
        QCOMPARE(FileBytes(), before);
        QCOMPARE(Prompt().Texts("message"),
                 QStringList(2, QStringLiteral("プラント名を入力してください。")));
        QCOMPARE(Prompt().Texts("beep").size(), 2);
        QCOMPARE(unnamed.Name, QString());

        // Written by another program: still not listed.
        WriteFile(before + THandRecord().Name("  ").Standard(0).bytes);
        QCOMPARE(Names(), QStringList({"A"}));
    }

    void namesAreComparedExactly()
    {
        SavePlant("A", true, "first");
        SavePlant("A ", false, "second");
        QCOMPARE(FileBytes().size(), 2 * 215);
        QCOMPARE(Names(), QStringList({"A", "A "}));
        TPlant plant;
        QVERIFY(plant.LoadByName("A "));
        QCOMPARE(plant.BinName[0], QString("second"));
    }

    void corruptedAndTruncatedFiles()
    {
        // Length bytes beyond their fields read the field and no further.
        THandRecord wide;
        wide.Text(0, QByteArray(32, 'N'), 255)
            .Text(33, "12345678", 200)
            .Bin(6, "BIN6BIN6BIN6", "")
            .Standard(1);
        wide.bytes[55 + 5 * 13] = char(99);
        wide.bytes[133 + 5 * 13] = char(13);
        THandRecord second;
        second.Name("S").Standard(0);
        // A file that ends inside its third record.
        WriteFile(wide.bytes + second.bytes + QByteArray(100, 'x'));

        TPlant plant;
        plant.LoadStandard();
        QCOMPARE(plant.Name, QString(32, 'N'));
        QCOMPARE(plant.BatchWeight, QString("12345678"));
        QCOMPARE(plant.BinName[5], QString("BIN6BIN6BIN6"));
        QCOMPARE(plant.BinRange[5], QString(12, QChar(0)));
        QCOMPARE(Names(), QStringList({QString(32, 'N'), "S"}));

        // The partial record is no plant: a new one replaces it.
        SavePlant("T", false);
        QCOMPARE(FileBytes().size(), 3 * 215);
        QCOMPARE(Names(), QStringList({QString(32, 'N'), "S", "T"}));

        // Shorter than one record: no plants at all.
        WriteFile(wide.bytes.left(150));
        plant.LoadStandard();
        QVERIFY(plant == TPlantRecord());
        QCOMPARE(Names(), QStringList());
        QVERIFY(!plant.LoadByName(QString(32, 'N')));
        QVERIFY(!plant.Delete(QString(32, 'N')));
        QCOMPARE(FileBytes().size(), 150);
    }

    void textsAreCutToTheirFieldsButNamesAreRefused()
    {
        TPlant plant;
        plant.BatchWeight = "123456789";
        plant.BinName[0] = "ホットビン１２"; // 14 bytes: the last character does not fit
        QVERIFY(plant.Save(QString(32, 'L')));
        QVERIFY(plant.LoadByName(QString(32, 'L')));
        QCOMPARE(plant.BatchWeight, QString("12345678"));
        QCOMPARE(plant.BinName[0], QString("ホットビン１"));

        // The name is the key: one that does not fit is never cut (it would
        // land on the plant above), nor does it find or delete that plant.
        const QString longName = QString(40, 'L');
        QVERIFY(!plant.Save(longName));
        QCOMPARE(FileBytes().size(), 215);
        QVERIFY(!plant.LoadByName(longName));
        QVERIFY(!plant.Delete(longName));
        QCOMPARE(Names(), QStringList({QString(32, 'L')}));

        // 16 double-byte characters fit; a 17th is refused, with the limit
        // as the user counts it.
        const QString japanese = QString("プラント").repeated(4);
        QVERIFY(plant.Save(japanese));
        QCOMPARE(quint8(FileBytes().at(215)), quint8(32));
        QVERIFY(!plant.Save(japanese + "Ｘ"));
        QVERIFY(TTestEnvironment::Current().prompt.LastText("message").contains(
            "全角16文字（半角32文字）"));
        QCOMPARE(FileBytes().size(), 2 * 215);
    }

    void mixDataFolderFromTheSetting()
    {
        // Typed without the closing separator: kept as typed, the file still
        // lies inside the folder.
        const QString typed = TTestEnvironment::Current().NewFolder();
        WriteSetting("HaigoDataPath", typed);
        QCOMPARE(TPlant::MixDataFolder(), typed);
        QCOMPARE(QDir::cleanPath(TPlant::FileName()), QDir::cleanPath(typed + "/Plant.Dat"));
    }

    void mixDataFolderInTheCurrentDirectory()
    {
        const QString previous = QDir::currentPath();
        const QString work = QDir(TTestEnvironment::Current().NewFolder()).canonicalPath();
        QVERIFY(QDir::setCurrent(work));
        const QString sep = QDir::separator();
        const QString native = QDir::toNativeSeparators(work);

        WriteSetting("HaigoDataPath", "");
        QString result;
        QString failure;
        try {
            result = TPlant::MixDataFolder();
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        const QString current = QDir::currentPath();
        QCOMPARE(failure, QString());
        QCOMPARE(result, native + sep + "HaigoData" + sep);
        QVERIFY(QFileInfo(result).isDir());
        QCOMPARE(ReadSetting("HaigoDataPath"), result);
        QCOMPARE(current, work);

        // A file in the way of the folder.
        QVERIFY(QDir(result).removeRecursively());
        QFile blocker(work + "/HaigoData");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        WriteSetting("HaigoDataPath", "");
        try {
            TPlant::MixDataFolder();
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        QDir::setCurrent(previous);
        QCOMPARE(failure, native + sep + "HaigoDataフォルダを作成できませんでした");
        QCOMPARE(ReadSetting("HaigoDataPath"), QString());
    }

    void unreachableMixDataFolderStopsAndKeepsTheSetting()
    {
        // A share that is offline: no other folder is read or written, and
        // the setting still names the share when it is back.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(TTestEnvironment::Current().NewFolder()));
        const QString share = folder + "offline-share/HaigoData/";
        WriteSetting("HaigoDataPath", share);
        QString failure;
        try {
            TPlant::MixDataFolder();
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        TPlant plant;
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, plant.LoadStandard());
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, plant.Save("A"));
        const bool fallbackMade = QFileInfo::exists("HaigoData");
        QDir::setCurrent(previous);
        QVERIFY2(failure.startsWith("配合データフォルダ \"" + QDir::toNativeSeparators(share) +
                                    "\" が見つかりません。"),
                 qPrintable(failure));
        QVERIFY(failure.contains("ネットワーク"));
        QCOMPARE(ReadSetting("HaigoDataPath"), share);
        QVERIFY(!fallbackMade);
    }

    void jisFormsAreWrittenAsCodePage932()
    {
        // As typed on Linux: WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE,
        // EM DASH; CENT, POUND, NOT, BROKEN BAR, YEN, OVERLINE.
        TPlant plant;
        plant.BinName[0] = QString::fromUtf16(u"\u301C\u2212\u2016\u2014");
        plant.BinRange[0] = QString::fromUtf16(u"\u00A2\u00A3\u00AC\u00A6\u00A5\u203E");
        plant.BinRange[1] = QString::fromUtf16(u"5\u301C13");
        QVERIFY(plant.Save(QString::fromUtf16(u"A\u2212\u301C")));

        THandRecord expected;
        expected.Name(QByteArray::fromHex("41817c8160"))
            .Bin(1, QByteArray::fromHex("8160817c8161815c"),
                 QByteArray::fromHex("8191819281cafa55818f8150"))
            .Bin(2, "", QByteArray::fromHex("3581603133"))
            .Standard(1);
        QCOMPARE(FileBytes().toHex(), expected.bytes.toHex());

        // Read back as code page 932 reads them; the typed name finds it.
        QVERIFY(plant.LoadByName(QString::fromUtf16(u"A\u2212\u301C")));
        QCOMPARE(plant.Name, QString::fromUtf16(u"A\uFF0D\uFF5E"));
        QCOMPARE(plant.BinName[0], QString::fromUtf16(u"\uFF5E\uFF0D\u2225\u2015"));
        QCOMPARE(plant.BinRange[0], QString::fromUtf16(u"\uFFE0\uFFE1\uFFE2\uFFE4\uFFE5\uFFE3"));
        QVERIFY(plant.Save(plant.Name));
        QCOMPARE(FileBytes().toHex(), expected.bytes.toHex());
    }

    void characterWithoutShiftJisFormIsRefused()
    {
        SavePlant("A", true);
        const QByteArray before = FileBytes();

        // Nothing is written, not even the standard flag taken from "A".
        TPlant plant;
        plant.BinName[2] = "Café";
        QString failure;
        try {
            plant.Save("B");
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        QVERIFY2(failure.startsWith("「é」は保存できない文字です。"), qPrintable(failure));
        QCOMPARE(FileBytes(), before);
        QCOMPARE(plant.Name, QString());

        // A character that shows nothing is named by its code too.
        plant.BinName[2].clear();
        try {
            plant.Save(QString::fromUtf16(u"B\u00A0C"));
        } catch (const EKanmuriError& e) {
            failure = e.text();
        }
        QVERIFY2(failure.startsWith(
                     QString::fromUtf16(u"「\u00A0」(文字コード U+00A0)は保存できない文字です。")),
                 qPrintable(failure));
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, plant.Save(QString::fromUtf16(u"\U0001F600")));
        QCOMPARE(FileBytes(), before);

        // A name that reads back damaged (no character for its bytes) can
        // still be found and deleted.
        WriteFile(before + THandRecord().Name("D\x85\x40").Standard(0).bytes);
        QStringList names = Names();
        QCOMPARE(names.size(), 2);
        QVERIFY(plant.LoadByName(names[1]));
        QVERIFY(plant.Delete(names[1]));
        QCOMPARE(Names(), QStringList({"A"}));
    }

    void unreadableFileIsAnError()
    {
        QVERIFY(QDir().mkdir(PlantFile()));
        TPlant plant;
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, plant.LoadStandard());
        QVERIFY_THROWS_EXCEPTION(EKanmuriError, plant.Save("A"));
    }
};

KANMURI_TEST_MAIN(TestPlant)
#include "tst_TPlant.moc"
