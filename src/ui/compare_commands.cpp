// The difference view against the unit, a file or a restore point, and the report of the set.
#include <QAction>
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <sstream>

#include "files/checked_write.h"
#include "files/ign_format.h"
#include "files/ign_load.h"
#include "files/restore_store.h"
#include "files/set_report.h"
#include "lang/editing_texts.h"
#include "lang/restore_texts.h"
#include "link/link_engine.h"
#include "ui/controls.h"
#include "ui/difference_window.h"
#include "ui/restore_commands.h"
#include "link/identification.h"
#include "params/parameter_session.h"
#include "ui/prompter.h"
#include "ui/restore_window.h"
#include "ui/qt_text.h"

namespace zevo {

void RestoreCommands::ApplyLanguage() {
    const std::uint8_t language = Window.Language();
    MenuRestorePoints->setText(Text(RestoreText(RestoreTextId::MenuRestorePoints, language)));
    MenuCompareFile->setText(Text(RestoreText(RestoreTextId::MenuCompareFile, language)));
    MenuCompareUnit->setText(Text(RestoreText(RestoreTextId::MenuCompareUnit, language)));
    MenuExportReport->setText(Text(RestoreText(RestoreTextId::MenuExportReport, language)));
    if (Differences && ComparedSet)
        Differences->Show(Window.SetOnScreen().Image, *ComparedSet, ComparedWhat, language);
}

void RestoreCommands::MenuExportReportClick() {
    Prompter* prompts = Window.Questions();
    if (!prompts)
        return;
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("pdf");
    settings.Filters = {QStringLiteral("PDF (*.pdf)")};
    settings.PromptOverwrite = true;
    const QString named = Window.NamedFile();
    settings.InitialFileName = named.isEmpty() ? QStringLiteral("zevo.pdf") : QFileInfo(named).completeBaseName() + QStringLiteral(".pdf");
    const QString path = prompts->SaveFileName(&Window.MainWindow(), settings);
    if (path.isEmpty())
        return;
    Window.TakePage();
    const Identification unit = Window.UnitIdentity();
    ReportInput input;
    input.Image = Window.SetOnScreen().Image;
    input.FileName = named.toStdString();
    input.UnitName = unit.UnitName;
    input.UnitBuild = unit.UnitBuildDate + " " + unit.UnitBuildTime;
    input.Date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    input.Language = Window.Language();
    const WriteResult written = WriteFileChecked(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setTitle(Text(RestoreText(RestoreTextId::ReportTitle, Window.Language())));
        writer.setCreator(QStringLiteral("ZEVO"));
        // Landscape: a map row of fifteen RPM points with its caption fits across.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        QTextDocument document;
        document.setHtml(QString::fromStdString(ReportHtml(input)));
        document.print(&writer);
        return true;
    });
    const std::string shown = FillPlaceholders(
        RestoreText(written ? RestoreTextId::ReportSaved : RestoreTextId::ReportNotSaved, Window.Language()), {path.toStdString()});
    if (written)
        Window.Say(Text(shown));
    else
        prompts->ShowMessage(&Window.MainWindow(), Text(shown), written.Reason);
}

void RestoreCommands::MenuCompareFileClick() {
    Prompter* prompts = Window.Questions();
    const QString path = prompts ? prompts->OpenFileName(&Window.MainWindow(), Window.OpenDialog()) : QString();
    if (path.isEmpty())
        return;
    // The file laid over the set on screen, as Open would: what it does not carry never differs.
    DeviceImage there = Window.SetOnScreen().Image;
    const IgnLoad load = LoadIgnFile(path, there, Window.Language());
    if (load.Result != IgnReadResult::Ok) {
        prompts->ShowMessage(&Window.MainWindow(),
                             Window.Message(load.Result == IgnReadResult::UnmatchedVersion ? MsgId::MsgUnmatchedFileVersion
                                                                                           : MsgId::MsgOpenFileError),
                             load.Reason);
        return;
    }
    Window.Repair(there);
    ShowDifferences(there, QFileInfo(path).fileName());
}

void RestoreCommands::MenuCompareUnitClick() {
    // The window's own look at the unit is running: it is shown when it ends.
    if (Window.ShowQuietComparison())
        return;
    const LinkState& link = Window.Link().State();
    if (link.TransferMode != Transfer::Idle || link.ProgramDonePending != 0) {
        Window.Say(Text(RestoreText(RestoreTextId::LinkBusy, Window.Language())));
        return;
    }
    Window.TakePage();
    Window.Link().StartCompare();
}

void RestoreCommands::ShowUnitDifferences(const DeviceImage& unit) {
    ShowDifferences(unit, Text(RestoreText(RestoreTextId::TheUnit, Window.Language())));
}

void RestoreCommands::ShowDifferences(const DeviceImage& there, const QString& what) {
    if (!Differences) {
        Differences = new DifferenceWindow(&Window.MainWindow());
        Window.Dock(Differences, QStringLiteral("DifferenceDock"), true);
        Differences->TakeTheirs = [this](const std::vector<SetDifference>& chosen) {
            if (!ComparedSet)
                return;
            zevo::TakeTheirs(Window.SetOnScreen().Image, *ComparedSet, chosen);
            Window.AfterChange(); // one step of the history for all of them
        };
        Differences->Closed = [this] {
            ComparedSet.reset();
            Window.PaintMap(); // the marks go with the window
        };
    }
    ComparedSet = there;
    ComparedWhat = what;
    Differences->Show(Window.SetOnScreen().Image, there, what, Window.Language());
    ListedAgainst = Window.SetOnScreen().Image;
    Differences->show();
    Differences->raise();
    Differences->activateWindow();
    Window.PaintMap();
}

bool RestoreCommands::FollowListing() {
    if (!Differences || !ComparedSet || !Differences->isVisible())
        return false;
    // The listing follows the set on screen as it changes, whatever page is shown.
    const DeviceImage& image = Window.SetOnScreen().Image;
    if (!ListedAgainst || !(*ListedAgainst == image)) {
        Differences->Show(image, *ComparedSet, ComparedWhat, Window.Language());
        ListedAgainst = image;
    }
    return true;
}

void RestoreCommands::SetChanged() {
    FollowListing();
}

void RestoreCommands::Decorate(MapPainter::Scene& scene) {
    if (!FollowListing())
        return;
    const int servo = scene.Servo;
    std::array<std::array<bool, MapColumns>, MapRows + 1> marks{};
    for (const SetDifference& d : Differences->Differences()) {
        if (d.Servo != servo)
            continue;
        if (d.Field == SetField::RpmPoint)
            marks[0][static_cast<std::size_t>(d.Column)] = true;
        else if (d.Field == SetField::MapCell)
            marks[static_cast<std::size_t>(d.Row + 1)][static_cast<std::size_t>(d.Column)] = true;
    }
    DifferenceMarks = marks;
    scene.Differs = &DifferenceMarks;
}

} // namespace zevo
