#include "params/map_operations.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace zevo {

namespace {

// The values of a selection, at most the whole map, laid out row by row from its top left. A cell
// left at NotWritten keeps its byte as it is.
constexpr int NotWritten = -1;
using Grid = std::array<int, MapCells>;

bool ValidServo(int servo) {
    return servo >= 0 && servo < ServoCount;
}

bool PerCent(const DeviceImage& image, int servo) {
    return image.PerCentMode(servo) != 0;
}

// The nearest multiple of `step` to num / den, halves rounded up; num >= 0, den > 0. Kept in whole
// numbers so that an end of an interpolation, whose num is its own value times den, comes out exact.
int RoundToStep(std::int64_t num, std::int64_t den, int step) {
    const std::int64_t unit = den * step;
    return static_cast<int>((2 * num + unit) / (2 * unit) * step);
}

int Clamp(double value, const EditorRange& range) {
    if (!(value > range.Min)) // also NaN
        return range.Min;
    if (value >= range.Max)
        return range.Max;
    return static_cast<int>(value);
}

// A value held to the range and cut down to the step, as the editor stores a typed value.
int CutToStep(double value, const EditorRange& range) {
    const int held = Clamp(value, range);
    return held / range.Step * range.Step;
}

// The nearest step to a computed value, halves up; a hair of slack keeps 136.5 steps that floating
// point computed as 136.4999... rounding the same way as the exact value.
int NearestStep(double value, const EditorRange& range) {
    if (!(value > range.Min))
        return range.Min;
    if (value >= range.Max)
        return range.Max;
    const double steps = std::floor(value / range.Step + 0.5 + 1e-9);
    const int result = static_cast<int>(steps) * range.Step;
    return result > range.Max ? range.Max : result;
}

void StoreShown(DeviceImage& image, int servo, int row, int column, int value, bool& changed) {
    std::uint8_t& cell = row == AxisRow ? image.RpmAxis(servo, column) : image.MapCell(servo, row, column);
    const std::uint8_t byte =
        row == AxisRow ? RpmFromDisplay(value) : MapCellFromDisplay(value, PerCent(image, servo));
    if (cell != byte) {
        cell = byte;
        changed = true;
    }
}

// Where the columns of a selection lie along the RPM: the axis values where they rise strictly over
// the selection, else evenly spaced (the axis line itself, or an axis ValidateBlock has not seen).
std::array<int, MapColumns> ColumnPositions(const DeviceImage& image, int servo, const MapSelection& s) {
    std::array<int, MapColumns> x{};
    bool rising = !s.IsAxis();
    for (int c = s.Col0; c <= s.Col1; ++c) {
        x[static_cast<std::size_t>(c)] = ShownValue(image, servo, AxisRow, c);
        if (c > s.Col0 && x[static_cast<std::size_t>(c)] <= x[static_cast<std::size_t>(c - 1)])
            rising = false;
    }
    if (!rising)
        for (int c = 0; c < MapColumns; ++c)
            x[static_cast<std::size_t>(c)] = c;
    return x;
}

class Region {
public:
    Region(const DeviceImage& image, int servo, const MapSelection& s)
        : S(s), Range(SelectionRange(image, servo, s)), Columns(s.Columns()) {
        Next.fill(NotWritten);
        s.ForEachCell([&](int r, int c) { Old[Index(r, c)] = ShownValue(image, servo, r, c); });
    }

    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>((row - S.Row0) * Columns + (column - S.Col0));
    }
    int OldAt(int row, int column) const { return Old[Index(row, column)]; }
    void Set(int row, int column, int value) { Next[Index(row, column)] = value; }

    bool Store(DeviceImage& image, int servo) const {
        bool changed = false;
        S.ForEachCell([&](int r, int c) {
            const int value = Next[Index(r, c)];
            if (value != NotWritten)
                StoreShown(image, servo, r, c, ClampToRange(value, Range), changed);
        });
        return changed;
    }

    const MapSelection S;
    const EditorRange Range;

private:
    int Columns;
    Grid Old{};
    Grid Next{};
};

// One straight line from (p0, a) to (p1, b), at p; p0 < p1, and all values are >= 0.
int Line(int a, int b, int p0, int p1, int p, int step) {
    const std::int64_t num = std::int64_t{a} * (p1 - p) + std::int64_t{b} * (p - p0);
    return RoundToStep(num, p1 - p0, step);
}

bool InterpolateRows(Region& g, const std::array<int, MapColumns>& x) {
    const MapSelection& s = g.S;
    if (s.Columns() < 2)
        return false;
    const int x0 = x[static_cast<std::size_t>(s.Col0)];
    const int x1 = x[static_cast<std::size_t>(s.Col1)];
    for (int r = s.Row0; r <= s.Row1; ++r)
        for (int c = s.Col0 + 1; c < s.Col1; ++c)
            g.Set(r, c,
                  Line(g.OldAt(r, s.Col0), g.OldAt(r, s.Col1), x0, x1, x[static_cast<std::size_t>(c)],
                       g.Range.Step));
    return true;
}

bool InterpolateColumns(Region& g) {
    const MapSelection& s = g.S;
    if (s.Rows() < 2 || s.IsAxis())
        return false;
    const int y0 = TpRows[static_cast<std::size_t>(s.Row0)];
    const int y1 = TpRows[static_cast<std::size_t>(s.Row1)];
    for (int c = s.Col0; c <= s.Col1; ++c)
        for (int r = s.Row0 + 1; r < s.Row1; ++r)
            g.Set(r, c,
                  Line(g.OldAt(s.Row0, c), g.OldAt(s.Row1, c), y0, y1, TpRows[static_cast<std::size_t>(r)],
                       g.Range.Step));
    return true;
}

bool InterpolateCorners(Region& g, const std::array<int, MapColumns>& x) {
    const MapSelection& s = g.S;
    if (s.Rows() < 2)
        return InterpolateRows(g, x);
    if (s.Columns() < 2)
        return InterpolateColumns(g);
    const std::int64_t x0 = x[static_cast<std::size_t>(s.Col0)], x1 = x[static_cast<std::size_t>(s.Col1)];
    const std::int64_t y0 = TpRows[static_cast<std::size_t>(s.Row0)],
                       y1 = TpRows[static_cast<std::size_t>(s.Row1)];
    const std::int64_t a = g.OldAt(s.Row0, s.Col0), b = g.OldAt(s.Row0, s.Col1);
    const std::int64_t c = g.OldAt(s.Row1, s.Col0), d = g.OldAt(s.Row1, s.Col1);
    for (int r = s.Row0; r <= s.Row1; ++r) {
        const std::int64_t y = TpRows[static_cast<std::size_t>(r)];
        for (int col = s.Col0; col <= s.Col1; ++col) {
            const bool corner = (r == s.Row0 || r == s.Row1) && (col == s.Col0 || col == s.Col1);
            if (corner)
                continue;
            const std::int64_t px = x[static_cast<std::size_t>(col)];
            const std::int64_t num = a * (x1 - px) * (y1 - y) + b * (px - x0) * (y1 - y) +
                                     c * (x1 - px) * (y - y0) + d * (px - x0) * (y - y0);
            g.Set(r, col, RoundToStep(num, (x1 - x0) * (y1 - y0), g.Range.Step));
        }
    }
    return true;
}

void Smooth(Region& g) {
    const MapSelection& s = g.S;
    s.ForEachCell([&](int r, int c) {
        std::int64_t sum = g.OldAt(r, c);
        int count = 1;
        const int neighbours[4][2] = {{r, c - 1}, {r, c + 1}, {r - 1, c}, {r + 1, c}};
        for (const auto& n : neighbours) {
            if (s.Contains(n[0], n[1])) {
                sum += g.OldAt(n[0], n[1]);
                ++count;
            }
        }
        g.Set(r, c, RoundToStep(sum, count, g.Range.Step));
    });
}

} // namespace

EditorRange SelectionRange(const DeviceImage& image, int servo, const MapSelection& selection) {
    if (selection.IsAxis())
        return RpmRange;
    return MapRange(ValidServo(servo) && PerCent(image, servo));
}

int ShownValue(const DeviceImage& image, int servo, int row, int column) {
    if (row == AxisRow)
        return ClampToRange(RpmToDisplay(image.RpmAxis(servo, column)), RpmRange);
    const bool perCent = PerCent(image, servo);
    return ClampToRange(MapCellToDisplay(image.MapCell(servo, row, column), perCent), MapRange(perCent));
}

std::optional<double> EffectiveArgument(MapOperation op, double argument, const EditorRange& range) {
    if (!std::isfinite(argument))
        return std::nullopt;
    switch (op) {
    case MapOperation::SetValue:
        return CutToStep(argument, range);
    case MapOperation::Add: {
        // More than the whole range moves every cell to an end anyway.
        const double span = range.Max - range.Min;
        const double held = argument > span ? span : (argument < -span ? -span : argument);
        return std::trunc(held / range.Step) * range.Step;
    }
    default:
        return argument;
    }
}

bool ApplyMapOperation(DeviceImage& image, int servo, const MapSelection& selection, bool tpEnabled,
                       MapOperation op, double argument) {
    if (!ValidServo(servo))
        return false;
    const MapSelection s = ClipToShown(selection, tpEnabled);
    if (s.IsEmpty())
        return false;
    Region g(image, servo, s);
    const std::optional<double> entered = EffectiveArgument(op, argument, g.Range);
    if (!entered)
        return false;

    switch (op) {
    case MapOperation::SetValue:
        s.ForEachCell([&](int r, int c) { g.Set(r, c, static_cast<int>(*entered)); });
        break;
    case MapOperation::Add:
        s.ForEachCell([&](int r, int c) { g.Set(r, c, Clamp(g.OldAt(r, c) + *entered, g.Range)); });
        break;
    case MapOperation::ScalePercent:
        s.ForEachCell(
            [&](int r, int c) { g.Set(r, c, NearestStep(g.OldAt(r, c) * *entered / 100.0, g.Range)); });
        break;
    case MapOperation::InterpolateRpm:
        if (!InterpolateRows(g, ColumnPositions(image, servo, s)))
            return false;
        break;
    case MapOperation::InterpolateThrottle:
        if (!InterpolateColumns(g))
            return false;
        break;
    case MapOperation::InterpolateCorners:
        if (!InterpolateCorners(g, ColumnPositions(image, servo, s)))
            return false;
        break;
    case MapOperation::Smooth:
        Smooth(g);
        break;
    }
    return g.Store(image, servo);
}

} // namespace zevo
