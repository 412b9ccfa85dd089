// The tool windows as docks around the design's area. The design's area keeps its size and place at
// the left; the docks take the room to its right, one above the other or, on a laptop's screen,
// tabbed. Where they were is kept in [VIEW] Docks.
#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "app/ini_file.h"
#include "ui/form_hlav.h"
#include "ui/tool_dock.h"

namespace zevo {

namespace {

// A screen this wide shows the docks one above the other; a narrower one tabs them, so each keeps
// a usable height beside the map.
constexpr int WideScreen = 1920;

} // namespace

void TFormHlav::Dock(QWidget* window, const QString& name, bool closeClosesWindow) {
    auto* dock = new ToolDock(*this, window, name, closeClosesWindow);
    // Beside the others where there are some, else to the right of the design's area.
    QList<QDockWidget*> others;
    for (QDockWidget* other : findChildren<QDockWidget*>())
        if (other != dock && dockWidgetArea(other) == Qt::RightDockWidgetArea && !other->isFloating())
            others << other;
    const QScreen* on = screen();
    // Where it was last time, if the settings know; else beside the others, tabbed on a laptop's
    // screen.
    if (restoreDockWidget(dock)) {
        dock->KeepOnScreen();
    } else {
        addDockWidget(Qt::RightDockWidgetArea, dock);
        const bool wide = on && on->availableGeometry().width() >= WideScreen;
        if (!others.isEmpty() && !wide)
            tabifyDockWidget(others.last(), dock);
    }
    if (dock->isFloating() || dockWidgetArea(dock) != Qt::RightDockWidgetArea)
        return;
    // The first dock beside the map: the window grows by it, moving left where the screen's edge is
    // near, rather than squeezing the design's area (which is no wider than the design, so every
    // pixel the window gains goes to the docks).
    // (What the window inside needs and the dock's frame: the dock's own hint leaves out a window
    // not shown yet.)
    const int least = std::max(dock->minimumSizeHint().width(),
                               window->minimumSizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, dock));
    if (others.isEmpty() && !isMaximized() && !isFullScreen() && on) {
        const QRect room = on->availableGeometry();
        const QMargins frame = FrameOf(*this);
        const int wanted = std::min(room.width() - frame.left() - frame.right(),
                                    std::max(width(), ClientScroll->maximumWidth() + least + 8));
        if (wanted > width()) {
            const int left = std::clamp(frameGeometry().left(), room.left(), room.right() + 1 - wanted - frame.left() - frame.right());
            move(left, frameGeometry().top());
            resize(wanted, height());
        }
    }
    // The docks take what the design's area leaves, not what they would like (a chart would take
    // half a laptop's screen and cut the map).
    const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    resizeDocks({dock}, {std::max(least, width() - ClientScroll->maximumWidth() - separator)}, Qt::Horizontal);
}

void TFormHlav::RestoreDockPlaces() {
    // Garbage or a state of another build is refused by the toolkit: the docks keep their defaults.
    if (!DockState.isEmpty() && !restoreState(DockState))
        DockState.clear();
    for (auto* dock : findChildren<ToolDock*>())
        dock->KeepOnScreen();
}

} // namespace zevo
