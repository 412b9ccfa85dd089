#include "app/test_mode_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zevo {
namespace {

struct TestModeCase {
    const char* Name;
    std::string Text;
    bool Expected;
};

class TestModeFile : public testing::TestWithParam<TestModeCase> {};

TEST_P(TestModeFile, MarkerMustBeAWholeWord) {
    const TestModeCase& c = GetParam();
    std::istringstream in(c.Text);
    EXPECT_EQ(ReadTestModeFile(in), c.Expected);
}

// A 266-character word whose last eleven characters are the marker: a reader that cut long words
// into 255-character pieces would find the marker in the second piece.
const std::string LongWordEndingInMarker = std::string(255, 'x') + "DIAG_SHOWON";

INSTANTIATE_TEST_SUITE_P(
    Cases, TestModeFile,
    testing::Values(TestModeCase{"OnlyTheMarker", "DIAG_SHOWON", true},
                    TestModeCase{"AmongOtherWords", "service\tDIAG_SHOWON  bench\r\n", true},
                    TestModeCase{"Empty", "", false}, TestModeCase{"FurtherLetters", "DIAG_SHOWONX", false},
                    TestModeCase{"LetterBefore", "xDIAG_SHOWON", false},
                    TestModeCase{"SmallLetters", "diag_showon", false},
                    TestModeCase{"NulIsPartOfTheWord", std::string("DIAG_SHOWON\0", 12), false},
                    TestModeCase{"MarkerInsideLongWord", LongWordEndingInMarker, false},
                    TestModeCase{"MarkerAfterLongWord", LongWordEndingInMarker + "\nDIAG_SHOWON", true},
                    TestModeCase{"MarkerAfterLongLine", std::string(100000, '#') + " DIAG_SHOWON", true}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace zevo
