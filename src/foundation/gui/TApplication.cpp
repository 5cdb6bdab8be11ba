#include "foundation/gui/TApplication.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/TActivation.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

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
    // Qt's own texts (the buttons of message boxes, the file and colour
    // choosers) in Japanese, as a Japanese Windows shows them: from beside
    // the program where it is installed with its translations, otherwise
    // from Qt's.
    auto* translator = new QTranslator(this);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    for (const QString& folder : {applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            installTranslator(translator);
            break;
        }
    }
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
