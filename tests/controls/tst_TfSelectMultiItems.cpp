#include "controls/TfSelectMultiItems.h"
#include "support/TTestEnvironment.h"

#include <QPushButton>
#include <QTreeView>

class TestTfSelectMultiItems : public QObject
{
    Q_OBJECT
private slots:
    void doubleClickAcceptsWithThatRowsSubItems()
    {
        TfSelectMultiItems form;
        form.AddItem("国道1号舗装工事", {"表層工", "密粒度13", "2024/04/01", "1"});
        form.AddItem("県道5号補修工事", {"基層工", "粗粒度20", "2024/04/02", "7"});
        form.AddItem("市道改良工事", {"表層工", "細粒度13F", "2024/04/03", "12"});
        WhenModalShown([](QWidget* modal) {
            auto* view = modal->findChild<QTreeView*>("ListView1");
            const QRect row = view->visualRect(view->model()->index(1, 0));
            DoubleClick(modal, view->viewport(), row.center());
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedSubItems(), QStringList({"基層工", "粗粒度20", "2024/04/02", "7"}));
    }

    // The dialog is created once and refilled for every use: a row chosen
    // last time must not count as chosen now.
    void okWithoutRowGivesNoSelection()
    {
        TfSelectMultiItems form;
        form.AddItem("国道1号舗装工事", {"表層工", "密粒度13", "2024/04/01", "1"});
        form.ListView1->setCurrentIndex(form.ListView1->model()->index(0, 0));
        QCOMPARE(form.SelectedSubItems().size(), 4);

        form.Clear();
        form.AddItem("国道1号舗装工事", {"表層工", "密粒度13", "2024/04/01", "1"});
        form.AddItem("市道改良工事", {"表層工"});
        WhenModalShown([](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY(form.SelectedSubItems().isEmpty());

        // A row given fewer sub-items still reads as four.
        form.ListView1->setCurrentIndex(form.ListView1->model()->index(1, 0));
        QCOMPARE(form.SelectedSubItems(), QStringList({"表層工", "", "", ""}));
    }

    void recordIdColumnIsHidden()
    {
        TfSelectMultiItems form;
        QCOMPARE(form.ListView1->model()->columnCount(), 5);
        QVERIFY(form.ListView1->isColumnHidden(4));
        QVERIFY(!form.ListView1->isColumnHidden(3));
        QVERIFY(form.ListView1->isHeaderHidden());
    }
};

KANMURI_TEST_MAIN(TestTfSelectMultiItems)
#include "tst_TfSelectMultiItems.moc"
