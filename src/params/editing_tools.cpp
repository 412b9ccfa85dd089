#include "params/editing_tools.h"

#include <algorithm>

namespace zevo {

namespace {

constexpr int MillivoltStepLimit = 249;
constexpr int PerCentStepLimit = 100;
constexpr int MillivoltCellLimit = 250; // 5000 mV

} // namespace

int StepLimit(const DeviceImage& image, int servo) {
    return image.PerCentMode(servo) != 0 ? PerCentStepLimit : MillivoltStepLimit;
}

void StepCell(DeviceImage& image, int servo, int cell, int direction) {
    std::uint8_t& value = image.MapCell(servo, cell);
    const int limit = StepLimit(image, servo);
    if (direction < 0) {
        if (value > 0)
            value = static_cast<std::uint8_t>(value - 1);
    } else if (value < limit) {
        value = static_cast<std::uint8_t>(value + 1);
    }
}

void StepMapTool(DeviceImage& image, int servo, int direction, bool allCells, bool tpEnabled, int liveTpRow,
                 int liveRpmColumn) {
    if (allCells) {
        const int cells = tpEnabled ? MapCells : MapColumns;
        for (int k = 0; k < cells; ++k)
            StepCell(image, servo, k, direction);
        return;
    }
    const int row = std::clamp(liveTpRow, 0, MapRows - 1);
    const int column = std::clamp(liveRpmColumn, 0, MapColumns - 1);
    StepCell(image, servo, MapColumns * row + column, direction);
}

void StepColumn(DeviceImage& image, int servo, int column, int direction) {
    const int c = std::clamp(column, 0, MapColumns - 1);
    for (int r = 0; r < MapRows; ++r)
        StepCell(image, servo, MapColumns * r + c, direction);
}

bool CaptureTps0(DeviceImage& image, int tpMillivolts) {
    if (tpMillivolts < 300 || tpMillivolts > 2500)
        return false;
    image.Tps0() = static_cast<std::uint8_t>(tpMillivolts / 10);
    return true;
}

bool CaptureTps100(DeviceImage& image, int tpMillivolts) {
    if (tpMillivolts < 2500 || tpMillivolts > 4900)
        return false;
    image.Tps100() = static_cast<std::uint8_t>((tpMillivolts / 10 + 6) & 0xFF);
    return true;
}

std::uint8_t CellToPercent(std::uint8_t millivoltSteps) {
    return static_cast<std::uint8_t>((millivoltSteps + 1) * 2 / 5);
}

std::uint8_t CellToMillivolts(std::uint8_t perCent) {
    return static_cast<std::uint8_t>(std::min(perCent * 5 / 2, MillivoltCellLimit));
}

void ConvertMapToPercent(DeviceImage& image, int servo) {
    for (int k = 0; k < MapCells; ++k) {
        std::uint8_t& v = image.MapCell(servo, k);
        v = CellToPercent(v);
    }
}

void ConvertMapToMillivolts(DeviceImage& image, int servo) {
    for (int k = 0; k < MapCells; ++k) {
        std::uint8_t& v = image.MapCell(servo, k);
        v = CellToMillivolts(v);
    }
}

bool SwitchPerCentMode(DeviceImage& image, int servo, bool ticked) {
    if (ticked == (image.PerCentMode(servo) != 0))
        return false;
    image.PerCentMode(servo) = ticked ? 1 : 0;
    if (ticked)
        ConvertMapToPercent(image, servo);
    else
        ConvertMapToMillivolts(image, servo);
    return true;
}

} // namespace zevo
