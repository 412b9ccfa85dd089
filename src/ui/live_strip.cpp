#include "ui/live_strip.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

namespace zevo {

LiveStrip::LiveStrip(QScrollArea& watched, std::vector<QLabel*> sources, QWidget* parent)
    : QFrame(parent), Watched(watched), Sources(std::move(sources)) {
    setObjectName(QStringLiteral("LiveStrip"));
    setFrameShape(QFrame::StyledPanel);
    // Two rows as in the monitoring area: RPM over throttle, each servo's desired over its measured.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 1, 6, 1);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(0);
    for (std::size_t i = 0; i < Sources.size(); ++i) {
        const QLabel* source = Sources[i];
        auto* copy = new QLabel(this);
        copy->setObjectName(QStringLiteral("LiveStrip") + source->objectName());
        QFont face = font();
        face.setBold(source->font().bold());
        copy->setFont(face);
        copy->setTextFormat(Qt::PlainText);
        // The line never makes the window wider than its smallest size: a caption too long is cut
        // at its end rather than pushing the window off a small screen.
        copy->setMinimumWidth(1);
        copy->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        grid->addWidget(copy, static_cast<int>(i % 2), static_cast<int>(i / 2));
        Copies.push_back(copy);
    }
    connect(Watched.verticalScrollBar(), &QScrollBar::valueChanged, this, &LiveStrip::Refresh);
    connect(Watched.horizontalScrollBar(), &QScrollBar::valueChanged, this, &LiveStrip::Refresh);
    Viewport = Watched.viewport();
    Viewport->installEventFilter(this);
    hide();
}

bool LiveStrip::eventFilter(QObject* object, QEvent* event) {
    // The type first: while the window is torn down the viewport still sends events, and the
    // scrolled area around it is no longer whole enough to be asked anything.
    if (event->type() == QEvent::Resize && object == Viewport)
        Refresh();
    return QFrame::eventFilter(object, event);
}

bool LiveStrip::SourcesInView() const {
    const QWidget* viewport = Viewport;
    const QRect room = viewport->rect();
    for (const QLabel* source : Sources) {
        if (source->isHidden())
            continue;
        // Judged by the part of it its area can show (a long caption runs past the design's right
        // edge, which nothing can scroll into view), at least a pixel large (a label without a
        // caption or a font has no size, and an empty rectangle is inside nothing).
        const QWidget* area = source->parentWidget();
        const QRect shown =
            QRect(source->pos(), source->size().expandedTo(QSize(1, 1))).intersected(area->rect());
        if (shown.isEmpty())
            continue;
        if (!room.contains(shown.translated(area->mapTo(viewport, QPoint(0, 0)))))
            return false;
    }
    return true;
}

void LiveStrip::Refresh() {
    // A window not on screen yet has no viewport size to judge by.
    const bool wanted = Viewport && Watched.isVisible() && !SourcesInView();
    if (wanted == isHidden())
        setVisible(wanted);
    if (!wanted)
        return;
    for (std::size_t i = 0; i < Sources.size(); ++i) {
        const QLabel* source = Sources[i];
        QLabel* copy = Copies[i];
        const QString text = source->isHidden() ? QString() : source->text().trimmed();
        if (copy->text() != text) {
            copy->setText(text);
            copy->setAccessibleName(text);
        }
        // The colours say what the monitoring area's do (a throttle out of range, a servo off its
        // place, a silent line greyed).
        const QColor background = source->palette().color(QPalette::Window);
        const QColor foreground = source->palette().color(QPalette::WindowText);
        if (copy->autoFillBackground() != source->autoFillBackground() ||
            copy->palette().color(QPalette::Window) != background ||
            copy->palette().color(QPalette::WindowText) != foreground) {
            QPalette palette = copy->palette();
            palette.setColor(QPalette::Window, background);
            palette.setColor(QPalette::WindowText, foreground);
            copy->setPalette(palette);
            copy->setAutoFillBackground(source->autoFillBackground());
        }
    }
}

} // namespace zevo
