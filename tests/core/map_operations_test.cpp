#include "params/map_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zevo {
namespace {

// Servo 0 with the default axis (0, 1000, 2000, 3000, 4000, 6000, ... RPM) and every map cell at
// `shown` in the servo's unit; servo 1 holds a pattern no operation on servo 0 may touch.
DeviceImage Image(bool perCent, int shown) {
    DeviceImage image;
    image.PerCentMode(0) = perCent ? 1 : 0;
    SetDefaults(image);
    for (int k = 0; k < MapCells; ++k) {
        image.MapCell(0, k) = MapCellFromDisplay(shown, perCent);
        image.MapCell(1, k) = static_cast<std::uint8_t>(k);
    }
    return image;
}

void ExpectOtherServoUntouched(const DeviceImage& image, const DeviceImage& before) {
    for (int k = 0; k < MapCells; ++k)
        ASSERT_EQ(image.MapCell(1, k), before.MapCell(1, k)) << k;
    for (int p = 0; p < RpmPoints; ++p)
        ASSERT_EQ(image.RpmAxis(1, p), before.RpmAxis(1, p)) << p;
}

TEST(MapOperations, ArgumentOperationsRoundAndClampInDisplayUnits) {
    struct Row {
        bool perCent;
        int before; // shown value of the cell
        MapOperation op;
        double argument;
        int after;
    };
    using Op = MapOperation;
    const Row rows[] = {
        {false, 2000, Op::SetValue, 2610, 2600}, // cut down to the step, as a typed value
        {false, 2000, Op::SetValue, 2619.9, 2600},
        {false, 2000, Op::SetValue, 6000, 5000}, // held to 5000 mV
        {false, 2000, Op::SetValue, -5, 0},
        {false, 2600, Op::Add, 30, 2620}, // the amount cut towards zero to whole steps
        {false, 2600, Op::Add, -30, 2580},
        {false, 2600, Op::Add, 19, 2600},
        {false, 4960, Op::Add, 100, 5000}, // clamped at the top
        {false, 2000, Op::Add, -3000, 0},  // and at 0
        {false, 2000, Op::Add, 1e300, 5000},
        {false, 2600, Op::ScalePercent, 105, 2740}, // 2730 is half way: rounded up
        {false, 2620, Op::ScalePercent, 50, 1320},  // 1310 likewise
        {false, 2600, Op::ScalePercent, 100, 2600},
        {false, 3000, Op::ScalePercent, 200, 5000},
        {false, 3000, Op::ScalePercent, -10, 0},
        {true, 40, Op::SetValue, 55.7, 55},
        {true, 40, Op::SetValue, 250, 100}, // held to 100 %
        {true, 40, Op::Add, 1.9, 41},
        {true, 41, Op::ScalePercent, 150, 62}, // 61.5 rounded up
        {true, 100, Op::ScalePercent, 101, 100},
    };
    for (const Row& row : rows) {
        DeviceImage image = Image(row.perCent, row.before);
        const DeviceImage before = image;
        const bool changed =
            ApplyMapOperation(image, 0, MapSelection{2, 3, 4, 5}, true, row.op, row.argument);
        EXPECT_EQ(changed, row.after != row.before) << row.before << " " << row.argument;
        for (int k = 0; k < MapCells; ++k) {
            const bool selected = MapSelection{2, 3, 4, 5}.Contains(k / 15, k % 15);
            EXPECT_EQ(ShownValue(image, 0, k / 15, k % 15), selected ? row.after : row.before)
                << "op " << static_cast<int>(row.op) << " " << row.argument << " cell " << k;
        }
        ExpectOtherServoUntouched(image, before);
    }
}

TEST(MapOperations, RefusesWhatCannotBeApplied) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        int servo;
        MapSelection selection;
        bool tpEnabled;
        MapOperation op;
        double argument;
    };
    const Row rows[] = {
        {0, {0, 0, 1, 1}, true, MapOperation::SetValue, nan},
        {0, {0, 0, 1, 1}, true, MapOperation::Add, inf},
        {0, {0, 0, 1, 1}, true, MapOperation::ScalePercent, -inf},
        {2, {0, 0, 1, 1}, true, MapOperation::SetValue, 100}, // no such servo
        {-1, {0, 0, 1, 1}, true, MapOperation::SetValue, 100},
        {0, {3, 0, 9, 14}, false, MapOperation::SetValue, 100},          // hidden rows only
        {0, {0, 4, 9, 4}, true, MapOperation::InterpolateRpm, 0},        // one column
        {0, {5, 0, 5, 14}, true, MapOperation::InterpolateThrottle, 0},  // one row
        {0, {0, 0, 9, 14}, false, MapOperation::InterpolateThrottle, 0}, // one row once clipped
        {0, {5, 5, 5, 5}, true, MapOperation::InterpolateCorners, 0},
        {0, {AxisRow, 0, AxisRow, 14}, true, MapOperation::InterpolateThrottle, 0},
    };
    for (const Row& row : rows) {
        DeviceImage image = Image(false, 2000);
        image.MapCell(0, 0, 0) = 0;
        image.MapCell(0, 9, 14) = 250;
        const DeviceImage before = image;
        EXPECT_FALSE(ApplyMapOperation(image, row.servo, row.selection, row.tpEnabled, row.op, row.argument))
            << static_cast<int>(row.op);
        EXPECT_EQ(image, before) << static_cast<int>(row.op);
    }
}

TEST(MapOperations, HiddenRowsAreNeverTouched) {
    for (MapOperation op :
         {MapOperation::SetValue, MapOperation::Add, MapOperation::ScalePercent, MapOperation::InterpolateRpm,
          MapOperation::InterpolateCorners, MapOperation::Smooth}) {
        DeviceImage image = Image(false, 2000);
        image.MapCell(0, 0, 14) = 200;
        const DeviceImage before = image;
        EXPECT_TRUE(ApplyMapOperation(image, 0, MapSelection::Spanning(0, 0, 9, 14), false, op, 140));
        for (int k = MapColumns; k < MapCells; ++k)
            ASSERT_EQ(image.MapCell(0, k), before.MapCell(0, k)) << static_cast<int>(op) << " cell " << k;
        for (int p = 0; p < RpmPoints; ++p)
            ASSERT_EQ(image.RpmAxis(0, p), before.RpmAxis(0, p));
        ExpectOtherServoUntouched(image, before);
    }
}

// One map row between two end values; the columns stand for the RPM of the default axis.
TEST(MapOperations, InterpolateAcrossRpmKeepsEndsAndFollowsTheAxis) {
    struct Row {
        const char* what;
        bool perCent;
        int col0, col1;
        int first, last;       // shown values of the end cells
        std::vector<int> axis; // replacement axis bytes from col0, if any
        std::vector<int> expected;
    };
    const Row rows[] = {
        // 0..4000 RPM evenly: 2025, 2050, 2075 go to the nearest 20 mV, halves up.
        {"even mV", false, 0, 4, 2000, 2100, {}, {2000, 2020, 2060, 2080, 2100}},
        // 3000, 4000, 6000 RPM: 4000 is a third of the way, not half.
        {"by RPM", false, 3, 5, 2000, 2600, {}, {2000, 2200, 2600}},
        // An axis that does not rise (before ValidateBlock) spaces the columns evenly.
        {"flat axis", false, 3, 5, 2000, 2600, {30, 30, 30}, {2000, 2300, 2600}},
        {"falling", false, 0, 3, 3000, 0, {}, {3000, 2000, 1000, 0}},
        {"per cent", true, 0, 2, 0, 5, {}, {0, 3, 5}}, // 2.5 rounded up
    };
    for (const Row& row : rows) {
        DeviceImage image = Image(row.perCent, 0);
        for (std::size_t i = 0; i < row.axis.size(); ++i)
            image.RpmAxis(0, row.col0 + static_cast<int>(i)) = static_cast<std::uint8_t>(row.axis[i]);
        for (int r = 0; r < MapRows; ++r) {
            image.MapCell(0, r, row.col0) = MapCellFromDisplay(row.first, row.perCent);
            image.MapCell(0, r, row.col1) = MapCellFromDisplay(row.last, row.perCent);
        }
        const DeviceImage before = image;
        ApplyMapOperation(image, 0, MapSelection{1, row.col0, 8, row.col1}, true,
                          MapOperation::InterpolateRpm);
        for (int r = 0; r < MapRows; ++r)
            for (int c = row.col0; c <= row.col1; ++c) {
                const bool selectedRow = r >= 1 && r <= 8;
                const int expected = selectedRow ? row.expected[static_cast<std::size_t>(c - row.col0)]
                                                 : ShownValue(before, 0, r, c);
                EXPECT_EQ(ShownValue(image, 0, r, c), expected) << row.what << " row " << r << " col " << c;
            }
    }
}

TEST(MapOperations, InterpolationEndsKeepTheirBytesExactly) {
    // A byte beyond the field's range is shown as 5000 mV; as an end it stays as it was.
    DeviceImage image = Image(false, 0);
    image.MapCell(0, 0, 0) = 255;
    image.MapCell(0, 0, 4) = 0;
    ApplyMapOperation(image, 0, MapSelection{0, 0, 0, 4}, true, MapOperation::InterpolateRpm);
    EXPECT_EQ(image.MapCell(0, 0, 0), 255);
    EXPECT_EQ(image.MapCell(0, 0, 4), 0);
    EXPECT_EQ(ShownValue(image, 0, 0, 2), 2500);
}

TEST(MapOperations, InterpolateAcrossThrottleFollowsTheRowPerCent) {
    DeviceImage image = Image(false, 0);
    image.MapCell(0, 9, 6) = 250; // 100 % throttle: 5000 mV
    EXPECT_TRUE(
        ApplyMapOperation(image, 0, MapSelection{0, 6, 9, 6}, true, MapOperation::InterpolateThrottle));
    // 5000 mV x throttle per cent; 5 % is 250 mV, half way between steps, rounded up.
    const int expected[MapRows] = {0, 100, 260, 500, 1000, 1500, 2000, 3000, 4000, 5000};
    for (int r = 0; r < MapRows; ++r)
        EXPECT_EQ(ShownValue(image, 0, r, 6), expected[r]) << r;
}

TEST(MapOperations, InterpolateBetweenCorners) {
    DeviceImage image = Image(false, 2000);
    image.MapCell(0, 0, 0) = 0;   // 0 % at 0 RPM: 0 mV
    image.MapCell(0, 0, 4) = 100; // 0 % at 4000 RPM: 2000 mV
    image.MapCell(0, 9, 0) = 50;  // 100 % at 0 RPM: 1000 mV
    image.MapCell(0, 9, 4) = 250; // 100 % at 4000 RPM: 5000 mV
    EXPECT_TRUE(
        ApplyMapOperation(image, 0, MapSelection{0, 0, 9, 4}, true, MapOperation::InterpolateCorners));
    struct Row {
        int row, col, shown;
    };
    const Row rows[] = {
        {0, 0, 0},    {0, 4, 2000}, {9, 0, 1000}, {9, 4, 5000}, // corners stay
        {0, 2, 1000}, {9, 2, 3000},                             // edges: straight lines between corners
        {5, 0, 300},                                            // 30 % of the way from 0 to 1000
        {5, 2, 1600},                                           // 0.35 x 2000 + 0.15 x 1000 + 0.15 x 5000
    };
    for (const Row& row : rows)
        EXPECT_EQ(ShownValue(image, 0, row.row, row.col), row.shown) << row.row << "," << row.col;
    EXPECT_EQ(ShownValue(image, 0, 5, 5), 2000) << "outside the selection";

    // One row: the corners coincide in pairs, and it is the interpolation across RPM.
    DeviceImage one = Image(false, 2000), rpm = Image(false, 2000);
    one.MapCell(0, 3, 0) = rpm.MapCell(0, 3, 0) = 0;
    ApplyMapOperation(one, 0, MapSelection{3, 0, 3, 6}, true, MapOperation::InterpolateCorners);
    ApplyMapOperation(rpm, 0, MapSelection{3, 0, 3, 6}, true, MapOperation::InterpolateRpm);
    EXPECT_EQ(one, rpm);
}

TEST(MapOperations, SmoothAveragesSelectedNeighboursOnly) {
    // One row: 1000, 2000, 4000 with a 5000 beside it outside the selection.
    DeviceImage image = Image(false, 5000);
    image.MapCell(0, 0, 0) = 50;
    image.MapCell(0, 0, 1) = 100;
    image.MapCell(0, 0, 2) = 200;
    EXPECT_TRUE(ApplyMapOperation(image, 0, MapSelection{0, 0, 0, 2}, true, MapOperation::Smooth));
    EXPECT_EQ(ShownValue(image, 0, 0, 0), 1500);
    EXPECT_EQ(ShownValue(image, 0, 0, 1), 2340); // 2333 to the nearest 20 mV
    EXPECT_EQ(ShownValue(image, 0, 0, 2), 3000); // the 5000 outside does not pull
    EXPECT_EQ(ShownValue(image, 0, 0, 3), 5000);

    // A peak in a 3 x 3 block, from the values before the step.
    DeviceImage peak = Image(false, 1000);
    peak.MapCell(0, 4, 4) = 100;
    EXPECT_TRUE(ApplyMapOperation(peak, 0, MapSelection{3, 3, 5, 5}, true, MapOperation::Smooth));
    EXPECT_EQ(ShownValue(peak, 0, 4, 4), 1200); // (2000 + 4 x 1000) / 5
    EXPECT_EQ(ShownValue(peak, 0, 3, 4), 1260); // (2000 + 3 x 1000) / 4 = 1250, half way: up
    EXPECT_EQ(ShownValue(peak, 0, 3, 3), 1000); // a corner sees no peak
    EXPECT_EQ(ShownValue(peak, 0, 2, 4), 1000); // outside
}

TEST(MapOperations, AxisRowInRpm) {
    DeviceImage image = Image(false, 2000);
    image.RpmAxis(0, 14) = 140;
    EXPECT_TRUE(ApplyMapOperation(image, 0, MapSelection::WholeAxis(), false, MapOperation::InterpolateRpm));
    for (int p = 0; p < RpmPoints; ++p)
        EXPECT_EQ(image.RpmAxis(0, p), 10 * p) << p;

    EXPECT_TRUE(ApplyMapOperation(image, 0, MapSelection{AxisRow, 13, AxisRow, 14}, false,
                                  MapOperation::SetValue, 30050));
    EXPECT_EQ(image.RpmAxis(0, 13), 250); // held to 25000 RPM; ValidateBlock sorts the axis out later
    EXPECT_EQ(image.RpmAxis(0, 14), 250);
    EXPECT_TRUE(
        ApplyMapOperation(image, 0, MapSelection{AxisRow, 1, AxisRow, 1}, false, MapOperation::Add, -150));
    EXPECT_EQ(image.RpmAxis(0, 1), 9); // 1000 - 100: the amount cut to whole 100 RPM steps
    for (int k = 0; k < MapCells; ++k)
        ASSERT_EQ(ShownValue(image, 0, k / 15, k % 15), 2000) << "the map is not the axis";
}

TEST(MapOperations, EffectiveArgumentTellsWhatIsStored) {
    struct Row {
        MapOperation op;
        double entered;
        EditorRange range;
        double stored;
    };
    const Row rows[] = {
        {MapOperation::SetValue, 2610, MapMillivoltRange, 2600},
        {MapOperation::SetValue, 9999, MapMillivoltRange, 5000},
        {MapOperation::SetValue, 99.9, MapPerCentRange, 99},
        {MapOperation::Add, -30, MapMillivoltRange, -20},
        {MapOperation::Add, -1e12, MapMillivoltRange, -5000},
        {MapOperation::Add, 250, RpmRange, 200},
        {MapOperation::ScalePercent, 33.3, MapMillivoltRange, 33.3},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EffectiveArgument(row.op, row.entered, row.range), row.stored) << row.entered;
    EXPECT_FALSE(EffectiveArgument(MapOperation::Add, std::nan(""), MapMillivoltRange));
}

} // namespace
} // namespace zevo
