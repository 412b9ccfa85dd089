#include "ui/window_link_view.h"

#include <QAction>
#include <QStatusBar>
#include <QTabWidget>

#include "ui/cgauge.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QColor Lime(0, 255, 0);

QColor ColourOf(LabelColour colour, const QColor& face) {
    switch (colour) {
    case LabelColour::Red:
        return QColor(255, 0, 0);
    case LabelColour::Yellow:
        return QColor(255, 255, 0);
    case LabelColour::Normal:
        break;
    }
    return face;
}

// Sets a caption and a background only when they differ from what is shown: telemetry arrives
// three times a second and most of it does not change.
void Show(TLabel* label, const QString& text) {
    if (label->Caption() != text)
        label->SetCaption(text);
}

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    if (widget->palette().color(role) == colour && widget->autoFillBackground())
        return;
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

std::uint8_t WindowLinkView::LanguageIndex() const {
    return Form.LanguageIndex;
}

int WindowLinkView::ActivePage() const {
    return Form.PageControl1->currentIndex();
}

void WindowLinkView::SetStatusLine(MsgId text, std::string_view suffix, LabelColour colour) {
    Show(Form.LabelHlaseni,
         Form.Msg(text) + QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size())));
    Paint(Form.LabelHlaseni, QPalette::Window, ColourOf(colour, Form.palette().color(QPalette::Window)));
}

void WindowLinkView::SetStatusLineVisible(bool visible) {
    if (Form.LabelHlaseni->isHidden() == visible)
        Form.LabelHlaseni->setVisible(visible);
}

void WindowLinkView::SetProgramGauge(int maximum, int progress) {
    Form.CGaugeProgram->SetMaxValue(maximum);
    Form.CGaugeProgram->SetProgress(progress);
}

void WindowLinkView::SetProgramGaugeVisible(bool visible) {
    if (Form.CGaugeProgram->isHidden() == visible)
        Form.CGaugeProgram->setVisible(visible);
}

void WindowLinkView::SetConnectionLost(bool lost) {
    if (Form.LabelSpojeni->isHidden() == lost)
        Form.LabelSpojeni->setVisible(lost);
}

void WindowLinkView::ShowTelemetry(const TelemetryCaptions& captions) {
    const QColor face = Form.palette().color(QPalette::Window);
    Show(Form.LabelRpm, Utf8(captions.Rpm));
    Form.CGaugeRpm->SetProgress(captions.RpmGauge);
    Show(Form.LabelTpsMon, Utf8(captions.Tps));
    Paint(Form.LabelTpsMon, QPalette::Window, ColourOf(captions.TpsColour, face));
    Form.CGaugeTps->SetProgress(captions.TpsGauge);
    Show(Form.LabelNapeti, Utf8(captions.Supply));
    Paint(Form.LabelNapeti, QPalette::Window, ColourOf(captions.SupplyColour, face));
    const std::array<TLabel*, ServoCount> desired = {Form.LabelServoPoz1, Form.LabelServoPoz2};
    const std::array<TLabel*, ServoCount> measured = {Form.LabelServoMer1, Form.LabelServoMer2};
    for (std::size_t s = 0; s < ServoCount; ++s) {
        Show(desired[s], Utf8(captions.ServoDesired[s]));
        Show(measured[s], Utf8(captions.ServoMeasured[s]));
        const QColor colour = ColourOf(captions.ServoColour[s], face);
        Paint(desired[s], QPalette::Window, colour);
        Paint(measured[s], QPalette::Window, colour);
    }
    Show(Form.LabelPocetProgramovani, Utf8(captions.NumberOfProgramming));
    if (Form.LabelEeDataErr->isHidden() == captions.EeDataError)
        Form.LabelEeDataErr->setVisible(captions.EeDataError);
    for (std::size_t i = 0; i < Form.LabelTest.size(); ++i)
        Show(Form.LabelTest[i], Utf8(captions.Test[i]));
    if (captions.VersionWarning.empty()) {
        HideVersionWarning();
    } else {
        Show(Form.LabelVersion, Utf8(captions.VersionWarning));
        if (Form.LabelVersion->isHidden())
            Form.LabelVersion->show();
    }
}

void WindowLinkView::HideVersionWarning() {
    if (!Form.LabelVersion->isHidden())
        Form.LabelVersion->hide();
}

void WindowLinkView::ShowLiveCell(int column, int row) {
    if (column == PaintedColumn && row == PaintedRow)
        return; // the engine runs in the same cell: nothing to repaint
    const QColor field = Form.palette().color(QPalette::Base);
    const QColor face = Form.palette().color(QPalette::Window);
    auto axis = [this](int c) { return Form.EditRpm[static_cast<std::size_t>(c)]; };
    auto rowLabel = [this](int r) { return Form.LabelTpRow[static_cast<std::size_t>(r)]; };
    auto cell = [this](int r, int c) {
        return Form.EditMap[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    };
    // Only the old and the new axis field, row caption and cell change colour.
    // A cell the engine leaves goes back to its plain colour, or to the selection's.
    if (PaintedColumn >= 0) {
        Paint(axis(PaintedColumn), QPalette::Base, Form.CellBackground(-1, PaintedColumn, field));
        Paint(cell(PaintedRow, PaintedColumn), QPalette::Base,
              Form.CellBackground(PaintedRow, PaintedColumn, field));
        Paint(rowLabel(PaintedRow), QPalette::Window, face);
    }
    Paint(axis(column), QPalette::Base, Lime);
    Paint(rowLabel(row), QPalette::Window, Lime);
    Paint(cell(row, column), QPalette::Base, Lime);
    PaintedColumn = column;
    PaintedRow = row;
}

void WindowLinkView::SetPortLabel(const std::string& text, const std::string& device) {
    Show(Form.LabelCom, Utf8(text));
    Form.LabelCom->setToolTip(Utf8(device));
}

void WindowLinkView::CheckComMenuItem(int index) {
    for (std::size_t i = 0; i < Form.MenuComItems.size(); ++i)
        Form.MenuComItems[i]->setChecked(static_cast<int>(i) == index);
}

void WindowLinkView::BlockToEditor() {
    Form.BlockToEditor();
}

void WindowLinkView::ShowIdentification(const Identification& unit) {
    Form.UnitName = unit.UnitName;
    Form.UnitBuildDate = unit.UnitBuildDate;
    Form.UnitBuildTime = unit.UnitBuildTime;
    Show(Form.LabelVerze1, Utf8(unit.UnitName));
    Show(Form.LabelVerze2, Utf8(unit.UnitBuildDate));
    Show(Form.LabelVerze3, Utf8(unit.UnitBuildTime));
}

void WindowLinkView::ClearFileName() {
    Form.LabelFile2->SetCaption(QString());
}

void WindowLinkView::ShowNote(const std::string& text) {
    // Long enough to be read beside the status line's own message.
    Form.StatusBar1->showMessage(Utf8(text), 10000);
}

void WindowLinkView::RecordReadSet() {
    if (Form.History.RecordUnitSet(Form.Image, Form.PageControl1->currentIndex()))
        Form.HistoryUpdateButtons();
}

void WindowLinkView::ShowMessage(const std::string& text) {
    if (Form.Prompts)
        Form.Prompts->ShowMessage(&Form, Utf8(text));
}

} // namespace zevo
