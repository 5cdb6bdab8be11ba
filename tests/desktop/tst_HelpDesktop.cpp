// The help on a real desktop: F1 in a register window opens it beside the
// window, and going back to the window keeps what was typed there; F1 in a
// modal dialog opens it above the dialog, where it takes the user's keys
// until it is closed.
#include "app/TfrmSetFont.h"
#include "help/THelp.h"
#include "help/TfrmHelp.h"
#include "masters/TfrmEditKoji.h"
#include "support/TDesktop.h"
#include "support/TTestEnvironment.h"

#include <QLineEdit>
#include <QTabWidget>

namespace {

bool Activate(QWidget* window)
{
    for (int attempt = 0; attempt < 3; ++attempt)
        if (DesktopActivate(window))
            return true;
    return false;
}

bool HelpActive()
{
    return QTest::qWaitFor([] { return THelp::Window() && THelp::Window()->isActiveWindow(); },
                           5000);
}

} // namespace

class TestHelpDesktop : public QObject
{
    Q_OBJECT

private slots:
    void helpBesideARegisterAndAboveADialog()
    {
        TfrmEditKoji koji;
        koji.show();
        QVERIFY(Activate(&koji));
        koji.Edit2->setText(QStringLiteral("入力の途中"));
        PressKeys(QStringLiteral("F1"));
        QVERIFY(HelpActive());
        QCOMPARE(THelp::Window()->CurrentPage(), QStringLiteral("koji"));
        QVERIFY(Activate(&koji));
        Settle();
        QCOMPARE(koji.Edit2->text(), QStringLiteral("入力の途中"));

        QString typed;
        bool backToDialog = false;
        WhenDialogActive<TfrmSetFont>([&](TfrmSetFont* font) {
            PressKeys(QStringLiteral("F1"));
            if (HelpActive()) {
                TfrmHelp* help = THelp::Window();
                help->Tabs->setCurrentIndex(1);
                help->SearchEdit->setFocus();
                for (const char* key : {"p", "d", "f"})
                    PressKeys(QString::fromLatin1(key));
                Settle();
                typed = help->SearchEdit->text();
                ClickTitleBarClose(help);
                backToDialog = WaitUntilActive(font);
            }
            font->reject();
        });
        TfrmSetFont font(&koji);
        font.exec();
        QCOMPARE(typed, QStringLiteral("pdf"));
        QVERIFY(backToDialog);
    }
};

KANMURI_TEST_MAIN(TestHelpDesktop)
#include "tst_HelpDesktop.moc"
