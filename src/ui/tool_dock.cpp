#include "ui/tool_dock.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include "ui/window_capability.h"

namespace zevo {

ToolDock::ToolDock(QMainWindow& main, QWidget* content, const QString& name, bool closeClosesContent)
    : QDockWidget(content->windowTitle(), &main), Content(content), CloseClosesContent(closeClosesContent) {
    setObjectName(name);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    // Coming back torn off at start-up, it must not take the keyboard from the main window; a click
    // still brings it to the front.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Taken out of its own window into the dock; hidden until it is shown, as a new window is.
    const bool wasShown = !content->isHidden();
    setWidget(content);
    content->setVisible(wasShown);
    content->installEventFilter(this);
    connect(content, &QWidget::windowTitleChanged, this, &QDockWidget::setWindowTitle);
    // Torn off, it lands wholly on a screen.
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (floating)
            QTimer::singleShot(0, this, &ToolDock::KeepOnScreen);
    });
}

void ToolDock::KeepOnScreen() {
    if (!isFloating())
        return;
    const QRect outer = frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(outer.center());
    if (!screen)
        screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QMargins frame = FrameOf(*this);
    QSize size = geometry().size().boundedTo(room.size().shrunkBy(frame));
    QPoint client = geometry().topLeft();
    client.setX(std::clamp(client.x(), room.left() + frame.left(), room.right() - frame.right() - size.width() + 1));
    client.setY(std::clamp(client.y(), room.top() + frame.top(), room.bottom() - frame.bottom() - size.height() + 1));
    if (QRect(client, size) != geometry())
        setGeometry(QRect(client, size));
}

bool ToolDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Content) {
        // The window inside shown or hidden on purpose (not as a part of the dock): the dock follows.
        if (event->type() == QEvent::ShowToParent) {
            show();
            raise();
        } else if (event->type() == QEvent::HideToParent) {
            hide();
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void ToolDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    // Shown from the main window's own list of docks (a right click on a dock's title): with what
    // it holds, never empty.
    if (Content->isHidden())
        Content->show();
}

void ToolDock::closeEvent(QCloseEvent* event) {
    if (CloseClosesContent) {
        if (!Content->close()) {
            event->ignore();
            return;
        }
    } else {
        Content->hide();
    }
    QDockWidget::closeEvent(event);
}

} // namespace zevo
