#pragma once
#include <QWidget>

#include <array>
#include <optional>
#include <utility>

#include "log/cell_times.h"

namespace zevo {

class TEdit;

// The time a logged ride spent in each map cell, drawn over the map's fields: a colour from the
// value scale and the seconds, a dot where the engine never was. Clicks go through to the fields
// below, and the field that has the focus shows its value through the overlay, so the map can be
// edited while the times are on.
class CellTimesOverlay : public QWidget {
public:
    using Cells = std::array<std::array<TEdit*, MapColumns>, MapRows>;
    CellTimesOverlay(QWidget* parent, const Cells& cells);

    // The times to show; `live` is the cell the engine (or the replay) is in, framed.
    void Show(const CellTimes& times, std::optional<std::pair<int, int>> live);

    // The colour a cell of `ms` gets when the longest cell has `longestMs` (nothing when never visited).
    static QColor CellColour(std::int64_t ms, std::int64_t longestMs);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Cells Fields;
    CellTimes Times;
    std::optional<std::pair<int, int>> Live;
    const QWidget* Focused = nullptr;
};

} // namespace zevo
