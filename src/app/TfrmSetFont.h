#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The print font dialog: the font name of printed paving record sheets
// (DefaultFontName). Created once at start, shown modally. The box keeps its
// text between showings; it is read from the setting only when created.
class TfrmSetFont : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSetFont(QWidget* parent = nullptr);

public slots:
    void FormCreate();
    void Button1Click(); // "選択": the system font dialog
    void Button2Click(); // "閉じる", also Esc

private:
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
};
