// The View menu: how the servo page shows the map and the engine, and the servo curves window.
#include "ui/view_commands.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include "lang/editing_texts.h"
#include "link/engine_position.h"
#include "params/parameter_session.h"
#include "params/servo_curves.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/servo_curves_window.h"
#include "ui/up_down.h"

namespace zevo {

ViewCommands::ViewCommands(WindowServices& window) : WindowCapability(window) {
    QMenu* menu = Window.MenuOf(WindowMenu::View);
    auto checkable = [&](const char* name, bool ViewSettings::*choice) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, choice](bool on) {
            ViewChoice.*choice = on;
            Window.PaintMap();
        });
        return action;
    };
    MenuColourByValue = checkable("MenuColourByValue", &ViewSettings::ColourByValue);
    MenuTrail = checkable("MenuTrail", &ViewSettings::Trail);
    menu->addSeparator();
    // F6 is free among the design's keys (F1..F5, F7..F9).
    MenuJumpToLive = menu->addAction(QString());
    MenuJumpToLive->setObjectName(QStringLiteral("MenuJumpToLive"));
    MenuJumpToLive->setShortcut(QKeySequence(Qt::Key_F6));
    connect(MenuJumpToLive, &QAction::triggered, this, &ViewCommands::MenuJumpToLiveClick);
    MenuServoCurves = menu->addAction(QString());
    MenuServoCurves->setObjectName(QStringLiteral("MenuServoCurves"));
    connect(MenuServoCurves, &QAction::triggered, this, [this] { ShowCurves(true); });
}

void ViewCommands::ApplyLanguage() {
    const std::uint8_t language = Window.Language();
    Window.MenuOf(WindowMenu::View)->setTitle(Text(EditingText(EditingTextId::MenuView, language)));
    MenuColourByValue->setText(Text(EditingText(EditingTextId::MenuColourByValue, language)));
    MenuTrail->setText(Text(EditingText(EditingTextId::MenuTrail, language)));
    MenuJumpToLive->setText(Text(EditingText(EditingTextId::MenuJumpToLive, language)));
    MenuServoCurves->setText(Text(EditingText(EditingTextId::MenuServoCurves, language)));
    if (Curves)
        Curves->ApplyLanguage(language);
}

void ViewCommands::ShowViewChoice() {
    // The choice read from the settings is shown without running the handlers twice.
    const ViewSettings choice = ViewChoice;
    const QSignalBlocker colours(MenuColourByValue);
    const QSignalBlocker trail(MenuTrail);
    MenuColourByValue->setChecked(choice.ColourByValue);
    MenuTrail->setChecked(choice.Trail);
    Window.PaintMap();
}

void ViewCommands::LiveShown() {
    // The other servo has axes of its own: where the engine ran on one means nothing on the other.
    if (Window.ShownServo() != TrailServo) {
        Trail.Clear();
        TrailServo = Window.ShownServo();
    }
    Trail.Tick(Window.EngineNow().Stale() ? std::nullopt : Window.LiveCell());
}

void ViewCommands::Decorate(MapPainter::Scene& scene) {
    if (scene.Servo != TrailServo) {
        Trail.Clear();
        TrailServo = scene.Servo;
    }
    scene.ColourByValue = ViewChoice.ColourByValue;
    // A silent unit's trail has faded with it; its last cell stays marked.
    if (ViewChoice.Trail && !Window.EngineNow().Stale())
        scene.Trail = &Trail;
}

void ViewCommands::LoadSettings(const IniFile& ini) {
    ViewChoice = ReadViewSettings(ini);
    ShowViewChoice();
}

void ViewCommands::SaveSettings(IniFile& ini) {
    // Open, if perhaps on a tab behind another dock.
    ViewChoice.ServoCurves = Curves && !Curves->isHidden();
    WriteViewSettings(ini, ViewChoice);
}

void ViewCommands::MenuJumpToLiveClick() {
    if (Window.ShownServo() < 0) {
        Window.Say(Text(EditingText(EditingTextId::LiveCellOnServoPages, Window.Language())));
        return;
    }
    // A value typed into the field being left is taken first, as leaving it by Tab does; it may
    // move the axis, and with it the cell.
    if (const auto* typing = qobject_cast<TEdit*>(QApplication::focusWidget()); typing && typing->HoldsProposal())
        Window.ConfirmPage();
    const auto live = Window.LiveCell();
    if (!live)
        return;
    const auto [row, column] = *live;
    // Pressed in a tool window: the map's window comes to the front with the cursor in the cell.
    QMainWindow& main = Window.MainWindow();
    if (!main.isActiveWindow()) {
        main.raise();
        main.activateWindow();
    }
    TEdit* cell = Window.MapField(row, column);
    cell->setFocus(Qt::ShortcutFocusReason);
    cell->selectAll();
}

void ViewCommands::ShowCurves(bool activate) {
    if (!Curves) {
        Curves = new ServoCurvesWindow(&Window.MainWindow(), Window.Questions(),
                                       [this](const QString& text) { Window.Say(text); });
        Curves->ApplyLanguage(Window.Language());
        Window.Dock(Curves, QStringLiteral("ServoCurvesDock"), true);
    }
    // A chart reopened at start-up must not take the keyboard from the main window.
    if (!activate)
        Curves->setAttribute(Qt::WA_ShowWithoutActivating);
    Curves->show();
    Curves->setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (activate) {
        Curves->raise();
        Curves->activateWindow();
    }
    SetChanged();
}

void ViewCommands::Shown() {
    // The chart window left open last time comes back once the main window has painted.
    if (ViewChoice.ServoCurves)
        QTimer::singleShot(0, this, [this] { ShowCurves(false); });
}

void ViewCommands::SetChanged() {
    if (!Curves || !Curves->isVisible())
        return;
    const int shown = Window.ShownServo();
    // On the Miscellaneous page the chart keeps the servo it showed last.
    const int servo = shown >= 0 ? shown : Curves->Shown().Servo;
    std::optional<LivePoint> live;
    if (const auto cell = Window.LiveCell())
        live = LivePoint{Window.EngineNow().Reading().Rpm, cell->first, cell->second};
    Curves->Show(CurvesOf(Window.SetOnScreen().Image, servo, shown >= 0 ? Window.ShownSelection() : std::nullopt, live));
}

} // namespace zevo
