#pragma once

#include "foundation/TPrompt.h"
#include "foundation/gui/TQtPrompt.h"
#include "support/TScriptedPrompt.h"

#include <QApplication>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Helpers for the tests that run on a real desktop (tests/desktop): an X
// server with a window manager, where windows are activated as a user's
// desktop does it.

// Makes `window` the active window the way a user's click on it does, through
// the window manager. False when it did not become active within a few
// seconds.
bool DesktopActivate(QWidget* window);

// Waits until no window of this program is active (another program has the
// focus). False on timeout.
bool WaitUntilProgramInactive();

// Lets the window manager and the program settle: events are processed for
// `ms` milliseconds.
void Settle(int ms = 600);

// Clicks the close button (×) in the title bar the window manager drew for
// `window`, as a user does: the window is asked to close.
void ClickTitleBarClose(QWidget* window);

// Presses keys through the X server (xdotool's names: "alt+F4"), so that
// the window manager sees them as a user's.
void PressKeys(const QString& keys);

// Opens the menu `menu` of a main window's menu bar with the mouse and
// clicks its entry `action` (object names), as a user does: the focus goes
// to the menu on the way. False when either is not found.
bool ClickMenuEntry(QWidget* window, const char* menu, const char* action);

// Waits until the window manager has given `window` the focus.
inline bool WaitUntilActive(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

// Runs `answer` on the next modal dialog of type D once the window manager
// has made it active (after 5 s even when it has not; gives up after 15 s).
template <typename D> void WhenDialogActive(std::function<void(D*)> answer)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(20);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        *waited += 20;
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && (dialog->isActiveWindow() || *waited > 5000)) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        } else if (*waited > 15000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Another program on the same desktop (an xmessage window), for switching
// away from pTarmak and back.
class TOtherProgram
{
public:
    TOtherProgram();
    ~TOtherProgram();
    // Gives the other program the focus; false when it did not get it.
    bool Activate();

private:
    QProcess m_process;
    QString m_window;
};

// Real message boxes, as the program shows them, each answered by a click
// once the window manager has made it the active window; records what was
// shown. Questions are answered from the script as TScriptedPrompt answers
// them: one it has no answer for fails the test (and is answered No or
// Cancel), and so do answers left when the prompt goes.
class TDesktopPrompt : public TQtPrompt, public TPromptScript
{
public:
    TDesktopPrompt();
    ~TDesktopPrompt() override;

    void Message(const QString& text, const QString& caption) override;
    void Error(const QString& text) override;
    bool YesNo(const QString& text, const QString& caption) override;
    bool OkCancel(const QString& text, const QString& caption) override;
    TAnswer YesNoCancel(const QString& text, const QString& caption) override;

private:
    void CloseWhenActive(bool yes);
    // Clicks the first of `buttons` (QMessageBox::StandardButton) the box has.
    void CloseWithFirstOf(QList<int> buttons);
    TPromptBackend* m_previous;
};
