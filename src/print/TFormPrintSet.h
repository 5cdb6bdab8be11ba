#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TUpDown;

// "印刷設定": the printer, the font, a shift of the whole page right and down
// in millimetres and a stretch across and down in percent, for the
// acceptance criteria sheet. The choices are kept in the "hin_" settings,
// unless "hin_fitprn" is "true": then the shift and stretch are fixed and
// nothing is saved.
//
// Made for one print and shown modal; the result says what to do:
// mrOk "プレビュー", mrYes "印刷", otherwise nothing.
class TFormPrintSet : public QDialog
{
    Q_OBJECT
public:
    enum TResult
    {
        mrCancel = QDialog::Rejected,
        mrOk = QDialog::Accepted,
        mrYes = 6
    };

    explicit TFormPrintSet(QWidget* parent = nullptr);

    // What the sheet prints with: whole numbers within the limits of the
    // up-down controls, the same that are saved.
    int OffsetLeft() const; // mm, -100 to 100
    int OffsetTop() const;
    int ZoomX() const; // %, 1 to 300
    int ZoomY() const;
    // The position of the chosen printer in the list (-1, the default
    // printer, when there is none to choose),
    // the font's position (-1 when none) and its name (empty when none).
    int PrinterIndex() const;
    int FontIndex() const;
    QString FontName() const;

    // True when "hin_fitprn" fixes the values.
    static bool Fitted();

    QLineEdit* Edit1; // 右へ
    QLineEdit* Edit2; // 下へ
    QLineEdit* Edit3; // 横
    QLineEdit* Edit4; // 縦
    TUpDown* UpDown1;
    TUpDown* UpDown2;
    TUpDown* UpDown3;
    TUpDown* UpDown4;
    QComboBox* ComboBox1; // printers
    QComboBox* ComboBox2; // fonts

public slots:
    void FormShow();
    void ComboBox1Change(int index);
    void Button7Click(); // "プリンタ設定"
    void Button6Click(); // "プレビュー"
    void Button1Click(); // "印刷"
    void Button2Click(); // "設定保存"
    void Button3Click(); // "閉じる"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SaveSettings();
    void ChoosePrinterAndClose(int result);

    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button6;
    QPushButton* Button7;
};
