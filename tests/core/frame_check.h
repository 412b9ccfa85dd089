#pragma once
// The tests' own reading of a frame on the wire, independent of the tool's decoder: 52 bytes whose
// exclusive-or, started at 0xFF, comes to zero (the last byte is the check byte).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/frame.h"

namespace zevo::test {

inline bool ValidFrame(const std::vector<std::uint8_t>& f) {
    if (f.size() != static_cast<std::size_t>(FrameSize))
        return false;
    std::uint8_t x = 0xFF;
    for (std::uint8_t b : f)
        x ^= b;
    return x == 0;
}

} // namespace zevo::test
