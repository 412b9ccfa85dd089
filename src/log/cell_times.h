#pragma once
// How long a logged ride spent in each cell of a servo's map, by the rule the live highlight uses
// (nearest RPM axis point, nearest throttle row): the cells the engine lives in, and the ones it
// never visits.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "log/log_format.h"
#include "params/device_image.h"

namespace zevo {

struct CellTimes {
    std::array<std::int64_t, MapCells> Ms{};  // time in cell (row, column) at MapColumns * row + column
    std::array<std::int32_t, MapCells> Rows{}; // log rows in the cell: 0 means never visited
    std::int64_t TotalMs = 0;
    // Time with the throttle sensor in error on a map that follows the throttle: in no row.
    std::int64_t UnknownThrottleMs = 0;
    std::int64_t LongestMs = 0; // of one cell, for the colour scale

    std::int64_t MsIn(int row, int column) const { return Ms[static_cast<std::size_t>(MapColumns * row + column)]; }
    bool Visited(int row, int column) const { return Rows[static_cast<std::size_t>(MapColumns * row + column)] > 0; }
};

// A row lasts until the next one, but never longer than this: a gap (the unit silent, the
// recording paused by a lost connection) is no time spent in a cell.
inline constexpr std::int64_t LongestRowMs = 1000;

// The rows' time on the map of `servo` of the set, on its current axes. The last row counts as
// visited with no time.
CellTimes CountCellTimes(std::span<const LogRow> rows, const DeviceImage& image, int servo);

// "12.3": seconds with one decimal, as the overlay and the table show them.
std::string SecondsText(std::int64_t ms);

// A tab-separated table with axes, as the map's own copy with axes has it: a header line of RPM, then
// one line per shown throttle row (one without TP Enable) with its caption; seconds in the cells,
// empty where the engine never was.
std::string CellTimesTable(const CellTimes& times, const DeviceImage& image, int servo);

} // namespace zevo
