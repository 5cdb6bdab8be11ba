#pragma once

#include "controls/TRegisterDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TComboBox;
class TUkeoisya;

// "請負者の登録": the contractor register.
class TfrmEditUkeoisya : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditUkeoisya(QWidget* parent = nullptr);

    TUkeoisya* Record() const { return m_record; }

    TComboBox* ComboBox1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QCheckBox* CheckBox1;
    QPushButton* Button1;

public slots:
    void ComboBox1DropDown();
    void ComboBox1Select(int index);
    void Edit2Enter();
    void Button1Click();
    void mnuNewClick();
    void mnuDeleteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeValues();
    void ShowRecord();

    TUkeoisya* m_record;
};
