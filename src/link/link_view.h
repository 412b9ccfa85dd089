#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/language_tables.h"
#include "link/identification.h"
#include "link/status_frame.h"
#include "link/transfer_outcome.h"

namespace zevo {

// What the link engine shows, in the window's terms. The main window implements it by copying
// values to its controls; it decides nothing. Every call is made on the UI thread from inside one
// of the engine's entry points.
//
// Texts: the engine composes the monitoring captions, the port label and message-box texts itself
// in the language the view reports at that moment (LanguageIndex). The status line is the one
// exception: it is passed as a message id plus a fixed suffix, and the view writes its own message
// text for that id followed by the suffix ("Verify:" + ": OK").
class LinkView {
public:
    virtual ~LinkView() = default;

    // ---- what the engine asks ------------------------------------------------------------------
    // 0 Czech, 1 English, 2 German.
    virtual std::uint8_t LanguageIndex() const = 0;
    // The active tab: 0 the general page, 1 servo 1, 2 servo 2.
    virtual int ActivePage() const = 0;

    // ---- status line (LabelHlaseni) and transfer gauge (CGaugeProgram) --------------------------
    virtual void SetStatusLine(MsgId text, std::string_view suffix, LabelColour colour) = 0;
    virtual void SetStatusLineVisible(bool visible) = 0;
    // 0 <= progress <= maximum always holds.
    virtual void SetProgramGauge(int maximum, int progress) = 0;
    virtual void SetProgramGaugeVisible(bool visible) = 0;

    // ---- connection and telemetry ----------------------------------------------------------------
    // LabelSpojeni: the unit has been silent for about a second.
    virtual void SetConnectionLost(bool lost) = 0;
    // Everything one status frame shows, LabelVersion included (hidden when VersionWarning is empty).
    virtual void ShowTelemetry(const TelemetryCaptions& captions) = 0;
    // Every status frame decoded, whatever the transfer is doing, before it is shown: the ride log
    // records each one.
    virtual void StatusDecoded(const StatusFrame& /*status*/) {}
    // Hides LabelVersion while the connection is lost.
    virtual void HideVersionWarning() = 0;
    // Paints the live cell on the visible servo page: RPM axis field `column`, throttle row label
    // `row`, map cell (row, column); every other axis field, row label and cell in its plain colour.
    // Called only while a servo page is active.
    virtual void ShowLiveCell(int column, int row) = 0;

    // ---- port ----------------------------------------------------------------------------------
    // LabelCom: "COM= ttyUSB0", and the whole device path for its tooltip (may be empty).
    virtual void SetPortLabel(const std::string& text, const std::string& device) = 0;
    virtual void CheckComMenuItem(int index) = 0; // index 0..20 alone bears the check mark

    // ---- parameter set -------------------------------------------------------------------------
    // The engine changed the DeviceImage and has validated it: show the block again (BlockToEditor).
    virtual void BlockToEditor() = 0;
    // The identification page changed: LabelVerze1..3.
    virtual void ShowIdentification(const Identification& unit) = 0;
    // A Read replaced the set with the unit's: it no longer comes from the file named on screen.
    virtual void ClearFileName() = 0;
    // A note for the window's status bar (a Read that waits for a Program, a Program that broke off
    // after writing pages), beside what the status line shows.
    virtual void ShowNote(const std::string& text) = 0;
    // A Read took the unit's set over (after BlockToEditor): one step of the undo history, so undo
    // returns to the set from before the Read and redo to the read set. Never a reason to program.
    virtual void RecordReadSet() = 0;
    // A Read has taken the unit's set over (after RecordReadSet): the unit holds the set on screen,
    // before the Read's verify pass has run.
    virtual void ReadSetTaken() {}
    // A comparison's Read has collected the unit's whole memory; the set on screen is untouched.
    virtual void UnitSetAside(const DeviceImage& /*unit*/) {}
    // How a transfer ended, told once at its end beside the captions of the status line: what the
    // window knows about the unit, the restore points and zevo-cli's exit codes follow this, never
    // the caption text.
    virtual void TransferEnded(const TransferOutcome& /*outcome*/) {}
    // A Program's set is stored: the unit's status shows its storing ended after the verify pass
    // ("Program device: OK"), with the programming counter that counts it.
    virtual void ProgramStored(int /*programmingCount*/) {}

    // ---- modal message -------------------------------------------------------------------------
    // A modal box. The engine calls it only as the very last thing of an entry point, once every
    // state change the message announces is made, because the box lets further ticks run nested.
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace zevo
