#include "params/map_selection.h"

#include <algorithm>

namespace zevo {

MapSelection MapSelection::Spanning(int rowA, int colA, int rowB, int colB) {
    MapSelection s;
    s.Row0 = std::clamp(std::min(rowA, rowB), AxisRow, MapRows - 1);
    s.Row1 = std::clamp(std::max(rowA, rowB), AxisRow, MapRows - 1);
    s.Col0 = std::clamp(std::min(colA, colB), 0, MapColumns - 1);
    s.Col1 = std::clamp(std::max(colA, colB), 0, MapColumns - 1);
    // RPM and servo signals are different quantities; a drag from the axis down into the map is
    // taken as meant for the map.
    if (s.Row0 == AxisRow && s.Row1 > AxisRow)
        s.Row0 = 0;
    return s;
}

MapSelection MapSelection::WholeMap(bool tpEnabled) {
    return {0, 0, LastShownRow(tpEnabled), MapColumns - 1};
}

MapSelection ClipToShown(const MapSelection& s, bool tpEnabled) {
    // The cells of `s` that the page shows; nothing is moved onto the page from outside it.
    MapSelection clipped{std::max(s.Row0, AxisRow), std::max(s.Col0, 0),
                         std::min(s.Row1, LastShownRow(tpEnabled)), std::min(s.Col1, MapColumns - 1)};
    if (clipped.Row0 == AxisRow && clipped.Row1 > AxisRow)
        clipped.Row0 = 0;
    return clipped.IsEmpty() ? MapSelection::Empty() : clipped;
}

} // namespace zevo
