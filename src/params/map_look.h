#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "params/device_image.h"
#include "params/map_selection.h"

namespace zevo {

// The colours of the servo page's fields, worked out without any toolkit: the value scale, the
// engine's trail, the selection and the live cell, and a text colour that reads on each.

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb LiveLime{0, 255, 0};
// Selected cells: a pale blue under the digits, far from the engine's lime and from the value scale.
inline constexpr Rgb SelectedBlue{198, 219, 247};
// Cells that differ from the set compared with: pink, unlike the lime, the blue and the value scale.
inline constexpr Rgb DifferencePink{255, 150, 200};

// Relative luminance and contrast ratio as the accessibility guidelines define them (1 to 21).
double RelativeLuminance(Rgb colour);
double ContrastRatio(Rgb a, Rgb b);
// Black or white, whichever reads better on `background`; at least 4.58:1 on any colour.
Rgb ReadableText(Rgb background);
// `from` moved towards `to` by `amount` (0: from, 1: to).
Rgb Mix(Rgb from, Rgb to, double amount);
// A greyed `text` for values that are no longer current: as far towards `background` as still
// keeps 4.5:1 on it, so it looks old but stays readable.
Rgb SubduedText(Rgb text, Rgb background);

// The value scale: dark blue through grey to yellow (cividis), even in lightness, so it reads the
// same to the common colour-blind eyes and in greyscale; it holds no green, so the lime live cell and
// the trail stand out on every part of it. `position` 0..1, clamped.
Rgb ValueScale(double position);

// The shown part of a map in display units (mV or %), and where a value sits in it. A flat map sits
// in the middle of the scale.
struct ValueSpan {
    int Min = 0;
    int Max = 0;
};
ValueSpan ShownMapSpan(const DeviceImage& image, int servo);
double SpanPosition(int value, ValueSpan span);

// Where the engine ran in the last seconds: for each cell, how many ticks ago it was last there.
class LiveTrail {
public:
    // The trail covers three seconds of the window's 55 ms tick.
    static constexpr int SpanTicks = 3000 / 55;
    // The fading is shown in a few steps, so a cell is repainted a few times as it fades, not every tick.
    static constexpr int Steps = 6;

    // One tick: the engine runs in `live` (row, column), or is not known to run anywhere.
    void Tick(std::optional<std::pair<int, int>> live);
    void Clear();
    // 0 for a cell the engine has not been in during the span, else Steps (just left) down to 1.
    int Strength(int row, int column) const;
    int TicksSince(int row, int column) const;

private:
    static constexpr std::uint16_t Never = 0xFFFF;
    std::array<std::array<std::uint16_t, MapColumns>, MapRows> Age = Fresh();
    static std::array<std::array<std::uint16_t, MapColumns>, MapRows> Fresh();
};

// What decides one field's look, from the bottom layer to the top.
struct CellLayers {
    Rgb Plain;                 // the field's own background (the palette's)
    std::optional<Rgb> Value;  // the value scale's colour, when colours by value are on
    int Trail = 0;             // LiveTrail::Strength, 0 when the trail is off
    bool Selected = false;
    bool Live = false;
    bool Differs = false;      // marked by the difference view
};
struct CellColours {
    Rgb Background;
    // Empty: the palette's own text colour on its own background.
    std::optional<Rgb> Text;
    friend bool operator==(const CellColours&, const CellColours&) = default;
};
// The live cell is lime over everything; the selection covers the difference mark, which covers the
// value colour; the trail tints what is not selected towards lime, most for the cell just left.
CellColours ComposeCell(const CellLayers& layers);

} // namespace zevo
