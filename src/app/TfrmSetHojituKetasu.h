#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class TvaSpread;

// The digits dialog "桁数の設定": the number of decimals of the length, the
// width and each column of the paving record's entry grid. Created once at
// start, shown modeless.
class TfrmSetHojituKetasu : public QDialog
{
    Q_OBJECT
public:
    // Writes every missing digits setting with its default, so the editor
    // finds them all from its first display.
    explicit TfrmSetHojituKetasu(QWidget* parent = nullptr);

public slots:
    void FormCreate();
    void FormActivate();
    void Button1Click(); // "OK"

protected:
    bool event(QEvent* event) override;

private:
    QLineEdit* Edit1; // 延長
    QLineEdit* Edit2; // 幅員
    TvaSpread* vaSpread1;
    QPushButton* Button1;
};
