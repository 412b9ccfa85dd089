#include "params/editing_tools.h"

#include <gtest/gtest.h>

namespace zevo {
namespace {

TEST(EditingTools, OneStepStaysInsideTheUnitsRange) {
    struct Row {
        bool perCent;
        int before;
        int direction;
        int after;
    };
    const Row rows[] = {
        {false, 100, StepUp, 101}, {false, 249, StepUp, 249},   {false, 250, StepUp, 250},
        {false, 250, StepDown, 249}, {false, 0, StepDown, 0},   {false, 1, StepDown, 0},
        {true, 99, StepUp, 100},   {true, 100, StepUp, 100},    {true, 102, StepUp, 102},
        {true, 102, StepDown, 101}, {true, 0, StepDown, 0},
    };
    for (const Row& row : rows) {
        DeviceImage image;
        image.PerCentMode(1) = row.perCent ? 1 : 0;
        image.MapCell(1, 7) = static_cast<std::uint8_t>(row.before);
        StepCell(image, 1, 7, row.direction);
        EXPECT_EQ(image.MapCell(1, 7), row.after) << row.perCent << " " << row.before << " " << row.direction;
    }
}

TEST(EditingTools, AllStepsOnlyTheRowsInUse) {
    for (bool tpEnabled : {false, true}) {
        DeviceImage image;
        StepMapTool(image, 0, StepUp, /*allCells=*/true, tpEnabled, 3, 4);
        for (int k = 0; k < MapCells; ++k)
            EXPECT_EQ(image.MapCell(0, k), (k < 15 || tpEnabled) ? 1 : 0) << k;
        for (int k = 0; k < MapCells; ++k)
            EXPECT_EQ(image.MapCell(1, k), 0) << "the other servo is not touched";
    }
}

TEST(EditingTools, LiveCellAloneWithoutAll) {
    DeviceImage image;
    StepMapTool(image, 1, StepUp, false, true, 2, 9);
    for (int k = 0; k < MapCells; ++k)
        EXPECT_EQ(image.MapCell(1, k), k == 2 * 15 + 9 ? 1 : 0);
}

TEST(EditingTools, ColumnSpinStepsTheWholeColumn) {
    DeviceImage image;
    for (int k = 0; k < MapCells; ++k)
        image.MapCell(0, k) = 10;
    image.MapCell(0, 63) = 0;
    StepColumn(image, 0, 3, StepDown);
    for (int k = 0; k < MapCells; ++k) {
        const bool inColumn = k % 15 == 3;
        EXPECT_EQ(image.MapCell(0, k), k == 63 ? 0 : (inColumn ? 9 : 10)) << k;
    }
}

TEST(EditingTools, CalibrationCaptureWindows) {
    struct Row {
        int millivolts;
        bool takes0;
        int tps0;
        bool takes100;
        int tps100;
    };
    const Row rows[] = {
        {299, false, 48, false, 197}, {300, true, 30, false, 197},   {2500, true, 250, true, 0},
        {2501, false, 48, true, 0},   {4900, false, 48, true, 240},  {4901, false, 48, false, 197},
        {0, false, 48, false, 197},
    };
    for (const Row& row : rows) {
        DeviceImage image;
        image.Tps0() = 48;
        image.Tps100() = 197;
        EXPECT_EQ(CaptureTps0(image, row.millivolts), row.takes0) << row.millivolts;
        EXPECT_EQ(image.Tps0(), row.tps0) << row.millivolts;
        EXPECT_EQ(CaptureTps100(image, row.millivolts), row.takes100) << row.millivolts;
        EXPECT_EQ(image.Tps100(), row.tps100) << row.millivolts;
    }
}

TEST(EditingTools, PerCentRoundTrips) {
    struct Row {
        int millivoltCell;
        int perCent;
        int back;
    };
    const Row rows[] = {{100, 40, 100}, {101, 40, 100}, {0, 0, 0}, {249, 100, 250}, {250, 100, 250}, {255, 102, 250}};
    for (const Row& row : rows) {
        DeviceImage image;
        image.MapCell(0, 5) = static_cast<std::uint8_t>(row.millivoltCell);
        EXPECT_TRUE(SwitchPerCentMode(image, 0, true));
        EXPECT_EQ(image.PerCentMode(0), 1);
        EXPECT_EQ(image.MapCell(0, 5), row.perCent) << row.millivoltCell;
        EXPECT_TRUE(SwitchPerCentMode(image, 0, false));
        EXPECT_EQ(image.MapCell(0, 5), row.back) << row.millivoltCell;
    }
}

TEST(EditingTools, PerCentBoxAgreeingWithTheUnitConvertsNothing) {
    DeviceImage image;
    image.MapCell(1, 0) = 120;
    EXPECT_FALSE(SwitchPerCentMode(image, 1, false));
    EXPECT_EQ(image.MapCell(1, 0), 120);
    image.PerCentMode(1) = 5;
    EXPECT_FALSE(SwitchPerCentMode(image, 1, true));
    EXPECT_EQ(image.MapCell(1, 0), 120);
}

} // namespace
} // namespace zevo
