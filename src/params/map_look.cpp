#include "params/map_look.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "params/conversions.h"

namespace zevo {

namespace {

double LinearOf(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The 256 values once: every painted cell asks for its text colour on every tick, and pow() with a
// fractional power is slow on some processors (three quarters of a tick with the whole map selected).
double Linear(std::uint8_t channel) {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int c = 0; c < 256; ++c)
            values[static_cast<std::size_t>(c)] = LinearOf(c);
        return values;
    }();
    return table[channel];
}

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// Cividis at nine even steps.
constexpr std::array<Rgb, 9> Cividis = {{
    {0, 34, 78},
    {18, 53, 112},
    {59, 73, 108},
    {87, 93, 109},
    {112, 113, 115},
    {138, 135, 121},
    {166, 157, 117},
    {197, 182, 102},
    {254, 232, 56},
}};

// The share of lime the trail gives a cell at each strength: the cell just left is tinted most, but
// never so far that it is taken for the live cell.
constexpr double TrailTintAtFull = 0.6;

} // namespace

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.R) + 0.7152 * Linear(colour.G) + 0.0722 * Linear(colour.B);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableText(Rgb background) {
    return ContrastRatio(Black, background) >= ContrastRatio(White, background) ? Black : White;
}

Rgb Mix(Rgb from, Rgb to, double amount) {
    const double t = std::clamp(amount, 0.0, 1.0);
    auto mix = [t](std::uint8_t a, std::uint8_t b) { return Channel(a + (b - a) * t); };
    return {mix(from.R, to.R), mix(from.G, to.G), mix(from.B, to.B)};
}

Rgb SubduedText(Rgb text, Rgb background) {
    constexpr double Needed = 4.5;
    // Text that does not read even at full strength is left as it is.
    if (ContrastRatio(text, background) <= Needed)
        return text;
    Rgb best = text;
    for (double t = 0.05; t <= 0.7; t += 0.05) {
        const Rgb grey = Mix(text, background, t);
        if (ContrastRatio(grey, background) < Needed + 0.1)
            break;
        best = grey;
    }
    return best;
}

Rgb ValueScale(double position) {
    const double p = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    const double scaled = p * static_cast<double>(Cividis.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(scaled), Cividis.size() - 2);
    return Mix(Cividis[low], Cividis[low + 1], scaled - static_cast<double>(low));
}

ValueSpan ShownMapSpan(const DeviceImage& image, int servo) {
    const bool perCent = image.PerCentMode(servo) != 0;
    const int rows = image.TpEnable(servo) != 0 ? MapRows : 1;
    ValueSpan span{MapCellToDisplay(image.MapCell(servo, 0, 0), perCent), 0};
    span.Max = span.Min;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < MapColumns; ++c) {
            const int v = MapCellToDisplay(image.MapCell(servo, r, c), perCent);
            span.Min = std::min(span.Min, v);
            span.Max = std::max(span.Max, v);
        }
    }
    return span;
}

double SpanPosition(int value, ValueSpan span) {
    if (span.Max <= span.Min)
        return 0.5;
    return std::clamp(static_cast<double>(value - span.Min) / (span.Max - span.Min), 0.0, 1.0);
}

std::array<std::array<std::uint16_t, MapColumns>, MapRows> LiveTrail::Fresh() {
    std::array<std::array<std::uint16_t, MapColumns>, MapRows> age{};
    for (auto& row : age)
        row.fill(Never);
    return age;
}

void LiveTrail::Tick(std::optional<std::pair<int, int>> live) {
    for (auto& row : Age) {
        for (auto& age : row) {
            if (age < Never)
                ++age;
        }
    }
    if (live && live->first >= 0 && live->first < MapRows && live->second >= 0 && live->second < MapColumns)
        Age[static_cast<std::size_t>(live->first)][static_cast<std::size_t>(live->second)] = 0;
}

void LiveTrail::Clear() {
    Age = Fresh();
}

int LiveTrail::TicksSince(int row, int column) const {
    if (row < 0 || row >= MapRows || column < 0 || column >= MapColumns)
        return Never;
    return Age[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int LiveTrail::Strength(int row, int column) const {
    const int age = TicksSince(row, column);
    if (age > SpanTicks)
        return 0;
    // Full strength right after the engine left, one step less every SpanTicks / Steps ticks.
    return Steps - age * Steps / (SpanTicks + 1);
}

CellColours ComposeCell(const CellLayers& layers) {
    if (layers.Live)
        return {LiveLime, ReadableText(LiveLime)};
    std::optional<Rgb> painted;
    if (layers.Selected)
        painted = SelectedBlue;
    else if (layers.Differs)
        painted = DifferencePink;
    else if (layers.Value)
        painted = layers.Value;
    // A selection is what the next key acts on: it stays plainly blue, the trail passes under it.
    if (layers.Trail > 0 && !layers.Selected) {
        const double tint = TrailTintAtFull * std::min(layers.Trail, LiveTrail::Steps) / LiveTrail::Steps;
        painted = Mix(painted.value_or(layers.Plain), LiveLime, tint);
    }
    if (!painted)
        return {layers.Plain, std::nullopt};
    return {*painted, ReadableText(*painted)};
}

} // namespace zevo
