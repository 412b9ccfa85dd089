#include "ui/window_link_view.h"

#include <QAction>
#include <QStatusBar>
#include <QTabWidget>

#include "link/link_engine.h"
#include "ui/cgauge.h"
#include "ui/form_hlav.h"
#include "ui/map_painter.h"
#include "ui/log_commands.h"
#include "ui/prompter.h"
#include "ui/restore_commands.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// Sets a caption only when it differs from what is shown: telemetry arrives three times a second
// and most of it does not change.
void Show(TLabel* label, const QString& text) {
    if (label->Caption() != text)
        label->SetCaption(text);
}

// A background of the design's and a text colour that reads on it: the window's own text on the
// window's own colour, else black or white, whichever reads better (a dark desktop theme gives light
// text, which would not read on red or yellow). `stale`: greyed, for values that are no longer current.
void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour, const QPalette& own,
           bool stale = false) {
    const QPalette::ColorRole textRole = role == QPalette::Base ? QPalette::Text : QPalette::WindowText;
    Rgb text = colour == own.color(role) ? ToRgb(own.color(textRole)) : ReadableText(ToRgb(colour));
    if (stale)
        text = SubduedText(text, ToRgb(colour));
    const QColor textColour = ToQColor(text);
    if (widget->autoFillBackground() && widget->palette().color(role) == colour &&
        widget->palette().color(textRole) == textColour)
        return;
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    palette.setColor(textRole, textColour);
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
    Paint(Form.LabelHlaseni, QPalette::Window, ColourOf(colour, Form.palette().color(QPalette::Window)),
          Form.palette());
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
    if (lost == Lost)
        return;
    // The labels keep the last values the unit sent, greyed while they are no longer current.
    Lost = lost;
    Form.Position.UnitSilent(lost);
    if (lost)
        Form.UnitSetUnknown();
    else
        Form.AnsweredNow = true;
    ReplayChanged();
}

bool WindowLinkView::Stale() const {
    // A replay shows recorded values, which are as current as the replay's position.
    return Lost && !Form.Replaying();
}

WindowLinkView::Labels WindowLinkView::Current() const {
    Labels labels;
    for (const auto& [label, colour] : TelemetryLabels())
        labels.Captions.push_back(label->Caption());
    labels.RpmGauge = Form.CGaugeRpm->Progress();
    labels.TpsGauge = Form.CGaugeTps->Progress();
    labels.EeDataError = !Form.LabelEeDataErr->isHidden();
    labels.VersionShown = !Form.LabelVersion->isHidden();
    labels.Colours = {TpsColour, SupplyColour, ServoColours[0], ServoColours[1]};
    return labels;
}

void WindowLinkView::ReplayChanged() {
    const bool replaying = Form.Replaying();
    if (replaying && !ShowsReplay && !UnitCaptions) {
        BeforeReplay = Current();
    } else if (!replaying && ShowsReplay) {
        // The unit's values again as it last sent them; or, when it has sent none, the labels as
        // they were: a replayed value must not stay behind looking like the unit's.
        if (UnitCaptions) {
            ShowCaptions(*UnitCaptions);
        } else if (BeforeReplay) {
            const std::vector<std::pair<TLabel*, QColor>> labels = TelemetryLabels();
            for (std::size_t i = 0; i < labels.size() && i < BeforeReplay->Captions.size(); ++i)
                Show(labels[i].first, BeforeReplay->Captions[i]);
            Form.CGaugeRpm->SetProgress(BeforeReplay->RpmGauge);
            Form.CGaugeTps->SetProgress(BeforeReplay->TpsGauge);
            Form.LabelEeDataErr->setVisible(BeforeReplay->EeDataError);
            Form.LabelVersion->setVisible(BeforeReplay->VersionShown);
            TpsColour = BeforeReplay->Colours[0];
            SupplyColour = BeforeReplay->Colours[1];
            ServoColours = {BeforeReplay->Colours[2], BeforeReplay->Colours[3]};
        }
        BeforeReplay.reset();
    }
    ShowsReplay = replaying;
    DressTelemetry();
    Form.CGaugeRpm->SetStale(Stale());
    Form.CGaugeTps->SetStale(Stale());
}

std::vector<std::pair<TLabel*, QColor>> WindowLinkView::TelemetryLabels() const {
    const std::array<QColor, 4> servo = {ServoColours[0], ServoColours[0], ServoColours[1], ServoColours[1]};
    std::vector<std::pair<TLabel*, QColor>> labels = {
        {Form.LabelRpm, QColor()},         {Form.LabelTpsMon, TpsColour},     {Form.LabelNapeti, SupplyColour},
        {Form.LabelServoPoz1, servo[0]},   {Form.LabelServoMer1, servo[1]},   {Form.LabelServoPoz2, servo[2]},
        {Form.LabelServoMer2, servo[3]},   {Form.LabelPocetProgramovani, QColor()}};
    for (TLabel* test : Form.LabelTest)
        labels.push_back({test, QColor()});
    return labels;
}

void WindowLinkView::DressTelemetry() {
    const QPalette own = Form.palette();
    const QColor face = own.color(QPalette::Window);
    for (const auto& [label, colour] : TelemetryLabels()) {
        const QColor background = colour.isValid() ? colour : face;
        // A label the design leaves uncoloured is greyed on its own colour; it is filled only then.
        if (!colour.isValid() && !Stale() && !label->autoFillBackground())
            continue;
        Paint(label, QPalette::Window, background, own, Stale());
    }
}

void WindowLinkView::LanguageChanged() {
    if (!UnitCaptions || !Form.Engine)
        return;
    if (const auto& status = Form.Engine->LastStatusFrame())
        UnitCaptions = ComposeTelemetry(*status, {Form.Image.ServoEnable(0) != 0, Form.Image.ServoEnable(1) != 0},
                                        Form.LanguageIndex);
}

void WindowLinkView::StatusDecoded(const StatusFrame& status) {
    Form.Position.UnitReading(EngineReading{status.Rpm, status.TpPercent, TpMillivoltsFromCount(status.TpCount)});
    Form.Log->StatusDecoded(status);
}

void WindowLinkView::ShowTelemetry(const TelemetryCaptions& captions) {
    // While a log is replayed the labels show it; the unit's frames wait for the replay's end.
    UnitCaptions = captions;
    if (!Form.Replaying())
        ShowCaptions(captions);
}

void WindowLinkView::ShowCaptions(const TelemetryCaptions& captions) {
    const QColor face = Form.palette().color(QPalette::Window);
    Show(Form.LabelRpm, Utf8(captions.Rpm));
    Form.CGaugeRpm->SetProgress(captions.RpmGauge);
    Show(Form.LabelTpsMon, Utf8(captions.Tps));
    TpsColour = ColourOf(captions.TpsColour, face);
    Form.CGaugeTps->SetProgress(captions.TpsGauge);
    Show(Form.LabelNapeti, Utf8(captions.Supply));
    SupplyColour = ColourOf(captions.SupplyColour, face);
    const std::array<TLabel*, ServoCount> desired = {Form.LabelServoPoz1, Form.LabelServoPoz2};
    const std::array<TLabel*, ServoCount> measured = {Form.LabelServoMer1, Form.LabelServoMer2};
    for (std::size_t s = 0; s < ServoCount; ++s) {
        Show(desired[s], Utf8(captions.ServoDesired[s]));
        Show(measured[s], Utf8(captions.ServoMeasured[s]));
        ServoColours[s] = ColourOf(captions.ServoColour[s], face);
    }
    DressTelemetry();
    Show(Form.LabelPocetProgramovani, Utf8(captions.NumberOfProgramming));
    if (Form.LabelEeDataErr->isHidden() == captions.EeDataError)
        Form.LabelEeDataErr->setVisible(captions.EeDataError);
    for (std::size_t i = 0; i < Form.LabelTest.size(); ++i)
        Show(Form.LabelTest[i], Utf8(captions.Test[i]));
    if (captions.VersionWarning.empty()) {
        if (!Form.LabelVersion->isHidden())
            Form.LabelVersion->hide();
    } else {
        Show(Form.LabelVersion, Utf8(captions.VersionWarning));
        if (Form.LabelVersion->isHidden())
            Form.LabelVersion->show();
    }
}

void WindowLinkView::HideVersionWarning() {
    if (!Form.Replaying() && !Form.LabelVersion->isHidden())
        Form.LabelVersion->hide();
}

void WindowLinkView::ShowLiveCell(int /*column*/, int /*row*/) {
    // The window's engine position knows the cell, a replay's included, on the axes as they are now.
    Form.ShowLive();
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
    Form.Session.FileHolds(std::nullopt);
}

void WindowLinkView::ShowNote(const std::string& text) {
    // Long enough to be read beside the status line's own message.
    NoteThisTick = Utf8(text);
    Form.StatusBar1->showMessage(NoteThisTick, 10000);
}

void WindowLinkView::RecordReadSet() {
    if (Form.History.RecordUnitSet(Form.Image, Form.PageControl1->currentIndex()))
        Form.HistoryUpdateButtons();
}

void WindowLinkView::ReadSetTaken() {
    Form.ReadSetTaken();
}

void WindowLinkView::TransferEnded(const TransferOutcome& outcome) {
    Form.TransferEnded(outcome);
}

void WindowLinkView::ProgramStored(int programmingCount) {
    Form.RestorePoints->KeepProgrammedPoint(programmingCount);
}

void WindowLinkView::UnitSetAside(const DeviceImage& unit) {
    Form.UnitSetAside(unit);
}

void WindowLinkView::ShowMessage(const std::string& text) {
    if (Form.Prompts)
        Form.Prompts->ShowMessage(&Form, Utf8(text));
}

} // namespace zevo
