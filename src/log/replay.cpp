#include "log/replay.h"

#include <algorithm>

namespace zevo {

ReplayPosition::ReplayPosition(std::span<const LogRow> rows) : Rows(rows) {}

void ReplayPosition::Play(double speed) {
    Rate = speed > 0 ? speed : 1;
    if (PositionMs() >= DurationMs())
        ShowRow(0);
    Running = true;
}

bool ReplayPosition::Advance(std::int64_t realMs) {
    if (!Running || realMs <= 0)
        return false;
    Position += static_cast<double>(realMs) * Rate;
    if (Position >= static_cast<double>(DurationMs())) {
        Position = static_cast<double>(DurationMs());
        Running = false;
    }
    const std::size_t index = RowAt(PositionMs());
    const bool moved = index != Current;
    Current = index;
    return moved;
}

bool ReplayPosition::Seek(std::int64_t positionMs) {
    Running = false;
    Position = static_cast<double>(std::clamp<std::int64_t>(positionMs, 0, DurationMs()));
    const std::size_t index = RowAt(PositionMs());
    const bool moved = index != Current;
    Current = index;
    return moved;
}

bool ReplayPosition::Step(int rows) {
    Running = false;
    const auto last = static_cast<std::ptrdiff_t>(Rows.size()) - 1;
    const auto target = std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(Current) + rows, 0, last);
    return ShowRow(static_cast<std::size_t>(target));
}

bool ReplayPosition::NextMarker() {
    for (std::size_t i = Current + 1; i < Rows.size(); ++i)
        if (Rows[i].Marker > 0) {
            Running = false;
            return ShowRow(i);
        }
    return false;
}

bool ReplayPosition::PreviousMarker() {
    for (std::size_t i = Current; i-- > 0;)
        if (Rows[i].Marker > 0) {
            Running = false;
            return ShowRow(i);
        }
    return false;
}

bool ReplayPosition::ShowRow(std::size_t index) {
    // Several rows may share one time: the position is the row's, and the row is the one asked for.
    const bool moved = index != Current;
    Current = index;
    Position = static_cast<double>(Rows[index].ElapsedMs);
    return moved;
}

std::size_t ReplayPosition::RowAt(std::int64_t positionMs) const {
    const auto after = std::upper_bound(Rows.begin(), Rows.end(), positionMs,
                                        [](std::int64_t ms, const LogRow& row) { return ms < row.ElapsedMs; });
    return after == Rows.begin() ? 0 : static_cast<std::size_t>(after - Rows.begin()) - 1;
}

} // namespace zevo
