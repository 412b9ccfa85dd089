#pragma once
#include <QObject>
#include <QPoint>

#include "app/view_settings.h"
#include "params/map_look.h"
#include "ui/window_capability.h"

class QAction;

namespace zevo {

class ServoCurvesWindow;

// The View menu: how the servo page shows the map (colours by value, the engine's trail), the jump
// to the engine's cell, and the servo curves window.
class ViewCommands : public QObject, public WindowCapability {
    Q_OBJECT
public:
    explicit ViewCommands(WindowServices& window);

    void ApplyLanguage() override;
    void LiveShown() override;
    void Decorate(MapPainter::Scene& scene) override;
    void SetChanged() override;
    void LoadSettings(const IniFile& ini) override;
    void SaveSettings(IniFile& ini) override;
    void Shown() override;

    void MenuJumpToLiveClick();
    void ShowCurves(bool activate);

private:
    void ShowViewChoice();

    QAction* MenuColourByValue = nullptr;
    QAction* MenuTrail = nullptr;
    QAction* MenuJumpToLive = nullptr;
    QAction* MenuServoCurves = nullptr;
    ViewSettings ViewChoice;
    // Where the engine has run lately, on the servo it was counted for.
    LiveTrail Trail;
    int TrailServo = -1;
    ServoCurvesWindow* Curves = nullptr; // built on first use
};

} // namespace zevo
