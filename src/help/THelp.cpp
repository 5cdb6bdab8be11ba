#include "help/THelp.h"

#include "foundation/gui/TApplication.h"
#include "help/THelpPages.h"
#include "help/TfrmHelp.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QVariant>

namespace {

const char* const kTopic = "kanmuriHelpTopic";

QPointer<TfrmHelp> window;

} // namespace

TfrmHelp* THelp::Window()
{
    return window.data();
}

void THelp::Show(const QString& topic)
{
    if (!window) {
        window = new TfrmHelp;
        // A window of its own, not owned by any other: it goes at the end.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { delete window.data(); });
    }
    // Over a modal window the help would be blocked like every other window:
    // it comes up modal itself, above it. Otherwise it stays beside the
    // program's windows, to be read while working.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal == window ? window->windowModality()
                                      : modal         ? Qt::ApplicationModal
                                                      : Qt::NonModal;
    if (window->windowModality() != wanted) {
        window->hide();
        window->setWindowModality(wanted);
    }
    window->ShowTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

QString THelp::TopicOf(const QWidget* from)
{
    for (const QWidget* w = from; w; w = w->parentWidget()) {
        const QString topic = w->window()->property(kTopic).toString();
        if (!topic.isEmpty())
            return topic;
        w = w->window();
    }
    return THelpPages::Home();
}

void THelp::SetTopic(QWidget* target, const QString& topic)
{
    target->setProperty(kTopic, topic);
}

QAction* THelp::AddKey(QWidget* target, const QString& topic)
{
    if (!topic.isEmpty())
        SetTopic(target, topic);
    auto* key = new QAction(target);
    key->setObjectName(QStringLiteral("HelpKey"));
    key->setShortcut(Qt::Key_F1);
    key->setShortcutContext(Qt::WindowShortcut);
    target->addAction(key);
    QObject::connect(key, &QAction::triggered, target,
                     [target] { TApplication::Guard([target] { Show(TopicOf(target)); }); });
    return key;
}
