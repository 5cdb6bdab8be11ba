#pragma once

#include "foundation/TColor.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TFolderDialog;
struct TServerSettings;

// The environment dialog "環境設定": the data folder or the database server,
// and a few settings kept for other programs. Created once, shown modeless.
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
    void BitBtn1Click();    // "OK"
    void ButtonTestClick(); // "接続テスト"
    void ButtonCopyClick(); // the folder's data onto the server
    void PlaceChanged();    // folder or server chosen

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetBoxColor(QFrame* box, TColor color);
    void ChooseColor(QFrame* box);
    // The server fields as typed; false (and said) when the port is no port.
    bool TypedServer(TServerSettings& server);

    QRadioButton* RadioFolder;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QRadioButton* RadioServer;
    QLineEdit* EditHost;
    QLineEdit* EditPort;
    QLineEdit* EditDatabase;
    QLineEdit* EditUser;
    QPushButton* ButtonTest;
    QPushButton* ButtonCopy;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QFrame* Panel2;
    QFrame* Panel3;
    QFrame* Panel4;
    QPushButton* BitBtn1;
    TFolderDialog* FolderDialog1;
};
