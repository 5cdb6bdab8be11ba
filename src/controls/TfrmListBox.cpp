#include "controls/TfrmListBox.h"

#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"

#include <QListWidget>
#include <QPushButton>

TfrmListBox::TfrmListBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmListBox"));
    setWindowTitle(QStringLiteral("frmListBox"));
    THelp::AddKey(this);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(274, 293);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setGeometry(0, 0, 274, 265);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(216, 272, 59, 17);
    Button1->setDefault(true);

    Connect(Button1, &QPushButton::clicked, this, &TfrmListBox::Button1Click);
    Connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TfrmListBox::ListBox1DblClick);

    CentreOnScreen(this);
}

QString TfrmListBox::SelectedText() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TfrmListBox::Button1Click()
{
    accept();
}

void TfrmListBox::ListBox1DblClick()
{
    Button1Click();
}
