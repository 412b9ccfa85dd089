// Parameter files come from anywhere: any bytes must read without harm, a refused file must leave
// the block alone (a damaged one naming a control byte that is there), and whatever was read must write out, read back and write out again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "files/ign_format.h"

namespace {

std::string Written(const zevo::DeviceImage& image) {
    std::ostringstream out;
    zevo::WriteIgnFile(out, image);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    zevo::DeviceImage before;
    for (std::size_t i = 0; i < before.Bytes.size(); ++i)
        before.Bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    zevo::DeviceImage image = before;
    zevo::IgnDamage damage;
    const zevo::IgnReadResult result = zevo::ReadIgnFile(in, image, &damage);
    if (result != zevo::IgnReadResult::Ok && !(image == before))
        std::abort();
    // A damaged file names a control byte that is really there.
    if (result == zevo::IgnReadResult::Damaged && !damage.Utf16 &&
        (damage.Offset >= size || data[damage.Offset] != damage.Byte ||
         (damage.Byte >= 0x20 && damage.Byte != 0x7F)))
        std::abort();
    // The identification page and the block bytes without a file key are never touched.
    for (int b = 0; b < zevo::BlockOffset; ++b)
        if (image.Bytes[static_cast<std::size_t>(b)] != before.Bytes[static_cast<std::size_t>(b)])
            std::abort();
    for (const int b : {11, 12, 13, 14, 17, 18, 19})
        if (image.BlockByte(b) != before.BlockByte(b))
            std::abort();

    const std::string first = Written(image);
    std::istringstream again(first);
    zevo::DeviceImage back;
    if (zevo::ReadIgnFile(again, back) != zevo::IgnReadResult::Ok || Written(back) != first)
        std::abort();
    return 0;
}
