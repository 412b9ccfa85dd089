#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/frame.h"

namespace zevo {

// The bytes the unit sent, gathered across ticks into whole frames. A real line delivers a frame in
// pieces (a USB adapter hands bytes on every 16 ms, a tick is 55 ms), and a noisy one cuts, spoils or
// doubles frames; this keeps the receive side in step with the frames whatever came before:
// - the bytes of each tick are added to what is pending; a tick without a byte means the line was
//   quiet, and a frame begun before it will never be finished: it is dropped;
// - a frame is looked for at the first plausible frame start (a status frame's code, or the reply to
//   a page command); where the check byte fails, the search goes on at the next plausible start, so a
//   cut frame costs only itself, never the frames after it;
// - one frame is handed out per tick, and whole frames right behind it are dropped, as the unit's
//   tool has always dropped the rest of a drain; a frame still arriving behind them is kept.
class FrameSync {
public:
    explicit FrameSync(std::size_t capacity);

    // The bytes one tick drained; none when the line was quiet.
    void Take(std::span<const std::uint8_t> bytes);
    // The frame to decode this tick, if a whole one is pending.
    std::optional<Frame> Next();
    void Clear() { Pending.clear(); }
    std::size_t PendingBytes() const { return Pending.size(); }

    // A byte a frame from the unit can start with.
    static bool PlausibleStart(std::uint8_t code);

private:
    std::vector<std::uint8_t> Pending;
    std::size_t Capacity;
};

} // namespace zevo
