#pragma once

#include "controls/TRegisterDialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class TKosyu;

// "工種の登録": the work type list, edited here and written back as a whole
// by "登録(&O)".
class TfrmEditKosyu : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditKosyu(QWidget* parent = nullptr);

    TKosyu* Record() const { return m_record; }

    QListWidget* ListBox1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button3;
    QPushButton* Button2;

public slots:
    void FormCreate();
    void FormActivate() override;
    void Edit2Change();
    void Button1Click();
    void Button3Click();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void mnuNewClick();
    void mnuDeleteClick();

private:
    // "工種追加": false, after a message, when the name is too long (it is
    // never cut); nothing is added then.
    bool AddTyped();

    TKosyu* m_record;
};
