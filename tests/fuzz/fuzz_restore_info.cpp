// A restore point's text file is outside bytes (a copy torn by a crash, edited by hand, written by
// another version): any of them must read without a crash, and what reads writes back to a text that
// reads as the same restore point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/restore_points.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto info = zevo::ReadRestoreInfo(text);
    if (!info)
        return 0;
    const auto again = zevo::ReadRestoreInfo(zevo::WriteRestoreInfo(*info));
    if (!again || !(*again == *info)) {
        std::abort();
    }
    return 0;
}
