#include "cli/cli_report.h"

#include <cstdio>

#include "files/set_difference.h"
#include "lang/language_tables.h"
#include "params/conversions.h"

namespace zevo::cli {

std::vector<std::string> ListDifferences(const DeviceImage& file, const DeviceImage& unit) {
    std::vector<std::string> out;
    for (const SetDifference& difference : DifferencesBetween(file, unit))
        out.push_back(CliDifferenceLine(difference));
    return out;
}

std::string FormatStatus(const StatusFrame& s, std::string_view time) {
    // Above 100 % the unit reports a throttle sensor fault.
    const std::string tp = s.TpPercent <= 100 ? std::to_string(s.TpPercent) : "error";
    const int supply = SupplyMillivoltsFromCount(s.SupplyCount);
    char volts[16];
    std::snprintf(volts, sizeof volts, "%d.%d", supply / 1000, supply % 1000 / 100);
    const int dataError = s.EeDataError != 0 ? 1 : 0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "%.*s  RPM %5u  TP %5s %%  TP %4u mV  supply %s V  servo 1 %4u/%4u mV  "
                  "servo 2 %4u/%4u mV  programmed %u  storing %u  data error %d  version %u",
                  static_cast<int>(time.size()), time.data(), s.Rpm, tp.c_str(), TpMillivoltsFromCount(s.TpCount),
                  volts, s.ServoDesired[0], s.ServoMeasured[0], s.ServoDesired[1], s.ServoMeasured[1],
                  s.ProgrammingCount, s.SaveCountdown, dataError, s.Version);
    return line;
}

} // namespace zevo::cli
