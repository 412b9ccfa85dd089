// Names for a screen reader. A caption names most controls by itself (buttons, boxes, menu items,
// tabs); these are the ones without one: glyph buttons, fields whose caption stands beside them, and
// the servo page's 165 fields and their arrows, which a blind tuner tells apart only by what their
// names say: the servo, the throttle row, the engine speed and the value with its unit.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <tuple>

#include "lang/access_texts.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/qt_text.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

QString Caption(CaptionId id, std::uint8_t language) {
    // The menu's texts carry their accelerator marks; a name is read, not pressed.
    return Text(CaptionText(id, language)).remove(QLatin1Char('&'));
}

QString Access(AccessTextId id, std::uint8_t language) {
    return Text(AccessText(id, language));
}

void NameArrows(TUpDown* spinner, const QString& place, std::uint8_t language) {
    spinner->NameArrows(Access(AccessTextId::Higher, language).arg(place),
                        Access(AccessTextId::Lower, language).arg(place));
}

} // namespace

void TFormHlav::NameControls() {
    const std::uint8_t lang = LanguageIndex;
    const struct {
        QAbstractButton* Button;
        CaptionId Command;
    } glyphs[] = {
        {SpeedButtonNew, CaptionId::MenuNew},     {SpeedButtonOpen, CaptionId::MenuOpen},
        {SpeedButtonSave, CaptionId::MenuSave},   {SpeedButtonPrint, CaptionId::MenuPrint},
        {SpeedButtonZpet, CaptionId::MenuZpet},   {SpeedButtonZnovu, CaptionId::MenuZnovu},
    };
    for (const auto& glyph : glyphs)
        SetAccessibleName(glyph.Button, Caption(glyph.Command, lang));
    // "-" and "+" by the Tools commands they run.
    SetAccessibleName(ButtonMinus, MenuToolsMinus->text().trimmed());
    SetAccessibleName(ButtonPlus, MenuToolsPlus->text().trimmed());
    // The calibration fields by their group and caption: "TPS 0%  [mV]".
    for (const auto& [field, spinner, label] :
         {std::tuple{EditTps0, UpDownTps0, LabelTps0}, std::tuple{EditTps100, UpDownTps100, LabelTps100}}) {
        const QString name = GroupBoxSetTps->title() + QLatin1Char(' ') + label->text().simplified();
        SetAccessibleName(field, name);
        NameArrows(spinner, name, lang);
    }
    NameServoFields();
}

void TFormHlav::NameServoFields() {
    const int servo = ShownServo();
    if (servo < 0)
        return; // the fields wait hidden; they are named again when a servo page shows them
    const std::uint8_t lang = LanguageIndex;
    const QString number = QString::number(servo + 1);
    const QString unit = Image.PerCentMode(servo) != 0 ? QStringLiteral("%") : QStringLiteral("mV");
    const bool rows = CheckBoxTpEnable->isChecked();
    SetAccessibleName(LabelMapUnit, Access(AccessTextId::MapUnit, lang).arg(unit));
    const QString axisPoint = Access(AccessTextId::AxisPoint, lang);
    const QString column = Access(AccessTextId::Column, lang);
    const QString cell = Access(rows ? AccessTextId::MapCell : AccessTextId::MapCellOneRow, lang);
    const QString higher = Access(AccessTextId::Higher, lang);
    const QString lower = Access(AccessTextId::Lower, lang);
    for (int c = 0; c < MapColumns; ++c) {
        const auto ci = static_cast<std::size_t>(c);
        const QString rpm = EditRpm[ci]->text();
        const QString point = axisPoint.arg(number, QString::number(c + 1));
        SetAccessibleName(EditRpm[ci], point + QStringLiteral(", ") + rpm + QStringLiteral(" RPM"));
        UpDownRpm[ci]->NameArrows(higher.arg(point), lower.arg(point));
        const QString columnName = column.arg(number, rpm);
        SetAccessibleName(CSpinButtonColumn[ci]->UpButton(), higher.arg(columnName));
        SetAccessibleName(CSpinButtonColumn[ci]->DownButton(), lower.arg(columnName));
        for (int r = 0; r < MapRows; ++r) {
            const auto ri = static_cast<std::size_t>(r);
            const QString place =
                rows ? cell.arg(number, LabelTpRow[ri]->text(), rpm) : cell.arg(number, rpm);
            TEdit* field = EditMap[ri][ci];
            SetAccessibleName(field, place + QStringLiteral(", ") + field->text() + QLatin1Char(' ') + unit);
            UpDownMap[ri][ci]->NameArrows(higher.arg(place), lower.arg(place));
        }
    }
    for (const auto& [field, spinner, label] : {std::tuple{EditHystMv, UpDownHystMv, LabelHystMv},
                                                std::tuple{EditHystRpm, UpDownHystRpm, LabelHystRpm}}) {
        const QString name = Access(AccessTextId::Hysteresis, lang).arg(number, label->text());
        SetAccessibleName(field, name);
        NameArrows(spinner, name, lang);
    }
}

} // namespace zevo
