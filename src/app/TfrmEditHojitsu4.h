#pragma once

#include "store/Derivation.h"
#include "store/Digits.h"
#include "store/THojituLine4.h"

#include <QMainWindow>
#include <array>
#include <bitset>
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
    void mnuExcelClick();
    void mnuImportClick();
    void mnuDataPathClick();
    void mnuKojiClick();
    void mnuKosyuClick();
    void mnuGozaiClick();
    void mnuKetasuClick();
    void mnuFontClick();
    // After the environment dialog: the record follows a new data folder.
    void FollowDataPlaceIfMoved();

    // The day's values as the controls hold them now (positions 0 to 32): a
    // value the user has not changed is the one behind its rounded display.
    THojituLine4::TValues Values() const;
    // Derives from the controls and writes the results back.
    void Derive();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    // The project, work type and mixture boxes, the mixture's grid, the
    // date box and the station, length and width.
    void CreateHeaderControls(QWidget* panel);
    void CreateEntryGrid();
    void CreateOptionsAndButtons(QWidget* panel);
    void ConnectControls();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);

    // Shows the loaded day; `digits` are read before, so that a bad digits
    // setting stops a display before anything changes.
    void ShowLine(const TDigitTable& digits);
    // Shows the loaded day; one not stored gets the mixture's design values,
    // derived, when a mixture is chosen.
    void ShowDay(bool stored, bool densityFromCores, const TDigitTable& digits);
    void RefreshTotals();
    void RefreshTotals(const TDigitTable& digits);
    void RefreshHeaderFields();
    void RefreshStatusPanels();
    void ShowMixPrefill();
    void PrefillDay(bool densityFromCores);
    void Derive(const TDigitTable& digits);
    // The text of the control of a value position (0 length, 1 width, else a
    // grid cell) and writing it.
    QString ControlText(int position) const;
    void SetControlText(int position, const QString& text);
    // Shows `value` rounded, keeping the value itself behind the text.
    void ShowValue(int position, double value, const TDigitTable& digits);
    // Shows a text the program gives (a prefill), its number behind it.
    void ShowText(int position, const QString& text);
    // After the data folder (or server) changed: the record of the keys
    // shown is read from the new place.
    void FollowDataPlace();
    // Takes a value still being typed into a cell, as Enter would.
    void CommitTyping();
    // Clears the shown day, keeping the link to the current header.
    void ClearLine();
    // Loads the earliest day of the header; true when there was one.
    bool LoadFirstOrClear();
    // Loads the header the boxes name (project code, work type, mixture).
    void TakeHeaderKeys(THojituHead4& head);
    // The boxes by number: 0 project, 1 work type, 2 mixture, 3 date.
    TComboBox* Box(int box) const;
    // Opening the list of box `box`: remembers its text, to put back when
    // the choice is not taken, then fills the list.
    void OpenList(int box, const std::function<void(QStringList&)>& fill);
    // The text a box had before its list opened, or else the record's.
    QString TextBefore(int box) const;
    // A choice from the list of box `box`: asks about unsaved typing, then
    // runs `load`. The box is put back when the user stays or it fails.
    void Choose(int box, const std::function<void(const TDigitTable&)>& load);
    QString ChooseExportFile(const QString& caption, const QString& objectName,
                             const QString& filter, const QString& extension);
    // Loads the day of `date` into the line (an empty day when none is
    // stored); true when one was stored.
    bool LoadDay(TDateTime date);
    // A readable date typed into the date box that names another day than
    // the one shown: that day is shown, as leaving the box does. False when
    // the user chose to stay with the shown day.
    bool GoToTypedDate();
    // Whether the shown day is stored (its header and date).
    bool DayStored() const;
    // Saves the day as the boxes show it; false when it was not saved.
    bool SaveDay();
    // Before the shown day is replaced: asks whether unsaved typing is to be
    // saved. "Yes" saves the shown day under its own date (whatever the date
    // box holds now); `restore` puts a box back as it was for the save.
    // False when the user chose to stay (or the save did not go through).
    bool ConfirmLeave(const std::function<void()>& restore = {});
    void Touch();

    TStatusBar* m_statusBar = nullptr;
    THojituHead4* m_head = nullptr;
    THojituLine4* m_line = nullptr;
    bool m_modified = false;
    // Per value position: the text the program last showed and the exact
    // value behind it; whether the user typed since; whether the program
    // derived it in this editing session (and so derives it again).
    std::array<QString, THojituLine4::ValueCount> m_shownText;
    THojituLine4::TValues m_shownValue{};
    std::bitset<THojituLine4::ValueCount> m_typed;
    TDerivedPositions m_derived;
    // Where the data lived when the record was last read (TDatabase::Place).
    QString m_place;
    bool m_followsDataPathDialog = false;
    // Something was typed that the shown values have not been derived from.
    bool m_deriveDue = false;
    // The text of a box before its list opened, to put back when a choice is
    // cancelled.
    QString m_textBefore[4];
};
