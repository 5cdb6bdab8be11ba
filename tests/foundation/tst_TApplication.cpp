#include "foundation/EKanmuriError.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TQtPrompt.h"
#include "support/TTestEnvironment.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class TFailingWindow : public QWidget
{
public:
    TFailingWindow()
    {
        auto* layout = new QVBoxLayout(this);
        failing = new QPushButton("fail", this);
        working = new QPushButton("work", this);
        layout->addWidget(failing);
        layout->addWidget(working);
        Connect(failing, &QPushButton::clicked, this, &TFailingWindow::Button1Click);
        Connect(working, &QPushButton::clicked, this, &TFailingWindow::Button2Click);
    }
    void Button1Click() { throw EDatabaseError("no such table: Koji1"); }
    void Button2Click() { ++worked; }

    QPushButton* failing;
    QPushButton* working;
    int worked = 0;
};

// Fails in a virtual event handler rather than in a connected slot.
class TFailingKeys : public QWidget
{
protected:
    void keyPressEvent(QKeyEvent*) override { throw std::runtime_error("key handler failed"); }
};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTestEnvironment::Current().prompt.Clear(); }

    void failureInHandlerReachesErrorBoxAndWindowStaysUsable()
    {
        TFailingWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& prompt = TTestEnvironment::Current().prompt;

        QTest::mouseClick(window.failing, Qt::LeftButton);
        QCOMPARE(prompt.Texts("error"), QStringList{"no such table: Koji1"});

        QTest::mouseClick(window.working, Qt::LeftButton);
        QCOMPARE(window.worked, 1);
        QTest::mouseClick(window.failing, Qt::LeftButton);
        QCOMPARE(prompt.Texts("error").size(), 2);
        QVERIFY(window.failing->isEnabled());
        QVERIFY(!window.failing->isDown());
    }

    void failureInEventHandlerIsCaughtByTheApplication()
    {
        TFailingKeys widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::keyClick(&widget, Qt::Key_A);
        QCOMPARE(TTestEnvironment::Current().prompt.LastText("error"),
                 QString("key handler failed"));
    }

    void errorsOfABatchAreShownOnceEachWhenItEnds()
    {
        auto& prompt = TTestEnvironment::Current().prompt;
        const auto fail = [](const char* text) {
            TApplication::Guard([text] { throw EDatabaseError(text); });
        };
        {
            TApplication::TErrorBatch outer;
            fail("folder missing");
            {
                TApplication::TErrorBatch inner; // joins the outer batch
                fail("settings not writable");
                fail("folder missing");
            }
            QCOMPARE(prompt.Texts("error"), QStringList());
            fail("settings not writable");
        }
        QCOMPARE(prompt.Texts("error"), (QStringList{"folder missing", "settings not writable"}));
        fail("folder missing");
        QCOMPARE(prompt.Texts("error").size(), 3);
    }

    void messageBoxCaptionsAreEmptyOnlyWhenGivenSo()
    {
        TQtPrompt boxes;
        QStringList captions;
        for (const QString& caption : {kEmptyCaption, QString(), QString("GozaiDef")}) {
            WhenModalShown([&](QWidget* modal) {
                captions << modal->windowTitle();
                static_cast<QMessageBox*>(modal)->button(QMessageBox::Cancel)->click();
            });
            QVERIFY(!boxes.OkCancel("本当に削除しますか？", caption));
        }
        QCOMPARE(captions, (QStringList{"", "pTarmak", "GozaiDef"}));
    }

    void questionsAnswerInJapanese()
    {
        TQtPrompt boxes;
        QStringList buttons;
        WhenModalShown([&](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                buttons << box->button(which)->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QCOMPARE(boxes.YesNoCancel("保存しますか?", QString()), TAnswer::Cancel);
        QCOMPARE(buttons, (QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
    }
};

KANMURI_TEST_MAIN(TestApplication)
#include "tst_TApplication.moc"
