#include "controls/TfrmProgressBar.h"
#include "support/TTestEnvironment.h"

#include <QProgressBar>
#include <QScreen>

class TestTfrmProgressBar : public QObject
{
    Q_OBJECT
private slots:
    void centredOnItsScreenWithoutCloseButton()
    {
        QWidget owner;
        owner.setGeometry(10, 20, 300, 200);
        for (QWidget* parent : {static_cast<QWidget*>(nullptr), &owner}) {
            TfrmProgressBar form(parent);
            QCOMPARE(form.size(), QSize(293, 75));
            const QRect s = form.screen()->geometry();
            // 800 x 600 offscreen: both halves are rounded toward zero.
            QCOMPARE(form.pos(),
                     QPoint(s.x() + (s.width() - 293) / 2, s.y() + (s.height() - 75) / 2));
            QVERIFY(form.isWindow());
            QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
            QCOMPARE(form.ProgressBar1->minimum(), 0);
            QCOMPARE(form.ProgressBar1->maximum(), 100);
        }
    }
};

KANMURI_TEST_MAIN(TestTfrmProgressBar)
#include "tst_TfrmProgressBar.moc"
