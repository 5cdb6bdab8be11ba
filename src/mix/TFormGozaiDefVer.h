#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The version window of the mix definition editor: the program's version
// and the maker's home page. Shown modally.
class TFormGozaiDefVer : public QDialog
{
    Q_OBJECT
public:
    explicit TFormGozaiDefVer(QWidget* parent = nullptr);

    static QString HomePage();

    QLabel* Image1;
    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Panel1; // the version
    QPushButton* Button1;

public slots:
    void FormShow();
    void Button1Click(); // "ホームページ"

protected:
    void showEvent(QShowEvent* event) override;
};
