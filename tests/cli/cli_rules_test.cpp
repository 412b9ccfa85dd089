// zevo-cli's plain rules: which command lines are accepted, and how a difference between a file's
// set and the unit's is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_report.h"

namespace zevo::cli {
namespace {

struct ParseCase {
    const char* Name;
    std::vector<std::string> Args;
    bool Accepted;
    std::string ErrorPart; // when refused
};

TEST(CliArguments, AcceptedAndRefusedCommandLines) {
    const ParseCase cases[] = {
        {"status alone", {"status"}, true, ""},
        {"status with everything", {"status", "--port", "COM3", "--count", "5", "--csv"}, true, ""},
        {"bare COM number", {"status", "--port", "20"}, true, ""},
        {"device path", {"read", "--port", "/dev/ttyUSB0", "x.ign"}, true, ""},
        {"read with image after file", {"read", "out.ign", "--image", "out.img"}, true, ""},
        {"help of a command skips checks", {"read", "--help"}, true, ""},
        {"help with a bad option", {"program", "--bogus", "--help"}, true, ""},
        {"version alone", {"--version"}, true, ""},
        {"version is no command option", {"status", "--version"}, false, "unknown option '--version'"},
        {"no command", {}, false, "no command"},
        {"unknown command", {"flash"}, false, "unknown command 'flash'"},
        {"unknown option", {"status", "--bogus"}, false, "unknown option '--bogus' for status"},
        {"option of another command",
         {"verify", "--csv", "a.ign"},
         false,
         "unknown option '--csv' for verify"},
        {"missing value", {"status", "--count"}, false, "needs a value"},
        {"zero count", {"status", "--count", "0"}, false, "no frame count"},
        {"count with garbage", {"status", "--count", "5x"}, false, "no frame count"},
        {"COM number out of range", {"status", "--port", "COM21"}, false, "is no port"},
        {"number zero", {"status", "--port", "0"}, false, "is no port"},
        {"read without file", {"read"}, false, "file (.ign) is needed"},
        {"verify with two files", {"verify", "a.ign", "b.ign"}, false, "more than one file"},
        {"ports with a file", {"ports", "x"}, false, "unexpected argument 'x'"},
    };
    for (const ParseCase& c : cases) {
        const ParseResult r = ParseArguments(c.Args);
        EXPECT_EQ(r.Parsed.has_value(), c.Accepted) << c.Name << ": " << r.Error;
        if (!c.Accepted) {
            EXPECT_NE(r.Error.find(c.ErrorPart), std::string::npos) << c.Name << ": " << r.Error;
        }
    }
}

TEST(CliDifferences, EachFieldNamedInTheUnitsTheEditorShows) {
    struct Case {
        const char* Name;
        void (*Change)(DeviceImage&);
        std::string Line;
    };
    const Case cases[] = {
        {"map cell in mV", [](DeviceImage& d) { d.MapCell(0, 4, 6) = 129; },
         "servo 1 map, TP 20%, 6500 RPM: file 2580 mV, unit 2600 mV"},
        {"map cell in per cent",
         [](DeviceImage& d) {
             d.PerCentMode(1) = 1;
             d.MapCell(1, 9, 14) = 40;
         },
         "servo 2 map unit: file per cent, unit mV"},
        {"RPM point", [](DeviceImage& d) { d.RpmAxis(1, 14) = 121; },
         "servo 2 RPM axis, point 15: file 12100 RPM, unit 12000 RPM"},
        {"TP calibration at 100%", [](DeviceImage& d) { d.Tps100() = 200; },
         "TP sensor at 100%: file 4500 mV, unit 4470 mV"},
        {"hysteresis", [](DeviceImage& d) { d.HysteresisRpm(0) = 30; },
         "servo 1 RPM hysteresis: file 150 RPM, unit 100 RPM"},
        {"switch", [](DeviceImage& d) { d.ServoEnable(1) = 0; }, "servo 2 enabled: file off, unit on"},
    };
    DeviceImage unit;
    SetDefaults(unit);
    for (const Case& c : cases) {
        DeviceImage file = unit;
        c.Change(file);
        const std::vector<std::string> lines = ListDifferences(file, unit);
        ASSERT_FALSE(lines.empty()) << c.Name;
        EXPECT_EQ(lines.front(), c.Line) << c.Name;
    }

    // A switch byte of 2 is as much "on" as 1; the unit reads any non-zero so.
    DeviceImage two = unit;
    two.TpEnable(0) = unit.TpEnable(0) != 0 ? 2 : 0;
    EXPECT_TRUE(ListDifferences(two, unit).empty());
    // Both servos in per cent: the same cell differs by value, in per cent.
    DeviceImage a = unit, b = unit;
    a.PerCentMode(0) = b.PerCentMode(0) = 1;
    a.MapCell(0, 0, 0) = 41;
    b.MapCell(0, 0, 0) = 40;
    const std::vector<std::string> perCent = ListDifferences(a, b);
    ASSERT_EQ(perCent.size(), 1u);
    EXPECT_EQ(perCent[0], "servo 1 map, TP 0%, 0 RPM: file 41%, unit 40%");
}

TEST(CliStatus, TpFaultInTheTextForm) {
    StatusFrame s;
    s.Rpm = 6500;
    s.TpPercent = 101;
    EXPECT_NE(FormatStatus(s, "T").find("TP error %"), std::string::npos) << FormatStatus(s, "T");
    s.TpPercent = 100;
    EXPECT_NE(FormatStatus(s, "T").find("TP   100 %"), std::string::npos);
}

} // namespace
} // namespace zevo::cli
