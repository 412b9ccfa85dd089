#include "files/set_report.h"

#include "lang/language_tables.h"
#include "lang/restore_texts.h"
#include "params/conversions.h"

namespace zevo {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Caption(CaptionId id, std::uint8_t language) {
    return Escaped(CaptionText(id, language));
}
std::string Text(RestoreTextId id, std::uint8_t language) {
    return Escaped(RestoreText(id, language));
}
std::string Row(const std::string& name, const std::string& value) {
    return "<tr><td>" + name + "</td><td><b>" + value + "</b></td></tr>";
}
std::string OnOff(std::uint8_t b, std::uint8_t language) {
    return Text(FlagToDisplay(b) ? RestoreTextId::On : RestoreTextId::Off, language);
}

} // namespace

std::string ReportHtml(const ReportInput& in) {
    const std::uint8_t lang = in.Language;
    const DeviceImage& image = in.Image;
    std::string html = "<html><body style=\"font-family: sans-serif; font-size: 9pt\">";
    html += "<h2>" + Text(RestoreTextId::ReportTitle, lang) + "</h2><table cellspacing=\"0\" cellpadding=\"2\">";
    html += Row(Text(RestoreTextId::ReportDate, lang), Escaped(in.Date));
    html += Row(Text(RestoreTextId::ColumnFile, lang), in.FileName.empty() ? "—" : Escaped(in.FileName));
    html += Row(Text(RestoreTextId::ColumnUnit, lang),
                in.UnitName.empty() ? "—" : Escaped(in.UnitName) + " " + Escaped(in.UnitBuild));
    html += Row(Caption(CaptionId::RadioGroupPocPulsu, lang),
                Escaped(RadioItemText(PulsesItemToDisplay(image.PulsesPerRevIndex()), lang)));
    html += Row(Text(RestoreTextId::Tps0, lang), std::to_string(Tps0ToDisplay(image.Tps0())) + " mV");
    html += Row(Text(RestoreTextId::Tps100, lang), std::to_string(Tps100ToDisplay(image.Tps100())) + " mV");
    html += "</table>";
    for (int servo = 0; servo < ServoCount; ++servo) {
        const bool perCent = image.PerCentMode(servo) != 0;
        html += "<h3>" + Caption(servo == 0 ? CaptionId::TabSheet_Servo1 : CaptionId::TabSheet_Servo2, lang) + "</h3>";
        html += "<table cellspacing=\"0\" cellpadding=\"2\">";
        html += Row(Caption(CaptionId::CheckBoxServoEnable, lang), OnOff(image.ServoEnable(servo), lang));
        html += Row("TP Enable", OnOff(image.TpEnable(servo), lang));
        html += Row(Caption(CaptionId::CheckBoxProcenta, lang), OnOff(image.PerCentMode(servo), lang));
        html += Row(Caption(CaptionId::LabelHystMv, lang), std::to_string(HysteresisToDisplay(image.HysteresisMv(servo))));
        html += Row(Caption(CaptionId::LabelHystRpm, lang), std::to_string(HysteresisToDisplay(image.HysteresisRpm(servo))));
        html += "</table><br/>";
        // The map: the RPM axis across, the throttle rows down, in the page's unit.
        html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" style=\"border-collapse: collapse\">";
        html += "<tr><th>" + std::string(perCent ? "%" : "mV") + " \\ RPM</th>";
        for (int c = 0; c < MapColumns; ++c)
            html += "<th>" + std::to_string(RpmToDisplay(image.RpmAxis(servo, c))) + "</th>";
        html += "</tr>";
        const int rows = image.TpEnable(servo) != 0 ? MapRows : 1;
        for (int r = 0; r < rows; ++r) {
            html += "<tr><th>TP " + std::to_string(TpRows[static_cast<std::size_t>(r)]) + "%</th>";
            for (int c = 0; c < MapColumns; ++c)
                html += "<td align=\"right\">" + std::to_string(MapCellToDisplay(image.MapCell(servo, r, c), perCent)) + "</td>";
            html += "</tr>";
        }
        html += "</table>";
    }
    html += "</body></html>";
    return html;
}

} // namespace zevo
