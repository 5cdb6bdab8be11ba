#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// A pick list. The caller sets the caption, fills ListBox1, shows it modally
// and after OK reads SelectedText.
class TfrmListBox : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmListBox(QWidget* parent = nullptr);

    // The selected entry, or an empty text when none is selected.
    QString SelectedText() const;

    QListWidget* ListBox1;
    QPushButton* Button1;

public slots:
    void Button1Click();
    void ListBox1DblClick();
};
