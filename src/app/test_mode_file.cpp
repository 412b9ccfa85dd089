#include "app/test_mode_file.h"

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace zevo {

namespace {

constexpr std::string_view Marker = "DIAG_SHOWON";
constexpr std::size_t MaxWordLength = 255;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

// The marker can only be a whole word of at most 255 characters: a longer word is passed over to its
// end rather than cut into pieces, so the marker buried in a long word never counts.
bool ReadTestModeFile(std::istream& in) {
    if (in.rdbuf() == nullptr) {
        return false;
    }
    std::string word;
    bool tooLong = false;
    const auto wordIsMarker = [&] { return !tooLong && word == Marker; };
    std::streambuf& buffer = *in.rdbuf();
    for (int next = buffer.sgetc(); next != std::char_traits<char>::eof(); next = buffer.snextc()) {
        const char c = static_cast<char>(next);
        if (IsSpace(c)) {
            if (wordIsMarker()) {
                return true;
            }
            word.clear();
            tooLong = false;
        } else if (word.size() < MaxWordLength) {
            word += c;
        } else {
            tooLong = true;
        }
    }
    return wordIsMarker();
}

} // namespace zevo
