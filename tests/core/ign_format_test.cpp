#include "files/ign_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace zevo {
namespace {

using namespace std::string_literals;

std::string Slurp(const std::string& name) {
    std::ifstream in(std::string(ZEVO_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Written(const DeviceImage& image) {
    std::ostringstream out;
    WriteIgnFile(out, image);
    return out.str();
}

IgnReadResult Read(const std::string& text, DeviceImage& image) {
    std::istringstream in(text);
    return ReadIgnFile(in, image);
}

DeviceImage DefaultSet() {
    DeviceImage image;
    SetDefaults(image);
    return image;
}

// A block where every byte differs from the default set, so that a stray write shows. Both map
// units are per cent (non-zero).
DeviceImage Base() {
    DeviceImage image;
    for (std::size_t i = 0; i < image.Bytes.size(); ++i)
        image.Bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

bool HasFileKey(int blockByte) { return blockByte <= 10 || blockByte == 15 || blockByte == 16 || blockByte >= 20; }

// The base with every keyed field of the default set.
DeviceImage BaseWithDefaults() {
    DeviceImage image = Base();
    for (int b = 0; b < BlockSize; ++b) {
        if (HasFileKey(b))
            image.BlockByte(b) = DefaultSet().BlockByte(b);
    }
    return image;
}

using Change = std::function<void(DeviceImage&)>;

void Tps(DeviceImage& image, int tps0, int tps100) {
    image.Tps0() = static_cast<std::uint8_t>(tps0);
    image.Tps100() = static_cast<std::uint8_t>(tps100);
}

void Servo(DeviceImage& image, int s, std::vector<int> values) {
    image.ServoEnable(s) = static_cast<std::uint8_t>(values[0]);
    image.TpEnable(s) = static_cast<std::uint8_t>(values[1]);
    image.PerCentMode(s) = static_cast<std::uint8_t>(values[2]);
    image.HysteresisMv(s) = static_cast<std::uint8_t>(values[3]);
    image.HysteresisRpm(s) = static_cast<std::uint8_t>(values[4]);
}

const std::string Key = "VORTALEX_KEY    56 \r\n\r\n";

TEST(IgnWrite, DefaultSetIsTheGoldenFile) {
    EXPECT_EQ(Written(DefaultSet()), Slurp("default_set.ign"));
}

TEST(IgnRead, GoldenFileSetsExactlyTheKeyedFieldsAndWritesBackTheSame) {
    DeviceImage image = Base();
    ASSERT_EQ(Read(Slurp("default_set.ign"), image), IgnReadResult::Ok);
    EXPECT_EQ(image, BaseWithDefaults());
    EXPECT_EQ(Written(image), Slurp("default_set.ign"));
}

TEST(IgnRoundTrip, WriteReadWriteGivesTheSameBytes) {
    DeviceImage full;
    full.Bytes.fill(255); // the widest values of every field: 25500 RPM, 5050 mV, 5100 mV cells
    DeviceImage mixed = Base();
    mixed.PerCentMode(1) = 0;
    mixed.TpEnable(0) = 2;
    for (const DeviceImage& source : {DeviceImage{}, full, mixed, DefaultSet()}) {
        const std::string text = Written(source);
        DeviceImage back;
        ASSERT_EQ(Read(text, back), IgnReadResult::Ok);
        EXPECT_EQ(Written(back), text);
        // Switches come back as 0 or 1, every other keyed field as it was.
        for (int b = 0; b < BlockSize; ++b) {
            const bool isSwitch = (b >= 4 && b <= 7) || b == 15 || b == 16;
            const int expected = HasFileKey(b) ? (isSwitch ? source.BlockByte(b) != 0 : source.BlockByte(b)) : 0;
            ASSERT_EQ(back.BlockByte(b), expected) << "block byte " << b;
        }
    }
}

struct ReadRow {
    const char* Name;
    std::string Input;
    IgnReadResult Result;
    Change Expected; // applied to the base: the bytes the file must change
};

TEST(IgnRead, RulesAndOddInput) {
    const std::string longWord(255, 'x');
    const std::vector<ReadRow> rows = {
        {"empty file", "", IgnReadResult::UnmatchedVersion, {}},
        {"another version", "VORTALEX_KEY    55 \r\n\r\nTPS 500 4000", IgnReadResult::UnmatchedVersion, {}},
        {"text before the key is ignored", "my bike\r\nTPS 600 3000\r\n" + Key + "POCET_PULSU 7",
         IgnReadResult::Ok, [](DeviceImage& i) { i.PulsesPerRevIndex() = 7; }},
        {"a later key with 56 passes", "VORTALEX_KEY 55 VORTALEX_KEY VORTALEX_KEY 56 POCET_PULSU 7",
         IgnReadResult::Ok, [](DeviceImage& i) { i.PulsesPerRevIndex() = 7; }},
        {"key only", Key, IgnReadResult::Ok, {}},
        {"calibration only", Key + "TPS 500 4000\r\n", IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"LF line ends", "VORTALEX_KEY 56\n\nTPS 500 4000\n", IgnReadResult::Ok,
         [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"tab and a lone CR", "VORTALEX_KEY\t56\rTPS\t500\r4000", IgnReadResult::Ok,
         [](DeviceImage& i) { Tps(i, 50, 150); }},
        // No editor writes a form feed or vertical tab between numbers: a file damaged on its way.
        {"form feed and vertical tab", "VORTALEX_KEY\t56\fTPS\v500\r4000", IgnReadResult::Damaged, {}},
        {"a UTF-8 byte order mark in front", "\xEF\xBB\xBF" + Key + "TPS 500 4000", IgnReadResult::Ok,
         [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"DOS end-of-file marks at the end", Key + "TPS 500 4000\x1A\x1A", IgnReadResult::Ok,
         [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"a DOS end-of-file mark inside", Key + "TPS 500\x1A 4000", IgnReadResult::Damaged, {}},
        {"DEL inside a number", Key + "TPS 5\x7F" "00 4000", IgnReadResult::Damaged, {}},
        {"a control byte before the key word is text before it", "note\x01\r\n" + Key + "TPS 500 4000",
         IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"100 % calibration wraps", Key + "TPS 300 2400", IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 30, 246); }},
        {"numbers keep their low 16 bits", "VORTALEX_KEY 65592 TPS 66036 00000000000000000000000004000",
         IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"RPM 25600 wraps to 0, end of file inside the axis", Key + "RPM_SERVO1 0 1000 2000 3000 4000 25600",
         IgnReadResult::Ok,
         [](DeviceImage& i) {
             for (int p = 0; p < 6; ++p)
                 i.RpmAxis(0, p) = static_cast<std::uint8_t>(p < 5 ? 10 * p : 0);
         }},
        {"per-cent map", Key + "SERVO_1 1 0 1 400 100 NAP_SERVO1 50", IgnReadResult::Ok,
         [](DeviceImage& i) { Servo(i, 0, {1, 0, 1, 80, 20}), i.MapCell(0, 0) = 50; }},
        {"millivolt map", Key + "SERVO_1 1 0 0 400 100 NAP_SERVO1 50", IgnReadResult::Ok,
         [](DeviceImage& i) { Servo(i, 0, {1, 0, 0, 80, 20}), i.MapCell(0, 0) = 2; }},
        {"map before its servo line takes the unit held before", Key + "NAP_SERVO2 50 SERVO_2 1 0 0 400 100",
         IgnReadResult::Ok, [](DeviceImage& i) { i.MapCell(1, 0) = 50, Servo(i, 1, {1, 0, 0, 80, 20}); }},
        {"switches are stored as read", Key + "SERVO_1 2 2 258 4 9", IgnReadResult::Ok,
         [](DeviceImage& i) { Servo(i, 0, {2, 2, 2, 0, 1}); }},
        {"the last occurrence wins", Key + "POCET_PULSU 3 POCET_PULSU 4", IgnReadResult::Ok,
         [](DeviceImage& i) { i.PulsesPerRevIndex() = 4; }},
        {"lower-case key and its numbers are skipped", Key + "servo_1 1 1 1 400 100 TPS 500 4000",
         IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 50, 150); }},
        {"a key cuts the section before it short", Key + "TPS 500 SERVO_2 0 1 1 10 10", IgnReadResult::Ok,
         [](DeviceImage& i) { i.Tps0() = 50, Servo(i, 1, {0, 1, 1, 2, 2}); }},
        {"digits then letters: the digits are the value", Key + "TPS 500abc 4000", IgnReadResult::Ok,
         [](DeviceImage& i) { i.Tps0() = 50; }},
        {"a sign is not a number", Key + "TPS -500 4000", IgnReadResult::Ok, {}},
        {"NUL inside a key", Key + "TPS\0 500 4000"s, IgnReadResult::Damaged, {}},
        {"NUL inside a number", Key + "TPS 5\0" "00 4000"s, IgnReadResult::Damaged, {}},
        {"UTF-16 with its byte order mark", "\xFF\xFEV\0O\0R\0"s, IgnReadResult::Damaged, {}},
        {"UTF-16 without one", "V\0O\0R\0T\0"s, IgnReadResult::Damaged, {}},
        {"a long word hides no key", Key + longWord + "TPS 500 4000", IgnReadResult::Ok, {}},
        {"a long word hides no key word", longWord + "VORTALEX_KEY 56 TPS 500 4000", IgnReadResult::UnmatchedVersion,
         {}},
        {"a long word before the key is skipped", std::string(300, 'x') + " " + Key + "TPS 500 4000",
         IgnReadResult::Ok, [](DeviceImage& i) { Tps(i, 50, 150); }},
    };
    for (const ReadRow& row : rows) {
        DeviceImage image = Base();
        DeviceImage expected = Base();
        if (row.Expected)
            row.Expected(expected);
        EXPECT_EQ(Read(row.Input, image), row.Result) << row.Name;
        EXPECT_EQ(image, expected) << row.Name;
    }
}

struct FileRow {
    const char* File; // under tests/data/ign
    IgnReadResult Result;
    Change Expected;
};

TEST(IgnRead, BrokenFiles) {
    const std::vector<FileRow> rows = {
        {"lf_line_ends.ign", IgnReadResult::Ok, [](DeviceImage& i) { i = BaseWithDefaults(); }},
        {"version_55.ign", IgnReadResult::UnmatchedVersion, {}},
        {"binary_garbage.ign", IgnReadResult::UnmatchedVersion, {}},
        // Cut inside the fourth map row of servo 1, in the middle of "2300": what was read counts.
        {"truncated.ign", IgnReadResult::Ok,
         [](DeviceImage& i) {
             const DeviceImage d = DefaultSet();
             i.PulsesPerRevIndex() = d.PulsesPerRevIndex();
             Tps(i, d.Tps0(), d.Tps100());
             Servo(i, 0, {1, 0, 0, 80, 20});
             for (int p = 0; p < RpmPoints; ++p)
                 i.RpmAxis(0, p) = d.RpmAxis(0, p);
             for (int c = 0; c < 48; ++c)
                 i.MapCell(0, c) = d.MapCell(0, c);
             i.MapCell(0, 48) = 23 / 20;
         }},
        // A NUL inside "TPS": refused whole, where it once left the calibration behind in silence.
        {"nul_in_key.ign", IgnReadResult::Damaged, {}},
    };
    for (const FileRow& row : rows) {
        DeviceImage image = Base();
        DeviceImage expected = Base();
        if (row.Expected)
            row.Expected(expected);
        EXPECT_EQ(Read(Slurp(std::string("ign/") + row.File), image), row.Result) << row.File;
        EXPECT_EQ(image, expected) << row.File;
    }
}

// Every position of the golden file, a control byte put in or put over what stands there: the file
// is refused, or read as the very set it holds. Never another set in silence.
TEST(IgnRead, AControlByteAnywhereIsRefusedOrChangesNothing) {
    const std::string golden = Slurp("default_set.ign");
    DeviceImage intact = Base();
    ASSERT_EQ(Read(golden, intact), IgnReadResult::Ok);
    const std::size_t keyEnd = std::string("VORTALEX_KEY").size();
    int refused = 0;
    for (const char control : {'\0', '\x01', '\x0B', '\x0C', '\x1B', '\x7F'}) {
        for (std::size_t at = 0; at <= golden.size(); ++at) {
            for (const bool over : {false, true}) {
                if (over && at == golden.size())
                    continue;
                std::string text = golden;
                if (over)
                    text[at] = control;
                else
                    text.insert(at, 1, control);
                DeviceImage image = Base();
                std::istringstream in(text);
                IgnDamage damage;
                const IgnReadResult result = ReadIgnFile(in, image, &damage);
                const std::string where = "byte " + std::to_string(int(control)) + (over ? " over " : " at ") +
                                          std::to_string(at);
                if (result == IgnReadResult::Ok) {
                    ASSERT_EQ(image, intact) << where;
                    continue;
                }
                ++refused;
                ASSERT_EQ(image, Base()) << where;
                if (at <= keyEnd) // inside or glued to the key word: no key, no data
                    continue;
                ASSERT_EQ(result, IgnReadResult::Damaged) << where;
                ASSERT_EQ(damage.Offset, at) << where;
                ASSERT_EQ(damage.Byte, static_cast<std::uint8_t>(control)) << where;
                const auto lines = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
                ASSERT_EQ(damage.Line, static_cast<std::uint64_t>(lines) + 1) << where;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(IgnRead, SizeLimitIsTheWholeFile) {
    // The golden set, padded with blanks to the limit: read; one byte more: refused unread.
    std::string text = Slurp("default_set.ign");
    text.resize(IgnFileLimit, ' ');
    DeviceImage image = Base();
    EXPECT_EQ(Read(text, image), IgnReadResult::Ok);
    EXPECT_EQ(image.Tps0(), DefaultSet().Tps0());
    text += ' ';
    image = Base();
    EXPECT_EQ(Read(text, image), IgnReadResult::TooLarge);
    EXPECT_EQ(image, Base());
}

// A source that hands out some bytes and then fails, as a disk or a network share can.
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string text, std::size_t failAt) : Text(std::move(text)), FailAt(failAt) {}

protected:
    int_type underflow() override {
        if (Position >= FailAt)
            throw std::ios_base::failure("read failed");
        if (Position >= Text.size())
            return traits_type::eof();
        Current = Text[Position++];
        setg(&Current, &Current, &Current + 1);
        return traits_type::to_int_type(Current);
    }

private:
    std::string Text;
    std::size_t FailAt;
    std::size_t Position = 0;
    char Current = 0;
};

TEST(IgnRead, AFailingStreamChangesNothing) {
    const std::string golden = Slurp("default_set.ign");
    for (const std::size_t failAt : {std::size_t{0}, std::size_t{10}, golden.size() / 2}) {
        FailingBuffer buffer(golden, failAt);
        std::istream in(&buffer);
        DeviceImage image = Base();
        EXPECT_EQ(ReadIgnFile(in, image), IgnReadResult::ReadError) << failAt;
        EXPECT_EQ(image, Base()) << failAt;
    }
    std::ifstream missing("/nonexistent/zevo.ign");
    DeviceImage image = Base();
    EXPECT_EQ(ReadIgnFile(missing, image), IgnReadResult::ReadError);
    EXPECT_EQ(image, Base());
}

} // namespace
} // namespace zevo
