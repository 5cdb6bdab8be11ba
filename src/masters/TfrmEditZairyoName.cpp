#include "masters/TfrmEditZairyoName.h"

#include "controls/ListBoxes.h"
#include "foundation/TDatabase.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "masters/RegisterWidgets.h"
#include "masters/TZairyoIndex.h"
#include "mix/TGozaiDef.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

TfrmEditZairyoName::TfrmEditZairyoName(QWidget* parent)
    : TRegisterDialog(parent, QSize(420, 400), true), m_record(new TZairyoIndex(this))
{
    setObjectName(QStringLiteral("frmEditZairyoName"));
    setWindowTitle(QStringLiteral("材料名のリスト"));
    QWidget* client = Client();

    TabControl1 = new QTabWidget(client);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    auto* page = new QWidget(TabControl1);
    TabControl1->addTab(page, QStringLiteral("アスファルト合材"));
    ListBox1 = new QListWidget(page);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    SpeedButton1 = new QToolButton(page);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    SpeedButton2 = new QToolButton(page);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    auto* pageLayout = new QGridLayout(page);
    pageLayout->addWidget(ListBox1, 0, 0, 3, 1);
    pageLayout->addWidget(SpeedButton1, 0, 1, Qt::AlignTop);
    pageLayout->addWidget(SpeedButton2, 2, 1, Qt::AlignBottom);
    pageLayout->setRowStretch(1, 1);

    auto* label = new QLabel(QStringLiteral("材料名"), client);
    Edit1 = new QLineEdit(client);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ImeHiragana(Edit1);
    Button1 = new QPushButton(QStringLiteral("リストに追加"), client);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("リストから削除"), client);
    Button2->setObjectName(QStringLiteral("Button2"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), client);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto* layout = new QGridLayout(client);
    layout->addWidget(TabControl1, 0, 0, 1, 4);
    layout->addWidget(label, 1, 0);
    layout->addWidget(Edit1, 1, 1, 1, 3);
    layout->addWidget(Button1, 2, 1);
    layout->addWidget(Button2, 2, 2);
    layout->addWidget(BitBtn1, 2, 3);

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuLoadGozai"), QStringLiteral("合材名の読込")),
            &QAction::triggered, this, &TfrmEditZairyoName::mnuLoadGozaiClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);

    Connect(Button1, &QPushButton::clicked, this, &TfrmEditZairyoName::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmEditZairyoName::Button2Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TfrmEditZairyoName::BitBtn1Click);
    Connect(SpeedButton1, &QToolButton::clicked, this, &TfrmEditZairyoName::SpeedButton1Click);
    Connect(SpeedButton2, &QToolButton::clicked, this, &TfrmEditZairyoName::SpeedButton2Click);

    TApplication::Guard([this] { FormCreate(); });
}

void TfrmEditZairyoName::FormCreate()
{
    if (TDatabase::IsAvailable())
        TZairyoIndex::EnsureTables();
}

void TfrmEditZairyoName::FormActivate()
{
    m_record->ZKubun = TabControl1->currentIndex();
    QStringList names;
    m_record->FillList(names);
    ListBox1->clear();
    ListBox1->addItems(names);
    Edit1->setFocus();
}

void TfrmEditZairyoName::Button1Click()
{
    if (!Edit1->text().isEmpty()) {
        ListBox1->addItem(Edit1->text());
        Edit1->clear();
    }
    Edit1->setFocus();
}

void TfrmEditZairyoName::Button2Click()
{
    const int row = SelectedRow(ListBox1);
    if (row < 0)
        return;
    delete ListBox1->takeItem(row);
    SelectRow(ListBox1, qMin(row, ListBox1->count() - 1));
}

void TfrmEditZairyoName::SpeedButton1Click()
{
    MoveSelected(ListBox1, -1);
}

void TfrmEditZairyoName::SpeedButton2Click()
{
    MoveSelected(ListBox1, +1);
}

void TfrmEditZairyoName::BitBtn1Click()
{
    m_record->ZKubun = TabControl1->currentIndex();
    QStringList names;
    for (int i = 0; i < ListBox1->count(); ++i)
        names << ListBox1->item(i)->text();
    m_record->RewriteCategory(names);
    accept();
}

void TfrmEditZairyoName::mnuLoadGozaiClick()
{
    QStringList names;
    if (TDatabase::TableExists(TGozaiDef::TableName()))
        TGozaiDef::FillList(names);
    ListBox1->clear();
    ListBox1->addItems(names);
}
