#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class QWidget;

// "ファイルの選択": the caller fills ListBox1, selects its first entry and
// shows it modally; after OK it reads SelectedIndex and SelectedText.
class TFormSelect : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSelect(QWidget* parent = nullptr);

    // The selected entry's index, or -1 when none is selected.
    int SelectedIndex() const;
    // The selected entry's text, or an empty text when none is selected.
    QString SelectedText() const;

    QListWidget* ListBox1;
    QWidget* Panel1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void ListBox1DblClick();
};
