#include "unit_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "frame_check.h"

namespace zevo::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Request(std::uint8_t code, const Bytes& payload = {}) {
    const Frame f = MakeFrame(code, payload);
    return Bytes(f.begin(), f.end());
}

Bytes PagePayload(std::uint8_t seed) {
    Bytes p(FramePayloadSize);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<std::uint8_t>(seed + 3 * i);
    return p;
}

// Sends one frame and gives back what the unit sent in answer.
Bytes Exchange(UnitModel& unit, const Bytes& frame) {
    unit.Receive(frame);
    return unit.TakeOutput();
}

int Word(const Bytes& f, int offset) {
    return f[static_cast<std::size_t>(offset)] | (f[static_cast<std::size_t>(offset) + 1] << 8);
}

using test::ValidFrame;

Bytes PageOf(const UnitModel& unit, int page) {
    const auto p = unit.Memory().Page(page);
    return Bytes(p.begin(), p.end());
}

Bytes ReplyPayload(const Bytes& reply) { return Bytes(reply.begin() + 1, reply.begin() + 1 + FramePayloadSize); }

TEST(UnitModel, AnswersEachCommandWithItsCodeAndThePage) {
    struct Case {
        const char* what;
        std::uint8_t code;
        bool withPayload;
        std::uint8_t replyCode;
        int page;          // page the reply carries; -1 for the status frame
        bool stores;       // the payload ends up in the page
    };
    const Case cases[] = {
        {"status request", 0x30, false, 0xB0, -1, false},
        {"program page 0 answers with the identification", 0x00, true, 0x80, 0, false},
        {"program page 1", 0x01, true, 0x81, 1, true},
        {"program page 4", 0x04, true, 0x84, 4, true},
        {"program page 7", 0x07, true, 0x87, 7, true},
        {"read identification", 0x40, false, 0xC0, 0, false},
        {"read page 3", 0x43, false, 0xC3, 3, false},
        {"read page 7 with a verify payload", 0x47, true, 0xC7, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitModel unit;
        const Bytes payload = c.withPayload ? PagePayload(c.code) : Bytes{};
        const Bytes before = c.page >= 0 ? PageOf(unit, c.page) : Bytes{};
        const Bytes reply = Exchange(unit, Request(c.code, payload));
        ASSERT_TRUE(ValidFrame(reply));
        EXPECT_EQ(reply[0], c.replyCode);
        if (c.page < 0)
            continue;
        EXPECT_EQ(ReplyPayload(reply), PageOf(unit, c.page));
        EXPECT_EQ(PageOf(unit, c.page), c.stores ? payload : before);
    }
}

TEST(UnitModel, IgnoresWhatIsNotAGoodCommand) {
    Bytes badCheck = Request(0x30);
    badCheck[FrameSize - 1] ^= 0x01;
    Bytes badPayload = Request(0x41);
    badPayload[10] ^= 0x40;
    Bytes cutShort = Request(0x30);
    cutShort.pop_back();
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"wrong check byte", badCheck},
        {"payload byte changed in transit", badPayload},
        {"page 8 write", Request(0x08, PagePayload(1))},
        {"page 8 read", Request(0x48)},
        {"unknown code", Request(0x31)},
        {"a reply code sent back", Request(0xB0)},
        {"51 bytes only", cutShort},
        {"empty", Bytes{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UnitModel unit;
        const DeviceImage before = unit.Memory();
        EXPECT_TRUE(Exchange(unit, c.bytes).empty());
        EXPECT_EQ(unit.Memory(), before);
    }
}

TEST(UnitModel, AssemblesFramesFromAnyChunking) {
    const Bytes two = [] {
        Bytes b = Request(0x30);
        const Bytes r = Request(0x42);
        b.insert(b.end(), r.begin(), r.end());
        return b;
    }();
    for (std::size_t chunk : {1u, 2u, 7u, 26u, 51u, 52u, 53u, 104u}) {
        SCOPED_TRACE(chunk);
        UnitModel unit;
        for (std::size_t i = 0; i < two.size(); i += chunk)
            unit.Receive(std::span(two).subspan(i, std::min(chunk, two.size() - i)));
        const Bytes out = unit.TakeOutput();
        ASSERT_EQ(out.size(), 2u * FrameSize);
        EXPECT_EQ(out[0], 0xB0);
        EXPECT_EQ(out[FrameSize], 0xC2);
    }
}

TEST(UnitModel, SilenceOnTheLineResynchronises) {
    const Bytes garbage = {0x11, 0x22, 0x33};
    struct Case {
        const char* what;
        int gapMs;
        bool answered;
    };
    const Case cases[] = {
        {"garbage right before the frame shifts it", 0, false},
        {"a gap just short of the frame gap", UnitModel::InterFrameGapMs - 1, false},
        {"after the frame gap a new frame starts", UnitModel::InterFrameGapMs, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitModel unit;
        unit.Receive(garbage);
        unit.Advance(c.gapMs);
        const Bytes reply = Exchange(unit, Request(0x30));
        EXPECT_EQ(ValidFrame(reply), c.answered);
        // Whatever happened, the next frame after a pause is understood.
        unit.Advance(100);
        EXPECT_TRUE(ValidFrame(Exchange(unit, Request(0x30))));
    }
}

TEST(UnitModel, IdentificationPageCarriesNameDateAndVersion) {
    UnitOptions o;
    o.Name = "ABC";
    o.NameNumber = 7;
    o.BuildDay = 3;
    o.BuildMonth = 6;
    o.BuildYear = 2011;
    o.BuildHour = 9;
    o.BuildMinute = 5;
    o.ProgramVersion = 55;
    UnitModel unit(o);
    const Bytes reply = Exchange(unit, Request(0x40));
    ASSERT_TRUE(ValidFrame(reply));
    const Bytes expected = {'A', 'B', 'C', 7, 3, 45, 11, 9, 5, 0, 55};
    EXPECT_EQ(Bytes(reply.begin() + 1, reply.begin() + 12), expected);
    EXPECT_EQ(reply[1 + 16], 0) << "no unit text unless configured";

    o.UnitText = "Workshop bench unit";
    UnitModel withText(o);
    const Bytes page = PageOf(withText, 0);
    EXPECT_EQ(std::string(page.begin() + 16, page.begin() + 16 + 19), "Workshop bench unit");
    EXPECT_EQ(page[16 + 19], 0);
}

TEST(UnitModel, MonthCodesAreTheLetterSums) {
    const int codes[] = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(MonthCode(m), codes[m - 1]) << m;
    EXPECT_EQ(MonthCode(0), 0);
    EXPECT_EQ(MonthCode(13), 0);
}

TEST(UnitModel, VersionShowsInStatusAndIdentification) {
    for (int version : {56, 55, 0, 255}) {
        UnitOptions o;
        o.ProgramVersion = version;
        UnitModel unit(o);
        EXPECT_EQ(Exchange(unit, Request(0x30))[50], version);
        EXPECT_EQ(Exchange(unit, Request(0x00, PagePayload(9)))[1 + 10], version);
    }
}

TEST(UnitModel, StatusFrameDescribesARunningEngine) {
    UnitModel unit;
    int lowRpm = 1 << 30, highRpm = 0, lowTp = 1000, highTp = -1;
    // Two minutes of status requests about three times a second.
    for (int t = 0; t < 120000; t += 330) {
        const Bytes f = Exchange(unit, Request(0x30));
        ASSERT_TRUE(ValidFrame(f));
        const int rpm = Word(f, 1);
        const int tp = f[41];
        lowRpm = std::min(lowRpm, rpm);
        highRpm = std::max(highRpm, rpm);
        lowTp = std::min(lowTp, tp);
        highTp = std::max(highTp, tp);
        const int supplyMv = Word(f, 5) * 5000 / 1023 * 11;
        EXPECT_GT(supplyMv, 13000);
        EXPECT_LT(supplyMv, 14500);
        EXPECT_LE(Word(f, 3), 1023);
        EXPECT_EQ(f[42], 1);
        EXPECT_EQ(f[43], 1);
        EXPECT_EQ(Word(f, 47), 0) << "nothing to store";
        EXPECT_EQ(f[49], 0) << "stored data intact";
        unit.Advance(330);
    }
    // The sweep covers the whole map: the factory axis runs from 0 to 12000 RPM.
    EXPECT_LE(lowRpm, 300);
    EXPECT_GE(highRpm, 11700);
    EXPECT_LE(lowTp, 2);
    EXPECT_GE(highTp, 98);
}

TEST(UnitModel, DesiredPositionFollowsTheStoredMap) {
    UnitModel unit;
    DeviceImage& m = unit.Memory();
    // Servo 1 in millivolt steps with throttle dependence, servo 2 in per cent on row 0 only.
    m.TpEnable(0) = 1;
    m.TpEnable(1) = 0;
    m.PerCentMode(1) = 1;
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c) {
            m.MapCell(0, r, c) = static_cast<std::uint8_t>(10 * r + c);
            m.MapCell(1, r, c) = static_cast<std::uint8_t>(4 * c + r);
        }
    struct Case {
        int rpm;
        int tp;
        int servo1Mv;
        int servo2Mv;
    };
    // Factory axis 0, 1000, 2000, 3000, 4000, 6000, ...; throttle rows 0, 2, 5, 10, 20 ...
    const Case cases[] = {
        {0, 0, 0, 0},                                 // first cell
        {3000, 0, 20 * 3, 50 * 12},                   // on an axis point
        {3000, 10, 20 * (30 + 3), 50 * 12},           // row 3; servo 2 ignores the throttle
        {5000, 0, 20 * 4 + 10, 50 * 16 + 100},        // half-way between 4000 and 6000
        {3000, 15, (20 * 33 + 20 * 43) / 2, 50 * 12}, // half-way between rows 3 and 4
        {12000, 100, 20 * (90 + 14), 50 * 56},        // last cell
        {20000, 100, 20 * (90 + 14), 50 * 56},        // beyond the axis: held at the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rpm << " RPM " << c.tp << " %");
        unit.HoldEngine(c.rpm, c.tp);
        const Bytes f = Exchange(unit, Request(0x30));
        EXPECT_EQ(Word(f, 1), c.rpm);
        EXPECT_EQ(f[41], c.tp);
        EXPECT_EQ(Word(f, 9), c.servo1Mv);
        EXPECT_EQ(Word(f, 13), c.servo2Mv);
    }

    // Cells beyond the signal's range (a per-cent byte above 100) stop at 5 V.
    m.PerCentMode(0) = 1;
    m.MapCell(0, 0, 0) = 255;
    unit.HoldEngine(0, 0);
    EXPECT_EQ(Word(Exchange(unit, Request(0x30)), 9), 5000);

    // A disabled servo has no target and reports itself stopped.
    m.ServoEnable(1) = 0;
    const Bytes f = Exchange(unit, Request(0x30));
    EXPECT_EQ(Word(f, 13), 0);
    EXPECT_EQ(f[43], 0);
    EXPECT_EQ(f[42], 1);
}

TEST(UnitModel, MeasuredPositionLagsBehindTheDesired) {
    UnitModel unit;
    unit.HoldEngine(0, 0); // factory map: 2000 mV at column 0
    unit.Advance(1000);
    unit.HoldEngine(12000, 0); // 3400 mV at column 14
    Bytes f = Exchange(unit, Request(0x30));
    EXPECT_EQ(Word(f, 9), 3400);
    EXPECT_EQ(Word(f, 7), 2000) << "the servo has not moved yet";
    unit.Advance(50);
    f = Exchange(unit, Request(0x30));
    EXPECT_GT(Word(f, 7), 2000);
    EXPECT_LT(Word(f, 7), 3400);
    unit.Advance(1000);
    f = Exchange(unit, Request(0x30));
    EXPECT_EQ(Word(f, 7), 3400);
    EXPECT_EQ(Word(f, 11), Word(f, 13));
}

// The tool's Program: page 0, then pages 1..7, each sent once.
void Program(UnitModel& unit) {
    for (std::uint8_t k = 0; k <= 7; ++k)
        unit.Receive(Request(k, PagePayload(static_cast<std::uint8_t>(20 + k))));
    unit.TakeOutput();
}

TEST(UnitModel, ProgrammingStoresOverThreeSecondsAndCountsOnce) {
    UnitOptions o;
    o.ProgrammingCount = 41;
    UnitModel unit(o);
    auto status = [&] { return Exchange(unit, Request(0x30)); };

    Program(unit);
    struct Step {
        int advanceMs;
        int low;
        int high;
        int counter;
    };
    const Step steps[] = {
        {0, 800, 800, 41},   {1500, 390, 410, 41}, {1400, 1, 40, 41},
        {100, 0, 0, 42},     {5000, 0, 0, 42},
    };
    for (const Step& s : steps) {
        unit.Advance(s.advanceMs);
        const Bytes f = status();
        SCOPED_TRACE(unit.NowMs());
        EXPECT_GE(Word(f, 47), s.low);
        EXPECT_LE(Word(f, 47), s.high);
        EXPECT_EQ(Word(f, 15), s.counter);
    }
    // The countdown only falls.
    Program(unit);
    int last = 801;
    for (int t = 0; t <= 3100; t += 55) {
        const int now = Word(status(), 47);
        EXPECT_LE(now, last);
        last = now;
        unit.Advance(55);
    }
    EXPECT_EQ(Word(status(), 15), 43);
}

TEST(UnitModel, ReadsAndPageZeroWritesAreNoProgramming) {
    UnitModel unit;
    unit.Receive(Request(0x00, PagePayload(1)));
    for (std::uint8_t k = 0x40; k <= 0x47; ++k)
        unit.Receive(Request(k));
    unit.Advance(5000);
    const Bytes f = Exchange(unit, Request(0x30));
    EXPECT_EQ(Word(f, 15), 0);
    EXPECT_EQ(Word(f, 47), 0);
}

TEST(UnitModel, RefusedPageEchoesTheOldContent) {
    UnitOptions o;
    o.RefusedPage = 4;
    UnitModel unit(o);
    const Bytes old4 = PageOf(unit, 4);
    const Bytes reply4 = Exchange(unit, Request(0x04, PagePayload(7)));
    EXPECT_EQ(ReplyPayload(reply4), old4);
    EXPECT_EQ(PageOf(unit, 4), old4);
    const Bytes reply5 = Exchange(unit, Request(0x05, PagePayload(7)));
    EXPECT_EQ(ReplyPayload(reply5), PagePayload(7)) << "other pages still take writes";
}

// Answers to 400 status requests, one every 60 ms, as one byte stream.
Bytes Traffic(const UnitOptions& o) {
    UnitModel unit(o);
    Bytes all;
    for (int i = 0; i < 400; ++i) {
        unit.HoldEngine(3000, 10); // fixed telemetry, so only the faults tell streams apart
        unit.Receive(Request(0x30));
        unit.Advance(60);
        const Bytes out = unit.TakeOutput();
        all.insert(all.end(), out.begin(), out.end());
    }
    unit.Advance(10000);
    const Bytes rest = unit.TakeOutput();
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

TEST(UnitModel, FaultsRepeatWithTheirSeed) {
    UnitOptions o;
    o.DropPercent = 10;
    o.CorruptPercent = 10;
    o.TruncatePercent = 10;
    o.DelayPercent = 10;
    o.Seed = 7;
    const Bytes a = Traffic(o);
    EXPECT_EQ(Traffic(o), a);
    o.Seed = 8;
    EXPECT_NE(Traffic(o), a);
}

TEST(UnitModel, EachFaultHitsItsShareOfReplies) {
    struct Case {
        const char* what;
        double UnitOptions::*share;
    };
    const Case cases[] = {
        {"drop", &UnitOptions::DropPercent},
        {"corrupt", &UnitOptions::CorruptPercent},
        {"truncate", &UnitOptions::TruncatePercent},
        {"delay", &UnitOptions::DelayPercent},
    };
    const int requests = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitOptions o;
        o.*c.share = 25;
        o.DelayMs = 300;
        UnitModel unit(o);
        int whole = 0, corrupt = 0, shortReplies = 0, late = 0, none = 0;
        for (int i = 0; i < requests; ++i) {
            unit.Advance(500); // later than any delay, so replies never run into each other
            const Bytes out = Exchange(unit, Request(0x30));
            if (out.empty()) {
                unit.Advance(400);
                const Bytes delayed = unit.TakeOutput();
                if (delayed.empty())
                    ++none;
                else if (ValidFrame(delayed))
                    ++late;
                continue;
            }
            if (out.size() < static_cast<std::size_t>(FrameSize))
                ++shortReplies;
            else if (ValidFrame(out))
                ++whole;
            else
                ++corrupt;
        }
        const int hit = std::string(c.what) == "drop"      ? none
                        : std::string(c.what) == "corrupt" ? corrupt
                        : std::string(c.what) == "truncate" ? shortReplies
                                                            : late;
        EXPECT_GT(hit, requests / 4 - 60);
        EXPECT_LT(hit, requests / 4 + 60);
        EXPECT_EQ(whole + hit, requests) << "no other fault than the one asked for";
    }
}

// A wrong reply is a whole frame with a good check byte, so only its code can give it away: it
// must never carry the code of the command it answers, and what it carries must be the unit's own
// truth for the code it does carry (a status frame, or that other page as the unit holds it).
TEST(UnitModel, WrongReplyIsAGoodFrameForAnotherCommand) {
    struct Case {
        const char* what;
        std::uint8_t code;
        bool withPayload;
        std::uint8_t rightCode;
        std::vector<std::uint8_t> wrongCodes; // what may come instead
        int storedPage;                       // a write still lands in this page; -1 none
    };
    const Case cases[] = {
        {"status request", 0x30, false, 0xB0, {0xC0}, -1},
        {"read identification", 0x40, false, 0xC0, {0xB0, 0xC1}, -1},
        {"read page 3", 0x43, false, 0xC3, {0xB0, 0xC4}, -1},
        {"read page 7 wraps to the identification", 0x47, true, 0xC7, {0xB0, 0xC0}, -1},
        {"program page 2", 0x02, true, 0x82, {0xB0, 0x83}, 2},
        {"program page 7", 0x07, true, 0x87, {0xB0, 0x80}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitOptions o;
        o.WrongReplyPercent = 100;
        o.Seed = 5;
        UnitModel unit(o);
        std::vector<std::uint8_t> seen;
        for (int i = 0; i < 40; ++i) {
            const Bytes payload = c.withPayload ? PagePayload(static_cast<std::uint8_t>(c.code + i)) : Bytes{};
            const Bytes reply = Exchange(unit, Request(c.code, payload));
            ASSERT_TRUE(ValidFrame(reply));
            ASSERT_NE(reply[0], c.rightCode);
            ASSERT_NE(std::find(c.wrongCodes.begin(), c.wrongCodes.end(), reply[0]), c.wrongCodes.end())
                << "code " << int(reply[0]);
            if (reply[0] != StatusFrameCode) {
                EXPECT_EQ(ReplyPayload(reply), PageOf(unit, reply[0] & PageNumberMask));
            }
            if (c.storedPage >= 0) {
                EXPECT_EQ(PageOf(unit, c.storedPage), payload) << "the unit did what it was told";
            }
            unit.Advance(60);
            seen.push_back(reply[0]);
        }
        for (std::uint8_t code : c.wrongCodes)
            EXPECT_NE(std::find(seen.begin(), seen.end(), code), seen.end()) << "never " << int(code);
    }
}

TEST(UnitModel, WrongRepliesHitTheirShareAndLeaveTheOtherFaultsOfASeedInPlace) {
    UnitOptions o;
    o.DropPercent = 10;
    o.CorruptPercent = 10;
    o.Seed = 9;
    UnitOptions withWrong = o;
    withWrong.WrongReplyPercent = 25;
    UnitModel plain(o);
    UnitModel mixed(withWrong);
    int wrong = 0;
    const int requests = 1000;
    for (int i = 0; i < requests; ++i) {
        plain.HoldEngine(3000, 10);
        mixed.HoldEngine(3000, 10);
        const Bytes a = Exchange(plain, Request(0x42));
        const Bytes b = Exchange(mixed, Request(0x42));
        plain.Advance(60);
        mixed.Advance(60);
        // Drops and corruptions fall on the same replies: the wrong replies come out of the share
        // the two models answer correctly.
        if (a.empty() || !ValidFrame(a)) {
            ASSERT_EQ(a, b) << "reply " << i;
            continue;
        }
        ASSERT_TRUE(ValidFrame(b)) << "reply " << i;
        if (b[0] != 0xC2)
            ++wrong;
        else
            ASSERT_EQ(a, b);
    }
    EXPECT_GT(wrong, requests / 4 - 60);
    EXPECT_LT(wrong, requests / 4 + 60);
}

TEST(UnitModel, DelayedReplyKeepsItsPlaceInLine) {
    UnitOptions o;
    o.DelayPercent = 100;
    o.DelayMs = 300;
    UnitModel unit(o);
    unit.Receive(Request(0x41));
    unit.Advance(100);
    unit.Receive(Request(0x42));
    unit.Advance(199);
    EXPECT_TRUE(unit.TakeOutput().empty());
    unit.Advance(1);
    const Bytes first = unit.TakeOutput();
    ASSERT_EQ(first.size(), static_cast<std::size_t>(FrameSize));
    EXPECT_EQ(first[0], 0xC1);
    unit.Advance(100);
    EXPECT_EQ(unit.TakeOutput()[0], 0xC2);
}

TEST(UnitModel, SilentUnitNeitherAnswersNorActs) {
    UnitOptions o;
    o.Silent = true;
    UnitModel unit(o);
    const Bytes page1 = PageOf(unit, 1);
    EXPECT_TRUE(Exchange(unit, Request(0x30)).empty());
    EXPECT_TRUE(Exchange(unit, Request(0x01, PagePayload(3))).empty());
    EXPECT_EQ(PageOf(unit, 1), page1);
    unit.SetSilent(false);
    EXPECT_TRUE(ValidFrame(Exchange(unit, Request(0x30))));
}

TEST(UnitModel, UnpluggedUnitComesBackOnTime) {
    UnitOptions o;
    o.UnplugAtMs = 1000;
    o.ReplugAfterMs = 2000;
    o.DelayPercent = 100;
    o.DelayMs = 300;
    UnitModel unit(o);
    unit.Advance(800);
    unit.Receive(Request(0x30)); // due at 1100, after the cable is pulled: lost
    unit.Advance(200);
    EXPECT_FALSE(unit.Plugged());
    unit.Receive(Request(0x30));
    unit.Advance(1000);
    EXPECT_TRUE(unit.TakeOutput().empty());
    unit.Advance(999);
    EXPECT_FALSE(unit.Plugged());
    unit.Advance(1);
    EXPECT_TRUE(unit.Plugged());
    unit.Receive(Request(0x30));
    unit.Advance(300);
    EXPECT_TRUE(ValidFrame(unit.TakeOutput()));
    // The unplug happens once.
    unit.Advance(10000);
    EXPECT_TRUE(unit.Plugged());
}

TEST(UnitModel, AnyBytesAreSafe) {
    std::mt19937 random(12345);
    UnitModel unit;
    Bytes noise;
    for (int round = 0; round < 2000; ++round) {
        noise.resize(random() % 200);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(random());
        // Now and then a real command among the noise, so every handler sees garbage payloads.
        if (random() % 4 == 0) {
            const Bytes r = Request(static_cast<std::uint8_t>(random() % 8 | (random() % 2 ? 0x40 : 0)), noise);
            noise.insert(noise.end(), r.begin(), r.end());
        }
        unit.Receive(noise);
        unit.Advance(random() % 30);
        const Bytes out = unit.TakeOutput();
        ASSERT_EQ(out.size() % FrameSize, 0u);
        for (std::size_t i = 0; i < out.size(); i += FrameSize)
            ASSERT_TRUE(ValidFrame(Bytes(out.begin() + static_cast<std::ptrdiff_t>(i),
                                         out.begin() + static_cast<std::ptrdiff_t>(i) + FrameSize)));
    }
    // Garbage in the parameter pages (a falling axis, odd flags) still gives sane telemetry.
    for (int s = 0; s < ServoCount; ++s)
        for (int i = 0; i < RpmPoints; ++i)
            unit.Memory().RpmAxis(s, i) = static_cast<std::uint8_t>(250 - 7 * i);
    for (int t = 0; t < 60000; t += 500) {
        unit.Advance(500);
        const Bytes f = Exchange(unit, Request(0x30));
        ASSERT_TRUE(ValidFrame(f));
        EXPECT_LE(Word(f, 9), 5000);
    }
}

} // namespace
} // namespace zevo::sim
