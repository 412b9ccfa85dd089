// Restore points as the window takes them, the folder they live in, and what the window says about
// the set on screen: in the unit or not, and the file it came from.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "files/restore_store.h"
#include "files/set_difference.h"
#include "files/ign_format.h"
#include "find_control.h"
#include "form_fixture.h"
#include "ui/controls.h"
#include "params/editing_tools.h"
#include "link/link_engine.h"
#include "model_line.h"
#include "ui/close_on_signal.h"
#include "ui/difference_window.h"
#include "ui/map_painter.h"
#include "ui/restore_window.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;
using testing::Find;

class RestorePointsWindowTest : public FormFixture {
protected:
    ModelLine Model;
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Line = &Model;
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n");
        settings.close();
        Form = StartShown({QStringLiteral("ENGLISH")});
        Ticks(12);
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Model.Advance(55);
            Form->Timer1Timer();
        }
    }
    // Runs a transfer from its key to its end.
    void RunTransfer(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Form.get(), key);
        Ticks(200);
        ASSERT_EQ(Form->Link().State().TransferMode, zevo::Transfer::Idle);
    }
    std::vector<RestoreStore::Entry> Copies() const { return RestoreStore(Form->RestorePointsFolder()).List(); }
    QString State() const { return Control<QLabel>(*Form, "LabelSetState")->text(); }
    TEdit* Map(int r, int c) const {
        return Control<TEdit>(*Form, QStringLiteral("EditMap%1_%2").arg(r).arg(c));
    }
    void Enter(TEdit* field, const QString& text) {
        QTest::mouseDClick(field, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void ClickTab(int index) {
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
};

TEST_F(RestorePointsWindowTest, EachEventLeavesTheRightCopy) {
    EXPECT_EQ(Form->RestorePointsFolder(), QDir(Dir.path()).filePath(QStringLiteral("backups")));
    // Read: the unit's whole memory, its identification page and unused bytes included.
    Model.Unit.Memory().MapCell(0, 2, 2) = 77;
    Model.Unit.Memory().Bytes[BlockOffset + 12] = 0xA5;
    RunTransfer(Qt::Key_F7);
    auto copies = Copies();
    ASSERT_EQ(copies.size(), 1u);
    ASSERT_TRUE(copies[0].Info);
    EXPECT_TRUE(copies[0].Stem.endsWith(QStringLiteral("-read")));
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::Read);
    EXPECT_EQ(copies[0].Info->Image, Form->Parameters().Image);
    EXPECT_EQ(copies[0].Info->Image.Bytes[BlockOffset + 12], 0xA5);
    EXPECT_EQ(copies[0].Info->UnitName, Form->UnitIdentity().UnitName);
    ASSERT_TRUE(copies[0].Info->ProgrammingCount);
    const int countAtRead = *copies[0].Info->ProgrammingCount;
    // The same set read again is not kept twice.
    RunTransfer(Qt::Key_F7);
    EXPECT_EQ(Copies().size(), 1u);

    // Program: the set now in the unit, once its verify pass found every page.
    ClickTab(1);
    Enter(Map(0, 4), QStringLiteral("3000"));
    RunTransfer(Qt::Key_F9);
    copies = Copies();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::Programmed);
    EXPECT_EQ(copies[0].Info->Image.MapCell(0, 0, 4), 150);
    EXPECT_TRUE(SameParameters(copies[0].Info->Image, Model.Unit.Memory()));
    // The counter the unit reports once it has stored this programming, not the one from before.
    EXPECT_EQ(copies[0].Info->ProgrammingCount, countAtRead + 1);

    // Open: the file as it was opened, with its name.
    const QString path = QStringLiteral(ZEVO_TEST_DATA "/default_set.ign");
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuOpen")->trigger();
    copies = Copies();
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::Opened);
    EXPECT_EQ(copies[0].Info->FileName, path.toStdString());
    EXPECT_EQ(copies[0].Info->Image, Form->Parameters().Image);

    // New: the set being left, before the defaults replace it.
    Enter(Map(0, 5), QStringLiteral("1000"));
    const DeviceImage edited = Form->Parameters().Image;
    Prompts.Answers = {PromptAnswer::No, PromptAnswer::Yes}; // not saved first; the defaults, yes
    Control<QAction>(*Form, "MenuNew")->trigger();
    copies = Copies();
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::BeforeNew);
    EXPECT_EQ(copies[0].Info->Image, edited);

    // Close: the set being left.
    Enter(Map(0, 6), QStringLiteral("1200"));
    const DeviceImage last = Form->Parameters().Image;
    Prompts.Answers = {PromptAnswer::No};
    Form->close();
    copies = Copies();
    ASSERT_EQ(copies.size(), 5u);
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::Closed);
    EXPECT_EQ(copies[0].Info->Image.MapCell(0, 0, 6), last.MapCell(0, 0, 6));
    // Each copy is an .ign file too, readable by Open.
    for (const auto& copy : copies)
        EXPECT_TRUE(QFile::exists(QDir(Form->RestorePointsFolder()).filePath(copy.Stem + QStringLiteral(".ign"))));
}

// A restore point brings the parameters only, as Open does: the unused bytes stay as the last Read
// brought them from the unit, never the older unit's bytes kept in the point.
TEST_F(RestorePointsWindowTest, RestoringAPointLeavesTheUnusedBytesAsTheUnitHasThem) {
    const auto fillUnused = [this](std::uint8_t value) {
        for (int b = 0; b < BlockSize; ++b)
            if (!IsParameterByte(b))
                Model.Unit.Memory().Bytes[static_cast<std::size_t>(BlockOffset + b)] = value;
    };
    fillUnused(7);
    RunTransfer(Qt::Key_F7);
    const std::uint8_t older = Form->Parameters().Image.MapCell(0, 0, 2);
    fillUnused(0);
    Model.Unit.Memory().MapCell(0, 0, 2) = static_cast<std::uint8_t>(older + 5);
    RunTransfer(Qt::Key_F7);
    ASSERT_EQ(Form->Parameters().Image.Bytes[BlockOffset + 12], 0);

    Control<QAction>(*Form, "MenuRestorePoints")->trigger();
    RestoreWindow& window = *Find<RestoreWindow>(*Form, "RestoreWindow");
    ASSERT_EQ(window.Table->rowCount(), 2);
    QTest::mouseClick(window.Table->viewport(), Qt::LeftButton, {},
                      window.Table->visualItemRect(window.Table->item(1, 0)).center());
    QTest::mouseClick(window.RestoreButton, Qt::LeftButton);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), older) << "the point's parameters";
    for (int b = 0; b < BlockSize; ++b) {
        if (!IsParameterByte(b)) {
            EXPECT_EQ(Form->Parameters().Image.Bytes[static_cast<std::size_t>(BlockOffset + b)], 0) << "block byte " << b;
        }
    }
}

// F7 pressed while a Program runs waits for it; when the Program fails (a page the unit will not
// store), its error stays on the status line, the Read is not started, and the half-written set in
// the unit never replaces the one on screen.
TEST_F(RestorePointsWindowTest, AReadAskedForDuringAFailingProgramNeitherHidesTheErrorNorTakesTheMixedSet) {
    RunTransfer(Qt::Key_F7);
    ClickTab(2);
    Model.Unit.RefusePage(5); // servo 2's first map rows
    Enter(Map(0, 3), QStringLiteral("3000"));
    const DeviceImage edited = Form->Parameters().Image;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    Ticks(3);
    Prompts.Answers = {PromptAnswer::No}; // the edit need not be saved first
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    Ticks(300);
    EXPECT_EQ(Control<TLabel>(*Form, "LabelHlaseni")->Caption(), QStringLiteral("Program error!"));
    EXPECT_TRUE(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().contains(QStringLiteral("was not started")))
        << Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().toStdString();
    EXPECT_EQ(Form->Parameters().Image, edited) << "the mixed set in the unit was not read over the screen";
    EXPECT_EQ(State(), QStringLiteral("Differs from unit"));
}

// A unit that answers, at start or after silence, is looked at once: the state says what it holds
// within two seconds, with no caption, gauge or window.
TEST_F(RestorePointsWindowTest, AUnitThatAnswersIsKnownWithinTwoSeconds) {
    Ticks(24); // 36 ticks from the start, 29 from its first frame
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    EXPECT_TRUE(Control<TLabel>(*Form, "LabelHlaseni")->isHidden());
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow"), nullptr);

    Model.Unit.SetSilent(true);
    Ticks(20);
    ASSERT_EQ(State(), QStringLiteral("Unit not known"));
    Model.Unit.Memory().MapCell(1, 0, 0) = 77; // changed by another tool meanwhile
    Model.Unit.SetSilent(false);
    int ticks = 0;
    while (State() != QStringLiteral("Differs from unit") && ticks < 60) {
        Ticks(1);
        ++ticks;
    }
    EXPECT_LE(ticks, 36) << "about two seconds";
    EXPECT_TRUE(Control<TLabel>(*Form, "LabelHlaseni")->isHidden());
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow"), nullptr);
    EXPECT_NE(Form->Parameters().Image.MapCell(1, 0, 0), 77) << "nothing taken over";
}

// "Programming after change" with the cable out: the change is said to be missing from the unit,
// persistently and in red; a different unit that answers never gets it; the same unit, back, gets it
// by itself.
TEST_F(RestorePointsWindowTest, AProgramAfterChangeLostToABlipIsSentWhenTheSameUnitAnswers) {
    RunTransfer(Qt::Key_F7); // the unit is known, with its identification page
    ClickTab(1);
    QStyleOptionButton option;
    option.initFrom(Control<TCheckBox>(*Form, "CheckBoxProgHned"));
    QTest::mouseClick(Control<TCheckBox>(*Form, "CheckBoxProgHned"), Qt::LeftButton, {},
                      Control<TCheckBox>(*Form, "CheckBoxProgHned")->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, Control<TCheckBox>(*Form, "CheckBoxProgHned")).center());
    ASSERT_TRUE(Control<TCheckBox>(*Form, "CheckBoxProgHned")->isChecked());
    Ticks(40);
    const DeviceImage theUnit = Model.Unit.Memory();

    Model.Unit.Unplug();
    Ticks(20);
    const auto live = Form->LiveCell(); // the cell the engine was last in, still marked
    ASSERT_TRUE(live);
    const auto [row, column] = *live;
    QTest::keyClick(Form.get(), Qt::Key_F5);
    const std::uint8_t changed = Form->Parameters().Image.MapCell(0, row, column);
    ASSERT_EQ(changed, theUnit.MapCell(0, row, column) + 1);
    Ticks(100);
    EXPECT_EQ(Form->Link().State().TransferMode, Transfer::Idle);
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelNotInUnit")->isVisible());
    EXPECT_EQ(Control<QLabel>(*Form, "LabelNotInUnit")->text(), QStringLiteral("Not in the unit: F9 programs it"));
    EXPECT_EQ(Control<QLabel>(*Form, "LabelNotInUnit")->palette().color(QPalette::Window), QColor(190, 0, 0));

    // Another unit on the cable: it is looked at, and left alone.
    Model.Unit.Memory().Bytes[2] ^= 0x01; // its name differs
    Model.Unit.Replug();
    Ticks(200);
    EXPECT_EQ(Model.Unit.Memory().MapCell(0, row, column), theUnit.MapCell(0, row, column)) << "never programmed";
    EXPECT_EQ(State(), QStringLiteral("Differs from unit"));
    EXPECT_TRUE(Control<QLabel>(*Form, "LabelNotInUnit")->isVisible());

    // The same unit again, after a blip: the Program goes by itself and lands.
    Model.Unit.Unplug();
    Ticks(20);
    Model.Unit.Memory().Bytes[2] ^= 0x01;
    Model.Unit.Replug();
    Ticks(300);
    EXPECT_EQ(Model.Unit.Memory().MapCell(0, row, column), changed);
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    EXPECT_FALSE(Control<QLabel>(*Form, "LabelNotInUnit")->isVisible());
}

// A number pinned to another device may stand for another unit: what the last one held is not known
// of it, whichever way the port changed.
TEST_F(RestorePointsWindowTest, AnotherDeviceBehindTheNumberIsAUnitNotKnown) {
    RunTransfer(Qt::Key_F7);
    ASSERT_EQ(State(), QStringLiteral("In unit"));
    Prompts.PortAnswers.push_back(PortPins{{1, "/dev/null"}});
    Control<QAction>(*Form, "MenuPortAssignments")->trigger();
    EXPECT_EQ(State(), QStringLiteral("Unit not known"));

    RunTransfer(Qt::Key_F7);
    ASSERT_EQ(State(), QStringLiteral("In unit"));
    Prompts.PortAnswers.push_back(PortPins{{1, "/dev/null"}}); // the same pins: nothing changed
    Control<QAction>(*Form, "MenuPortAssignments")->trigger();
    EXPECT_EQ(State(), QStringLiteral("In unit"));
}

TEST_F(RestorePointsWindowTest, AFolderThatCannotBeWrittenSaysSoOnceAndStopsNothing) {
    // A file where the folder should be: the folder cannot be made.
    QFile blocker(QDir(Dir.path()).filePath(QStringLiteral("backups")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RunTransfer(Qt::Key_F7);
    EXPECT_TRUE(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().startsWith(QStringLiteral("Restore points cannot be kept in ")))
        << Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().toStdString();
    EXPECT_EQ(State(), QStringLiteral("In unit")) << "the read itself went through";
    Control<QStatusBar>(*Form, "StatusBar1")->clearMessage();
    Model.Unit.Memory().MapCell(1, 0, 0) = 9;
    RunTransfer(Qt::Key_F7);
    EXPECT_TRUE(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage().isEmpty()) << "said once a run";
    EXPECT_EQ(Form->Parameters().Image.MapCell(1, 0, 0), 9);
    EXPECT_TRUE(Prompts.Messages.isEmpty());
}

TEST_F(RestorePointsWindowTest, TheIndicatorFollowsWhatTheUnitIsKnownToHold) {
    EXPECT_EQ(State(), QStringLiteral("Unit not known"));
    RunTransfer(Qt::Key_F7);
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    ClickTab(1);
    Enter(Map(0, 1), QStringLiteral("2500"));
    EXPECT_EQ(State(), QStringLiteral("Differs from unit"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier); // undo the edit
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    Enter(Map(0, 1), QStringLiteral("2500"));
    RunTransfer(Qt::Key_F9);
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    RunTransfer(Qt::Key_F8);
    EXPECT_EQ(State(), QStringLiteral("In unit"));

    // The unit's set changes behind the tool's back: the next Verify finds out.
    Model.Unit.Memory().MapCell(0, 3, 3) ^= 1;
    RunTransfer(Qt::Key_F8);
    EXPECT_EQ(State(), QStringLiteral("Differs from unit"));

    // A unit that goes silent may come back as another one.
    RunTransfer(Qt::Key_F7);
    ASSERT_EQ(State(), QStringLiteral("In unit"));
    Model.Unit.SetSilent(true);
    Ticks(25);
    EXPECT_EQ(State(), QStringLiteral("Unit not known"));
    Model.Unit.SetSilent(false);
    Ticks(12);
    EXPECT_EQ(State(), QStringLiteral("Unit not known"));
    Control<QAction>(*Form, "MenuGerman")->trigger();
    EXPECT_EQ(State(), QStringLiteral("Zündung unbekannt"));
    Control<QAction>(*Form, "MenuEnglish")->trigger();

    // Another port may hold another unit.
    RunTransfer(Qt::Key_F7);
    ASSERT_EQ(State(), QStringLiteral("In unit"));
    Control<QAction>(*Form, "MenuComItem0")->trigger();
    EXPECT_EQ(State(), QStringLiteral("Unit not known"));
}

TEST_F(RestorePointsWindowTest, AnEditWhileAProgramRunsIsNeverTakenForTheUnits) {
    ClickTab(1);
    // Edits at every moment of a Program and its verify pass: whatever the pass found, the
    // indicator says "In unit" exactly when the unit holds the set on screen.
    for (int wait : {2, 6, 12, 18, 26}) {
        Enter(Map(0, 1), QString::number(2000 + 20 * wait));
        const std::size_t before = Copies().size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
        Ticks(wait);
        Enter(Map(0, 9), QString::number(3000 + 20 * wait));
        Ticks(200);
        ASSERT_EQ(Form->Link().State().TransferMode, zevo::Transfer::Idle);
        const bool inUnit = SameFields(Form->Parameters().Image, Model.Unit.Memory());
        EXPECT_EQ(State(), inUnit ? QStringLiteral("In unit") : QStringLiteral("Differs from unit")) << wait;
        const auto copies = Copies();
        if (copies.size() > before && copies[0].Info->Event == RestoreEvent::Programmed) {
            EXPECT_TRUE(SameFields(copies[0].Info->Image, Model.Unit.Memory())) << "the copy holds what the unit got";
        }
    }
}

TEST_F(RestorePointsWindowTest, TheTitleNamesTheFileAndMarksAChangedSet) {
    const QString caption = QStringLiteral("Programming of \"ZEVO\" unit");
    EXPECT_EQ(Form->windowTitle(), caption);
    const QString path = QDir(Dir.path()).filePath(QStringLiteral("race.ign"));
    QFile::copy(QStringLiteral(ZEVO_TEST_DATA "/default_set.ign"), path);
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuOpen")->trigger();
    EXPECT_EQ(Form->windowTitle(), caption + QStringLiteral(" \u2014 race.ign[*]"));
    EXPECT_FALSE(Form->isWindowModified());
    ClickTab(1);
    Enter(Map(0, 0), QStringLiteral("1500"));
    EXPECT_TRUE(Form->isWindowModified());
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuSave")->trigger();
    EXPECT_FALSE(Form->isWindowModified()) << "saved: the file holds the set again";

    // The next start names the file from the settings and knows what it holds.
    Form->close();
    Form.reset();
    Form = StartShown({QStringLiteral("ENGLISH")});
    EXPECT_TRUE(QTest::qWaitFor([this] { return Form->Parameters().FileSet().has_value(); }, 2000));
    EXPECT_EQ(Form->windowTitle(), caption + QStringLiteral(" \u2014 race.ign[*]"));
    EXPECT_FALSE(Form->isWindowModified());

    // A Read replaces the set with the unit's: it no longer comes from the file.
    Ticks(12);
    RunTransfer(Qt::Key_F7);
    EXPECT_EQ(Form->windowTitle(), caption);
}

TEST_F(RestorePointsWindowTest, ASetNeitherSavedNorInTheUnitIsNotLeftWithoutAQuestion) {
    const QString question = QStringLiteral("The set on screen is neither saved nor in the unit. Save it first?");
    // Nothing changed yet: no question.
    Control<QAction>(*Form, "MenuRead")->trigger();
    EXPECT_TRUE(Prompts.Asked.isEmpty());
    Ticks(200);
    ClickTab(1);
    Enter(Map(0, 2), QStringLiteral("3300"));
    // Read over it: Cancel keeps the edit and starts nothing.
    Prompts.Answers = {PromptAnswer::Cancel};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    EXPECT_EQ(Prompts.Asked.back(), question);
    EXPECT_EQ(Form->Link().State().TransferMode, zevo::Transfer::Idle);
    // Close: Cancel keeps the window; Yes saves first, then closes.
    Prompts.Answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    const QString path = QDir(Dir.path()).filePath(QStringLiteral("kept.ign"));
    Prompts.Answers = {PromptAnswer::Yes};
    Prompts.Paths = {path};
    EXPECT_TRUE(Form->close());
    ASSERT_TRUE(QFile::exists(path));
    DeviceImage saved;
    SetDefaults(saved);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::istringstream in(file.readAll().toStdString());
    ASSERT_EQ(ReadIgnFile(in, saved), IgnReadResult::Ok);
    EXPECT_EQ(saved.MapCell(0, 0, 2), 165);
    EXPECT_EQ(Prompts.Asked.count(question), 3);
}

TEST_F(RestorePointsWindowTest, AClosingSessionIsNeverAsked) {
    ClickTab(1);
    Enter(Map(0, 2), QStringLiteral("3300"));
    const int asked = static_cast<int>(Prompts.Asked.size());
    Form->setProperty(CloseBySignalProperty, true); // as the SIGTERM handler does
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Prompts.Asked.size(), asked);
    const auto copies = Copies();
    ASSERT_FALSE(copies.empty());
    EXPECT_EQ(copies[0].Info->Event, RestoreEvent::Closed);
    EXPECT_EQ(copies[0].Info->Image.MapCell(0, 0, 2), 165);
    EXPECT_TRUE(QFile::exists(QDir(Dir.path()).filePath(QStringLiteral("_ZEVO_v56.ini")))) << "the image file as always";
}

// ---- comparisons -------------------------------------------------------------------------------

TEST_F(RestorePointsWindowTest, AfterAVerifyErrorOneKeyShowsWhereTheUnitDiffers) {
    RunTransfer(Qt::Key_F7);
    ClickTab(1);
    Model.Unit.Memory().MapCell(0, 0, 6) = 140; // 2 800 mV in the unit
    RunTransfer(Qt::Key_F8);
    EXPECT_EQ(Control<TLabel>(*Form, "LabelHlaseni")->Caption(), QStringLiteral("Verify error!")) << "the red caption stays";
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(),
              QStringLiteral("The unit holds another set: F12 shows where it differs"));
    const DeviceImage before = Form->Parameters().Image;
    RunTransfer(Qt::Key_F12);
    ASSERT_NE(Find<DifferenceWindow>(*Form, "DifferenceWindow"), nullptr);
    EXPECT_TRUE(Find<DifferenceWindow>(*Form, "DifferenceWindow")->isVisible());
    EXPECT_EQ(Form->Parameters().Image, before) << "a comparison never changes the set on screen";
    ASSERT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->count(), 1);
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->item(0)->text(),
              QStringLiteral("Servo 1, 0\u00A0%, 6,500\u00A0RPM: 2,600\u00A0mV here, 2,800\u00A0mV there"))
        << "the listing groups thousands as the English editor does";
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->windowTitle(), QStringLiteral("Differences with the unit"));
    // The cell is marked on the page until the view closes.
    const QColor pink(255, 150, 200);
    EXPECT_EQ(Map(0, 6)->palette().color(QPalette::Base), pink);
    EXPECT_NE(Map(0, 5)->palette().color(QPalette::Base), pink);

    // Take theirs: one change, one undo step.
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->viewport(), Qt::LeftButton, {},
                      Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->visualItemRect(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->item(0)).center());
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->TakeSelected, Qt::LeftButton);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 6), 140);
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->count(), 0);
    EXPECT_NE(Map(0, 6)->palette().color(QPalette::Base), pink);
    EXPECT_EQ(State(), QStringLiteral("In unit")) << "the comparison read the unit's set";
    Form->SpeedButtonZpetClick();
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 6), before.MapCell(0, 0, 6));
    ClickTab(1); // undo shows the page its step was taken on
    EXPECT_EQ(Map(0, 6)->palette().color(QPalette::Base), pink) << "the listing follows the set on screen";
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->CloseButton, Qt::LeftButton);
    EXPECT_FALSE(Find<DifferenceWindow>(*Form, "DifferenceWindow")->isVisible());
    EXPECT_NE(Map(0, 6)->palette().color(QPalette::Base), pink);
}

// The unit counts servo 1's map in per cent, the screen in millivolts: taking its map unit line alone
// converts the map as the per-cent switch does, never a map of end stops.
TEST_F(RestorePointsWindowTest, TakingTheMapUnitConvertsTheMap) {
    RunTransfer(Qt::Key_F7);
    ClickTab(1);
    DeviceImage& unit = Model.Unit.Memory();
    ASSERT_EQ(unit.PerCentMode(0), 0);
    SwitchPerCentMode(unit, 0, true);
    DeviceImage expected = Form->Parameters().Image;
    SwitchPerCentMode(expected, 0, true);
    RunTransfer(Qt::Key_F12);
    ASSERT_NE(Find<DifferenceWindow>(*Form, "DifferenceWindow"), nullptr);
    ASSERT_GE(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->count(), 2);
    QListWidgetItem* unitLine = Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->item(0);
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->viewport(), Qt::LeftButton, {},
                      Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->visualItemRect(unitLine).center());
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->TakeSelected, Qt::LeftButton);
    EXPECT_EQ(Form->Parameters().Image.PerCentMode(0), 1);
    for (int cell = 0; cell < MapCells; ++cell)
        EXPECT_EQ(Form->Parameters().Image.MapCell(0, cell), expected.MapCell(0, cell)) << "cell " << cell;
    EXPECT_EQ(State(), QStringLiteral("In unit")) << "the same voltages, now in the unit's unit";
}

TEST_F(RestorePointsWindowTest, AFileIsComparedAndTakenWhole) {
    DeviceImage other = Form->Parameters().Image;
    other.Tps0() = 60;
    other.RpmAxis(1, 2) = 25;
    std::ostringstream text(std::ios::binary);
    WriteIgnFile(text, other);
    const QString path = QDir(Dir.path()).filePath(QStringLiteral("other.ign"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(text.str()));
    file.close();
    Prompts.Paths.push_back(path);
    Control<QAction>(*Form, "MenuCompareFile")->trigger();
    ASSERT_NE(Find<DifferenceWindow>(*Form, "DifferenceWindow"), nullptr);
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->windowTitle(), QStringLiteral("Differences with other.ign"));
    ASSERT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->List->count(), 2);
    QTest::mouseClick(Find<DifferenceWindow>(*Form, "DifferenceWindow")->TakeAll, Qt::LeftButton);
    EXPECT_EQ(Form->Parameters().Image.Tps0(), 60);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(1, 2), 25);
    EXPECT_EQ(Find<DifferenceWindow>(*Form, "DifferenceWindow")->Count->text(), QStringLiteral("No differences: the set on screen is the same"));
}

TEST_F(RestorePointsWindowTest, ARestorePointIsTakenBackAsOneStep) {
    RunTransfer(Qt::Key_F7); // a read copy
    const DeviceImage read = Form->Parameters().Image;
    ClickTab(1);
    Enter(Map(0, 3), QStringLiteral("4000"));
    // A torn copy among them is listed and cannot be used.
    QFile torn(QDir(Form->RestorePointsFolder()).filePath(QStringLiteral("20000101-000000-read.txt")));
    ASSERT_TRUE(torn.open(QIODevice::WriteOnly));
    torn.write("ZEVO restore point\n");
    torn.close();

    Control<QAction>(*Form, "MenuRestorePoints")->trigger();
    ASSERT_NE(Find<RestoreWindow>(*Form, "RestoreWindow"), nullptr);
    RestoreWindow& window = *Find<RestoreWindow>(*Form, "RestoreWindow");
    ASSERT_EQ(window.Table->rowCount(), 2);
    EXPECT_EQ(window.Table->item(0, 0)->text(), QStringLiteral("read from the unit"));
    EXPECT_EQ(window.Table->item(1, 0)->text(), QStringLiteral("unreadable"));
    QTest::mouseClick(window.Table->viewport(), Qt::LeftButton, {},
                      window.Table->visualItemRect(window.Table->item(1, 0)).center());
    EXPECT_FALSE(window.RestoreButton->isEnabled());
    QTest::mouseClick(window.Table->viewport(), Qt::LeftButton, {},
                      window.Table->visualItemRect(window.Table->item(0, 0)).center());
    ASSERT_TRUE(window.RestoreButton->isEnabled());
    Prompts.Answers = {PromptAnswer::No}; // the edit is neither saved nor in the unit: asked, not saved
    QTest::mouseClick(window.RestoreButton, Qt::LeftButton);
    EXPECT_EQ(Prompts.Asked.back(), QStringLiteral("The set on screen is neither saved nor in the unit. Save it first?"));
    EXPECT_TRUE(SameParameters(Form->Parameters().Image, read));
    EXPECT_EQ(State(), QStringLiteral("In unit"));
    // A restore is an opening, but this set is the newest copy already: none is added.
    EXPECT_EQ(Copies().size(), 2u) << "the read copy and the torn one";
    Form->SpeedButtonZpetClick();
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 3), 200) << "one undo step back to the edit";
}

TEST_F(RestorePointsWindowTest, TheReportIsAPdfOfTheSet) {
    const QString path = QDir(Dir.path()).filePath(QStringLiteral("report.pdf"));
    Prompts.Paths = {path};
    Control<QAction>(*Form, "MenuExportReport")->trigger();
    EXPECT_EQ(Prompts.LastDialog.DefaultExtension, QStringLiteral("pdf"));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 2000);
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), QStringLiteral("Report written: ") + path);
    // A folder that is not there: said, nothing written.
    const QString nowhere = QDir(Dir.path()).filePath(QStringLiteral("gone/report.pdf"));
    Prompts.Paths = {nowhere};
    Control<QAction>(*Form, "MenuExportReport")->trigger();
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("The report could not be written to ") + nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

// ---- the folder ------------------------------------------------------------------------------

class RestoreStoreTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Folder() const { return QDir(Dir.path()).filePath(QStringLiteral("backups")); }
    static RestoreInfo At(const char* time, std::uint8_t mark) {
        RestoreInfo info;
        info.Time = time;
        info.Image.Bytes[100] = mark;
        return info;
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(RestoreStoreTest, CopiesInTimeOrderUnreadableOnesListedAndTheNewest500Kept) {
    RestoreStore store(Folder());
    EXPECT_TRUE(store.List().empty()) << "no folder yet";
    const auto first = store.Take(At("2026-12-09 05:40:12", 1));
    ASSERT_TRUE(first.Taken) << first.Error.toStdString();
    EXPECT_EQ(first.Stem, QStringLiteral("20261209-054012-read"));
    // The same second and event again, another set: a name of its own.
    const auto second = store.Take(At("2026-12-09 05:40:12", 2));
    EXPECT_EQ(second.Stem, QStringLiteral("20261209-054012-read-2"));
    EXPECT_TRUE(store.Take(At("2026-12-09 05:41:00", 2)).SameAsNewest);
    // A store opened later knows the newest copy from the folder.
    EXPECT_TRUE(RestoreStore(Folder()).Take(At("2026-12-09 05:42:00", 2)).SameAsNewest);

    // A torn or foreign text file is listed as unreadable; a stray .ign without one is not listed.
    Write(QDir(Folder()).filePath(QStringLiteral("20261209-060000-read.txt")), "ZEVO restore point\nevent=re");
    Write(QDir(Folder()).filePath(QStringLiteral("20261209-060100-closed.ign")), "VORTALEX_KEY 56\n");
    const auto entries = store.List();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Stem, QStringLiteral("20261209-060000-read"));
    EXPECT_FALSE(entries[0].Info);
    EXPECT_EQ(entries[1].Stem, QStringLiteral("20261209-054012-read-2"));
    ASSERT_TRUE(entries[1].Info);
    EXPECT_EQ(entries[1].Info->Image.Bytes[100], 2);
    EXPECT_FALSE(store.Load(QStringLiteral("no-such-copy")));

    // 500 are kept: the oldest go, with both their files.
    for (int i = 0; i < 500; ++i) {
        const QString stem = QStringLiteral("20250101-%1-read").arg(i, 6, 10, QLatin1Char('0'));
        Write(QDir(Folder()).filePath(stem + QStringLiteral(".txt")), "x");
        Write(QDir(Folder()).filePath(stem + QStringLiteral(".ign")), "x");
    }
    // (A store counts what it found and what it wrote; one opened now finds them all.)
    ASSERT_TRUE(RestoreStore(Folder()).Take(At("2026-12-10 00:00:00", 3)).Taken);
    const QDir dir(Folder());
    QSet<QString> stems;
    for (const QString& name : dir.entryList(QDir::Files))
        stems.insert(QFileInfo(name).completeBaseName());
    EXPECT_EQ(stems.size(), 500);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("20250101-000000-read.txt"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("20250101-000000-read.ign"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("20261210-000000-read.txt"))));
}

} // namespace
} // namespace zevo
