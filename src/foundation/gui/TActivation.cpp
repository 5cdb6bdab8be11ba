#include "foundation/gui/TActivation.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kShown = "kanmuriShown";
const char* const kReload = "kanmuriReload";
const char* const kPassive = "kanmuriPassive";

using TWindows = QList<QPointer<QWidget>>;

bool IsTracked(const QWidget* window)
{
    if (!window->isWindow())
        return false;
    switch (window->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}

// Watches every window's showing and activation, before the window itself
// sees the event, and leaves the window its verdict.
class TTracker : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::WindowActivate) && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (IsTracked(window)) {
                if (type == QEvent::WindowActivate)
                    Activated(window);
                else if (!event->spontaneous())
                    window->setProperty(kShown, true);
            }
        }
        return false;
    }

    QPointer<QWidget> last;

private:
    void Activated(QWidget* window)
    {
        if (window->property(kPassive).toBool()) {
            window->setProperty(kShown, QVariant());
            window->setProperty(kReload, false);
            return;
        }
        const bool shown = window->property(kShown).toBool();
        window->setProperty(kShown, QVariant());
        // Coming back: from another application (the program's last window is
        // this one) or from a modal window that this one opened.
        const bool returning = window == m_lastRaw || m_lastOpeners.contains(window);
        window->setProperty(kReload, shown || !returning);

        if (window->isModal() && (shown || !m_openers.contains(window))) {
            TWindows from;
            if (last) {
                from << last;
                from += m_openers.value(last);
            }
            if (!m_openers.contains(window))
                connect(window, &QObject::destroyed, this,
                        [this, window] { m_openers.remove(window); });
            m_openers.insert(window, from);
        }
        m_lastOpeners = m_openers.value(window);
        last = window;
        m_lastRaw = window;
    }

    // Identity only: the last window may have been destroyed since.
    const QWidget* m_lastRaw = nullptr;
    TWindows m_lastOpeners;
    // For each modal window: the window it was opened from, and that one's.
    QHash<const QWidget*, TWindows> m_openers;
};

TTracker* tracker = nullptr;

} // namespace

void TActivation::Install(QApplication* application)
{
    if (tracker)
        return;
    tracker = new TTracker(application);
    application->installEventFilter(tracker);
    QObject::connect(tracker, &QObject::destroyed, [] { tracker = nullptr; });
}

bool TActivation::ReloadDue(QWidget* window, QEvent* event)
{
    if (event->type() != QEvent::WindowActivate)
        return false;
    if (!tracker)
        return true;
    const bool due = window->property(kReload).toBool();
    window->setProperty(kReload, QVariant());
    return due;
}

void TActivation::SetPassive(QWidget* window)
{
    window->setProperty(kPassive, true);
}

QWidget* TActivation::LastActiveWindow()
{
    return tracker ? tracker->last.data() : nullptr;
}
