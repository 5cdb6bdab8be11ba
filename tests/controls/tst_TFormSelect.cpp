#include "controls/TFormSelect.h"
#include "support/TTestEnvironment.h"

#include <QListWidget>
#include <QPushButton>

class TestTFormSelect : public QObject
{
    Q_OBJECT
private slots:
    void closeButtonAndCloseBoxReturnWithoutOk()
    {
        TFormSelect form;
        form.ListBox1->addItems({"密粒度13", "粗粒度20"});
        form.ListBox1->setCurrentRow(0);
        WhenModalShown([](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
        });
        QCOMPARE(form.exec(), int(QDialog::Rejected));

        WhenModalShown([](QWidget* modal) { modal->close(); });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
    }

    void okGivesSelectedEntryOrNone()
    {
        TFormSelect form;
        form.ListBox1->addItems({"密粒度13", "粗粒度20", "細粒度13F"});
        form.ListBox1->setCurrentRow(0);
        WhenModalShown([](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("ListBox1");
            DoubleClick(modal, list->viewport(), list->visualItemRect(list->item(2)).center());
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedIndex(), 2);
        QCOMPARE(form.SelectedText(), QString("細粒度13F"));

        form.ListBox1->clearSelection();
        WhenModalShown([](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedIndex(), -1);
        QCOMPARE(form.SelectedText(), QString());
    }
};

KANMURI_TEST_MAIN(TestTFormSelect)
#include "tst_TFormSelect.moc"
