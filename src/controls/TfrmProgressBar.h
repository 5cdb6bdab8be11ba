#pragma once

#include <QWidget>

class QProgressBar;

// "読込中": shown modeless while a long task runs. The caller sets the bar's
// maximum, shows the window and moves the bar as the work proceeds.
class TfrmProgressBar : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmProgressBar(QWidget* parent = nullptr);

    QProgressBar* ProgressBar1;
};
