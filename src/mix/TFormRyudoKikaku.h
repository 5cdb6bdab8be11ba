#pragma once

#include <QDialog>
#include <QImage>

class QAction;
class QLabel;
class QMenuBar;
class QPushButton;
class TComboBox;
class TRyudoKikaku;
class TvaSpread;

// "粒度規格の登録": keeps the gradation standards and hands one over to the
// mix definition editor. Opened modally:
//
//     TFormRyudoKikaku form(this);
//     if (form.Execute())
//         name = form.KikakuName();
//
// It opens on "[0]標準"; "採用" saves what is shown and closes with OK.
class TFormRyudoKikaku : public QDialog
{
    Q_OBJECT
public:
    // Creating the window makes sure the table and its default standards exist.
    explicit TFormRyudoKikaku(QWidget* parent = nullptr);

    // Shows the window modally; true when it was closed with "採用".
    bool Execute();
    // The name field's text: after "採用", the standard handed over.
    QString KikakuName() const;
    // The chart as last drawn (also shown in Image1).
    const QImage& Chart() const { return m_chart; }

public slots:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void ComboBox1DropDown();
    void ComboBox1Click();
    void vaSpread11KeyUp();
    void BitBtn1Click(); // "登録"
    void BitBtn3Click(); // "採用"
    void BitBtn2Click(); // "閉じる"
    void mnuNewClick();
    void mnuSaveClick();
    void mnuDeleteClick();
    void mnuCloseClick();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LabelRows();
    void EmptyValues();
    void TakeContents();
    // "登録": false, after a message, when the name is too long for the
    // table (it is never cut); nothing is saved then.
    bool SaveWindow();
    void DrawChart();

    TRyudoKikaku* m_kikaku;
    QMenuBar* MainMenu1;
    QAction* mnuNew;
    QAction* mnuSave;
    QAction* mnuDelete;
    QAction* mnuClose;
    TComboBox* ComboBox1;
    QLabel* Image1;
    TvaSpread* vaSpread11;
    QPushButton* BitBtn1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QImage m_chart;
};
