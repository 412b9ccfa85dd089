#pragma once
#include <algorithm>
#include <deque>
#include <string>

#include "link/serial_line.h"
#include "unit_model.h"

namespace zevo {

// A serial line with the behavioural unit model on its far end, in-process: the test moves time
// with Advance() and the window's ticks do the rest. COM1 is the unit; other numbers have no port.
class ModelLine final : public SerialLine {
public:
    explicit ModelLine(sim::UnitOptions options = {}) : Unit(options) {}
    sim::UnitModel Unit;

    // Moves the unit's clock on and collects what it sent meanwhile.
    void Advance(int milliseconds) {
        Unit.Advance(milliseconds);
        const std::vector<std::uint8_t> sent = Unit.TakeOutput();
        if (Opened)
            Incoming.insert(Incoming.end(), sent.begin(), sent.end());
    }

    bool Open(int portNumber, std::string* error) override {
        if (portNumber != 1) {
            if (error)
                *error = "No such file or directory";
            return false;
        }
        Opened = true;
        return true;
    }
    void Close() override {
        Opened = false;
        Incoming.clear();
    }
    bool IsOpen() const override { return Opened; }
    std::string PortName(int portNumber) const override { return "COM" + std::to_string(portNumber); }
    int BytesWaiting() override { return Opened ? static_cast<int>(Incoming.size()) : -1; }
    int Read(std::span<std::uint8_t> buffer) override {
        const std::size_t count = std::min(buffer.size(), Incoming.size());
        std::copy_n(Incoming.begin(), count, buffer.begin());
        Incoming.erase(Incoming.begin(), Incoming.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }
    void WriteFrame(const Frame& frame) override {
        if (Opened)
            Unit.Receive(frame);
    }

private:
    bool Opened = false;
    std::deque<std::uint8_t> Incoming;
};

} // namespace zevo
