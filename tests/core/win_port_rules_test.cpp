// The Windows serial port's names, the words for a port that will not open, and the port list from
// the registry: plain rules, run on every platform and under Wine.
#include <gtest/gtest.h>

#include "link/win_port_rules.h"

namespace zevo {
namespace {

TEST(WinPortRules, EveryNumberIsTheSystemsOwnCom) {
    EXPECT_EQ(WinComPath(1), "\\\\.\\COM1");
    EXPECT_EQ(WinComPath(21), "\\\\.\\COM21"); // two digits need the device form
}

TEST(WinPortRules, AnOpenFailureIsSaidInWordsTheUserCanActOn) {
    const std::string inUse = "The serial port is in use by another program; close it there, and the tool "
                              "takes the port by itself.";
    struct Case {
        std::uint32_t Code;
        std::string System;
        std::string Said;
    };
    const Case cases[] = {
        {2, "The system cannot find the file specified.\r\n", "No serial port is present for COM7."},
        {3, "The system cannot find the path specified.\r\n", "No serial port is present for COM7."},
        {5, "Access is denied.\r\n", inUse},
        {32, "The process cannot access the file because it is being used by another process.\r\n", inUse},
        {31, "A device attached to the system is not functioning.\r\n",
         "A device attached to the system is not functioning."},
        {1450, "", "COM7 cannot be opened (system error 1450)."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WinOpenFailure(c.Code, 7, c.System), c.Said) << c.Code;
}

TEST(WinPortRules, OnlyErrorsOfAPortThatWentAwayCloseIt) {
    for (const std::uint32_t gone : {5u, 6u, 22u, 31u, 55u, 433u, 995u, 1167u, 1617u})
        EXPECT_TRUE(WinPortGone(gone)) << gone;
    for (const std::uint32_t passing : {0u, 87u, 121u, 1117u})
        EXPECT_FALSE(WinPortGone(passing)) << passing;
}

TEST(WinPortRules, ComNumbersAreReadStrictly) {
    const std::pair<const char*, int> cases[] = {
        {"COM1", 1}, {"com12", 12}, {"Com21", 21}, {"COM123", 123}, {"COM", 0}, {"COM0", 0},
        {"COM07", 0}, {"COM1a", 0}, {"CNCA0", 0}, {"LPT1", 0}, {"COM1234", 0}, {"", 0},
    };
    for (const auto& [name, number] : cases)
        EXPECT_EQ(ComNumberOf(name), number) << name;
}

TEST(WinPortRules, TheRegistryListBecomesThePortsInComOrder) {
    const std::vector<SerialCommEntry> entries = {
        {"\\Device\\VCP0", "COM12"},
        {"\\Device\\Serial0", "COM1"},
        {"\\Device\\com0com10", "CNCA0"}, // a name the tool cannot choose
        {"\\Device\\Serial1", "COM1"},    // listed twice: once is enough
        {"\\Device\\VCP1", "COM22"},      // beyond the menu's numbers
        {"\\Device\\Silabser0", "COM3"},
    };
    const std::map<std::string, std::string> friendly = {{"COM12", "USB Serial Port (COM12)"}, {"COM3", ""}};
    const std::vector<PortDescription> ports = DescribeWinPorts(entries, friendly);
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].Number, 1);
    EXPECT_EQ(ports[0].Path, "\\\\.\\COM1");
    EXPECT_EQ(ports[0].Description, "\\Device\\Serial0");
    EXPECT_EQ(ports[1].Number, 3);
    EXPECT_EQ(ports[1].Description, "\\Device\\Silabser0") << "an empty friendly name is none";
    EXPECT_EQ(ports[2].Number, 12);
    EXPECT_EQ(ports[2].Description, "USB Serial Port (COM12)");
    for (const PortDescription& port : ports) {
        EXPECT_TRUE(port.Present);
        EXPECT_FALSE(port.Pinned);
    }
    EXPECT_TRUE(DescribeWinPorts({}, {}).empty());
}

} // namespace
} // namespace zevo
