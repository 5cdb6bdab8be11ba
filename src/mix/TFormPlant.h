#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class TComboBox;
class QGroupBox;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTableWidget;
class TPlant;

// "プラントの登録": edits the plants of Plant.Dat. Shown modally from the mix
// editor; "登録" closes it with the OK result once the plant is saved.
class TFormPlant : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPlant(QWidget* parent = nullptr);

    // The window's plant record.
    TPlant* Plant() const { return m_plant; }

public slots:
    void FormShow();
    void ComboBox1DropDown();
    void ComboBox1Select();
    void StringGrid1Enter();
    void Button1Click();   // "登録"
    void mnuNewClick();    // "新規"
    void mnuDeleteClick(); // "プラント削除"
    void mnuSaveClick();   // "プラント登録"
    void mnuExitClick();   // "終了"

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ClearWindow();
    void ShowRecord();
    // False, after a message naming the field, when a field holds a character
    // that Plant.Dat cannot hold; the record is then unchanged.
    bool TakeRecord();
    // "登録" and "プラント登録": false, after a message, when the name is
    // blank, a text cannot be written or Save refuses.
    bool SaveWindow();

    TPlant* m_plant;
    QMenuBar* MainMenu1;
    TComboBox* ComboBox1;
    QCheckBox* CheckBox1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QGroupBox* RadioGroup1;
    QButtonGroup* m_initialWeighing;
    QTableWidget* StringGrid1;
    QPushButton* Button1;
};
