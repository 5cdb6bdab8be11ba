#pragma once

#include "acceptance/TGokakuHanteiti.h"

#include <QDialog>

class QPushButton;

// "合格判定値の計算方法を選んでください": which guideline the acceptance
// values of a mixture with recycled material follow. Shown modal; the
// result is mrOk for "プラント再生舗装技術指針" (the default button; closing the
// window counts the same) and mrYes for "アスファルト舗装再生利用ガイドライン".
class TFormGokakuHanteitiKeisanHouhou : public QDialog
{
    Q_OBJECT
public:
    enum TResult
    {
        mrOk = QDialog::Accepted,
        mrYes = 6
    };

    explicit TFormGokakuHanteitiKeisanHouhou(QWidget* parent = nullptr);

    // The method the answer selects.
    static TGokakuHanteiti::TMethod MethodOf(int result);

    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();
};
