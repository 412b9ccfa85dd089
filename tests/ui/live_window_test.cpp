// The window with the unit model on its line: telemetry on the labels, the live cell painted lime,
// the tools acting on it, and a Program from the menu, all driven tick by tick.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

#include <gtest/gtest.h>

#include "form_fixture.h"
#include "link/link_engine.h"
#include "model_line.h"
#include "ui/cgauge.h"
#include "ui/controls.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

class LiveWindowTest : public FormFixture {
protected:
    ModelLine Model;
    std::unique_ptr<TFormHlav> Form;

    void SetUp() override {
        Line = &Model;
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n"); // the unit is on COM1
        settings.close();
        Form = Start({QStringLiteral("ENGLISH")});
    }
    // One timer tick, with the unit's clock moved on by the same 55 ms.
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Model.Advance(55);
            Form->Timer1Timer();
        }
    }
    QColor Base(QWidget* widget) const { return widget->palette().color(QPalette::Base); }
};

TEST_F(LiveWindowTest, TelemetryReachesTheLabels) {
    EXPECT_FALSE(Form->LabelSpojeni->isHidden()) << "no connection until the first frame";
    Model.Unit.HoldEngine(4500, 45);
    Ticks(12);
    EXPECT_TRUE(Form->LabelSpojeni->isHidden());
    EXPECT_EQ(Form->LabelRpm->Caption(), QStringLiteral("RPM = 4500 "));
    EXPECT_TRUE(Form->LabelTpsMon->Caption().startsWith(QStringLiteral("TP= 45 %=")));
    EXPECT_EQ(Form->LabelNapeti->Caption(), QStringLiteral("U= 13.8 V"));
    EXPECT_EQ(Form->LabelCom->Caption(), QStringLiteral("COM= COM1"));
    EXPECT_TRUE(Form->MenuComItems[0]->isChecked());
    EXPECT_TRUE(Form->LabelVersion->isHidden());
}

TEST_F(LiveWindowTest, LiveCellIsLimeAndPlusStepsIt) {
    Form->Image.TpEnable(0) = 1;
    Form->PageControl1->setCurrentIndex(1);
    Model.Unit.HoldEngine(4000, 30); // axis point 4 (4000 RPM), the 30 % row (5)
    Ticks(12);
    const LinkState& live = Form->Link().State();
    ASSERT_EQ(live.LiveRpmColumn, 4);
    ASSERT_EQ(live.LiveTpRow, 5);
    const QColor lime(0, 255, 0);
    EXPECT_EQ(Base(Form->EditMap[5][4]), lime);
    EXPECT_EQ(Base(Form->EditRpm[4]), lime);
    EXPECT_NE(Base(Form->EditMap[5][5]), lime);
    EXPECT_NE(Base(Form->EditRpm[3]), lime);

    const std::uint8_t before = Form->Image.MapCell(0, 5, 4);
    Form->MenuToolsPlus->trigger();
    EXPECT_EQ(Form->Image.MapCell(0, 5, 4), before + 1);
    Form->ButtonMinus->click();
    Form->ButtonMinus->click();
    EXPECT_EQ(Form->Image.MapCell(0, 5, 4), before - 1);
    EXPECT_EQ(Form->Image.MapCell(0, 5, 5), 100 + 5 * 5) << "only the live cell moves";

    // The engine moves on: the old cell goes back to the plain colour.
    Model.Unit.HoldEngine(12000, 100);
    Ticks(12);
    EXPECT_EQ(Base(Form->EditMap[9][14]), lime);
    EXPECT_NE(Base(Form->EditMap[5][4]), lime);
}

TEST_F(LiveWindowTest, ToolsDoNothingOnTheMiscellaneousPage) {
    Ticks(12);
    const DeviceImage before = Form->Image;
    Form->MenuToolsPlus->trigger();
    Form->MenuToolsMinus->trigger();
    EXPECT_EQ(Form->Image, before);
    EXPECT_FALSE(Form->MenuZpet->isEnabled());
}

TEST_F(LiveWindowTest, ThrottleCaptureTakesTheLiveVoltage) {
    Model.Unit.HoldEngine(1000, 0);
    Ticks(12);
    const int millivolts = Form->Link().State().TpMillivolts;
    ASSERT_GE(millivolts, 300);
    ASSERT_LE(millivolts, 2500);
    Form->ButtonTps0->click();
    EXPECT_EQ(Form->Image.Tps0(), millivolts / 10);
    EXPECT_EQ(Form->EditTps0->text(), QString::number(millivolts / 10 * 10));
}

TEST_F(LiveWindowTest, ProgramFromTheMenuEndsWithTheSetInTheUnit) {
    Ticks(12);
    Form->Image.RpmAxis(1, 7) = 77;
    Form->Image.MapCell(1, 149) = 33;
    Form->MenuProgram->trigger();
    EXPECT_FALSE(Form->LabelHlaseni->isHidden());
    EXPECT_EQ(Form->LabelHlaseni->Caption(), QStringLiteral("Program device:"));
    // Four ticks to the first frame, then a page a tick: 15 pages.
    int ticks = 0;
    while (Form->Link().State().TransferMode != Transfer::Idle && ticks < 60) {
        Ticks(1);
        ++ticks;
    }
    EXPECT_LE(ticks, 25);
    EXPECT_EQ(Form->LabelHlaseni->Caption(), QStringLiteral("Verify:: OK"));
    Ticks(6); // the unit reports that it is storing
    EXPECT_EQ(Form->LabelHlaseni->Caption(), QStringLiteral("Saving:"));
    for (int b = 0; b < BlockSize; ++b)
        ASSERT_EQ(Model.Unit.Memory().Bytes[static_cast<std::size_t>(BlockOffset + b)], Form->Image.BlockByte(b)) << b;
    Ticks(80); // the unit stores for about three seconds
    EXPECT_EQ(Form->LabelHlaseni->Caption(), QStringLiteral("Program device:: OK"));
    EXPECT_EQ(Form->CGaugeProgram->Progress(), Form->CGaugeProgram->MaxValue());
}

TEST_F(LiveWindowTest, ProgrammingAfterChangeSendsEachChange) {
    Ticks(12);
    Form->CheckBoxProgHned->setChecked(true);
    Form->PageControl1->setCurrentIndex(1);
    Form->UpDownHystMv->StepBy(+1);
    EXPECT_EQ(Form->Link().State().TransferMode, Transfer::Program);
    Ticks(30);
    EXPECT_EQ(Model.Unit.Memory().Bytes[static_cast<std::size_t>(BlockOffset)], Form->Image.HysteresisMv(0));
    EXPECT_EQ(Form->Image.HysteresisMv(0), 81);
}

} // namespace
} // namespace zevo
