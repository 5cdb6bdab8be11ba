#pragma once

class QApplication;
class QEvent;
class QWidget;

// When a window's activation reloads it from the tables or the settings.
//
// A window that shows what is stored reloads when it is shown and when the
// focus comes to it from another window of this program, so that it shows
// what was saved there. It does not reload when the focus comes back from a
// modal dialog, chooser or message box that it (or a dialog it opened)
// brought up, nor when the program comes back from another application:
// what the user typed, chose in the chooser or kept by answering Cancel
// stays, and an error box raised by a failed reload is shown once.
class TActivation
{
public:
    // Starts watching the activations of the program's windows. The
    // application does this once; without it every activation reloads.
    static void Install(QApplication* application);

    // True when `event` is an activation of `window` that should reload it.
    // Call from the window's event(), after the base class has handled it.
    static bool ReloadDue(QWidget* window, QEvent* event);

    // A window whose activation neither reloads it nor counts as leaving
    // the window before (the help, read beside a window being typed in).
    static void SetPassive(QWidget* window);

    // The window of this program that was active last (null before the
    // first activation): the owner for a message box raised while no window
    // of the program is active.
    static QWidget* LastActiveWindow();
};
