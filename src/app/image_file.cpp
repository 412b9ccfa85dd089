#include "app/image_file.h"
#include "params/number_field.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <iterator>
#include <string>

namespace zevo {

namespace {

constexpr int ValuesPerLine = 10;


// White space as the C library's "%u" skips it.
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Reads one number the way "%u" does: white space, an optional sign, then decimal digits. Only the
// low 8 bits are kept, so a number of any length is taken whole without overflow. Returns false
// (having consumed what "%u" would have consumed) when no number follows.
class NumberReader {
public:
    // Characters come straight from the stream's buffer: no sentry or iterator per character.
    explicit NumberReader(std::streambuf& buffer) : Buffer(buffer) {}

    bool Next(std::uint8_t& value) {
        int c = Buffer.sgetc();
        while (c != Eof && IsSpace(c)) {
            c = Buffer.snextc();
        }
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            c = Buffer.snextc();
        }
        if (!IsDigit(c)) {
            return false;
        }
        unsigned low = 0;
        while (IsDigit(c)) {
            low = (low * 10u + static_cast<unsigned>(c - '0')) & 0xFFu;
            c = Buffer.snextc();
        }
        // "-1" is the largest unsigned number, whose low byte is 255.
        value = static_cast<std::uint8_t>(negative ? (0u - low) & 0xFFu : low);
        return true;
    }

private:
    static constexpr int Eof = std::char_traits<char>::eof();

    std::streambuf& Buffer;
};

} // namespace

void WriteImageFile(std::ostream& out, const DeviceImage& image, const AllCellsFlags& allCells) {
    std::string text;
    text.reserve(6 * (ImageSize + ServoCount) + ImageSize / ValuesPerLine + PageCount);
    for (int i = 0; i < ImageSize; ++i) {
        AppendNumberField(text, image.Bytes[static_cast<std::size_t>(i)], 5);
        if ((i + 1) % ValuesPerLine == 0) {
            text += '\n';
        }
        if ((i + 1) % PageSize == 0) {
            text += '\n';
        }
    }
    for (const std::uint8_t flag : allCells) {
        AppendNumberField(text, flag, 5);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void ReadImageFile(std::istream& in, DeviceImage& image, AllCellsFlags& allCells) {
    if (in.rdbuf() == nullptr) {
        return;
    }
    NumberReader numbers(*in.rdbuf());
    for (std::uint8_t& byte : image.Bytes) {
        if (!numbers.Next(byte)) {
            return;
        }
    }
    for (std::uint8_t& flag : allCells) {
        if (!numbers.Next(flag)) {
            return;
        }
    }
}

} // namespace zevo
