// The helpers of TTestEnvironment.h that need the program's own windows.
#include "support/TTestEnvironment.h"

#include "controls/TvaSpread.h"

#include <QApplication>

void TypeIntoCell(TvaSpread* grid, int col, int row, const QString& text)
{
    grid->setFocus();
    grid->SetActiveCell(col, row);
    TypeText(grid, text);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : grid, Qt::Key_Return);
}
