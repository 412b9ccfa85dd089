// The bytes from the line, in any pieces: the first byte of each piece of input says how many bytes
// the next tick delivers (0: a quiet tick). Whatever comes, the buffer stays bounded and every frame
// handed out starts as a frame of the unit and carries a check byte that fits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "link/frame.h"
#include "link/frame_sync.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t Capacity = 600;
    zevo::FrameSync sync(Capacity);
    std::size_t at = 0;
    while (at < size) {
        const std::size_t want = data[at++] % 128;
        const std::size_t take = want < size - at ? want : size - at;
        sync.Take(std::span<const std::uint8_t>(data + at, take));
        at += take;
        if (sync.PendingBytes() > Capacity)
            std::abort();
        if (const auto frame = sync.Next()) {
            if (!zevo::FrameSync::PlausibleStart((*frame)[0]) ||
                !zevo::CheckByteValid(std::span<const std::uint8_t, zevo::FrameSize>(frame->data(), zevo::FrameSize)))
                std::abort();
        }
    }
    return 0;
}
