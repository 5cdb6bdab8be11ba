#include "controls/TFolderDialog.h"

#include "controls/TFileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

TFolderDialog::TFolderDialog(QWidget* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("FolderDialog1"));
}

bool TFolderDialog::Execute()
{
    QFileDialog dialog(qobject_cast<QWidget*>(parent()), Title);
    dialog.setObjectName(QStringLiteral("FolderBrowser"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!Directory.isEmpty() && QFileInfo(Directory).isDir())
        dialog.setDirectory(Directory);
    else
        dialog.setDirectory(QDir::rootPath());
    QString chosen;
    if (!TFileChooser::Choose(dialog, chosen))
        return false;
    if (!chosen.isEmpty())
        Directory = QDir::toNativeSeparators(chosen);
    return true;
}
