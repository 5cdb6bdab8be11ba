#include "masters/TfrmEditSimei.h"

#include "controls/TStatusBar.h"
#include "controls/TfrmListBox.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "masters/RegisterWidgets.h"
#include "masters/TSimei.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <memory>

TfrmEditSimei::TfrmEditSimei(QWidget* parent)
    : TRegisterDialog(parent, QSize(287, 88), false), m_record(new TSimei(this))
{
    setObjectName(QStringLiteral("frmEditSimei"));
    setWindowTitle(QStringLiteral("氏名の登録"));
    QWidget* client = Client();

    AddLabel(client, QStringLiteral("ふりがな"), 8, 10);
    Edit1 = AddEdit(client, QStringLiteral("Edit1"), QRect(64, 6, 130, 20));
    AddLabel(client, QStringLiteral("氏名"), 8, 36);
    Edit2 = AddEdit(client, QStringLiteral("Edit2"), QRect(64, 32, 130, 20));
    Button1 =
        AddButton(client, QStringLiteral("Button1"), QStringLiteral("登録"), QRect(204, 6, 75, 22));
    Button2 = AddButton(client, QStringLiteral("Button2"), QStringLiteral("氏名検索"),
                        QRect(204, 32, 75, 22));
    StatusBar1 = new TStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 66, 287, 22);
    ImeHiragana(Edit1);
    ImeHiragana(Edit2);

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規")), &QAction::triggered,
            this, &TfrmEditSimei::mnuNewClick);
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditSimei::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);
    AddHelp(QStringLiteral("HID00000005"));

    Connect(Button1, &QPushButton::clicked, this, &TfrmEditSimei::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmEditSimei::Button2Click);
}

void TfrmEditSimei::ShowRecord()
{
    Edit1->setText(m_record->Furigana);
    Edit2->setText(m_record->Simei);
}

void TfrmEditSimei::Button1Click()
{
    m_record->Furigana = Edit1->text();
    m_record->Simei = Edit2->text();
    m_record->Save();
    if (isModal())
        accept();
}

void TfrmEditSimei::Button2Click()
{
    auto dialog = std::make_unique<TfrmListBox>(this);
    dialog->setWindowTitle(QStringLiteral("氏名の選択"));
    QStringList names;
    TSimei::FillList(names);
    dialog->ListBox1->addItems(names);
    if (dialog->exec() != QDialog::Accepted)
        return;
    m_record->LoadByName(dialog->SelectedText());
    ShowRecord();
}

void TfrmEditSimei::mnuNewClick()
{
    Edit1->clear();
    Edit2->clear();
    Edit1->setFocus();
}

void TfrmEditSimei::mnuDeleteClick()
{
    m_record->Delete();
}
