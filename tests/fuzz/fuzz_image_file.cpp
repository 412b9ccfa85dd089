// The parameter image file is outside bytes: any of them must read without harm, and whatever was
// read must write out in the one fixed layout and read back to the same image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/image_file.h"

namespace {

// 400 values of six characters, one line end per ten values and one more per page, two flags.
constexpr std::size_t WrittenSize =
    6 * (zevo::ImageSize + zevo::ServoCount) + zevo::ImageSize / 10 + zevo::PageCount;

std::string Written(const zevo::DeviceImage& image, const zevo::AllCellsFlags& flags) {
    std::ostringstream out;
    zevo::WriteImageFile(out, image, flags);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    zevo::DeviceImage image;
    image.Bytes.fill(0x5A);
    zevo::AllCellsFlags flags = {3, 4};
    zevo::ReadImageFile(in, image, flags);

    const std::string text = Written(image, flags);
    if (text.size() != WrittenSize) {
        std::abort();
    }
    std::istringstream again(text);
    zevo::DeviceImage back;
    zevo::AllCellsFlags backFlags = {};
    zevo::ReadImageFile(again, back, backFlags);
    if (!(back == image) || backFlags != flags || Written(back, backFlags) != text) {
        std::abort();
    }
    return 0;
}
