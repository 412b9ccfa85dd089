#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "link/frame.h"

namespace zevo {
namespace {

std::uint8_t XorOfAll(const Frame& f) {
    std::uint8_t x = 0;
    for (std::uint8_t b : f)
        x ^= b;
    return x;
}

TEST(Frame, StatusRequestIsTheUnitsFixedFrame) {
    const Frame f = MakeFrame(StatusRequestCode);
    EXPECT_EQ(f[0], 0x30);
    for (int i = 1; i <= 50; ++i)
        EXPECT_EQ(f[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(f[51], 0xCF);
}

TEST(Frame, EveryBuiltFrameXorsTo0xFF) {
    struct Case {
        std::uint8_t Code;
        std::vector<std::uint8_t> Payload;
    };
    std::vector<std::uint8_t> full(50);
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<std::uint8_t>(37 * i + 11);
    const std::vector<Case> cases = {
        {0x00, {}}, {0x47, {}}, {0x07, full}, {0xFF, std::vector<std::uint8_t>(50, 0xFF)}, {0x41, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        const Frame f = MakeFrame(c.Code, c.Payload);
        EXPECT_EQ(XorOfAll(f), 0xFF) << int(c.Code);
        EXPECT_TRUE(CheckByteValid(f));
        EXPECT_EQ(f[0], c.Code);
    }
}

TEST(Frame, ShortPayloadIsZeroFilledAndLongPayloadIsCutAtFifty) {
    const Frame shortFrame = MakeFrame(0x41, std::vector<std::uint8_t>{9, 8, 7});
    EXPECT_EQ(shortFrame[1], 9);
    EXPECT_EQ(shortFrame[3], 7);
    EXPECT_EQ(shortFrame[4], 0);
    EXPECT_EQ(shortFrame[50], 0);

    std::vector<std::uint8_t> tooLong(60, 0x55);
    tooLong[50] = 0xAA; // the 51st byte must not reach the check byte's place
    const Frame longFrame = MakeFrame(0x01, tooLong);
    EXPECT_EQ(longFrame[50], 0x55);
    EXPECT_TRUE(CheckByteValid(longFrame));
}

TEST(Frame, AnySingleBitFlipIsCaught) {
    std::vector<std::uint8_t> payload(50);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i * 5);
    const Frame good = MakeFrame(0x83, payload);
    for (std::size_t byte = 0; byte < FrameSize; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Frame bad = good;
            bad[byte] = static_cast<std::uint8_t>(bad[byte] ^ (1u << bit));
            EXPECT_FALSE(CheckByteValid(bad)) << byte << "/" << bit;
        }
    }
}

} // namespace
} // namespace zevo
