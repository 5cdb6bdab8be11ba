#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TStatusBar.h"
#include "foundation/FileVersion.h"
#include "foundation/TDatabase.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "support/TTestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

class TestEditHojitsu4 : public QObject
{
    Q_OBJECT

    TfrmEditHojitsu4* main() { return TForms::Instance().frmEditHojitsu4; }

private slots:
    void initTestCase()
    {
        TForms::Instance().CreateAll();
        QVERIFY(ActivateWindow(main()));
    }
    void cleanupTestCase() { TForms::Instance().DestroyAll(); }

    void createdCentredWithCompleteMenuBar()
    {
        QCOMPARE(main()->windowTitle(), QString("アスファルト合材舗設実績表"));
        const QRect screen = main()->screen()->geometry();
        QCOMPARE(main()->pos(), QPoint((screen.width() - main()->width()) / 2,
                                       (screen.height() - main()->height()) / 2));
        QStringList menus;
        for (QAction* top : main()->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : top->menu()->actions())
                items << item->text();
            menus << top->text() + ": " + items.join(", ");
        }
        QCOMPARE(menus,
                 (QStringList{
                     "ファイル: 開く, 削除, 削除（当日）, CSV に書き出し, Excel に書き出し, 閉じる",
                     "データ: 工事データ, 工種データ, 合材データ",
                     "環境設定: データ格納フォルダの設定, 項目別桁数の設定, フォントの設定, "
                     "旧データの取り込み",
                     "ヘルプ: 目次, はじめに, 舗設実績表について",
                 }));
    }

    void statusBarShowsTheVersion()
    {
        TStatusBar* bar = main()->StatusBar1();
        QCOMPARE(bar->PanelCount(), 5);
        QCOMPARE(bar->Panel(0)->width(), 100);
        QCOMPARE(bar->Panel(4)->width(), 50);
        QCOMPARE(bar->PanelText(0), "Ver." + ProgramVersion());
        QVERIFY(ProgramVersion().count('.') == 3);

        QSignalSpy clicks(bar, &TStatusBar::PanelClicked);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->Panel(2)->geometry().center());
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.first().first().toInt(), 2);
    }

    void dataFolderMenuOpensTheEnvironmentDialog()
    {
        main()->move(40, 30);
        auto* item = main()->findChild<QAction*>("mnuDataPath");
        QVERIFY(item);
        item->trigger();
        TfrmSetDataPath* dialog = TForms::Instance().frmSetDataPath;
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->pos(), main()->pos());
        QVERIFY(ActivateWindow(dialog));
        QCOMPARE(dialog->findChild<QLineEdit*>("Edit1")->text(),
                 QDir::toNativeSeparators(TTestEnvironment::Current().DataDir()) +
                     QDir::separator());
        dialog->close();
    }

    void startCreatesTheRegisterTablesAndDataMenuOpensThem()
    {
        for (const char* table :
             {"Koji1", "Kosyu4", "Hacchusya", "Ukeoisya", "Simei", "ZairyoIndex"})
            QVERIFY2(TDatabase::TableExists(table), table);
        for (const char* entry : {"mnuKoji", "mnuKosyu"}) {
            main()->findChild<QAction*>(entry)->trigger();
            QWidget* window = entry == QByteArray("mnuKoji")
                                  ? static_cast<QWidget*>(TForms::Instance().frmEditKoji)
                                  : static_cast<QWidget*>(TForms::Instance().frmEditKosyu);
            QVERIFY2(window->isVisible() && !window->isModal(), entry);
            window->close();
        }
    }

    void settingsMenuOpensTheDigitsAndFontDialogs()
    {
        main()->findChild<QAction*>("mnuKetasu")->trigger();
        QWidget* digits = TForms::Instance().frmSetHojituKetasu;
        QVERIFY(digits->isVisible() && !digits->isModal());
        digits->close();
        bool modal = false;
        WhenModalShown([&](QWidget* dialog) {
            modal = dialog == TForms::Instance().frmSetFont;
            dialog->close();
        });
        main()->findChild<QAction*>("mnuFont")->trigger();
        QVERIFY(modal);
    }

    void closingTheMainWindowEndsTheProgram()
    {
        TForms::Instance().frmSetDataPath->show();
        QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
        QTimer::singleShot(0, main(), &QWidget::close);
        // The event loop ends by itself; a still-open dialog must not keep it going.
        QTimer::singleShot(3000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(quitting.size(), 1);
    }
};

KANMURI_TEST_MAIN(TestEditHojitsu4)
#include "tst_TfrmEditHojitsu4.moc"
