// The small widgets the window is built from: the edit with its up-down spinner, the gauge, the
// tool-bar glyphs and the file-dialog set-up. Driven through real key presses and mouse clicks.
#include "ui/cgauge.h"
#include "ui/glyphs.h"
#include "ui/prompter.h"
#include "ui/up_down.h"

#include <QFileDialog>
#include <QImage>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <climits>
#include <optional>

using namespace zevo;

namespace {

// The number format follows the default locale; every test that changes it puts the old one back.
class DefaultLocale {
public:
    explicit DefaultLocale(const char* name) : Saved(QLocale()) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~DefaultLocale() { QLocale::setDefault(Saved); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale Saved;
};

const QString Nbsp = QString(QChar(0x00A0));
const QString NarrowNbsp = QString(QChar(0x202F));

// An edit that counts the keys that reach it, to tell whether the spinner swallowed one.
class CountingEdit : public TEdit {
public:
    using TEdit::TEdit;
    int Keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++Keys;
        TEdit::keyPressEvent(event);
    }
};

// One edit with its spinner at its right, on a shown window, as on the servo page.
struct SpinnerPage {
    QWidget Window;
    CountingEdit* Edit = new CountingEdit(&Window);
    TUpDown* Spinner = new TUpDown(&Window);

    SpinnerPage(int min, int max, int step) {
        Window.resize(200, 100);
        Edit->setGeometry(44, 21, 40, 21);
        Spinner->move(84, 21);
        Spinner->SetRange(min, max);
        Spinner->SetIncrement(step);
        Spinner->SetAssociate(Edit);
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
        Edit->setFocus();
    }

    QToolButton* Arrow(Qt::ArrowType type) const {
        for (QToolButton* button : Spinner->findChildren<QToolButton*>())
            if (button->arrowType() == type)
                return button;
        return nullptr;
    }
    QToolButton* Up() const { return Arrow(Qt::UpArrow); }
    QToolButton* Down() const { return Arrow(Qt::DownArrow); }

    void Type(const QString& text) {
        Edit->clear();
        QTest::keyClicks(Edit, text);
    }
};

} // namespace

// ---- number text -------------------------------------------------------------------------------

struct FormatCase {
    const char* Locale;
    int Value;
    QString Text;
};

TEST(UpDownText, WritesGroupSeparatorsFromThousandUpAsTheLocaleDoes) {
    const FormatCase cases[] = {
        // The C locale leaves group separators out altogether.
        {"C", 999, "999"},
        {"C", 1000, "1000"},
        {"C", 2600, "2600"},
        {"C", 25000, "25000"},
        {"en_US", 999, "999"},
        {"en_US", 1000, "1,000"},
        {"en_US", 2600, "2,600"},
        {"en_US", 25000, "25,000"},
        {"cs_CZ", 999, "999"},
        {"cs_CZ", 1000, "1" + Nbsp + "000"},
        {"cs_CZ", 2600, "2" + Nbsp + "600"},
        {"cs_CZ", 25000, "25" + Nbsp + "000"},
        {"de_DE", 999, "999"},
        {"de_DE", 1000, "1.000"},
        {"de_DE", 2600, "2.600"},
        {"de_DE", 25000, "25.000"},
        {"en_US", 0, "0"},
    };
    for (const FormatCase& c : cases) {
        const QLocale locale(QString::fromLatin1(c.Locale));
        EXPECT_EQ(TUpDown::FormatValue(c.Value, locale), c.Text) << c.Locale << " " << c.Value;
    }
}

TEST(UpDownText, EveryWrittenValueReadsBack) {
    for (const char* name : {"C", "en_US", "cs_CZ", "de_DE", "fr_FR", "de_CH", "ar_EG", "hi_IN"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (int value : {0, 5, 999, 1000, 2500, 2600, 4900, 12345, 25000, 1234567}) {
            EXPECT_EQ(TUpDown::ParseText(TUpDown::FormatValue(value, locale), locale), value)
                << name << " " << value << " written as "
                << TUpDown::FormatValue(value, locale).toStdString();
        }
    }
}

struct ParseCase {
    const char* Locale;
    QString Text;
    std::optional<int> Value;
};

TEST(UpDownText, ReadsWholeNumbersWithTheLocaleGroupSeparatorRemoved) {
    const ParseCase cases[] = {
        // Space-grouping locales: what Qt writes (no-break spaces) and what a user types (a space).
        {"cs_CZ", "2 600", 2600},
        {"cs_CZ", "2" + Nbsp + "600", 2600},
        {"cs_CZ", "2" + NarrowNbsp + "600", 2600},
        {"fr_FR", "25 000", 25000},
        {"fr_FR", "25" + Nbsp + "000", 25000},
        {"en_US", "2,600", 2600},
        {"en_US", "2600", 2600},
        // Separators are removed wherever they stand, not checked for their place.
        {"en_US", "26,00", 2600},
        {"de_DE", "2.600", 2600},
        // Another locale's separator is not one: a space in en_US, a comma in de_DE (its decimal mark).
        {"en_US", "2 600", std::nullopt},
        {"de_DE", "2,600", std::nullopt},
        {"cs_CZ", "2,600", std::nullopt},
        {"en_US", "4.5", std::nullopt},
        // Not a whole decimal number.
        {"en_US", "12a", std::nullopt},
        {"en_US", "a12", std::nullopt},
        {"en_US", "0x10", std::nullopt},
        {"en_US", "1e3", std::nullopt},
        {"en_US", "-", std::nullopt},
        {"en_US", "+", std::nullopt},
        {"en_US", "--5", std::nullopt},
        {"en_US", "5-", std::nullopt},
        {"en_US", "99999999999", std::nullopt},
        {"en_US", "2147483648", std::nullopt},
        // An empty field counts as 0; blanks around the number do not matter.
        {"en_US", "", 0},
        {"en_US", "   ", 0},
        {"en_US", " 42 ", 42},
        {"en_US", "\t2,600\n", 2600},
        {"cs_CZ", " 2 600 ", 2600},
        // A sign is read; the spinner's range decides whether the value is taken.
        {"en_US", "-5", -5},
        {"en_US", "+7", 7},
        {"en_US", "-0", 0},
        {"en_US", "007", 7},
        {"en_US", "2147483647", INT_MAX},
        {"en_US", "-2147483648", INT_MIN},
        {"C", "2600", 2600},
        {"C", "2,600", 2600},
    };
    for (const ParseCase& c : cases) {
        const QLocale locale(QString::fromLatin1(c.Locale));
        EXPECT_EQ(TUpDown::ParseText(c.Text, locale), c.Value)
            << c.Locale << " \"" << c.Text.toStdString() << "\"";
    }
}

// ---- reading the position from the field ----------------------------------------------------------

struct TypedCase {
    QString Typed;
    int Position; // what Position() gives afterwards; the position before typing is 2600
};

TEST(UpDownPosition, ReadsWhatWasTypedWhenItIsAValueOfTheRange) {
    DefaultLocale english("en_US");
    const TypedCase cases[] = {
        {"2610", 2610},  {"4,000", 4000}, {"5000", 5000},
        {"0", 0},        {"", 0},         {"6000", 2600}, // above the maximum: the previous value stands
        {"-5", 2600},                                     // below the minimum
        {"12a", 2600},                                    // not a number
        {"2 610", 2600},                                  // a space is no separator in English
    };
    for (const TypedCase& c : cases) {
        SpinnerPage page(0, 5000, 20);
        page.Spinner->SetPosition(2600);
        page.Type(c.Typed);
        EXPECT_EQ(page.Edit->text(), c.Typed);
        EXPECT_EQ(page.Spinner->Position(), c.Position) << "typed \"" << c.Typed.toStdString() << "\"";
        // Reading never rewrites the field: the refresh after a change does that.
        EXPECT_EQ(page.Edit->text(), c.Typed);
    }
}

TEST(UpDownPosition, SpaceTypedInACzechFieldIsAGroupSeparator) {
    DefaultLocale czech("cs_CZ");
    SpinnerPage page(0, 25000, 100);
    page.Type("12 300");
    EXPECT_EQ(page.Spinner->Position(), 12300);
}

TEST(UpDownPosition, SetPositionClampsAndWritesTheFieldWithoutClick) {
    DefaultLocale english("en_US");
    SpinnerPage page(2500, 4900, 10);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    const struct {
        int Set, Position;
        QString Text;
    } cases[] = {
        {2600, 2600, "2,600"}, {0, 2500, "2,500"}, {255 * 10 + 2500, 4900, "4,900"}, {4900, 4900, "4,900"}};
    for (const auto& c : cases) {
        page.Spinner->SetPosition(c.Set);
        EXPECT_EQ(page.Spinner->Position(), c.Position) << c.Set;
        EXPECT_EQ(page.Edit->text(), c.Text) << c.Set;
    }
    EXPECT_EQ(clicks.count(), 0);
}

TEST(UpDownPosition, SetRangeKeepsThePositionInsideAndLeavesTheFieldAlone) {
    DefaultLocale english("en_US");
    SpinnerPage page(0, 5000, 20);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    page.Spinner->SetPosition(4000);
    // Per-cent mode narrows the map spinners to 0..100; the field still shows the old text until the
    // page is refreshed, and that text is out of the new range, so the clamped position holds.
    page.Spinner->SetRange(0, 100);
    EXPECT_EQ(page.Edit->text(), "4,000");
    EXPECT_EQ(page.Spinner->Position(), 100);
    page.Spinner->SetRange(200, 300);
    EXPECT_EQ(page.Spinner->Position(), 200);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(UpDownPosition, AssociatingShowsThePositionInTheField) {
    DefaultLocale english("en_US");
    TEdit edit;
    TUpDown spinner;
    spinner.SetRange(2500, 4900);
    spinner.SetPosition(2600);
    QSignalSpy clicks(&spinner, &TUpDown::Click);
    spinner.SetAssociate(&edit);
    EXPECT_EQ(edit.text(), "2,600");
    EXPECT_EQ(clicks.count(), 0);
}

// ---- stepping -----------------------------------------------------------------------------------

enum class Driver { UpDownArrow, ArrowKey };

struct StepCase {
    int Min, Max, Step, Start, Direction, Expected;
};

// The three spinner families of the tool: the RPM axis, the 0 % calibration, the 100 % calibration.
const StepCase StepCases[] = {
    {0, 25000, 100, 2600, +1, 2700},   {0, 25000, 100, 2600, -1, 2500},  {0, 25000, 100, 24950, +1, 25000},
    {0, 25000, 100, 25000, +1, 25000}, {0, 25000, 100, 50, -1, 0},       {0, 25000, 100, 0, -1, 0},
    {0, 25000, 100, 900, +1, 1000},    {100, 2500, 10, 2495, +1, 2500},  {100, 2500, 10, 2500, +1, 2500},
    {100, 2500, 10, 100, -1, 100},     {100, 2500, 10, 105, -1, 100},    {100, 2500, 10, 200, -1, 190},
    {2500, 4900, 10, 2500, -1, 2500},  {2500, 4900, 10, 4900, +1, 4900}, {2500, 4900, 10, 4895, +1, 4900},
    {2500, 4900, 10, 2600, -1, 2590},  {0, 100, 1, 100, +1, 100},        {0, 5000, 20, 4990, +1, 5000},
};

TEST(UpDownStep, MovesByTheStepWithinTheRangeAndClicksOnlyWhenItMoved) {
    DefaultLocale english("en_US");
    for (Driver driver : {Driver::UpDownArrow, Driver::ArrowKey}) {
        for (const StepCase& c : StepCases) {
            SpinnerPage page(c.Min, c.Max, c.Step);
            page.Spinner->SetPosition(c.Start);
            QSignalSpy clicks(page.Spinner, &TUpDown::Click);
            QString textAtClick;
            QObject::connect(page.Spinner, &TUpDown::Click, [&] { textAtClick = page.Edit->text(); });

            if (driver == Driver::UpDownArrow)
                QTest::mouseClick(c.Direction > 0 ? page.Up() : page.Down(), Qt::LeftButton);
            else
                QTest::keyClick(page.Edit, c.Direction > 0 ? Qt::Key_Up : Qt::Key_Down);

            const bool moved = c.Expected != c.Start;
            const std::string label = (driver == Driver::UpDownArrow ? "arrow " : "key ") +
                                      std::to_string(c.Start) + (c.Direction > 0 ? " up" : " down") + " in " +
                                      std::to_string(c.Min) + ".." + std::to_string(c.Max);
            EXPECT_EQ(page.Spinner->Position(), c.Expected) << label;
            EXPECT_EQ(page.Edit->text(), TUpDown::FormatValue(moved ? c.Expected : c.Start, QLocale()))
                << label;
            EXPECT_EQ(clicks.count(), moved ? 1 : 0) << label;
            // The field already holds the new value when the click is raised.
            if (moved) {
                EXPECT_EQ(textAtClick, TUpDown::FormatValue(c.Expected, QLocale())) << label;
            }
        }
    }
}

TEST(UpDownStep, StepsFromTheTypedValueOrFromThePreviousOneWhenTheTextIsNoValue) {
    DefaultLocale czech("cs_CZ");
    const struct {
        QString Typed;
        int After;
    } cases[] = {{"3000", 3020}, {"3 000", 3020}, {"12a", 2620}, {"6000", 2620}, {"", 20}, {"4990", 5000}};
    for (const auto& c : cases) {
        SpinnerPage page(0, 5000, 20);
        page.Spinner->SetPosition(2600);
        page.Type(c.Typed);
        QTest::keyClick(page.Edit, Qt::Key_Up);
        EXPECT_EQ(page.Spinner->Position(), c.After) << c.Typed.toStdString();
        EXPECT_EQ(page.Edit->text(), TUpDown::FormatValue(c.After, QLocale())) << c.Typed.toStdString();
    }
}

TEST(UpDownStep, RepeatedArrowClicksStopAtTheEnd) {
    DefaultLocale english("en_US");
    SpinnerPage page(100, 2500, 10);
    page.Spinner->SetPosition(2460);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(page.Up(), Qt::LeftButton);
    EXPECT_EQ(page.Spinner->Position(), 2500);
    EXPECT_EQ(page.Edit->text(), "2,500");
    EXPECT_EQ(clicks.count(), 4);
}

TEST(UpDownStep, StepByReportsWhetherTheValueMoved) {
    TUpDown spinner; // without a field the stored position is the value
    spinner.SetRange(0, 25);
    spinner.SetIncrement(10);
    QSignalSpy clicks(&spinner, &TUpDown::Click);
    EXPECT_TRUE(spinner.StepBy(+1));
    EXPECT_TRUE(spinner.StepBy(+1));
    EXPECT_TRUE(spinner.StepBy(+1));
    EXPECT_EQ(spinner.Position(), 25);
    EXPECT_FALSE(spinner.StepBy(+1));
    EXPECT_FALSE(spinner.StepBy(0));
    EXPECT_TRUE(spinner.StepBy(-1));
    EXPECT_EQ(spinner.Position(), 15);
    EXPECT_EQ(clicks.count(), 4);
}

// ---- keys ---------------------------------------------------------------------------------------

TEST(UpDownKeys, ArrowKeysStepTheSpinnerAndNeverReachTheField) {
    DefaultLocale english("en_US");
    SpinnerPage page(0, 25000, 100);
    page.Spinner->SetPosition(25000);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    QTest::keyClick(page.Edit, Qt::Key_Up); // at the end: nothing moves, the key is still the spinner's
    QTest::keyClick(page.Edit, Qt::Key_Down);
    QTest::keyClick(page.Edit, Qt::Key_Down);
    EXPECT_EQ(page.Edit->Keys, 0);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(page.Edit->text(), "24,800");

    // Other keys are the field's as usual.
    QTest::keyClick(page.Edit, Qt::Key_End);
    QTest::keyClick(page.Edit, Qt::Key_5);
    EXPECT_EQ(page.Edit->Keys, 2);
    EXPECT_EQ(page.Edit->text(), "24,8005");
    EXPECT_EQ(clicks.count(), 2);
}

TEST(UpDownKeys, ArrowsDoNotTakeTheFocusFromTheField) {
    SpinnerPage page(0, 100, 1);
    EXPECT_EQ(page.Spinner->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(page.Up()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(page.Down()->focusPolicy(), Qt::NoFocus);
    ASSERT_TRUE(page.Up()->autoRepeat());
    ASSERT_TRUE(page.Down()->autoRepeat());
}

// ---- mouse release ------------------------------------------------------------------------------

TEST(UpDownMouseUp, OneMouseUpPerReleaseAfterTheStepItMade) {
    DefaultLocale english("en_US");
    SpinnerPage page(2500, 4900, 10);
    page.Spinner->SetPosition(2600);
    int clicks = 0;
    std::vector<QString> textAtMouseUp;
    QObject::connect(page.Spinner, &TUpDown::Click, [&] { ++clicks; });
    QObject::connect(page.Spinner, &TUpDown::MouseUp, [&] {
        EXPECT_EQ(clicks, static_cast<int>(textAtMouseUp.size()) + 1) << "the step comes before the release";
        textAtMouseUp.push_back(page.Edit->text());
    });

    QTest::mouseClick(page.Up(), Qt::LeftButton);
    QTest::mouseClick(page.Down(), Qt::LeftButton);
    QTest::mouseClick(page.Down(), Qt::LeftButton);
    ASSERT_EQ(textAtMouseUp.size(), 3u);
    EXPECT_EQ(textAtMouseUp[0], "2,610");
    EXPECT_EQ(textAtMouseUp[1], "2,600");
    EXPECT_EQ(textAtMouseUp[2], "2,590");
}

TEST(UpDownMouseUp, HoldingAnArrowRepeatsStepsAndStillGivesOneMouseUp) {
    SpinnerPage page(0, 25000, 100);
    QToolButton* up = page.Up();
    up->setAutoRepeatDelay(20);
    up->setAutoRepeatInterval(10);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    QSignalSpy mouseUps(page.Spinner, &TUpDown::MouseUp);

    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "the press itself steps";
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() >= 4; }, 5000));
    EXPECT_EQ(mouseUps.count(), 0);
    QTest::mouseRelease(up, Qt::LeftButton);
    const int steps = clicks.count();
    EXPECT_EQ(mouseUps.count(), 1);
    EXPECT_EQ(page.Spinner->Position(), steps * 100) << "one step per click, none at the release";
    QTest::qWait(50);
    EXPECT_EQ(clicks.count(), steps) << "the repeat stops with the release";
}

TEST(UpDownMouseUp, OnlyAReleaseOverTheSpinnerCounts) {
    SpinnerPage page(0, 100, 1);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    QSignalSpy mouseUps(page.Spinner, &TUpDown::MouseUp);

    // Pressed on the arrow, released away from the spinner: the step is made, no mouse-up.
    QTest::mousePress(page.Up(), Qt::LeftButton);
    QTest::mouseRelease(page.Up(), Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(mouseUps.count(), 0);

    // Pressed on one arrow and released on the other: still over the spinner.
    QTest::mousePress(page.Up(), Qt::LeftButton);
    QTest::mouseRelease(page.Up(), Qt::LeftButton, {},
                        page.Up()->mapFromGlobal(page.Down()->mapToGlobal(QPoint(5, 5))));
    EXPECT_EQ(mouseUps.count(), 1);

    // The right button does not step, but its release over the spinner is a mouse-up.
    QTest::mouseClick(page.Down(), Qt::RightButton);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(mouseUps.count(), 2);
}

TEST(UpDownMouseUp, ProgrammaticChangesRaiseNothing) {
    SpinnerPage page(0, 5000, 20);
    QSignalSpy clicks(page.Spinner, &TUpDown::Click);
    QSignalSpy mouseUps(page.Spinner, &TUpDown::MouseUp);
    page.Spinner->SetPosition(100);
    page.Spinner->SetRange(0, 100);
    page.Spinner->SetIncrement(1);
    page.Spinner->SetPosition(50);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(mouseUps.count(), 0);
}

TEST(UpDownWidget, DefaultSizeAndAFieldThatGoesFirst) {
    auto* edit = new TEdit;
    TUpDown spinner;
    EXPECT_EQ(spinner.size(), QSize(16, 21));
    spinner.SetAssociate(edit);
    delete edit;
    EXPECT_EQ(spinner.Associate(), nullptr);
    spinner.SetPosition(7); // no field to write into any more
    EXPECT_EQ(spinner.Position(), 7);
}

// ---- the edit's click ----------------------------------------------------------------------------

TEST(WidgetEdit, ClickIsALeftButtonReleasedInsideTheField) {
    SpinnerPage page(0, 100, 1);
    QSignalSpy clicks(page.Edit, &TEdit::Click);
    QTest::mouseClick(page.Edit, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(page.Edit, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
    // A press in the field dragged out before the release selects text; it is not a click.
    QTest::mousePress(page.Edit, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(page.Edit, Qt::LeftButton, {}, QPoint(120, 60));
    EXPECT_EQ(clicks.count(), 1);
}

// ---- gauge ----------------------------------------------------------------------------------------

TEST(WidgetGauge, ProgressIsClampedAndPercentTruncated) {
    const struct {
        int Min, Max, Set, Progress, Percent;
    } cases[] = {
        {0, 100, 50, 50, 50},
        {0, 100, 150, 100, 100},
        {0, 100, -5, 0, 0},
        {0, 7, 3, 3, 42},
        {0, 7, 7, 7, 100},
        {0, 7, 6, 6, 85},
        {10, 20, 15, 15, 50},
        {10, 20, 0, 10, 0},
        // An empty or inverted range: no division, nothing done.
        {0, 0, 5, 0, 0},
        {10, 5, 7, 10, 0},
    };
    for (const auto& c : cases) {
        TCGauge gauge;
        gauge.SetMinValue(c.Min);
        gauge.SetMaxValue(c.Max);
        gauge.SetProgress(c.Set);
        EXPECT_EQ(gauge.Progress(), c.Progress) << c.Min << ".." << c.Max << " set " << c.Set;
        EXPECT_EQ(gauge.PercentDone(), c.Percent) << c.Min << ".." << c.Max << " set " << c.Set;
    }
}

TEST(WidgetGauge, MovingTheRangeKeepsTheProgressInside) {
    TCGauge gauge;
    gauge.SetMaxValue(100); // the storing countdown
    gauge.SetProgress(90);
    gauge.SetMaxValue(7); // back to a transfer
    EXPECT_EQ(gauge.Progress(), 7);
    EXPECT_EQ(gauge.PercentDone(), 100);
    gauge.SetMinValue(3);
    gauge.SetProgress(0);
    EXPECT_EQ(gauge.Progress(), 3);
}

TEST(WidgetGauge, PaintsTheDonePartInForeColourOnWhite) {
    TCGauge gauge;
    gauge.resize(102, 18);
    gauge.SetShowText(false);
    gauge.SetForeColor(Qt::magenta);
    gauge.SetProgress(50);
    const QImage image = gauge.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 9), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(49, 9), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(52, 9), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(99, 9), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(0, 0), QColor(Qt::white)) << "the frame";

    gauge.SetShowText(true);
    const QImage withText = gauge.grab().toImage();
    int dark = 0;
    for (int x = 30; x < 72; ++x)
        for (int y = 2; y < 16; ++y)
            dark += qGray(withText.pixel(x, y)) < 80 ? 1 : 0;
    EXPECT_GT(dark, 5) << "the percentage is written in black";
}

TEST(WidgetGauge, RepaintsOnlyWhenSomethingChanged) {
    QWidget window;
    window.resize(260, 40);
    auto* gauge = new TCGauge(&window);
    gauge->setGeometry(10, 10, 240, 18);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    gauge->SetProgress(30);
    QCoreApplication::processEvents();

    struct PaintCounter : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            Paints += e->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    gauge->installEventFilter(&counter);

    // What the telemetry does on every tick while nothing moves.
    for (int i = 0; i < 5; ++i) {
        gauge->SetMaxValue(100);
        gauge->SetMinValue(0);
        gauge->SetProgress(30);
        gauge->SetForeColor(Qt::black);
        gauge->SetShowText(true);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.Paints, 0);
    gauge->SetProgress(31);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.Paints > 0; }, 2000));
}

// ---- glyphs ---------------------------------------------------------------------------------------

namespace {

bool Drawn(const QImage& image) {
    int opaque = 0;
    QRgb first = 0;
    bool varied = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200)
                continue;
            if (opaque++ == 0)
                first = p;
            else if (p != first)
                varied = true;
        }
    return opaque >= image.width() * image.height() / 8 && varied;
}

} // namespace

TEST(WidgetGlyph, EveryToolBarGlyphIsDrawnAt16Pixels) {
    const struct {
        const char* Name;
        QIcon Icon;
    } glyphs[] = {{"New", GlyphNew()},     {"Open", GlyphOpen()}, {"Save", GlyphSave()},
                  {"Print", GlyphPrint()}, {"Undo", GlyphUndo()}, {"Redo", GlyphRedo()}};
    QList<QImage> seen;
    for (const auto& g : glyphs) {
        const QImage image = g.Icon.pixmap(QSize(16, 16)).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16)) << g.Name;
        EXPECT_TRUE(Drawn(image)) << g.Name;
        EXPECT_FALSE(seen.contains(image)) << g.Name << " looks like another glyph";
        seen << image;
        // The disabled look is QIcon's own, and it must differ from the normal one.
        EXPECT_NE(g.Icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage().convertToFormat(image.format()),
                  image)
            << g.Name;
    }
}

TEST(WidgetGlyph, RedoIsUndoMirrored) {
    const QImage undo = GlyphUndo().pixmap(QSize(16, 16)).toImage();
    const QImage redo = GlyphRedo().pixmap(QSize(16, 16)).toImage();
    const QImage mirrored = undo.mirrored(true, false);
    int different = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            different += qAbs(qAlpha(redo.pixel(x, y)) - qAlpha(mirrored.pixel(x, y))) > 16 ? 1 : 0;
    EXPECT_LE(different, 2);
}

TEST(WidgetGlyph, ApplicationIconComesIn16_32And48) {
    const QIcon icon = ApplicationIcon();
    for (int size : {16, 32, 48}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(Drawn(image)) << size;
    }
}

// ---- file dialogs ---------------------------------------------------------------------------------

TEST(WidgetFileDialog, OpenDialogOfTheTool) {
    FileDialogSettings settings;
    settings.DefaultExtension = "ign";
    settings.InitialFileName = " "; // the form's "no name"
    settings.Filters = {"Ignition Parametrs(*.ign)", "All Files (*.*)"};
    QFileDialog dialog;
    const QString startFolder = dialog.directory().absolutePath();
    ConfigureFileDialog(dialog, settings, FileDialogKind::Open);

    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.defaultSuffix(), "ign");
    // "*.*" would hide files without a dot outside Windows; "*" is every file everywhere.
    EXPECT_EQ(dialog.nameFilters(), QStringList({"Ignition Parametrs(*.ign)", "All Files (*)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "Ignition Parametrs(*.ign)");
    EXPECT_EQ(dialog.directory().absolutePath(), startFolder);
    for (const QString& selected : dialog.selectedFiles())
        EXPECT_FALSE(selected.endsWith(' ')) << "a lone blank is no preset name";
}

TEST(WidgetFileDialog, SaveDialogOpensInTheFolderOfTheLastFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const struct {
        bool PromptOverwrite;
        QString Initial;
        QString Folder;   // empty: the dialog's own start folder
        QString Selected; // the preselected file, as a full path
    } cases[] = {
        {true, folder.filePath("tuning.ign"), folder.path(), folder.filePath("tuning.ign")},
        {false, QDir::toNativeSeparators(folder.filePath("b.ign")), folder.path(), folder.filePath("b.ign")},
        // A folder that is gone: the name is still preset, the dialog opens where it would anyway.
        {true, folder.filePath("gone/c.ign"), QString(), QString()},
    };
    for (const auto& c : cases) {
        FileDialogSettings settings;
        settings.DefaultExtension = "ign";
        settings.InitialFileName = c.Initial;
        settings.Filters = {"Ignition Parametrs(*.ign)"};
        settings.PromptOverwrite = c.PromptOverwrite;
        settings.HideReadOnly = true;
        QFileDialog dialog;
        const QString startFolder = dialog.directory().absolutePath();
        ConfigureFileDialog(dialog, settings, FileDialogKind::Save);

        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !c.PromptOverwrite);
        EXPECT_EQ(dialog.nameFilters(), QStringList({"Ignition Parametrs(*.ign)"}));
        EXPECT_EQ(dialog.defaultSuffix(), "ign");
        EXPECT_EQ(dialog.directory().absolutePath(),
                  c.Folder.isEmpty() ? startFolder : QDir(c.Folder).absolutePath())
            << c.Initial.toStdString();
        if (!c.Selected.isEmpty()) {
            EXPECT_EQ(dialog.selectedFiles(), QStringList({c.Selected})) << c.Initial.toStdString();
        }
    }
}
