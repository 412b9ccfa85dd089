#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace zevo {

// The folder of the settings, image and test-mode files: $ZEVO_CONFIG_DIR when set, otherwise the
// platform's per-user configuration folder of the application (~/.config/ZEVO on Linux).
QString ConfigDirectory();

// The settings, image and test-mode files are a few kilobytes; a runaway file must not take the
// tool's memory.
inline constexpr qint64 ConfigFileReadLimit = 1024 * 1024;

// The file's first maxBytes, or nothing when it is missing or cannot be read. For files the tool
// reads and never merges into (the image file is rewritten whole from the set, the test-mode file is
// never written).
std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes = ConfigFileReadLimit);

// A file read whole, or why not. For a file the tool merges its keys into (the settings file): what
// it could not read whole, it must not write back in part.
struct WholeFile {
    enum class State { Missing, Read, TooLarge, Unreadable };
    State Is = State::Missing;
    QByteArray Bytes; // when Read
    QString Reason;   // the system's words, when Unreadable
};
WholeFile ReadWholeFile(const QString& path, qint64 maxBytes = ConfigFileReadLimit);

} // namespace zevo
