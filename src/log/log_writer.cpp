#include "log/log_writer.h"

#include <algorithm>

namespace zevo {

LogWriter::LogWriter(LogSink& sink, std::int64_t flushEveryMs) : Sink(sink), FlushEveryMs(flushEveryMs) {
    Pending = LogHeader();
    Pending += '\n';
    Flush();
}

void LogWriter::Add(const StatusFrame& status, std::int64_t utcMs, std::int64_t steadyMs) {
    if (Failed())
        return;
    if (RowCount == 0) {
        FirstSteadyMs = steadyMs;
        LastFlushMs = steadyMs;
    }
    LastElapsedMs = std::max<std::int64_t>(0, steadyMs - FirstSteadyMs);
    AppendLogRow(Pending, LogRowFrom(status, utcMs, LastElapsedMs, MarkerForNextRow));
    MarkerForNextRow = 0;
    ++RowCount;
}

int LogWriter::Mark() {
    // Marks before the next frame are one moment: they share the number, none is lost.
    if (MarkerForNextRow == 0)
        MarkerForNextRow = NextMarker++;
    return MarkerForNextRow;
}

bool LogWriter::FlushIfDue(std::int64_t steadyMs) {
    if (Failed())
        return false;
    if (Pending.size() < FlushBytes && steadyMs - LastFlushMs < FlushEveryMs)
        return true;
    LastFlushMs = steadyMs;
    return Flush();
}

bool LogWriter::Flush() {
    if (Failed())
        return false;
    if (Pending.empty())
        return true;
    std::string reason;
    if (!Sink.Append(Pending, reason)) {
        Reason = reason.empty() ? std::string("write failed") : reason;
        return false;
    }
    Pending.clear();
    WrittenCount = RowCount;
    return true;
}

} // namespace zevo
