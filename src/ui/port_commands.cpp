// Ignition > Port assignments… and the COM menu's hints: which device stands behind which number.
#include <QAction>
#include <QDir>
#include <QMenu>

#include "app/ini_file.h"
#include "files/checked_write.h"
#include "lang/editing_texts.h"
#include "lang/file_texts.h"
#include "lang/language_tables.h"
#include "link/link_engine.h"
#include "link/port_list.h"
#include "link/qt_serial_line.h"
#include "ui/config_files.h"
#include "ui/form_hlav.h"
#include "ui/qt_text.h"

namespace zevo {

void TFormHlav::BuildPortCommands() {
    // After the design's items of the menu.
    MenuDevice->addSeparator();
    MenuPortAssignments =
        MenuDevice->addAction(Text(PortText(PortTextId::MenuPortAssignments, LanguageIndex)));
    MenuPortAssignments->setObjectName(QStringLiteral("MenuPortAssignments"));
    connect(MenuPortAssignments, &QAction::triggered, this, &TFormHlav::MenuPortAssignmentsClick);
    connect(MenuCom, &QMenu::aboutToShow, this, &TFormHlav::UpdateComHints);
}

void TFormHlav::UpdateComHints() {
    // Each number's hint names the device behind it now (adapters come and go), the search's item
    // keeps its own.
    for (int position = 0; position < AutoSearchPortIndex; ++position) {
        const int number = position + 1;
        const std::string path = LinkLine ? LinkLine->DevicePath(number) : std::string();
        const QString com = QStringLiteral("COM%1").arg(number);
        const QString hint =
            path.empty()
                ? Text(PortText(PortTextId::ComHintNone, LanguageIndex)).arg(com)
                : Text(PortText(PortTextId::ComHint, LanguageIndex)).arg(com, QString::fromStdString(path));
        SetHint(MenuComItems[static_cast<std::size_t>(position)], QLatin1Char('|') + hint);
    }
}

void TFormHlav::MenuPortAssignmentsClick() {
    if (!Prompts)
        return;
    const std::vector<PortDescription> ports =
        OwnLine ? DescribePorts(*OwnLine) : std::vector<PortDescription>();
    const std::optional<PortPins> chosen = Prompts->AssignPorts(this, ports, PinnedPorts, LanguageIndex);
    if (!chosen || *chosen == PinnedPorts)
        return;
    PinnedPorts = *chosen;
    // Kept at once, merged into the settings file as it stands; the close writes the rest as always.
    std::optional<IniFile> ini = ReadSettingsFile();
    QDir().mkpath(ConfigDir);
    if (ini)
        WritePortPins(*ini, PinnedPorts);
    if (const WriteResult written =
            ini ? WriteFileChecked(SettingsFilePath(), QByteArray::fromStdString(ini->Serialize()), /*textMode=*/true)
                : WriteResult{false, QStringLiteral("the file cannot be read whole, nor set aside")};
        !written)
        Prompts->ShowMessage(this,
                             Text(FillPlaceholders(FileText(FileTextId::SettingsNotWritten, LanguageIndex),
                                                   {QDir::toNativeSeparators(SettingsFilePath()).toStdString()})),
                             written.Reason);
    // The chosen number may now stand for another device, and so for another unit: open it again,
    // as a choice in the COM menu does.
    if (OwnLine)
        OwnLine->SetPins(PinnedPorts);
    MenuCom1Click(Ports.ComPortIndex);
}

} // namespace zevo
