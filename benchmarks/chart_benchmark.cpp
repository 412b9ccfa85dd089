// The live chart during a ride: ten minutes of frames kept, one new frame added and the chart drawn
// again, as happens about three times a second while it is open. Headless (offscreen), so the figure
// is the drawing and the bookkeeping, not the display's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <cmath>
#include <deque>

#include "log/log_format.h"
#include "ui/live_chart_window.h"
#include "ui/prompter.h"

namespace {

// An engine going up and down the rev range with the throttle and the servos following it, one row
// every 330 ms as the unit sends its status.
zevo::LogRow RideRow(int index) {
    zevo::LogRow row;
    row.ElapsedMs = index * 330LL;
    const double phase = index / 40.0;
    row.Rpm = static_cast<std::uint16_t>(5000 + 4000 * std::sin(phase));
    row.TpPercent = static_cast<std::uint8_t>(50 + 45 * std::sin(phase * 1.3));
    row.SupplyMv = 13800 + index % 7 * 20;
    for (std::size_t s = 0; s < row.ServoDesiredMv.size(); ++s) {
        row.ServoDesiredMv[s] = static_cast<std::uint16_t>(2500 + 1800 * std::sin(phase + static_cast<double>(s)));
        row.ServoMeasuredMv[s] = static_cast<std::uint16_t>(row.ServoDesiredMv[s] - 40 + index % 5 * 20);
    }
    return row;
}

void LiveFrameDrawn(benchmark::State& state) {
    zevo::QtPrompter prompts;
    zevo::LiveChartWindow chart(nullptr, &prompts, [](const QString&) {}, 60);
    chart.show();
    std::deque<zevo::LogRow> kept;
    int next = 0;
    for (; next < zevo::LiveChartWindow::KeptSeconds * 1000 / 330; ++next)
        kept.push_back(RideRow(next));
    chart.ShowLive(kept);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        chart.AddLive(RideRow(next++));
        // The queued replot, then the paint it asks for.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(LiveFrameDrawn)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
