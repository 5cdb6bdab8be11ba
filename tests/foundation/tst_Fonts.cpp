#include "foundation/Fonts.h"
#include "support/TTestEnvironment.h"

#include <QFontDatabase>
#include <QFontInfo>

class TestFonts : public QObject
{
    Q_OBJECT
private slots:
    // The windows and sheets ask for Windows font names; each must reach an
    // installed Japanese font, or Japanese text would show as empty boxes.
    void windowsNamesReachJapaneseFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("P gothic") << "ＭＳ Ｐゴシック";
        QTest::newRow("gothic") << "ＭＳ ゴシック";
        QTest::newRow("mincho") << "ＭＳ 明朝";
    }
    void windowsNamesReachJapaneseFonts()
    {
        QFETCH(QString, name);
        InstallFontSubstitutes();
        const QString family = QFontInfo(QFont(name, 9)).family();
        QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese),
                 qPrintable(name + " -> " + family));
    }
};

KANMURI_TEST_MAIN(TestFonts)
#include "tst_Fonts.moc"
