#include "masters/TfrmEditKoji.h"

#include "controls/TComboBox.h"
#include "controls/TRadioGroup.h"
#include "controls/TfrmListBox.h"
#include "foundation/Conversions.h"
#include "foundation/KeyNames.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "masters/RegisterWidgets.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <memory>

namespace {

const QString kRegister = QStringLiteral("登録");
const QString kClose = QStringLiteral("閉じる");

} // namespace

TfrmEditKoji::TfrmEditKoji(QWidget* parent)
    : TRegisterDialog(parent, QSize(468, 182), false), m_record(new TKoji(this))
{
    setObjectName(QStringLiteral("frmEditKoji"));
    setWindowTitle(QStringLiteral("工事名の登録"));
    QWidget* client = Client();

    AddLabel(client, QStringLiteral("工事コード"), 8, 10);
    // No maximum length: a pasted code would be cut to it unseen and register
    // over the project that shares its beginning; "登録" refuses it instead.
    Edit1 = AddEdit(client, QStringLiteral("Edit1"), QRect(80, 6, 80, 20));
    Button1 = AddButton(client, QStringLiteral("Button1"), QStringLiteral("工事検索"),
                        QRect(168, 5, 75, 22));
    AddLabel(client, QStringLiteral("工事名"), 8, 34);
    Edit2 = AddEdit(client, QStringLiteral("Edit2"), QRect(80, 30, 380, 20), 128);
    AddLabel(client, QStringLiteral("発注者名"), 8, 58);
    ComboBox3 = AddComboBox(client, QStringLiteral("ComboBox3"), QRect(80, 54, 220, 20));
    AddLabel(client, QStringLiteral("請負者名"), 8, 82);
    ComboBox2 = AddComboBox(client, QStringLiteral("ComboBox2"), QRect(80, 78, 300, 20));
    AddLabel(client, QStringLiteral("現場代理人"), 8, 106);
    ComboBox1 = AddComboBox(client, QStringLiteral("ComboBox1"), QRect(80, 102, 160, 20));
    RadioGroup1 = new TRadioGroup(
        QStringLiteral("印刷様式"),
        {QStringLiteral("開発局"), QStringLiteral("土木現業所"), QStringLiteral("支庁")}, 3,
        client);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 128, 300, 46);
    RadioGroup1->SetItemIndex(0);
    Button2 = AddButton(client, QStringLiteral("Button2"), kClose, QRect(385, 146, 75, 25));
    ImeOff(Edit1);
    ImeHiragana(Edit2);
    ImeHiragana(ComboBox2);

    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル"));
    Connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規")), &QAction::triggered,
            this, &TfrmEditKoji::mnuNewClick);
    AddItem(file, QStringLiteral("mnuPrintList"), QStringLiteral("一覧印刷"));
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditKoji::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &QDialog::close);
    QMenu* data = AddMenu(QStringLiteral("mnuData"), QStringLiteral("データ"));
    Connect(AddItem(data, QStringLiteral("mnuSimei"), QStringLiteral("氏名")), &QAction::triggered,
            this, &TfrmEditKoji::mnuSimeiClick);
    Connect(AddItem(data, QStringLiteral("mnuHacchusya"), QStringLiteral("発注者")),
            &QAction::triggered, this, &TfrmEditKoji::mnuHacchusyaClick);
    Connect(AddItem(data, QStringLiteral("mnuUkeoisya"), QStringLiteral("請負者")),
            &QAction::triggered, this, &TfrmEditKoji::mnuUkeoisyaClick);
    AddHelp(QStringLiteral("HID00000002"));

    Connect(Edit1, &QLineEdit::textChanged, this, &TfrmEditKoji::FieldChange);
    Connect(Edit2, &QLineEdit::textChanged, this, &TfrmEditKoji::FieldChange);
    for (TComboBox* combo : {ComboBox1, ComboBox2, ComboBox3})
        Connect(combo, &QComboBox::editTextChanged, this, &TfrmEditKoji::FieldChange);
    Connect(RadioGroup1, &TRadioGroup::Click, this, &TfrmEditKoji::FieldChange);
    Connect(Button1, &QPushButton::clicked, this, &TfrmEditKoji::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmEditKoji::Button2Click);
    Connect(ComboBox1, &TComboBox::DropDown, this, &TfrmEditKoji::ComboBox1DropDown);
    Connect(ComboBox2, &TComboBox::DropDown, this, &TfrmEditKoji::ComboBox2DropDown);
    Connect(ComboBox3, &TComboBox::DropDown, this, &TfrmEditKoji::ComboBox3DropDown);
    Connect(ComboBox2, &QComboBox::activated, this, &TfrmEditKoji::ComboBox2Select);
    Connect(ComboBox3, &QComboBox::activated, this, &TfrmEditKoji::ComboBox3Select);

    TApplication::Guard([this] { FormCreate(); });
}

void TfrmEditKoji::FormCreate()
{
    // An unreachable data folder is reported once, at start.
    if (TDatabase::IsAvailable())
        TKoji::EnsureTables();
}

void TfrmEditKoji::FormActivate()
{
    TKoji::EnsureTables();
    ShowRecord();
}

void TfrmEditKoji::TakeValues()
{
    m_record->Code = Edit1->text();
    m_record->Kojimei = Edit2->text();
    m_record->Client->LoadByName(ComboBox3->Text());
    m_record->Contractor->LoadByName(ComboBox2->Text());
    m_record->SiteAgent->LoadByName(ComboBox1->Text());
    m_record->Yoshiki = RadioGroup1->ItemIndex();
}

void TfrmEditKoji::ShowRecord()
{
    Edit1->setText(m_record->Code);
    Edit2->setText(m_record->Kojimei);
    ComboBox3->SetText(m_record->Client->Hacchusyamei);
    ComboBox2->SetText(m_record->Contractor->Ukeoisyamei);
    ComboBox1->SetText(m_record->SiteAgent->Simei);
    RadioGroup1->SetItemIndex(m_record->Yoshiki);
    // Setting the fields marked the record as edited; a record just shown
    // is not.
    Button2->setText(kClose);
}

void TfrmEditKoji::FieldChange()
{
    Button2->setText(kRegister);
}

void TfrmEditKoji::Button1Click()
{
    auto dialog = std::make_unique<TfrmListBox>(this);
    dialog->setWindowTitle(QStringLiteral("工事選択"));
    QStringList projects;
    TKoji::FillList(projects);
    dialog->ListBox1->addItems(projects);
    if (dialog->exec() != QDialog::Accepted)
        return;
    m_record->LoadByCode(CodeOf(dialog->SelectedText()));
    ShowRecord();
}

void TfrmEditKoji::Button2Click()
{
    if (Button2->text() != kRegister) {
        close();
        return;
    }
    if (!NameFits(Edit1->text().trimmed(), TKoji::CodeLength, QStringLiteral("工事コード"))) {
        Edit1->setFocus();
        return;
    }
    TakeValues();
    m_record->Save();
    Button2->setText(kClose);
}

void TfrmEditKoji::ComboBox1DropDown()
{
    QStringList names;
    TSimei::FillList(names);
    ComboBox1->SetItems(names);
}

void TfrmEditKoji::ComboBox2DropDown()
{
    QStringList names;
    TUkeoisya::FillList(names);
    ComboBox2->SetItems(names);
}

void TfrmEditKoji::ComboBox3DropDown()
{
    QStringList names;
    THacchusya::FillList(names);
    ComboBox3->SetItems(names);
}

void TfrmEditKoji::ComboBox2Select(int index)
{
    m_record->Contractor->LoadByName(ComboBox2->itemText(index));
}

void TfrmEditKoji::ComboBox3Select(int index)
{
    m_record->Client->LoadByName(ComboBox3->itemText(index));
}

void TfrmEditKoji::mnuNewClick()
{
    Edit1->clear();
    Edit2->clear();
    ComboBox3->SetText(QString());
    ComboBox2->SetText(QString());
    ComboBox1->SetText(QString());
    Edit1->setFocus();
}

void TfrmEditKoji::mnuDeleteClick()
{
    if (!TPrompt::OkCancel(QStringLiteral("本当に削除しますか？"), kEmptyCaption))
        return;
    TakeValues();
    m_record->Delete();
}

void TfrmEditKoji::mnuSimeiClick()
{
    auto dialog = std::make_unique<TfrmEditSimei>(this);
    if (dialog->exec() == QDialog::Accepted)
        ComboBox1->SetText(dialog->Edit2->text());
}

void TfrmEditKoji::mnuHacchusyaClick()
{
    auto dialog = std::make_unique<TfrmEditHacchusya>(this);
    dialog->exec();
}

void TfrmEditKoji::mnuUkeoisyaClick()
{
    auto dialog = std::make_unique<TfrmEditUkeoisya>(this);
    dialog->exec();
}
