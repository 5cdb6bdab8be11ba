#pragma once

#include <QString>

class QAction;
class QWidget;
class TfrmHelp;

// The program's help: its pages shown in the help window, at the page of
// the window the user asks from.
class THelp
{
public:
    // Opens the help window at `topic` (see THelpPages). Asked from a modal
    // window, the help comes up over it, usable while that window waits.
    static void Show(const QString& topic);
    // F1 in `window` opens `topic`. Without a topic it is the topic of the
    // window `window` was opened from (a pick list of a register window).
    static QAction* AddKey(QWidget* window, const QString& topic = QString());
    // The topic of `window` and of the windows opened from it, for a window
    // whose own entry (its "ヘルプ" menu) opens it.
    static void SetTopic(QWidget* window, const QString& topic);
    // The topic F1 opens in `window`.
    static QString TopicOf(const QWidget* window);
    // The help window; null until it is first opened.
    static TfrmHelp* Window();
};
