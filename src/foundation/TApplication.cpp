#include "foundation/TApplication.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TActivation.h"
#include "foundation/TPrompt.h"

#include <QStringList>

namespace {

// The errors of the batch that is open; null when none is.
QStringList* batch = nullptr;

void ShowError(const QString& text)
{
    if (!batch)
        TPrompt::Error(text);
    else if (!batch->contains(text))
        batch->append(text);
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    TActivation::Install(this);
}

TApplication::TErrorBatch::TErrorBatch() : m_outer(!batch)
{
    if (m_outer)
        batch = new QStringList;
}

TApplication::TErrorBatch::~TErrorBatch()
{
    if (!m_outer)
        return;
    QStringList* errors = batch;
    batch = nullptr;
    for (const QString& text : *errors)
        TPrompt::Error(text);
    delete errors;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowUnknownException();
    }
    return false;
}

void TApplication::ShowException(const std::exception& e)
{
    ShowError(ExceptionText(e));
}

void TApplication::ShowUnknownException()
{
    ShowError(QStringLiteral("予期しないエラーが発生しました。"));
}
