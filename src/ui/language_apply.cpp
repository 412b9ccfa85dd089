// Switching the window between Czech, English and German. Every translatable text comes from the
// language tables at the moment it is applied; the window keeps no text of its own beyond that.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/window_link_view.h"
#include "ui/qt_text.h"

namespace zevo {

void TFormHlav::ApplyLanguageCaptions() {
    const std::uint8_t lang = LanguageIndex;
    // Numbers in the language's format from here on, whatever the computer's locale: a Czech tuner
    // on an English system reads "4,470" as four and a half.
    QLocale::setDefault(LanguageLocale(lang));
    auto caption = [lang](CaptionId id) { return Text(CaptionText(id, lang)); };
    auto hint = [lang](HintId id) { return Text(HintText(id, lang)); };

    MenuEnglish->setChecked(lang == LanguageEnglish);
    MenuGerman->setChecked(lang == LanguageGerman);
    MenuCzech->setChecked(lang != LanguageEnglish && lang != LanguageGerman);

    setWindowTitle(caption(CaptionId::FormCaption));
    LabelSpojeni->SetCaption(caption(CaptionId::LabelSpojeni));
    MenuFile->setTitle(caption(CaptionId::MenuFile));
    ApplyMapEditingCaptions();
    for (const auto& capability : Capabilities)
        capability->ApplyLanguage();
    ShowSetState(); // the design's caption was just set again: the file name follows it
    MenuNew->setText(caption(CaptionId::MenuNew));
    MenuOpen->setText(caption(CaptionId::MenuOpen));
    MenuOpenExeDir->setText(caption(CaptionId::MenuOpenExeDir));
    MenuSaveExeDir->setText(caption(CaptionId::MenuSaveExeDir));
    MenuSave->setText(caption(CaptionId::MenuSave));
    MenuPrint->setText(caption(CaptionId::MenuPrint));
    MenuExit->setText(caption(CaptionId::MenuExit));
    MenuCom->setTitle(caption(CaptionId::MenuCom));
    MenuDevice->setTitle(caption(CaptionId::MenuDevice));
    MenuRead->setText(caption(CaptionId::MenuRead));
    ButtonRead->setText(caption(CaptionId::MenuRead));
    MenuVerify->setText(caption(CaptionId::MenuVerify));
    ButtonVerify->setText(caption(CaptionId::MenuVerify));
    MenuProgram->setText(caption(CaptionId::MenuProgram));
    ButtonProgram->setText(caption(CaptionId::MenuProgram));
    MenuTools->setTitle(caption(CaptionId::MenuTools));
    MenuLanguage->setTitle(caption(CaptionId::MenuLanguage));
    MenuEnglish->setText(caption(CaptionId::MenuEnglish));
    MenuGerman->setText(caption(CaptionId::MenuGerman));
    MenuCzech->setText(caption(CaptionId::MenuCzech));
    MenuHelp->setTitle(caption(CaptionId::MenuHelp));
    MenuContens->setText(caption(CaptionId::MenuContens));
    MenuAbout->setText(caption(CaptionId::MenuAbout));
    PageControl1->setTabText(1, caption(CaptionId::TabSheet_Servo1));
    PageControl1->setTabText(2, caption(CaptionId::TabSheet_Servo2));
    CheckBoxProgHned->setText(caption(CaptionId::CheckBoxProgHned));
    LabelFile1->SetCaption(caption(CaptionId::LabelFile1));
    CheckBoxServoEnable->setText(caption(CaptionId::CheckBoxServoEnable));
    CheckBoxServoEnable->adjustSize();

    SetHint(LabelVerze1, hint(HintId::LabelVerze1));
    SetHint(LabelVerze2, hint(HintId::LabelVerze2));
    SetHint(LabelVerze3, hint(HintId::LabelVerze3));
    SetHint(MenuOpen, hint(HintId::MenuOpen));
    SetHint(MenuNew, hint(HintId::MenuNew));
    SetHint(MenuSave, hint(HintId::MenuSave));
    SetHint(SpeedButtonPrint, hint(HintId::MenuPrint));
    SetHint(MenuPrint, hint(HintId::MenuPrint));
    SetHint(ButtonProgram, hint(HintId::MenuProgram));
    SetHint(MenuProgram, hint(HintId::MenuProgram));
    SetHint(ButtonVerify, hint(HintId::MenuVerify));
    SetHint(MenuVerify, hint(HintId::MenuVerify));
    SetHint(ButtonRead, hint(HintId::MenuRead));
    SetHint(MenuRead, hint(HintId::MenuRead));
    SetHint(MenuExit, hint(HintId::MenuExit));
    SetHint(MenuLanguage->menuAction(), hint(HintId::MenuLanguage));
    SetHint(CheckBoxProgHned, hint(HintId::CheckBoxProgHned));
    SetHint(MenuCom->menuAction(), hint(HintId::MenuCom));

    // The items are rewritten in place: the selection stays where it was.
    for (int i = 0; i < RadioItemCount; ++i) {
        const std::string item = RadioItemText(i, lang);
        RadioPocPulsu[static_cast<std::size_t>(i)]->setText(Text(item));
    }

    PageControl1->setTabText(0, caption(CaptionId::TabSheet_Ruzne));
    CheckBoxProcenta->setText(caption(CaptionId::CheckBoxProcenta));
    CheckBoxProcenta->adjustSize();
    LabelHystMv->SetCaption(caption(CaptionId::LabelHystMv));
    LabelHystRpm->SetCaption(caption(CaptionId::LabelHystRpm));
    RadioGroupPocPulsu->setTitle(caption(CaptionId::RadioGroupPocPulsu));
    MenuZpet->setText(caption(CaptionId::MenuZpet));
    MenuZnovu->setText(caption(CaptionId::MenuZnovu));

    ApplyLanguageMessages();
    FitCaptions();
    NameControls();
}

void TFormHlav::ApplyLanguageMessages() {
    const std::uint8_t lang = LanguageIndex;
    for (int id = 0; id < static_cast<int>(MsgId::Count); ++id)
        Messages[static_cast<std::size_t>(id)] = Text(MessageText(static_cast<MsgId>(id), lang));

    // A replayed row is shown again in the new language; the unit's last frame is kept for the
    // replay's end in it too.
    if (View)
        View->LanguageChanged();
    if (Replaying())
        return; // the ride log showed its row again in the new language
    // Without a unit the live labels show their placeholders in the new language; with one, the
    // next status frame rewrites them.
    if (!LabelSpojeni->isHidden()) {
        LabelPocetProgramovani->SetCaption(Text(NumberOfProgrammingPlaceholder(lang)));
        LabelServoPoz1->SetCaption(Text(ServoDesiredPlaceholder(1, lang)));
        LabelServoPoz2->SetCaption(Text(ServoDesiredPlaceholder(2, lang)));
        LabelServoMer1->SetCaption(Text(ServoMeasuredPlaceholder(1, lang)));
        LabelServoMer2->SetCaption(Text(ServoMeasuredPlaceholder(2, lang)));
    }
}

void TFormHlav::SelectLanguage(std::uint8_t index) {
    LanguageIndex = index;
    ApplyLanguageCaptions();
    BlockToEditor();
}

void TFormHlav::MenuEnglishClick() {
    SelectLanguage(LanguageEnglish);
}
void TFormHlav::MenuCzechClick() {
    SelectLanguage(LanguageCzech);
}
void TFormHlav::MenuGermanClick() {
    SelectLanguage(LanguageGerman);
}

} // namespace zevo
