#include "foundation/TApplication.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TPrompt.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
    TPrompt::Error(ExceptionText(e));
}

void TApplication::ShowUnknownException()
{
    TPrompt::Error(QStringLiteral("予期しないエラーが発生しました。"));
}
