#include "print/TReportProgress.h"

#include "controls/TfrmProgressBar.h"

#include <QCoreApplication>
#include <QProgressBar>

TReportProgress::TReportProgress(int maximum, QWidget* owner)
    : m_window(std::make_unique<TfrmProgressBar>(owner))
{
    m_window->ProgressBar1->setMaximum(std::max(0, maximum));
    m_window->ProgressBar1->setValue(0);
    m_window->show();
}

TReportProgress::~TReportProgress() = default;

void TReportProgress::Step(int done)
{
    m_window->ProgressBar1->setValue(done);
    // Let the bar repaint while the drawing runs; input stays with the
    // window that started the sheet.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
