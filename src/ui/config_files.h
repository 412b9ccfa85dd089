#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace zevo {

// The folder of the settings, image and test-mode files: $ZEVO_CONFIG_DIR when set, otherwise the
// platform's per-user configuration folder of the application (~/.config/ZEVO on Linux).
QString ConfigDirectory();

// The whole file, or nothing when it is missing or cannot be read. Files above maxBytes are read up
// to that size only: the settings, image and test-mode files are a few kilobytes, and a runaway file
// must not take the tool's memory.
inline constexpr qint64 ConfigFileReadLimit = 1024 * 1024;
std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes = ConfigFileReadLimit);

// Writes through a temporary file and a rename, so the old file stays whole if anything fails on the
// way (full disk, crash, no permission). The folder is created when missing. In text mode line ends
// become the platform's. Returns false with the system's reason in *error on failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, bool textMode, QString* error = nullptr);

} // namespace zevo
