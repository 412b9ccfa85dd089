#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "link/port_choice.h"
#include "params/device_image.h"
#include "params/undo_history.h"

namespace zevo {

struct SetDifference;

// What the window can say about the unit and the set on screen.
enum class UnitKnowledge { InUnit, DiffersFromUnit, UnitNotKnown };

// The block bytes that hold parameters. The rest (11 to 14 and 17 to 19) the unit's program does not
// use: Open, New and a restore point leave them as they are, only a Read brings the unit's.
bool IsParameterByte(int blockByte);
// The parameters of `from` over `to`; the unused bytes and the identification page stay.
void CopyParameters(DeviceImage& to, const DeviceImage& from);

// Takes the other side's value of each chosen difference into `here`, as the user reads them: a map
// unit taken converts this side's map as the per-cent switch does, and a cell taken from a map in the
// other unit is converted into this side's. Map units go first, so the cells then land in the unit
// their map has by then.
void TakeTheirs(DeviceImage& here, const DeviceImage& there, std::span<const SetDifference> chosen);

// The one owner of the parameter set on screen and of what is known about it: the image, its undo
// history, the set of the file it came from, the set the unit is known to hold, and the set last made
// safe (saved, opened, read, programmed, verified or new), against which an edit could be lost. The
// window shows what this says; every whole set that comes onto the screen comes through it.
class ParameterSession {
public:
    DeviceImage Image;
    UndoHistory History;

    // ---- the unit ----------------------------------------------------------------------------
    // The unit holds `set` (a Read, a Program's or a Verify's pass, a comparison's read): the set on
    // screen is "in the unit" while its fields equal it.
    void UnitHolds(const DeviceImage& set);
    // A Program or Verify failed: the unit holds some other set, known or not.
    void UnitHoldsAnother();
    // The unit went silent, or the port changed: whatever answers next may be another unit.
    void UnitNotKnown();
    UnitKnowledge UnitState() const;
    const std::optional<DeviceImage>& UnitSet() const { return Unit; }

    // ---- the file ------------------------------------------------------------------------------
    // The set on screen is the named file's (just opened or saved), or nothing is known of a file.
    void FileHoldsScreen() { File = Image; }
    void FileHolds(std::optional<DeviceImage> set) { File = std::move(set); }
    bool DiffersFromFile() const;
    const std::optional<DeviceImage>& FileSet() const { return File; }

    // ---- edits that could be lost ---------------------------------------------------------------
    void MarkSafe() { Safe = Image; }
    void MarkSafe(const DeviceImage& set) { Safe = set; }
    // The user changed the set since it was last made safe, and neither the file named nor the unit
    // holds it: a close, New, Open or Read would lose it.
    bool SetAtRisk() const;

    // ---- a Program that has not landed ----------------------------------------------------------
    // A Program of the set on screen went to the unit whose identification page is `unitPage`; it
    // has not landed until its verify pass finds every page there.
    void ProgramSent(std::span<const std::uint8_t, PageSize> unitPage);
    void ProgramLanded() { Pending.reset(); }
    bool ProgramPending() const { return Pending.has_value(); }
    // The unit that answered (its identification page) is the one the Program was meant for.
    bool PendingFor(std::span<const std::uint8_t, PageSize> unitPage) const;

    // ---- the one path of every change ---------------------------------------------------------
    // Whoever changed the set (typing, Tools, paste, Open, New, a restore point, Take theirs, a Read),
    // it ends here: the block repaired (and the port choice with it), one step of the history when
    // something changed, and whether "Programming after change" (`programAfterChange`, the box)
    // asks for a Program now. `page`: the tab shown, kept with the step.
    HistoryRecordOutcome Commit(PortChoice& ports, int page, bool programAfterChange);

    // ---- whole sets ----------------------------------------------------------------------------
    // A restore point or any set taken as Open takes a file: its parameters over the set on screen.
    void TakeParameters(const DeviceImage& from) { CopyParameters(Image, from); }

private:
    std::optional<DeviceImage> Unit;
    std::optional<DeviceImage> File;
    std::optional<DeviceImage> Safe;
    std::optional<std::array<std::uint8_t, PageSize>> Pending;
    bool UnitDiffers = false;
};

} // namespace zevo
