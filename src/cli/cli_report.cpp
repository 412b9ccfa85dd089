#include "cli/cli_report.h"

#include <cstdio>

#include "lang/language_tables.h"
#include "params/conversions.h"

namespace zevo::cli {
namespace {

constexpr std::uint8_t English = 1;

std::string OnOff(std::uint8_t b) {
    return FlagToDisplay(b) ? "on" : "off";
}
std::string MapUnit(std::uint8_t perCentMode) {
    return perCentMode != 0 ? "per cent" : "mV";
}
std::string WithUnit(int value, std::string_view unit) {
    return std::to_string(value) + " " + std::string(unit);
}
std::string MapValue(std::uint8_t cell, std::uint8_t perCentMode) {
    const bool perCent = perCentMode != 0;
    return perCent ? std::to_string(MapCellToDisplay(cell, true)) + "%"
                   : WithUnit(MapCellToDisplay(cell, false), "mV");
}

void Add(std::vector<std::string>& out, const std::string& name, const std::string& file,
         const std::string& unit) {
    if (file != unit)
        out.push_back(name + ": file " + file + ", unit " + unit);
}

} // namespace

std::vector<std::string> ListDifferences(const DeviceImage& f, const DeviceImage& u) {
    std::vector<std::string> out;
    Add(out, "pulses per revolution", RadioItemText(PulsesItemToDisplay(f.PulsesPerRevIndex()), English),
        RadioItemText(PulsesItemToDisplay(u.PulsesPerRevIndex()), English));
    // An index beyond the radio items shows as the last item; the bytes still differ.
    if (out.empty() && f.PulsesPerRevIndex() != u.PulsesPerRevIndex())
        out.push_back("pulses per revolution: file index " + std::to_string(f.PulsesPerRevIndex()) +
                      ", unit index " + std::to_string(u.PulsesPerRevIndex()));
    Add(out, "TP sensor at 0%", WithUnit(Tps0ToDisplay(f.Tps0()), "mV"),
        WithUnit(Tps0ToDisplay(u.Tps0()), "mV"));
    Add(out, "TP sensor at 100%", WithUnit(Tps100ToDisplay(f.Tps100()), "mV"),
        WithUnit(Tps100ToDisplay(u.Tps100()), "mV"));
    for (int servo = 0; servo < ServoCount; ++servo) {
        const std::string name = "servo " + std::to_string(servo + 1);
        Add(out, name + " enabled", OnOff(f.ServoEnable(servo)), OnOff(u.ServoEnable(servo)));
        Add(out, name + " follows TP", OnOff(f.TpEnable(servo)), OnOff(u.TpEnable(servo)));
        Add(out, name + " map unit", MapUnit(f.PerCentMode(servo)), MapUnit(u.PerCentMode(servo)));
        Add(out, name + " hysteresis", WithUnit(HysteresisToDisplay(f.HysteresisMv(servo)), "mV"),
            WithUnit(HysteresisToDisplay(u.HysteresisMv(servo)), "mV"));
        Add(out, name + " RPM hysteresis", WithUnit(HysteresisToDisplay(f.HysteresisRpm(servo)), "RPM"),
            WithUnit(HysteresisToDisplay(u.HysteresisRpm(servo)), "RPM"));
        for (int point = 0; point < RpmPoints; ++point)
            Add(out, name + " RPM axis, point " + std::to_string(point + 1),
                WithUnit(RpmToDisplay(f.RpmAxis(servo, point)), "RPM"),
                WithUnit(RpmToDisplay(u.RpmAxis(servo, point)), "RPM"));
        for (int row = 0; row < MapRows; ++row)
            for (int column = 0; column < MapColumns; ++column) {
                // Compared as bytes: a per-cent and a millivolt map may show the same number.
                if (f.MapCell(servo, row, column) == u.MapCell(servo, row, column) &&
                    (f.PerCentMode(servo) != 0) == (u.PerCentMode(servo) != 0))
                    continue;
                const std::string place = name + " map, TP " +
                                          std::to_string(TpRows[static_cast<std::size_t>(row)]) + "%, " +
                                          std::to_string(RpmToDisplay(f.RpmAxis(servo, column))) + " RPM";
                out.push_back(place + ": file " +
                              MapValue(f.MapCell(servo, row, column), f.PerCentMode(servo)) + ", unit " +
                              MapValue(u.MapCell(servo, row, column), u.PerCentMode(servo)));
            }
    }
    return out;
}

std::string StatusCsvHeader() {
    return "time,rpm,tp_percent,tp_mv,supply_v,servo1_desired_mv,servo1_measured_mv,servo2_desired_mv,"
           "servo2_measured_mv,programming_count,storing_countdown,data_error,version";
}

std::string FormatStatus(const StatusFrame& s, std::string_view time, bool csv) {
    // Above 100 % the unit reports a throttle sensor fault.
    const std::string tp = s.TpPercent <= 100 ? std::to_string(s.TpPercent) : "error";
    const int supply = SupplyMillivoltsFromCount(s.SupplyCount);
    char volts[16];
    std::snprintf(volts, sizeof volts, "%d.%d", supply / 1000, supply % 1000 / 100);
    const int dataError = s.EeDataError != 0 ? 1 : 0;
    char line[256];
    if (csv)
        std::snprintf(line, sizeof line, "%.*s,%u,%s,%u,%s,%u,%u,%u,%u,%u,%u,%d,%u",
                      static_cast<int>(time.size()), time.data(), s.Rpm, tp.c_str(),
                      TpMillivoltsFromCount(s.TpCount), volts, s.ServoDesired[0], s.ServoMeasured[0],
                      s.ServoDesired[1], s.ServoMeasured[1], s.ProgrammingCount, s.SaveCountdown, dataError,
                      s.Version);
    else
        std::snprintf(line, sizeof line,
                      "%.*s  RPM %5u  TP %5s %%  TP %4u mV  supply %s V  servo 1 %4u/%4u mV  "
                      "servo 2 %4u/%4u mV  programmed %u  storing %u  data error %d  version %u",
                      static_cast<int>(time.size()), time.data(), s.Rpm, tp.c_str(),
                      TpMillivoltsFromCount(s.TpCount), volts, s.ServoDesired[0], s.ServoMeasured[0],
                      s.ServoDesired[1], s.ServoMeasured[1], s.ProgrammingCount, s.SaveCountdown, dataError,
                      s.Version);
    return line;
}

} // namespace zevo::cli
