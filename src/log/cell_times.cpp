#include "log/cell_times.h"

#include <algorithm>

#include "link/engine_position.h"
#include "params/clipboard_table.h"

namespace zevo {

CellTimes CountCellTimes(std::span<const LogRow> rows, const DeviceImage& image, int servo) {
    CellTimes times;
    if (servo < 0 || servo >= ServoCount)
        return times;
    const std::span<const std::uint8_t, RpmPoints> axis(
        image.Bytes.data() + BlockOffset + block::RpmAxis + RpmPoints * servo, RpmPoints);
    const bool tpEnabled = image.TpEnable(servo) != 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LogRow& row = rows[i];
        const std::int64_t ms =
            i + 1 < rows.size() ? std::min(rows[i + 1].ElapsedMs - row.ElapsedMs, LongestRowMs) : 0;
        times.TotalMs += ms;
        const EngineCell at = EngineCellFor(ReadingOf(row), axis, tpEnabled);
        if (at.ThrottleError) {
            times.UnknownThrottleMs += ms;
            continue;
        }
        const auto cell = static_cast<std::size_t>(MapColumns * at.Row + at.Column);
        times.Ms[cell] += ms;
        ++times.Rows[cell];
    }
    times.LongestMs = *std::max_element(times.Ms.begin(), times.Ms.end());
    return times;
}

std::string SecondsText(std::int64_t ms) {
    const std::int64_t tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

std::string CellTimesTable(const CellTimes& times, const DeviceImage& image, int servo) {
    if (servo < 0 || servo >= ServoCount)
        return {};
    std::string out(AxesCaption);
    for (int c = 0; c < MapColumns; ++c)
        out += '\t' + std::to_string(100 * image.RpmAxis(servo, c));
    out += '\n';
    const int shownRows = image.TpEnable(servo) != 0 ? MapRows : 1;
    for (int r = 0; r < shownRows; ++r) {
        out += RowCaption(r);
        for (int c = 0; c < MapColumns; ++c) {
            out += '\t';
            if (times.Visited(r, c))
                out += SecondsText(times.MsIn(r, c));
        }
        out += '\n';
    }
    return out;
}

} // namespace zevo
