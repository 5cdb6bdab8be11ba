#pragma once

#include "controls/TRegisterDialog.h"

class QLineEdit;
class QPushButton;
class TComboBox;
class TKoji;
class TRadioGroup;

// "工事名の登録": the project register, shown modeless from the main window
// for the whole run. Button2 reads "閉じる" until something is edited, then
// "登録".
class TfrmEditKoji : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditKoji(QWidget* parent = nullptr);

    TKoji* Record() const { return m_record; }

    QLineEdit* Edit1; // code
    QPushButton* Button1;
    QLineEdit* Edit2;     // name
    TComboBox* ComboBox3; // client
    TComboBox* ComboBox2; // contractor
    TComboBox* ComboBox1; // site agent
    TRadioGroup* RadioGroup1;
    QPushButton* Button2;

public slots:
    void FormCreate();
    void FormActivate() override;
    void FieldChange();
    void Button1Click();
    void Button2Click();
    void ComboBox1DropDown();
    void ComboBox2DropDown();
    void ComboBox3DropDown();
    void ComboBox2Select(int index);
    void ComboBox3Select(int index);
    void mnuNewClick();
    void mnuDeleteClick();
    void mnuSimeiClick();
    void mnuHacchusyaClick();
    void mnuUkeoisyaClick();

private:
    void TakeValues();
    void ShowRecord();

    TKoji* m_record;
};
