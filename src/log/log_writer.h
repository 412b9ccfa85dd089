#pragma once
// Streams telemetry rows to a log: every row is formatted into a buffer as its frame comes, and the
// buffer goes to the file about once a second, so a tick pays for the formatting only and a crash
// loses at most the last second. Only whole rows are ever handed to the file.

#include <cstdint>
#include <string>
#include <string_view>

#include "log/log_format.h"

namespace zevo {

// Where the rows go: a file in the window, anything in a test.
class LogSink {
public:
    virtual ~LogSink() = default;
    // Appends the bytes and pushes them to the system; false with the reason when not all of them
    // could be written (the disk is full, the medium is gone).
    virtual bool Append(std::string_view bytes, std::string& reason) = 0;
};

class LogWriter {
public:
    // The header line is handed to the sink at once, so a file that cannot be written is known before
    // the first frame.
    // `flushEveryMs`: how often what is buffered goes to the sink (a test makes it short).
    explicit LogWriter(LogSink& sink, std::int64_t flushEveryMs = DefaultFlushEveryMs);

    // A decoded status frame: `utcMs` is the wall clock (the time column), `steadyMs` a clock that
    // never jumps (the elapsed column, from the first row).
    void Add(const StatusFrame& status, std::int64_t utcMs, std::int64_t steadyMs);
    // The next marker's number, written into the next row; marking again before that row comes
    // gives the same number.
    int Mark();
    // Hands what is buffered to the sink when a second has passed since the last time (or the buffer
    // has grown large). False once a write has failed: nothing more is written after that.
    bool FlushIfDue(std::int64_t steadyMs);
    bool Flush();

    bool Failed() const { return !Reason.empty(); }
    const std::string& FailureReason() const { return Reason; }
    std::int64_t Rows() const { return RowCount; }
    // The rows the sink has taken: after a failure, the ones the file keeps.
    std::int64_t RowsWritten() const { return WrittenCount; }
    std::int64_t ElapsedMs() const { return LastElapsedMs; }
    // The markers given so far.
    int Markers() const { return NextMarker - 1; }

    // The buffer is written out when it passes this many bytes, whatever the time.
    static constexpr std::size_t FlushBytes = 64 * 1024;
    static constexpr std::int64_t DefaultFlushEveryMs = 1000;

private:
    LogSink& Sink;
    std::int64_t FlushEveryMs;
    std::string Pending;
    std::string Reason;
    std::int64_t FirstSteadyMs = 0;
    std::int64_t LastFlushMs = 0;
    std::int64_t LastElapsedMs = 0;
    std::int64_t RowCount = 0;
    std::int64_t WrittenCount = 0;
    int NextMarker = 1;
    int MarkerForNextRow = 0;
};

} // namespace zevo
