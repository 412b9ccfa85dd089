// The editor is a view of the parameter block, never its store. Every user change reads the whole
// active page back into the block (EditorToBlock), then AfterChange repairs the block and rewrites
// the page from it, so the controls always show exactly what the block holds.
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>

#include "params/conversions.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/map_selection_control.h"
#include "ui/up_down.h"

namespace zevo {

void TFormHlav::WatchEdit(TEdit* edit) {
    edit->installEventFilter(this);
    connect(edit, &TEdit::Left, this, [this, edit](Qt::FocusReason reason) { EditLeft(edit, reason); });
}

void TFormHlav::EditLeft(TEdit* edit, Qt::FocusReason reason) {
    // Leaving a field by Tab, or by a click on anything but another field (whose click takes the
    // page itself), confirms what was typed there as Enter does: the screen never shows a number
    // the set does not hold. Not while a refresh or a tab change moves the focus: that drops it.
    if (DisplayBusy == 1 || ServoBoxHeld || EnterMovesFocus || !edit->HoldsProposal())
        return;
    const bool byKey = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    const bool byClick = reason == Qt::MouseFocusReason && !qobject_cast<TEdit*>(QApplication::focusWidget());
    if (!byKey && !byClick)
        return;
    ConfirmPage();
}

void TFormHlav::EditorToBlock() {
    if (DisplayBusy == 1)
        return; // a refresh is filling the controls: their events must not write half a page back
    const int servo = ShownServo();
    if (servo < 0) {
        Image.Tps0() = Tps0FromDisplay(UpDownTps0->Position());
        Image.Tps100() = Tps100FromDisplay(UpDownTps100->Position());
        const int item = RadioGroupPocPulsuItems->checkedId();
        if (item >= 0)
            Image.PulsesPerRevIndex() = PulsesItemFromDisplay(item);
        return;
    }
    // The unit first: the map cells below are read in it.
    Image.PerCentMode(servo) = FlagFromDisplay(CheckBoxProcenta->isChecked());
    const bool perCent = Image.PerCentMode(servo) != 0;
    for (int c = 0; c < MapColumns; ++c) {
        const auto ci = static_cast<std::size_t>(c);
        Image.RpmAxis(servo, c) = RpmFromDisplay(UpDownRpm[ci]->Position());
        // Hidden rows are read too; they still hold the block's values.
        for (int r = 0; r < MapRows; ++r)
            Image.MapCell(servo, r, c) =
                MapCellFromDisplay(UpDownMap[static_cast<std::size_t>(r)][ci]->Position(), perCent);
    }
    Image.HysteresisMv(servo) = HysteresisFromDisplay(UpDownHystMv->Position());
    Image.HysteresisRpm(servo) = HysteresisFromDisplay(UpDownHystRpm->Position());
    Image.ServoEnable(servo) = FlagFromDisplay(CheckBoxServoEnable->isChecked());
    Image.TpEnable(servo) = FlagFromDisplay(CheckBoxTpEnable->isChecked());
    AllCells[static_cast<std::size_t>(servo)] = FlagFromDisplay(CheckBoxAll->isChecked());
}

void TFormHlav::BlockToEditor() {
    DisplayBusy = 1;
    UpdateServoPage();
    const int servo = ShownServo();
    if (servo < 0) {
        UpDownTps0->SetPosition(Tps0ToDisplay(Image.Tps0()));
        UpDownTps100->SetPosition(Tps100ToDisplay(Image.Tps100()));
        RadioPocPulsu[static_cast<std::size_t>(PulsesItemToDisplay(Image.PulsesPerRevIndex()))]->setChecked(
            true);
    } else {
        const bool perCent = Image.PerCentMode(servo) != 0;
        CheckBoxProcenta->setChecked(perCent);
        for (int c = 0; c < MapColumns; ++c) {
            const auto ci = static_cast<std::size_t>(c);
            UpDownRpm[ci]->SetPosition(RpmToDisplay(Image.RpmAxis(servo, c)));
            for (int r = 0; r < MapRows; ++r)
                UpDownMap[static_cast<std::size_t>(r)][ci]->SetPosition(
                    MapCellToDisplay(Image.MapCell(servo, r, c), perCent));
        }
        UpDownHystMv->SetPosition(HysteresisToDisplay(Image.HysteresisMv(servo)));
        UpDownHystRpm->SetPosition(HysteresisToDisplay(Image.HysteresisRpm(servo)));
        CheckBoxServoEnable->setChecked(FlagToDisplay(Image.ServoEnable(servo)));
        CheckBoxTpEnable->setChecked(FlagToDisplay(Image.TpEnable(servo)));
        CheckBoxAll->setChecked(FlagToDisplay(AllCells[static_cast<std::size_t>(servo)]));
    }
    // Again, so the rows follow the TP Enable state just shown.
    UpdateServoPage();
    NameServoFields();
    // The values' colours, rows TP Enable hides dropping out of the selection, and the chart, which
    // follows the set on every page.
    PaintMap();
    DisplayBusy = 0;
}

void TFormHlav::AfterChange() {
    const HistoryRecordOutcome outcome =
        Session.Commit(Ports, PageControl1->currentIndex(), CheckBoxProgHned->isChecked());
    BlockToEditor();
    ShowRecorded(outcome);
}

void TFormHlav::UpDown1Click() {
    ConfirmPage();
}

void TFormHlav::Edit1Exit() {
    ConfirmPage();
}

void TFormHlav::CheckBoxProgHnedMouseUp() {
    ConfirmPage();
}

void TFormHlav::FormKeyPress(QWidget* sender) {
    // With several map cells selected, Enter gives the typed value to all of them instead.
    if (auto* field = qobject_cast<TEdit*>(sender); field && FillSelectionFrom(field))
        return;
    // Enter confirms what was typed: the focus moves on as with Tab, then the page is taken.
    if (sender) {
        EnterMovesFocus = true;
        focusNextChild(); // with the Tab reason: the next field's text is selected, typing replaces it
        EnterMovesFocus = false;
    }
    ConfirmPage();
}

void TFormHlav::CheckBoxTpEnableMouseUp() {
    HoldServoBox(true);
    EditorToBlock();
    UpdateServoPage();
    AfterChange();
    HoldServoBox(false);
}

void TFormHlav::RadioGroupPocPulsuClick(int item) {
    Image.PulsesPerRevIndex() = PulsesItemFromDisplay(item);
    HistoryRecord();
}

void TFormHlav::PageControl1Change(int /*index*/) {
    // Nothing is taken from the page being left; the new page shows the block, nothing selected.
    if (Selection)
        Selection->Clear();
    HoldServoBox(true);
    BlockToEditor();
    HoldServoBox(false);
}

} // namespace zevo
