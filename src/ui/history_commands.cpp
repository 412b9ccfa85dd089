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

namespace {

// Copies a snapshot back and shows it on the page where it was taken.
void Restore(TFormHlav& form, const HistoryStep& step) {
    form.Image = step.Image;
    form.BlockToEditor();
    if (form.PageControl1->currentIndex() != step.Page)
        form.PageControl1->setCurrentIndex(step.Page);
    form.BlockToEditor();
    form.HistoryUpdateButtons();
    if (form.CheckBoxProgHned->isChecked())
        form.StartProgramTransaction();
}

} // namespace

void TFormHlav::SpeedButtonZpetClick() {
    if (const auto step = History.Undo())
        Restore(*this, *step);
}

void TFormHlav::SpeedButtonZnovuClick() {
    if (const auto step = History.Redo())
        Restore(*this, *step);
}

void TFormHlav::StartProgramTransaction() {
    // Not landed until its verify pass has found every page in this unit.
    Session.ProgramSent(Image.Page(0));
    Engine->StartProgram();
    ShowSetState();
}

} // namespace zevo
