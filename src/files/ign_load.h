#pragma once
#include <QString>

#include <cstdint>

#include "files/ign_format.h"
#include "params/device_image.h"

namespace zevo {

// A parameter file taken from disk. The window's Open, its comparisons, the file named at start and
// zevo-cli all read through here, so they can never disagree about a file.
struct IgnLoad {
    IgnReadResult Result = IgnReadResult::ReadError;
    IgnDamage Damage;
    // Why the file was not taken, for the line under the message: the system's words when it could
    // not be opened or read, the tool's in `language` when it is damaged or too large. Empty for Ok
    // and for a file of another version, which the design's own message says all about.
    QString Reason;
};

// Lays the file over `image` as ReadIgnFile does; `image` changes only when the result is Ok.
IgnLoad LoadIgnFile(const QString& path, DeviceImage& image, std::uint8_t language);

} // namespace zevo
