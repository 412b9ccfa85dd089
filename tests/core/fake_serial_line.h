#pragma once
// Test doubles for the link engine's two outward interfaces: a serial line that is a byte queue
// the test fills, and a view that records what the window would have shown.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "lang/language_tables.h"
#include "link/link_view.h"
#include "link/serial_line.h"

namespace zevo::testing {

class FakeSerialLine : public SerialLine {
public:
    std::vector<std::uint8_t> Incoming; // what the unit sent and the tool has not read yet
    std::vector<Frame> Written;         // every frame the tool tried to send, in order
    std::vector<int> OpenAttempts;      // port numbers, in order
    std::set<int> MissingPorts;         // Open of these fails
    bool NoPortsAtAll = false;
    std::string OpenFailure = "No such file or directory";
    bool Unplugged = false; // the adapter is gone: nothing opens, reads fail, writes vanish
    int OpenPort = 0;       // the port number while open, 0 when closed
    int ReadLimit = -1;     // when >= 0, a read hands over at most this many bytes
    // Called for every frame that reaches the unit (port open, not unplugged).
    std::function<void(const Frame&)> OnWrite;

    bool Open(int portNumber, std::string* error) override {
        OpenAttempts.push_back(portNumber);
        if (Unplugged || NoPortsAtAll || MissingPorts.count(portNumber) != 0) {
            if (error != nullptr)
                *error = OpenFailure;
            return false;
        }
        OpenPort = portNumber;
        return true;
    }
    void Close() override { OpenPort = 0; }
    bool IsOpen() const override { return OpenPort != 0; }
    std::string PortName(int portNumber) const override {
        const auto named = Names.find(portNumber);
        return named != Names.end() ? named->second : "COM" + std::to_string(portNumber);
    }
    std::string DevicePath(int portNumber) const override {
        const auto named = Names.find(portNumber);
        return named != Names.end() ? "/dev/serial/by-id/" + named->second : std::string();
    }
    std::map<int, std::string> Names; // device names behind COM numbers, where a test gives them

    int BytesWaiting() override {
        if (!IsOpen() || Unplugged)
            return -1;
        return static_cast<int>(Incoming.size());
    }
    int Read(std::span<std::uint8_t> buffer) override {
        if (!IsOpen() || Unplugged)
            return 0;
        std::size_t count = std::min(buffer.size(), Incoming.size());
        if (ReadLimit >= 0)
            count = std::min(count, static_cast<std::size_t>(ReadLimit));
        std::copy_n(Incoming.begin(), count, buffer.begin());
        Incoming.erase(Incoming.begin(), Incoming.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }
    void WriteFrame(const Frame& frame) override {
        Written.push_back(frame);
        if (IsOpen() && !Unplugged && OnWrite)
            OnWrite(frame);
    }

    void Push(std::span<const std::uint8_t> bytes) {
        Incoming.insert(Incoming.end(), bytes.begin(), bytes.end());
    }
    void Unplug() {
        Unplugged = true;
        Incoming.clear();
    }

    std::vector<std::uint8_t> WrittenCodes() const {
        std::vector<std::uint8_t> codes;
        for (const Frame& f : Written)
            codes.push_back(f[0]);
        return codes;
    }
};

struct StatusLineShown {
    MsgId Text;
    std::string Suffix;
    LabelColour Colour;
    friend bool operator==(const StatusLineShown&, const StatusLineShown&) = default;
};

class RecordingLinkView : public LinkView {
public:
    std::uint8_t Language = LanguageEnglish;
    int Page = 0;

    std::vector<StatusLineShown> StatusLines; // every caption, in order
    bool StatusLineVisible = false;
    int GaugeMaximum = 0;
    int GaugeProgress = 0;
    std::vector<int> GaugeSteps; // every progress value set, in order
    bool GaugeVisible = false;
    bool ConnectionLost = false;
    std::optional<TelemetryCaptions> Telemetry;
    int TelemetryCount = 0;
    bool VersionVisible = false;
    std::string VersionText;
    int LiveColumn = -1;
    int LiveRow = -1;
    std::string PortLabel;
    std::string PortDevice;
    int CheckedItem = -1;
    int BlockShown = 0;
    std::optional<Identification> Unit;
    int FileNameCleared = 0;
    int ReadSetsRecorded = 0;
    std::vector<std::string> Notes;
    std::vector<std::string> Messages;
    // Runs while a message box is "open": a real box lets timer ticks run nested.
    std::function<void()> WhileMessageOpen;

    std::uint8_t LanguageIndex() const override { return Language; }
    int ActivePage() const override { return Page; }

    void SetStatusLine(MsgId text, std::string_view suffix, LabelColour colour) override {
        StatusLines.push_back({text, std::string(suffix), colour});
    }
    void SetStatusLineVisible(bool visible) override { StatusLineVisible = visible; }
    void SetProgramGauge(int maximum, int progress) override {
        GaugeMaximum = maximum;
        if (GaugeSteps.empty() || progress != GaugeProgress)
            GaugeSteps.push_back(progress);
        GaugeProgress = progress;
    }
    void SetProgramGaugeVisible(bool visible) override { GaugeVisible = visible; }
    void SetConnectionLost(bool lost) override { ConnectionLost = lost; }
    void ShowTelemetry(const TelemetryCaptions& captions) override {
        Telemetry = captions;
        ++TelemetryCount;
        VersionVisible = !captions.VersionWarning.empty();
        if (VersionVisible)
            VersionText = captions.VersionWarning;
    }
    void HideVersionWarning() override { VersionVisible = false; }
    void ShowLiveCell(int column, int row) override {
        LiveColumn = column;
        LiveRow = row;
    }
    void SetPortLabel(const std::string& text, const std::string& device) override {
        PortLabel = text;
        PortDevice = device;
    }
    void CheckComMenuItem(int index) override { CheckedItem = index; }
    void BlockToEditor() override { ++BlockShown; }
    void ShowIdentification(const Identification& unit) override { Unit = unit; }
    void ClearFileName() override { ++FileNameCleared; }
    void RecordReadSet() override { ++ReadSetsRecorded; }
    void ShowNote(const std::string& text) override { Notes.push_back(text); }
    // Every outcome told, in order: "Read Ok", "Program Failed", "stored", ...
    std::vector<std::string> Events;
    std::vector<TransferOutcome> Outcomes;
    void TransferEnded(const TransferOutcome& outcome) override {
        static constexpr const char* Kinds[] = {"Read", "Compare", "Verify", "Program"};
        static constexpr const char* Ends[] = {"Ok", "Failed", "Refused"};
        Events.push_back(std::string(Kinds[static_cast<int>(outcome.Asked)]) + " " + Ends[static_cast<int>(outcome.How)]);
        Outcomes.push_back(outcome);
    }
    void ProgramStored(int) override { Events.push_back("stored"); }
    void ShowMessage(const std::string& text) override {
        Messages.push_back(text);
        if (WhileMessageOpen)
            WhileMessageOpen();
    }

    std::optional<StatusLineShown> LastStatus() const {
        if (StatusLines.empty())
            return std::nullopt;
        return StatusLines.back();
    }
    bool EverShowed(MsgId text, std::string_view suffix) const {
        return std::any_of(StatusLines.begin(), StatusLines.end(),
                           [&](const StatusLineShown& s) { return s.Text == text && s.Suffix == suffix; });
    }
};

} // namespace zevo::testing
