#pragma once

#include "controls/TRegisterDialog.h"

class QLineEdit;
class QPushButton;
class TSimei;
class TStatusBar;

// "氏名の登録": the person-name register. Shown modally, "登録" also closes
// it with OK, so that the caller can take the name.
class TfrmEditSimei : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditSimei(QWidget* parent = nullptr);

    TSimei* Record() const { return m_record; }

    QLineEdit* Edit1; // reading
    QLineEdit* Edit2; // name
    QPushButton* Button1;
    QPushButton* Button2;
    TStatusBar* StatusBar1;

public slots:
    void Button1Click();
    void Button2Click();
    void mnuNewClick();
    void mnuDeleteClick();

private:
    void ShowRecord();

    TSimei* m_record;
};
