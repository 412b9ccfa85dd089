// The parameter file's write and read, and the undo record step after a one-byte edit.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "files/ign_format.h"
#include "files/set_difference.h"
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

} // namespace
