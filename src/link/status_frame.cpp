#include "link/status_frame.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "lang/language_tables.h"

namespace zevo {

namespace {

// Byte offsets of the status frame.
namespace at {
constexpr int Rpm = 1;
constexpr int TpCount = 3;
constexpr int SupplyCount = 5;
constexpr int Servo1Measured = 7;
constexpr int Servo1Desired = 9;
constexpr int Servo2Measured = 11;
constexpr int Servo2Desired = 13;
constexpr int ProgrammingCount = 15;
constexpr int TestValues = 23;
constexpr int TpPercent = 41;
constexpr int Servo1State = 42;
constexpr int Servo2State = 43;
constexpr int SaveCountdown = 47;
constexpr int EeDataError = 49;
constexpr int Version = 50;
} // namespace at

std::uint16_t Word(std::span<const std::uint8_t, FrameSize> frame, int at) {
    return static_cast<std::uint16_t>(frame[static_cast<std::size_t>(at)] |
                                      (frame[static_cast<std::size_t>(at) + 1] << 8));
}

void PutWord(Frame& frame, int at, std::uint16_t value) {
    frame[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    frame[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(value >> 8);
}

// printf-style formatting into a std::string; the captions are short.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0)
        return {};
    return std::string(text, static_cast<std::size_t>(std::min<int>(length, sizeof text - 1)));
}

} // namespace

std::optional<StatusFrame> DecodeStatusFrame(std::span<const std::uint8_t, FrameSize> frame) {
    if (!CheckByteValid(frame))
        return std::nullopt;
    StatusFrame s;
    s.Rpm = Word(frame, at::Rpm);
    s.TpCount = Word(frame, at::TpCount);
    s.SupplyCount = Word(frame, at::SupplyCount);
    s.ServoMeasured = {Word(frame, at::Servo1Measured), Word(frame, at::Servo2Measured)};
    s.ServoDesired = {Word(frame, at::Servo1Desired), Word(frame, at::Servo2Desired)};
    s.ProgrammingCount = Word(frame, at::ProgrammingCount);
    for (int i = 0; i < 8; ++i)
        s.TestValues[static_cast<std::size_t>(i)] = Word(frame, at::TestValues + 2 * i);
    s.TpPercent = frame[at::TpPercent];
    s.ServoState = {frame[at::Servo1State], frame[at::Servo2State]};
    s.SaveCountdown = Word(frame, at::SaveCountdown);
    s.EeDataError = frame[at::EeDataError];
    s.Version = frame[at::Version];
    return s;
}

Frame EncodeStatusFrame(const StatusFrame& s) {
    Frame f{};
    f[0] = StatusFrameCode;
    PutWord(f, at::Rpm, s.Rpm);
    PutWord(f, at::TpCount, s.TpCount);
    PutWord(f, at::SupplyCount, s.SupplyCount);
    PutWord(f, at::Servo1Measured, s.ServoMeasured[0]);
    PutWord(f, at::Servo1Desired, s.ServoDesired[0]);
    PutWord(f, at::Servo2Measured, s.ServoMeasured[1]);
    PutWord(f, at::Servo2Desired, s.ServoDesired[1]);
    PutWord(f, at::ProgrammingCount, s.ProgrammingCount);
    for (int i = 0; i < 8; ++i)
        PutWord(f, at::TestValues + 2 * i, s.TestValues[static_cast<std::size_t>(i)]);
    f[at::TpPercent] = s.TpPercent;
    f[at::Servo1State] = s.ServoState[0];
    f[at::Servo2State] = s.ServoState[1];
    PutWord(f, at::SaveCountdown, s.SaveCountdown);
    f[at::EeDataError] = s.EeDataError;
    f[at::Version] = s.Version;
    return MakeFrame(f[0], std::span<const std::uint8_t>(f.data() + 1, FramePayloadSize));
}

std::uint16_t TpMillivoltsFromCount(std::uint16_t count) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(count) * 5000u / 1023u);
}

int SupplyMillivoltsFromCount(std::uint16_t count) {
    // Not held in 16 bits: the 11:1 divider would overflow them from 5958 mV of sensor voltage on.
    return static_cast<int>(static_cast<std::uint32_t>(count) * 5000u / 1023u) * 11;
}

LabelColour SupplyColour(int mv) {
    if (mv >= 17999 || mv <= 7000)
        return LabelColour::Red;
    if (mv >= 14999 || mv <= 11000)
        return LabelColour::Yellow;
    return LabelColour::Normal;
}

std::string VersionWarningText(int unitVersion, std::uint8_t language) {
    return MessageText(MsgId::MsgUnmatchedVersion, language) +
           Format("  PC-%d, IGN-%d", PcProgramVersion, unitVersion);
}

TelemetryCaptions ComposeTelemetry(const StatusFrame& s, const std::array<bool, ServoCount>& servoEnabled,
                                   std::uint8_t language) {
    return ComposeTelemetryFrom(s, TpMillivoltsFromCount(s.TpCount), SupplyMillivoltsFromCount(s.SupplyCount),
                                servoEnabled, language);
}

TelemetryCaptions ComposeTelemetryFrom(const StatusFrame& s, int tpMillivolts, int supply,
                                       const std::array<bool, ServoCount>& servoEnabled, std::uint8_t language) {
    TelemetryCaptions c;
    c.Rpm = Format("RPM = %d ", s.Rpm);
    c.RpmGauge = std::min(s.Rpm / 100, 100);

    if (s.TpPercent <= 100) {
        c.Tps = Format("TP= %d %%=%d mV", s.TpPercent, tpMillivolts);
        c.TpsColour = LabelColour::Normal;
        c.TpsGauge = s.TpPercent;
    } else {
        c.Tps = Format("TP=error=%d mV", tpMillivolts);
        c.TpsColour = LabelColour::Red;
        c.TpsGauge = 0;
    }

    // Single precision on purpose: the unit's users know the rounding of the figures it gives.
    const float volts = static_cast<float>(supply) * 0.001f;
    c.Supply = Format("U= %4.1f V", static_cast<double>(volts));
    c.SupplyColour = SupplyColour(supply);

    const std::string desired = MessageText(MsgId::MsgServoDesired, language);
    const std::string measured = MessageText(MsgId::MsgServoMeasured, language);
    for (int servo = 0; servo < ServoCount; ++servo) {
        const auto i = static_cast<std::size_t>(servo);
        c.ServoDesired[i] = Format("%s %d = %d mV", desired.c_str(), servo + 1, s.ServoDesired[i]);
        c.ServoMeasured[i] = Format("%s %d = %d mV", measured.c_str(), servo + 1, s.ServoMeasured[i]);
        c.ServoColour[i] = (s.ServoState[i] == 0 && servoEnabled[i]) ? LabelColour::Red : LabelColour::Normal;
    }

    c.NumberOfProgramming =
        Format("%s %d", MessageText(MsgId::MsgNumberOfProgramming, language).c_str(), s.ProgrammingCount);
    c.EeDataError = s.EeDataError != 0;

    // The blanks differ from label to label; the test-mode screen has always looked like this.
    struct TestLabel {
        const char* Before;
        const char* After;
    };
    static constexpr TestLabel TestLabels[8] = {{"Test1= ", ""}, {"Test2= ", ""}, {"Test3= ", " "},
                                                {"Test4=", ""},  {"Test5= ", ""}, {"Test6= ", ""},
                                                {"Test7= ", ""}, {"Test8= ", ""}};
    for (std::size_t i = 0; i < 8; ++i)
        c.Test[i] = TestLabels[i].Before + std::to_string(s.TestValues[i]) + TestLabels[i].After;

    if (s.Version != PcProgramVersion)
        c.VersionWarning = VersionWarningText(s.Version, language);
    return c;
}

} // namespace zevo
