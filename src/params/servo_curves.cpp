#include "params/servo_curves.h"

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
    if (selection && !selection->IsEmpty()) {
        selection->ForEachCell([&](int r, int c) {
            if (r >= 0 && r < rows && c >= 0 && c < MapColumns)
                curves.Selected.push_back(point(r, c));
        });
    }
    if (live && live->Row >= 0 && live->Row < rows && live->Column >= 0 && live->Column < MapColumns)
        curves.Live = CurvePoint{live->Rpm, point(live->Row, live->Column).Target};
    return curves;
}

} // namespace zevo
