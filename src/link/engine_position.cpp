#include "link/engine_position.h"

namespace zevo {

EngineCell EngineCellFor(const EngineReading& reading, std::span<const std::uint8_t, RpmPoints> axis, bool tpEnabled) {
    EngineCell cell;
    // Twice the speed against the sum of two neighbouring points: the nearest point wins, exactly
    // half-way goes to the higher one.
    const int doubled = (2 * reading.Rpm) / 100;
    while (cell.Column < RpmPoints - 1 &&
           doubled >= axis[static_cast<std::size_t>(cell.Column)] + axis[static_cast<std::size_t>(cell.Column) + 1])
        ++cell.Column;
    if (!tpEnabled)
        return cell;
    cell.ThrottleError = reading.TpPercent > 100;
    while (cell.Row < MapRows - 1 && TpRows[static_cast<std::size_t>(cell.Row)] + TpRows[static_cast<std::size_t>(cell.Row) + 1] <=
                                         2 * reading.TpPercent)
        ++cell.Row;
    return cell;
}

EngineCell EngineCellOn(const DeviceImage& image, int servo, const EngineReading& reading) {
    const std::span<const std::uint8_t, RpmPoints> axis(image.Bytes.data() + BlockOffset + block::RpmAxis + RpmPoints * servo,
                                                        RpmPoints);
    return EngineCellFor(reading, axis, image.TpEnable(servo) != 0);
}

void EnginePosition::UnitReading(const EngineReading& reading) {
    Unit = reading;
    UnitSeen = true;
    Silent = false;
}

void EnginePosition::UnitSilent(bool silent) {
    Silent = silent;
}

void EnginePosition::ReplayReading(const EngineReading& reading) {
    Replayed = reading;
    Replaying = true;
}

void EnginePosition::EndReplay() {
    Replaying = false;
}

} // namespace zevo
