#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class TPrevX;
class TUpDown;

// "印刷プレビュー", the preview of the paving record sheet: zoom 25 to 200 %
// in steps of 5, previous and next page, print this page or the print range.
// Made by the sheet for one print, shown modal over the desktop's work area,
// then released.
//
// The zoom is fitted so that the page's height fills the view when the window
// is shown and when the focus comes to it from another window of the
// program; not when the user comes back from another program or from a
// dialog of its own, nor when the page buttons are used.
class TfrmPreView : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPreView(QWidget* parent = nullptr);

    TPrevX* PrevX1;
    TUpDown* UpDown1;
    QLineEdit* MaskEdit1;

    // The zoom at which the page shown is as high as the view.
    int FittedZoom() const;

public slots:
    void FormActivate();
    void UpDown1Click(int position);
    void MaskEdit1Exit();
    void Button3Click(); // "前ページ"
    void Button4Click(); // "次ページ"
    void Button5Click(); // "このページを印刷"
    void Button1Click(); // "印刷(&P)"
    void Button2Click(); // "閉じる"
    void Button6Click(); // printer setup (hidden)

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceControls();
    void ShowZoom(int zoom);
    void RefreshState(bool fit);

    QLabel* Label1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QLineEdit* Edit1; // screen pixels per inch, across (hidden)
    QLineEdit* Edit2; // and down (hidden)
    QScrollArea* ScrollBox1;
};
