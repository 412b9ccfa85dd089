// Many cells at once on the shown window: selecting with the mouse and the keyboard, the Tools
// menu's operations on the selection, the clipboard, and the status-bar word about entries the
// editor refused or adjusted. Every case is prepared by clicks and keys.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "ui/controls.h"
#include "ui/map_painter.h"
#include "ui/map_selection_control.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

class MapSelectionWindowTest : public FormFixture {
protected:
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Form = StartShown({QStringLiteral("ENGLISH")});
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), 1);
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }

    TEdit* Map(int r, int c) {
        return Control<TEdit>(*Form, QStringLiteral("EditMap%1_%2").arg(r).arg(c));
    }
    int Cell(int r, int c) const { return 20 * Form->Parameters().Image.MapCell(0, r, c); } // mV
    std::optional<MapSelection> Selected() const {
        return Control<MapSelectionControl>(*Form, "MapSelection")->Selection(Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked());
    }
    QString Status() const { return Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(); }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void ShowAllRows() {
        QStyleOptionButton option;
        option.initFrom(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
        const QRect box = Control<TCheckBox>(*Form, "CheckBoxTpEnable")->style()->subElementRect(QStyle::SE_CheckBoxIndicator,
                                                                          &option, Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
        if (!Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked())
            QTest::mouseClick(Control<TCheckBox>(*Form, "CheckBoxTpEnable"), Qt::LeftButton, {}, box.center());
        ASSERT_TRUE(Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked());
    }
    // A press on one cell, the mouse moved over another with the button held, the release there.
    void Drag(TEdit* from, TEdit* to) {
        QTest::mousePress(from, Qt::LeftButton, {}, from->rect().center());
        const QPoint over = to->mapTo(from->window(), to->rect().center());
        QMouseEvent move(QEvent::MouseMove, from->mapFrom(from->window(), over),
                         from->mapToGlobal(from->mapFrom(from->window(), over)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(from, &move);
        QTest::mouseRelease(from, Qt::LeftButton, {}, from->mapFrom(from->window(), over));
    }
    // Replaces a field's value the way a person does: double-click selects it, type, Enter.
    void Enter(TEdit* field, const QString& text) {
        QTest::mouseDClick(field, Qt::LeftButton);
        Type(text);
        Press(Qt::Key_Return);
    }
};

TEST_F(MapSelectionWindowTest, MouseAndKeysSelectRectanglesOfShownCellsOnly) {
    ShowAllRows();
    Drag(Map(1, 1), Map(3, 4));
    EXPECT_EQ(Selected(), MapSelection::Spanning(1, 1, 3, 4));
    EXPECT_EQ(Map(2, 2)->palette().color(QPalette::Base), ToQColor(SelectedBlue));
    EXPECT_NE(Map(2, 2)->palette().color(QPalette::Base), Map(6, 6)->palette().color(QPalette::Base));

    QTest::mouseClick(Map(5, 5), Qt::LeftButton); // one cell
    EXPECT_EQ(Selected(), MapSelection::Single(5, 5));
    QTest::mouseClick(Map(7, 2), Qt::LeftButton, Qt::ShiftModifier); // extends from the focused cell
    EXPECT_EQ(Selected(), MapSelection::Spanning(5, 2, 7, 5));
    EXPECT_EQ(QApplication::focusWidget(), Map(5, 5));
    Press(Qt::Key_Right, Qt::ShiftModifier);
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), MapSelection::Spanning(5, 3, 8, 5));
    Press(Qt::Key_Escape);
    EXPECT_EQ(Selected(), MapSelection::Single(5, 5));
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), MapSelection::WholeMap(true));
    // Shift+Down with the arrow keys does not step the value.
    EXPECT_EQ(Map(5, 5)->text(), TUpDown::FormatValue(Cell(5, 5), QLocale()));

    // TP Enable off: rows 1..9 are hidden and drop out; Ctrl+A takes row 0 alone.
    QStyleOptionButton option;
    option.initFrom(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
    QTest::mouseClick(Control<TCheckBox>(*Form, "CheckBoxTpEnable"), Qt::LeftButton, {},
                      Control<TCheckBox>(*Form, "CheckBoxTpEnable")->style()
                          ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, Control<TCheckBox>(*Form, "CheckBoxTpEnable"))
                          .center());
    QTest::mouseClick(Map(0, 3), Qt::LeftButton);
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), MapSelection::WholeMap(false));
}

TEST_F(MapSelectionWindowTest, EnterGivesTheTypedValueToEverySelectedCell) {
    ShowAllRows();
    Drag(Map(2, 3), Map(4, 6));
    ASSERT_EQ(Selected(), MapSelection::Spanning(2, 3, 4, 6));
    ASSERT_EQ(QApplication::focusWidget(), Map(2, 3));
    QApplication::processEvents();
    EXPECT_EQ(Map(2, 3)->selectedText(), Map(2, 3)->text()) << "typing replaces the first field's text";
    Type(QStringLiteral("3210"));
    Press(Qt::Key_Return);
    for (int r = 2; r <= 4; ++r)
        for (int c = 3; c <= 6; ++c)
            EXPECT_EQ(Cell(r, c), 3200) << r << "," << c;
    EXPECT_NE(Cell(1, 3), 3200);
    EXPECT_TRUE(Status().contains(QStringLiteral("3,200"))) << Status().toStdString();
    // One step of the undo history for all twelve.
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(Cell(2, 3), 3200);
    EXPECT_NE(Cell(4, 6), 3200);
}

TEST_F(MapSelectionWindowTest, ScaleAndInterpolateAreOneUndoStepEach) {
    ShowAllRows();
    Enter(Map(3, 1), QStringLiteral("1000"));
    QTest::mouseDClick(Map(3, 5), Qt::LeftButton);
    Type(QStringLiteral("3000")); // typed, not confirmed: the operation takes it first
    QTest::mouseClick(Map(3, 1), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(Selected(), MapSelection::Spanning(3, 1, 3, 5));
    Press(Qt::Key_R, Qt::ControlModifier); // Interpolate across RPM
    SCOPED_TRACE(Status().toStdString());
    // The axis 1000, 2000, 3000, 4000, 6000 RPM: linear in RPM between the two ends.
    EXPECT_EQ(Cell(3, 1), 1000);
    EXPECT_EQ(Cell(3, 5), 3000);
    EXPECT_EQ(Cell(3, 2), 1400);
    EXPECT_EQ(Cell(3, 3), 1800);
    EXPECT_EQ(Cell(3, 4), 2200);

    Prompts.Numbers.push_back(105.0);
    Press(Qt::Key_M, Qt::ControlModifier); // Scale by %
    ASSERT_EQ(Prompts.NumberLabels.size(), 1);
    EXPECT_EQ(Cell(3, 1), 1060); // 1050, to the nearest 20 mV step (halves up)
    EXPECT_EQ(Cell(3, 5), 3160); // 3150
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(3, 1), 1000);
    EXPECT_EQ(Cell(3, 3), 1800);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(3, 3), 20 * Form->Parameters().History.HistoryRestore().Image.MapCell(0, 3, 3));
    EXPECT_EQ(Cell(3, 5), 3000) << "the typed 3000 was its own step before the interpolation";

    // A cancelled prompt changes nothing.
    const DeviceImage before = Form->Parameters().Image;
    Press(Qt::Key_E, Qt::ControlModifier); // Set value…, no answer scripted
    EXPECT_EQ(Form->Parameters().Image, before);
}

TEST_F(MapSelectionWindowTest, CopyGivesASpreadsheetTableAndPasteTakesItBackWhole) {
    ShowAllRows();
    Enter(Map(0, 0), QStringLiteral("1200"));
    Enter(Map(0, 1), QStringLiteral("1340"));
    QTest::mouseClick(Map(0, 0), Qt::LeftButton);
    QTest::mouseClick(Map(1, 1), Qt::LeftButton, Qt::ShiftModifier);
    Press(Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("1200\t1340"));

    // The block pasted at another cell; CR LF and semicolons as a spreadsheet may write them.
    QApplication::clipboard()->setText(QStringLiteral("2000;2100\r\n2200;2300\r\n"));
    QTest::mouseClick(Map(5, 7), Qt::LeftButton);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(5, 7), 2000);
    EXPECT_EQ(Cell(5, 8), 2100);
    EXPECT_EQ(Cell(6, 7), 2200);
    EXPECT_EQ(Cell(6, 8), 2300);
    EXPECT_EQ(Selected(), MapSelection::Spanning(5, 7, 6, 8)) << "the pasted block is selected";

    // A bad cell: nothing changes, and the status bar names it by row and RPM.
    const DeviceImage before = Form->Parameters().Image;
    QApplication::clipboard()->setText(QStringLiteral("2000\t2100\n2200\tabc\n"));
    QTest::mouseClick(Map(2, 2), Qt::LeftButton);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image, before);
    EXPECT_TRUE(Status().contains(QStringLiteral("abc"))) << Status().toStdString();
    EXPECT_TRUE(Status().contains(QStringLiteral("10%"))) << Status().toStdString(); // the second line: row 3
    EXPECT_TRUE(Status().contains(QStringLiteral("3000"))) << Status().toStdString(); // column 3 is 3000 RPM

    // Binary and a huge text are refused as well.
    for (const QString& junk : {QString::fromLatin1("\x01\x02\x03", 3), QString(2 << 20, QLatin1Char('7'))}) {
        QApplication::clipboard()->setText(junk);
        Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Form->Parameters().Image, before);
    }
}

TEST_F(MapSelectionWindowTest, RefusedAndAdjustedEntriesAreSaidInTheStatusBar) {
    struct Case {
        const char* Typed;
        const char* Said; // part of the status-bar message
        int Kept;         // mV the cell holds afterwards (0: what it held)
    };
    const int held = Cell(0, 9);
    for (const Case& c : {Case{"12a", "\"12a\" is not a number", 0}, Case{"9999", "outside 0 to 5,000", 0},
                          Case{"2510", "stored as 2,500", 2500}}) {
        SCOPED_TRACE(c.Typed);
        Enter(Map(0, 9), QString::fromLatin1(c.Typed));
        EXPECT_TRUE(Status().contains(QString::fromLatin1(c.Said))) << Status().toStdString();
        EXPECT_EQ(Cell(0, 9), c.Kept ? c.Kept : held);
        EXPECT_EQ(Map(0, 9)->text(), TUpDown::FormatValue(Cell(0, 9), QLocale()))
            << "the field shows what is kept";
    }
    // A paste says what it cut to the step, as typing does.
    QApplication::clipboard()->setText(QStringLiteral("2222\t2333"));
    QTest::mouseClick(Map(0, 9), Qt::LeftButton);
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, 9), 2220);
    EXPECT_EQ(Cell(0, 10), 2320);
    EXPECT_EQ(Status(), QStringLiteral("Cells pasted: 2; 2 not as pasted: 2222 is stored as 2,220 (the unit keeps steps of 20)"));
}

TEST_F(MapSelectionWindowTest, CtrlSSavesAndCtrlOOpensAsF2AndF3Do) {
    const QString file = QDir(Dir.path()).filePath(QStringLiteral("tune.ign"));
    Prompts.Paths.push_back(file);
    QTest::mouseClick(Map(0, 0), Qt::LeftButton);
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFileInfo::exists(file));
    Prompts.Paths.push_back(file);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Prompts.LastDialog.DefaultExtension, QStringLiteral("ign"));
    EXPECT_TRUE(Prompts.Paths.empty()) << "the open dialog was asked";
}

} // namespace
} // namespace zevo
