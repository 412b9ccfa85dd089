#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "link/frame.h"
#include "params/device_image.h"

namespace zevo::sim {

// How the simulated unit behaves. The defaults are a healthy unit of program version 56 with the
// factory parameter set; every fault is off.
struct UnitOptions {
    // Program version, in byte 10 of the identification page and byte 50 of every status frame.
    int ProgramVersion = PcProgramVersion;

    // Identification page: three letters and a two-digit number, build date and time.
    std::string Name = "ZEV";
    int NameNumber = 1;
    int BuildDay = 14;
    int BuildMonth = 3; // 1..12
    int BuildYear = 2012;
    int BuildHour = 10;
    int BuildMinute = 30;
    std::string UnitText; // bytes 16..45 when not empty (at most 30 characters are kept)

    int ProgrammingCount = 0; // the counter the unit starts with

    // Fault injection. Shares are per cent of replies (0..100) and are disjoint: one draw per reply
    // picks drop, corrupt, truncate, delay, wrong reply or none, in that order. The draws come from a
    // generator seeded with Seed, so the same seed and the same traffic give the same faults.
    std::uint32_t Seed = 1;
    double DropPercent = 0;     // the reply is never sent
    double CorruptPercent = 0;  // the check byte is inverted, so the frame fails its check
    double TruncatePercent = 0; // only the first 1..51 bytes are sent
    double DelayPercent = 0;    // the reply leaves DelayMs late (later replies queue behind it)
    int DelayMs = 300;          // longer than the tool's four-tick resend interval (220 ms)
    // The reply is a whole, well-checked frame for another command: a status frame or another
    // page's answer in place of a page's, the identification page in place of a status frame.
    double WrongReplyPercent = 0;
    int RefusedPage = -1;       // a page 1..7 whose writes are not stored: the old content is echoed
    bool Silent = false;        // the unit never answers and ignores every command

    // Unplugging: at UnplugAtMs the unit goes away (input ignored, queued replies lost); when
    // ReplugAfterMs is set it comes back that long after. Negative: never.
    std::int64_t UnplugAtMs = -1;
    std::int64_t ReplugAfterMs = -1;
};

// What the status frame reports, for tests and for the simulator's own diagnostics.
struct UnitTelemetry {
    int Rpm = 0;
    int TpPercent = 0;
    int TpCount = 0;     // 10-bit converter count of the throttle sensor
    int SupplyCount = 0; // 10-bit converter count of the supply divider (1:11)
    std::array<int, ServoCount> DesiredMv{};
    std::array<int, ServoCount> MeasuredMv{};
    int ProgrammingCount = 0;
    int SaveCountdown = 0;
};

// A behavioural model of the unit on the far end of the serial line. It is driven by the caller's
// clock: Advance() moves time on, Receive() hands it the bytes that arrived at the current time,
// TakeOutput() drains what the unit has sent by now. Nothing in here sleeps or spawns threads, and
// any sequence of bytes is safe to feed.
class UnitModel {
public:
    // A frame starts at the first byte after this much silence on the line; a partial frame older
    // than that is thrown away. The tool writes a whole frame at once and waits at least one 55 ms
    // tick before the next, so this resynchronises after any garbage.
    static constexpr int InterFrameGapMs = 20;
    // The unit stores its parameters after a programming: the countdown starts at StoreCountStart
    // with each accepted page write and reaches 0 StoreDurationMs later.
    static constexpr int StoreCountStart = 800;
    static constexpr int StoreDurationMs = 3000;
    // The engine sweeps: speed up and down over the map's RPM range, throttle 0..100 % and back.
    static constexpr int RpmSweepPeriodMs = 40000;
    static constexpr int TpSweepPeriodMs = 13000;
    // The servos follow their desired position at this rate.
    static constexpr int ServoSlewMvPerMs = 10;
    static constexpr int MaxServoMv = 5000;
    // About 13.8 V through the 1:11 divider: 257 * 5000 / 1023 * 11 = 13816 mV.
    static constexpr int SupplyCountNominal = 257;

    explicit UnitModel(UnitOptions options = {});

    // Bytes that arrived on the unit's receive line at the current time, in any chunking.
    void Receive(std::span<const std::uint8_t> bytes);
    // Moves the unit's clock on: engine, servos, storing countdown, delayed replies, unplugging.
    void Advance(std::int64_t milliseconds);
    // Everything the unit has put on its transmit line so far; the queue is emptied.
    std::vector<std::uint8_t> TakeOutput();
    bool HasOutput() const { return !Output.empty(); }

    std::int64_t NowMs() const { return Now; }
    bool Plugged() const { return IsPlugged; }
    void Unplug();
    void Replug();
    void SetSilent(bool silent) { Options.Silent = silent; }
    void RefusePage(int page) { Options.RefusedPage = page; }

    // Stops the sweep and holds the engine at the given point (tests); ResumeSweep goes back.
    void HoldEngine(int rpm, int tpPercent);
    void ResumeSweep() { Held.reset(); }

    // The unit's memory: page 0 identification, pages 1..7 the parameter block.
    const DeviceImage& Memory() const { return Pages; }
    DeviceImage& Memory() { return Pages; }

    UnitTelemetry Telemetry() const;
    Frame StatusFrame() const;
    const UnitOptions& Settings() const { return Options; }

private:
    struct PendingReply {
        std::int64_t ReleaseAt = 0;
        std::vector<std::uint8_t> Bytes;
    };
    struct EnginePoint {
        int Rpm = 0;
        int TpPercent = 0;
    };

    void HandleFrame(const Frame& frame);
    void SendReply(const Frame& reply);
    Frame ReplyToAnotherCommand(const Frame& reply, bool statusFrame) const;
    void ReleaseDue();
    void StepServos(std::int64_t milliseconds);
    EnginePoint Engine() const;
    int TargetMv(int servo, const EnginePoint& engine) const;
    int ThrottleCount(int tpPercent) const;
    void FillIdentification();

    UnitOptions Options;
    DeviceImage Pages;
    std::mt19937 Random;

    std::int64_t Now = 0;
    bool IsPlugged = true;
    std::int64_t UnpluggedAt = -1;

    std::vector<std::uint8_t> Partial;
    std::int64_t LastByteAt = 0;

    std::deque<PendingReply> Pending;
    std::vector<std::uint8_t> Output;

    std::optional<EnginePoint> Held;
    std::array<int, ServoCount> Measured{};
    int ProgrammingCount = 0;
    std::int64_t StoreRemainingMs = 0;
    bool StorePending = false;
};

// The month code of the identification page: the sum, modulo 256, of the character codes of the
// month's English three-letter abbreviation ("Jan" -> 25). month is 1..12; anything else gives 0.
std::uint8_t MonthCode(int month);

} // namespace zevo::sim
