// Undo and redo over whole snapshots of the device image, and programming after change.
#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
#include <QToolButton>

#include "link/link_engine.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"

namespace zevo {

void TFormHlav::HistoryReset() {
    History.HistoryReset(Image, PageControl1->currentIndex());
    HistoryUpdateButtons();
}

void TFormHlav::HistoryUpdateButtons() {
    SpeedButtonZpet->setEnabled(History.CanUndo());
    MenuZpet->setEnabled(History.CanUndo());
    SpeedButtonZnovu->setEnabled(History.CanRedo());
    MenuZnovu->setEnabled(History.CanRedo());
}

void TFormHlav::HistoryRecord() {
    ShowRecorded(History.HistoryRecord(Image, PageControl1->currentIndex(), CheckBoxProgHned->isChecked()));
}

void TFormHlav::ShowRecorded(const HistoryRecordOutcome& outcome) {
    if (outcome.Recorded)
        HistoryUpdateButtons();
    if (outcome.StartProgram)
        StartProgramTransaction();
}

// Copies a snapshot back and shows it on the page where it was taken.
void TFormHlav::ShowHistoryStep(const HistoryStep& step) {
    Image = step.Image;
    BlockToEditor();
    if (PageControl1->currentIndex() != step.Page)
        PageControl1->setCurrentIndex(step.Page);
    BlockToEditor();
    HistoryUpdateButtons();
    if (CheckBoxProgHned->isChecked())
        StartProgramTransaction();
}

void TFormHlav::SpeedButtonZpetClick() {
    if (const auto step = History.Undo())
        ShowHistoryStep(*step);
}

void TFormHlav::SpeedButtonZnovuClick() {
    if (const auto step = History.Redo())
        ShowHistoryStep(*step);
}

void TFormHlav::StartProgramTransaction() {
    // Not landed until its verify pass has found every page in this unit.
    Session.ProgramSent(Image.Page(0));
    Engine->StartProgram();
    ShowSetState();
}

} // namespace zevo
