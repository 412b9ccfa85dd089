#include "ui/cell_times_overlay.h"

#include <QApplication>
#include <QPainter>
#include <cmath>

#include "log/cell_times.h"
#include "params/map_look.h"
#include "ui/up_down.h"
#include "ui/map_painter.h"

namespace zevo {

CellTimesOverlay::CellTimesOverlay(QWidget* parent, const Cells& cells) : QWidget(parent), Fields(cells) {
    setObjectName(QStringLiteral("CellTimesOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void CellTimesOverlay::Show(const CellTimes& times, std::optional<std::pair<int, int>> live) {
    // The field with the focus shows through: a move of the focus paints again too.
    const QWidget* focused = QApplication::focusWidget();
    const bool changed = times.Ms != Times.Ms || times.Rows != Times.Rows || live != Live || focused != Focused;
    Focused = focused;
    Times = times;
    Live = live;
    // Over the whole map, which the fields span.
    QRect area;
    for (const auto& row : Fields)
        for (const TEdit* field : row)
            area |= field->geometry();
    if (geometry() != area)
        setGeometry(area);
    if (isHidden())
        show();
    raise();
    if (changed)
        update();
}

QColor CellTimesOverlay::CellColour(std::int64_t ms, std::int64_t longestMs) {
    // A ride spends most of its time in few cells: on a square-root scale the cells visited for a
    // few seconds still stand apart from the one visited longest, and a single frame from none.
    const double position =
        longestMs > 0 ? std::sqrt(static_cast<double>(ms) / static_cast<double>(longestMs)) : 0.0;
    return ToQColor(ValueScale(std::clamp(position, 0.0, 1.0)));
}

void CellTimesOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QWidget* focused = QApplication::focusWidget();
    const QColor face = palette().color(QPalette::Window);
    const QColor faceText = palette().color(QPalette::WindowText);
    // The fields' own face, a little smaller: seconds such as "123.4" fit a 40-pixel field.
    QFont small = Fields[0][0]->font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.9);
    else if (small.pixelSize() > 0)
        small.setPixelSize(std::max(6, small.pixelSize() * 9 / 10));
    painter.setFont(small);
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c) {
            const TEdit* field = Fields[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            // A row the page does not show, and the field being edited, stay as they are.
            if (!field->isVisible() || field == focused)
                continue;
            const QRect cell = field->geometry().translated(-pos());
            const bool visited = Times.Visited(r, c);
            const QColor fill = visited ? CellColour(Times.MsIn(r, c), Times.LongestMs) : face;
            painter.fillRect(cell, fill);
            painter.setPen(visited ? ToQColor(ReadableText(ToRgb(fill))) : faceText);
            painter.drawText(cell, Qt::AlignCenter,
                             visited ? QString::fromStdString(SecondsText(Times.MsIn(r, c))) : QStringLiteral("·"));
            if (Live && Live->first == r && Live->second == c) {
                painter.setPen(QPen(ToQColor(LiveLime), 3));
                painter.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
}

} // namespace zevo
