// The servo page's colours: the value scale, text that reads on every background, the engine's
// trail, how the layers combine, the curves of a map and the View menu's settings.
#include "params/map_look.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/view_settings.h"
#include "params/servo_curves.h"

namespace zevo {
namespace {

double Distance(Rgb a, Rgb b) {
    const double r = a.R - b.R, g = a.G - b.G, bl = a.B - b.B;
    return std::sqrt(r * r + g * g + bl * bl);
}

// The design's backgrounds and the window's own palettes, light and dark.
const Rgb DesignColours[] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0}, {255, 0, 255},
                             {58, 110, 165}, SelectedBlue, White, Black, {239, 239, 239}, {42, 42, 42}};

TEST(ValueScale, RunsFromDarkBlueToYellowGettingLighterAllTheWay) {
    EXPECT_EQ(ValueScale(0.0), (Rgb{0, 34, 78}));
    EXPECT_EQ(ValueScale(1.0), (Rgb{254, 232, 56}));
    EXPECT_EQ(ValueScale(-3.0), ValueScale(0.0)) << "clamped below";
    EXPECT_EQ(ValueScale(7.0), ValueScale(1.0)) << "clamped above";
    EXPECT_EQ(ValueScale(std::numeric_limits<double>::quiet_NaN()), ValueScale(0.0));
    // Even lightness is what makes the scale read in greyscale and to colour-blind eyes: every step
    // up the scale is lighter than the one before.
    double previous = -1;
    for (int i = 0; i <= 100; ++i) {
        const double luminance = RelativeLuminance(ValueScale(i / 100.0));
        EXPECT_GT(luminance, previous) << "step " << i;
        previous = luminance;
    }
}

TEST(ValueScale, LiveCellTrailAndSelectionStandOutOnEveryPartOfIt) {
    for (int i = 0; i <= 100; ++i) {
        const Rgb value = ValueScale(i / 100.0);
        EXPECT_GT(Distance(value, LiveLime), 150) << "step " << i;
        EXPECT_GT(Distance(value, SelectedBlue), 60) << "step " << i;
        for (int strength = 1; strength <= LiveTrail::Steps; ++strength) {
            const Rgb trail = ComposeCell({White, value, strength, false, false}).Background;
            EXPECT_GT(Distance(trail, LiveLime), 60) << "a trail cell is never taken for the live cell";
            EXPECT_NE(trail, value) << "even the faintest trail shows";
        }
    }
}

TEST(Contrast, TextReadsOnEveryBackgroundTheWindowSets) {
    EXPECT_NEAR(ContrastRatio(Black, White), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(White, White), 1.0, 1e-9);
    const struct {
        Rgb Background;
        Rgb Text;
    } cases[] = {{White, Black}, {Black, White}, {{255, 0, 0}, Black}, {{0, 255, 0}, Black},
                 {{255, 255, 0}, Black}, {{0, 34, 78}, White}, {{42, 42, 42}, White}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadableText(c.Background), c.Text);
    for (int i = 0; i <= 255; ++i) {
        const Rgb grey{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
        EXPECT_GE(ContrastRatio(ReadableText(grey), grey), 4.5) << "grey " << i;
        EXPECT_GE(ContrastRatio(ReadableText(ValueScale(i / 255.0)), ValueScale(i / 255.0)), 4.5);
    }
    for (const Rgb colour : DesignColours)
        EXPECT_GE(ContrastRatio(ReadableText(colour), colour), 4.5);
}

TEST(Contrast, SubduedTextLooksOlderButStaysReadable) {
    const struct {
        Rgb Text;
        Rgb Background;
    } cases[] = {{Black, White},       {White, Black},        {{240, 240, 240}, {42, 42, 42}},
                 {Black, {255, 0, 0}}, {Black, {255, 255, 0}}, {Black, {239, 239, 239}}};
    for (const auto& c : cases) {
        const Rgb grey = SubduedText(c.Text, c.Background);
        EXPECT_NE(grey, c.Text) << "no change to see";
        EXPECT_LT(ContrastRatio(grey, c.Background), ContrastRatio(c.Text, c.Background));
        EXPECT_GE(ContrastRatio(grey, c.Background), 4.5);
    }
    // Text that does not read even at full strength is not made worse.
    const Rgb poor{150, 150, 150};
    EXPECT_EQ(SubduedText(poor, White), poor);
}

DeviceImage MapOf(int servo, bool tpEnabled, bool perCent) {
    DeviceImage image;
    image.TpEnable(servo) = tpEnabled ? 1 : 0;
    image.PerCentMode(servo) = perCent ? 1 : 0;
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c)
            image.MapCell(servo, r, c) = 50;
    return image;
}

TEST(ValueSpan, IsTheShownMapsRangeInDisplayUnits) {
    DeviceImage image = MapOf(1, true, false);
    EXPECT_EQ(SpanPosition(1000, ShownMapSpan(image, 1)), 0.5) << "a flat map sits in the middle";
    image.MapCell(1, 0, 3) = 10;   // 200 mV
    image.MapCell(1, 9, 14) = 210; // 4200 mV
    const ValueSpan span = ShownMapSpan(image, 1);
    EXPECT_EQ(span.Min, 200);
    EXPECT_EQ(span.Max, 4200);
    const struct {
        int Value;
        double Position;
    } cases[] = {{200, 0.0}, {4200, 1.0}, {2200, 0.5}, {1200, 0.25}, {0, 0.0}, {5000, 1.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(SpanPosition(c.Value, span), c.Position) << c.Value;

    // Per cent: the same bytes read as per cent, one per step.
    image.PerCentMode(1) = 1;
    EXPECT_EQ(ShownMapSpan(image, 1).Min, 10);
    EXPECT_EQ(ShownMapSpan(image, 1).Max, 210);
    // Without TP Enable only row 0 is shown, and only it sets the range.
    image.TpEnable(1) = 0;
    EXPECT_EQ(ShownMapSpan(image, 1).Min, 10);
    EXPECT_EQ(ShownMapSpan(image, 1).Max, 50);
    // The other servo's map plays no part.
    EXPECT_EQ(ShownMapSpan(image, 0).Min, ShownMapSpan(image, 0).Max);
}

TEST(LiveTrail, CellsFadeOverThreeSecondsOfTicks) {
    LiveTrail trail;
    EXPECT_EQ(trail.Strength(0, 0), 0) << "nowhere yet";
    // The engine climbs through three cells of row 2, a tick in each, then sits in the third.
    trail.Tick(std::make_pair(2, 4));
    trail.Tick(std::make_pair(2, 5));
    trail.Tick(std::make_pair(2, 6));
    EXPECT_EQ(trail.TicksSince(2, 4), 2);
    EXPECT_EQ(trail.TicksSince(2, 6), 0);
    EXPECT_EQ(trail.Strength(2, 6), LiveTrail::Steps);
    EXPECT_GE(trail.Strength(2, 5), trail.Strength(2, 4));
    int previous = trail.Strength(2, 4);
    int steps = 0;
    for (int tick = 3; tick <= LiveTrail::SpanTicks + 1; ++tick) {
        trail.Tick(std::make_pair(2, 6));
        const int now = trail.Strength(2, 4);
        EXPECT_LE(now, previous) << "never brighter with age";
        steps += now != previous ? 1 : 0;
        previous = now;
    }
    EXPECT_EQ(trail.Strength(2, 4), 0) << "gone after three seconds";
    EXPECT_GT(trail.Strength(2, 5), 0) << "one tick younger";
    EXPECT_LE(steps, LiveTrail::Steps) << "it fades in a few steps, not every tick";
    EXPECT_EQ(trail.Strength(2, 6), LiveTrail::Steps);

    // Ticks with the engine nowhere known age everything and add nothing.
    for (int tick = 0; tick < 70000; ++tick)
        trail.Tick(std::nullopt);
    EXPECT_EQ(trail.Strength(2, 6), 0) << "the age saturates instead of wrapping round";
    trail.Tick(std::make_pair(MapRows, 0));
    trail.Tick(std::make_pair(0, -1));
    EXPECT_EQ(trail.Strength(MapRows, 0), 0) << "a cell off the map is ignored";

    trail.Tick(std::make_pair(1, 1));
    trail.Clear();
    EXPECT_EQ(trail.Strength(1, 1), 0);
}

TEST(ComposeCell, LayersFromPlainToLive) {
    const Rgb plain = White;
    const Rgb value = ValueScale(0.1);
    const struct {
        CellLayers Layers;
        Rgb Background;
    } cases[] = {
        {{plain, std::nullopt, 0, false, false}, plain},
        {{plain, value, 0, false, false}, value},
        {{plain, value, 0, true, false}, SelectedBlue},
        {{plain, value, LiveTrail::Steps, true, true}, LiveLime},
        {{plain, std::nullopt, 0, false, true}, LiveLime},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeCell(c.Layers).Background, c.Background);
    EXPECT_FALSE(ComposeCell({plain, std::nullopt, 0, false, false}).Text) << "the palette's own text";
    EXPECT_EQ(ComposeCell({plain, value, 0, false, false}).Text, White) << "light digits on dark blue";

    // The trail tints what lies under it, more for the cell just left; a selection stays plainly blue.
    const Rgb faint = ComposeCell({plain, value, 1, false, false}).Background;
    const Rgb strong = ComposeCell({plain, value, LiveTrail::Steps, false, false}).Background;
    EXPECT_NE(faint, value);
    EXPECT_LT(Distance(strong, LiveLime), Distance(faint, LiveLime));
    for (int strength = 1; strength <= LiveTrail::Steps; ++strength)
        EXPECT_EQ(ComposeCell({plain, value, strength, true, false}).Background, SelectedBlue) << strength;
}

TEST(ServoCurves, OneCurvePerShownRowOverTheRealAxis) {
    DeviceImage image = MapOf(0, true, false);
    for (int c = 0; c < MapColumns; ++c)
        image.RpmAxis(0, c) = static_cast<std::uint8_t>(10 + c * c); // uneven spacing
    image.MapCell(0, 4, 2) = 77;
    ServoCurves curves = CurvesOf(image, 0, std::nullopt, std::nullopt);
    ASSERT_EQ(curves.Rows.size(), 10u);
    EXPECT_EQ(curves.Rows[4].TpPercent, 20);
    ASSERT_EQ(curves.Rows[4].Points.size(), 15u);
    EXPECT_EQ(curves.Rows[4].Points[2], (CurvePoint{1400, 1540}));
    EXPECT_EQ(curves.Rows[4].Points[14].Rpm, 100 * (10 + 14 * 14));
    EXPECT_FALSE(curves.Live);

    // The selection: its cells in shown rows only, the axis line none; the live point takes the
    // engine's speed and the target of its cell.
    image.TpEnable(0) = 0;
    image.PerCentMode(0) = 1;
    curves = CurvesOf(image, 0, MapSelection::Spanning(0, 1, 3, 2), LivePoint{5230, 0, 2});
    ASSERT_EQ(curves.Rows.size(), 1u) << "row 0 alone without TP Enable";
    EXPECT_TRUE(curves.PerCent);
    EXPECT_EQ(curves.Selected.size(), 2u);
    EXPECT_EQ(curves.Live, (CurvePoint{5230, 50}));
    EXPECT_TRUE(CurvesOf(image, 0, MapSelection::WholeAxis(), std::nullopt).Selected.empty());
    EXPECT_TRUE(CurvesOf(image, 0, MapSelection::Single(0, 3), std::nullopt).Selected.empty())
        << "one cell is only the focused field";
    EXPECT_FALSE(CurvesOf(image, 0, std::nullopt, LivePoint{5230, 4, 2}).Live) << "a hidden row";
}

TEST(ServoCurves, TheLivePointSitsOnItsRowsCurve) {
    // The unit interpolates between axis points: axis 0, 1000, 2000 ... RPM, row 0 rising by
    // 20 mV steps of 10 per point (2000, 2200, 2400 ... mV).
    DeviceImage image = MapOf(0, false, false);
    for (int c = 0; c < MapColumns; ++c) {
        image.RpmAxis(0, c) = static_cast<std::uint8_t>(10 * c);
        image.MapCell(0, 0, c) = static_cast<std::uint8_t>(100 + 10 * c);
    }
    const struct {
        int Rpm;
        int Target;
    } cases[] = {{0, 2000}, {1000, 2200}, {1400, 2280}, {2500, 2500}, {13999, 4800}, {14000, 4800}, {20000, 4800}};
    for (const auto& c : cases) {
        const ServoCurves curves = CurvesOf(image, 0, std::nullopt, LivePoint{c.Rpm, 0, 1});
        ASSERT_TRUE(curves.Live) << c.Rpm;
        EXPECT_EQ(*curves.Live, (CurvePoint{c.Rpm, c.Target})) << c.Rpm;
    }
}

TEST(ViewSettings, KeptInASectionOfTheirOwn) {
    EXPECT_EQ(ReadViewSettings(IniFile()), ViewSettings{}) << "defaults: the design's look";
    EXPECT_FALSE(ViewSettings{}.ColourByValue);
    EXPECT_FALSE(ViewSettings{}.Trail);

    IniFile ini = IniFile::Parse("[FORM_HLAV]\nLanguage=1\n\n[VIEW]\nFuture=7\nTrail=1\n");
    WriteViewSettings(ini, {true, false, true});
    const IniFile again = IniFile::Parse(ini.Serialize());
    EXPECT_EQ(ReadViewSettings(again), (ViewSettings{true, false, true}));
    EXPECT_EQ(again.ReadInteger("VIEW", "Future", 0), 7) << "an unknown key stays";
    EXPECT_EQ(again.ReadInteger("FORM_HLAV", "Language", 0), 1);

    const struct {
        const char* Text;
        ViewSettings Expected;
    } cases[] = {{"[VIEW]\nColourByValue=5\nTrail=0\n", {true, false, false}},
                 {"[VIEW]\nColourByValue=yes\nTrail=\nServoCurves=-1\n", {false, false, true}},
                 {"[view]\nTrail=0\n", {false, false, false}}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadViewSettings(IniFile::Parse(c.Text)), c.Expected) << c.Text;
}

} // namespace
} // namespace zevo
