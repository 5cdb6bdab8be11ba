#pragma once

#include "controls/TRegisterDialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class TZairyoIndex;

// "材料名のリスト": one category of the material name index, edited here and
// written back as a whole by "OK".
class TfrmEditZairyoName : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditZairyoName(QWidget* parent = nullptr);

    TZairyoIndex* Record() const { return m_record; }

    QTabWidget* TabControl1;
    QListWidget* ListBox1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* BitBtn1;

public slots:
    void FormCreate();
    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn1Click();
    void mnuLoadGozaiClick();

private:
    TZairyoIndex* m_record;
};
