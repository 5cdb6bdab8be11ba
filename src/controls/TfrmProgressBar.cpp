#include "controls/TfrmProgressBar.h"

#include "foundation/gui/WindowPlacement.h"

#include <QProgressBar>

// No close button: the window goes away when the task that showed it ends.
TfrmProgressBar::TfrmProgressBar(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmProgressBar"));
    setWindowTitle(QStringLiteral("読込中"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(293, 75);
    // The window that started the task stays the active one, so that its
    // messages afterwards belong to it and closing them returns to it.
    setAttribute(Qt::WA_ShowWithoutActivating);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 8, 265, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    CentreOnScreen(this);
}
