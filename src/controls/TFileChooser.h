#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;

// Every file and folder chooser of the program is shown through Choose, so
// that tests can give the answer a user would choose without a real dialog.
class TFileChooser
{
public:
    // How a chooser was set up when it was asked.
    struct TShown
    {
        QString objectName;
        QString caption;
        QString filter;
        // The file proposed (for a folder chooser the folder it opens at).
        QString proposed;
    };

    // Shows `dialog` as its caller set it up (modal); true when the user
    // confirmed, `chosen` then holding the first file or folder selected.
    static bool Choose(QFileDialog& dialog, QString& chosen);

    // The answer for the next chooser, which then is not shown: a file or
    // folder confirmed, or, for SetNextCancel, cancelled.
    static void SetNextFile(const QString& file);
    static void SetNextCancel();
    // Answers set that no chooser has taken yet.
    static int Pending();
    // The last chooser answered through SetNextFile or SetNextCancel.
    static TShown LastShown();
};
