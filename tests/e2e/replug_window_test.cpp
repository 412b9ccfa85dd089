// The real window on the real serial line to zevo-unit-sim, its own 55 ms timer running: the cable
// is pulled and put back twenty times while telemetry flows. Each time the window must show the
// connection lost, find the unit again by itself, and keep the set being edited exactly as it was.
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "link/link_engine.h"
#include "sim_process.h"
#include "ui/controls.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

using test::SimProcess;

// Lost after 18 silent ticks (about 1 s); while lost, the port is opened again every 30 ticks
// (1.65 s) and the next status request follows within 6 ticks. The bounds leave room for a loaded
// machine.
constexpr int LostWithinMs = 3000;
constexpr int BackWithinMs = 6000;

// Every edit box of the window with what it shows, in the window's own order.
QStringList EditorTexts(const TFormHlav& form) {
    QStringList texts;
    for (const TEdit* edit : form.findChildren<TEdit*>())
        texts << QString::number(texts.size()) + QLatin1Char('=') + edit->text();
    return texts;
}

class ReplugWindowTest : public FormFixture {
protected:
    // The window as scripts/run --demo starts it: its own serial line, COM1 pinned to the unit's
    // link in the settings file.
    std::unique_ptr<TFormHlav> StartOn(const SimProcess& sim) {
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n\n[PORTS]\nCOM1=" + QFile::encodeName(sim.LinkPath()) + "\n");
        settings.close();
        Line = nullptr;
        return StartShown({QStringLiteral("ENGLISH")});
    }
    void Type(TEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(ReplugWindowTest, TwentyPullsAndReplugsDuringTelemetryLeaveTheEditedSetAsItWas) {
    SimProcess sim; // outlives the window
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    std::unique_ptr<TFormHlav> form = StartOn(sim);
    const auto lost = [&] { return !Control<TLabel>(*form, "LabelSpojeni")->isHidden(); };
    EXPECT_EQ(Control<TLabel>(*form, "LabelCom")->Caption(), QStringLiteral("COM= unit"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lost(); }, BackWithinMs)) << "no telemetry at the start";

    // The set on screen now differs from the unit's: a map cell of each servo and the throttle's
    // zero point, typed as a user does (nothing is programmed: the box for that is not ticked).
    ASSERT_FALSE(Control<TCheckBox>(*form, "CheckBoxProgHned")->isChecked());
    const DeviceImage unitSet = form->Parameters().Image;
    testing::ClickTab(*form, 1);
    Type(Control<TEdit>(*form, "EditMap0_2"), QStringLiteral("2600"));
    testing::ClickTab(*form, 2);
    Type(Control<TEdit>(*form, "EditMap3_5"), QStringLiteral("1200"));
    testing::ClickTab(*form, 0);
    QTest::mouseClick(Control<TEdit>(*form, "EditTps0"), Qt::LeftButton);
    QTest::keyClick(Control<TEdit>(*form, "EditTps0"), Qt::Key_Up);
    QTest::keyClick(Control<TEdit>(*form, "EditTps0"), Qt::Key_Return);
    ASSERT_NE(form->Parameters().Image.Bytes, unitSet.Bytes) << "the edits did not reach the set";
    ASSERT_EQ(form->Parameters().Image.MapCell(0, 0, 2), 130);
    testing::ClickTab(*form, 1); // the live cell is painted while the cable comes and goes

    const DeviceImage edited = form->Parameters().Image;
    const QStringList shown = EditorTexts(*form);
    const QString rpmBefore = Control<TLabel>(*form, "LabelRpm")->Caption();

    for (int round = 1; round <= 20; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(sim.PullCable()) << sim.Diagnostics().toStdString();
        ASSERT_TRUE(QTest::qWaitFor(lost, LostWithinMs)) << "the pulled cable was never shown";
        ASSERT_TRUE(sim.PlugBackIn()) << sim.Diagnostics().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !lost(); }, BackWithinMs)) << "the unit was not found again";
    }

    // Telemetry flows: the sweeping engine moves the speed on within a few frames.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Control<TLabel>(*form, "LabelRpm")->Caption() != rpmBefore; }, 3000));
    EXPECT_FALSE(lost());
    // The window's look at the unit that answered ends, having taken nothing over: the state says
    // the set on screen is not the unit's.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->Link().State().TransferMode == Transfer::Idle; }, 3000));
    EXPECT_EQ(Control<QLabel>(*form, "LabelSetState")->text(), QStringLiteral("Differs from unit"));
    EXPECT_EQ(form->Parameters().Image.Bytes, edited.Bytes) << "the set changed while the cable came and went";
    EXPECT_EQ(EditorTexts(*form), shown);
    EXPECT_TRUE(Prompts.Messages.isEmpty()) << Prompts.Messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(Prompts.Asked.isEmpty());
}

} // namespace
} // namespace zevo
