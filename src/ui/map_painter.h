#pragma once
#include <QColor>
#include <QPalette>

#include <array>
#include <optional>
#include <utility>

#include "params/map_look.h"

class QWidget;

namespace zevo {

// Paints the servo page's fields: the RPM axis, the map cells and the throttle row captions. It
// remembers what it gave each field and touches only the fields whose colours change, because it
// runs on every tick of the live display and a field given a palette of its own costs a repaint.
class MapPainter {
public:
    struct Fields {
        std::array<QWidget*, MapColumns> Axis{};
        std::array<std::array<QWidget*, MapColumns>, MapRows> Cells{};
        std::array<QWidget*, MapRows> RowCaptions{};
    };
    // Everything the fields show at one moment.
    struct Scene {
        const DeviceImage* Image = nullptr;
        int Servo = 0;
        bool ColourByValue = false;
        std::optional<MapSelection> Selection; // a block of several cells, or none
        std::optional<std::pair<int, int>> Live; // (row, column) the engine runs in, or none
        const LiveTrail* Trail = nullptr;        // none: the trail is off
        // Fields marked by the difference view: the axis points (row AxisRow) and the cells.
        const std::array<std::array<bool, MapColumns>, MapRows + 1>* Differs = nullptr;
        QPalette Palette;                        // the window's own colours
    };

    explicit MapPainter(const Fields& fields) : F(fields) {}

    void Paint(const Scene& scene);
    // Someone else changed the fields' palettes (the printout whitens the row captions and puts
    // them back): paint every field again next time.
    void Forget();
    // What a cell was last given (row AxisRow: the axis field above it).
    CellColours PaintedCell(int row, int column) const;

private:
    struct Look {
        QColor Background;
        QColor Text;
        friend bool operator==(const Look&, const Look&) = default;
    };
    void Apply(QWidget* field, std::optional<Look>& painted, const Look& look, QPalette::ColorRole back,
               QPalette::ColorRole text);

    Fields F;
    std::array<std::optional<Look>, MapColumns> AxisLook{};
    std::array<std::array<std::optional<Look>, MapColumns>, MapRows> CellLook{};
    std::array<std::optional<Look>, MapRows> CaptionLook{};
};

QColor ToQColor(Rgb colour);
Rgb ToRgb(const QColor& colour);

} // namespace zevo
