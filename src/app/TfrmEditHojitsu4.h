#pragma once

#include "store/THojituLine4.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class TComboBox;
class THojituHead4;
class TStatusBar;
class TvaSpread;

// The main window: the asphalt mixture paving record sheet. The user picks a
// project, a work type and a mixture, then a day; types the station, length,
// width and quantities; the window derives what can be derived, shows the
// totals and saves the day. Closing it ends the program.
class TfrmEditHojitsu4 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmEditHojitsu4(QWidget* parent = nullptr);
    ~TfrmEditHojitsu4() override;

    TStatusBar* StatusBar1() const { return m_statusBar; }
    THojituHead4* Head() const { return m_head; }
    THojituLine4* Line() const { return m_line; }
    // Something was typed into the day since it was shown or saved.
    bool Modified() const { return m_modified; }

    TComboBox* ComboBox1; // project, "code:name"
    TComboBox* ComboBox2; // work type
    TComboBox* ComboBox3; // mixture
    TvaSpread* vaSpread1; // the mixture's density, binder and filler ratios
    TComboBox* ComboBox4; // date
    QLineEdit* Edit1;     // station
    QLineEdit* Edit2;     // length
    QLineEdit* Edit3;     // width
    TvaSpread* vaSpread2; // the day's values and the totals
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QPushButton* Button1; // "ﾌﾟﾚﾋﾞｭｰ"
    QPushButton* Button2; // "OK"
    QPushButton* Button3; // "閉じる(&C)"
    QPushButton* Button4; // "プリンタの設定"

public slots:
    void FormCreate();
    void FormActivate();
    void ComboBox1DropDown();
    void ComboBox1Select(int index);
    void ComboBox2DropDown();
    void ComboBox2Select(int index);
    void ComboBox3DropDown();
    void ComboBox3Select(int index);
    void ComboBox4DropDown();
    void ComboBox4Select(int index);
    void ComboBox4Exit();
    void Edit2KeyEnter();
    void Edit3KeyEnter();
    void vaSpread2Change(int col, int row);
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    // "OK": false when the day was not saved (something missing, Cancel).
    bool Button2Click();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void StatusBar1Click(int panel);
    void mnuOpenClick();
    void mnuDeleteClick();
    void mnuDeleteDayClick();
    void mnuAboutClick();
    void mnuCsvClick();
    void mnuImportClick();
    void mnuDataPathClick();
    void mnuKojiClick();
    void mnuKosyuClick();
    void mnuGozaiClick();
    void mnuKetasuClick();
    void mnuFontClick();

    // The day's values as the controls hold them now (positions 0 to 32).
    THojituLine4::TValues Values() const;
    // Derives from the controls and writes the results back.
    void Derive();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateEntryGrid();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);

    void ShowLine();
    void RefreshTotals();
    void RefreshHeaderFields();
    void RefreshStatusPanels();
    void ShowMixPrefill();
    void PrefillDay(bool densityFromCores);
    void SetCellValue(int position, double value);
    // Clears the shown day, keeping the link to the current header.
    void ClearLine();
    void LoadFirstOrClear();
    // Loads the header the boxes name (project code, work type, mixture).
    void TakeHeaderKeys(THojituHead4& head);
    // The text a box had before its list opened, or else the record's.
    QString TextBefore(int box) const;
    // Loads the day of `date` into the line (an empty day when none is
    // stored); true when one was stored.
    bool LoadDay(TDateTime date);
    // Saves the day as the boxes show it; false when it was not saved.
    bool SaveDay();
    // Before the shown day is replaced: asks whether unsaved typing is to be
    // saved. False when the user chose to stay (or the save did not go
    // through); `restore` puts the boxes back as they were for the save.
    bool ConfirmLeave(const std::function<void()>& restore = {});
    void Touch();

    TStatusBar* m_statusBar = nullptr;
    THojituHead4* m_head = nullptr;
    THojituLine4* m_line = nullptr;
    bool m_modified = false;
    // The text of a box before its list opened, to put back when a choice is
    // cancelled.
    QString m_textBefore[4];
};
