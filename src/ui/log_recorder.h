#pragma once
#include <QFile>
#include <QString>

#include <cstdint>
#include <memory>

#include "log/log_writer.h"

namespace zevo {

// A ride being recorded into a file: the rows are formatted as their frames come and written about
// once a second. After a failed write the file is cut back to its last whole row and the recording
// is over; what was written before stays.
class LogRecorder {
public:
    explicit LogRecorder(std::int64_t flushEveryMs = LogWriter::DefaultFlushEveryMs);
    ~LogRecorder();

    // Creates (or empties) the file and writes the header; false with the system's reason.
    bool Start(const QString& path, std::int64_t steadyMs, QString& reason);
    void Add(const StatusFrame& status, std::int64_t utcMs, std::int64_t steadyMs);
    int Mark();
    // Writes what is due. False when a write failed: the recording has then ended (FailureReason).
    bool Tick(std::int64_t steadyMs);
    // Writes the rest and closes the file; false when that write failed.
    bool Stop();

    bool Recording() const { return Writer != nullptr; }
    QString Path() const { return File.fileName(); }
    QString FailureReason() const { return Reason; }
    // The rows recorded; once the recording has ended, the rows the file keeps.
    std::int64_t Rows() const;
    // The rows handed to the file so far.
    std::int64_t RowsOnDisk() const;
    // Since Start, paused rows included: the time the user has been recording.
    std::int64_t ElapsedMs(std::int64_t steadyMs) const { return steadyMs - StartedMs; }

private:
    class FileSink;
    bool Ended(bool ok);

    std::int64_t FlushEveryMs;
    QFile File;
    std::unique_ptr<FileSink> Sink;
    std::unique_ptr<LogWriter> Writer;
    QString Reason;
    std::int64_t StartedMs = 0;
    std::int64_t RowsKept = 0;
};

} // namespace zevo
