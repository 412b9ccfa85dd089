#pragma once
#include <QObject>

#include "link/port_map.h"
#include "link/system_serial_line.h"
#include "ui/window_capability.h"

class QAction;

namespace zevo {

class SerialLine;

// Device > Port assignments… and the COM menu's hints: which device stands behind which number.
class PortCommands : public QObject, public WindowCapability {
    Q_OBJECT
public:
    // `line`: the line the link talks through; `ownLine`: the same when it is the system's serial
    // ports (pins and the list of present devices mean something only there).
    PortCommands(WindowServices& window, SerialLine* line, SystemSerialLine* ownLine);

    void ApplyLanguage() override;
    void LoadSettings(const IniFile& ini) override;

    void MenuPortAssignmentsClick();

private:
    void UpdateComHints();

    QAction* MenuPortAssignments = nullptr;
    SerialLine* Line;
    SystemSerialLine* OwnLine;
    // The pins of [PORTS]: COM number -> device path.
    PortPins PinnedPorts;
};

} // namespace zevo
