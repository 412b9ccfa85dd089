#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "lang/language_tables.h"
#include "link/status_frame.h"

namespace zevo {
namespace {

StatusFrame Example() {
    StatusFrame s;
    s.Rpm = 4500;
    s.TpCount = 512;
    s.SupplyCount = 260;
    s.TpPercent = 45;
    s.Version = 56;
    s.ServoState = {1, 1};
    return s;
}

TelemetryCaptions Compose(const StatusFrame& s, std::array<bool, 2> enabled = {true, true}) {
    return ComposeTelemetry(s, enabled, LanguageEnglish);
}

TEST(StatusFrame, TheUnitsExampleFrame) {
    const Frame raw = EncodeStatusFrame(Example());
    const std::optional<StatusFrame> s = DecodeStatusFrame(raw);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(TpMillivoltsFromCount(s->TpCount), 2502);
    EXPECT_EQ(SupplyMillivoltsFromCount(s->SupplyCount), 13970);

    const TelemetryCaptions c = Compose(*s);
    EXPECT_EQ(c.Rpm, "RPM = 4500 ");
    EXPECT_EQ(c.RpmGauge, 45);
    EXPECT_EQ(c.Tps, "TP= 45 %=2502 mV");
    EXPECT_EQ(c.TpsColour, LabelColour::Normal);
    EXPECT_EQ(c.TpsGauge, 45);
    EXPECT_EQ(c.Supply, "U= 14.0 V");
    EXPECT_EQ(c.SupplyColour, LabelColour::Normal);
    EXPECT_TRUE(c.VersionWarning.empty());
}

TEST(StatusFrame, FieldsSitWhereTheUnitPutsThem) {
    // Built by hand, not with the encoder, so a shared offset mistake cannot hide.
    std::array<std::uint8_t, 50> payload{};
    auto put = [&](int at, int value) {
        payload[static_cast<std::size_t>(at - 1)] = static_cast<std::uint8_t>(value & 0xFF);
        payload[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value >> 8);
    };
    put(1, 0x1234);
    put(3, 1023);
    put(5, 300);
    put(7, 1001);
    put(9, 1002);
    put(11, 2001);
    put(13, 2002);
    put(15, 77);
    for (int i = 0; i < 8; ++i)
        put(23 + 2 * i, 100 * (i + 1));
    payload[40] = 101; // byte 41
    payload[41] = 0;
    payload[42] = 5;
    put(47, 800);
    payload[48] = 1;  // byte 49
    payload[49] = 55; // byte 50
    const Frame raw = MakeFrame(StatusFrameCode, payload);
    const std::optional<StatusFrame> s = DecodeStatusFrame(raw);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->Rpm, 0x1234);
    EXPECT_EQ(s->TpCount, 1023);
    EXPECT_EQ(s->SupplyCount, 300);
    EXPECT_EQ(s->ServoMeasured, (std::array<std::uint16_t, 2>{1001, 2001}));
    EXPECT_EQ(s->ServoDesired, (std::array<std::uint16_t, 2>{1002, 2002}));
    EXPECT_EQ(s->ProgrammingCount, 77);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(s->TestValues[static_cast<std::size_t>(i)], 100 * (i + 1));
    EXPECT_EQ(s->TpPercent, 101);
    EXPECT_EQ(s->ServoState, (std::array<std::uint8_t, 2>{0, 5}));
    EXPECT_EQ(s->SaveCountdown, 800);
    EXPECT_EQ(s->EeDataError, 1);
    EXPECT_EQ(s->Version, 55);
    EXPECT_EQ(EncodeStatusFrame(*s), raw);
}

TEST(StatusFrame, WrongCheckByteIsDropped) {
    Frame raw = EncodeStatusFrame(Example());
    raw[51] ^= 0x01;
    EXPECT_FALSE(DecodeStatusFrame(raw).has_value());
}

TEST(StatusFrame, SupplyColourBands) {
    struct Case {
        int Millivolts;
        LabelColour Colour;
    };
    const Case cases[] = {
        {0, LabelColour::Red},        {7000, LabelColour::Red},     {7001, LabelColour::Yellow},
        {11000, LabelColour::Yellow}, {11001, LabelColour::Normal}, {13970, LabelColour::Normal},
        {14998, LabelColour::Normal}, {14999, LabelColour::Yellow}, {17998, LabelColour::Yellow},
        {17999, LabelColour::Red},    {56265, LabelColour::Red},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SupplyColour(c.Millivolts), c.Colour) << c.Millivolts;
}

TEST(StatusFrame, SupplyCaptionFromTheConverterCount) {
    struct Case {
        std::uint16_t Count;
        const char* Caption;
        LabelColour Colour;
    };
    // The colour follows the millivolts, not the rounded text: 6985 mV reads 7.0 V and is red.
    const Case cases[] = {
        {0, "U=  0.0 V", LabelColour::Red},       // 0 mV
        {130, "U=  7.0 V", LabelColour::Red},     // 6985 mV
        {131, "U=  7.0 V", LabelColour::Yellow},  // 7040 mV
        {174, "U=  9.4 V", LabelColour::Yellow},  // 9350 mV: 9.3 in double precision
        {204, "U= 11.0 V", LabelColour::Yellow},  // 10967 mV
        {205, "U= 11.0 V", LabelColour::Normal},  // 11011 mV
        {260, "U= 14.0 V", LabelColour::Normal},  // 13970 mV
        {279, "U= 15.0 V", LabelColour::Normal},  // 14993 mV
        {280, "U= 15.0 V", LabelColour::Yellow},  // 15048 mV
        {334, "U= 18.0 V", LabelColour::Yellow},  // 17952 mV
        {335, "U= 18.0 V", LabelColour::Red},     // 18007 mV
        {1023, "U= 55.0 V", LabelColour::Red},    // 55000 mV
        {65535, "U= 3523.4 V", LabelColour::Red}, // a damaged count still formats
    };
    for (const Case& c : cases) {
        StatusFrame s = Example();
        s.SupplyCount = c.Count;
        const int mv = SupplyMillivoltsFromCount(c.Count);
        const TelemetryCaptions captions = Compose(s);
        EXPECT_EQ(captions.SupplyColour, SupplyColour(mv)) << c.Count;
        EXPECT_EQ(captions.SupplyColour, c.Colour) << c.Count << " = " << mv << " mV";
        EXPECT_EQ(captions.Supply, c.Caption) << c.Count << " = " << mv << " mV";
    }
}

TEST(StatusFrame, ThrottleCaptions) {
    struct Case {
        std::uint8_t Percent;
        const char* Caption;
        LabelColour Colour;
        int Gauge;
    };
    const Case cases[] = {
        {0, "TP= 0 %=2502 mV", LabelColour::Normal, 0},
        {100, "TP= 100 %=2502 mV", LabelColour::Normal, 100},
        {101, "TP=error=2502 mV", LabelColour::Red, 0},
        {255, "TP=error=2502 mV", LabelColour::Red, 0},
    };
    for (const Case& c : cases) {
        StatusFrame s = Example();
        s.TpPercent = c.Percent;
        const TelemetryCaptions captions = Compose(s);
        EXPECT_EQ(captions.Tps, c.Caption);
        EXPECT_EQ(captions.TpsColour, c.Colour);
        EXPECT_EQ(captions.TpsGauge, c.Gauge);
    }
}

TEST(StatusFrame, RpmGaugeIsFullFromTenThousand) {
    const std::pair<std::uint16_t, int> cases[] = {{0, 0}, {99, 0}, {9999, 99}, {10000, 100}, {65535, 100}};
    for (auto [rpm, gauge] : cases) {
        StatusFrame s = Example();
        s.Rpm = rpm;
        EXPECT_EQ(Compose(s).RpmGauge, gauge) << rpm;
        EXPECT_EQ(Compose(s).Rpm, "RPM = " + std::to_string(rpm) + " ");
    }
}

TEST(StatusFrame, ServoLabelsTurnRedOnlyForAnEnabledServoOutOfPlace) {
    struct Case {
        std::uint8_t State;
        bool Enabled;
        LabelColour Colour;
    };
    const Case cases[] = {{0, true, LabelColour::Red},
                          {0, false, LabelColour::Normal},
                          {1, true, LabelColour::Normal},
                          {200, false, LabelColour::Normal}};
    for (const Case& c : cases) {
        StatusFrame s = Example();
        s.ServoState = {c.State, 1};
        const TelemetryCaptions captions = Compose(s, {c.Enabled, true});
        EXPECT_EQ(captions.ServoColour[0], c.Colour) << int(c.State) << c.Enabled;
        EXPECT_EQ(captions.ServoColour[1], LabelColour::Normal);
    }
    // Servo 2 reads its own state byte and its own enable switch.
    StatusFrame s = Example();
    s.ServoState = {1, 0};
    EXPECT_EQ(Compose(s, {false, true}).ServoColour[1], LabelColour::Red);
    EXPECT_EQ(Compose(s, {true, false}).ServoColour[1], LabelColour::Normal);
}

TEST(StatusFrame, ServoProgrammingAndTestCaptions) {
    StatusFrame s = Example();
    s.ServoDesired = {1500, 2500};
    s.ServoMeasured = {1490, 0};
    s.ProgrammingCount = 1234;
    s.TestValues = {1, 22, 333, 4444, 5, 65535, 0, 8};
    s.EeDataError = 3;
    for (std::uint8_t language : {LanguageCzech, LanguageEnglish, LanguageGerman}) {
        const TelemetryCaptions c = ComposeTelemetry(s, {true, true}, language);
        const std::string desired = MessageText(MsgId::MsgServoDesired, language);
        const std::string measured = MessageText(MsgId::MsgServoMeasured, language);
        EXPECT_EQ(c.ServoDesired[0], desired + " 1 = 1500 mV");
        EXPECT_EQ(c.ServoMeasured[0], measured + " 1 = 1490 mV");
        EXPECT_EQ(c.ServoDesired[1], desired + " 2 = 2500 mV");
        EXPECT_EQ(c.ServoMeasured[1], measured + " 2 = 0 mV");
        EXPECT_EQ(c.NumberOfProgramming, MessageText(MsgId::MsgNumberOfProgramming, language) + " 1234");
    }
    const TelemetryCaptions c = Compose(s);
    const std::array<std::string, 8> tests = {"Test1= 1", "Test2= 22",    "Test3= 333 ", "Test4=4444",
                                              "Test5= 5", "Test6= 65535", "Test7= 0",    "Test8= 8"};
    EXPECT_EQ(c.Test, tests);
    EXPECT_TRUE(c.EeDataError);
    s.EeDataError = 0;
    EXPECT_FALSE(Compose(s).EeDataError);
}

TEST(StatusFrame, VersionWarningNamesBothVersions) {
    StatusFrame s = Example();
    s.Version = 55;
    const TelemetryCaptions c = Compose(s);
    EXPECT_EQ(c.VersionWarning, MessageText(MsgId::MsgUnmatchedVersion, LanguageEnglish) + "  PC-56, IGN-55");
    s.Version = 0;
    EXPECT_EQ(Compose(s).VersionWarning,
              MessageText(MsgId::MsgUnmatchedVersion, LanguageEnglish) + "  PC-56, IGN-0");
}

} // namespace
} // namespace zevo
