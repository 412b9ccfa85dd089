#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "link/serial_line.h"

namespace zevo {

// A line with no port behind it: every open fails as on a computer without serial ports. Window
// tests and the kill test's subject never touch the machine's real ports.
class OfflineLine final : public SerialLine {
public:
    int OpenAttempts = 0;
    bool Open(int, std::string* error) override {
        ++OpenAttempts;
        if (error)
            *error = "no such port";
        return false;
    }
    void Close() override {}
    bool IsOpen() const override { return false; }
    std::string PortName(int portNumber) const override { return "COM" + std::to_string(portNumber); }
    int BytesWaiting() override { return -1; }
    int Read(std::span<std::uint8_t>) override { return 0; }
    void WriteFrame(const Frame&) override {}
};

} // namespace zevo
