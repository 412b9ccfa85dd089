#include "params/parameter_session.h"

#include <algorithm>

#include "files/set_difference.h"
#include "params/editing_tools.h"

namespace zevo {

namespace {

constexpr int FirstUnusedAfterPulses = block::PulsesPerRevIndex + 1; // 11
constexpr int FirstUnusedAfterPerCent = block::PerCentMode + ServoCount; // 17

} // namespace

bool IsParameterByte(int blockByte) {
    if (blockByte < 0 || blockByte >= BlockSize)
        return false;
    if (blockByte >= FirstUnusedAfterPulses && blockByte < block::PerCentMode)
        return false;
    return !(blockByte >= FirstUnusedAfterPerCent && blockByte < block::RpmAxis);
}

void CopyParameters(DeviceImage& to, const DeviceImage& from) {
    for (int b = 0; b < BlockSize; ++b)
        if (IsParameterByte(b))
            to.Bytes[static_cast<std::size_t>(BlockOffset + b)] = from.Bytes[static_cast<std::size_t>(BlockOffset + b)];
}

void TakeTheirs(DeviceImage& here, const DeviceImage& there, std::span<const SetDifference> chosen) {
    for (const SetDifference& d : chosen)
        if (d.Field == SetField::MapUnit)
            SwitchPerCentMode(here, d.Servo, there.PerCentMode(d.Servo) != 0);
    for (const SetDifference& d : chosen) {
        if (d.Field == SetField::MapUnit)
            continue;
        if (d.Field != SetField::MapCell) {
            TakeTheirs(here, there, d);
            continue;
        }
        const int cell = MapColumns * d.Row + d.Column;
        const bool herePerCent = here.PerCentMode(d.Servo) != 0;
        const bool therePerCent = there.PerCentMode(d.Servo) != 0;
        const std::uint8_t value = there.MapCell(d.Servo, cell);
        here.MapCell(d.Servo, cell) = herePerCent == therePerCent ? value
                                      : herePerCent               ? CellToPercent(value)
                                                                  : CellToMillivolts(value);
    }
}

void ParameterSession::UnitHolds(const DeviceImage& set) {
    Unit = set;
    UnitDiffers = false;
}

void ParameterSession::UnitHoldsAnother() {
    Unit.reset();
    UnitDiffers = true;
}

void ParameterSession::UnitNotKnown() {
    Unit.reset();
    UnitDiffers = false;
}

UnitKnowledge ParameterSession::UnitState() const {
    if (UnitDiffers)
        return UnitKnowledge::DiffersFromUnit;
    if (!Unit)
        return UnitKnowledge::UnitNotKnown;
    return SameFields(Image, *Unit) ? UnitKnowledge::InUnit : UnitKnowledge::DiffersFromUnit;
}

bool ParameterSession::DiffersFromFile() const {
    return File && !SameFields(Image, *File);
}

HistoryRecordOutcome ParameterSession::Commit(PortChoice& ports, int page, bool programAfterChange) {
    ValidateBlock(Image, ports);
    return History.HistoryRecord(Image, page, programAfterChange);
}

void ParameterSession::ProgramSent(std::span<const std::uint8_t, PageSize> unitPage) {
    Pending.emplace();
    std::copy(unitPage.begin(), unitPage.end(), Pending->begin());
}

bool ParameterSession::PendingFor(std::span<const std::uint8_t, PageSize> unitPage) const {
    return Pending && std::equal(unitPage.begin(), unitPage.end(), Pending->begin());
}

bool ParameterSession::SetAtRisk() const {
    // Compared field by field: the unused bytes are nothing a user could lose.
    const bool edited = Safe && !SameFields(Image, *Safe);
    const bool inFile = File && SameFields(Image, *File);
    return edited && !inFile && UnitState() != UnitKnowledge::InUnit;
}

} // namespace zevo
