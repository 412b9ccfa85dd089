// Restore points of every set the tool has seen: taken at each Read, Program, Open, New and close,
// listed, compared and taken back.
#include "ui/restore_commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "files/restore_store.h"
#include "lang/editing_texts.h"
#include "lang/restore_texts.h"
#include "link/link_engine.h"
#include "params/parameter_session.h"
#include "ui/config_files.h"
#include "ui/difference_window.h"
#include "ui/qt_text.h"
#include "ui/restore_window.h"

namespace zevo {

RestoreCommands::RestoreCommands(WindowServices& window, const QString& configDir)
    : WindowCapability(window), RestorePoints(std::make_unique<RestoreStore>(RestoreFolder(configDir))) {
    // After the design's items of each menu (in File, the window keeps Exit below them).
    QMenu* file = Window.MenuOf(WindowMenu::File);
    auto item = [this](QMenu* menu, const char* name, void (RestoreCommands::*handler)()) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MenuRestorePoints = item(file, "MenuRestorePoints", &RestoreCommands::MenuRestorePointsClick);
    MenuCompareFile = item(file, "MenuCompareFile", &RestoreCommands::MenuCompareFileClick);
    MenuExportReport = item(file, "MenuExportReport", &RestoreCommands::MenuExportReportClick);
    MenuCompareUnit = item(Window.MenuOf(WindowMenu::Device), "MenuCompareUnit", &RestoreCommands::MenuCompareUnitClick);
    // F12 is free among the design's keys (F1..F9).
    MenuCompareUnit->setShortcut(QKeySequence(Qt::Key_F12));
}

RestoreCommands::~RestoreCommands() = default;

const QString& RestoreCommands::Folder() const {
    return RestorePoints->Path();
}

void RestoreCommands::Take(RestoreEvent event, const DeviceImage* set, const QString& fileName,
                           std::optional<int> programmingCount) {
    RestoreInfo info;
    info.Event = event;
    info.Image = set ? *set : Window.SetOnScreen().Image;
    const Identification unit = Window.UnitIdentity();
    if (event == RestoreEvent::Programmed) {
        info.UnitName = unit.UnitName;
        info.UnitBuildDate = unit.UnitBuildDate;
        info.ProgrammingCount = programmingCount;
    } else if (event == RestoreEvent::Read) {
        info.UnitName = unit.UnitName;
        info.UnitBuildDate = unit.UnitBuildDate;
        if (const auto& status = Window.Link().LastStatusFrame())
            info.ProgrammingCount = status->ProgrammingCount;
    } else {
        info.FileName = (fileName.isEmpty() ? Window.NamedFile() : fileName).toStdString();
    }
    const RestoreStore::Outcome outcome = RestorePoints->Take(std::move(info));
    if (!outcome.Error.isEmpty() && !RestoreFailureSaid) {
        RestoreFailureSaid = true;
        const std::string text = FillPlaceholders(RestoreText(RestoreTextId::BackupsNotWritten, Window.Language()),
                                                  {RestorePoints->Path().toStdString(), outcome.Error.toStdString()});
        Window.Say(Text(text));
    }
}

void RestoreCommands::ProgrammedAwaitsStoring(const DeviceImage& set) {
    ProgrammedPoint = set;
}

void RestoreCommands::KeepProgrammedPoint(std::optional<int> programmingCount) {
    if (!ProgrammedPoint)
        return;
    const DeviceImage set = *ProgrammedPoint;
    ProgrammedPoint.reset();
    Take(RestoreEvent::Programmed, &set, QString(), programmingCount);
}

void RestoreCommands::Close() {
    KeepProgrammedPoint(std::nullopt);
    Take(RestoreEvent::Closed);
}

void RestoreCommands::MenuRestorePointsClick() {
    if (!RestorePointsWindow) {
        RestorePointsWindow = new RestoreWindow(&Window.MainWindow());
        Window.Dock(RestorePointsWindow, QStringLiteral("RestorePointsDock"), true);
        RestorePointsWindow->Compare = [this](const RestoreInfo& info, const QString& stem) {
            ShowDifferences(info.Image, stem);
        };
        RestorePointsWindow->Restore = [this](const RestoreInfo& info, const QString& stem) {
            RestoreSet(info, stem);
        };
    }
    RestorePointsWindow->Show(RestorePoints->List(), RestorePoints->Path(), Window.Language());
    RestorePointsWindow->show();
    RestorePointsWindow->raise();
    RestorePointsWindow->activateWindow();
}

void RestoreCommands::RestoreSet(const RestoreInfo& info, const QString& stem) {
    if (!Window.MayLeaveSet())
        return;
    // As Open takes a file: the parameters over the set on screen (the identification page is the
    // connected unit's, the unused bytes stay as they are), validated, shown, one step of the history.
    // It is no longer the named file's set.
    Window.SetOnScreen().TakeParameters(info.Image);
    Window.AfterChange();
    Window.ForgetNamedFile();
    Take(RestoreEvent::Opened, nullptr, RestorePoints->Path() + QLatin1Char('/') + stem + QStringLiteral(".ign"));
}

} // namespace zevo
