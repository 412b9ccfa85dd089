// One idle tick of the link engine with a status frame waiting on the line: drain, decode, compose
// the captions, paint the live cell. It has to fit many times over into the 55 ms timer period.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "link/link_engine.h"
#include "link/status_frame.h"
#include "params/device_image.h"

namespace {

// A line on which the unit's status frame is always waiting.
class WaitingFrameLine : public zevo::SerialLine {
public:
    zevo::Frame Waiting{};
    bool Open(int, std::string*) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    std::string PortName(int) const override { return "COM1"; }
    int BytesWaiting() override { return zevo::FrameSize; }
    int Read(std::span<std::uint8_t> buffer) override {
        const std::size_t count = std::min(buffer.size(), Waiting.size());
        std::copy_n(Waiting.begin(), count, buffer.begin());
        return static_cast<int>(count);
    }
    void WriteFrame(const zevo::Frame&) override {}
};

// A view that keeps what a window would copy to its labels.
class CopyingView : public zevo::LinkView {
public:
    zevo::TelemetryCaptions Shown;
    int Column = 0, Row = 0;
    std::uint8_t LanguageIndex() const override { return zevo::LanguageEnglish; }
    int ActivePage() const override { return 1; }
    void SetStatusLine(zevo::MsgId, std::string_view, zevo::LabelColour) override {}
    void SetStatusLineVisible(bool) override {}
    void SetProgramGauge(int, int) override {}
    void SetProgramGaugeVisible(bool) override {}
    void SetConnectionLost(bool) override {}
    void ShowTelemetry(const zevo::TelemetryCaptions& captions) override { Shown = captions; }
    void HideVersionWarning() override {}
    void ShowLiveCell(int column, int row) override {
        Column = column;
        Row = row;
    }
    void SetPortLabel(const std::string&, const std::string&) override {}
    void CheckComMenuItem(int) override {}
    void BlockToEditor() override {}
    void ShowIdentification(const zevo::Identification&) override {}
    void ClearFileName() override {}
    void RecordReadSet() override {}
    void ShowNote(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
};

void IdleTickWithStatusFrame(benchmark::State& state) {
    zevo::DeviceImage image;
    zevo::SetDefaults(image);
    zevo::PortChoice ports{0, 0};
    zevo::ValidateBlock(image, ports);
    image.TpEnable(0) = 1;
    WaitingFrameLine line;
    zevo::StatusFrame status;
    status.Rpm = 4500;
    status.TpCount = 512;
    status.SupplyCount = 260;
    status.TpPercent = 45;
    status.Version = zevo::PcProgramVersion;
    line.Waiting = zevo::EncodeStatusFrame(status);
    CopyingView view;
    zevo::LinkEngine engine(image, ports, line, view);
    engine.OpenPort();
    for (auto _ : state) {
        engine.Tick();
        benchmark::DoNotOptimize(view.Shown.Rpm.data());
    }
    if (view.Shown.Rpm != "RPM = 4500 ")
        state.SkipWithError("the frame was not decoded");
}
BENCHMARK(IdleTickWithStatusFrame);

} // namespace
