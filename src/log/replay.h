#pragma once
// Where a replay of a log stands: a time on the log's own clock, the row shown at that time, and
// whether it runs, at which speed.

#include <cstddef>
#include <cstdint>
#include <span>

#include "log/log_format.h"

namespace zevo {

class ReplayPosition {
public:
    // The rows stay the caller's; there is at least one.
    explicit ReplayPosition(std::span<const LogRow> rows);

    // The row on show: the last one whose time has come.
    std::size_t Index() const { return Current; }
    const LogRow& Row() const { return Rows[Current]; }
    std::int64_t PositionMs() const { return static_cast<std::int64_t>(Position); }
    std::int64_t DurationMs() const { return Rows.back().ElapsedMs; }

    bool Playing() const { return Running; }
    double Speed() const { return Rate; }
    // From the start again when the end has been reached.
    void Play(double speed);
    void Pause() { Running = false; }

    // Moves the position on by `realMs` of the wall clock at the speed; stops at the end. True when
    // another row is on show.
    bool Advance(std::int64_t realMs);
    // These stop the play, as a person stepping through a ride expects.
    bool Seek(std::int64_t positionMs);
    bool Step(int rows);
    // To the next (or previous) row that carries a marker; false when there is none.
    bool NextMarker();
    bool PreviousMarker();

private:
    bool ShowRow(std::size_t index);
    std::size_t RowAt(std::int64_t positionMs) const;

    std::span<const LogRow> Rows;
    std::size_t Current = 0;
    double Position = 0;
    double Rate = 1;
    bool Running = false;
};

} // namespace zevo
