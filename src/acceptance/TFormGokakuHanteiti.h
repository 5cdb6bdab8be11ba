#pragma once

#include "acceptance/TGokakuResult.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFormGokakuHanteitiKeisanHouhou;
class TGokakuHanteiti;
class TGozaiDef;
class TPlant;
class TvaSpread;

// "合格判定値": the reference weighings per batch and the acceptance values
// of the mix being edited, computed when the window is shown (after asking
// the guideline for a mixture with recycled material) and again when a
// setting box is clicked. "印刷" prints the sheet and closes the window.
//
// Made by the mix editor for one showing, modal. The mixture and the
// editor's plant record belong to the editor; the plant record is loaded
// with the mixture's plant.
class TFormGokakuHanteiti : public QDialog
{
    Q_OBJECT
public:
    enum TResult
    {
        mrYes = 6 // "印刷"
    };

    TFormGokakuHanteiti(TGozaiDef* mix, TPlant* editorPlant, QWidget* parent = nullptr);

    TGokakuHanteiti* Calculator() const { return m_calculator; }
    TFormGokakuHanteitiKeisanHouhou* KeisanHouhou() const { return m_keisanHouhou; }

    QLabel* StaticText1;
    TvaSpread* vaSpread11;           // material columns: ratio, mass, cumulative value
    TvaSpread* vaSpread12;           // judgement values Ⅰ (kg) and Ⅱ (%)
    std::array<QLineEdit*, 8> Edits; // Edit1 ... Edit8: W, Wa, A, F, S, G, H, W'
    QLabel* Label9;                  // the guideline in use
    QCheckBox* CheckBox1;            // new materials with one decimal
    QCheckBox* CheckBox2;            // the 2.36 mm bin always before the last
    QPushButton* BitBtn2;            // "印刷"
    QPushButton* BitBtn1;            // close

public slots:
    void FormShow();
    void CheckBox1Click();
    void CheckBox2Click();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Ratio, mass and cumulative value per material.
    void CreateCalculationGrid();
    // The judgement values Ⅰ and Ⅱ with the labels beside their rows.
    void CreateJudgementGrid();
    // Ｗ, Ｗａ, Ａ, Ｆ, Ｓ, Ｇ, Ｈ and Ｗ’, and the method's name.
    void CreateValueFields();
    void ShowBinHeadings();
    // Calculates and shows the values; the message when it had to stop.
    void Recalculate();
    void ShowResult(const TGokakuResult& result);

    TGozaiDef* m_mix;
    TGokakuHanteiti* m_calculator;
    TFormGokakuHanteitiKeisanHouhou* m_keisanHouhou;
};
