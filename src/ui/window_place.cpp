// Where the main window opens and how it stays reachable: centred, then the stored place, then
// fitted to the screen it is on once the window manager's frame around it is known.
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

#include "app/window_fit.h"
#include "ui/form_hlav.h"
#include "ui/glyphs.h"

namespace zevo {

namespace {

// Window sizes beyond this are not a window anyone had; applying them would only exhaust memory.
constexpr int LargestWindowSide = 16384;

// The frame is looked at this often after the window is shown, for this many times: a window
// manager frames a new window within a few hundred milliseconds.
constexpr int FrameWatchIntervalMs = 100;
constexpr int FrameWatchRounds = 30;

// The screen that shows most of `outer`, or the primary one when none shows any of it.
const QScreen* ScreenShowing(const QRect& outer) {
    const QScreen* best = QGuiApplication::primaryScreen();
    long long bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(outer);
        const long long area = static_cast<long long>(common.width()) * common.height();
        if (!common.isEmpty() && area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

} // namespace

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void TFormHlav::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

WindowRect TFormHlav::CurrentWindowRect() const {
    // A maximised or minimised window is remembered at its normal place and size.
    const QRect normal = (isMaximized() || isMinimized() || isFullScreen()) ? normalGeometry() : geometry();
    const QPoint frameTopLeft = (isMaximized() || isMinimized() || isFullScreen()) ? normal.topLeft() : pos();
    return WindowRect{frameTopLeft.x(), frameTopLeft.y(), normal.height(), normal.width()};
}

void TFormHlav::ApplyWindowRect(const WindowRect& rect) {
    if (rect.Width <= 0 || rect.Height <= 0 || rect.Width > LargestWindowSide ||
        rect.Height > LargestWindowSide)
        return;
    // A rectangle that no screen shows (its monitor is gone) would leave the window out of reach:
    // keep it centred instead. Anything at least partly visible is applied, then fitted.
    const QRect wanted(rect.Left, rect.Top, rect.Width, rect.Height);
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->geometry().intersects(wanted);
    if (!visible && !QGuiApplication::screens().isEmpty())
        return;
    move(rect.Left, rect.Top);
    resize(rect.Width, rect.Height);
}

void TFormHlav::FitToScreen() {
    if (isMaximized() || isMinimized() || isFullScreen())
        return;
    const QMargins frame = FrameOf(*this);
    FittedFrame = frame;
    const WindowRect wanted = CurrentWindowRect();
    const QRect outer(wanted.Left, wanted.Top, wanted.Width + frame.left() + frame.right(),
                      wanted.Height + frame.top() + frame.bottom());
    const QScreen* screen = ScreenShowing(outer);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const FrameMargins margins{frame.left(), frame.top(), frame.right(), frame.bottom()};
    const ScreenArea room{area.left(), area.top(), area.width(), area.height()};
    WindowRect fitted = FitWindowRect(wanted, margins, room);
    if (fitted.Height < wanted.Height) {
        // Made lower than it was, the client area scrolls up and down: the vertical scroll bar gets
        // its width from the screen where there is room, instead of hiding the design's right edge.
        fitted.Width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ClientScroll);
        fitted = FitWindowRect(fitted, margins, room);
    }
    if (fitted == wanted)
        return;
    resize(fitted.Width, fitted.Height);
    move(fitted.Left, fitted.Top);
}

void TFormHlav::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous() || FrameWatch)
        return;
    // Fitted before it was shown without a frame; the frame comes with the window manager.
    FitToScreen();
    FrameWatch = new QTimer(this);
    FrameWatch->setInterval(FrameWatchIntervalMs);
    connect(FrameWatch, &QTimer::timeout, this, &TFormHlav::WatchFrameMargins);
    FrameWatch->start();
    // Drawn once the event loop runs, off the way to the first frame: rendering the icon's four
    // sizes would delay the window by a tenth of its start; the window manager takes it when it comes.
    QTimer::singleShot(0, this, [this] { setWindowIcon(ApplicationIcon()); });
    // What the file named on screen holds, for the title's mark.
    QTimer::singleShot(0, this, &TFormHlav::ReadNamedFileSet);
    RestoreDockPlaces();
    for (const auto& capability : Capabilities)
        capability->Shown();
}

void TFormHlav::WatchFrameMargins() {
    if (FrameOf(*this) != FittedFrame)
        FitToScreen();
    for (const auto& capability : Capabilities)
        capability->Placed();
    if (++FrameChecks >= FrameWatchRounds)
        FrameWatch->stop();
}

} // namespace zevo
