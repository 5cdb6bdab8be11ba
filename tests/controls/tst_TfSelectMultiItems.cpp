#include "controls/TfSelectMultiItems.h"
#include "foundation/EKanmuriError.h"
#include "support/TTestEnvironment.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace {

QString Shown(TfSelectMultiItems& form, int row, int column = 0)
{
    return form.ListView1->model()->index(row, column).data().toString();
}

void ClickHeading(TfSelectMultiItems& form, int column)
{
    QHeaderView* header = form.ListView1->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

} // namespace

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

    void searchBoxNarrowsAndHeadingsSortTheRows()
    {
        TfSelectMultiItems form;
        form.SetHeadings({"工事名", "工種名", "合材名", "舗設日"});
        form.AddItem("国道1号舗装工事", {"表層工", "密粒度13", "2024/04/02", "1"});
        form.AddItem("県道5号補修工事", {"基層工", "粗粒度20", "2024/04/01", "7"});
        form.AddItem("国道1号舗装工事", {"基層工", "密粒度13", "2024/04/03", "3"});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.ListView1->isHeaderHidden());
        QCOMPARE(form.ListView1->model()->headerData(3, Qt::Horizontal).toString(), "舗設日");
        QCOMPARE(form.Label1->text(), "3 件");

        ClickHeading(form, 3);
        QCOMPARE(Shown(form, 0, 3), "2024/04/01");
        ClickHeading(form, 3);
        QCOMPARE(Shown(form, 0, 3), "2024/04/03");

        form.Edit1->setFocus();
        TypeText(form.Edit1, "国道　密粒"); // a full-width space between the words
        QCOMPARE(form.RowCount(), 2);
        QCOMPARE(form.Label1->text(), "2 件を表示");
        QCOMPARE(Shown(form, 0, 3), "2024/04/03"); // still in the order chosen
        form.Edit1->setText("国道 基層工");
        QCOMPARE(form.RowCount(), 1);
        form.Edit1->clear();
        QCOMPARE(form.Label1->text(), "3 件");
    }

    // Keys for the list typed into the box move in the list, and text typed
    // into the list goes to the box; Enter opens the row moved to.
    void theSearchBoxHasTheFocusAndTheKeys()
    {
        TfSelectMultiItems form;
        form.AddItem("国道1号舗装工事", {"表層工", "密粒度13", "2024/04/01", "1"});
        form.AddItem("市道改良工事", {"基層工", "粗粒度20", "2024/04/02", "2"});
        WhenModalShown([](QWidget* modal) {
            auto* dialog = static_cast<TfSelectMultiItems*>(modal);
            QTRY_VERIFY(dialog->Edit1->hasFocus());
            dialog->ListView1->setFocus();
            QTest::keyClicks(dialog->ListView1, "x");
            QCOMPARE(dialog->Edit1->text(), "x");
            QVERIFY(dialog->Edit1->hasFocus());
            dialog->Edit1->clear();
            QTest::keyClick(dialog->Edit1, Qt::Key_Down);
            QTest::keyClick(dialog->Edit1, Qt::Key_Down);
            QTest::keyClick(dialog->Edit1, Qt::Key_Return);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.SelectedSubItems(), QStringList({"基層工", "粗粒度20", "2024/04/02", "2"}));
    }

    // A source is asked for the count and the first page only; more rows
    // follow when the list is scrolled to its end. A page that cannot be
    // read is reported once and not asked for again at every scroll.
    void aSourceIsReadAPageAtATime()
    {
        QList<int> asked;
        TListSource source;
        source.Count = [](const TListQuery&) { return 650; };
        source.Rows = [&](const TListQuery&, int first, int count) {
            asked << first;
            if (first >= 400)
                throw EDatabaseError("読めません");
            QList<QStringList> rows;
            for (int i = first; i < first + count; ++i)
                rows << QStringList{QString::number(i)};
            return rows;
        };
        TfSelectMultiItems form;
        form.SetSource(source, -1, Qt::AscendingOrder);
        QCOMPARE(asked, QList<int>({0}));
        QCOMPARE(form.RowCount(), 650);
        QCOMPARE(form.Label1->text(), "650 件");
        QCOMPARE(form.ListView1->model()->rowCount(), TfSelectMultiItems::kPageRows);

        auto& prompt = TTestEnvironment::Current().prompt;
        prompt.Clear();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < 10; ++i) {
            form.ListView1->scrollToBottom();
            QTest::qWait(20);
        }
        QCOMPARE(asked, QList<int>({0, 200, 400}));
        QCOMPARE(form.ListView1->model()->rowCount(), 400);
        QCOMPARE(Shown(form, 399), "399");
        QCOMPARE(prompt.Texts("error"), QStringList({"読めません"}));
    }
};

KANMURI_TEST_MAIN(TestTfSelectMultiItems)
#include "tst_TfSelectMultiItems.moc"
