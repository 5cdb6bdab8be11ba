#pragma once

#include "controls/TRegisterDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class TComboBox;
class TGozaiDef;
class TPlant;
struct TPlantRecord;
class TvaSpread;

// "合材データの登録": creates, opens, changes, saves under another name and
// deletes mix definitions. Made once at start and shown modeless; it reloads
// the current mix when it is shown and when the focus comes from another
// window of the program (TRegisterDialog), not when its own dialogs close.
class TfrmEditGozaiDef : public TRegisterDialog
{
    Q_OBJECT
public:
    explicit TfrmEditGozaiDef(QWidget* parent = nullptr);

    // The current mix, which the acceptance criteria read.
    TGozaiDef* GozaiDef() const { return m_gozaiDef; }
    // The plant whose bin names head the bin columns.
    TPlant* Plant() const { return m_plant; }

    TComboBox* ComboBox1; // "合材名"
    QLineEdit* Edit1;     // "印刷名"
    TComboBox* ComboBox2; // "粒度規格"
    QComboBox* ComboBox3; // "工　種"
    QCheckBox* CheckBox1;
    TvaSpread* vaSpread11; // hot-bin mix ratios
    TvaSpread* vaSpread12; // reference densities
    TvaSpread* vaSpread13; // gradation ranges and target gradation
    TvaSpread* vaSpread14; // mass ranges
    QPushButton* BitBtn3;  // "合格判定値"
    QPushButton* BitBtn1;  // "登録"
    QPushButton* BitBtn2;  // close
    QStatusBar* StatusLine;

public slots:
    void FormShow();
    void FormActivate() override;
    void ComboBox1DropDown();
    void ComboBox1Select();
    void ComboBox2DropDown();
    void ComboBox2Select();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void mnuNewClick();
    void mnuOpenClick();
    void mnuSaveClick();
    void mnuSaveAsClick();
    void mnuDeleteClick();
    void mnuCloseClick();
    void mnuPlantClick();
    void mnuKikakuClick();
    void mnuOptionClick();
    void mnuVersionClick();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The names, the use and the four grids.
    void CreateFields(QWidget* client);
    void CreateButtons(QWidget* client);
    void CreateMenus();
    void EmptyWindow();
    // Checks the tables (asking), reloads the definition from them when
    // `fromTables` (after the data folder changed), loads the standard plant
    // and shows the record.
    void Reload(bool fromTables);
    // Headings and widths of the bin columns from `plant`; what is typed
    // stays.
    void ShowBinHeadings(const TPlantRecord& plant);
    // The record in the window, then the standard selection step.
    void ShowRecord();
    void SetRatioDecimals();
    // Loads the standard named in the field and fits the range rows to it.
    // `keepTyped`: the target gradation keeps what the window shows.
    void SelectStandard(bool keepTyped);
    // The window's contents into the record. False, after a message, when a
    // ratio is not a number (naming the cell) or the standard field names no
    // standard; the record is then unchanged.
    bool TakeContents();
    // The standard field into the record: a typed name that is a standard
    // loads it and fits the range rows; false, after a message, when it is
    // none.
    bool TakeStandard();
    // False, after a message, when `name` is blank or too long to be a mix
    // name.
    bool NameAcceptable(const QString& name);
    // Saves the record under `name`; false, after a message, when the name
    // is not acceptable.
    bool SaveAs(const QString& name);
    // Commits a cell still being edited.
    void CommitTyping();
    QString RatioCellName(int col, int row) const;

    TGozaiDef* m_gozaiDef;
    TPlant* m_plant;
    bool m_nameTyped = false;
    bool m_activating = false;
};
