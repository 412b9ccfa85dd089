#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "link/status_frame.h"
#include "params/device_image.h"

namespace zevo::cli {

// One line per field whose value differs between the set a file describes and the unit's set, in
// the units the editor shows and named as the editor places them:
//   "servo 1 map, TP 20%, 6500 RPM: file 2600 mV, unit 2580 mV"
// Switches compare as on/off, as the unit reads them; a map cell is placed on the file's RPM axis
// and shown in each side's own map unit. Fields no parameter file carries are not compared.
std::vector<std::string> ListDifferences(const DeviceImage& file, const DeviceImage& unit);

// A status frame as one line of text for a person, stamped with `time`. The CSV form is the
// telemetry log's row (log/log_format.h), which the window's recording writes too.
std::string FormatStatus(const StatusFrame& status, std::string_view time);

} // namespace zevo::cli
