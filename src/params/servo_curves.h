#pragma once
#include <optional>
#include <vector>

#include "params/device_image.h"
#include "params/map_selection.h"

namespace zevo {

// One servo's map as curves: the target (mV or %) over engine speed, one curve per throttle row the
// editor shows (ten, or row 0 alone without TP Enable).
struct CurvePoint {
    int Rpm = 0;
    int Target = 0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};
struct CurveRow {
    int Row = 0;
    int TpPercent = 0;
    std::vector<CurvePoint> Points; // in axis order, one per RPM point
    friend bool operator==(const CurveRow&, const CurveRow&) = default;
};
struct ServoCurves {
    int Servo = 0;
    bool PerCent = false;
    std::vector<CurveRow> Rows;
    // The selected cells (the selected axis points are not cells and show no point).
    std::vector<CurvePoint> Selected;
    // Where the engine runs: its speed and the target its row's curve gives there.
    std::optional<CurvePoint> Live;
    friend bool operator==(const ServoCurves&, const ServoCurves&) = default;
};

// `live`: the engine's speed and its cell (row, column) while the unit reports them; none while the
// connection is lost.
struct LivePoint {
    int Rpm = 0;
    int Row = 0;
    int Column = 0;
};
ServoCurves CurvesOf(const DeviceImage& image, int servo, const std::optional<MapSelection>& selection,
                     const std::optional<LivePoint>& live);

} // namespace zevo
