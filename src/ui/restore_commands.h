#pragma once
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>

#include "files/restore_points.h"
#include "params/device_image.h"
#include "ui/window_capability.h"

class QAction;

namespace zevo {

class DifferenceWindow;
class RestoreStore;
class RestoreWindow;

// Restore points of every set the tool has seen, the difference view against the unit, a file or a
// restore point, taking a restore point back, and the report of the set.
class RestoreCommands : public QObject, public WindowCapability {
    Q_OBJECT
public:
    // The restore points live in a folder of `configDir`.
    RestoreCommands(WindowServices& window, const QString& configDir);
    ~RestoreCommands() override;

    void ApplyLanguage() override;
    void Decorate(MapPainter::Scene& scene) override;
    void SetChanged() override;
    // The set on screen is kept as a restore point, and a programmed one the unit never said it had
    // stored all the same.
    void Close() override;

    // Keeps a copy of the set on screen as a restore point; a folder that cannot be written says so
    // once a run and stops nothing.
    // `set`: another set than the one on screen; `fileName`: another file than the one named.
    void Take(RestoreEvent event, const DeviceImage* set = nullptr, const QString& fileName = {},
              std::optional<int> programmingCount = std::nullopt);
    // A programmed set waits until the unit has stored it and reports its new counter.
    void ProgrammedAwaitsStoring(const DeviceImage& set);
    void KeepProgrammedPoint(std::optional<int> programmingCount);
    const QString& Folder() const;

    // The unit's set, read aside by Compare with unit: listed against the set on screen.
    void ShowUnitDifferences(const DeviceImage& unit);

private:
    void MenuRestorePointsClick();
    void MenuCompareFileClick();
    void MenuCompareUnitClick();
    void MenuExportReportClick();
    void RestoreSet(const RestoreInfo& info, const QString& stem);
    void ShowDifferences(const DeviceImage& there, const QString& what);
    // The listing made again when the set on screen changed; false while no comparison is shown.
    bool FollowListing();

    QAction* MenuRestorePoints = nullptr;
    QAction* MenuCompareFile = nullptr;
    QAction* MenuCompareUnit = nullptr;
    QAction* MenuExportReport = nullptr;
    std::unique_ptr<RestoreStore> RestorePoints;
    bool RestoreFailureSaid = false;
    std::optional<DeviceImage> ProgrammedPoint;
    RestoreWindow* RestorePointsWindow = nullptr; // built on first use
    DifferenceWindow* Differences = nullptr;      // built on first use
    // The set compared with while the difference view is open, what it is, and the set on screen
    // the listing was made for.
    std::optional<DeviceImage> ComparedSet;
    QString ComparedWhat;
    std::optional<DeviceImage> ListedAgainst;
    std::array<std::array<bool, MapColumns>, MapRows + 1> DifferenceMarks{};
};

} // namespace zevo
