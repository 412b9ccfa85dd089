// The difference view against the unit, a file or a restore point, and taking a restore point back.
#include <QAction>
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QFileInfo>
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
#include "ui/form_hlav.h"
#include "ui/prompter.h"
#include "ui/restore_window.h"
#include "ui/qt_text.h"

namespace zevo {

void TFormHlav::BuildCompareCommands() {
    // After the design's items of each menu.
    MenuFile->addSeparator();
    MenuRestorePoints = MenuFile->addAction(QString());
    MenuRestorePoints->setObjectName(QStringLiteral("MenuRestorePoints"));
    connect(MenuRestorePoints, &QAction::triggered, this, &TFormHlav::MenuRestorePointsClick);
    MenuCompareFile = MenuFile->addAction(QString());
    MenuCompareFile->setObjectName(QStringLiteral("MenuCompareFile"));
    connect(MenuCompareFile, &QAction::triggered, this, &TFormHlav::MenuCompareFileClick);
    MenuExportReport = MenuFile->addAction(QString());
    MenuExportReport->setObjectName(QStringLiteral("MenuExportReport"));
    connect(MenuExportReport, &QAction::triggered, this, &TFormHlav::MenuExportReportClick);
    MenuCompareUnit = MenuDevice->addAction(QString());
    MenuCompareUnit->setObjectName(QStringLiteral("MenuCompareUnit"));
    // F12 is free among the design's keys (F1..F9).
    MenuCompareUnit->setShortcut(QKeySequence(Qt::Key_F12));
    connect(MenuCompareUnit, &QAction::triggered, this, &TFormHlav::MenuCompareUnitClick);
}

void TFormHlav::ApplyCompareCaptions() {
    if (!MenuRestorePoints)
        return;
    MenuRestorePoints->setText(Text(RestoreText(RestoreTextId::MenuRestorePoints, LanguageIndex)));
    MenuCompareFile->setText(Text(RestoreText(RestoreTextId::MenuCompareFile, LanguageIndex)));
    MenuCompareUnit->setText(Text(RestoreText(RestoreTextId::MenuCompareUnit, LanguageIndex)));
    MenuExportReport->setText(Text(RestoreText(RestoreTextId::MenuExportReport, LanguageIndex)));
    if (Differences && ComparedSet)
        Differences->Show(Image, *ComparedSet, ComparedWhat, LanguageIndex);
}

void TFormHlav::MenuExportReportClick() {
    if (!Prompts)
        return;
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("pdf");
    settings.Filters = {QStringLiteral("PDF (*.pdf)")};
    settings.PromptOverwrite = true;
    const QString named = LabelFile2->Caption();
    settings.InitialFileName = named.isEmpty() ? QStringLiteral("zevo.pdf") : QFileInfo(named).completeBaseName() + QStringLiteral(".pdf");
    const QString path = Prompts->SaveFileName(this, settings);
    if (path.isEmpty())
        return;
    EditorToBlock();
    ValidateBlock(Image, Ports);
    BlockToEditor();
    ReportInput input;
    input.Image = Image;
    input.FileName = named.toStdString();
    input.UnitName = UnitName;
    input.UnitBuild = UnitBuildDate + " " + UnitBuildTime;
    input.Date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    input.Language = LanguageIndex;
    const WriteResult written = WriteFileChecked(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setTitle(Text(RestoreText(RestoreTextId::ReportTitle, LanguageIndex)));
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
        RestoreText(written ? RestoreTextId::ReportSaved : RestoreTextId::ReportNotSaved, LanguageIndex), {path.toStdString()});
    if (written)
        Say(Text(shown));
    else
        Prompts->ShowMessage(this, Text(shown), written.Reason);
}

void TFormHlav::MenuRestorePointsClick() {
    if (!RestorePointsWindow) {
        RestorePointsWindow = new RestoreWindow(this);
        RestorePointsWindow->Compare = [this](const RestoreInfo& info, const QString& stem) {
            ShowDifferences(info.Image, stem);
        };
        RestorePointsWindow->Restore = [this](const RestoreInfo& info, const QString& stem) {
            RestoreSet(info, stem);
        };
    }
    RestorePointsWindow->Show(RestorePoints->List(), RestorePoints->Path(), LanguageIndex);
    RestorePointsWindow->show();
    RestorePointsWindow->raise();
    RestorePointsWindow->activateWindow();
}

void TFormHlav::RestoreSet(const RestoreInfo& info, const QString& stem) {
    if (!MayLeaveSet())
        return;
    // As Open takes a file: the parameters over the set on screen (the identification page is the
    // connected unit's, the unused bytes stay as they are), validated, shown, one step of the history.
    // It is no longer the named file's set.
    Session.TakeParameters(info.Image);
    AfterChange();
    LabelFile2->SetCaption(QString());
    Session.FileHolds(std::nullopt);
    Session.MarkSafe();
    TakeRestorePoint(RestoreEvent::Opened, nullptr, RestorePoints->Path() + QLatin1Char('/') + stem + QStringLiteral(".ign"));
    ShowSetState();
}

void TFormHlav::MenuCompareFileClick() {
    const QString path = Prompts ? Prompts->OpenFileName(this, OpenDialogSettings()) : QString();
    if (path.isEmpty())
        return;
    // The file laid over the set on screen, as Open would: what it does not carry never differs.
    DeviceImage there = Image;
    const IgnLoad load = LoadIgnFile(path, there, LanguageIndex);
    if (load.Result != IgnReadResult::Ok) {
        Prompts->ShowMessage(this,
                             Msg(load.Result == IgnReadResult::UnmatchedVersion ? MsgId::MsgUnmatchedFileVersion
                                                                                : MsgId::MsgOpenFileError),
                             load.Reason);
        return;
    }
    PortChoice ports = Ports;
    ValidateBlock(there, ports);
    ShowDifferences(there, QFileInfo(path).fileName());
}

void TFormHlav::MenuCompareUnitClick() {
    // The window's own look at the unit is running: it is shown when it ends.
    if (QuietlyComparing && Link().State().TransferMode != Transfer::Idle) {
        QuietlyComparing = false;
        return;
    }
    const LinkState& link = Link().State();
    if (link.TransferMode != Transfer::Idle || link.ProgramDonePending != 0) {
        Say(Text(RestoreText(RestoreTextId::LinkBusy, LanguageIndex)));
        return;
    }
    EditorToBlock();
    Link().StartCompare();
}

void TFormHlav::UnitSetAside(const DeviceImage& unit) {
    // Now the unit's set is known, as after a Read, though nothing is taken over; listed as the
    // unit holds it, unrepaired, so what a Verify trips over shows.
    Session.UnitHolds(unit);
    if (QuietlyComparing) {
        QuietlyComparing = false;
        // The unit a Program did not reach answers again: with "Programming after change" still
        // ticked it gets that Program now. Another unit never does.
        if (Session.ProgramPending() && CheckBoxProgHned->isChecked() && Session.PendingFor(unit.Page(0)) &&
            Session.UnitState() != UnitKnowledge::InUnit)
            StartProgramTransaction();
        else if (Session.UnitState() == UnitKnowledge::InUnit)
            Session.ProgramLanded(); // it got there after all: only its verify pass went unheard
        ShowSetState();
        return;
    }
    ShowDifferences(unit, Text(RestoreText(RestoreTextId::TheUnit, LanguageIndex)));
}

void TFormHlav::ShowDifferences(const DeviceImage& there, const QString& what) {
    if (!Differences) {
        Differences = new DifferenceWindow(this);
        Differences->TakeTheirs = [this](const std::vector<SetDifference>& chosen) {
            if (!ComparedSet)
                return;
            zevo::TakeTheirs(Image, *ComparedSet, chosen);
            AfterChange(); // one step of the history for all of them
        };
        Differences->Closed = [this] {
            ComparedSet.reset();
            PaintMap(); // the marks go with the window
        };
    }
    ComparedSet = there;
    ComparedWhat = what;
    Differences->Show(Image, there, what, LanguageIndex);
    ListedAgainst = Image;
    Differences->show();
    Differences->raise();
    Differences->activateWindow();
    PaintMap();
}

void TFormHlav::FollowDifferences() {
    if (!Differences || !ComparedSet || !Differences->isVisible()) {
        DifferenceMarks.reset();
        return;
    }
    // The listing follows the set on screen as it changes.
    if (!ListedAgainst || !(*ListedAgainst == Image)) {
        Differences->Show(Image, *ComparedSet, ComparedWhat, LanguageIndex);
        ListedAgainst = Image;
    }
    const int servo = ShownServo();
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
}

} // namespace zevo
