#include "masters/TfrmEditHacchusya.h"

#include "controls/TComboBox.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "masters/RegisterWidgets.h"
#include "masters/THacchusya.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

TfrmEditHacchusya::TfrmEditHacchusya(QWidget* parent)
    : TRegisterDialog(parent, QSize(258, 106), false), m_record(new THacchusya(this))
{
    setObjectName(QStringLiteral("frmEditHacchusya"));
    setWindowTitle(QStringLiteral("発注者の登録"));
    QWidget* client = Client();

    AddLabel(client, QStringLiteral("発注者名"), 8, 12);
    ComboBox1 = AddComboBox(client, QStringLiteral("ComboBox1"), QRect(72, 8, 178, 20));
    AddLabel(client, QStringLiteral("職氏名"), 8, 42);
    Edit1 = AddEdit(client, QStringLiteral("Edit1"), QRect(72, 38, 178, 20));
    Button1 = AddButton(client, QStringLiteral("Button1"), QStringLiteral("登録(&O)"),
                        QRect(175, 72, 75, 25));
    ImeHiragana(ComboBox1);
    ImeHiragana(Edit1);

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規")), &QAction::triggered,
            this, &TfrmEditHacchusya::mnuNewClick);
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditHacchusya::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);
    AddHelp(QStringLiteral("HID00000003"));

    Connect(ComboBox1, &TComboBox::DropDown, this, &TfrmEditHacchusya::ComboBox1DropDown);
    Connect(ComboBox1, &QComboBox::activated, this, &TfrmEditHacchusya::ComboBox1Select);
    Connect(Button1, &QPushButton::clicked, this, &TfrmEditHacchusya::Button1Click);
}

void TfrmEditHacchusya::TakeValues()
{
    m_record->LoadByName(ComboBox1->Text());
    m_record->SyokuSimei = Edit1->text();
}

void TfrmEditHacchusya::ShowRecord()
{
    ComboBox1->SetText(m_record->Hacchusyamei);
    Edit1->setText(m_record->SyokuSimei);
}

void TfrmEditHacchusya::ComboBox1DropDown()
{
    QStringList names;
    THacchusya::FillList(names);
    ComboBox1->SetItems(names);
}

void TfrmEditHacchusya::ComboBox1Select(int index)
{
    m_record->LoadByName(ComboBox1->itemText(index));
    ShowRecord();
}

void TfrmEditHacchusya::Button1Click()
{
    TakeValues();
    m_record->Save();
}

void TfrmEditHacchusya::mnuNewClick()
{
    m_record->Clear();
    ShowRecord();
}

void TfrmEditHacchusya::mnuDeleteClick()
{
    TakeValues();
    m_record->Delete();
}
