#include "ui/close_on_signal.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <csignal>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX // std::min and std::max, not the macros
#endif
#include <windows.h>
#endif

namespace zevo {

namespace {

// Only an atomic flag may be touched inside a signal handler; the UI thread looks at it a few times
// a second and does the real work there.
volatile std::sig_atomic_t TerminationRequested = 0;

extern "C" void OnTerminationSignal(int) { TerminationRequested = 1; }

#ifdef _WIN32
// Windows ends a session (logoff, shutdown, restart) with WM_ENDSESSION to every top-level window:
// once it has been answered the process may be ended at any moment, so the window is closed here,
// before the answer, the same way a signal closes it elsewhere: no questions, everything saved.
class SessionEndFilter final : public QAbstractNativeEventFilter {
public:
    explicit SessionEndFilter(QWidget* window) : Window(window) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override {
        if (type != "windows_generic_MSG" || !Window)
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_ENDSESSION || msg->wParam == FALSE)
            return false;
        Window->setProperty(CloseBySignalProperty, true);
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        QPointer<QWidget> closing = Window;
        Window.clear(); // one close, whichever window gets the message first
        closing->close();
        if (result != nullptr)
            *result = 0;
        return true;
    }

private:
    QPointer<QWidget> Window;
};
#endif

} // namespace

void CloseOnTerminationSignals(QWidget* window) {
#ifdef _WIN32
    // Lives as long as the application; the window it closes may go before it.
    QCoreApplication::instance()->installNativeEventFilter(new SessionEndFilter(window));
#endif
    std::signal(SIGTERM, OnTerminationSignal);
    std::signal(SIGINT, OnTerminationSignal);
#ifdef SIGHUP
    std::signal(SIGHUP, OnTerminationSignal);
#endif
    auto* poll = new QTimer(window);
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, window, [target = QPointer<QWidget>(window)] {
        if (TerminationRequested == 0 || !target)
            return;
        // Said to the window, so it never asks a question nobody is there to answer.
        target->setProperty(CloseBySignalProperty, true);
        // A box or dialog open (the window asking whether to save) is closed first; the close it
        // interrupted then goes on, and a later round closes the window if it has not.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            return;
        }
        TerminationRequested = 0;
        target->close();
    });
    poll->start();
}

} // namespace zevo
