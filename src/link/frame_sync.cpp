#include "link/frame_sync.h"

#include <algorithm>

namespace zevo {

namespace {

// Replies carry their command's code with bit 7 set; page commands name pages 0 to 7.
constexpr std::uint8_t HighestPage = 7;

bool WholeFrameAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.size() - at >= static_cast<std::size_t>(FrameSize) && FrameSync::PlausibleStart(bytes[at]) &&
           CheckByteValid(std::span<const std::uint8_t, FrameSize>(bytes.data() + at, FrameSize));
}

} // namespace

FrameSync::FrameSync(std::size_t capacity) : Capacity(std::max<std::size_t>(capacity, FrameSize)) {
    Pending.reserve(Capacity);
}

bool FrameSync::PlausibleStart(std::uint8_t code) {
    if (code == StatusFrameCode)
        return true;
    if ((code & ReplyBit) == 0)
        return false;
    const auto command = static_cast<std::uint8_t>(code & ~ReplyBit);
    const auto kind = static_cast<std::uint8_t>(command & ~PageNumberMask);
    return (kind == ProgramPageCode || kind == ReadPageCode) && (command & PageNumberMask) <= HighestPage;
}

void FrameSync::Take(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        // A quiet tick: whatever waits for more will not get it.
        Pending.clear();
        return;
    }
    // More than the buffer holds in one go: the newest bytes are the ones a frame can still be in.
    if (bytes.size() >= Capacity) {
        Pending.assign(bytes.end() - static_cast<std::ptrdiff_t>(Capacity), bytes.end());
        return;
    }
    if (Pending.size() + bytes.size() > Capacity)
        Pending.erase(Pending.begin(), Pending.begin() + static_cast<std::ptrdiff_t>(Pending.size() + bytes.size() - Capacity));
    Pending.insert(Pending.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> FrameSync::Next() {
    for (std::size_t at = 0; at < Pending.size(); ++at) {
        if (!PlausibleStart(Pending[at]))
            continue;
        if (Pending.size() - at < static_cast<std::size_t>(FrameSize)) {
            // A frame may be arriving here: keep it, and nothing in front of it.
            Pending.erase(Pending.begin(), Pending.begin() + static_cast<std::ptrdiff_t>(at));
            return std::nullopt;
        }
        if (!WholeFrameAt(Pending, at))
            continue;
        Frame frame;
        std::copy_n(Pending.begin() + static_cast<std::ptrdiff_t>(at), FrameSize, frame.begin());
        std::size_t rest = at + FrameSize;
        while (WholeFrameAt(Pending, rest))
            rest += FrameSize;
        Pending.erase(Pending.begin(), Pending.begin() + static_cast<std::ptrdiff_t>(rest));
        return frame;
    }
    Pending.clear();
    return std::nullopt;
}

} // namespace zevo
