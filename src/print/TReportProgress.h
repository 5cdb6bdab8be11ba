#pragma once

#include <memory>

class QWidget;
class TfrmProgressBar;

// The progress window "読込中" while a sheet is drawn: shown when made, moved
// on with Step, and gone when the object goes, however the drawing ends (the
// window has no close box of its own).
class TReportProgress
{
public:
    TReportProgress(int maximum, QWidget* owner = nullptr);
    ~TReportProgress();
    TReportProgress(const TReportProgress&) = delete;
    TReportProgress& operator=(const TReportProgress&) = delete;

    // `done` records drawn so far.
    void Step(int done);
    TfrmProgressBar* Window() const { return m_window.get(); }

private:
    std::unique_ptr<TfrmProgressBar> m_window;
};
