#pragma once
#include <QString>

#include <cstdint>
#include <functional>

#include "log/log_reader.h"

namespace zevo {

enum class LogLoad { Loaded, NotOpened, Cancelled };

struct LoadedLog {
    LogLoad Outcome = LogLoad::NotOpened;
    LogData Data;
    QString Reason; // the system's, when the file could not be read
};

// Reads a ride log piece by piece. `progress` hears the bytes read and the file's size after each
// piece and stops the reading by answering false.
LoadedLog LoadLogFile(const QString& path, const std::function<bool(std::int64_t, std::int64_t)>& progress = {});

// The piece read at a time: big enough to read fast, small enough to answer a cancel at once.
inline constexpr std::int64_t LogPieceBytes = 1 << 20;

} // namespace zevo
