#pragma once

#include <QString>

// The program's help: one page per topic, named by the topic's context
// string ("HID00000002.html"), in the folder "help" beside the program.
class THelp
{
public:
    static QString Folder();
    // The page of `context`, or an empty text when it is not installed.
    static QString TopicFile(const QString& context);
    // Opens the topic in the system's viewer; says so plainly when the help
    // is not installed or cannot be shown.
    static void Show(const QString& context);
};
