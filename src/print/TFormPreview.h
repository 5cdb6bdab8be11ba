#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QScrollArea;
class TPrevX;
class TUpDown;

// The preview of the acceptance criteria sheet: zoom in steps of 10, a page
// number to go to, "すべて印刷" and "このページを印刷". Made by the sheet for
// one print, shown maximised and modal, then released.
class TFormPreview : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPreview(QWidget* parent = nullptr);

    TPrevX* PrevX1;
    QLineEdit* Edit1; // page number
    TUpDown* UpDown1; // its maximum is set to the page count by the creator

    // Filled by the creator from the print settings before drawing.
    int PrinterIndex = 0;
    int FontIndex = -1;
    QString FontName;

public slots:
    void Button5Click(); // "＋"
    void Button6Click(); // "－"
    void Edit1Change();
    void Button2Click(); // "すべて印刷"
    void Button4Click(); // "このページを印刷"
    void BitBtn1Click(); // "閉じる(&C)"

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* Panel1;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button2;
    QPushButton* Button4;
    QPushButton* BitBtn1;
    QScrollArea* ScrollBox1;
};
