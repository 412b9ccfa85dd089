#include "params/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

namespace zevo {
namespace {

// The n-th state of an editing session: every change touches a different byte and leaves a mark
// that names the change, so a wrong slot shows up as a wrong number.
DeviceImage State(int n) {
    DeviceImage image;
    SetDefaults(image);
    image.Bytes[static_cast<std::size_t>(n % ImageSize)] ^= 0xFF;
    image.MapCell(1, 149) = static_cast<std::uint8_t>(n);
    image.MapCell(1, 148) = static_cast<std::uint8_t>(n >> 8);
    return image;
}

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { History.HistoryReset(State(0), 0); }

    // Makes change n on the given page and records it, as AfterChange does.
    bool Change(int n, int page = 1) { return History.HistoryRecord(State(n), page, false).Recorded; }

    UndoHistory History;
};

TEST_F(UndoHistoryTest, UndoAndRedoWalkThroughTheSnapshots) {
    EXPECT_FALSE(History.CanUndo());
    EXPECT_FALSE(History.CanRedo());
    EXPECT_FALSE(History.Undo());
    ASSERT_TRUE(Change(1));
    ASSERT_TRUE(Change(2));
    EXPECT_EQ(History.Undo()->Image, State(1));
    EXPECT_EQ(History.Undo()->Image, State(0));
    EXPECT_FALSE(History.CanUndo());
    EXPECT_EQ(History.Redo()->Image, State(1));
    EXPECT_EQ(History.Redo()->Image, State(2));
    EXPECT_FALSE(History.CanRedo());
    EXPECT_FALSE(History.Redo());
}

TEST_F(UndoHistoryTest, TwoHundredFiftyChangesLeaveExactly199UndoSteps) {
    for (int n = 1; n <= 250; ++n)
        ASSERT_TRUE(Change(n));
    EXPECT_EQ(History.UndoSteps(), 199);
    // Back through the wrap of the ring, one snapshot after the other.
    for (int n = 249; n >= 51; --n) {
        const auto step = History.Undo();
        ASSERT_TRUE(step);
        ASSERT_EQ(step->Image, State(n));
    }
    EXPECT_FALSE(History.CanUndo());
    EXPECT_FALSE(History.Undo());
    EXPECT_EQ(History.RedoSteps(), 199);
    for (int n = 52; n <= 250; ++n)
        ASSERT_EQ(History.Redo()->Image, State(n));
    EXPECT_FALSE(History.CanRedo());
}

TEST_F(UndoHistoryTest, AChangeAfterUndosDropsTheRedoSteps) {
    Change(1);
    Change(2);
    Change(3);
    History.Undo();
    History.Undo();
    ASSERT_TRUE(Change(4));
    EXPECT_FALSE(History.CanRedo());
    EXPECT_EQ(History.Undo()->Image, State(1));
    EXPECT_EQ(History.Undo()->Image, State(0));
    EXPECT_FALSE(History.CanUndo());
    EXPECT_EQ(History.RedoSteps(), 2);
}

TEST_F(UndoHistoryTest, ARecordWithoutAChangeKeepsRedo) {
    Change(1, 1);
    const HistoryStep back = *History.Undo();
    // The window shows the restored state and an after-change call finds nothing new, even on
    // another tab page.
    EXPECT_FALSE(History.HistoryRecord(back.Image, 2, false).Recorded);
    EXPECT_TRUE(History.CanRedo());
    EXPECT_EQ(History.Redo()->Image, State(1));
}

TEST_F(UndoHistoryTest, UndoShowsThePageWhereTheSnapshotWasTaken) {
    Change(1, 1); // on the Servo 1 page
    Change(2, 2); // then on the Servo 2 page
    EXPECT_EQ(History.Undo()->Page, 1);
    EXPECT_EQ(History.Undo()->Page, 0);
    EXPECT_EQ(History.Redo()->Page, 1);
    EXPECT_EQ(History.Redo()->Page, 2);
}

TEST_F(UndoHistoryTest, ChangesAnywhereInTheImageAreSteps) {
    // A Read replaces the identification page too; undoing it must bring the old one back.
    for (const int byte : {0, 49, 50, 399}) {
        DeviceImage image = History.HistoryRestore().Image;
        image.Bytes[static_cast<std::size_t>(byte)] ^= 1;
        EXPECT_TRUE(History.HistoryRecord(image, 0, false).Recorded) << byte;
    }
}

TEST(UndoHistoryProgramAfterChange, FollowsTheBoxAndTheArmedFlag) {
    struct Row {
        bool Changed;
        bool Box;
        bool StartProgram;
    };
    const std::vector<Row> rows = {
        {false, true, false}, // box found ticked for the first time, nothing changed
        {false, true, true},  // armed now: every record programs
        {true, true, true},   //
        {true, false, false}, // box clear: never, and disarmed
        {false, true, false}, // ticked again: only a change would program
        {true, true, true},   //
    };
    UndoHistory history;
    DeviceImage image;
    history.HistoryReset(image, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Changed)
            image.Bytes[100] = static_cast<std::uint8_t>(image.Bytes[100] + 1);
        const HistoryRecordOutcome outcome = history.HistoryRecord(image, 1, rows[i].Box);
        EXPECT_EQ(outcome.Recorded, rows[i].Changed) << "row " << i;
        EXPECT_EQ(outcome.StartProgram, rows[i].StartProgram) << "row " << i;
        EXPECT_EQ(history.ProgramAfterChangeArmed(), rows[i].Box) << "row " << i;
    }
    // Undo and redo leave the armed flag alone.
    history.Undo();
    EXPECT_TRUE(history.ProgramAfterChangeArmed());
}

// A set read from the unit: one step between the edit before it and what comes after, reachable by
// undo and redo, and never a reason to program, whatever the box said at the last record.
TEST(UndoHistoryUnitSet, ARecordedReadIsOneStepThatNeverPrograms) {
    for (const bool armed : {false, true}) {
        SCOPED_TRACE(armed ? "armed" : "not armed");
        UndoHistory history;
        DeviceImage start, edited, read;
        edited.Bytes[120] = 7;
        read.Bytes[120] = 9;
        read.Bytes[3] = 56; // the unit's identification comes along
        history.HistoryReset(start, 1);
        history.HistoryRecord(edited, 1, armed);
        EXPECT_TRUE(history.RecordUnitSet(read, 1));
        EXPECT_FALSE(history.RecordUnitSet(read, 1)) << "the same set again is no step";
        EXPECT_EQ(history.ProgramAfterChangeArmed(), armed);
        EXPECT_EQ(history.Undo()->Image, edited);
        EXPECT_EQ(history.Redo()->Image, read);
        EXPECT_EQ(history.UndoSteps(), 2);
    }
}

} // namespace
} // namespace zevo
