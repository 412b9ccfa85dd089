// Restore points' names and side files: what is written reads back whole, anything else reads as
// nothing, and the oldest go first.
#include "files/restore_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zevo {
namespace {

RestoreInfo Sample() {
    RestoreInfo info;
    info.Event = RestoreEvent::Programmed;
    info.Time = "2026-12-09 05:40:12";
    for (std::size_t i = 0; i < info.Image.Bytes.size(); ++i)
        info.Image.Bytes[i] = static_cast<std::uint8_t>(i * 7 + 3); // every page, the unused bytes too
    info.UnitName = "ABC07";
    info.UnitBuildDate = " 3. 6.2011";
    info.ProgrammingCount = 41;
    info.FileName = "/home/rider/maps/race.ign";
    return info;
}

TEST(RestorePoints, NamesFromTimeAndEvent) {
    const struct {
        RestoreEvent Event;
        const char* Name;
    } events[] = {{RestoreEvent::Read, "read"},
                  {RestoreEvent::Programmed, "programmed"},
                  {RestoreEvent::Opened, "opened"},
                  {RestoreEvent::BeforeNew, "before-new"},
                  {RestoreEvent::Closed, "closed"}};
    for (const auto& e : events) {
        EXPECT_EQ(RestoreEventName(e.Event), e.Name);
        EXPECT_EQ(RestoreEventFromName(e.Name), e.Event);
        EXPECT_EQ(RestoreStem("2026-12-09 05:40:12", e.Event), std::string("20261209-054012-") + e.Name);
    }
    EXPECT_FALSE(RestoreEventFromName("Read"));
    EXPECT_FALSE(RestoreEventFromName(""));
}

TEST(RestorePoints, SideFileRoundTripAndWhatItHolds) {
    const RestoreInfo info = Sample();
    const std::string text = WriteRestoreInfo(info);
    EXPECT_EQ(ReadRestoreInfo(text), info);
    EXPECT_NE(text.find("unit=ABC07\n"), std::string::npos);
    EXPECT_NE(text.find("page0=030a11"), std::string::npos) << "page 0 in hex";

    RestoreInfo plain = info;
    plain.UnitName.clear();
    plain.UnitBuildDate.clear();
    plain.ProgrammingCount.reset();
    plain.FileName = "a\nname"; // a line break in a path cannot break the file
    const auto back = ReadRestoreInfo(WriteRestoreInfo(plain));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FileName, "a name");
    EXPECT_FALSE(back->ProgrammingCount);
    EXPECT_EQ(back->Image, info.Image);
    // A carriage return inside a value reads as the space the writer makes of it, so what reads
    // writes back to the same copy (found by fuzzing).
    const std::size_t at = text.find("file=/home");
    const std::string inner = text.substr(0, at) + std::string("file=/ho\r\0me", 12) + text.substr(at + 10);
    const auto odd = ReadRestoreInfo(inner);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->FileName.substr(0, 6), std::string("/ho \0m", 6));
    EXPECT_EQ(ReadRestoreInfo(WriteRestoreInfo(*odd)), odd);
    // Windows line ends read the same.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadRestoreInfo(crlf), info);
}

TEST(RestorePoints, AnythingButAWholeSideFileReadsAsNothing) {
    const std::string good = WriteRestoreInfo(Sample());
    auto without = [&](const std::string& line) {
        std::string text = good;
        text.erase(text.find(line), line.size() + 1);
        return text;
    };
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string cases[] = {
        "",
        "garbage",
        good.substr(0, good.size() / 2), // cut short
        without("event=programmed"),
        replaced("event=programmed", "event=exploded"),
        replaced("ZEVO restore point", "ZEVO restore point 2"),
        replaced("page3=", "page3=zz"),
        replaced("page7=", "page7=0"),
        replaced("page5=", "page5=g"),
        std::string(RestoreInfoReadLimit + 1, 'x'),
        std::string("ZEVO restore point\n") + std::string(100, '\0'),
    };
    for (const std::string& text : cases)
        EXPECT_FALSE(ReadRestoreInfo(text)) << text.substr(0, 60);
    // A counter that is no number is left out; the copy is still good.
    const auto odd = ReadRestoreInfo(replaced("programming_count=41", "programming_count=-4x"));
    ASSERT_TRUE(odd);
    EXPECT_FALSE(odd->ProgrammingCount);
    // Keys from a later version are skipped.
    EXPECT_TRUE(ReadRestoreInfo(good + "colour=blue\n"));
}

TEST(RestorePoints, TheOldestGoFirst) {
    std::vector<std::string> stems;
    for (int i = 0; i < 12; ++i)
        stems.push_back("202612" + std::to_string(10 + i) + "-000000-read");
    std::reverse(stems.begin(), stems.end());
    const std::vector<std::string> removed = StemsToRemove(stems, 10);
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed[0], "20261210-000000-read");
    EXPECT_EQ(removed[1], "20261211-000000-read");
    EXPECT_TRUE(StemsToRemove(stems, 12).empty());
    EXPECT_TRUE(StemsToRemove({"a", "a", "b"}, 2).empty()) << "an .ign and its text file are one copy";
}

} // namespace
} // namespace zevo
