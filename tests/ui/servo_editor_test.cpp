// The servo editor driven with real key presses and clicks, headless.
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLocale>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
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

class ServoEditorTest : public FormFixture {
protected:
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;

    void SetUp() override {
        // A locale that groups digits with a space, as many of the tool's users have.
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }

    // The window started again with the default set changed by `change` (as an earlier session left
    // it).
    void StartWith(const std::function<void(DeviceImage&)>& change) {
        Form.reset();
        DeviceImage set = DefaultSet();
        change(set);
        LeaveForStart(set);
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void ShowTab(int index) { testing::ClickTab(*Form, index); }
    TEdit* Map(int r, int c) {
        return Control<TEdit>(*Form, QStringLiteral("EditMap%1_%2").arg(r).arg(c));
    }
    static QString Shown(int value) { return TUpDown::FormatValue(value, QLocale()); }

    // Replaces an edit's text the way a user does: click into it, select all, type.
    void Type(TEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // A click on the check box's indicator, where a user aims.
    static void ClickIndicator(QCheckBox* box) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
    }
};

TEST_F(ServoEditorTest, TypedMillivoltsAreTruncatedToTwentyMillivoltSteps) {
    ShowTab(1);
    Type(Map(0, 2), QStringLiteral("2610"));
    QTest::keyClick(Map(0, 2), Qt::Key_Return);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), 130);
    EXPECT_EQ(Map(0, 2)->text(), Shown(2600));
    EXPECT_TRUE(Map(0, 2)->text().size() == 5) << "2600 is shown with the locale's thousands separator";
    EXPECT_TRUE(Map(0, 3)->hasFocus());
}

TEST_F(ServoEditorTest, TextThatIsNoValueLeavesTheCellAsItWas) {
    ShowTab(1);
    const std::uint8_t before = Form->Parameters().Image.MapCell(0, 0, 4);
    for (const QString& typed : {QStringLiteral("6000"), QStringLiteral("12a"), QStringLiteral("-20")}) {
        Type(Map(0, 4), typed);
        QTest::keyClick(Map(0, 4), Qt::Key_Return);
        EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 4), before) << typed.toStdString();
        EXPECT_EQ(Map(0, 4)->text(), Shown(20 * before)) << typed.toStdString();
    }
}

TEST_F(ServoEditorTest, PerCentMapRunsZeroToHundredInSteps) {
    StartWith([](DeviceImage& set) {
        set.PerCentMode(1) = 1;
        set.TpEnable(1) = 1;
    });
    ShowTab(2);
    EXPECT_EQ(Control<TUpDown>(*Form, "UpDownMap3_3")->Max(), 100);
    EXPECT_EQ(Control<TUpDown>(*Form, "UpDownMap3_3")->Increment(), 1);
    Type(Map(3, 3), QStringLiteral("55"));
    QTest::keyClick(Map(3, 3), Qt::Key_Enter);
    EXPECT_EQ(Form->Parameters().Image.MapCell(1, 3, 3), 55);
    // An arrow key steps by one at once, within the range.
    Map(3, 3)->setFocus();
    QTest::keyClick(Map(3, 3), Qt::Key_Up);
    EXPECT_EQ(Form->Parameters().Image.MapCell(1, 3, 3), 56);
    // Servo 1 is still in millivolts.
    ShowTab(1);
    EXPECT_EQ(Control<TUpDown>(*Form, "UpDownMap3_3")->Max(), 5000);
    EXPECT_EQ(Control<TUpDown>(*Form, "UpDownMap3_3")->Increment(), 20);
}

TEST_F(ServoEditorTest, TpEnableHidesRowsOneToNineAndKeepsTheirBytes) {
    StartWith([](DeviceImage& set) {
        set.TpEnable(0) = 1;
        set.MapCell(0, 5, 5) = 77;
    });
    ShowTab(1);
    EXPECT_TRUE(Map(5, 5)->isVisible());
    EXPECT_TRUE(Control<TLabel>(*Form, "LabelTpsTitle")->isVisible());

    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
    EXPECT_EQ(Form->Parameters().Image.TpEnable(0), 0);
    EXPECT_TRUE(Map(0, 5)->isVisible());
    EXPECT_TRUE(Control<TEdit>(*Form, "EditRpm5")->isVisible());
    for (int r = 1; r < MapRows; ++r)
        EXPECT_FALSE(Map(r, 5)->isVisible()) << r;
    EXPECT_FALSE(Control<TLabel>(*Form, "LabelTpRow0")->isVisible());
    EXPECT_FALSE(Control<TLabel>(*Form, "LabelTpsTitle")->isVisible());
    EXPECT_FALSE(Control<TCSpinButton>(*Form, "CSpinButtonColumn5")->isVisible());
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 5, 5), 77);

    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
    EXPECT_EQ(Form->Parameters().Image.TpEnable(0), 1);
    EXPECT_TRUE(Map(5, 5)->isVisible());
    EXPECT_EQ(Map(5, 5)->text(), Shown(20 * 77));
}

TEST_F(ServoEditorTest, SwitchingServoTabsShowsTheOtherServo) {
    StartWith([](DeviceImage& set) {
        set.RpmAxis(1, 3) = 33;
        set.HysteresisMv(1) = 9;
        set.ServoEnable(1) = 0;
    });
    ShowTab(1);
    EXPECT_EQ(Control<QGroupBox>(*Form, "GroupBoxServo")->parentWidget(), Control<QWidget>(*Form, "TabSheet_Servo1"));
    EXPECT_EQ(Control<TEdit>(*Form, "EditRpm3")->text(), Shown(3000));
    EXPECT_TRUE(Control<TCheckBox>(*Form, "CheckBoxServoEnable")->isChecked());
    ShowTab(2);
    EXPECT_EQ(Control<QGroupBox>(*Form, "GroupBoxServo")->parentWidget(), Control<QWidget>(*Form, "TabSheet_Servo2"));
    EXPECT_TRUE(Control<QGroupBox>(*Form, "GroupBoxServo")->isVisible());
    EXPECT_EQ(Control<TEdit>(*Form, "EditRpm3")->text(), Shown(3300));
    EXPECT_EQ(Control<TEdit>(*Form, "EditHystMv")->text(), QStringLiteral("45"));
    EXPECT_FALSE(Control<TCheckBox>(*Form, "CheckBoxServoEnable")->isChecked());
}

// Switched by the keyboard, the focus never leaves the field: what was typed is not taken. A click on
// a tab leaves the field first, which takes it, as leaving a field by the mouse always does.
TEST_F(ServoEditorTest, SwitchingTabsByKeyboardDropsUnconfirmedText) {
    ShowTab(1);
    Type(Map(0, 0), QStringLiteral("4000"));
    QTest::keyClick(Map(0, 0), Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), 1);
    EXPECT_EQ(Map(0, 0)->text(), Shown(2000));
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 0), 100);

    Type(Map(0, 0), QStringLiteral("4000"));
    ShowTab(2);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 0), 200) << "a click on a tab leaves the field";
}

// Showing a servo fills its fields one by one; none of that is taken back into the set, where a
// half-shown page would mix the two servos. Every page shown, back and forth, leaves the set as it was.
TEST_F(ServoEditorTest, ShowingThePagesNeverWritesTheirFieldsBack) {
    StartWith([](DeviceImage& set) {
        set.TpEnable(0) = 1;
        set.TpEnable(1) = 1;
        for (int c = 0; c < MapColumns; ++c) {
            set.RpmAxis(1, c) = static_cast<std::uint8_t>(5 + 7 * c);
            for (int r = 0; r < MapRows; ++r)
                set.MapCell(1, r, c) = static_cast<std::uint8_t>(30 + r + 2 * c);
        }
        set.HysteresisMv(1) = 9;
    });
    const DeviceImage before = Form->Parameters().Image;
    for (int tab : {1, 2, 1, 0, 2, 0})
        ShowTab(tab);
    EXPECT_EQ(Form->Parameters().Image, before);
    EXPECT_EQ(Form->Parameters().History.UndoSteps(), 0) << "showing is no change";
}

TEST_F(ServoEditorTest, CalibrationSpinnerIsTakenOnlyOnEnterClickOrRelease) {
    ShowTab(0);
    QTest::mouseClick(Control<TEdit>(*Form, "EditTps0"), Qt::LeftButton);
    QTest::keyClick(Control<TEdit>(*Form, "EditTps0"), Qt::Key_Up);
    EXPECT_EQ(Control<TEdit>(*Form, "EditTps0")->text(), QStringLiteral("490"));
    EXPECT_EQ(Form->Parameters().Image.Tps0(), 48) << "an arrow key alone changes only the shown value";
    QTest::keyClick(Control<TEdit>(*Form, "EditTps0"), Qt::Key_Return);
    EXPECT_EQ(Form->Parameters().Image.Tps0(), 49);

    QTest::keyClick(Control<TEdit>(*Form, "EditTps100"), Qt::Key_Down);
    EXPECT_EQ(Form->Parameters().Image.Tps100(), 197);
    QTest::mouseClick(Control<TEdit>(*Form, "EditTps0"), Qt::LeftButton); // a click into any field takes the page
    EXPECT_EQ(Form->Parameters().Image.Tps100(), 196);
}

TEST_F(ServoEditorTest, ServoPageSpinnerStepIsTakenAtOnce) {
    ShowTab(1);
    QTest::mouseClick(Control<TEdit>(*Form, "EditRpm14"), Qt::LeftButton);
    QTest::keyClick(Control<TEdit>(*Form, "EditRpm14"), Qt::Key_Down);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 14), 119);
    // The repair after the change: pushing point 13 up to point 14 moves 14 on.
    Type(Control<TEdit>(*Form, "EditRpm13"), QStringLiteral("12000"));
    QTest::keyClick(Control<TEdit>(*Form, "EditRpm13"), Qt::Key_Return);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 13), 120);
    EXPECT_EQ(Form->Parameters().Image.RpmAxis(0, 14), 121);
    EXPECT_EQ(Control<TEdit>(*Form, "EditRpm14")->text(), Shown(12100));
}

TEST_F(ServoEditorTest, KeyboardToggleOfACheckBoxIsTakenAsTheMouseReleaseIs) {
    ShowTab(1);
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxServoEnable")); // the click leaves the focus on the box
    EXPECT_EQ(Form->Parameters().Image.ServoEnable(0), 0);
    ASSERT_EQ(QApplication::focusWidget(), Control<TCheckBox>(*Form, "CheckBoxServoEnable"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(Control<TCheckBox>(*Form, "CheckBoxServoEnable")->isChecked());
    EXPECT_EQ(Form->Parameters().Image.ServoEnable(0), 1);
}

TEST_F(ServoEditorTest, TabVisitsAxisThenMapRowsThenHysteresisSkippingHiddenRows) {
    StartWith([](DeviceImage& set) {
        set.TpEnable(0) = 0;
    });
    ShowTab(1);
    std::vector<QWidget*> expected;
    for (int c = 0; c < MapColumns; ++c)
        expected.push_back(Control<TEdit>(*Form, QStringLiteral("EditRpm%1").arg(c)));
    for (int c = 0; c < MapColumns; ++c)
        expected.push_back(Map(0, c));
    expected.push_back(Control<TEdit>(*Form, "EditHystMv"));
    expected.push_back(Control<TEdit>(*Form, "EditHystRpm"));
    QTest::mouseClick(Control<TEdit>(*Form, "EditRpm0"), Qt::LeftButton);
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), expected[i]) << "step " << i;
    }
}

TEST_F(ServoEditorTest, ProgrammingAfterChangeBoxTurnsRedAtTheNextRefresh) {
    ShowTab(1);
    testing::SetTicked(*Form, "CheckBoxProgHned", true);
    Form->BlockToEditor();
    EXPECT_EQ(Control<TCheckBox>(*Form, "CheckBoxProgHned")->palette().color(QPalette::Window), QColor(255, 0, 0));
    testing::SetTicked(*Form, "CheckBoxProgHned", false);
    Form->BlockToEditor();
    EXPECT_NE(Control<TCheckBox>(*Form, "CheckBoxProgHned")->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(ServoEditorTest, ColumnSpinButtonStepsAllTenRowsOfItsColumn) {
    StartWith([](DeviceImage& set) {
        set.TpEnable(0) = 1;
        set.MapCell(0, 6, 3) = 0;
    });
    ShowTab(1);
    QTest::mouseClick(Control<TCSpinButton>(*Form, "CSpinButtonColumn3")->DownButton(), Qt::LeftButton);
    for (int r = 0; r < MapRows; ++r) {
        EXPECT_EQ(Form->Parameters().Image.MapCell(0, r, 3), r == 6 ? 0 : 114) << r;
        EXPECT_EQ(Form->Parameters().Image.MapCell(0, r, 4), 120) << "the next column stays";
    }
    EXPECT_EQ(Map(2, 3)->text(), Shown(2280));
    QTest::mouseClick(Control<TCSpinButton>(*Form, "CSpinButtonColumn3")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 6, 3), 1);
}

TEST_F(ServoEditorTest, PerCentBoxConvertsTheMapAndTheRange) {
    StartWith([](DeviceImage& set) {
        set.TpEnable(1) = 1;
    });
    ShowTab(2);
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxProcenta"));
    EXPECT_EQ(Form->Parameters().Image.PerCentMode(1), 1);
    EXPECT_EQ(Form->Parameters().Image.MapCell(1, 4, 0), 40); // 2000 mV is 40 %
    EXPECT_EQ(Map(4, 0)->text(), QStringLiteral("40"));
    EXPECT_EQ(Control<TUpDown>(*Form, "UpDownMap4_0")->Max(), 100);
    EXPECT_EQ(Form->Parameters().Image.PerCentMode(0), 0) << "servo 1 keeps its unit";
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxProcenta"));
    EXPECT_EQ(Form->Parameters().Image.PerCentMode(1), 0);
    EXPECT_EQ(Form->Parameters().Image.MapCell(1, 4, 0), 100);
    EXPECT_EQ(Map(4, 0)->text(), Shown(2000));
}

} // namespace
} // namespace zevo
