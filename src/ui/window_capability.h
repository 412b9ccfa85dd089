#pragma once
#include <QMargins>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "lang/language_tables.h"
#include "link/identification.h"
#include "params/map_selection.h"
#include "ui/map_painter.h"
#include "ui/prompter.h"

class QAction;
class QMainWindow;
class QMenu;
class QPoint;
class QWidget;

namespace zevo {

class DeviceImage;
class EnginePosition;
class IniFile;
class LinkEngine;
struct LogRow;
class ParameterSession;
class TEdit;

// A hint is "short|long": the short part is the tooltip, the long part goes to the status bar.
// Without a bar both are the same text. Menu items show only the long part.
void SetHint(QWidget* widget, const QString& hint);
void SetHint(QAction* action, const QString& hint);

// The window manager's frame around a window: title bar and borders.
QMargins FrameOf(const QWidget& window);

// The menus of the window that take items beside the design's.
enum class WindowMenu { File, Device, Com, View };

// What the main window lends to what was added beside its design: the set and what is known about
// it, the link, the engine's cell, the status line, the map's fields. Nothing else of the window is
// theirs to touch, so the window can change without them.
class WindowServices {
public:
    // Parent of their windows and boxes.
    virtual QMainWindow& MainWindow() = 0;
    // Puts a tool window into a dock of the main window (named `name`, in its place of last time or
    // beside the design's area); from then on the window's show and hide show and hide the dock. The
    // dock's close button closes the window, or only hides it when `closeClosesWindow` is false.
    virtual void Dock(QWidget* window, const QString& name, bool closeClosesWindow) = 0;
    virtual QMenu* MenuOf(WindowMenu menu) = 0;
    virtual std::uint8_t Language() const = 0;
    // Where questions go; none when nobody can be asked.
    virtual Prompter* Questions() = 0;
    // One line in the status bar.
    virtual void Say(const QString& text) = 0;
    virtual ParameterSession& SetOnScreen() = 0;
    virtual LinkEngine& Link() = 0;
    virtual const EnginePosition& EngineNow() const = 0;
    // The servo shown by the active tab: 0 or 1, or -1 on the Miscellaneous page.
    virtual int ShownServo() const = 0;
    // The engine's cell (row, column) on the servo page shown.
    virtual std::optional<std::pair<int, int>> LiveCell() const = 0;
    // The block of cells selected on the servo page shown.
    virtual std::optional<MapSelection> ShownSelection() const = 0;
    // A field of the servo page: row -1 is the RPM axis.
    virtual TEdit* MapField(int row, int column) = 0;
    // What is typed into the page is taken, as every confirmation takes it.
    virtual void ConfirmPage() = 0;
    // The set on screen was changed: shown, validated, one step of the history, programmed if asked.
    virtual void AfterChange() = 0;
    // The map's colours again, and every capability's SetChanged.
    virtual void PaintMap() = 0;
    // Asks once whether a set at risk is saved before it is replaced; true to go on.
    virtual bool MayLeaveSet() = 0;
    // The file named on screen (empty: none).
    virtual QString NamedFile() const = 0;
    // Changes the settings file at once, merged into it as it stands; a file that cannot be written
    // is said. The close writes the rest as always.
    virtual void KeepSettingsNow(const std::function<void(IniFile&)>& change) = 0;
    // Opens the chosen port again, as a choice in the COM menu does.
    virtual void ReopenPort() = 0;
    // The set on screen no longer comes from the file named: none is named, and nothing is at risk.
    virtual void ForgetNamedFile() = 0;
    // What is typed into the page goes into the set, repaired as a transfer repairs it (no step of
    // the history).
    virtual void TakePage() = 0;
    // A set from elsewhere repaired as the set on screen is; the port choice stays.
    virtual void Repair(DeviceImage& set) const = 0;
    // The program the connected unit runs, as its identification page says.
    virtual Identification UnitIdentity() const = 0;
    // The design's Open dialog as the window last left it.
    virtual FileDialogSettings OpenDialog() const = 0;
    // A message text of the language applied last.
    virtual const QString& Message(MsgId id) const = 0;
    // A replay of a ride log began or ended: the monitoring area shows the log's rows, or the unit's
    // again, and the engine's cell follows.
    virtual void ReplayChanged() = 0;
    // The replay is at `row`: a new row, or only a new time within it.
    virtual void ShowReplayed(const LogRow& row, bool rowChanged) = 0;
    // The window's own look at the unit is running: it is shown to the user when it ends; true
    // then, and nothing else is to start.
    virtual bool ShowQuietComparison() = 0;

protected:
    ~WindowServices() = default;
};

// Something the window offers beyond its design (the ride log, restore points and comparisons, the
// view choices and curves, port assignments). The window registers each in one line; every one gets
// the same few calls, in the order they were registered.
class WindowCapability {
public:
    explicit WindowCapability(WindowServices& window) : Window(window) {}
    virtual ~WindowCapability() = default;
    WindowCapability(const WindowCapability&) = delete;
    WindowCapability& operator=(const WindowCapability&) = delete;

    // Captions and windows in the language just applied.
    virtual void ApplyLanguage() {}
    // The window's tick (100 ms), after the link's.
    virtual void Tick() {}
    // The engine's cell was shown again: with the link's telemetry, or a replay's row.
    virtual void LiveShown() {}
    // The map is about to be painted: the capability's layer goes into the scene.
    virtual void Decorate(MapPainter::Scene& /*scene*/) {}
    // The set on screen, the page shown, the engine's cell or what is known about them changed.
    virtual void SetChanged() {}
    virtual void LoadSettings(const IniFile& /*ini*/) {}
    virtual void SaveSettings(IniFile& /*ini*/) {}
    // The window was shown the first time, or its frame became known: windows kept open come back
    // beside it.
    virtual void Shown() {}
    virtual void Placed() {}
    // The window closes: what runs ends and what is in memory is kept.
    virtual void Close() {}

protected:
    WindowServices& Window;
};

} // namespace zevo
