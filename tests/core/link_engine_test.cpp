#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fake_serial_line.h"
#include "lang/language_tables.h"
#include "link/identification.h"
#include "link/link_engine.h"
#include "link/status_frame.h"
#include "unit_model.h"

namespace zevo {
namespace {

using testing::FakeSerialLine;
using testing::RecordingLinkView;
using testing::StatusLineShown;

Frame StatusWith(std::uint16_t rpm, std::uint8_t tpPercent = 0, std::uint8_t version = PcProgramVersion,
                 std::uint16_t saveCountdown = 0) {
    StatusFrame s;
    s.Rpm = rpm;
    s.TpPercent = tpPercent;
    s.TpCount = 512;
    s.SupplyCount = 260;
    s.Version = version;
    s.SaveCountdown = saveCountdown;
    s.ServoState = {1, 1};
    return EncodeStatusFrame(s);
}

// ---- a scripted unit at the far end of the fake line -----------------------------------------

enum class Fault {
    None,
    DropReply,    // one reply never sent
    CorruptCheck, // one reply with a wrong check byte
    Truncate,     // one reply cut off after 30 bytes
    OtherCode,    // one reply carrying the code of another command
    DelayInside,  // one reply late, but before the tool resends
    DelayOutside, // one reply late, after the tool has resent
    StuckPage,    // page 3 will not take a write: the unit answers with what it holds
    NoStorePage,  // page 3 is echoed but not stored
    Silence,      // the unit stops answering anything
    UnplugMid,    // the adapter is pulled during the transfer
    Version55,    // the unit runs program version 55
};

class ScriptedUnit {
public:
    std::array<std::uint8_t, ImageSize> Memory{};
    StatusFrame Status;
    Fault Trouble = Fault::None;
    int TroubleAt = 2;   // index of the transfer reply the fault hits (from there on, for silence)
    int TroublePage = 3; // for StuckPage and NoStorePage
    int OnPort = 0;      // answers only while the tool has this port open (0: any)
    int StoreCountdown = 0;
    bool StoresAfterProgram = true; // reports storing after page 7 was written
    bool AnswersStatus = true;
    bool CorruptsEveryReply = false;

    explicit ScriptedUnit(FakeSerialLine& line) : Line(line) {
        Line.OnWrite = [this](const Frame& frame) { Receive(frame); };
        Status.Version = PcProgramVersion;
        Status.SupplyCount = 260;
        Status.ServoState = {1, 1};
    }

    void Advance() {
        ++Now;
        if (Line.Unplugged)
            return;
        for (auto it = Queue.begin(); it != Queue.end();) {
            if (it->Due <= Now) {
                Line.Push(it->Bytes);
                it = Queue.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    struct Pending {
        int Due;
        std::vector<std::uint8_t> Bytes;
    };

    void Send(const Frame& frame, int delay = 1, std::size_t length = FrameSize) {
        Queue.push_back({Now + delay, std::vector<std::uint8_t>(frame.begin(), frame.begin() + length)});
    }

    std::span<std::uint8_t, PageSize> Page(int page) {
        return std::span<std::uint8_t, PageSize>(Memory.data() + PageSize * page, PageSize);
    }

    void Receive(const Frame& f) {
        if (Silent || !CheckByteValid(f) || (OnPort != 0 && Line.OpenPort != OnPort))
            return;
        const std::uint8_t code = f[0];
        if (code == StatusRequestCode) {
            if (!AnswersStatus)
                return;
            StatusFrame s = Status;
            s.SaveCountdown = static_cast<std::uint16_t>(StoreCountdown);
            StoreCountdown = std::max(0, StoreCountdown - 400);
            Send(EncodeStatusFrame(s));
            return;
        }
        const int index = Replies++;
        if (Trouble == Fault::Silence && index >= TroubleAt) {
            Silent = true;
            return;
        }
        if (Trouble == Fault::UnplugMid && index == TroubleAt) {
            Line.Unplug();
            return;
        }
        const int k = code & PageNumberMask;
        const bool read = (code & ReadPageCode) != 0;
        std::array<std::uint8_t, PageSize> answer{};
        if (read || k == 0) {
            std::copy_n(Page(k).begin(), PageSize, answer.begin());
        } else if (Trouble == Fault::StuckPage && k == TroublePage) {
            std::copy_n(Page(k).begin(), PageSize, answer.begin());
        } else {
            std::copy_n(f.begin() + 1, PageSize, answer.begin());
            if (!(Trouble == Fault::NoStorePage && k == TroublePage))
                std::copy(answer.begin(), answer.end(), Page(k).begin());
            if (k == 7 && StoresAfterProgram)
                StoreCountdown = 800;
        }
        Frame reply = MakeFrame(static_cast<std::uint8_t>(code ^ ReplyBit), answer);
        if (CorruptsEveryReply)
            reply[51] ^= 0x24;
        if (index == TroubleAt) {
            switch (Trouble) {
            case Fault::DropReply:
                return;
            case Fault::CorruptCheck:
                reply[51] ^= 0x5A;
                break;
            case Fault::Truncate:
                Send(reply, 1, 30);
                return;
            case Fault::OtherCode:
                reply = MakeFrame(static_cast<std::uint8_t>((code + 1) ^ ReplyBit), answer);
                break;
            case Fault::DelayInside:
                Send(reply, 3); // a frame sent from a reply is resent after three more ticks
                return;
            case Fault::DelayOutside:
                Send(reply, 4);
                return;
            default:
                break;
            }
        }
        Send(reply);
    }

    FakeSerialLine& Line;
    int Now = 0;
    int Replies = 0;
    bool Silent = false;
    std::vector<Pending> Queue;
};

// ---- parameter sets --------------------------------------------------------------------------

void StampIdentification(DeviceImage& d, std::uint8_t number, std::uint8_t version) {
    auto id = d.IdentificationPage();
    id[0] = 'Z';
    id[1] = 'E';
    id[2] = 'V';
    id[3] = number;
    id[4] = 14;
    id[5] = 45;
    id[6] = 12;
    id[7] = 10;
    id[8] = 30;
    id[10] = version;
}

// A valid set (the block's validation leaves it as it is) that differs from `seed`'s on every page.
DeviceImage MakeSet(int seed, std::uint8_t version = PcProgramVersion) {
    DeviceImage d;
    SetDefaults(d);
    StampIdentification(d, static_cast<std::uint8_t>(seed), version);
    d.HysteresisMv(0) = static_cast<std::uint8_t>(seed);
    for (int servo = 0; servo < ServoCount; ++servo)
        for (int cell = 0; cell < MapCells; ++cell)
            d.MapCell(servo, cell) = static_cast<std::uint8_t>((cell * (seed + 3) + servo * 17 + seed) % 200);
    PortChoice ports;
    ValidateBlock(d, ports);
    return d;
}

bool SamePages(const std::array<std::uint8_t, ImageSize>& a, const std::array<std::uint8_t, ImageSize>& b,
               int first, int last) {
    return std::equal(a.begin() + PageSize * first, a.begin() + PageSize * (last + 1),
                      b.begin() + PageSize * first);
}

// ---- the bench -------------------------------------------------------------------------------

struct Bench {
    DeviceImage Image;
    PortChoice Ports{3, 0}; // COM4, fixed
    FakeSerialLine Line;
    RecordingLinkView View;
    ScriptedUnit Unit{Line};
    LinkEngine Engine{Image, Ports, Line, View};

    Bench() { Engine.OpenPort(); }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            Unit.Advance();
            Engine.Tick();
        }
    }
    bool RunUntilIdle(int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            Tick();
            if (Engine.State().TransferMode == Transfer::Idle)
                return true;
        }
        return false;
    }
    std::vector<std::uint8_t> CommandsSince(std::size_t mark) const {
        std::vector<std::uint8_t> codes;
        for (std::size_t i = mark; i < Line.Written.size(); ++i)
            if (Line.Written[i][0] != StatusRequestCode)
                codes.push_back(Line.Written[i][0]);
        return codes;
    }
    std::vector<StatusLineShown> CaptionsSince(std::size_t mark) const {
        std::vector<StatusLineShown> shown;
        for (std::size_t i = mark; i < View.StatusLines.size(); ++i)
            if (shown.empty() || !(shown.back() == View.StatusLines[i]))
                shown.push_back(View.StatusLines[i]);
        return shown;
    }
};

std::vector<std::uint8_t> Codes(std::initializer_list<int> codes) {
    std::vector<std::uint8_t> v;
    for (int c : codes)
        v.push_back(static_cast<std::uint8_t>(c));
    return v;
}

// ---- drain -----------------------------------------------------------------------------------

TEST(LinkDrain, OnlyWholeFramesAreReadAndOnlyTheFirstIsDecoded) {
    struct Case {
        const char* Name;
        std::vector<Frame> Frames;
        std::size_t Cut; // bytes pushed of the frames' bytes
        int Decoded;
        std::size_t Left;
    };
    const Frame a = StatusWith(1111);
    const Frame b = StatusWith(2222);
    const Case cases[] = {
        // The drain takes every byte waiting; a piece of a frame waits in the engine for the rest.
        {"51 bytes wait", {a}, 51, 0, 0},
        {"52 bytes are one frame", {a}, 52, 1, 0},
        {"104 bytes: two frames, the second dropped", {a, b}, 104, 1, 0},
        {"60 bytes: a frame and a piece", {a, b}, 60, 1, 0},
    };
    for (const Case& c : cases) {
        Bench bench;
        std::vector<std::uint8_t> bytes;
        for (const Frame& f : c.Frames)
            bytes.insert(bytes.end(), f.begin(), f.end());
        bench.Line.Push(std::span<const std::uint8_t>(bytes.data(), c.Cut));
        bench.Engine.Tick();
        EXPECT_EQ(bench.View.TelemetryCount, c.Decoded) << c.Name;
        EXPECT_EQ(bench.Line.Incoming.size(), c.Left) << c.Name;
        if (c.Decoded > 0) {
            EXPECT_EQ(bench.Engine.State().RpmValue, 1111) << c.Name;
        }
    }
}

TEST(LinkDrain, TheFiftySecondByteCompletesTheFrameOnTheNextTick) {
    Bench bench;
    const Frame a = StatusWith(4321);
    bench.Line.Push(std::span<const std::uint8_t>(a.data(), 51));
    bench.Engine.Tick();
    EXPECT_EQ(bench.View.TelemetryCount, 0);
    bench.Line.Push(std::span<const std::uint8_t>(a.data() + 51, 1));
    bench.Engine.Tick();
    EXPECT_EQ(bench.View.TelemetryCount, 1);
    EXPECT_EQ(bench.Engine.State().RpmValue, 4321);
}

TEST(LinkDrain, AShortReadNeverDecodesOldBytesAgain) {
    Bench bench;
    const Frame a = StatusWith(1000);
    bench.Line.Push(a);
    bench.Engine.Tick();
    ASSERT_EQ(bench.View.TelemetryCount, 1);
    // The port reports a frame waiting but the read fails: the buffer still holds the old frame.
    for (int limit : {0, 51}) {
        bench.Line.ReadLimit = limit;
        bench.Line.Push(StatusWith(2000));
        bench.Engine.Tick();
        EXPECT_EQ(bench.View.TelemetryCount, 1) << limit;
        bench.Line.Incoming.clear();
    }
}

TEST(LinkDrain, NoPortNoRead) {
    Bench bench;
    bench.Engine.ClosePort();
    bench.Line.Push(StatusWith(1000));
    bench.Engine.Tick();
    EXPECT_EQ(bench.View.TelemetryCount, 0);
    EXPECT_EQ(bench.Line.Incoming.size(), 52u);
}

// ---- telemetry -------------------------------------------------------------------------------

TEST(LinkTelemetry, AStatusFrameReachesTheLabelsAndTheSharedValues) {
    Bench bench;
    bench.Line.Push(StatusWith(4500, 45));
    bench.Engine.Tick();
    const LinkState& s = bench.Engine.State();
    EXPECT_EQ(s.RpmValue, 4500);
    EXPECT_EQ(s.TpPercent, 45);
    EXPECT_EQ(s.TpMillivolts, 2502);
    EXPECT_EQ(s.NoFrameTicks, 1);
    EXPECT_FALSE(bench.View.ConnectionLost);
    ASSERT_TRUE(bench.View.Telemetry.has_value());
    EXPECT_EQ(bench.View.Telemetry->Rpm, "RPM = 4500 ");
    EXPECT_EQ(bench.View.Telemetry->Supply, "U= 14.0 V");
    EXPECT_EQ(bench.View.Telemetry->SupplyColour, LabelColour::Normal);
    EXPECT_FALSE(bench.View.VersionVisible);

    bench.Line.Push(StatusWith(4500, 45, 55));
    bench.Engine.Tick();
    EXPECT_TRUE(bench.View.VersionVisible);
    EXPECT_EQ(bench.View.VersionText,
              MessageText(MsgId::MsgUnmatchedVersion, LanguageEnglish) + "  PC-56, IGN-55");
}

TEST(LinkTelemetry, ServoLabelsFollowTheSetsEnableSwitches) {
    Bench bench;
    bench.Image.ServoEnable(0) = 1;
    bench.Image.ServoEnable(1) = 0;
    StatusFrame s;
    s.Version = PcProgramVersion;
    s.ServoState = {0, 0};
    bench.Line.Push(EncodeStatusFrame(s));
    bench.Engine.Tick();
    ASSERT_TRUE(bench.View.Telemetry.has_value());
    EXPECT_EQ(bench.View.Telemetry->ServoColour[0], LabelColour::Red);
    EXPECT_EQ(bench.View.Telemetry->ServoColour[1], LabelColour::Normal);
}

TEST(LinkTelemetry, AFrameWithAWrongCheckByteChangesNothingAndDoesNotKeepTheLinkAlive) {
    Bench bench;
    bench.Line.Push(StatusWith(3000, 20));
    bench.Engine.Tick(); // tick 1 brings the last good frame
    Frame bad = StatusWith(9000, 90);
    bad[51] ^= 1;
    for (int tick = 2; tick <= 19; ++tick) {
        bench.Line.Push(bad);
        bench.Engine.Tick();
        EXPECT_EQ(bench.View.ConnectionLost, tick == 19) << tick;
    }
    EXPECT_EQ(bench.View.TelemetryCount, 1);
    EXPECT_EQ(bench.Engine.State().RpmValue, 3000);
}

TEST(LinkTelemetry, LiveCellOnTheVisibleServoPage) {
    struct Case {
        int Page;
        std::uint16_t Rpm;
        std::uint8_t Tp;
        bool TpEnable;
        int Column, Row; // -1: nothing painted
    };
    const Case cases[] = {
        {1, 499, 1, true, 0, 1},   {1, 500, 0, true, 1, 0},    {1, 0, 90, true, 0, 9},
        {1, 500, 101, true, 1, 9}, {1, 4500, 45, false, 5, 0}, {1, 5500, 0, true, 6, 0},
        {2, 5499, 1, true, 0, 1},  {2, 5500, 45, true, 1, 6},  {0, 4500, 45, true, -1, -1},
    };
    for (const Case& c : cases) {
        Bench bench;
        for (int i = 0; i < RpmPoints; ++i) {
            bench.Image.RpmAxis(0, i) = static_cast<std::uint8_t>(10 * i);      // 0, 1000, 2000 .. RPM
            bench.Image.RpmAxis(1, i) = static_cast<std::uint8_t>(50 + 10 * i); // 5000, 6000 .. RPM
        }
        bench.Image.TpEnable(0) = c.TpEnable ? 1 : 0;
        bench.Image.TpEnable(1) = c.TpEnable ? 1 : 0;
        bench.View.Page = c.Page;
        bench.Line.Push(StatusWith(c.Rpm, c.Tp));
        bench.Engine.Tick();
        EXPECT_EQ(bench.View.LiveColumn, c.Column) << c.Page << " " << c.Rpm;
        EXPECT_EQ(bench.View.LiveRow, c.Row) << c.Page << " " << int(c.Tp);
    }
}

// ---- the idle cycle and the connection watch -------------------------------------------------

TEST(LinkIdle, AStatusRequestGoesOutEverySixthIdleTick) {
    Bench bench;
    bench.Unit.AnswersStatus = false;
    std::vector<int> ticks;
    for (int tick = 1; tick <= 36; ++tick) {
        const std::size_t before = bench.Line.Written.size();
        bench.Tick();
        if (bench.Line.Written.size() != before) {
            EXPECT_EQ(bench.Line.Written.back(), MakeFrame(StatusRequestCode));
            ticks.push_back(tick);
        }
    }
    EXPECT_EQ(ticks, (std::vector<int>{6, 12, 18, 24, 30, 36}));
}

TEST(LinkWatch, LostOnTheEighteenthSilentTickBackOnTheFirstFrame) {
    Bench bench;
    bench.Engine.Tick();
    EXPECT_TRUE(bench.View.ConnectionLost) << "lost from the first tick until a frame comes";
    bench.Line.Push(StatusWith(1000, 0, 55));
    bench.Engine.Tick(); // tick 0 of the count
    EXPECT_FALSE(bench.View.ConnectionLost);
    EXPECT_TRUE(bench.View.VersionVisible);
    for (int tick = 1; tick <= 18; ++tick) {
        bench.Engine.Tick();
        EXPECT_EQ(bench.View.ConnectionLost, tick == 18) << tick;
    }
    EXPECT_FALSE(bench.View.VersionVisible) << "the version warning goes with the connection";
    EXPECT_EQ(bench.View.Telemetry->Rpm, "RPM = 1000 ") << "the labels keep their last values";
    bench.Line.Push(StatusWith(1000));
    bench.Engine.Tick();
    EXPECT_FALSE(bench.View.ConnectionLost);
}

TEST(LinkWatch, AFixedPortIsReopenedEveryThirtyLostTicksSilently) {
    Bench bench; // COM4 is there, the unit is silent
    bench.Unit.AnswersStatus = false;
    std::vector<int> reopenTicks;
    for (int tick = 1; tick <= 95; ++tick) {
        const std::size_t before = bench.Line.OpenAttempts.size();
        bench.Tick();
        if (bench.Line.OpenAttempts.size() != before)
            reopenTicks.push_back(tick);
    }
    EXPECT_EQ(reopenTicks, (std::vector<int>{30, 60, 90}));
    EXPECT_TRUE(std::all_of(bench.Line.OpenAttempts.begin(), bench.Line.OpenAttempts.end(),
                            [](int n) { return n == 4; }));
    EXPECT_EQ(bench.Ports.AutoPortNumber, 3) << "the search number moves on all the same";
    EXPECT_TRUE(bench.View.Messages.empty());
}

TEST(LinkWatch, SearchSkipsAMissingPortAtOnceAndASilentOneAfterThirty) {
    Bench bench;
    bench.Ports = {AutoSearchPortIndex, 0};
    bench.Line.MissingPorts = {2, 3};
    bench.Unit.OnPort = 4;
    bench.Line.OpenAttempts.clear();
    bench.Engine.OpenPort(); // COM1: present, but no unit on it
    std::vector<int> attemptTicks;
    int backTick = 0;
    for (int tick = 1; tick <= 45 && backTick == 0; ++tick) {
        const std::size_t before = bench.Line.OpenAttempts.size();
        bench.Tick();
        if (bench.Line.OpenAttempts.size() != before)
            attemptTicks.push_back(tick);
        if (!bench.View.ConnectionLost)
            backTick = tick;
    }
    EXPECT_EQ(bench.Line.OpenAttempts, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(attemptTicks, (std::vector<int>{30, 31, 32}));
    EXPECT_EQ(bench.View.PortLabel, "COM= COM4");
    EXPECT_EQ(backTick, 37) << "status request on tick 36, answer on the next";
    EXPECT_EQ(bench.View.CheckedItem, AutoSearchPortIndex);
    EXPECT_TRUE(bench.View.Messages.empty());
}

// LabelCom holds ten characters of the port's name; the whole path is the label's tooltip.
TEST(LinkWatch, PortLabelShowsTenCharactersOfTheNameAndPassesTheWholePath) {
    struct Case {
        std::string Name;
        std::string Label;
    };
    const Case cases[] = {
        {"ttyUSB0", "COM= ttyUSB0"},
        {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "COM= usb-FTDI_F"},
        {"0123456789", "COM= 0123456789"},
        {"ttyČŠŽÝÁÍÉÚŮĚ-rest", "COM= ttyČŠŽÝÁÍÉ"}, // ten characters, not ten bytes
    };
    for (const Case& c : cases) {
        Bench bench;
        bench.Ports = {2, 0}; // COM3
        bench.Line.Names[3] = c.Name;
        bench.Engine.OpenPort();
        EXPECT_EQ(bench.View.PortLabel, c.Label) << c.Name;
        EXPECT_EQ(bench.View.PortDevice, "/dev/serial/by-id/" + c.Name);
    }
}

TEST(LinkWatch, SearchWithNoPortsRunsThroughCom21AndWraps) {
    Bench bench;
    bench.Ports = {AutoSearchPortIndex, 0};
    bench.Line.NoPortsAtAll = true;
    bench.Engine.OpenPort();
    EXPECT_EQ(bench.View.PortLabel, "COM= COM1");
    std::vector<std::string> labels;
    for (int tick = 1; tick <= 22; ++tick) {
        bench.Tick();
        labels.push_back(bench.View.PortLabel);
    }
    for (int tick = 1; tick <= 20; ++tick)
        EXPECT_EQ(labels[static_cast<std::size_t>(tick - 1)], "COM= COM" + std::to_string(tick + 1)) << tick;
    EXPECT_EQ(labels[20], "COM= COM1");
    EXPECT_EQ(labels[21], "COM= COM2");
    EXPECT_TRUE(bench.View.Messages.empty());
}

TEST(LinkPort, ChoosingAMissingFixedPortTellsOnceEachTime) {
    Bench bench;
    bench.Line.MissingPorts = {7};
    int checkedWhenShown = -1;
    bench.View.WhileMessageOpen = [&] { checkedWhenShown = bench.View.CheckedItem; };

    bench.Engine.MenuCom1Click(6);
    ASSERT_EQ(bench.View.Messages.size(), 1u);
    EXPECT_EQ(bench.View.Messages[0],
              MessageText(MsgId::MsgComOpeningError, LanguageEnglish) + "\nNo such file or directory");
    EXPECT_EQ(checkedWhenShown, 6) << "the check mark is set before the box opens";
    EXPECT_EQ(bench.View.PortLabel, "COM= COM7");

    bench.Tick(100); // reopened silently while lost
    EXPECT_GE(std::count(bench.Line.OpenAttempts.begin(), bench.Line.OpenAttempts.end(), 7), 4);
    EXPECT_EQ(bench.View.Messages.size(), 1u);

    bench.Engine.MenuCom1Click(6);
    EXPECT_EQ(bench.View.Messages.size(), 2u);

    bench.Engine.MenuCom1Click(4);
    EXPECT_EQ(bench.View.PortLabel, "COM= COM5");
    EXPECT_EQ(bench.View.CheckedItem, 4);
    EXPECT_EQ(bench.Line.OpenPort, 5);
    EXPECT_EQ(bench.View.Messages.size(), 2u);
}

TEST(LinkPort, NonsensePortChoicesAreRepairedNotOpened) {
    Bench bench;
    bench.Ports = {57, 99};
    bench.Line.OpenAttempts.clear();
    bench.Engine.OpenPort();
    EXPECT_EQ(bench.Line.OpenAttempts, (std::vector<int>{1}));
    bench.Engine.MenuCom1Click(21); // no such item
    bench.Engine.MenuCom1Click(-1);
    EXPECT_EQ(bench.Line.OpenAttempts.size(), 1u);
}

// ---- transfers -------------------------------------------------------------------------------

TEST(LinkTransfer, CleanProgramThenVerifyThenStoringThenOk) {
    Bench bench;
    bench.Image = MakeSet(1);
    bench.Unit.Memory = MakeSet(2).Bytes;
    const DeviceImage wanted = bench.Image;
    bench.Tick(2);
    const std::size_t written = bench.Line.Written.size();
    const std::size_t captions = bench.View.StatusLines.size();
    bench.View.GaugeSteps.clear();

    bench.Engine.StartProgram();
    EXPECT_EQ(bench.Line.Written.size(), written) << "nothing goes out before the next tick";
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.CommandsSince(written), Codes({0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x41, 0x42,
                                                   0x43, 0x44, 0x45, 0x46, 0x47}));
    EXPECT_EQ(bench.View.GaugeSteps, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(SamePages(bench.Unit.Memory, wanted.Bytes, 1, 7));
    EXPECT_EQ(bench.Image.IdentificationPage()[3], 2) << "the unit's identification is taken over";
    ASSERT_TRUE(bench.View.Unit.has_value());
    EXPECT_EQ(bench.View.Unit->UnitName, "ZEV02");

    bench.Tick(40);
    const std::vector<StatusLineShown> expected = {
        {MsgId::MsgProgramDevice, "", LabelColour::Normal},     {MsgId::MsgVerify, ":", LabelColour::Normal},
        {MsgId::MsgVerify, ": OK", LabelColour::Normal},        {MsgId::MsgSaving, "", LabelColour::Normal},
        {MsgId::MsgProgramDevice, ": OK", LabelColour::Normal},
    };
    EXPECT_EQ(bench.CaptionsSince(captions), expected);
    EXPECT_EQ(bench.View.GaugeMaximum, 7);
    EXPECT_EQ(bench.View.GaugeProgress, 7);
    EXPECT_TRUE(bench.View.StatusLineVisible);
}

TEST(LinkTransfer, StoringShowsOnAHundredStepGauge) {
    Bench bench;
    bench.Unit.StoreCountdown = 800;
    bench.Tick(7); // request on tick 6, answer on tick 7: 800 left
    EXPECT_EQ(bench.View.LastStatus()->Text, MsgId::MsgSaving);
    EXPECT_EQ(bench.View.GaugeMaximum, 100);
    EXPECT_EQ(bench.View.GaugeProgress, 0);
    bench.Tick(6); // 400 left
    EXPECT_EQ(bench.View.GaugeProgress, 50);
    EXPECT_TRUE(bench.View.StatusLineVisible);
    bench.Tick(6); // done: no OK, nothing was programmed
    EXPECT_EQ(bench.View.GaugeMaximum, 7);
    EXPECT_FALSE(bench.View.EverShowed(MsgId::MsgProgramDevice, ": OK"));
    bench.Tick(200);
    EXPECT_FALSE(bench.View.StatusLineVisible);
    EXPECT_FALSE(bench.View.GaugeVisible);
}

TEST(LinkTransfer, ProgramOkWaitsForTheUnitsFirstReportAfterTheTransfer) {
    Bench bench;
    bench.Image = MakeSet(1);
    bench.Unit.Memory = MakeSet(2).Bytes;
    bench.Unit.StoresAfterProgram = false;
    bench.Engine.StartProgram();
    ASSERT_TRUE(bench.RunUntilIdle());
    const int reports = bench.View.TelemetryCount;
    while (!bench.View.EverShowed(MsgId::MsgProgramDevice, ": OK")) {
        ASSERT_LT(bench.View.TelemetryCount, reports + 2);
        bench.Tick();
    }
    EXPECT_EQ(bench.View.TelemetryCount, reports + 1);
}

TEST(LinkTransfer, ReadTakesTheUnitsSetAndVerifiesIt) {
    Bench bench;
    bench.Image = MakeSet(1);
    const DeviceImage unit = MakeSet(2);
    bench.Unit.Memory = unit.Bytes;
    const std::size_t written = bench.Line.Written.size();
    bench.Engine.StartRead();
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.CommandsSince(written), Codes({0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x41, 0x42,
                                                   0x43, 0x44, 0x45, 0x46, 0x47}));
    EXPECT_EQ(bench.Image, unit);
    EXPECT_EQ(bench.View.FileNameCleared, 1);
    EXPECT_EQ(bench.View.ReadSetsRecorded, 1);
    EXPECT_GE(bench.View.BlockShown, 1);
    EXPECT_EQ(bench.View.Unit, DecodeIdentification(unit.IdentificationPage()));
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgVerify, ": OK", LabelColour::Normal}));
    // Read frames carry zeros.
    const Frame& read3 = bench.Line.Written[written + 3];
    EXPECT_EQ(read3[0], 0x43);
    EXPECT_TRUE(std::all_of(read3.begin() + 1, read3.begin() + 51, [](std::uint8_t b) { return b == 0; }));
}

TEST(LinkTransfer, ReadOfAnotherVersionIsRefusedAfterOneFrame) {
    Bench bench;
    const DeviceImage before = MakeSet(1);
    bench.Image = before;
    const DeviceImage unit = MakeSet(2, 55);
    bench.Unit.Memory = unit.Bytes;
    Transfer modeWhenShown = Transfer::Read;
    bench.View.WhileMessageOpen = [&] { modeWhenShown = bench.Engine.State().TransferMode; };
    const std::size_t written = bench.Line.Written.size();

    bench.Engine.StartRead();
    bench.Tick(60);
    EXPECT_EQ(bench.CommandsSince(written), Codes({0x40}));
    ASSERT_EQ(bench.View.Messages.size(), 1u);
    const std::string& text = bench.View.Messages[0];
    EXPECT_EQ(text, MessageText(MsgId::MsgUnmatchedVersion, LanguageEnglish) + "  PC-56, IGN-55");
    EXPECT_EQ(modeWhenShown, Transfer::Idle);
    ASSERT_TRUE(bench.View.Unit.has_value());
    EXPECT_EQ(bench.View.Unit->UnitName, "ZEV02");
    EXPECT_EQ(bench.View.Unit->UnitBuildDate, "14. 6.2012");
    EXPECT_TRUE(SamePages(bench.Image.Bytes, before.Bytes, 1, 7)) << "no parameter page was taken";
    EXPECT_TRUE(SamePages(bench.Image.Bytes, unit.Bytes, 0, 0));
    EXPECT_FALSE(bench.View.StatusLineVisible);
}

TEST(LinkTransfer, VerifyWithOnePageDifferentResendsItFiveTimesThenFails) {
    Bench bench;
    bench.Image = MakeSet(1);
    bench.Unit.Memory = MakeSet(1).Bytes;
    bench.Unit.Memory[PageSize * 4 + 17] ^= 0x01;
    const std::size_t written = bench.Line.Written.size();
    bench.Engine.StartVerify();
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.CommandsSince(written), Codes({0x40, 0x41, 0x42, 0x43, 0x44, 0x44, 0x44, 0x44, 0x44}));
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgVerifyError, "", LabelColour::Red}));
    EXPECT_FALSE(bench.View.EverShowed(MsgId::MsgVerify, ": OK"));
    EXPECT_EQ(bench.Image, MakeSet(1)) << "a Verify changes nothing";
    // Verify frames carry the tool's pages.
    const Frame& first44 = bench.Line.Written[written + 4];
    EXPECT_TRUE(std::equal(first44.begin() + 1, first44.begin() + 51, bench.Image.Page(4).begin()));
}

TEST(LinkTransfer, AReplyWithAWrongCheckByteCountsExactlyAsNoReply) {
    std::vector<std::vector<std::uint8_t>> runs;
    std::vector<std::optional<StatusLineShown>> outcomes;
    for (bool corrupt : {true, false}) {
        Bench bench;
        bench.Image = MakeSet(1);
        bench.Unit.Memory = MakeSet(2).Bytes;
        bench.Unit.CorruptsEveryReply = corrupt;
        bench.Unit.Trouble = corrupt ? Fault::None : Fault::Silence;
        bench.Unit.TroubleAt = 0;
        bench.Unit.AnswersStatus = false;
        const std::size_t written = bench.Line.Written.size();
        bench.Engine.StartRead();
        std::vector<std::uint8_t> perTick;
        for (int tick = 0; tick < 40; ++tick) {
            const std::size_t before = bench.Line.Written.size();
            bench.Tick();
            perTick.push_back(static_cast<std::uint8_t>(bench.Line.Written.size() - before));
        }
        EXPECT_EQ(bench.CommandsSince(written), Codes({0x40, 0x40, 0x40, 0x40, 0x40}));
        EXPECT_EQ(bench.Image, MakeSet(1));
        runs.push_back(perTick);
        outcomes.push_back(bench.View.LastStatus());
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(outcomes[0], outcomes[1]);
    EXPECT_EQ(outcomes[0], (StatusLineShown{MsgId::MsgReadError, "", LabelColour::Red}));
}

TEST(LinkTransfer, AReadThatBreaksOffLeavesTheSetAsItWas) {
    Bench bench;
    const DeviceImage before = MakeSet(1);
    bench.Image = before;
    bench.Unit.Memory = MakeSet(2).Bytes;
    bench.Unit.Trouble = Fault::UnplugMid;
    bench.Unit.TroubleAt = 5; // pages 0..4 arrived
    const int shown = bench.View.BlockShown;
    bench.Engine.StartRead();
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.Image, before);
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgReadError, "", LabelColour::Red}));
    EXPECT_EQ(bench.View.FileNameCleared, 0);
    EXPECT_EQ(bench.View.ReadSetsRecorded, 0);
    EXPECT_EQ(bench.View.BlockShown, shown);
    EXPECT_FALSE(bench.View.Unit.has_value());
}

TEST(LinkTransfer, AReadWithAllPagesKeepsThemWhenItsVerifyPassFails) {
    Bench bench;
    bench.Image = MakeSet(1);
    const DeviceImage unit = MakeSet(2);
    bench.Unit.Memory = unit.Bytes;
    bench.Unit.Trouble = Fault::Silence;
    bench.Unit.TroubleAt = 8; // silent once all eight pages are answered
    bench.Engine.StartRead();
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.Image, unit);
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgVerifyError, "", LabelColour::Red}));
    EXPECT_EQ(bench.View.FileNameCleared, 1);
}

TEST(LinkTransfer, ANewCommandDuringAReadDropsTheHalfReadSet) {
    Bench bench;
    const DeviceImage before = MakeSet(1);
    bench.Image = before;
    bench.Unit.Memory = MakeSet(2).Bytes;
    bench.Engine.StartRead();
    while (bench.Engine.State().CommandByte < 0x44)
        bench.Tick();
    const std::size_t written = bench.Line.Written.size();
    bench.Engine.StartVerify();
    ASSERT_TRUE(bench.RunUntilIdle());
    EXPECT_EQ(bench.Image, before);
    EXPECT_EQ(bench.CommandsSince(written), Codes({0x40, 0x41, 0x41, 0x41, 0x41, 0x41}));
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgVerifyError, "", LabelColour::Red}));
}

TEST(LinkTransfer, AnErrorStaysReadableWhileTheUnitStores) {
    Bench bench;
    bench.Image = MakeSet(1);
    bench.Unit.Memory = MakeSet(2).Bytes;
    bench.Unit.Trouble = Fault::StuckPage;
    bench.Unit.StoreCountdown = 30000; // still storing what it took
    bench.Engine.StartProgram();
    ASSERT_TRUE(bench.RunUntilIdle());
    bench.Tick(30);
    EXPECT_GE(bench.View.TelemetryCount, 4);
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgProgramError, "", LabelColour::Red}));
    EXPECT_TRUE(bench.View.StatusLineVisible);
    // Once the error has had its eleven seconds, the storing shows again.
    bench.Tick(200);
    EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgSaving, "", LabelColour::Normal}));
    EXPECT_TRUE(bench.View.StatusLineVisible);
}

TEST(LinkTransfer, TicksInsideTheVersionBoxSeeAnIdleLink) {
    Bench bench;
    bench.Image = MakeSet(1);
    bench.Unit.Memory = MakeSet(2, 55).Bytes;
    int nestedRequests = 0;
    bench.View.WhileMessageOpen = [&] {
        const std::size_t before = bench.Line.Written.size();
        bench.Tick(12);
        nestedRequests = static_cast<int>(
            std::count_if(bench.Line.Written.begin() + static_cast<long>(before), bench.Line.Written.end(),
                          [](const Frame& f) { return f[0] == StatusRequestCode; }));
    };
    bench.Engine.StartProgram();
    bench.Tick(10);
    EXPECT_EQ(bench.View.Messages.size(), 1u);
    EXPECT_EQ(nestedRequests, 2);
    EXPECT_EQ(bench.Engine.State().TransferMode, Transfer::Idle);
}

// ---- faults x transfers ----------------------------------------------------------------------

enum class Outcome { Ok, Error, Refused };

struct Expect {
    Outcome Result;
    MsgId Error = MsgId::Count;
};

struct FaultRow {
    const char* Name;
    Fault Trouble;
    Expect Read, Verify, Program;
    bool Resends = false; // a transfer that ends well had to send one frame again
};

void PrintTo(const FaultRow& row, std::ostream* os) {
    *os << row.Name;
}

const Expect Ok{Outcome::Ok};
const Expect Refused{Outcome::Refused};
Expect Failed(MsgId error) {
    return {Outcome::Error, error};
}

class LinkFaults : public ::testing::TestWithParam<FaultRow> {};

TEST_P(LinkFaults, EveryTransferEndsRightOrSaysSo) {
    const FaultRow& row = GetParam();
    for (Transfer mode : {Transfer::Read, Transfer::Verify, Transfer::Program}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const Expect expect =
            mode == Transfer::Read ? row.Read : (mode == Transfer::Verify ? row.Verify : row.Program);
        Bench bench;
        const DeviceImage unitSet = MakeSet(2, row.Trouble == Fault::Version55 ? 55 : PcProgramVersion);
        const DeviceImage toolSet = mode == Transfer::Verify ? MakeSet(2) : MakeSet(1);
        bench.Unit.Memory = unitSet.Bytes;
        bench.Unit.Trouble = row.Trouble;
        bench.Unit.TroubleAt = row.Trouble == Fault::Silence ? 0 : (row.Trouble == Fault::UnplugMid ? 3 : 2);
        bench.Image = toolSet;
        const std::size_t written = bench.Line.Written.size();

        if (mode == Transfer::Read)
            bench.Engine.StartRead();
        else if (mode == Transfer::Verify)
            bench.Engine.StartVerify();
        else
            bench.Engine.StartProgram();
        ASSERT_TRUE(bench.RunUntilIdle()) << "stuck";
        bench.Tick(60);
        ASSERT_EQ(bench.Engine.State().TransferMode, Transfer::Idle);

        // Never OK with the wrong data.
        const bool verifyOk = bench.View.EverShowed(MsgId::MsgVerify, ": OK");
        const bool programOk = bench.View.EverShowed(MsgId::MsgProgramDevice, ": OK");
        if (verifyOk || programOk) {
            EXPECT_TRUE(SamePages(bench.Unit.Memory, bench.Image.Bytes, 1, 7));
        }
        if (programOk) {
            EXPECT_TRUE(SamePages(bench.Unit.Memory, toolSet.Bytes, 1, 7));
        }
        if (mode != Transfer::Program) {
            EXPECT_FALSE(programOk);
        }

        std::optional<MsgId> lastError;
        for (const StatusLineShown& s : bench.View.StatusLines)
            if (s.Colour == LabelColour::Red)
                lastError = s.Text;
        const std::vector<std::uint8_t> codes = bench.CommandsSince(written);

        switch (expect.Result) {
        case Outcome::Ok:
            EXPECT_TRUE(mode == Transfer::Program ? programOk : verifyOk);
            EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()) != codes.end(), row.Resends)
                << "the fault did not happen as scripted";
            EXPECT_FALSE(lastError.has_value());
            if (mode == Transfer::Read) {
                EXPECT_EQ(bench.Image, unitSet);
            } else if (mode == Transfer::Verify) {
                EXPECT_EQ(bench.Image, toolSet);
            } else {
                EXPECT_TRUE(SamePages(bench.Image.Bytes, toolSet.Bytes, 1, 7));
            }
            break;
        case Outcome::Error:
            EXPECT_FALSE(verifyOk);
            EXPECT_FALSE(programOk);
            EXPECT_EQ(lastError, expect.Error);
            if (mode != Transfer::Program) {
                EXPECT_EQ(bench.Image, toolSet) << "the set on screen is untouched";
            }
            EXPECT_TRUE(bench.View.Messages.empty());
            break;
        case Outcome::Refused:
            ASSERT_EQ(bench.View.Messages.size(), 1u);
            EXPECT_TRUE(bench.View.Messages[0].ends_with("  PC-56, IGN-55"));
            EXPECT_FALSE(verifyOk);
            EXPECT_FALSE(programOk);
            EXPECT_FALSE(lastError.has_value());
            EXPECT_TRUE(SamePages(bench.Image.Bytes, toolSet.Bytes, 1, 7));
            EXPECT_TRUE(SamePages(bench.Unit.Memory, unitSet.Bytes, 1, 7));
            EXPECT_EQ(codes.size(), 1u) << "only the identification page was exchanged";
            break;
        }
        for (std::uint8_t code : codes)
            EXPECT_TRUE(code <= 0x07 || (code >= 0x40 && code <= 0x47)) << int(code);
    }
}

const FaultRow FaultRows[] = {
    {"Clean", Fault::None, Ok, Ok, Ok},
    {"DroppedReply", Fault::DropReply, Ok, Ok, Ok, true},
    {"CorruptedCheckByte", Fault::CorruptCheck, Ok, Ok, Ok, true},
    {"TruncatedReply", Fault::Truncate, Ok, Ok, Ok, true},
    {"ReplyToAnotherCommand", Fault::OtherCode, Ok, Ok, Ok, true},
    {"DelayedJustInside", Fault::DelayInside, Ok, Ok, Ok},
    {"DelayedJustOutside", Fault::DelayOutside, Ok, Ok, Ok, true},
    {"PageWillNotTakeAWrite", Fault::StuckPage, Ok, Ok, Failed(MsgId::MsgProgramError)},
    {"PageEchoedButNotStored", Fault::NoStorePage, Ok, Ok, Failed(MsgId::MsgVerifyError)},
    {"Silence", Fault::Silence, Failed(MsgId::MsgReadError), Failed(MsgId::MsgVerifyError),
     Failed(MsgId::MsgProgramError)},
    {"UnplugMidTransfer", Fault::UnplugMid, Failed(MsgId::MsgReadError), Failed(MsgId::MsgVerifyError),
     Failed(MsgId::MsgProgramError)},
    {"UnitVersion55", Fault::Version55, Refused, Refused, Refused},
};

INSTANTIATE_TEST_SUITE_P(Table, LinkFaults, ::testing::ValuesIn(FaultRows),
                         [](const ::testing::TestParamInfo<FaultRow>& info) {
                             return std::string(info.param.Name);
                         });

// ---- the behavioural unit model with random faults ----------------------------------------------

TEST(LinkSoak, UnderRandomLineFaultsNoTransferLiesOrHangs) {
    int oks = 0;
    int errors = 0;
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        for (Transfer mode : {Transfer::Read, Transfer::Verify, Transfer::Program}) {
            sim::UnitOptions options;
            options.Seed = seed;
            // Rough enough that some transfers give up after five tries even though a cut frame
            // no longer spoils the ones after it.
            options.DropPercent = 15;
            options.CorruptPercent = 15;
            options.TruncatePercent = 10;
            options.DelayPercent = 5;
            sim::UnitModel unit(options);
            for (int cell = 0; cell < MapCells; ++cell)
                unit.Memory().MapCell(1, cell) = static_cast<std::uint8_t>(cell + seed);

            DeviceImage image = mode == Transfer::Verify ? unit.Memory() : MakeSet(1);
            const DeviceImage toolSet = image;
            const DeviceImage unitSet = unit.Memory();
            PortChoice ports{0, 0};
            FakeSerialLine line;
            line.OnWrite = [&](const Frame& frame) { unit.Receive(frame); };
            RecordingLinkView view;
            LinkEngine engine(image, ports, line, view);
            engine.OpenPort();
            const auto tick = [&] {
                unit.Advance(55);
                const std::vector<std::uint8_t> bytes = unit.TakeOutput();
                line.Push(bytes);
                engine.Tick();
            };
            if (mode == Transfer::Read)
                engine.StartRead();
            else if (mode == Transfer::Verify)
                engine.StartVerify();
            else
                engine.StartProgram();
            int ticks = 0;
            while (engine.State().TransferMode != Transfer::Idle && ticks++ < 400)
                tick();
            ASSERT_EQ(engine.State().TransferMode, Transfer::Idle) << "stuck, seed " << seed;
            for (int i = 0; i < 120; ++i)
                tick();

            const bool ok = view.EverShowed(
                mode == Transfer::Program ? MsgId::MsgProgramDevice : MsgId::MsgVerify, ": OK");
            if (ok) {
                ++oks;
                EXPECT_TRUE(SamePages(unit.Memory().Bytes, image.Bytes, 1, 7)) << seed;
                EXPECT_TRUE(SamePages(image.Bytes, (mode == Transfer::Read ? unitSet : toolSet).Bytes, 1, 7))
                    << seed;
            } else {
                ++errors;
                if (view.FileNameCleared == 0) {
                    EXPECT_TRUE(SamePages(image.Bytes, toolSet.Bytes, 1, 7)) << seed;
                }
            }
        }
    }
    RecordProperty("ok", oks);
    RecordProperty("failed", errors);
    // Both outcomes occur, or the faults did not bite.
    EXPECT_GT(oks, 10);
    EXPECT_GT(errors, 0);
}

// A reply cut short costs the Program no more than one never sent: the piece is dropped, and the
// frames after it are read in step.
TEST(LinkSoak, ACutReplyCostsNoMoreThanADroppedOne) {
    const auto programsOk = [](bool truncate) {
        int oks = 0;
        for (std::uint32_t seed = 1; seed <= 24; ++seed) {
            sim::UnitOptions options;
            options.Seed = seed;
            (truncate ? options.TruncatePercent : options.DropPercent) = 40;
            sim::UnitModel unit(options);
            DeviceImage image = MakeSet(1);
            PortChoice ports{0, 0};
            FakeSerialLine line;
            line.OnWrite = [&](const Frame& frame) { unit.Receive(frame); };
            RecordingLinkView view;
            LinkEngine engine(image, ports, line, view);
            engine.OpenPort();
            engine.StartProgram();
            for (int tick = 0; tick < 600 && !view.EverShowed(MsgId::MsgProgramDevice, ": OK"); ++tick) {
                unit.Advance(55);
                line.Push(unit.TakeOutput());
                engine.Tick();
            }
            if (view.EverShowed(MsgId::MsgProgramDevice, ": OK")) {
                ++oks;
                EXPECT_TRUE(SamePages(unit.Memory().Bytes, image.Bytes, 1, 7)) << "a false OK, seed " << seed;
            }
        }
        return oks;
    };
    const int dropped = programsOk(false);
    const int truncated = programsOk(true);
    RecordProperty("dropped", dropped);
    RecordProperty("truncated", truncated);
    EXPECT_LT(dropped, 24) << "the faults bite";
    EXPECT_GE(truncated, dropped - 1);
}

} // namespace
} // namespace zevo

namespace zevo {
namespace {

// F7 or F8 pressed while a Program writes: the Program ends first, the unit holds the whole new set,
// then the Read or Verify runs; the status bar says it waits.
TEST(LinkTransfer, AReadOrVerifyAskedForDuringAProgramWaitsForItsEnd) {
    struct Case {
        const char* Name;
        void (LinkEngine::*Start)();
        int AtPage;                      // the page being written when the key is pressed
        std::vector<std::uint8_t> After; // the commands that follow the Program's own
    };
    const Case cases[] = {
        {"Read at page 3",
         &LinkEngine::StartRead,
         3,
         {0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}},
        {"Verify at page 6", &LinkEngine::StartVerify, 6, {0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}},
        {"Read in the verify pass",
         &LinkEngine::StartRead,
         9,
         {0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Bench bench;
        bench.Image = MakeSet(1);
        bench.Unit.Memory = MakeSet(2).Bytes;
        const DeviceImage wanted = bench.Image;
        bench.Tick(2);
        const std::size_t written = bench.Line.Written.size();
        bench.Engine.StartProgram();
        // Until the frame for the chosen page (or, past page 7, for the chosen verify page) has gone out.
        const std::uint8_t target = c.AtPage <= 7 ? static_cast<std::uint8_t>(c.AtPage)
                                                  : static_cast<std::uint8_t>(0x40 + c.AtPage - 7);
        for (int i = 0; i < 200 && (bench.CommandsSince(written).empty() ||
                                    bench.CommandsSince(written).back() != target);
             ++i)
            bench.Tick();
        ASSERT_EQ(bench.CommandsSince(written).back(), target);
        (bench.Engine.*c.Start)();
        EXPECT_NE(bench.Engine.State().TransferMode, Transfer::Idle);
        ASSERT_EQ(bench.View.Notes.size(), 1u);
        EXPECT_NE(bench.View.Notes[0].find("waits"), std::string::npos) << bench.View.Notes[0];
        // The Program runs to its end, then the waiting transfer.
        for (int i = 0; i < 400 && bench.CommandsSince(written).size() < 15 + c.After.size(); ++i)
            bench.Tick();
        ASSERT_TRUE(bench.RunUntilIdle());
        const std::vector<std::uint8_t> commands = bench.CommandsSince(written);
        ASSERT_GE(commands.size(), 15u);
        EXPECT_EQ(
            std::vector<std::uint8_t>(commands.begin(), commands.begin() + 15),
            Codes({0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}))
            << "the Program was not broken off";
        EXPECT_EQ(std::vector<std::uint8_t>(commands.begin() + 15, commands.end()), c.After);
        EXPECT_TRUE(SamePages(bench.Unit.Memory, wanted.Bytes, 1, 7)) << "the unit holds the whole new set";
    }
}

// Requests made while a Program runs wait in the order asked, each once, and start only after the
// Program's outcome has been on the status line a while; a Program that fails drops them and says so.
TEST(LinkTransfer, RequestsDuringAProgramRunInOrderAfterItsOutcomeAndNeverHideIt) {
    struct Case {
        const char* Name;
        Fault Trouble;
        std::vector<void (LinkEngine::*)()> During; // asked while page 3 is written
        std::vector<std::string> Events;
        bool Dropped; // the note says the requests were not started
    };
    const Case cases[] = {
        {"F9 then F7", Fault::None, {&LinkEngine::StartRead}, {"Program Ok", "stored", "Read Ok"}, false},
        {"F9 then F7 then F8",
         Fault::None,
         {&LinkEngine::StartRead, &LinkEngine::StartVerify},
         {"Program Ok", "stored", "Read Ok", "Verify Ok"},
         false},
        {"F9 then F7 twice", Fault::None, {&LinkEngine::StartRead, &LinkEngine::StartRead},
         {"Program Ok", "stored", "Read Ok"}, false},
        {"a failing Program then F7", Fault::StuckPage, {&LinkEngine::StartRead}, {"Program Failed"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Bench bench;
        bench.Image = MakeSet(1);
        bench.Unit.Memory = MakeSet(2).Bytes;
        bench.Unit.Trouble = c.Trouble;
        bench.Unit.TroublePage = 5;
        bench.Tick(2);
        const std::size_t written = bench.Line.Written.size();
        const std::size_t captions = bench.View.StatusLines.size();
        bench.Engine.StartProgram();
        for (int i = 0; i < 200 && (bench.CommandsSince(written).empty() || bench.CommandsSince(written).back() != 3); ++i)
            bench.Tick();
        for (auto start : c.During)
            (bench.Engine.*start)();
        bench.Tick(600);
        EXPECT_EQ(bench.View.Events, c.Events);
        const bool dropped = !bench.View.Notes.empty() && bench.View.Notes.back().find("was not started") != std::string::npos;
        EXPECT_EQ(dropped, c.Dropped);
        // The Program's last word stands on the status line for two seconds at least before the
        // next transfer's first caption replaces it.
        const std::vector<StatusLineShown> shown = bench.CaptionsSince(captions);
        const StatusLineShown end = c.Trouble == Fault::None ? StatusLineShown{MsgId::MsgProgramDevice, ": OK", LabelColour::Normal}
                                                            : StatusLineShown{MsgId::MsgProgramError, "", LabelColour::Red};
        const auto at = std::find(shown.begin(), shown.end(), end);
        ASSERT_NE(at, shown.end());
        if (c.Dropped) {
            EXPECT_EQ(at + 1, shown.end()) << "nothing after the error";
        } else {
            ASSERT_NE(at + 1, shown.end());
            EXPECT_EQ((at + 1)->Text, MsgId::MsgRead);
            std::size_t first = captions, next = captions;
            for (std::size_t i = captions; i < bench.View.StatusLines.size(); ++i) {
                if (bench.View.StatusLines[i] == end && first == captions)
                    first = i;
                if (first != captions && bench.View.StatusLines[i].Text == MsgId::MsgRead) {
                    next = i;
                    break;
                }
            }
            EXPECT_GE(next - first, static_cast<std::size_t>(linktime::OutcomeTicks) - 1) << "the OK was repainted on each tick it stood";
        }
    }
}

// A new Program still restarts a running one: it rewrites every page. A Program that breaks off
// after writing pages says the unit may hold a mixed set; one that never got past page 0 does not.
TEST(LinkTransfer, AProgramThatBreaksOffAfterWritingPagesSaysTheSetMayBeMixed) {
    struct Case {
        int SilentFrom; // the transfer reply from which the unit is silent
        bool Mixed;
    };
    for (const Case& c : {Case{0, false}, Case{3, true}, Case{7, true}}) {
        SCOPED_TRACE(c.SilentFrom);
        Bench bench;
        bench.Image = MakeSet(1);
        bench.Unit.Memory = MakeSet(2).Bytes;
        bench.Tick(2);
        bench.Unit.Trouble = Fault::Silence;
        bench.Unit.TroubleAt = c.SilentFrom;
        bench.Engine.StartProgram();
        ASSERT_TRUE(bench.RunUntilIdle());
        EXPECT_EQ(bench.View.LastStatus(), (StatusLineShown{MsgId::MsgProgramError, "", LabelColour::Red}));
        const bool noted = !bench.View.Notes.empty() &&
                           bench.View.Notes.back().find("some new pages and some old") != std::string::npos;
        EXPECT_EQ(noted, c.Mixed);
    }
}

} // namespace
} // namespace zevo

namespace zevo {
namespace {

// The automatic search shows no box; a port that is there but will not open is said once in the
// status bar with its reason, absent numbers are not, and a new COM menu choice says it again.
TEST(LinkWatch, SearchSaysOnceWhichPresentPortWouldNotOpenAndWhy) {
    Bench bench;
    bench.Ports = {AutoSearchPortIndex, 0};
    bench.Line.NoPortsAtAll = false;
    bench.Line.MissingPorts = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    bench.Line.Names[2] = "ttyS4"; // present, but refused
    bench.Line.OpenFailure = "Permission denied";
    bench.Engine.OpenPort();
    bench.Tick(200); // around the search more than once
    ASSERT_EQ(bench.View.Notes.size(), 1u);
    EXPECT_EQ(bench.View.Notes[0], "COM2 (/dev/serial/by-id/ttyS4) could not be opened: Permission denied");
    EXPECT_TRUE(bench.View.Messages.empty()) << "no message box in the search";
    bench.Engine.MenuCom1Click(AutoSearchPortIndex);
    bench.Tick(60);
    EXPECT_EQ(bench.View.Notes.size(), 2u);
}

} // namespace
} // namespace zevo
