// A telemetry log is outside bytes (cut by a crash, edited in a spreadsheet, anything opened by
// mistake). Any of them reads without a crash; read in two pieces it reads as in one; and what reads
// writes back to a log that reads as the same rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "log/log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zevo::LogData whole = zevo::ReadLog(text);

    zevo::LogReader pieces;
    const std::size_t cut = size == 0 ? 0 : data[0] % size;
    pieces.Feed(text.substr(0, cut));
    pieces.Feed(text.substr(cut));
    const zevo::LogData split = pieces.Finish();
    if (split.Rows != whole.Rows || split.BadRows != whole.BadRows || split.FirstBadLine != whole.FirstBadLine)
        std::abort();

    for (std::size_t i = 1; i < whole.Rows.size(); ++i)
        if (whole.Rows[i].ElapsedMs < whole.Rows[i - 1].ElapsedMs)
            std::abort();

    std::string again = zevo::LogHeader() + '\n';
    for (const zevo::LogRow& row : whole.Rows)
        zevo::AppendLogRow(again, row);
    const zevo::LogData reread = zevo::ReadLog(again);
    if (reread.BadRows != 0 || reread.Rows.size() != whole.Rows.size())
        std::abort();
    for (std::size_t i = 0; i < whole.Rows.size(); ++i) {
        zevo::LogRow expected = whole.Rows[i];
        if (!expected.TpValid)
            expected.TpPercent = 0;
        if (!(reread.Rows[i] == expected))
            std::abort();
    }
    return 0;
}
