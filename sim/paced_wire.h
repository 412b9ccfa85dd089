#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace zevo::sim {

// One direction of a serial wire as a real line has it: each byte takes ten bit times (start bit,
// eight data bits, stop bit) at the line's rate, one after the other; and, on the way to the
// computer, a USB adapter that hands the bytes it received on in chunks when its latency timer
// runs out (FTDI's default is 16 ms), so the tool sees a frame arrive in pieces or late.
// A rate of 0 is no wire at all: bytes arrive the moment they are sent.
class PacedWire {
public:
    PacedWire(int baud, int latencyMs);

    // Bytes put on the wire at `nowUs` (microseconds on the sender's clock); they go out behind
    // whatever is still on it.
    void Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs);
    // The bytes handed over by `nowUs`, in order.
    std::vector<std::uint8_t> Take(std::int64_t nowUs);
    // When the next byte is handed over, if any is on its way.
    std::optional<std::int64_t> NextHandOverUs() const;
    bool Empty() const { return Queue.empty(); }

    // Ten bits at `baud`, in nanoseconds (173 611 ns at 57600).
    static std::int64_t ByteTimeNs(int baud);

private:
    std::int64_t HandOverUs(std::int64_t arrivedNs) const;

    struct OnWire {
        std::int64_t HandOverUs;
        std::uint8_t Byte;
    };
    std::int64_t ByteNs;
    std::int64_t LatencyUs;
    std::int64_t WireFreeNs = 0; // when the last byte sent has fully arrived
    std::deque<OnWire> Queue;
};

} // namespace zevo::sim
