// Device > Port assignments… and the COM menu's hints: which device stands behind which number.
#include "ui/port_commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "app/ini_file.h"
#include "lang/editing_texts.h"
#include "lang/language_tables.h"
#include "link/port_choice.h"
#include "link/system_serial_line.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace zevo {

PortCommands::PortCommands(WindowServices& window, SerialLine* line, SystemSerialLine* ownLine)
    : WindowCapability(window), Line(line), OwnLine(ownLine) {
    // After the design's items of the menu.
    QMenu* device = Window.MenuOf(WindowMenu::Device);
    device->addSeparator();
    MenuPortAssignments = device->addAction(QString());
    MenuPortAssignments->setObjectName(QStringLiteral("MenuPortAssignments"));
    connect(MenuPortAssignments, &QAction::triggered, this, &PortCommands::MenuPortAssignmentsClick);
    connect(Window.MenuOf(WindowMenu::Com), &QMenu::aboutToShow, this, &PortCommands::UpdateComHints);
}

void PortCommands::ApplyLanguage() {
    MenuPortAssignments->setText(Text(PortText(PortTextId::MenuPortAssignments, Window.Language())));
}

void PortCommands::LoadSettings(const IniFile& ini) {
    PinnedPorts = ReadPortPins(ini);
    if (OwnLine)
        OwnLine->SetPins(PinnedPorts);
}

void PortCommands::UpdateComHints() {
    // Each number's hint names the device behind it now (adapters come and go), the search's item
    // keeps its own.
    const QList<QAction*> items = Window.MenuOf(WindowMenu::Com)->actions();
    for (int position = 0; position < AutoSearchPortIndex && position < items.size(); ++position) {
        const int number = position + 1;
        const std::string path = Line ? Line->DevicePath(number) : std::string();
        const QString com = QStringLiteral("COM%1").arg(number);
        const QString hint =
            path.empty()
                ? Text(PortText(PortTextId::ComHintNone, Window.Language())).arg(com)
                : Text(PortText(PortTextId::ComHint, Window.Language())).arg(com, QString::fromStdString(path));
        SetHint(items[position], QLatin1Char('|') + hint);
    }
}

void PortCommands::MenuPortAssignmentsClick() {
    Prompter* prompts = Window.Questions();
    if (!prompts)
        return;
    const std::vector<PortDescription> ports = OwnLine ? DescribePorts(*OwnLine) : std::vector<PortDescription>();
    const std::optional<PortPins> chosen =
        prompts->AssignPorts(&Window.MainWindow(), ports, PinnedPorts, Window.Language());
    if (!chosen || *chosen == PinnedPorts)
        return;
    PinnedPorts = *chosen;
    // Kept at once, merged into the settings file as it stands; the close writes the rest as always.
    Window.KeepSettingsNow([this](IniFile& ini) { WritePortPins(ini, PinnedPorts); });
    // The chosen number may now stand for another device, and so for another unit: open it again,
    // as a choice in the COM menu does.
    if (OwnLine)
        OwnLine->SetPins(PinnedPorts);
    Window.ReopenPort();
}

} // namespace zevo
