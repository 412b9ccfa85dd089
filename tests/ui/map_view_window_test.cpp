// The View menu on the shown window with the unit model on its line: colours by value, the engine's
// trail, F6, greyed values while the unit is silent, the servo curves window, and a dark theme.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <memory>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "link/link_engine.h"
#include "model_line.h"
#include "params/map_look.h"
#include "ui/cgauge.h"
#include "ui/controls.h"
#include "ui/map_painter.h"
#include "ui/servo_curves_window.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;
using testing::Find;

class MapViewWindowTest : public FormFixture {
protected:
    ModelLine Model;
    std::unique_ptr<TFormHlav> Form;
    QLocale SavedLocale;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Line = &Model;
        WriteSettings("");
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void TearDown() override {
        Form.reset();
        QLocale::setDefault(SavedLocale);
    }
    void WriteSettings(const QByteArray& more) {
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[FORM_HLAV]\nComPort=1\n" + more); // the unit is on COM1
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            Model.Advance(55);
            Form->Timer1Timer();
        }
    }
    void ClickTab(int index) {
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(Control<QTabWidget>(*Form, "PageControl1")->currentIndex(), index);
    }
    void ClickCheckBox(QCheckBox* box) {
        QStyleOptionButton option;
        option.initFrom(box);
        QTest::mouseClick(box, Qt::LeftButton, {},
                          box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
    }
    // Servo 1 with all ten rows, the engine held in the 30 % row (5) at 4000 RPM (axis point 4).
    void ServoPageWithEngine() {
        ClickTab(1);
        if (!Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked())
            ClickCheckBox(Control<TCheckBox>(*Form, "CheckBoxTpEnable"));
        ASSERT_TRUE(Control<TCheckBox>(*Form, "CheckBoxTpEnable")->isChecked());
        Model.Unit.HoldEngine(4000, 30);
        Ticks(12);
        ASSERT_EQ(Form->LiveCell(), std::make_optional(std::make_pair(5, 4)));
    }
    TEdit* Map(int r, int c) const {
        return Control<TEdit>(*Form, QStringLiteral("EditMap%1_%2").arg(r).arg(c));
    }
    static QColor Base(const QWidget* w) { return w->palette().color(QPalette::Base); }
    static QColor TextOf(const QWidget* w) { return w->palette().color(QPalette::Text); }
    void Enter(TEdit* field, const QString& text) {
        QTest::mouseDClick(field, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
};

const QColor Lime(0, 255, 0);

TEST_F(MapViewWindowTest, ColoursByValueFollowTheMapAndItsEdits) {
    ServoPageWithEngine();
    const QColor plain = Form->palette().color(QPalette::Base);
    EXPECT_FALSE(Control<QAction>(*Form, "MenuColourByValue")->isChecked()) << "the design's look by default";
    EXPECT_EQ(Base(Map(0, 0)), plain);

    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    ASSERT_TRUE(Control<QAction>(*Form, "MenuColourByValue")->isChecked());
    // The default map rises along the RPM axis: the lowest column is the scale's dark end, the
    // highest its yellow end, with digits that read on each.
    EXPECT_EQ(Base(Map(0, 0)), ToQColor(ValueScale(0.0)));
    EXPECT_EQ(Base(Map(0, 14)), ToQColor(ValueScale(1.0)));
    EXPECT_EQ(TextOf(Map(0, 0)), QColor(Qt::white));
    EXPECT_EQ(TextOf(Map(0, 14)), QColor(Qt::black));
    EXPECT_EQ(Base(Map(5, 4)), Lime) << "the live cell stays lime on top";

    // A value typed above the map's range takes the top of the scale; the old top moves down.
    Enter(Map(2, 7), QStringLiteral("5000"));
    ASSERT_EQ(Form->Parameters().Image.MapCell(0, 2, 7), 250);
    EXPECT_EQ(Base(Map(2, 7)), ToQColor(ValueScale(1.0)));
    EXPECT_NE(Base(Map(0, 14)), ToQColor(ValueScale(1.0)));

    // A selected block shows the selection over the colours.
    QTest::mouseClick(Map(7, 10), Qt::LeftButton);
    QTest::mouseClick(Map(8, 12), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Base(Map(8, 11)), ToQColor(SelectedBlue));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_NE(Base(Map(8, 11)), ToQColor(SelectedBlue));

    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    EXPECT_EQ(Base(Map(0, 0)), plain);
    EXPECT_EQ(Base(Map(2, 7)), plain);
    EXPECT_EQ(Base(Map(5, 4)), Lime);
}

TEST_F(MapViewWindowTest, TheTrailFadesBehindTheEngine) {
    ServoPageWithEngine();
    const QColor plain = Form->palette().color(QPalette::Base);
    ASSERT_FALSE(Control<QAction>(*Form, "MenuTrail")->isChecked()) << "off by default: the design's plain map";
    Control<QAction>(*Form, "MenuTrail")->trigger();
    Model.Unit.HoldEngine(6000, 30); // one point up the axis: column 5
    Ticks(12);
    ASSERT_EQ(Base(Map(5, 5)), Lime);
    const QColor justLeft = Base(Map(5, 4));
    EXPECT_NE(justLeft, plain);
    EXPECT_NE(justLeft, Lime);
    // Cells selected where the engine has just been are plainly blue: the selection is what the
    // next key acts on.
    QTest::mouseClick(Map(4, 4), Qt::LeftButton);
    QTest::mouseClick(Map(5, 4), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Base(Map(5, 4)), ToQColor(SelectedBlue));
    EXPECT_EQ(Base(Map(4, 4)), ToQColor(SelectedBlue));
    QTest::mouseClick(Map(0, 0), Qt::LeftButton);
    ASSERT_EQ(Base(Map(5, 4)), justLeft);

    Ticks(30);
    const QColor older = Base(Map(5, 4));
    EXPECT_NE(older, justLeft) << "fading";
    EXPECT_NE(older, plain);
    Ticks(30);
    EXPECT_EQ(Base(Map(5, 4)), plain) << "gone after three seconds";

    // Off: the cells the engine left are plain at once.
    Model.Unit.HoldEngine(4000, 30);
    Ticks(12);
    ASSERT_NE(Base(Map(5, 5)), plain);
    Control<QAction>(*Form, "MenuTrail")->trigger();
    EXPECT_EQ(Base(Map(5, 5)), plain);
    EXPECT_EQ(Base(Map(5, 4)), Lime);

    // The other servo has axes of its own: the trail does not follow the page switch.
    Control<QAction>(*Form, "MenuTrail")->trigger();
    ClickTab(2);
    for (int r = 0; r < MapRows; ++r) {
        for (int c = 0; c < MapColumns; ++c) {
            if (!Map(r, c)->isHidden() && Base(Map(r, c)) != Lime) {
                EXPECT_EQ(Base(Map(r, c)), plain) << r << "," << c;
            }
        }
    }
}

TEST_F(MapViewWindowTest, SilentUnitGreysTheValuesAndKeepsItsLastCellMarkedForTheTools) {
    ServoPageWithEngine();
    Model.Unit.HoldEngine(6000, 30);
    Ticks(12);
    const QColor text = Control<TLabel>(*Form, "LabelRpm")->palette().color(QPalette::WindowText);
    const QString rpm = Control<TLabel>(*Form, "LabelRpm")->Caption();
    ASSERT_FALSE(Control<TCGauge>(*Form, "CGaugeRpm")->IsStale());

    Model.Unit.SetSilent(true);
    Ticks(20);
    ASSERT_FALSE(Control<TLabel>(*Form, "LabelSpojeni")->isHidden());
    EXPECT_EQ(Control<TLabel>(*Form, "LabelRpm")->Caption(), rpm) << "the last value stays";
    EXPECT_NE(Control<TLabel>(*Form, "LabelRpm")->palette().color(QPalette::WindowText), text) << "greyed";
    EXPECT_TRUE(Control<TCGauge>(*Form, "CGaugeRpm")->IsStale());
    // The cell the engine was in last stays marked, and it is the one the tools step.
    for (int r = 0; r < MapRows; ++r)
        for (int c = 0; c < MapColumns; ++c)
            EXPECT_EQ(Base(Map(r, c)) == Lime, r == 5 && c == 5) << r << "," << c;
    QTest::keyClick(Form.get(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), Map(5, 5));
    const std::uint8_t before = Form->Parameters().Image.MapCell(0, 5, 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 5, 5), before - 1);

    Model.Unit.SetSilent(false);
    Ticks(12);
    EXPECT_TRUE(Control<TLabel>(*Form, "LabelSpojeni")->isHidden());
    EXPECT_EQ(Control<TLabel>(*Form, "LabelRpm")->palette().color(QPalette::WindowText), text);
    EXPECT_FALSE(Control<TCGauge>(*Form, "CGaugeRpm")->IsStale());
    EXPECT_EQ(Base(Map(5, 5)), Lime);
}

// The design's keys act from the tool's other windows too: with the curves floating in front, F4 steps the
// live cell, Ctrl+Z takes it back, and F6 brings the map with the cursor in that cell.
TEST_F(MapViewWindowTest, TheDesignsKeysActWithAToolWindowInFront) {
    ServoPageWithEngine();
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    // Torn off into a window of its own and clicked, it is in front, as it is for a person.
    testing::FloatInFront(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"));
    const std::uint8_t before = Form->Parameters().Image.MapCell(0, 5, 4);
    QTest::keyClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), Qt::Key_F4);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 5, 4), before - 1);
    QTest::keyClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 5, 4), before);
    QTest::keyClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), Qt::Key_F6);
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == Form.get(); }));
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == Map(5, 4); }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
}

TEST_F(MapViewWindowTest, F6TakesTheFocusToTheLiveCell) {
    Ticks(12);
    QTest::keyClick(Form.get(), Qt::Key_F6);
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), QStringLiteral("The live cell is shown on the servo pages"));

    ServoPageWithEngine();
    QTest::mouseClick(Map(0, 0), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), Map(5, 4));
    // From there the tools step the cell the focus is in, as a person expects.
    const std::uint8_t before = Form->Parameters().Image.MapCell(0, 5, 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    EXPECT_EQ(Form->Parameters().Image.MapCell(0, 5, 4), before + 1);
}

TEST_F(MapViewWindowTest, ChoicesAreKeptInTheSettingsFile) {
    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    Control<QAction>(*Form, "MenuTrail")->trigger();
    Form->close();
    Form.reset();
    QFile file(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)); // "\r\n" on Windows
    const QByteArray text = file.readAll();
    file.close(); // Windows replaces no file another program holds open
    EXPECT_TRUE(text.contains("[VIEW]\nColourByValue=1\nTrail=1\nServoCurves=0\n")) << text.constData();
    EXPECT_TRUE(text.contains("[FORM_HLAV]\n")) << "the design's keys stay";

    Form = StartShown({QStringLiteral("ENGLISH")});
    EXPECT_TRUE(Control<QAction>(*Form, "MenuColourByValue")->isChecked());
    EXPECT_TRUE(Control<QAction>(*Form, "MenuTrail")->isChecked());
    ClickTab(1);
    // Before the unit's first frame the first cell is the engine's; the others wear their values.
    EXPECT_EQ(Base(Map(0, 0)), Lime);
    EXPECT_NE(Base(Map(0, 14)), Form->palette().color(QPalette::Base));

    // The curves window left open comes back after the first paint, not before it.
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    Form->close();
    Form.reset();
    Form = Start({QStringLiteral("ENGLISH")});
    EXPECT_EQ(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), nullptr);
    Form->show();
    EXPECT_EQ(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow") && Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->isVisible(); }));
}

TEST_F(MapViewWindowTest, ViewMenuComesAfterToolsInEveryLanguage) {
    QStringList titles;
    for (QAction* menu : Form->menuBar()->actions())
        titles << menu->text();
    ASSERT_GE(titles.indexOf(Control<QMenu>(*Form, "MenuTools")->title()), 0);
    EXPECT_EQ(titles.indexOf(QStringLiteral("View")), titles.indexOf(Control<QMenu>(*Form, "MenuTools")->title()) + 1);
    Control<QAction>(*Form, "MenuGerman")->trigger();
    EXPECT_EQ(Control<QMenu>(*Form, "MenuView")->title(), QStringLiteral("Ansicht"));
    Control<QAction>(*Form, "MenuCzech")->trigger();
    EXPECT_EQ(Control<QMenu>(*Form, "MenuView")->title(), QStringLiteral("Zobrazit"));
    EXPECT_EQ(Control<QAction>(*Form, "MenuJumpToLive")->shortcut(), QKeySequence(Qt::Key_F6));
}

TEST_F(MapViewWindowTest, CurvesFollowEditsTabsAndTheEngine) {
    EXPECT_EQ(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), nullptr) << "built on first use only";
    ServoPageWithEngine();
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    ASSERT_NE(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow"), nullptr);
    ServoCurvesWindow& curves = *Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow");
    EXPECT_TRUE(curves.isVisible());
    QCustomPlot* plot = curves.Plot();
    auto rowGraph = [plot](int row) { return plot->graph(2 + row); };
    ASSERT_EQ(plot->graphCount(), 2 + MapRows) << "two marks and ten throttle rows";
    EXPECT_EQ(rowGraph(3)->name(), QStringLiteral("Throttle 10 %"));
    EXPECT_EQ(rowGraph(3)->data()->at(6)->key, 100.0 * Form->Parameters().Image.RpmAxis(0, 6));
    EXPECT_EQ(curves.Shown().Live, (CurvePoint{4000, 20 * Form->Parameters().Image.MapCell(0, 5, 4)}));

    // A typed value moves its point.
    Enter(Map(3, 6), QStringLiteral("4400"));
    EXPECT_EQ(rowGraph(3)->data()->at(6)->value, 4400.0);
    // Selected cells are marked.
    QTest::mouseClick(Map(1, 1), Qt::LeftButton);
    QTest::mouseClick(Map(2, 3), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(curves.Shown().Selected.size(), 6u);
    EXPECT_EQ(plot->graph(0)->dataCount(), 6);
    // The engine moves: so does the live point.
    Model.Unit.HoldEngine(6000, 30);
    Ticks(12);
    EXPECT_EQ(curves.Shown().Live->Rpm, 6000);
    EXPECT_EQ(plot->graph(1)->data()->at(0)->key, 6000.0);

    // Servo 2 without TP Enable: one curve, its own values and title.
    ClickTab(2);
    EXPECT_EQ(curves.Shown().Servo, 1);
    ASSERT_EQ(plot->graphCount(), 2 + 1);
    EXPECT_EQ(rowGraph(0)->data()->at(2)->value, 20.0 * Form->Parameters().Image.MapCell(1, 0, 2));
    EXPECT_EQ(curves.windowTitle(), QStringLiteral("Servo curves – servo 2"));
    EXPECT_TRUE(curves.Shown().Selected.empty()) << "a page switch clears the selection";
    // Per cent: the target axis says so.
    ClickCheckBox(Control<TCheckBox>(*Form, "CheckBoxProcenta"));
    EXPECT_TRUE(curves.Shown().PerCent);
    EXPECT_EQ(plot->yAxis->label(), QStringLiteral("Target [%]"));

    // On the Miscellaneous page the chart keeps its servo and still follows the set: a file opened
    // there shows at once.
    ClickTab(0);
    const ServoCurves before = curves.Shown();
    Prompts.Paths.push_back(QStringLiteral(ZEVO_TEST_DATA "/default_set.ign"));
    Prompts.Answers.push_back(PromptAnswer::No); // the edits above need not be saved
    Control<QAction>(*Form, "MenuOpen")->trigger();
    ASSERT_TRUE(Prompts.Messages.isEmpty()) << Prompts.Messages.join('\n').toStdString();
    EXPECT_EQ(curves.Shown().Servo, 1);
    EXPECT_NE(curves.Shown().Rows, before.Rows);
    EXPECT_FALSE(curves.Shown().PerCent) << "the file's servo 2 is in mV";
}

TEST_F(MapViewWindowTest, CurvesAreSavedAsPng) {
    ClickTab(1);
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    const QString path = QDir(Dir.path()).filePath(QStringLiteral("curves.png"));
    Prompts.Paths.push_back(path);
    QTest::mouseClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(Prompts.LastDialog.DefaultExtension, QStringLiteral("png"));
    QFile png(path);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->LastOutcome(), QStringLiteral("Chart saved: ") + path);
    EXPECT_EQ(Control<QStatusBar>(*Form, "StatusBar1")->currentMessage(), Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->LastOutcome()) << "said where the user looks";

    // A folder that is not there: a message naming the file, no crash, nothing written.
    const QString nowhere = QDir(Dir.path()).filePath(QStringLiteral("gone/curves.png"));
    Prompts.Paths.push_back(nowhere);
    QTest::mouseClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("The chart could not be saved to ") + nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(MapViewWindowTest, ThePrintoutShowsTheColoursOfTheScreen) {
    QImage printed;
    Form.reset();
    PrintPage = [&printed](const QImage& page) {
        printed = page;
        return PrintOutcome{};
    };
    Form = StartShown({QStringLiteral("ENGLISH")});
    ServoPageWithEngine();
    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    QTest::mouseClick(Control<QToolButton>(*Form, "SpeedButtonPrint"), Qt::LeftButton);
    ASSERT_FALSE(printed.isNull());
    // The page is the window's client area as drawn: a cell's lower right corner, inside its frame and
    // below its digits, carries its value colour (a font without digits draws wide boxes instead).
    auto colourAt = [&](TEdit* cell) {
        const QPoint inside = cell->mapTo(Control<QWidget>(*Form, "ClientArea"), QPoint(cell->width() - 4, cell->height() - 4));
        return printed.pixelColor(inside * printed.devicePixelRatio());
    };
    EXPECT_EQ(colourAt(Map(0, 0)), ToQColor(ValueScale(0.0)));
    EXPECT_EQ(colourAt(Map(0, 14)), ToQColor(ValueScale(1.0)));
}

// ---- a dark desktop theme ---------------------------------------------------------------------

// The colour a widget's text is drawn on: its own fill, else the nearest filled parent's.
QColor BackgroundUnder(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget))
        return widget->palette().color(QPalette::Base);
    if (qobject_cast<const QPushButton*>(widget))
        return widget->palette().color(QPalette::Button);
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return widget->palette().color(QPalette::Window);
}

QColor TextColourOf(const QWidget* widget) {
    if (qobject_cast<const QLineEdit*>(widget))
        return widget->palette().color(QPalette::Text);
    if (qobject_cast<const QPushButton*>(widget))
        return widget->palette().color(QPalette::ButtonText);
    return widget->palette().color(QPalette::WindowText);
}

class DarkThemeTest : public MapViewWindowTest {
protected:
    QPalette Saved;
    void SetUp() override {
        Saved = QApplication::palette();
        QPalette dark;
        const QColor face(45, 45, 48), field(30, 30, 30), light(232, 232, 232);
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            dark.setColor(group, QPalette::Window, face);
            dark.setColor(group, QPalette::WindowText, light);
            dark.setColor(group, QPalette::Base, field);
            dark.setColor(group, QPalette::AlternateBase, face);
            dark.setColor(group, QPalette::Text, light);
            dark.setColor(group, QPalette::Button, QColor(60, 60, 64));
            dark.setColor(group, QPalette::ButtonText, light);
            dark.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
            dark.setColor(group, QPalette::HighlightedText, Qt::white);
            dark.setColor(group, QPalette::ToolTipBase, face);
            dark.setColor(group, QPalette::ToolTipText, light);
        }
        QApplication::setPalette(dark);
        MapViewWindowTest::SetUp();
    }
    void TearDown() override {
        MapViewWindowTest::TearDown();
        QApplication::setPalette(Saved);
    }
    // Every text the window shows now reads on what lies under it.
    void ExpectReadable(const char* state) {
        int checked = 0;
        for (QWidget* widget : Form->findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->window() != Form.get())
                continue;
            if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QLineEdit*>(widget) &&
                !qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QGroupBox*>(widget))
                continue;
            const double ratio = ContrastRatio(ToRgb(TextColourOf(widget)), ToRgb(BackgroundUnder(widget)));
            EXPECT_GE(ratio, 4.5) << state << ": " << widget->objectName().toStdString() << " ("
                                  << widget->metaObject()->className() << ") text "
                                  << TextColourOf(widget).name().toStdString() << " on "
                                  << BackgroundUnder(widget).name().toStdString();
            ++checked;
        }
        EXPECT_GT(checked, 50) << state;
    }
};

TEST_F(DarkThemeTest, EveryTextReadsInEveryState) {
    ExpectReadable("the general page");
    ServoPageWithEngine();
    ClickCheckBox(Control<TCheckBox>(*Form, "CheckBoxProgHned")); // red from the next refresh on
    ASSERT_TRUE(Control<TCheckBox>(*Form, "CheckBoxProgHned")->isChecked());
    Enter(Map(9, 9), QStringLiteral("3000"));
    ASSERT_EQ(Control<TCheckBox>(*Form, "CheckBoxProgHned")->palette().color(QPalette::Window), QColor(255, 0, 0));
    ExpectReadable("programming after every change");
    ClickCheckBox(Control<TCheckBox>(*Form, "CheckBoxProgHned"));
    Ticks(100); // the Program that edit started runs to its end

    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    Model.Unit.HoldEngine(6000, 30);
    Ticks(12); // a trail cell
    QTest::mouseClick(Map(7, 10), Qt::LeftButton);
    QTest::mouseClick(Map(8, 12), Qt::LeftButton, Qt::ShiftModifier);
    ExpectReadable("engine running, colours, trail and a selection");

    Control<QAction>(*Form, "MenuColourByValue")->trigger();
    ExpectReadable("plain fields");

    Model.Unit.SetSilent(true);
    Ticks(20);
    ASSERT_FALSE(Control<TLabel>(*Form, "LabelSpojeni")->isHidden());
    ExpectReadable("the unit silent: greyed values, no connection");

    Control<QAction>(*Form, "MenuRead")->trigger(); // fails against a silent unit: the red error
    Ticks(40);
    ASSERT_EQ(Control<TLabel>(*Form, "LabelHlaseni")->palette().color(QPalette::Window), QColor(255, 0, 0));
    ASSERT_FALSE(Control<TLabel>(*Form, "LabelHlaseni")->isHidden());
    ExpectReadable("a failed read");
}

} // namespace
} // namespace zevo
