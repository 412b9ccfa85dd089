// The test-mode file is outside bytes. The answer is checked against the standard library's own
// word splitting: test mode is on exactly when one of the words is the marker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/test_mode_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    const bool on = zevo::ReadTestModeFile(in);

    std::istringstream words(text);
    bool expected = false;
    for (std::string word; !expected && words >> word;) {
        expected = word == "DIAG_SHOWON";
    }
    if (on != expected) {
        std::abort();
    }
    return 0;
}
