#include "controls/TfSelectMultiItems.h"

#include "foundation/TApplication.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

TfSelectMultiItems::TfSelectMultiItems(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fSelectMultiItems"));
    setWindowTitle(QStringLiteral("データを開く"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setHeaderHidden(true);
    ListView1->setColumnCount(1 + kSubItemCount);
    ListView1->header()->setStretchLastSection(false);
    const int widths[] = {250, 100, 100, 100};
    for (int column = 0; column < 4; ++column)
        ListView1->setColumnWidth(column, widths[column]);
    // The record ID: carried for the caller, not shown.
    ListView1->setColumnHidden(4, true);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    resize(561, 316);
    PlaceControls();

    Connect(Button1, &QPushButton::clicked, this, &TfSelectMultiItems::Button1Click);
    Connect(ListView1, &QTreeWidget::itemDoubleClicked, this,
            &TfSelectMultiItems::ListView1DblClick);
}

void TfSelectMultiItems::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TfSelectMultiItems::PlaceControls()
{
    // At 561 x 316: the list 241 high across the top, the button at (456, 248).
    ListView1->setGeometry(0, 0, width(), height() - 75);
    Button1->setGeometry(width() - 105, height() - 68, 75, 25);
}

void TfSelectMultiItems::Clear()
{
    ListView1->clear();
}

void TfSelectMultiItems::AddItem(const QString& caption, const QStringList& subItems)
{
    auto* item = new QTreeWidgetItem(ListView1);
    item->setText(0, caption);
    for (int i = 0; i < kSubItemCount; ++i)
        item->setText(1 + i, subItems.value(i));
}

QStringList TfSelectMultiItems::SelectedSubItems() const
{
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return {};
    QStringList subItems;
    for (int i = 0; i < kSubItemCount; ++i)
        subItems << selected.first()->text(1 + i);
    return subItems;
}

void TfSelectMultiItems::Button1Click()
{
    accept();
}

void TfSelectMultiItems::ListView1DblClick()
{
    Button1Click();
}
