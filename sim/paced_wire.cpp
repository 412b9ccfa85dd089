#include "paced_wire.h"

#include <algorithm>

namespace zevo::sim {

std::int64_t PacedWire::ByteTimeNs(int baud) {
    return baud > 0 ? 10'000'000'000LL / baud : 0;
}

PacedWire::PacedWire(int baud, int latencyMs)
    : ByteNs(ByteTimeNs(baud)), LatencyUs(static_cast<std::int64_t>(std::max(latencyMs, 0)) * 1000) {}

std::int64_t PacedWire::HandOverUs(std::int64_t arrivedNs) const {
    const std::int64_t arrivedUs = (arrivedNs + 999) / 1000;
    if (LatencyUs <= 0)
        return arrivedUs;
    // The adapter's timer runs in steps of its latency: a byte waits for the next one.
    return (arrivedUs + LatencyUs - 1) / LatencyUs * LatencyUs;
}

void PacedWire::Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs) {
    std::int64_t at = std::max(WireFreeNs, nowUs * 1000);
    for (const std::uint8_t b : bytes) {
        at += ByteNs;
        Queue.push_back({HandOverUs(at), b});
    }
    WireFreeNs = at;
}

std::vector<std::uint8_t> PacedWire::Take(std::int64_t nowUs) {
    std::vector<std::uint8_t> out;
    while (!Queue.empty() && Queue.front().HandOverUs <= nowUs) {
        out.push_back(Queue.front().Byte);
        Queue.pop_front();
    }
    return out;
}

std::optional<std::int64_t> PacedWire::NextHandOverUs() const {
    if (Queue.empty())
        return std::nullopt;
    return Queue.front().HandOverUs;
}

} // namespace zevo::sim
