#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The platform's folder chooser as a component of its owner window.
class TFolderDialog : public QObject
{
    Q_OBJECT
public:
    explicit TFolderDialog(QWidget* owner);

    QString Title = QStringLiteral("フォルダーの選択");
    // The chosen folder; when it names an existing folder on Execute the
    // chooser opens there, otherwise at the top of the file system.
    QString Directory;

    // True when the user confirmed a folder; Directory then holds it.
    bool Execute();
};
