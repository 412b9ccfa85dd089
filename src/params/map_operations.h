#pragma once
// Operations on many cells at once: the selected cells of one servo's map, or of its RPM axis.
//
// Everything is computed in the units the page shows (mV or per cent for the map, RPM for the axis),
// starting from the values as the page shows them (a byte beyond the field's range counts as the
// range's end, as the spinner shows it). Results are held to the field's range (mV 0..5000, per cent
// 0..100, RPM 0..25000) and stored by the editor's rule, so a cell always ends up as a value the page
// can show and the next transfer from the page writes back unchanged. An axis that comes out not
// strictly increasing is put right by ValidateBlock, which the caller's AfterChange runs.

#include <optional>

#include "params/conversions.h"
#include "params/device_image.h"
#include "params/map_selection.h"

namespace zevo {

enum class MapOperation {
    // Every selected cell takes the value entered, held to the range and cut down to the unit's step
    // as the editor cuts a typed value (2610 mV is stored as 2600 mV).
    SetValue,
    // The amount entered is cut towards zero to whole steps (+30 mV adds 20 mV, -30 mV takes 20 mV),
    // so that every cell moves by the same amount and Add -x undoes Add +x away from the range ends.
    Add,
    // Each cell becomes value x argument / 100: 100 keeps the map, 110 raises it by a tenth, 50
    // halves it. The result is the nearest step, halves rounded up.
    ScalePercent,
    // Each selected row becomes a straight line between its first and last selected cells, which keep
    // their bytes exactly. Map rows follow the RPM the columns stand for (linear in RPM, as the engine
    // sees it); where the axis is not strictly increasing over the selection, and on the axis line
    // itself, the points are spaced evenly. Results are the nearest step, halves rounded up.
    InterpolateRpm,
    // Each selected column becomes a straight line between its top and bottom selected cells, linear
    // in the throttle per cent of the rows (0, 2, 5, 10, ... 100), which are not evenly spaced.
    InterpolateThrottle,
    // The four corner cells stay; every other cell is the bilinear blend of them by RPM and throttle
    // as above. With one row or one column this is the interpolation along it.
    InterpolateCorners,
    // Each selected cell becomes the mean of itself and those of its four neighbours (left, right,
    // above, below) that are selected too, all taken from the values before the step, then the nearest
    // step, halves rounded up. Cells outside the selection neither change nor pull on it, so smoothing
    // a region never drags it towards its unselected surroundings.
    Smooth,
};

// The field range and step of the cells a selection holds: RPM on the axis line, the servo's map unit
// (20 mV steps or per cent) in the map.
EditorRange SelectionRange(const DeviceImage& image, int servo, const MapSelection& selection);

// A cell as the page shows it: row AxisRow is the RPM axis, rows 0..9 the map. Servo 0 or 1, row and
// column within the page.
int ShownValue(const DeviceImage& image, int servo, int row, int column);

// What an entered argument becomes before it is applied, in the selection's units: SetValue held to
// the range and cut down to the step, Add cut towards zero to whole steps, ScalePercent as entered.
// Nothing for an argument that is not a finite number. The window uses it to say when the entry was
// adjusted.
std::optional<double> EffectiveArgument(MapOperation op, double argument, const EditorRange& range);

// Applies one operation to the selected cells of `servo` (0 or 1). The selection is first clipped to
// what the page shows (ClipToShown), so hidden rows are never touched. `argument` is the value for
// SetValue, Add and ScalePercent in the selection's units (ignored by the others); a non-finite
// argument, an unknown servo or an empty selection change nothing. Interpolations over one row or
// one column change nothing. Returns whether any byte changed.
bool ApplyMapOperation(DeviceImage& image, int servo, const MapSelection& selection, bool tpEnabled,
                       MapOperation op, double argument = 0);

} // namespace zevo
