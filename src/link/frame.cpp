#include "link/frame.h"

#include <algorithm>

namespace zevo {

Frame MakeFrame(std::uint8_t code, std::span<const std::uint8_t> payload) {
    Frame frame{};
    frame[0] = code;
    const std::size_t count = std::min<std::size_t>(payload.size(), FramePayloadSize);
    std::copy_n(payload.begin(), count, frame.begin() + 1);
    std::uint8_t check = 0xFF;
    for (int i = 0; i < FrameSize - 1; ++i)
        check ^= frame[static_cast<std::size_t>(i)];
    frame[FrameSize - 1] = check;
    return frame;
}

bool CheckByteValid(std::span<const std::uint8_t, FrameSize> frame) {
    std::uint8_t x = 0xFF;
    for (std::uint8_t b : frame)
        x ^= b;
    return x == 0;
}

} // namespace zevo
