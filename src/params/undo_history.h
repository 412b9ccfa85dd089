#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "params/device_image.h"

namespace zevo {

inline constexpr int HistorySlots = 200; // so 199 steps of undo

// One snapshot of the history: the whole device image (the identification page too, so undoing past
// a Read brings back the unit's identification as well) and the tab page that was active when it was
// taken (0 Miscellaneous, 1 Servo 1, 2 Servo 2).
struct HistoryStep {
    DeviceImage Image;
    std::uint8_t Page = 0;
};

// What a record step tells the window.
struct HistoryRecordOutcome {
    bool Recorded = false;     // the image differed: a new undo step was taken, the buttons changed
    bool StartProgram = false; // "Programming after change" asks for the Program transaction now
};

// The undo/redo ring of the main window: 200 snapshots taken after each change. HistoryFirst is the
// oldest valid slot, HistoryCurrent the one that matches the state on screen, HistoryLast the newest
// (the end of the redo range); the valid slots run from HistoryFirst to HistoryLast, wrapping from
// 199 to 0. When the ring is full a new change drops the oldest snapshot silently.
//
// The window calls HistoryReset once at start-up, HistoryRecord as the last step of every
// AfterChange (and after a pulses-per-revolution choice), and Undo/Redo from the buttons and menu
// items; after Undo or Redo it copies the returned image back, shows the returned page, refreshes
// the editor and starts the Program transaction when "Programming after change" is ticked.
class UndoHistory {
public:
    UndoHistory();

    // Empties the history: all three indexes to 0 and the given state into slot 0.
    void HistoryReset(const DeviceImage& image, int page);

    // The record step. A snapshot is taken only when some of the 400 bytes differ from the current
    // snapshot (a tab switch alone is no change); a change after undos drops the redo steps, a record
    // without a change keeps them.
    //
    // programAfterChange is the state of the "Programming after change" box. With it ticked, the
    // first record after a record found it clear programs the unit only if something changed; every
    // further record programs it even without a change, so each confirmation in the editor sends the
    // set to the unit again. Ticking the box alone therefore never programs.
    HistoryRecordOutcome HistoryRecord(const DeviceImage& image, int page, bool programAfterChange);

    // The record step for a set that came from the unit (a Read): a snapshot as above, but it never
    // programs and leaves the arming of "Programming after change" as it was. Returns Recorded.
    bool RecordUnitSet(const DeviceImage& image, int page);

    // Copies the state into the current slot. Part of the record step and of HistoryReset.
    void HistorySnapshot(const DeviceImage& image, int page);

    // The current slot: the image to copy back into the window and the page to make active.
    const HistoryStep& HistoryRestore() const;

    // Step back or forward; nothing (and no change) when there is no step that way.
    std::optional<HistoryStep> Undo();
    std::optional<HistoryStep> Redo();

    // Enable SpeedButtonZpet/MenuZpet and SpeedButtonZnovu/MenuZnovu exactly when these hold.
    bool CanUndo() const { return HistoryCurrent != HistoryFirst; }
    bool CanRedo() const { return HistoryCurrent != HistoryLast; }
    int UndoSteps() const { return Distance(HistoryFirst, HistoryCurrent); }
    int RedoSteps() const { return Distance(HistoryCurrent, HistoryLast); }

    bool ProgramAfterChangeArmed() const { return Armed; }

private:
    bool SnapshotIfChanged(const DeviceImage& image, int page);
    static int Next(int slot) { return slot + 1 == HistorySlots ? 0 : slot + 1; }
    static int Previous(int slot) { return slot == 0 ? HistorySlots - 1 : slot - 1; }
    static int Distance(int from, int to) { return (to - from + HistorySlots) % HistorySlots; }

    std::vector<HistoryStep> Ring; // allocated once, HistorySlots long
    int HistoryFirst = 0;
    int HistoryCurrent = 0;
    int HistoryLast = 0;
    bool Armed = false; // ProgramAfterChangeArmed: the box was ticked at the last record
};

} // namespace zevo
