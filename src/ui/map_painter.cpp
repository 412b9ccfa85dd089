#include "ui/map_painter.h"

#include <QWidget>

#include "params/conversions.h"

namespace zevo {

QColor ToQColor(Rgb colour) {
    return QColor(colour.R, colour.G, colour.B);
}

Rgb ToRgb(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
            static_cast<std::uint8_t>(rgb.blue())};
}

void MapPainter::Apply(QWidget* field, std::optional<Look>& painted, const Look& look,
                       QPalette::ColorRole back, QPalette::ColorRole text) {
    if (!field || painted == look)
        return;
    QPalette palette = field->palette();
    if (palette.color(back) != look.Background || palette.color(text) != look.Text ||
        !field->autoFillBackground()) {
        field->setAutoFillBackground(true);
        palette.setColor(back, look.Background);
        palette.setColor(text, look.Text);
        field->setPalette(palette);
    }
    painted = look;
}

void MapPainter::Paint(const Scene& scene) {
    if (!scene.Image)
        return;
    const QPalette& own = scene.Palette;
    const Rgb base = ToRgb(own.color(QPalette::Base));
    const bool tpEnabled = scene.Image->TpEnable(scene.Servo) != 0;
    const int rows = tpEnabled ? MapRows : 1;
    const bool perCent = scene.Image->PerCentMode(scene.Servo) != 0;
    const ValueSpan span = ShownMapSpan(*scene.Image, scene.Servo);
    auto look = [&](const CellColours& colours, QPalette::ColorRole text) {
        return Look{ToQColor(colours.Background),
                    colours.Text ? ToQColor(*colours.Text) : own.color(text)};
    };
    auto live = [&](int row, int column) {
        return scene.Live && scene.Live->second == column && (row == AxisRow || scene.Live->first == row);
    };
    auto selected = [&](int row, int column) { return scene.Selection && scene.Selection->Contains(row, column); };
    auto differs = [&](int row, int column) {
        return scene.Differs && (*scene.Differs)[static_cast<std::size_t>(row + 1)][static_cast<std::size_t>(column)];
    };

    for (int c = 0; c < MapColumns; ++c) {
        const auto ci = static_cast<std::size_t>(c);
        CellLayers axis{base, std::nullopt, 0, selected(AxisRow, c), live(AxisRow, c), differs(AxisRow, c)};
        Apply(F.Axis[ci], AxisLook[ci], look(ComposeCell(axis), QPalette::Text), QPalette::Base, QPalette::Text);
        // Hidden rows keep what they had; they are painted when TP Enable shows them again.
        for (int r = 0; r < rows; ++r) {
            const auto ri = static_cast<std::size_t>(r);
            CellLayers cell{base, std::nullopt, 0, selected(r, c), live(r, c), differs(r, c)};
            if (scene.ColourByValue)
                cell.Value = ValueScale(
                    SpanPosition(MapCellToDisplay(scene.Image->MapCell(scene.Servo, r, c), perCent), span));
            if (scene.Trail)
                cell.Trail = scene.Trail->Strength(r, c);
            Apply(F.Cells[ri][ci], CellLook[ri][ci], look(ComposeCell(cell), QPalette::Text), QPalette::Base,
                  QPalette::Text);
        }
    }
    const Rgb face = ToRgb(own.color(QPalette::Window));
    for (int r = 0; r < rows; ++r) {
        const auto ri = static_cast<std::size_t>(r);
        CellLayers caption{face, std::nullopt, 0, false, scene.Live && scene.Live->first == r};
        Apply(F.RowCaptions[ri], CaptionLook[ri], look(ComposeCell(caption), QPalette::WindowText),
              QPalette::Window, QPalette::WindowText);
    }
}

void MapPainter::Forget() {
    AxisLook.fill(std::nullopt);
    for (auto& row : CellLook)
        row.fill(std::nullopt);
    CaptionLook.fill(std::nullopt);
}

CellColours MapPainter::PaintedCell(int row, int column) const {
    if (column < 0 || column >= MapColumns || row < AxisRow || row >= MapRows)
        return {};
    const auto& look = row == AxisRow ? AxisLook[static_cast<std::size_t>(column)]
                                      : CellLook[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (!look)
        return {};
    return {ToRgb(look->Background), ToRgb(look->Text)};
}

} // namespace zevo
