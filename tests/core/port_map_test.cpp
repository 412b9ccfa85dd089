#include "link/port_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ini_file.h"

namespace zevo {
namespace {

using Paths = std::vector<std::string>;

TEST(PortMap, PresentPortsInComOrder) {
    const struct {
        const char* what;
        Paths present;
        Paths expected;
    } cases[] = {
        {"nothing", {}, {}},
        {"numbers compare as numbers",
         {"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyUSB0"},
         {"/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10"}},
        {"USB adapters before built-in ports",
         {"/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyS10", "/dev/ttyUSB1", "/dev/ttyS2"},
         {"/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}},
        {"macOS call-out devices of USB adapters",
         {"/dev/cu.Bluetooth-Incoming-Port", "/dev/cu.usbserial-1420", "/dev/cu.usbmodem14101"},
         {"/dev/cu.usbmodem14101", "/dev/cu.usbserial-1420", "/dev/cu.Bluetooth-Incoming-Port"}},
        {"a device listed twice counts once", {"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/ttyUSB0"}},
        {"leading zeros do not reorder", {"/dev/ttyS010", "/dev/ttyS9"}, {"/dev/ttyS9", "/dev/ttyS010"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(OrderPorts(c.present), c.expected);
        Paths reversed(c.present.rbegin(), c.present.rend());
        EXPECT_EQ(OrderPorts(reversed), c.expected) << "the order does not depend on the listing";
    }
}

TEST(PortMap, ComNumbersWithAndWithoutPins) {
    const Paths present = {"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyACM0"};
    // COM order of these: ttyUSB0, ttyUSB1, ttyACM0, ttyS0.
    const struct {
        const char* what;
        PortPins pins;
        std::vector<std::string> com; // COM1, COM2, ... COM5
    } cases[] = {
        {"no pins", {}, {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS0", ""}},
        {"a pin to a device that is not listed (a pseudo-terminal)",
         {{3, "/tmp/zevo-unit"}},
         {"/dev/ttyUSB0", "/dev/ttyUSB1", "/tmp/zevo-unit", "/dev/ttyACM0", "/dev/ttyS0"}},
        {"a pinned present port is not counted again",
         {{1, "/dev/ttyS0"}},
         {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", ""}},
        {"pins beyond the present ports leave gaps empty",
         {{5, "/dev/ttyUSB1"}},
         {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "", "/dev/ttyUSB1"}},
        {"an empty pin pins nothing",
         {{1, ""}},
         {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS0", ""}},
        {"pins outside 1..21 are ignored",
         {{0, "/dev/ttyUSB0"}, {22, "/dev/ttyUSB1"}},
         {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS0", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(PortDevicePath(n, present, c.pins), c.com[static_cast<std::size_t>(n - 1)])
                << "COM" << n;
    }
}

TEST(PortMap, EveryPresentPortHasExactlyOneNumber) {
    Paths present;
    for (int i = 0; i < 25; ++i)
        present.push_back("/dev/ttyUSB" + std::to_string(i));
    const PortPins pins = {{2, "/dev/ttyUSB7"}, {4, "/dev/pts/3"}, {21, "/dev/ttyUSB0"}};
    std::vector<std::string> seen;
    for (int n = 1; n <= 21; ++n)
        seen.push_back(PortDevicePath(n, present, pins));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "no device behind two numbers";
    EXPECT_EQ(PortDevicePath(0, present, pins), "");
    EXPECT_EQ(PortDevicePath(22, present, pins), "");
    EXPECT_EQ(PortDevicePath(-1, present, pins), "");
}

TEST(PortMap, ShortNames) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/dev/ttyUSB0", "ttyUSB0"},
        {"/dev/pts/12", "12"},
        {"\\\\.\\COM3", "COM3"},
        {"COM7", "COM7"},
        {"/tmp/zevo/unit", "unit"},
        {"", ""},
        {"/dev/", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortPortName(c.path), c.name) << c.path;
}

TEST(PortMap, PinsFromThePortsSection) {
    const IniFile ini = IniFile::Parse("[BASIC]\nCOM1=/dev/wrong\n"
                                       "[ports]\n"
                                       "com3 = /dev/ttyUSB1 \n"
                                       "COM21=/tmp/zevo unit\n"
                                       "COM5=\n"
                                       "COM22=/dev/ttyS4\n"
                                       "COM0=/dev/ttyS5\n"
                                       "COMX=/dev/ttyS6\n");
    const PortPins expected = {{3, "/dev/ttyUSB1"}, {21, "/tmp/zevo unit"}};
    EXPECT_EQ(ReadPortPins(ini), expected);
    EXPECT_TRUE(ReadPortPins(IniFile::Parse("")).empty());
}

// What the port assignments write is what a fresh start reads, and nothing else in the file moves.
TEST(PortMap, WrittenPinsReadBackAndLeaveTheRestOfTheFile) {
    IniFile ini =
        IniFile::Parse("[FORM_HLAV]\nLeft=10\n[PORTS]\nCOM2=/dev/ttyUSB0\nCOM7=/dev/old\n; a remark\n");
    const PortPins pins = {{2, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"},
                           {4, "/tmp/zevo unit"},
                           {20, " /dev/ttyS0 "}}; // blanks kept by quoting
    WritePortPins(ini, pins);
    const IniFile back = IniFile::Parse(ini.Serialize());
    EXPECT_EQ(ReadPortPins(back), pins);
    EXPECT_EQ(back.ReadInteger("FORM_HLAV", "Left", 0), 10);
    EXPECT_NE(ini.Serialize().find("; a remark"), std::string::npos);
    EXPECT_EQ(ini.Serialize().find("COM3="), std::string::npos) << "no key for a number never pinned";
}

TEST(PortMap, OnlyPathsThatReadBackArePinned) {
    const struct {
        const char* Path;
        bool Stored;
    } cases[] = {
        {"/dev/ttyUSB0", true},
        {"/dev/serial/by-id/usb-Prolific_2303-if00", true},
        {"/tmp/a path with blanks", true},
        {" /dev/ttyS0", true}, // quoted on writing
        {"\"/dev/ttyS0\"", true},
        {"", false}, // quotes of its own survive too
        {"/dev/tty\nUSB0", false},
        {"/dev/tty\rS0", false},
        {"/dev/\ttab", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PinReadsBack(c.Path), c.Stored) << c.Path;
}

} // namespace
} // namespace zevo
