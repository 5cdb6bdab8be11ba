#pragma once

#include "foundation/TColor.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class TFolderDialog;

// The environment dialog "環境設定": the data folder and a few settings kept
// for other programs. Created once, shown modeless.
class TfrmSetDataPath : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSetDataPath(QWidget* parent = nullptr);

    // Colour of a colour box as stored: 0 = 出荷 (Panel3), 1 = 施工 (Panel4).
    TColor BoxColor(int box) const;

public slots:
    void FormActivate();
    void Button1Click(); // "パス"
    void Panel3DblClick();
    void Panel4DblClick();
    void BitBtn1Click(); // "OK"

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetBoxColor(QFrame* box, TColor color);
    void ChooseColor(QFrame* box);

    QLineEdit* Edit1;
    QPushButton* Button1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QFrame* Panel2;
    QFrame* Panel3;
    QFrame* Panel4;
    QPushButton* BitBtn1;
    TFolderDialog* FolderDialog1;
};
