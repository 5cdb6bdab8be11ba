#include "controls/TFileChooser.h"

#include <QFileDialog>
#include <QList>
#include <optional>

namespace {

// The next answers; std::nullopt: cancelled.
QList<std::optional<QString>> nextAnswers;
TFileChooser::TShown lastShown;

} // namespace

bool TFileChooser::Choose(QFileDialog& dialog, QString& chosen)
{
    if (nextAnswers.isEmpty()) {
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen = dialog.selectedFiles().value(0);
        return true;
    }
    const QString proposed = dialog.fileMode() == QFileDialog::Directory
                                 ? dialog.directory().absolutePath()
                                 : dialog.selectedFiles().value(0);
    lastShown = {dialog.objectName(), dialog.windowTitle(), dialog.nameFilters().join(u";;"),
                 proposed};
    const std::optional<QString> answer = nextAnswers.takeFirst();
    if (!answer)
        return false;
    chosen = *answer;
    return true;
}

void TFileChooser::SetNextFile(const QString& file)
{
    nextAnswers.append(file);
}

void TFileChooser::SetNextCancel()
{
    nextAnswers.append(std::nullopt);
}

int TFileChooser::Pending()
{
    return nextAnswers.size();
}

TFileChooser::TShown TFileChooser::LastShown()
{
    return lastShown;
}
