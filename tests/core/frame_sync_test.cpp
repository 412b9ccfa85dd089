// Frames put together across ticks from what a real or a noisy line delivers.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/frame_sync.h"

namespace zevo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A reply to "read page p" whose payload is `fill`, and a status frame whose payload is `fill`.
Frame Reply(int page, std::uint8_t fill) {
    const std::vector<std::uint8_t> payload(FramePayloadSize, fill);
    return MakeFrame(static_cast<std::uint8_t>(ReplyBit | ReadPageCode | page), payload);
}
Frame Status(std::uint8_t fill) {
    const std::vector<std::uint8_t> payload(FramePayloadSize, fill);
    return MakeFrame(StatusFrameCode, payload);
}

Bytes Of(const Frame& f, std::size_t from = 0, std::size_t to = FrameSize) {
    return Bytes(f.begin() + static_cast<std::ptrdiff_t>(from), f.begin() + static_cast<std::ptrdiff_t>(to));
}
Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
Frame Spoiled(Frame f) {
    f[FrameSize - 1] ^= 0x5A; // the check byte no longer fits
    return f;
}

TEST(FrameSync, WhatEachTickDeliversGivesTheRightFrames) {
    const Frame a = Status(0x11);
    const Frame b = Reply(3, 0x22);
    const Frame c = Reply(4, 0x84); // its payload is full of plausible frame starts
    struct Case {
        const char* Name;
        std::vector<Bytes> Ticks;               // bytes delivered in each tick; empty: a quiet tick
        std::vector<std::optional<Frame>> Want; // the frame handed out in each tick
    };
    const Case cases[] = {
        {"a whole frame", {Of(a)}, {a}},
        {"split across two ticks", {Of(a, 0, 30), Of(a, 30)}, {std::nullopt, a}},
        {"51 bytes, then the 52nd", {Of(b, 0, 51), Of(b, 51)}, {std::nullopt, b}},
        {"cut, then a quiet tick: the piece goes", {Of(a, 0, 20), {}, Of(b)}, {std::nullopt, std::nullopt, b}},
        {"cut, and the retry right behind it", {Of(b, 0, 20), Of(b)}, {std::nullopt, b}},
        {"cut and the retry in one tick", {Join({Of(b, 0, 40), Of(b)})}, {b}},
        {"cut, the retry arriving in pieces", {Of(c, 0, 20), Of(c, 0, 30), Of(c, 30)}, {std::nullopt, std::nullopt, c}},
        {"a spoiled frame, then a good one", {Join({Of(Spoiled(a)), Of(b)})}, {b}},
        {"a spoiled frame alone", {Of(Spoiled(b)), {}}, {std::nullopt, std::nullopt}},
        {"bytes in front of a frame", {Join({Bytes{0x00, 0x13, 0xB0, 0x81}, Of(c)})}, {c}},
        {"the tail of an older frame in front", {Join({Of(a, 40), Of(b)})}, {b}},
        {"two frames: the second dropped", {Join({Of(a), Of(b)}), {}}, {a, std::nullopt}},
        {"two frames and the start of a third", {Join({Of(a), Of(b), Of(c, 0, 10)}), Of(c, 10)}, {a, c}},
        {"half a reply, then a whole status frame", {Join({Of(b, 0, 26), Of(a)})}, {a}},
        {"a frame whose payload starts frames, in pieces", {Of(c, 0, 5), Of(c, 5, 49), Of(c, 49)},
         {std::nullopt, std::nullopt, c}},
        {"a frame, a quiet tick, a frame", {Of(a), {}, Of(b)}, {a, std::nullopt, b}},
    };
    for (const Case& t : cases) {
        ASSERT_EQ(t.Ticks.size(), t.Want.size()) << t.Name;
        FrameSync sync(15000);
        for (std::size_t tick = 0; tick < t.Ticks.size(); ++tick) {
            sync.Take(t.Ticks[tick]);
            EXPECT_EQ(sync.Next(), t.Want[tick]) << t.Name << ", tick " << tick;
        }
    }
}

TEST(FrameSync, PlausibleStartsAreTheUnitsFrames) {
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<std::uint8_t>(code);
        const bool want = c == StatusFrameCode || (c >= 0x80 && c <= 0x87) || (c >= 0xC0 && c <= 0xC7);
        EXPECT_EQ(FrameSync::PlausibleStart(c), want) << code;
    }
}

TEST(FrameSync, AFloodOfBytesStaysBoundedAndTheFrameAfterItIsFound) {
    FrameSync sync(15000);
    const Bytes flood(40000, 0x81); // every byte looks like a frame start, none is one
    sync.Take(flood);
    EXPECT_LE(sync.PendingBytes(), 15000u);
    EXPECT_EQ(sync.Next(), std::nullopt);
    const Frame a = Status(0x42);
    sync.Take(Of(a));
    EXPECT_EQ(sync.Next(), a);
}

} // namespace
} // namespace zevo
