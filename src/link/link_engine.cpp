#include "link/link_engine.h"

#include <algorithm>
#include <utility>

#include "link/engine_position.h"
#include "link/status_frame.h"

namespace zevo {

namespace {

constexpr std::uint8_t AutoSearchLastNumber = AutoPortCount - 1; // 20: the search wraps to 0 after it
constexpr int PageOf(std::uint8_t command) {
    return command & PageNumberMask;
}
constexpr bool IsReadCommand(std::uint8_t command) {
    return (command & ReadPageCode) != 0;
}

std::span<const std::uint8_t, PageSize> PayloadOf(const Frame& frame) {
    return std::span<const std::uint8_t, PageSize>(frame.data() + 1, PageSize);
}

} // namespace

LinkEngine::LinkEngine(DeviceImage& image, PortChoice& ports, SerialLine& line, LinkView& view)
    : Image(image), Ports(ports), Line(line), View(view) {}

// ---- the timer cycle -------------------------------------------------------------------------

void LinkEngine::Tick() {
    Drain();
    if (S.TransferMode != Transfer::Idle)
        TransactionTick();
    StartWaiting(); // a Read or Verify that waited for a Program runs once its outcome is shown
    if (S.TransferMode == Transfer::Idle)
        IdleStep();

    if (S.MessageTimer > 0) {
        --S.MessageTimer;
        View.SetStatusLineVisible(true);
    } else {
        View.SetStatusLineVisible(false);
        View.SetProgramGaugeVisible(false);
        S.ProgramDonePending = 0;
        StatusLineShowsError = false;
    }

    // Connection watch: the unit answers a status request every sixth tick, so 18 silent ticks
    // mean it is gone (unplugged, switched off, or the search is on the wrong port).
    if (S.NoFrameTicks < linktime::LostAfterTicks) {
        ++S.NoFrameTicks;
        S.ConnectionLost = false;
        View.SetConnectionLost(false);
    } else {
        S.ConnectionLost = true;
        View.SetConnectionLost(true);
        ++S.ReopenTicks;
        if (S.ReopenTicks >= linktime::ReopenEveryTicks) {
            S.ReopenTicks = 0;
            ReconnectStep();
        }
    }
    if (S.ConnectionLost)
        View.HideVersionWarning();

    LiveCellHighlight();
    ShowPendingMessage();
}

void LinkEngine::IdleStep() {
    if (++S.TickCount >= linktime::StatusEveryTicks) {
        S.TickCount = 0;
        SendStatusRequest();
    }
    // Right after a transfer the last store countdown the unit sent is older than the transfer:
    // its storing state is known again only with its next status frame.
    if (!StatusSinceTransfer)
        return;
    if (S.SaveCountdown > 0) {
        // A red error stays readable while the unit stores what it did receive.
        if (StatusLineShowsError)
            return;
        SetStatus(MsgId::MsgSaving, "", LabelColour::Normal);
        S.MessageTimer = linktime::MessageTicks;
        const int done =
            (linktime::SaveCountdownStart - S.SaveCountdown) * 100 / linktime::SaveCountdownStart;
        SetGauge(100, std::clamp(done, 0, 100));
    } else {
        SetGauge(TransferGaugeMaximum, S.GaugeProgress);
        if (S.ProgramDonePending != 0) {
            SetStatus(MsgId::MsgProgramDevice, ": OK", LabelColour::Normal);
            SetGauge(S.GaugeMaximum, S.GaugeMaximum);
            if (!StoringEndShown) {
                StoringEndShown = true;
                OutcomeShownTicks = 0;
                View.ProgramStored(LastStatus ? LastStatus->ProgrammingCount : 0);
            }
        }
    }
}

void LinkEngine::LiveCellHighlight() {
    const int page = View.ActivePage();
    if (page != 1 && page != 2)
        return;
    const EngineCell cell = EngineCellOn(Image, page - 1, EngineReading{S.RpmValue, S.TpPercent, S.TpMillivolts});
    S.LiveRpmColumn = cell.Column;
    S.LiveTpRow = cell.Row;
    View.ShowLiveCell(S.LiveRpmColumn, S.LiveTpRow);
}

// ---- port ------------------------------------------------------------------------------------

std::string PortLabelName(const std::string& portName) {
    // At most ten characters of the name, so a long /dev/serial/by-id name stays inside the label;
    // cut before a UTF-8 continuation byte, never inside a character.
    constexpr std::size_t Longest = 10;
    std::size_t end = 0, characters = 0;
    while (end < portName.size() && characters < Longest) {
        ++end;
        while (end < portName.size() && (static_cast<unsigned char>(portName[end]) & 0xC0) == 0x80)
            ++end;
        ++characters;
    }
    return portName.substr(0, end);
}

void LinkEngine::OpenPort() {
    OpenPortSteps();
    ShowPendingMessage();
}

void LinkEngine::OpenPortSteps() {
    // The same repair as the block's validation, for a choice that never went through it.
    if (Ports.ComPortIndex > AutoSearchPortIndex)
        Ports.ComPortIndex = 0;
    if (Ports.AutoPortNumber > AutoSearchLastNumber)
        Ports.AutoPortNumber = 0;
    const bool searching = Ports.ComPortIndex == AutoSearchPortIndex;
    const int number = searching ? Ports.AutoPortNumber + 1 : Ports.ComPortIndex + 1;

    View.SetPortLabel("COM= " + PortLabelName(Line.PortName(number)), Line.DevicePath(number));
    if (Line.IsOpen())
        Line.Close();
    Sync.Clear(); // nothing of the last port's bytes belongs to this one
    std::string reason;
    if (!Line.Open(number, &reason)) {
        if (searching) {
            S.ReopenTicks = linktime::MissingPortTicks;
            // The search shows no box, but a port that is there and will not open is said once, in
            // the status bar: otherwise the label only runs on and nobody learns why.
            const std::string device = Line.DevicePath(number);
            if (!device.empty() && SearchReported.insert(number).second) {
                std::string note = LinkNoteText(LinkNoteId::PortNotOpened, View.LanguageIndex());
                for (const auto& [mark, value] :
                     {std::pair<std::string, std::string>{"%1", "COM" + std::to_string(number)},
                      {"%2", device},
                      {"%3", reason}}) {
                    const std::size_t at = note.find(mark);
                    if (at != std::string::npos)
                        note.replace(at, mark.size(), value);
                }
                View.ShowNote(note);
            }
        } else if (S.SuppressPortError == 0) {
            std::string text = MessageText(MsgId::MsgComOpeningError, View.LanguageIndex());
            if (!reason.empty())
                text += "\n" + reason;
            QueueMessage(std::move(text));
        }
    }
    View.CheckComMenuItem(Ports.ComPortIndex);
}

void LinkEngine::ClosePort() {
    Line.Close();
    Sync.Clear();
}

void LinkEngine::MenuCom1Click(int position) {
    if (position < 0 || position > AutoSearchPortIndex)
        return;
    Ports.ComPortIndex = static_cast<std::uint8_t>(position);
    ClosePort();
    S.SuppressPortError = 0;
    SearchReported.clear(); // a new choice: a new search says again what it cannot open
    OpenPort();
}

void LinkEngine::ReconnectStep() {
    ClosePort();
    S.SuppressPortError = 1;
    // The search number moves on also while a fixed port is chosen, so a later switch to the
    // search does not always start at the same port.
    Ports.AutoPortNumber = Ports.AutoPortNumber >= AutoSearchLastNumber
                               ? std::uint8_t{0}
                               : static_cast<std::uint8_t>(Ports.AutoPortNumber + 1);
    OpenPortSteps();
}

void LinkEngine::Drain() {
    // Whatever has come, a whole frame or a piece of one: the frames are put together across ticks.
    const int waiting = Line.BytesWaiting();
    int got = 0;
    if (waiting > 0) {
        const int wanted = std::min(waiting, ReceiveBufferSize);
        got = std::min(wanted, Line.Read(std::span<std::uint8_t>(ReceiveBuffer.data(), static_cast<std::size_t>(wanted))));
    }
    // A read that fails counts as a quiet line: nothing old is ever decoded again.
    Sync.Take(std::span<const std::uint8_t>(ReceiveBuffer.data(), static_cast<std::size_t>(std::max(got, 0))));
    // One frame a tick. It is a copy, so a message box opened by its decoder (with ticks running
    // nested) cannot change it underneath.
    const std::optional<Frame> frame = Sync.Next();
    if (!frame)
        return;
    if ((*frame)[0] == StatusFrameCode)
        DecodeStatus(*frame);
    else
        DecodeReply(*frame);
}

void LinkEngine::SendFrame(const Frame& frame) {
    TransmitFrame = frame;
    Line.WriteFrame(TransmitFrame);
}

// ---- telemetry -------------------------------------------------------------------------------

void LinkEngine::SendStatusRequest() {
    SendFrame(MakeFrame(StatusRequestCode));
}

void LinkEngine::DecodeStatus(const Frame& frame) {
    const std::optional<StatusFrame> status = DecodeStatusFrame(frame);
    if (status)
        LastStatus = *status;
    if (!status)
        return;
    S.NoFrameTicks = 0;
    S.TpPercent = status->TpPercent;
    S.RpmValue = status->Rpm;
    S.TpMillivolts = TpMillivoltsFromCount(status->TpCount);
    S.SaveCountdown = status->SaveCountdown;
    if (S.TransferMode == Transfer::Idle)
        StatusSinceTransfer = true;
    View.StatusDecoded(*status);
    View.ShowTelemetry(ComposeTelemetry(*status, {Image.ServoEnable(0) != 0, Image.ServoEnable(1) != 0},
                                        View.LanguageIndex()));
}

// ---- one exchange ----------------------------------------------------------------------------

void LinkEngine::SendCommandFrame() {
    S.TickCount = 0;
    const int page = PageOf(S.CommandByte);
    // Program commands carry the page to write. Read commands carry zeros during a Read and the
    // tool's copy of the page during a Verify, as the unit has always been sent them; the unit
    // answers from its own memory either way. Page 0 is read with zeros in any transfer.
    const bool carriesPage =
        !IsReadCommand(S.CommandByte) || (S.TransferMode == Transfer::Verify && page != 0);
    SendFrame(carriesPage ? MakeFrame(S.CommandByte, Image.Page(page)) : MakeFrame(S.CommandByte));
}

void LinkEngine::DecodeReply(const Frame& frame) {
    if (!CheckByteValid(frame))
        return;
    // A reply carries its command's code with bit 7 set; a reply to anything else (a late answer
    // to an earlier page, a command of an abandoned transfer) is not this page's answer.
    if (S.TransferMode == Transfer::Idle || frame[0] != (S.CommandByte ^ ReplyBit))
        return;
    S.NoFrameTicks = 0;
    const int page = PageOf(S.CommandByte);
    const std::span<const std::uint8_t, PageSize> payload = PayloadOf(frame);
    const auto samePage = [&] {
        return std::equal(payload.begin(), payload.end(), Image.Page(page).begin());
    };

    switch (S.TransferMode) {
    case Transfer::Read:
        std::copy(payload.begin(), payload.end(), ReadPages.begin() + PageSize * page);
        if (page == 0 && payload[idpage::Version] != PcProgramVersion) {
            RefuseVersion(payload[idpage::Version]);
            return;
        }
        break;
    case Transfer::Program:
        if (page == 0) {
            // The unit answers the identification page with its own; the tool takes it over.
            std::copy(payload.begin(), payload.end(), Image.Page(0).begin());
            ValidateBlock(Image, Ports);
            ShowUnit(Image.Page(0));
            View.BlockToEditor();
            if (payload[idpage::Version] != PcProgramVersion) {
                RefuseVersion(payload[idpage::Version]);
                return;
            }
        } else if (!samePage()) {
            // Not echoed byte for byte: the page did not arrive intact. The time-out resends it.
            return;
        }
        break;
    case Transfer::Verify:
        if (page == 0) {
            if (payload[idpage::Version] != PcProgramVersion) {
                RefuseVersion(payload[idpage::Version]);
                return;
            }
        } else if (!samePage()) {
            return;
        }
        // What the unit was found to hold, page by page: the set on screen may change during the pass.
        std::copy(payload.begin(), payload.end(), Verified.Bytes.begin() + PageSize * page);
        break;
    case Transfer::Idle:
        return;
    }
    PageStep(page);
}

// ---- retry policy ----------------------------------------------------------------------------

void LinkEngine::TransactionTick() {
    if (++S.TickCount >= linktime::ReplyTicks) {
        S.TickCount = 0;
        ++S.RetryCount;
        if (S.RetryCount <= linktime::Transmissions) {
            SendCommandFrame();
            return;
        }
        static constexpr MsgId Failure[] = {MsgId::MsgProgramError, MsgId::MsgProgramError,
                                            MsgId::MsgVerifyError, MsgId::MsgReadError};
        if (!Quiet) {
            SetStatus(Failure[static_cast<int>(S.TransferMode)], "", LabelColour::Red);
            S.MessageTimer = linktime::MessageTicks;
        }
        // Past the identification page a Program has written pages: some may be new, some old.
        std::string note;
        if (S.TransferMode == Transfer::Program && (S.CommandByte & 0x3F) >= 1)
            note = LinkNoteText(LinkNoteId::MixedSetAfterFailedProgram, View.LanguageIndex());
        // What waited for the Program is not started: the failure stays on the status line, and no
        // Read takes the half-written set over the one on screen.
        if (Asked == TransferOutcome::Kind::Program && !Waiting.empty()) {
            Waiting.clear();
            if (!note.empty())
                note.push_back(' ');
            note.append(LinkNoteText(LinkNoteId::QueueDropped, View.LanguageIndex()));
        }
        if (!note.empty())
            View.ShowNote(note);
        if (S.TransferMode == Transfer::Verify)
            S.ProgramDonePending = 0;
        // A Read that breaks off leaves the set as it was: its pages were only collected.
        Ended(TransferOutcome::End::Failed);
        return;
    }
    if (S.TransferMode == Transfer::Read)
        S.ProgramDonePending = 0;
}

// ---- the whole set ---------------------------------------------------------------------------

void LinkEngine::BeginTransfer(Transfer mode, std::uint8_t command, MsgId caption) {
    S.TransferMode = mode;
    S.CommandByte = command;
    S.RetryCount = 0;
    if (!Quiet) {
        SetStatus(caption, "", LabelColour::Normal);
        S.MessageTimer = linktime::MessageTicks;
        View.SetStatusLineVisible(true);
        SetGauge(TransferGaugeMaximum, 0);
        View.SetProgramGaugeVisible(true);
    }
    S.ProgramDonePending = 0;
    StatusSinceTransfer = false;
}

bool LinkEngine::ProgramRunning() const {
    return S.TransferMode == Transfer::Program || (S.ProgramDonePending != 0 && !StoringEndShown);
}

void LinkEngine::Ended(TransferOutcome::End how) {
    TransferOutcome outcome;
    outcome.Asked = Asked;
    outcome.How = how;
    outcome.InVerifyPass = S.TransferMode == Transfer::Verify;
    outcome.UnitSilent = S.NoFrameTicks >= linktime::LostAfterTicks;
    OutcomeShownTicks = 0;
    if (Asked == TransferOutcome::Kind::Program && how != TransferOutcome::End::Refused)
        // The page being written when it ended was not echoed; a verify pass runs after all seven.
        outcome.PagesWritten =
            S.TransferMode == Transfer::Program ? std::max(PageOf(S.CommandByte) - 1, 0) : PageCount - 1;
    outcome.Quiet = Quiet;
    S.TransferMode = Transfer::Idle;
    ReadAside = false;
    Quiet = false;
    View.TransferEnded(outcome);
}

void LinkEngine::Wait(Transfer next, LinkNoteId note) {
    if (std::find(Waiting.begin(), Waiting.end(), next) == Waiting.end())
        Waiting.push_back(next);
    View.ShowNote(LinkNoteText(note, View.LanguageIndex()));
}

void LinkEngine::StartRead() {
    if (ProgramRunning()) {
        Wait(Transfer::Read, LinkNoteId::ReadWaitsForProgram);
        return;
    }
    ReadAside = false;
    Quiet = false;
    Asked = TransferOutcome::Kind::Read;
    BeginTransfer(Transfer::Read, ReadPageCode, MsgId::MsgRead);
    ShowPendingMessage();
}

void LinkEngine::StartCompare(bool quietly) {
    // Only on a free link: queued behind a Program it could not be told from a Read.
    if (S.TransferMode != Transfer::Idle || !Waiting.empty() || ProgramRunning())
        return;
    Quiet = quietly;
    Asked = TransferOutcome::Kind::Compare;
    BeginTransfer(Transfer::Read, ReadPageCode, MsgId::MsgRead);
    ReadAside = true;
    ShowPendingMessage();
}

void LinkEngine::StartVerify() {
    if (ProgramRunning()) {
        Wait(Transfer::Verify, LinkNoteId::VerifyWaitsForProgram);
        return;
    }
    // The Verify a user starts begins with the identification page: a unit of another version is
    // refused before any of its pages is compared.
    Verified = Image;
    Quiet = false;
    Asked = TransferOutcome::Kind::Verify;
    BeginTransfer(Transfer::Verify, ReadPageCode, MsgId::MsgVerify);
    ShowPendingMessage();
}

void LinkEngine::StartWaiting() {
    if (OutcomeShownTicks < linktime::OutcomeTicks)
        ++OutcomeShownTicks;
    if (Waiting.empty() || S.TransferMode != Transfer::Idle || ProgramRunning() ||
        OutcomeShownTicks < linktime::OutcomeTicks)
        return;
    const Transfer next = Waiting.front();
    Waiting.pop_front();
    if (next == Transfer::Read)
        StartRead();
    else
        StartVerify();
}

void LinkEngine::StartProgram() {
    Asked = TransferOutcome::Kind::Program;
    Quiet = false;
    StoringEndShown = false;
    BeginTransfer(Transfer::Program, ProgramPageCode, MsgId::MsgProgramDevice);
    ShowPendingMessage();
}

void LinkEngine::PageStep(int page) {
    if (page < PageCount - 1) {
        // The identification check at the head of a Verify is no step of the gauge.
        if (!(S.TransferMode == Transfer::Verify && page == 0) && !Quiet)
            SetGauge(S.GaugeMaximum, S.GaugeProgress + 1);
        ++S.CommandByte;
        S.RetryCount = 1;
        SendCommandFrame();
        return;
    }
    switch (S.TransferMode) {
    case Transfer::Read:
        if (ReadAside) {
            // Collected for a comparison only: nothing is taken over and nothing is verified.
            ReadAside = false;
            if (!Quiet) {
                SetGauge(S.GaugeMaximum, S.GaugeMaximum);
                SetStatus(MsgId::MsgRead, ": OK", LabelColour::Normal);
                S.MessageTimer = linktime::MessageTicks;
            }
            DeviceImage unit;
            std::copy(ReadPages.begin(), ReadPages.end(), unit.Bytes.begin());
            Ended(TransferOutcome::End::Ok);
            View.UnitSetAside(unit);
            break;
        }
        CommitReadPages();
        BeginVerifyPass();
        break;
    case Transfer::Program:
        S.ProgramDonePending = 1;
        BeginVerifyPass();
        break;
    case Transfer::Verify:
        SetGauge(S.GaugeMaximum, S.GaugeMaximum);
        SetStatus(MsgId::MsgVerify, ": OK", LabelColour::Normal);
        S.MessageTimer = linktime::MessageTicks;
        Ended(TransferOutcome::End::Ok);
        break;
    case Transfer::Idle:
        break;
    }
}

void LinkEngine::BeginVerifyPass() {
    Verified = Image;
    S.TransferMode = Transfer::Verify;
    S.CommandByte = ReadPageCode + 1;
    S.RetryCount = 1;
    SendCommandFrame();
    SetStatus(MsgId::MsgVerify, ":", LabelColour::Normal);
    S.MessageTimer = linktime::MessageTicks;
    View.SetStatusLineVisible(true);
    SetGauge(S.GaugeMaximum, 0);
}

void LinkEngine::CommitReadPages() {
    std::copy(ReadPages.begin(), ReadPages.end(), Image.Bytes.begin());
    ValidateBlock(Image, Ports);
    ShowUnit(Image.Page(0));
    View.ClearFileName();
    View.BlockToEditor();
    View.RecordReadSet();
    View.ReadSetTaken();
}

void LinkEngine::RefuseVersion(int unitVersion) {
    // Ended before the box: the ticks that run while it is open see an idle link.
    const Transfer mode = S.TransferMode;
    const bool aside = ReadAside;
    const bool quiet = Quiet;
    Waiting.clear(); // nothing more for this unit
    Ended(TransferOutcome::End::Refused);
    // A comparison on its own (a unit that answered) leaves the version to the label that shows it.
    if (quiet)
        return;
    if (mode == Transfer::Read && !aside) {
        // The unit's identification is kept, so the user sees which unit it was; its parameter
        // pages were never asked for.
        std::copy_n(ReadPages.begin(), PageSize, Image.Bytes.begin());
        ValidateBlock(Image, Ports);
        ShowUnit(Image.Page(0));
        View.BlockToEditor();
    }
    S.MessageTimer = 0;
    QueueMessage(VersionWarningText(unitVersion, View.LanguageIndex()));
}

void LinkEngine::ShowUnit(std::span<const std::uint8_t, PageSize> page) {
    UnitId = DecodeIdentification(page);
    View.ShowIdentification(UnitId);
}

// ---- status line, gauge, message -------------------------------------------------------------

void LinkEngine::SetStatus(MsgId text, std::string_view suffix, LabelColour colour) {
    StatusLineShowsError = colour == LabelColour::Red;
    View.SetStatusLine(text, suffix, colour);
}

void LinkEngine::HoldStatusLine(std::uint8_t ticks) {
    S.MessageTimer = ticks;
    StatusLineShowsError = false;
    View.SetStatusLineVisible(true);
}

void LinkEngine::SetGauge(int maximum, int progress) {
    progress = std::clamp(progress, 0, maximum);
    S.GaugeMaximum = maximum;
    S.GaugeProgress = progress;
    View.SetProgramGauge(maximum, progress);
}

void LinkEngine::QueueMessage(std::string text) {
    PendingMessage = std::move(text);
    MessagePending = true;
}

void LinkEngine::ShowPendingMessage() {
    if (!MessagePending)
        return;
    // Taken out before the box opens: a tick nested inside it must not show it again.
    MessagePending = false;
    const std::string text = std::move(PendingMessage);
    PendingMessage.clear();
    View.ShowMessage(text);
}

} // namespace zevo
