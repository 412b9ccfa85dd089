#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace zevo {

// Every frame on the line, in both directions, is 52 bytes: a command or reply code, 50 data bytes
// and a check byte chosen so that the XOR of all 52 bytes is 0xFF.
inline constexpr int FrameSize = 52;
inline constexpr int FramePayloadSize = 50;
using Frame = std::array<std::uint8_t, FrameSize>;

inline constexpr std::uint8_t StatusRequestCode = 0x30;
inline constexpr std::uint8_t ReplyBit = 0x80; // a reply carries its command's code with bit 7 set
inline constexpr std::uint8_t StatusFrameCode = StatusRequestCode ^ ReplyBit; // 0xB0
inline constexpr std::uint8_t ProgramPageCode = 0x00; // + page
inline constexpr std::uint8_t ReadPageCode = 0x40;    // + page
inline constexpr std::uint8_t PageNumberMask = 0x3F;

// Builds a frame: code, the payload (zeros when empty) and the check byte.
Frame MakeFrame(std::uint8_t code, std::span<const std::uint8_t> payload = {});

// True when the 52 bytes XOR to 0xFF.
bool CheckByteValid(std::span<const std::uint8_t, FrameSize> frame);

} // namespace zevo
