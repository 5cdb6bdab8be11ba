#pragma once

#include <QApplication>
#include <exception>
#include <functional>
#include <type_traits>

// The application. Any exception that escapes an event handler ends up in
// ShowException: the default error box shows its text and the window that
// raised it stays usable.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    static void ShowException(const std::exception& e);
    static void ShowUnknownException();

    // While one lives (at start, when every window is created), errors are
    // gathered instead of shown; when it ends each text is shown once, so a
    // cause shared by several windows gives one box, not one per window.
    class TErrorBatch
    {
    public:
        TErrorBatch();
        ~TErrorBatch();
        TErrorBatch(const TErrorBatch&) = delete;
        TErrorBatch& operator=(const TErrorBatch&) = delete;

    private:
        bool m_outer; // an inner batch joins the outer one
    };

    // Runs `action`; an exception goes to the default error box.
    template <typename Action> static void Guard(Action&& action)
    {
        try {
            action();
        } catch (const std::exception& e) {
            ShowException(e);
        } catch (...) {
            ShowUnknownException();
        }
    }
};

// Connects a signal to an event handler of a window so that a failure inside
// the handler reaches the default error box instead of unwinding through Qt.
// The handler may take the signal's arguments or none.
// With Qt::QueuedConnection the handler runs once the sender has finished
// its own work (a combo box's list has closed before the choice is acted on).
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection Connect(Sender* sender, Signal signal, Receiver* receiver, Handler handler,
                                Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(
        sender, signal, receiver,
        [receiver, handler](auto&&... args) {
            TApplication::Guard([&] {
                if constexpr (std::is_invocable_v<Handler, Receiver*, decltype(args)...>)
                    std::invoke(handler, receiver, std::forward<decltype(args)>(args)...);
                else
                    std::invoke(handler, receiver);
            });
        },
        type);
}
