#pragma once
#include <QColor>

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "link/link_view.h"

namespace zevo {

class TFormHlav;
class TLabel;

// Shows what the link engine reports on the window's controls. It decides nothing: every call
// copies values to labels, gauges and the editor, touching only what actually changes, because
// most of these calls come from the 55 ms timer.
class WindowLinkView final : public LinkView {
public:
    explicit WindowLinkView(TFormHlav& form) : Form(form) {}

    std::uint8_t LanguageIndex() const override;
    int ActivePage() const override;
    void SetStatusLine(MsgId text, std::string_view suffix, LabelColour colour) override;
    void SetStatusLineVisible(bool visible) override;
    void SetProgramGauge(int maximum, int progress) override;
    void SetProgramGaugeVisible(bool visible) override;
    void SetConnectionLost(bool lost) override;
    void StatusDecoded(const StatusFrame& status) override;
    void ShowTelemetry(const TelemetryCaptions& captions) override;
    void HideVersionWarning() override;
    void ShowLiveCell(int column, int row) override;
    void SetPortLabel(const std::string& text, const std::string& device) override;
    void CheckComMenuItem(int index) override;
    void BlockToEditor() override;
    void ShowIdentification(const Identification& unit) override;
    void ClearFileName() override;
    void RecordReadSet() override;
    void ReadSetTaken() override;
    void TransferEnded(const TransferOutcome& outcome) override;
    void ProgramStored(int programmingCount) override;
    void UnitSetAside(const DeviceImage& unit) override;
    void ShowNote(const std::string& text) override;
    void ShowMessage(const std::string& text) override;

    // The note the engine gave during the current tick, so what the window adds to it in the same
    // tick is said beside it, not over it.
    QString NoteThisTick;

    // The captions on the monitoring labels, whoever composed them (the engine, or a replay).
    void ShowCaptions(const TelemetryCaptions& captions);
    // A replay began or ended: the labels are greyed only for the unit's values while it is silent.
    void ReplayChanged();
    // The unit's captions kept behind a replay, composed again in the language now chosen.
    void LanguageChanged();

private:
    bool Stale() const;
    // What the labels showed before a replay, put back after it when the unit has sent nothing.
    struct Labels {
        std::vector<QString> Captions;
        int RpmGauge = 0;
        int TpsGauge = 0;
        bool EeDataError = false;
        bool VersionShown = false;
        std::array<QColor, 4> Colours{}; // throttle, supply, servo 1, servo 2
    };
    Labels Current() const;
    // The captions of the unit's last frame, kept while a replay hides them.
    std::optional<TelemetryCaptions> UnitCaptions;
    std::optional<Labels> BeforeReplay;
    bool ShowsReplay = false;
    // The monitoring labels with the background the last frame gave them (invalid: none of its own).
    std::vector<std::pair<TLabel*, QColor>> TelemetryLabels() const;
    void DressTelemetry();

    TFormHlav& Form;
    bool Lost = false;
    QColor TpsColour;
    QColor SupplyColour;
    std::array<QColor, 2> ServoColours{};
};

} // namespace zevo
