#include "params/device_image.h"

namespace zevo {

namespace {

// The factory RPM axis: evenly spaced at low speed, denser where the engine spends its time.
constexpr std::array<int, RpmPoints> DefaultRpm = {0,    1000, 2000, 3000, 4000,  6000,  6500, 7000,
                                                   7500, 8000, 8500, 9000, 10000, 11000, 12000};

// The factory map in millivolts: the same ramp in every throttle row, column c at 2000 + 100c.
constexpr int DefaultMapMillivolts(int cell) { return 2000 + 100 * (cell % MapColumns); }

} // namespace

void SetDefaults(DeviceImage& image) {
    for (int i = 0; i < RpmPoints; ++i) {
        for (int s = 0; s < ServoCount; ++s)
            image.RpmAxis(s, i) = static_cast<std::uint8_t>(DefaultRpm[static_cast<std::size_t>(i)] / 100);
    }
    // A per-cent map stores 50 mV per step, a millivolt map 20 mV per step.
    for (int s = 0; s < ServoCount; ++s) {
        const int divisor = image.PerCentMode(s) != 0 ? 50 : 20;
        for (int k = 0; k < MapCells; ++k)
            image.MapCell(s, k) = static_cast<std::uint8_t>(DefaultMapMillivolts(k) / divisor);
    }
    for (int s = 0; s < ServoCount; ++s) {
        image.HysteresisMv(s) = 80;  // 400 mV
        image.HysteresisRpm(s) = 20; // 100 RPM
        image.ServoEnable(s) = 1;
    }
    image.PulsesPerRevIndex() = 1;
    image.Tps0() = 48;   // 480 mV
    image.Tps100() = 197; // 4470 mV
}

void ValidateBlock(DeviceImage& image, PortChoice& ports) {
    // The unit interpolates between axis points, so an axis must rise strictly; point i can be no
    // lower than i and no higher than 236 + i, which leaves room for the points above it up to 250
    // (25000 RPM).
    for (int i = 0; i < RpmPoints; ++i) {
        for (int s = 0; s < ServoCount; ++s) {
            if (image.RpmAxis(s, i) < i)
                image.RpmAxis(s, i) = static_cast<std::uint8_t>(i);
        }
        for (int s = 0; s < ServoCount; ++s) {
            if (image.RpmAxis(s, i) > 236 + i)
                image.RpmAxis(s, i) = static_cast<std::uint8_t>(236 + i);
        }
    }
    // Upwards, so a correction carries forward to the following points.
    for (int i = 1; i < RpmPoints; ++i) {
        for (int s = 0; s < ServoCount; ++s) {
            if (image.RpmAxis(s, i - 1) >= image.RpmAxis(s, i))
                image.RpmAxis(s, i) = static_cast<std::uint8_t>(image.RpmAxis(s, i - 1) + 1);
        }
    }
    if (ports.ComPortIndex > AutoSearchPortIndex)
        ports.ComPortIndex = 0;
    // The search position is stored after its last step, so COM21 (20) starts over at COM1.
    if (ports.AutoPortNumber >= 20)
        ports.AutoPortNumber = 0;
}

} // namespace zevo
