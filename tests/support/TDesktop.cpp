#include "support/TDesktop.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

// Runs xdotool without blocking the event loop: the window manager may need
// this program's answer before xdotool's wait ends.
QString Xdotool(const QStringList& arguments, int timeoutMs = 5000)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForStarted())
        return QString();
    QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, timeoutMs);
    if (xdotool.state() != QProcess::NotRunning) {
        xdotool.kill();
        xdotool.waitForFinished();
    }
    return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

} // namespace

bool DesktopActivate(QWidget* window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"),
             QString::number(window->winId())});
    return QTest::qWaitFor([&] { return window->isActiveWindow(); }, 5000);
}

bool WaitUntilProgramInactive()
{
    return QTest::qWaitFor([] { return QApplication::activeWindow() == nullptr; }, 5000);
}

void ClickTitleBarClose(QWidget* window)
{
    // The close button sits at the right end of the title bar (openbox's
    // layout "NLIMC"), a few pixels in from the frame's edge.
    const QRect frame = window->frameGeometry();
    const int title = window->geometry().top() - frame.top();
    const QPoint at(frame.right() - 11, frame.top() + title / 2);
    // The pointer comes to rest over the button first, as a hand does.
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x() - 30),
             QString::number(at.y())});
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
             QString::number(at.y())});
    QTest::qWait(200);
    Xdotool({QStringLiteral("click"), QStringLiteral("1")});
}

void PressKeys(const QString& keys)
{
    Xdotool({QStringLiteral("key"), keys});
}

bool ClickMenuEntry(QWidget* window, const char* menu, const char* action)
{
    auto* bar = window->findChild<QMenuBar*>();
    auto* popup = window->findChild<QMenu*>(QString::fromLatin1(menu));
    auto* entry = window->findChild<QAction*>(QString::fromLatin1(action));
    if (!bar || !popup || !entry)
        return false;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
    if (!QTest::qWaitFor([popup] { return popup->isVisible(); }, 5000))
        return false;
    QTest::qWait(100);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
    return true;
}

void Settle(int ms)
{
    QTest::qWait(ms);
}

TOtherProgram::TOtherProgram()
{
    m_process.start(QStringLiteral("xmessage"),
                    {QStringLiteral("-geometry"), QStringLiteral("+700+700"),
                     QStringLiteral("another program")});
    m_process.waitForStarted();
    const QStringList ids = Xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                     QStringLiteral("--onlyvisible"), QStringLiteral("--classname"),
                                     QStringLiteral("xmessage")})
                                .split(u'\n', Qt::SkipEmptyParts);
    if (!ids.isEmpty())
        m_window = ids.last();
}

TOtherProgram::~TOtherProgram()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool TOtherProgram::Activate()
{
    if (m_window.isEmpty())
        return false;
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), m_window});
    return WaitUntilProgramInactive();
}

TDesktopPrompt::TDesktopPrompt() : m_previous(TPrompt::Backend())
{
    TPrompt::SetBackend(this);
}

TDesktopPrompt::~TDesktopPrompt()
{
    TPrompt::SetBackend(m_previous);
    CheckAllUsed();
}

void TDesktopPrompt::CloseWhenActive(bool yes)
{
    CloseWithFirstOf(yes ? QList<int>{QMessageBox::Ok, QMessageBox::Yes}
                         : QList<int>{QMessageBox::Cancel, QMessageBox::No});
}

void TDesktopPrompt::CloseWithFirstOf(QList<int> order)
{
    // A user can only click a box the window manager has shown and focused;
    // closing it then hands the focus back as on any desktop.
    auto* timer = new QTimer(qApp);
    const QDeadlineTimer deadline(5000);
    const QDeadlineTimer patience(1000);
    auto clicked = std::make_shared<bool>(false);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, deadline, patience, clicked, order] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        // The window manager holds back the focus from a window that appears
        // without a real input event before it; a user would click on it.
        if (!box->isActiveWindow() && patience.hasExpired() && !*clicked) {
            *clicked = true;
            QProcess::startDetached(
                QStringLiteral("xdotool"),
                {QStringLiteral("windowactivate"), QString::number(box->window()->winId())});
        }
        if (!box->isActiveWindow() && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        for (int which : order) {
            if (QAbstractButton* button = box->button(QMessageBox::StandardButton(which))) {
                button->click();
                return;
            }
        }
        box->reject();
    });
    timer->start();
}

void TDesktopPrompt::Message(const QString& text, const QString& caption)
{
    Record(QStringLiteral("message"), caption, text);
    CloseWhenActive(true);
    TQtPrompt::Message(text, caption);
}

void TDesktopPrompt::Error(const QString& text)
{
    Record(QStringLiteral("error"), QString(), text);
    CloseWhenActive(true);
    TQtPrompt::Error(text);
}

bool TDesktopPrompt::YesNo(const QString& text, const QString& caption)
{
    Record(QStringLiteral("yesno"), caption, text);
    CloseWhenActive(TakeAnswer());
    return TQtPrompt::YesNo(text, caption);
}

TAnswer TDesktopPrompt::YesNoCancel(const QString& text, const QString& caption)
{
    Record(QStringLiteral("yesnocancel"), caption, text);
    const TAnswer answer = TakeChoice();
    CloseWithFirstOf({answer == TAnswer::Yes  ? QMessageBox::Yes
                      : answer == TAnswer::No ? QMessageBox::No
                                              : QMessageBox::Cancel});
    return TQtPrompt::YesNoCancel(text, caption);
}

bool TDesktopPrompt::OkCancel(const QString& text, const QString& caption)
{
    Record(QStringLiteral("okcancel"), caption, text);
    CloseWhenActive(TakeAnswer());
    return TQtPrompt::OkCancel(text, caption);
}
