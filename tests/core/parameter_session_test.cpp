// The parameter session's rules: which bytes a whole set brings, taking the other side's values when
// the two sets count the map in different units, and what is known about the unit and the file.
#include "params/parameter_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "files/ign_format.h"
#include "files/set_difference.h"
#include "params/editing_tools.h"

#include <sstream>

namespace zevo {
namespace {

DeviceImage Defaults() {
    DeviceImage image;
    SetDefaults(image);
    return image;
}

// A set as a Read brings it from a unit whose unused bytes hold 7s and whose page 0 names it.
DeviceImage ReadFromUnit() {
    DeviceImage image = Defaults();
    for (int b = 0; b < BlockSize; ++b)
        if (!IsParameterByte(b))
            image.Bytes[static_cast<std::size_t>(BlockOffset + b)] = 7;
    image.Bytes[5] = 'Z';
    return image;
}

TEST(ParameterBytes, EveryByteButElevenToFourteenAndSeventeenToNineteen) {
    std::vector<int> unused;
    for (int b = -1; b <= BlockSize; ++b)
        if (!IsParameterByte(b))
            unused.push_back(b);
    EXPECT_EQ(unused, (std::vector<int>{-1, 11, 12, 13, 14, 17, 18, 19, BlockSize}));
}

// Whatever way a whole set comes, the unused bytes are the unit's (a Read) or stay as they were.
TEST(ParameterSession, OnlyAReadBringsTheUnusedBytesAndThePageOfTheUnit) {
    const DeviceImage unit = ReadFromUnit();
    DeviceImage older = Defaults(); // a restore point of a set from before: unused bytes 0
    older.MapCell(0, 3, 3) = 99;
    std::ostringstream file;
    WriteIgnFile(file, older);
    struct Case {
        const char* Name;
        std::function<void(ParameterSession&)> Take;
        bool UnitsBytes;
    };
    const Case cases[] = {
        {"restore point", [&](ParameterSession& s) { s.TakeParameters(older); }, true},
        {"open",
         [&](ParameterSession& s) {
             std::istringstream in(file.str());
             ASSERT_EQ(ReadIgnFile(in, s.Image), IgnReadResult::Ok);
         },
         true},
        {"new", [](ParameterSession& s) { SetDefaults(s.Image); }, true},
        {"read", [&](ParameterSession& s) { s.Image = Defaults(); }, false},
    };
    for (const Case& c : cases) {
        ParameterSession session;
        session.Image = unit;
        c.Take(session);
        for (int b = 0; b < BlockSize; ++b) {
            const auto at = static_cast<std::size_t>(BlockOffset + b);
            if (!IsParameterByte(b)) {
                EXPECT_EQ(session.Image.Bytes[at] == 7, c.UnitsBytes) << c.Name << " byte " << b;
            }
        }
        EXPECT_EQ(session.Image.Bytes[5] == 'Z', c.UnitsBytes) << c.Name;
        if (std::string(c.Name) != "read" && std::string(c.Name) != "new") {
            EXPECT_EQ(session.Image.MapCell(0, 3, 3), 99) << c.Name;
        }
    }
}

// Taking the other side's values where the two maps count in different units: the user reads volts,
// so the volts are what is taken.
TEST(TakeTheirs, AcrossMapUnitsTheVoltageIsTaken) {
    DeviceImage millivolts = Defaults(); // servo 1 in 20 mV steps
    millivolts.PerCentMode(0) = 0;
    millivolts.MapCell(0, 0, 0) = 120; // 2 400 mV
    millivolts.MapCell(0, 0, 1) = 125; // 2 500 mV
    DeviceImage perCent = millivolts;
    perCent.PerCentMode(0) = 1;
    ConvertMapToPercent(perCent, 0); // 48 %, 50 %
    perCent.MapCell(0, 0, 1) = 60;   // 3 000 mV
    ASSERT_EQ(perCent.MapCell(0, 0, 0), 48);

    const auto pick = [](const DeviceImage& here, const DeviceImage& there, SetField field) {
        std::vector<SetDifference> chosen;
        for (const SetDifference& d : DifferencesBetween(here, there))
            if (d.Field == field)
                chosen.push_back(d);
        return chosen;
    };
    struct Case {
        const char* Name;
        const DeviceImage* Here;
        const DeviceImage* There;
        std::vector<SetField> Fields;
        bool PerCentAfter;
        int Cell00; // the stored bytes of cells (0, 0) and (0, 1) after
        int Cell01;
    };
    const Case cases[] = {
        // The unit line alone: the map converted, as the per-cent switch does; never the end stop.
        {"unit line, mV here", &millivolts, &perCent, {SetField::MapUnit}, true, 48, 50},
        {"unit line, % here", &perCent, &millivolts, {SetField::MapUnit}, false, 120, 150},
        // One cell alone: their voltage in this side's unit.
        {"cell, mV here", &millivolts, &perCent, {SetField::MapCell}, false, 120, 150},
        {"cell, % here", &perCent, &millivolts, {SetField::MapCell}, true, 48, 50},
        // Both: the unit first, then the cells as they are there.
        {"both, mV here", &millivolts, &perCent, {SetField::MapUnit, SetField::MapCell}, true, 48, 60},
        {"both, % here", &perCent, &millivolts, {SetField::MapCell, SetField::MapUnit}, false, 120, 125},
    };
    for (const Case& c : cases) {
        DeviceImage here = *c.Here;
        std::vector<SetDifference> chosen;
        for (SetField field : c.Fields) {
            const std::vector<SetDifference> some = pick(*c.Here, *c.There, field);
            chosen.insert(chosen.end(), some.begin(), some.end());
        }
        ASSERT_FALSE(chosen.empty()) << c.Name;
        TakeTheirs(here, *c.There, chosen);
        EXPECT_EQ(here.PerCentMode(0) != 0, c.PerCentAfter) << c.Name;
        EXPECT_EQ(here.MapCell(0, 0, 0), c.Cell00) << c.Name;
        EXPECT_EQ(here.MapCell(0, 0, 1), c.Cell01) << c.Name;
    }
}

// Every change ends in one commit: repaired, recorded once, and programmed when the box asks (the
// first commit after the box was clear only when something changed, every later one always).
TEST(ParameterSession, EveryChangeCommitsThroughOnePath) {
    ParameterSession session;
    session.Image = Defaults();
    session.History.HistoryReset(session.Image, 1);
    PortChoice ports{2, 0};
    struct Step {
        const char* Name;
        std::function<void(DeviceImage&)> Change;
        bool Box;
        bool Recorded;
        bool Programs;
    };
    const Step steps[] = {
        {"a cell, box clear", [](DeviceImage& i) { ++i.MapCell(0, 0, 3); }, false, true, false},
        {"nothing, box ticked", [](DeviceImage&) {}, true, false, false},
        {"a cell, box ticked", [](DeviceImage& i) { ++i.MapCell(0, 0, 4); }, true, true, true},
        {"nothing, box still ticked", [](DeviceImage&) {}, true, false, true},
        // A falling axis is repaired before it is recorded: the step holds the repaired set.
        {"an axis out of order", [](DeviceImage& i) { i.RpmAxis(0, 5) = 1; }, false, true, false},
    };
    for (const Step& st : steps) {
        st.Change(session.Image);
        const HistoryRecordOutcome outcome = session.Commit(ports, 1, st.Box);
        EXPECT_EQ(outcome.Recorded, st.Recorded) << st.Name;
        EXPECT_EQ(outcome.StartProgram, st.Programs) << st.Name;
    }
    EXPECT_GT(session.Image.RpmAxis(0, 5), session.Image.RpmAxis(0, 4)) << "repaired";
    EXPECT_EQ(session.History.HistoryRestore().Image, session.Image) << "the step holds the repaired set";
    EXPECT_EQ(session.History.UndoSteps(), 3);
}

// What the window says of the unit and the file, through a run of events.
TEST(ParameterSession, KnowsWhatTheUnitAndTheFileHold) {
    enum class Do { Nothing, Edit, Undo, Read, Failed, Silent, Save, Open };
    struct Step {
        Do Event;
        UnitKnowledge Unit;
        bool DiffersFromFile;
        bool AtRisk;
    };
    const Step steps[] = {
        {Do::Nothing, UnitKnowledge::UnitNotKnown, false, false},
        {Do::Edit, UnitKnowledge::UnitNotKnown, false, true},
        {Do::Read, UnitKnowledge::InUnit, false, false},
        {Do::Edit, UnitKnowledge::DiffersFromUnit, false, true},
        {Do::Undo, UnitKnowledge::InUnit, false, false},
        {Do::Edit, UnitKnowledge::DiffersFromUnit, false, true},
        {Do::Save, UnitKnowledge::DiffersFromUnit, false, false},
        {Do::Edit, UnitKnowledge::DiffersFromUnit, true, true},
        {Do::Failed, UnitKnowledge::DiffersFromUnit, true, true},
        {Do::Silent, UnitKnowledge::UnitNotKnown, true, true},
        {Do::Open, UnitKnowledge::UnitNotKnown, false, false},
    };
    ParameterSession session;
    session.Image = Defaults();
    session.MarkSafe();
    std::uint8_t value = 10;
    int n = 0;
    for (const Step& s : steps) {
        switch (s.Event) {
        case Do::Nothing:
            break;
        case Do::Edit:
            session.Image.MapCell(1, 0, 0) = ++value;
            break;
        case Do::Undo:
            session.Image.MapCell(1, 0, 0) = --value;
            break;
        case Do::Read:
            session.UnitHolds(session.Image);
            session.MarkSafe();
            break;
        case Do::Failed:
            session.UnitHoldsAnother();
            break;
        case Do::Silent:
            session.UnitNotKnown();
            break;
        case Do::Save:
        case Do::Open:
            session.FileHoldsScreen();
            session.MarkSafe();
            break;
        }
        ++n;
        EXPECT_EQ(session.UnitState(), s.Unit) << "step " << n;
        EXPECT_EQ(session.DiffersFromFile(), s.DiffersFromFile) << "step " << n;
        EXPECT_EQ(session.SetAtRisk(), s.AtRisk) << "step " << n;
    }
}

} // namespace
} // namespace zevo
