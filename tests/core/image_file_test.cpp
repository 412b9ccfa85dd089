#include "app/image_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace zevo {
namespace {

// Every byte value appears in the first 256 bytes (37 is odd, so i * 37 runs through all residues).
DeviceImage PatternImage() {
    DeviceImage image;
    for (std::size_t i = 0; i < image.Bytes.size(); ++i) {
        image.Bytes[i] = static_cast<std::uint8_t>((i * 37 + 11) % 256);
    }
    return image;
}

constexpr AllCellsFlags PatternFlags = {1, 255};

DeviceImage FilledImage(std::uint8_t value) {
    DeviceImage image;
    image.Bytes.fill(value);
    return image;
}

std::string ReadDataFile(const char* name) {
    std::ifstream in(std::string(ZEVO_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Written(const DeviceImage& image, const AllCellsFlags& flags) {
    std::ostringstream out;
    WriteImageFile(out, image, flags);
    return out.str();
}

TEST(ImageFile, WritesTheKnownLayout) {
    EXPECT_EQ(Written(PatternImage(), PatternFlags), ReadDataFile("image_file_pattern.txt"));
}

TEST(ImageFile, ReadsTheKnownLayout) {
    std::istringstream in(ReadDataFile("image_file_pattern.txt"));
    DeviceImage image;
    AllCellsFlags flags{};
    ReadImageFile(in, image, flags);
    EXPECT_EQ(image, PatternImage());
    EXPECT_EQ(flags, PatternFlags);
}

TEST(ImageFile, WriteReadWriteGivesTheSameBytes) {
    DeviceImage image;
    std::uint32_t state = 12345;
    for (std::uint8_t& b : image.Bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    const std::string first = Written(image, {0, 1});

    std::istringstream in(first);
    DeviceImage back = FilledImage(0xAA);
    AllCellsFlags flags = {9, 9};
    ReadImageFile(in, back, flags);
    EXPECT_EQ(Written(back, flags), first);
}

struct ReadCase {
    const char* Name;
    std::string Text;
    std::vector<std::uint8_t> Leading; // expected first bytes of the image; the rest stay 0xAA
    AllCellsFlags Flags;               // expected flags; they start as {7, 7}
};

class ImageFileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ImageFileRead, FillsWhatTheNumbersReach) {
    const ReadCase& c = GetParam();
    std::istringstream in(c.Text);
    DeviceImage image = FilledImage(0xAA);
    AllCellsFlags flags = {7, 7};
    ReadImageFile(in, image, flags);

    DeviceImage expected = FilledImage(0xAA);
    std::copy(c.Leading.begin(), c.Leading.end(), expected.Bytes.begin());
    EXPECT_EQ(image, expected);
    EXPECT_EQ(flags, c.Flags);
}

std::string Numbers(int count, const char* each) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += each;
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageFileRead,
    testing::Values(
        ReadCase{"Empty", "", {}, {7, 7}},
        ReadCase{"FewerNumbersFillLeadingBytes", "1 2 3", {1, 2, 3}, {7, 7}},
        ReadCase{"AnyWhiteSpaceSeparates", " \t1\r\n2\v3\f4", {1, 2, 3, 4}, {7, 7}},
        ReadCase{"LowEightBits", "300 256 255", {44, 0, 255}, {7, 7}},
        ReadCase{"MinusOneIsAllOnes", "-1 +5 -0", {255, 5, 0}, {7, 7}},
        ReadCase{"HugeNumberTakenWhole", "1" + std::string(5000, '0') + " 9", {0, 9}, {7, 7}},
        ReadCase{"GarbageStopsReading", "1 2 x 3", {1, 2}, {7, 7}},
        ReadCase{"LettersAfterNumberStopAfterIt", "1 12abc 3", {1, 12}, {7, 7}},
        ReadCase{"SignWithoutDigitsStops", "1 - 2", {1}, {7, 7}},
        ReadCase{"NulStops", std::string("1\0 2", 4), {1}, {7, 7}},
        ReadCase{"FlagsAfterTheImage", Numbers(400, "3 ") + "1 2", std::vector<std::uint8_t>(400, 3), {1, 2}},
        ReadCase{"OneFlagOnly", Numbers(400, "3 ") + "1", std::vector<std::uint8_t>(400, 3), {1, 7}},
        ReadCase{
            "NumbersBeyondTheFlagsIgnored", Numbers(410, "4\n"), std::vector<std::uint8_t>(400, 4), {4, 4}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace zevo
