// Which cell the engine is in: the nearest axis point and throttle row, the throttle sensor's error,
// and where the reading comes from (the unit, a silent unit, a replay).
#include <gtest/gtest.h>

#include "link/engine_position.h"
#include "log/log_format.h"

namespace zevo {
namespace {

TEST(EngineCell, ColumnIsTheNearestAxisPointTiesGoUp) {
    std::array<std::uint8_t, RpmPoints> even{};
    for (int i = 0; i < RpmPoints; ++i)
        even[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(10 * i); // 0, 1000, 2000 .. 14000 RPM
    std::array<std::uint8_t, RpmPoints> uneven = {5, 8, 20, 21, 22, 60, 61, 62, 63, 64, 65, 66, 67, 68, 250};
    struct Case {
        const std::array<std::uint8_t, RpmPoints>* Axis;
        int Rpm;
        int Column;
    };
    const Case cases[] = {
        {&even, 0, 0},      {&even, 499, 0},    {&even, 500, 1},      {&even, 1499, 1},
        {&even, 1500, 2},   {&even, 13500, 14}, {&even, 65535, 14},   {&uneven, 0, 0},
        {&uneven, 649, 0},  {&uneven, 650, 1},  {&uneven, 1399, 1},   {&uneven, 1400, 2},
        {&uneven, 4099, 4}, {&uneven, 4100, 5}, {&uneven, 15899, 13}, {&uneven, 15900, 14},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EngineCellFor({c.Rpm, 0, 0}, *c.Axis, true).Column, c.Column) << c.Rpm;
}

TEST(EngineCell, RowIsTheNearestThrottleRowTiesGoUpAndAnErrorIsTheTopRow) {
    const std::array<std::uint8_t, RpmPoints> axis{};
    struct Case {
        int Percent;
        bool Enabled;
        int Row;
        bool Error;
    };
    const Case cases[] = {
        {0, true, 0, false},   {1, true, 1, false},   {3, true, 1, false},   {4, true, 2, false},
        {45, true, 6, false},  {50, true, 7, false},  {90, true, 9, false},  {89, true, 8, false},
        {100, true, 9, false}, {101, true, 9, true},  {255, true, 9, true},  {90, false, 0, false},
        // A map that ignores the throttle has one row, and an error of the sensor changes nothing.
        {101, false, 0, false},
    };
    for (const Case& c : cases) {
        const EngineCell cell = EngineCellFor({0, c.Percent, 0}, axis, c.Enabled);
        EXPECT_EQ(cell.Row, c.Row) << c.Percent << " " << c.Enabled;
        EXPECT_EQ(cell.ThrottleError, c.Error) << c.Percent << " " << c.Enabled;
    }
}

TEST(EngineCell, AReplayedRowWithoutAThrottleIsAnError) {
    LogRow row;
    row.Rpm = 3000;
    row.TpValid = false;
    row.TpMv = 4990;
    EXPECT_EQ(ReadingOf(row), (EngineReading{3000, 255, 4990}));
    row.TpValid = true;
    row.TpPercent = 45;
    EXPECT_EQ(ReadingOf(row), (EngineReading{3000, 45, 4990}));
}

TEST(EngineCell, OnEachServosOwnAxisAndThrottleSwitch) {
    DeviceImage image;
    SetDefaults(image);
    for (int c = 0; c < RpmPoints; ++c) {
        image.RpmAxis(0, c) = static_cast<std::uint8_t>(10 * c);      // servo 1: 1000 RPM apart
        image.RpmAxis(1, c) = static_cast<std::uint8_t>(10 + 5 * c); // servo 2: from 1000, 500 apart
    }
    image.TpEnable(0) = 1;
    image.TpEnable(1) = 0;
    const EngineReading r{3000, 45, 2300};
    EXPECT_EQ(EngineCellOn(image, 0, r), (EngineCell{6, 3, false}));
    EXPECT_EQ(EngineCellOn(image, 1, r), (EngineCell{0, 4, false}));
}

// Each step feeds the position; the reading in force and the marked cell follow.
TEST(EnginePosition, OneReadingInForceFromStartThroughSilenceAndReplay) {
    DeviceImage image;
    SetDefaults(image);
    for (int c = 0; c < RpmPoints; ++c)
        image.RpmAxis(0, c) = static_cast<std::uint8_t>(10 * c);
    image.TpEnable(0) = 1;
    enum class Step { Start, Unit, Silent, Back, Replay, EndReplay };
    struct Case {
        Step Do;
        EngineReading Reading; // for Unit and Replay
        EngineReading InForce;
        bool FromReplay;
        bool Stale;
        EngineCell Cell;
    };
    const EngineReading idle{1000, 0, 480}, cruise{4000, 45, 2300}, log{7000, 100, 4500}, fault{2000, 200, 4990};
    const Case cases[] = {
        // Before the first frame: the design's zeros, the first cell marked, nothing fresh.
        {Step::Start, {}, {}, false, true, {0, 0, false}},
        {Step::Unit, idle, idle, false, false, {0, 1, false}},
        {Step::Unit, cruise, cruise, false, false, {6, 4, false}},
        // Silent: the last cell stays, marked as stale.
        {Step::Silent, {}, cruise, false, true, {6, 4, false}},
        {Step::Back, {}, cruise, false, false, {6, 4, false}},
        // A replay takes over; the unit's frames go on behind it.
        {Step::Replay, log, log, true, false, {9, 7, false}},
        {Step::Unit, idle, log, true, false, {9, 7, false}},
        {Step::Silent, {}, log, true, false, {9, 7, false}},
        {Step::Replay, fault, fault, true, false, {9, 2, true}},
        // The replay ends: the unit's last reading again, still silent.
        {Step::EndReplay, {}, idle, false, true, {0, 1, false}},
        {Step::Unit, fault, fault, false, false, {9, 2, true}},
    };
    EnginePosition position;
    int n = 0;
    for (const Case& c : cases) {
        switch (c.Do) {
        case Step::Start:
            break;
        case Step::Unit:
            position.UnitReading(c.Reading);
            break;
        case Step::Silent:
            position.UnitSilent(true);
            break;
        case Step::Back:
            position.UnitSilent(false);
            break;
        case Step::Replay:
            position.ReplayReading(c.Reading);
            break;
        case Step::EndReplay:
            position.EndReplay();
            break;
        }
        ++n;
        EXPECT_EQ(position.Reading(), c.InForce) << "step " << n;
        EXPECT_EQ(position.FromReplay(), c.FromReplay) << "step " << n;
        EXPECT_EQ(position.Stale(), c.Stale) << "step " << n;
        EXPECT_EQ(position.CellOn(image, 0), c.Cell) << "step " << n;
    }
}

} // namespace
} // namespace zevo
