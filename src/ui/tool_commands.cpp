// Live tuning from the window: Minus/Plus on the cell the engine runs in, the column spin buttons,
// the throttle calibration capture and the per-cent switch. Each changes the block, then lets
// AfterChange repair, show and record it.
#include <QCheckBox>
#include <QTabWidget>

#include "link/link_engine.h"
#include "params/editing_tools.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"

namespace zevo {

// The servo of a tool: servo 1 on its tab, servo 2 otherwise.
int TFormHlav::ToolServo() const { return PageControl1->currentIndex() == 1 ? 0 : 1; }

void TFormHlav::MenuToolsMinusClick() { StepMapFromTools(StepDown); }
void TFormHlav::MenuToolsPlusClick() { StepMapFromTools(StepUp); }

void TFormHlav::StepMapFromTools(int direction) {
    if (PageControl1->currentIndex() == 0)
        return; // no map on the Miscellaneous page, and no history step
    // The cell marked on the page, wherever its reading comes from (the unit, its last frame, a replay).
    const EngineCell live = Position.CellOn(Image, ToolServo());
    StepMapTool(Image, ToolServo(), direction, CheckBoxAll->isChecked(), CheckBoxTpEnable->isChecked(), live.Row,
                live.Column);
    AfterChange();
}

void TFormHlav::CSpinButtonUpClick_Uni(int column) {
    StepColumn(Image, ToolServo(), column, StepUp);
    AfterChange();
}

void TFormHlav::CSpinButtonDownClick_Uni(int column) {
    StepColumn(Image, ToolServo(), column, StepDown);
    AfterChange();
}

void TFormHlav::ButtonTps0Click() {
    // The voltage the throttle label shows, a replayed row's included.
    if (CaptureTps0(Image, Position.Reading().TpMillivolts))
        AfterChange();
}

void TFormHlav::ButtonTps100Click() {
    if (CaptureTps100(Image, Position.Reading().TpMillivolts))
        AfterChange();
}

void TFormHlav::CheckBoxProcentaMouseUp() {
    SwitchPerCentMode(Image, ToolServo(), CheckBoxProcenta->isChecked());
    AfterChange();
}

} // namespace zevo
