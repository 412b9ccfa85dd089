#pragma once
// Reads a telemetry log back. It takes any bytes: the columns are found by their names in the header
// (in any order, unknown ones ignored), a file without a header is read in the writer's order, and a
// line that is not a usable row is skipped and counted. Bytes come in pieces, so a large file can be
// read with a progress bar and given up half-way.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_format.h"

namespace zevo {

struct LogData {
    std::vector<LogRow> Rows; // elapsed from 0, never going back
    std::int64_t BadRows = 0;       // lines that were not a usable row
    std::int64_t FirstBadLine = 0;  // its line number, counted from 1; 0: none
    bool HeaderFound = false;
    // Columns the rows cannot do without (rpm, and time or elapsed_ms) that the header lacks: every
    // row is then bad.
    std::vector<std::string> MissingColumns;
    bool RowLimitReached = false; // rows after LogReader::MaxRows were not kept
};

class LogReader {
public:
    LogReader();
    // The next piece of the file, split anywhere.
    void Feed(std::string_view bytes);
    // The end of the file: a last line without its line end still counts.
    LogData Finish();

    // A line longer than this is not a row (no row of ours comes near it).
    static constexpr std::size_t MaxLineBytes = 1024;
    // About four days of rows at three a second; a longer log is cut there rather than filling memory.
    static constexpr std::size_t MaxRows = 1'000'000;

private:
    void Line(std::string_view line);
    void Header(const std::vector<std::string_view>& fields);
    bool Row(const std::vector<std::string_view>& fields, LogRow& row);
    bool SupplyVolts(const std::vector<std::string_view>& fields, std::int32_t& millivolts) const;

    std::string Partial;
    bool PartialTooLong = false;
    std::int64_t LineNumber = 0;
    bool FirstLineSeen = false;
    std::size_t FieldCount = LogColumns.size();
    std::array<int, LogColumns.size()> FieldOf{}; // field index of each column, -1: not in the file
    int SupplyVoltsField = -1;                    // an earlier zevo-cli's supply_v column
    bool HaveFirst = false;
    std::int64_t FirstElapsed = 0;
    std::vector<std::string_view> Fields;
    LogData Data;
};

// The whole file at once.
LogData ReadLog(std::string_view bytes);

} // namespace zevo
