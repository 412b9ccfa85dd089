// What the window shows about the set on screen: whether the unit holds it, whether a Program of it
// has not landed, and whether the file named holds it.
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <sstream>

#include "files/ign_format.h"
#include "files/ign_load.h"
#include "ui/window_link_view.h"
#include "files/set_difference.h"
#include "lang/editing_texts.h"
#include "lang/restore_texts.h"
#include "link/link_engine.h"
#include "ui/close_on_signal.h"
#include "ui/form_hlav.h"
#include "ui/qt_text.h"
#include "ui/controls.h"
#include "ui/restore_commands.h"

namespace zevo {

void TFormHlav::BuildSetStateLabels() {
    LabelSetState = new QLabel(StatusBar1);
    LabelSetState->setObjectName(QStringLiteral("LabelSetState"));
    LabelNotInUnit = new QLabel(StatusBar1);
    LabelNotInUnit->setObjectName(QStringLiteral("LabelNotInUnit"));
    LabelNotInUnit->setAutoFillBackground(true);
    {
        // White on the design's red: 4.0:1 is too little for small text, so a darker red.
        QPalette palette = LabelNotInUnit->palette();
        palette.setColor(QPalette::Window, QColor(190, 0, 0));
        palette.setColor(QPalette::WindowText, Qt::white);
        LabelNotInUnit->setPalette(palette);
    }
    LabelNotInUnit->setContentsMargins(4, 0, 4, 0);
    LabelNotInUnit->hide();
    StatusBar1->addPermanentWidget(LabelNotInUnit);
    StatusBar1->addPermanentWidget(LabelSetState);
}

const QString& TFormHlav::RestorePointsFolder() const {
    return RestorePoints->Folder();
}

void TFormHlav::ReadSetTaken() {
    // A new outcome before the unit said it had stored the last programming: that copy is kept
    // now, its counter unknown.
    RestorePoints->KeepProgrammedPoint(std::nullopt);
    Session.UnitHolds(Image);
    Session.MarkSafe(); // in the unit: nothing to lose
    RestorePoints->Take(RestoreEvent::Read);
    ShowSetState();
}

void TFormHlav::TransferEnded(const TransferOutcome& outcome) {
    using Kind = TransferOutcome::Kind;
    // A transfer the user asked for took the place of the window's own look at the unit, or that
    // look broke off.
    if (!outcome.Quiet || outcome.How != TransferOutcome::End::Ok)
        QuietlyComparing = false;
    if (outcome.Asked == Kind::Compare)
        return; // read aside: UnitSetAside tells what it found
    if (outcome.Asked == Kind::Program) {
        if (outcome.How == TransferOutcome::End::Ok)
            Session.ProgramLanded();
        else if (outcome.How == TransferOutcome::End::Failed)
            Session.ProgramSent(Image.Page(0)); // the unit's page, if it answered page 0
    }
    RestorePoints->KeepProgrammedPoint(std::nullopt);
    switch (outcome.How) {
    case TransferOutcome::End::Ok:
        // The pages the pass found, not the screen as it is now: an edit made while the pass ran
        // is not in the unit.
        Session.UnitHolds(Link().VerifiedSet());
        Session.MarkSafe(Link().VerifiedSet());
        // The programmed copy waits for the unit to finish storing: its programming counter counts
        // this programming only then.
        if (outcome.Asked == Kind::Program)
            RestorePoints->ProgrammedAwaitsStoring(Link().VerifiedSet());
        break;
    case TransferOutcome::End::Failed:
        // Broken off by silence, it says nothing about the set: the unit may be gone or another one.
        // A Read that broke off before its verify pass left the set as it was.
        if (outcome.UnitSilent || (outcome.Asked == Kind::Read && !outcome.InVerifyPass))
            break;
        // Some pages may be new and some old, or the unit holds another set: not this one. Where it
        // differs is one key away; the red caption stays as it is.
        Session.UnitHoldsAnother();
        // Unless the link has just said more of it (a mixed set to program again, requests not
        // started), which the status bar must keep whole.
        if (View->NoteThisTick.isEmpty())
            Say(Text(RestoreText(RestoreTextId::VerifyOffer, LanguageIndex)));
        break;
    case TransferOutcome::End::Refused:
        break;
    }
    ShowSetState();
}

void TFormHlav::UnitSetUnknown() {
    RestorePoints->KeepProgrammedPoint(std::nullopt);
    // A unit that went silent may come back as another one.
    Session.UnitNotKnown();
    ShowSetState();
}

void TFormHlav::UnitAnswered() {
    // Another unit may stand behind the port now, or the same one with a set changed elsewhere: what
    // it holds is read aside once, nothing taken over, nothing shown but the state it gives.
    if (Link().State().TransferMode != Transfer::Idle)
        return;
    Link().StartCompare(/*quietly=*/true);
    QuietlyComparing = Link().State().TransferMode != Transfer::Idle;
}

void TFormHlav::UnitSetAside(const DeviceImage& unit) {
    // Now the unit's set is known, as after a Read, though nothing is taken over; listed as the
    // unit holds it, unrepaired, so what a Verify trips over shows.
    Session.UnitHolds(unit);
    if (!QuietlyComparing) {
        RestorePoints->ShowUnitDifferences(unit);
        return;
    }
    QuietlyComparing = false;
    // The unit a Program did not reach answers again: with "Programming after change" still
    // ticked it gets that Program now. Another unit never does.
    if (Session.ProgramPending() && CheckBoxProgHned->isChecked() && Session.PendingFor(unit.Page(0)) &&
        Session.UnitState() != UnitKnowledge::InUnit)
        StartProgramTransaction();
    else if (Session.UnitState() == UnitKnowledge::InUnit)
        Session.ProgramLanded(); // it got there after all: only its verify pass went unheard
    ShowSetState();
}

bool TFormHlav::ShowQuietComparison() {
    if (!QuietlyComparing || Link().State().TransferMode == Transfer::Idle)
        return false;
    QuietlyComparing = false;
    return true;
}

void TFormHlav::ForgetNamedFile() {
    LabelFile2->SetCaption(QString());
    Session.FileHolds(std::nullopt);
    Session.MarkSafe();
    ShowSetState();
}

void TFormHlav::TakePage() {
    EditorToBlock();
    ValidateBlock(Image, Ports);
    BlockToEditor();
}

void TFormHlav::Repair(DeviceImage& set) const {
    PortChoice ports = Ports; // the repair of a copy changes no port choice
    ValidateBlock(set, ports);
}

Identification TFormHlav::UnitIdentity() const {
    Identification unit;
    unit.UnitName = UnitName;
    unit.UnitBuildDate = UnitBuildDate;
    unit.UnitBuildTime = UnitBuildTime;
    return unit;
}

void TFormHlav::ShowSetState() {
    if (LabelSetState) {
        RestoreTextId text = RestoreTextId::StateUnknown, tip = RestoreTextId::StateUnknownTip;
        switch (Session.UnitState()) {
        case UnitKnowledge::InUnit:
            text = RestoreTextId::StateInUnit;
            tip = RestoreTextId::StateInUnitTip;
            break;
        case UnitKnowledge::DiffersFromUnit:
            text = RestoreTextId::StateDiffers;
            tip = RestoreTextId::StateDiffersTip;
            break;
        case UnitKnowledge::UnitNotKnown:
            break;
        }
        const QString caption = Text(RestoreText(text, LanguageIndex));
        if (LabelSetState->text() != caption) {
            LabelSetState->setText(caption);
            LabelSetState->setToolTip(Text(RestoreText(tip, LanguageIndex)));
        }
    }
    if (LabelNotInUnit) {
        // Said while no Program of it runs: a Program under way says so on the status line.
        const bool show = Session.ProgramPending() && Link().State().TransferMode == Transfer::Idle;
        const QString caption = Text(RestoreText(RestoreTextId::NotInUnit, LanguageIndex));
        if (LabelNotInUnit->text() != caption) {
            LabelNotInUnit->setText(caption);
            LabelNotInUnit->setToolTip(Text(RestoreText(RestoreTextId::NotInUnitTip, LanguageIndex)));
        }
        if (LabelNotInUnit->isHidden() == show)
            LabelNotInUnit->setVisible(show);
    }
    // The design's caption, then the file the set came from, marked while the set differs from it.
    QString title = Text(CaptionText(CaptionId::FormCaption, LanguageIndex));
    const QString file = LabelFile2 ? LabelFile2->Caption() : QString();
    if (!file.isEmpty())
        title += QStringLiteral(" \u2014 ") + QFileInfo(file).fileName() + QStringLiteral("[*]");
    if (windowTitle() != title)
        setWindowTitle(title);
    const bool modified = !file.isEmpty() && Session.DiffersFromFile();
    if (isWindowModified() != modified)
        setWindowModified(modified);
}

bool TFormHlav::MayLeaveSet() {
    if (!Prompts || !Session.SetAtRisk())
        return true;
    const PromptAnswer answer =
        Prompts->ConfirmYesNoCancel(this, Text(RestoreText(RestoreTextId::SaveFirst, LanguageIndex)));
    if (answer == PromptAnswer::Yes)
        MenuSaveClick();
    // The session ended while the question was open: it goes on, the set kept as a restore point.
    if (property(CloseBySignalProperty).toBool())
        return true;
    if (answer == PromptAnswer::Yes)
        return Session.FileSet() && !Session.DiffersFromFile(); // saved: go on; cancelled or failed: stay
    return answer == PromptAnswer::No;
}

void TFormHlav::ReadNamedFileSet() {
    // The file named at start-up, as the settings left it: what it holds decides the title's mark.
    Session.FileHolds(std::nullopt);
    const QString path = LabelFile2->Caption();
    if (path.isEmpty())
        return;
    DeviceImage set = Image;
    if (LoadIgnFile(path, set, LanguageIndex).Result == IgnReadResult::Ok) {
        PortChoice ports = Ports; // the repair of a copy changes no port choice
        ValidateBlock(set, ports);
        Session.FileHolds(set);
    }
    ShowSetState();
}

} // namespace zevo
