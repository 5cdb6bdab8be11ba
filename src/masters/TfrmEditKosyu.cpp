#include "masters/TfrmEditKosyu.h"

#include "controls/ListBoxes.h"
#include "foundation/KeyNames.h"
#include "foundation/TDatabase.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "help/THelp.h"
#include "masters/RegisterWidgets.h"
#include "masters/TKosyu.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

QToolButton* AddSpeedButton(QWidget* parent, const QString& name, const QString& caption,
                            const QRect& geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TfrmEditKosyu::TfrmEditKosyu(QWidget* parent)
    : TRegisterDialog(parent, QSize(262, 277), false), m_record(new TKosyu(this))
{
    setObjectName(QStringLiteral("frmEditKosyu"));
    setWindowTitle(QStringLiteral("工種の登録"));
    THelp::AddKey(this, QStringLiteral("kosyu"));
    QWidget* client = Client();

    ListBox1 = new QListWidget(client);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setGeometry(8, 8, 210, 170);
    SpeedButton1 = AddSpeedButton(client, QStringLiteral("SpeedButton1"), QStringLiteral("↑"),
                                  QRect(226, 8, 28, 28));
    SpeedButton2 = AddSpeedButton(client, QStringLiteral("SpeedButton2"), QStringLiteral("↓"),
                                  QRect(226, 150, 28, 28));
    AddLabel(client, QStringLiteral("工種名"), 8, 190);
    // No maximum length: a pasted name would be cut to it unseen and become
    // another work type's name; adding refuses it instead.
    Edit2 = AddEdit(client, QStringLiteral("Edit2"), QRect(56, 186, 162, 20));
    ImeHiragana(Edit2);
    Button1 = AddButton(client, QStringLiteral("Button1"), QStringLiteral("工種追加"),
                        QRect(8, 214, 80, 25));
    Button1->setEnabled(false);
    Button3 = AddButton(client, QStringLiteral("Button3"), QStringLiteral("工種削除"),
                        QRect(96, 214, 80, 25));
    Button2 = AddButton(client, QStringLiteral("Button2"), QStringLiteral("登録(&O)"),
                        QRect(174, 246, 80, 25));

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規")), &QAction::triggered,
            this, &TfrmEditKosyu::mnuNewClick);
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditKosyu::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);

    // Only typing counts: emptying the field after an add must not arm the
    // add button again.
    Connect(Edit2, &QLineEdit::textEdited, this, &TfrmEditKosyu::Edit2Change);
    Connect(Button1, &QPushButton::clicked, this, &TfrmEditKosyu::Button1Click);
    Connect(Button3, &QPushButton::clicked, this, &TfrmEditKosyu::Button3Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmEditKosyu::Button2Click);
    Connect(SpeedButton1, &QToolButton::clicked, this, &TfrmEditKosyu::SpeedButton1Click);
    Connect(SpeedButton2, &QToolButton::clicked, this, &TfrmEditKosyu::SpeedButton2Click);

    TApplication::Guard([this] { FormCreate(); });
}

void TfrmEditKosyu::FormCreate()
{
    if (TDatabase::IsAvailable())
        TKosyu::EnsureTables();
}

void TfrmEditKosyu::FormActivate()
{
    QStringList names;
    TKosyu::FillList(names);
    ListBox1->clear();
    ListBox1->addItems(names);
    Edit2->clear();
    SelectRow(ListBox1, 0);
}

void TfrmEditKosyu::Edit2Change()
{
    Button1->setEnabled(true);
}

void TfrmEditKosyu::Button1Click()
{
    AddTyped();
}

bool TfrmEditKosyu::AddTyped()
{
    if (!NameFits(Edit2->text(), TKosyu::NameLength, QStringLiteral("工種名"))) {
        Edit2->setFocus();
        return false;
    }
    const int row = SelectedRow(ListBox1);
    ListBox1->insertItem(row < 0 ? ListBox1->count() : row, Edit2->text());
    Edit2->clear();
    Edit2->setFocus();
    Button1->setEnabled(false);
    return true;
}

void TfrmEditKosyu::Button3Click()
{
    const int row = SelectedRow(ListBox1);
    if (row >= 0)
        delete ListBox1->takeItem(row);
}

void TfrmEditKosyu::Button2Click()
{
    // A typed name that cannot be added keeps the list from being written.
    if (Button1->isEnabled() && !AddTyped())
        return;
    QStringList names;
    for (int i = 0; i < ListBox1->count(); ++i)
        names << ListBox1->item(i)->text();
    m_record->RewriteAll(names);
    close();
}

void TfrmEditKosyu::SpeedButton1Click()
{
    MoveSelected(ListBox1, -1);
}

void TfrmEditKosyu::SpeedButton2Click()
{
    MoveSelected(ListBox1, +1);
}

void TfrmEditKosyu::mnuNewClick()
{
    m_record->Clear();
    Edit2->clear();
}

void TfrmEditKosyu::mnuDeleteClick()
{
    TKosyu::DeleteAll();
}
