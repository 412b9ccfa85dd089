// Whatever arrives on the line goes through the engine's drain: status frames, replies, garbage,
// split or glued frames, in every transfer mode. Nothing may crash, the engine's counters stay in
// their ranges, and the parameter set changes only when a Read has taken all eight pages.
//
// Input: byte 0 picks the transfer started first (low two bits) and the port choice (bit 2: search);
// byte 1 picks the active page (low two bits) and the servo switches (bits 2..5). The rest is chunks:
// a header byte h, then h & 0x7F bytes pushed onto the line before one tick; with bit 7 set, the
// check byte of a chunk of 52 bytes or more is fixed so the frame passes the check.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../core/fake_serial_line.h"
#include "link/link_engine.h"
#include "params/device_image.h"

namespace {

using zevo::testing::FakeSerialLine;
using zevo::testing::RecordingLinkView;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckInvariants(const zevo::LinkEngine& engine, const RecordingLinkView& view,
                     const zevo::DeviceImage& image, const zevo::DeviceImage& before) {
    const zevo::LinkState& s = engine.State();
    Require(s.NoFrameTicks <= zevo::linktime::LostAfterTicks);
    Require(s.TickCount < zevo::linktime::StatusEveryTicks);
    Require(s.MessageTimer <= zevo::linktime::MessageTicks);
    Require(s.ReopenTicks <= zevo::linktime::MissingPortTicks);
    Require(s.LiveRpmColumn >= 0 && s.LiveRpmColumn < zevo::RpmPoints);
    Require(s.LiveTpRow >= 0 && s.LiveTpRow < zevo::MapRows);
    Require(s.GaugeProgress >= 0 && s.GaugeProgress <= s.GaugeMaximum);
    Require(view.GaugeProgress >= 0 && view.GaugeProgress <= view.GaugeMaximum);
    switch (s.TransferMode) {
    case zevo::Transfer::Idle:
        break;
    case zevo::Transfer::Program:
        Require(s.CommandByte <= 0x07);
        Require(s.RetryCount <= zevo::linktime::Transmissions);
        break;
    case zevo::Transfer::Verify:
    case zevo::Transfer::Read:
        Require(s.CommandByte >= 0x40 && s.CommandByte <= 0x47);
        Require(s.RetryCount <= zevo::linktime::Transmissions);
        break;
    default:
        std::abort();
    }
    if (view.Unit) {
        Require(view.Unit->UnitName.size() <= 30);
        Require(view.Unit->UnitBuildDate.size() == 10);
        Require(view.Unit->UnitBuildTime.size() == 5);
    }
    // The parameter pages change only by a Read that took all eight pages.
    if (view.FileNameCleared == 0)
        Require(std::equal(image.Bytes.begin() + zevo::BlockOffset, image.Bytes.end(),
                           before.Bytes.begin() + zevo::BlockOffset));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    zevo::DeviceImage image;
    zevo::SetDefaults(image);
    zevo::PortChoice ports{static_cast<std::uint8_t>((data[0] & 4) != 0 ? zevo::AutoSearchPortIndex : 0), 0};
    zevo::ValidateBlock(image, ports);
    image.ServoEnable(0) = (data[1] >> 2) & 1;
    image.ServoEnable(1) = (data[1] >> 3) & 1;
    image.TpEnable(0) = (data[1] >> 4) & 1;
    image.TpEnable(1) = (data[1] >> 5) & 1;
    const zevo::DeviceImage before = image;

    FakeSerialLine line;
    line.MissingPorts = {2, 3, 5};
    RecordingLinkView view;
    view.Page = data[1] & 3;
    zevo::LinkEngine engine(image, ports, line, view);
    // A modal box lets ticks run nested; one level of them is enough to shake out re-entrancy.
    int depth = 0;
    view.WhileMessageOpen = [&] {
        if (depth++ == 0)
            engine.Tick();
        --depth;
    };
    engine.OpenPort();
    switch (data[0] & 3) {
    case 1:
        engine.StartProgram();
        break;
    case 2:
        engine.StartVerify();
        break;
    case 3:
        engine.StartRead();
        break;
    default:
        break;
    }

    std::size_t at = 2;
    while (at < size) {
        const std::uint8_t header = data[at++];
        const std::size_t length = std::min<std::size_t>(header & 0x7F, size - at);
        std::vector<std::uint8_t> chunk(data + at, data + at + length);
        at += length;
        if ((header & 0x80) != 0 && chunk.size() >= zevo::FrameSize) {
            std::uint8_t x = 0xFF;
            for (int i = 0; i < zevo::FrameSize - 1; ++i)
                x ^= chunk[static_cast<std::size_t>(i)];
            chunk[zevo::FrameSize - 1] = x;
        }
        line.Push(chunk);
        engine.Tick();
        CheckInvariants(engine, view, image, before);
    }
    // With the line quiet from here on, every transfer must run out on its own within 400 ticks
    // (a page unanswered five times, four ticks apart, ends it long before that).
    for (int i = 0; i < 400 && engine.State().TransferMode != zevo::Transfer::Idle; ++i) {
        engine.Tick();
        CheckInvariants(engine, view, image, before);
    }
    Require(engine.State().TransferMode == zevo::Transfer::Idle);
    return 0;
}
