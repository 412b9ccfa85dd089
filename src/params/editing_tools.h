#pragma once
#include <cstdint>

#include "params/device_image.h"

namespace zevo {

// The live-tuning tools work on the bytes of the block, one step at a time: 20 mV in a millivolt
// map, 1 % in a per-cent map. A millivolt cell stays within 0..249; a per-cent cell within 0..100,
// the range its editor shows, so Plus never makes a per-cent cell the editor cannot show.
inline constexpr int StepDown = -1;
inline constexpr int StepUp = +1;

// The upper limit of one step for the servo's map unit.
int StepLimit(const DeviceImage& image, int servo);

// One cell up or down; a cell already beyond the limit is not raised, and lowered by one.
void StepCell(DeviceImage& image, int servo, int cell, int direction);

// Minus/Plus: the live cell, or with "All" the whole map in use (row 0 only without TP Enable).
void StepMapTool(DeviceImage& image, int servo, int direction, bool allCells, bool tpEnabled, int liveTpRow,
                 int liveRpmColumn);

// A column spin button: all ten rows of the column, whatever TP Enable says.
void StepColumn(DeviceImage& image, int servo, int column, int direction);

// The throttle calibration taken from the sensor voltage measured now. Returns false (and changes
// nothing) outside the voltage window of that end of the throttle.
bool CaptureTps0(DeviceImage& image, int tpMillivolts);
bool CaptureTps100(DeviceImage& image, int tpMillivolts);

// The per-cent switch converts all 150 cells of one servo's map in place; 100 % is 5000 mV.
// To per cent: (v + 1) * 2 / 5. To millivolts: v * 5 / 2, held at 250 (5000 mV) for per-cent cells
// above 100 rather than wrapping around to a small value.
void ConvertMapToPercent(DeviceImage& image, int servo);
void ConvertMapToMillivolts(DeviceImage& image, int servo);
// The same for one cell's value.
std::uint8_t CellToPercent(std::uint8_t millivoltSteps);
std::uint8_t CellToMillivolts(std::uint8_t perCent);

// The per-cent box on the servo page: switches the servo's unit (converting its map) only when the
// box and the stored unit disagree. Returns whether the unit changed.
bool SwitchPerCentMode(DeviceImage& image, int servo, bool ticked);

} // namespace zevo
