#include "controls/TFormSelect.h"

#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"

#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormSelect::TFormSelect(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormSelect"));
    setWindowTitle(QStringLiteral("ファイルの選択"));
    THelp::AddKey(this, QStringLiteral("gozai#open"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    resize(269, 225);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(39);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                              QStringLiteral("閉じる(&C)"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(96, 8, 81, 25);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(184, 8, 75, 25);
    BitBtn1->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListBox1);
    layout->addWidget(Panel1);

    Connect(BitBtn1, &QPushButton::clicked, this, &TFormSelect::BitBtn1Click);
    Connect(BitBtn2, &QPushButton::clicked, this, &TFormSelect::BitBtn2Click);
    Connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TFormSelect::ListBox1DblClick);

    CentreOnScreen(this);
}

int TFormSelect::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

QString TFormSelect::SelectedText() const
{
    const int index = SelectedIndex();
    return index < 0 ? QString() : ListBox1->item(index)->text();
}

void TFormSelect::BitBtn1Click()
{
    accept();
}

void TFormSelect::BitBtn2Click()
{
    close();
}

void TFormSelect::ListBox1DblClick()
{
    BitBtn1Click();
}
