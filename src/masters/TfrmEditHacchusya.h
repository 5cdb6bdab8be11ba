#pragma once

#include "controls/TRegisterDialog.h"

class QLineEdit;
class QPushButton;
class TComboBox;
class THacchusya;

// "発注者の登録": the client register.
class TfrmEditHacchusya : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditHacchusya(QWidget* parent = nullptr);

    THacchusya* Record() const { return m_record; }

    TComboBox* ComboBox1;
    QLineEdit* Edit1;
    QPushButton* Button1;

public slots:
    void ComboBox1DropDown();
    void ComboBox1Select(int index);
    void Button1Click();
    void mnuNewClick();
    void mnuDeleteClick();

private:
    void TakeValues();
    void ShowRecord();

    THacchusya* m_record;
};
