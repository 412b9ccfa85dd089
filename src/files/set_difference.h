#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "params/device_image.h"

namespace zevo {

// Where two parameter sets differ, field by field, in the units the editor shows: the set on screen
// ("here") against another one ("there": the unit's, a file's, a restore point's). Fields no
// parameter file carries (the identification page, the unused bytes) are not compared; switches
// compare as on/off, as the unit reads them.
enum class SetField {
    PulsesPerRev,
    Tps0,
    Tps100,
    ServoEnable,
    TpEnable,
    MapUnit,
    HysteresisMv,
    HysteresisRpm,
    RpmPoint,
    MapCell,
};

struct SetDifference {
    SetField Field = SetField::PulsesPerRev;
    int Servo = -1;  // 0 or 1 for the servo's fields
    int Row = -1;    // a map cell's throttle row
    int Column = -1; // a map cell's column, or the RPM axis point
    int Byte = 0;    // the image byte that holds the field
    std::uint8_t Here = 0;
    std::uint8_t There = 0;
    // A map cell: each side's map unit, and the speed of its column on this side's axis.
    bool HerePerCent = false;
    bool TherePerCent = false;
    int Rpm = 0;
    friend bool operator==(const SetDifference&, const SetDifference&) = default;
};

// In the editor's order: the general page, then servo 1 and servo 2 (switches, hysteresis, axis,
// map row by row).
std::vector<SetDifference> DifferencesBetween(const DeviceImage& here, const DeviceImage& there);

// The zevo-cli wording, "here" being the file and "there" the unit:
//   "servo 1 map, TP 20%, 6500 RPM: file 2600 mV, unit 2580 mV"
std::string CliDifferenceLine(const SetDifference& difference);
// The window's wording in language 0 Czech, 1 English, 2 German:
//   "Servo 1, 40 %, 6 500 RPM: 2 600 mV here, 2 700 mV there"
std::string DifferenceLine(const SetDifference& difference, std::uint8_t language);

// Takes the other side's value of one field into `here`.
void TakeTheirs(DeviceImage& here, const DeviceImage& there, const SetDifference& difference);

// True when no field differs, as DifferencesBetween would find none (switches as on/off, the unused
// bytes not at all); cheap enough for every tick.
bool SameFields(const DeviceImage& a, const DeviceImage& b);

// True when the parameter blocks (pages 1 to 7) hold the same bytes.
bool SameParameters(const DeviceImage& a, const DeviceImage& b);

} // namespace zevo
