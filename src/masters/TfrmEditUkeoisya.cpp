#include "masters/TfrmEditUkeoisya.h"

#include "controls/TComboBox.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "masters/RegisterWidgets.h"
#include "masters/TUkeoisya.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

TfrmEditUkeoisya::TfrmEditUkeoisya(QWidget* parent)
    : TRegisterDialog(parent, QSize(371, 157), false), m_record(new TUkeoisya(this))
{
    setObjectName(QStringLiteral("frmEditUkeoisya"));
    setWindowTitle(QStringLiteral("請負者の登録"));
    QWidget* client = Client();

    AddLabel(client, QStringLiteral("請負者名"), 8, 12);
    ComboBox1 = AddComboBox(client, QStringLiteral("ComboBox1"), QRect(80, 8, 283, 20));
    AddLabel(client, QStringLiteral("住所"), 8, 38);
    Edit1 = AddEdit(client, QStringLiteral("Edit1"), QRect(80, 34, 283, 20));
    AddLabel(client, QStringLiteral("会社名"), 8, 64);
    Edit2 = AddEdit(client, QStringLiteral("Edit2"), QRect(80, 60, 283, 20));
    AddLabel(client, QStringLiteral("代表者"), 8, 90);
    Edit3 = AddEdit(client, QStringLiteral("Edit3"), QRect(80, 86, 283, 20));
    CheckBox1 = new QCheckBox(QStringLiteral("JVの代表会社である"), client);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(80, 112, 180, 20);
    Button1 = AddButton(client, QStringLiteral("Button1"), QStringLiteral("登録(&O)"),
                        QRect(288, 126, 75, 25));
    for (QWidget* field : {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Edit1),
                           static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3)})
        ImeHiragana(field);
    Edit2->installEventFilter(this);

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規")), &QAction::triggered,
            this, &TfrmEditUkeoisya::mnuNewClick);
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditUkeoisya::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);
    AddHelp(QStringLiteral("HID00000004"));

    Connect(ComboBox1, &TComboBox::DropDown, this, &TfrmEditUkeoisya::ComboBox1DropDown);
    Connect(ComboBox1, &QComboBox::activated, this, &TfrmEditUkeoisya::ComboBox1Select);
    Connect(Button1, &QPushButton::clicked, this, &TfrmEditUkeoisya::Button1Click);
}

bool TfrmEditUkeoisya::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit2 && event->type() == QEvent::FocusIn)
        TApplication::Guard([this] { Edit2Enter(); });
    return TRegisterDialog::eventFilter(watched, event);
}

void TfrmEditUkeoisya::TakeValues()
{
    m_record->Ukeoisyamei = ComboBox1->Text().trimmed();
    m_record->Jusyo = Edit1->text().trimmed();
    m_record->Kaisya = Edit2->text().trimmed();
    m_record->Daihyosya = Edit3->text().trimmed();
    m_record->JVFlag = CheckBox1->isChecked();
}

void TfrmEditUkeoisya::ShowRecord()
{
    ComboBox1->SetText(m_record->Ukeoisyamei);
    Edit1->setText(m_record->Jusyo);
    Edit2->setText(m_record->Kaisya);
    Edit3->setText(m_record->Daihyosya);
    CheckBox1->setChecked(m_record->JVFlag);
}

void TfrmEditUkeoisya::ComboBox1DropDown()
{
    QStringList names;
    TUkeoisya::FillList(names);
    ComboBox1->SetItems(names);
}

void TfrmEditUkeoisya::ComboBox1Select(int index)
{
    m_record->LoadByName(ComboBox1->itemText(index));
    ShowRecord();
}

void TfrmEditUkeoisya::Edit2Enter()
{
    if (Edit2->text().isEmpty())
        Edit2->setText(ComboBox1->Text());
}

void TfrmEditUkeoisya::Button1Click()
{
    TakeValues();
    m_record->Save();
}

void TfrmEditUkeoisya::mnuNewClick()
{
    m_record->Clear();
    ShowRecord();
}

void TfrmEditUkeoisya::mnuDeleteClick()
{
    TakeValues();
    m_record->Delete();
}
