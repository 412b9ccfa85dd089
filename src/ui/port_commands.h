#pragma once
#include <QObject>

#include "link/port_map.h"
#include "ui/window_capability.h"

class QAction;

namespace zevo {

class QtSerialLine;
class SerialLine;

// Device > Port assignments… and the COM menu's hints: which device stands behind which number.
class PortCommands : public QObject, public WindowCapability {
    Q_OBJECT
public:
    // `line`: the line the link talks through; `ownLine`: the same when it is the system's serial
    // ports (pins and the list of present devices mean something only there).
    PortCommands(WindowServices& window, SerialLine* line, QtSerialLine* ownLine);

    void ApplyLanguage() override;
    void LoadSettings(const IniFile& ini) override;

    void MenuPortAssignmentsClick();

private:
    void UpdateComHints();

    QAction* MenuPortAssignments = nullptr;
    SerialLine* Line;
    QtSerialLine* OwnLine;
    // The pins of [PORTS]: COM number -> device path.
    PortPins PinnedPorts;
};

} // namespace zevo
