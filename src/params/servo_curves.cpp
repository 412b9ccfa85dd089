#include "params/servo_curves.h"

#include <cmath>

#include "params/conversions.h"

namespace zevo {

ServoCurves CurvesOf(const DeviceImage& image, int servo, const std::optional<MapSelection>& selection,
                     const std::optional<LivePoint>& live) {
    ServoCurves curves;
    curves.Servo = servo;
    curves.PerCent = image.PerCentMode(servo) != 0;
    const int rows = image.TpEnable(servo) != 0 ? MapRows : 1;
    auto point = [&](int r, int c) {
        return CurvePoint{RpmToDisplay(image.RpmAxis(servo, c)),
                          MapCellToDisplay(image.MapCell(servo, r, c), curves.PerCent)};
    };
    for (int r = 0; r < rows; ++r) {
        CurveRow row{r, TpRows[static_cast<std::size_t>(r)], {}};
        row.Points.reserve(MapColumns);
        for (int c = 0; c < MapColumns; ++c)
            row.Points.push_back(point(r, c));
        curves.Rows.push_back(std::move(row));
    }
    // One cell is just the focused field, as on the page; a block of several is a selection.
    if (selection && selection->Cells() > 1) {
        selection->ForEachCell([&](int r, int c) {
            if (r >= 0 && r < rows && c >= 0 && c < MapColumns)
                curves.Selected.push_back(point(r, c));
        });
    }
    // The unit interpolates between the axis points of the row the engine runs in: the point sits on
    // that curve at the engine's speed, and at the curve's end beyond the axis.
    if (live && live->Row >= 0 && live->Row < rows && live->Column >= 0 && live->Column < MapColumns) {
        const std::vector<CurvePoint>& row = curves.Rows[static_cast<std::size_t>(live->Row)].Points;
        int target = row.front().Target;
        if (live->Rpm >= row.back().Rpm) {
            target = row.back().Target;
        } else if (live->Rpm > row.front().Rpm) {
            std::size_t upper = 1;
            while (row[upper].Rpm < live->Rpm)
                ++upper;
            const CurvePoint& a = row[upper - 1];
            const CurvePoint& b = row[upper];
            target = b.Rpm == a.Rpm ? b.Target
                                    : a.Target + static_cast<int>(std::lround(static_cast<double>(b.Target - a.Target) *
                                                                              (live->Rpm - a.Rpm) / (b.Rpm - a.Rpm)));
        }
        curves.Live = CurvePoint{live->Rpm, target};
    }
    return curves;
}

} // namespace zevo
