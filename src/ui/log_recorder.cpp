#include "ui/log_recorder.h"

namespace zevo {

// Appends to the open file, unbuffered: each second's rows go to the system in one write, so a crash
// of the tool loses nothing written before. The disk is not forced to follow at once (that could
// stall the link's timer for as long as a slow USB stick takes); the system writes it back within
// seconds. A write that fails part-way is cut back, so the file ends with a whole row.
class LogRecorder::FileSink final : public LogSink {
public:
    explicit FileSink(QFile& file) : File(file), Good(file.size()) {}

    bool Append(std::string_view bytes, std::string& reason) override {
        // A short write (the disk filling up) is tried again for the rest: that attempt writes
        // nothing and leaves the system's reason, where the short write left none.
        const char* data = bytes.data();
        auto left = static_cast<qint64>(bytes.size());
        while (left > 0) {
            const qint64 written = File.write(data, left);
            if (written <= 0) {
                reason = File.errorString().toStdString();
                File.resize(Good);
                return false;
            }
            data += written;
            left -= written;
        }
        Good += static_cast<qint64>(bytes.size());
        return true;
    }

private:
    QFile& File;
    qint64 Good;
};

LogRecorder::LogRecorder(std::int64_t flushEveryMs) : FlushEveryMs(flushEveryMs) {}

LogRecorder::~LogRecorder() {
    Stop();
}

bool LogRecorder::Start(const QString& path, std::int64_t steadyMs, QString& reason) {
    Stop();
    Reason.clear();
    RowsKept = 0;
    File.setFileName(path);
    // Unbuffered: each second's rows go to the system in one write, and a write that fails part-way
    // leaves nothing in a buffer to come out later.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        reason = File.errorString();
        return false;
    }
    Sink = std::make_unique<FileSink>(File);
    Writer = std::make_unique<LogWriter>(*Sink, FlushEveryMs);
    StartedMs = steadyMs;
    if (Writer->Failed()) {
        reason = QString::fromStdString(Writer->FailureReason());
        Ended(false);
        return false;
    }
    return true;
}

void LogRecorder::Add(const StatusFrame& status, std::int64_t utcMs, std::int64_t steadyMs) {
    if (Writer)
        Writer->Add(status, utcMs, steadyMs);
}

int LogRecorder::Mark() {
    return Writer ? Writer->Mark() : 0;
}

bool LogRecorder::Tick(std::int64_t steadyMs) {
    if (!Writer)
        return true;
    return Writer->FlushIfDue(steadyMs) || Ended(false);
}

bool LogRecorder::Stop() {
    if (!Writer)
        return true;
    return Ended(Writer->Flush());
}

std::int64_t LogRecorder::Rows() const {
    return Writer ? Writer->Rows() : RowsKept;
}

std::int64_t LogRecorder::RowsOnDisk() const {
    return Writer ? Writer->RowsWritten() : RowsKept;
}

bool LogRecorder::Ended(bool ok) {
    if (!Writer)
        return ok;
    if (!ok)
        Reason = QString::fromStdString(Writer->FailureReason());
    RowsKept = Writer->RowsWritten();
    Writer.reset();
    Sink.reset();
    File.close();
    return ok;
}

} // namespace zevo
