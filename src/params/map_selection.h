#pragma once
// A rectangle of cells on the servo page: map rows 0..9 (0 % throttle first) and the RPM axis line
// above them, columns 0..14 (the axis points). The axis holds RPM, the map holds servo signals, so a
// rectangle never mixes the two: the axis is selected on its own.

#include "params/device_image.h"

namespace zevo {

// The row number of the RPM axis line above map row 0.
inline constexpr int AxisRow = -1;

struct MapSelection {
    // Inclusive corners. A selection made with Spanning or ClipToShown has Row0 <= Row1 and
    // Col0 <= Col1, or is empty (see IsEmpty).
    int Row0 = 0, Col0 = 0, Row1 = 0, Col1 = 0;

    // The rectangle between any two corners, such as the press and the release of a mouse drag, with
    // coordinates off the page pulled onto its edge. A rectangle reaching from the axis into the map
    // keeps only its map rows.
    static MapSelection Spanning(int rowA, int colA, int rowB, int colB);
    static MapSelection Single(int row, int col) { return Spanning(row, col, row, col); }
    // Every cell the page shows: row 0 alone without TP Enable, else all ten rows.
    static MapSelection WholeMap(bool tpEnabled);
    // The whole RPM axis line.
    static MapSelection WholeAxis() { return {AxisRow, 0, AxisRow, MapColumns - 1}; }
    // Nothing: what clipping leaves of a selection that lay only in hidden rows.
    static MapSelection Empty() { return {0, 0, -1, -1}; }

    bool IsEmpty() const { return Row1 < Row0 || Col1 < Col0; }
    bool IsAxis() const { return !IsEmpty() && Row0 == AxisRow; }
    bool Contains(int row, int col) const { return row >= Row0 && row <= Row1 && col >= Col0 && col <= Col1; }
    int Rows() const { return IsEmpty() ? 0 : Row1 - Row0 + 1; }
    int Columns() const { return IsEmpty() ? 0 : Col1 - Col0 + 1; }
    int Cells() const { return Rows() * Columns(); }

    // Calls f(row, col) for every cell, row by row from the top left, as the clipboard lays them out.
    template <typename F> void ForEachCell(F&& f) const {
        if (IsEmpty())
            return;
        for (int r = Row0; r <= Row1; ++r)
            for (int c = Col0; c <= Col1; ++c)
                f(r, c);
    }

    friend bool operator==(const MapSelection&, const MapSelection&) = default;
};

// The last map row the page shows: row 0 alone while TP Enable is off.
inline constexpr int LastShownRow(bool tpEnabled) {
    return tpEnabled ? MapRows - 1 : 0;
}

// The part of a selection the page shows: without TP Enable only row 0 (and the axis), so no
// operation reaches a hidden row the user cannot see. Cells off the page are dropped, not moved onto
// it; a rectangle reaching from the axis into the map keeps its map rows, as in Spanning. What is
// left may be empty (Row1 < Row0 in the selection given counts as empty too).
MapSelection ClipToShown(const MapSelection& s, bool tpEnabled);

} // namespace zevo
