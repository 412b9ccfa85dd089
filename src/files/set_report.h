#pragma once
#include <cstdint>
#include <string>

#include "params/device_image.h"

namespace zevo {

// The printable record of a parameter set: both servo maps as tables with their axes, the single
// settings, the unit and the file, as HTML for the toolkit's PDF writer.
struct ReportInput {
    DeviceImage Image;
    std::string FileName;   // empty: no file
    std::string UnitName;   // empty: no unit known
    std::string UnitBuild;  // build date and time
    std::string Date;       // when the report was made
    std::uint8_t Language = 1;
};
std::string ReportHtml(const ReportInput& input);

} // namespace zevo
