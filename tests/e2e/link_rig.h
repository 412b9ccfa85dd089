#pragma once
// The tool's link engine on a real serial line to zevo-unit-sim, ticked in real time.
//
//   SimProcess sim;
//   ASSERT_TRUE(sim.Start());
//   LinkRig rig(sim);                 // the engine opens COM3, which is pinned to the simulator
//   rig.TickUntil([&] { return !rig.View.ConnectionLost; }, 40);
//   rig.Engine.StartProgram();
//   ...
//
// The simulator lives on its own clock, so the ticks must be as far apart as the window's timer
// makes them: 55 ms of real time between two Tick() calls. The rig keeps to a 55 ms schedule
// without catching up after a stall (a late timer in the window does not fire twice either), and
// taps the line so a test can see which frame went out on which tick.
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "fake_serial_line.h"
#include "link/link_engine.h"
#include "link/qt_serial_line.h"
#include "sim_process.h"

namespace zevo::test {

inline constexpr int TickMs = 55;
// The COM number the tests pin to the simulator's link. Any number works; 3 is not the first, so
// a mix-up with the automatic search's starting point would show.
inline constexpr int SimCom = 3;

// The QSerialPort line with a tap on what the engine does with it: every frame written and every
// open attempt, stamped with the rig's tick number and clock. Bytes pass through untouched.
class TappedLine final : public SerialLine {
public:
    struct Sent {
        std::uint8_t Code = 0;
        int Tick = 0;
        qint64 Ms = 0;         // when the write returned
        qint64 ArrivedMs = -1; // when a whole frame was first seen waiting after it (arrival watch)
    };
    struct OpenAttempt {
        int Tick = 0;
        bool Opened = false;
    };

    TappedLine(PortPins pins, const int& tick, const QElapsedTimer& clock)
        : Real(std::move(pins)), CurrentTick(tick), Clock(clock) {}

    bool Open(int portNumber, std::string* error) override {
        const bool opened = Real.Open(portNumber, error);
        Opens.push_back({CurrentTick, opened});
        return opened;
    }
    void Close() override { Real.Close(); }
    bool IsOpen() const override { return Real.IsOpen(); }
    std::string PortName(int portNumber) const override { return Real.PortName(portNumber); }
    std::string DevicePath(int portNumber) const override { return Real.DevicePath(portNumber); }
    int BytesWaiting() override { return Real.BytesWaiting(); }
    int Read(std::span<std::uint8_t> buffer) override { return Real.Read(buffer); }
    void WriteFrame(const Frame& frame) override {
        Real.WriteFrame(frame);
        Written.push_back({frame[0], CurrentTick, Clock.elapsed()});
    }

    // Codes written from index `mark` on, status requests left out.
    std::vector<std::uint8_t> CommandsSince(std::size_t mark) const {
        std::vector<std::uint8_t> codes;
        for (std::size_t i = mark; i < Written.size(); ++i)
            if (Written[i].Code != StatusRequestCode)
                codes.push_back(Written[i].Code);
        return codes;
    }
    std::vector<int> TicksOf(std::uint8_t code, std::size_t mark = 0) const {
        std::vector<int> ticks;
        for (std::size_t i = mark; i < Written.size(); ++i)
            if (Written[i].Code == code)
                ticks.push_back(Written[i].Tick);
        return ticks;
    }

    QtSerialLine Real;
    std::vector<Sent> Written;
    std::vector<OpenAttempt> Opens;

private:
    const int& CurrentTick;
    const QElapsedTimer& Clock;
};

class LinkRig {
public:
    // The engine on a fixed port (COM3, pinned to the simulator's link), with the default set, as a
    // freshly installed tool would start; the port is opened at once, like the window does.
    explicit LinkRig(const SimProcess& sim)
        : Line({{SimCom, sim.LinkPath().toStdString()}}, TickNumber, Clock),
          Engine(Image, Ports, Line, View) {
        SetDefaults(Image);
        Clock.start();
        NextTickAt = 0;
        Engine.OpenPort();
    }

    // Waits for the next 55 ms slot, then runs one tick of the engine.
    void Tick() {
        NextTickAt += TickMs;
        // After a stall of more than a whole period the schedule starts again from now: ticks are
        // never bunched up to make up for lost time.
        if (Clock.elapsed() > NextTickAt + TickMs)
            NextTickAt = Clock.elapsed();
        while (Clock.elapsed() < NextTickAt) {
            WatchArrival();
            QThread::usleep(300);
        }
        ++TickNumber;
        TickTimes.push_back(Clock.elapsed());
        const int shown = View.TelemetryCount;
        Engine.Tick();
        LongestTickMs = std::max(LongestTickMs, Clock.elapsed() - TickTimes.back());
        if (View.TelemetryCount != shown)
            TelemetryTicks.push_back(TickNumber);
        LostAfterTick.push_back(View.ConnectionLost);
    }

    // Ticks until done() holds after a tick, at most maxTicks times. Returns the ticks it took, or 0
    // when done() never held.
    int TickUntil(const std::function<bool()>& done, int maxTicks) {
        for (int i = 1; i <= maxTicks; ++i) {
            Tick();
            if (done())
                return i;
        }
        return 0;
    }
    void TickFor(int ticks) {
        for (int i = 0; i < ticks; ++i)
            Tick();
    }

    bool Connected() const { return View.TelemetryCount > 0 && !View.ConnectionLost; }
    bool Idle() const { return Engine.State().TransferMode == Transfer::Idle; }
    bool ShowedRedError(std::size_t mark = 0) const {
        return std::any_of(View.StatusLines.begin() + static_cast<std::ptrdiff_t>(mark),
                           View.StatusLines.end(),
                           [](const testing::StatusLineShown& s) { return s.Colour == LabelColour::Red; });
    }
    // The captions of the status line from index `mark` on, each repeat shown once.
    std::vector<testing::StatusLineShown> CaptionsSince(std::size_t mark) const {
        std::vector<testing::StatusLineShown> shown;
        for (std::size_t i = mark; i < View.StatusLines.size(); ++i)
            if (shown.empty() || !(shown.back() == View.StatusLines[i]))
                shown.push_back(View.StatusLines[i]);
        return shown;
    }

    // Members in construction order: the line refers to the tick number and the clock, the engine
    // to everything before it.
    DeviceImage Image;
    PortChoice Ports{SimCom - 1, 0};
    testing::RecordingLinkView View;
    int TickNumber = 0;
    QElapsedTimer Clock;
    TappedLine Line;
    LinkEngine Engine;

    std::vector<qint64> TickTimes;   // clock at each tick, index = tick number - 1
    std::vector<int> TelemetryTicks; // ticks that decoded a status frame
    std::vector<bool> LostAfterTick; // LabelSpojeni after each tick, index = tick number - 1
    qint64 LongestTickMs = 0; // the longest Engine.Tick() call: the window's UI thread stalls that long
    // Between ticks, look for a whole frame waiting after the last write and stamp its arrival. The
    // bytes stay queued for the engine; only the time they arrived is noted.
    bool WatchArrivals = false;

private:
    void WatchArrival() {
        if (!WatchArrivals || Line.Written.empty() || Line.Written.back().ArrivedMs >= 0)
            return;
        if (Line.Real.BytesWaiting() >= FrameSize)
            Line.Written.back().ArrivedMs = Clock.elapsed();
    }

    qint64 NextTickAt = 0;
};

// The factory set with a change on every page 1..7: hysteresis, one point of each RPM axis, and
// every map cell of both servos. Valid as it is, so the block's repair leaves it alone.
inline DeviceImage ChangedSet(int seed) {
    DeviceImage d;
    SetDefaults(d);
    d.HysteresisMv(0) = static_cast<std::uint8_t>(3 + seed);
    d.HysteresisRpm(1) = static_cast<std::uint8_t>(7 + seed);
    for (int servo = 0; servo < ServoCount; ++servo) {
        d.RpmAxis(servo, RpmPoints - 1) = static_cast<std::uint8_t>(d.RpmAxis(servo, RpmPoints - 1) + 1);
        for (int cell = 0; cell < MapCells; ++cell)
            d.MapCell(servo, cell) = static_cast<std::uint8_t>((cell * (seed + 5) + 31 * servo + seed) % 240);
    }
    PortChoice ports;
    ValidateBlock(d, ports);
    return d;
}

// The first page in first..last where the two sets differ, or nothing.
inline std::optional<int> FirstDifferentPage(const DeviceImage& a, const DeviceImage& b, int first = 1,
                                             int last = PageCount - 1) {
    for (int page = first; page <= last; ++page)
        if (!std::equal(a.Page(page).begin(), a.Page(page).end(), b.Page(page).begin()))
            return page;
    return std::nullopt;
}

// Reads pages 1..7 straight off the line, without the engine: each read command is sent again until a
// reply with the right code and a good check byte comes back. For checking what the unit holds
// after a transfer, on a simulator that drops or corrupts replies. A unit that answers late needs a
// replyWaitMs beyond its delay.
inline std::optional<DeviceImage> ReadUnitDirectly(const SimProcess& sim, int attemptsPerPage = 40,
                                                   int replyWaitMs = 250) {
    QtSerialLine line({{SimCom, sim.LinkPath().toStdString()}});
    std::string error;
    if (!line.Open(SimCom, &error))
        return std::nullopt;
    DeviceImage unit;
    std::array<std::uint8_t, 4096> buffer{};
    for (int page = 1; page < PageCount; ++page) {
        const auto code = static_cast<std::uint8_t>(ReadPageCode + page);
        bool got = false;
        for (int attempt = 0; attempt < attemptsPerPage && !got; ++attempt) {
            while (line.BytesWaiting() > 0)
                line.Read(buffer);
            line.WriteFrame(MakeFrame(code));
            PollUntil([&] { return line.BytesWaiting() >= FrameSize; }, replyWaitMs);
            const int n = line.Read(buffer);
            if (n < FrameSize)
                continue;
            const std::span<const std::uint8_t, FrameSize> reply(buffer.data(), FrameSize);
            if (!CheckByteValid(reply) || reply[0] != (code ^ ReplyBit))
                continue;
            std::copy_n(buffer.begin() + 1, PageSize, unit.Page(page).begin());
            got = true;
        }
        if (!got)
            return std::nullopt;
    }
    return unit;
}

} // namespace zevo::test
