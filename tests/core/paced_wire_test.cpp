// The simulated serial wire: bytes at the line's rate, and the USB adapter's latency timer.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "paced_wire.h"

namespace zevo::sim {
namespace {

std::vector<std::uint8_t> Frame52() {
    std::vector<std::uint8_t> bytes(52);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

TEST(PacedWire, AFrameTakesItsBitTimesAndTheAdapterHandsItOnInChunks) {
    struct Case {
        const char* Name;
        int Baud, LatencyMs;
        std::int64_t TakenAtUs;
        std::size_t Bytes; // handed over by then
    };
    // 52 bytes at 57600 baud: 52 x 173.6 µs = 9.03 ms on the wire.
    const Case cases[] = {
        {"no wire: at once", 0, 0, 0, 52},
        {"first byte after one byte time", 57600, 0, 174, 1},
        {"not before its ten bits", 57600, 0, 173, 0},
        {"half the frame after 4.5 ms", 57600, 0, 4514, 26},
        {"all of it after 9.03 ms", 57600, 0, 9028, 52},
        {"one byte short before that", 57600, 0, 9027, 51},
        {"latency 16 ms: nothing before the timer runs out", 57600, 16, 15999, 0},
        {"latency 16 ms: the whole frame at 16 ms", 57600, 16, 16000, 52},
        {"latency 1 ms: the bytes of the first millisecond", 57600, 1, 1000, 5},
        {"9600 baud: 1.04 ms a byte", 9600, 0, 10417, 10},
    };
    for (const Case& c : cases) {
        PacedWire wire(c.Baud, c.LatencyMs);
        wire.Send(Frame52(), 0);
        const std::vector<std::uint8_t> got = wire.Take(c.TakenAtUs);
        EXPECT_EQ(got.size(), c.Bytes) << c.Name;
        // Whatever arrived is the frame's head, in order; the rest follows later, none lost.
        const std::vector<std::uint8_t> all = Frame52();
        EXPECT_TRUE(std::equal(got.begin(), got.end(), all.begin())) << c.Name;
        std::vector<std::uint8_t> rest = wire.Take(1'000'000);
        EXPECT_EQ(got.size() + rest.size(), 52u) << c.Name;
        EXPECT_TRUE(wire.Empty());
    }
}

TEST(PacedWire, BytesSentWhileTheWireIsBusyQueueBehind) {
    PacedWire wire(57600, 0);
    wire.Send(Frame52(), 0);
    wire.Send(Frame52(), 1000); // the first frame is still going out
    EXPECT_EQ(wire.Take(9028).size(), 52u);
    EXPECT_EQ(wire.Take(18055).size(), 51u) << "the second frame starts when the first has gone";
    ASSERT_TRUE(wire.NextHandOverUs().has_value());
    EXPECT_EQ(*wire.NextHandOverUs(), 18056);
    // A send after a quiet time starts then, not at the end of the old traffic.
    PacedWire quiet(57600, 0);
    quiet.Send(Frame52(), 0);
    quiet.Take(100'000);
    quiet.Send(std::vector<std::uint8_t>{7}, 50'000);
    EXPECT_EQ(*quiet.NextHandOverUs(), 50'174);
}

} // namespace
} // namespace zevo::sim
