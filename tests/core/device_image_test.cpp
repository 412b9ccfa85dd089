#include "params/device_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zevo {
namespace {

std::vector<int> Axis(const DeviceImage& image, int servo) {
    std::vector<int> points;
    for (int i = 0; i < RpmPoints; ++i)
        points.push_back(image.RpmAxis(servo, i));
    return points;
}

TEST(DeviceImageLayout, FieldsSitAtTheirImageBytes) {
    DeviceImage image;
    struct Row {
        std::uint8_t& field;
        int imageByte;
    };
    const std::vector<Row> rows = {
        {image.HysteresisMv(0), 50},     {image.HysteresisMv(1), 51},      {image.HysteresisRpm(0), 52},
        {image.HysteresisRpm(1), 53},    {image.ServoEnable(0), 54},       {image.ServoEnable(1), 55},
        {image.TpEnable(0), 56},         {image.TpEnable(1), 57},          {image.Tps0(), 58},
        {image.Tps100(), 59},            {image.PulsesPerRevIndex(), 60},  {image.PerCentMode(0), 65},
        {image.PerCentMode(1), 66},      {image.RpmAxis(0, 0), 70},        {image.RpmAxis(0, 14), 84},
        {image.RpmAxis(1, 0), 85},       {image.RpmAxis(1, 14), 99},       {image.MapCell(0, 0, 0), 100},
        {image.MapCell(0, 3, 4), 149},   {image.MapCell(0, 3, 5), 150},    {image.MapCell(0, 9, 14), 249},
        {image.MapCell(1, 0, 0), 250},   {image.MapCell(1, 9, 14), 399},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        image.Bytes.fill(0);
        rows[i].field = static_cast<std::uint8_t>(100 + i);
        const auto hit = std::find(image.Bytes.begin(), image.Bytes.end(), 100 + i);
        ASSERT_NE(hit, image.Bytes.end());
        EXPECT_EQ(hit - image.Bytes.begin(), rows[i].imageByte) << "row " << i;
    }
}

TEST(DeviceImageLayout, PagesAreFiftyByteWindows) {
    DeviceImage image;
    for (int k = 0; k < PageCount; ++k)
        image.Page(k)[0] = static_cast<std::uint8_t>(k + 1);
    for (int k = 0; k < PageCount; ++k)
        EXPECT_EQ(image.Bytes[static_cast<std::size_t>(50 * k)], k + 1);
    // Servo 1's map fills pages 2..4 and servo 2's pages 5..7.
    EXPECT_EQ(&image.MapCell(0, 50), &image.Page(3)[0]);
    EXPECT_EQ(&image.MapCell(1, 100), &image.Page(7)[0]);
}

TEST(SetDefaults, MillivoltServosGetTheFactorySet) {
    DeviceImage image;
    SetDefaults(image);
    const std::vector<int> rpm = {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 120};
    for (int s = 0; s < ServoCount; ++s) {
        EXPECT_EQ(Axis(image, s), rpm);
        EXPECT_EQ(image.HysteresisMv(s), 80);
        EXPECT_EQ(image.HysteresisRpm(s), 20);
        EXPECT_EQ(image.ServoEnable(s), 1);
        for (int r = 0; r < MapRows; ++r) {
            for (int c = 0; c < MapColumns; ++c)
                ASSERT_EQ(image.MapCell(s, r, c), 100 + 5 * c) << s << " " << r << " " << c;
        }
    }
    EXPECT_EQ(image.PulsesPerRevIndex(), 1);
    EXPECT_EQ(image.Tps0(), 48);
    EXPECT_EQ(image.Tps100(), 197);
}

TEST(SetDefaults, ScalesEachMapByItsOwnUnitAndKeepsTheUntouchedBytes) {
    DeviceImage image;
    for (std::size_t i = 0; i < image.Bytes.size(); ++i)
        image.Bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    image.PerCentMode(0) = 1;
    image.PerCentMode(1) = 0;
    image.TpEnable(0) = 0;
    image.TpEnable(1) = 9;
    const DeviceImage before = image;
    SetDefaults(image);

    const std::vector<int> perCent = {40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 60, 62, 64, 66, 68};
    for (int r = 0; r < MapRows; ++r) {
        for (int c = 0; c < MapColumns; ++c) {
            EXPECT_EQ(image.MapCell(0, r, c), perCent[static_cast<std::size_t>(c)]);
            EXPECT_EQ(image.MapCell(1, r, c), 100 + 5 * c);
        }
    }
    // Identification page, TP switches, units and the unused bytes 11..14 and 17..19 stay.
    for (int b = 0; b < 50; ++b)
        EXPECT_EQ(image.Bytes[static_cast<std::size_t>(b)], before.Bytes[static_cast<std::size_t>(b)]);
    for (int b : {6, 7, 11, 12, 13, 14, 15, 16, 17, 18, 19})
        EXPECT_EQ(image.BlockByte(b), before.BlockByte(b)) << "block byte " << b;
}

struct AxisCase {
    const char* name;
    std::vector<int> in;
    std::vector<int> out;
};

class ValidateAxis : public ::testing::TestWithParam<AxisCase> {};

TEST_P(ValidateAxis, RepairsBothAxesTheSameWay) {
    const AxisCase& c = GetParam();
    DeviceImage image;
    for (int i = 0; i < RpmPoints; ++i) {
        image.RpmAxis(0, i) = static_cast<std::uint8_t>(c.in[static_cast<std::size_t>(i)]);
        image.RpmAxis(1, i) = static_cast<std::uint8_t>(c.in[static_cast<std::size_t>(i)]);
    }
    PortChoice ports;
    ValidateBlock(image, ports);
    EXPECT_EQ(Axis(image, 0), c.out);
    EXPECT_EQ(Axis(image, 1), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidateAxis,
    ::testing::Values(
        AxisCase{"zeros", std::vector<int>(15, 0), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        AxisCase{"all255",
                 std::vector<int>(15, 255),
                 {236, 237, 238, 239, 240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250}},
        AxisCase{"falling",
                 {50, 40, 30, 20, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
                 {50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64}},
        AxisCase{"firstPointTooHigh",
                 {240, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {236, 237, 238, 239, 240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250}},
        AxisCase{"defaultsUntouched",
                 {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 120},
                 {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 120}},
        AxisCase{"plateauCarriesForward",
                 {0, 10, 20, 20, 20, 21, 60, 65, 70, 75, 80, 85, 90, 100, 110},
                 {0, 10, 20, 21, 22, 23, 60, 65, 70, 75, 80, 85, 90, 100, 110}},
        AxisCase{"lastPointAbove250",
                 {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 252},
                 {0, 10, 20, 30, 40, 60, 65, 70, 75, 80, 85, 90, 100, 110, 250}}),
    [](const auto& info) { return info.param.name; });

TEST(ValidateBlock, TouchesNothingButTheAxesAndThePorts) {
    DeviceImage image;
    for (std::size_t i = 0; i < image.Bytes.size(); ++i)
        image.Bytes[i] = static_cast<std::uint8_t>(255 - i % 256);
    DeviceImage expected = image;
    PortChoice ports{20, 19};
    ValidateBlock(image, ports);
    for (int s = 0; s < ServoCount; ++s) {
        for (int i = 0; i < RpmPoints; ++i)
            expected.RpmAxis(s, i) = image.RpmAxis(s, i);
    }
    EXPECT_EQ(image, expected);
    EXPECT_EQ(ports.ComPortIndex, 20);
    EXPECT_EQ(ports.AutoPortNumber, 19);
}

TEST(ValidateBlock, ResetsPortIndexesThatNameNoPort) {
    struct Row {
        std::uint8_t comIn, autoIn, comOut, autoOut;
    };
    // ComPort 0 in the settings file arrives as 255, 22 as 21; ComPortAuto 21 arrives as 20.
    const Row rows[] = {{0, 0, 0, 0},   {19, 19, 19, 19}, {20, 20, 20, 0},
                        {21, 21, 0, 0}, {255, 255, 0, 0}, {20, 5, 20, 5}};
    for (const Row& r : rows) {
        DeviceImage image;
        PortChoice ports{r.comIn, r.autoIn};
        ValidateBlock(image, ports);
        EXPECT_EQ(ports.ComPortIndex, r.comOut) << int(r.comIn);
        EXPECT_EQ(ports.AutoPortNumber, r.autoOut) << int(r.autoIn);
    }
}

} // namespace
} // namespace zevo
