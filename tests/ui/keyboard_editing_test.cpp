// The servo page as a tuner uses it with the keyboard: rows of values typed with Enter between them,
// boxes toggled with Space, undo after a Read. Only clicks and key presses prepare each case.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "model_line.h"
#include "params/editing_tools.h"
#include "ui/controls.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

class KeyboardEditingTest : public FormFixture {
protected:
    ModelLine Model;
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;

    void SetUp() override {
        // Digits grouped with a space, as many of the tool's users have them.
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        Line = &Model;
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n");
        settings.close();
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }

    void ClickTab(int index) {
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), index);
    }
    TEdit* Map(int r, int c) {
        return Control<TEdit>(*Form, QStringLiteral("EditMap%1_%2").arg(r).arg(c));
    }
    static QString Shown(int value) { return TUpDown::FormatValue(value, QLocale()); }
    static void ClickIndicator(QCheckBox* box) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
    }
    // Keys go where the focus is, as a person's do.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Model.Advance(55);
            Form->Timer1Timer();
        }
    }
};

TEST_F(KeyboardEditingTest, ARowOfValuesTypedWithEnterBetweenThemLandsCellByCell) {
    ClickTab(1);
    QTest::mouseDClick(Map(0, 0), Qt::LeftButton); // a double-click selects the whole "2 300"
    EXPECT_EQ(Map(0, 0)->selectedText(), Map(0, 0)->text());
    const struct {
        const char* Typed;
        int Stored; // mV, as the unit keeps it (steps of 20)
    } row[] = {{"2700", 2700}, {"2800", 2800}, {"2910", 2900}, {"3000", 3000}};
    for (int c = 0; c < 4; ++c) {
        Type(QString::fromLatin1(row[c].Typed));
        Press(Qt::Key_Return);
        EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, c), row[c].Stored / 20) << row[c].Typed;
        EXPECT_EQ(Map(0, c)->text(), Shown(row[c].Stored)) << row[c].Typed;
        // The focus moved on with the next field's whole text selected, so typing replaces it.
        EXPECT_EQ(QApplication::focusWidget(), Map(0, c + 1));
        EXPECT_EQ(Map(0, c + 1)->selectedText(), Map(0, c + 1)->text());
    }
}

TEST_F(KeyboardEditingTest, LeavingAFieldByTabTakesWhatWasTyped) {
    ClickTab(1);
    QTest::mouseDClick(Map(0, 5), Qt::LeftButton);
    Type(QStringLiteral("3100"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 5), 155);
    EXPECT_EQ(Map(0, 5)->text(), Shown(3100));
    EXPECT_EQ(QApplication::focusWidget(), Map(0, 6));
    // Tab with nothing typed is no change.
    const int steps = Form->Parameters().History.UndoSteps();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Form->Parameters().History.UndoSteps(), steps);
}

TEST_F(KeyboardEditingTest, SpaceOnAnyBoxOfTheServoPageRunsItsHandler) {
    ClickTab(1);
    struct Case {
        const char* Name;
        TCheckBox* Box;
        std::function<int()> Stored;
    };
    const Case cases[] = {
        {"Servo Enable", Control<TCheckBox>(*Form, "CheckBoxServoEnable"), [this] { return int(Form->Parameters().Image.ServoEnable(0)); }},
        {"TP Enable", Control<TCheckBox>(*Form, "CheckBoxTpEnable"), [this] { return int(Form->Parameters().Image.TpEnable(0)); }},
        {"per cent", Control<TCheckBox>(*Form, "CheckBoxProcenta"), [this] { return int(Form->Parameters().Image.PerCentMode(0)); }},
        {"All", Control<TCheckBox>(*Form, "CheckBoxAll"), [this] { return int(Form->AllCellsTicked()[0]); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ClickIndicator(c.Box);
        EXPECT_EQ(c.Stored(), c.Box->isChecked() ? 1 : 0);
        ASSERT_EQ(QApplication::focusWidget(), c.Box) << "the click leaves the focus on the box";
        Press(Qt::Key_Space);
        EXPECT_EQ(c.Stored(), c.Box->isChecked() ? 1 : 0) << "the keyboard toggle is taken too";
    }
}

TEST_F(KeyboardEditingTest, PerCentToggledBackWithSpaceLeavesTheMapInMillivolts) {
    ClickTab(1);
    const DeviceImage before = Form->Parameters().Image;
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxProcenta")); // to per cent, the map converted
    Press(Qt::Key_Space);                   // and back to millivolts
    EXPECT_EQ(Form->Parameters().Image.PerCentMode(0), 0);
    DeviceImage expected = before;
    ConvertMapToPercent(expected, 0);
    ConvertMapToMillivolts(expected, 0);
    // The next click into a cell reads every cell in the unit the box shows: nothing moves.
    QTest::mouseClick(Map(0, 7), Qt::LeftButton);
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c)
            ASSERT_EQ(Form->Parameters().Image.MapCell(0, r, c), expected.MapCell(0, r, c)) << "cell " << r << "," << c;
    EXPECT_EQ(Map(0, 7)->text(), Shown(20 * expected.MapCell(0, 0, 7)));
}

TEST_F(KeyboardEditingTest, ClickingTpEnableKeepsTheFocusOnTheServoPage) {
    ClickTab(1);
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
    EXPECT_EQ(QApplication::focusWidget(), Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
    Press(Qt::Key_Space); // toggles TP Enable back, never "Programming after change"
    EXPECT_FALSE(Control<TCheckBox>(*Form, "CheckBoxProgHned")->isChecked());
    EXPECT_EQ(Form->Parameters().Image.TpEnable(0), Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked() ? 1 : 0);
}

TEST_F(KeyboardEditingTest, UndoRightAfterAReadReturnsToTheEditBeforeItAndRedoToTheReadSet) {
    ClickTab(1);
    ClickIndicator(Control<TCheckBox>(*Form, "CheckBoxProgHned")); // programming after change: a Read must not start one
    QTest::mouseDClick(Map(0, 2), Qt::LeftButton);
    Type(QStringLiteral("1000"));
    Press(Qt::Key_Return);
    ASSERT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), 50);
    Ticks(200); // the Program that edit started runs to its end, storing included
    const DeviceImage edited = Form->Parameters().Image;
    const int programmed = Model.Unit.Telemetry().ProgrammingCount;

    Model.Unit.Memory().MapCell(0, 0, 2) = 77; // the unit's set changes behind the tool's back
    Press(Qt::Key_F7);
    Ticks(200);
    ASSERT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), 77) << "the Read took the unit's set";
    const DeviceImage read = Form->Parameters().Image;
    EXPECT_EQ(Model.Unit.Telemetry().ProgrammingCount, programmed) << "a Read never programs";

    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), edited.MapCell(0, 0, 2));
    EXPECT_EQ(Map(0, 2)->text(), Shown(1000));
    Ticks(60);
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 0, 2), 77);
    EXPECT_EQ(Form->Parameters().Image.Bytes, read.Bytes);
}

TEST_F(KeyboardEditingTest, AClickIntoAFieldPicksItsWholeNumberSoTypingReplacesIt) {
    // Clicked in the middle of the shown number, as a hand lands: without the whole number picked
    // the caret would sit between its digits and 2600 typed there would make nonsense of it.
    const struct {
        const char* Field;
        int Tab;
        const char* Typed;
        std::function<int(const DeviceImage&)> Stored;
        int Expected;
    } cases[] = {
        {"EditMap0_3", 1, "2600", [](const DeviceImage& d) { return int(d.MapCell(0, 0, 3)); }, 2600 / 20},
        {"EditMap0_7", 1, "1480", [](const DeviceImage& d) { return int(d.MapCell(0, 0, 7)); }, 1480 / 20},
        {"EditRpm4", 1, "4500", [](const DeviceImage& d) { return int(d.RpmAxis(0, 4)); }, 45},
        {"EditHystMv", 1, "250", [](const DeviceImage& d) { return int(d.HysteresisMv(0)); }, 250 / 5},
        {"EditHystRpm", 2, "120", [](const DeviceImage& d) { return int(d.HysteresisRpm(1)); }, 120 / 5},
        {"EditTps100", 0, "3000", [](const DeviceImage& d) { return int(d.Tps100()); }, (3000 - 2500) / 10},
        {"EditTps0", 0, "450", [](const DeviceImage& d) { return int(d.Tps0()); }, 45},
    };
    for (const auto& c : cases) {
        ClickTab(c.Tab);
        TEdit* field = Control<TEdit>(*Form, c.Field);
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, field->rect().center());
        EXPECT_EQ(field->selectedText(), field->text()) << c.Field;
        Type(QString::fromLatin1(c.Typed));
        Press(Qt::Key_Return);
        EXPECT_EQ(c.Stored(Form->Parameters().Image), c.Expected) << c.Field;
    }
}

} // namespace
} // namespace zevo
