#pragma once
// One row of a telemetry log: what one status frame said, when it came, and the marker the user set
// on it. The same rows are written by the window's recording and by `zevo-cli status --csv`, and read
// back for a replay.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/engine_position.h"
#include "link/status_frame.h"
#include "params/device_image.h"

namespace zevo {

struct LogRow {
    std::int64_t TimeMs = 0;    // milliseconds since 1970-01-01 00:00 UTC (the `time` column)
    std::int64_t ElapsedMs = 0; // from the first row of the log
    std::uint16_t Rpm = 0;
    bool TpValid = true;        // false: the unit reported a throttle sensor error (empty tp_percent)
    std::uint8_t TpPercent = 0; // 0..100 when TpValid
    std::uint16_t TpMv = 0;
    std::int32_t SupplyMv = 0;
    std::array<std::uint16_t, ServoCount> ServoDesiredMv{};
    std::array<std::uint16_t, ServoCount> ServoMeasuredMv{};
    std::array<std::uint8_t, ServoCount> ServoState{};
    std::uint16_t ProgrammingCount = 0;
    std::uint16_t StoringCountdown = 0;
    std::uint8_t DataError = 0; // 0 or 1
    std::uint8_t Version = 0;
    std::array<std::uint16_t, 8> Test{};
    std::int32_t Marker = 0; // 0: none; else the marker's number, counted from 1

    friend bool operator==(const LogRow&, const LogRow&) = default;
};

// The columns in the order the writer puts them; a reader finds them by name.
inline constexpr std::array<std::string_view, 25> LogColumns = {
    "time",           "elapsed_ms",         "rpm",
    "tp_percent",     "tp_mv",              "supply_mv",
    "servo1_desired_mv", "servo1_measured_mv", "servo2_desired_mv",
    "servo2_measured_mv", "servo1_state",    "servo2_state",
    "programming_count", "storing_countdown", "data_error",
    "version",        "test1",              "test2",
    "test3",          "test4",              "test5",
    "test6",          "test7",              "test8",
    "marker"};

// The header line, without its line end.
std::string LogHeader();

// The row for a status frame. A throttle reading above 100 % is the unit's sensor error.
LogRow LogRowFrom(const StatusFrame& status, std::int64_t timeMs, std::int64_t elapsedMs, std::int32_t marker);

// Appends the row as one line, LF included: plain integers, the time as ISO 8601 UTC with
// milliseconds ("2026-12-09T07:35:58.123Z").
void AppendLogRow(std::string& out, const LogRow& row);

// "YYYY-MM-DDTHH:MM:SS.mmmZ" for milliseconds since 1970 (years 0..9999, else clamped there).
std::string IsoUtcMs(std::int64_t timeMs);
// Reads that form back; also without the milliseconds, and with "+00:00" for the Z. Nothing for
// anything else (another time zone, a date that does not exist).
bool ParseIsoUtcMs(std::string_view text, std::int64_t& timeMs);

// What the monitoring labels show for a recorded row, as they showed it when the frame came.
TelemetryCaptions ComposeTelemetryOf(const LogRow& row, const std::array<bool, ServoCount>& servoEnabled,
                                     std::uint8_t language);

// The throttle value the live highlight uses for the row: a sensor error reads as the unit sends
// it, above 100 %.
int HighlightTpPercent(const LogRow& row);
// Where the engine was at a row, as the engine position takes it.
EngineReading ReadingOf(const LogRow& row);

} // namespace zevo
