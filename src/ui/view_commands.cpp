// The View menu: how the servo page shows the map and the engine, and the servo curves window.
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "lang/editing_texts.h"
#include "link/link_engine.h"
#include "params/servo_curves.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/map_painter.h"
#include "ui/servo_curves_window.h"
#include "ui/up_down.h"
#include "ui/qt_text.h"
#include "ui/replay_window.h"

namespace zevo {

void TFormHlav::BuildViewMenu() {
    MapPainter::Fields fields;
    for (int c = 0; c < MapColumns; ++c) {
        const auto ci = static_cast<std::size_t>(c);
        fields.Axis[ci] = EditRpm[ci];
        for (int r = 0; r < MapRows; ++r)
            fields.Cells[static_cast<std::size_t>(r)][ci] = EditMap[static_cast<std::size_t>(r)][ci];
    }
    for (int r = 0; r < MapRows; ++r)
        fields.RowCaptions[static_cast<std::size_t>(r)] = LabelTpRow[static_cast<std::size_t>(r)];
    CellPainter = std::make_unique<MapPainter>(fields);

    // After Tools, before the design's Language menu.
    MenuView = new QMenu(this);
    MenuView->setObjectName(QStringLiteral("MenuView"));
    menuBar()->insertMenu(MenuLanguage->menuAction(), MenuView);
    auto checkable = [this](const char* name, auto handler) {
        QAction* action = MenuView->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, handler);
        return action;
    };
    MenuColourByValue = checkable("MenuColourByValue", [this](bool on) {
        ViewChoice.ColourByValue = on;
        PaintMap();
    });
    MenuTrail = checkable("MenuTrail", [this](bool on) {
        ViewChoice.Trail = on;
        PaintMap();
    });
    MenuView->addSeparator();
    // F6 is free among the design's keys (F1..F5, F7..F9).
    MenuJumpToLive = MenuView->addAction(QString());
    MenuJumpToLive->setObjectName(QStringLiteral("MenuJumpToLive"));
    MenuJumpToLive->setShortcut(QKeySequence(Qt::Key_F6));
    connect(MenuJumpToLive, &QAction::triggered, this, &TFormHlav::MenuJumpToLiveClick);
    MenuServoCurves = MenuView->addAction(QString());
    MenuServoCurves->setObjectName(QStringLiteral("MenuServoCurves"));
    connect(MenuServoCurves, &QAction::triggered, this, &TFormHlav::MenuServoCurvesClick);
    ShowViewChoice();
}

void TFormHlav::ApplyViewCaptions() {
    if (!MenuView)
        return;
    MenuView->setTitle(Text(EditingText(EditingTextId::MenuView, LanguageIndex)));
    MenuColourByValue->setText(Text(EditingText(EditingTextId::MenuColourByValue, LanguageIndex)));
    MenuTrail->setText(Text(EditingText(EditingTextId::MenuTrail, LanguageIndex)));
    MenuJumpToLive->setText(Text(EditingText(EditingTextId::MenuJumpToLive, LanguageIndex)));
    MenuServoCurves->setText(Text(EditingText(EditingTextId::MenuServoCurves, LanguageIndex)));
    if (Curves)
        Curves->ApplyLanguage(LanguageIndex);
    ApplyCompareCaptions();
    ApplyLogCaptions();
    ShowSetState(); // the design's caption was just set again: the file name follows it
}

void TFormHlav::ShowViewChoice() {
    if (!MenuView)
        return;
    // The choice read from the settings is shown without running the handlers twice.
    const ViewSettings choice = ViewChoice;
    const QSignalBlocker colours(MenuColourByValue);
    const QSignalBlocker trail(MenuTrail);
    MenuColourByValue->setChecked(choice.ColourByValue);
    MenuTrail->setChecked(choice.Trail);
    PaintMap();
}

void TFormHlav::PaintMap() {
    FollowDifferences();
    const int servo = ShownServo();
    if (CellPainter && servo >= 0) {
        MapPainter::Scene scene;
        scene.Image = &Image;
        scene.Servo = servo;
        scene.ColourByValue = ViewChoice.ColourByValue;
        // One cell is just the focused field; the colour shows a block of several.
        if (const auto selection = ShownSelection(); selection && selection->Cells() > 1)
            scene.Selection = selection;
        scene.Live = LiveCell();
        // A silent unit's trail has faded with it; its last cell stays marked.
        if (ViewChoice.Trail && !Position.Stale())
            scene.Trail = &Trail;
        scene.Palette = palette();
        if (DifferenceMarks)
            scene.Differs = &*DifferenceMarks;
        CellPainter->Paint(scene);
    }
    PaintCellTimes();
    UpdateCurves();
    ShowSetState();
}

std::optional<std::pair<int, int>> TFormHlav::LiveCell() const {
    const int servo = ShownServo();
    if (servo < 0)
        return std::nullopt;
    const EngineCell cell = Position.CellOn(Image, servo);
    return std::make_pair(cell.Row, cell.Column);
}

void TFormHlav::ShowLive() {
    Trail.Tick(Position.Stale() ? std::nullopt : LiveCell());
    PaintMap();
}

void TFormHlav::MenuJumpToLiveClick() {
    if (ShownServo() < 0) {
        Say(Text(EditingText(EditingTextId::LiveCellOnServoPages, LanguageIndex)));
        return;
    }
    // A value typed into the field being left is taken first, as leaving it by Tab does; it may
    // move the axis, and with it the cell.
    if (const auto* typing = qobject_cast<TEdit*>(QApplication::focusWidget()); typing && typing->HoldsProposal())
        ConfirmPage();
    const auto live = LiveCell();
    if (!live)
        return;
    const auto [row, column] = *live;
    // Pressed in a tool window: the map's window comes to the front with the cursor in the cell.
    if (!isActiveWindow()) {
        raise();
        activateWindow();
    }
    TEdit* cell = EditMap[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    cell->setFocus(Qt::ShortcutFocusReason);
    cell->selectAll();
}

void TFormHlav::MenuServoCurvesClick() {
    ShowCurves(true);
}

void TFormHlav::ShowCurves(bool activate) {
    const bool first = !Curves;
    if (first) {
        Curves = new ServoCurvesWindow(this, Prompts, [this](const QString& text) { Say(text); });
        Curves->ApplyLanguage(LanguageIndex);
    }
    // A chart reopened at start-up must not take the keyboard from the main window.
    if (!activate)
        Curves->setAttribute(Qt::WA_ShowWithoutActivating);
    Curves->show();
    Curves->setAttribute(Qt::WA_ShowWithoutActivating, false);
    // Placed once shown: a window manager places a new window by its own rules when it maps it.
    if (first)
        PlaceCurves();
    if (activate) {
        Curves->raise();
        Curves->activateWindow();
    }
    UpdateCurves();
}

void TFormHlav::PlaceCurves() {
    CurvesPlace = PlaceBeside(Curves);
}

QPoint TFormHlav::PlaceBeside(QWidget* window) {
    // Beside the main window where the screen has room, else over its right part.
    const QRect main = frameGeometry();
    const QScreen* screen = this->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(main.topRight(), window->size());
    QPoint place(main.right() + 1, main.top());
    if (place.x() + window->width() > room.right())
        place.setX(std::max(room.left(), room.right() - window->width()));
    place.setY(std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - window->height())));
    window->move(place);
    return place;
}

void TFormHlav::KeepCurvesBeside() {
    // The main window is placed and framed only after it is shown; a chart window opened at start-up
    // follows it there, until the user moves it.
    if (Curves && Curves->isVisible() && Curves->pos() == CurvesPlace)
        PlaceCurves();
}

void TFormHlav::UpdateCurves() {
    if (!Curves || !Curves->isVisible())
        return;
    const int shown = ShownServo();
    // On the Miscellaneous page the chart keeps the servo it showed last.
    const int servo = shown >= 0 ? shown : Curves->Shown().Servo;
    std::optional<LivePoint> live;
    if (const auto cell = LiveCell())
        live = LivePoint{Position.Reading().Rpm, cell->first, cell->second};
    Curves->Show(CurvesOf(Image, servo, shown >= 0 ? ShownSelection() : std::nullopt, live));
}

} // namespace zevo
