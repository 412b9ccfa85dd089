// Undo and redo from the window: buttons, keys and the page a step was taken on.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

class HistoryTest : public FormFixture {
protected:
    std::unique_ptr<TFormHlav> Form;

    void SetUp() override { Form = StartShown({QStringLiteral("ENGLISH")}); }
    // Steps the first RPM point of the shown servo up once, as a click on its arrow does.
    void StepAxisUp() { Control<TUpDown>(*Form, "UpDownRpm0")->StepBy(+1); }
    bool UndoEnabled() const { return Control<QToolButton>(*Form, "SpeedButtonZpet")->isEnabled() && Control<QAction>(*Form, "MenuZpet")->isEnabled(); }
    bool RedoEnabled() const { return Control<QToolButton>(*Form, "SpeedButtonZnovu")->isEnabled() && Control<QAction>(*Form, "MenuZnovu")->isEnabled(); }
};

TEST_F(HistoryTest, OneChangeCanBeUndoneAndRedone) {
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(RedoEnabled());
    testing::ClickTab(*Form, 1);
    StepAxisUp();
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    EXPECT_TRUE(UndoEnabled());
    Control<QToolButton>(*Form, "SpeedButtonZpet")->click();
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 0);
    EXPECT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), 0) << "the start-up snapshot was taken on this page";
    EXPECT_FALSE(UndoEnabled());
    EXPECT_TRUE(RedoEnabled());
    Control<QAction>(*Form, "MenuZnovu")->trigger();
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    EXPECT_FALSE(RedoEnabled());
}

TEST_F(HistoryTest, KeysReachTheHistoryEvenFromInsideAnEdit) {
    testing::ClickTab(*Form, 1);
    StepAxisUp();
    StepAxisUp();
    QTest::mouseClick(Control<TEdit>(*Form, "EditRpm5"), Qt::LeftButton);
    QTest::keyClick(Control<TEdit>(*Form, "EditRpm5"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 2) << "Ctrl+Shift+Z does nothing";
    QTest::keyClick(Control<TEdit>(*Form, "EditRpm5"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1) << "Ctrl+Y redoes too, not the field's own text redo";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
}

TEST_F(HistoryTest, UndoShowsThePageWhereTheStepWasTaken) {
    testing::ClickTab(*Form, 1);
    StepAxisUp(); // servo 1
    testing::ClickTab(*Form, 2);
    StepAxisUp(); // servo 2
    Control<QToolButton>(*Form, "SpeedButtonZpet")->click();
    EXPECT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), 1);
    EXPECT_EQ(Control<QGroupBox>(*Form, "GroupBoxServo")->parentWidget(), Control<QWidget>(*Form, "TabSheet_Servo1"));
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(1, 0), 0);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    EXPECT_EQ(Control<TEdit>(*Form, "EditRpm0")->text(), QStringLiteral("100"));
}

TEST_F(HistoryTest, AConfirmationWithoutChangeKeepsRedo) {
    testing::ClickTab(*Form, 1);
    StepAxisUp();
    Control<QToolButton>(*Form, "SpeedButtonZpet")->click();
    ASSERT_TRUE(RedoEnabled());
    testing::ClickTab(*Form, 1); // the first snapshot was taken on the Miscellaneous page
    QTest::mouseClick(Control<TEdit>(*Form, "EditRpm3"), Qt::LeftButton); // takes the page: nothing differs
    EXPECT_TRUE(RedoEnabled());
    StepAxisUp(); // a real change drops the redo range
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 0), 1);
    EXPECT_FALSE(RedoEnabled());
}

TEST_F(HistoryTest, PulsesChoiceIsOneStep) {
    Control<QRadioButton>(*Form, "RadioPocPulsu7")->click();
    EXPECT_EQ(Form->Parameters().Image.PulsesPerRevIndex(), 7);
    EXPECT_TRUE(UndoEnabled());
    Control<QToolButton>(*Form, "SpeedButtonZpet")->click();
    EXPECT_EQ(Form->Parameters().Image.PulsesPerRevIndex(), 1);
    EXPECT_TRUE(Control<QRadioButton>(*Form, "RadioPocPulsu1")->isChecked());
}

} // namespace
} // namespace zevo
