#include "files/set_difference.h"

#include <algorithm>

#include "lang/editing_texts.h"
#include "lang/language_tables.h"
#include "lang/restore_texts.h"
#include "params/conversions.h"

namespace zevo {

namespace {

constexpr int Block(int offset) {
    return BlockOffset + offset;
}

bool IsSwitch(SetField field) {
    return field == SetField::ServoEnable || field == SetField::TpEnable || field == SetField::MapUnit;
}

// ---- the zevo-cli wording (English, unchanged since the first release) ---------------------------

constexpr std::uint8_t English = LanguageEnglish;

std::string OnOff(std::uint8_t b) {
    return FlagToDisplay(b) ? "on" : "off";
}
std::string CliMapUnit(std::uint8_t perCentMode) {
    return perCentMode != 0 ? "per cent" : "mV";
}
std::string WithUnit(int value, std::string_view unit) {
    return std::to_string(value) + " " + std::string(unit);
}
std::string CliMapValue(std::uint8_t cell, bool perCent) {
    return perCent ? std::to_string(MapCellToDisplay(cell, true)) + "%" : WithUnit(MapCellToDisplay(cell, false), "mV");
}

// ---- the window's wording ----------------------------------------------------------------------

std::string Text(RestoreTextId id, std::uint8_t language) {
    return std::string(RestoreText(id, language));
}

// Thousands set apart as the language writes them, as the editor shows the same numbers; the unit
// after a no-break space ("6 500 RPM", "6,500 RPM", "6.500 RPM").
std::string Grouped(int value, std::uint8_t language) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), GroupSeparator(language));
    return value < 0 ? "-" + digits : digits;
}
std::string Amount(int value, std::string_view unit, std::uint8_t language) {
    return Grouped(value, language) + "\u00A0" + std::string(unit);
}

std::string Caption(CaptionId id, std::uint8_t language) {
    return std::string(CaptionText(id, language));
}

std::string ServoName(int servo, std::uint8_t language) {
    return Caption(servo == 0 ? CaptionId::TabSheet_Servo1 : CaptionId::TabSheet_Servo2, language);
}

std::string WindowValue(const SetDifference& d, bool here, std::uint8_t language) {
    const std::uint8_t b = here ? d.Here : d.There;
    switch (d.Field) {
    case SetField::PulsesPerRev:
        return RadioItemText(PulsesItemToDisplay(b), language);
    case SetField::Tps0:
        return Amount(Tps0ToDisplay(b), "mV", language);
    case SetField::Tps100:
        return Amount(Tps100ToDisplay(b), "mV", language);
    case SetField::ServoEnable:
    case SetField::TpEnable:
    case SetField::MapUnit:
        return Text(FlagToDisplay(b) ? RestoreTextId::On : RestoreTextId::Off, language);
    case SetField::HysteresisMv:
        return Amount(HysteresisToDisplay(b), "mV", language);
    case SetField::HysteresisRpm:
        return Amount(HysteresisToDisplay(b), "RPM", language);
    case SetField::RpmPoint:
        return Amount(RpmToDisplay(b), "RPM", language);
    case SetField::MapCell: {
        const bool perCent = here ? d.HerePerCent : d.TherePerCent;
        return perCent ? Amount(MapCellToDisplay(b, true), "%", language) : Amount(MapCellToDisplay(b, false), "mV", language);
    }
    }
    return {};
}

std::string WindowName(const SetDifference& d, std::uint8_t language) {
    const std::string servo = d.Servo >= 0 ? ServoName(d.Servo, language) + ", " : std::string();
    switch (d.Field) {
    case SetField::PulsesPerRev:
        return Caption(CaptionId::RadioGroupPocPulsu, language);
    case SetField::Tps0:
        return Text(RestoreTextId::Tps0, language);
    case SetField::Tps100:
        return Text(RestoreTextId::Tps100, language);
    case SetField::ServoEnable:
        return servo + Caption(CaptionId::CheckBoxServoEnable, language);
    case SetField::TpEnable:
        return servo + "TP Enable"; // the check box's caption, the same in every language
    case SetField::MapUnit:
        return servo + Caption(CaptionId::CheckBoxProcenta, language);
    case SetField::HysteresisMv:
        return servo + Caption(CaptionId::LabelHystMv, language);
    case SetField::HysteresisRpm:
        return servo + Caption(CaptionId::LabelHystRpm, language);
    case SetField::RpmPoint:
        return servo + FillPlaceholders(EditingText(EditingTextId::CellOnAxis, language), {std::to_string(d.Column + 1)});
    case SetField::MapCell:
        return servo + Grouped(TpRows[static_cast<std::size_t>(d.Row)], language) + "\u00A0%, " + Amount(d.Rpm, "RPM", language);
    }
    return {};
}

} // namespace

namespace {

// Calls found(difference) for each differing field in the editor's order until it returns false.
template <typename Found> void VisitDifferences(const DeviceImage& here, const DeviceImage& there, Found&& found) {
    bool going = true;
    auto compare = [&](SetField field, int servo, int row, int column, int byte) {
        if (!going)
            return;
        SetDifference d;
        d.Field = field;
        d.Servo = servo;
        d.Row = row;
        d.Column = column;
        d.Byte = byte;
        d.Here = here.Bytes[static_cast<std::size_t>(byte)];
        d.There = there.Bytes[static_cast<std::size_t>(byte)];
        const bool same = IsSwitch(field) ? FlagToDisplay(d.Here) == FlagToDisplay(d.There) : d.Here == d.There;
        if (field == SetField::MapCell) {
            d.HerePerCent = here.PerCentMode(servo) != 0;
            d.TherePerCent = there.PerCentMode(servo) != 0;
            d.Rpm = RpmToDisplay(here.RpmAxis(servo, column));
            // A per-cent and a millivolt map may hold the same byte for different targets.
            if (same && d.HerePerCent == d.TherePerCent)
                return;
        } else if (same) {
            return;
        }
        going = found(d);
    };
    compare(SetField::PulsesPerRev, -1, -1, -1, Block(block::PulsesPerRevIndex));
    compare(SetField::Tps0, -1, -1, -1, Block(block::Tps0));
    compare(SetField::Tps100, -1, -1, -1, Block(block::Tps100));
    for (int servo = 0; servo < ServoCount; ++servo) {
        compare(SetField::ServoEnable, servo, -1, -1, Block(block::ServoEnable + servo));
        compare(SetField::TpEnable, servo, -1, -1, Block(block::TpEnable + servo));
        compare(SetField::MapUnit, servo, -1, -1, Block(block::PerCentMode + servo));
        compare(SetField::HysteresisMv, servo, -1, -1, Block(block::HysteresisMv + servo));
        compare(SetField::HysteresisRpm, servo, -1, -1, Block(block::HysteresisRpm + servo));
        for (int point = 0; point < RpmPoints; ++point)
            compare(SetField::RpmPoint, servo, -1, point, Block(block::RpmAxis + RpmPoints * servo + point));
        for (int row = 0; row < MapRows; ++row)
            for (int column = 0; column < MapColumns; ++column)
                compare(SetField::MapCell, servo, row, column,
                        Block(block::ServoMap + MapCells * servo + MapColumns * row + column));
    }
}

} // namespace

std::vector<SetDifference> DifferencesBetween(const DeviceImage& here, const DeviceImage& there) {
    std::vector<SetDifference> out;
    // Room for a typical listing up front; it also keeps GCC 12's overflow warning from a false alarm
    // about the first growth of the vector.
    out.reserve(32);
    VisitDifferences(here, there, [&out](const SetDifference& d) {
        out.push_back(d);
        return true;
    });
    return out;
}

bool SameFields(const DeviceImage& a, const DeviceImage& b) {
    bool same = true;
    VisitDifferences(a, b, [&same](const SetDifference&) {
        same = false;
        return false;
    });
    return same;
}

std::string CliDifferenceLine(const SetDifference& d) {
    auto line = [](const std::string& name, const std::string& file, const std::string& unit) {
        return name + ": file " + file + ", unit " + unit;
    };
    const std::string servo = "servo " + std::to_string(d.Servo + 1);
    switch (d.Field) {
    case SetField::PulsesPerRev: {
        const std::string file = RadioItemText(PulsesItemToDisplay(d.Here), English);
        const std::string unit = RadioItemText(PulsesItemToDisplay(d.There), English);
        // An index beyond the radio items shows as the last item; the bytes still differ.
        if (file == unit)
            return "pulses per revolution: file index " + std::to_string(d.Here) + ", unit index " +
                   std::to_string(d.There);
        return line("pulses per revolution", file, unit);
    }
    case SetField::Tps0:
        return line("TP sensor at 0%", WithUnit(Tps0ToDisplay(d.Here), "mV"), WithUnit(Tps0ToDisplay(d.There), "mV"));
    case SetField::Tps100:
        return line("TP sensor at 100%", WithUnit(Tps100ToDisplay(d.Here), "mV"),
                    WithUnit(Tps100ToDisplay(d.There), "mV"));
    case SetField::ServoEnable:
        return line(servo + " enabled", OnOff(d.Here), OnOff(d.There));
    case SetField::TpEnable:
        return line(servo + " follows TP", OnOff(d.Here), OnOff(d.There));
    case SetField::MapUnit:
        return line(servo + " map unit", CliMapUnit(d.Here), CliMapUnit(d.There));
    case SetField::HysteresisMv:
        return line(servo + " hysteresis", WithUnit(HysteresisToDisplay(d.Here), "mV"),
                    WithUnit(HysteresisToDisplay(d.There), "mV"));
    case SetField::HysteresisRpm:
        return line(servo + " RPM hysteresis", WithUnit(HysteresisToDisplay(d.Here), "RPM"),
                    WithUnit(HysteresisToDisplay(d.There), "RPM"));
    case SetField::RpmPoint:
        return line(servo + " RPM axis, point " + std::to_string(d.Column + 1), WithUnit(RpmToDisplay(d.Here), "RPM"),
                    WithUnit(RpmToDisplay(d.There), "RPM"));
    case SetField::MapCell:
        return line(servo + " map, TP " + std::to_string(TpRows[static_cast<std::size_t>(d.Row)]) + "%, " +
                        std::to_string(d.Rpm) + " RPM",
                    CliMapValue(d.Here, d.HerePerCent), CliMapValue(d.There, d.TherePerCent));
    }
    return {};
}

std::string DifferenceLine(const SetDifference& d, std::uint8_t language) {
    return FillPlaceholders(RestoreText(RestoreTextId::DifferenceLine, language),
                            {WindowName(d, language), WindowValue(d, true, language), WindowValue(d, false, language)});
}

void TakeTheirs(DeviceImage& here, const DeviceImage& there, const SetDifference& d) {
    if (d.Byte >= BlockOffset && d.Byte < ImageSize)
        here.Bytes[static_cast<std::size_t>(d.Byte)] = there.Bytes[static_cast<std::size_t>(d.Byte)];
}

bool SameParameters(const DeviceImage& a, const DeviceImage& b) {
    return std::equal(a.Bytes.begin() + BlockOffset, a.Bytes.end(), b.Bytes.begin() + BlockOffset);
}

} // namespace zevo
