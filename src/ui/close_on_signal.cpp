#include "ui/close_on_signal.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <csignal>

namespace zevo {

namespace {

// Only an atomic flag may be touched inside a signal handler; the UI thread looks at it a few times
// a second and does the real work there.
volatile std::sig_atomic_t TerminationRequested = 0;

extern "C" void OnTerminationSignal(int) { TerminationRequested = 1; }

} // namespace

void CloseOnTerminationSignals(QWidget* window) {
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
