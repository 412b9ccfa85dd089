#include "unit_model.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace zevo::sim {
namespace {

constexpr int LastPage = PageCount - 1;

void PutWord(Frame& frame, int offset, int value) {
    const auto v = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
    frame[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(v & 0xFF);
    frame[static_cast<std::size_t>(offset + 1)] = static_cast<std::uint8_t>(v >> 8);
}

// Position 0..span on a triangle that rises over the first half of the period and falls back.
std::int64_t Triangle(std::int64_t now, std::int64_t period, std::int64_t span) {
    const std::int64_t half = period / 2;
    const std::int64_t phase = now % period;
    const std::int64_t rise = phase < half ? phase : period - phase;
    return span * rise / half;
}

// Linear interpolation between two stored points, exact at the points themselves.
int Between(int from, int to, std::int64_t position, std::int64_t width) {
    if (width <= 0)
        return from;
    return from + static_cast<int>(static_cast<std::int64_t>(to - from) * position / width);
}

// Where x lies on an axis: the lower point, the upper point and the distance into the interval.
// The unit's memory may hold any bytes, so a falling or flat axis only has to be safe, not smooth.
struct AxisSpot {
    int Lower = 0;
    int Upper = 0;
    std::int64_t Into = 0;
    std::int64_t Width = 0;
};

template <typename PointAt> AxisSpot Locate(int x, int count, PointAt point) {
    for (int i = 0; i + 1 < count; ++i) {
        const int lo = point(i);
        const int hi = point(i + 1);
        if (x >= lo && x < hi)
            return {i, i + 1, x - lo, hi - lo};
    }
    const int edge = x >= point(count - 1) ? count - 1 : 0;
    return {edge, edge, 0, 0};
}

} // namespace

std::uint8_t MonthCode(int month) {
    static constexpr const char* Names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12)
        return 0;
    unsigned sum = 0;
    for (const char* c = Names[month - 1]; *c != '\0'; ++c)
        sum += static_cast<unsigned char>(*c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

UnitModel::UnitModel(UnitOptions options) : Options(std::move(options)), Random(Options.Seed) {
    SetDefaults(Pages);
    FillIdentification();
    ProgrammingCount = Options.ProgrammingCount;
    const EnginePoint start = Engine();
    for (int s = 0; s < ServoCount; ++s)
        Measured[static_cast<std::size_t>(s)] = TargetMv(s, start);
}

void UnitModel::FillIdentification() {
    auto page = Pages.IdentificationPage();
    std::fill(page.begin(), page.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < 3; ++i)
        page[i] = static_cast<std::uint8_t>(i < Options.Name.size() ? Options.Name[i] : ' ');
    page[3] = static_cast<std::uint8_t>(Options.NameNumber % 100);
    page[4] = static_cast<std::uint8_t>(Options.BuildDay);
    page[5] = MonthCode(Options.BuildMonth);
    page[6] = static_cast<std::uint8_t>(Options.BuildYear - 2000);
    page[7] = static_cast<std::uint8_t>(Options.BuildHour);
    page[8] = static_cast<std::uint8_t>(Options.BuildMinute);
    page[10] = static_cast<std::uint8_t>(Options.ProgramVersion);
    const std::size_t textLength = std::min<std::size_t>(Options.UnitText.size(), 30);
    for (std::size_t i = 0; i < textLength; ++i)
        page[16 + i] = static_cast<std::uint8_t>(Options.UnitText[i]);
}

void UnitModel::Receive(std::span<const std::uint8_t> bytes) {
    if (!IsPlugged || Options.Silent || bytes.empty())
        return;
    if (!Partial.empty() && Now - LastByteAt >= InterFrameGapMs)
        Partial.clear();
    LastByteAt = Now;
    for (std::uint8_t byte : bytes) {
        Partial.push_back(byte);
        if (Partial.size() == static_cast<std::size_t>(FrameSize)) {
            Frame frame{};
            std::copy(Partial.begin(), Partial.end(), frame.begin());
            Partial.clear();
            HandleFrame(frame);
        }
    }
}

void UnitModel::HandleFrame(const Frame& frame) {
    // A frame that fails its check byte is ignored: the tool resends after its time-out.
    if (!CheckByteValid(frame))
        return;
    const std::uint8_t code = frame[0];
    const std::span<const std::uint8_t> payload(frame.data() + 1, FramePayloadSize);

    if (code == StatusRequestCode) {
        SendReply(StatusFrame());
        return;
    }
    if (code >= ProgramPageCode && code <= ProgramPageCode + LastPage) {
        const int page = code - ProgramPageCode;
        // Page 0 is the unit's own identification; the unit answers with it and keeps it.
        if (page != 0 && page != Options.RefusedPage) {
            std::copy(payload.begin(), payload.end(), Pages.Page(page).begin());
            StorePending = true;
            StoreRemainingMs = StoreDurationMs;
        }
        SendReply(MakeFrame(static_cast<std::uint8_t>(code ^ ReplyBit), Pages.Page(page)));
        return;
    }
    if (code >= ReadPageCode && code <= ReadPageCode + LastPage) {
        const int page = code - ReadPageCode;
        SendReply(MakeFrame(static_cast<std::uint8_t>(code ^ ReplyBit), Pages.Page(page)));
        return;
    }
    // Any other code is not a command of this unit: no answer.
}

void UnitModel::SendReply(const Frame& reply) {
    // One draw per reply from the raw generator (its sequence is fixed by the standard, unlike the
    // library distributions), so a seed replays the same faults on every compiler.
    const double draw = static_cast<double>(Random()) * 100.0 / 4294967296.0;
    std::vector<std::uint8_t> bytes(reply.begin(), reply.end());
    std::int64_t releaseAt = Now;

    double bound = Options.DropPercent;
    if (draw < bound)
        return;
    if (draw < (bound += Options.CorruptPercent)) {
        bytes[FrameSize - 1] ^= 0xFF;
    } else if (draw < (bound += Options.TruncatePercent)) {
        bytes.resize(1 + Random() % (FrameSize - 1));
    } else if (draw < (bound += Options.DelayPercent)) {
        releaseAt += std::max(0, Options.DelayMs);
    } else if (draw < (bound += Options.WrongReplyPercent)) {
        // The lower half of the share gives a status frame, the upper half another page's answer:
        // no further draw, so the faults of a seed fall on the same replies with or without it.
        const bool statusFrame = draw < bound - Options.WrongReplyPercent / 2;
        const Frame other = ReplyToAnotherCommand(reply, statusFrame);
        bytes.assign(other.begin(), other.end());
    }

    // The unit has one transmitter: a late reply holds back the ones after it.
    if (!Pending.empty())
        releaseAt = std::max(releaseAt, Pending.back().ReleaseAt);
    Pending.push_back({releaseAt, std::move(bytes)});
    ReleaseDue();
}

Frame UnitModel::ReplyToAnotherCommand(const Frame& reply, bool statusFrame) const {
    // A status request is answered with the identification page, as if it had been a read of page 0.
    if (reply[0] == StatusFrameCode)
        return MakeFrame(static_cast<std::uint8_t>(ReadPageCode ^ ReplyBit), Pages.Page(0));
    // A page's answer gives way to a status frame or to the answer for the next page (of the same
    // kind, with that page's content as the unit holds it).
    if (statusFrame)
        return StatusFrame();
    const int other = ((reply[0] & PageNumberMask) + 1) % PageCount;
    const auto code = static_cast<std::uint8_t>((reply[0] & ~PageNumberMask) | other);
    return MakeFrame(code, Pages.Page(other));
}

void UnitModel::ReleaseDue() {
    while (!Pending.empty() && Pending.front().ReleaseAt <= Now) {
        const auto& bytes = Pending.front().Bytes;
        Output.insert(Output.end(), bytes.begin(), bytes.end());
        Pending.pop_front();
    }
}

void UnitModel::Advance(std::int64_t milliseconds) {
    // Small steps, so that the servos, the countdown and late replies keep their order in time
    // however large a step the caller takes.
    constexpr std::int64_t Step = 5;
    while (milliseconds > 0) {
        const std::int64_t step = std::min(milliseconds, Step);
        milliseconds -= step;
        Now += step;
        StepServos(step);
        if (StoreRemainingMs > 0) {
            StoreRemainingMs = std::max<std::int64_t>(0, StoreRemainingMs - step);
            if (StoreRemainingMs == 0 && StorePending) {
                StorePending = false;
                ++ProgrammingCount;
            }
        }
        if (IsPlugged && Options.UnplugAtMs >= 0 && UnpluggedAt < 0 && Now >= Options.UnplugAtMs)
            Unplug();
        if (!IsPlugged && Options.ReplugAfterMs >= 0 && Now >= UnpluggedAt + Options.ReplugAfterMs)
            Replug();
        ReleaseDue();
    }
}

std::vector<std::uint8_t> UnitModel::TakeOutput() {
    std::vector<std::uint8_t> out;
    out.swap(Output);
    return out;
}

void UnitModel::Unplug() {
    if (!IsPlugged)
        return;
    IsPlugged = false;
    UnpluggedAt = Now;
    Partial.clear();
    Pending.clear();
}

void UnitModel::Replug() {
    IsPlugged = true;
    Partial.clear();
}

void UnitModel::HoldEngine(int rpm, int tpPercent) {
    Held = EnginePoint{std::clamp(rpm, 0, 0xFFFF), std::clamp(tpPercent, 0, 100)};
}

UnitModel::EnginePoint UnitModel::Engine() const {
    if (Held)
        return *Held;
    // Speed covers the RPM axes of both servos, from the lowest first point to the highest last one.
    int low = 0xFFFF;
    int high = 0;
    for (int s = 0; s < ServoCount; ++s) {
        low = std::min(low, 100 * Pages.RpmAxis(s, 0));
        high = std::max(high, 100 * Pages.RpmAxis(s, RpmPoints - 1));
    }
    if (high < low)
        high = low;
    EnginePoint point;
    point.Rpm = low + static_cast<int>(Triangle(Now, RpmSweepPeriodMs, high - low));
    point.TpPercent = static_cast<int>(Triangle(Now, TpSweepPeriodMs, 100));
    return point;
}

int UnitModel::TargetMv(int servo, const EnginePoint& engine) const {
    if (Pages.ServoEnable(servo) == 0)
        return 0;
    const int perCell = Pages.PerCentMode(servo) != 0 ? 50 : 20; // 100 % stands for 5000 mV
    auto cellMv = [&](int row, int column) { return perCell * Pages.MapCell(servo, row, column); };

    const AxisSpot column = Locate(engine.Rpm, RpmPoints, [&](int i) { return 100 * Pages.RpmAxis(servo, i); });
    auto alongRow = [&](int row) {
        return Between(cellMv(row, column.Lower), cellMv(row, column.Upper), column.Into, column.Width);
    };
    // Without throttle dependence the unit uses the first row only.
    int target = alongRow(0);
    if (Pages.TpEnable(servo) != 0) {
        const AxisSpot row =
            Locate(engine.TpPercent, MapRows, [](int i) { return TpRows[static_cast<std::size_t>(i)]; });
        target = Between(alongRow(row.Lower), alongRow(row.Upper), row.Into, row.Width);
    }
    // The position signal spans 0..5 V; a cell byte beyond 100 % (or 250 steps) cannot go further.
    return std::clamp(target, 0, MaxServoMv);
}

void UnitModel::StepServos(std::int64_t milliseconds) {
    const EnginePoint engine = Engine();
    const int reach = static_cast<int>(milliseconds) * ServoSlewMvPerMs;
    for (int s = 0; s < ServoCount; ++s) {
        int& measured = Measured[static_cast<std::size_t>(s)];
        const int target = TargetMv(s, engine);
        measured += std::clamp(target - measured, -reach, reach);
    }
}

int UnitModel::ThrottleCount(int tpPercent) const {
    const int mv0 = 10 * Pages.Tps0();
    const int mv100 = 10 * Pages.Tps100() + 2500;
    const int mv = mv0 + (mv100 - mv0) * tpPercent / 100;
    return std::clamp(mv * 1023 / 5000, 0, 1023);
}

UnitTelemetry UnitModel::Telemetry() const {
    const EnginePoint engine = Engine();
    UnitTelemetry t;
    t.Rpm = engine.Rpm;
    t.TpPercent = engine.TpPercent;
    t.TpCount = ThrottleCount(engine.TpPercent);
    t.SupplyCount = SupplyCountNominal;
    for (int s = 0; s < ServoCount; ++s) {
        t.DesiredMv[static_cast<std::size_t>(s)] = TargetMv(s, engine);
        t.MeasuredMv[static_cast<std::size_t>(s)] = Measured[static_cast<std::size_t>(s)];
    }
    t.ProgrammingCount = ProgrammingCount;
    t.SaveCountdown = static_cast<int>((StoreRemainingMs * StoreCountStart + StoreDurationMs - 1) / StoreDurationMs);
    return t;
}

Frame UnitModel::StatusFrame() const {
    const UnitTelemetry t = Telemetry();
    Frame f{};
    f[0] = StatusFrameCode;
    PutWord(f, 1, t.Rpm);
    PutWord(f, 3, t.TpCount);
    PutWord(f, 5, t.SupplyCount);
    PutWord(f, 7, t.MeasuredMv[0]);
    PutWord(f, 9, t.DesiredMv[0]);
    PutWord(f, 11, t.MeasuredMv[1]);
    PutWord(f, 13, t.DesiredMv[1]);
    PutWord(f, 15, t.ProgrammingCount);
    // Test values the unit's developers watch: the raw inputs, the targets, the store and uptime.
    const int tests[8] = {t.Rpm,           t.TpCount,          t.SupplyCount,
                          t.DesiredMv[0],  t.DesiredMv[1],     t.SaveCountdown,
                          Pages.PulsesPerRevIndex(), static_cast<int>((Now / 1000) & 0xFFFF)};
    for (int i = 0; i < 8; ++i)
        PutWord(f, 23 + 2 * i, tests[i]);
    f[41] = static_cast<std::uint8_t>(t.TpPercent);
    // A servo reports 1 while it runs; a disabled servo reports 0 (the tool only colours an
    // enabled servo that reports 0).
    f[42] = Pages.ServoEnable(0) != 0 ? 1 : 0;
    f[43] = Pages.ServoEnable(1) != 0 ? 1 : 0;
    PutWord(f, 47, t.SaveCountdown);
    f[49] = 0; // stored data intact
    f[50] = static_cast<std::uint8_t>(Options.ProgramVersion);
    return MakeFrame(f[0], std::span<const std::uint8_t>(f.data() + 1, FramePayloadSize));
}

} // namespace zevo::sim
