// What a screen reader finds: the window and its tool windows walked through the accessibility tree
// the platform's reader is given (the same interfaces the AT-SPI bridge exports), every control a
// person can operate with a name that says more than a number, in each of the three languages.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

// What a person operates. Scroll bars are left out: a reader announces them by their orientation,
// and they only move the view.
bool Operable(QAccessible::Role role) {
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
        return true;
    default:
        return false;
    }
}

// A name that a listener can place: at least one letter, not "2,300" or "+".
bool SaysSomething(const QString& name) {
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    return name.contains(letter);
}

// Every operable control under `node` whose name says nothing, as "role: name (object)".
void Unnamed(QAccessibleInterface* node, QStringList& found, int depth = 0) {
    if (!node || depth > 40)
        return;
    if (Operable(node->role()) && !node->state().invisible && !SaysSomething(node->text(QAccessible::Name))) {
        const QObject* object = node->object();
        found << QStringLiteral("%1: \"%2\" (%3)")
                     .arg(int(node->role()))
                     .arg(node->text(QAccessible::Name),
                          object ? object->objectName() + QLatin1Char(' ') + object->metaObject()->className()
                                 : QStringLiteral("-"));
    }
    for (int i = 0; i < node->childCount(); ++i)
        Unnamed(node->child(i), found, depth + 1);
}

class AccessibilityTest : public FormFixture {};

TEST_F(AccessibilityTest, EveryOperableControlOfEveryWindowHasANameInEachLanguage) {
    for (const char* language : {"CESKY", "ENGLISH", "DEUTSCH"}) {
        auto form = StartShown({QString::fromLatin1(language)});
        // The pages and tool windows a tuner works with: both kinds of servo page, the curves, the
        // live chart, the restore points.
        testing::ClickTab(*form, 1);
        testing::SetTicked(*form, "CheckBoxTpEnable", true);
        for (const char* window : {"MenuServoCurves", "MenuLiveChart", "MenuRestorePoints"})
            Control<QAction>(*form, window)->trigger();
        QStringList unnamed;
        Unnamed(QAccessible::queryAccessibleInterface(qApp), unnamed);
        EXPECT_TRUE(unnamed.isEmpty()) << language << ": " << unnamed.size() << " without a name:\n"
                                       << unnamed.join(QLatin1Char('\n')).toStdString();
        testing::ClickTab(*form, 0);
        unnamed.clear();
        Unnamed(QAccessible::queryAccessibleInterface(form.get()), unnamed);
        EXPECT_TRUE(unnamed.isEmpty()) << language << ", Miscellaneous page: " << unnamed.join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(AccessibilityTest, AMapCellSaysItsServoThrottleRowSpeedValueAndUnitAndFollowsThem) {
    auto form = StartShown({QStringLiteral("ENGLISH")});
    auto name = [&form](const char* field) {
        return QAccessible::queryAccessibleInterface(Control<QWidget>(*form, field))->text(QAccessible::Name);
    };
    testing::ClickTab(*form, 1);
    testing::SetTicked(*form, "CheckBoxTpEnable", true);
    auto* cell = Control<TEdit>(*form, "EditMap6_4");
    const QString rpm = Control<TEdit>(*form, "EditRpm4")->text();
    EXPECT_EQ(name("EditMap6_4"), QStringLiteral("Servo 1, 40%, %1 RPM, %2 mV").arg(rpm, cell->text()));
    EXPECT_EQ(name("EditRpm4"), QStringLiteral("Servo 1, RPM point 5, %1 RPM").arg(rpm));
    EXPECT_EQ(name("EditHystMv"), QStringLiteral("Servo 1, Hysteresis [mV]"));

    // A value typed follows into the name; so do the other servo and the per-cent unit.
    QTest::mouseClick(cell, Qt::LeftButton, Qt::NoModifier, cell->rect().center());
    QTest::keyClicks(cell, QStringLiteral("3120"));
    QTest::keyClick(cell, Qt::Key_Return);
    EXPECT_EQ(name("EditMap6_4"), QStringLiteral("Servo 1, 40%, %1 RPM, %2 mV").arg(rpm, cell->text()));
    EXPECT_TRUE(name("EditMap6_4").contains(QStringLiteral("3"))) << name("EditMap6_4").toStdString();
    testing::ClickTab(*form, 2);
    testing::SetTicked(*form, "CheckBoxTpEnable", true);
    testing::SetTicked(*form, "CheckBoxProcenta", true);
    EXPECT_TRUE(name("EditMap6_4").startsWith(QStringLiteral("Servo 2, 40%, "))) << name("EditMap6_4").toStdString();
    EXPECT_TRUE(name("EditMap6_4").endsWith(QStringLiteral(" %"))) << name("EditMap6_4").toStdString();
    EXPECT_EQ(Control<QLabel>(*form, "LabelMapUnit")->text(), QStringLiteral("[%]"));

    // In German the words change, the numbers stay the field's.
    Control<QAction>(*form, "MenuGerman")->trigger();
    EXPECT_TRUE(name("EditRpm4").startsWith(QStringLiteral("Servo 2, Drehzahlpunkt 5, "))) << name("EditRpm4").toStdString();
    EXPECT_EQ(name("SpeedButtonZpet").isEmpty(), false);
    EXPECT_NE(name("SpeedButtonZpet"), name("SpeedButtonZnovu"));
}

} // namespace
} // namespace zevo
