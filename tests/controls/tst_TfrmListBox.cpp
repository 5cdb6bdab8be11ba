#include "controls/TfrmListBox.h"
#include "support/TTestEnvironment.h"

#include <QListWidget>
#include <QPushButton>

class TestTfrmListBox : public QObject
{
    Q_OBJECT
private slots:
    void okWithNothingSelectedGivesEmptyText()
    {
        TfrmListBox form;
        form.ListBox1->addItems({"001:本社工事", "002:支店工事"});
        WhenModalShown([](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedText(), QString());
    }

    void doubleClickChoosesThatEntryAndAccepts()
    {
        TfrmListBox form;
        form.setWindowTitle("氏名の選択");
        form.ListBox1->addItems({"山田", "佐藤", "鈴木"});
        form.ListBox1->setCurrentRow(0);
        WhenModalShown([](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>("ListBox1");
            DoubleClick(modal, list->viewport(), list->visualItemRect(list->item(1)).center());
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedText(), QString("佐藤"));
    }
};

KANMURI_TEST_MAIN(TestTfrmListBox)
#include "tst_TfrmListBox.moc"
