// The parameter file's write and read, and the undo record step after a one-byte edit.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "files/ign_format.h"
#include "files/set_difference.h"
#include "log/cell_times.h"
#include "log/log_writer.h"
#include "params/device_image.h"
#include "params/undo_history.h"

namespace {

zevo::DeviceImage DefaultImage() {
    zevo::DeviceImage image;
    zevo::SetDefaults(image);
    return image;
}

void IgnWrite(benchmark::State& state) {
    const zevo::DeviceImage image = DefaultImage();
    std::size_t written = 0;
    for (auto _ : state) {
        std::ostringstream out;
        zevo::WriteIgnFile(out, image);
        written = out.str().size();
        benchmark::DoNotOptimize(written);
    }
    if (written == 0)
        state.SkipWithError("nothing was written");
}
BENCHMARK(IgnWrite)->Unit(benchmark::kMicrosecond);

void IgnRead(benchmark::State& state) {
    std::ostringstream out;
    zevo::WriteIgnFile(out, DefaultImage());
    const std::string text = out.str();
    zevo::DeviceImage image;
    zevo::IgnReadResult result = zevo::IgnReadResult::ReadError;
    for (auto _ : state) {
        std::istringstream in(text);
        result = zevo::ReadIgnFile(in, image);
        benchmark::DoNotOptimize(image.Bytes.data());
    }
    if (result != zevo::IgnReadResult::Ok)
        state.SkipWithError("the written file was not read back");
}
BENCHMARK(IgnRead)->Unit(benchmark::kMicrosecond);

// Each round changes one map cell, so every record takes a snapshot (the ring wraps after 199).
void HistoryRecordOneByteChange(benchmark::State& state) {
    zevo::DeviceImage image = DefaultImage();
    zevo::UndoHistory history;
    history.HistoryReset(image, 1);
    bool recorded = true;
    for (auto _ : state) {
        ++image.MapCell(0, 0);
        recorded = recorded && history.HistoryRecord(image, 1, false).Recorded;
    }
    if (!recorded)
        state.SkipWithError("a one-byte change was not recorded");
}
BENCHMARK(HistoryRecordOneByteChange);

// The difference of two sets (the verify listing, the difference view on every change): a map
// unit switched, so every cell of that servo's map is listed.
void DifferenceOfTwoSets(benchmark::State& state) {
    const zevo::DeviceImage here = DefaultImage();
    zevo::DeviceImage there = here;
    there.PerCentMode(1) = 1;
    for (int k = 0; k < 20; ++k)
        there.MapCell(0, 7 * k) = static_cast<std::uint8_t>(k);
    for (auto _ : state)
        benchmark::DoNotOptimize(zevo::DifferencesBetween(here, there));
}
BENCHMARK(DifferenceOfTwoSets)->Unit(benchmark::kMicrosecond);

// A ride's frame: what a recording adds to the tick that decodes it. The row is formatted into the
// buffer, and once a second of the clock passed in the buffer goes to the sink, which keeps
// nothing.
class NullSink final : public zevo::LogSink {
public:
    bool Append(std::string_view bytes, std::string&) override {
        Bytes += bytes.size();
        return true;
    }
    std::size_t Bytes = 0;
};

zevo::StatusFrame RideFrame(std::int64_t n) {
    zevo::StatusFrame s;
    s.Rpm = static_cast<std::uint16_t>(1000 + n * 37 % 11000);
    s.TpPercent = static_cast<std::uint8_t>(n * 7 % 101);
    s.TpCount = 512;
    s.SupplyCount = 280;
    s.ServoDesired = {static_cast<std::uint16_t>(2000 + n % 2000), 1500};
    s.ServoMeasured = {static_cast<std::uint16_t>(1990 + n % 2000), 1510};
    s.ServoState = {1, 1};
    s.Version = 56;
    return s;
}

void RecordOneFrame(benchmark::State& state) {
    NullSink sink;
    zevo::LogWriter writer(sink);
    std::int64_t n = 0;
    for (auto _ : state) {
        ++n;
        // Three frames a second, as the unit sends them.
        const std::int64_t ms = n * 330;
        writer.Add(RideFrame(n), 1'796'801'758'000LL + ms, ms);
        benchmark::DoNotOptimize(writer.FlushIfDue(ms));
    }
    if (sink.Bytes == 0)
        state.SkipWithError("nothing was written");
}
BENCHMARK(RecordOneFrame)->Unit(benchmark::kMicrosecond);

// The time per cell of a one-hour ride (10 800 frames) on the default axes.
void CellTimesOfAnHour(benchmark::State& state) {
    std::vector<zevo::LogRow> rows;
    rows.reserve(10800);
    for (std::int64_t n = 0; n < 10800; ++n)
        rows.push_back(zevo::LogRowFrom(RideFrame(n), n * 330, n * 330, 0));
    zevo::DeviceImage image = DefaultImage();
    image.TpEnable(0) = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(zevo::CountCellTimes(rows, image, 0));
}
BENCHMARK(CellTimesOfAnHour)->Unit(benchmark::kMillisecond);

} // namespace
