#pragma once
#include <cstdint>
#include <span>

#include "params/device_image.h"

namespace zevo {

// What the engine does at one moment, as a status frame or a row of a ride log tells it.
struct EngineReading {
    int Rpm = 0;
    int TpPercent = 0; // 0..100; above 100 the unit reports a throttle sensor error
    int TpMillivolts = 0;
    friend bool operator==(const EngineReading&, const EngineReading&) = default;
};

// The map cell the engine runs in.
struct EngineCell {
    int Row = 0;
    int Column = 0;
    // The throttle sensor reported an error: the cell is the top row, as the unit's tool has always
    // marked it, but no real throttle is behind it (the time per cell counts it nowhere).
    bool ThrottleError = false;
    friend bool operator==(const EngineCell&, const EngineCell&) = default;
};

// The cell on a servo's RPM axis (hundreds of RPM) and throttle rows: the axis point nearest to the
// speed, the throttle row nearest to the throttle, both taking the higher one exactly half-way; the
// first row only while the map does not follow the throttle.
EngineCell EngineCellFor(const EngineReading& reading, std::span<const std::uint8_t, RpmPoints> axis, bool tpEnabled);
// The same on `servo`'s axes as they are in `image`.
EngineCell EngineCellOn(const DeviceImage& image, int servo, const EngineReading& reading);

// Which cell the engine is in, the one answer the whole window asks: the map's highlight, Minus and
// Plus (F4/F5), the jump to the live cell, the throttle calibration capture, the trail, the servo
// curves and the time per cell.
// - Before the unit's first frame the reading is all zeros: the first column and row are marked.
// - A silent unit's last reading stays in force, and so its cell stays marked: the cell Minus and
//   Plus change is always the one the user sees.
// - While a ride log is replayed its rows are the reading; the unit's frames wait behind them and
//   are in force again, as last sent, when the replay ends.
class EnginePosition {
public:
    // A status frame decoded.
    void UnitReading(const EngineReading& reading);
    // The connection watch: the unit has been silent for about a second, or answers again.
    void UnitSilent(bool silent);
    void ReplayReading(const EngineReading& reading);
    void EndReplay();

    const EngineReading& Reading() const { return Replaying ? Replayed : Unit; }
    bool FromReplay() const { return Replaying; }
    // The reading is the unit's and it has stopped sending: the cell is where the engine was last.
    bool Stale() const { return !Replaying && (Silent || !UnitSeen); }
    EngineCell CellOn(const DeviceImage& image, int servo) const { return EngineCellOn(image, servo, Reading()); }

private:
    EngineReading Unit;
    EngineReading Replayed;
    bool UnitSeen = false;
    bool Silent = true;
    bool Replaying = false;
};

} // namespace zevo
