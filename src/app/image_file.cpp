#include "app/image_file.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

namespace zevo {

namespace {

constexpr int ValuesPerLine = 10;

// "%5u ": the number right-aligned in five columns, then one blank.
void AppendField(std::string& out, unsigned value) {
    const std::string digits = std::to_string(value);
    if (digits.size() < 5) {
        out.append(5 - digits.size(), ' ');
    }
    out += digits;
    out += ' ';
}

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
    explicit NumberReader(std::istream& in) : It(in), End() {}

    bool Next(std::uint8_t& value) {
        while (It != End && IsSpace(Peek())) {
            ++It;
        }
        bool negative = false;
        if (It != End && (Peek() == '+' || Peek() == '-')) {
            negative = Peek() == '-';
            ++It;
        }
        if (It == End || !IsDigit(Peek())) {
            return false;
        }
        unsigned low = 0;
        while (It != End && IsDigit(Peek())) {
            low = (low * 10u + static_cast<unsigned>(Peek() - '0')) & 0xFFu;
            ++It;
        }
        // "-1" is the largest unsigned number, whose low byte is 255.
        value = static_cast<std::uint8_t>(negative ? (0u - low) & 0xFFu : low);
        return true;
    }

private:
    int Peek() const { return static_cast<unsigned char>(*It); }

    std::istreambuf_iterator<char> It;
    std::istreambuf_iterator<char> End;
};

} // namespace

void WriteImageFile(std::ostream& out, const DeviceImage& image, const AllCellsFlags& allCells) {
    std::string text;
    text.reserve(6 * (ImageSize + ServoCount) + ImageSize / ValuesPerLine + PageCount);
    for (int i = 0; i < ImageSize; ++i) {
        AppendField(text, image.Bytes[static_cast<std::size_t>(i)]);
        if ((i + 1) % ValuesPerLine == 0) {
            text += '\n';
        }
        if ((i + 1) % PageSize == 0) {
            text += '\n';
        }
    }
    for (const std::uint8_t flag : allCells) {
        AppendField(text, flag);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void ReadImageFile(std::istream& in, DeviceImage& image, AllCellsFlags& allCells) {
    if (in.rdbuf() == nullptr) {
        return;
    }
    NumberReader numbers(in);
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
