#include "params/undo_history.h"

#include <cstddef>

namespace zevo {

UndoHistory::UndoHistory() : Ring(HistorySlots) {}

void UndoHistory::HistoryReset(const DeviceImage& image, int page) {
    HistoryFirst = 0;
    HistoryCurrent = 0;
    HistoryLast = 0;
    HistorySnapshot(image, page);
}

void UndoHistory::HistorySnapshot(const DeviceImage& image, int page) {
    HistoryStep& slot = Ring[static_cast<std::size_t>(HistoryCurrent)];
    slot.Image = image;
    slot.Page = static_cast<std::uint8_t>(page);
}

bool UndoHistory::SnapshotIfChanged(const DeviceImage& image, int page) {
    // The page byte is not compared: looking at another tab changes nothing worth undoing.
    if (image == HistoryRestore().Image)
        return false;
    HistoryCurrent = Next(HistoryCurrent);
    HistoryLast = HistoryCurrent;
    if (HistoryCurrent == HistoryFirst)
        HistoryFirst = Next(HistoryFirst);
    HistorySnapshot(image, page);
    return true;
}

bool UndoHistory::RecordUnitSet(const DeviceImage& image, int page) {
    return SnapshotIfChanged(image, page);
}

HistoryRecordOutcome UndoHistory::HistoryRecord(const DeviceImage& image, int page, bool programAfterChange) {
    HistoryRecordOutcome outcome;
    outcome.Recorded = SnapshotIfChanged(image, page);
    outcome.StartProgram = programAfterChange && (outcome.Recorded || Armed);
    Armed = programAfterChange;
    return outcome;
}

const HistoryStep& UndoHistory::HistoryRestore() const {
    return Ring[static_cast<std::size_t>(HistoryCurrent)];
}

std::optional<HistoryStep> UndoHistory::Undo() {
    if (!CanUndo())
        return std::nullopt;
    HistoryCurrent = Previous(HistoryCurrent);
    return HistoryRestore();
}

std::optional<HistoryStep> UndoHistory::Redo() {
    if (!CanRedo())
        return std::nullopt;
    HistoryCurrent = Next(HistoryCurrent);
    return HistoryRestore();
}

} // namespace zevo
