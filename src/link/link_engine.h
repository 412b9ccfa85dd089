#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "link/frame.h"
#include "link/frame_sync.h"
#include "link/identification.h"
#include "link/link_view.h"
#include "link/port_choice.h"
#include "link/serial_line.h"
#include "link/transfer_outcome.h"
#include "params/device_image.h"

namespace zevo {


// Counts in ticks of the 55 ms timer.
namespace linktime {
inline constexpr std::uint8_t LostAfterTicks = 18;    // about one second of silence
inline constexpr std::uint8_t ReopenEveryTicks = 30;  // 1.65 s between reopen attempts
inline constexpr std::uint8_t MissingPortTicks = 200; // a failed open in the search: move on at once
inline constexpr std::uint8_t StatusEveryTicks = 6;   // about three status requests a second
inline constexpr std::uint8_t ReplyTicks = 4;         // a command frame unanswered for 4 ticks is resent
inline constexpr std::uint8_t Transmissions = 5;      // ... five times in all, then the transfer fails
inline constexpr std::uint8_t MessageTicks = 200;     // the status line stays 11 s
inline constexpr std::uint8_t OutcomeTicks = 36;      // a transfer's outcome is shown 2 s before a queued one
inline constexpr int SaveCountdownStart = 800;        // the unit's store countdown starts at most here
} // namespace linktime

inline constexpr int ReceiveBufferSize = 15000;
inline constexpr int TransferGaugeMaximum = PageCount - 1; // 7

// The link's state, with the names the rest of the tool knows them by. One byte each where the unit's
// tool has always counted in bytes.
struct LinkState {
    Transfer TransferMode = Transfer::Idle;
    std::uint8_t CommandByte = 0; // command of the current frame; low six bits = page number
    std::uint8_t RetryCount = 0;  // transmissions of the current frame so far
    std::uint8_t TickCount = 0;   // ticks since the last frame went out (idle: since the last request)
    std::uint8_t MessageTimer = 0;
    std::uint8_t ProgramDonePending = 0; // a Program wrote every page and passed on to its verify pass
    std::uint8_t NoFrameTicks = linktime::LostAfterTicks; // lost until the first valid frame
    std::uint8_t ReopenTicks = 0;
    std::uint8_t SuppressPortError = 0;
    std::uint16_t SaveCountdown = 0;
    std::uint16_t RpmValue = 0;
    std::uint8_t TpPercent = 0;
    std::uint16_t TpMillivolts = 0;
    int LiveRpmColumn = 0;
    int LiveTpRow = 0;
    int GaugeMaximum = TransferGaugeMaximum; // CGaugeProgram as last set
    int GaugeProgress = 0;
    bool ConnectionLost = true; // LabelSpojeni as last set
};

// The port name as LabelCom shows it after "COM= ": at most its first ten characters.
std::string PortLabelName(const std::string& portName);

// The device link: serial port, connection watch, telemetry and the Read, Verify and Program
// transfers. It works on the window's DeviceImage and port choice, talks to the unit through a
// SerialLine and shows everything through a LinkView. Nothing happens on its own: the window's
// 55 ms timer calls Tick(), and the menu handlers call the Start and port functions.
class LinkEngine {
public:
    LinkEngine(DeviceImage& image, PortChoice& ports, SerialLine& line, LinkView& view);
    LinkEngine(const LinkEngine&) = delete;
    LinkEngine& operator=(const LinkEngine&) = delete;

    // One tick of the timer: drain the line and decode at most one frame, advance the transfer or
    // ask for the unit's status, count the status line down, watch the connection (reopening the
    // port while it is lost), and paint the live cell.
    void Tick();

    // Opens the chosen port (ComPortIndex, or COM(AutoPortNumber + 1) in automatic search). A failed
    // open of a fixed port shows a message unless SuppressPortError is set.
    void OpenPort();
    void ClosePort();
    // A click on COM menu item `position` (0..19 = COM1..COM20, 20 = automatic search).
    void MenuCom1Click(int position);

    // Start a transfer. None sends at once: the first frame goes out from Tick(). For Program and
    // Verify the window first takes the editor into the block, validates it and shows it again.
    // A start while a transfer runs restarts with the new one, except that a Read or Verify asked for
    // while a Program writes its pages, runs its verify pass or waits for the unit to store waits for
    // it to end (a restart would leave the unit with some pages new and some old, and nothing would
    // say so). Those wait in the order asked, each once; they start only once the Program's outcome
    // is on the status line, and a Program that fails drops them: the failure stays readable, and
    // nothing reads the half-written set over the one on screen.
    void StartRead();
    void StartVerify();
    // A Read whose pages are set aside for a comparison (LinkView::UnitSetAside) and never taken
    // over: the set on screen stays as it is. The same frames, retries and refusals as a Read.
    // `quietly`: the window's own look at a unit that has just answered, with no caption or gauge
    // and no box for a unit of another version (its status frames show that already).
    void StartCompare(bool quietly = false);
    void StartProgram();
    // Programming after change starts here too: the history's record step decides when (it keeps
    // ProgramAfterChangeArmed), and undo and redo start it whenever the box is ticked.

    // The window wrote the status line itself (the print caption): it stays up for `ticks` ticks
    // like any message of the link, and the unit's storing progress may take it over as usual.
    void HoldStatusLine(std::uint8_t ticks);

    const LinkState& State() const { return S; }
    // The identification last decoded by a transfer.
    const Identification& Unit() const { return UnitId; }
    // The pages a Verify pass (or a Program's or Read's) found in the unit, page 0 the set's own:
    // what the unit holds once a Program or Verify ended well (TransferEnded).
    const DeviceImage& VerifiedSet() const { return Verified; }
    // The last status frame the unit sent, none before the first.
    const std::optional<StatusFrame>& LastStatusFrame() const { return LastStatus; }

private:
    // A Program writing its pages, in its verify pass, or waiting for the unit to store.
    bool ProgramRunning() const;
    void StartWaiting();
    void Wait(Transfer next, LinkNoteId note);
    void Ended(TransferOutcome::End how);
    std::deque<Transfer> Waiting; // the Reads and Verifies that wait for the Program, in order
    TransferOutcome::Kind Asked = TransferOutcome::Kind::Read;
    bool StoringEndShown = false; // "Program device: OK" has been shown for the last Program
    std::uint8_t OutcomeShownTicks = 0; // since the last outcome reached the status line
    std::set<int> SearchReported;    // ports the search has said it could not open (once each)

    // Port.
    void OpenPortSteps();
    void ReconnectStep();
    void Drain();
    void SendFrame(const Frame& frame);

    // Telemetry.
    void DecodeStatus(const Frame& frame);
    void SendStatusRequest();
    void IdleStep();
    void LiveCellHighlight();

    // One exchange: the command frame for the current page, and the reply that answers it.
    void SendCommandFrame();
    void DecodeReply(const Frame& frame);
    // Retry policy.
    void TransactionTick();
    // The whole set.
    void BeginTransfer(Transfer mode, std::uint8_t command, MsgId caption);
    void PageStep(int page);
    void BeginVerifyPass();
    void CommitReadPages();
    void RefuseVersion(int unitVersion);
    void ShowUnit(std::span<const std::uint8_t, PageSize> page);

    // Status line and gauge.
    void SetStatus(MsgId text, std::string_view suffix, LabelColour colour);
    void SetGauge(int maximum, int progress);
    void QueueMessage(std::string text);
    void ShowPendingMessage();

    DeviceImage& Image;
    PortChoice& Ports;
    SerialLine& Line;
    LinkView& View;

    LinkState S;
    Identification UnitId;
    std::optional<StatusFrame> LastStatus;
    DeviceImage Verified;
    std::array<std::uint8_t, ReceiveBufferSize> ReceiveBuffer{};
    FrameSync Sync{ReceiveBufferSize};
    Frame TransmitFrame{};
    // A Read collects the pages here and takes them over only once all eight have arrived: a Read
    // that breaks off leaves the set on screen as it was.
    std::array<std::uint8_t, ImageSize> ReadPages{};
    bool ReadAside = false; // the Read running is a comparison's
    bool Quiet = false;     // ... and shows nothing
    // A status frame has arrived since the last transfer ended: only then is the unit's store
    // countdown current, and only then may "Program device: OK" follow a verify pass.
    bool StatusSinceTransfer = true;
    // The status line shows a red error; the unit's store progress does not overwrite it.
    bool StatusLineShowsError = false;
    bool MessagePending = false;
    std::string PendingMessage;
};

} // namespace zevo
