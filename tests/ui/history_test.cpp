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

#include "form_fixture.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

class HistoryTest : public FormFixture {
protected:
    std::unique_ptr<TFormHlav> Form;

    void SetUp() override { Form = StartShown({QStringLiteral("ENGLISH")}); }
    // Steps the first RPM point of the shown servo up once, as a click on its arrow does.
    void StepAxisUp() { Form->UpDownRpm[0]->StepBy(+1); }
    bool UndoEnabled() const { return Form->SpeedButtonZpet->isEnabled() && Form->MenuZpet->isEnabled(); }
    bool RedoEnabled() const { return Form->SpeedButtonZnovu->isEnabled() && Form->MenuZnovu->isEnabled(); }
};

TEST_F(HistoryTest, OneChangeCanBeUndoneAndRedone) {
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(RedoEnabled());
    Form->PageControl1->setCurrentIndex(1);
    StepAxisUp();
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    EXPECT_TRUE(UndoEnabled());
    Form->SpeedButtonZpet->click();
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 0);
    EXPECT_EQ(Form->PageControl1->currentIndex(), 0) << "the start-up snapshot was taken on this page";
    EXPECT_FALSE(UndoEnabled());
    EXPECT_TRUE(RedoEnabled());
    Form->MenuZnovu->trigger();
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    EXPECT_FALSE(RedoEnabled());
}

TEST_F(HistoryTest, KeysReachTheHistoryEvenFromInsideAnEdit) {
    Form->PageControl1->setCurrentIndex(1);
    StepAxisUp();
    StepAxisUp();
    Form->EditRpm[5]->setFocus();
    QTest::keyClick(Form->EditRpm[5], Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 2) << "Ctrl+Shift+Z does nothing";
    QTest::keyClick(Form->EditRpm[5], Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
}

TEST_F(HistoryTest, UndoShowsThePageWhereTheStepWasTaken) {
    Form->PageControl1->setCurrentIndex(1);
    StepAxisUp(); // servo 1
    Form->PageControl1->setCurrentIndex(2);
    StepAxisUp(); // servo 2
    Form->SpeedButtonZpet->click();
    EXPECT_EQ(Form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(Form->GroupBoxServo->parentWidget(), Form->TabSheet_Servo1);
    EXPECT_EQ(Form->Image.RpmAxis(1, 0), 0);
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    EXPECT_EQ(Form->EditRpm[0]->text(), QStringLiteral("100"));
}

TEST_F(HistoryTest, AConfirmationWithoutChangeKeepsRedo) {
    Form->PageControl1->setCurrentIndex(1);
    StepAxisUp();
    Form->SpeedButtonZpet->click();
    ASSERT_TRUE(RedoEnabled());
    Form->PageControl1->setCurrentIndex(1); // the first snapshot was taken on the Miscellaneous page
    QTest::mouseClick(Form->EditRpm[3], Qt::LeftButton); // takes the page: nothing differs
    EXPECT_TRUE(RedoEnabled());
    StepAxisUp(); // a real change drops the redo range
    EXPECT_EQ(Form->Image.RpmAxis(0, 0), 1);
    EXPECT_FALSE(RedoEnabled());
}

TEST_F(HistoryTest, PulsesChoiceIsOneStep) {
    Form->RadioPocPulsu[7]->click();
    EXPECT_EQ(Form->Image.PulsesPerRevIndex(), 7);
    EXPECT_TRUE(UndoEnabled());
    Form->SpeedButtonZpet->click();
    EXPECT_EQ(Form->Image.PulsesPerRevIndex(), 1);
    EXPECT_TRUE(Form->RadioPocPulsu[1]->isChecked());
}

} // namespace
} // namespace zevo
